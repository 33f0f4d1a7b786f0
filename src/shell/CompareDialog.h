#pragma once

#include "compare/ApplicationDiff.h"
#include "compare/ComparedApplication.h"

#include <filesystem>
#include <memory>
#include <vector>

#include <QDialog>

class QLabel;
class QListWidget;
class QListWidgetItem;

namespace quillon {
class Application;
class PanelFont;
class PictureLibrary;
class PictureSource;
class Prompter;
} // namespace quillon

namespace quillon::gui {

class FileChooser;

// File > Compare With...: the open application against a second file (an application file or its text form),
// the differences listed section by section as `quillon-cli diff` words them. A double click on a line of a
// screen (the screen itself, an object, its task lists or keys) shows both versions of the screen side by
// side with the changed objects outlined.
class CompareDialog final : public QDialog {
    Q_OBJECT

public:
    // What the open application is shown with.
    struct Current {
        const Application& application;
        const PictureLibrary* library = nullptr;
        const PictureSource* pictures = nullptr;
    };

    // Asks for the second file, compares and shows the dialog; a file that cannot be read is reported through
    // the prompter and nothing is shown. `plcDir`: the catalogs that rebuild the second file's nodes.
    static void compareWithFile(QWidget* parent, const Current& current, const std::filesystem::path& plcDir,
                                const std::filesystem::path& initialFolder, Prompter& prompter,
                                FileChooser& files, const PanelFont& font);

    CompareDialog(QWidget* parent, const Current& current, std::unique_ptr<ComparedApplication> other,
                  std::vector<Difference> differences, const PanelFont& font);
    ~CompareDialog() override;

    QListWidget* list() const noexcept { return list_; }
    const std::vector<Difference>& differences() const noexcept { return differences_; }
    const Application& otherApplication() const noexcept { return other_->application(); }
    // Shows both versions of the screen with its changed objects outlined; false when neither application has
    // the screen.
    bool showScreen(std::uint32_t number);

private:
    void activated(QListWidgetItem* item);

    Current current_;
    std::unique_ptr<ComparedApplication> other_;
    std::vector<Difference> differences_;
    const PanelFont& font_;
    QListWidget* list_ = nullptr;
};

} // namespace quillon::gui
