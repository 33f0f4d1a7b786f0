#include "edit/define/UnitSettingsEditor.h"

#include "model/Application.h"
#include "model/RecordingPrompter.h"
#include "model/Screen.h"
#include "model/TouchAreaObject.h"

#include <gtest/gtest.h>

using namespace quillon;

namespace {

// A graphic application with touch areas on screens 1 and 2 (two on screen 2) and none on screen 3.
struct TouchApplication {
    TouchApplication() : app(500) {
        for (std::uint32_t number : {1u, 2u, 3u}) {
            Screen* screen = *app.addScreen(std::make_unique<Screen>(number));
            const int areas = number == 1 ? 1 : number == 2 ? 2 : 0;
            for (int i = 0; i < areas; ++i) {
                EXPECT_TRUE(screen->appendObject(std::make_unique<TouchAreaObject>()));
            }
        }
        app.unitSettings().touchScreen = 1;
    }
    std::size_t touchAreas() const {
        std::size_t count = 0;
        for (const auto& screen : app.screens()) {
            for (const auto& object : screen->objects()) {
                count += object->kind() == ObjectKind::TouchArea ? 1 : 0;
            }
        }
        return count;
    }
    Application app;
};

} // namespace

TEST(UnitSettingsEditor, ListsAndTouchScreenByModel) {
    Application character(10);
    const UnitSettingsEditor small(character);
    EXPECT_FALSE(small.touchScreenOffered());
    EXPECT_EQ(small.memoryEntries(), (std::vector<std::string_view>{"8KB", "24KB"}));
    Application graphic(500);
    const UnitSettingsEditor large(graphic);
    EXPECT_TRUE(large.touchScreenOffered());
    EXPECT_EQ(large.memoryEntries(), (std::vector<std::string_view>{"8KB", "24KB", "32 KB", "64KB"}));
    EXPECT_EQ(UnitSettingsEditor::kFloatFormats[1], " Low Word - High Word ");
}

TEST(UnitSettingsEditor, FieldsAreFilteredAndTakeTheirDefaultsWhenLeft) {
    Application app(10);
    app.unitSettings().outputWords = 12;
    app.unitSettings().extendedKeypad = 1;
    UnitSettingsEditor editor(app);
    EXPECT_EQ(editor.text(UnitField::OutputWords), "12");
    EXPECT_EQ(editor.text(UnitField::PrinterColumns), "80");

    EXPECT_EQ(UnitSettingsEditor::type(UnitField::InputWords, "3a2").text, "32");
    EXPECT_EQ(UnitSettingsEditor::type(UnitField::InputWords, "33").text, "3");
    EXPECT_EQ(UnitSettingsEditor::type(UnitField::KeypadRows, "9").text, "");
    EXPECT_EQ(UnitSettingsEditor::type(UnitField::KeypadRows, "8").text, "8");
    EXPECT_EQ(UnitSettingsEditor::type(UnitField::PrinterColumns, "81").text, "8");
    EXPECT_EQ(UnitSettingsEditor::type(UnitField::PrinterColumns, "80").text, "80");
    EXPECT_FALSE(UnitSettingsEditor::type(UnitField::QueueSize, "0").inRange);
    EXPECT_TRUE(UnitSettingsEditor::type(UnitField::QueueSize, "4").inRange);

    EXPECT_EQ(editor.leave(UnitField::OutputWords, ""), "0");
    EXPECT_EQ(editor.copy().outputWords, 0);
    EXPECT_EQ(editor.leave(UnitField::KeypadRows, "0"), "4");
    EXPECT_EQ(editor.leave(UnitField::KeypadColumns, ""), "4");
    EXPECT_EQ(editor.leave(UnitField::PrinterColumns, "0"), "80");
    EXPECT_EQ(editor.leave(UnitField::PrinterColumns, "1"), "01");
    EXPECT_EQ(editor.leave(UnitField::QueueSize, ""), "1");
    EXPECT_EQ(editor.leave(UnitField::InputWords, "32"), "32");
    // Nothing reaches the application before Ok.
    EXPECT_EQ(app.unitSettings().outputWords, 12);
    RecordingPrompter prompter;
    editor.accept(app, prompter, {});
    EXPECT_EQ(app.unitSettings().outputWords, 0);
    EXPECT_EQ(app.unitSettings().printerColumns, 1);
    EXPECT_EQ(app.unitSettings().inputWords, 32);
    EXPECT_TRUE(prompter.empty());

    // Without the extended keypad its rows and columns show empty.
    app.unitSettings().extendedKeypad = 0;
    EXPECT_EQ(UnitSettingsEditor(app).text(UnitField::KeypadRows), "");
}

