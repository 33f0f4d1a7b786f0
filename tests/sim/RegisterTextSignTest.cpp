#include "model/DisplayRegisterTextObject.h"
#include "sim/LiveDrawing.h"
#include "sim/SimFixture.h"

#include <climits>

namespace quillon {
namespace {

using testing_support::must;
using testing_support::SimFixture;
using RegisterTextSignTest = SimFixture;

// A register-text table holds signed 32-bit limits: a 4-byte register whose bytes are FFFFFFFB holds -5
// and shows the text of the range around -5, at the exact edges of each range.
TEST_F(RegisterTextSignTest, FourByteValueIsMatchedAsASignedNumber) {
    Screen* one = addScreen(1);
    auto text = std::make_unique<DisplayRegisterTextObject>();
    text->right = 119;
    text->bottom = 7;
    const std::vector<RegisterTextRange> ranges{
        {INT32_MIN, -101, "Lowest"}, {-100, -6, "Far below"}, {-5, -5, "Minus five"},
        {-4, -1, "Below"},           {0, 0, "Zero"},          {1, INT32_MAX, "Above"}};
    ASSERT_TRUE(text->setRanges(ranges));
    text->setTag(big); // UW002, 4 bytes
    ScreenObject* placed = must(one->appendObject(std::move(text)));
    auto sim = start();
    struct Case {
        std::uint64_t bytes;
        const char* shown;
    };
    for (const Case& c :
         {Case{0xFFFFFFFB, "Minus five"}, Case{0xFFFFFFFA, "Far below"}, Case{0xFFFFFFFC, "Below"},
          Case{0xFFFFFFFF, "Below"}, Case{0, "Zero"}, Case{1, "Above"}, Case{0x7FFFFFFF, "Above"},
          Case{0x80000000, "Lowest"}, Case{0xFFFFFF9C, "Far below"}, Case{0xFFFFFF9B, "Lowest"}}) {
        sim->setValue(*big, c.bytes);
        EXPECT_EQ(sim->value(*big), c.bytes);
        EXPECT_EQ(sim->memory().readSigned(*big),
                  static_cast<std::int32_t>(static_cast<std::uint32_t>(c.bytes)));
        EXPECT_EQ(LiveDrawing::fieldText(*placed, *sim), c.shown) << std::hex << c.bytes;
    }
}

} // namespace
} // namespace quillon
