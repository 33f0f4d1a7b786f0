#include "ScriptRunner.h"

#include "edit/define/Keypad.h"
#include "model/Screen.h"
#include "shell/NavigatorDock.h"
#include "sim/Simulator.h"
#include "simulate/LiveNodesPanel.h"
#include "simulate/SimulateDialog.h"
#include "simulate/SimulatorDisplay.h"
#include "ui/ShellStatusBar.h"

#include <cstdio>
#include <optional>

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QContextMenuEvent>
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
#include <QMouseEvent>
#include <QPixmap>
#include <QPrintDialog>
#include <QStatusBar>
#include <QTabWidget>
#include <QTableWidget>
#include <QToolBar>
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
        {"Return", Qt::Key_Return}, {"Escape", Qt::Key_Escape},   {"Up", Qt::Key_Up},
        {"Down", Qt::Key_Down},     {"Left", Qt::Key_Left},       {"Right", Qt::Key_Right},
        {"Tab", Qt::Key_Tab},       {"Delete", Qt::Key_Delete},   {"Space", Qt::Key_Space},
        {"F1", Qt::Key_F1},         {"Backtab", Qt::Key_Backtab}, {"Home", Qt::Key_Home},
        {"End", Qt::Key_End},       {"PageUp", Qt::Key_PageUp},   {"PageDown", Qt::Key_PageDown}};
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

// "target|text": the part before the first bar names the widget, the rest is the text ("\n", "\t" escapes).
bool splitArgument(const QString& argument, QString& target, QString& text) {
    const qsizetype bar = argument.indexOf('|');
    if (bar < 0) {
        return false;
    }
    target = argument.left(bar).trimmed();
    text = argument.mid(bar + 1);
    text.replace("\\n", "\n").replace("\\t", "\t");
    return true;
}

// A widget of the window by its object name, or the field a label names (the label's buddy), as the user
// reads the label: no mnemonic marks.
QWidget* findTarget(QWidget* window, const QString& target) {
    for (QWidget* widget : window->findChildren<QWidget*>()) {
        if (widget->objectName() == target && widget->isVisible()) {
            return widget;
        }
    }
    for (QLabel* label : window->findChildren<QLabel*>()) {
        if (label->buddy() != nullptr && label->isVisible() && plain(label->text()) == target) {
            return label->buddy();
        }
    }
    return nullptr;
}

// The text of a row of a list or table: every column joined by tabs.
QString rowText(const QAbstractItemModel* model, int row) {
    QStringList cells;
    for (int c = 0; c < model->columnCount(); ++c) {
        cells << model->index(row, c).data().toString();
    }
    return cells.join('\t');
}

// The first row one of whose cells, or all of them joined by tabs, is the text; -1 when none is.
int findRow(const QAbstractItemModel* model, const QString& text) {
    for (int row = 0; row < model->rowCount(); ++row) {
        if (rowText(model, row) == text) {
            return row;
        }
        for (int c = 0; c < model->columnCount(); ++c) {
            if (model->index(row, c).data().toString() == text) {
                return row;
            }
        }
    }
    return -1;
}

