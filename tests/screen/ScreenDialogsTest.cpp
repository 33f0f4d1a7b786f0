// The screens manager's dialogs: the screen dialog's fields, entry filters, validation and association,
// the select dialog, View All Screens with its keys and pages, the screen memory report, and the command
// flows that tie them to the document and the session.

#include "model/RecordingPrompter.h"
#include "model/TextObject.h"
#include "screen/AllScreensDialog.h"
#include "screen/AllScreensView.h"
#include "screen/ScreenCommands.h"
#include "screen/ScreenDialog.h"
#include "screen/ScreenMemoryDialog.h"
#include "ui/SelectScreenDialog.h"
#include "ui/NumericEntry.h"

#include <memory>
#include <vector>

#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QTest>

using namespace quillon;
using namespace quillon::gui;

namespace {

using Kind = NumericEntry::Kind;

Task gotoScreen(std::uint32_t number) {
    return Task{TaskKind::GotoScreen, 0, 0, static_cast<std::int32_t>(number), 0, nullptr, nullptr};
}

// A document with screens, a session that records what it was told to show, and dialogs run by a script.
struct Bench {
    Application app;
    RecordingPrompter prompter;
    Screen* current = nullptr;
    std::vector<Screen*> shown;
    std::vector<std::uint32_t> forgotten;
    std::function<int(QDialog&)> script;
    std::vector<QString> dialogTitles;
    ScreenCommands commands;

    explicit Bench(std::uint16_t model, std::initializer_list<std::uint32_t> numbers)
        : app(model), commands(ScreenCommandContext{app, prompter, nullptr,
                                                    [this](QDialog& d) {
                                                        dialogTitles.push_back(d.windowTitle());
                                                        return script ? script(d) : int{QDialog::Rejected};
                                                    },
                                                    [this] { return current; },
                                                    [this](Screen* s) {
                                                        shown.push_back(s);
                                                        current = s;
                                                    },
                                                    [this](Screen& s) { forgotten.push_back(s.number()); }}) {
        for (std::uint32_t n : numbers) {
            app.addScreen(std::make_unique<Screen>(n)).value();
        }
        if (!app.screens().empty()) {
            current = app.screens().front().get();
        }
    }
};

template <typename T>
T* child(QWidget& parent, const char* name) {
    T* found = parent.findChild<T*>(name);
    if (found == nullptr) {
        qFatal("missing child %s", name);
    }
    return found;
}

QStringList entries(QListWidget* list) {
    QStringList out;
    for (int i = 0; i < list->count(); ++i) {
        out << list->item(i)->text();
    }
    return out;
}

} // namespace

class ScreenDialogsTest : public QObject {
    Q_OBJECT
private slots:
    void numericEntryFiltersByRadixAndCutsAboveTheMaximum() {
        QCOMPARE(NumericEntry::filtered("7a0x0", Kind::Decimal, "00001", "65534"), QString("700"));
        QCOMPARE(NumericEntry::filtered("70000", Kind::Decimal, "00001", "65534"), QString("7000"));
        QCOMPARE(NumericEntry::filtered("65535", Kind::Decimal, "00001", "65534"), QString("6553"));
        // Below the minimum the text stays for Ok to refuse, except in a signed field.
        QCOMPARE(NumericEntry::filtered("0", Kind::Decimal, "00001", "65534"), QString("0"));
        QCOMPARE(NumericEntry::filtered("-40000", Kind::Signed, "-32768", "32767"), QString("-4000"));
        QCOMPARE(NumericEntry::filtered("1-2", Kind::Signed, "-32768", "32767"), QString("12"));
        QCOMPARE(NumericEntry::filtered("1021", Kind::Binary, "", "111"), QString("101"));
        QCOMPARE(NumericEntry::filtered("1111", Kind::Binary, "", "111"), QString("111"));
        QCOMPARE(NumericEntry::filtered("1FG0", Kind::Hexadecimal, "0", "FFF"), QString("1F0"));
        QCOMPARE(NumericEntry::filtered("0789", Kind::Octal, "", ""), QString("07"));
        QCOMPARE(NumericEntry::filtered("013", Kind::EvenOctal, "000", "777"), QString("01"));
        QCOMPARE(NumericEntry::filtered("a-1", Kind::Text, "", ""), QString("a-1"));

        QLineEdit field;
        new NumericEntry(&field, Kind::Decimal, "0000", "9999");
        QTest::keyClicks(&field, "12x345");
        QCOMPARE(field.text(), QString("1234"));
        QCOMPARE(field.cursorPosition(), 4);
    }

