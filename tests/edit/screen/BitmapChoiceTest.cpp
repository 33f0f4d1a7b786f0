#include "edit/screen/BitmapChoice.h"

#include "model/RecordingPrompter.h"

#include <gtest/gtest.h>

using namespace quillon;

namespace {

constexpr std::uint8_t kClass50 = 50; // 128 x 64
constexpr std::uint8_t kClass51 = 51; // 240 x 128

constexpr const char* kNoSpace =
    "Not enough space for an object.\nPress OK to adjust such that complete object "
    "will appear.\nPress CANCEL to cancel the operation.";

TEST(BitmapChoice, TextsOfTheDialog) {
    EXPECT_EQ(BitmapChoice::caption(0), "Orvik : Bitmap library : Total 0");
    EXPECT_EQ(BitmapChoice::caption(65535), "Orvik : Bitmap library : Total 65535");
    EXPECT_EQ(BitmapChoice::chooseText(BitmapChoice::Mode::Add), "&Add  Selected Bitmap To Screen");
    EXPECT_EQ(BitmapChoice::chooseText(BitmapChoice::Mode::Change), "Change");
    // A 24 x 12 picture: 3 bytes a row, 36 pixel bytes, 7 header bytes and the trailing byte.
    EXPECT_EQ(BitmapChoice::sizeText(44), "0.04 KB");
    EXPECT_EQ(BitmapChoice::sizeText(1024), "1.00 KB");
    // 320 x 240: 40 bytes a row.
    EXPECT_EQ(BitmapChoice::sizeText(9608), "9.38 KB");
    EXPECT_EQ(BitmapChoice::dimensionText(24, 12), "24 X 12 (pixels)");
}

TEST(BitmapChoice, PictureMustFitTheScreenOfItsDisplay) {
    EXPECT_TRUE(BitmapChoice::fitsScreen(128, 64, kClass50));
    EXPECT_FALSE(BitmapChoice::fitsScreen(129, 64, kClass50));
    EXPECT_FALSE(BitmapChoice::fitsScreen(128, 65, kClass50));
    EXPECT_TRUE(BitmapChoice::fitsScreen(129, 65, kClass51));
    EXPECT_TRUE(BitmapChoice::fitsScreen(240, 128, kClass51));
    EXPECT_FALSE(BitmapChoice::fitsScreen(241, 128, kClass51));

    RecordingPrompter prompter;
    EXPECT_FALSE(BitmapChoice::place(129, 10, kClass50, {0, 0}, prompter));
    ASSERT_EQ(prompter.prompts().size(), 1U);
    EXPECT_EQ(prompter.last().title, "Quillon : Error");
    EXPECT_EQ(prompter.last().text, "Selected picture is greater than screen.\nCan not create new Picture.");
}

TEST(BitmapChoice, PictureStartsAtTheClickAndEndsAtTheEdgesAfterOk) {
    RecordingPrompter prompter;
    // 16 x 8 at (112, 56) ends exactly on the last pixels: no question.
    auto rect = BitmapChoice::place(16, 8, kClass50, {112, 56}, prompter);
    ASSERT_TRUE(rect);
    EXPECT_EQ(*rect, (UnitRect{112, 56, 127, 63}));
    EXPECT_TRUE(prompter.empty());

    // One pixel further right: asked, and OK moves it back to end at the right edge.
    prompter.script({PromptAnswer::Ok});
    rect = BitmapChoice::place(16, 8, kClass50, {113, 10}, prompter);
    ASSERT_TRUE(rect);
    EXPECT_EQ(*rect, (UnitRect{112, 10, 127, 17}));
    ASSERT_EQ(prompter.prompts().size(), 1U);
    EXPECT_EQ(prompter.last().text, kNoSpace);
    EXPECT_EQ(prompter.last().buttons, PromptButtons::OkCancel);

    // Near the bottom-right corner both edges are met.
    prompter.clear();
    prompter.script({PromptAnswer::Ok});
    rect = BitmapChoice::place(24, 12, kClass50, {120, 60}, prompter);
    ASSERT_TRUE(rect);
    EXPECT_EQ(*rect, (UnitRect{104, 52, 127, 63}));

    // Only the bottom edge crossed.
    prompter.clear();
    prompter.script({PromptAnswer::Ok});
    rect = BitmapChoice::place(24, 12, kClass50, {0, 53}, prompter);
    ASSERT_TRUE(rect);
    EXPECT_EQ(*rect, (UnitRect{0, 52, 23, 63}));

    // Cancel places nothing.
    prompter.clear();
    prompter.script({PromptAnswer::Cancel});
    EXPECT_FALSE(BitmapChoice::place(24, 12, kClass50, {120, 60}, prompter));
    EXPECT_EQ(prompter.prompts().size(), 1U);

    // The whole screen from its corner fits as it is.
    prompter.clear();
    rect = BitmapChoice::place(128, 64, kClass50, {0, 0}, prompter);
    ASSERT_TRUE(rect);
    EXPECT_EQ(*rect, (UnitRect{0, 0, 127, 63}));
    EXPECT_TRUE(prompter.empty());
}

} // namespace