// What a field shows: the text of a line edit, the current entry of a combo box, the text of a label.
std::optional<QString> shownText(QWidget* widget) {
    if (auto* edit = qobject_cast<QLineEdit*>(widget)) {
        return edit->text();
    }
    if (auto* combo = qobject_cast<QComboBox*>(widget)) {
        return combo->currentText();
    }
    if (auto* label = qobject_cast<QLabel*>(widget)) {
        return label->text();
    }
    if (auto* button = qobject_cast<QAbstractButton*>(widget)) {
        return button->isChecked() ? QString("checked") : QString("unchecked");
    }
    return std::nullopt;
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
    if (verb.startsWith("nav-")) {
        return runNavigatorStep(verb, argument);
    }
    if (verb == "wait-dialog") {
        return modal() != nullptr && modal()->windowTitle().trimmed() == argument && modal()->isVisible();
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
        // Sent from the event loop: a key that opens a modal dialog (a question before a delete) must not
        // hold this step while the dialog waits for the next ones.
        QTimer::singleShot(0, target, [target, key] { sendKey(target, key); });
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
    if (verb == "expect-print-file") {
        // The file the system's print dialog proposes for a PDF file.
        auto* dialog = qobject_cast<QPrintDialog*>(modal());
        if (dialog == nullptr || !dialog->isVisible()) {
            return false;
        }
        auto* name = dialog->findChild<QLineEdit*>("filename");
        if (name == nullptr || name->text() != argument) {
            fail(QString("the print dialog proposes '%1'").arg(name != nullptr ? name->text() : QString()));
            return false;
        }
        return true;
    }
    if (verb == "expect-status") {
        // The message field of the main window's status bar.
        auto* status = qobject_cast<quillon::gui::ShellStatusBar*>(window_.statusBar());
        if (modal() != nullptr || status == nullptr) {
            return false;
        }
        if (status->message() != argument) {
            fail(QString("the status bar says '%1'").arg(status->message()));
            return false;
        }
        return true;
    }
    if (verb == "print-to-file" || verb == "print-to-printer") {
        // The system's print dialog: its printer list set to the PDF file (named in its file field) or to a
        // printer queue, then Print, as the user does (the dialog asks before it overwrites a file).
        auto* dialog = qobject_cast<QPrintDialog*>(modal());
        if (dialog == nullptr || !dialog->isVisible()) {
            return false;
        }
        auto* printers = dialog->findChild<QComboBox*>("printers");
        auto* name = dialog->findChild<QLineEdit*>("filename");
        if (printers == nullptr || name == nullptr) {
            fail("the print dialog has no printer list or file name field");
            return false;
        }
        const bool toFile = verb == "print-to-file";
        const int entry = printers->findText(toFile ? QString("Print to File (PDF)") : argument);
        if (entry < 0) {
            fail(toFile ? "the print dialog offers no PDF file"
                        : "the print dialog does not list this printer");
            return false;
        }
        printers->setCurrentIndex(entry);
        if (toFile) {
            name->setText(argument);
        }
        if (!QMetaObject::invokeMethod(dialog, "accept", Qt::QueuedConnection)) {
            fail("the print dialog does not accept");
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
            // Script lines lose their trailing blanks; a message that ends in one still matches.
            if (label->text() == wanted || label->text().trimmed() == wanted) {
                return true;
            }
        }
        return false;
    }
    if (verb == "choose" || verb == "double-click" || verb == "set" || verb == "expect" ||
        verb == "expect-row" || verb == "expect-no-row" || verb == "expect-rows" ||
        verb == "expect-current") {
        return runFieldStep(verb, argument);
    }
    if (verb == "check" || verb == "uncheck") {
        QWidget* window = modal() != nullptr ? modal() : &window_;
        for (QAbstractButton* box : window->findChildren<QAbstractButton*>()) {
            if (box->isCheckable() && plain(box->text()) == argument && box->isVisible()) {
                if (!box->isEnabled()) {
                    fail("the box is disabled");
                    return false;
                }
                if (box->isChecked() != (verb == "check")) {
                    box->click();
                }
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
        // The title as shown: the placeholder of unsaved changes becomes an asterisk.
        const QString shown =
            QString(window_.windowTitle())
                .replace(QStringLiteral("[*]"), window_.isWindowModified() ? QStringLiteral("*") : QString());
        if (shown != argument) {
            fail(QString("the title is '%1'").arg(shown));
            return false;
        }
        std::printf("title: %s\n", qPrintable(shown));
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
    if (verb == "screenshot-dialog") {
        if (modal() == nullptr) {
            return false;
        }
        if (!modal()->grab().save(argument)) {
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
    if (verb == "canvas-menu") {
        return runEditingStep(verb, argument);
    }
    if (verb.startsWith("canvas-")) {
        return runCanvasStep(verb, argument);
    }
    if (verb.startsWith("sim-")) {
        return runSimulatorStep(verb, argument);
    }
    if (verb.startsWith("tool-") || verb == "shortcut" || verb == "expect-menu") {
        return runEditingStep(verb, argument);
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

bool ScriptRunner::runFieldStep(const QString& verb, const QString& argument) {
    QString target;
    QString text;
    if (!splitArgument(argument, target, text)) {
        fail("the step needs TARGET|TEXT");
        return false;
    }
    QWidget* window = modal() != nullptr ? modal() : &window_;
    QWidget* widget = findTarget(window, target);
    if (widget == nullptr) {
        return false; // the dialog may not be up yet
    }
    if (verb == "set") {
        auto* edit = qobject_cast<QLineEdit*>(widget);
        if (edit == nullptr || !edit->isEnabled() || edit->isReadOnly()) {
            fail("not an editable field");
            return false;
        }
        // Typed as the user types: the field's own filters see every key.
        edit->setFocus();
        edit->selectAll();
        sendKey(edit, Qt::Key_Backspace);
        for (const QChar c : text) {
            sendKey(edit, 0, QString(c));
        }
        QMetaObject::invokeMethod(edit, "editingFinished", Qt::DirectConnection);
        return true;
    }
    if (verb == "expect") {
        const auto shown = shownText(widget);
        if (!shown) {
            fail("the field shows no text");
            return false;
        }
        if (*shown != text) {
            fail(QString("it shows '%1'").arg(*shown));
            return false;
        }
        return true;
    }
    if (auto* combo = qobject_cast<QComboBox*>(widget)) {
        if (verb != "choose") {
            fail("a combo box has no rows to click");
            return false;
        }
        const int index = combo->findText(text);
        if (index < 0 || !combo->isEnabled()) {
            fail(index < 0 ? "no such entry" : "the list is disabled");
            return false;
        }
        combo->setCurrentIndex(index);
        emit combo->activated(index);
        return true;
    }
    auto* view = qobject_cast<QAbstractItemView*>(widget);
    if (view == nullptr || view->model() == nullptr) {
        fail("not a list");
        return false;
    }
    const QAbstractItemModel* model = view->model();
    if (verb == "expect-rows") {
        if (model->rowCount() != text.toInt()) {
            fail(QString("the list has %1 rows").arg(model->rowCount()));
            return false;
        }
        return true;
    }
    if (verb == "expect-current") {
        const QModelIndex current = view->currentIndex();
        bool matches = current.isValid() && rowText(model, current.row()) == text;
        for (int c = 0; current.isValid() && !matches && c < model->columnCount(); ++c) {
            matches = model->index(current.row(), c).data().toString() == text;
        }
        if (!matches) {
            lastShown_ = current.isValid() ? rowText(model, current.row()) : QString("-");
            return false; // the dialog may choose the row once it is up
        }
        return true;
    }
    const int row = findRow(model, text);
    if (verb == "expect-row" || verb == "expect-no-row") {
        if ((row >= 0) != (verb == "expect-row")) {
            fail(row >= 0 ? "the row is there" : "no such row");
            return false;
        }
        return true;
    }
    if (row < 0) {
        fail("no such row");
        return false;
    }
    const QModelIndex index = model->index(row, 0);
    view->setFocus();
    view->scrollTo(index);
    view->setCurrentIndex(index);
    if (verb == "double-click") {
        // A real double click on the row, so that the view does what it does for the user.
        const QPoint at = view->visualRect(index).center();
        QMouseEvent press(QEvent::MouseButtonPress, at, view->viewport()->mapToGlobal(at), Qt::LeftButton,
                          Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(view->viewport(), &press);
        QMouseEvent release(QEvent::MouseButtonRelease, at, view->viewport()->mapToGlobal(at), Qt::LeftButton,
                            Qt::NoButton, Qt::NoModifier);
        QApplication::sendEvent(view->viewport(), &release);
        QMouseEvent twice(QEvent::MouseButtonDblClick, at, view->viewport()->mapToGlobal(at), Qt::LeftButton,
                          Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(view->viewport(), &twice);
        QApplication::sendEvent(view->viewport(), &release);
    }
    return true;
}

// ---- Steps on the screen session's canvas (placement tools, text typed on the canvas) ----

bool ScriptRunner::runCanvasStep(const QString& verb, const QString& argument) {
    if (modal() != nullptr) {
        return false;
    }
    auto* canvas = window_.findChild<QWidget*>("screenCanvas");
    if (canvas == nullptr || !canvas->isVisible()) {
        return false;
    }
    // Unit pixels of the screen to the canvas's client pixels at its zoom and scroll position.
    const auto client = [canvas](int x, int y) {
        QPoint point;
        QMetaObject::invokeMethod(canvas, "clientPointOf", Qt::DirectConnection, Q_RETURN_ARG(QPoint, point),
                                  Q_ARG(int, x), Q_ARG(int, y));
        return point;
    };
    const auto mouse = [canvas](QEvent::Type type, const QPoint& at, Qt::MouseButton button,
                                Qt::MouseButtons buttons) {
        QMouseEvent event(type, QPointF(at), canvas->mapToGlobal(QPointF(at)), button, buttons,
                          Qt::NoModifier);
        QApplication::sendEvent(canvas, &event);
    };
    QList<int> numbers;
    for (const QString& part : argument.split(' ', Qt::SkipEmptyParts)) {
        numbers << part.toInt();
    }
    if (verb == "canvas-click" || verb == "canvas-double-click" || verb == "canvas-right-click") {
        if (numbers.size() != 2) {
            fail("give the unit-pixel position X Y");
            return false;
        }
        const QPoint at = client(numbers[0], numbers[1]);
        const bool twice = verb == "canvas-double-click";
        const bool right = verb == "canvas-right-click";
        // Played from the event loop: a dialog that the click opens is answered by the next steps.
        QTimer::singleShot(0, canvas, [canvas, at, twice, right, mouse] {
            canvas->setFocus(Qt::MouseFocusReason);
            if (right) {
                mouse(QEvent::MouseButtonPress, at, Qt::RightButton, Qt::RightButton);
                mouse(QEvent::MouseButtonRelease, at, Qt::RightButton, Qt::NoButton);
                QContextMenuEvent menu(QContextMenuEvent::Mouse, at, canvas->mapToGlobal(at));
                QApplication::sendEvent(canvas, &menu);
                return;
            }
            mouse(QEvent::MouseButtonPress, at, Qt::LeftButton, Qt::LeftButton);
            mouse(QEvent::MouseButtonRelease, at, Qt::LeftButton, Qt::NoButton);
            if (twice) {
                mouse(QEvent::MouseButtonDblClick, at, Qt::LeftButton, Qt::LeftButton);
                mouse(QEvent::MouseButtonRelease, at, Qt::LeftButton, Qt::NoButton);
            }
        });
        return true;
    }
    if (verb == "canvas-drag") {
        if (numbers.size() != 4) {
            fail("give the unit-pixel positions X1 Y1 X2 Y2");
            return false;
        }
        const QPoint from = client(numbers[0], numbers[1]);
        const QPoint to = client(numbers[2], numbers[3]);
        QTimer::singleShot(0, canvas, [canvas, from, to, mouse] {
            canvas->setFocus(Qt::MouseFocusReason);
            mouse(QEvent::MouseButtonPress, from, Qt::LeftButton, Qt::LeftButton);
            constexpr int kSteps = 4;
            for (int i = 1; i <= kSteps; ++i) {
                const QPoint at = from + (to - from) * i / kSteps;
                mouse(QEvent::MouseMove, at, Qt::NoButton, Qt::LeftButton);
            }
            mouse(QEvent::MouseButtonRelease, to, Qt::LeftButton, Qt::NoButton);
        });
        return true;
    }
    if (verb == "canvas-type") {
        canvas->setFocus(Qt::OtherFocusReason);
        for (const QChar c : argument) {
            sendKey(canvas, 0, QString(c));
        }
        return true;
    }
    if (verb == "canvas-key") {
        static const QList<QPair<QString, int>> keys{{"Backspace", Qt::Key_Backspace},
                                                     {"Delete", Qt::Key_Delete},
                                                     {"Home", Qt::Key_Home},
                                                     {"End", Qt::Key_End},
                                                     {"Left", Qt::Key_Left},
                                                     {"Right", Qt::Key_Right},
                                                     {"Up", Qt::Key_Up},
                                                     {"Down", Qt::Key_Down},
                                                     {"Escape", Qt::Key_Escape},
                                                     {"Return", Qt::Key_Return}};
        for (const auto& [name, key] : keys) {
            if (name == argument) {
                // From the event loop: the Delete key's question is answered by the next steps.
                QTimer::singleShot(0, canvas, [canvas, key = key] {
                    canvas->setFocus(Qt::OtherFocusReason);
                    sendKey(canvas, key);
                });
                return true;
            }
        }
        fail("unknown key");
        return false;
    }
    fail("unknown step");
    return false;
}

// ---- Steps of the screen editor's commands: right-button menus, tool bars, accelerators ----

bool ScriptRunner::runEditingStep(const QString& verb, const QString& argument) {
    if (verb == "canvas-menu") {
        // canvas-menu ENTRY: the right-button menu that a canvas-right-click opened; its entry is chosen.
        auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
        if (menu == nullptr || !menu->isVisible()) {
            return false;
        }
        QAction* entry = findEntry(menu->actions(), {argument});
        if (entry == nullptr) {
            fail("no such entry in the right-button menu " + menu->objectName());
            return false;
        }
        if (!entry->isEnabled()) {
            fail("the right-button entry is disabled");
            return false;
        }
        QTimer::singleShot(0, menu, [menu, entry] {
            menu->hide();
            entry->trigger();
        });
        return true;
    }
    if (modal() != nullptr || QApplication::activePopupWidget() != nullptr) {
        return false;
    }
    if (verb == "shortcut") {
        // shortcut KEYS: the accelerator (Ctrl+Z, Ctrl+X ...) the main window holds for the keys.
        const QKeySequence keys(argument);
        for (QAction* action : window_.findChildren<QAction*>()) {
            if (action->shortcut() == keys && action->shortcut().count() > 0) {
                if (!action->isEnabled()) {
                    fail("the accelerator's command is disabled");
                    return false;
                }
                QTimer::singleShot(0, action, &QAction::trigger);
                return true;
            }
        }
        fail("no accelerator " + argument);
        return false;
    }
    if (verb == "expect-menu") {
        // expect-menu PATH|enabled, disabled, checked or unchecked: the state of a menu entry.
        const qsizetype bar = argument.lastIndexOf('|');
        const QString state = argument.mid(bar + 1);
        QAction* entry =
            bar < 0 ? nullptr : findEntry(window_.menuBar()->actions(), argument.left(bar).split('/'));
        if (entry == nullptr) {
            fail("no such menu entry");
            return false;
        }
        const bool holds = state == "enabled"     ? entry->isEnabled()
                           : state == "disabled"  ? !entry->isEnabled()
                           : state == "checked"   ? entry->isChecked()
                           : state == "unchecked" ? !entry->isChecked()
                                                  : false;
        if (!holds) {
            fail("the menu entry is not " + state);
            return false;
        }
        return true;
    }
    // tool-button TIP, tool-choose NAME|TEXT: the session's tool bars.
    const QList<QToolBar*> bars = window_.findChildren<QToolBar*>();
    if (verb == "tool-button") {
        for (QToolBar* bar : bars) {
            if (!bar->isVisible()) {
                continue;
            }
            for (QAction* action : bar->actions()) {
                if (!action->isSeparator() && action->toolTip() == argument && action->isVisible()) {
                    if (!action->isEnabled()) {
                        fail("the tool-bar button is disabled");
                        return false;
                    }
                    QTimer::singleShot(0, action, &QAction::trigger);
                    return true;
                }
            }
        }
        fail("no tool-bar button " + argument);
        return false;
    }
    if (verb == "tool-choose") {
        const qsizetype bar = argument.indexOf('|');
        const QString name = argument.left(bar);
        const QString text = argument.mid(bar + 1);
        for (QToolBar* toolBar : bars) {
            auto* box = toolBar->findChild<QComboBox*>(name);
            // A box folded away behind the bar's extension button still counts: the user reaches it there.
            if (box == nullptr || !toolBar->isVisible()) {
                continue;
            }
            const int index = box->findText(text);
            if (index < 0) {
                fail("no entry " + text + " in " + name);
                return false;
            }
            if (!box->isEnabled()) {
                fail("the tool-bar box is disabled");
                return false;
            }
            QTimer::singleShot(0, box, [box, index] {
                box->setCurrentIndex(index);
                emit box->activated(index);
            });
            return true;
        }
        fail("no tool-bar box " + name);
        return false;
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

bool ScriptRunner::runSimulatorStep(const QString& verb, const QString& argument) {
    auto* dialog = qobject_cast<quillon::gui::SimulateDialog*>(modal());
    if (dialog == nullptr || !dialog->isVisible()) {
        return false; // the window may not be up yet
    }
    const QStringList words = argument.split(' ', Qt::SkipEmptyParts);
    if (verb == "sim-key" || verb == "sim-key-down" || verb == "sim-key-up") {
        // Presses (and lets go of) key N (or FN, as keys are named) of the simulated keypad, as a click on
        // its button does.
        const auto code = quillon::parseKeyName(argument.trimmed().toStdString());
        const bool ok = code && *code <= 0xFF;
        auto* button = ok ? dialog->findChild<QToolButton*>(QString("key%1").arg(*code)) : nullptr;
        if (button == nullptr) {
            fail("the keypad has no such key");
            return false;
        }
        if (verb != "sim-key-up") {
            emit button->pressed();
        }
        if (verb != "sim-key-down") {
            emit button->released();
        }
        return true;
    }
    if (verb == "sim-touch") {
        // A click on the display at unit pixel X Y.
        if (words.size() != 2) {
            fail("the step needs X Y");
            return false;
        }
        auto& display = dialog->display();
        const QPoint at = display.widgetPoint(QPoint(words[0].toInt(), words[1].toInt()));
        QMouseEvent press(QEvent::MouseButtonPress, at, display.mapToGlobal(at), Qt::LeftButton,
                          Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(&display, &press);
        QMouseEvent release(QEvent::MouseButtonRelease, at, display.mapToGlobal(at), Qt::LeftButton,
                            Qt::NoButton, Qt::NoModifier);
        QApplication::sendEvent(&display, &release);
        return true;
    }
    if (verb == "sim-expect-screen") {
        // Waits until screen N is shown.
        const quillon::Screen* shown = dialog->simulator().screen();
        lastShown_ = shown != nullptr ? QString::number(shown->number()) : QString("none");
        return lastShown_ == argument;
    }
    if (verb == "sim-simulated") {
        // The Nodes tab's Simulated for node N.
        dialog->liveNodes().setSimulated(static_cast<std::uint8_t>(argument.trimmed().toUInt()));
        return true;
    }
    QString target;
    QString text;
    if (verb == "sim-live" || verb == "sim-expect-node") {
        bool number = false;
        const unsigned node = splitArgument(argument, target, text) ? target.toUInt(&number) : 0;
        if (!number || node > 255) {
            fail("the step needs NODE|TEXT");
            return false;
        }
        auto& nodes = dialog->liveNodes();
        if (verb == "sim-live") {
            // The Nodes tab (brought to the front) and its Live for node N on the connection; a refused
            // connection fails the step.
            QWidget* stack = nodes.parentWidget();
            if (auto* tabs = qobject_cast<QTabWidget*>(stack != nullptr ? stack->parentWidget() : nullptr)) {
                tabs->setCurrentWidget(&nodes);
            }
            const quillon::Status made = nodes.setLive(static_cast<std::uint8_t>(node), text);
            if (!made.ok()) {
                fail(QString::fromStdString(made.message()));
            }
            return made.ok();
        }
        // Waits until the node's Memory or Status cell holds the text.
        const auto n = static_cast<std::uint8_t>(node);
        lastShown_ = nodes.cell(n, 1) + " | " + nodes.cell(n, 2);
        return lastShown_.contains(text);
    }
    if (!splitArgument(argument, target, text)) {
        fail("the step needs TAG|VALUE");
        return false;
    }
    auto* table = dialog->findChild<QTableWidget*>("simulatorTags");
    int row = -1;
    for (int r = 0; table != nullptr && r < table->rowCount(); ++r) {
        if (table->item(r, 0)->text() == target) {
            row = r;
        }
    }
    if (row < 0) {
        fail("the tag table has no such tag");
        return false;
    }
    if (verb == "sim-set") {
        // Typed into the value cell, as the user edits it.
        table->item(row, 2)->setText(text);
        return true;
    }
    if (verb == "sim-expect") {
        // Waits until the value cell shows the value.
        lastShown_ = table->item(row, 2)->text();
        return lastShown_ == text;
    }
    fail("unknown step");
    return false;
}

bool ScriptRunner::runNavigatorStep(const QString& verb, const QString& argument) {
    if (modal() != nullptr) {
        return false;
    }
    auto* navigator = window_.findChild<quillon::gui::NavigatorDock*>();
    if (navigator == nullptr || !navigator->isVisible()) {
        fail("the navigator is not shown");
        return false;
    }
    if (verb == "nav-open") {
        if (navigator->find(argument) == nullptr) {
            fail("no such navigator item");
            return false;
        }
        // Opened from the event loop: the editor's dialog runs its own loop, the next steps inside it.
        QTimer::singleShot(0, navigator, [navigator, argument] { navigator->openPath(argument); });
        return true;
    }
    if (verb == "nav-search") {
        navigator->searchField()->setText(argument);
        navigator->search(argument);
        if (navigator->results()->count() == 0) {
            fail("nothing found");
            return false;
        }
        QTimer::singleShot(0, navigator, [navigator] { navigator->chooseResult(0); });
        return true;
    }
    if (verb == "nav-menu") {
        QString path;
        QString entry;
        if (!splitArgument(argument, path, entry)) {
            fail("the step needs PATH|ENTRY");
            return false;
        }
        const quillon::ProjectItem* item = navigator->find(path);
        if (item == nullptr) {
            fail("no such navigator item");
            return false;
        }
        auto* menu = new QMenu(navigator);
        navigator->fillMenu(*menu, *item);
        QAction* chosen = nullptr;
        for (QAction* action : menu->actions()) {
            if (!action->isSeparator() && action->text().remove('&') == entry) {
                chosen = action;
            }
        }
        if (chosen == nullptr || !chosen->isEnabled()) {
            delete menu;
            fail(chosen == nullptr ? "no such menu entry" : "the menu entry is grayed");
            return false;
        }
        // Chosen from the event loop: the editor's dialog or question runs its own loop.
        QTimer::singleShot(0, navigator, [menu, chosen] {
            chosen->trigger();
            menu->deleteLater();
        });
        return true;
    }
    if (verb == "nav-expect") {
        QString path = argument;
        QString label;
        const bool withLabel = splitArgument(argument, path, label);
        const quillon::ProjectItem* item = navigator->find(path);
        if (item == nullptr) {
            fail("no such navigator item");
            return false;
        }
        if (withLabel && QString::fromStdString(item->label) != label) {
            fail("the item reads " + QString::fromStdString(item->label));
            return false;
        }
        return true;
    }
    fail("unknown navigator step");
    return false;
}
