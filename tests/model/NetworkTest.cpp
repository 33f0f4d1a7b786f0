#include "ModelFixture.h"
#include "model/RecordingPrompter.h"

#include <gtest/gtest.h>
#include <string>
#include <vector>

using namespace quillon;
using namespace quillon::testing_support;

namespace {

std::vector<std::string> addressesInTagOrder(const Application& app) {
    std::vector<std::string> out;
    for (const Tag& t : app.tags()) {
        out.push_back(std::to_string(t.nodeNumber()) + ":" + t.displayAddress());
    }
    return out;
}

} // namespace

TEST(Network, NodesKeepNumberOrderAndProposeTheNextNumber) {
    Application app(500);
    must(app.addNode(Node::createUnitNode()));
    EXPECT_EQ(app.totals().applicationSize, 141u);
    EXPECT_EQ(app.nextNodeNumber(), 1);
    must(app.addNode(plcNode(7)));
    must(app.addNode(plcNode(3)));
    EXPECT_EQ(app.nextNodeNumber(), 8);
    must(app.addNode(plcNode(255)));
    EXPECT_EQ(app.nextNodeNumber(), 0); // nothing above 255
    std::vector<int> numbers;
    for (const auto& n : app.nodes()) {
        numbers.push_back(n->number());
    }
    EXPECT_EQ(numbers, (std::vector<int>{0, 3, 7, 255}));
    EXPECT_EQ(app.totals().networkBytes, 4u * 14u);

    // A second node with a number in use would make tags and TagRefs ambiguous.
    auto dup = app.addNode(plcNode(7));
    ASSERT_FALSE(dup);
    EXPECT_EQ(dup.message(), "This Node-address is already defined.\n It should be UNIQUE.");
    EXPECT_EQ(app.nodeCount(), 4u);

    EXPECT_EQ(app.unitNode()->name, "Operator Panel");
    EXPECT_FALSE(app.isNodeNumberFree(3));
    EXPECT_TRUE(app.isNodeNumberFree(3, app.findNodeByNumber(3)));
    EXPECT_FALSE(app.isNodeNameFree("Node7"));
    EXPECT_TRUE(app.isNodeNameFree("Node7", app.findNodeByNumber(7)));
    EXPECT_TRUE(app.isNodeNameFree("node7")); // names compare case-sensitively

    // The network editor takes a node out, renumbers it and puts it back.
    Node* seven = app.findNodeByNumber(7);
    EXPECT_FALSE(seven->setNumber(9)); // not while it is in the network
    auto out = app.removeNode(*seven);
    ASSERT_TRUE(out);
    EXPECT_EQ(app.nextNodeNumber(), 0);
    ASSERT_TRUE(out.value()->setNumber(9));
    must(app.addNode(std::move(out).value()));
    EXPECT_EQ(app.nodes()[2]->number(), 9);
    EXPECT_TRUE(app.checkConsistency()) << app.checkConsistency().message();
}

TEST(Network, EntryLengthsFollowBlocksAndTags) {
    Application app(42);
    Node* node = must(app.addNode(plcNode(1)));
    Block* b = must(app.addBlock(*node, std::make_unique<Block>("D0010", 10)));
    EXPECT_EQ(b->entryLength(), 9u); // address + 4
    EXPECT_EQ(node->entryLength(), 10u + 11u);
    must(app.addTag(*b, registerTag("D0012")));
    must(app.addTag(*b, bitTag("D0011", 3)));
    EXPECT_EQ(b->tagCount(), 2);
    EXPECT_EQ(b->entryLength(), 9u + 2 * 12u);
    EXPECT_EQ(node->entryLength(), 10u + b->entryLength() + 2);
    EXPECT_EQ(app.totals().tagBytes, 24u);
    EXPECT_EQ(app.totals().networkBytes, 14u + 11u + 24u);
    EXPECT_EQ(app.totals().applicationSize, 127u + 14u + 11u + 24u);
    EXPECT_EQ(b->tags()[0]->recordLength(), 11);
    EXPECT_TRUE(app.checkConsistency()) << app.checkConsistency().message();
}

