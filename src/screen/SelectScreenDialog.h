#pragma once

#include "ui/ShellDialog.h"

#include <cstdint>
#include <optional>

class QListWidget;

namespace quillon {
class Application;
}

namespace quillon::gui {

// A list of every screen in number order from which one is chosen with Ok or a double click. Select Screen
// makes the choice the editor's current screen; Goto Screen stores it in the task being edited.
class SelectScreenDialog final : public ShellDialog {
    Q_OBJECT
public:
    enum class Mode : std::uint8_t { SelectScreen = 0, GotoScreen = 1 };

    // `selected` names the screen selected on opening; without it (or when it does not exist) Goto Screen
    // selects the first screen and Select Screen none.
    SelectScreenDialog(QWidget* parent, const Application& application, Mode mode,
                       std::optional<std::uint32_t> selected);

    // The number of the screen selected in the list.
    std::optional<std::uint32_t> chosenNumber() const;
    QListWidget* list() const noexcept { return list_; }

    void accept() override;

private:
    QListWidget* list_ = nullptr;
};

} // namespace quillon::gui
