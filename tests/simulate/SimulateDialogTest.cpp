// The Simulate window offscreen: its keypad for the model, the display that touches where it is clicked,
// the tag table that writes what is typed (and refuses what is not a value), pause and one-scan steps.
#include "simulate/SimulateDialog.h"

#include "edit/define/NodeAreas.h"
#include "model/Application.h"
#include "model/Block.h"
#include "model/DataEntryRegisterObject.h"
#include "model/DefaultGlobalKeys.h"
#include "model/Node.h"
#include "model/PanelFont.h"
#include "model/RecordingPrompter.h"
#include "model/Screen.h"
#include "model/TouchAreaObject.h"
#include "plc/PlcCatalogFiles.h"
#include "simulate/SimulatorDisplay.h"

#include <QCheckBox>
#include <QComboBox>
#include <QHeaderView>
#include <QLabel>
#include <QMouseEvent>
#include <QPushButton>
#include <QTableWidget>
#include <QTest>
#include <QToolButton>

using namespace quillon;
using namespace quillon::gui;

namespace {

struct Plant {
    RecordingPrompter prompter;
    PlcCatalogFiles catalogs{QUILLON_SOURCE_DIR "/data/plc", prompter};
    Application app{500};
    Tag* level = nullptr;
    Tag* lamp = nullptr;

    Plant() {
        Node* unit = *app.addNode(Node::createUnitNode());
        Block* words = *app.addBlock(*unit, std::make_unique<Block>("UW000", 4));
        TagValues l;
        l.address = "UW000";
        l.name = "Level";
        level = *app.addTag(*words, l);
        Block* bits = *app.addBlock(*unit, std::make_unique<Block>("UB000", 4));
        TagValues c;
        c.address = "UB000";
        c.type = tag_type::kCoil;
        c.name = "Lamp";
        lamp = *app.addTag(*bits, c);
        Screen* one = *app.addScreen(std::make_unique<Screen>(1));
        Screen* two = *app.addScreen(std::make_unique<Screen>(2));
        static_cast<void>(two);
        auto area = std::make_unique<TouchAreaObject>();
        area->left = 0;
        area->top = 0;
        area->right = 31;
        area->bottom = 31;
        auto* placed = static_cast<TouchAreaObject*>(*one->appendObject(std::move(area)));
        Task toggle;
        toggle.kind = TaskKind::Bit;
        toggle.subKind = 4;
        toggle.tag1 = lamp;
        static_cast<void>(app.appendTask(*placed, TouchAreaObject::kPress, toggle));
        KeyDefinition* key = *app.addKey(std::make_unique<KeyDefinition>(9));
        Task go;
        go.kind = TaskKind::GotoScreen;
        go.value = 2;
        static_cast<void>(app.appendTask(*key, KeyDefinition::kPress, go));
        Task count;
        count.kind = TaskKind::Add;
        count.tag1 = level;
        count.value = 1;
        static_cast<void>(app.appendTask(app.applicationLists(), Application::kGlobal, count));
    }
    SimMemory::AreaSource areas() {
        return [this](const Node& node) { return NodeAreas::load(catalogs, node); };
    }
};

// A new VQ5K-822 with its default keys (5 to 8 Numeric Key 1 to 4, 13 to 17 Numeric Key 5 to 9, 18 the sign
// and 0, 19 Cancel, 20 Accept), a data entry for Setpoint limited to 10 .. 500 on screen 1, and the screen
// key 7 + 8 (the keys with the legends 3 and 4) going to screen 2.
struct Bench {
    RecordingPrompter prompter;
    PlcCatalogFiles catalogs{QUILLON_SOURCE_DIR "/data/plc", prompter};
    Application app{500};
    Tag* setpoint = nullptr;

