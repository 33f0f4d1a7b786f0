#include "edit/shell/ProjectTree.h"

#include "edit/TaskEditorsFixture.h"
#include "edit/define/AlarmEditor.h"
#include "edit/screen/ScreenManager.h"
#include "edit/shell/ProjectSearch.h"
#include "model/KeyDefinition.h"
#include "model/TextObject.h"

#include <algorithm>
#include <cstdio>
#include <gtest/gtest.h>
#include <random>
#include <string>
#include <vector>

namespace quillon {
namespace {

using testing_support::must;
using testing_support::registerTag;
using testing_support::TaskEditorsFixture;

// The fixture's application (a unit node and a PLC with two blocks and six tags, screens 1 and 7) with
// static texts, alarms, global keys with legends, a logger tag and tasks naming tags.
class NavigatorApplication : public TaskEditorsFixture {
public:
    NavigatorApplication() {
        screen1->name = "Pumps";
        screen2->name = "Tank overview";
        text1 = addText(*screen1, "Tank1 level");
        text2 = addText(*screen2, "TANK2 pressure");
        addText(*screen2, "Flow");
        EXPECT_TRUE(app.setAlarmText(0, "Pump failed"));
        EXPECT_TRUE(app.setAlarmText(5, "Tank1 high level"));
        EXPECT_TRUE(app.setAlarmText(200, "Door open"));
        auto key = std::make_unique<KeyDefinition>(9);
        key->legend = KeyLegend{KeyLegend::kText, "Start", "tank", ""};
        keyF9 = must(app.addGlobalKey(std::move(key)));
        auto combination = std::make_unique<KeyDefinition>(static_cast<std::uint16_t>(3 + 4 * 256));
        combination->legend = KeyLegend{KeyLegend::kBitmap, "", "", "stop.bmp"};
        keyF3F4 = must(app.addGlobalKey(std::move(combination)));
        EXPECT_TRUE(app.addLoggerTag(*r2));
        Task write;
        write.kind = TaskKind::WriteValue;
        write.tag1 = r1;
        must(app.appendTask(app.applicationLists(), Application::kGlobal, write));
        must(app.appendTask(app.applicationLists(), Application::kPowerOn, write));
    }

    TextObject* addText(Screen& screen, const std::string& text) {
        auto object = std::make_unique<TextObject>();
        EXPECT_TRUE(object->setText(text));
        return static_cast<TextObject*>(must(screen.appendObject(std::move(object))));
    }

    ProjectItem tree() const { return ProjectTree::build(app, {"logo.bmp", "pump.bmp"}); }

