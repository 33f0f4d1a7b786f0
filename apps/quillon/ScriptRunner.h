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
//   quit                        close the main window (answering any prompt is up to the next steps)
// Task-list and key editors (docs/gui-script.md):
//   task-choose TEXT            choose a task kind in "Select a Task to add" (adds it to the chosen list)
//   task-edit LIST ROW          double-click task ROW of list LIST (0, 1, 2)
//   task-lines LIST A | B       wait until list LIST shows exactly these lines ("-": none)
//   keypad-key N                click key N of the keypad picture
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
    void fail(const QString& reason);
    QWidget* modal() const;

    QMainWindow& window_;
    QStringList steps_;
    int next_ = 0;
    int waitedMs_ = 0;
    QTimer timer_;
    QString lastShown_; // what the list of the waiting task-lines step shows
};
