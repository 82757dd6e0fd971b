// Text goes to the fonts as UTF-16 code units.
#include <gtest/gtest.h>

#include "toolkit/graphics/text_units.h"

namespace kestrel {
namespace {

TEST(TextUnits, DecodesUtf8ToUtf16CodeUnits) {
    EXPECT_EQ(Utf16Units("abc"), u"abc");
    EXPECT_EQ(Utf16Units(""), u"");
    EXPECT_EQ(Utf16Units("\xC3\xA9"), u"\u00E9");           // é
    EXPECT_EQ(Utf16Units("\xE2\x82\xAC" "1"), u"\u20AC1");  // €1
    // Beyond the basic plane: a surrogate pair.
    const std::u16string emoji = Utf16Units("\xF0\x9F\x98\x80");
    ASSERT_EQ(emoji.size(), 2u);
    EXPECT_EQ(emoji[0], 0xD83D);
    EXPECT_EQ(emoji[1], 0xDE00);
    // Bytes outside a valid sequence stand for Latin-1 characters.
    EXPECT_EQ(Utf16Units("a\xE9z"), u"a\u00E9z");
    EXPECT_EQ(Utf16Units("\xC3"), u"\u00C3");        // cut short
    EXPECT_EQ(Utf16Units("\xC0\x80"), u"\u00C0\u0080");  // overlong form
    EXPECT_EQ(Utf16Units(std::string_view("a\0b", 3)), std::u16string(u"a\0b", 3));
}

}  // namespace
}  // namespace kestrel
