#include "toolkit/system/event.h"

#include <cstdint>

#include "toolkit/core/run_once.h"
#include "toolkit/system/hook.h"

namespace kestrel {

namespace {

// Names are kept in one text of "}<id>{<name>" entries, searched by id.
std::string g_names = "}";
std::uint32_t g_lastUserId = 0x80000000u;
int g_emitEventHook = -1;

}  // namespace

int EmitEventHook() {
    InitEvents();
    return g_emitEventHook;
}

void TEvent::Emit() { RunHooks(EmitEventHook(), shared_from_this()); }

std::shared_ptr<TEvent> TEvent::Create(int id, ObjectPtr source, int data, int mods, int x, int y,
                                       ObjectPtr extra) {
    auto e = std::make_shared<TEvent>();
    e->id = id;
    e->source = std::move(source);
    e->data = data;
    e->mods = mods;
    e->x = x;
    e->y = y;
    e->extra = std::move(extra);
    return e;
}

int TEvent::AllocUserId() { return static_cast<int>(++g_lastUserId); }

void TEvent::RegisterId(int id, const std::string& name) {
    g_names += std::to_string(id) + "{" + name + "}";
}

std::string TEvent::DescriptionForId(int id) {
    const std::string key = "}" + std::to_string(id) + "{";
    const auto at = g_names.find(key);
    if (at == std::string::npos) return "";
    const auto start = at + key.size();
    const auto close = g_names.find('}', start);
    if (close == std::string::npos) return "";
    return g_names.substr(start, close - start);
}

std::string TEvent::ToString() const {
    std::string name = DescriptionForId(id);
    if (name.empty()) {
        if (id < 0)
            name = "UserEvent" + std::to_string(static_cast<std::int64_t>(id) + 0x80000000LL);
        else
            name = "Unknown Event, id=" + std::to_string(id);
    }
    std::string extraText;
    if (auto s = std::dynamic_pointer_cast<TStringObject>(extra)) extraText = s->value;
    return name + ": data=" + std::to_string(data) + ", mods=" + std::to_string(mods) +
           ", x=" + std::to_string(x) + ", y=" + std::to_string(y) + ", extra=\"" + extraText +
           "\"";
}

void InitEvents() {
    static bool done = false;
    RunOnce(done, [] {
        using namespace EventId;
        const std::pair<int, const char*> names[] = {
            {AppSuspend, "AppSuspend"},     {AppResume, "AppResume"},
            {AppTerminate, "AppTerminate"}, {AppOpenFile, "AppOpenFile"},
            {AppIdle, "AppIdle"},           {KeyDown, "KeyDown"},
            {KeyUp, "KeyUp"},               {KeyChar, "KeyChar"},
            {KeyRepeat, "KeyRepeat"},       {MouseDown, "MouseDown"},
            {MouseUp, "MouseUp"},           {MouseMove, "MouseMove"},
            {MouseWheel, "MouseWheel"},     {MouseEnter, "MouseEnter"},
            {MouseLeave, "MouseLeave"},     {TimerTick, "TimerTick"},
            {HotkeyHit, "HotkeyHit"},       {0x2001, "GadgetAction"},
            {0x2002, "GadgetPaint"},        {0x2003, "GadgetSelect"},
            {0x2004, "GadgetMenu"},         {0x2005, "GadgetOpen"},
            {0x2006, "GadgetClose"},        {0x2007, "GadgetDone"},
            {0x2008, "GadgetLostFocus"},    {0x2009, "GadgetShape"},
            {0x4001, "WindowMove"},         {0x4002, "WindowSize"},
            {0x4003, "WindowClose"},        {0x4004, "WindowActivate"},
            {0x4005, "WindowAccept"},       {MenuAction, "MenuAction"},
            {StreamEof, "StreamEof"},       {StreamAvail, "StreamAvail"},
            {ProcessExit, "ProcessExit"},
        };
        for (const auto& [id, name] : names) TEvent::RegisterId(id, name);
        g_emitEventHook = AllocHookId();
    });
}

}  // namespace kestrel
