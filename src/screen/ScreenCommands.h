#pragma once

#include "edit/screen/ScreenManager.h"

#include <filesystem>
#include <functional>

class QDialog;
class QWidget;

namespace quillon {
class PictureSource;
}

namespace quillon::gui {

// What the screen commands need from the main window and the screen session.
struct ScreenCommandContext {
    Application& application;
    Prompter& prompter;
    QWidget* parent = nullptr;
    // Runs a modal dialog and returns its result (the main window brackets it; tests script it).
    std::function<int(QDialog&)> runDialog;
    // The screen the session edits; nullptr when there is none.
    std::function<Screen*()> currentScreen;
    // Shows the screen in the session, clears the selection and ends placement mode; nullptr: no screen
    // is left and the session closes.
    std::function<void(Screen*)> makeCurrent;
    // Drops the undo and redo histories of a screen that is deleted or initialized.
    std::function<void(Screen&)> forgetHistory;
    // The picture library the screen pictures of View All Screens draw bitmaps from (none: left empty).
    const PictureSource* pictures = nullptr;
    // Where the PLC catalogs are, which the replication of a screen reads to place the tags it creates;
    // empty: the screens manager offers no "Replicate...".
    std::filesystem::path catalogDirectory{};
};

// The Screen menu's commands that work on whole screens: New, Duplicate, Screen Information, Initialize,
// Delete, Select Screen and View All Screens. The rules are the ScreenManager's; this class runs the
// dialogs and questions around them and tells the session which screen to show.
class ScreenCommands final {
public:
    explicit ScreenCommands(ScreenCommandContext context);

    // Each returns whether the application changed.
    bool newScreen();
    bool duplicateScreen();
    bool screenInformation();
    bool initializeScreen();
    bool deleteScreen();
    bool selectScreen();
    bool viewAllScreens();
    // "Replicate..." of the screens manager on a screen: asks for the numbers and the rule, confirms what
    // will be created and makes the copies, all or none. The first copy, or nullptr when nothing changed.
    Screen* replicateScreen(const Screen& source);

    // The type the screen dialog last closed with, which Duplicate opens with.
    ScreenType lastType() const noexcept { return lastType_; }
    ScreenManager& manager() noexcept { return manager_; }

private:
    int run(QDialog& dialog);
    Screen* current() const;
    void show(Screen* screen);

    ScreenCommandContext context_;
    ScreenManager manager_;
    ScreenType lastType_ = ScreenType::Display;
};

} // namespace quillon::gui
