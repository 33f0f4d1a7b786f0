#include "plc/CatalogFileCache.h"

#include <chrono>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <random>

namespace fs = std::filesystem;
using namespace quillon;

namespace {

const fs::path kShipped = fs::path(QUILLON_SOURCE_DIR) / "data" / "plc";

struct CatalogFileCacheTest : ::testing::Test {
    fs::path dir;
    fs::file_time_type longAgo = fs::file_time_type::clock::now() - std::chrono::hours(1);

    void SetUp() override {
        std::random_device rd;
        dir = fs::temp_directory_path() / ("quillon-cache-" + std::to_string(rd()) + std::to_string(rd()));
        fs::create_directories(dir);
        fs::copy_file(kShipped / "0001_001.plc", dir / "0001_001.plc");
    }
    void TearDown() override { fs::remove_all(dir); }

    // Replaces the file's bytes by as many blanks, so that size and (restored) time stay as they were.
    void blankOut(const fs::path& file) const {
        const auto size = fs::file_size(file);
        const auto time = fs::last_write_time(file);
        std::ofstream(file, std::ios::binary | std::ios::trunc) << std::string(size, ' ');
        fs::last_write_time(file, time);
    }
};

} // namespace

TEST_F(CatalogFileCacheTest, ASettledFileIsParsedOnceAndAgainWhenItsStampChanges) {
    const fs::path file = dir / "0001_001.plc";
    fs::last_write_time(file, longAgo);
    CatalogFileCache cache(dir);
    const auto first = cache.catalog(file);
    ASSERT_TRUE(first);
    // Same size and time: the parse is kept, whatever the bytes now say.
    blankOut(file);
    EXPECT_EQ(cache.catalog(file), first);
    // Another time: read again, and the blanks are no catalog.
    fs::last_write_time(file, longAgo + std::chrono::seconds(1));
    EXPECT_FALSE(cache.catalog(file));
    fs::remove(file);
    EXPECT_FALSE(cache.catalog(file));
}

TEST_F(CatalogFileCacheTest, AFileChangedJustNowIsReadAfreshEveryTime) {
    const fs::path file = dir / "0001_001.plc";
    CatalogFileCache cache(dir);
    ASSERT_TRUE(cache.catalog(file));
    // Changed within the same clock tick as the look: size and time alone cannot tell.
    blankOut(file);
    EXPECT_FALSE(cache.catalog(file));
}

TEST_F(CatalogFileCacheTest, TheListingFollowsTheDirectoryUnlessItIsSettledAndUnchanged) {
    CatalogFileCache cache(dir);
    EXPECT_EQ(cache.locate("0001_001.PLC"), dir / "0001_001.plc");
    EXPECT_FALSE(cache.locate("0007_010.plc"));
    // A fresh directory is listed again at each look.
    std::ofstream(dir / "0007_010.PLC") << "x";
    EXPECT_EQ(cache.locate("0007_010.plc"), dir / "0007_010.PLC");

    fs::last_write_time(dir, longAgo);
    ASSERT_EQ(cache.entries().size(), 2u);
    // Settled and unchanged: the listing is kept (a file slipped in under the old time is not seen) ...
    std::ofstream(dir / "0009_001.plc") << "x";
    fs::last_write_time(dir, longAgo);
    EXPECT_FALSE(cache.locate("0009_001.plc"));
    // ... until the directory's time moves.
    fs::last_write_time(dir, longAgo + std::chrono::seconds(1));
    EXPECT_TRUE(cache.locate("0009_001.plc"));
    // Folders are no catalog files; a missing directory lists nothing.
    fs::create_directory(dir / "sub.plc");
    EXPECT_FALSE(cache.locate("sub.plc"));
    CatalogFileCache missing(dir / "nowhere");
    EXPECT_TRUE(missing.entries().empty());
}
