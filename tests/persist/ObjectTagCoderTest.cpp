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

TEST_F(TagCodes, UnitTagsUseUpperCaseLettersAndTheRegisterNumber) {
    const ReadList none;
    EXPECT_EQ(code(*n.unitWord, none), (ObjectTagCode{'W', 1, 0, 0}));
    EXPECT_EQ(code(*n.unitByte, none), (ObjectTagCode{'B', 2, 0, 1}));
    EXPECT_EQ(code(*n.unitDouble, none), (ObjectTagCode{'D', 4, 0, 0}));
    EXPECT_EQ(code(*n.unitEight, none), (ObjectTagCode{'F', 8, 0, 0}));
    EXPECT_EQ(code(*n.unitBit, none), (ObjectTagCode{'C', 10, 0, 3}));
    EXPECT_EQ(code(*n.unitCoil, none), (ObjectTagCode{'C', 5, 0, 0}));
    EXPECT_EQ(code(*n.unitR, none), (ObjectTagCode{'R', 5, 0, 0}));
    EXPECT_EQ(code(*n.unitRBit, none), (ObjectTagCode{'r', 6, 0, 2}));
}

TEST_F(TagCodes, EveryUnitCodeDecodesToItsTagTheEightByteOneIncluded) {
    ObjectTagCoder coder(app, positions);
    const ReadList none;
    for (Tag* tag :
         {n.unitWord, n.unitByte, n.unitDouble, n.unitEight, n.unitBit, n.unitCoil, n.unitR, n.unitRBit}) {
        EXPECT_EQ(coder.decode(code(*tag, none), none, 1), tag) << tag->address();
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
    (void)list.enter(*n.word2->block()); // 40101, size 5
    (void)list.enter(*n.special->block());
    (void)list.enter(*n.word->block()); // 40001, size 10
    EXPECT_EQ(code(*n.word, list), (ObjectTagCode{'w', 2, 0, 0}));
    EXPECT_EQ(code(*n.word2, list), (ObjectTagCode{'w', 13, 0, 0}));
    EXPECT_EQ(code(*n.byte, list), (ObjectTagCode{'b', 0, 0, 1}));
    EXPECT_EQ(code(*n.dword, list), (ObjectTagCode{'d', 4, 0, 0}));
    EXPECT_EQ(code(*n.eight, list), (ObjectTagCode{'f', 6, 0, 0}));
    EXPECT_EQ(code(*n.regBit, list), (ObjectTagCode{'c', 1, 0, 3}));
    EXPECT_EQ(code(*n.special, list), (ObjectTagCode{'w', 16, 0, 0})); // node 2 after both blocks of node 1
    ObjectTagCoder coder(app, positions);
    for (Tag* tag : {n.word, n.word2, n.byte, n.dword, n.eight, n.regBit, n.special}) {
        EXPECT_EQ(coder.decode(code(*tag, list), list, 1), tag) << tag->address();
    }
}

TEST_F(TagCodes, PackedPlcTagsAreCountedOverTheTagList) {
    ReadList list;
    (void)list.enter(*n.packed1->block());
    // 40001 (2 bytes): o = 0; 40002 (4 bytes), same block: o = 0 + 2/2 - 1 = 0; 40004: o = 0 + 4/2 - 1 = 1.
    EXPECT_EQ(code(*n.packed1, list), (ObjectTagCode{'w', 0, 0, 0}));
    EXPECT_EQ(code(*n.packed2, list), (ObjectTagCode{'d', 0, 0, 0}));
    EXPECT_EQ(code(*n.packed3, list), (ObjectTagCode{'b', 1, 0, 0}));
    ObjectTagCoder coder(app, positions);
    EXPECT_EQ(coder.decode(ObjectTagCode{'b', 1, 0, 0}, list, 1), n.packed3);
}

} // namespace
} // namespace quillon::test
