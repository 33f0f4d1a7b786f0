#include "plc/TagAddress.h"

#include "model/RecordingPrompter.h"
#include "plc/AddressField.h"
#include "plc/AddressRadix.h"
#include "plc/AreaFinder.h"
#include "plc/ConsecutiveAddresses.h"
#include "plc/PlcCatalogFiles.h"
#include "plc/RegisterArea.h"
#include "plc/TagRules.h"

#include <filesystem>
#include <gtest/gtest.h>

using namespace quillon;

namespace {

RegisterArea area(const std::string& line) {
    auto parsed = RegisterArea::parse(line);
    EXPECT_TRUE(parsed) << parsed.message();
    return parsed.value();
}

// The areas of a shipped model.
std::vector<RegisterArea> shipped(int plcId, int model) {
    SilentPrompter prompter;
    PlcCatalogFiles files(std::filesystem::path(QUILLON_SOURCE_DIR) / "data" / "plc", prompter);
    const auto catalog = files.catalog(plcId);
    EXPECT_TRUE(catalog);
    return catalog ? catalog->areas(model).value_or(std::vector<RegisterArea>{})
                   : std::vector<RegisterArea>{};
}

RegisterArea named(const std::vector<RegisterArea>& areas, const std::string& prefix) {
    for (const auto& a : areas) {
        if (a.prefix() == prefix) {
            return a;
        }
    }
    ADD_FAILURE() << "no area " << prefix;
    return areas.front();
}

const std::string kTwoRange = "Data|two ranges|2|D|1|\t1|4|D|0000,1000|0999,1999|\t2|2|64|";
const std::string kOctalEven = "Pairs|even|2|V|1|\t1|3|Q|000|776|\t2|2|64|";
const std::string kLiteralTail = "Acc|literal end|2|T|2|\t1|3|D|000|255|\t2|2|X|AC|AC|\t2|2|16|";

} // namespace

TEST(AddressRadix, ParsesByRadixAndTailRule) {
    EXPECT_EQ(AddressRadix::parse('D', "0123"), 123u);
    EXPECT_EQ(AddressRadix::parse('D', "12x9"), 12u);
    EXPECT_EQ(AddressRadix::parse('O', "1Z7"), 7u);
    EXPECT_EQ(AddressRadix::parse('O', "0777"), 511u);
    EXPECT_EQ(AddressRadix::parse('H', "1FFF"), 0x1FFFu);
    EXPECT_EQ(AddressRadix::parse('I', "G1F"), 0x1Fu);
    EXPECT_EQ(AddressRadix::parseBinary("2101"), 5u);
    EXPECT_EQ(AddressRadix::parse('D', "99999999999999999999999"), UINT64_MAX);
    EXPECT_EQ(AddressRadix::parse('H', "FFFFFFFFFFFFFFFFFFFF"), UINT64_MAX);
    EXPECT_EQ(AddressRadix::normalise('D', 4, "12"), "0012");
    EXPECT_EQ(AddressRadix::normalise('H', 5, "1ff"), "001FF");
    EXPECT_EQ(AddressRadix::normalise('O', 3, "17"), "017");
    EXPECT_EQ(AddressRadix::normalise('X', 1, ":"), ":");
    EXPECT_EQ(AddressRadix::step('Q'), 2);
    EXPECT_EQ(AddressRadix::step('H'), 1);
    EXPECT_EQ(AddressRadix::step('X'), 0);
}

