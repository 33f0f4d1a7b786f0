// The Print command in the real window: the selection dialog's boxes, the refusal during a screen session,
// Cancel keeping the old selection, the report written to a PDF file through the print dialog, and the
// selection cleared with the application.

#include "print/PrintCommand.h"

#include "model/Application.h"
#include "model/Screen.h"
#include "print/AbortWindow.h"
#include "print/PrintSelectionDialog.h"
#include "report/PrintSelection.h"
#include "screen/ScreenSession.h"
#include "support/ModalStep.h"
#include "support/ShellWindow.h"
#include "ui/ShellStatusBar.h"

#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QPushButton>
#include <QStandardPaths>
#include <QTest>

using namespace quillon;
using namespace quillon::gui;
using namespace quillon::gui::testing;

namespace {

PrintSelectionDialog* selectionDialog() {
    return qobject_cast<PrintSelectionDialog*>(QApplication::activeModalWidget());
}

// The text of a PDF file as pdftotext reads it, blanks simplified; empty when the tool is missing.
QString pdfText(const QString& file) {
    if (QStandardPaths::findExecutable("pdftotext").isEmpty()) {
        return {};
    }
    QProcess process;
    process.start("pdftotext", {"-layout", file, "-"});
    process.waitForFinished(30000);
    // Blanks as the text tool guesses them from the positions; one blank for each run of them.
    return QString::fromUtf8(process.readAllStandardOutput()).simplified();
}

} // namespace

class PrintCommandTest final : public QObject {
    Q_OBJECT
private slots:
    void allTicksTheTenAndTheKeyBoxesStopAbove500() {
        PrintSelectionDialog small(nullptr, PrintSelection{}, 500);
        QCOMPARE(small.windowTitle(), QString("Quillon  : Print Selection"));
        QCOMPARE(small.sectionBox(ReportSection::Nodes)->text(), QString(" Quillon Nodes"));
        QCOMPARE(small.sectionBox(ReportSection::ApplicationTasks)->text(), QString("Application TaskList "));
        small.allBox()->click();
        for (std::size_t i = 0; i < PrintSelection::kSections; ++i) {
            QVERIFY(small.sectionBox(static_cast<ReportSection>(i))->isChecked());
        }
        small.sectionBox(ReportSection::Screens)->click();
        QVERIFY(!small.allBox()->isChecked());
        QVERIFY(!small.selection().isChecked(ReportSection::Screens));
        small.sectionBox(ReportSection::Screens)->click();
        QVERIFY(small.allBox()->isChecked());
        small.allBox()->click();
        QVERIFY(!small.sectionBox(ReportSection::Tags)->isChecked());
        QVERIFY(!small.selection().printsAnything(500));

        for (const std::uint32_t model : {510U, 520U}) {
            PrintSelectionDialog large(nullptr, PrintSelection{}, model);
            QVERIFY(!large.sectionBox(ReportSection::GlobalKeys)->isEnabled());
            QVERIFY(!large.sectionBox(ReportSection::ScreenKeys)->isEnabled());
            QVERIFY(large.sectionBox(ReportSection::ScreenTasks)->isEnabled());
            large.allBox()->click();
            QVERIFY(!large.sectionBox(ReportSection::GlobalKeys)->isChecked());
            QVERIFY(large.sectionBox(ReportSection::Alarms)->isChecked());
        }
    }