TEST(Network, TagOrderIsNodeThenAddressTextWithStableEquals) {
    Application app(42);
    Node* n1 = must(app.addNode(plcNode(1)));
    Node* n2 = must(app.addNode(plcNode(2)));
    Block* b2 = must(app.addBlock(*n2, std::make_unique<Block>("A0000", 5)));
    Block* b1 = must(app.addBlock(*n1, std::make_unique<Block>("D0000", 20)));
    must(app.addTag(*b2, registerTag("A0001")));
    must(app.addTag(*b1, registerTag("D0010")));
    must(app.addTag(*b1, registerTag("D0002"))); // text order, not numeric: D0002 before D0010
    Tag* first = must(app.addTag(*b1, bitTag("D0005", 7)));
    Tag* second = must(app.addTag(*b1, bitTag("D0005", 2)));
    EXPECT_EQ(addressesInTagOrder(app),
              (std::vector<std::string>{"1:D0002", "1:D0005_07", "1:D0005_02", "1:D0010", "2:A0001"}));
    // The block's own order and indices agree with the tag list.
    EXPECT_EQ(first->indexInBlock(), 1);
    EXPECT_EQ(second->indexInBlock(), 2);
    EXPECT_EQ(app.findTag(1, 0, 2), second);
    EXPECT_EQ(app.findTag(1, 0, 4), nullptr);
    EXPECT_EQ(app.findTag(2, 1, 0), nullptr);
    EXPECT_EQ(app.findTag(9, 0, 0), nullptr);

    app.renumber();
    std::vector<std::uint32_t> sequences;
    for (const Tag& t : app.tags()) {
        sequences.push_back(t.sequence());
    }
    EXPECT_EQ(sequences, (std::vector<std::uint32_t>{1, 2, 3, 4, 5}));

    // Removing one of two equal addresses keeps the other's place.
    ASSERT_TRUE(app.removeTag(*first));
    EXPECT_EQ(second->indexInBlock(), 1);
    EXPECT_EQ(addressesInTagOrder(app),
              (std::vector<std::string>{"1:D0002", "1:D0005_02", "1:D0010", "2:A0001"}));
    app.sortTags();
    EXPECT_EQ(addressesInTagOrder(app),
              (std::vector<std::string>{"1:D0002", "1:D0005_02", "1:D0010", "2:A0001"}));
    EXPECT_TRUE(app.checkConsistency()) << app.checkConsistency().message();
}

TEST(Network, BlocksKeepAddressOrderAndIndices) {
    Application app(42);
    Node* node = must(app.addNode(plcNode(1)));
    Block* c = must(app.addBlock(*node, std::make_unique<Block>("D0300")));
    Block* a = must(app.addBlock(*node, std::make_unique<Block>("D0100")));
    Block* b = must(app.addBlock(*node, std::make_unique<Block>("D0200")));
    EXPECT_EQ(a->index(), 0u);
    EXPECT_EQ(b->index(), 1u);
    EXPECT_EQ(c->index(), 2u);
    Tag* t = must(app.addTag(*c, registerTag("D0301")));
    EXPECT_EQ(t->blockIndex(), 2u);
    EXPECT_EQ(app.findBlock(1, 1), b);

    auto refused = app.removeBlock(*c);
    ASSERT_FALSE(refused);
    EXPECT_EQ(refused.message(), "Tags are defined for this Block hence can not be deleted");
    auto removed = app.removeBlock(*a);
    ASSERT_TRUE(removed);
    EXPECT_EQ(t->blockIndex(), 1u); // TagRefs follow the block's new position at once
    EXPECT_EQ(app.findTag(1, 1, 0), t);

    auto nodeRefused = app.removeNode(*node);
    ASSERT_FALSE(nodeRefused);
    EXPECT_EQ(nodeRefused.message(),
              "Using this Node, Blocks(s)/Tag(s) are defined hence can not be deleted.");
    EXPECT_TRUE(app.checkConsistency()) << app.checkConsistency().message();
}