TEST(RegisterArea, ParsesEveryPartLayout) {
    const RegisterArea two = area(kTwoRange);
    EXPECT_EQ(two.upperBound(), "D1999");
    EXPECT_EQ(two.lowerBound(), "D0000");
    EXPECT_TRUE(two.contains("D1500"));
    EXPECT_FALSE(two.contains("D2000"));
    EXPECT_FALSE(two.contains("D100")); // too short to be an address of the area
    EXPECT_EQ(two.rangeLabel(0), "[0000 - 0999, 1000 - 1999]");
    EXPECT_EQ(area("S|x|2|S|1|\t1|2|D|00,20|00,29|\t2|2|8|").rangeLabel(0), "[00, 20 - 29]");
    EXPECT_EQ(area("S|x|2|S|1|1|2|D|00,20|10,29|2|2|8|").rangeLabel(0), "[00 - 10, 20 - 29]");
    const RegisterArea literal = area(kLiteralTail);
    EXPECT_EQ(literal.varyingPart(), 0);
    EXPECT_EQ(literal.upperBound(), "T255AC");
    // Malformed lines: bad radix digits, min above max, a second range outside part 1, long prefixes.
    EXPECT_FALSE(RegisterArea::parse("A|x|2|D|1|1|4|D|00A0|0999|2|2|8|"));
    EXPECT_FALSE(RegisterArea::parse("A|x|2|D|1|1|4|D|0999|0000|2|2|8|"));
    EXPECT_FALSE(RegisterArea::parse("A|x|2|D|2|1|2|D|00|99|2|2|D|00,10|05,20|2|2|8|"));
    EXPECT_FALSE(RegisterArea::parse("A|x|2|DDDDD|1|1|4|D|0000|0999|2|2|8|"));
    EXPECT_FALSE(RegisterArea::parse("A|x|3|D|1|1|4|D|0000|0999|2|2|8|"));
    EXPECT_FALSE(RegisterArea::parse("A|x|2|D|1|1|4|D|0000|0999|2|2|"));
    EXPECT_FALSE(RegisterArea::parse("A|x|2|D|2|1|9|D|000000000|999999999|2|2|X|AB|AB|2|2|8|")); // over 14
}

TEST(TagAddress, ComposeAndSplit) {
    const RegisterArea d = area("Data|D|2|D|1|\t1|4|D|0000|9999|\t2|2|64|");
    EXPECT_EQ(TagAddress::compose(d, {"10", "", ""}, 3), "D0010_03");
    EXPECT_EQ(TagAddress::compose(d, {"100", "", ""}), "D0100");
    const auto parts = TagAddress::split(d, "D0100_15");
    ASSERT_TRUE(parts);
    EXPECT_EQ(parts->parts[0], "0100");
    EXPECT_EQ(parts->bit, 15);
    EXPECT_FALSE(TagAddress::split(d, "D01"));
    EXPECT_FALSE(TagAddress::split(d, "X0100"));
    EXPECT_FALSE(TagAddress::split(d, "D0100_7x"));
    EXPECT_EQ(TagAddress::withoutBit("D0100_15"), "D0100");

    const auto slc = shipped(7, 1);
    const RegisterArea& n = named(slc, "N");
    EXPECT_EQ(TagAddress::compose(n, {"7", "", "12"}), "N007:012");
    EXPECT_EQ(TagAddress::split(n, "N009:255")->parts[2], "255");
    const auto melsec = shipped(8, 1);
    EXPECT_EQ(TagAddress::compose(named(melsec, "X"), {"1ff", "", ""}), "X001FF");
}

TEST(AddressField, KindsAndTypedValues) {
    EXPECT_EQ(AddressField::kindOf(1, 'Q').value(), FieldKind::OctalEven);
    EXPECT_EQ(AddressField::kindOf(2, 'X').value(), FieldKind::Unchecked);
    EXPECT_EQ(AddressField::kindOf(1, 'E').message(), "More cases required in part-1.");
    EXPECT_EQ(AddressField::kindOf(2, 'J').message(), "More cases required in part-2.");
    EXPECT_EQ(AddressField::kindOf(3, 'O').message(), "More cases required in part-3.");

    const RegisterArea two = area(kTwoRange);
    EXPECT_EQ(AddressField::checkPart(two, 0, "2500").text, "250");
    EXPECT_EQ(AddressField::checkPart(two, 0, "1500").outcome, FieldOutcome::InRange);
    const RegisterArea even = area(kOctalEven);
    EXPECT_EQ(AddressField::checkPart(even, 0, "776").text, "776");
    EXPECT_EQ(AddressField::checkPart(even, 0, "775").text, "77");
    EXPECT_EQ(AddressField::checkPart(even, 0, "78").text, "7");
    const auto hex = AddressField::check(FieldKind::Hexadecimal, "1fA", FieldRange{"000", "FFF", {}, {}});
    EXPECT_EQ(hex.text, "1A");
    const auto below = AddressField::check(FieldKind::Decimal, "3", FieldRange{"10", "99", {}, {}});
    EXPECT_EQ(below.outcome, FieldOutcome::Below);
    EXPECT_EQ(AddressField::leave(below, "10"), "10");
    const auto empty = AddressField::check(FieldKind::Decimal, "ab", FieldRange{"10", "99", {}, {}});
    EXPECT_EQ(empty.outcome, FieldOutcome::Empty);
    EXPECT_EQ(AddressField::leave(empty, "10"), "10");
    EXPECT_EQ(AddressField::check(FieldKind::Decimal, "123", FieldRange{}).text, "123");

    // The shipped IR area of the Host Link PLC skips the SR words between its ranges.
    const RegisterArea& ir = named(shipped(105, 1), "IR");
    EXPECT_EQ(AddressField::checkPart(ir, 0, "0250").text, "025");
    EXPECT_EQ(AddressField::checkPart(ir, 0, "0300").outcome, FieldOutcome::InRange);
}