    Bench() {
        createDefaultGlobalKeys(app, prompter);
        Node* unit = *app.addNode(Node::createUnitNode());
        Block* words = *app.addBlock(*unit, std::make_unique<Block>("UW000", 4));
        TagValues v;
        v.address = "UW000";
        v.name = "Setpoint";
        setpoint = *app.addTag(*words, v);
        Screen* one = *app.addScreen(std::make_unique<Screen>(1));
        static_cast<void>(app.addScreen(std::make_unique<Screen>(2)));
        auto entry = std::make_unique<DataEntryRegisterObject>();
        entry->right = 17;
        entry->bottom = 7;
        entry->format.code = {'3', '0'};
        entry->lowLimit = 10;
        entry->highLimit = 500;
        entry->setTag(setpoint);
        static_cast<void>(one->appendObject(std::move(entry)));
        KeyDefinition* both = *app.addKey(*one, std::make_unique<KeyDefinition>(7 | (8 << 8)));
        Task go;
        go.kind = TaskKind::GotoScreen;
        go.value = 2;
        static_cast<void>(app.appendTask(*both, KeyDefinition::kPress, go));
    }
    SimMemory::AreaSource areas() {
        return [this](const Node& node) { return NodeAreas::load(catalogs, node); };
    }
};

class SimulateDialogTest : public QObject {
    Q_OBJECT
private slots:
    void theKeypadIsTheModelsAndItsKeysRunTheirTasks() {
        Plant p;
        SimulateDialog dialog(nullptr, p.app, p.areas(), PanelFont::builtIn(), nullptr);
        QCOMPARE(dialog.windowTitle(), QString("Quillon : Simulate"));
        // The VQ5K-822 has keys 5 to 22.
        QVERIFY(dialog.findChild<QToolButton*>("key4") == nullptr);
        QVERIFY(dialog.findChild<QToolButton*>("key5") != nullptr);
        QVERIFY(dialog.findChild<QToolButton*>("key22") != nullptr);
        QVERIFY(dialog.findChild<QToolButton*>("key23") == nullptr);
        QCOMPARE(dialog.simulator().screen()->number(), 1U);
        auto* key9 = dialog.findChild<QToolButton*>("key9");
        emit key9->pressed();
        emit key9->released();
        QCOMPARE(dialog.simulator().screen()->number(), 2U);
        QVERIFY(dialog.logLines().join('\n').contains("screen 2 shown (Screen2)"));
    }

    void clickingTheDisplayTouchesIt() {
        Plant p;
        SimulateDialog dialog(nullptr, p.app, p.areas(), PanelFont::builtIn(), nullptr);
        SimulatorDisplay& display = dialog.display();
        QCOMPARE(display.zoom(), 20); // 128 x 64 fits twice
        QCOMPARE(display.unitPoint(QPoint(2 + 62, 2 + 62)), QPoint(31, 31));
        QTest::mouseClick(&display, Qt::LeftButton, {}, QPoint(2 + 62, 2 + 62));
        QCOMPARE(dialog.simulator().value(*p.lamp), 1U);
        QTest::mouseClick(&display, Qt::LeftButton, {}, QPoint(2 + 64, 2 + 10)); // beside the area
        QCOMPARE(dialog.simulator().value(*p.lamp), 1U);
    }

    void theTagTableWritesValuesAndRefusesOthers() {
        Plant p;
        SimulateDialog dialog(nullptr, p.app, p.areas(), PanelFont::builtIn(), nullptr);
        auto* table = dialog.findChild<QTableWidget*>("simulatorTags");
        QVERIFY(table != nullptr);
        QCOMPARE(table->rowCount(), 2);
        int levelRow = table->item(0, 0)->text() == "Level" ? 0 : 1;
        table->item(levelRow, 2)->setText("0x10");
        QCOMPARE(dialog.simulator().value(*p.level), 16U);
        table->item(levelRow, 2)->setText("70000"); // cut to two bytes
        QCOMPARE(dialog.simulator().value(*p.level), 4464U);
        QCOMPARE(table->item(levelRow, 2)->text(), QString("4464"));
        table->item(levelRow, 2)->setText("much");
        QCOMPARE(dialog.simulator().value(*p.level), 4464U);
        QCOMPARE(table->item(levelRow, 2)->text(), QString("4464"));
        QVERIFY(dialog.logLines().join('\n').contains("\"much\" is not a value for Level"));
    }

