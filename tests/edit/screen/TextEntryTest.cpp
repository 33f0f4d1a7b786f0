#include "edit/screen/TextEntry.h"

#include "edit/CanvasFixture.h"
#include "edit/screen/EditorSession.h"
#include "edit/screen/PlacementGeometry.h"
#include "model/RecordingPrompter.h"
#include "model/TextObject.h"

#include <gtest/gtest.h>
#include <string>

using namespace quillon;
using namespace quillon::testing_support;

namespace {

// Class 52 with the small font: cells of 6 x 8 unit pixels, 53 columns and 30 rows.
struct TextEntryTest : ::testing::Test {
    CanvasDocument doc{kClass52Model};
    EditorSession session{doc.app};
    RecordingPrompter prompter;
    PlacementGeometry geometry{52, CanvasGeometry::kFont5x7};

    void SetUp() override {
        ASSERT_TRUE(session.open(*doc.screen));
        ASSERT_TRUE(session.chooseTool(101, prompter));
    }
    std::unique_ptr<TextEntry> startAt(const UnitRect& area, bool byClick) {
        return TextEntry::start(session, area, geometry.cell(), byClick, prompter);
    }
    static void typeAll(TextEntry& entry, const std::string& text, bool insert = false) {
        for (char c : text) {
            entry.type(c, insert);
        }
    }
};

} // namespace

TEST_F(TextEntryTest, TextPlacedByClickGrowsWithWhatIsTyped) {
    auto entry = startAt(geometry.textArea({0, 0}, nullptr), true);
    ASSERT_TRUE(entry);
    EXPECT_EQ(entry->capacity(), 212u); // 53 x 4 cells
    EXPECT_EQ(objectRect(entry->object()), (UnitRect{0, 0, 5, 7}));
    typeAll(*entry, "Hello");
    EXPECT_EQ(objectRect(entry->object()), (UnitRect{0, 0, 29, 7}));
    EXPECT_EQ(entry->caretRect(), (UnitRect{30, 0, 35, 7}));
    typeAll(*entry, std::string(48, 'x')); // 53: the whole first row
    EXPECT_EQ(objectRect(entry->object()), (UnitRect{0, 0, 317, 7}));
    EXPECT_EQ(entry->caretRect(), (UnitRect{0, 8, 5, 15}));
    entry->type('y', false);
    EXPECT_EQ(objectRect(entry->object()), (UnitRect{0, 0, 317, 15}));
    EXPECT_EQ(entry->object().recordLength(), 22u + 4u + 1u + 54u);
}

TEST_F(TextEntryTest, TheLastColumnTakesOneCharacterARowAndStopsAtTheCellCount) {
    auto entry = startAt(geometry.textArea({312, 0}, nullptr), true);
    ASSERT_TRUE(entry);
    EXPECT_EQ(entry->capacity(), 30u);
    typeAll(*entry, std::string(30, 'a'));
    EXPECT_FALSE(entry->type('b', false));
    EXPECT_EQ(entry->object().text(), std::string(30, 'a'));
    EXPECT_EQ(objectRect(entry->object()), (UnitRect{312, 0, 317, 239}));
    // The caret is shown on the last cell; moved onto it, typing overwrites.
    EXPECT_EQ(entry->caret(), 30u);
    EXPECT_EQ(entry->caretRect(), (UnitRect{312, 232, 317, 239}));
    entry->left();
    EXPECT_TRUE(entry->type('z', false));
    EXPECT_EQ(entry->object().text().back(), 'z');
}

TEST_F(TextEntryTest, EditingKeysOverwriteInsertAndDelete) {
    auto entry = startAt(geometry.markedText({0, 0}, {23, 23}), false); // 4 columns, 3 rows
    ASSERT_TRUE(entry);
    EXPECT_EQ(objectRect(entry->object()), (UnitRect{0, 0, 23, 23}));
    typeAll(*entry, "abc");
    entry->home();
    entry->markDrawn();
    entry->type('X', false);
    EXPECT_EQ(entry->object().text(), "Xbc");
    EXPECT_EQ(entry->caret(), 1u);
    entry->type('Y', true);
    EXPECT_EQ(entry->object().text(), "XYbc");
    EXPECT_EQ(entry->freshFrom(), 0u);
    EXPECT_EQ(entry->freshTo(), 4u); // the shifted characters are fresh too
    EXPECT_TRUE(entry->deleteAtCaret());
    EXPECT_EQ(entry->object().text(), "XYc");
    EXPECT_TRUE(entry->backspace());
    EXPECT_EQ(entry->object().text(), "Xc");
    EXPECT_EQ(entry->caret(), 1u);
    entry->end();
    EXPECT_EQ(entry->caret(), 2u);
    EXPECT_FALSE(entry->deleteAtCaret());
    entry->left();
    entry->left();
    entry->left();
    EXPECT_EQ(entry->caret(), 0u);
    EXPECT_FALSE(entry->backspace());

    // Up and down by one row of four.
    typeAll(*entry, "abcdefgh");
    EXPECT_EQ(entry->object().text(), "abcdefgh");
    EXPECT_EQ(entry->caret(), 8u);
    entry->up();
    EXPECT_EQ(entry->caret(), 4u);
    entry->up();
    EXPECT_EQ(entry->caret(), 0u);
    entry->up();
    EXPECT_EQ(entry->caret(), 0u);
    entry->down();
    entry->down();
    EXPECT_EQ(entry->caret(), 8u);
    entry->down(); // no text below
    EXPECT_EQ(entry->caret(), 8u);

    // A full area refuses insertions, even before the end.
    typeAll(*entry, "ijkl");
    EXPECT_EQ(entry->object().text().size(), 12u);
    entry->home();
    EXPECT_FALSE(entry->type('!', true));
    EXPECT_EQ(entry->object().text(), "abcdefghijkl");
}

