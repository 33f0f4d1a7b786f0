#include "plc/PlcCatalog.h"

#include "model/RecordingPrompter.h"
#include "plc/CatalogLine.h"
#include "plc/CatalogText.h"
#include "plc/DriverFiles.h"
#include "plc/PlcCatalogFiles.h"
#include "plc/PlcList.h"

#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <random>

using namespace quillon;
namespace fs = std::filesystem;

namespace {

const fs::path kShipped = fs::path(QUILLON_SOURCE_DIR) / "data" / "plc";
const fs::path kDrivers = fs::path(QUILLON_SOURCE_DIR) / "data" / "drivers";

// A scratch directory removed with the test.
class ScratchDir {
public:
    ScratchDir() {
        std::random_device rd;
        path_ = fs::temp_directory_path() / ("quillon-plc-" + std::to_string(rd()) + std::to_string(rd()));
        fs::create_directories(path_);
    }
    ~ScratchDir() {
        std::error_code ec;
        fs::remove_all(path_, ec);
    }
    const fs::path& path() const { return path_; }
    void write(const std::string& name, const std::string& text) const {
        std::ofstream(path_ / name, std::ios::binary) << text;
    }
    std::string read(const std::string& name) const { return *PlcCatalogFiles::readFile(path_ / name); }

private:
    fs::path path_;
};

const char* const kSmallCatalog = "Test PLC|two models|1|\n"
                                  "2|\n"
                                  "1|\tSmall|\t5|\n"
                                  "2|\tLarge|\t5|\n"
                                  "----|\n"
                                  "1|1|\n"
                                  "Data|D words|2|D|1|\t1|4|D|0000|0999|\t2|2|32|\n"
                                  "2|2|\n"
                                  "Data|D words|2|D|1|\t1|4|D|0000|9999|\t2|2|64|\n"
                                  "Flags|F bits|1|F|1|1|4|D|0000|0255|0|1|16|\n"
                                  "3|\n"
                                  "1|\n"
                                  "Station|2|H|00|1F|0A|\n"
                                  "Retries|1|D|0|9|3|\n"
                                  "Mode|1|Z|0|1|1|\n"
                                  "2|\n"
                                  "Station|2|H|00|1F|1F|\n"
                                  "Retries|1|D|0|9|5|\n"
                                  "Mode|1|D|0|1|1|\n";

} // namespace

TEST(PlcCatalog, ReadsModelsAreasAndSpecialData) {
    const auto catalog = PlcCatalog::parse(kSmallCatalog);
    ASSERT_TRUE(catalog) << catalog.message();
    EXPECT_EQ(catalog->specialFlag(), '1');
    EXPECT_EQ(catalog->modelNames(), (std::vector<std::string>{"Small", "Large"}));
    EXPECT_EQ(catalog->modelCode(2), '5');
    EXPECT_FALSE(catalog->modelCode(3));
    const auto areas = catalog->areas(2);
    ASSERT_TRUE(areas);
    ASSERT_EQ(areas->size(), 2u);
    // White space between groups is optional: the flag area has none.
    EXPECT_EQ((*areas)[1].name(), "Flags");
    EXPECT_TRUE((*areas)[1].isBitArea());
    EXPECT_EQ((*areas)[1].maxBlock(), 16u);
    const auto first = catalog->specialData(1);
    ASSERT_TRUE(first);
    EXPECT_EQ(first->nodeKind, 2);
    // Hexadecimal, decimal, and an unknown radix letter that leaves the byte at 0.
    EXPECT_EQ(first->bytes, (std::array<std::uint8_t, 3>{0x0A, 3, 0}));
    EXPECT_EQ(catalog->specialData(2)->bytes, (std::array<std::uint8_t, 3>{0x1F, 5, 1}));
    EXPECT_EQ(catalog->specialLines(1)->at(0).label, "Station");
}

TEST(PlcCatalog, SpecialFlagDecidesNodeKind) {
    std::string two = kSmallCatalog;
    two.replace(two.find("|1|\n"), 4, "|2|\n");
    const auto readNotKept = PlcCatalog::parse(two);
    ASSERT_TRUE(readNotKept) << readNotKept.message();
    EXPECT_EQ(readNotKept->specialData(1)->nodeKind, 1);
    EXPECT_EQ(readNotKept->specialData(1)->bytes, (std::array<std::uint8_t, 3>{0, 0, 0}));

    // Flag 0: no special section follows, so the file may end after the areas.
    std::string zero = kSmallCatalog;
    zero.replace(zero.find("|1|\n"), 4, "|0|\n");
    zero.erase(zero.find("3|\n1|\nStation"));
    const auto none = PlcCatalog::parse(zero);
    ASSERT_TRUE(none) << none.message();
    EXPECT_EQ(none->specialData(2)->nodeKind, 1);
    EXPECT_TRUE(none->specialLines(2)->empty());
}