    void functionKeysOfTheKeyboardPressTheMarkedKeys() {
        // The 10 has keys 1 to 6 marked F1 to F6; F2 reaches key 2 even from the tag table.
        RecordingPrompter prompter;
        PlcCatalogFiles catalogs{QUILLON_SOURCE_DIR "/data/plc", prompter};
        Application app{10};
        static_cast<void>(app.addNode(Node::createUnitNode()));
        static_cast<void>(app.addScreen(std::make_unique<Screen>(1)));
        SimulateDialog dialog(
            nullptr, app, [&catalogs](const Node& node) { return NodeAreas::load(catalogs, node); },
            PanelFont::builtIn(), nullptr);
        QCOMPARE(dialog.findChild<QToolButton*>("key2")->text(), QString("F2"));
        auto* table = dialog.findChild<QTableWidget*>("simulatorTags");
        QTest::keyPress(table, Qt::Key_F2);
        QVERIFY(dialog.simulator().isKeyDown(2));
        QTest::keyRelease(table, Qt::Key_F2);
        QVERIFY(!dialog.simulator().isKeyDown(2));
        QTest::keyPress(&dialog, Qt::Key_F7); // no key marked F7: nothing
        QVERIFY(!dialog.simulator().isKeyDown(7));
    }

    void theKeyboardTypesOnTheKeysThatCarryItsLegends() {
        Bench b;
        SimulateDialog dialog(nullptr, b.app, b.areas(), PanelFont::builtIn(), nullptr);
        SimulatorDisplay& display = dialog.display();
        // 2, 5, 0 and Return reach Numeric Key 2, 5, the sign and 0 key and Accept.
        QTest::keyClicks(&display, "250");
        QTest::keyClick(&display, Qt::Key_Return);
        QCOMPARE(dialog.simulator().value(*b.setpoint), 250U);
        auto* table = dialog.findChild<QTableWidget*>("simulatorTags");
        QCOMPARE(table->item(0, 2)->text(), QString("250"));
        // 600 is refused and the status line says why; Escape is Cancel, not the end of the window.
        QTest::keyClicks(&display, "600");
        QTest::keyClick(&display, Qt::Key_Enter);
        QCOMPARE(dialog.simulator().value(*b.setpoint), 250U);
        auto* note = dialog.findChild<QLabel*>("simulatorNote");
        QCOMPARE(note->text(),
                 QString("data entry 1 (Setpoint): 600 is outside the limits 10 .. 500; not written"));
        bool closed = false;
        connect(&dialog, &QDialog::rejected, this, [&closed] { closed = true; });
        QTest::keyClick(&display, Qt::Key_Escape);
        QVERIFY(!dialog.simulator().dataEntry().active());
        QVERIFY(!closed);
        // A key of the keyboard that no key carries says so; the focused key buttons take the keyboard too.
        QTest::keyClick(&display, Qt::Key_A);
        QCOMPARE(note->text(), QString("No key of this keypad carries the legend A"));
        auto* five = dialog.findChild<QToolButton*>("key5");
        QCOMPARE(five->focusPolicy(), Qt::StrongFocus);
        QVERIFY(five->toolTip().startsWith("F5 (key 5)\nLegend: 1\nKeyboard: 1, F5\n"));
        QTest::keyClick(five, Qt::Key_1);
        QCOMPARE(dialog.simulator().dataEntry().shownText(), std::string("001"));
        // In the tag table digits stay the table's own.
        QTest::keyClick(table, Qt::Key_Escape);
        QTest::keyClick(&display, Qt::Key_Escape);
        QVERIFY(!dialog.simulator().dataEntry().active());
        QTest::keyPress(table, Qt::Key_3);
        QVERIFY(!dialog.simulator().isKeyDown(7));
        // Return on the window's Close button is the button's, F5 still the keypad's.
        auto* close = dialog.findChild<QPushButton*>("simulatorClose");
        QTest::keyPress(close, Qt::Key_Return);
        QVERIFY(!dialog.simulator().isKeyDown(20));
        QTest::keyPress(close, Qt::Key_F5);
        QVERIFY(dialog.simulator().isKeyDown(5));
    }

