#pragma once

#include "ui/FileChooser.h"

class QWidget;

namespace quillon::gui {

// The file dialogs of the desktop. The working directory is put back afterwards, so every relative path
// of the tool (settings file, ../plc, ../drivers, Result) keeps pointing where it did.
class QtFileChooser final : public FileChooser {
public:
    explicit QtFileChooser(QWidget* owner = nullptr) : owner_(owner) {}
    void setOwner(QWidget* owner) noexcept { owner_ = owner; }

    std::optional<std::filesystem::path> chooseOpenFile(const FileDialogRequest& request) override;
    std::optional<std::filesystem::path> chooseSaveFile(const FileDialogRequest& request) override;

private:
    std::optional<std::filesystem::path> run(const FileDialogRequest& request, bool save);

    QWidget* owner_ = nullptr;
};

} // namespace quillon::gui