TEST(UnitSettingsEditor, TouchScreenOffAsksBeforeDeletingTouchAreas) {
    TouchApplication t;
    RecordingPrompter prompter;
    int hooks = 0;
    {
        UnitSettingsEditor editor(t.app);
        editor.copy().touchScreen = 0;
        editor.copy().printerBaud = 5;
        prompter.script({PromptAnswer::No});
        editor.accept(t.app, prompter, [&] { ++hooks; });
    }
    ASSERT_EQ(prompter.prompts().size(), 1u);
    EXPECT_EQ(prompter.last().text, "2 Screen(s) have Touch-screen object(s).\nPress 'Yes' to delete "
                                    "Touch-screen objects in the screens.\n"
                                    "Press 'No' to keep Touch-screen option selected and\nnot to delete "
                                    "Touch-screen objects in the screens.");
    EXPECT_EQ(prompter.last().title, "Quillon : Confirmation");
    EXPECT_EQ(prompter.last().buttons, PromptButtons::YesNo);
    EXPECT_EQ(prompter.last().defaultAnswer, PromptAnswer::No);
    EXPECT_EQ(t.app.unitSettings().touchScreen, 1);
    EXPECT_EQ(t.app.unitSettings().printerBaud, 5);
    EXPECT_EQ(t.touchAreas(), 3u);
    EXPECT_EQ(hooks, 0);

    UnitSettingsEditor editor(t.app);
    editor.copy().touchScreen = 0;
    prompter.script({PromptAnswer::Yes});
    editor.accept(t.app, prompter, [&] {
        ++hooks;
        EXPECT_EQ(t.touchAreas(), 3u);
    });
    EXPECT_EQ(hooks, 1);
    EXPECT_EQ(t.touchAreas(), 0u);
    EXPECT_EQ(t.app.unitSettings().touchScreen, 0);
    EXPECT_TRUE(t.app.checkConsistency());
}

TEST(UnitSettingsEditor, MemoryEntriesAndTouchScreenFollowTheModel) {
    // Graphic models offer the four memories and a touch screen, character models 8KB and 24KB and none.
    for (const std::uint16_t id : {480, 500, 510, 520}) {
        Application app(id);
        const UnitSettingsEditor editor(app);
        EXPECT_EQ(editor.memoryEntries().size(), 4u) << id;
        EXPECT_TRUE(editor.touchScreenOffered()) << id;
    }
    for (const std::uint16_t id : {10, 12, 15, 20, 30, 40, 41, 42}) {
        Application app(id);
        const UnitSettingsEditor editor(app);
        EXPECT_EQ(editor.memoryEntries(), (std::vector<std::string_view>{"8KB", "24KB"})) << id;
        EXPECT_FALSE(editor.touchScreenOffered()) << id;
    }

    // A character model keeps its stored touch-screen byte whatever is asked.
    Application character(41);
    character.unitSettings().touchScreen = 1;
    UnitSettingsEditor small(character);
    small.setTouchScreen(false);
    EXPECT_EQ(small.copy().touchScreen, 1);
    Application large(520);
    UnitSettingsEditor big(large);
    EXPECT_EQ(big.copy().touchScreen, 0);
    big.setTouchScreen(true);
    EXPECT_EQ(big.copy().touchScreen, 1);
    RecordingPrompter prompter;
    EXPECT_TRUE(big.accept(large, prompter, {}));
    EXPECT_EQ(large.unitSettings().touchScreen, 1);
    EXPECT_TRUE(prompter.empty());
}

