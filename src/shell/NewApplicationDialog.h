#pragma once

#include "shell/ModelChooser.h"
#include "ui/ShellDialog.h"

#include <array>
#include <cstdint>

class QButtonGroup;
class QKeyEvent;
class QLabel;

namespace quillon::gui {

// The model picker of a new application: every model of the catalog, the five offered ones first, then the
// two large graphic models and the older models kept for installed panels, with the description, supply
// voltage and serial interface of the one chosen. Left and Up step to the model before, Right and Down to
// the one after, Home and End to the first and the last.
class NewApplicationDialog final : public ShellDialog {
    Q_OBJECT
public:
    static constexpr int kFirstPickerId = 701; // picker ids are 701 + position
    static constexpr int kHelpTopic = 5026;

    NewApplicationDialog(QWidget* parent, ModelChooser::Accept accept);

    std::uint8_t position() const noexcept { return position_; }
    void selectPosition(std::uint8_t position);
    // The arrow keys: one row back or on; at the first or the last row nothing changes.
    void stepLeft();
    void stepRight();
    void stepFirst();
    void stepLast();
    std::uint16_t modelId() const noexcept;

    QString descriptionText() const;
    QString voltageText() const;
    QString interfaceText() const;

protected:
    void keyPressEvent(QKeyEvent* event) override;

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
