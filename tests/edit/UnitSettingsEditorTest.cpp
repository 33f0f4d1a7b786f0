#include "edit/UnitSettingsEditor.h"

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
