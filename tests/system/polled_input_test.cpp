// Polled input and the message translator, fed with neutral message records
// (no platform underneath: the headless system driver pumps nothing).
#include "toolkit/system/polled_input.h"

#include <gtest/gtest.h>

#include <chrono>
#include <thread>
#include <vector>

#include "toolkit/system/cross_thread_queue.h"
#include "toolkit/system/event.h"
#include "toolkit/system/hook.h"
#include "toolkit/system/message_translator.h"
#include "toolkit/system/system_driver.h"
#include "toolkit/system/keys.h"

namespace kestrel {
namespace {

constexpr std::uintptr_t kWindow = 7;

PlatformMessage Msg(MessageKind kind) {
    PlatformMessage m;
    m.window = kWindow;
    m.kind = kind;
    m.clientWidth = 640;
    m.clientHeight = 480;
    return m;
}

PlatformMessage Key(MessageKind kind, int vkey, int scancode = 0, bool extended = false,
                    bool repeat = false) {
    PlatformMessage m = Msg(kind);
    m.vkey = vkey;
    m.scancode = scancode;
    m.extended = extended;
    m.repeat = repeat;
    return m;
}

PlatformMessage Mouse(MessageKind kind, int x, int y, int button = 0) {
    PlatformMessage m = Msg(kind);
    m.x = x;
    m.y = y;
    m.button = button;
    return m;
}

// The window procedure of a graphics window: everything to the translator.
void TranslateAll(const PlatformMessage& m) { TranslateMessage(m, nullptr); }

std::vector<TEventPtr> g_events;

ObjectPtr Record(int, const ObjectPtr& data, const ObjectPtr&) {
    if (auto e = std::dynamic_pointer_cast<TEvent>(data)) g_events.push_back(e);
    return data;
}

struct HostCalls {
    std::vector<bool> capture;
    std::vector<bool> cursor;
    std::vector<std::uintptr_t> tracked;
};
HostCalls g_host;

class PolledInput : public ::testing::Test {
protected:
    void SetUp() override {
        InitSystem();
        ResetTranslator();
        g_host = HostCalls{};
        TranslatorHost host;
        host.setCapture = [](std::uintptr_t, bool c) { g_host.capture.push_back(c); };
        host.showCursor = [](bool s) { g_host.cursor.push_back(s); };
        host.trackLeave = [](std::uintptr_t w) { g_host.tracked.push_back(w); };
        SetTranslatorHost(host);
        SetWindowProcedure(kWindow, TranslateAll);
        EnablePolledInput(nullptr);
        // Runs after the polled-input hook, which must pass the event on.
        AddHook(EmitEventHook(), Record, nullptr, -1);
        g_events.clear();
    }
    void TearDown() override {
        RemoveHook(EmitEventHook(), Record);
        DisablePolledInput();
        SetTranslatorHost(TranslatorHost{});
        ResetTranslator();
    }
    static void Send(const PlatformMessage& m) { PumpMessage(m); }
    static void Press(int vkey, int scancode = 0, bool extended = false) {
        Send(Key(MessageKind::KeyDown, vkey, scancode, extended));
        Send(Key(MessageKind::KeyUp, vkey, scancode, extended));
    }
};

TEST_F(PolledInput, HitsCountPressesAndReadingClearsThem) {
    Press(KEY_UP);
    Press(KEY_UP);
    EXPECT_EQ(KeyHit(KEY_UP), 2);
    EXPECT_EQ(KeyHit(KEY_UP), 0);
    EXPECT_EQ(KeyDown(KEY_UP), 0);

    // A held key auto-repeating counts once, and stays down until released.
    Send(Key(MessageKind::KeyDown, 37));
    for (int i = 0; i < 30; ++i) Send(Key(MessageKind::KeyDown, 37, 0, false, true));
    EXPECT_EQ(KeyDown(KEY_LEFT), 1);
    EXPECT_EQ(KeyHit(KEY_LEFT), 1);
    EXPECT_EQ(KeyHit(KEY_LEFT), 0);
    int repeats = 0;
    for (const auto& e : g_events) repeats += e->id == EventId::KeyRepeat;
    EXPECT_EQ(repeats, 30);
    // A second KeyDown without a KeyUp between (a lost release) adds nothing.
    Send(Key(MessageKind::KeyDown, 37));
    EXPECT_EQ(KeyHit(KEY_LEFT), 0);
    Send(Key(MessageKind::KeyUp, 37));
    EXPECT_EQ(KeyDown(KEY_LEFT), 0);

    // Keys outside 1..255 are dropped before they become events.
    g_events.clear();
    Send(Key(MessageKind::KeyDown, 0));
    Send(Key(MessageKind::KeyDown, 300));
    EXPECT_TRUE(g_events.empty());
}

TEST_F(PolledInput, FlushWhileHeldNeedsAFreshPress) {
    Send(Key(MessageKind::KeyDown, 32));
    FlushKeys();
    EXPECT_EQ(KeyDown(KEY_SPACE), 0);
    EXPECT_EQ(KeyHit(KEY_SPACE), 0);
    // Released and pressed again: seen once more.
    Send(Key(MessageKind::KeyUp, 32));
    EXPECT_EQ(KeyHit(KEY_SPACE), 0);
    Send(Key(MessageKind::KeyDown, 32));
    EXPECT_EQ(KeyHit(KEY_SPACE), 1);
    EXPECT_EQ(KeyDown(KEY_SPACE), 1);
}

TEST_F(PolledInput, ModifiersAreToldApartAndBuildTheMask) {
    EXPECT_EQ(TranslateKeyCode(KEY_SHIFT, 42, false), KEY_LSHIFT);
    EXPECT_EQ(TranslateKeyCode(KEY_SHIFT, 54, false), KEY_RSHIFT);
    EXPECT_EQ(TranslateKeyCode(KEY_CONTROL, 29, false), KEY_LCONTROL);
    EXPECT_EQ(TranslateKeyCode(KEY_CONTROL, 29, true), KEY_RCONTROL);
    EXPECT_EQ(TranslateKeyCode(KEY_ALT, 56, false), KEY_LALT);
    EXPECT_EQ(TranslateKeyCode(KEY_ALT, 56, true), KEY_RALT);
    // The extended bit makes another key of the same scan code: arrows keep
    // their own codes, and 42 with the extended bit is no shift.
    EXPECT_EQ(TranslateKeyCode(KEY_LEFT, 75, true), KEY_LEFT);
    EXPECT_EQ(TranslateKeyCode(44, 42, true), 44);

    PlatformMessage lshift = Key(MessageKind::KeyDown, 16, 42);
    lshift.keyMods = kModShift;
    Send(lshift);
    PlatformMessage a = Key(MessageKind::KeyDown, 65);
    a.keyMods = 0;  // the mask only changes on modifier keys
    Send(a);
    PlatformMessage rctrl = Key(MessageKind::KeyDown, 17, 29, true);
    rctrl.keyMods = kModShift | kModControl;
    Send(rctrl);
    PlatformMessage lshiftUp = Key(MessageKind::KeyUp, 16, 42);
    lshiftUp.keyMods = kModControl;
    Send(lshiftUp);
    Press(KEY_SHIFT, 54);

    ASSERT_GE(g_events.size(), 5u);
    EXPECT_EQ(g_events[0]->data, 160);
    EXPECT_EQ(g_events[0]->mods, kModShift);
    EXPECT_EQ(g_events[1]->data, 65);
    EXPECT_EQ(g_events[1]->mods, kModShift);
    EXPECT_EQ(g_events[2]->data, 163);
    EXPECT_EQ(g_events[2]->mods, kModShift | kModControl);
    EXPECT_EQ(g_events[3]->id, EventId::KeyUp);
    EXPECT_EQ(g_events[3]->mods, kModControl);
    EXPECT_EQ(KeyHit(KEY_LSHIFT), 1);
    EXPECT_EQ(KeyHit(KEY_RSHIFT), 1);
    EXPECT_EQ(KeyHit(KEY_RCONTROL), 1);
    EXPECT_EQ(KeyHit(KEY_SHIFT), 0);
    EXPECT_EQ(KeyHit(KEY_CONTROL), 0);
}

TEST_F(PolledInput, CharactersQueueUpToTheirLimit) {
    for (int i = 0; i < 300; ++i) {
        PlatformMessage c = Msg(MessageKind::Char);
        c.character = 'a' + i % 26;
        Send(c);
    }
    int got = 0;
    bool inOrder = true;
    while (const int c = GetChar()) {
        inOrder = inOrder && c == 'a' + got % 26;
        ++got;
    }
    EXPECT_EQ(got, 256);  // the 44 beyond the queue were dropped
    EXPECT_TRUE(inOrder);
    EXPECT_EQ(GetChar(), 0);
    PlatformMessage c = Msg(MessageKind::Char);
    c.character = 0x263A;  // not only 8-bit characters
    Send(c);
    EXPECT_EQ(GetChar(), 0x263A);
}

TEST_F(PolledInput, SuspendResumeAndCloseRequests) {
    Send(Key(MessageKind::KeyDown, 65));
    Send(Msg(MessageKind::Deactivate));
    EXPECT_EQ(AppSuspended(), 1);
    EXPECT_EQ(KeyDown(KEY_A), 0);
    EXPECT_EQ(KeyHit(KEY_A), 0);

    // Activation moving between two windows of this program says nothing.
    PlatformMessage toOwn = Msg(MessageKind::Activate);
    toOwn.otherInProcess = true;
    g_events.clear();
    Send(toOwn);
    EXPECT_TRUE(g_events.empty());
    // Nor does activating a minimised window.
    PlatformMessage minimised = Msg(MessageKind::Activate);
    minimised.minimized = true;
    Send(minimised);
    EXPECT_EQ(AppSuspended(), 1);

    Send(Key(MessageKind::KeyDown, 66));
    Send(Msg(MessageKind::Activate));
    EXPECT_EQ(AppSuspended(), 0);
    EXPECT_EQ(KeyDown(KEY_B), 0);  // flushed on resume too

    EXPECT_EQ(AppTerminate(), 0);
    Send(Msg(MessageKind::Close));
    EXPECT_EQ(AppTerminate(), 1);
    EXPECT_EQ(AppTerminate(), 0);  // cleared when read
    ASSERT_FALSE(g_events.empty());
    EXPECT_EQ(g_events.back()->id, EventId::AppTerminate);
    EXPECT_EQ(g_events.back()->ToString(), "AppTerminate: data=0, mods=0, x=0, y=0, extra=\"\"");
}

TEST_F(PolledInput, MouseButtonsMovesWheelAndTracking) {
    PlatformMessage move = Mouse(MessageKind::MouseMove, 10, 20);
    move.buttons = 1 | 4;  // left and middle held: middle wins
    Send(move);
    ASSERT_EQ(g_events.size(), 2u);
    EXPECT_EQ(g_events[0]->id, EventId::MouseEnter);
    EXPECT_EQ(g_events[1]->id, EventId::MouseMove);
    EXPECT_EQ(g_events[1]->data, 4);
    EXPECT_EQ(TrackedWindow(), kWindow);
    EXPECT_EQ(g_host.tracked, std::vector<std::uintptr_t>{kWindow});
    move.buttons = 1 | 2 | 4;
    Send(move);
    EXPECT_EQ(g_events.back()->data, 2);
    EXPECT_EQ(MouseX(), 10);
    EXPECT_EQ(MouseY(), 20);
    EXPECT_EQ(MouseXSpeed(), 10);
    EXPECT_EQ(MouseXSpeed(), 0);

    Send(Mouse(MessageKind::MouseDown, 10, 20, 1));
    Send(Mouse(MessageKind::MouseUp, 10, 20, 1));
    Send(Mouse(MessageKind::MouseDown, 10, 20, 1));
    EXPECT_EQ(MouseHit(1), 2);
    EXPECT_EQ(MouseDown(1), 1);
    EXPECT_EQ(g_host.capture, (std::vector<bool>{true, false, true}));

    PlatformMessage wheel = Mouse(MessageKind::MouseWheel, 10, 20);
    wheel.wheel = 240;
    Send(wheel);
    wheel.wheel = -119;  // less than a notch: truncated to 0
    Send(wheel);
    wheel.wheel = -360;
    Send(wheel);
    EXPECT_EQ(MouseZ(), -1);

    // Moving out of the client area (the mouse is captured) leaves it.
    g_events.clear();
    Send(Mouse(MessageKind::MouseMove, 640, 5));
    ASSERT_EQ(g_events.size(), 2u);
    EXPECT_EQ(g_events[0]->id, EventId::MouseLeave);
    EXPECT_EQ(g_events[0]->x, 640);
    EXPECT_EQ(TrackedWindow(), 0u);
    // The platform's leave notice for a window no longer tracked: nothing.
    g_events.clear();
    Send(Msg(MessageKind::MouseLeave));
    EXPECT_TRUE(g_events.empty());
    // Back in, then the notice: MouseLeave at the last position.
    Send(Mouse(MessageKind::MouseMove, 100, 50));
    Send(Msg(MessageKind::MouseLeave));
    EXPECT_EQ(g_events.back()->id, EventId::MouseLeave);
    EXPECT_EQ(g_events.back()->x, 100);
    EXPECT_EQ(g_events.back()->y, 50);

    FlushMouse();
    EXPECT_EQ(MouseDown(1), 0);
    EXPECT_EQ(MouseZ(), 0);
}

TEST_F(PolledInput, HiddenCursorIsHiddenOnlyOverTheWindow) {
    SetCursorVisible(false);
    EXPECT_EQ(g_host.cursor.back(), true);  // not over the window yet
    Send(Mouse(MessageKind::MouseMove, 5, 5));
    EXPECT_EQ(g_host.cursor.back(), false);
    Send(Msg(MessageKind::MouseLeave));
    EXPECT_EQ(g_host.cursor.back(), true);
    Send(Mouse(MessageKind::MouseMove, 5, 5));
    SetCursorVisible(true);
    EXPECT_EQ(g_host.cursor.back(), true);
}

TEST_F(PolledInput, MessagesForOtherWindowsAreNotTranslated) {
    PlatformMessage other = Key(MessageKind::KeyDown, 65);
    other.window = 99;
    EXPECT_FALSE(PumpMessage(other));
    EXPECT_TRUE(g_events.empty());
    EXPECT_EQ(KeyHit(KEY_A), 0);
}

TEST_F(PolledInput, SourceFilterIgnoresOtherSources) {
    DisablePolledInput();
    auto mine = MakeStringObject("mine");
    EnablePolledInput(mine);
    TEvent::Create(EventId::KeyDown, MakeStringObject("other"), 70)->Emit();
    TEvent::Create(EventId::KeyDown, mine, 71)->Emit();
    EXPECT_EQ(KeyHit(KEY_F), 0);
    EXPECT_EQ(KeyHit(KEY_G), 1);
    // Disabled: nothing is counted any more.
    DisablePolledInput();
    TEvent::Create(EventId::KeyDown, nullptr, 72)->Emit();
    EXPECT_EQ(KeyHit(KEY_H), 0);
    EnablePolledInput(nullptr);
}

// Keys arrive from another thread while WaitKey blocks in the system's wait.
void PressSeveral(const ObjectPtr&, std::intptr_t) {
    for (int key : {87, 40, 38, 65}) {
        PumpMessage(Key(MessageKind::KeyDown, key));
        PumpMessage(Key(MessageKind::KeyUp, key));
    }
}

void TypeChar(const ObjectPtr&, std::intptr_t c) {
    PlatformMessage m = Msg(MessageKind::Char);
    m.character = static_cast<int>(c);
    PumpMessage(m);
}

TEST_F(PolledInput, WaitKeyReturnsTheLowestCodeHit) {
    std::thread poster([] {
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
        PostToMainThread({PressSeveral, nullptr, 0});
    });
    EXPECT_EQ(WaitKey(), 38);
    poster.join();

    std::thread typist([] {
        std::this_thread::sleep_for(std::chrono::milliseconds(30));
        PostToMainThread({TypeChar, nullptr, 'q'});
    });
    EXPECT_EQ(WaitChar(), 'q');
    typist.join();
}

}  // namespace
}  // namespace kestrel
