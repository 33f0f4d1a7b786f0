#include "edit/define/TagCsv.h"

#include "edit/define/NetworkEditor.h"
#include "edit/define/TagEditor.h"
#include "model/Block.h"
#include "model/Node.h"
#include "plc/EditorFixture.h"

#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <unistd.h>

using namespace quillon;
using quillon::test::EditorFixture;

namespace {

// Node 1: Modbus RTU Master (standard addressing), node 2: Allen-Bradley SLC 5/03.
struct TwoPlcs : EditorFixture {
    TwoPlcs() {
        NetworkEditor network(*app, *catalogs, driversDir(), prompter);
        network.open();
        auto modbus = *network.beginAdd();
        EXPECT_TRUE(network.apply(modbus, nullptr).stored);
        auto ab = *network.beginAdd();
        EXPECT_TRUE(network.choosePlc(0));
        ab.plcPosition = 0;
        EXPECT_TRUE(network.apply(ab, nullptr).stored);
        prompter.clear();
    }
    std::size_t blocks() const {
        std::size_t n = 0;
        for (const auto& node : app->nodes()) {
            n += node->blockCount();
        }
        return n;
    }
};

const std::string kRows = "node,kind,address,bit,bytes,byte,name\r\n"
                          "1,coil,00001,,,,Start\r\n"
                          "1,register,40010,,2,low,Speed\r\n"
                          "1,register,40011,,1,high,\"Level, high\"\r\n"
                          "1,bit,40012,7,,,Alarm bit\r\n"
                          "2,register,N007:010,,2,low,\"Count \"\"A\"\"\"\r\n"
                          "2,register,F008:000,,4,low,Flow\r\n";

} // namespace

TEST(TagCsv, ParsesQuotedFieldsAcrossLines) {
    auto records = TagCsv::parse("\xEF\xBB\xBF"
                                 "a,\"b,c\",\"d\"\"e\"\n\n1,\"two\nlines\",3\r\nlast,,");
    ASSERT_TRUE(records) << records.message();
    ASSERT_EQ(records->size(), 3u);
    EXPECT_EQ((*records)[0].fields, (std::vector<std::string>{"a", "b,c", "d\"e"}));
    EXPECT_EQ((*records)[1].line, 3u);
    EXPECT_EQ((*records)[1].fields, (std::vector<std::string>{"1", "two\nlines", "3"}));
    EXPECT_EQ((*records)[2].line, 5u);
    EXPECT_EQ((*records)[2].fields, (std::vector<std::string>{"last", "", ""}));
    auto open = TagCsv::parse("a,b\n\"never closed,x\n");
    ASSERT_FALSE(open);
    EXPECT_EQ(open.message(), "line 2: a quoted field is not closed");
    EXPECT_EQ(TagCsv::quote("plain"), "plain");
    EXPECT_EQ(TagCsv::quote(" edge"), "\" edge\"");
}

TEST(TagCsv, ImportThenExportGivesTheSameRows) {
    TwoPlcs t;
    auto report = TagCsv::importText(*t.app, *t.catalogs, kRows, false);
    ASSERT_TRUE(report) << report.message();
    EXPECT_EQ(report->added, 6u);
    EXPECT_EQ(t.app->tagCount(), 6u);
    EXPECT_TRUE(t.app->checkConsistency()) << t.app->checkConsistency().message();
    const std::string exported = TagCsv::exportText(*t.app);
    EXPECT_EQ(exported, "node,kind,address,bit,bytes,byte,name\r\n"
                        "1,coil,00001,,,,Start\r\n"
                        "1,register,40010,,2,low,Speed\r\n"
                        "1,register,40011,,1,high,\"Level, high\"\r\n"
                        "1,bit,40012,7,,,Alarm bit\r\n"
                        "2,register,F008:000,,4,low,Flow\r\n"
                        "2,register,N007:010,,2,low,\"Count \"\"A\"\"\"\r\n");
    // Into another application with the same network: the same tags.
    TwoPlcs other;
    ASSERT_TRUE(TagCsv::importText(*other.app, *other.catalogs, exported, false));
    EXPECT_EQ(TagCsv::exportText(*other.app), exported);
    EXPECT_EQ(other.blocks(), t.blocks());
}

