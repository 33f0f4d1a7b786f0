#include "persist/PictureLibrary.h"

#include "BitmapBuilder.h"
#include "TempFolder.h"
#include "model/RecordingPrompter.h"
#include "persist/BitmapImporter.h"

#include <cerrno>
#include <gtest/gtest.h>
#include <set>

namespace quillon {
namespace {

using test::makeBitmap;
using test::TempFolder;

PictureRecord picture(std::uint16_t width, std::uint16_t height, std::uint8_t seed) {
    std::vector<std::uint8_t> rows(std::size_t{height} * PictureRecord::rowBytes(width));
    for (std::size_t i = 0; i < rows.size(); ++i) {
        rows[i] = static_cast<std::uint8_t>(seed + i * 13);
    }
    return PictureRecord(width, height, rows);
}

std::vector<std::uint8_t> recordBytes(const PictureRecord& p, std::uint8_t used = 0) {
    auto bytes = p.encodeLibraryRecord();
    bytes[2] = used;
    return bytes;
}

class PictureLibraryTest : public ::testing::Test {
protected:
    std::filesystem::path bitmap(const std::string& name, int width, int height, unsigned seed) const {
        const auto file = dir_ / name;
        TempFolder::writeBytes(file, makeBitmap(width, height, 8, [seed](int x, int y) {
                                   return ((x * 5 + y * 3 + seed) % 7) < 3 ? 200U : 10U;
                               }));
        return file;
    }
    void writeLibrary(std::initializer_list<std::vector<std::uint8_t>> records) const {
        std::vector<std::uint8_t> bytes;
        for (const auto& r : records) {
            bytes.insert(bytes.end(), r.begin(), r.end());
        }
        TempFolder::writeBytes(library_.libraryPath(), bytes);
    }
    std::vector<std::uint8_t> libraryBytes() const { return TempFolder::readBytes(library_.libraryPath()); }
    std::uint32_t count() const { return *library_.countPictures(); }

