#include "sim/LiveFormat.h"

#include <gtest/gtest.h>

namespace quillon {
namespace {

RegisterFormat format(char type, char digits, char decimals) {
    RegisterFormat f;
    f.dataType = type;
    f.code = {digits, decimals};
    return f;
}

TEST(LiveFormatTest, UnsignedAndSignedDigitsWithDecimalsAndLeadingZeros) {
    EXPECT_EQ(LiveFormat::text(12345, 16, format('U', '5', '2'), false), "123.45");
    EXPECT_EQ(LiveFormat::text(5, 16, format('U', '5', '0'), false), "00005");
    EXPECT_EQ(LiveFormat::text(5, 16, format('U', '5', '0'), true), "    5");
    EXPECT_EQ(LiveFormat::text(0, 16, format('U', '5', '0'), true), "    0");
    EXPECT_EQ(LiveFormat::text(5, 16, format('U', '5', '2'), true), "  0.05");
    EXPECT_EQ(LiveFormat::text(65535, 16, format('U', '5', '0'), false), "65535");
    // The signed type reads the tag's width and keeps a sign position.
    EXPECT_EQ(LiveFormat::text(0xFFFB, 16, format('S', '5', '0'), false), "-00005");
    EXPECT_EQ(LiveFormat::text(7, 16, format('S', '3', '1'), false), " 00.7");
    EXPECT_EQ(LiveFormat::text(0xFFFFFFFF, 32, format('S', 'A', '0'), false), "-0000000001");
}

TEST(LiveFormatTest, AValueBeyondItsDigitsShowsStars) {
    EXPECT_EQ(LiveFormat::text(999, 16, format('U', '3', '0'), false), "999");
    EXPECT_EQ(LiveFormat::text(1000, 16, format('U', '3', '0'), false), "***");
    EXPECT_EQ(LiveFormat::text(1000, 16, format('U', '3', '1'), false), "**.*");
    EXPECT_EQ(LiveFormat::text(0xFF, 16, format('H', '2', '0'), false), "FF");
    EXPECT_EQ(LiveFormat::text(0x100, 16, format('H', '2', '0'), false), "**");
}

TEST(LiveFormatTest, HexadecimalBcdBinaryAndFloat) {
    EXPECT_EQ(LiveFormat::text(0xBEEF, 16, format('H', '4', '0'), false), "BEEF");
    EXPECT_EQ(LiveFormat::text(0x1234, 16, format('D', '4', '0'), false), "1234");
    EXPECT_EQ(LiveFormat::text(0x0042, 16, format('D', '4', '0'), true), "  42");
    // Binary: the first code character is the digit count minus one.
    EXPECT_EQ(LiveFormat::text(5, 16, format('B', '7', '0'), false), "00000101");
    EXPECT_EQ(LiveFormat::text(0x8001, 16, format('B', 'F', '0'), false), "1000000000000001");
    // 1.5f is 0x3FC00000: with the high word first the tag's low word holds 0x3FC0.
    EXPECT_EQ(LiveFormat::text(0x00003FC0, 32, format('F', '5', '2'), false, false), "  1.50");
    EXPECT_EQ(LiveFormat::text(0x3FC00000, 32, format('F', '5', '2'), false, true), "  1.50");
    EXPECT_EQ(LiveFormat::text(0x7F800000, 32, format('F', '3', '0'), false, true), "***");
}

TEST(LiveFormatTest, OperationsApplyInTurnAndUndoForEntries) {
    RegisterFormat f = format('U', '5', '0');
    f.first = {3, 10}; // multiply by 10
    f.second = {1, 5}; // add 5
    EXPECT_EQ(LiveFormat::shownValue(12, 16, f), 125);
    EXPECT_EQ(LiveFormat::text(12, 16, f, false), "00125");
    EXPECT_EQ(LiveFormat::rawValue(125, 16, f), std::optional<std::uint64_t>(12));
    EXPECT_EQ(LiveFormat::rawValue(126, 16, f), std::nullopt); // no raw value gives 126
    RegisterFormat d = format('S', '5', '0');
    d.first = {4, 0}; // a division by zero is left out
    EXPECT_EQ(LiveFormat::shownValue(0xFFFF, 16, d), -1);
    RegisterFormat neg = format('U', '3', '0');
    neg.first = {2, 10}; // 5 - 10 is below zero: no unsigned digits show it
    EXPECT_EQ(LiveFormat::text(5, 16, neg, false), "***");
}

} // namespace
} // namespace quillon
