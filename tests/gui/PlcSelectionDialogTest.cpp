// "Add or Remove PLCs": the two lists, Add and Remove with their enabled states, what Ok and Cancel do to
// the selected-PLC list, and the refusal while an application is open.

#include "plc/ui/PlcSelectionDialog.h"

#include "ShellFakes.h"
#include "model/RecordingPrompter.h"
#include "plc/PlcCatalogFiles.h"
#include "shell/HelpWindow.h"
#include "shell/MainWindow.h"

#include <fstream>
#include <iterator>

#include <QApplication>
#include <QListWidget>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

using namespace quillon;
using namespace quillon::gui;
using namespace quillon::gui::testing;

namespace {

struct Catalogs {
    QTemporaryDir dir;
    std::filesystem::path folder{dir.path().toStdString()};
    RecordingPrompter prompter;
    PlcCatalogFiles files{folder, prompter};

    Catalogs() {
        std::ofstream(folder / "orvk_all.PLC")
            << "Zeta Link|12|\nAlpha 2|10|\nAlpha 2 Plus|11|\nBeta Net|13|\n";
        std::ofstream(folder / "orvk_sel.PLC") << "Beta Net|13|\nAlpha 2 Plus|11|\n";
    }
    std::string selectedFile() const {
        std::ifstream in(folder / "orvk_sel.PLC");
        return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    }
};

QStringList texts(const QListWidget& list) {
    QStringList out;
    for (int row = 0; row < list.count(); ++row) {
        out << list.item(row)->text();
    }
    return out;
}

} // namespace

class PlcSelectionDialogTest : public QObject {
    Q_OBJECT
private slots:
    void listsAndButtons() {
        Catalogs c;
        PlcSelectionDialog dialog(nullptr, c.files, c.prompter);
        QCOMPARE(dialog.windowTitle(), QString("Quillon : Add or Remove PLCs"));
        QCOMPARE(texts(*dialog.supported()),
                 (QStringList{"Zeta Link", "Alpha 2", "Alpha 2 Plus", "Beta Net"}));
        QCOMPARE(texts(*dialog.selected()), (QStringList{"Alpha 2 Plus", "Beta Net"}));
        QVERIFY(!dialog.addButton()->isEnabled());
        QVERIFY(!dialog.removeButton()->isEnabled());

        dialog.supported()->setCurrentRow(2); // already selected
        QVERIFY(!dialog.addButton()->isEnabled());
        // A selected name that merely begins with this one does not make it selected.
        dialog.supported()->setCurrentRow(1);
        QVERIFY(dialog.addButton()->isEnabled());
        dialog.addCurrent();
        QVERIFY(!dialog.addButton()->isEnabled());
        dialog.supported()->setCurrentRow(0);
        dialog.addCurrent();
        QCOMPARE(texts(*dialog.selected()),
                 (QStringList{"Alpha 2", "Alpha 2 Plus", "Beta Net", "Zeta Link"}));

        dialog.selected()->setCurrentRow(2);
        QVERIFY(dialog.removeButton()->isEnabled());
        dialog.removeCurrent();
        QCOMPARE(texts(*dialog.selected()), (QStringList{"Alpha 2", "Alpha 2 Plus", "Zeta Link"}));
        QCOMPARE(dialog.selected()->currentRow(), 0);                    // the first entry becomes current
        QVERIFY(c.selectedFile().find("Beta Net") != std::string::npos); // nothing written yet

        dialog.tryAccept();
        QCOMPARE(dialog.result(), int(QDialog::Accepted));
        QCOMPARE(c.selectedFile(), std::string("Alpha 2|10|\nAlpha 2 Plus|11|\nZeta Link|12|\n"));
        QVERIFY(c.prompter.empty());
    }

    void okWithoutChangesAndCancelLeaveTheFile() {
        Catalogs c;
        const std::string before = c.selectedFile();
        {
            PlcSelectionDialog dialog(nullptr, c.files, c.prompter);
            dialog.tryAccept();
            QCOMPARE(dialog.result(), int(QDialog::Accepted));
        }
        QCOMPARE(c.selectedFile(), before);
        {
            PlcSelectionDialog dialog(nullptr, c.files, c.prompter);
            dialog.supported()->setCurrentRow(0);
            dialog.addCurrent();
            dialog.reject();
        }
        QCOMPARE(c.selectedFile(), before);
    }

    void refusedWhileAnApplicationIsOpen() {
        QTemporaryDir dir;
        FakeDocuments docs;
        RecordingPrompter prompter;
        ScriptedFiles files;
        ScriptedModels models;
        ScriptedPassword password;
        ShellOptions options;
        options.startDirectory = dir.path().toStdString();
        options.showSplash = false;
        options.maximised = false;
        MainWindow window(ShellServices{&docs, &prompter, &files, &models, &password}, options);
        window.startUp();
        models.positions = {4};
        window.command(CommandId::New);
        window.command(CommandId::AddRemovePlcs);
        QCOMPARE(prompter.texts(), std::vector<std::string>{
                                       "To add or remove PLC's, Close present application and Try Again."});
        QCOMPARE(prompter.last().title, std::string("Quillon : Information"));
        prompter.script({PromptAnswer::No});
        window.lifecycle().closeWithPrompt();
        window.helpWindow().close();
    }
};

QTEST_MAIN(PlcSelectionDialogTest)
#include "PlcSelectionDialogTest.moc"
