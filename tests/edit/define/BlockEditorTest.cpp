#include "edit/define/BlockEditor.h"

#include "edit/define/NetworkEditor.h"
#include "edit/define/NodeAreas.h"
#include "model/Block.h"
#include "model/Node.h"
#include "plc/EditorFixture.h"

#include <gtest/gtest.h>

using namespace quillon;
using quillon::test::EditorFixture;

namespace {

// Areas of the Modbus standard model: 0 coils "0", 1 discrete inputs "1", 2 input registers "3",
// 3 holding registers "4"; one decimal part of four digits, 0001 to 9999.
constexpr std::size_t kCoils = 0;
constexpr std::size_t kInputRegisters = 2;
constexpr std::size_t kHolding = 3;

struct Blocks : EditorFixture {
    Blocks() : network(*app, *catalogs, driversDir(), prompter), editor(*app, *catalogs, prompter) {
        network.open();
        auto draft = *network.beginAdd(); // Modbus RTU Master, standard addressing, node 1
        node = network.apply(draft, nullptr).node;
        editor.selectNode(node);
        prompter.clear();
    }

    BlockDraft draft(std::size_t area, const std::string& part, const std::string& size,
                     const std::string& name = "Block") {
        BlockDraft d = editor.beginAdd();
        editor.chooseArea(d, area);
        d.parts[0] = part;
        d.size = size;
        d.name = name;
        return d;
    }
    Block* add(std::size_t area, const std::string& part, const std::string& size,
               const std::string& name = "B") {
        return editor.apply(draft(area, part, size, name), nullptr).block;
    }

    NetworkEditor network;
    BlockEditor editor;
    Node* node = nullptr;
};

} // namespace

TEST(BlockEditor, AreasAndSelectorLines) {
    Blocks b;
    ASSERT_EQ(b.editor.areas().size(), 4u);
    EXPECT_EQ(b.editor.areas()[kHolding].name(), "Holding registers (4x)");
    EXPECT_EQ(NodeAreas::selectorLine(*b.node),
              "[ 001 : Node1 ]  Modbus RTU Master  ( Standard addressing 0xxxx-4xxxx )");
    EXPECT_EQ(NodeAreas::selectorLine(*b.app->unitNode()), "[ 000 : Operator Panel ]  VQ5K-unit");
    BlockEditor unit(*b.app, *b.catalogs, b.prompter);
    unit.selectNode(b.app->unitNode());
    ASSERT_EQ(unit.areas().size(), 3u);
    EXPECT_EQ(unit.areas()[0].prefix(), "UW");
}

TEST(BlockEditor, NewBlockStartsAtTheFirstAddressWithTheLargestSize) {
    Blocks b;
    const BlockDraft d = b.editor.beginAdd();
    EXPECT_EQ(d.name, "Block");
    EXPECT_EQ(d.area, kCoils);
    EXPECT_EQ(d.parts[0], "0001");
    EXPECT_EQ(d.size, "255");
    BlockDraft holding = d;
    b.editor.chooseArea(holding, kHolding);
    EXPECT_EQ(b.editor.startAddress(holding), "40001");
    EXPECT_EQ(holding.size, "125");
}

TEST(BlockEditor, SizeIsBoundedByTheRegistersLeft) {
    Blocks b;
    BlockDraft d = b.draft(kHolding, "9990", "");
    EXPECT_EQ(b.editor.maxSize(d), 10u);
    EXPECT_EQ(b.editor.leaveSize(d), "10");
    d.size = "0";
    EXPECT_EQ(b.editor.leaveSize(d), "10");
    d.size = "10";
    EXPECT_EQ(b.editor.stepSize(d, true), "10");
    d.size = "1";
    EXPECT_EQ(b.editor.stepSize(d, false), "1");
    EXPECT_EQ(b.editor.stepSize(d, true), "2");

    d.size = "11";
    EXPECT_FALSE(b.editor.apply(d, nullptr).stored);
    EXPECT_EQ(b.prompter.texts(), std::vector<std::string>{"The Block Size must be from 1 to 10."});
    d.parts[0] = "9999";
    EXPECT_EQ(b.editor.maxSize(d), 1u);
    d.size = "1";
    const BlockOutcome last = b.editor.apply(d, nullptr);
    ASSERT_TRUE(last.stored);
    EXPECT_EQ(last.block->address(), "49999");
    EXPECT_EQ(last.block->size, 1);
    EXPECT_EQ(last.block->prefix, "4");
    EXPECT_EQ(last.block->attribute, 2);
    EXPECT_EQ(last.block->name, "Block");
}

