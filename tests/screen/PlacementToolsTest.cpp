// The placement tools in the window: choosing a tool from the Objects menu (cursor, prompt, checked entry),
// drawing shapes and figures on the canvas, typing a text, the wizard tools and the touch-screen tool.

#include "edit/screen/EditorSession.h"
#include "edit/screen/ObjectPlacement.h"
#include "model/AlarmWindowObject.h"
#include "model/Application.h"
#include "model/BargraphObject.h"
#include "model/PolygonObject.h"
#include "model/RecordingPrompter.h"
#include "model/Screen.h"
#include "model/TextObject.h"
#include "model/TimeObject.h"
#include "screen/AlarmWindowDialog.h"
#include "screen/CharacterSetPalette.h"
#include "screen/DataEntryDialog.h"
#include "screen/DisplayDataDialog.h"
#include "screen/PlacementController.h"
#include "screen/ScreenCanvas.h"
#include "screen/ScreenSession.h"
#include "shell/MainWindow.h"
#include "shell/ModelDocumentService.h"
#include "shell/ShellMenus.h"
#include "support/ModalStep.h"
#include "support/ShellWindow.h"
#include "ui/ShellStatusBar.h"

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QDialog>
#include <QGroupBox>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QScreen>
#include <QSpinBox>
#include <QTest>
#include <QToolBar>

using namespace quillon;
using namespace quillon::gui;
using namespace quillon::gui::testing;

namespace {

struct Window : ModelWindow {
    Window() : ModelWindow({}, QSize(1024, 768)) {}

    void openModel(std::uint16_t modelId, bool touch = true) {
        RecordingPrompter quiet;
        QVERIFY(docs.create(modelId, quiet));
        QVERIFY(docs.application()->addScreen(std::make_unique<Screen>(1)));
        docs.application()->unitSettings().touchScreen = touch ? 1 : 0;
        QVERIFY(docs.prepareForWrite(quiet));
        const std::filesystem::path file = dir.filePath("model.ovm").toStdString();
        QVERIFY(docs.write(file, quiet));
        docs.close();
        files.answers = {file};
        window->command(CommandId::Open);
        QVERIFY(window->lifecycle().isOpen());
        window->command(CommandId::Screens);
        QVERIFY(session().isOpen());
    }
    ScreenSession& session() const { return window->screenSession(); }
    EditorSession& editor() const { return *session().editor(); }
    ScreenCanvas& canvas() const { return *session().canvas(); }
    Screen& screen() const { return *editor().screen(); }
    QString status() const { return window->shellStatusBar().message(); }
    QAction* entry(std::uint16_t id) const { return window->menus().action(id); }
    QPoint at(int unitX, int unitY) const { return canvas().clientPointOf(unitX, unitY); }
    void drag(int x1, int y1, int x2, int y2) {
        QTest::mousePress(&canvas(), Qt::LeftButton, {}, at(x1, y1));
        QTest::mouseMove(&canvas(), at((x1 + x2) / 2, (y1 + y2) / 2));
        QTest::mouseMove(&canvas(), at(x2, y2));
        QTest::mouseRelease(&canvas(), Qt::LeftButton, {}, at(x2, y2));
    }
    bool buttonPressed(std::uint16_t id) const {
        for (QAction* action : session().objectsToolBar()->actions()) {
            if (action->data().toUInt() == id) {
                return action->isChecked();
            }
        }
        return false;
    }
};

} // namespace