TEST(Network, LimitsThatKeepTheImageReadable) {
    Application app(42);
    Node* node = must(app.addNode(plcNode(1)));
    Block* block = must(app.addBlock(*node, std::make_unique<Block>("D0000", 255)));
    for (int i = 0; i < 255; ++i) {
        must(app.addTag(*block, registerTag("D" + std::to_string(1000 + i))));
    }
    auto full = app.addTag(*block, registerTag("D2000"));
    ASSERT_FALSE(full);
    EXPECT_EQ(full.message(), "The block already holds 255 tags.\nCan not add new tag.");
    EXPECT_FALSE(app.addTag(*block, registerTag(std::string(30, 'D'))));
    EXPECT_FALSE(app.addTag(*block, registerTag("")));
    EXPECT_FALSE(app.addBlock(*node, std::make_unique<Block>(std::string(28, 'D'))));

    Application other(42);
    Node* foreign = must(other.addNode(plcNode(1)));
    EXPECT_FALSE(app.addBlock(*foreign, std::make_unique<Block>("D0000")));
    EXPECT_TRUE(app.checkConsistency()) << app.checkConsistency().message();
}

TEST(Network, FindersByNameAndAddress) {
    Application app(42);
    Node* node = must(app.addNode(plcNode(1)));
    Block* block = must(app.addBlock(*node, std::make_unique<Block>("D0000", 50)));
    Tag* low = must(app.addTag(*block, registerTag("D0010", 1, "Low")));
    Tag* bit = must(app.addTag(*block, bitTag("D0010", 4, "Bit")));
    EXPECT_FALSE(app.isTagNameFree("Low"));
    EXPECT_TRUE(app.isTagNameFree("Low", low));

    EXPECT_EQ(app.findTagByAddress(1, registerTag("D0010", 1)), low);
    TagValues high = registerTag("D0010", 1);
    high.byteSelect = 1;
    EXPECT_EQ(app.findTagByAddress(1, high), nullptr);
    EXPECT_EQ(app.findTagByAddress(1, registerTag("D0010", 2)), nullptr);
    EXPECT_EQ(app.findTagByAddress(1, bitTag("D0010", 4)), bit);
    EXPECT_EQ(app.findTagByAddress(1, bitTag("D0010", 5)), nullptr);
    EXPECT_EQ(app.findTagByAddress(1, bitTag("D0010", 4), bit), nullptr);
    EXPECT_EQ(app.findTagByAddress(2, bitTag("D0010", 4)), nullptr);
}

TEST(Network, DisplayLines) {
    Application app(40);
    Node* unit = must(app.addNode(Node::createUnitNode()));
    Node* plc = must(app.addNode(plcNode(12)));
    plc->modelIndex = 2;
    Block* block = must(app.addBlock(*plc, std::make_unique<Block>("D0100", 8)));
    block->name = "Block0";
    EXPECT_EQ(unit->displayLine(app.panelModelName()), "000\tOperator Panel\tVQ5K-452\t00000");
    EXPECT_EQ(plc->displayLine(app.panelModelName()), "012\tNode12\tPLC  ( Model B )\t00001");
    EXPECT_EQ(block->listLine(), "D0100 : 008 ( Block0 )");
    EXPECT_EQ(block->tableLine(), "\tD0100\t008\tBlock0\t0");

    Tag* coil = must(app.addTag(*block, coilTag("D0100")));
    coil->name = "C";
    Tag* one = must(app.addTag(*block, registerTag("D0101", 1, "R")));
    one->byteSelect = 1;
    Tag* bit = must(app.addTag(*block, bitTag("D0102", 3, "B")));
    Tag* four = must(app.addTag(*block, registerTag("D0103", 4, "W")));
    RecordingPrompter prompter;
    const std::vector<std::string> lines = app.tagTableLines(prompter);
    EXPECT_EQ(lines, (std::vector<std::string>{"\t00001\t012\tD0100 : 008\tD0100\t-\tC",
                                               "\t00002\t012\tD0100 : 008\tD0101\t1 High\tR",
                                               "\t00003\t012\tD0100 : 008\tD0102_03\t-\tB",
                                               "\t00004\t012\tD0100 : 008\tD0103\t4\tW"}));
    EXPECT_TRUE(prompter.empty());
    EXPECT_EQ(bit->displayAddress(), "D0102_03");
    EXPECT_EQ(bit->pickLine(), "D0102_03 ( B )");
    EXPECT_EQ(four->pickLine(), "D0103 ( W )");

    TagValues odd = registerTag("D0104");
    odd.type = '7'; // a type no editor makes, as a damaged file might hold
    must(app.addTag(*block, odd));
    must(app.addTag(*block, registerTag("D0105")));
    const std::vector<std::string> cut = app.tagTableLines(prompter);
    EXPECT_EQ(cut.size(), 4u);
    ASSERT_EQ(prompter.prompts().size(), 1u);
    EXPECT_EQ(prompter.last().title, "Quillon : Error");
    EXPECT_EQ(prompter.last().text, "Wrong Tag-type.");
}