TEST(AddressField, SteppingWrapsAndFollowsRanges) {
    const RegisterArea even = area(kOctalEven);
    EXPECT_EQ(AddressField::stepPart(even, 0, "774", true), "776");
    EXPECT_EQ(AddressField::stepPart(even, 0, "776", true), "000");
    EXPECT_EQ(AddressField::stepPart(even, 0, "000", false), "776");
    const RegisterArea two = area(kTwoRange);
    EXPECT_EQ(AddressField::stepPart(two, 0, "0999", true), "1000");
    EXPECT_EQ(AddressField::stepPart(two, 0, "1999", true), "0000");
    EXPECT_EQ(AddressField::stepPart(two, 0, "0000", false), "1999");
    EXPECT_EQ(AddressField::stepPart(two, 0, "1000", false), "0999");
    const RegisterArea& ir = named(shipped(105, 1), "IR");
    EXPECT_EQ(AddressField::stepPart(ir, 0, "0235", true), "0300");
    EXPECT_EQ(AddressField::stepPart(ir, 0, "0250", true), "0300"); // from the gap to the next range
    const RegisterArea& x = named(shipped(8, 1), "X");
    EXPECT_EQ(AddressField::stepPart(x, 0, "0009F", true), "000A0");
    EXPECT_EQ(AddressField::stepPart(named(shipped(3, 2), "X"), 0, "00007", true), "00010");
    EXPECT_EQ(AddressField::stepBit("15", 15, true), "00");
    EXPECT_EQ(AddressField::stepBit("00", 7, false), "07");
    // A block bounds the part that varies inside it.
    EXPECT_EQ(AddressField::step('D', 4, "0109", FieldRange{"0100", "0109", {}, {}}, true), "0100");
}

TEST(AreaFinder, PrefixLookupOverShippedModels) {
    RecordingPrompter prompter;
    const auto s7 = shipped(2, 3);
    const auto find = [&](const std::vector<RegisterArea>& areas, std::string_view address,
                          LookupFor lookup) {
        const auto match = AreaFinder::find(areas, address, lookup, prompter);
        return match ? match->prefix : std::string("none");
    };
    EXPECT_EQ(find(s7, "VB00100", LookupFor::RegisterTag), "VB");
    EXPECT_EQ(find(s7, "V0100.3", LookupFor::CoilTag), "V");
    EXPECT_EQ(find(s7, "V0100.3", LookupFor::RegisterTag), "none"); // bit areas hold no register tags
    EXPECT_EQ(find(s7, "SMW0010", LookupFor::Block), "SMW");
    EXPECT_EQ(find(s7, "VB09000", LookupFor::Block), "none"); // past VB8191
    const auto slc = shipped(7, 1);
    EXPECT_EQ(find(slc, "B003:010", LookupFor::Block), "B");
    EXPECT_EQ(find(slc, "B3/00017", LookupFor::CoilTag), "B3/");
    EXPECT_EQ(find(slc, "N005:000", LookupFor::Block), "none"); // files 4-6 are not integer files
    EXPECT_EQ(find(shipped(1, 1), "40001", LookupFor::RegisterTag), "4");
    EXPECT_EQ(find(shipped(1, 2), "065536", LookupFor::CoilTag), "0");
    EXPECT_EQ(find(shipped(3, 2), "V01177", LookupFor::Block), "V");
    EXPECT_TRUE(prompter.empty());

    // A trailing literal must end the address; one wider than 2 characters is reported.
    const std::vector<RegisterArea> literal{area(kLiteralTail),
                                            area("Wide|x|2|T|2|1|2|D|00|99|2|3|X|ACC|ACC|2|2|8|")};
    EXPECT_EQ(find(literal, "T010AC", LookupFor::Block), "T");
    EXPECT_EQ(find(literal, "T010AD", LookupFor::Block), "none");
    EXPECT_EQ(prompter.last().text, "Part2-X-More than length 2.");
    // An empty prefix is decided by the range alone.
    const std::vector<RegisterArea> bare{area("Bare|x|2||1|1|4|D|0000|0099|2|2|8|")};
    EXPECT_EQ(AreaFinder::find(bare, "0042", LookupFor::Block, prompter)->index, 0u);
}