class PlacementToolsTest : public QObject {
    Q_OBJECT
private slots:
    void aDraggedRectangleIsCreatedSelectedAndUndoable() {
        Window w;
        w.openModel(500);
        QVERIFY(w.buttonPressed(212));
        w.window->command(static_cast<CommandId>(108));
        QCOMPARE(w.status(),
                 QString("Select properties and then press and drag the mouse to draw rectangle."));
        QVERIFY(w.entry(108)->isChecked());
        QVERIFY(!w.entry(212)->isChecked());
        QVERIFY(w.buttonPressed(108));
        QVERIFY(w.canvas().cursor().shape() == Qt::BitmapCursor);

        // A click without a drag draws nothing and keeps the tool.
        QTest::mouseClick(&w.canvas(), Qt::LeftButton, {}, w.at(20, 20));
        QCOMPARE(w.screen().objectCount(), std::size_t{0});
        QVERIFY(!w.editor().selecterMode());

        w.drag(10, 12, 40, 30);
        QCOMPARE(w.screen().objectCount(), std::size_t{1});
        const ScreenObject& made = *w.screen().objects()[0];
        QCOMPARE(made.kind(), ObjectKind::Rectangle);
        QCOMPARE(made.left, 10);
        QCOMPARE(made.top, 12);
        QCOMPARE(made.right, 40);
        QCOMPARE(made.bottom, 30);
        QVERIFY(w.editor().selecterMode());
        QCOMPARE(w.editor().selection().current(), &made);
        QCOMPARE(w.status(), QString("Selected 'Rectangle' : Z-Level 3.  Double-click to edit."));
        QVERIFY(w.entry(212)->isChecked());
        QCOMPARE(w.window->lifecycle().state(), ShellState::Modified);

        w.window->command(CommandId::Undo);
        QCOMPARE(w.screen().objectCount(), std::size_t{0});
        w.window->command(CommandId::Redo);
        QCOMPARE(w.screen().objectCount(), std::size_t{1});

        // Escape abandons a tool.
        w.window->command(static_cast<CommandId>(109));
        w.canvas().setFocus();
        QTest::keyClick(&w.canvas(), Qt::Key_Escape);
        QVERIFY(w.editor().selecterMode());
        QCOMPARE(w.status(), QString("No object is selected."));
    }

    void polygonPointsEndWithADoubleClick() {
        Window w;
        w.openModel(500);
        w.window->command(static_cast<CommandId>(111));
        QCOMPARE(
            w.status(),
            QString(
                "Select properties and then click and drag the mouse to draw polygon, double click to end."));
        // One point only: nothing, the tool stays.
        QTest::mouseClick(&w.canvas(), Qt::LeftButton, {}, w.at(5, 5));
        QTest::mouseDClick(&w.canvas(), Qt::LeftButton, {}, w.at(5, 5));
        QCOMPARE(w.screen().objectCount(), std::size_t{0});
        QVERIFY(!w.editor().selecterMode());

        QTest::mouseClick(&w.canvas(), Qt::LeftButton, {}, w.at(10, 10));
        QTest::mouseClick(&w.canvas(), Qt::LeftButton, {}, w.at(50, 12));
        QTest::mouseClick(&w.canvas(), Qt::LeftButton, {}, w.at(30, 40));
        QTest::mouseDClick(&w.canvas(), Qt::LeftButton, {}, w.at(30, 40));
        QCOMPARE(w.screen().objectCount(), std::size_t{1});
        const auto& polygon = static_cast<const PolygonObject&>(*w.screen().objects()[0]);
        QCOMPARE(polygon.points().size(), std::size_t{3});
        QCOMPARE(polygon.left, 10);
        QCOMPARE(polygon.top, 10);
        QCOMPARE(polygon.right, 50);
        QCOMPARE(polygon.bottom, 40);
        QVERIFY(w.editor().selecterMode());
    }

    void textIsTypedOnTheCanvas() {
        Window w;
        w.openModel(500);
        w.window->command(static_cast<CommandId>(101));
        QCOMPARE(
            w.status(),
            QString("Select properties and then click or mark an area on the Screen to display the text."));
        QTest::mouseClick(&w.canvas(), Qt::LeftButton, {}, w.at(13, 17)); // cell 2, row 2 of 6 x 8 cells
        QVERIFY(w.session().placement()->typing() != nullptr);
        QTest::keyClicks(&w.canvas(), "Hi!");
        QTest::keyClick(&w.canvas(), Qt::Key_Backspace);
        QTest::keyClick(&w.canvas(), Qt::Key_Return); // ignored
        QCOMPARE(w.screen().objectCount(), std::size_t{1});
        auto& text = static_cast<TextObject&>(*w.screen().objects()[0]);
        QCOMPARE(text.text(), std::string("Hi"));
        QCOMPARE(text.left, 12);
        QCOMPARE(text.top, 16);
        QCOMPARE(text.right, 23);
        QCOMPARE(text.bottom, 23);
        // A press elsewhere ends typing; the text stays as one step.
        QTest::mouseClick(&w.canvas(), Qt::LeftButton, {}, w.at(100, 50));
        QVERIFY(w.session().placement()->typing() == nullptr);
        QVERIFY(w.editor().selecterMode());
        QCOMPARE(w.editor().selection().current(), &text);
        w.window->command(CommandId::Undo);
        QCOMPARE(w.screen().objectCount(), std::size_t{0});

        // An empty text does not stay.
        w.window->command(static_cast<CommandId>(101));
        QTest::mouseClick(&w.canvas(), Qt::LeftButton, {}, w.at(0, 0));
        QCOMPARE(w.screen().objectCount(), std::size_t{1});
        w.window->command(CommandId::Selecter);
        QCOMPARE(w.screen().objectCount(), std::size_t{0});
    }

