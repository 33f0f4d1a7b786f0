#include "ScriptRunner.h"

#include <cstdio>

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QCursor>
#include <QFile>
#include <QFileDialog>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QPixmap>
#include <QToolButton>
#include <QToolTip>

namespace {

constexpr int kPollMs = 50;
constexpr int kStepTimeoutMs = 10000;
constexpr int kTransferTimeoutMs = 90000;

// A menu text as the user reads it: no mnemonic marks, no accelerator text.
QString plain(QString text) {
    const qsizetype tab = text.indexOf('\t');
    if (tab >= 0) {
        text.truncate(tab);
    }
    return text.remove('&').trimmed();
}

QAction* findEntry(const QList<QAction*>& actions, QStringList path) {
    if (path.isEmpty()) {
        return nullptr;
    }
    const QString head = path.takeFirst();
    for (QAction* action : actions) {
        if (plain(action->text()) != head) {
            continue;
        }
        if (path.isEmpty()) {
            return action;
        }
        if (action->menu() != nullptr) {
            return findEntry(action->menu()->actions(), path);
        }
    }
    return nullptr;
}

int keyOf(const QString& name) {
    static const QList<QPair<QString, int>> keys{
        {"Return", Qt::Key_Return}, {"Escape", Qt::Key_Escape}, {"Up", Qt::Key_Up},  {"Down", Qt::Key_Down},
        {"Left", Qt::Key_Left},     {"Right", Qt::Key_Right},   {"Tab", Qt::Key_Tab}};
    for (const auto& [text, key] : keys) {
        if (text == name) {
            return key;
        }
    }
    return 0;
}

void sendKey(QWidget* target, int key, const QString& text = {}) {
    QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier, text);
    QApplication::sendEvent(target, &press);
    QKeyEvent release(QEvent::KeyRelease, key, Qt::NoModifier, text);
    QApplication::sendEvent(target, &release);
}

} // namespace

ScriptRunner::ScriptRunner(QMainWindow& window, QStringList steps)
    : window_(window), steps_(std::move(steps)) {
    timer_.setInterval(kPollMs);
    connect(&timer_, &QTimer::timeout, this, &ScriptRunner::poll);
}

QStringList ScriptRunner::readSteps(const QString& file, QString& error) {
    QFile in(file);
    if (!in.open(QIODevice::ReadOnly | QIODevice::Text)) {
        error = QString("cannot read the script %1").arg(file);
        return {};
    }
    QStringList steps;
    for (const QString& line : QString::fromUtf8(in.readAll()).split('\n')) {
        const QString step = line.trimmed();
        if (!step.isEmpty() && !step.startsWith('#')) {
            steps << step;
        }
    }
    return steps;
}

void ScriptRunner::start() {
    timer_.start();
}

QWidget* ScriptRunner::modal() const {
    return QApplication::activeModalWidget();
}

void ScriptRunner::fail(const QString& reason) {
    timer_.stop();
    QString open;
    if (const QWidget* dialog = modal()) {
        open = QString(" [dialog up: '%1'").arg(dialog->windowTitle());
        if (const auto* box = qobject_cast<const QMessageBox*>(dialog)) {
            open += QString(", message '%1'").arg(box->text());
        }
        open += "]";
    }
    if (!lastShown_.isEmpty()) {
        open += QString(" [list shows '%1']").arg(lastShown_);
    }
    std::fprintf(stderr, "script step %d (%s): %s%s\n", next_ + 1, qPrintable(steps_.value(next_)),
                 qPrintable(reason), qPrintable(open));
    std::fflush(stderr);
    // Ending here is deliberate: a failed script must not leave a window waiting for a user.
    std::_Exit(1);
}

