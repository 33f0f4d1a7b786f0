#include "persist/BitmapImporter.h"

#include "BitmapBuilder.h"

#include <gtest/gtest.h>

namespace quillon {
namespace {

using test::makeBitmap;

std::string refusal(const std::vector<std::uint8_t>& file, int displayClass) {
    auto picture = BitmapImporter::convert(file, displayClass);
    return picture.ok() ? std::string("accepted") : picture.message();
}

TEST(BitmapImporterTest, OneBitRowsAreTakenBottomRowLast) {
    // Row 0 lit on its left half, row 1 on its right half.
    const auto file = makeBitmap(16, 2, 1, [](int x, int y) { return (y == 0) == (x < 8) ? 1U : 0U; });
    auto picture = BitmapImporter::convert(file, 52);
    ASSERT_TRUE(picture.ok()) << picture.message();
    EXPECT_EQ(picture->width(), 16);
    EXPECT_EQ(picture->height(), 2);
    EXPECT_EQ(picture->rows(), (std::vector<std::uint8_t>{0xFF, 0x00, 0x00, 0xFF}));
    // The record of 7 + 2 × 2 + 1 bytes with size field 8.
    const auto record = picture->encodeLibraryRecord();
    EXPECT_EQ(record, (std::vector<std::uint8_t>{8, 0, 0, 16, 0, 2, 0, 0xFF, 0x00, 0x00, 0xFF, 0xFF}));
}

TEST(BitmapImporterTest, ColourIndicesAreCutAtHalfTheirRange) {
    // Every eighth pixel included: 17 pixels alternating 200 and 10.
    const auto eight = makeBitmap(17, 3, 8, [](int x, int) { return x % 2 == 0 ? 200U : 10U; });
    auto picture = BitmapImporter::convert(eight, 51);
    ASSERT_TRUE(picture.ok());
    for (int y = 0; y < 3; ++y) {
        EXPECT_EQ(picture->rows()[y * 3 + 0], 0xAA);
        EXPECT_EQ(picture->rows()[y * 3 + 1], 0xAA);
        EXPECT_EQ(picture->rows()[y * 3 + 2], 0x80);
    }
    const auto edges = makeBitmap(4, 1, 8, [](int x, int) {
        return std::vector<unsigned>{127, 128, 0, 255}[x];
    });
    EXPECT_EQ(BitmapImporter::convert(edges, 50)->rows(), std::vector<std::uint8_t>{0x50});

    // Four bits: 8 and above is lit; an odd width uses the high nibble of the last byte.
    const auto four = makeBitmap(13, 2, 4, [](int x, int) { return static_cast<unsigned>(x + 2); });
    picture = BitmapImporter::convert(four, 50);
    ASSERT_TRUE(picture.ok());
    // x + 2 >= 8 from x = 6 on: pixels 6 to 12 lit.
    EXPECT_EQ(picture->rows()[0], 0x03);
    EXPECT_EQ(picture->rows()[1], 0xF8);
}

TEST(BitmapImporterTest, TopDownFilesAndBytesAfterThePixelsReadTheSame) {
    auto index = [](int x, int y) { return (x * 7 + y * 3) % 2 == 0 ? 255U : 0U; };
    const auto plain = BitmapImporter::convert(makeBitmap(23, 9, 8, index), 52);
    const auto topDown = BitmapImporter::convert(makeBitmap(23, 9, 8, index, true), 52);
    const auto padded = BitmapImporter::convert(makeBitmap(23, 9, 8, index, false, 0, 2), 52);
    ASSERT_TRUE(plain.ok() && topDown.ok() && padded.ok());
    EXPECT_EQ(*plain, *topDown);
    EXPECT_EQ(*plain, *padded);
    EXPECT_TRUE(plain->pixel(0, 0));
    EXPECT_FALSE(plain->pixel(1, 0));
    EXPECT_TRUE(plain->pixel(1, 1));
}

TEST(BitmapImporterTest, SizeLimitsFollowTheDisplayClass) {
    auto blank = [](int, int) { return 0U; };
    EXPECT_EQ(refusal(makeBitmap(129, 10, 1, blank), 50), BitmapImporter::kTooLarge);
    EXPECT_EQ(refusal(makeBitmap(129, 10, 1, blank), 51), "accepted");
    EXPECT_EQ(refusal(makeBitmap(128, 65, 1, blank), 50), BitmapImporter::kTooLarge);
    EXPECT_EQ(refusal(makeBitmap(240, 129, 1, blank), 51), BitmapImporter::kTooLarge);
    EXPECT_EQ(refusal(makeBitmap(320, 240, 1, blank), 52), "accepted");
    EXPECT_EQ(refusal(makeBitmap(321, 240, 1, blank), 52), BitmapImporter::kTooLarge);
    // Character displays check no size, but a record holds no more than its 16-bit size field counts.
    EXPECT_EQ(refusal(makeBitmap(600, 100, 1, blank), 2), "accepted");
    EXPECT_EQ(refusal(makeBitmap(1000, 600, 1, blank), 2), BitmapImporter::kTooLarge);
    EXPECT_EQ(refusal(makeBitmap(70000, 1, 1, blank), 2), BitmapImporter::kTooLarge);
}

TEST(BitmapImporterTest, GreyPicturesAreCutAtHalfTheirRangeAndSizedByTheDisplay) {
    // Ten pixels: 127 and 128 on either side of the cut, the ninth pixel in the second byte.
    const std::vector<std::uint8_t> grey{0, 255, 127, 128, 200, 10, 128, 127, 255, 0};
    auto picture = BitmapImporter::fromGrey(10, 1, grey, 50);
    ASSERT_TRUE(picture.ok()) << picture.message();
    EXPECT_EQ(picture->width(), 10);
    EXPECT_EQ(picture->rows(), (std::vector<std::uint8_t>{0b0101'1010, 0b1000'0000}));

    const std::vector<std::uint8_t> wide(129, 255);
    EXPECT_EQ(BitmapImporter::fromGrey(129, 1, wide, 50).message(), BitmapImporter::kTooLarge);
    EXPECT_TRUE(BitmapImporter::fromGrey(129, 1, wide, 51).ok());
    // Fewer grey bytes than the size promises, or no pixels at all.
    EXPECT_EQ(BitmapImporter::fromGrey(10, 2, grey, 50).message(), BitmapImporter::kNotValid);
    EXPECT_EQ(BitmapImporter::fromGrey(0, 1, grey, 50).message(), BitmapImporter::kNotValid);
}

TEST(BitmapImporterTest, FilesTheUnitCannotShowAreRefused) {
    auto blank = [](int, int) { return 0U; };
    EXPECT_EQ(refusal(makeBitmap(8, 8, 24, blank), 52), BitmapImporter::kTooManyColours);
    // The size is checked before the colours.
    EXPECT_EQ(refusal(makeBitmap(400, 8, 24, blank), 52), BitmapImporter::kTooLarge);
    EXPECT_EQ(refusal(makeBitmap(8, 8, 2, blank), 52), BitmapImporter::kNotValid);
    EXPECT_EQ(refusal(makeBitmap(8, 8, 8, blank, false, 1), 52),
              BitmapImporter::kNotValid); // run-length coded

    auto good = makeBitmap(8, 8, 8, blank);
    auto broken = good;
    broken[0] = 'X';
    EXPECT_EQ(refusal(broken, 52), BitmapImporter::kNotValid);
    broken = good;
    broken[14] = 12; // the old 12-byte header
    EXPECT_EQ(refusal(broken, 52), BitmapImporter::kNotValid);
    broken = good;
    broken.resize(broken.size() - 1); // pixels cut short
    EXPECT_EQ(refusal(broken, 52), BitmapImporter::kNotValid);
    broken = good;
    broken[10] = broken[11] = broken[12] = broken[13] = 0xFF; // pixels said to start past the end
    EXPECT_EQ(refusal(broken, 52), BitmapImporter::kNotValid);
    EXPECT_EQ(refusal(std::vector<std::uint8_t>(good.begin(), good.begin() + 53), 52),
              BitmapImporter::kNotValid);
    EXPECT_EQ(refusal(makeBitmap(0, 8, 8, blank), 52), BitmapImporter::kNotValid);
    EXPECT_EQ(refusal(makeBitmap(8, 0, 8, blank), 52), BitmapImporter::kNotValid);
    broken = good;
    broken[22] = 0x00, broken[23] = 0x00, broken[24] = 0x00, broken[25] = 0x80; // height INT32_MIN
    EXPECT_EQ(refusal(broken, 52), BitmapImporter::kNotValid);
}

} // namespace
} // namespace quillon