TEST_F(TextEntryTest, ScrollingTextHoldsUpTo245CharactersAndShowsTheCaretRow) {
    session.attributes().flash = 192;
    auto entry = startAt(geometry.markedText({0, 0}, {23, 15}), false); // 4 columns, 2 rows
    ASSERT_TRUE(entry);
    EXPECT_EQ(entry->capacity(), 245u);
    typeAll(*entry, std::string(20, 'q'));
    EXPECT_EQ(entry->firstVisibleRow(), 4); // caret row 5, two rows shown
    EXPECT_EQ(entry->caretRect(), (UnitRect{0, 8, 5, 15}));
    entry->home();
    EXPECT_EQ(entry->firstVisibleRow(), 0);
    typeAll(*entry, std::string(300, 'r'));
    EXPECT_EQ(entry->object().text().size(), 245u);
    EXPECT_EQ(objectRect(entry->object()), (UnitRect{0, 0, 23, 15}));
}

TEST_F(TextEntryTest, FinishingKeepsATextAsOneStepAndDropsAnEmptyOne) {
    auto empty = startAt(geometry.textArea({0, 0}, nullptr), true);
    ASSERT_TRUE(empty);
    EXPECT_EQ(doc.screen->objectCount(), 1u);
    EXPECT_FALSE(empty->finish());
    EXPECT_EQ(doc.screen->objectCount(), 0u);
    EXPECT_FALSE(session.canUndo());
    EXPECT_TRUE(session.selecterMode());

    ASSERT_TRUE(session.chooseTool(101, prompter));
    auto text = startAt(geometry.textArea({60, 80}, nullptr), true);
    typeAll(*text, "Run");
    TextObject* object = &text->object();
    EXPECT_TRUE(text->finish());
    EXPECT_EQ(session.selection().objects(), std::vector<ScreenObject*>{object});
    EXPECT_TRUE(session.selecterMode());
    ASSERT_TRUE(session.undo());
    EXPECT_EQ(doc.screen->objectCount(), 0u);
    ASSERT_TRUE(session.redo());
    ASSERT_EQ(doc.screen->objectCount(), 1u);
    EXPECT_EQ(static_cast<TextObject&>(*doc.screen->objects()[0]).text(), "Run");
}

TEST_F(TextEntryTest, AnExistingTextIsTypedIntoFromItsFirstCellAndEmptiedAsAnUndoableDeletion) {
    auto text = startAt(geometry.textArea({60, 80}, nullptr), true);
    typeAll(*text, "Pump 12");
    TextObject* object = &text->object();
    ASSERT_TRUE(text->finish());
    const UnitRect placed = objectRect(*object);
    EXPECT_EQ(placed, (UnitRect{60, 80, 101, 87}));

    auto again = TextEntry::resume(session, *object, geometry.cell());
    ASSERT_TRUE(again);
    EXPECT_FALSE(session.selecterMode());
    EXPECT_TRUE(session.selection().objects().empty());
    EXPECT_EQ(again->caretRect(), (UnitRect{60, 80, 65, 87}));
    typeAll(*again, "Fan");
    EXPECT_EQ(object->text(), "Fanp 12");
    // The object keeps its cells: typing past its last cell is ignored.
    typeAll(*again, "xxxxxx");
    EXPECT_EQ(object->text(), "Fanxxxx");
    EXPECT_EQ(objectRect(*object), placed);
    EXPECT_TRUE(again->finish());
    EXPECT_TRUE(session.selecterMode());
    EXPECT_EQ(doc.screen->objectCount(), 1u);

    // Emptied, it goes; undo brings the text back.
    auto emptied = TextEntry::resume(session, *object, geometry.cell());
    ASSERT_TRUE(emptied);
    for (int i = 0; i < 7; ++i) {
        emptied->deleteAtCaret();
    }
    EXPECT_FALSE(emptied->finish());
    EXPECT_EQ(doc.screen->objectCount(), 0u);
    ASSERT_TRUE(session.undo());
    ASSERT_EQ(doc.screen->objectCount(), 1u);
    EXPECT_EQ(doc.screen->objects()[0].get(), object);
}

TEST(TextEntryRefusals, FullScreenAndOverlapOnCharacterDisplays) {
    CanvasDocument doc(kCharacterModel);
    EditorSession session(doc.app);
    ASSERT_TRUE(session.open(*doc.screen));
    RecordingPrompter prompter;
    doc.text({24, 16, 71, 31});
    const PlacementGeometry geometry(4, 0);
    ASSERT_TRUE(session.chooseTool(101, prompter));
    EXPECT_FALSE(TextEntry::start(session, {36, 16, 239, 31}, geometry.cell(), true, prompter));
    EXPECT_EQ(prompter.last().text, "Can not accept / edit the Object (Text).\nOtherwise there will be "
                                    "overlapping which is not allowed.");
    EXPECT_TRUE(session.selecterMode());
    // Left of it the area stops before it.
    EXPECT_EQ(geometry.textArea({0, 16}, doc.screen), (UnitRect{0, 16, 23, 63}));

    for (int i = 1; i < 255; ++i) {
        doc.text({0, 48, 11, 63});
    }
    EXPECT_FALSE(TextEntry::start(session, {0, 0, 239, 15}, geometry.cell(), true, prompter));
    EXPECT_EQ(prompter.last().text, "This screen contains 255 objects. Can't add more.");
}