    void wizardsAreNotAvailableAndTouchNeedsTheOption() {
        Window w;
        w.openModel(500, false);
        QVERIFY(!w.window->dispatcher().isEnabled(static_cast<CommandId>(202)));
        QVERIFY(w.session().wizardsToolBar() != nullptr);
        w.window->command(static_cast<CommandId>(198));
        QCOMPARE(w.status(), QString("Click on the Screen where to display lamp."));
        QTest::mouseClick(&w.canvas(), Qt::LeftButton, {}, w.at(20, 20));
        QCOMPARE(QString::fromStdString(w.prompter.last().text), QString("Not available in this version."));
        QCOMPARE(QString::fromStdString(w.prompter.last().title), QString("Quillon : Information"));
        QVERIFY(w.editor().selecterMode());
        QCOMPARE(w.screen().objectCount(), std::size_t{0});
    }

    void bargraphDialogChecksAndCreates();

    // The keyboard alone: Escape ends typing and keeps the text; Tab and Shift+Tab walk the objects in
    // their list order, round at the ends; an arrow key moves the selected one as a drag would.
    void theKeyboardTypesSelectsAndMoves() {
        Window w;
        w.openModel(500);
        w.window->command(static_cast<CommandId>(101));
        QTest::mouseClick(&w.canvas(), Qt::LeftButton, {}, w.at(13, 17));
        QTest::keyClicks(&w.canvas(), "Go");
        QTest::keyClick(&w.canvas(), Qt::Key_Escape);
        QVERIFY(w.session().placement()->typing() == nullptr);
        QCOMPARE(w.screen().objectCount(), std::size_t{1});
        ScreenObject& text = *w.screen().objects()[0];
        QCOMPARE(static_cast<TextObject&>(text).text(), std::string("Go"));
        QVERIFY(w.editor().selecterMode());

        w.window->command(static_cast<CommandId>(108));
        w.drag(40, 10, 60, 20);
        w.window->command(static_cast<CommandId>(108));
        w.drag(80, 30, 100, 40);
        QCOMPARE(w.screen().objectCount(), std::size_t{3});
        ScreenObject& first = *w.screen().objects()[1];
        ScreenObject& second = *w.screen().objects()[2];
        w.canvas().setFocus();
        w.editor().clearSelection();
        QTest::keyClick(&w.canvas(), Qt::Key_Tab);
        QCOMPARE(w.editor().selection().current(), &text);
        QTest::keyClick(&w.canvas(), Qt::Key_Tab);
        QCOMPARE(w.editor().selection().current(), &first);
        QTest::keyClick(&w.canvas(), Qt::Key_Tab);
        QCOMPARE(w.editor().selection().current(), &second);
        QTest::keyClick(&w.canvas(), Qt::Key_Tab);
        QCOMPARE(w.editor().selection().current(), &text);
        QTest::keyClick(&w.canvas(), Qt::Key_Backtab, Qt::ShiftModifier);
        QCOMPARE(w.editor().selection().current(), &second);
        QCOMPARE(w.editor().selection().size(), std::size_t{1});
        QCOMPARE(w.canvas().window()->focusWidget(), &w.canvas());
        const int left = second.left;
        QTest::keyClick(&w.canvas(), Qt::Key_Right);
        QCOMPARE(second.left, left + 1);
        w.window->command(CommandId::Undo);
        QCOMPARE(second.left, left);
    }

