#pragma once

#include "edit/define/TaskDialogRules.h"

#include <functional>

#include <QImage>

class QDialog;

namespace quillon {
class Application;
class PictureSource;
class Prompter;
class Screen;
} // namespace quillon

namespace quillon::gui {

// What the task-list and key editors need of the main window.
struct TaskEditorContext {
    Application* application = nullptr;
    Prompter* prompter = nullptr;
    // Runs a modal dialog inside the shell's busy bracket.
    std::function<int(QDialog&)> runDialog;
    // Opens the tag database over the dialog (command 456); empty while there is none.
    std::function<void()> openTagDatabase;
    std::function<bool()> tagDatabaseAvailable;
    // A picture of the screen as the unit shows it, for the previews.
    std::function<QImage(const Screen&)> screenPreview;
    std::function<const PictureSource*()> pictures;
    // An edit changed the application.
    std::function<void()> modified;

    int run(QDialog& dialog) const;
    // Shows a dialog's refusal with its title.
    void refuse(const TaskVerdict& verdict) const;
};

} // namespace quillon::gui
