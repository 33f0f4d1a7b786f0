// The shell's dialogs: the model picker and its arrow keys, the memory report arithmetic, the
// information and password dialogs, the splash timers, dialog placement and the message boxes.

#include "model/RecordingPrompter.h"
#include "shell/ApplicationInfoDialog.h"
#include "shell/KeyboardHook.h"
#include "shell/MemoryConfigurationDialog.h"
#include "shell/NewApplicationDialog.h"
#include "shell/PasswordDialog.h"
#include "shell/SplashDialog.h"
#include "support/ModalStep.h"
#include "ui/QtPrompter.h"

#include <QApplication>
#include <QFontMetrics>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>

using namespace quillon;
using namespace quillon::gui;
using namespace quillon::gui::testing;

class DialogsTest : public QObject {
    Q_OBJECT
private slots:
    void pickerShowsDescriptionVoltageAndInterface() {
        NewApplicationDialog dialog(nullptr, {});
        QCOMPARE(dialog.position(), std::uint8_t{0});
        QCOMPARE(dialog.descriptionText(), QString("2 lines of 16 characters"));
        QCOMPARE(dialog.voltageText(), QString("5 VDC"));
        QCOMPARE(dialog.interfaceText(), QString("RS232"));
        dialog.selectPosition(4);
        QCOMPARE(dialog.descriptionText(), QString("128 x 64 pixels"));
        QCOMPARE(dialog.voltageText(), QString("24 VDC"));
        QCOMPARE(dialog.interfaceText(), QString("RS232 / RS485"));
        dialog.selectPosition(3);
        QCOMPARE(dialog.findChild<QAbstractButton*>("model3")->text(), QString("VQ5K-422"));
        // After the five: the two large graphic models, then the older models, with an em dash where no
        // supply voltage or serial interface is on record.
        const char* const others[] = {"Orvik 180", "Orvik 520", "Orvik 15", "Orvik 20",
                                      "Orvik 40",  "Orvik 80",  "Orvik 120"};
        for (int i = 0; i < 7; ++i) {
            QCOMPARE(dialog.findChild<QAbstractButton*>(QString("model%1").arg(5 + i))->text(),
                     QString(others[i]));
        }
        QCOMPARE(dialog.findChild<QAbstractButton*>("model12"), nullptr);
        dialog.selectPosition(6);
        QCOMPARE(dialog.modelId(), std::uint16_t{520});
        QCOMPARE(dialog.descriptionText(), QString("320 x 240 pixels"));
        QCOMPARE(dialog.voltageText(), QString::fromUtf8("\u2014"));
        QCOMPARE(dialog.interfaceText(), QString::fromUtf8("\u2014"));
        dialog.selectPosition(9);
        QCOMPARE(dialog.modelId(), std::uint16_t{30});
        QCOMPARE(dialog.descriptionText(), QString("2 lines of 20 characters"));
        dialog.selectPosition(5);
        QCOMPARE(dialog.descriptionText(), QString("240 x 128 pixels"));
        QVERIFY(dialog.findChild<QPushButton*>() != nullptr);
    }