    void newDialogOpensWithTheSuggestion() {
        Bench b(500, {1, 2, 7});
        ScreenManager manager(b.app);
        ScreenDialog dialog(nullptr, ScreenDialogMode::New, manager, b.prompter, b.current, ScreenType::Both,
                            {});
        QCOMPARE(dialog.windowTitle(), QString("Quillon : New Screen"));
        QCOMPARE(dialog.helpTopic(), 5037);
        QCOMPARE(child<QLineEdit>(dialog, "number")->text(), QString("8"));
        QCOMPARE(child<QLineEdit>(dialog, "name")->text(), QString("Screen8"));
        QCOMPARE(child<QLineEdit>(dialog, "password")->text(), QString("0000"));
        QCOMPARE(child<QLineEdit>(dialog, "name")->maxLength(), 20);
        QCOMPARE(child<QLineEdit>(dialog, "description")->maxLength(), 100);
        QVERIFY(child<QRadioButton>(dialog, "typeDisplay")->isChecked());
        QVERIFY(child<QPushButton>(dialog, "memory")->isHidden());
        QCOMPARE(child<QLabel>(dialog, "maxAssociated")->text(), QString("( Max : 1 )"));
        QCOMPARE(entries(child<QListWidget>(dialog, "available")),
                 QStringList({"00001     Screen1", "00002     Screen2", "00007     Screen7"}));
        QVERIFY(!dialog.fields().associated);

        // Nothing past 65534: both fields open empty.
        b.app.addScreen(std::make_unique<Screen>(65534)).value();
        ScreenDialog full(nullptr, ScreenDialogMode::New, manager, b.prompter, b.current, ScreenType::Display,
                          {});
        QCOMPARE(child<QLineEdit>(full, "number")->text(), QString());
        QCOMPARE(child<QLineEdit>(full, "name")->text(), QString());
    }

    void okRefusalsKeepTheDialogOpenWithTheFocusOnTheField() {
        Bench b(500, {1, 2});
        ScreenManager manager(b.app);
        ScreenDialog dialog(nullptr, ScreenDialogMode::New, manager, b.prompter, b.current,
                            ScreenType::Display, {});
        dialog.show();
        auto* number = child<QLineEdit>(dialog, "number");
        auto* name = child<QLineEdit>(dialog, "name");
        name->clear();
        dialog.accept();
        QVERIFY(dialog.isVisible());
        QCOMPARE(b.prompter.last().title, std::string("Quillon : Error"));
        QCOMPARE(b.prompter.last().text, std::string("Number and Name should be\nentered for each Screen."));
        QCOMPARE(dialog.focusWidget(), name);

        name->setText("Screen1");
        number->setText("2");
        dialog.accept();
        QCOMPARE(b.prompter.last().text,
                 std::string("The Screen of this number already exist.\nThe number should be UNIQUE."));
        QCOMPARE(dialog.focusWidget(), number);
        number->setText("0");
        dialog.accept();
        QCOMPARE(b.prompter.last().text, std::string("Screen Number is out of range."));
        number->setText("5");
        dialog.accept();
        QCOMPARE(b.prompter.last().text,
                 std::string("The Screen of this name already exist.\nThe name should be UNIQUE."));
        QCOMPARE(dialog.focusWidget(), name);
        QVERIFY(dialog.isVisible());

        name->setText("Five");
        child<QRadioButton>(dialog, "typePrintOnly")->setChecked(true);
        dialog.accept();
        QVERIFY(!dialog.isVisible());
        QCOMPARE(dialog.result(), int{QDialog::Accepted});
        QCOMPARE(dialog.fields().number, std::optional<std::uint32_t>(5));
        QCOMPARE(dialog.fields().type, ScreenType::PrintOnly);
        QCOMPARE(b.app.screenCount(), std::size_t{2}); // the dialog itself changes nothing
    }

