// The comparison of two applications, each built from its text form: the expected report lines are written
// out by hand from what the user named in the dialogs.
#include "compare/ApplicationDiff.h"

#include "compare/ApplicationRecords.h"
#include "compare/TextConv.h"
#include "model/Application.h"
#include "model/Prompter.h"
#include "persist/TextFormReader.h"
#include "plc/PlcCatalogFiles.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <nlohmann/json.hpp>
#include <sstream>

namespace quillon::test {
namespace {

using ::testing::ElementsAre;
using Json = nlohmann::ordered_json;

// A small application: a PLC node with two tags, one screen with a text, a data entry and a rectangle, a
// power-on list, an alarm and a logged tag.
Json baseDocument() {
    return Json::parse(R"({"format": "quillon-application", "version": 1, "model": 500,
      "unitSettings": {"memoryOption": 3, "touchScreen": 1},
      "nodes": [{"number": 0, "kind": "unit"},
        {"number": 1, "kind": "plc", "name": "Line PLC", "plcId": 1, "modelIndex": 1, "modelCode": "5",
         "blocks": [{"address": "40001", "size": 10, "attribute": 3, "name": "Hold", "prefix": "", "tags": [
           {"address": "40003", "type": "register", "readWrite": "readWrite", "bytes": 2, "attribute": 33,
            "name": "Level"},
           {"address": "40005", "type": "register", "readWrite": "readWrite", "bytes": 2, "attribute": 33,
            "name": "Speed"}]}]}],
      "powerOnTasks": [{"kind": "gotoScreen", "value": 1},
                       {"kind": "writeValue", "value": 5, "tag1": {"node": 1, "address": "40005", "bytes": 2}}],
      "screens": [{"number": 1, "name": "Main", "objects": [
        {"kind": "text", "left": 0, "top": 0, "right": 59, "bottom": 15, "text": "Pump 1"},
        {"kind": "dataEntryRegister", "left": 0, "top": 16, "right": 59, "bottom": 31,
         "tag": {"node": 1, "address": "40003", "bytes": 2}, "lowLimit": 0, "highLimit": 500},
        {"kind": "rectangle", "left": 70, "top": 10, "right": 99, "bottom": 29}]}],
      "alarms": {"tagMode": 1, "groups": [{"group": 0, "tag": {"node": 1, "address": "40005", "bytes": 2}}],
                 "texts": [{"alarm": 5, "options": 1, "text": "Level high"}]},
      "logger": {"frequency": 30, "tags": [{"node": 1, "address": "40003", "bytes": 2}]}})");
}

class ApplicationDiffTest : public ::testing::Test {
protected:
    ApplicationRecords records(const Json& doc) {
        auto app = TextFormReader::read(doc.dump(), TextFormContext{catalogs_, prompter_, nullptr});
        EXPECT_TRUE(app) << (app ? "" : app.message());
        if (!app) {
            return {};
        }
        auto made = ApplicationRecords::collect(**app, nullptr);
        EXPECT_TRUE(made);
        return made ? std::move(*made) : ApplicationRecords{};
    }
    std::vector<std::string> diffLines(const Json& a, const Json& b) {
        return ApplicationDiff::lines(ApplicationDiff::compare(records(a), records(b)));
    }

