#include "RandomEditingDriver.h"

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