    void informationLocksTargetsAndAssociatesWithConfirmation() {
        Bench b(500, {1, 2, 3});
        Screen& two = *b.app.findScreen(2);
        two.name = "Two";
        two.password = 12;
        two.description = "second";
        two.setAssociated(3);
        ScreenManager manager(b.app);
        {
            ScreenDialog dialog(nullptr, ScreenDialogMode::Information, manager, b.prompter, &two,
                                ScreenType::Display, {});
            QCOMPARE(dialog.windowTitle(), QString("Quillon : Screen Information"));
            QCOMPARE(child<QLineEdit>(dialog, "number")->text(), QString("2"));
            QCOMPARE(child<QLineEdit>(dialog, "password")->text(), QString("0012"));
            QCOMPARE(child<QLineEdit>(dialog, "description")->text(), QString("second"));
            QVERIFY(child<QLineEdit>(dialog, "number")->isEnabled());
            QCOMPARE(entries(child<QListWidget>(dialog, "associated")), QStringList({"00003     Screen3"}));
            // Neither the screen itself nor the associated one is offered; Associate waits for a free place.
            QCOMPARE(entries(child<QListWidget>(dialog, "available")), QStringList({"00001     Screen1"}));
            QVERIFY(!child<QPushButton>(dialog, "associate")->isEnabled());

            b.prompter.script({PromptAnswer::No});
            dialog.unassociateSelected();
            QCOMPARE(b.prompter.last().text,
                     std::string("Are you sure to unassociate the selected Associated Screen?"));
            QCOMPARE(b.prompter.last().title, std::string("Quillon : Confirmation"));
            QCOMPARE(dialog.fields().associated, std::optional<std::uint16_t>(3));
            // The Delete key asks the same question.
            b.prompter.script({PromptAnswer::Yes});
            QTest::keyClick(child<QListWidget>(dialog, "associated"), Qt::Key_Delete);
            QVERIFY(!dialog.fields().associated);
            QCOMPARE(entries(child<QListWidget>(dialog, "available")),
                     QStringList({"00001     Screen1", "00003     Screen3"}));
            QVERIFY(child<QPushButton>(dialog, "associate")->isEnabled());
            QVERIFY(!child<QPushButton>(dialog, "unassociate")->isEnabled());
            auto* available = child<QListWidget>(dialog, "available");
            available->setCurrentRow(1);
            dialog.associateSelected();
            QCOMPARE(dialog.fields().associated, std::optional<std::uint16_t>(3));
            QVERIFY(!child<QPushButton>(dialog, "associate")->isEnabled());
            dialog.associateSelected(); // at most one
            QCOMPARE(child<QListWidget>(dialog, "associated")->count(), 1);
        }
        // A Goto Screen task to it locks number and name.
        b.app.appendTask(b.app.applicationLists(), Application::kPowerOn, gotoScreen(2)).value();
        ScreenDialog locked(nullptr, ScreenDialogMode::Information, manager, b.prompter, &two,
                            ScreenType::Display, {});
        QVERIFY(!child<QLineEdit>(locked, "number")->isEnabled());
        QVERIFY(!child<QLineEdit>(locked, "name")->isEnabled());
        QVERIFY(child<QLineEdit>(locked, "password")->isEnabled());
    }

    void memoryConfigurationShowsTheScreensRows() {
        Bench b(500, {4, 9});
        Screen& four = *b.app.findScreen(4);
        four.setAssociated(9);
        auto text = std::make_unique<TextObject>();
        (void)text->setText("abc");
        four.appendObject(std::move(text)).value();
        ScreenManager manager(b.app);
        QString title;
        QString objects;
        QString other;
        QString total;
        QString tagTable;
        ScreenDialog dialog(nullptr, ScreenDialogMode::Duplicate, manager, b.prompter, &four,
                            ScreenType::Both, [&](QDialog& d) {
                                title = d.windowTitle();
                                objects = child<QLabel>(d, "ObjectsBytes")->text();
                                other = child<QLabel>(d, "OtherBytes")->text();
                                total = child<QLabel>(d, "TotalBytes")->text();
                                tagTable = child<QLabel>(d, "tagTableSize")->text();
                                return int{QDialog::Accepted};
                            });
        QCOMPARE(dialog.windowTitle(), QString("Quillon : Duplicate Screen ( 00004 : Screen4 ) to"));
        QVERIFY(child<QRadioButton>(dialog, "typeBoth")->isChecked());
        QCOMPARE(child<QLineEdit>(dialog, "number")->text(), QString("10"));
        // Duplicate offers every screen, the source included.
        QCOMPARE(child<QListWidget>(dialog, "available")->count(), 2);
        QVERIFY(!child<QPushButton>(dialog, "memory")->isHidden());
        child<QPushButton>(dialog, "memory")->click();
        QCOMPARE(title, QString("Memory Configuration of The Screen"));
        QCOMPARE(objects, QString("30"));
        QCOMPARE(other, QString("38"));
        QCOMPARE(total, QString::number(four.imageBytes()));
        QCOMPARE(tagTable, QString("Screen Tag-table size : 0"));
    }