    // While a screen is edited Print asks to close the session: No keeps it and prints nothing, Yes closes
    // it and goes on to the selection.
    void whileAScreenIsEditedPrintAsksToCloseTheSession() {
        ModelWindow w;
        QVERIFY(w.life().newApplicationAt(4));
        QVERIFY(w.docs.application()->addScreen(std::make_unique<Screen>(1)));
        w.window->command(CommandId::Screens);
        QVERIFY(w.window->screenSession().isOpen());
        w.prompter.clear();
        w.prompter.script({PromptAnswer::No});
        w.window->command(CommandId::Print);
        QCOMPARE(w.prompter.texts(), std::vector<std::string>{"Close the screen session and print?"});
        QCOMPARE(w.prompter.last().title, std::string("Quillon : Confirmation"));
        QVERIFY(w.window->screenSession().isOpen());
        QCOMPARE(w.printers.asked, 0);

        bool selectionShown = false;
        onModal([&] {
            PrintSelectionDialog* dialog = selectionDialog();
            selectionShown = dialog != nullptr;
            if (dialog != nullptr) {
                dialog->sectionBox(ReportSection::Information)->click();
                dialog->accept();
            }
        });
        w.prompter.script({PromptAnswer::Yes});
        w.window->command(CommandId::Print);
        QVERIFY(!w.window->screenSession().isOpen());
        QVERIFY(selectionShown);
        QCOMPARE(w.printers.asked, 1);
    }

    // The PDF file proposed is the application's name with ".pdf" in its folder (a new one: "Untitled.pdf"
    // in the folder of the files); the status bar says where the report went.
    void thePdfFileIsProposedBesideTheApplicationAndReported() {
        ModelWindow w;
        QVERIFY(w.life().newApplicationAt(4));
        const auto printInformation = [&] {
            onModal([] {
                PrintSelectionDialog* dialog = selectionDialog();
                QVERIFY(dialog != nullptr);
                if (!dialog->selection().isChecked(ReportSection::Information)) {
                    dialog->sectionBox(ReportSection::Information)->click();
                }
                dialog->accept();
            });
            w.window->command(CommandId::Print);
        };
        printInformation();
        QCOMPARE(w.printers.asked, 1);
        QCOMPARE(w.printers.proposed, w.dir.filePath("Result/Untitled.pdf"));

        QVERIFY(QDir(w.dir.path()).mkpath("Plant Two"));
        w.files.answers = {std::filesystem::path(w.path("Plant Two/Line.4.ovm"))};
        w.window->command(CommandId::SaveAs);
        QCOMPARE(w.life().state(), ShellState::Saved);
        const QString pdf = w.dir.filePath("Plant Two/Line.4.pdf");
        w.printers.pdfFile = pdf;
        printInformation();
        QCOMPARE(w.printers.proposed, pdf);
        QVERIFY(QFile::exists(pdf));
        QCOMPARE(w.window->shellStatusBar().message(), "The report was written to " + pdf + ".");
    }

    void printsToAPdfFileAndKeepsTheSelectionUntilTheApplicationCloses() {
        ModelWindow w;
        QVERIFY(w.life().newApplicationAt(4));
        QVERIFY(w.docs.application()->addScreen(std::make_unique<Screen>(1)));
        const QString pdf = w.dir.filePath("report.pdf");

        // Cancel in the selection dialog: nothing chosen, no print dialog.
        onModal([] {
            PrintSelectionDialog* dialog = selectionDialog();
            QVERIFY(dialog != nullptr);
            dialog->allBox()->click();
            dialog->reject();
        });
        w.window->command(CommandId::Print);
        QCOMPARE(w.window->printCommand().selection(), PrintSelection{});
        QCOMPARE(w.printers.asked, 0);

        // Ok with two sections, the print dialog cancelled: the boxes are kept, nothing is written.
        onModal([] {
            PrintSelectionDialog* dialog = selectionDialog();
            QVERIFY(dialog != nullptr);
            dialog->sectionBox(ReportSection::Information)->click();
            dialog->sectionBox(ReportSection::Screens)->click();
            dialog->accept();
        });
        w.window->command(CommandId::Print);
        QVERIFY(w.window->printCommand().selection().isChecked(ReportSection::Information));
        QVERIFY(w.window->printCommand().selection().isChecked(ReportSection::Screens));
        QCOMPARE(w.printers.asked, 1);
        QVERIFY(!QFile::exists(pdf));

        // The next Print opens with them; the report goes to the PDF file.
        w.printers.pdfFile = pdf;
        onModal([] {
            PrintSelectionDialog* dialog = selectionDialog();
            QVERIFY(dialog != nullptr);
            QVERIFY(dialog->sectionBox(ReportSection::Information)->isChecked());
            QVERIFY(!dialog->sectionBox(ReportSection::Tags)->isChecked());
            dialog->accept();
        });
        w.window->command(CommandId::Print);
        QFile file(pdf);
        QVERIFY(file.open(QIODevice::ReadOnly));
        QVERIFY(file.read(5) == "%PDF-");
        const QString text = pdfText(pdf);
        if (!text.isEmpty()) {
            QVERIFY(text.contains("Quillon Application Information :"));
            QVERIFY(text.contains("Screen No.0001 Screen Name :"));
            QVERIFY(text.contains("Page No : 1"));
            QVERIFY(text.contains("Page No : 2"));
            QVERIFY(!text.contains("Quillon Tags :"));
        }
        QVERIFY(w.prompter.empty() || w.prompter.texts().back().find("printed without") == std::string::npos);

        w.prompter.script({PromptAnswer::No});
        w.window->command(CommandId::Close);
        QCOMPARE(w.window->printCommand().selection(), PrintSelection{});
    }

