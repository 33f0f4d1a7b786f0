#include "edit/RandomEditingDriver.h"
#include "edit/screen/ClipboardKeeper.h"

#include <algorithm>
#include <gtest/gtest.h>
#include <set>

using namespace quillon;
using namespace quillon::testing_support;

// Thousands of random editing operations on random screens. After each the counters, read lists and tag
// uses equal a recount, and the operation's newest step undone gives the records from before it, redone
// those from after it. At the end undoing every step gives the starting records byte for byte and redoing
// them the final ones; on a character display no two objects ever overlap. Every kind of step must have
// been recorded on the way.
TEST(RandomisedEditing, CountsHoldAndUndoAndRedoRestoreEveryByte) {
    std::set<UndoKind> recorded;
    struct Run {
        std::uint32_t seed;
        std::uint16_t model;
    };
    for (const Run run :
         {Run{3U, RandomEditingDriver::kGraphicModel}, Run{1234U, RandomEditingDriver::kGraphicModel},
          Run{987654U, RandomEditingDriver::kGraphicModel}, Run{55U, RandomEditingDriver::kCharacterModel}}) {
        const std::uint32_t seed = run.seed;
        RandomEditingDriver driver(seed, run.model);
        UndoHistory& history = *driver.session().history();
        ASSERT_TRUE(driver.app().checkConsistency()) << "seed " << seed;
        for (int step = 0; step < 2500; ++step) {
            const std::vector<std::uint8_t> before = screenRecords(driver.screen());
            const UndoStep* newest = history.newestUndo();
            const std::size_t steps = history.undoCount();
            const std::string operation = driver.step();
            const Status counts = driver.app().checkConsistency();
            ASSERT_TRUE(counts) << "seed " << seed << " step " << step << " (" << operation
                                << "): " << counts.message();
            ASSERT_LE(driver.screen().objectCount(), Screen::kMaxObjects);
            if (run.model == RandomEditingDriver::kCharacterModel) {
                // No two objects of a character display share a pixel.
                const auto& list = driver.screen().objects();
                for (std::size_t i = 0; i < list.size(); ++i) {
                    ASSERT_EQ(findOverlap(driver.screen(), objectRect(*list[i]), list[i].get()), nullptr)
                        << "seed " << seed << " step " << step << " (" << operation << ")";
                }
            }
            for (const ScreenObject* o : driver.session().selection().objects()) {
                ASSERT_EQ(o->screen(), &driver.screen()) << "seed " << seed << " step " << step;
            }
            if (operation == "undo" || operation == "redo") {
                continue;
            }
            const std::vector<std::uint8_t> after = screenRecords(driver.screen());
            if (history.newestUndo() == newest && history.undoCount() == steps) {
                ASSERT_EQ(after, before) << "seed " << seed << " step " << step << " (" << operation
                                         << ") changed the screen without a step";
                continue;
            }
            recorded.insert(history.newestUndo()->kind());
            ASSERT_TRUE(driver.session().undo());
            ASSERT_EQ(screenRecords(driver.screen()), before)
                << "seed " << seed << " step " << step << " (" << operation << ") undone";
            ASSERT_TRUE(driver.session().redo());
            ASSERT_EQ(screenRecords(driver.screen()), after)
                << "seed " << seed << " step " << step << " (" << operation << ") redone";
        }
        // Steps still on the redo list belong to the end of the history.
        ASSERT_TRUE(driver.redoAll()) << "seed " << seed;
        const std::vector<std::uint8_t> end = screenRecords(driver.screen());
        ASSERT_TRUE(driver.undoAll()) << "seed " << seed;
        EXPECT_TRUE(driver.app().checkConsistency());
        EXPECT_EQ(screenRecords(driver.screen()), driver.startRecords()) << "seed " << seed;
        ASSERT_TRUE(driver.redoAll()) << "seed " << seed;
        EXPECT_TRUE(driver.app().checkConsistency());
        EXPECT_EQ(screenRecords(driver.screen()), end) << "seed " << seed;
    }
    // Undoing a create step turns it into a delete step on the redo list and back; both kinds count.
    for (UndoKind kind :
         {UndoKind::Create, UndoKind::Delete, UndoKind::Rotate, UndoKind::Move, UndoKind::Selection,
          UndoKind::Group, UndoKind::Ungroup, UndoKind::SendBack, UndoKind::BringFront, UndoKind::Font,
          UndoKind::BackgroundFill, UndoKind::PenForeground, UndoKind::Border, UndoKind::Flash}) {
        EXPECT_TRUE(recorded.count(kind) == 1) << "no step of kind " << static_cast<int>(kind);
    }
}

// What random screens copy, closed with their application, arrives in the next one only with that
// application's own tags: objects naming a tag it lacks are refused, the others pasted, all counts exact.
TEST(RandomisedEditing, PastesIntoTheNextApplicationUseOnlyItsOwnTags) {
    std::size_t pastedInAll = 0;
    std::size_t refusedInAll = 0;
    for (std::uint32_t seed : {11U, 12U, 13U, 14U}) {
        ClipboardKeeper keeper;
        {
            RandomEditingDriver first(seed);
            for (int step = 0; step < 300; ++step) {
                (void)first.step();
            }
            first.session().selectAll();
            AgreeingPrompter quiet;
            if (!ObjectEditing::copy(first.session(), quiet)) {
                continue;
            }
            keeper.keep(first.app());
        }
        // The next application has every other tag of the first one, on the same node and addresses.
        Application next(RandomEditingDriver::kGraphicModel);
        next.unitSettings().touchScreen = 1;
        must(next.addNode(Node::createUnitNode()));
        Node* plc = must(next.addNode(plcNode(1)));
        std::vector<const Tag*> own;
        for (int b = 0; b < 4; ++b) {
            Block* block =
                must(next.addBlock(*plc, std::make_unique<Block>("D" + std::to_string(1000 + b * 100), 20)));
            for (int t = 0; t < 3; t += 2) {
                own.push_back(
                    must(next.addTag(*block, registerTag("D" + std::to_string(1000 + b * 100 + t * 3), 2))));
            }
        }
        Screen* screen = must(next.addScreen(std::make_unique<Screen>(1)));
        EditorSession session(next);
        session.setClipboardKeeper(&keeper);
        ASSERT_TRUE(session.open(*screen));
        AgreeingPrompter prompter;
        (void)ObjectEditing::paste(session, prompter);
        ASSERT_TRUE(next.checkConsistency()) << "seed " << seed;
        EXPECT_EQ(screen->objectCount() + prompter.shown, keeper.size()) << "seed " << seed;
        pastedInAll += screen->objectCount();
        refusedInAll += prompter.shown;
        auto ownTag = [&own](const Tag* tag) {
            return tag == nullptr || std::find(own.begin(), own.end(), tag) != own.end();
        };
        for (const auto& object : screen->objects()) {
            EXPECT_TRUE(ownTag(object->tag()));
            EXPECT_TRUE(!object->showHide() || ownTag(object->showHide()->tag));
            if (const TaskListOwner* lists = object->taskOwner()) {
                for (const auto& task : lists->taskList(TouchAreaObject::kPress).tasks()) {
                    EXPECT_TRUE(ownTag(task->tag1) && ownTag(task->tag2)) << "seed " << seed;
                }
            }
        }
        ASSERT_TRUE(session.undo());
        EXPECT_EQ(screen->objectCount(), 0u);
        EXPECT_TRUE(next.checkConsistency());
    }
    EXPECT_GT(pastedInAll, 20u);
    EXPECT_GT(refusedInAll, 5u);
}