    void selectDialogListsEveryScreenAndReturnsTheChoice() {
        Bench b(500, {1, 12, 300});
        b.app.findScreen(12)->name = "Setup";
        SelectScreenDialog dialog(nullptr, b.app, SelectScreenDialog::Mode::SelectScreen, 12);
        QCOMPARE(dialog.windowTitle(), QString("Quillon : Select Screen"));
        QCOMPARE(dialog.helpTopic(), 5040);
        QCOMPARE(entries(dialog.list()),
                 QStringList({"00001     Screen1", "00012     Setup", "00300     Screen300"}));
        QCOMPARE(dialog.chosenNumber(), std::optional<std::uint32_t>(12));
        dialog.show();
        QListWidgetItem* last = dialog.list()->item(2);
        const QRect where = dialog.list()->visualItemRect(last);
        QTest::mouseClick(dialog.list()->viewport(), Qt::LeftButton, {}, where.center());
        QTest::mouseDClick(dialog.list()->viewport(), Qt::LeftButton, {}, where.center());
        QCOMPARE(dialog.result(), int{QDialog::Accepted});
        QCOMPARE(dialog.chosenNumber(), std::optional<std::uint32_t>(300));

        SelectScreenDialog gotoDialog(nullptr, b.app, SelectScreenDialog::Mode::GotoScreen, std::nullopt);
        QCOMPARE(gotoDialog.windowTitle(), QString("Goto Screen"));
        QCOMPARE(gotoDialog.chosenNumber(), std::optional<std::uint32_t>(1));
    }

    void allScreensPagesFollowTheDisplayClass() {
        QCOMPARE(AllScreensView::screensPerPage(1), 16);
        QCOMPARE(AllScreensView::screensPerPage(3), 16);
        QCOMPARE(AllScreensView::screensPerPage(4), 10);
        QCOMPARE(AllScreensView::screensPerPage(50), 10);
        QCOMPARE(AllScreensView::screensPerPage(51), 6);
        QCOMPARE(AllScreensView::screensPerPage(52), 1);
        QCOMPARE(AllScreensView::columnsFor(52), 1);
        QCOMPARE(AllScreensView::columnsFor(51), 2);

        Bench few(500, {1, 2, 3});
        AllScreensDialog small(nullptr, few.app, few.current, nullptr);
        QCOMPARE(small.windowTitle(), QString("Quillon : All 3 screen(s)  ( Double click to select )"));
        AllScreensView& view = *small.view();
        const std::uint8_t displayClass = modelClass(500);
        QCOMPARE(view.columns(), AllScreensView::columnsFor(displayClass));
        // Never more on a page than there are screens.
        QCOMPARE(view.rowsPerPage(),
                 (std::min(3, AllScreensView::screensPerPage(displayClass)) + view.columns() - 1) /
                     view.columns());
        if (view.columns() == 2) {
            const QRect first = view.cellRect(0);
            const QRect second = view.cellRect(1);
            const QRect third = view.cellRect(2);
            QCOMPARE(second.left() - first.right() - 1, 40);
            QCOMPARE(third.top() - first.bottom() - 1, 24);
        }
        const CanvasSize size = displaySize(displayClass);
        QCOMPARE(view.cellRect(0).width(), size.width + 2);
    }