// A register bit shows its "_nn" once, whether the tag holds the editors' form ("D0102", bit 3) or a file
// written elsewhere holds the suffix in the address ("D0106_03", bit 3); the address itself is kept as held.
TEST(Network, RegisterBitShowsItsSuffixOnce) {
    Application app(40);
    must(app.addNode(Node::createUnitNode()));
    Node* plc = must(app.addNode(plcNode(12)));
    Block* block = must(app.addBlock(*plc, std::make_unique<Block>("D0100", 8)));
    Tag* plain = must(app.addTag(*block, bitTag("D0102", 3, "Plain")));
    Tag* suffixed = must(app.addTag(*block, bitTag("D0106_03", 3, "Suffixed")));
    Tag* other = must(app.addTag(*block, bitTag("D0107_05", 3, "Other")));
    Tag* word = must(app.addTag(*block, registerTag("D0104", 2, "Word")));
    EXPECT_EQ(suffixed->address(), "D0106_03");
    EXPECT_EQ(plain->plainAddress(), "D0102");
    EXPECT_EQ(suffixed->plainAddress(), "D0106");
    EXPECT_EQ(other->plainAddress(), "D0107_05"); // a suffix naming another bit is no repetition
    EXPECT_EQ(word->plainAddress(), "D0104");
    EXPECT_EQ(plain->displayAddress(), "D0102_03");
    EXPECT_EQ(suffixed->displayAddress(), "D0106_03");
    EXPECT_EQ(suffixed->pickLine(), "D0106_03 ( Suffixed )");
    EXPECT_EQ(word->displayAddress(), "D0104");
    RecordingPrompter prompter;
    const std::vector<std::string> lines = app.tagTableLines(prompter);
    ASSERT_EQ(lines.size(), 4u);
    EXPECT_EQ(lines[0], "\t00001\t012\tD0100 : 008\tD0102_03\t-\tPlain");
    EXPECT_EQ(lines[2], "\t00003\t012\tD0100 : 008\tD0106_03\t-\tSuffixed");

    // What the editors and imports store: the suffix dropped when it is the bit, refused when it is not.
    EXPECT_EQ(Tag::bitSuffix("D0106_03"), std::optional<std::uint8_t>(3));
    EXPECT_EQ(Tag::bitSuffix("D0106_7"), std::optional<std::uint8_t>(7));
    EXPECT_EQ(Tag::bitSuffix("D0106"), std::nullopt);
    EXPECT_EQ(Tag::bitSuffix("D0106_"), std::nullopt);
    EXPECT_EQ(Tag::bitSuffix("D0106_123"), std::nullopt);
    EXPECT_EQ(Tag::bitSuffix("D01_0A"), std::nullopt);
    EXPECT_EQ(*Tag::storedBitAddress("R0006_02", 2), "R0006");
    EXPECT_EQ(*Tag::storedBitAddress("R0006", 2), "R0006");
    const auto refused = Tag::storedBitAddress("R0006_03", 2);
    ASSERT_FALSE(refused);
    EXPECT_EQ(refused.message(), "the address R0006_03 names bit 3, but the tag's bit is 2");
}