TEST(TagCsv, ARefusedRowLeavesTheApplicationAsItWas) {
    TwoPlcs t;
    ASSERT_TRUE(TagCsv::importText(
        *t.app, *t.catalogs, "node,kind,address,bit,bytes,byte,name\n1,register,40100,,2,,Kept\n", false));
    const std::string before = TagCsv::exportText(*t.app);
    const std::uint32_t bytes = t.app->totals().applicationSize;
    struct Case {
        std::string row, message;
    };
    const std::vector<Case> cases{
        {"1,register,40200,,2,,Kept", "line 4: Tag-name should be unique."},
        {"1,register,40100,,2,,Again", "line 4: This tag is already defined."},
        {"3,register,40200,,2,,X", "line 4: there is no node 3 in the network"},
        {"1,word,40200,,2,,X", "line 4: the kind must be register, coil or bit"},
        {"1,register,50200,,2,,X", "line 4: the address 50200 lies in no Tag Range of node 1"},
        {"1,coil,40200,,,,X", "line 4: the address 40200 is a register: a bit inside it has the kind bit"},
        {"1,register,40200,,3,,X", "line 4: This byte count can not be chosen in this Tag Range."},
        {"1,register,49999,,4,,X",
         "line 4: This plc tag is last tag of range so can not be used as 4 bytes Tag"},
        {"1,bit,40200,16,,,X", "line 4: The Bit - number is out of range."},
        {"1,register,40200,,2,,", "line 4: Tag-name should be entered."},
        {"2,bit,N007:010,3,,,X", "line 4: More than 3 parts required."},
        {"1,register,40200,2,,X", "line 4: a row has 7 fields: node,kind,address,bit,bytes,byte,name"},
    };
    for (const Case& c : cases) {
        // Two good rows first: they are taken back with the refused one.
        const std::string text = "node,kind,address,bit,bytes,byte,name\r\n1,register,40150,,2,,One\r\n"
                                 "1,register,40900,,2,,Two\r\n" +
                                 c.row + "\r\n";
        auto report = TagCsv::importText(*t.app, *t.catalogs, text, false);
        ASSERT_FALSE(report) << c.row;
        EXPECT_EQ(report.message(), c.message);
        EXPECT_EQ(TagCsv::exportText(*t.app), before);
        EXPECT_EQ(t.app->totals().applicationSize, bytes);
        EXPECT_EQ(t.blocks(), 1u);
        EXPECT_TRUE(t.app->checkConsistency());
    }
    auto header = TagCsv::importText(*t.app, *t.catalogs, "name,address\n", false);
    ASSERT_FALSE(header);
    EXPECT_EQ(header.message(), "line 1: the header row must be \"node,kind,address,bit,bytes,byte,name\"");
}

TEST(TagCsv, MergeKeepsTagsAndRenamesByAddress) {
    TwoPlcs t;
    ASSERT_TRUE(TagCsv::importText(*t.app, *t.catalogs, kRows, false));
    Tag* speed = &*t.app->tags().find(1, "40010");
    const std::string text = "node,kind,address,bit,bytes,byte,name\n"
                             "1,register,40010,,2,low,Velocity\n"
                             "1,coil,00001,,,,Start\n"
                             "1,register,40020,,2,low,New\n";
    auto refused = TagCsv::importText(*t.app, *t.catalogs, text, false);
    ASSERT_FALSE(refused);
    EXPECT_EQ(refused.message(), "line 2: This tag is already defined.");
    auto merged = TagCsv::importText(*t.app, *t.catalogs, text, true);
    ASSERT_TRUE(merged) << merged.message();
    EXPECT_EQ(merged->renamed, 1u);
    EXPECT_EQ(merged->unchanged, 1u);
    EXPECT_EQ(merged->added, 1u);
    EXPECT_EQ(speed->name, "Velocity");
    EXPECT_EQ(t.app->tagCount(), 7u);
    // A rename taken back with a later refusal.
    auto undone = TagCsv::importText(*t.app, *t.catalogs,
                                     "node,kind,address,bit,bytes,byte,name\n1,register,40010,,2,low,Other\n"
                                     "1,register,40030,,2,low,Flow\n",
                                     true);
    ASSERT_FALSE(undone);
    EXPECT_EQ(undone.message(), "line 3: Tag-name should be unique.");
    EXPECT_EQ(speed->name, "Velocity");
}

