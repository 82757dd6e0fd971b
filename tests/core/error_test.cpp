#include "toolkit/core/error.h"

#include <gtest/gtest.h>

namespace kestrel {
namespace {

TEST(RuntimeErrors, CarryTheirTextsThroughToStringAndWhat) {
    EXPECT_EQ(TNullObjectException().ToString(), "Attempt to access field or method of Null object");
    EXPECT_EQ(TNullMethodException().ToString(), "Attempt to call abstract method");
    EXPECT_EQ(TNullFunctionException().ToString(), "Attempt to call uninitialized function pointer");
    EXPECT_EQ(TArrayBoundsException().ToString(),
              "Attempt to index array element beyond array length");
    EXPECT_EQ(TOutOfDataException().ToString(), "Attempt to read beyond end of data");
    EXPECT_EQ(TRuntimeException::Create("PNG ERROR")->ToString(), "PNG ERROR");

    try {
        RuntimeError("Too many hook ids");
        FAIL() << "RuntimeError returned";
    } catch (const TKestrelException& e) {
        EXPECT_STREQ(e.what(), "Too many hook ids");
        EXPECT_NE(dynamic_cast<const TRuntimeException*>(&e), nullptr);
    }
}

namespace names {
struct Probe {
    static std::string Member() { return FunctionName(std::source_location::current()); }
};
std::string Free(int, const char*) { return FunctionName(std::source_location::current()); }
}  // namespace names

TEST(RuntimeErrors, NullObjectTextsNameTheCallingFunction) {
    EXPECT_EQ(names::Free(0, ""), "Free");
    EXPECT_EQ(names::Probe::Member(), "Member");
    EXPECT_EQ(TNullObjectException("Cls: no graphics open").ToString(), "Cls: no graphics open");
    EXPECT_STREQ(TNullObjectException("Cls: x").what(), "Cls: x");

    // NonNull with a problem names the function it is called in.
    std::shared_ptr<Object> none;
    try {
        NonNull(none, "the thing is Null: load it first");
        FAIL() << "NonNull passed a null pointer";
    } catch (const TNullObjectException& e) {
        EXPECT_EQ(e.ToString(), "TestBody: the thing is Null: load it first");
    }
    auto some = std::make_shared<Object>();
    EXPECT_EQ(NonNull(some, "unused"), some);
}

TEST(RuntimeErrors, NonNullThrowsTheNullObjectError) {
    std::shared_ptr<Object> none;
    EXPECT_THROW(NonNull(none), TNullObjectException);
    auto some = std::make_shared<Object>();
    EXPECT_EQ(NonNull(some), some);
}

TEST(RuntimeErrors, DescribeCurrentExceptionNamesEveryKindOfThrownThing) {
    auto describe = [](auto thrower) {
        try {
            thrower();
        } catch (...) {
            return DescribeCurrentException();
        }
        return std::string("nothing thrown");
    };
    EXPECT_EQ(describe([] { throw TOutOfDataException(); }), "Attempt to read beyond end of data");
    EXPECT_EQ(describe([] { throw std::string(kCAssertFailed); }), "C Assert failed");
    EXPECT_EQ(describe([] { throw "plain"; }), "plain");
    EXPECT_EQ(describe([] { throw std::runtime_error("std"); }), "std");
    EXPECT_EQ(describe([] { throw 42; }), "Unknown error");
}

}  // namespace
}  // namespace kestrel