    void aPageRangePrintsThosePagesOnly() {
        ModelWindow w;
        QVERIFY(w.life().newApplicationAt(4));
        QVERIFY(w.docs.application()->addScreen(std::make_unique<Screen>(1)));
        const QString pdf = w.dir.filePath("range.pdf");
        w.printers.pdfFile = pdf;
        w.printers.fromPage = 2;
        w.printers.toPage = 2;
        const auto chooseAll = [] {
            onModal([] {
                PrintSelectionDialog* dialog = selectionDialog();
                QVERIFY(dialog != nullptr);
                if (!dialog->allBox()->isChecked()) {
                    dialog->allBox()->click();
                }
                dialog->accept();
            });
        };
        chooseAll();
        w.prompter.clear();
        w.window->command(CommandId::Print);
        QVERIFY(w.prompter.empty());
        const QString text = pdfText(pdf);
        if (!text.isEmpty()) {
            QVERIFY(text.contains("Page No : 2"));
            QVERIFY(!text.contains("Page No : 1"));
            QVERIFY(!text.contains("Page No : 3"));
        }
        // A range beyond the report prints nothing and says so; the file stays as it was.
        const QByteArray before = [&] {
            QFile f(pdf);
            return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
        }();
        w.printers.fromPage = 90;
        w.printers.toPage = 99;
        chooseAll();
        w.window->command(CommandId::Print);
        QCOMPARE(w.prompter.texts(),
                 std::vector<std::string>{"The report has no page from 90 to 99; nothing was printed."});
        QFile after(pdf);
        QVERIFY(after.open(QIODevice::ReadOnly));
        QCOMPARE(after.readAll(), before);
    }

    void aPrinterThatIsNotThereIsReported() {
        ModelWindow w;
        QVERIFY(w.life().newApplicationAt(4));
        w.printers.queue = "no-such-queue";
        onModal([] {
            PrintSelectionDialog* dialog = selectionDialog();
            QVERIFY(dialog != nullptr);
            dialog->sectionBox(ReportSection::Information)->click();
            dialog->accept();
        });
        w.prompter.clear();
        w.window->command(CommandId::Print);
        QCOMPARE(w.printers.asked, 1);
        QCOMPARE(w.prompter.texts(),
                 std::vector<std::string>{"The chosen printer is not available; nothing was printed."});
        QCOMPARE(w.prompter.last().title, std::string("Quillon : Error"));
    }

    void theAbortWindowClosesOnItsButton() {
        QWidget main;
        main.show();
        AbortWindow abort(&main);
        abort.show();
        QCOMPARE(abort.windowTitle(), QString("Quillon : Print"));
        QVERIFY(abort.isModal() || abort.windowModality() == Qt::WindowModal);
        abort.findChild<QPushButton*>("close")->click();
        QVERIFY(!abort.isVisible());
    }
};

QTEST_MAIN(PrintCommandTest)
#include "PrintCommandTest.moc"
