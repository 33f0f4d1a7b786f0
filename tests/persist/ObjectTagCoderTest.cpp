#include "persist/ObjectTagCoder.h"

#include "OvmFixture.h"
#include "persist/RegisterPositions.h"

#include <gtest/gtest.h>

namespace quillon::test {
namespace {

class TagCodes : public ::testing::Test {
protected:
    TagCodes()
        : owned(Application::create(520, f.prompter)), app(*owned), n(f.network(app)),
          positions(f.catalogs(), f.prompter) {}

    ObjectTagCode code(const Tag& tag, const ReadList& list) {
        ObjectTagCoder coder(app, positions);
        auto c = coder.code(tag, list, 1);
        EXPECT_TRUE(c) << c.message();
        return c ? *c : ObjectTagCode{};
    }

    OvmFixture f;
    std::unique_ptr<Application> owned;
    Application& app;
    OvmFixture::Network n;
    RegisterPositions positions;
};

// Each tag with its code, worked out by hand from the code rules: the letter by type and size, the
// offset and the last byte (bit or byte selector).
struct Coded {
    Tag* tag;
    ObjectTagCode code;
};

TEST_F(TagCodes, UnitTagsUseUpperCaseLettersAndTheRegisterNumberBothWays) {
    const ReadList none;
    const std::vector<Coded> table{
        {n.unitWord, {'W', 1, 0, 0}},   // UW001, 2 bytes
        {n.unitByte, {'B', 2, 0, 1}},   // UW002, 1 byte, high byte
        {n.unitDouble, {'D', 4, 0, 0}}, // UW004, 4 bytes
        {n.unitEight, {'F', 8, 0, 0}},  // UW008, 8 bytes
        {n.unitBit, {'C', 10, 0, 3}},   // UW010_03, bit 3
        {n.unitCoil, {'C', 5, 0, 0}},   // UB005, a coil
        {n.unitR, {'R', 5, 0, 0}},      // R0005, a word of the R file
        {n.unitRBit, {'r', 6, 0, 2}},   // R0006_02, a bit of the R file
    };
    ObjectTagCoder coder(app, positions);
    for (const Coded& c : table) {
        EXPECT_EQ(code(*c.tag, none), c.code) << c.tag->address();
        EXPECT_EQ(coder.decode(c.code, none, 1), c.tag) << c.tag->address();
    }
    // Codes of other tools name the unit's D and R files by number.
    Node& unit = *app.unitNode();
    Block& d = OvmFixture::block(app, unit, "D0000", 20);
    Tag* d12 = must(app.addTag(d, OvmFixture::reg("D0012", 2)));
    ObjectTagCoder fresh(app, positions);
    EXPECT_EQ(fresh.decode(ObjectTagCode{'W', 12, 0, 0}, none, 1), d12);
    EXPECT_EQ(fresh.decode(ObjectTagCode{'Q', 5, 0, 0}, none, 1), n.unitR);
    EXPECT_EQ(fresh.decode(ObjectTagCode{'x', 5, 0, 0}, none, 1), nullptr);
}

TEST_F(TagCodes, PlcTagsCountTheBlocksBeforeTheirsInNodeAndBlockOrder) {
    ReadList list;
    // Entered in another order than the unit lays them out.
    (void)list.enter(*n.word2->block());   // node 1, 40101, size 5
    (void)list.enter(*n.special->block()); // node 2, 30001, size 4
    (void)list.enter(*n.word->block());    // node 1, 40001, size 10
    // In the unit's order: 40001 (registers 0 to 9), 40101 (10 to 14), node 2's 30001 (15 to 18).
    const std::vector<Coded> table{
        {n.word, {'w', 2, 0, 0}},    // 40003: 0 + 2
        {n.word2, {'w', 13, 0, 0}},  // 40104: 10 + 3
        {n.byte, {'b', 0, 0, 1}},    // 40001, high byte
        {n.dword, {'d', 4, 0, 0}},   // 40005: 0 + 4
        {n.eight, {'f', 6, 0, 0}},   // 40007: 0 + 6
        {n.regBit, {'c', 1, 0, 3}},  // 40002_03: 0 + 1, bit 3
        {n.special, {'w', 16, 0, 0}} // 30002: 15 + 1
    };
    ObjectTagCoder coder(app, positions);
    for (const Coded& c : table) {
        EXPECT_EQ(code(*c.tag, list), c.code) << c.tag->address();
        EXPECT_EQ(coder.decode(c.code, list, 1), c.tag) << c.tag->address();
    }
}

TEST_F(TagCodes, PackedPlcTagsAreCountedOverTheTagList) {
    // A word after the 1-byte tag: the 1-byte tag steps on as a 2-byte one.
    Tag* after = must(app.addTag(*n.packed3->block(), OvmFixture::reg("40005", 2)));
    ReadList list;
    (void)list.enter(*n.packed1->block());
    // o and s start at 0; each tag adds s / 2, takes 1 off when the tag before it is of the same block,
    // and leaves s at its size (2 when below 2):
    // 40001 (2 bytes, after node 2's tag): o = 0 + 0 = 0, s = 2;
    // 40002 (4 bytes): o = 0 + 1 - 1 = 0, s = 4;
    // 40004 (1 byte): o = 0 + 2 - 1 = 1, s = 2;
    // 40005 (2 bytes): o = 1 + 1 - 1 = 1.
    const std::vector<Coded> table{
        {n.packed1, {'w', 0, 0, 0}},
        {n.packed2, {'d', 0, 0, 0}},
        {n.packed3, {'b', 1, 0, 0}},
        {after, {'w', 1, 0, 0}},
    };
    ObjectTagCoder coder(app, positions);
    for (const Coded& c : table) {
        EXPECT_EQ(code(*c.tag, list), c.code) << c.tag->address();
    }
    EXPECT_EQ(coder.decode(ObjectTagCode{'b', 1, 0, 0}, list, 1), n.packed3);
    EXPECT_EQ(coder.decode(ObjectTagCode{'w', 1, 0, 0}, list, 1), after);
}

} // namespace
} // namespace quillon::test