    // The model choices take the focus: the dialog opens on the chosen one, Down walks them and the focus
    // follows the choice the Left and Right keys make.
    void theModelChoicesTakeTheFocus() {
        KeyboardHook hook(KeyboardHook::Actions{[] {}, {}});
        qApp->installEventFilter(&hook);
        NewApplicationDialog dialog(nullptr, {});
        dialog.setWindowModality(Qt::ApplicationModal); // as exec() shows it: the hook serves modal pickers
        dialog.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dialog));
        dialog.activateWindow();
        QTRY_VERIFY(dialog.isActiveWindow());
        auto* first = dialog.findChild<QAbstractButton*>("model0");
        QCOMPARE(dialog.focusWidget(), first);
        QTest::keyClick(first, Qt::Key_Down);
        QCOMPARE(dialog.position(), std::uint8_t{1});
        QCOMPARE(dialog.focusWidget(), dialog.findChild<QAbstractButton*>("model1"));
        QTest::keyClick(dialog.focusWidget(), Qt::Key_Right);
        QCOMPARE(dialog.position(), std::uint8_t{2});
        QCOMPARE(dialog.focusWidget(), dialog.findChild<QAbstractButton*>("model2"));
        qApp->removeEventFilter(&hook);
        dialog.reject();
    }

    void arrowKeysStepThroughEveryModelAndStopAtTheEnds() {
        NewApplicationDialog dialog(nullptr, {});
        dialog.stepLeft();
        QCOMPARE(dialog.position(), std::uint8_t{0});
        for (int i = 0; i < 4; ++i) {
            dialog.stepRight();
        }
        QCOMPARE(dialog.position(), std::uint8_t{4});
        // From the last of the five on to the large graphic models and the older ones.
        dialog.stepRight();
        QCOMPARE(dialog.modelId(), std::uint16_t{510});
        for (int i = 0; i < 10; ++i) {
            dialog.stepRight();
        }
        QCOMPARE(dialog.position(), std::uint8_t{11});
        QCOMPARE(dialog.modelId(), std::uint16_t{480});
        dialog.stepLeft();
        QCOMPARE(dialog.position(), std::uint8_t{10});
        // Up, Down, Home and End on the dialog itself.
        QTest::keyClick(&dialog, Qt::Key_Home);
        QCOMPARE(dialog.position(), std::uint8_t{0});
        QTest::keyClick(&dialog, Qt::Key_Up);
        QCOMPARE(dialog.position(), std::uint8_t{0});
        QTest::keyClick(&dialog, Qt::Key_Down);
        QCOMPARE(dialog.position(), std::uint8_t{1});
        QTest::keyClick(&dialog, Qt::Key_End);
        QCOMPARE(dialog.position(), std::uint8_t{11});
        QTest::keyClick(&dialog, Qt::Key_Down);
        QCOMPARE(dialog.position(), std::uint8_t{11});
    }

    void upAndDownStepThePickerWhileAButtonHasTheFocus() {
        NewApplicationDialog dialog(nullptr, {});
        dialog.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dialog));
        QPushButton* ok = dialog.findChild<QPushButton*>();
        ok->setFocus();
        QTest::keyClick(ok, Qt::Key_Down);
        QTest::keyClick(ok, Qt::Key_Down);
        QTest::keyClick(ok, Qt::Key_Up);
        QCOMPARE(dialog.position(), std::uint8_t{1});
        QTest::keyClick(ok, Qt::Key_End);
        QCOMPARE(dialog.modelId(), std::uint16_t{480});
        QVERIFY(ok->hasFocus());
    }

    void arrowKeysReachThePickerThroughTheKeyboardHook() {
        int frontPage = 0;
        KeyboardHook hook(KeyboardHook::Actions{[&] { ++frontPage; }, {}});
        qApp->installEventFilter(&hook);
        std::vector<std::uint8_t> accepted;
        NewApplicationDialog dialog(nullptr, [&](std::uint8_t p) {
            accepted.push_back(p);
            return true;
        });
        onModal([&] {
            QWidget* focus = &dialog;
            QTest::keyClick(focus, Qt::Key_Right);
            QTest::keyClick(focus, Qt::Key_Right);
            QTest::keyClick(focus, Qt::Key_Left);
            QTest::keyClick(focus, Qt::Key_F1); // the dialog's topic, not the front page
            dialog.findChild<QPushButton*>()->click();
        });
        QSignalSpy help(&dialog, &ShellDialog::helpRequested);
        QCOMPARE(dialog.exec(), int(QDialog::Accepted));
        qApp->removeEventFilter(&hook);
        QCOMPARE(accepted, std::vector<std::uint8_t>{1});
        QCOMPARE(help.count(), 1);
        QCOMPARE(help.at(0).at(0).toInt(), 5026);
        QCOMPARE(frontPage, 0);
    }

    void refusedOkKeepsTheDialogOpen() {
        int asked = 0;
        NewApplicationDialog dialog(nullptr, [&](std::uint8_t) { return ++asked > 1; });
        onModal([&] {
            QPushButton* ok = nullptr;
            for (QPushButton* b : dialog.findChildren<QPushButton*>()) {
                if (b->text().contains("OK", Qt::CaseInsensitive)) {
                    ok = b;
                }
            }
            QVERIFY(ok != nullptr);
            ok->click();
            QVERIFY(dialog.isVisible());
            ok->click();
        });
        QCOMPARE(dialog.exec(), int(QDialog::Accepted));
        QCOMPARE(asked, 2);
    }

    void memorySummaryArithmetic() {
        const MemorySummary s = MemorySummary::of(26000, 141);
        QCOMPARE(s.availableKb, 25);
        QCOMPARE(s.usedKb, 1);      // never shown as 0 KB
        QCOMPARE(s.usedPercent, 1); // nor 0 %
        QCOMPARE(s.freeBytes, 25859);
        QCOMPARE(s.freeKb, 25);
        QCOMPARE(s.freePercent, 99);
        const MemorySummary full = MemorySummary::of(2097152, 2097152);
        QCOMPARE(full.usedPercent, 100); // no overflow of U x 100 for the largest memories
        const MemorySummary over = MemorySummary::of(8192, 9000);
        QCOMPARE(over.freeBytes, -808); // shown as missing bytes, not as a wrapped-around huge number
        const MemorySummary unknown = MemorySummary::of(0, 141);
        QCOMPARE(unknown.usedPercent, 100);
        QCOMPARE(unknown.freePercent, 0);
    }

    void memoryDialogLines() {
        QCOMPARE(MemoryConfigurationDialog::readLine(ReadLine{3, "40001", 12}),
                 QString("003     40001    12"));
        MemoryReport report;
        report.capacity = 64512;
        report.used = 141;
        report.nodes = {1, 14};
        report.globalReadList = {{1, "D100", 2}};
        MemoryConfigurationDialog dialog(nullptr, report);
        QCOMPARE(dialog.windowTitle(), QString("Quillon : Memory Configuration"));
        QCOMPARE(dialog.findChild<QLabel*>("NodesTotal")->text(), QString("1"));
        QCOMPARE(dialog.findChild<QLabel*>("NodesBytes")->text(), QString("14"));
        QCOMPARE(dialog.findChild<QLabel*>("OtherBytes")->text(), QString("114"));
        QVERIFY(dialog.findChild<QLabel*>("LoggerTotal") == nullptr);
        QCOMPARE(dialog.findChild<QLabel*>("UsedPercent")->text(), QString("1"));
    }

    void informationDialogFormatsAndLimits() {
        ApplicationFields info;
        info.title = "Press 4";
        info.password = "abc";
        info.lastEdited.tm_mday = 6;
        info.lastEdited.tm_mon = 11;
        info.lastEdited.tm_year = 124;
        info.lastEdited.tm_hour = 7;
        info.lastEdited.tm_min = 5;
        info.lastEdited.tm_sec = 9;
        ApplicationInfoDialog dialog(nullptr, info);
        QCOMPARE(dialog.findChild<QLabel*>("date")->text(), QString("06/12/2024"));
        QCOMPARE(dialog.findChild<QLabel*>("time")->text(), QString("07:05:09"));
        auto* title = dialog.findChild<QLineEdit*>("title");
        auto* password = dialog.findChild<QLineEdit*>("password");
        QCOMPARE(title->maxLength(), 50);
        QCOMPARE(dialog.findChild<QLineEdit*>("author")->maxLength(), 50);
        QCOMPARE(password->maxLength(), 8);
        QTest::keyClicks(password, "defghijkl");
        QCOMPARE(password->text(), QString("abcdefgh"));
        auto* description = dialog.findChild<QPlainTextEdit*>("description");
        description->setPlainText(QString(600, 'x'));
        QCOMPARE(description->toPlainText().size(), 500);
        description->setPlainText(QString::fromUtf8("Pump \u2192 tank"));
        const ApplicationFields out = dialog.result();
        QCOMPARE(out.description, std::string("Pump  tank")); // one byte per character in the file
        QCOMPARE(out.password, std::string("abcdefgh"));
        QCOMPARE(out.title, std::string("Press 4"));
        QCOMPARE(out.lastEdited.tm_mday, 6);
        QVERIFY(dialog.findChildren<QPushButton*>().size() == 2); // no topic, so no Help button
    }

    void passwordDialogGivesTheEntryAsBytes() {
        PasswordDialog dialog(nullptr);
        QCOMPARE(dialog.objectName(), QString("Password_Upload"));
        QCOMPARE(dialog.entry()->maxLength(), 8);
        QCOMPARE(dialog.entry()->echoMode(), QLineEdit::Password);
        dialog.entry()->setText("Ab12");
        QCOMPARE(dialog.password(), std::string("Ab12"));
    }

    void splashClosesAfterTenSecondsAndAboutAfterForty() {
        SplashDialog splash(nullptr, SplashDialog::Mode::StartUp);
        QCOMPARE(splash.findChild<QLabel*>("productLine")->text(),
                 QString("Configuration software for VQ5K series operator interfaces."));
        splash.show();
        for (int i = 0; i < 9; ++i) {
            splash.tick();
        }
        QVERIFY(splash.isVisible());
        splash.tick();
        QVERIFY(!splash.isVisible());
        QCOMPARE(splash.result(), int(QDialog::Accepted));

        SplashDialog about(nullptr, SplashDialog::Mode::About);
        QCOMPARE(about.secondsLeft(), 40);
        about.show();
        for (int i = 0; i < 39; ++i) {
            about.tick();
        }
        QVERIFY(about.isVisible());
        about.tick();
        QVERIFY(!about.isVisible());
    }

    void theGreetingFollowsTheWindowAsItIsMaximised() {
        QWidget main;
        main.resize(620, 450);
        main.move(0, 0);
        main.show();
        SplashDialog splash(&main, SplashDialog::Mode::StartUp);
        splash.show();
        // The window system maximises the window after the greeting came up.
        main.setGeometry(0, 0, 780, 580);
        QApplication::processEvents();
        QCOMPARE(splash.frameGeometry().center().x(), main.frameGeometry().center().x());
        QCOMPARE(splash.pos(), ShellDialog::placement(main.frameGeometry(), splash.frameGeometry().size(),
                                                      main.screen()->availableGeometry())
                                   .topLeft());
        splash.accept();
    }

    void dialogsCentreOnTheMainWindowClearOfItsBottom() {
        const QRect main(0, 0, 800, 600);
        QCOMPARE(ShellDialog::placement(main, QSize(200, 100)), QRect(300, 250, 200, 100));
        // A tall dialog is lifted so that its bottom stays 23 pixels above the main window's.
        const QRect tall = ShellDialog::placement(main, QSize(200, 570));
        QCOMPARE(tall.bottom(), main.bottom() - 23);
        // On a 1024 x 768 screen: a window hanging off the bottom-right corner takes its dialog with it
        // only as far as the screen's edges.
        const QRect screen(0, 0, 1024, 768);
        const QRect corner(700, 600, 620, 450); // centred and clear of its bottom: 910,775
        QCOMPARE(ShellDialog::placement(corner, QSize(200, 100), screen), QRect(824, 668, 200, 100));
        // Off the top-left corner: pulled back to 0,0.
        const QRect above(-500, -400, 620, 450);
        QCOMPARE(ShellDialog::placement(above, QSize(300, 200), screen), QRect(0, 0, 300, 200));
        // Exactly as wide as the screen: the left edge; wider still: the left edge too, never beyond it.
        QCOMPARE(ShellDialog::placement(corner, QSize(1024, 100), screen).left(), 0);
        QCOMPARE(ShellDialog::placement(corner, QSize(1025, 100), screen).left(), 0);
        // Wholly inside already: unchanged.
        QCOMPARE(ShellDialog::placement(main, QSize(200, 100), screen), QRect(300, 250, 200, 100));
    }

    // A short message keeps its box wide enough for the whole caption: a bold title and the frame's icon
    // and three buttons beside it.
    void messageBoxesNeverCutTheirTitles() {
        QtPrompter prompter;
        QFont bold = QApplication::font();
        bold.setBold(true);
        const QFontMetrics metrics(bold);
        for (const PromptKind kind : {PromptKind::Error, PromptKind::Confirmation, PromptKind::Information}) {
            QString title;
            int width = 0;
            onModal([&] {
                auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
                QVERIFY(box != nullptr);
                title = box->windowTitle();
                width = box->width();
                box->accept();
            });
            if (kind == PromptKind::Error) {
                prompter.error("No.");
            } else if (kind == PromptKind::Confirmation) {
                prompter.confirm("No?", PromptButtons::YesNo, PromptAnswer::Yes);
            } else {
                prompter.information("No.");
            }
            QVERIFY(!title.isEmpty());
            QVERIFY2(width >= metrics.horizontalAdvance(title) + 100,
                     qPrintable(QString("%1: %2 pixels").arg(title).arg(width)));
            QVERIFY(width <= QApplication::primaryScreen()->availableGeometry().width());
        }
    }

    void messageBoxesCarryTheExactTitleTextAndDefault() {
        QtPrompter prompter;
        int bracket = 0;
        prompter.setBusyBracket([&](bool busy) { bracket += busy ? 1 : -1; });
        QString title;
        QString text;
        QString defaultText;
        onModal([&] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            QVERIFY(box != nullptr);
            title = box->windowTitle();
            text = box->text();
            defaultText = box->defaultButton() != nullptr ? box->defaultButton()->text() : QString();
            QCOMPARE(bracket, 1);
            box->button(QMessageBox::No)->click();
        });
        const PromptAnswer answer =
            prompter.confirm("Application ( Untitled )\nhas been changed.\n\nDo you want to save?",
                             PromptButtons::YesNoCancel, PromptAnswer::Yes);
        QCOMPARE(answer, PromptAnswer::No);
        QCOMPARE(title, QString("Quillon : Confirmation"));
        QCOMPARE(text, QString("Application ( Untitled )\nhas been changed.\n\nDo you want to save?"));
        QVERIFY(defaultText.contains("Yes"));
        QCOMPARE(bracket, 0);

        onModal([&] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            QVERIFY(box != nullptr);
            title = box->windowTitle();
            box->accept();
        });
        prompter.error("Can not load x.ovm");
        QCOMPARE(title, QString("Quillon : Error"));
    }
};

QTEST_MAIN(DialogsTest)
#include "DialogsTest.moc"
