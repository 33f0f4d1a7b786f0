#pragma once

#include "shell/ModelChooser.h"
#include "ui/ShellDialog.h"

#include <array>
#include <cstdint>

class QButtonGroup;
class QLabel;

namespace quillon::gui {

// The model picker of a new application: the five models offered, with description, supply voltage
// and serial interface of the one chosen; Left and Right step through the five. The two graphic models
// listed after them can be chosen but are refused on Ok.
class NewApplicationDialog final : public ShellDialog {
    Q_OBJECT
public:
    static constexpr int kFirstPickerId = 701; // picker ids are 701 + position
    static constexpr int kHelpTopic = 5026;

    NewApplicationDialog(QWidget* parent, ModelChooser::Accept accept);

    std::uint8_t position() const noexcept { return position_; }
    void selectPosition(std::uint8_t position);
    // The arrow keys: Left asks for picker id 700 + position, Right for 702 + position (705 at the last
    // of the five); an id the picker does not have changes nothing.
    void stepLeft();
    void stepRight();

    QString descriptionText() const;
    QString voltageText() const;
    QString interfaceText() const;

private:
    void pickId(int pickerId);
    void tryAccept();
    void showDetails();

    ModelChooser::Accept accept_;
    QButtonGroup* picker_ = nullptr;
    QLabel* description_ = nullptr;
    QLabel* voltage_ = nullptr;
    QLabel* interface_ = nullptr;
    std::uint8_t position_ = 0;
};

} // namespace quillon::gui
