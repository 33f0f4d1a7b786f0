#pragma once

#include <QStatusBar>
#include <QString>

class QLabel;
class QTime;

namespace quillon::gui {

// The strip along the bottom of the main window: the message (dark red), the mouse position on the
// edited screen (dark blue), the Ins / Cap / Num indicators and the clock. The indicators and the two
// session fields are shown only while a screen is being edited.
class ShellStatusBar final : public QStatusBar {
    Q_OBJECT
public:
    explicit ShellStatusBar(QWidget* parent);

    // Replaces the message only when it differs from the one shown. A message longer than its field is
    // cut with an ellipsis (the whole text is its tool tip): the fields on the right keep their places.
    void setMessage(const QString& text);
    QString message() const;
    // What the message field shows now.
    QString shownMessage() const;
    // "X:%3d  Y:%3d" in the screen's own units.
    void setCoordinates(int x, int y);
    void clearCoordinates();
    // The position field as the screen editor words it.
    void setCoordinatesText(const QString& text);
    QString coordinates() const;
    void setKeyIndicators(bool insert, bool capsLock, bool numLock);
    bool indicatorOn(const QString& name) const;
    void setSessionFieldsVisible(bool visible);
    bool sessionFieldsVisible() const noexcept { return sessionVisible_; }
    void setSessionFields(const QString& first, const QString& second);
    // "HH:MM"
    void showTime(const QTime& time);
    QString clock() const;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void elideMessage();

    QString fullMessage_;
    QLabel* message_ = nullptr;
    QLabel* coordinates_ = nullptr;
    QLabel* insert_ = nullptr;
    QLabel* caps_ = nullptr;
    QLabel* num_ = nullptr;
    QLabel* session1_ = nullptr;
    QLabel* session2_ = nullptr;
    QLabel* clock_ = nullptr;
    bool sessionVisible_ = false;
};

} // namespace quillon::gui