    TempFolder dir_;
    PictureLibrary library_{dir_.path()};
    RecordingPrompter prompter_;
};

TEST_F(PictureLibraryTest, AMissingLibraryHoldsNothing) {
    EXPECT_FALSE(library_.exists());
    EXPECT_EQ(count(), 0U);
    EXPECT_EQ(*library_.usedPictureBytes(), 0U);
    EXPECT_TRUE(library_.usedPictures()->empty());
    EXPECT_TRUE(library_.updateUsedFlags([](std::uint32_t) { return true; }).ok());
    int calls = 0;
    EXPECT_TRUE(library_
                    .writeUsedPictures([&calls](std::span<const std::uint8_t>) {
                        ++calls;
                        return Status::success();
                    })
                    .ok());
    EXPECT_EQ(calls, 0);
    EXPECT_FALSE(library_.pictureSize(0).ok());
    // Deleting from a missing library names the file.
    EXPECT_FALSE(library_.deletePicture(0, {}, {}, prompter_).ok());
    EXPECT_EQ(prompter_.last().text, library_.libraryPath().string());
    EXPECT_EQ(prompter_.last().title, "Quillon : Error");
    EXPECT_FALSE(library_.exists());
}

TEST_F(PictureLibraryTest, AnImportedBitmapIsAppendedOnceAndRefusedTheSecondTime) {
    const auto file = dir_ / "two_rows.bmp";
    TempFolder::writeBytes(file, makeBitmap(16, 2, 1, [](int x, int) { return x % 3 == 0 ? 1U : 0U; }));
    auto added = library_.addPictureFromFile(file, 50, prompter_);
    ASSERT_TRUE(added.ok()) << added.message();
    EXPECT_EQ(*added, 0U);
    EXPECT_TRUE(prompter_.empty());
    EXPECT_EQ(libraryBytes().size(), 12U);
    EXPECT_EQ(libraryBytes()[0], 8);
    auto size = library_.pictureSize(0);
    ASSERT_TRUE(size.ok());
    EXPECT_EQ(size->width, 16);
    EXPECT_EQ(size->height, 2);
    EXPECT_FALSE(size->used());

    const auto before = libraryBytes();
    EXPECT_FALSE(library_.addPictureFromFile(file, 50, prompter_).ok());
    EXPECT_EQ(prompter_.last().text, PictureLibrary::kDuplicate);
    EXPECT_EQ(prompter_.last().title, "Quillon : Information");
    EXPECT_EQ(libraryBytes(), before);

    auto second = library_.addPictureFromFile(bitmap("other.bmp", 16, 2, 1), 50, prompter_);
    ASSERT_TRUE(second.ok());
    EXPECT_EQ(*second, 1U);
    EXPECT_EQ(count(), 2U);
    EXPECT_EQ(dir_.names(),
              (std::vector<std::string>{"NewPctr.ovp", "OvmPctrs.ovp", "other.bmp", "two_rows.bmp"}));
}

TEST_F(PictureLibraryTest, AConvertedPictureMeetsTheSameDuplicateSearch) {
    // The picture of the imported 16 x 2 file above, given already converted: one row byte pair a row.
    const PictureRecord picture(16, 2, {0x92, 0x49, 0x92, 0x49});
    auto added = library_.addPicture(picture, prompter_);
    ASSERT_TRUE(added.ok()) << added.message();
    EXPECT_EQ(*added, 0U);
    EXPECT_EQ(libraryBytes(),
              (std::vector<std::uint8_t>{8, 0, 0, 16, 0, 2, 0, 0x92, 0x49, 0x92, 0x49, 0x49}));

    const auto file = dir_ / "two_rows.bmp";
    TempFolder::writeBytes(file, makeBitmap(16, 2, 1, [](int x, int) { return x % 3 == 0 ? 1U : 0U; }));
    EXPECT_FALSE(library_.addPictureFromFile(file, 50, prompter_).ok());
    EXPECT_EQ(prompter_.last().text, PictureLibrary::kDuplicate);
    EXPECT_FALSE(library_.addPicture(picture, prompter_).ok());
    EXPECT_EQ(count(), 1U);
}

TEST_F(PictureLibraryTest, ImportRefusalsAreErrorsAndChangeNothing) {
    ASSERT_TRUE(library_.addPictureFromFile(bitmap("a.bmp", 20, 20, 0), 50, prompter_).ok());
    const auto before = libraryBytes();
    prompter_.clear();

    EXPECT_FALSE(library_.addPictureFromFile(bitmap("wide.bmp", 129, 8, 0), 50, prompter_).ok());
    const auto notBitmap = dir_ / "notes.bmp";
    TempFolder::writeText(notBitmap, "just some text that is long enough to hold a header, or so one hopes");
    EXPECT_FALSE(library_.addPictureFromFile(notBitmap, 50, prompter_).ok());
    const auto colours = dir_ / "photo.bmp";
    TempFolder::writeBytes(colours, makeBitmap(8, 8, 24, [](int, int) { return 9U; }));
    EXPECT_FALSE(library_.addPictureFromFile(colours, 50, prompter_).ok());
    EXPECT_FALSE(library_.addPictureFromFile(dir_ / "missing.bmp", 50, prompter_).ok());

    ASSERT_EQ(prompter_.prompts().size(), 4U);
    EXPECT_EQ(prompter_.texts()[0], BitmapImporter::kTooLarge);
    EXPECT_EQ(prompter_.texts()[1], BitmapImporter::kNotValid);
    EXPECT_EQ(prompter_.texts()[2], BitmapImporter::kTooManyColours);
    EXPECT_NE(prompter_.texts()[3].find("missing.bmp"), std::string::npos);
    for (const auto& p : prompter_.prompts()) {
        EXPECT_EQ(p.title, "Quillon : Error");
    }
    EXPECT_EQ(libraryBytes(), before);
}

TEST_F(PictureLibraryTest, DeletingRenumbersThePicturesAfterIt) {
    std::vector<PictureRecord> pictures;
    for (std::uint8_t i = 0; i < 5; ++i) {
        pictures.push_back(picture(static_cast<std::uint16_t>(8 + i), 3, i));
    }
    writeLibrary({recordBytes(pictures[0]), recordBytes(pictures[1]), recordBytes(pictures[2]),
                  recordBytes(pictures[3]), recordBytes(pictures[4])});

    // The application's Bitmap objects show pictures 2, 3 and 4.
    std::vector<std::uint32_t> shown{2, 3, 4};
    auto isUsed = [&shown](std::uint32_t i) {
        return std::find(shown.begin(), shown.end(), i) != shown.end();
    };
    auto removed = [&shown](std::uint32_t gone) {
        for (auto& s : shown) {
            if (s > gone) {
                --s;
            }
        }
    };
    const auto before = libraryBytes();
    EXPECT_FALSE(library_.deletePicture(2, isUsed, removed, prompter_).ok());
    EXPECT_EQ(prompter_.last().text, PictureLibrary::kUsed);
    EXPECT_EQ(prompter_.last().title, "Quillon : Information");
    EXPECT_EQ(libraryBytes(), before);
    EXPECT_EQ(shown, (std::vector<std::uint32_t>{2, 3, 4}));

    shown = {3, 4};
    auto selection = library_.deletePicture(2, isUsed, removed, prompter_);
    ASSERT_TRUE(selection.ok()) << selection.message();
    EXPECT_EQ(*selection, 1U);
    EXPECT_EQ(shown, (std::vector<std::uint32_t>{2, 3}));
    ASSERT_EQ(count(), 4U);
    EXPECT_EQ(*library_.readPicture(2), pictures[3]);
    EXPECT_EQ(*library_.readPicture(3), pictures[4]);

    selection = library_.deletePicture(0, {}, {}, prompter_);
    ASSERT_TRUE(selection.ok());
    EXPECT_EQ(*selection, 0U);
    EXPECT_EQ(*library_.readPicture(0), pictures[1]);
    EXPECT_EQ(dir_.names(), std::vector<std::string>{"OvmPctrs.ovp"});

    EXPECT_FALSE(library_.deletePicture(3, {}, {}, prompter_).ok());
    EXPECT_EQ(prompter_.last().text, "There is no picture 3 in the library.");
}

TEST_F(PictureLibraryTest, AFailedRewriteLeavesTheLibraryAsItWas) {
    writeLibrary({recordBytes(picture(8, 2, 1)), recordBytes(picture(9, 2, 2))});
    const auto before = libraryBytes();
    auto calls = FileSystemCalls::system();
    calls.write = [](int, const void*, std::size_t) -> ssize_t {
        errno = ENOSPC;
        return -1;
    };
    const PictureLibrary full(dir_.path(), calls);
    bool told = false;
    EXPECT_FALSE(full.deletePicture(
                         0, {}, [&told](std::uint32_t) { told = true; }, prompter_)
                     .ok());
    EXPECT_FALSE(told);
    EXPECT_NE(prompter_.last().text.find("No space left on device"), std::string::npos);
    EXPECT_FALSE(full.storePicture(picture(30, 3, 3)).ok());
    EXPECT_EQ(libraryBytes(), before);
    EXPECT_EQ(dir_.names(), std::vector<std::string>{"OvmPctrs.ovp"});
}

TEST_F(PictureLibraryTest, UsedFlagsDecideThePictureDataOfAnApplication) {
    const auto a = picture(16, 2, 1); // 4 bytes
    const auto b = picture(10, 3, 2); // 6 bytes
    const auto c = picture(24, 1, 3); // 3 bytes
    writeLibrary({recordBytes(a, 1), recordBytes(b, 0), recordBytes(c, 1)});

    const std::set<std::uint32_t> shown{1, 2};
    ASSERT_TRUE(library_.updateUsedFlags([&shown](std::uint32_t i) { return shown.count(i) != 0; }).ok());
    const auto bytes = libraryBytes();
    EXPECT_EQ(bytes[2], 0);      // a no longer used
    EXPECT_EQ(bytes[12 + 2], 1); // b
    EXPECT_EQ(bytes[12 + 14 + 2], 1);
    EXPECT_EQ(*library_.usedPictureBytes(), 9U);

    auto used = library_.usedPictures();
    ASSERT_TRUE(used.ok());
    ASSERT_EQ(used->size(), 2U);
    EXPECT_EQ((*used)[0].index, 1U);
    EXPECT_EQ((*used)[0].offset, 0U);
    EXPECT_EQ((*used)[0].length, 6U);
    EXPECT_EQ((*used)[1].index, 2U);
    EXPECT_EQ((*used)[1].offset, 6U);
    EXPECT_EQ((*used)[1].length, 3U);

    std::vector<std::uint8_t> data;
    ASSERT_TRUE(library_
                    .writeUsedPictures([&data](std::span<const std::uint8_t> part) {
                        data.insert(data.end(), part.begin(), part.end());
                        return Status::success();
                    })
                    .ok());
    std::vector<std::uint8_t> expected = b.rows();
    expected.insert(expected.end(), c.rows().begin(), c.rows().end());
    EXPECT_EQ(data, expected);

    // A sink that fails stops the writing with its failure.
    Status s =
        library_.writeUsedPictures([](std::span<const std::uint8_t>) { return Status::fail("disk full"); });
    EXPECT_EQ(s.message(), "disk full");
}

TEST_F(PictureLibraryTest, UploadedPicturesAreFoundOrAdded) {
    const auto a = picture(16, 2, 1);
    writeLibrary({recordBytes(a)});
    auto found = library_.storePicture(a);
    ASSERT_TRUE(found.ok());
    EXPECT_EQ(*found, 0U);
    EXPECT_EQ(count(), 1U);

    const auto b = picture(16, 2, 9); // same size, other pixels
    auto added = library_.storePicture(b);
    ASSERT_TRUE(added.ok());
    EXPECT_EQ(*added, 1U);
    EXPECT_EQ(*library_.readPicture(1), b);
    // The stored record carries its trailing byte.
    EXPECT_EQ(libraryBytes().size(), 2U * 12U);
    EXPECT_EQ(libraryBytes().back(), b.rows().back());
}

TEST_F(PictureLibraryTest, DuplicateSearchTellsWhatIsMissing) {
    EXPECT_EQ(library_.findDuplicate()->outcome, DuplicateOutcome::WorkFileMissing);
    ASSERT_TRUE(library_.writeWorkFile(picture(8, 8, 4)).ok());
    EXPECT_EQ(library_.findDuplicate()->outcome, DuplicateOutcome::LibraryMissing);
    writeLibrary({recordBytes(picture(8, 8, 3)), recordBytes(picture(8, 8, 4), 1)});
    auto search = library_.findDuplicate();
    EXPECT_EQ(search->outcome, DuplicateOutcome::Found);
    EXPECT_EQ(search->index, 1U); // the used flag does not count
    ASSERT_TRUE(library_.writeWorkFile(picture(8, 8, 5)).ok());
    EXPECT_EQ(library_.findDuplicate()->outcome, DuplicateOutcome::NotFound);

    // A damaged work file is reported, not compared.
    TempFolder::writeBytes(library_.workPath(), std::vector<std::uint8_t>{20, 0, 0, 8, 0, 8, 0, 1, 2});
    EXPECT_FALSE(library_.findDuplicate().ok());
    EXPECT_FALSE(library_.append().ok());
}

TEST_F(PictureLibraryTest, AnEndMarkEndsTheListAndWhatFollowsItIsKept) {
    const auto a = picture(8, 1, 1);
    const std::vector<std::uint8_t> tail{0, 0, 0x55, 0x66, 0x77};
    writeLibrary({recordBytes(a), tail});
    EXPECT_EQ(count(), 1U);
    auto added = library_.storePicture(picture(12, 2, 2));
    ASSERT_TRUE(added.ok());
    EXPECT_EQ(*added, 1U);
    EXPECT_EQ(count(), 2U);
    const auto bytes = libraryBytes();
    EXPECT_TRUE(std::equal(tail.begin(), tail.end(), bytes.end() - static_cast<std::ptrdiff_t>(tail.size())));
}

TEST_F(PictureLibraryTest, ADamagedLibraryIsReportedAndLeftAlone) {
    const auto good = recordBytes(picture(16, 4, 1));
    auto wrongSize = good;
    wrongSize[0] = 9; // does not match 4 rows of 2 bytes
    auto hugeSize = good;
    hugeSize[0] = 0xFF, hugeSize[1] = 0xFF; // claims 64 KiB
    const std::vector<std::vector<std::uint8_t>> damaged{
        {good.begin(), good.end() - 1}, // trailing byte missing
        wrongSize,
        hugeSize,
        {7},                   // one stray byte
        {12, 0, 0, 16},        // a header cut short
        {2, 0, 0, 0, 0, 0, 0}, // size field below the 4 it always counts
    };
    for (const auto& bad : damaged) {
        writeLibrary({good, bad});
        prompter_.clear();
        auto counted = library_.countPictures();
        ASSERT_FALSE(counted.ok());
        EXPECT_NE(counted.message().find("is damaged at byte 16"), std::string::npos) << counted.message();
        EXPECT_FALSE(library_.usedPictureBytes().ok());
        EXPECT_FALSE(library_.updateUsedFlags([](std::uint32_t) { return true; }).ok());
        EXPECT_FALSE(library_.storePicture(picture(30, 1, 1)).ok());
        EXPECT_FALSE(library_.deletePicture(0, {}, {}, prompter_).ok());
        EXPECT_NE(prompter_.last().text.find("damaged"), std::string::npos);
        EXPECT_EQ(libraryBytes().size(), good.size() + bad.size());
    }
}

TEST_F(PictureLibraryTest, AFullLibraryTakesNoMorePictures) {
    // 65535 pictures of 1 × 1 pixel.
    std::vector<std::uint8_t> bytes;
    bytes.reserve(65535U * 9U);
    for (std::uint32_t i = 0; i < PictureLibrary::kMaxPictures; ++i) {
        const std::uint8_t record[] = {
            5, 0, 0, 1, 0, 1, 0, static_cast<std::uint8_t>(i), static_cast<std::uint8_t>(i)};
        bytes.insert(bytes.end(), std::begin(record), std::end(record));
    }
    TempFolder::writeBytes(library_.libraryPath(), bytes);
    EXPECT_EQ(count(), PictureLibrary::kMaxPictures);
    EXPECT_FALSE(library_.addPictureFromFile(bitmap("new.bmp", 12, 12, 3), 52, prompter_).ok());
    EXPECT_EQ(prompter_.last().text, PictureLibrary::kLibraryFull);
    EXPECT_EQ(prompter_.last().title, "Quillon : Information");
    EXPECT_EQ(libraryBytes().size(), bytes.size());

    // One record more than a library can number is damage, not a picture.
    bytes.insert(bytes.end(), {5, 0, 0, 1, 0, 1, 0, 0, 0});
    TempFolder::writeBytes(library_.libraryPath(), bytes);
    EXPECT_FALSE(library_.countPictures().ok());
}

} // namespace
} // namespace quillon
