#pragma once

#include "persist/ExampleFolder.h"
#include "ui/ShellDialog.h"

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include <QPixmap>
#include <QString>

class QLabel;
class QListWidget;
class QPushButton;

namespace quillon {
class PanelFont;
}

namespace quillon::gui {

// Help > Examples...: the example applications shipped with the tool, each with its title, model,
// description and a picture of its first screen. "Open a Copy" ends the dialog with the chosen example;
// the window then opens a copy of it in the user's folder, never the shipped file.
class ExamplesDialog final : public ShellDialog {
    Q_OBJECT
public:
    // The examples are read for their pictures from the shipped folder into a temporary working folder,
    // so that looking at them leaves the user's picture library alone.
    ExamplesDialog(QWidget* parent, const ExampleFolder& examples, const std::filesystem::path& catalogFolder,
                   const PanelFont& font);

    // The example chosen with "Open a Copy".
    const std::string& chosen() const noexcept { return chosen_; }

    // Where the copy of an example goes in the folder: NAME.ovm, or NAME-2.ovm, NAME-3.ovm ... when that
    // is taken, so that a copy never replaces the user's work.
    static std::filesystem::path copyName(const std::filesystem::path& folder, const std::string& name);

private:
    struct Entry {
        std::string name;
        QString details;
        QPixmap firstScreen;
    };
    void show(int row);

    std::vector<Entry> entries_;
    QListWidget* list_ = nullptr;
    QLabel* picture_ = nullptr;
    QLabel* details_ = nullptr;
    QPushButton* open_ = nullptr;
    std::string chosen_;
};

} // namespace quillon::gui