    void allScreensKeysMoveTheHighlightAndScroll() {
        // 480 x 64 class: six to a page, three rows of two.
        std::uint16_t model = 0;
        for (const PanelModel& m : panelModels()) {
            if (m.modelClass == 51) {
                model = m.id;
            }
        }
        QVERIFY(model != 0);
        Bench b(model, {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11});
        b.current = b.app.findScreen(3);
        AllScreensDialog dialog(nullptr, b.app, b.current, nullptr);
        AllScreensView& view = *dialog.view();
        QCOMPARE(view.rowsPerPage(), 3);
        QCOMPARE(view.highlighted(), 2);
        QCOMPARE(view.firstVisibleRow(), 0);
        dialog.show();
        QTest::keyClick(&view, Qt::Key_Right);
        QCOMPARE(view.highlighted(), 3);
        QTest::keyClick(&view, Qt::Key_Down);
        QTest::keyClick(&view, Qt::Key_Down);
        QCOMPARE(view.highlighted(), 7);
        QCOMPARE(view.firstVisibleRow(), 1); // the highlight left the page, which followed by one row
        QTest::keyClick(&view, Qt::Key_Tab);
        QTest::keyClick(&view, Qt::Key_Tab);
        QTest::keyClick(&view, Qt::Key_Tab);
        QCOMPARE(view.highlighted(), 10);
        QCOMPARE(view.firstVisibleRow(), 3);
        QTest::keyClick(&view, Qt::Key_Down); // no row below
        QCOMPARE(view.highlighted(), 10);
        QTest::keyClick(&view, Qt::Key_Tab); // from the last to the first
        QCOMPARE(view.highlighted(), 0);
        QCOMPARE(view.firstVisibleRow(), 0);
        QTest::keyClick(&view, Qt::Key_End);
        QCOMPARE(view.firstVisibleRow(), 3);
        QTest::keyClick(&view, Qt::Key_PageUp); // half a page: one of three rows
        QCOMPARE(view.firstVisibleRow(), 2);
        QTest::keyClick(&view, Qt::Key_Home);
        QCOMPARE(view.firstVisibleRow(), 0);
        QTest::keyClick(&view, Qt::Key_Left);
        QCOMPARE(view.highlighted(), 0);
        QTest::keyClick(&view, Qt::Key_Right);
        QTest::keyClick(&view, Qt::Key_Return);
        QCOMPARE(dialog.result(), int{QDialog::Accepted});
        QCOMPARE(dialog.chosenNumber(), std::optional<std::uint32_t>(2));

        AllScreensDialog escaped(nullptr, b.app, b.current, nullptr);
        escaped.show();
        QTest::keyClick(escaped.view(), Qt::Key_Escape);
        QCOMPARE(escaped.result(), int{QDialog::Rejected});
        QVERIFY(!escaped.chosenNumber());

        // A click highlights, a double click chooses.
        AllScreensDialog clicked(nullptr, b.app, b.current, nullptr);
        clicked.show();
        const QPoint fourth = clicked.view()->cellRect(3).center();
        QTest::mouseClick(clicked.view()->viewport(), Qt::LeftButton, {}, fourth);
        QCOMPARE(clicked.view()->highlighted(), 3);
        QTest::mouseDClick(clicked.view()->viewport(), Qt::LeftButton, {}, fourth);
        QCOMPARE(clicked.chosenNumber(), std::optional<std::uint32_t>(4));
    }

    void newAndDuplicateCommandsStoreAndShowTheScreen() {
        Bench b(500, {1, 2, 7});
        b.script = [](QDialog& d) {
            child<QRadioButton>(d, "typeBoth")->setChecked(true);
            d.accept();
            return d.result();
        };
        QVERIFY(b.commands.newScreen());
        QCOMPARE(b.dialogTitles.back(), QString("Quillon : New Screen"));
        QVERIFY(b.current != nullptr);
        QCOMPARE(b.current->number(), 8u);
        QCOMPARE(b.current->type, ScreenType::Both);
        QCOMPARE(b.commands.lastType(), ScreenType::Both);

        // Duplicate opens with the type of the last close and copies the current screen.
        (void)b.app.appendTask(*b.current, Screen::kBeforeShowing, gotoScreen(1)).value();
        b.script = [](QDialog& d) {
            if (!child<QRadioButton>(d, "typeBoth")->isChecked()) {
                return int{QDialog::Rejected};
            }
            d.accept();
            return d.result();
        };
        QVERIFY(b.commands.duplicateScreen());
        QCOMPARE(b.dialogTitles.back(), QString("Quillon : Duplicate Screen ( 00008 : Screen8 ) to"));
        QCOMPARE(b.current->number(), 9u);
        QCOMPARE(b.current->taskList(Screen::kBeforeShowing).size(), std::size_t{1});
        QVERIFY(b.app.checkConsistency().ok());

        // Cancel changes nothing and shows nothing.
        const std::size_t shown = b.shown.size();
        b.script = [](QDialog&) { return int{QDialog::Rejected}; };
        QVERIFY(!b.commands.newScreen());
        QCOMPARE(b.shown.size(), shown);
        QCOMPARE(b.app.screenCount(), std::size_t{5});
    }

