// The task-list and key editors as the user meets them: the lists of each owner with their radio buttons
// and drop-down, the keys dialogs with the keypad, two-key combinations and screen keys acting as global
// keys, and the task dialogs' fields (which lists and fields show, the number filters, Ok's refusals).

#include "define/DelayDialog.h"
#include "define/KeyFunctionsDialog.h"
#include "define/KeyTaskListsDialog.h"
#include "define/KeypadWidget.h"
#include "define/PasswordLegendDialog.h"
#include "define/RecipeCopyDialog.h"
#include "define/TagComboBox.h"
#include "define/TagOperationsDialog.h"
#include "define/TaskListPanel.h"
#include "define/TaskListsDialog.h"
#include "define/WaitDialog.h"
#include "edit/define/TaskChoice.h"
#include "model/Application.h"
#include "model/RecordingPrompter.h"
#include "model/TouchAreaObject.h"

#include <QAbstractItemView>
#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QTimer>
#include <QToolButton>
#include <QWheelEvent>

using namespace quillon;
using namespace quillon::gui;

namespace {

// Model 10 (keys 1 to 6, key 4 chosen on opening) with a PLC, registers, a coil and a register bit.
struct Document {
    Application app{10};
    RecordingPrompter prompter;
    TaskEditorContext context;
    Tag* speed = nullptr;
    Tag* level = nullptr;
    Tag* motor = nullptr;
    Tag* alarm = nullptr;
    Screen* screen = nullptr;
    int changes = 0;

    Document() {
        (void)app.addNode(Node::createUnitNode());
        auto node = std::make_unique<Node>(NodeKind::Plc, 1);
        node->name = "PLC1";
        Node* plc = app.addNode(std::move(node)).value();
        Block* block = app.addBlock(*plc, std::make_unique<Block>("D0000", 40)).value();
        speed = add(*block, "D0001", tag_type::kRegister, "Speed");
        level = add(*block, "D0002", tag_type::kRegister, "Level");
        motor = add(*block, "D0003", tag_type::kCoil, "Motor");
        alarm = add(*block, "D0004", tag_type::kRegisterBit, "Alarm");
        screen = app.addScreen(std::make_unique<Screen>(1)).value();
        context.application = &app;
        context.prompter = &prompter;
        context.runDialog = [](QDialog& dialog) { return dialog.exec(); };
        context.modified = [this] { ++changes; };
    }
    Tag* add(Block& block, const char* address, char type, const char* name) {
        TagValues v;
        v.address = address;
        v.type = type;
        v.readWrite = '2';
        v.bit = 3;
        v.name = name;
        return app.addTag(block, v).value();
    }
};

// Answers the next modal dialog once it is up.
void whenDialog(std::function<void(QWidget*)> answer) {
    QTimer::singleShot(0, [answer = std::move(answer)] {
        QWidget* modal = QApplication::activeModalWidget();
        if (modal == nullptr) {
            whenDialog(answer);
            return;
        }
        answer(modal);
    });
}

QStringList lines(const QListWidget* list) {
    QStringList out;
    for (int i = 0; i < list->count(); ++i) {
        out << list->item(i)->text();
    }
    return out;
}

void shot(QWidget& widget, const char* name) {
    // Pictures for whoever looks at a run: QUILLON_SHOTS names a folder.
    const QByteArray folder = qgetenv("QUILLON_SHOTS");
    if (!folder.isEmpty()) {
        widget.show();
        widget.grab().save(QString::fromUtf8(folder) + "/" + name + ".png");
    }
}

} // namespace