    // Dragging while a bargraph is placed shows the rectangle it will get (25 x 65 from the press, cut at
    // the screen's edge), not the dragged band; a rectangle still shows its band.
    void placingABargraphShowsItsOwnOutline() {
        Window w;
        w.openModel(500); // 128 x 64
        w.window->command(static_cast<CommandId>(157));
        QTest::mousePress(&w.canvas(), Qt::LeftButton, {}, w.at(10, 5));
        QTest::mouseMove(&w.canvas(), w.at(60, 30));
        QTest::mouseMove(&w.canvas(), w.at(100, 60));
        QCOMPARE(w.canvas().placingOutline(), std::optional(UnitRect{10, 5, 34, 63}));
        onModal([] { QApplication::activeModalWidget()->close(); });
        QTest::mouseRelease(&w.canvas(), Qt::LeftButton, {}, w.at(100, 60));
        QCOMPARE(w.canvas().placingOutline(), std::nullopt);

        w.window->command(static_cast<CommandId>(108));
        QTest::mousePress(&w.canvas(), Qt::LeftButton, {}, w.at(10, 5));
        QTest::mouseMove(&w.canvas(), w.at(60, 30));
        QCOMPARE(w.canvas().placingOutline(), std::nullopt);
        QTest::mouseRelease(&w.canvas(), Qt::LeftButton, {}, w.at(60, 30));
        QCOMPARE(w.screen().objectCount(), std::size_t{1});
    }
    void dataEntryDialogFollowsTheTypeChosen();
    void registerTextTableKeepsItsRanges();
    void animationSectionsFollowTheKind();
    void alarmWindowColumnsByModel();
    void characterSetTypesIntoTheText();
    void dialogsFitTheScreen();
    void doubleClickOpensTheDimensions();
    void aWiderTimeFormatIsCheckedAgainstTheEdge();

    void characterDisplaysOfferOnlyTheirTools() {
        Window w;
        w.openModel(40, false);
        QVERIFY(!w.window->dispatcher().isEnabled(static_cast<CommandId>(108)));
        QVERIFY(!w.window->dispatcher().isEnabled(static_cast<CommandId>(113)));
        QVERIFY(w.window->dispatcher().isEnabled(static_cast<CommandId>(101)));
        QVERIFY(w.window->dispatcher().isEnabled(static_cast<CommandId>(179)));
        QVERIFY(w.session().wizardsToolBar() == nullptr);
        // An alarm window: 10 cells to the bottom, shifted left to fit.
        w.window->command(static_cast<CommandId>(179));
        QTest::mouseClick(&w.canvas(), Qt::LeftButton, {}, w.at(200, 20));
        QCOMPARE(w.screen().objectCount(), std::size_t{1});
        const ScreenObject& alarm = *w.screen().objects()[0];
        QCOMPARE(alarm.kind(), ObjectKind::AlarmWindow);
        QCOMPARE(alarm.top, 16);
        QCOMPARE(alarm.bottom, 63);
        QCOMPARE(alarm.right, 239);
    }
};

void PlacementToolsTest::bargraphDialogChecksAndCreates() {
    Window w;
    w.openModel(500);
    auto* node = w.docs.application();
    QVERIFY(node != nullptr);
    QVERIFY(w.window->dispatcher().isEnabled(static_cast<CommandId>(157)));
    w.window->command(static_cast<CommandId>(157));
    QCOMPARE(w.status(),
             QString("Select properties and then click on the Screen where to display bargraph."));
    // Cancel creates nothing.
    onModal([] { QApplication::activeModalWidget()->close(); });
    QTest::mouseClick(&w.canvas(), Qt::LeftButton, {}, w.at(10, 5));
    QCOMPARE(w.screen().objectCount(), std::size_t{0});
    QVERIFY(w.editor().selecterMode());

    // No tag: refused, the dialog stays; the refusal is answered and the dialog cancelled.
    w.window->command(static_cast<CommandId>(157));
    QString title;
    onModal([&] {
        auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
        title = dialog->windowTitle();
        dialog->accept();
        QVERIFY(dialog->isVisible());
        dialog->reject();
    });
    QTest::mouseClick(&w.canvas(), Qt::LeftButton, {}, w.at(10, 5));
    QCOMPARE(title, QString("Quillon : Bar Graph"));
    QCOMPARE(QString::fromStdString(w.prompter.last().text), QString("Tag(s) not selected."));
    QCOMPARE(w.screen().objectCount(), std::size_t{0});
}