// A bit inside a register is stored as the editor stores it (the register's address, the bit apart): the
// spelling with the bit as suffix is taken when the suffix is the row's bit and refused when it is not, and
// the export writes the suffix nowhere but in the bit column.
TEST(TagCsv, BitSpelledWithItsSuffixIsStoredWithoutIt) {
    TwoPlcs t;
    const std::string text = "node,kind,address,bit,bytes,byte,name\r\n"
                             "1,bit,40012_07,7,,,Seven\r\n"
                             "1,bit,40013_03,,,,Three\r\n"
                             "1,bit,40014,12,,,Twelve\r\n";
    auto report = TagCsv::importText(*t.app, *t.catalogs, text, false);
    ASSERT_TRUE(report) << report.message();
    EXPECT_EQ(report->added, 3u);
    std::vector<std::string> held;
    for (const Tag& tag : t.app->tags()) {
        held.push_back(tag.address() + " " + std::to_string(tag.bit) + " " + tag.displayAddress());
    }
    EXPECT_EQ(held, (std::vector<std::string>{"40012 7 40012_07", "40013 3 40013_03", "40014 12 40014_12"}));
    EXPECT_EQ(t.blocks(), 1u);
    const std::string exported = TagCsv::exportText(*t.app);
    EXPECT_EQ(exported, "node,kind,address,bit,bytes,byte,name\r\n"
                        "1,bit,40012,7,,,Seven\r\n"
                        "1,bit,40013,3,,,Three\r\n"
                        "1,bit,40014,12,,,Twelve\r\n");

    // The same bit in the other spelling is the same tag; another bit in the suffix is refused.
    auto again = TagCsv::importText(
        *t.app, *t.catalogs, "node,kind,address,bit,bytes,byte,name\n1,bit,40014_12,12,,,Again\n", false);
    ASSERT_FALSE(again);
    EXPECT_EQ(again.message(), "line 2: This tag is already defined.");
    auto differs = TagCsv::importText(*t.app, *t.catalogs,
                                      "node,kind,address,bit,bytes,byte,name\n1,bit,40020_03,4,,,X\n", false);
    ASSERT_FALSE(differs);
    EXPECT_EQ(differs.message(), "line 2: the address 40020_03 names bit 3, but the tag's bit is 4");
    auto noBit = TagCsv::importText(*t.app, *t.catalogs,
                                    "node,kind,address,bit,bytes,byte,name\n1,bit,40020,,,,X\n", false);
    ASSERT_FALSE(noBit);
    EXPECT_EQ(noBit.message(), "line 2: a bit inside a register needs its bit number");
    auto onRegister = TagCsv::importText(
        *t.app, *t.catalogs, "node,kind,address,bit,bytes,byte,name\n1,register,40020_03,,2,,X\n", false);
    ASSERT_FALSE(onRegister);
    EXPECT_EQ(onRegister.message(), "line 2: the address 40020_03 lies in no Tag Range of node 1");
    EXPECT_EQ(TagCsv::exportText(*t.app), exported);
}

