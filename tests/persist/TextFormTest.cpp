#include "OvmRichApplication.h"
#include "model/DataEntryRegisterObject.h"
#include "persist/TextFormReader.h"
#include "persist/TextFormVocabulary.h"
#include "persist/TextFormWriter.h"

#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <iterator>

namespace quillon::test {
namespace {

std::string exportText(OvmFixture& f, const Application& app) {
    auto text = TextFormWriter::write(app, &f.library());
    if (!text) {
        throw std::runtime_error(text.message());
    }
    return *text;
}

Result<std::unique_ptr<Application>> importText(OvmFixture& f, std::string_view text) {
    return TextFormReader::read(text, TextFormContext{f.catalogs(), f.prompter, &f.library()});
}

class TextFormRoundTrip : public ::testing::TestWithParam<std::uint16_t> {};

// .ovm -> text -> .ovm gives the same bytes, and text -> .ovm -> text the same text, on the rich
// applications of every model.
TEST_P(TextFormRoundTrip, BothWaysAreLossless) {
    OvmFixture f;
    auto app = Application::create(GetParam(), f.prompter);
    ASSERT_TRUE(app);
    addRichContent(f, *app, f.network(*app));
    const auto image = f.prepareAndWrite(*app);
    auto opened = f.read(image);
    ASSERT_TRUE(opened) << opened.message();

    const std::string text = exportText(f, **opened);
    auto imported = importText(f, text);
    ASSERT_TRUE(imported) << imported.message();
    ASSERT_TRUE((*imported)->checkConsistency()) << (*imported)->checkConsistency().message();
    EXPECT_EQ((*imported)->totals(), (*opened)->totals());
    const auto again = f.prepareAndWrite(**imported);
    EXPECT_EQ(again, image);

    auto reopened = f.read(again);
    ASSERT_TRUE(reopened) << reopened.message();
    EXPECT_EQ(exportText(f, **reopened), text);
}

INSTANTIATE_TEST_SUITE_P(AllModels, TextFormRoundTrip,
                         ::testing::Values(10, 12, 15, 20, 30, 40, 41, 42, 480, 500, 510, 520));

class TextFormKeptText : public ::testing::TestWithParam<std::uint16_t> {};

// The rich application of a character and a graphic model gives exactly the text kept in tests/data/text
// (checked by reading it when it was kept): any change of layout, key order, spacing or escaping shows here.
TEST_P(TextFormKeptText, RichApplicationGivesTheKeptText) {
    OvmFixture f;
    auto app = Application::create(GetParam(), f.prompter);
    ASSERT_TRUE(app);
    addRichContent(f, *app, f.network(*app));
    auto opened = f.read(f.prepareAndWrite(*app));
    ASSERT_TRUE(opened) << opened.message();
    const std::string text = exportText(f, **opened);
    const auto kept = std::filesystem::path(QUILLON_SOURCE_DIR) / "tests" / "data" / "text" /
                      ("rich-" + std::to_string(GetParam()) + ".json");
    std::ifstream in(kept, std::ios::binary);
    ASSERT_TRUE(in) << kept;
    std::string expected((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    // Saving stamps the application with the time of the save: the one line that may differ.
    const std::string_view stampKey = "\"lastEdited\": \"";
    const auto at = text.find(stampKey);
    const auto keptAt = expected.find(stampKey);
    ASSERT_NE(at, std::string::npos);
    ASSERT_EQ(at, keptAt);
    expected.replace(keptAt + stampKey.size(), 19, text, at + stampKey.size(), 19);
    EXPECT_EQ(text, expected);
}

INSTANTIATE_TEST_SUITE_P(CharacterAndGraphic, TextFormKeptText, ::testing::Values(20, 500));

TEST(TextForm, LayoutIsCanonicalAndNamesTagsByAddress) {
    OvmFixture f;
    auto app = Application::create(500, f.prompter);
    addRichContent(f, *app, f.network(*app));
    auto opened = f.read(f.prepareAndWrite(*app));
    ASSERT_TRUE(opened);
    const std::string text = exportText(f, **opened);
    EXPECT_TRUE(
        text.starts_with("{\n  \"format\": \"quillon-application\",\n  \"version\": 1,\n  \"model\": 500,"));
    EXPECT_EQ(text.back(), '\n');
    EXPECT_EQ(text.find('\t'), std::string::npos);
    // A task names its tags by node and address on one line of the text.
    EXPECT_NE(text.find("{\"node\": 1, \"address\": \"40003\", \"bytes\": 2}"), std::string::npos);
    EXPECT_NE(text.find("{\"node\": 1, \"address\": \"40001\", \"bytes\": 1, \"byteSelect\": 1}"),
              std::string::npos);
    // The same application gives the same text.
    EXPECT_EQ(exportText(f, **opened), text);
}

TEST(TextForm, PanelCharacterBytesSurviveAsLatinOneCharacters) {
    std::string all;
    for (int b = 0; b < 256; ++b) {
        all.push_back(static_cast<char>(b));
    }
    const std::string text = TextFormVocabulary::bytesToUtf8(all);
    EXPECT_EQ(TextFormVocabulary::utf8ToBytes(text), all);
    EXPECT_EQ(TextFormVocabulary::bytesToUtf8("\xB0"), "\xC2\xB0");
    EXPECT_FALSE(TextFormVocabulary::utf8ToBytes("\xE2\x82\xAC")); // the euro sign is not a panel character
    EXPECT_FALSE(TextFormVocabulary::utf8ToBytes("\xC3"));         // cut short
    EXPECT_FALSE(TextFormVocabulary::utf8ToBytes("\xC1\x81"));     // overlong
}

// The sink takes the same text in pieces; a failing sink ends the writing with its failure.
TEST(TextForm, SinkTakesTheSameTextAndItsFailureEndsTheWriting) {
    OvmFixture f;
    auto app = Application::create(500, f.prompter);
    addRichContent(f, *app, f.network(*app));
    auto opened = f.read(f.prepareAndWrite(*app));
    ASSERT_TRUE(opened);
    std::string pieces;
    const Status whole = TextFormWriter::write(**opened, &f.library(), [&](std::string_view piece) {
        pieces += piece;
        return Status::success();
    });
    ASSERT_TRUE(whole) << whole.message();
    EXPECT_EQ(pieces, exportText(f, **opened));

    const Status refused = TextFormWriter::write(
        **opened, &f.library(), [](std::string_view) { return Status::fail("The disk is full."); });
    ASSERT_FALSE(refused);
    EXPECT_EQ(refused.message(), "The disk is full.");
}

// Quotes, backslashes and control bytes are escaped as JSON requires, panel bytes from 0x80 on are written
// as their characters, and the text reads back to the same bytes.
TEST(TextForm, TextsAreEscapedAsJsonRequires) {
    OvmFixture f;
    auto app = Application::create(20, f.prompter);
    ASSERT_TRUE(app);
    app->info().title = std::string("a\"b\\c\nd\x01"
                                    "e\x7F\xB0/",
                                    12);
    app->info().author = "plain text";
    const std::string text = exportText(f, *app);
    EXPECT_NE(text.find("\"title\": \"a\\\"b\\\\c\\nd\\u0001e\x7F\xC2\xB0/\","), std::string::npos) << text;
    EXPECT_NE(text.find("\"author\": \"plain text\","), std::string::npos);
    auto imported = importText(f, text);
    ASSERT_TRUE(imported) << imported.message();
    EXPECT_EQ((*imported)->info().title, app->info().title);
}

struct BadDocument {
    const char* what;
    std::string from; // replaced in the exported text ...
    std::string to;   // ... by this
    std::string expected;
};

class TextFormRefusal : public ::testing::TestWithParam<BadDocument> {};

// A bad document is refused as a whole, with the JSON pointer of the value and the reason.
TEST_P(TextFormRefusal, NamesThePlaceAndTheReason) {
    OvmFixture f;
    auto app = Application::create(500, f.prompter);
    addRichContent(f, *app, f.network(*app));
    auto opened = f.read(f.prepareAndWrite(*app));
    ASSERT_TRUE(opened);
    std::string text = exportText(f, **opened);
    const auto at = text.find(GetParam().from);
    ASSERT_NE(at, std::string::npos) << GetParam().what;
    text.replace(at, GetParam().from.size(), GetParam().to);
    auto imported = importText(f, text);
    ASSERT_FALSE(imported) << GetParam().what;
    EXPECT_TRUE(imported.message().starts_with(GetParam().expected)) << imported.message();
}

INSTANTIATE_TEST_SUITE_P(
    Cases, TextFormRefusal,
    ::testing::Values(
        BadDocument{"not JSON", "\"version\": 1,", "\"version\": 1", "The document is not valid JSON: "},
        BadDocument{"other format", "quillon-application", "something-else", "/format: must be"},
        BadDocument{"newer version", "\"version\": 1", "\"version\": 2", "/version: must be 1"},
        BadDocument{"no such model", "\"model\": 500", "\"model\": 501", "/model: is no panel model"},
        BadDocument{"byte out of range", "\"memoryOption\": ", "\"memoryOption\": 300, \"x\": ",
                    "/unitSettings/memoryOption: must be a whole number from 0 to 255"},
        BadDocument{"tag that does not exist", "\"address\": \"40003\", \"bytes\": 2}",
                    "\"address\": \"49999\", \"bytes\": 2}", "/"},
        BadDocument{"duplicate tag name", "\"name\": \"T2\"", "\"name\": \"T1\"", "/nodes/"},
        BadDocument{"character beyond the panel's set", "\"title\": \"Line 4\"",
                    "\"title\": \"Line \\u20ac\"", "/info/title: holds a character beyond U+00FF"},
        BadDocument{"overlong title", "\"title\": \"Line 4\"", "\"title\": \"" + std::string(51, 'x') + "\"",
                    "/info/title: must have at most 50 characters"},
        BadDocument{"screen 0", "\"number\": 1,\n      \"name\": \"Screen1\"",
                    "\"number\": 0,\n      \"name\": \"Screen1\"",
                    "/screens/0/number: must be a whole number"},
        BadDocument{"bad time", "\"lastEdited\": \"", "\"lastEdited\": \"yesterday\", \"x\": \"",
                    "/info/lastEdited: must be a time"}));

TEST(TextForm, RefusesDeepNestingAndNonObjects) {
    OvmFixture f;
    auto deep = importText(f, std::string(100, '[') + std::string(100, ']'));
    ASSERT_FALSE(deep);
    EXPECT_TRUE(deep.message().starts_with("The document nests deeper")) << deep.message();
    auto list = importText(f, "[]");
    ASSERT_FALSE(list);
    EXPECT_EQ(list.message(), "/: the document must be a JSON object");
    auto empty = importText(f, "");
    ASSERT_FALSE(empty);
    EXPECT_TRUE(empty.message().starts_with("The document is not valid JSON")) << empty.message();
}

// A hand-written document may leave out what has a default; the model's rules still apply.
TEST(TextForm, MinimalDocumentGivesANewApplication) {
    OvmFixture f;
    auto imported = importText(f, R"({"format": "quillon-application", "version": 1, "model": 40,
        "nodes": [{"number": 0, "kind": "unit"}],
        "powerOnTasks": [{"kind": "gotoScreen", "value": 1}],
        "screens": [{"number": 1, "name": "Start", "objects": [
            {"kind": "text", "left": 0, "top": 0, "right": 59, "bottom": 15, "text": "Hello"}]}]})");
    ASSERT_TRUE(imported) << imported.message();
    Application& app = **imported;
    EXPECT_EQ(app.nodeCount(), 1U);
    EXPECT_EQ(app.nodes()[0]->name, "Operator Panel");
    EXPECT_EQ(app.screenCount(), 1U);
    EXPECT_EQ(app.powerOnTaskCount(), 1U);
    EXPECT_TRUE(app.checkConsistency()) << app.checkConsistency().message();
}

// A key given twice in one object is refused with the key and the line of its second appearance, however
// it is spelt; the same key in two objects is no duplicate.
TEST(TextForm, DuplicateKeysAreRefusedWithTheirLine) {
    OvmFixture f;
    auto twice = importText(f, "{\"format\": \"quillon-application\", \"version\": 1,\n"
                               "  \"model\": 500,\n"
                               "  \"model\": 10}");
    ASSERT_FALSE(twice);
    EXPECT_EQ(twice.message(), "line 3: the key \"model\" is given twice in one object.");
    auto escaped = importText(f, "{\"format\": \"quillon-application\", \"version\": 1, \"model\": 40,\n"
                                 "\"nodes\": [{\"number\": 0, \"kind\": \"unit\",\n\n \"n\\u0061me\": \"A\", "
                                 "\"name\": \"B\"}]}");
    ASSERT_FALSE(escaped);
    EXPECT_EQ(escaped.message(), "line 4: the key \"name\" is given twice in one object.");
    // Keys of sibling objects and texts that look like keys are not duplicates.
    auto apart = importText(f, R"({"format": "quillon-application", "version": 1, "model": 40,
        "info": {"title": "\"model\": 1, \"model\"", "author": "x"},
        "nodes": [{"number": 0, "kind": "unit"}],
        "screens": [{"number": 1, "name": "A"}, {"number": 2, "name": "B"}]})");
    EXPECT_TRUE(apart) << apart.message();
}

// Numbers that no double holds are refused as bad JSON, never left to end the program.
TEST(TextForm, NumbersBeyondADoubleAreRefused) {
    OvmFixture f;
    for (const std::string& number :
         {std::string("1e400"), std::string("-1e400"), std::string(100000, '9')}) {
        auto read =
            importText(f, "{\"format\": \"quillon-application\", \"version\": 1, \"model\": " + number + "}");
        ASSERT_FALSE(read) << number.substr(0, 10);
        EXPECT_TRUE(read.message().starts_with("The document is not valid JSON: ")) << read.message();
    }
}

// A signed entry's limits are written as signed numbers and read in either spelling, to the edges of 32 bits.
TEST(TextForm, SignedEntryLimitsAreSignedNumbers) {
    OvmFixture f;
    const auto document = [](std::string_view type, std::string_view low, std::string_view high) {
        return std::string(R"({"format": "quillon-application", "version": 1, "model": 40,
            "nodes": [{"number": 0, "kind": "unit"}],
            "screens": [{"number": 1, "name": "A", "objects": [
                {"kind": "dataEntryRegister", "left": 0, "top": 0, "right": 59, "bottom": 15,
                 "format": {"dataType": ")") +
               std::string(type) + R"(", "code": "50"}, "lowLimit": )" + std::string(low) +
               ", \"highLimit\": " + std::string(high) + "}]}]}";
    };
    const auto limits = [&f](const std::string& text) -> std::pair<std::uint32_t, std::uint32_t> {
        auto read = importText(f, text);
        if (!read) {
            ADD_FAILURE() << read.message();
            return {};
        }
        const auto& entry = static_cast<const DataEntryRegisterObject&>(*(*read)->screens()[0]->objects()[0]);
        return {entry.lowLimit, entry.highLimit};
    };
    EXPECT_EQ(limits(document("S", "-100", "100")), std::make_pair(0xFFFFFF9CU, 100U));
    EXPECT_EQ(limits(document("S", "4294967196", "100")), std::make_pair(0xFFFFFF9CU, 100U));
    EXPECT_EQ(limits(document("S", "-2147483648", "4294967295")), std::make_pair(0x80000000U, 0xFFFFFFFFU));
    EXPECT_EQ(limits(document("U", "0", "4294967295")), std::make_pair(0U, 0xFFFFFFFFU));
    EXPECT_FALSE(importText(f, document("S", "-2147483649", "0")));
    EXPECT_FALSE(importText(f, document("S", "0", "4294967296")));
    EXPECT_FALSE(importText(f, document("U", "-1", "0")));

    auto read = importText(f, document("S", "-100", "-1"));
    ASSERT_TRUE(read) << read.message();
    const std::string text = exportText(f, **read);
    EXPECT_NE(text.find("\"lowLimit\": -100,"), std::string::npos);
    EXPECT_NE(text.find("\"highLimit\": -1\n"), std::string::npos);
    auto unsignedEntry = importText(f, document("U", "5", "4294967196"));
    ASSERT_TRUE(unsignedEntry) << unsignedEntry.message();
    EXPECT_NE(exportText(f, **unsignedEntry).find("\"highLimit\": 4294967196"), std::string::npos);
}

} // namespace
} // namespace quillon::test
