#include "report/ReportLayout.h"

#include "edit/TaskEditorsFixture.h"
#include "model/KeyDefinition.h"
#include "report/PrintSelection.h"
#include "report/ReportSections.h"

#include <algorithm>
#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace quillon {
namespace {

using testing_support::must;
using testing_support::registerTag;
using testing_support::TaskEditorsFixture;

std::vector<std::string> texts(const std::vector<ReportLine>& lines) {
    std::vector<std::string> out;
    for (const ReportLine& line : lines) {
        out.push_back(line.text);
    }
    return out;
}

std::vector<std::string> pageTexts(const ReportPage& page) {
    std::vector<std::string> out;
    for (const ReportItem& item : page.items) {
        if (item.kind != ReportItem::Kind::Screen) {
            out.push_back(item.text);
        }
    }
    return out;
}

PrintSelection only(std::initializer_list<ReportSection> sections, std::uint32_t model) {
    PrintSelection selection;
    for (ReportSection s : sections) {
        selection.setChecked(s, true, model);
    }
    return selection;
}

Task gotoScreen(std::int32_t number) {
    Task task;
    task.kind = TaskKind::GotoScreen;
    task.value = number;
    return task;
}

// ------------------------------------------------------------------ the selection dialog's rules

TEST(PrintSelectionTest, AllTicksAndClearsTheTenSectionsAndFollowsThem) {
    PrintSelection s;
    EXPECT_FALSE(s.all());
    EXPECT_FALSE(s.printsAnything(500));
    s.clickAll(true, 500);
    EXPECT_TRUE(s.all());
    for (std::size_t i = 0; i < PrintSelection::kSections; ++i) {
        EXPECT_TRUE(s.isChecked(static_cast<ReportSection>(i))) << i;
    }
    s.setChecked(ReportSection::Tags, false, 500);
    EXPECT_FALSE(s.all()) << "All no longer tells the truth once a section is off";
    s.setChecked(ReportSection::Tags, true, 500);
    EXPECT_TRUE(s.all());
    s.clickAll(false, 500);
    EXPECT_FALSE(s.all());
    EXPECT_FALSE(s.printsAnything(500));
    s.setChecked(ReportSection::Alarms, true, 500);
    s.clear();
    EXPECT_EQ(s, PrintSelection{});
}

TEST(PrintSelectionTest, KeySectionsStopAboveModel500) {
    EXPECT_TRUE(PrintSelection::keySectionsAvailable(500));
    EXPECT_TRUE(PrintSelection::keySectionsAvailable(480));
    EXPECT_FALSE(PrintSelection::keySectionsAvailable(510));
    EXPECT_FALSE(PrintSelection::keySectionsAvailable(520));
    PrintSelection s;
    s.clickAll(true, 520);
    EXPECT_TRUE(s.all());
    EXPECT_FALSE(s.isChecked(ReportSection::GlobalKeys));
    EXPECT_FALSE(s.isChecked(ReportSection::ScreenKeys));
    EXPECT_TRUE(s.isChecked(ReportSection::ScreenTasks));
    s.setChecked(ReportSection::ScreenKeys, true, 510);
    EXPECT_FALSE(s.isChecked(ReportSection::ScreenKeys));
    // Ticked on a smaller panel, the key sections are still not printed for a large one.
    PrintSelection small;
    small.clickAll(true, 500);
    EXPECT_TRUE(small.prints(ReportSection::GlobalKeys, 500));
    EXPECT_FALSE(small.prints(ReportSection::GlobalKeys, 510));
}

// On the panels above model 500 the two key sections are not offered: "All" sets and clears the eight
// others, is ticked exactly when those eight are, and the key sections neither hold it back nor print.
TEST(PrintSelectionTest, AllOnTheLargeModelsLeavesTheKeySectionsOut) {
    const std::vector<ReportSection> offered{ReportSection::Information, ReportSection::UnitSettings,
                                             ReportSection::Nodes,       ReportSection::Tags,
                                             ReportSection::Screens,     ReportSection::ApplicationTasks,
                                             ReportSection::ScreenTasks, ReportSection::Alarms};
    for (const std::uint32_t model : {510u, 520u}) {
        PrintSelection s;
        s.clickAll(true, model);
        EXPECT_TRUE(s.all()) << model;
        for (const ReportSection section : offered) {
            EXPECT_TRUE(s.isChecked(section)) << model;
            EXPECT_TRUE(s.prints(section, model)) << model;
        }
        EXPECT_FALSE(s.isChecked(ReportSection::GlobalKeys)) << model;
        EXPECT_FALSE(s.isChecked(ReportSection::ScreenKeys)) << model;
        EXPECT_FALSE(s.prints(ReportSection::GlobalKeys, model)) << model;
        // Each offered section unticked takes "All" off; ticked again, "All" is back.
        for (const ReportSection section : offered) {
            s.setChecked(section, false, model);
            EXPECT_FALSE(s.all()) << model << " " << PrintSelection::index(section);
            s.setChecked(section, true, model);
            EXPECT_TRUE(s.all()) << model << " " << PrintSelection::index(section);
        }
        // Ticking every offered section one by one ticks "All".
        PrintSelection one;
        for (const ReportSection section : offered) {
            EXPECT_FALSE(one.all()) << model;
            one.setChecked(section, true, model);
        }
        EXPECT_TRUE(one.all()) << model;
        EXPECT_EQ(one, s) << model;
        s.clickAll(false, model);
        EXPECT_FALSE(s.all()) << model;
        EXPECT_FALSE(s.printsAnything(model)) << model;
        auto every = PrintSelection::fromNames("", model);
        ASSERT_TRUE(every);
        EXPECT_EQ(*every, one) << model;
        auto keys = PrintSelection::fromNames("tags,globalkeys", model);
        ASSERT_FALSE(keys);
        EXPECT_EQ(keys.message(), "The globalkeys section can not be chosen for panels above model 500.");
    }
    // Model 500, the largest that offers them, ticks all ten.
    PrintSelection s500;
    s500.clickAll(true, 500);
    EXPECT_TRUE(s500.isChecked(ReportSection::GlobalKeys));
    EXPECT_TRUE(s500.isChecked(ReportSection::ScreenKeys));
    s500.setChecked(ReportSection::ScreenKeys, false, 500);
    EXPECT_FALSE(s500.all());
}

TEST(PrintSelectionTest, SectionNamesOfTheCommandLine) {
    auto s = PrintSelection::fromNames("tags,alarms", 500);
    ASSERT_TRUE(s);
    EXPECT_TRUE(s->isChecked(ReportSection::Tags));
    EXPECT_TRUE(s->isChecked(ReportSection::Alarms));
    EXPECT_FALSE(s->isChecked(ReportSection::Nodes));
    auto every = PrintSelection::fromNames("", 500);
    ASSERT_TRUE(every);
    EXPECT_TRUE(every->all());
    auto wrong = PrintSelection::fromNames("tags,pictures", 500);
    ASSERT_FALSE(wrong);
    EXPECT_EQ(wrong.message(),
              "\"pictures\" is not a section of the report; the sections are info, settings, "
              "nodes, tags, screens, tasks, globalkeys, screentasks, screenkeys, alarms.");
    EXPECT_FALSE(PrintSelection::fromNames("tags,", 500));
    auto keys = PrintSelection::fromNames("screenkeys", 520);
    ASSERT_FALSE(keys);
    EXPECT_EQ(keys.message(), "The screenkeys section can not be chosen for panels above model 500.");
}

// ------------------------------------------------------------------ the sections' texts

TEST(ReportSectionsTest, ProjectInformationWithTheDescriptionCutAt46) {
    Application app(42);
    app.info().title = "Bottling line";
    app.info().author = "K. Marsh";
    app.info().lastEdited.day = 7;
    app.info().lastEdited.month = 11; // December
    app.info().lastEdited.year = 2026;
    app.info().lastEdited.hour = 9;
    app.info().lastEdited.minute = 5;
    app.info().lastEdited.second = 3;
    app.info().description = std::string(46, 'a');
    EXPECT_EQ(texts(ReportSections::information(app)),
              (std::vector<std::string>{
                  "Quillon Application Information :", "Title                 : Bottling line",
                  "Author                : K. Marsh", "Date Last Edited      : 07/12/2026",
                  "Time Last Edited      : 09:05:03", "Description           : " + std::string(46, 'a')}));
    app.info().description = std::string(47, 'b') + "\nsecond";
    const auto lines = texts(ReportSections::information(app));
    ASSERT_EQ(lines.size(), 8U);
    EXPECT_EQ(lines[5], "Description           : " + std::string(46, 'b'));
    EXPECT_EQ(lines[6], std::string(24, ' ') + "b");
    EXPECT_EQ(lines[7], std::string(24, ' ') + "second");
    EXPECT_TRUE(ReportSections::information(app)[0].heading);
    EXPECT_EQ(ReportSections::information(app)[1].gap, 2);
}

TEST(ReportSectionsTest, UnitSettingsTextsOfEveryCode) {
    Application app(42);
    EXPECT_EQ(texts(ReportSections::unitSettings(app)),
              (std::vector<std::string>{"VQ5K Settings :", "Memory                : 24KB",
                                        "Printer Port Settings :", "Baudrate              : 9600",
                                        "Parity                : None", "No of Bits            : 8",
                                        "No of Columns         : 80", "Terminating Character : CR + LF"}));
    EXPECT_EQ(ReportSections::memoryText(0), "8KB");
    EXPECT_EQ(ReportSections::memoryText(3), "64KB");
    // The options the unit's capacity table has beyond the dialog's four.
    EXPECT_EQ(ReportSections::memoryText(4), "128KB");
    EXPECT_EQ(ReportSections::memoryText(5), "1MB");
    EXPECT_EQ(ReportSections::memoryText(6), "2MB");
    EXPECT_EQ(ReportSections::memoryText(7), "Unknown (7)");
    // Every rate as the unit settings list names it: 19 200 baud is "19200".
    EXPECT_EQ(ReportSections::baudText(0), "300");
    EXPECT_EQ(ReportSections::baudText(1), "600");
    EXPECT_EQ(ReportSections::baudText(2), "1200");
    EXPECT_EQ(ReportSections::baudText(3), "2400");
    EXPECT_EQ(ReportSections::baudText(4), "9600");
    EXPECT_EQ(ReportSections::baudText(5), "19200");
    EXPECT_EQ(ReportSections::baudText(6), "Unknown (6)");
    EXPECT_EQ(ReportSections::parityText(0), "Odd");
    EXPECT_EQ(ReportSections::parityText(3), "Unknown (3)");
    EXPECT_EQ(ReportSections::bitsText(0), "7");
    EXPECT_EQ(ReportSections::bitsText(2), "Unknown (2)");
    EXPECT_EQ(ReportSections::terminatorText(0), "None");
    EXPECT_EQ(ReportSections::terminatorText(4), "Unknown (4)");
}

TEST(ReportSectionsTest, NodesTagsAndAlarmsInTheirColumns) {
    TaskEditorsFixture f;
    EXPECT_EQ(
        texts(ReportSections::nodes(f.app)),
        (std::vector<std::string>{"Quillon Nodes :", "Node Address  Node Name         VQ5K Unit / PLC Name",
                                  "000           Operator Panel    VQ5K-422",
                                  "001           Node1             PLC  ( Model A )"}));
    EXPECT_EQ(ReportSections::tagTitles(), "No.   Node Name        Tag           Bytes  Tag Name");
    Block* bytes = must(f.app.addBlock(*f.app.findNodeByNumber(1), std::make_unique<Block>("D0300", 2)));
    TagValues low = registerTag("D0300", 1, "LowByte");
    TagValues high = low;
    high.byteSelect = 1;
    high.name = "HighByte";
    must(f.app.addTag(*bytes, low));
    must(f.app.addTag(*bytes, high));
    const auto tags = ReportSections::tagLines(f.app);
    ASSERT_EQ(tags.size(), 8U);
    EXPECT_EQ(tags[0], "0001  Node1            D0001         2      Speed");
    EXPECT_EQ(tags[1], "0002  Node1            D0002         -      Motor");
    EXPECT_EQ(tags[2], "0003  Node1            D0003_05      _      Alarm");
    EXPECT_EQ(tags[6], "0007  Node1            D0300         Low    LowByte");
    EXPECT_EQ(tags[7], "0008  Node1            D0300         High   HighByte");

    EXPECT_EQ(ReportSections::alarmTitles(), "Alarm No.   Print     Alarm Text                  Alarm Tag");
    EXPECT_TRUE(ReportSections::alarmLines(f.app).empty());
    ASSERT_TRUE(f.app.setAlarmText(0, "Pump fault"));
    ASSERT_TRUE(f.app.setAlarmText(17, std::string(20, 'x')));
    ASSERT_TRUE(f.app.setAlarmOptions(17, AlarmTable::kPrintOption));
    ASSERT_TRUE(f.app.setGroupTag(0, f.r1));
    const auto alarms = ReportSections::alarmLines(f.app);
    ASSERT_EQ(alarms.size(), 2U);
    EXPECT_EQ(alarms[0], "000          N        Pump fault                  D0001 ( Speed )");
    EXPECT_EQ(alarms[1], "017          Y        " + std::string(20, 'x') + std::string(8, ' ') + "-");
    // A column that is already full still gets its blank.
    EXPECT_EQ(ReportSections::padTo("abc", 3), "abc ");
    EXPECT_EQ(ReportSections::padTo("ab", 3), "ab ");
}

TEST(ReportSectionsTest, TaskListsOfTheApplicationKeysAndScreens) {
    TaskEditorsFixture f;
    must(f.app.appendTask(f.app.applicationLists(), Application::kPowerOn, gotoScreen(1)));
    KeyDefinition* key = must(f.app.addGlobalKey(std::make_unique<KeyDefinition>(3)));
    must(f.app.appendTask(*key, KeyDefinition::kPressed, gotoScreen(7)));
    EXPECT_EQ(texts(ReportSections::applicationTasks(f.app, true, true)),
              (std::vector<std::string>{"Power On Tasks :", "     Goto Screen of number : 00001",
                                        "Global Tasks :", "Global key Tasks :", "F3 : Press TaskList",
                                        "     Pressed TaskList", "          Goto Screen of number : 00007",
                                        "     Released TaskList"}));
    EXPECT_EQ(texts(ReportSections::applicationTasks(f.app, false, true)).front(), "Global key Tasks :");
    EXPECT_EQ(ReportSections::applicationTasks(f.app, true, false).size(), 3U);

    // Only screens with tasks, and with keys, have a block of their own.
    EXPECT_EQ(texts(ReportSections::screenTasks(f.app)), (std::vector<std::string>{"Screen Tasks :"}));
    must(f.app.appendTask(*f.screen2, Screen::kAfterHiding, gotoScreen(1)));
    EXPECT_EQ(texts(ReportSections::screenTasks(f.app)),
              (std::vector<std::string>{"Screen Tasks :", "Screen No:00007", "          Before Showing Task:",
                                        "          While Showing Task :", "          After Hiding Task  :",
                                        "            Goto Screen of number : 00001"}));
    KeyDefinition* screenKey = must(f.app.addKey(*f.screen1, std::make_unique<KeyDefinition>(2 + 256 * 4)));
    must(f.app.appendTask(*screenKey, KeyDefinition::kPress, gotoScreen(7)));
    EXPECT_EQ(texts(ReportSections::screenKeys(f.app)),
              (std::vector<std::string>{
                  "Screen Key Tasks :", "Screen No:00001", "          F2 + F4 :",
                  "               Press TaskList   :", "                 Goto Screen of number : 00007",
                  "               Pressed TaskList :", "               Released TaskList:"}));
}

// ------------------------------------------------------------------ pages

// A page 200 pixels high with lines of 10: 13 lines below the heading and titles, the number at 170.
constexpr PageMetrics kSmallPage{10, 6, 600, 200};

TEST(ReportLayoutTest, LinesPerPageAndWhereTheNumberStands) {
    EXPECT_EQ(ReportLayout(kSmallPage).linesPerPage(), 13);
    EXPECT_EQ(ReportLayout(kSmallPage).pageNumberTop(), 170);
    EXPECT_EQ(ReportLayout(PageMetrics{10, 6, 600, 209}).linesPerPage(), 13);
    EXPECT_EQ(ReportLayout(PageMetrics{10, 6, 600, 210}).linesPerPage(), 14);
    // A page too small for the reserved lines still holds one.
    EXPECT_EQ(ReportLayout(PageMetrics{10, 6, 600, 50}).linesPerPage(), 1);
    EXPECT_EQ(ReportLayout::pageNumberText(12), "Page No : 12");
}

TEST(ReportLayoutTest, TagsFillPagesOfLinesPerPageWithHeadingAndTitlesOnEach) {
    Application app(42);
    must(app.addNode(Node::createUnitNode()));
    Block* block = must(app.addBlock(*app.unitNode(), std::make_unique<Block>("UW000", 100)));
    const auto addTags = [&](int from, int to) {
        for (int i = from; i < to; ++i) {
            char address[16];
            std::snprintf(address, sizeof address, "UW%03d", i);
            must(app.addTag(*block, registerTag(address, 2, "T" + std::to_string(i))));
        }
    };
    const PrintSelection tags = only({ReportSection::Tags}, 42);
    const ReportLayout layout(kSmallPage);
    EXPECT_TRUE(layout.build(app, tags).empty()) << "no tags, no tags document";

    addTags(0, 13);
    auto docs = layout.build(app, tags);
    ASSERT_EQ(docs.size(), 1U);
    ASSERT_EQ(docs[0].pages.size(), 1U);
    addTags(13, 14);
    docs = layout.build(app, tags, 5);
    ASSERT_EQ(docs[0].pages.size(), 2U);
    const ReportPage& first = docs[0].pages[0];
    const ReportPage& second = docs[0].pages[1];
    EXPECT_EQ(first.number, 5);
    EXPECT_EQ(second.number, 6);
    ASSERT_EQ(first.items.size(), 2U + 13U + 1U);
    EXPECT_EQ(first.items[0].kind, ReportItem::Kind::Heading);
    EXPECT_EQ(first.items[0].y, 0);
    EXPECT_EQ(first.items[1].y, 20);
    EXPECT_EQ(first.items[2].y, 30);
    EXPECT_EQ(first.items[14].y, 150) << "the 13th tag in the last slot";
    EXPECT_EQ(first.items[15].kind, ReportItem::Kind::PageNumber);
    EXPECT_EQ(first.items[15].y, 170);
    EXPECT_EQ(first.items[15].text, "Page No : 5");
    EXPECT_EQ(pageTexts(second), (std::vector<std::string>{
                                     "Quillon Tags :", "No.   Node Name        Tag           Bytes  Tag Name",
                                     "0014  Operator Panel   UW013         2      T13", "Page No : 6"}));
    EXPECT_EQ(second.items[2].y, 30);
}

TEST(ReportLayoutTest, DocumentsInTheirOrderWithNamesAndPagesNumberedOn) {
    TaskEditorsFixture f;
    PrintSelection every;
    every.clickAll(true, 42);
    const auto docs = ReportLayout(kSmallPage).build(f.app, every);
    std::vector<std::string> names;
    std::vector<std::string> firstLines;
    int expectedNumber = 1;
    for (const ReportDocument& doc : docs) {
        names.push_back(doc.name);
        firstLines.push_back(doc.pages.front().items.front().text);
        for (const ReportPage& page : doc.pages) {
            EXPECT_EQ(page.number, expectedNumber++);
            EXPECT_EQ(page.items.back().text, "Page No : " + std::to_string(page.number));
        }
    }
    EXPECT_EQ(names, (std::vector<std::string>{"MyDoc", "MyDoc", "MyDoc", "PrimPrint", "PrimPrint",
                                               "PrimPrint", "PrimPrint"}));
    EXPECT_EQ(firstLines, (std::vector<std::string>{"Quillon Application Information :", "Quillon Tags :",
                                                    "Quillon Screens :", "Power On Tasks :", "Screen Tasks :",
                                                    "Screen Key Tasks :", "Quillon Alarms :"}));
    // The first document: sections four line heights apart, each heading's lines two below it.
    const ReportPage& page = docs[0].pages[0];
    const auto at = [&](const std::string& text) {
        const auto it = std::find_if(page.items.begin(), page.items.end(),
                                     [&](const ReportItem& item) { return item.text == text; });
        return it == page.items.end() ? -1 : it->y;
    };
    EXPECT_EQ(at("Title                 : "), 20);
    EXPECT_EQ(at("Description           : "), 60);
    EXPECT_EQ(at("VQ5K Settings :"), 100);
    EXPECT_EQ(at("Memory                : 24KB"), 120);
    EXPECT_EQ(at("Printer Port Settings :"), 140);
    ASSERT_EQ(docs[0].pages.size(), 2U) << "settings and nodes go on when the page is full";

    // Without screens there is no screens document; the key sections are left out above model 500.
    Application bare(520);
    PrintSelection all520;
    all520.clickAll(true, 520);
    std::vector<std::string> bareNames;
    for (const ReportDocument& doc : ReportLayout(kSmallPage).build(bare, all520)) {
        bareNames.push_back(doc.pages.front().items.front().text);
    }
    EXPECT_EQ(bareNames, (std::vector<std::string>{"Quillon Application Information :", "Power On Tasks :",
                                                   "Screen Tasks :", "Quillon Alarms :"}));
}

TEST(ReportLayoutTest, ScreensCentredOnTheFirstPageThenTwentyCharactersIn) {
    TaskEditorsFixture f; // model 42: 240 x 64 pixels, pictures of 970 x 266
    must(f.app.addScreen(std::make_unique<Screen>(9)));
    must(f.app.addScreen(std::make_unique<Screen>(12)));
    f.screen1->name = "Main";
    // Lines of 10 on a page 1000 high: the number at 970, three blocks of 316 below the heading.
    const ReportLayout layout(PageMetrics{10, 6, 1200, 1000});
    EXPECT_EQ(layout.screensPerPage(f.app), 3);
    const auto docs = layout.build(f.app, only({ReportSection::Screens}, 42));
    ASSERT_EQ(docs.size(), 1U);
    ASSERT_EQ(docs[0].pages.size(), 2U);
    const auto& p1 = docs[0].pages[0].items;
    ASSERT_EQ(p1.size(), 1U + 3U * 2U + 1U);
    EXPECT_EQ(p1[0].text, "Quillon Screens :");
    EXPECT_EQ(p1[1].text, "Screen No.0001    Screen Name : Main");
    EXPECT_EQ(p1[1].x, 115);
    EXPECT_EQ(p1[1].y, 20);
    EXPECT_EQ(p1[2].kind, ReportItem::Kind::Screen);
    EXPECT_EQ(p1[2].screen, f.screen1);
    EXPECT_EQ(p1[2].x, 115);
    EXPECT_EQ(p1[2].y, 40);
    EXPECT_EQ(p1[2].width, 970);
    EXPECT_EQ(p1[2].height, 266);
    EXPECT_EQ(p1[3].y, 336);
    EXPECT_EQ(p1[5].text, "Screen No.0009    Screen Name : Screen9");
    EXPECT_EQ(p1[7].text, "Page No : 1");
    const auto& p2 = docs[0].pages[1].items;
    ASSERT_EQ(p2.size(), 3U);
    EXPECT_EQ(p2[0].text, "Screen No.0012    Screen Name : Screen12");
    EXPECT_EQ(p2[0].x, 120);
    EXPECT_EQ(p2[0].y, 0);
    EXPECT_EQ(p2[1].y, 20);
    EXPECT_EQ(p2[2].text, "Page No : 2");
}

TEST(ReportLayoutTest, ALineWiderThanThePaperGoesOnBelowIt) {
    TaskEditorsFixture f;
    EXPECT_EQ(ReportLayout(PageMetrics{10, 6, 180, 200}).charactersPerLine(), 30U);
    EXPECT_EQ(ReportLayout(PageMetrics{10, 6, 60, 200}).charactersPerLine(), 20U);
    // The lines from the first tag's on, on a page `characters` wide.
    const auto fromFirstTag = [&](std::int32_t characters) {
        const ReportPage page = ReportLayout(PageMetrics{10, 6, characters * 6, 200})
                                    .build(f.app, only({ReportSection::Tags}, 42))[0]
                                    .pages[0];
        std::vector<std::pair<std::string, std::int32_t>> lines;
        bool on = false;
        for (const ReportItem& item : page.items) {
            on = on || item.text.starts_with("0001");
            if (on) {
                lines.emplace_back(item.text, item.y);
            }
        }
        return lines;
    };
    // "0001  Node1            D0001         2      Speed" has 49 characters.
    auto lines = fromFirstTag(49);
    ASSERT_GE(lines.size(), 2U);
    EXPECT_EQ(lines[0].first, "0001  Node1            D0001         2      Speed");
    EXPECT_EQ(lines[1].first.substr(0, 4), "0002");
    lines = fromFirstTag(48);
    EXPECT_EQ(lines[0].first, "0001  Node1            D0001         2      Spee");
    EXPECT_EQ(lines[1].first, "    d");
    EXPECT_EQ(lines[1].second, lines[0].second + 10);
    lines = fromFirstTag(30);
    EXPECT_EQ(lines[0].first, "0001  Node1            D0001  ");
    EXPECT_EQ(lines[1].first, "           2      Speed");
    EXPECT_EQ(lines[2].first.substr(0, 4), "0002");
}

TEST(ReportLayoutTest, APageRangeKeepsItsPagesAndTheirNumbers) {
    TaskEditorsFixture f;
    PrintSelection every;
    every.clickAll(true, 42);
    const auto all = ReportLayout(kSmallPage).build(f.app, every);
    // Pages 1 and 2 are the first document, 3 the tags, 4 the screens.
    const auto some = ReportLayout::pagesBetween(all, 2, 3);
    ASSERT_EQ(some.size(), 2U);
    ASSERT_EQ(some[0].pages.size(), 1U);
    EXPECT_EQ(some[0].pages[0].number, 2);
    EXPECT_EQ(some[1].pages[0].number, 3);
    EXPECT_EQ(some[1].pages[0].items.front().text, "Quillon Tags :");
    EXPECT_TRUE(ReportLayout::pagesBetween(all, 40, 50).empty());
    EXPECT_EQ(ReportLayout::pagesBetween(all, 1, 1000).size(), all.size());
}

TEST(ReportLayoutTest, AlarmTitlesStartEveryPage) {
    TaskEditorsFixture f;
    for (std::size_t i = 0; i < 20; ++i) {
        ASSERT_TRUE(f.app.setAlarmText(i, "A" + std::to_string(i)));
    }
    const auto docs = ReportLayout(kSmallPage).build(f.app, only({ReportSection::Alarms}, 42));
    ASSERT_EQ(docs.size(), 1U);
    ASSERT_EQ(docs[0].pages.size(), 2U);
    // Heading, titles and 13 alarms on the first page; the titles and the other 7 on the second.
    EXPECT_EQ(docs[0].pages[0].items.size(), 16U);
    const auto second = pageTexts(docs[0].pages[1]);
    ASSERT_EQ(second.size(), 9U);
    EXPECT_EQ(second[0], "Alarm No.   Print     Alarm Text                  Alarm Tag");
    EXPECT_EQ(second[1].substr(0, 3), "013");
    EXPECT_EQ(docs[0].pages[1].items[1].y, 10);
}

} // namespace
} // namespace quillon
