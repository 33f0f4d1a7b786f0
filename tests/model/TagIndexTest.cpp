#include "ModelFixture.h"

#include <algorithm>
#include <gtest/gtest.h>
#include <random>
#include <string>
#include <vector>

using namespace quillon;
using namespace quillon::testing_support;

namespace {

struct Expected {
    int node;
    std::string address;
    const Tag* tag;
};

// The tag list against a plain stable sort, through thousands of inserts (many of them equal or sharing
// long prefixes, so that runs split and equal keys straddle them) and removals.
TEST(TagIndex, OrderMatchesAStableSortThroughInsertsAndRemovals) {
    Application app(500);
    std::vector<Block*> blocks;
    for (int n = 1; n <= 3; ++n) {
        Node* node = must(app.addNode(plcNode(static_cast<std::uint8_t>(n))));
        for (int b = 0; b < 12; ++b) {
            blocks.push_back(
                must(app.addBlock(*node, std::make_unique<Block>("DB" + std::to_string(b), 255))));
        }
    }
    std::mt19937 rng(99);
    std::vector<Expected> inserted;
    for (int i = 0; i < 2500; ++i) {
        Block* block = blocks[rng() % blocks.size()];
        if (block->tagCount() == 255) {
            continue;
        }
        // Long addresses that agree in their first seven or more bytes, and many exact repeats.
        const std::string address = "DB10.DBW" + std::to_string(rng() % 40) + (rng() % 3 == 0 ? "" : ".X");
        Tag* tag = must(app.addTag(*block, bitTag(address, static_cast<std::uint8_t>(rng() % 16))));
        inserted.push_back({block->node()->number(), address, tag});
    }
    auto check = [&] {
        std::vector<Expected> expected = inserted;
        std::stable_sort(expected.begin(), expected.end(), [](const Expected& a, const Expected& b) {
            return a.node != b.node ? a.node < b.node : a.address < b.address;
        });
        std::vector<const Tag*> want;
        for (const Expected& e : expected) {
            want.push_back(e.tag);
        }
        std::vector<const Tag*> got;
        for (const Tag& t : app.tags()) {
            got.push_back(&t);
        }
        ASSERT_EQ(got, want);
        ASSERT_EQ(app.tagCount(), want.size());
    };
    check();
    for (int i = 0; i < 1500; ++i) {
        const std::size_t at = rng() % inserted.size();
        ASSERT_TRUE(app.removeTag(*const_cast<Tag*>(inserted[at].tag)));
        inserted.erase(inserted.begin() + static_cast<std::ptrdiff_t>(at));
    }
    check();
    const Status s = app.checkConsistency();
    EXPECT_TRUE(s) << s.message();

    // Lookup finds the first of equal addresses.
    const Expected& probe = inserted.front();
    const auto it = app.tags().find(static_cast<std::uint8_t>(probe.node), probe.address);
    ASSERT_NE(it, app.tags().end());
    EXPECT_EQ(it->address(), probe.address);
    EXPECT_EQ(app.tags().find(9, "DB10.DBW1"), app.tags().end());
}

} // namespace