TEST(UnitSettingsEditor, MemoryLargerThanTheModelHasIsRefused) {
    RecordingPrompter prompter;
    Application small(10);
    UnitSettingsEditor editor(small);
    EXPECT_EQ(editor.copy().memoryOption, 1); // 24KB for a model at row 0
    EXPECT_TRUE(editor.chooseMemory(0, prompter));
    EXPECT_EQ(editor.copy().memoryOption, 0);
    EXPECT_TRUE(editor.chooseMemory(1, prompter));
    EXPECT_TRUE(prompter.empty());
    EXPECT_FALSE(editor.chooseMemory(2, prompter));
    EXPECT_EQ(prompter.last().text, "Memory 32 KB is more than the VQ5K-252 unit has.\nChoose 24KB or less.");
    EXPECT_EQ(prompter.last().title, "Quillon : Information");
    EXPECT_EQ(editor.copy().memoryOption, 1);
    EXPECT_FALSE(editor.chooseMemory(3, prompter));
    EXPECT_EQ(prompter.last().text, "Memory 64KB is more than the VQ5K-252 unit has.\nChoose 24KB or less.");

    // The large graphic model takes 64KB (64512 bytes).
    Application large(520);
    UnitSettingsEditor big(large);
    EXPECT_EQ(big.copy().memoryOption, 1); // not at a row of the five: the default of row 0
    EXPECT_TRUE(big.chooseMemory(3, prompter));
    EXPECT_TRUE(big.accept(large, prompter, {}));
    EXPECT_EQ(memoryCapacity(large.unitSettings().memoryOption), 64512u);

    // A file that gave a character model 64KB: Ok refuses it and writes nothing until a memory of the model
    // is chosen.
    small.unitSettings().memoryOption = 3;
    small.unitSettings().printerBaud = 0;
    UnitSettingsEditor fromFile(small);
    fromFile.copy().printerBaud = 5;
    prompter.clear();
    EXPECT_FALSE(fromFile.accept(small, prompter, {}));
    EXPECT_EQ(prompter.last().text, "Memory 64KB is more than the VQ5K-252 unit has.\nChoose 24KB or less.");
    EXPECT_EQ(small.unitSettings().printerBaud, 0);
    EXPECT_TRUE(fromFile.chooseMemory(1, prompter));
    EXPECT_TRUE(fromFile.accept(small, prompter, {}));
    EXPECT_EQ(small.unitSettings().memoryOption, 1);
    EXPECT_EQ(small.unitSettings().printerBaud, 5);

    // Options 4 to 6 only come from files and are kept.
    small.unitSettings().memoryOption = 6;
    UnitSettingsEditor kept(small);
    EXPECT_TRUE(kept.accept(small, prompter, {}));
    EXPECT_EQ(small.unitSettings().memoryOption, 6);
}

TEST(UnitSettingsEditor, EveryNumericFieldAtTheEdgesOfItsRange) {
    struct Edge {
        UnitField field;
        const char* label;
        std::size_t chars;
        const char* lowest;  // the smallest value kept
        const char* below;   // typed below the range: kept in the field, out of range
        const char* highest; // the largest value kept
        const char* above;   // typed above the range, and what remains of it
        const char* aboveKept;
    };
    const Edge edges[] = {
        {UnitField::KeypadRows, "[ 1 - 8 ]", 1, "1", "0", "8", "9", ""},
        {UnitField::KeypadColumns, "[ 1 - 8 ]", 1, "1", "0", "8", "9", ""},
        {UnitField::InputWords, "[ 0 - 32 ]", 2, "0", nullptr, "32", "33", "3"},
        {UnitField::OutputWords, "[ 0 - 32 ]", 2, "0", nullptr, "32", "33", "3"},
        {UnitField::PrinterColumns, "[ 01 - 80 ]", 2, "1", "0", "80", "81", "8"},
        {UnitField::QueueSize, "[ 1 - 4 ]", 1, "1", "0", "4", "5", ""},
    };
    for (const Edge& e : edges) {
        SCOPED_TRACE(e.label);
        EXPECT_EQ(UnitSettingsEditor::rangeLabel(e.field), e.label);
        EXPECT_EQ(UnitSettingsEditor::maxChars(e.field), e.chars);
        EXPECT_TRUE(UnitSettingsEditor::type(e.field, e.lowest).inRange);
        EXPECT_EQ(UnitSettingsEditor::type(e.field, e.highest).text, e.highest);
        EXPECT_TRUE(UnitSettingsEditor::type(e.field, e.highest).inRange);
        EXPECT_EQ(UnitSettingsEditor::type(e.field, e.above).text, e.aboveKept);
        if (e.below != nullptr) {
            EXPECT_FALSE(UnitSettingsEditor::type(e.field, e.below).inRange);
        }
    }
    // One character more than the field holds is cut.
    EXPECT_EQ(UnitSettingsEditor::type(UnitField::QueueSize, "12").text, "1");
    EXPECT_EQ(UnitSettingsEditor::type(UnitField::OutputWords, "100").text, "10");
}