TEST(PlcCatalog, MalformedFilesAreRefused) {
    const std::string good = kSmallCatalog;
    const auto refuses = [](const std::string& text) { return !PlcCatalog::parse(text).ok(); };
    EXPECT_TRUE(refuses(""));
    EXPECT_TRUE(refuses("a|b|\n1|\n"));                      // no flag
    EXPECT_TRUE(refuses("a|b|0|\nx|\n"));                    // model count not a number
    EXPECT_TRUE(refuses("a|b|0|\n26|\n"));                   // more than 25 models
    EXPECT_TRUE(refuses("a|b|0|\n3|\n1|A|5|\n"));            // count larger than the lines
    EXPECT_TRUE(refuses("a|b|0|\n1|\n1|A|x|\n--|\n1|0|\n")); // model code not a digit
    EXPECT_TRUE(refuses("a|b|0|\n1|\n1|A|5|\n--|\n1|4|\n")); // area count larger than the lines
    EXPECT_TRUE(refuses(good.substr(0, good.size() - 10)));  // special section cut short
    std::string missingBar = good;
    missingBar.replace(missingBar.find("2|2|32|"), 7, "2|2|32");
    EXPECT_TRUE(refuses(missingBar));
    std::string badSize = good;
    badSize.replace(badSize.find("2|2|32|"), 7, "2|3|32|");
    EXPECT_TRUE(refuses(badSize));
    std::string badDefault = good;
    badDefault.replace(badDefault.find("|0A|"), 4, "|1FF|");
    EXPECT_TRUE(refuses(badDefault));
    // A line longer than the 199-character buffer is cut; here the cut takes away its tail fields.
    std::string longLine = good;
    longLine.replace(longLine.find("D words|2|D"), 7, std::string(190, 'w'));
    EXPECT_TRUE(refuses(longLine));
    // Every truncation of a good file is either refused or still a complete catalog.
    for (std::size_t n = 0; n < good.size(); ++n) {
        const auto cut = PlcCatalog::parse(good.substr(0, n));
        if (cut) {
            EXPECT_EQ(cut->models().size(), 2u);
        }
    }
}

TEST(PlcCatalog, LongLinesAreCutNotSplit) {
    std::string text = kSmallCatalog;
    // Trailing text past the buffer is dropped instead of being read as the next line.
    const std::size_t at = text.find("\t2|2|32|") + 8;
    text.insert(at, std::string(250, ' ') + "9|9|");
    const auto catalog = PlcCatalog::parse(text);
    ASSERT_TRUE(catalog) << catalog.message();
    EXPECT_EQ(catalog->areas(1)->size(), 1u);
}

TEST(PlcList, ReadsUpToTheEmptyLine) {
    const auto list = PlcList::parse("Alpha  |7|\r\nBeta|12|\n\nGamma|3|\n");
    ASSERT_TRUE(list) << list.message();
    EXPECT_EQ(list->names(), (std::vector<std::string>{"Alpha  ", "Beta"}));
    EXPECT_EQ(list->nameOf(7), "Alpha");
    EXPECT_EQ(list->idAt(1), 12);
    EXPECT_EQ(list->idAt(2), -1);
    EXPECT_EQ(list->positionOf(12), 1);
    EXPECT_EQ(list->positionOf(3), -1);
    EXPECT_FALSE(PlcList::parse("Alpha|256|\n"));
    EXPECT_FALSE(PlcList::parse("Alpha|x|\n"));
    EXPECT_FALSE(PlcList::parse("Alpha 7\n"));
}

