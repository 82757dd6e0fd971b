// What a program hears when it draws before it opened graphics, or hands a
// failed load to a drawing function: the error names the function it
// called and what to do, and keeps its type.
#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "toolkit/core/error.h"
#include "toolkit/graphics/image.h"
#include "toolkit/graphics/image_font.h"
#include "toolkit/graphics/lumo2d_functions.h"

namespace kestrel {
namespace {

// The text of the TNullObjectException the call raises ("" when it raises
// none).
std::string NullObjectText(const std::function<void()>& call) {
    try {
        call();
    } catch (const TNullObjectException& e) {
        return e.ToString();
    }
    return "";
}

TEST(FirstCallErrors, DrawingBeforeGraphicsNamesTheFunctionAndTheFix) {
    EXPECT_EQ(NullObjectText([] { Cls(); }), "Cls: no graphics open: call Graphics() first");
    EXPECT_EQ(NullObjectText([] { SetColor(255, 0, 0); }),
              "SetColor: no graphics open: call Graphics() first");
    EXPECT_EQ(NullObjectText([] { DrawRect(1, 2, 3, 4); }),
              "DrawRect: no graphics open: call Graphics() first");
    EXPECT_EQ(NullObjectText([] { DrawText("hi", 0, 0); }),
              "DrawText: no graphics open: call Graphics() first");
    EXPECT_EQ(NullObjectText([] { TextWidth("hi"); }),
              "TextWidth: no graphics open: call Graphics() first");
    EXPECT_EQ(NullObjectText([] { SetRotation(90); }),
              "SetRotation: no graphics open: call Graphics() first");

    // An image is made without graphics; drawing it needs them.
    TImagePtr image = CreateImage(4, 4);
    ASSERT_NE(image, nullptr);
    EXPECT_EQ(NullObjectText([&] { DrawImage(image, 0, 0); }),
              "DrawImage: no graphics open: call Graphics() first");
    EXPECT_EQ(NullObjectText([&] { GrabImage(image, 0, 0); }),
              "GrabImage: no graphics open: call Graphics() first");
    EXPECT_EQ(NullObjectText([&] { DrawnImagePixmap(image, 2, 2); }),
              "DrawnImagePixmap: no graphics open: call Graphics() first");
}

TEST(FirstCallErrors, ANullImageSaysToCheckTheLoad) {
    const std::string expected =
        ": the image is Null: check what LoadImage returned (LastLoadError() says why)";
    TImagePtr failed = LoadImage("no/such/picture.png");
    ASSERT_EQ(failed, nullptr);
    EXPECT_EQ(NullObjectText([&] { DrawImage(failed, 0, 0); }), "DrawImage" + expected);
    EXPECT_EQ(NullObjectText([&] { ImageWidth(failed); }), "ImageWidth" + expected);
    EXPECT_EQ(NullObjectText([&] { MidHandleImage(failed); }), "MidHandleImage" + expected);
    EXPECT_EQ(NullObjectText([&] { DrawnImagePixmap(failed, 2, 2); }), "DrawnImagePixmap" + expected);
}

}  // namespace
}  // namespace kestrel
