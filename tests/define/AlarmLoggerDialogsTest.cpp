// The alarms and logger dialogs as the user meets them: the browsing and editing states, Enter, Escape and
// Delete, the refusals with the focus on the offending field, the page header's keys and the Close that
// stores every field.

#include "define/AlarmsDialog.h"
#include "define/LoggerDialog.h"
#include "define/TagComboBox.h"
#include "model/Application.h"
#include "model/RecordingPrompter.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QTimer>

using namespace quillon;
using namespace quillon::gui;

namespace {

// Model 500 with a PLC of eight registers R0 .. R7 and a write-only register.
struct Document {
    Application app{500};
    RecordingPrompter prompter;
    TaskEditorContext context;
    std::vector<Tag*> regs;
    Tag* writeOnly = nullptr;
    int changes = 0;

    Document() {
        (void)app.addNode(Node::createUnitNode());
        auto node = std::make_unique<Node>(NodeKind::Plc, 1);
        node->name = "PLC1";
        Node* plc = app.addNode(std::move(node)).value();
        Block* block = app.addBlock(*plc, std::make_unique<Block>("D0000", 40)).value();
        for (int i = 0; i < 8; ++i) {
            regs.push_back(add(*block, QString("D%1").arg(i, 4, 10, QChar('0')).toStdString(), '2',
                               "R" + std::to_string(i)));
        }
        writeOnly = add(*block, "D0020", '1', "Out");
        context.application = &app;
        context.prompter = &prompter;
        context.runDialog = [](QDialog& dialog) { return dialog.exec(); };
        context.modified = [this] { ++changes; };
    }
    Tag* add(Block& block, const std::string& address, char access, const std::string& name) {
        TagValues v;
        v.address = address;
        v.type = tag_type::kRegister;
        v.readWrite = access;
        v.name = name;
        return app.addTag(block, v).value();
    }
};

void shot(QWidget& widget, const char* name) {
    const QByteArray folder = qgetenv("QUILLON_SHOTS");
    if (!folder.isEmpty()) {
        widget.show();
        widget.grab().save(QString::fromUtf8(folder) + "/" + name + ".png");
    }
}

QPushButton* buttonOf(QWidget& dialog, const QString& text) {
    for (QPushButton* b : dialog.findChildren<QPushButton*>()) {
        if (b->text() == text) {
            return b;
        }
    }
    return nullptr;
}

QStringList rawLines(const QListWidget* list) {
    QStringList out;
    for (int i = 0; i < list->count(); ++i) {
        out << list->item(i)->data(Qt::UserRole).toString();
    }
    return out;
}

} // namespace