TEST(PlcCatalogFiles, ShippedCatalogLoadsCompletely) {
    RecordingPrompter prompter;
    PlcCatalogFiles files(kShipped, prompter);
    const auto supported = files.supportedList();
    const auto selected = files.selectedList();
    ASSERT_TRUE(supported && selected);
    EXPECT_GE(selected->entries().size(), 6u);
    EXPECT_GE(supported->entries().size(), 8u);
    EXPECT_EQ(files.idAtPosition(5), 1); // the network editor starts on the sixth line
    for (const auto& entry : supported->entries()) {
        SCOPED_TRACE(entry.name);
        EXPECT_GE(selected->positionOf(entry.id), 0);
        const auto catalog = files.catalog(entry.id);
        ASSERT_TRUE(catalog);
        ASSERT_GE(catalog->models().size(), 2u);
        for (int m = 1; m <= static_cast<int>(catalog->models().size()); ++m) {
            const auto areas = catalog->areas(m);
            ASSERT_TRUE(areas && !areas->empty());
            ASSERT_TRUE(catalog->specialData(m));
            // The file reader takes every block address of a node to be model-code characters long.
            const auto width = static_cast<std::size_t>(*catalog->modelCode(m) - '0');
            for (const auto& area : *areas) {
                EXPECT_EQ(area.addressLength(), width) << area.name();
                EXPECT_LE(area.blockLimit(), 255);
            }
        }
        EXPECT_TRUE(fs::exists(kDrivers / "README"));
        for (const int unit : {10, 12, 40, 42, 500}) {
            EXPECT_TRUE(DriverFiles::find(kDrivers, unit, entry.id)) << unit;
        }
    }
    // The communication-parameter PLCs carry three special bytes.
    EXPECT_EQ(files.specialData(104, 1)->nodeKind, 2);
    EXPECT_EQ(files.specialData(105, 1)->bytes, (std::array<std::uint8_t, 3>{1, 0, 1}));
    const auto unit = files.unitCatalogFile();
    EXPECT_EQ(unit.recordedPath, "..\\plc\\0000_001.PLC");
    ASSERT_TRUE(PlcCatalogFiles::readFile(unit.path));
    const auto unitCatalog = PlcCatalog::parse(*PlcCatalogFiles::readFile(unit.path));
    ASSERT_TRUE(unitCatalog);
    EXPECT_EQ(unitCatalog->modelCode(1), '5');
    EXPECT_TRUE(prompter.empty()) << prompter.texts().front();
}

TEST(PlcCatalogFiles, LookupsReportWhatIsMissing) {
    ScratchDir dir;
    RecordingPrompter prompter;
    PlcCatalogFiles files(dir.path(), prompter);
    EXPECT_TRUE(files.selectedNames().empty());
    EXPECT_EQ(prompter.last().text, "Cannot open PLC file");
    EXPECT_EQ(prompter.last().title, "Quillon : Error");

    dir.write("ORVK_SEL.plc", "First|7|\nSecond  |9|\n");
    prompter.clear();
    EXPECT_EQ(files.selectedNames(), (std::vector<std::string>{"First", "Second  "}));
    EXPECT_EQ(files.plcNameOfId(9), "Second");
    EXPECT_EQ(files.positionOfId(9), 1);
    EXPECT_TRUE(prompter.empty());
    EXPECT_EQ(files.positionOfId(8), -1);
    EXPECT_EQ(files.idAtPosition(5), -1);
    EXPECT_FALSE(files.plcNameOfId(8));
    ASSERT_EQ(prompter.prompts().size(), 3u);
    EXPECT_EQ(prompter.last().text,
              "The PLC in the selected Application is not selected\nin the Configuration system.");
    EXPECT_EQ(prompter.last().title, "Quillon : Information");

    prompter.clear();
    EXPECT_FALSE(files.findCatalogFile(7));
    EXPECT_EQ(prompter.texts(), (std::vector<std::string>{"Cannot open PLC file"}));
}

TEST(PlcCatalogFiles, HighestRevisionWins) {
    ScratchDir dir;
    for (const char* name :
         {"0007_002.plc", "0007_010.PLC", "0007_004.plc", "0007_x11.plc", "0070_020.plc"}) {
        dir.write(name, kSmallCatalog);
    }
    RecordingPrompter prompter;
    PlcCatalogFiles files(dir.path(), prompter);
    const auto found = files.findCatalogFile(7);
    ASSERT_TRUE(found);
    EXPECT_EQ(found->path.filename(), "0007_010.PLC");
    EXPECT_EQ(found->recordedPath, "..\\plc\\0007_010.PLC");
    EXPECT_EQ(files.modelNames(7), (std::vector<std::string>{"Small", "Large"}));
    EXPECT_EQ(files.modelCode(7, 1), '5');
    EXPECT_EQ(files.areasOfModel("..\\plc\\0007_010.plc", 2).size(), 2u);
    EXPECT_TRUE(prompter.empty());

    // A malformed catalog is refused; a missing model group leaves the editors' lists empty.
    dir.write("0007_011.plc", "broken|\n");
    EXPECT_FALSE(files.catalog(7));
    EXPECT_EQ(prompter.last().text, "Cannot open PLC file");
    EXPECT_TRUE(files.areasOfModel("..\\plc\\0007_010.plc", 3).empty());
    EXPECT_EQ(prompter.last().text, "Can't open PLC file : ..\\plc\\0007_010.plc");
    EXPECT_TRUE(files.areasOfModel("..\\plc\\0007_099.plc", 1).empty());
}

