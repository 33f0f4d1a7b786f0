#include "shell/KeyboardHook.h"

#include "shell/NewApplicationDialog.h"
#include "simulate/SimulateDialog.h"
#include "ui/ShellDialog.h"

#include <QApplication>
#include <QKeyEvent>
#include <QWidget>

namespace quillon::gui {

KeyboardHook::KeyboardHook(Actions actions, QObject* parent)
    : QObject(parent), actions_(std::move(actions)) {}

bool KeyboardHook::eventFilter(QObject* watched, QEvent* event) {
    // Every key press is announced by its shortcut check and ends with its release.
    if (event->type() == QEvent::ShortcutOverride || event->type() == QEvent::KeyRelease) {
        lastEvent_ = nullptr;
        lastWatched_ = nullptr;
    }
    if (event->type() != QEvent::KeyPress || !watched->isWidgetType()) {
        return QObject::eventFilter(watched, event);
    }
    const auto* widget = static_cast<QWidget*>(watched);
    if (event == lastEvent_ && lastWatched_ && lastWatched_->isWidgetType() && watched != lastWatched_ &&
        widget->isAncestorOf(static_cast<const QWidget*>(lastWatched_.data()))) {
        return QObject::eventFilter(watched, event);
    }
    lastEvent_ = event;
    lastWatched_ = watched;
    const auto* key = static_cast<QKeyEvent*>(event);
    QWidget* modal = QApplication::activeModalWidget();
    switch (key->key()) {
    case Qt::Key_F1:
        if (qobject_cast<SimulateDialog*>(modal) != nullptr) {
            // F1 is a key of the simulated keypad there.
            break;
        }
        if (key->isAutoRepeat()) {
            return true;
        }
        if (auto* dialog = qobject_cast<ShellDialog*>(modal)) {
            dialog->requestHelp();
        } else if (modal == nullptr && actions_.frontPageHelp) {
            actions_.frontPageHelp();
        }
        return true;
    case Qt::Key_Left:
    case Qt::Key_Right:
        if (auto* picker = qobject_cast<NewApplicationDialog*>(modal)) {
            if (key->key() == Qt::Key_Left) {
                picker->stepLeft();
            } else {
                picker->stepRight();
            }
            return true;
        }
        break;
    case Qt::Key_Insert:
        if (!key->isAutoRepeat()) {
            insert_ = !insert_;
        }
        break;
    case Qt::Key_CapsLock:
        caps_ = !caps_;
        break;
    case Qt::Key_NumLock:
        num_ = !num_;
        break;
    default:
        return QObject::eventFilter(watched, event);
    }
    if (actions_.indicators) {
        actions_.indicators(insert_, caps_, num_);
    }
    return QObject::eventFilter(watched, event);
}

} // namespace quillon::gui