class TaskEditorDialogsTest : public QObject {
    Q_OBJECT
private slots:
    void applicationListsOfferNoKeyTasksAndAddThroughTheDropDown() {
        Document doc;
        TaskListsDialog dialog(nullptr, doc.context, TaskListsDialog::Kind::Application);
        QCOMPARE(dialog.windowTitle(), QString("Quillon : Application ( Power-on and Global ) Task-lists"));
        TaskListPanel* panel = dialog.panel();
        QCOMPARE(panel->choices()->count(), 18);
        QCOMPARE(panel->choices()->itemText(10), QString("Toggle Bit"));
        QCOMPARE(panel->choices()->itemData(10).toInt(), 12);
        QCOMPARE(panel->listRadio(0)->text(), QString("&Power-on Tasks"));
        QCOMPARE(panel->listRadio(1)->text(), QString("&Global Tasks"));
        QVERIFY(panel->listRadio(0)->isChecked());
        QVERIFY(!panel->listRadio(2)->isVisibleTo(&dialog));

        panel->selectList(1);
        panel->addChosen(task_choice::kGotoNext);
        panel->addChosen(task_choice::kPrintData);
        QCOMPARE(lines(panel->list(1)), QStringList({"Goto Next Screen", "Print Data"}));
        QCOMPARE(doc.changes, 2);
        // A refused task shows its message and adds nothing.
        panel->addChosen(task_choice::kWait);
        QCOMPARE(
            doc.prompter.last().text,
            std::string("Wait Task is not supported as Global Task.\nWait Task can be used  as Screen While "
                        "Showing Task only."));
        QCOMPARE(panel->list(1)->count(), 2);
        // Ctrl+Down moves, Delete asks with the list's word.
        panel->list(1)->setCurrentRow(0);
        QTest::keyClick(panel->list(1), Qt::Key_Down, Qt::ControlModifier);
        QCOMPARE(lines(panel->list(1)), QStringList({"Print Data", "Goto Next Screen"}));
        doc.prompter.script({PromptAnswer::Yes});
        panel->list(1)->setCurrentRow(0);
        QTest::keyClick(panel->list(1), Qt::Key_Delete);
        QCOMPARE(doc.prompter.last().text, std::string("Are you sure to delete the selected Global task?"));
        QCOMPARE(lines(panel->list(1)), QStringList({"Goto Next Screen"}));
        QVERIFY(doc.app.checkConsistency());
        shot(dialog, "application-task-lists");
    }

