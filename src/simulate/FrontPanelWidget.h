#pragma once

#include <cstdint>
#include <map>

#include <QFrame>

class QToolButton;

namespace quillon {
class FrontPanel;
} // namespace quillon

namespace quillon::gui {

class SimulatorDisplay;

// The unit's front panel in the simulate window: a dark plate with the model's name, the display and the
// keys laid out as FrontPanel places them, each key showing its legend over its name ("1" over "F5"); a key
// without a legend shows its name. The buttons are named key5, key6 ... and take the focus.
class FrontPanelWidget final : public QFrame {
    Q_OBJECT
public:
    static constexpr int kKeyWidth = 44;
    static constexpr int kKeyHeight = 36;

    FrontPanelWidget(const FrontPanel& panel, const QString& modelName, SimulatorDisplay* display,
                     QWidget* parent = nullptr);

    QToolButton* button(std::uint8_t key) const;
    const std::map<std::uint8_t, QToolButton*>& buttons() const noexcept { return buttons_; }

private:
    std::map<std::uint8_t, QToolButton*> buttons_;
};

} // namespace quillon::gui
