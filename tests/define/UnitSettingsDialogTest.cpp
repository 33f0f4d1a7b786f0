#include "define/UnitSettingsDialog.h"

#include "model/Application.h"
#include "model/RecordingPrompter.h"
#include "model/Screen.h"
#include "model/TouchAreaObject.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLineEdit>
#include <QTest>

using namespace quillon;
using namespace quillon::gui;

class UnitSettingsDialogTest : public QObject {
    Q_OBJECT
private slots:
    void everyGroupCanBeChangedAndTheTouchScreenOnlyOnGraphicModels() {
        Application large(520);
        RecordingPrompter prompter;
        UnitSettingsDialog dialog(nullptr, large, prompter, {});
        for (QGroupBox* group : dialog.findChildren<QGroupBox*>()) {
            QVERIFY2(group->isEnabled(), qPrintable(group->title()));
        }
        QVERIFY(dialog.touchScreen()->isEnabled());
        QCOMPARE(dialog.list("memory")->count(), 4);
        QCOMPARE(dialog.list("memory")->currentText(), QString("24KB"));
        QVERIFY(dialog.field(UnitField::QueueSize)->isEnabled());
        QVERIFY(dialog.field(UnitField::InputWords)->isEnabled());
        // Rows and columns only while the extended keypad is ticked.
        QVERIFY(!dialog.field(UnitField::KeypadRows)->isEnabled());
        QCOMPARE(dialog.field(UnitField::KeypadRows)->text(), QString());
        dialog.extendedKeypad()->setChecked(true);
        QVERIFY(dialog.field(UnitField::KeypadRows)->isEnabled());
        QCOMPARE(dialog.field(UnitField::KeypadRows)->text(), QString("4"));

        dialog.touchScreen()->setChecked(true);
        dialog.list("memory")->setCurrentIndex(3);
        emit dialog.list("memory")->activated(3);
        dialog.list("queueIgnore")->setCurrentIndex(0);
        QLineEdit* queue = dialog.field(UnitField::QueueSize);
        queue->setFocus();
        queue->clear();
        QTest::keyClicks(queue, "7"); // above 4: dropped as it is typed
        QCOMPARE(queue->text(), QString());
        QTest::keyClicks(queue, "3");
        dialog.tryAccept();
        QCOMPARE(dialog.result(), int(QDialog::Accepted));
        const UnitSettings& s = large.unitSettings();
        QCOMPARE(s.touchScreen, std::uint8_t{1});
        QCOMPARE(s.memoryOption, std::uint8_t{3});
        QCOMPARE(s.extendedKeypad, std::uint8_t{1});
        QCOMPARE(s.keypadQueueSize, std::uint8_t{3});
        QCOMPARE(s.queueFullIgnore, std::uint8_t{0});
        QVERIFY(prompter.empty());

        Application character(40);
        UnitSettingsDialog small(nullptr, character, prompter, {});
        QVERIFY(!small.touchScreen()->isEnabled());
        QCOMPARE(small.list("memory")->count(), 2);
    }

    void noKeepsTheTouchScreenOnAndAMemoryTooLargeKeepsTheDialogOpen() {
        Application app(510);
        Screen* screen = *app.addScreen(std::make_unique<Screen>(1));
        QVERIFY(screen->appendObject(std::make_unique<TouchAreaObject>()));
        app.unitSettings().touchScreen = 1;
        RecordingPrompter prompter;
        {
            UnitSettingsDialog dialog(nullptr, app, prompter, {});
            dialog.touchScreen()->setChecked(false);
            prompter.script({PromptAnswer::No});
            dialog.tryAccept();
            QCOMPARE(dialog.result(), int(QDialog::Accepted));
            QVERIFY(dialog.touchScreen()->isChecked());
            QVERIFY(!dialog.touchAreasRemoved());
        }
        QCOMPARE(app.unitSettings().touchScreen, std::uint8_t{1});
        QCOMPARE(app.countScreensWithTouchAreas(), std::size_t{1});

        Application character(12);
        character.unitSettings().memoryOption = 2; // read from a file
        UnitSettingsDialog dialog(nullptr, character, prompter, {});
        QCOMPARE(dialog.list("memory")->currentIndex(), -1);
        dialog.tryAccept();
        QCOMPARE(prompter.last().text,
                 std::string("Memory 32 KB is more than the VQ5K-222 unit has.\nChoose 24KB or less."));
        QCOMPARE(dialog.result(), int(QDialog::Rejected));
        dialog.list("memory")->setCurrentIndex(0);
        emit dialog.list("memory")->activated(0);
        dialog.tryAccept();
        QCOMPARE(dialog.result(), int(QDialog::Accepted));
        QCOMPARE(character.unitSettings().memoryOption, std::uint8_t{0});
    }
};

QTEST_MAIN(UnitSettingsDialogTest)
#include "UnitSettingsDialogTest.moc"