    TextObject* text1 = nullptr;
    TextObject* text2 = nullptr;
    KeyDefinition* keyF9 = nullptr;
    KeyDefinition* keyF3F4 = nullptr;
};

std::vector<std::string> childLabels(const ProjectItem& item) {
    std::vector<std::string> out;
    for (const ProjectItem& child : item.children) {
        out.push_back(child.label);
    }
    return out;
}

// Counts of the tree against the records, walked here independently of the tree's builder.
void expectCountsMatch(const Application& app, const ProjectItem& root) {
    const ProjectItem* network = ProjectTree::find(root, "Network");
    ASSERT_NE(network, nullptr);
    ASSERT_EQ(network->children.size(), app.nodeCount());
    std::size_t tags = 0;
    for (std::size_t n = 0; n < app.nodeCount(); ++n) {
        const Node& node = *app.nodes()[n];
        const ProjectItem& item = network->children[n];
        EXPECT_EQ(item.node, &node);
        ASSERT_EQ(item.children.size(), node.blockCount());
        for (std::size_t b = 0; b < node.blockCount(); ++b) {
            ASSERT_EQ(item.children[b].children.size(), node.blocks()[b]->tagCount());
            for (std::size_t t = 0; t < node.blocks()[b]->tagCount(); ++t) {
                EXPECT_EQ(item.children[b].children[t].tag, node.blocks()[b]->tags()[t]);
                EXPECT_EQ(item.children[b].children[t].name,
                          node.blocks()[b]->tags()[t]->name.empty()
                              ? node.blocks()[b]->tags()[t]->displayAddress()
                              : node.blocks()[b]->tags()[t]->name);
            }
            tags += node.blocks()[b]->tagCount();
        }
    }
    EXPECT_EQ(tags, app.tagCount());
    const ProjectItem* screens = ProjectTree::find(root, "Screens");
    ASSERT_NE(screens, nullptr);
    EXPECT_EQ(screens->count, app.screenCount());
    ASSERT_EQ(screens->children.size(), app.screenCount());
    for (std::size_t s = 0; s < app.screenCount(); ++s) {
        EXPECT_EQ(screens->children[s].screen, app.screens()[s].get());
        EXPECT_EQ(screens->children[s].count, app.screens()[s]->objectCount());
        EXPECT_EQ(screens->children[s].alias, app.screens()[s]->name);
    }
    EXPECT_EQ(ProjectTree::find(root, "Task lists/Power-on tasks")->count, app.powerOnTaskCount());
    EXPECT_EQ(ProjectTree::find(root, "Task lists/Global tasks")->count, app.globalTaskCount());
    EXPECT_EQ(ProjectTree::find(root, "Global keys")->children.size(), app.globalKeyCount());
    const std::size_t alarms = app.alarmsIfAny() != nullptr ? app.alarmsIfAny()->textCount() : 0;
    EXPECT_EQ(ProjectTree::find(root, "Alarms")->children.size(), alarms);
    EXPECT_EQ(ProjectTree::find(root, "Alarms")->count, alarms);
    EXPECT_EQ(ProjectTree::find(root, "Logger")->children.size(), app.loggerTags().size());
}

TEST(ProjectTreeTest, CountsAreGroupedByThreesWithSpaces) {
    EXPECT_EQ(ProjectTree::formatCount(0), "0");
    EXPECT_EQ(ProjectTree::formatCount(999), "999");
    EXPECT_EQ(ProjectTree::formatCount(1000), "1 000");
    EXPECT_EQ(ProjectTree::formatCount(1024), "1 024");
    EXPECT_EQ(ProjectTree::formatCount(65535), "65 535");
    EXPECT_EQ(ProjectTree::formatCount(99999), "99 999");
    EXPECT_EQ(ProjectTree::formatCount(100000), "100 000");
    EXPECT_EQ(ProjectTree::formatCount(1000000), "1 000 000");
    EXPECT_EQ(ProjectTree::countedLabel("Tags", 1024), "Tags (1 024)");
}

TEST(ProjectTreeTest, BranchesShowTheApplicationWithTheirCounts) {
    NavigatorApplication f;
    const ProjectItem root = f.tree();
    EXPECT_EQ(childLabels(root), (std::vector<std::string>{
                                     "Unit settings  (" + std::string(f.app.panelModelName()) + ")",
                                     "Network (2 nodes, 2 blocks, 6 tags)", "Screens (2)", "Task lists (2)",
                                     "Global keys (2)", "Alarms (3)", "Logger (1)", "Picture library (2)"}));
    const ProjectItem* plc = ProjectTree::find(root, "Network/Node1");
    ASSERT_NE(plc, nullptr);
    EXPECT_EQ(plc->label, "1  Node1  [PLC]  (2 blocks, 6 tags)");
    EXPECT_EQ(childLabels(*plc), (std::vector<std::string>{"D0000 : 100  (5 tags)", "D0200 : 60  (1 tag)"}));
    EXPECT_EQ(childLabels(*ProjectTree::find(root, "Network/Node1/D0000")),
              (std::vector<std::string>{"Speed  D0001  Register (2 bytes)", "Motor  D0002  Coil",
                                        "Alarm  D0003_05  Register bit 5", "Count  D0004  Register (2 bytes)",
                                        "Setpoint  D0005  Register (2 bytes)"}));
    // Screens by number, with name, type and object count.
    EXPECT_EQ(childLabels(*ProjectTree::find(root, "Screens")),
              (std::vector<std::string>{"1  Pumps  (Display, 2 objects)",
                                        "7  Tank overview  (Display, 2 objects)"}));
    EXPECT_EQ(childLabels(*ProjectTree::find(root, "Alarms")),
              (std::vector<std::string>{"000  Pump failed", "005  Tank1 high level", "200  Door open"}));
    EXPECT_EQ(childLabels(*ProjectTree::find(root, "Global keys")),
              (std::vector<std::string>{"F9  \"Start tank\"  (0 tasks)", "F3 + F4  [stop.bmp]  (0 tasks)"}));
    EXPECT_EQ(childLabels(*ProjectTree::find(root, "Task lists")),
              (std::vector<std::string>{"Power-on tasks (1)", "Global tasks (1)"}));
    EXPECT_EQ(childLabels(*ProjectTree::find(root, "Logger")),
              (std::vector<std::string>{"Level  D0201  Register (2 bytes)"}));
    EXPECT_EQ(childLabels(*ProjectTree::find(root, "Picture library")),
              (std::vector<std::string>{"1  logo.bmp", "2  pump.bmp"}));
    expectCountsMatch(f.app, root);
}

TEST(ProjectTreeTest, PathsNameItemsByNameAliasOrLabel) {
    NavigatorApplication f;
    f.coil->name.clear();
    const ProjectItem root = f.tree();
    EXPECT_EQ(ProjectTree::find(root, ""), &root);
    EXPECT_EQ(ProjectTree::find(root, "Network/Node1/D0000/Speed")->tag, f.r1);
    EXPECT_EQ(ProjectTree::find(root, "network/node1/d0000/speed")->tag, f.r1) << "case is ignored";
    EXPECT_EQ(ProjectTree::find(root, "Network/Node 1/D0000/D0002")->tag, f.coil) << "unnamed tag by address";
    EXPECT_EQ(ProjectTree::find(root, "Screens/7")->screen, f.screen2);
    EXPECT_EQ(ProjectTree::find(root, "Screens/Pumps")->screen, f.screen1);
    EXPECT_EQ(ProjectTree::find(root, "/Screens/7/")->screen, f.screen2) << "empty segments are skipped";
    EXPECT_EQ(ProjectTree::find(root, "Global keys/F3 + F4")->key, f.keyF3F4);
    EXPECT_EQ(ProjectTree::find(root, "Alarms/005")->index, 5U);
    EXPECT_EQ(ProjectTree::find(root, "Screens/8"), nullptr);
    EXPECT_EQ(ProjectTree::find(root, "Alarms/006"), nullptr);
    EXPECT_EQ(ProjectTree::find(root, "Network/Node1/D0000/Speed/more"), nullptr);
    const ProjectItem* speed = ProjectTree::find(root, "Network/Node1/D0000/Speed");
    EXPECT_EQ(ProjectTree::pathOf(root, *speed), "Network/Node1/D0000/Speed");
    EXPECT_EQ(ProjectTree::findFor(root, ProjectItemKind::Tag, f.r1), speed);
    EXPECT_EQ(ProjectTree::findFor(root, ProjectItemKind::Alarm, nullptr, 200)->label, "200  Door open");
    EXPECT_EQ(ProjectTree::findFor(root, ProjectItemKind::Screen, f.screen1)->name, "1");
}

TEST(ProjectTreeTest, AnEmptyApplicationHasEveryBranchAtZero) {
    Application app(42);
    const ProjectItem root = ProjectTree::build(app);
    EXPECT_EQ(childLabels(root), (std::vector<std::string>{
                                     "Unit settings  (" + std::string(app.panelModelName()) + ")",
                                     "Network (0 nodes, 0 blocks, 0 tags)", "Screens (0)", "Task lists (0)",
                                     "Global keys (0)", "Alarms (0)", "Logger (0)", "Picture library (0)"}));
    expectCountsMatch(app, root);
}

// Thousands of seeded editing steps through the editors' rules (the screens manager, the alarms editor)
// and the application's own operations the tag and key editors end in; after every step the tree is built
// again and its counts and records are compared with a walk over the application.
TEST(ProjectTreeTest, FollowsEveryEditStepOfARandomSequence) {
    NavigatorApplication f;
    ScreenManager screens(f.app);
    std::mt19937 random(38);
    const auto pick = [&random](std::size_t size) {
        return std::uniform_int_distribution<std::size_t>(0, size - 1)(random);
    };
    {
        // Alarm 200 lies beyond the two groups of this model, where the editor would ask for a group tag
        // it cannot offer: it is deleted first, through the editor.
        AlarmEditor editor(f.app);
        ASSERT_TRUE(editor.setMode(AlarmTable::kDiscrete));
        editor.chooseGroup(0);
        editor.setGroupTag(f.r1);
        editor.chooseGroup(1);
        editor.setGroupTag(f.r2);
        f.prompter.script({PromptAnswer::Yes});
        ASSERT_TRUE(editor.remove(200, f.prompter));
        const AlarmVerdict written = editor.ok(nullptr);
        ASSERT_TRUE(written.ok()) << written.message;
    }
    std::vector<Tag*> addedTags;
    std::vector<KeyDefinition*> addedKeys;
    std::size_t applied = 0;
    for (int step = 0; step < 4000; ++step) {
        const int operation = static_cast<int>(random() % 11);
        bool changed = false;
        switch (operation) {
        case 0: { // a tag in one of the PLC's blocks
            Block* block = random() % 2 == 0 ? f.big : f.small;
            const int first = block == f.big ? 0 : 200;
            const int span = block == f.big ? 100 : 60;
            char address[16];
            std::snprintf(address, sizeof address, "D%04d", first + static_cast<int>(pick(span)));
            auto added = f.app.addTag(*block, registerTag(address, 2, "N" + std::to_string(step)));
            if (added) {
                addedTags.push_back(*added);
                changed = true;
            }
            break;
        }
        case 1: // a tag added here is deleted
            if (!addedTags.empty()) {
                const std::size_t at = pick(addedTags.size());
                ASSERT_TRUE(f.app.removeTag(*addedTags[at]).ok());
                addedTags.erase(addedTags.begin() + static_cast<std::ptrdiff_t>(at));
                changed = true;
            }
            break;
        case 2: { // a new screen as the screens manager suggests it
            ScreenFields fields = screens.newScreenFields();
            if (!fields.number) {
                break;
            }
            fields.name = "S" + std::to_string(step);
            if (!screens.check(fields, nullptr)) {
                ASSERT_TRUE(screens.createScreen(fields));
                changed = true;
            }
            break;
        }
        case 3: { // a screen deleted, the fixture's own two kept
            std::vector<Screen*> others;
            for (const auto& screen : f.app.screens()) {
                if (screen.get() != f.screen1 && screen.get() != f.screen2) {
                    others.push_back(screen.get());
                }
            }
            if (!others.empty()) {
                Screen& doomed = *others[pick(others.size())];
                if (screens.deleteBlockers(doomed).empty()) {
                    ASSERT_TRUE(screens.deleteScreen(doomed).ok());
                    changed = true;
                }
            }
            break;
        }
        case 4: { // a screen duplicated with its objects
            Screen& source = *f.app.screens()[pick(f.app.screenCount())];
            ScreenFields fields = screens.newScreenFields();
            if (!fields.number) {
                break;
            }
            fields.name = "D" + std::to_string(step);
            if (!screens.check(fields, nullptr)) {
                ASSERT_TRUE(screens.duplicateScreen(source, fields));
                changed = true;
            }
            break;
        }
        case 5: { // a static text placed on a screen
            Screen& screen = *f.app.screens()[pick(f.app.screenCount())];
            f.addText(screen, "T" + std::to_string(step));
            changed = true;
            break;
        }
        case 6: { // an object deleted, the touch area kept
            Screen& screen = *f.app.screens()[pick(f.app.screenCount())];
            std::vector<ScreenObject*> objects;
            for (const auto& object : screen.objects()) {
                if (object.get() != f.touch) {
                    objects.push_back(object.get());
                }
            }
            if (!objects.empty()) {
                const ScreenObject* removed = objects[pick(objects.size())];
                ASSERT_NE(screen.removeObject(*const_cast<ScreenObject*>(removed)), nullptr);
                if (removed == f.text1) {
                    f.text1 = nullptr;
                }
                if (removed == f.text2) {
                    f.text2 = nullptr;
                }
                changed = true;
            }
            break;
        }
        case 7: { // an alarm written through the alarms editor
            AlarmEditor editor(f.app);
            ASSERT_TRUE(editor.setMode(AlarmTable::kDiscrete));
            editor.chooseGroup(0);
            editor.setGroupTag(f.r1);
            editor.chooseGroup(1);
            editor.setGroupTag(f.r2);
            const std::size_t alarm = pick(31);
            editor.add();
            editor.chooseGroup(alarm / 16);
            editor.typeNumber(std::to_string(alarm));
            editor.setText("A" + std::to_string(step));
            ASSERT_TRUE(editor.accept().ok());
            const AlarmVerdict written = editor.ok(nullptr);
            ASSERT_TRUE(written.ok()) << written.message;
            changed = true;
            break;
        }
        case 8: { // an alarm deleted through the alarms editor, confirmed
            AlarmEditor editor(f.app);
            const std::vector<std::size_t> listed = editor.listedAlarms();
            if (listed.empty()) {
                break;
            }
            f.prompter.script({PromptAnswer::Yes});
            ASSERT_TRUE(editor.remove(listed[pick(listed.size())], f.prompter));
            ASSERT_TRUE(editor.ok(nullptr).ok());
            changed = true;
            break;
        }
        case 9: { // a global key, alone or with a second key
            const auto first = static_cast<std::uint16_t>(1 + pick(24));
            const auto second = static_cast<std::uint16_t>(random() % 4 == 0 ? 1 + pick(24) : 0);
            if (second == first) {
                break;
            }
            auto key = std::make_unique<KeyDefinition>(static_cast<std::uint16_t>(first | (second << 8)));
            key->legend = KeyLegend{KeyLegend::kText, "K", std::to_string(step), ""};
            auto added = f.app.addGlobalKey(std::move(key));
            if (added) {
                addedKeys.push_back(*added);
                changed = true;
            }
            break;
        }
        case 10:
            if (!addedKeys.empty()) {
                const std::size_t at = pick(addedKeys.size());
                ASSERT_TRUE(f.app.removeGlobalKey(*addedKeys[at]).ok());
                addedKeys.erase(addedKeys.begin() + static_cast<std::ptrdiff_t>(at));
                changed = true;
            }
            break;
        default:
            break;
        }
        applied += changed ? 1 : 0;
        const ProjectItem root = f.tree();
        expectCountsMatch(f.app, root);
        // The branch labels carry the same numbers as the records.
        EXPECT_EQ(ProjectTree::find(root, "Screens")->label,
                  ProjectTree::countedLabel("Screens", f.app.screenCount()));
        EXPECT_EQ(ProjectTree::find(root, "Global keys")->label,
                  ProjectTree::countedLabel("Global keys", f.app.globalKeyCount()));
        const std::size_t alarms = f.app.alarmsIfAny() != nullptr ? f.app.alarmsIfAny()->textCount() : 0;
        EXPECT_EQ(ProjectTree::find(root, "Alarms")->label, ProjectTree::countedLabel("Alarms", alarms));
        for (const ProjectItem& alarm : ProjectTree::find(root, "Alarms")->children) {
            EXPECT_EQ(alarm.alias, f.app.alarmsIfAny()->text(alarm.index));
        }
        if (::testing::Test::HasFailure()) {
            FAIL() << "the tree differs from the application after step " << step << " (operation "
                   << operation << ")";
        }
    }
    // The sequence did change the application, many times over.
    EXPECT_GT(applied, 2000U);
}

// ------------------------------------------------------------------ search

std::vector<std::string> hitLines(const ProjectSearch::Result& result) {
    std::vector<std::string> out;
    for (const SearchHit& hit : result.hits) {
        out.push_back(std::string(ProjectSearch::fieldName(hit.field)) + ": " + hit.text + " @ " + hit.where);
    }
    return out;
}

TEST(ProjectSearchTest, FindsTextInEveryPartCaseIgnored) {
    NavigatorApplication f;
    EXPECT_EQ(hitLines(ProjectSearch::run(f.app, "tank")),
              (std::vector<std::string>{"Static text: Tank1 level @ Screen 1 (Pumps), object 2",
                                        "Screen name: Tank overview @ Screen 7 (Tank overview)",
                                        "Static text: TANK2 pressure @ Screen 7 (Tank overview), object 1",
                                        "Alarm text: Tank1 high level @ Alarm 005",
                                        "Key legend: Start tank @ Global key F9"}));
    EXPECT_EQ(hitLines(ProjectSearch::run(f.app, "  lEvEl ")),
              (std::vector<std::string>{"Tag name: Level @ Node 1, block D0200",
                                        "Static text: Tank1 level @ Screen 1 (Pumps), object 2",
                                        "Alarm text: Tank1 high level @ Alarm 005"}));
    EXPECT_EQ(hitLines(ProjectSearch::run(f.app, "D000")),
              (std::vector<std::string>{
                  "Tag address: D0001 @ Node 1, block D0000", "Tag address: D0002 @ Node 1, block D0000",
                  "Tag address: D0003_05 @ Node 1, block D0000", "Tag address: D0004 @ Node 1, block D0000",
                  "Tag address: D0005 @ Node 1, block D0000"}))
        << "a tag is listed once, by name before address";
    EXPECT_EQ(hitLines(ProjectSearch::run(f.app, "stop.BMP")),
              (std::vector<std::string>{"Key legend: stop.bmp @ Global key F3 + F4"}));
    const auto text = ProjectSearch::run(f.app, "pressure");
    ASSERT_EQ(text.hits.size(), 1U);
    EXPECT_EQ(text.hits[0].screen, f.screen2);
    EXPECT_EQ(text.hits[0].object, f.text2);
    EXPECT_TRUE(ProjectSearch::run(f.app, "").hits.empty());
    EXPECT_TRUE(ProjectSearch::run(f.app, "   ").hits.empty());
    EXPECT_TRUE(ProjectSearch::run(f.app, "nowhere at all").hits.empty());
}

TEST(ProjectSearchTest, ScreenNumbersAreMatchedWhole) {
    NavigatorApplication f;
    EXPECT_EQ(hitLines(ProjectSearch::run(f.app, "7")),
              (std::vector<std::string>{"Screen number: 7 @ Screen 7 (Tank overview)"}));
    EXPECT_EQ(hitLines(ProjectSearch::run(f.app, "007")),
              (std::vector<std::string>{"Screen number: 7 @ Screen 7 (Tank overview)"}));
    must(f.app.addScreen(std::make_unique<Screen>(65534)));
    EXPECT_EQ(ProjectSearch::run(f.app, "65534").hits.size(), 2U) << "its number and its name Screen65534";
    EXPECT_EQ(ProjectSearch::run(f.app, "65535").hits.size(), 0U);
    for (const SearchHit& hit : ProjectSearch::run(f.app, "0").hits) {
        EXPECT_EQ(hit.field, SearchField::TagAddress) << "0 is no screen number";
    }
}

TEST(ProjectSearchTest, StopsAtTheHitLimit) {
    Application app(42);
    must(app.addNode(Node::createUnitNode()));
    Node* plc = must(app.addNode(testing_support::plcNode(1)));
    std::size_t made = 0;
    for (int b = 0; made < ProjectSearch::kMaxHits + 1; ++b) {
        char address[16];
        std::snprintf(address, sizeof address, "D%04d", b * 300);
        Block* block = must(app.addBlock(*plc, std::make_unique<Block>(address, 255)));
        for (int t = 0; t < 255 && made < ProjectSearch::kMaxHits + 1; ++t, ++made) {
            std::snprintf(address, sizeof address, "D%04d", b * 300 + t);
            must(app.addTag(*block, registerTag(address, 2, "T" + std::to_string(made))));
        }
    }
    auto result = ProjectSearch::run(app, "T");
    EXPECT_EQ(result.hits.size(), ProjectSearch::kMaxHits);
    EXPECT_TRUE(result.truncated);
    // Exactly the limit is not cut.
    ASSERT_TRUE(app.removeTag(const_cast<Tag&>(*app.tags().begin())));
    result = ProjectSearch::run(app, "T");
    EXPECT_EQ(result.hits.size(), ProjectSearch::kMaxHits);
    EXPECT_FALSE(result.truncated);
}

TEST(ProjectSearchTest, ATagsUsesAreListedWithTheirPlaces) {
    NavigatorApplication f;
    EXPECT_TRUE(f.app.setGroupTag(0, f.r1));
    const auto uses = ProjectSearch::usesOf(f.app, *f.r1);
    std::vector<std::string> where;
    for (const TagUseHit& use : uses) {
        where.push_back(use.where);
        EXPECT_EQ(use.use.tag, f.r1);
    }
    EXPECT_EQ(where, (std::vector<std::string>{"Alarm groups", "Power-on task list", "Global task list"}));
    EXPECT_EQ(ProjectSearch::usesOf(f.app, *f.r2).size(), 1U);
    EXPECT_EQ(ProjectSearch::usesOf(f.app, *f.r2)[0].where, "Logger");
    EXPECT_TRUE(ProjectSearch::usesOf(f.app, *f.writeOnly).empty());
}

} // namespace
} // namespace quillon
