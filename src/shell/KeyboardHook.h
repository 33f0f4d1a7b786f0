#pragma once

#include <functional>

#include <QObject>
#include <QPointer>

namespace quillon::gui {

// Sees every key of the tool before the windows do. F1 opens the help front page when no dialog is
// open and the Help topic of the dialog that is; Left and Right step the model picker of the New
// Application dialog; Insert, Caps Lock and Num Lock refresh the status-bar indicators.
class KeyboardHook final : public QObject {
    Q_OBJECT
public:
    struct Actions {
        std::function<void()> frontPageHelp;
        std::function<void(bool insert, bool capsLock, bool numLock)> indicators;
    };

    explicit KeyboardHook(Actions actions, QObject* parent = nullptr);

    bool insertMode() const noexcept { return insert_; }
    bool capsLock() const noexcept { return caps_; }
    bool numLock() const noexcept { return num_; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    Actions actions_;
    // A key event nobody takes travels up to the parents and is offered again at each; only its first
    // offer counts. The next key's event may be built at the same address, so the memory is wiped
    // before each new key, and the receiver is watched in case it has gone since.
    const QEvent* lastEvent_ = nullptr;
    QPointer<QObject> lastWatched_;
    bool insert_ = false;
    bool caps_ = false;
    bool num_ = false;
};

} // namespace quillon::gui