TEST(BlockEditor, OverlapIsTestedBeforeTheName) {
    Blocks b;
    ASSERT_NE(b.add(kHolding, "0100", "10"), nullptr); // 40100 .. 40109
    struct Case {
        std::string start, size;
        bool overlaps;
    };
    const std::vector<Case> cases{
        {"0105", "1", true},  // inside
        {"0095", "6", true},  // its end on the other's start
        {"0090", "30", true}, // holds the other whole
        {"0109", "3", true},  // its start on the other's end
        {"0095", "5", false}, // ends just before
        {"0110", "5", false}, // starts just after
    };
    for (const Case& c : cases) {
        b.prompter.clear();
        // An empty name: the overlap is reported first.
        const BlockOutcome outcome = b.editor.apply(b.draft(kHolding, c.start, c.size, ""), nullptr);
        EXPECT_FALSE(outcome.stored);
        ASSERT_EQ(b.prompter.prompts().size(), 1u) << c.start;
        EXPECT_EQ(b.prompter.last().text, c.overlaps
                                              ? "This Block is overlapping other Block(s), hence not valid."
                                              : "Name of the Block is not entered.")
            << c.start << " " << c.size;
        EXPECT_EQ(b.prompter.last().title, "Quillon : Error");
        EXPECT_EQ(outcome.focus, c.overlaps ? BlockField::Address : BlockField::Name);
    }
    // Another area with the same digits does not overlap.
    EXPECT_NE(b.add(kInputRegisters, "0100", "10"), nullptr);
    EXPECT_EQ(b.node->blockCount(), 2u);
}

TEST(BlockEditor, ChangeReplacesTheBlockUnlessItHoldsTags) {
    Blocks b;
    Block* first = b.add(kHolding, "0100", "10", "First");
    ASSERT_NE(first, nullptr);
    ASSERT_NE(b.add(kHolding, "0200", "10", "Second"), nullptr);
    auto d = b.editor.beginChange(*first);
    ASSERT_TRUE(d);
    EXPECT_EQ(d->name, "First");
    EXPECT_EQ(d->area, kHolding);
    EXPECT_EQ(d->parts[0], "0100");
    EXPECT_EQ(d->size, "10");
    // Its own old place does not count as an overlap.
    d->parts[0] = "0105";
    d->size = "20";
    d->name = "Moved";
    const BlockOutcome moved = b.editor.apply(*d, first);
    ASSERT_TRUE(moved.stored);
    EXPECT_EQ(b.editor.lines(),
              (std::vector<std::string>{"\t40105\t020\tMoved\t0", "\t40200\t010\tSecond\t0"}));
    // Into the other block: refused, the block stays as it was.
    d = b.editor.beginChange(*moved.block);
    d->parts[0] = "0195";
    EXPECT_FALSE(b.editor.apply(*d, moved.block).stored);
    EXPECT_EQ(b.prompter.last().text, "This Block is overlapping other Block(s), hence not valid.");
    EXPECT_EQ(b.node->blocks()[0]->address(), "40105");

    TagValues tag;
    tag.address = "40200";
    tag.name = "T";
    ASSERT_TRUE(b.app->addTag(*b.node->blocks()[1], tag));
    b.prompter.clear();
    EXPECT_FALSE(b.editor.beginChange(*b.node->blocks()[1]));
    EXPECT_EQ(b.prompter.texts(),
              std::vector<std::string>{"Tags are defined for this Block hence can not be changed"});
    EXPECT_EQ(b.prompter.last().title, "Quillon : Information");
}

TEST(BlockEditor, DeleteIsRefusedWithTagsAndAsksOtherwise) {
    Blocks b;
    Block* empty = b.add(kHolding, "0100", "10");
    Block* used = b.add(kHolding, "0200", "10");
    TagValues tag;
    tag.address = "40200";
    tag.name = "T";
    ASSERT_TRUE(b.app->addTag(*used, tag));
    EXPECT_FALSE(b.editor.remove(*used));
    EXPECT_EQ(b.prompter.texts(),
              std::vector<std::string>{"Tags are defined for this Block hence can not be deleted"});
    b.prompter.clear();
    int hooks = 0;
    b.editor.setBeforeRemoval([&] { ++hooks; });
    b.prompter.script({PromptAnswer::No, PromptAnswer::Yes});
    EXPECT_FALSE(b.editor.remove(*empty));
    EXPECT_EQ(b.prompter.last().text, "Are you sure to delete the selected Block?");
    EXPECT_EQ(b.prompter.last().title, "Quillon : Confirmation");
    EXPECT_EQ(hooks, 0);
    EXPECT_TRUE(b.editor.remove(*empty));
    EXPECT_EQ(hooks, 1);
    EXPECT_EQ(b.node->blockCount(), 1u);
    EXPECT_TRUE(b.app->checkConsistency());
}

TEST(BlockEditor, StartOutsideTheAreaIsRefused) {
    Blocks b;
    BlockDraft d = b.draft(kHolding, "0000", "1");
    EXPECT_EQ(b.editor.maxSize(d), 0u);
    EXPECT_FALSE(b.editor.apply(d, nullptr).stored);
    EXPECT_EQ(b.prompter.texts(), std::vector<std::string>{"The Starting Address is not in the Tag Range."});
    d.parts[0] = "0001";
    d.name = "Elevenchars";
    d.size = "1";
    b.prompter.clear();
    EXPECT_FALSE(b.editor.apply(d, nullptr).stored);
    EXPECT_EQ(b.prompter.texts(), std::vector<std::string>{"A Block name has at most 10 characters."});
    d.name = "Tencharsxx";
    EXPECT_TRUE(b.editor.apply(d, nullptr).stored);
}
