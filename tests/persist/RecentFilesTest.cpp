#include "persist/RecentFiles.h"

#include <algorithm>
#include <gtest/gtest.h>
#include <map>
#include <random>
#include <set>

namespace quillon {
namespace {

using Names = std::vector<std::string>;

TEST(RecentFilesTest, NewestFirstWithoutRepeatsAndAtMostEight) {
    RecentFiles recent;
    EXPECT_TRUE(recent.add("/a.ovm"));
    EXPECT_TRUE(recent.add("/b.ovm"));
    EXPECT_TRUE(recent.add("/c.ovm"));
    EXPECT_EQ(recent.entries(), (Names{"/c.ovm", "/b.ovm", "/a.ovm"}));
    // Used again: moves to the top instead of standing twice.
    EXPECT_TRUE(recent.add("/a.ovm"));
    EXPECT_EQ(recent.entries(), (Names{"/a.ovm", "/c.ovm", "/b.ovm"}));
    // Names differing only in case are two files here.
    EXPECT_TRUE(recent.add("/A.ovm"));
    EXPECT_EQ(recent.entries().size(), 4u);

    RecentFiles full;
    for (int i = 1; i <= 8; ++i) {
        full.add("/f" + std::to_string(i));
    }
    ASSERT_EQ(full.entries().size(), 8u) << "the eighth is kept";
    EXPECT_EQ(full.entries().back(), "/f1");
    full.add("/f9");
    EXPECT_EQ(full.entries(), (Names{"/f9", "/f8", "/f7", "/f6", "/f5", "/f4", "/f3", "/f2"}))
        << "the ninth drops the oldest";
    // Reusing the oldest of a full list drops nothing.
    full.add("/f2");
    EXPECT_EQ(full.entries(), (Names{"/f2", "/f9", "/f8", "/f7", "/f6", "/f5", "/f4", "/f3"}));
}

TEST(RecentFilesTest, NamesTheSettingsFileCannotHoldAreNotTaken) {
    RecentFiles recent;
    recent.add("/keep.ovm");
    EXPECT_FALSE(recent.add(""));
    EXPECT_FALSE(recent.add("/two\nlines.ovm"));
    EXPECT_FALSE(recent.add("/cr\r.ovm"));
    EXPECT_TRUE(recent.add(std::string(255, 'p')));
    EXPECT_FALSE(recent.add(std::string(256, 'p')));
    EXPECT_EQ(recent.entries(), (Names{std::string(255, 'p'), "/keep.ovm"}));
}

TEST(RecentFilesTest, AListReadBackIsCleanedAndCut) {
    const RecentFiles recent(
        Names{"/a", "", "/b", "/a", "/c\nd", "/c", "/d", "/e", "/f", "/g", "/h", "/i", "/j"});
    EXPECT_EQ(recent.entries(), (Names{"/a", "/b", "/c", "/d", "/e", "/f", "/g", "/h"}));
}

TEST(RecentFilesTest, MissingFilesAreDroppedAndTheRestKeepTheirOrder) {
    RecentFiles recent(Names{"/a", "/gone1", "/b", "/gone2", "/c"});
    const std::set<std::string> existing{"/a", "/b", "/c"};
    EXPECT_EQ(recent.dropMissing([&](const std::string& p) { return existing.count(p) > 0; }), 2u);
    EXPECT_EQ(recent.entries(), (Names{"/a", "/b", "/c"}));
    EXPECT_EQ(recent.dropMissing([](const std::string&) { return true; }), 0u);
    recent.remove("/b");
    recent.remove("/not-there");
    EXPECT_EQ(recent.entries(), (Names{"/a", "/c"}));
    EXPECT_EQ(recent.dropMissing([](const std::string&) { return false; }), 2u);
    EXPECT_TRUE(recent.empty());
}

// Random use, recounted after every step: no repeats, never more than eight, newest use first, nothing
// removed since its last use, and no name used more recently than the oldest entry left out.
TEST(RecentFilesTest, RandomUseKeepsTheMostRecentDistinctNames) {
    std::mt19937 rng(20240611);
    RecentFiles recent;
    std::map<std::string, int> lastUse;
    std::map<std::string, int> removedAt;
    for (int step = 1; step <= 5000; ++step) {
        const std::string name = "/f" + std::to_string(rng() % 14);
        const bool removing = rng() % 6 == 0;
        if (removing) {
            recent.remove(name);
            removedAt[name] = step;
        } else {
            ASSERT_TRUE(recent.add(name));
            lastUse[name] = step;
        }
        const Names& entries = recent.entries();
        ASSERT_LE(entries.size(), RecentFiles::kMaxEntries);
        ASSERT_EQ(std::set<std::string>(entries.begin(), entries.end()).size(), entries.size()) << step;
        if (!removing) {
            ASSERT_EQ(entries.front(), name) << step;
        }
        for (std::size_t i = 0; i < entries.size(); ++i) {
            ASSERT_GT(lastUse[entries[i]], removedAt[entries[i]]) << step;
            if (i > 0) {
                ASSERT_LT(lastUse[entries[i]], lastUse[entries[i - 1]]) << step;
            }
        }
        const int oldest = entries.empty() ? 0 : lastUse[entries.back()];
        for (const auto& [used, when] : lastUse) {
            if (when > removedAt[used] && when > oldest) {
                ASSERT_NE(std::find(entries.begin(), entries.end(), used), entries.end())
                    << step << " " << used;
            }
        }
    }
}

} // namespace
} // namespace quillon