void ScriptRunner::poll() {
    if (next_ >= steps_.size()) {
        timer_.stop();
        return;
    }
    if (runStep(steps_[next_])) {
        std::printf("step %d: %s\n", next_ + 1, qPrintable(steps_[next_]));
        std::fflush(stdout);
        ++next_;
        waitedMs_ = 0;
        lastShown_.clear();
        return;
    }
    waitedMs_ += kPollMs;
    // A transfer at the line's own pace takes longer than a dialog takes to come up.
    const int limit = steps_[next_].startsWith("wait-text") ? kTransferTimeoutMs : kStepTimeoutMs;
    if (waitedMs_ > limit) {
        fail("timed out");
    }
}

bool ScriptRunner::runStep(const QString& step) {
    const qsizetype space = step.indexOf(' ');
    const QString verb = space < 0 ? step : step.left(space);
    const QString argument = space < 0 ? QString() : step.mid(space + 1).trimmed();

    if (verb == "menu") {
        if (modal() != nullptr) {
            return false;
        }
        QAction* entry = findEntry(window_.menuBar()->actions(), argument.split('/'));
        if (entry == nullptr) {
            fail("no such menu entry");
            return false;
        }
        if (!entry->isEnabled()) {
            fail("the menu entry is disabled");
            return false;
        }
        // Triggered from the event loop: the dialogs it opens run their own loops, and the next
        // steps are played from inside them.
        QTimer::singleShot(0, entry, &QAction::trigger);
        return true;
    }
    if (verb == "wait-dialog") {
        return modal() != nullptr && modal()->windowTitle() == argument && modal()->isVisible();
    }
    if (verb == "key" || verb == "type") {
        QWidget* window = modal() != nullptr ? modal() : &window_;
        QWidget* target = window->focusWidget() != nullptr ? window->focusWidget() : window;
        if (verb == "type") {
            for (const QChar c : argument) {
                sendKey(target, 0, QString(c));
            }
            return true;
        }
        const int key = keyOf(argument);
        if (key == 0) {
            fail("unknown key");
            return false;
        }
        sendKey(target, key);
        return true;
    }
    if (verb == "file") {
        auto* dialog = qobject_cast<QFileDialog*>(modal());
        if (dialog == nullptr) {
            return false;
        }
        // Typed into the name field and confirmed, as the user does; the dialog itself then checks the
        // name (and asks before overwriting).
        auto* name = dialog->findChild<QLineEdit*>("fileNameEdit");
        if (name == nullptr) {
            fail("the file dialog has no name field");
            return false;
        }
        name->setText(argument);
        if (!QMetaObject::invokeMethod(dialog, "accept", Qt::QueuedConnection)) {
            fail("the file dialog does not accept");
        }
        return true;
    }
    if (verb == "button") {
        if (modal() == nullptr) {
            return false;
        }
        for (QAbstractButton* button : modal()->findChildren<QAbstractButton*>()) {
            if (plain(button->text()) == argument && button->isVisible() && button->isEnabled()) {
                QTimer::singleShot(0, button, &QAbstractButton::click);
                return true;
            }
        }
        return false;
    }
    if (verb == "wait-text") {
        // A label of the dialog that is up shows exactly this text ("\n" and "\t" as escapes).
        if (modal() == nullptr) {
            return false;
        }
        QString wanted = argument;
        wanted.replace("\\n", "\n").replace("\\t", "\t");
        for (const QLabel* label : modal()->findChildren<QLabel*>()) {
            if (label->text() == wanted) {
                return true;
            }
        }
        return false;
    }
    if (verb == "hover") {
        // The pointer rests on the visible button whose tool tip is TEXT until the tip shows.
        QWidget* top = modal() != nullptr ? modal() : &window_;
        QAbstractButton* target = nullptr;
        for (QAbstractButton* button : top->findChildren<QAbstractButton*>()) {
            if (button->toolTip().trimmed() == argument && button->isVisible()) {
                target = button;
                break;
            }
        }
        if (target == nullptr) {
            return false;
        }
        const QPoint centre = target->mapToGlobal(target->rect().center());
        if (QCursor::pos() != centre) {
            QCursor::setPos(centre);
            return false;
        }
        return QToolTip::isVisible() && QToolTip::text().trimmed() == argument;
    }
    if (verb == "expect-title") {
        if (modal() != nullptr) {
            return false;
        }
        if (window_.windowTitle() != argument) {
            fail(QString("the title is '%1'").arg(window_.windowTitle()));
            return false;
        }
        std::printf("title: %s\n", qPrintable(window_.windowTitle()));
        return true;
    }
    if (verb == "screenshot") {
        if (modal() != nullptr) {
            return false;
        }
        if (!window_.grab().save(argument)) {
            fail("could not save the picture");
        }
        return true;
    }
    if (verb == "quit") {
        if (modal() != nullptr) {
            return false;
        }
        QTimer::singleShot(0, &window_, &QMainWindow::close);
        return true;
    }
    if (verb.startsWith("task-") || verb == "keypad-key") {
        return runTaskStep(verb, argument);
    }
    if (verb.startsWith("alarm-") || verb.startsWith("logger-") || verb == "context-menu") {
        return runAlarmLoggerStep(verb, argument);
    }
    fail("unknown step");
    return false;
}

