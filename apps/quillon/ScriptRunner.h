#pragma once

#include <QObject>
#include <QString>
#include <QStringList>
#include <QTimer>

class QMainWindow;
class QWidget;

// Plays a script against the running window, one step a line, as a user would: menu entries are
// triggered, modal dialogs are waited for and answered with keys or a file name. Each step waits (up
// to ten seconds) until it can run, so steps that open modal dialogs go on from inside their loops.
//   menu File/New...            trigger a menu entry (mnemonics and accelerator texts ignored)
//   wait-dialog TITLE           wait until the modal dialog with this title is up
//   key Return|Escape|Up|Down|Left|Right|Tab
//   type TEXT                   type into the focused field
//   file PATH                   answer the file dialog that is up with PATH
//   button TEXT                 press the button with this text in the modal dialog that is up
//   wait-text TEXT              wait until a label of the modal dialog shows TEXT (\n, \t escapes)
//   hover TEXT                  rest the pointer on the visible button whose tool tip is TEXT until
//                               the tip shows
//   expect-title TITLE          the main window's title must be exactly this
//   screenshot FILE             save a picture of the main window
//   screenshot-dialog FILE      save a picture of the modal dialog that is up
//   quit                        close the main window (answering any prompt is up to the next steps)
//   choose TARGET|TEXT          choose the entry TEXT of a combo box, or select the row TEXT of a list
//   double-click TARGET|TEXT    double-click the row TEXT of a list
//   set TARGET|TEXT             type TEXT into a field (replacing what it holds) and leave it
//   check TEXT / uncheck TEXT   set or clear the check box or radio button with this text
//   expect TARGET|TEXT          a field (line edit, combo box, label) shows exactly TEXT
//   expect-row TARGET|TEXT      a list has the row TEXT; expect-no-row: it has not
//   expect-rows TARGET|N        a list has N rows
// TARGET is a widget's object name or the text of the label that names the field (without its "&"); a row
// TEXT is one of its cells or all of them joined by "\t". See docs/gui-script.md.
// Task-list and key editors (docs/gui-script.md):
//   task-choose TEXT            choose a task kind in "Select a Task to add" (adds it to the chosen list)
//   task-edit LIST ROW          double-click task ROW of list LIST (0, 1, 2)
//   task-lines LIST A | B       wait until list LIST shows exactly these lines ("-": none)
//   keypad-key N                click key N of the keypad picture
// Screen canvas (positions in unit pixels of the screen being edited):
//   canvas-click X Y, canvas-double-click X Y, canvas-right-click X Y
//   canvas-drag X1 Y1 X2 Y2     press, move and release
//   canvas-type TEXT            type on the canvas (text objects)
//   canvas-key NAME             Backspace, Delete, Home, End, arrows, Escape, Return on the canvas
//   canvas-menu ENTRY           choose ENTRY of the right-button menu a canvas-right-click opened
// Editing commands:
//   tool-button TIP             press the session tool-bar button whose tool tip is TIP
//   tool-choose NAME|TEXT       choose TEXT in the tool-bar box NAME (speed, fontSize, lineThickness)
//   shortcut KEYS               the main window's accelerator for KEYS (Ctrl+Z, Ctrl+X ...)
//   expect-menu PATH|STATE      a menu entry is enabled, disabled, checked or unchecked
// Project navigator:
//   nav-open PATH               open the editor of the tree item PATH ("Screens/2", "Alarms/005")
//   nav-search TEXT             search the application for TEXT and choose the first result
//   nav-expect PATH|LABEL       the tree has an item PATH that reads LABEL (PATH alone: that it has one)
// Lines starting with # are comments. A failed step prints its reason and ends the program with 1.
class ScriptRunner final : public QObject {
    Q_OBJECT
public:
    ScriptRunner(QMainWindow& window, QStringList steps);
    static QStringList readSteps(const QString& file, QString& error);

    void start();

private:
    void poll();
    bool runStep(const QString& step); // false: not yet possible
    bool runTaskStep(const QString& verb, const QString& argument);
    bool runAlarmLoggerStep(const QString& verb, const QString& argument);
    bool runFieldStep(const QString& verb, const QString& argument);
    bool runCanvasStep(const QString& verb, const QString& argument);
    bool runSimulatorStep(const QString& verb, const QString& argument);
    bool runEditingStep(const QString& verb, const QString& argument);
    bool runNavigatorStep(const QString& verb, const QString& argument);
    void fail(const QString& reason);
    QWidget* modal() const;

    QMainWindow& window_;
    QStringList steps_;
    int next_ = 0;
    int waitedMs_ = 0;
    QTimer timer_;
    QString lastShown_; // what the list of the waiting task-lines step shows
};