    void twoKeysTogetherMakeTheirCombination() {
        {
            // Held on the keyboard: 3 down, 4 down.
            Bench b;
            SimulateDialog dialog(nullptr, b.app, b.areas(), PanelFont::builtIn(), nullptr);
            QTest::keyPress(&dialog.display(), Qt::Key_3);
            QTest::keyPress(&dialog.display(), Qt::Key_4);
            QCOMPARE(dialog.simulator().screen()->number(), 2U);
            QTest::keyRelease(&dialog.display(), Qt::Key_4);
            QTest::keyRelease(&dialog.display(), Qt::Key_3);
            QVERIFY(!dialog.simulator().isKeyDown(7) && !dialog.simulator().isKeyDown(8));
        }
        {
            // A right click holds key 7 down; a click on key 8 makes the combination and lets both go.
            Bench b;
            SimulateDialog dialog(nullptr, b.app, b.areas(), PanelFont::builtIn(), nullptr);
            auto* seven = dialog.findChild<QToolButton*>("key7");
            auto* eight = dialog.findChild<QToolButton*>("key8");
            QTest::mouseClick(seven, Qt::RightButton);
            QVERIFY(dialog.held(7));
            QVERIFY(dialog.simulator().isKeyDown(7));
            QVERIFY(seven->isDown());
            emit eight->pressed();
            QCOMPARE(dialog.simulator().screen()->number(), 2U);
            emit eight->released();
            QVERIFY(!dialog.held(7));
            QVERIFY(!dialog.simulator().isKeyDown(7));
            // Ctrl and a click hold too, and the same again lets go.
            QTest::mouseClick(seven, Qt::LeftButton, Qt::ControlModifier);
            QVERIFY(dialog.simulator().isKeyDown(7));
            QTest::mouseClick(seven, Qt::LeftButton, Qt::ControlModifier);
            QVERIFY(!dialog.simulator().isKeyDown(7));
        }
    }

