// The check of a verified download: the first differing byte and the section of the image it lies in, with
// the section sizes written into a hand-made header.
#include "comm/ImageComparison.h"

#include <gtest/gtest.h>
#include <vector>

namespace quillon::test {
namespace {

// An image of 200 bytes whose header states a network of 10 bytes, a global read list of 0, power-on tasks of
// 6 and screens of 20 bytes: Network 114-123, Power-on tasks 124-129, Screens 130-149.
std::vector<std::uint8_t> image() {
    std::vector<std::uint8_t> bytes(200, 0);
    bytes[0] = 200;
    bytes[0x14] = 10; // networkBytes
    bytes[0x26] = 6;  // powerOnBytes
    bytes[0x1C] = 20; // screenBytes
    return bytes;
}

TEST(ImageComparisonTest, FindsTheFirstDifferingByteAtEveryEdge) {
    const std::vector<std::uint8_t> sent = image();
    EXPECT_FALSE(ImageComparison::firstDifference(sent, sent));

    std::vector<std::uint8_t> held = sent;
    held[0] ^= 1;
    held[150] ^= 1;
    auto d = ImageComparison::firstDifference(sent, held);
    ASSERT_TRUE(d);
    EXPECT_EQ(d->offset, 0U);

    held = sent;
    held.back() = 0x5A;
    d = ImageComparison::firstDifference(sent, held);
    ASSERT_TRUE(d);
    EXPECT_EQ(d->offset, 199U);
    EXPECT_EQ(ImageComparison::failureText(*d, ""), "Verify failed: the unit's memory differs from the "
                                                    "application sent, first at offset 199 (0x000000C7): "
                                                    "sent 0x00, the unit holds 0x5A.");

    // The unit holds less than was sent: the difference is where its image ends.
    held.assign(sent.begin(), sent.begin() + 120);
    d = ImageComparison::firstDifference(sent, held);
    ASSERT_TRUE(d);
    EXPECT_EQ(d->offset, 120U);
    EXPECT_FALSE(d->held);
    EXPECT_EQ(ImageComparison::failureText(*d, "Network"),
              "Verify failed: the unit's memory differs from the application sent, first at offset 120 "
              "(0x00000078): "
              "200 bytes were sent, the unit holds 120 (in Network).");
}

TEST(ImageComparisonTest, NamesTheSectionByTheHeadersSizes) {
    const std::vector<std::uint8_t> bytes = image();
    EXPECT_EQ(ImageComparison::sectionAt(bytes, 49), "Header");
    EXPECT_EQ(ImageComparison::sectionAt(bytes, 50), "Settings");
    EXPECT_EQ(ImageComparison::sectionAt(bytes, 113), "Settings");
    EXPECT_EQ(ImageComparison::sectionAt(bytes, 114), "Network");
    EXPECT_EQ(ImageComparison::sectionAt(bytes, 123), "Network");
    // The empty global read list and global task list take no byte.
    EXPECT_EQ(ImageComparison::sectionAt(bytes, 124), "Power-on tasks");
    EXPECT_EQ(ImageComparison::sectionAt(bytes, 129), "Power-on tasks");
    EXPECT_EQ(ImageComparison::sectionAt(bytes, 130), "Screens");
    EXPECT_EQ(ImageComparison::sectionAt(bytes, 149), "Screens");
    EXPECT_EQ(ImageComparison::sectionAt(bytes, 150), "");
    // An image shorter than its header names no section beyond it.
    EXPECT_EQ(ImageComparison::sectionAt(std::vector<std::uint8_t>(30, 0), 55), "");
}

} // namespace
} // namespace quillon::test
