#pragma once

#include <functional>

#include <QWidget>

class QLineEdit;
class QToolButton;

namespace quillon::gui {

// A field of an address part (or of a size, or a bit number) with its up and down buttons. The owner
// decides what typing, leaving and stepping do; the field only reports them.
class AddressPartEdit final : public QWidget {
    Q_OBJECT
public:
    explicit AddressPartEdit(QWidget* parent, const QString& name);

    QLineEdit* edit() const noexcept { return edit_; }
    QString text() const;
    void setText(const QString& text);

    // Called with the typed text; returns the text to keep.
    std::function<QString(const QString&)> onType;
    // Called when the field is left; returns the text to show.
    std::function<QString(const QString&)> onLeave;
    // Called by the buttons and the Up and Down keys; returns the new text.
    std::function<QString(const QString&, bool up)> onStep;

signals:
    void changed();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void step(bool up);

    QLineEdit* edit_ = nullptr;
    QToolButton* up_ = nullptr;
    QToolButton* down_ = nullptr;
    bool busy_ = false;
};

} // namespace quillon::gui