TEST(PlcCatalogFiles, SelectionIsRewrittenFromTheSupportedList) {
    ScratchDir dir;
    dir.write("orvk_all.PLC", "Alpha|1|\nBeta PLC |2|\nGamma|3|\n");
    dir.write("orvk_sel.PLC", "Gamma|3|\nGone|9|\n");
    RecordingPrompter prompter;
    PlcCatalogFiles files(dir.path(), prompter);
    ASSERT_TRUE(files.saveSelection({"Beta PLC ", "Gamma", "Gone"}));
    EXPECT_EQ(dir.read("orvk_sel.PLC"), "Beta PLC |2|\nGamma|3|\n");
    EXPECT_FALSE(fs::exists(dir.path() / "orvk_sel.PLC.new"));

    // Without the supported list the selected list stays as it was.
    fs::remove(dir.path() / "orvk_all.PLC");
    EXPECT_FALSE(files.saveSelection({"Alpha"}));
    EXPECT_EQ(dir.read("orvk_sel.PLC"), "Beta PLC |2|\nGamma|3|\n");
    EXPECT_EQ(prompter.last().text, "Cannot open PLC file");
}

TEST(DriverFiles, GreatestRevisionAndAvailability) {
    ScratchDir dir;
    for (const char* name :
         {"05000709.abs", "0500070A.abs", "05000710.ABS", "050007100.abs", "05100711.abs"}) {
        dir.write(name, "x");
    }
    EXPECT_EQ(DriverFiles::driverModelCode(40), 50);
    EXPECT_EQ(DriverFiles::driverModelCode(520), 300);
    EXPECT_EQ(DriverFiles::driverModelCode(77), 77);
    const auto found = DriverFiles::find(dir.path(), 40, 7);
    ASSERT_TRUE(found);
    EXPECT_EQ(found->filename(), "05000710.ABS");
    EXPECT_FALSE(DriverFiles::find(dir.path(), 10, 7));

    RecordingPrompter prompter;
    EXPECT_TRUE(DriverFiles::checkAvailable(prompter, dir.path(), 42, 7, "X"));
    EXPECT_FALSE(DriverFiles::checkAvailable(prompter, dir.path(), 12, 7, "Modbus RTU Master"));
    EXPECT_EQ(prompter.last().title, "Quillon : Information");
    EXPECT_EQ(
        prompter.last().text,
        "Modbus RTU Master PLC driver is not available for selected VQ5K-222 model./nPlease select another "
        "model for which this PLC driver is available.\nUsually ,more drivers are available for VQ5K-x22 "
        "models.");
    EXPECT_EQ(DriverFiles::unitModelName(480), "Orvik 120");
}

TEST(PlcCatalog, FieldScanning) {
    CatalogLine line(" \tfirst field | second|\t\t3 |x");
    EXPECT_EQ(line.field(), "first field ");
    EXPECT_EQ(line.field(), "second");
    EXPECT_EQ(line.number(9), 3u);
    EXPECT_FALSE(line.field()); // "x" has no closing bar
    EXPECT_FALSE(CatalogLine::decimal("12a", 99));
    EXPECT_FALSE(CatalogLine::decimal("100", 99));
    EXPECT_FALSE(CatalogLine::decimal("  ", 99));
    EXPECT_EQ(CatalogLine::decimal(" 42 ", 99), 42u);
    CatalogText text("a\r\nbb\n\nccc", 2);
    EXPECT_EQ(text.nextLine(), "a");
    EXPECT_EQ(text.nextLine(), "bb");
    EXPECT_EQ(text.nextLine(), "");
    EXPECT_EQ(text.nextLine(), "cc");
    EXPECT_FALSE(text.nextLine());
    EXPECT_EQ(text.lineNumber(), 4u);
}

TEST(PlcCatalogFiles, ShippedSpecialData) {
    RecordingPrompter prompter;
    PlcCatalogFiles files(kShipped, prompter);
    // Flag 2: the station address is read but the node keeps no special bytes.
    const auto directLogic = files.specialData(3, 2);
    ASSERT_TRUE(directLogic);
    EXPECT_EQ(directLogic->nodeKind, 1);
    EXPECT_EQ(files.specialLines(3, 2)->size(), 1u);
    // Hexadecimal defaults: station 00, PC number FF.
    EXPECT_EQ(files.specialData(8, 2)->bytes, (std::array<std::uint8_t, 3>{0x00, 0xFF, 0}));
    EXPECT_EQ(files.specialData(2, 1)->nodeKind, 1);
    EXPECT_FALSE(files.specialData(8, 9));
    EXPECT_EQ(prompter.texts(), (std::vector<std::string>{"Cannot open PLC file"}));
}