// ---- Steps of the task-list and key editors ----

bool ScriptRunner::runTaskStep(const QString& verb, const QString& argument) {
    QWidget* dialog = modal();
    if (dialog == nullptr) {
        return false;
    }
    if (verb == "task-choose") {
        // Chooses a task kind in the "Select a Task to add" drop-down, which adds it to the chosen list.
        auto* choices = dialog->findChild<QComboBox*>("taskChoices");
        if (choices == nullptr || !choices->isVisible()) {
            return false;
        }
        const int index = choices->findText(argument);
        if (index < 0) {
            fail("the drop-down has no such task");
            return false;
        }
        QTimer::singleShot(0, choices, [choices, index] {
            choices->setCurrentIndex(index);
            emit choices->activated(index);
        });
        return true;
    }
    if (verb == "task-edit") {
        // task-edit LIST ROW: double-clicks a task of list LIST (0, 1, 2).
        const QStringList parts = argument.split(' ');
        auto* list = dialog->findChild<QListWidget*>(QString("tasks%1").arg(parts.value(0)));
        const int row = parts.value(1).toInt();
        if (list == nullptr || row < 0 || row >= list->count()) {
            return false;
        }
        QTimer::singleShot(0, list, [list, row] {
            list->setCurrentRow(row);
            emit list->itemDoubleClicked(list->item(row));
        });
        return true;
    }
    if (verb == "task-lines") {
        // task-lines LIST TEXT | TEXT ...: waits until list LIST shows exactly these lines ("-" none).
        const qsizetype space = argument.indexOf(' ');
        auto* list = dialog->findChild<QListWidget*>(QString("tasks%1").arg(argument.left(space)));
        if (list == nullptr) {
            return false;
        }
        const QString wanted = space < 0 ? QString() : argument.mid(space + 1).trimmed();
        QStringList lines;
        for (int i = 0; i < list->count(); ++i) {
            lines << list->item(i)->text();
        }
        const QString shown = lines.isEmpty() ? QString("-") : lines.join(" | ");
        lastShown_ = shown;
        return shown == wanted;
    }
    if (verb == "keypad-key") {
        // Clicks key N of the keypad picture in a key dialog.
        auto* key = dialog->findChild<QToolButton*>(QString("key%1").arg(argument));
        if (key == nullptr || !key->isVisible()) {
            return false;
        }
        QTimer::singleShot(0, key, &QToolButton::click);
        return true;
    }
    fail("unknown step");
    return false;
}

// ---- Steps of the alarms and logger editors ----