TEST(ConsecutiveAddresses, BlocksPositionsAndSixteenTags) {
    const RegisterArea d = area("Data|D|2|D|1|\t1|4|D|0000|0999|\t2|2|64|");
    EXPECT_EQ(ConsecutiveAddresses::blockEnd(d, "D0100", 10), "D0109");
    EXPECT_EQ(ConsecutiveAddresses::blockEnd(d, "D0999", 1), "D0999");
    EXPECT_FALSE(ConsecutiveAddresses::blockEnd(d, "D0999", 2));
    EXPECT_EQ(ConsecutiveAddresses::positionInBlock(d, "D0100", 10, "D0104"), 4u);
    EXPECT_FALSE(ConsecutiveAddresses::positionInBlock(d, "D0100", 10, "D0110"));
    EXPECT_EQ(ConsecutiveAddresses::blockRange(d, "D0100", 10)->second, "0109");
    EXPECT_EQ(ConsecutiveAddresses::maxBlockSize(d, "D0990"), 10u);
    EXPECT_EQ(ConsecutiveAddresses::maxBlockSize(d, "D0100"), 64u);

    // A step-2 part: a block of 3 registers spans 000, 002, 004.
    const RegisterArea even = area(kOctalEven);
    EXPECT_EQ(ConsecutiveAddresses::blockEnd(even, "V000", 3), "V004");
    EXPECT_EQ(ConsecutiveAddresses::positionInBlock(even, "V000", 3, "V004"), 2u);
    EXPECT_EQ(ConsecutiveAddresses::registersLeft(even, "V770"), 4u);
    // The varying part of a file:element address is the element; of a literal-tail address, part 1.
    const RegisterArea& n = named(shipped(7, 1), "N");
    EXPECT_EQ(ConsecutiveAddresses::blockEnd(n, "N007:250", 6), "N007:255");
    EXPECT_EQ(ConsecutiveAddresses::blockEnd(area(kLiteralTail), "T010AC", 3), "T012AC");
    EXPECT_EQ(ConsecutiveAddresses::blockEnd(named(shipped(8, 1), "W"), "W0001E", 3), "W00020");
    EXPECT_EQ(ConsecutiveAddresses::blockEnd(named(shipped(105, 1), "IR"), "IR0300", 3), "IR0302");
    EXPECT_EQ(ConsecutiveAddresses::maxBlockSize(named(shipped(105, 1), "IR"), "IR0230"), 6u);

    const auto all = [](const std::string&) { return true; };
    EXPECT_EQ(ConsecutiveAddresses::sixteenFrom(d, "D0990", all).outcome,
              ConsecutiveAddresses::SixteenOutcome::Impossible);
    const auto sixteen = ConsecutiveAddresses::sixteenFrom(d, "D0100_03", all);
    ASSERT_EQ(sixteen.outcome, ConsecutiveAddresses::SixteenOutcome::Defined);
    ASSERT_EQ(sixteen.addresses.size(), 16u);
    EXPECT_EQ(sixteen.addresses.front(), "D0100");
    EXPECT_EQ(sixteen.addresses.back(), "D0115");
    const auto gap =
        ConsecutiveAddresses::sixteenFrom(d, "D0100", [](const std::string& a) { return a != "D0107"; });
    EXPECT_EQ(gap.outcome, ConsecutiveAddresses::SixteenOutcome::NotAllDefined);
    EXPECT_EQ(ConsecutiveAddresses::sixteenFrom(even, "V000", all).addresses.back(), "V036");
}

TEST(ConsecutiveAddresses, SixteenTagsThatEndExactlyAtTheAreaBound) {
    const auto all = [](const std::string&) { return true; };
    // D0000 to D0999: from D0984 the sixteenth tag is D0999, the last register of the area.
    const RegisterArea d = area("Data|D|2|D|1|\t1|4|D|0000|0999|\t2|2|64|");
    const auto last = ConsecutiveAddresses::sixteenFrom(d, "D0984", all);
    ASSERT_EQ(last.outcome, ConsecutiveAddresses::SixteenOutcome::Defined);
    EXPECT_EQ(last.addresses.front(), "D0984");
    EXPECT_EQ(last.addresses.back(), "D0999");
    EXPECT_EQ(ConsecutiveAddresses::sixteenFrom(d, "D0985", all).outcome,
              ConsecutiveAddresses::SixteenOutcome::Impossible);
    // Even octal registers up to 776: sixteen of them from 740 (octal 740 + 15 x 2 = 776).
    const RegisterArea even = area(kOctalEven);
    const auto pairs = ConsecutiveAddresses::sixteenFrom(even, "V740", all);
    ASSERT_EQ(pairs.outcome, ConsecutiveAddresses::SixteenOutcome::Defined);
    EXPECT_EQ(pairs.addresses[1], "V742");
    EXPECT_EQ(pairs.addresses.back(), "V776");
    EXPECT_EQ(ConsecutiveAddresses::sixteenFrom(even, "V742", all).outcome,
              ConsecutiveAddresses::SixteenOutcome::Impossible);
}

