// The Simulate window offscreen: its keypad for the model, the display that touches where it is clicked,
// the tag table that writes what is typed (and refuses what is not a value), pause and one-scan steps.
#include "simulate/SimulateDialog.h"

#include "model/Application.h"
#include "model/Block.h"
#include "model/Node.h"
#include "model/PanelFont.h"
#include "model/RecordingPrompter.h"
#include "model/Screen.h"
#include "model/TouchAreaObject.h"
#include "plc/NodeAreas.h"
#include "plc/PlcCatalogFiles.h"
#include "simulate/SimulatorDisplay.h"

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