bool ScriptRunner::runAlarmLoggerStep(const QString& verb, const QString& argument) {
    if (verb == "context-menu") {
        // context-menu ENTRY: triggers an entry of the main window's right-click menu (the logger is
        // reached there).
        if (modal() != nullptr) {
            return false;
        }
        auto* menu = window_.findChild<QMenu*>("RB_ORVIK");
        QAction* entry = menu != nullptr ? findEntry(menu->actions(), {argument}) : nullptr;
        if (entry == nullptr) {
            fail("no such entry in the right-click menu");
            return false;
        }
        if (!entry->isEnabled()) {
            fail("the right-click entry is disabled");
            return false;
        }
        QTimer::singleShot(0, entry, &QAction::trigger);
        return true;
    }
    QWidget* dialog = modal();
    if (dialog == nullptr) {
        return false;
    }
    const auto listLines = [](const QListWidget* list, int role) {
        QStringList lines;
        for (int i = 0; i < list->count(); ++i) {
            lines << list->item(i)->data(role).toString();
        }
        return lines.isEmpty() ? QString("-") : lines.join(" | ");
    };
    if (verb == "alarm-lines") {
        // alarm-lines TEXT | TEXT ...: the alarm list shows exactly these lines ("\t" for the tabs).
        auto* list = dialog->findChild<QListWidget*>("alarmList");
        if (list == nullptr) {
            return false;
        }
        QString wanted = argument;
        wanted.replace("\\t", "\t");
        lastShown_ = listLines(list, Qt::UserRole);
        return lastShown_ == wanted;
    }
    if (verb == "alarm-edit") {
        // alarm-edit NUMBER: double-clicks the line of that alarm.
        auto* list = dialog->findChild<QListWidget*>("alarmList");
        if (list == nullptr) {
            return false;
        }
        for (int row = 0; row < list->count(); ++row) {
            if (list->item(row)->data(Qt::UserRole + 1).toInt() == argument.toInt()) {
                QTimer::singleShot(0, list, [list, row] {
                    list->setCurrentRow(row);
                    emit list->itemActivated(list->item(row));
                });
                return true;
            }
        }
        return false;
    }
    if (verb == "alarm-choose" || verb == "logger-choose") {
        // alarm-choose NAME TEXT: chooses TEXT in the drop-down or list named NAME.
        const qsizetype space = argument.indexOf(' ');
        const QString name = argument.left(space);
        const QString text = space < 0 ? QString() : argument.mid(space + 1).trimmed();
        if (auto* combo = dialog->findChild<QComboBox*>(name); combo != nullptr && combo->isEnabled()) {
            // Entries are compared without their leading and trailing spaces (" ( Space )").
            int index = -1;
            for (int i = 0; i < combo->count() && index < 0; ++i) {
                index = combo->itemText(i).trimmed() == text ? i : -1;
            }
            if (index < 0) {
                fail("the drop-down has no such entry");
                return false;
            }
            QTimer::singleShot(0, combo, [combo, index] {
                combo->setCurrentIndex(index);
                emit combo->activated(index);
            });
            return true;
        }
        if (auto* list = dialog->findChild<QListWidget*>(name); list != nullptr && list->isEnabled()) {
            const auto found = list->findItems(text, Qt::MatchExactly);
            if (found.isEmpty()) {
                lastShown_ = listLines(list, Qt::DisplayRole);
                fail("the list has no such line");
                return false;
            }
            QTimer::singleShot(0, list, [list, item = found.front()] { list->setCurrentItem(item); });
            return true;
        }
        return false;
    }
    if (verb == "logger-lines") {
        // logger-lines NAME TEXT | TEXT ...: list NAME shows exactly these lines ("-" none).
        const qsizetype space = argument.indexOf(' ');
        auto* list = dialog->findChild<QListWidget*>(argument.left(space));
        if (list == nullptr) {
            return false;
        }
        lastShown_ = listLines(list, Qt::DisplayRole);
        return lastShown_ == (space < 0 ? QString() : argument.mid(space + 1).trimmed());
    }
    if (verb == "logger-header") {
        // logger-header TEXT: the page header field shows exactly TEXT.
        auto* header = dialog->findChild<QLineEdit*>("pageHeader");
        if (header == nullptr) {
            return false;
        }
        lastShown_ = header->text();
        return header->text() == argument;
    }
    fail("unknown step");
    return false;
}
