#pragma once

#include "ui/ShellDialog.h"

#include <cstdint>
#include <functional>
#include <optional>
#include <vector>

class QListWidget;
class QPushButton;

namespace quillon {
class Application;
}

namespace quillon::gui {

// A list of screens in number order from which one is chosen with Ok or a double click. Select Screen
// makes the choice the editor's current screen; Goto Screen stores it in the task being edited. The key
// mode lists only the screens that define a key as a screen key, takes no choice, and opens the keys of
// the screen chosen with its "Keys for Screen" button.
class SelectScreenDialog final : public ShellDialog {
    Q_OBJECT
public:
    enum class Mode : std::uint8_t { SelectScreen = 0, GotoScreen = 1, KeyScreens = 2 };
    static constexpr const char* kNoKeyScreens =
        "There are no Screens for which the selected Key is defined.";

    // `selected` names the screen selected on opening; without it (or when it does not exist) Goto Screen
    // selects the first screen and Select Screen none.
    SelectScreenDialog(QWidget* parent, const Application& application, Mode mode,
                       std::optional<std::uint32_t> selected);
    // The key mode: the screens whose keys include `keyCode`; `openKeys` opens a screen's keys.
    SelectScreenDialog(QWidget* parent, const Application& application, std::uint16_t keyCode,
                       std::function<void(std::uint32_t screen)> openKeys);

    // The number of the screen selected in the list.
    std::optional<std::uint32_t> chosenNumber() const;
    QListWidget* list() const noexcept { return list_; }
    bool isEmpty() const;
    // Screens whose keys include the code.
    static std::vector<std::uint32_t> screensDefiningKey(const Application& application,
                                                         std::uint16_t keyCode);

    void accept() override;

private:
    void build(const Application& application, const std::vector<std::uint32_t>* only,
               std::optional<std::uint32_t> selected);

    Mode mode_;
    QListWidget* list_ = nullptr;
    QPushButton* keysButton_ = nullptr;
};

} // namespace quillon::gui