TEST(TagRules, SizesBitsAndReadWrite) {
    EXPECT_EQ(TagRules::byteCountChoices(2).size(), 3u);
    EXPECT_EQ(TagRules::byteCountChoices(4).front().label, "2-Bytes (1-Word)");
    EXPECT_EQ(TagRules::byteCountChoices(8).front().bytes, 4);
    EXPECT_EQ(TagRules::initialChoice(8), -1);
    EXPECT_EQ(TagRules::initialByteCount(8), 8);
    EXPECT_EQ(TagRules::selectorLabels(1, 4)->second, "High-byte");
    EXPECT_EQ(TagRules::selectorLabels(2, 4)->first, "Low-word");
    EXPECT_EQ(TagRules::selectorLabels(4, 8)->first, "Low-doubleword");
    EXPECT_FALSE(TagRules::selectorLabels(2, 2));
    EXPECT_EQ(TagRules::sizeLabel(true, 2), "Size : 1 bit");
    EXPECT_EQ(TagRules::sizeLabel(false, 1), "Size : 1 byte");
    EXPECT_EQ(TagRules::sizeLabel(false, 8), "Size : 8 bytes");
    EXPECT_EQ(TagRules::bitRangeLabel(4), "Bit - number [0 - 31]");
    EXPECT_EQ(TagRules::bitPlacement(area(kTwoRange)), BitPlacement::AfterPart1);
    EXPECT_EQ(TagRules::bitPlacement(area(kLiteralTail)), BitPlacement::AfterPart2);
    EXPECT_EQ(TagRules::bitPlacement(named(shipped(7, 1), "N")), BitPlacement::Impossible);

    const auto vw = TagRules::fixedByteCount("Siemens Step-7 Micro", 2, "VW");
    EXPECT_TRUE(vw.choiceDisabled);
    EXPECT_EQ(vw.bytes, 2);
    EXPECT_FALSE(TagRules::fixedByteCount("Siemens Step-7 Micro", 2, "SMB").selector);
    EXPECT_TRUE(TagRules::fixedByteCount("Other", 63, "D").choiceDisabled);
    EXPECT_FALSE(TagRules::fixedByteCount("Siemens Step-7 Micro ", 2, "VW").choiceDisabled);

    EXPECT_EQ(TagRules::readWriteName('1').value(), "Write - Only");
    EXPECT_EQ(TagRules::readWriteName('7').message(), "Strange ReadWrite type.");
    RecordingPrompter prompter;
    EXPECT_TRUE(TagRules::checkReadWriteChange(prompter, '0', '2'));
    EXPECT_TRUE(TagRules::checkReadWriteChange(prompter, '1', '1'));
    EXPECT_FALSE(TagRules::checkReadWriteChange(prompter, '2', '0'));
    EXPECT_EQ(prompter.last().text, "The Read-Write type is not compatible.\nCan't change.");

    prompter.clear();
    const RegisterArea d = area("Data|D|2|D|1|\t1|4|D|0000|0999|\t2|2|64|");
    EXPECT_TRUE(TagRules::checkLastAddress(prompter, d, "D0998", 4));
    EXPECT_FALSE(TagRules::checkLastAddress(prompter, d, "D0999", 4));
    EXPECT_EQ(prompter.last().text, "This plc tag is last tag of range so can not be used as 4 bytes Tag");
    EXPECT_TRUE(TagRules::checkLastAddress(prompter, d, "D0999", 2));
    // A 4-byte tag fills a 4-byte register alone; in 1-byte registers it needs three more.
    EXPECT_TRUE(TagRules::checkLastAddress(prompter, named(shipped(2, 3), "VD"), "VD08188", 4));
    EXPECT_FALSE(TagRules::checkLastAddress(prompter, named(shipped(2, 3), "VB"), "VB08189", 4));
}
