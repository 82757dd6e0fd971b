#include "toolkit/system/event.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "toolkit/system/hook.h"

namespace kestrel {
namespace {

std::vector<std::string> g_calls;

ObjectPtr Tag(int, const ObjectPtr& data, const ObjectPtr& context) {
    g_calls.push_back(context ? context->ToString() : "null");
    return data;
}

ObjectPtr Replace(int, const ObjectPtr&, const ObjectPtr& context) { return context; }

TEST(Hooks, RunInPriorityOrderThenOrderOfAdditionAndChainResults) {
    InitEvents();
    const int id = AllocHookId();
    auto a = MakeStringObject("a"), b = MakeStringObject("b"), c = MakeStringObject("c"),
         d = MakeStringObject("d");
    AddHook(id, Tag, a, 0);
    AddHook(id, Tag, b, 5);
    AddHook(id, Tag, c, 0);
    AddHook(id, Tag, d, 5);
    g_calls.clear();
    auto data = MakeStringObject("x");
    EXPECT_EQ(RunHooks(id, data), data);
    EXPECT_EQ(g_calls, (std::vector<std::string>{"b", "d", "a", "c"}));

    // Only the first link matching both function and context goes.
    AddHook(id, Tag, a, 0);
    RemoveHook(id, Tag, a);
    RemoveHook(id, Tag, MakeStringObject("a"));  // another object: no match
    g_calls.clear();
    RunHooks(id, data);
    EXPECT_EQ(g_calls, (std::vector<std::string>{"b", "d", "c", "a"}));

    // Each hook receives the previous result; the chain returns the last.
    const int chain = AllocHookId();
    EXPECT_EQ(RunHooks(chain, data), data);  // empty chain gives its input back
    AddHook(chain, Replace, b);
    AddHook(chain, Tag, nullptr, -1);
    g_calls.clear();
    EXPECT_EQ(RunHooks(chain, data), b);
    EXPECT_EQ(g_calls, (std::vector<std::string>{"null"}));
}

std::vector<std::string> g_seen;

ObjectPtr Record(int, const ObjectPtr& data, const ObjectPtr&) {
    if (auto e = std::dynamic_pointer_cast<TEvent>(data)) g_seen.push_back(e->ToString());
    return data;
}

TEST(Events, NamesToStringAndEmission) {
    InitEvents();
    InitEvents();  // a second initialisation registers nothing twice
    EXPECT_EQ(TEvent::DescriptionForId(EventId::TimerTick), "TimerTick");
    EXPECT_EQ(TEvent::DescriptionForId(0x2009), "GadgetShape");
    EXPECT_EQ(TEvent::DescriptionForId(0x20001), "ProcessExit");
    EXPECT_EQ(TEvent::DescriptionForId(0x999), "");
    EXPECT_EQ(TEvent::DescriptionForId(1), "");  // "1" must not match inside "}101{"

    const int first = TEvent::AllocUserId();
    EXPECT_EQ(static_cast<unsigned>(first), 0x80000001u);
    EXPECT_EQ(static_cast<unsigned>(TEvent::AllocUserId()), 0x80000002u);

    auto user = TEvent::Create(static_cast<int>(0x80000005u), nullptr, 3, 1, 4, 5,
                               MakeStringObject("hi"));
    EXPECT_EQ(user->ToString(), "UserEvent5: data=3, mods=1, x=4, y=5, extra=\"hi\"");
    EXPECT_EQ(TEvent::Create(0x7777)->ToString(),
              "Unknown Event, id=30583: data=0, mods=0, x=0, y=0, extra=\"\"");
    auto key = TEvent::Create(EventId::KeyDown, nullptr, 38);
    EXPECT_EQ(key->ToString(), "KeyDown: data=38, mods=0, x=0, y=0, extra=\"\"");

    TEvent::RegisterId(first, "Custom");
    EXPECT_EQ(TEvent::Create(first)->ToString().rfind("Custom: ", 0), 0u);

    AddHook(EmitEventHook(), Record);
    g_seen.clear();
    key->Emit();
    RemoveHook(EmitEventHook(), Record);
    key->Emit();
    EXPECT_EQ(g_seen, (std::vector<std::string>{key->ToString()}));
}

}  // namespace
}  // namespace kestrel