    SilentPrompter prompter_;
    PlcCatalogFiles catalogs_{std::filesystem::path(QUILLON_SOURCE_DIR) / "data" / "plc", prompter_};
};

TEST_F(ApplicationDiffTest, TheSameApplicationHasNoDifferencesEvenWhenSavedAtAnotherTime) {
    Json b = baseDocument();
    b["info"] = Json{{"lastEdited", "2031-01-02 03:04:05"}};
    EXPECT_TRUE(ApplicationDiff::compare(records(baseDocument()), records(b)).empty());
    EXPECT_EQ(ApplicationDiff::json({}), "{\n  \"same\": true,\n  \"differences\": []\n}\n");
}

TEST_F(ApplicationDiffTest, TagsAreMatchedByNodeAndAddress) {
    // A new name at the same address is a rename, and what refers to the tag does not show it again.
    Json renamed = baseDocument();
    renamed["nodes"][1]["blocks"][0]["tags"][0]["name"] = "Tank level";
    EXPECT_THAT(diffLines(baseDocument(), renamed),
                ElementsAre("Tags", "  tag \"Level\" (node 1, 40003): renamed to \"Tank level\""));

    // Another byte count at the same address is a change of the tag.
    Json wider = baseDocument();
    wider["nodes"][1]["blocks"][0]["tags"][1]["bytes"] = 4;
    wider["powerOnTasks"][1]["tag1"]["bytes"] = 4;
    wider["alarms"]["groups"][0]["tag"]["bytes"] = 4;
    EXPECT_THAT(diffLines(baseDocument(), wider),
                ElementsAre("Tags", "  tag \"Speed\" (node 1, 40005): Byte(s): 2 -> 4"));

    // The same name at another address: the tag moved, and is not shown as one removed and one added; the
    // task's line shows the address, so it changed too.
    Json moved = baseDocument();
    moved["nodes"][1]["blocks"][0]["tags"][1]["address"] = "40007";
    moved["powerOnTasks"][1]["tag1"]["address"] = "40007";
    moved["alarms"]["groups"][0]["tag"]["address"] = "40007";
    EXPECT_THAT(diffLines(baseDocument(), moved),
                ElementsAre("Tags", "  tag \"Speed\" (node 1, 40005): Address: 40005 -> 40007", "Task lists",
                            "  Power-on tasks: + Write 5 to Tag 40007 [\"Speed\" (node 1, 40007)]",
                            "  Power-on tasks: - Write 5 to Tag 40005 [\"Speed\" (node 1, 40005)]"));

    // A tag of its own at a new address, and a tag taken away.
    Json added = baseDocument();
    added["nodes"][1]["blocks"][0]["tags"].push_back(
        Json{{"address", "40009"}, {"type", "coil"}, {"name", "Pump on"}});
    EXPECT_THAT(diffLines(baseDocument(), added),
                ElementsAre("Tags", "  tag \"Pump on\" (node 1, 40009): added"));
    EXPECT_THAT(diffLines(added, baseDocument()),
                ElementsAre("Tags", "  tag \"Pump on\" (node 1, 40009): removed"));
}

TEST_F(ApplicationDiffTest, ObjectsAreMatchedByKindAndPlace) {
    Json b = baseDocument();
    auto& objects = b["screens"][0]["objects"];
    objects[0]["left"] = 4;   // the text moves right by four pixels
    objects[0]["right"] = 63; // keeping its size
    objects[1]["highLimit"] = 600;
    objects[2]["right"] = 109; // the rectangle grows from its top-left corner
    EXPECT_THAT(diffLines(baseDocument(), b),
                ElementsAre("Objects", "  screen 1 \"Main\": Text at (0,0)-(59,15): moved to (4,0)-(63,15)",
                            "  screen 1 \"Main\": Data Entry at (0,16)-(59,31): High-limit: 500 -> 600",
                            "  screen 1 \"Main\": Rectangle at (70,10)-(99,29): moved to (70,10)-(109,29)",
                            "  screen 1 \"Main\": Rectangle at (70,10)-(99,29): Size: 30 x 20 -> 40 x 20"));

    // A text moved and retyped is another object: the old one is removed, the new one added.
    Json c = baseDocument();
    c["screens"][0]["objects"][0]["left"] = 4;
    c["screens"][0]["objects"][0]["top"] = 40;
    c["screens"][0]["objects"][0]["bottom"] = 55;
    c["screens"][0]["objects"][0]["text"] = "Pump 2";
    EXPECT_THAT(diffLines(baseDocument(), c),
                ElementsAre("Objects", "  screen 1 \"Main\": Text at (0,0)-(59,15): removed",
                            "  screen 1 \"Main\": Text at (4,40)-(59,55): added"));
}

TEST_F(ApplicationDiffTest, ScreensSettingsListsAlarmsAndLoggerNameTheDialogsFields) {
    Json b = baseDocument();
    b["screens"][0]["name"] = "Start";
    b["unitSettings"]["printerBaud"] = 5;
    b["powerOnTasks"].insert(b["powerOnTasks"].begin() + 1, Json{{"kind", "gotoScreen"}, {"value", 2}});
    b["alarms"]["texts"][0]["text"] = "Level very high";
    b["logger"]["frequency"] = 20;
    b["screens"].push_back(Json{{"number", 2}, {"name", "Alarms"}});
    EXPECT_THAT(diffLines(baseDocument(), b),
                ElementsAre("Unit settings", "  unit settings: Baud Rate: 9600 -> 19200", "Screens",
                            "  screen 1 \"Main\": Screen Name: Main -> Start", "  screen 2 \"Alarms\": added",
                            "Task lists", "  Power-on tasks: + Goto Screen of number : 00002", "Alarms",
                            "  alarm 005: Alarm Text: Level high -> Level very high", "Logger",
                            "  logger: Frequency: 30 Minutes -> 20 Minutes"));
}

TEST_F(ApplicationDiffTest, TheJsonReportCarriesEachDifferenceWithItsFields) {
    Json b = baseDocument();
    b["screens"][0]["objects"][1]["highLimit"] = 600;
    const Json report =
        Json::parse(ApplicationDiff::json(ApplicationDiff::compare(records(baseDocument()), records(b))));
    EXPECT_EQ(report["same"], false);
    ASSERT_EQ(report["differences"].size(), 1U);
    EXPECT_EQ(
        report["differences"][0].dump(),
        R"x({"section":"Objects","change":"changed","subject":"screen 1 \"Main\": Data Entry at (0,16)-(59,31)",)x"
        R"x("field":"High-limit","before":"500","after":"600"})x");
}

TEST_F(ApplicationDiffTest, TheTextViewHasOneLinePerRecordAndPerTask) {
    const std::string view = TextConv::write(records(baseDocument()));
    std::istringstream in(view);
    std::vector<std::string> lines;
    for (std::string line; std::getline(in, line);) {
        lines.push_back(line);
    }
    EXPECT_THAT(
        lines, ::testing::Contains("Tags: tag \"Level\" (node 1, 40003) | Tag-Name: Level | Address: 40003 | "
                                   "Type: Register | Byte(s): 2 | Read-Write: Read-Write | Attribute: 33"));
    EXPECT_THAT(lines, ::testing::Contains("Task lists: Power-on tasks: Goto Screen of number : 00001"));
    EXPECT_THAT(lines, ::testing::Contains("Logger: logger: Tags to be logged: \"Level\" (node 1, 40003)"));
    // Nothing that changes with each save: the view of a later save is the same text.
    Json later = baseDocument();
    later["info"] = Json{{"lastEdited", "2031-01-02 03:04:05"}};
    EXPECT_EQ(TextConv::write(records(later)), view);
    EXPECT_EQ(view.find("2031"), std::string::npos);
}

TEST_F(ApplicationDiffTest, LineBreaksInTextsStayOnTheirLine) {
    Json b = baseDocument();
    b["screens"][0]["description"] = "first\nsecond";
    const std::string view = TextConv::write(records(b));
    EXPECT_NE(view.find("Description: first\\nsecond | "), std::string::npos);
}

} // namespace
} // namespace quillon::test