void PlacementToolsTest::doubleClickOpensTheDimensions() {
    Window w;
    w.openModel(500);
    w.window->command(static_cast<CommandId>(108));
    w.drag(10, 10, 30, 20);
    QCOMPARE(w.screen().objectCount(), std::size_t{1});
    ScreenObject& rect = *w.screen().objects()[0];
    // Width 29 from x 100 leaves the 128-pixel screen: refused; 28 is taken.
    QString refusal;
    onModal([&] {
        auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
        QCOMPARE(dialog->windowTitle(), QString("Rectangle"));
        dialog->findChild<QSpinBox*>("x")->setValue(100);
        dialog->findChild<QSpinBox*>("width")->setValue(29);
        dialog->accept();
        refusal = QString::fromStdString(w.prompter.last().text);
        dialog->findChild<QSpinBox*>("width")->setValue(28);
        dialog->accept();
    });
    QTest::mouseDClick(&w.canvas(), Qt::LeftButton, {}, w.at(20, 15));
    QCOMPARE(refusal,
             QString("With these dimensions the object will be out of the screen.\nThe object should be "
                     "within the screen."));
    QCOMPARE(rect.left, 100);
    QCOMPARE(rect.right, 127);
    QCOMPARE(rect.top, 10);
    QCOMPARE(rect.bottom, 20);
    w.window->command(CommandId::Undo);
    QCOMPARE(rect.left, 10);
    QCOMPARE(rect.right, 30);
}

void PlacementToolsTest::aWiderTimeFormatIsCheckedAgainstTheEdge() {
    Window w;
    w.openModel(40, false); // 20 columns of 12 unit pixels
    auto time = std::make_unique<TimeObject>();
    time->format = TimeObject::kWithoutSeconds;
    time->left = 12 * 14;
    time->right = 12 * 19 - 1; // 5 cells: columns 14 to 18
    time->top = 0;
    time->bottom = 15;
    auto* placed = static_cast<TimeObject*>(*w.screen().appendObject(std::move(time)));
    w.canvas().invalidate();
    QTest::mouseClick(&w.canvas(), Qt::LeftButton, {}, w.at(170, 5));
    QCOMPARE(w.editor().selection().current(), placed);
    w.prompter.script({PromptAnswer::Ok});
    onModal([] {
        auto* dialog = QApplication::activeModalWidget();
        QCOMPARE(dialog->windowTitle(), QString("Quillon : Time and Date"));
        for (auto* button : dialog->findChildren<QAbstractButton*>()) {
            if (button->text() == "HH:MM:&SS") {
                button->click();
            }
        }
        qobject_cast<QDialog*>(dialog)->accept();
    });
    w.window->command(CommandId::Edit);
    QCOMPARE(w.prompter.last().text,
             std::string("Not enough space for an object.\nPress OK to adjust such that "
                         "complete object will appear.\nPress CANCEL to cancel the "
                         "operation."));
    QCOMPARE(placed->format, TimeObject::kWithSeconds);
    QCOMPARE(placed->left, 12 * 12);
    QCOMPARE(placed->right, 239);
}

void PlacementToolsTest::dataEntryDialogFollowsTheTypeChosen() {
    Window w;
    w.openModel(500);
    w.window->command(static_cast<CommandId>(208)); // the menu's entry chooses tool 207
    QCOMPARE(w.editor().currentTool(), std::uint16_t{207});
    QCOMPARE(w.status(), QString("Click on the Screen where you want the data entry."));
    bool checked = false;
    onModal([&] {
        auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
        QCOMPARE(dialog->windowTitle(), QString("Quillon : Data Entry"));
        auto* onText = dialog->findChild<QLineEdit*>("onText");
        QVERIFY(onText->isVisible());
        for (auto* button : dialog->findChildren<QAbstractButton*>()) {
            if (button->text() == "&Register") {
                button->click();
            }
        }
        QVERIFY(!onText->isVisible());
        auto* high = dialog->findChild<QLineEdit*>("highLimit");
        QCOMPARE(high->text(), QString("65535"));
        bool shortLabel = false;
        for (auto* label : dialog->findChildren<QLabel*>()) {
            shortLabel = shortLabel || label->text() == "Low <= High <= 65535";
        }
        QVERIFY(shortLabel);
        auto* type = dialog->findChild<QComboBox*>("dataType");
        type->setCurrentIndex(5); // Float
        QVERIFY(!high->isEnabled());
        QVERIFY(!dialog->findChild<QAbstractButton*>("operation1_1")->isEnabled());
        QCOMPARE(dialog->findChild<QComboBox*>("format")->currentText(), QString("#####"));
        type->setCurrentIndex(4); // Binary: eight digits
        QCOMPARE(dialog->findChild<QComboBox*>("format")->currentText(), QString("########"));
        type->setCurrentIndex(0);
        dialog->findChild<QAbstractButton*>("operation1_4")->click();
        QVERIFY(dialog->findChild<QLineEdit*>("operand1")->isEnabled());
        dialog->accept(); // no tag
        QCOMPARE(QString::fromStdString(w.prompter.last().text), QString("Tag(s) not selected."));
        QVERIFY(dialog->isVisible());
        checked = true;
        dialog->reject();
    });
    QTest::mouseClick(&w.canvas(), Qt::LeftButton, {}, w.at(10, 10));
    QVERIFY(checked);
    QCOMPARE(w.screen().objectCount(), std::size_t{0});
    QVERIFY(w.editor().selecterMode());
}