    void keysOnTheClosedTaskListChooseNothing() {
        Document doc;
        TaskListsDialog dialog(nullptr, doc.context, TaskListsDialog::Kind::Application);
        dialog.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dialog));
        QComboBox* choices = dialog.panel()->choices();
        // Whatever opens meanwhile (a task's dialog, the list) is counted and closed.
        int dialogs = 0;
        QTimer closer;
        connect(&closer, &QTimer::timeout, [&dialogs] {
            if (auto* modal = qobject_cast<QDialog*>(QApplication::activeModalWidget())) {
                ++dialogs;
                modal->reject();
            }
        });
        closer.start(5);
        choices->setFocus();
        for (const Qt::Key key :
             {Qt::Key_Down, Qt::Key_Home, Qt::Key_End, Qt::Key_PageDown, Qt::Key_Up, Qt::Key_G, Qt::Key_W}) {
            QTest::keyClick(choices, key);
            QTest::qWait(20);
            choices->hidePopup();
            QCOMPARE(choices->currentIndex(), -1);
        }
        QWheelEvent wheel(QPointF(5, 5), choices->mapToGlobal(QPointF(5, 5)), QPoint(), QPoint(0, -120),
                          Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
        QApplication::sendEvent(choices, &wheel);
        QTest::qWait(20);
        QCOMPARE(dialogs, 0);
        QCOMPARE(doc.changes, 0);
        QCOMPARE(dialog.panel()->list(0)->count(), 0);

        // Down opened the list; Return there is the explicit choice.
        QTest::keyClick(choices, Qt::Key_Down);
        QTRY_VERIFY(choices->view()->isVisible());
        choices->view()->setCurrentIndex(choices->model()->index(1, 0)); // Goto Next Screen
        QTest::keyClick(choices->view(), Qt::Key_Return);
        QTRY_COMPARE(dialog.panel()->list(0)->count(), 1);
        QCOMPARE(lines(dialog.panel()->list(0)), QStringList({"Goto Next Screen"}));
        QCOMPARE(choices->currentIndex(), -1);
        QCOMPARE(dialogs, 0);
        closer.stop();
    }

    void screenListsShowTheirWordsAndPreviewFrame() {
        Document doc;
        TaskListsDialog dialog(nullptr, doc.context, TaskListsDialog::Kind::Screen, doc.screen);
        QCOMPARE(dialog.windowTitle(), QString("Quillon : Task-lists of Screen [ 1 : Screen1 ]"));
        QCOMPARE(dialog.panel()->listRadio(1)->text(), QString("'&While showing' Tasks"));
        QVERIFY(dialog.preview() != nullptr);
        QCOMPARE(dialog.findChild<QWidget*>("screenPreviewFrame")->size(), QSize(326, 246));
        shot(dialog, "screen-task-lists");
    }

    void touchAreaListsOfferKeyTasks() {
        Document doc;
        auto* area = static_cast<TouchAreaObject*>(
            doc.screen->appendObject(std::make_unique<TouchAreaObject>()).value());
        TaskListsDialog dialog(nullptr, doc.context, TaskListsDialog::Kind::TouchArea, doc.screen, area);
        QCOMPARE(dialog.windowTitle(), QString("Quillon : Touch-Screen Task-lists"));
        QCOMPARE(dialog.panel()->choices()->count(), 19);
        QCOMPARE(dialog.panel()->listRadio(2)->text(), QString("'&Released' Tasks"));
    }

    void globalKeysTwoKeyCombinationAndBrowsing() {
        Document doc;
        KeyTaskListsDialog dialog(nullptr, doc.context, nullptr);
        QCOMPARE(dialog.windowTitle(), QString("Quillon : Global Keys' Task-lists"));
        QCOMPARE(dialog.selection().code(), std::uint16_t{4});
        QVERIFY(dialog.keypad()->button(6) != nullptr);
        QVERIFY(dialog.keypad()->button(7) == nullptr);
        QCOMPARE(dialog.keypad()->button(1)->text().left(2), QString("F1"));
        QVERIFY(dialog.keypad()->button(4)->isChecked());
        QVERIFY(!dialog.passwordButton()->isVisibleTo(&dialog)); // a key just created
        QCOMPARE(dialog.keypad()->picture(4), 598);

        dialog.twoKeysRadio()->click();
        dialog.keypad()->button(2)->click();
        QCOMPARE(dialog.selection().code(), std::uint16_t(4 + 256 * 2));
        QVERIFY(doc.app.findGlobalKey(4) == nullptr); // the empty key 4 went
        dialog.panel()->addChosen(task_choice::kGotoNext);
        QVERIFY(dialog.passwordButton()->isVisibleTo(&dialog));
        QCOMPARE(dialog.keypad()->picture(2), 599); // a combination with tasks marks its keys
        dialog.interruptBox()->click();
        QCOMPARE(doc.app.findGlobalKey(4 + 256 * 2)->interrupt, std::uint8_t{1});
        QVERIFY(doc.app.checkConsistency());
        shot(dialog, "global-keys");
    }

    void keyEditorsNameTheChosenKeyOrCombination() {
        Document doc;
        KeyDefinition* global = doc.app.addGlobalKey(std::make_unique<KeyDefinition>(5)).value();
        Task next;
        next.kind = TaskKind::GotoScreen;
        next.subKind = 1;
        QVERIFY(doc.app.appendTask(*global, 0, next));
        for (Screen* screen : {static_cast<Screen*>(nullptr), doc.screen}) {
            KeyTaskListsDialog dialog(nullptr, doc.context, screen);
            QLabel* chosen = dialog.chosenKeyLabel();
            QVERIFY(chosen != nullptr);
            dialog.clickKey(2);
            QCOMPARE(chosen->text(), QString("Key F2"));
            dialog.clickKey(5);
            QCOMPARE(chosen->text(), QString("Key F5"));
            dialog.twoKeysRadio()->click();
            dialog.clickKey(3);
            QCOMPARE(dialog.selection().code(), std::uint16_t(5 + 256 * 3));
            QCOMPARE(chosen->text(), QString("Keys F5 + F3"));
            dialog.reject();
        }
        // The buttons' tips name the keys as everywhere else; keys without tasks keep their marker's tip.
        KeyTaskListsDialog dialog(nullptr, doc.context, nullptr);
        dialog.clickKey(5);
        QCOMPARE(dialog.keypad()->button(5)->toolTip(), QString("Key F5"));
        QCOMPARE(dialog.keypad()->button(6)->toolTip(), QString("Indicates undefined Global-Key."));
        dialog.reject();
    }

    void browsingKeysNeverLeavesThePanelOnARemovedDefinition() {
        // The opening key's empty definition goes when another key is chosen, in both key dialogs, by
        // the mouse and by the keyboard (Tab to a key, Space); the panel has let go of it first.
        Document doc;
        KeyDefinition* global = doc.app.addGlobalKey(std::make_unique<KeyDefinition>(5)).value();
        Task next;
        next.kind = TaskKind::GotoScreen;
        next.subKind = 1;
        QVERIFY(doc.app.appendTask(*global, 0, next));
        for (Screen* screen : {static_cast<Screen*>(nullptr), doc.screen}) {
            KeyTaskListsDialog dialog(nullptr, doc.context, screen);
            dialog.show();
            QVERIFY(QTest::qWaitForWindowExposed(&dialog));
            QTest::mouseClick(dialog.keypad()->button(2), Qt::LeftButton);
            QCOMPARE(dialog.selection().code(), std::uint16_t{2});
            QCOMPARE(dialog.panel()->owner(), static_cast<TaskListOwner*>(dialog.selection().key()));
            dialog.keypad()->button(5)->setFocus();
            QTest::keyClick(dialog.keypad()->button(5), Qt::Key_Space);
            QCOMPARE(dialog.selection().code(), std::uint16_t{5});
            // A screen key without tasks shows the global key's lists grayed.
            QCOMPARE(lines(dialog.panel()->list(0)), QStringList({"Goto Next Screen"}));
            QCOMPARE(dialog.panel()->list(0)->isEnabled(), screen == nullptr);
            QTest::mouseClick(dialog.keypad()->button(3), Qt::LeftButton);
            QTest::mouseClick(dialog.keypad()->button(1), Qt::LeftButton);
            QCOMPARE(dialog.panel()->list(0)->count(), 0);
            dialog.reject();
            QVERIFY(doc.app.checkConsistency());
        }
        QCOMPARE(doc.app.globalKeyCount(), std::size_t{1});
        QCOMPARE(doc.screen->keyCount(), std::size_t{0});
    }

    void escapeLeavesNoEmptyKeyDefinition() {
        Document doc;
        const std::uint32_t size = doc.app.totals().applicationSize;
        for (Screen* screen : {static_cast<Screen*>(nullptr), doc.screen}) {
            KeyTaskListsDialog dialog(nullptr, doc.context, screen);
            QCOMPARE(screen == nullptr ? doc.app.globalKeyCount() : doc.screen->keyCount(), std::size_t{1});
            whenDialog([](QWidget* modal) { QTest::keyClick(modal, Qt::Key_Escape); });
            QCOMPARE(dialog.exec(), int{QDialog::Rejected});
            QCOMPARE(doc.app.globalKeyCount(), std::size_t{0});
            QCOMPARE(doc.screen->keyCount(), std::size_t{0});
            QCOMPARE(doc.app.totals().applicationSize, size);
        }
        // The global keys opened over the screen keys and closed again: both dialogs come back to the
        // same key, nothing left behind and nothing shown that went.
        {
            KeyTaskListsDialog dialog(nullptr, doc.context, doc.screen);
            dialog.clickKey(2);
            whenDialog([](QWidget* modal) {
                auto* global = qobject_cast<KeyTaskListsDialog*>(modal);
                QVERIFY(global != nullptr);
                QCOMPARE(global->selection().code(), std::uint16_t{2});
                global->clickKey(3);
                global->clickKey(2);
                global->reject();
            });
            dialog.globalKeysButton()->click();
            QCOMPARE(dialog.selection().code(), std::uint16_t{2});
            QCOMPARE(dialog.panel()->owner(), static_cast<TaskListOwner*>(dialog.selection().key()));
            QCOMPARE(doc.app.globalKeyCount(), std::size_t{0});
            dialog.panel()->addChosen(task_choice::kPrintData);
            dialog.reject();
        }
        QCOMPARE(doc.screen->keyCount(), std::size_t{1});
        QCOMPARE(doc.app.globalKeyCount(), std::size_t{0});
        QVERIFY(doc.app.checkConsistency());
    }

    void screenKeysShowTheGlobalKeysTasksGrayed() {
        Document doc;
        KeyDefinition* global = doc.app.addGlobalKey(std::make_unique<KeyDefinition>(4)).value();
        Task next;
        next.kind = TaskKind::GotoScreen;
        next.subKind = 1;
        QVERIFY(doc.app.appendTask(*global, 0, next));
        KeyTaskListsDialog dialog(nullptr, doc.context, doc.screen);
        QCOMPARE(dialog.windowTitle(), QString("Quillon : Task-lists of Keys for Screen [ 1 : Screen1 ]"));
        QCOMPARE(lines(dialog.panel()->list(0)), QStringList({"Goto Next Screen"}));
        QVERIFY(!dialog.panel()->list(0)->isEnabled());
        QVERIFY(!dialog.passwordButton()->isVisibleTo(&dialog));
        QVERIFY(dialog.globalKeysButton()->isVisibleTo(&dialog));
        dialog.panel()->selectList(2);
        dialog.panel()->addChosen(task_choice::kPrintData);
        QVERIFY(dialog.panel()->list(0)->isEnabled());
        QCOMPARE(dialog.panel()->list(0)->count(), 0);
        QCOMPARE(lines(dialog.panel()->list(2)), QStringList({"Print Data"}));
        QCOMPARE(doc.screen->keyCount(), std::size_t{1});
    }

    void tagOperationsTagsHaveTheirKeys() {
        Document doc;
        const TaskPlace place{&doc.app, &doc.app.applicationLists(), 0, nullptr};
        Task initial;
        TagOperationsDialog dialog(nullptr, doc.context, place, 12, initial);
        const auto labelOf = [&dialog](QWidget* field) {
            for (QLabel* label : dialog.findChildren<QLabel*>()) {
                if (label->buddy() == field) {
                    return label->text();
                }
            }
            return QString();
        };
        QCOMPARE(labelOf(dialog.tagA()), QString("Tag &A"));
        QCOMPARE(labelOf(dialog.tagB()), QString("Tag &B"));
        dialog.setOperation(1);
        QCOMPARE(labelOf(dialog.tagA()), QString("&Tag"));
    }

    void tagOperationsListsAndNumberFormats() {
        Document doc;
        const TaskPlace place{&doc.app, &doc.app.applicationLists(), 0, nullptr};
        Task initial;
        TagOperationsDialog dialog(nullptr, doc.context, place, 12, initial);
        QCOMPARE(dialog.windowTitle(), QString("Quillon : Tag Operations"));
        QVERIFY(dialog.tagB()->isVisibleTo(&dialog));
        QVERIFY(!dialog.number()->isVisibleTo(&dialog));
        QCOMPARE(dialog.tagA()->count(), 4); // every type that can be written
        dialog.setOperation(6);
        QVERIFY(!dialog.tagB()->isVisibleTo(&dialog));
        QCOMPARE(dialog.tagA()->count(), 2); // bits only
        QCOMPARE(dialog.tagA()->itemText(1), QString("Alarm_03 ( D0004 )"));
        dialog.setOperation(1);
        QVERIFY(dialog.number()->isVisibleTo(&dialog));
        dialog.setFormat(2);
        QTest::keyClicks(dialog.number(), "1fA");
        QCOMPARE(dialog.number()->text(), QString("1A"));
        dialog.setFormat(0);
        dialog.number()->clear();
        QTest::keyClicks(dialog.number(), "70000");
        QCOMPARE(dialog.number()->text(), QString("7000"));
        dialog.tagA()->setCurrentIndex(0);
        dialog.accept();
        QVERIFY(dialog.task().has_value());
        QCOMPARE(taskText(*dialog.task()), std::string("Write 7000 to Tag D0001"));
        shot(dialog, "tag-operations");
    }

    void swapOfABitWithARegisterIsRefused() {
        Document doc;
        const TaskPlace place{&doc.app, &doc.app.applicationLists(), 0, nullptr};
        Task swap;
        swap.kind = TaskKind::SwapTags;
        swap.tag1 = doc.motor;
        swap.tag2 = doc.speed;
        TagOperationsDialog dialog(nullptr, doc.context, place, 12, swap);
        QCOMPARE(dialog.tagA()->tag(), doc.motor);
        QCOMPARE(dialog.tagB()->tag(), doc.speed);
        dialog.accept();
        QVERIFY(!dialog.task().has_value());
        QCOMPARE(doc.prompter.last().text, std::string("TagA and TagB should be of same type."));
        QCOMPARE(doc.prompter.last().kind, PromptKind::Error);
    }

    void delayUnitsNotesAndZero() {
        Document doc;
        Task initial;
        initial.kind = TaskKind::Delay;
        initial.parameter = 1;
        initial.value = 1;
        DelayDialog dialog(nullptr, doc.context, initial);
        QCOMPARE(dialog.note(), QString("Maximum delay : 3600 seconds"));
        QCOMPARE(dialog.amount()->text(), QString("1"));
        dialog.setUnit(2);
        QCOMPARE(dialog.note(), QString("Maximum delay : 60 minutes"));
        dialog.amount()->clear();
        QTest::keyClicks(dialog.amount(), "61");
        QCOMPARE(dialog.amount()->text(), QString("6"));
        dialog.amount()->setText("0");
        dialog.accept();
        QVERIFY(!dialog.task().has_value());
        QCOMPARE(doc.prompter.last().text, std::string("Invalid Entry."));
        dialog.amount()->setText("60");
        dialog.accept();
        QCOMPARE(taskText(*dialog.task()), std::string("Delay of 60 Minute(s)"));
    }

    void waitOnABitShowsOnAndOff() {
        Document doc;
        const TaskPlace place{&doc.app, doc.screen, Screen::kWhileShowing, nullptr};
        WaitDialog dialog(nullptr, doc.context, place, Task{});
        QCOMPARE(dialog.windowTitle(), QString("Quillon : Wait till"));
        dialog.tag()->setCurrentIndex(dialog.tag()->findText("Motor ( D0003 )"));
        QVERIFY(dialog.showsBitChoice());
        dialog.off()->setChecked(true);
        dialog.accept();
        QCOMPARE(taskText(*dialog.task()), std::string("Wait till coil D0003 is Off"));
        dialog.tag()->setCurrentIndex(dialog.tag()->findText("Speed ( D0001 )"));
        QVERIFY(!dialog.showsBitChoice());
        QCOMPARE(dialog.operation()->count(), 6);
        dialog.byTag()->setChecked(true);
        dialog.operand()->setCurrentIndex(dialog.operand()->findText("Speed ( D0001 )"));
        dialog.accept();
        QCOMPARE(doc.prompter.last().text, std::string("Both tags can not be same."));
    }

    void keyFunctionsOfferWhatTheUnitKnows() {
        Task initial;
        KeyFunctionsDialog dialog(nullptr, initial);
        QCOMPARE(dialog.functions()->buttons().size(), 38);
        QCOMPARE(dialog.functions()->button(29)->text(), QString("Edit Bit On"));
        QVERIFY(!dialog.functions()->button(31)->isEnabled());
        QVERIFY(!dialog.functions()->button(37)->isEnabled());
        dialog.functions()->button(20)->setChecked(true);
        dialog.accept();
        QCOMPARE(taskText(*dialog.task()), std::string("Numeric Key 7"));
    }

    void recipeAndClockCopies() {
        Document doc;
        const TaskPlace place{&doc.app, &doc.app.applicationLists(), 1, nullptr};
        RecipeCopyDialog recipe(nullptr, doc.context, place, RecipeCopyDialog::Mode::RecipeToPlc, Task{});
        QCOMPARE(recipe.windowTitle(), QString("Quillon: Copy Recipe to PLC"));
        QCOMPARE(recipe.number()->text(), QString("1"));
        recipe.number()->clear();
        QTest::keyClicks(recipe.number(), "2048");
        QCOMPARE(recipe.number()->text(), QString("204"));
        recipe.accept();
        QCOMPARE(doc.prompter.last().text, std::string("Tag(s) not selected."));
        recipe.plcTag()->setCurrentIndex(0);
        recipe.recipeTag()->setCurrentIndex(1);
        recipe.accept();
        QCOMPARE(taskText(*recipe.task()), std::string("Copy Recipe block D0002 of 204 to Plc D0001"));

        RecipeCopyDialog rtc(nullptr, doc.context, place, RecipeCopyDialog::Mode::RtcToPlc, Task{});
        rtc.plcTag()->setCurrentIndex(0);
        rtc.accept();
        QCOMPARE(doc.prompter.last().text, std::string("Number is not entered."));
        QTest::keyClicks(rtc.number(), "601");
        QCOMPARE(rtc.number()->text(), QString("60"));
    }

    void passwordAndLegendOfAKey() {
        Document doc;
        KeyDefinition* key = doc.app.addGlobalKey(std::make_unique<KeyDefinition>(3)).value();
        PasswordLegendDialog dialog(nullptr, doc.context, *key);
        QCOMPARE(dialog.windowTitle(), QString("Quillon : Password and Legend"));
        dialog.password()->clear();
        QTest::keyClicks(dialog.password(), "12345");
        QCOMPARE(dialog.password()->text(), QString("1234"));
        dialog.changeLegend()->setChecked(true);
        QTest::keyClicks(dialog.line1(), "ABCDEFGHIJK");
        QCOMPARE(dialog.line1()->text(), QString("ABCDEFGHI"));
        dialog.accept();
        QCOMPARE(key->password, std::uint16_t{1234});
        QVERIFY(key->legend.has_value());
        QCOMPARE(key->legend->line1, std::string("ABCDEFGHI"));
        // A picture legend with no picture to choose is cleared again.
        dialog.bitmapType()->setChecked(true);
        QVERIFY(!dialog.changeLegend()->isChecked());
    }
};

QTEST_MAIN(TaskEditorDialogsTest)
#include "TaskEditorDialogsTest.moc"