// A file written elsewhere may hold a bit with the suffix in its address: the editor finds it as the same
// tag, exports it without the suffix, and the export reads back.
TEST(TagCsv, TagHeldWithTheSuffixIsTheSameTag) {
    TwoPlcs t;
    Node* node = t.app->findNodeByNumber(1);
    ASSERT_NE(node, nullptr);
    auto block = std::make_unique<Block>("40001", 20);
    block->prefix = "4";
    block->attribute = 2;
    Block* added = *t.app->addBlock(*node, std::move(block));
    TagValues held;
    held.address = "40006_02";
    held.type = tag_type::kRegisterBit;
    held.bit = 2;
    held.readWrite = '2';
    held.name = "Held";
    ASSERT_TRUE(t.app->addTag(*added, held));
    auto same = TagCsv::importText(*t.app, *t.catalogs,
                                   "node,kind,address,bit,bytes,byte,name\n1,bit,40006,2,,,Twin\n", false);
    ASSERT_FALSE(same);
    EXPECT_EQ(same.message(), "line 2: This tag is already defined.");
    const std::string exported = TagCsv::exportText(*t.app);
    EXPECT_EQ(exported, "node,kind,address,bit,bytes,byte,name\r\n1,bit,40006,2,,,Held\r\n");
    TwoPlcs other;
    ASSERT_TRUE(TagCsv::importText(*other.app, *other.catalogs, exported, false));
    EXPECT_EQ(other.app->tags().begin()->address(), "40006");
    EXPECT_EQ(other.app->tags().begin()->displayAddress(), "40006_02");
}

// A merge renames the tag found by address, bit and byte; a row that asks that tag for another byte count
// is refused with the reason and nothing changes (keeping the old size would drop what the row says).
TEST(TagCsv, MergeRefusesARowThatAsksForAnotherByteCount) {
    TwoPlcs t;
    ASSERT_TRUE(TagCsv::importText(*t.app, *t.catalogs, kRows, false));
    const std::string before = TagCsv::exportText(*t.app);
    auto bigger = TagCsv::importText(*t.app, *t.catalogs,
                                     "node,kind,address,bit,bytes,byte,name\n1,register,40020,,2,low,New\n"
                                     "1,register,40010,,4,low,Bigger\n",
                                     true);
    ASSERT_FALSE(bigger);
    EXPECT_EQ(bigger.message(), "line 3: the tag 40010 of node 1 has 2 bytes and the row asks for 4: a merge "
                                "renames tags but does not change their size");
    EXPECT_EQ(TagCsv::exportText(*t.app), before);
    // The same byte count (written or left to the register size) renames.
    auto same = TagCsv::importText(
        *t.app, *t.catalogs, "node,kind,address,bit,bytes,byte,name\n1,register,40010,,,,Velocity\n", true);
    ASSERT_TRUE(same) << same.message();
    EXPECT_EQ(same->renamed, 1u);
    EXPECT_EQ(t.app->tags().find(1, "40010")->name, "Velocity");
    // Another byte of a one-byte tag is another tag, added beside it.
    auto low = TagCsv::importText(
        *t.app, *t.catalogs, "node,kind,address,bit,bytes,byte,name\n1,register,40011,,1,low,Level low\n",
        true);
    ASSERT_TRUE(low) << low.message();
    EXPECT_EQ(low->added, 1u);
}

