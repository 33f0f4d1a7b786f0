#include "sim/SimFixture.h"

namespace quillon {
namespace {

using testing_support::SimFixture;
using SimMemoryTest = SimFixture;

TEST_F(SimMemoryTest, TagsThatNameOneRegisterShareIt) {
    auto sim = start();
    // A 4-byte tag takes its register and the next one; the first holds the low word.
    sim->setValue(*big, 0x12345678);
    EXPECT_EQ(sim->value(*word3), 0x1234U);
    sim->setValue(*word3, 0xABCD);
    EXPECT_EQ(sim->value(*big), 0xABCD5678U);
    // The two 1-byte tags of UW004 are its low and high byte.
    sim->setValue(*low, 0x12);
    sim->setValue(*high, 0xAB);
    EXPECT_EQ(sim->value(*low), 0x12U);
    EXPECT_EQ(sim->value(*high), 0xABU);
    sim->setValue(*low, 0x1FF); // cut to one byte, the high byte untouched
    EXPECT_EQ(sim->value(*low), 0xFFU);
    EXPECT_EQ(sim->value(*high), 0xABU);
    // A bit of a register is that bit of the word.
    sim->setValue(*word5, 0);
    sim->setValue(*bit3, 1);
    EXPECT_EQ(sim->value(*word5), 8U);
    sim->setValue(*word5, 0xFFF7);
    EXPECT_EQ(sim->value(*bit3), 0U);
    EXPECT_TRUE(sim->memory().inCatalogArea(*big));
    EXPECT_TRUE(sim->memory().inCatalogArea(*motor));
}

TEST_F(SimMemoryTest, ValuesAreCutToTheTagsWidth) {
    auto sim = start();
    sim->setValue(*level, 70000);
    EXPECT_EQ(sim->value(*level), 4464U);
    sim->setValue(*level, 65535);
    EXPECT_EQ(sim->value(*level), 65535U);
    sim->setValue(*level, 65536);
    EXPECT_EQ(sim->value(*level), 0U);
    sim->setValue(*low, 255);
    EXPECT_EQ(sim->value(*low), 255U);
    sim->setValue(*low, 256);
    EXPECT_EQ(sim->value(*low), 0U);
    sim->setValue(*motor, 7);
    EXPECT_EQ(sim->value(*motor), 1U);
    sim->setValue(*level, static_cast<std::uint64_t>(-2));
    EXPECT_EQ(sim->memory().readSigned(*level), -2);
}

TEST_F(SimMemoryTest, TagsOutsideEveryAreaGetStorageOfTheirOwn) {
    Block* odd = testing_support::must(app.addBlock(*app.unitNode(), std::make_unique<Block>("ZZ1", 1)));
    Tag* stray = testing_support::must(app.addTag(*odd, testing_support::registerTag("ZZ1", 2, "Stray")));
    auto sim = start();
    EXPECT_FALSE(sim->memory().inCatalogArea(*stray));
    sim->setValue(*stray, 77);
    EXPECT_EQ(sim->value(*stray), 77U);
    EXPECT_EQ(sim->value(*level), 0U); // untouched
}

} // namespace
} // namespace quillon