TEST(UnitSettingsEditor, LeavingEachFieldEmptyOrZeroGivesItsDefault) {
    Application app(520);
    UnitSettingsEditor editor(app);
    editor.setExtendedKeypad(true);
    // Rows and columns: empty or 0 becomes 4; 1 and 8 stay.
    EXPECT_EQ(editor.leave(UnitField::KeypadRows, ""), "4");
    EXPECT_EQ(editor.leave(UnitField::KeypadRows, "1"), "1");
    EXPECT_EQ(editor.leave(UnitField::KeypadColumns, "0"), "4");
    EXPECT_EQ(editor.leave(UnitField::KeypadColumns, "8"), "8");
    // Words: empty becomes 0; 0 stays 0.
    EXPECT_EQ(editor.leave(UnitField::InputWords, ""), "0");
    EXPECT_EQ(editor.leave(UnitField::InputWords, "0"), "0");
    EXPECT_EQ(editor.leave(UnitField::OutputWords, "32"), "32");
    // The queue: empty or 0 becomes 1; 4 stays.
    EXPECT_EQ(editor.leave(UnitField::QueueSize, "0"), "1");
    EXPECT_EQ(editor.leave(UnitField::QueueSize, "4"), "4");
    // The printer's columns: empty becomes 80, shown with two digits.
    EXPECT_EQ(editor.leave(UnitField::PrinterColumns, ""), "80");
    editor.copy().queueFullIgnore = 0; // "First key pressed"
    RecordingPrompter prompter;
    ASSERT_TRUE(editor.accept(app, prompter, {}));
    const UnitSettings& s = app.unitSettings();
    EXPECT_EQ(s.extendedKeypad, 1);
    EXPECT_EQ(s.keypadRows, 1);
    EXPECT_EQ(s.keypadColumns, 8);
    EXPECT_EQ(s.inputWords, 0);
    EXPECT_EQ(s.outputWords, 32);
    EXPECT_EQ(s.keypadQueueSize, 4);
    EXPECT_EQ(s.queueFullIgnore, 0);
    EXPECT_EQ(s.printerColumns, 80);
}

TEST(UnitSettingsEditor, ExtendedKeypadShowsRowsAndColumnsOnlyWhileSet) {
    Application app(42);
    // Defaults: no extended keypad, 4 rows and 4 columns kept behind it, queue of 2, last key ignored.
    EXPECT_EQ(app.unitSettings().keypadRows, 4);
    EXPECT_EQ(app.unitSettings().keypadQueueSize, 2);
    EXPECT_EQ(app.unitSettings().queueFullIgnore, 1);
    app.unitSettings().keypadRows = 0; // a file's value outside 1 to 8
    app.unitSettings().keypadColumns = 7;
    UnitSettingsEditor editor(app);
    EXPECT_FALSE(editor.keypadSizeShown());
    EXPECT_EQ(editor.text(UnitField::KeypadColumns), "");
    editor.setExtendedKeypad(true);
    EXPECT_TRUE(editor.keypadSizeShown());
    EXPECT_EQ(editor.text(UnitField::KeypadRows), "4");
    EXPECT_EQ(editor.text(UnitField::KeypadColumns), "7");
    editor.setExtendedKeypad(false);
    EXPECT_EQ(editor.text(UnitField::KeypadRows), "");
    EXPECT_EQ(editor.copy().keypadColumns, 7);
}

TEST(UnitSettingsEditor, DeletingTouchAreasKeepsTheTotalsExact) {
    TouchApplication t;
    const MemoryTotals before = t.app.totals();
    std::uint32_t screen2 = 0;
    for (const auto& screen : t.app.screens()) {
        if (screen->number() == 2) {
            screen2 = screen->objectBytes();
        }
    }
    UnitSettingsEditor editor(t.app);
    editor.setTouchScreen(false);
    RecordingPrompter prompter;
    prompter.script({PromptAnswer::Yes});
    ASSERT_TRUE(editor.accept(t.app, prompter, {}));
    // An empty touch area is 22 common bytes, 4 of the main tag and 12 of task counts and lengths: the three
    // of them 114 bytes.
    EXPECT_EQ(t.app.totals().screenBytes, before.screenBytes - 114);
    EXPECT_EQ(t.app.totals().applicationSize, before.applicationSize - 114);
    for (const auto& screen : t.app.screens()) {
        EXPECT_EQ(screen->objects().size(), 0u);
        if (screen->number() == 2) {
            EXPECT_EQ(screen->objectBytes(), screen2 - 76);
        }
    }
    EXPECT_EQ(t.app.countScreensWithTouchAreas(), 0u);
    EXPECT_TRUE(t.app.checkConsistency());
}