    void theDisplayZoomsToEightTimesGrowsWithTheWindowAndOutlinesTouchAreas() {
        Plant p;
        SimulateDialog dialog(nullptr, p.app, p.areas(), PanelFont::builtIn(), nullptr);
        SimulatorDisplay& display = dialog.display();
        auto* zoom = dialog.findChild<QComboBox*>("simulatorZoom");
        QCOMPARE(zoom->currentText(), QString("Fit"));
        zoom->setCurrentIndex(zoom->findText("8 x"));
        QCOMPARE(display.zoom(), 80);
        QCOMPARE(display.sizeHint(), QSize(128 * 8 + 4, 64 * 8 + 4));
        // Unit pixel 31 starts at 2 + 31 * 8; the touch area 0..31 is pressed there and not one pixel on.
        QCOMPARE(display.unitPoint(QPoint(2 + 31 * 8 + 7, 2)), QPoint(31, 0));
        QCOMPARE(display.unitPoint(QPoint(2 + 32 * 8, 2)), QPoint(32, 0));
        QTest::mouseClick(&display, Qt::LeftButton, {}, QPoint(2 + 32 * 8, 2 + 10));
        QCOMPARE(dialog.simulator().value(*p.lamp), 0U);
        QTest::mouseClick(&display, Qt::LeftButton, {}, QPoint(2 + 31 * 8 + 7, 2 + 10));
        QCOMPARE(dialog.simulator().value(*p.lamp), 1U);
        // The outline of the touch area 0,0 .. 31,31 is drawn only when asked for.
        const auto red = [](const QImage& image, int x, int y) {
            const QColor c = image.pixelColor(x, y);
            return c.red() > 200 && c.green() < 60 && c.blue() < 60;
        };
        const auto outlined = [&](const QImage& image) {
            int count = 0;
            for (int x = 0; x < image.width(); ++x) {
                for (int y = 0; y < image.height(); ++y) {
                    count += red(image, x, y) ? 1 : 0;
                }
            }
            return count;
        };
        QCOMPARE(outlined(display.shownImage()), 0);
        auto* show = dialog.findChild<QCheckBox*>("simulatorTouchAreas");
        QCOMPARE(show->text(), QString("Show touch &areas"));
        show->setChecked(true);
        const QImage shown = display.shownImage();
        QVERIFY(outlined(shown) > 0);
        QVERIFY(red(shown, 2, 2 + 4 * 8 + 1) || red(shown, 3, 2 + 4 * 8 + 1)); // the left edge
        for (int x = 2 + 32 * 8 + 4; x < shown.width(); ++x) {
            QVERIFY(!red(shown, x, 2 + 16 * 8)); // nothing right of the area
        }
        // Fitted, the display takes the largest whole factor the window's room allows, 1 to 8.
        zoom->setCurrentIndex(0);
        dialog.show();
        display.resize(128 * 5 + 4 + 3, 64 * 5 + 4 + 60);
        QCOMPARE(display.zoom(), 50);
        display.resize(128 * 12, 64 * 12);
        QCOMPARE(display.zoom(), 80);
        display.resize(100, 40);
        QCOMPARE(display.zoom(), 10);
        dialog.resize(1200, 900);
        QVERIFY(dialog.width() > 1000); // the window is resizable
    }

    void theEventLogKeepsTheTimeInItsRowHeader() {
        Plant p;
        SimulateDialog dialog(nullptr, p.app, p.areas(), PanelFont::builtIn(), nullptr);
        auto* log = dialog.findChild<QTableWidget*>("simulatorEvents");
        QVERIFY(log != nullptr);
        QVERIFY(!log->verticalHeader()->isHidden());
        QCOMPARE(log->verticalHeaderItem(0)->text(), QString("       0 ms"));
        QCOMPARE(log->item(0, 0)->text(), QString("power on"));
        QCOMPARE(dialog.logLines().front(), QString("[       0 ms] power on"));
        for (int i = 0; i < 1000; ++i) {
            dialog.pressKey(11); // no tasks: a line each
            dialog.releaseKey(11);
        }
        QCOMPARE(log->rowCount(), 2000);
        QVERIFY(dialog.logLines().back().endsWith("F11 released (no tasks)"));
    }

    void pausedTimeStandsAndAStepIsOneScan() {
        Plant p;
        SimulateDialog dialog(nullptr, p.app, p.areas(), PanelFont::builtIn(), nullptr);
        auto* pause = dialog.findChild<QPushButton*>("simulatorPause");
        auto* step = dialog.findChild<QPushButton*>("simulatorStep");
        QVERIFY(!step->isEnabled());
        dialog.tick();
        QCOMPARE(dialog.simulator().now(), static_cast<std::uint64_t>(SimulateDialog::kTickMs));
        pause->click();
        QVERIFY(dialog.paused());
        QVERIFY(step->isEnabled());
        const std::uint64_t scans = dialog.simulator().scanCount();
        const std::uint64_t level = dialog.simulator().value(*p.level);
        dialog.tick();
        QCOMPARE(dialog.simulator().scanCount(), scans);
        step->click();
        QCOMPARE(dialog.simulator().scanCount(), scans + 1);
        QCOMPARE(dialog.simulator().value(*p.level), level + 1);
    }
};

} // namespace

QTEST_MAIN(SimulateDialogTest)
#include "SimulateDialogTest.moc"
