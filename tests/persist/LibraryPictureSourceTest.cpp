#include "persist/LibraryPictureSource.h"

#include "TempFolder.h"
#include "model/RecordingPrompter.h"
#include "persist/PictureLibrary.h"

#include <gtest/gtest.h>

namespace quillon {
namespace {

using test::TempFolder;

PictureRecord stripes(std::uint16_t width, std::uint16_t height, std::uint8_t pattern) {
    return PictureRecord(
        width, height,
        std::vector<std::uint8_t>(std::size_t{height} * PictureRecord::rowBytes(width), pattern));
}

class LibraryPictureSourceTest : public ::testing::Test {
protected:
    void store(const PictureRecord& picture) { ASSERT_TRUE(library_.storePicture(picture).ok()); }

    TempFolder dir_;
    PictureLibrary library_{dir_.path()};
    LibraryPictureSource source_{dir_.path()};
};

TEST_F(LibraryPictureSourceTest, AMissingLibraryCannotBeOpened) {
    auto picture = source_.picture(0);
    ASSERT_FALSE(picture.ok());
    EXPECT_EQ(picture.message(), "Can not open pictures' library.");
}

TEST_F(LibraryPictureSourceTest, PicturesComeAsTheirBitsAndAreKept) {
    store(stripes(10, 2, 0xC0));
    store(stripes(8, 3, 0x81));
    auto second = source_.picture(1);
    ASSERT_TRUE(second.ok()) << second.message();
    EXPECT_EQ(second->width, 8);
    EXPECT_EQ(second->height, 3);
    EXPECT_TRUE(second->lit(0, 2));
    EXPECT_FALSE(second->lit(1, 2));
    EXPECT_TRUE(second->lit(7, 0));
    auto first = source_.picture(0);
    ASSERT_TRUE(first.ok());
    EXPECT_EQ(first->rows.size(), 4U); // two rows of two bytes
    EXPECT_EQ(source_.cachedPictures(), 2U);

    auto beyond = source_.picture(2);
    ASSERT_FALSE(beyond.ok());
    EXPECT_EQ(beyond.message(), "There is no picture 2 in the library.");

    source_.dropCache();
    EXPECT_EQ(source_.cachedPictures(), 0U);
    EXPECT_TRUE(source_.picture(1).ok());
}

TEST_F(LibraryPictureSourceTest, AChangedLibraryIsReadAgain) {
    store(stripes(8, 1, 0xFF));
    store(stripes(8, 1, 0x0F));
    ASSERT_TRUE(source_.picture(1).ok());
    EXPECT_FALSE(source_.picture(1)->lit(0, 0));

    // Deleting picture 0 moves the second picture to number 0 and leaves no picture 1.
    RecordingPrompter prompter;
    ASSERT_TRUE(library_
                    .deletePicture(
                        0, [](std::uint32_t) { return false; }, [](std::uint32_t) {}, prompter)
                    .ok());
    auto moved = source_.picture(0);
    ASSERT_TRUE(moved.ok());
    EXPECT_FALSE(moved->lit(0, 0));
    EXPECT_TRUE(moved->lit(4, 0));
    EXPECT_FALSE(source_.picture(1).ok());

    std::filesystem::remove(library_.libraryPath());
    EXPECT_EQ(source_.picture(0).message(), "Can not open pictures' library.");
    EXPECT_EQ(source_.cachedPictures(), 0U);
}

TEST_F(LibraryPictureSourceTest, ADamagedLibraryIsReportedNotRead) {
    const std::vector<std::uint8_t> damaged{0x20, 0x00, 0x00, 0x08, 0x00, 0x40, 0x00, 0x01};
    TempFolder::writeBytes(library_.libraryPath(), damaged);
    auto picture = source_.picture(0);
    ASSERT_FALSE(picture.ok());
    EXPECT_NE(picture.message().find("damaged"), std::string::npos);
}

} // namespace
} // namespace quillon
