// "Add or Remove PLCs": the two lists, Add and Remove with their enabled states, what Ok and Cancel do to
// the selected-PLC list, files dropped on the dialog, and the refusal while an application is open.

#include "define/PlcSelectionDialog.h"

#include "model/RecordingPrompter.h"
#include "plc/PlcCatalogFiles.h"
#include "shell/MainWindow.h"
#include "support/ShellFakes.h"
#include "ui/HelpWindow.h"

#include <fstream>
#include <iterator>

#include <QApplication>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QListWidget>
#include <QMimeData>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QUrl>

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

// A real catalog file of the shipped data, copied under another PLC id.
std::filesystem::path catalogFile(const std::filesystem::path& folder, const std::string& name) {
    const std::filesystem::path file = folder / name;
    std::filesystem::copy_file(std::filesystem::path(QUILLON_SOURCE_DIR) / "data" / "plc" / "0007_001.plc",
                               file, std::filesystem::copy_options::overwrite_existing);
    return file;
}

std::filesystem::path textFile(const std::filesystem::path& folder, const std::string& name,
                               const std::string& content) {
    const std::filesystem::path file = folder / name;
    std::ofstream(file, std::ios::binary) << content;
    return file;
}

// Drags the URLs over the dialog and drops them, as the window system does; returns whether the
// dialog took the drag.
bool drop(PlcSelectionDialog& dialog, const QList<QUrl>& urls) {
    QMimeData data;
    data.setUrls(urls);
    QDragEnterEvent enter(QPoint(20, 20), Qt::CopyAction | Qt::MoveAction, &data, Qt::LeftButton,
                          Qt::NoModifier);
    QApplication::sendEvent(&dialog, &enter);
    if (!enter.isAccepted()) {
        return false;
    }
    QDropEvent dropped(QPointF(20, 20), Qt::CopyAction | Qt::MoveAction, &data, Qt::LeftButton,
                       Qt::NoModifier);
    QApplication::sendEvent(&dialog, &dropped);
    QApplication::processEvents(); // the dialog takes the files in once the drop is over
    return dropped.isAccepted() && dropped.dropAction() == Qt::CopyAction;
}

QList<QUrl> urls(std::initializer_list<std::filesystem::path> files) {
    QList<QUrl> out;
    for (const auto& f : files) {
        out << QUrl::fromLocalFile(QString::fromStdString(f.string()));
    }
    return out;
}

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

    void droppedCatalogAndListFilesSelectTheirPlcs() {
        Catalogs c;
        QTemporaryDir elsewhere;
        const std::filesystem::path from = elsewhere.path().toStdString();
        PlcSelectionDialog dialog(nullptr, c.files, c.prompter);
        // A catalog file stands for the supported PLC with its id, whatever its revision.
        QVERIFY(drop(dialog, urls({catalogFile(from, "0010_004.PLC")})));
        QCOMPARE(texts(*dialog.selected()), (QStringList{"Alpha 2", "Alpha 2 Plus", "Beta Net"}));
        QVERIFY(dialog.changed());
        QVERIFY(c.prompter.empty());
        // Dropping it again changes nothing.
        QVERIFY(drop(dialog, urls({catalogFile(from, "0010_001.plc")})));
        QCOMPARE(dialog.selected()->count(), 3);
        // A list file selects the supported PLCs it names; names the supported list lacks are reported.
        QVERIFY(drop(dialog, urls({textFile(from, "mine.plc", "Zeta Link|12|\nGamma Bus|40|\n")})));
        QCOMPARE(texts(*dialog.selected()),
                 (QStringList{"Alpha 2", "Alpha 2 Plus", "Beta Net", "Zeta Link"}));
        QCOMPARE(c.prompter.texts(),
                 std::vector<std::string>{"Not among the supported PLCs, left out:\nGamma Bus"});
        QCOMPARE(c.prompter.last().title, std::string("Quillon : Information"));
        // The dropped files are only read: the catalog directory keeps what it had.
        QVERIFY(!std::filesystem::exists(c.folder / "0010_004.PLC"));
        dialog.tryAccept();
        QCOMPARE(c.selectedFile(),
                 std::string("Alpha 2|10|\nAlpha 2 Plus|11|\nBeta Net|13|\nZeta Link|12|\n"));
    }

    void droppedFilesThatAreNoCatalogFilesAreRefused() {
        Catalogs c;
        QTemporaryDir elsewhere;
        const std::filesystem::path from = elsewhere.path().toStdString();
        std::filesystem::create_directory(from / "0013_001.plc");
        PlcSelectionDialog dialog(nullptr, c.files, c.prompter);
        dialog.selected()->setCurrentRow(1);
        // One drop: a good file among bad ones still selects its PLC, and one message names the rest.
        QVERIFY(drop(dialog,
                     urls({textFile(from, "notes.txt", "Zeta Link|12|\n"),     // a list, but not a .plc file
                           textFile(from, "0012_001.plc", "just some text\n"), // a catalog name, bad content
                           catalogFile(from, "0300_001.plc"),                  // no such PLC id
                           catalogFile(from, "0099_001.plc"),                  // not a supported PLC
                           from / "0013_001.plc",                              // a directory
                           from / "gone.plc",                                  // does not exist
                           textFile(from, "empty.PLC", ""),                    // an empty list
                           catalogFile(from, "0010_002.plc")})));
        QCOMPARE(texts(*dialog.selected()), (QStringList{"Alpha 2", "Alpha 2 Plus", "Beta Net"}));
        QCOMPARE(c.prompter.texts(), (std::vector<std::string>{
                                         "Only PLC catalog files can be dropped here. Left out:\nnotes.txt\n"
                                         "0012_001.plc\n0300_001.plc\n0013_001.plc\ngone.plc\nempty.PLC",
                                         "Not among the supported PLCs, left out:\n0099_001.plc (PLC 99)"}));
        QCOMPARE(c.prompter.prompts().front().title, std::string("Quillon : Error"));

        // Nothing usable at all: the lists stay as they were and Ok writes nothing.
        Catalogs d;
        const std::string before = d.selectedFile();
        PlcSelectionDialog untouched(nullptr, d.files, d.prompter);
        QVERIFY(drop(untouched, urls({textFile(from, "picture.bmp", "BM")})));
        QCOMPARE(texts(*untouched.selected()), (QStringList{"Alpha 2 Plus", "Beta Net"}));
        QVERIFY(!untouched.changed());
        // Drags that carry no local files are not taken at all.
        QVERIFY(!drop(untouched, QList<QUrl>{QUrl("https://example.org/0010_001.plc")}));
        QVERIFY(!drop(untouched, QList<QUrl>{}));
        QCOMPARE(d.prompter.prompts().size(), std::size_t{1});
        untouched.tryAccept();
        QCOMPARE(d.selectedFile(), before);
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