    void newIsRefusedWhenTheApplicationIsFull() {
        Bench b(500, {});
        for (std::uint32_t n = 1; n <= Screen::kMaxNumber; ++n) {
            b.app.addScreen(std::make_unique<Screen>(n)).value();
        }
        b.current = b.app.screens().front().get();
        QVERIFY(!b.commands.newScreen());
        QVERIFY(!b.commands.duplicateScreen());
        QVERIFY(b.dialogTitles.empty());
        QCOMPARE(b.prompter.prompts().size(), std::size_t{2});
        QCOMPARE(b.prompter.last().text,
                 std::string("This application contains 65534 screens.\nCan not add new screen."));
        QCOMPARE(b.prompter.last().title, std::string("Quillon : Information"));
    }

    void informationInitializeAndDeleteFlows() {
        Bench b(500, {1, 2, 3});
        b.current = b.app.findScreen(3);
        b.script = [](QDialog& d) {
            child<QLineEdit>(d, "number")->setText("10");
            child<QLineEdit>(d, "name")->setText("Ten");
            d.accept();
            return d.result();
        };
        QVERIFY(b.commands.screenInformation());
        QCOMPARE(b.current->number(), 10u);
        QCOMPARE(b.app.screens().back()->name, std::string("Ten"));
        QCOMPARE(b.shown.back(), b.current);

        auto text = std::make_unique<TextObject>();
        b.current->appendObject(std::move(text)).value();
        b.prompter.script({PromptAnswer::No});
        QVERIFY(!b.commands.initializeScreen());
        QCOMPARE(b.current->objectCount(), std::size_t{1});
        b.prompter.script({PromptAnswer::Yes});
        QVERIFY(b.commands.initializeScreen());
        QCOMPARE(b.current->objectCount(), std::size_t{0});
        QCOMPARE(b.forgotten, std::vector<std::uint32_t>({10}));

        // Screen 1 is the power-on target: refused without a question.
        b.app.appendTask(b.app.applicationLists(), Application::kPowerOn, gotoScreen(1)).value();
        b.current = b.app.findScreen(1);
        b.prompter.clear();
        QVERIFY(!b.commands.deleteScreen());
        QCOMPARE(b.prompter.prompts().size(), std::size_t{1});
        QCOMPARE(b.prompter.last().kind, PromptKind::Information);

        b.current = b.app.findScreen(10);
        b.prompter.script({PromptAnswer::Yes});
        QVERIFY(b.commands.deleteScreen());
        QCOMPARE(b.prompter.last().text, std::string("Delete Screen ' 10 : Ten ' ?"));
        QCOMPARE(b.current, b.app.findScreen(1)); // the first screen follows
        QCOMPARE(b.forgotten.back(), 10u);
        QVERIFY(b.app.checkConsistency().ok());
    }

    void deletingTheLastScreenClosesTheSession() {
        Bench b(500, {4});
        b.prompter.script({PromptAnswer::Yes});
        QVERIFY(b.commands.deleteScreen());
        QCOMPARE(b.shown.size(), std::size_t{1});
        QCOMPARE(b.shown.back(), static_cast<Screen*>(nullptr));
        QCOMPARE(b.app.screenCount(), std::size_t{0});
    }

    void selectAndViewAllMakeTheChoiceCurrent() {
        Bench b(500, {1, 2, 3});
        b.script = [](QDialog& d) {
            auto& select = dynamic_cast<SelectScreenDialog&>(d);
            select.list()->setCurrentRow(2);
            d.accept();
            return d.result();
        };
        QVERIFY(!b.commands.selectScreen()); // the document does not change
        QCOMPARE(b.dialogTitles.back(), QString("Quillon : Select Screen"));
        QCOMPARE(b.current->number(), 3u);
        // Choosing the screen already shown shows nothing again.
        const std::size_t shown = b.shown.size();
        QVERIFY(!b.commands.selectScreen());
        QCOMPARE(b.shown.size(), shown);

        int openedOn = -1;
        b.script = [&openedOn](QDialog& d) -> int {
            auto& all = dynamic_cast<AllScreensDialog&>(d);
            openedOn = all.view()->highlighted();
            QTest::keyClick(all.view(), Qt::Key_Left);
            QTest::keyClick(all.view(), Qt::Key_Enter);
            return d.result();
        };
        QVERIFY(!b.commands.viewAllScreens());
        QCOMPARE(openedOn, 2);
        QCOMPARE(b.current->number(), 2u);
    }
};

QTEST_MAIN(ScreenDialogsTest)
#include "ScreenDialogsTest.moc"
