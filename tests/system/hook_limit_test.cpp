#include <gtest/gtest.h>

#include "toolkit/core/error.h"
#include "toolkit/system/event.h"
#include "toolkit/system/hook.h"

namespace kestrel {
namespace {

TEST(HookIds, AtMost256ExistThenTooManyHookIds) {
    InitEvents();  // allocates EmitEventHook, id 0
    EXPECT_EQ(EmitEventHook(), 0);
    int last = 0;
    for (int i = 1; i < kMaxHookIds; ++i) last = AllocHookId();
    EXPECT_EQ(last, 255);
    try {
        AllocHookId();
        FAIL() << "the 257th hook id was handed out";
    } catch (const TRuntimeException& e) {
        EXPECT_EQ(e.ToString(), "Too many hook ids");
    }
    EXPECT_THROW(AllocHookId(), TRuntimeException);  // and stays refused
}

}  // namespace
}  // namespace kestrel
