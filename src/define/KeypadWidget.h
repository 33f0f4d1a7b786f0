#pragma once

#include "edit/define/Keypad.h"

#include <functional>
#include <map>

#include <QWidget>

class QToolButton;

namespace quillon {
class Application;
class KeySelection;
class PictureSource;
} // namespace quillon

namespace quillon::gui {

// The keypad of the model as buttons: each shows its caption and the picture of its global key (the
// marker of an undefined key, a task's symbol, or the key's legend), drawn pressed while selected.
class KeypadWidget final : public QWidget {
    Q_OBJECT
public:
    KeypadWidget(QWidget* parent, const Application& application, const KeypadLayout& layout,
                 const PictureSource* pictures);

    QToolButton* button(std::uint8_t key) const;
    // Redraws every button for the selection and the application's global keys.
    void update(const KeySelection& selection);
    // The picture number a button shows now.
    int picture(std::uint8_t key) const;

signals:
    void keyClicked(std::uint8_t key);

private:
    const Application& app_;
    KeypadLayout layout_;
    const PictureSource* pictures_;
    std::map<std::uint8_t, QToolButton*> buttons_;
    std::map<std::uint8_t, int> shown_;
};

} // namespace quillon::gui