class AlarmLoggerDialogsTest : public QObject {
    Q_OBJECT
private slots:
    void alarmsBrowsingAndEditingStatesSwap() {
        Document doc;
        AlarmsDialog dialog(nullptr, doc.context, nullptr);
        dialog.show();
        dialog.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&dialog));
        QCOMPARE(dialog.windowTitle(), QString("Quillon : Alarms"));
        QCOMPARE(dialog.helpTopic(), 5000);
        auto* consecutive = dialog.findChild<QRadioButton*>();
        QVERIFY(consecutive != nullptr);
        auto* group = dialog.findChild<QComboBox*>("group");
        QCOMPARE(group->count(), 2);
        QCOMPARE(group->itemText(1), QString("02  [ 016 - 030 ]"));
        auto* text = dialog.findChild<QLineEdit*>("text");
        QPushButton* add = buttonOf(dialog, "&Add");
        QPushButton* accept = buttonOf(dialog, "Acc&ept");
        QVERIFY(add->isEnabled());
        QVERIFY(!accept->isEnabled());
        QVERIFY(!text->isEnabled());
        QVERIFY(!buttonOf(dialog, "De&lete")->isEnabled());
        // The consecutive mode cannot be chosen in the two-group configuration.
        for (QRadioButton* r : dialog.findChildren<QRadioButton*>()) {
            if (r->text() == "&Consecutive") {
                QVERIFY(!r->isEnabled());
            } else {
                QVERIFY(r->isEnabled());
                r->click();
            }
        }
        add->click();
        QVERIFY(text->isEnabled());
        QVERIFY(!add->isEnabled());
        QVERIFY(accept->isDefault());
        QCOMPARE(text->maxLength(), 21); // class 50
        QTest::keyClicks(text, "Pump fault");
        auto* groupTag = dialog.findChild<TagComboBox*>("groupTag");
        QVERIFY(groupTag->isEnabled());
        QCOMPARE(groupTag->count(), 8); // registers, not the write-only one
        groupTag->setCurrentIndex(2);
        // Enter accepts the slot and goes back to browsing.
        QTest::keyClick(text, Qt::Key_Return);
        QVERIFY(!text->isEnabled());
        QCOMPARE(rawLines(dialog.list()), QStringList{"000\tN\tPump fault"});
        QVERIFY(doc.prompter.empty());
        shot(dialog, "alarms");

        // Alarm 31 shows the marker; leaving the field puts the number back to the group's first.
        add->click();
        group->setCurrentIndex(1);
        auto* number = dialog.findChild<QLineEdit*>("number");
        auto* marker = dialog.findChild<QLabel*>("outOfRange");
        QCOMPARE(number->text(), QString("16"));
        QCOMPARE(dialog.findChild<QLabel*>("range")->text(), QString("[ 016 - 030 ]"));
        number->setFocus();
        number->selectAll();
        QTest::keyClicks(number, "31");
        QVERIFY(marker->isVisibleTo(&dialog));
        text->setFocus();
        QCOMPARE(number->text(), QString("16"));
        QVERIFY(!marker->isVisibleTo(&dialog));
        // A refused Accept keeps the editing state and puts the focus on the text.
        accept->click();
        QCOMPARE(doc.prompter.prompts().back().text, std::string("Alarm Text is not entered."));
        QCOMPARE(doc.prompter.prompts().back().title, std::string("Quillon : Error"));
        QVERIFY(text->isEnabled());
        QCOMPARE(QApplication::focusWidget(), static_cast<QWidget*>(text));
        QTest::keyClicks(text, "Level");
        groupTag->setCurrentIndex(2); // the tag of group 1 already
        accept->click();
        QCOMPARE(doc.prompter.prompts().back().text,
                 std::string("This Tag is already assigned to any other group.\nFor 16 groups, 16 different "
                             "Tags are required."));
        groupTag->setCurrentIndex(3);
        accept->click();
        QCOMPARE(rawLines(dialog.list()), (QStringList{"000\tN\tPump fault", "016\tN\tLevel"}));

        // Delete in the list asks, then Ok writes the record.
        dialog.list()->setFocus();
        dialog.list()->setCurrentRow(1);
        doc.prompter.script({PromptAnswer::Yes});
        QTest::keyClick(dialog.list(), Qt::Key_Delete);
        QCOMPARE(doc.prompter.prompts().back().text,
                 std::string("Are you sure to delete the selected Alarm?"));
        QCOMPARE(dialog.list()->count(), 1);
        dialog.accept();
        QCOMPARE(dialog.result(), int(QDialog::Accepted));
        QCOMPARE(doc.app.alarmTextCount(), std::size_t{1});
        QCOMPARE(doc.app.alarmTable().groupTag(0), doc.regs[2]);
        QCOMPARE(doc.app.alarmTable().tagMode(), AlarmTable::kDiscrete);
        QCOMPARE(doc.changes, 1);
    }

    void alarmsEnterOnALineEditsAndEscapeLeavesTheRecord() {
        Document doc;
        QVERIFY(doc.app.setAlarmText(3, "Fire").ok());
        QVERIFY(doc.app.setTagMode(AlarmTable::kDiscrete).ok());
        QVERIFY(doc.app.setGroupTag(0, doc.regs[1]).ok());
        const MemoryTotals before = doc.app.totals();
        {
            AlarmsDialog dialog(nullptr, doc.context, nullptr);
            dialog.show();
            dialog.list()->setFocus();
            dialog.list()->setCurrentRow(0);
            QTest::keyClick(dialog.list(), Qt::Key_Return);
            auto* text = dialog.findChild<QLineEdit*>("text");
            QVERIFY(text->isEnabled());
            QCOMPARE(text->text(), QString("Fire"));
            QCOMPARE(dialog.findChild<QLineEdit*>("number")->text(), QString("03"));
            text->clear();
            QTest::keyClicks(text, "Changed");
            // Escape in edit mode leaves the slot unchanged and the dialog open, as in the network and
            // blocks editors; a second Escape closes the dialog without storing anything.
            QTest::keyClick(&dialog, Qt::Key_Escape);
            QVERIFY(dialog.isVisible());
            QVERIFY(!text->isEnabled());
            QCOMPARE(rawLines(dialog.list()), QStringList{"003\tN\tFire"});
            QTest::keyClick(&dialog, Qt::Key_Escape);
            QVERIFY(!dialog.isVisible());
            QCOMPARE(dialog.result(), int(QDialog::Rejected));
            // The tags being edited were protected while the dialog was open.
            QVERIFY(doc.app.isTagReferenced(*doc.regs[1]));
        }
        QCOMPARE(doc.app.alarmTable().text(3), std::string("Fire"));
        QVERIFY(doc.app.totals() == before);
        QVERIFY(!doc.app.alarmTable().editedGroupTags.has_value());
        QCOMPARE(doc.changes, 0);
    }

    void loggerShowsTheRecordAndCloseStoresIt() {
        Document doc;
        LoggerDialog dialog(nullptr, doc.context);
        dialog.show();
        dialog.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&dialog));
        QCOMPARE(dialog.windowTitle(), QString("Quillon : Logger"));
        QVERIFY(!dialog.hasHelp());
        QVERIFY(buttonOf(dialog, "Close") != nullptr);
        QVERIFY(buttonOf(dialog, "Cancel") == nullptr);
        auto* defined = dialog.findChild<QListWidget*>("definedTags");
        auto* logged = dialog.findChild<QListWidget*>("loggedTags");
        QCOMPARE(defined->count(), 8); // not the write-only tag
        QPushButton* add = buttonOf(dialog, "<- &Add");
        QVERIFY(!add->isEnabled());
        defined->setCurrentRow(4);
        QVERIFY(add->isEnabled());
        add->click();
        QVERIFY(!add->isEnabled()); // until another tag is chosen
        QCOMPARE(logged->item(0)->text(), QString("R4 ( D0004 )"));
        defined->setCurrentRow(6);
        emit defined->itemActivated(defined->item(6)); // double click or Enter
        QCOMPARE(logged->count(), 2);

        // The frequency left empty becomes 10.
        QLineEdit* frequency = dialog.frequency();
        frequency->setFocus();
        frequency->clear();
        dialog.header()->setFocus();
        QCOMPARE(frequency->text(), QString("10"));
        frequency->setFocus();
        frequency->setText("0");
        dialog.header()->setFocus();
        QCOMPARE(frequency->text(), QString("10"));
        frequency->setFocus();
        frequency->selectAll();
        QTest::keyClicks(frequency, "300"); // cut back to the maximum as it is typed
        QCOMPARE(frequency->text(), QString("30"));

        // The header: '#' is not typed, the fields go whole, Backspace deletes the field before the cursor.
        QLineEdit* header = dialog.header();
        header->setFocus();
        QTest::keyClicks(header, "Log #1 ");
        QCOMPARE(header->text(), QString("Log 1 "));
        buttonOf(dialog, "Embed Time")->click();
        QCOMPARE(header->text(), QString("Log 1 HH:MM:SS"));
        doc.prompter.script({PromptAnswer::Yes});
        header->setFocus();
        header->end(false);
        QTest::keyClick(header, Qt::Key_Backspace);
        QCOMPARE(doc.prompter.prompts().back().text, std::string("Do you want to delete the Time?"));
        QCOMPARE(header->text(), QString("Log 1 "));
        buttonOf(dialog, "Embed Date")->click();
        shot(dialog, "logger");

        dialog.findChild<QComboBox*>("memorySize")->setCurrentIndex(1);
        for (QRadioButton* r : dialog.findChildren<QRadioButton*>()) {
            if (r->text() == "&Hours" || r->text().startsWith("F&IFO")) {
                r->click();
            }
        }
        dialog.findChild<QComboBox*>("separator")->setCurrentIndex(1);
        QTest::keyClick(&dialog, Qt::Key_Escape); // no Cancel: Escape keeps what was set
        const LoggerSettings& l = doc.app.logger();
        QCOMPARE(l.memorySize, std::uint8_t{1});
        QCOMPARE(l.frequency, std::uint8_t{30});
        QCOMPARE(l.frequencyUnit, std::uint8_t{2});
        QCOMPARE(l.whenFull, std::uint8_t{1});
        QCOMPARE(l.separator, ' ');
        QCOMPARE(l.pageHeader, "Log 1 " + std::string(8, '\x02'));
        QCOMPARE(l.tags.size(), std::size_t{2});
        QCOMPARE(doc.app.totals().loggerBytes, std::uint32_t{13});
        QCOMPARE(doc.changes, 1);
    }
};

QTEST_MAIN(AlarmLoggerDialogsTest)
#include "AlarmLoggerDialogsTest.moc"