void PlacementToolsTest::registerTextTableKeepsItsRanges() {
    Window w;
    w.openModel(500);
    w.window->command(static_cast<CommandId>(197));
    QCOMPARE(w.status(),
             QString("Select properties and then click on the Screen where to display the PLC data."));
    QStringList shown;
    QString refusal;
    onModal([&] {
        auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
        QCOMPARE(dialog->windowTitle(), QString("Quillon : Display Quillon or PLC data"));
        const auto press = [dialog](const QString& text) {
            for (auto* button : dialog->findChildren<QAbstractButton*>()) {
                if (button->text() == text) {
                    button->click();
                    return;
                }
            }
            QFAIL(qPrintable("no button " + text));
        };
        press("&Register Text");
        auto* low = dialog->findChild<QLineEdit*>("textLow");
        auto* high = dialog->findChild<QLineEdit*>("textHigh");
        auto* text = dialog->findChild<QLineEdit*>("textText");
        const auto entry = [&](const QString& l, const QString& h, const QString& t) {
            press("&Add");
            low->setText(l);
            high->setText(h);
            text->setText(t);
            press("Acc&ept");
        };
        entry("11", "20", "MID");
        entry("0", "10", "LOW");
        entry("5", "15", "BAD");
        refusal = QString::fromStdString(w.prompter.last().text);
        entry("21", "30", "HIGH");
        auto* list = dialog->findChild<QListWidget*>("registerTexts");
        for (int i = 0; i < list->count(); ++i) {
            shown << list->item(i)->text();
        }
        dialog->reject();
    });
    QTest::mouseClick(&w.canvas(), Qt::LeftButton, {}, w.at(10, 10));
    QCOMPARE(refusal, QString("Low-limit is inbetween\none of the already defined range."));
    QCOMPARE(shown, QStringList({"0\t10\tLOW", "11\t20\tMID", "21\t30\tHIGH"}));
    QCOMPARE(w.screen().objectCount(), std::size_t{0});
}

void PlacementToolsTest::animationSectionsFollowTheKind() {
    Window w;
    w.openModel(500);
    w.window->command(static_cast<CommandId>(108));
    w.drag(10, 10, 30, 20);
    QVERIFY(w.window->dispatcher().isEnabled(static_cast<CommandId>(211)));
    bool seen = false;
    onModal([&] {
        auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
        QCOMPARE(dialog->windowTitle(), QString("Quillon : Animation Properties"));
        auto* showHide = dialog->findChild<QGroupBox*>("showHide");
        QVERIFY(dialog->findChild<QGroupBox*>("flash")->isEnabled());
        QVERIFY(dialog->findChild<QGroupBox*>("filling")->isEnabled());
        showHide->setChecked(true);
        dialog->accept();
        QCOMPARE(QString::fromStdString(w.prompter.last().text), QString("Tag(s) not selected."));
        QVERIFY(dialog->isVisible());
        showHide->setChecked(false);
        dialog->accept(); // nothing on: fine
        seen = true;
    });
    w.window->command(static_cast<CommandId>(211));
    QVERIFY(seen);
    QCOMPARE(w.screen().objects()[0]->animation(), std::uint8_t{0});

    // A text has no percent filling; an alarm window does not flash.
    w.window->command(static_cast<CommandId>(179));
    QTest::mouseClick(&w.canvas(), Qt::LeftButton, {}, w.at(60, 30));
    seen = false;
    onModal([&] {
        auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
        QVERIFY(!dialog->findChild<QGroupBox*>("flash")->isEnabled());
        QVERIFY(!dialog->findChild<QGroupBox*>("filling")->isEnabled());
        seen = true;
        dialog->reject();
    });
    w.window->command(static_cast<CommandId>(211));
    QVERIFY(seen);
}