// Names are UTF-8 text without control characters, at most 40 characters however many bytes those take.
TEST(TagCsv, NamesAreTextOfAtMostFortyCharacters) {
    TwoPlcs t;
    std::string e40;
    for (int i = 0; i < 40; ++i) {
        e40 += "\xC3\xA9"; // é
    }
    const std::string a40(40, 'a');
    const std::string header = "node,kind,address,bit,bytes,byte,name\n";
    auto fit = TagCsv::importText(*t.app, *t.catalogs,
                                  header + "1,register,40001,,2,,\"" + e40 + "\"\n1,register,40002,,2,," +
                                      a40 + "\n1,register,40003,,2,,\xE2\x82\xAC 5\n",
                                  false);
    ASSERT_TRUE(fit) << fit.message();
    EXPECT_EQ(fit->added, 3u);
    EXPECT_EQ(t.app->tags().find(1, "40001")->name, e40);
    const std::string before = TagCsv::exportText(*t.app);
    EXPECT_NE(before.find(e40), std::string::npos);

    struct Case {
        const char* what;
        std::string name, message;
    };
    const std::string tooLong = "line 2: A Tag-name has at most 40 characters.";
    const std::string notText =
        "line 2: A Tag-name is UTF-8 text without control characters (such as tabs or line breaks).";
    const std::vector<Case> cases{
        {"41 characters of two bytes", "\"" + e40 + "\xC3\xA9\"", tooLong},
        {"41 letters", a40 + "a", tooLong},
        {"a tab", "\"a\tb\"", notText},
        {"a line break", "\"a\nb\"", notText},
        {"a NUL", std::string("a\0b", 3), notText},
        {"an escape", "a\x1B[31mb", notText},
        {"DEL", "a\x7F", notText},
        {"a C1 control", "a\xC2\x85", notText},
        {"a byte that starts nothing", "a\xFF", notText},
        {"a character cut short", "a\xC3", notText},
        {"an overlong form", "\xC1\x81", notText},
        {"a surrogate", "\xED\xA0\x80", notText},
    };
    for (const Case& c : cases) {
        auto refused =
            TagCsv::importText(*t.app, *t.catalogs, header + "1,register,40009,,2,," + c.name + "\n", false);
        ASSERT_FALSE(refused) << c.what;
        EXPECT_EQ(refused.message(), c.message) << c.what;
        // Nor by a merge's rename.
        auto renamed =
            TagCsv::importText(*t.app, *t.catalogs, header + "1,register,40002,,2,," + c.name + "\n", true);
        ASSERT_FALSE(renamed) << c.what;
        EXPECT_EQ(renamed.message(), c.message) << c.what;
        EXPECT_EQ(TagCsv::exportText(*t.app), before) << c.what;
    }
}

// A tag list is read whole whatever its size: well over a megabyte (blank lines between the rows) is read
// and its rows keep their line numbers.
TEST(TagCsv, LargeFileIsReadWhole) {
    TwoPlcs t;
    std::string text = "node,kind,address,bit,bytes,byte,name\r\n1,register,40001,,2,,First\r\n";
    for (int i = 0; i < 600000; ++i) {
        text += "\r\n";
    }
    text += "1,register,40002,,2,,Last\r\n";
    ASSERT_GT(text.size(), 1200000u);
    const auto path =
        std::filesystem::temp_directory_path() / ("quillon-large-" + std::to_string(::getpid()) + ".csv");
    std::ofstream(path, std::ios::binary) << text;
    const auto read = TagCsv::readFile(path);
    std::filesystem::remove(path);
    ASSERT_TRUE(read);
    EXPECT_EQ(*read, text);
    auto report = TagCsv::importText(*t.app, *t.catalogs, *read, false);
    ASSERT_TRUE(report) << report.message();
    EXPECT_EQ(report->added, 2u);
    auto refused = TagCsv::importText(*t.app, *t.catalogs, *read, false);
    ASSERT_FALSE(refused);
    EXPECT_EQ(refused.message(), "line 2: This tag is already defined.");
    text.replace(text.size() - 6, 4, "\"Last");
    // A quote left open at the end takes back the rows before it.
    TwoPlcs fresh;
    auto open = TagCsv::importText(*fresh.app, *fresh.catalogs, text, false);
    ASSERT_FALSE(open);
    EXPECT_EQ(open.message(), "line 600003: a quoted field is not closed");
    EXPECT_EQ(fresh.app->tagCount(), 0u);
    EXPECT_EQ(fresh.blocks(), 0u);
    EXPECT_FALSE(TagCsv::readFile(std::filesystem::temp_directory_path() / "quillon-no-such-file.csv"));
}