void PlacementToolsTest::alarmWindowColumnsByModel() {
    Window w;
    w.openModel(40, false);
    w.window->command(static_cast<CommandId>(179));
    QTest::mouseClick(&w.canvas(), Qt::LeftButton, {}, w.at(0, 0));
    QCOMPARE(w.screen().objectCount(), std::size_t{1});
    auto& alarm = static_cast<AlarmWindowObject&>(*w.screen().objects()[0]);
    QStringList refusals;
    onModal([&] {
        auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
        QCOMPARE(dialog->windowTitle(), QString("Quillon : Alarm Window Options"));
        auto* from = dialog->findChild<QListWidget*>("selectFrom");
        const auto add = [&](int row) {
            from->setCurrentRow(row);
            emit from->itemDoubleClicked(from->item(row));
        };
        add(1); // Tag
        refusals << QString::fromStdString(w.prompter.last().text);
        add(3); // OnTime on model 40
        refusals << QString::fromStdString(w.prompter.last().text);
        add(5); // Active
        QCOMPARE(dialog->findChild<QListWidget*>("selected")->count(), 3);
        dialog->accept();
    });
    QVERIFY(w.window->dispatcher().isEnabled(CommandId::Edit));
    w.window->command(CommandId::Edit);
    QCOMPARE(refusals, QStringList({"Tags not supported", "On Time not supported"}));
    QCOMPARE(alarm.options().columns.size(), std::size_t{3});
    QCOMPARE(alarm.options().columns[2].header, std::string("Act"));
}

void PlacementToolsTest::characterSetTypesIntoTheText() {
    Window w;
    w.openModel(500);
    QVERIFY(!w.window->dispatcher().isEnabled(static_cast<CommandId>(143)));
    w.window->command(static_cast<CommandId>(101));
    QTest::mouseClick(&w.canvas(), Qt::LeftButton, {}, w.at(0, 0));
    QVERIFY(w.window->dispatcher().isEnabled(static_cast<CommandId>(143)));
    QTest::keyClicks(&w.canvas(), "A");
    w.window->command(static_cast<CommandId>(143));
    CharacterSetPalette* palette = w.session().characterSet();
    QVERIFY(palette != nullptr && palette->isVisible());
    QVERIFY(!palette->secondBlockShown()); // model 500
    static_cast<QAbstractButton*>(palette->buttonFor(254))->click();
    static_cast<QAbstractButton*>(palette->buttonFor(38))->click();
    QCOMPARE(static_cast<QAbstractButton*>(palette->buttonFor(38))->text(), QString("&&"));
    auto& text = static_cast<TextObject&>(*w.screen().objects()[0]);
    QCOMPARE(text.text(), std::string("A\xfe&"));
    // A model below 480 shows both blocks.
    CharacterSetPalette small(nullptr, 42);
    QVERIFY(small.secondBlockShown());
    QCOMPARE(small.findChildren<QAbstractButton*>().size(), 128 + 93);
    QVERIFY(small.buttonFor(160) == nullptr);
    QVERIFY(small.buttonFor(32) == nullptr);
}

void PlacementToolsTest::dialogsFitTheScreen() {
    Window w;
    w.openModel(500);
    RecordingPrompter prompter;
    EditValues values;
    const QSize most = QGuiApplication::primaryScreen()->availableGeometry().size();
    DisplayDataDialog display(w.window.get(), *w.docs.application(), values, ObjectKind::DisplayRegisterText,
                              20, prompter, {});
    DataEntryDialog entry(w.window.get(), *w.docs.application(), values, false, 20, prompter, {});
    AlarmWindowDialog alarm(w.window.get(), ObjectPlacement::defaultAlarmOptions(), 500, 50, 0, prompter);
    for (QDialog* dialog : std::initializer_list<QDialog*>{&display, &entry, &alarm}) {
        const QSize size = dialog->sizeHint();
        QVERIFY2(
            size.width() <= most.width() && size.height() <= most.height(),
            qPrintable(
                QString("%1 wants %2 x %3").arg(dialog->objectName()).arg(size.width()).arg(size.height())));
    }
}

QTEST_MAIN(PlacementToolsTest)
#include "PlacementToolsTest.moc"
