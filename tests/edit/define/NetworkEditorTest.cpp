#include "edit/define/NetworkEditor.h"

#include "edit/define/SpecialDataForm.h"
#include "model/Block.h"
#include "model/Node.h"
#include "plc/EditorFixture.h"

#include <gtest/gtest.h>

using namespace quillon;
using quillon::test::EditorFixture;

namespace {

// Selected list of the shipped catalogs, by position: 0 Allen-Bradley (7), 1 GE Fanuc (9), 2 Koyo (3),
// 3 Mitsubishi FX (104), 4 MELSEC-Q (8), 5 Modbus RTU Master (1), 6 Omron (105), 7 Siemens (2).
constexpr int kModbus = 5;
constexpr int kOmron = 6;
constexpr int kMitsubishiFx = 3;
constexpr int kKoyo = 2;

struct Network : EditorFixture {
    explicit Network(std::uint16_t model = 10, bool drivers = true)
        : EditorFixture(model, drivers), editor(*app, *catalogs, driversDir(), prompter) {
        editor.open();
        prompter.clear();
    }

    // Adds a node through edit mode as the user does.
    Node* add(const std::string& address, const std::string& name, int plc = kModbus, int model = 0) {
        auto draft = editor.beginAdd();
        if (!draft) {
            return nullptr;
        }
        if (plc != editor.chosenPlcPosition() && !editor.choosePlc(plc)) {
            return nullptr;
        }
        draft->address = address;
        draft->name = name;
        draft->plcPosition = plc;
        draft->modelPosition = model;
        return editor.apply(*draft, nullptr).node;
    }

    NetworkEditor editor;
};

} // namespace

TEST(NetworkEditor, OpensWithTheSixthPlcAndProposesTheNextAddress) {
    Network n;
    ASSERT_EQ(n.editor.plcNames().size(), 8u);
    EXPECT_EQ(n.editor.plcNames()[5], "Modbus RTU Master");
    EXPECT_EQ(n.editor.chosenPlcPosition(), 5);
    EXPECT_EQ(n.editor.chosenPlcId(), 1);
    EXPECT_EQ(n.editor.lines(), std::vector<std::string>{"000\tOperator Panel\tVQ5K-252\t00000"});

    auto draft = n.editor.beginAdd();
    ASSERT_TRUE(draft);
    EXPECT_EQ(draft->address, "1");
    EXPECT_EQ(draft->name, "Node1");
    EXPECT_EQ(draft->plcPosition, 5);
    EXPECT_EQ(draft->modelPosition, 0);
    EXPECT_EQ(n.editor.modelNames(), (std::vector<std::string>{"Standard addressing 0xxxx-4xxxx",
                                                               "Extended addressing 0xxxxx-4xxxxx"}));
    EXPECT_TRUE(n.prompter.empty());
}

// A user who selected fewer than six PLCs gets the first as the initial choice, without a word; one
// who selected six gets the sixth; an empty list says that no PLC is selected.
TEST(NetworkEditor, ShortSelectedListChoosesTheFirstPlc) {
    Network n;
    n.writeSelectedList("Modbus RTU Master|1|\nSiemens Step-7 Micro|2|\n");
    n.editor.open();
    EXPECT_TRUE(n.prompter.empty()) << n.prompter.texts().front();
    EXPECT_EQ(n.editor.chosenPlcPosition(), 0);
    EXPECT_EQ(n.editor.chosenPlcId(), 1);
    auto draft = n.editor.beginAdd();
    ASSERT_TRUE(draft);
    EXPECT_EQ(draft->plcPosition, 0);
    EXPECT_EQ(n.editor.modelNames(), (std::vector<std::string>{"Standard addressing 0xxxx-4xxxx",
                                                               "Extended addressing 0xxxxx-4xxxxx"}));
    Node* node = n.editor.apply(*draft, nullptr).node;
    ASSERT_NE(node, nullptr);
    EXPECT_EQ(node->plcName, "Modbus RTU Master");
    EXPECT_TRUE(n.prompter.empty());

    // One line: that line.
    n.writeSelectedList("Siemens Step-7 Micro|2|\n");
    n.editor.open();
    EXPECT_TRUE(n.prompter.empty());
    EXPECT_EQ(n.editor.chosenPlcPosition(), 0);
    EXPECT_EQ(n.editor.chosenPlcId(), 2);

    // Five lines: the first; six lines: the sixth.
    const std::string five = "Allen-Bradley SLC 500 (DF1)|7|\nGE Fanuc Series 90-30 (SNP)|9|\n"
                             "Koyo DirectLOGIC (K-sequence)|3|\nMitsubishi FX (programming port)|104|\n"
                             "Mitsubishi MELSEC-Q (MC protocol)|8|\n";
    n.writeSelectedList(five);
    n.editor.open();
    EXPECT_TRUE(n.prompter.empty());
    EXPECT_EQ(n.editor.chosenPlcPosition(), 0);
    EXPECT_EQ(n.editor.chosenPlcId(), 7);
    n.writeSelectedList(five + "Modbus RTU Master|1|\n");
    n.editor.open();
    EXPECT_TRUE(n.prompter.empty());
    EXPECT_EQ(n.editor.chosenPlcPosition(), 5);
    EXPECT_EQ(n.editor.chosenPlcId(), 1);

    n.writeSelectedList("");
    n.editor.open();
    ASSERT_EQ(n.prompter.texts(),
              std::vector<std::string>{"The PLC in the selected Application is not selected\n"
                                       "in the Configuration system."});
    EXPECT_EQ(n.prompter.last().title, "Quillon : Information");
    EXPECT_EQ(n.editor.chosenPlcPosition(), -1);
    draft = n.editor.beginAdd();
    ASSERT_TRUE(draft);
    EXPECT_EQ(draft->plcPosition, -1);
    EXPECT_TRUE(n.editor.modelNames().empty());
}

TEST(NetworkEditor, OkChecksInOrderAndKeepsEditMode) {
    Network n;
    auto draft = *n.editor.beginAdd();
    struct Case {
        std::string address, name, message;
        NodeField focus;
    };
    const std::vector<Case> cases{
        {"", "Pump", "Node-address is not defined.", NodeField::Address},
        // The unit holds 0: uniqueness is tested before validity.
        {"0", "", "This Node-address is already defined.\n It should be UNIQUE.", NodeField::Address},
        {"256", "Pump", "This Node-address is invalid.", NodeField::Address},
        {"7", "", "Node-name is not defined.", NodeField::Name},
        {"7", "Operator Panel", "This Node-name is already defined.\n It should be UNIQUE.", NodeField::Name},
        {"7", "Sixteen chars ab", "A Node-name has at most 15 characters.", NodeField::Name},
    };
    for (const Case& c : cases) {
        n.prompter.clear();
        draft.address = c.address;
        draft.name = c.name;
        const NodeOutcome outcome = n.editor.apply(draft, nullptr);
        EXPECT_FALSE(outcome.stored) << c.address << "/" << c.name;
        EXPECT_FALSE(outcome.leaveEditMode);
        EXPECT_EQ(outcome.focus, c.focus);
        ASSERT_EQ(n.prompter.texts(), std::vector<std::string>{c.message});
        EXPECT_EQ(n.prompter.last().title, "Quillon : Error");
        EXPECT_EQ(n.app->nodeCount(), 1u);
    }
    // Letter case makes another name; fifteen characters fit.
    draft.address = "7";
    draft.name = "operator panel";
    EXPECT_TRUE(n.editor.apply(draft, nullptr).stored);
    draft = *n.editor.beginAdd();
    draft.name = "Fifteen chars a";
    EXPECT_TRUE(n.editor.apply(draft, nullptr).stored);
}

TEST(NetworkEditor, NewNodeTakesItsFactsFromTheCatalog) {
    Network n;
    const std::uint32_t before = n.app->totals().networkBytes;
    const std::uint32_t size = n.app->totals().applicationSize;
    Node* node = n.add("4", "Pump", kModbus, 1);
    ASSERT_NE(node, nullptr);
    EXPECT_TRUE(n.prompter.empty());
    EXPECT_EQ(node->kind(), NodeKind::Plc);
    EXPECT_EQ(node->number(), 4);
    EXPECT_EQ(node->plcId, 1);
    EXPECT_EQ(node->plcName, "Modbus RTU Master");
    EXPECT_EQ(node->modelIndex, 2);
    EXPECT_EQ(node->modelCode, '6');
    EXPECT_EQ(node->plcFile, "..\\plc\\0001_001.plc");
    EXPECT_EQ(node->specialData(), (std::array<std::uint8_t, 3>{0, 0, 0}));
    EXPECT_EQ(n.app->totals().networkBytes, before + 14);
    EXPECT_EQ(n.app->totals().applicationSize, size + 14);
    EXPECT_EQ(n.editor.lines().back(),
              "004\tPump\tModbus RTU Master  ( Extended addressing 0xxxxx-4xxxxx )\t00000");
    EXPECT_EQ(n.app->nextNodeNumber(), 5);
    EXPECT_FALSE(NetworkEditor::hasSpecialData(*node));

    // A PLC with special PLC-data gets the catalog's defaults.
    Node* omron = n.add("9", "Press", kOmron, 2);
    ASSERT_NE(omron, nullptr);
    EXPECT_EQ(omron->kind(), NodeKind::PlcWithSpecial);
    EXPECT_EQ(omron->specialData(), (std::array<std::uint8_t, 3>{1, 0, 1}));
    EXPECT_TRUE(NetworkEditor::usesCommParameters(*omron));
    // A special-data flag other than 0 and 1: the section is read, the node keeps no values.
    Node* koyo = n.add("10", "Conveyor", kKoyo, 0);
    ASSERT_NE(koyo, nullptr);
    EXPECT_EQ(koyo->kind(), NodeKind::Plc);
    EXPECT_EQ(koyo->specialData(), (std::array<std::uint8_t, 3>{0, 0, 0}));
    EXPECT_TRUE(n.app->checkConsistency()) << n.app->checkConsistency().message();
}

TEST(NetworkEditor, MissingDriverDiscardsTheNode) {
    Network n(10, false);
    auto draft = *n.editor.beginAdd();
    const NodeOutcome outcome = n.editor.apply(draft, nullptr);
    EXPECT_FALSE(outcome.stored);
    EXPECT_TRUE(outcome.leaveEditMode);
    ASSERT_EQ(
        n.prompter.texts(),
        std::vector<std::string>{
            "Modbus RTU Master PLC driver is not available for selected VQ5K-252 model./nPlease select "
            "another model for which this PLC driver is available.\nUsually ,more drivers are available "
            "for VQ5K-x22 models."});
    EXPECT_EQ(n.prompter.last().title, "Quillon : Information");
    EXPECT_EQ(n.app->nodeCount(), 1u);
}

TEST(NetworkEditor, ChangingMovesTheNodeAndKeepsItsSpecialValues) {
    Network n;
    ASSERT_NE(n.add("4", "Four"), nullptr);
    Node* five = n.add("5", "Five", kOmron, 0);
    ASSERT_NE(five, nullptr);
    five->setSpecialData({17, 1, 2});

    auto draft = n.editor.beginChange(*five);
    ASSERT_TRUE(draft);
    EXPECT_EQ(draft->address, "5");
    EXPECT_EQ(draft->name, "Five");
    EXPECT_EQ(draft->plcPosition, kOmron);
    EXPECT_EQ(draft->modelPosition, 0);
    draft->address = "3";
    draft->name = "Three";
    const NodeOutcome outcome = n.editor.apply(*draft, five);
    ASSERT_TRUE(outcome.stored);
    EXPECT_EQ(outcome.node, five);
    ASSERT_EQ(n.app->nodeCount(), 3u);
    EXPECT_EQ(n.app->nodes()[1]->name, "Three");
    EXPECT_EQ(n.app->nodes()[2]->name, "Four");
    EXPECT_EQ(five->specialData(), (std::array<std::uint8_t, 3>{17, 1, 2}));
    // Its own address and name are not another node's.
    draft = n.editor.beginChange(*five);
    EXPECT_TRUE(n.editor.apply(*draft, five).stored);

    // Another model gives the new model's defaults.
    draft = n.editor.beginChange(*five);
    draft->modelPosition = 1;
    ASSERT_TRUE(n.editor.apply(*draft, five).stored);
    EXPECT_EQ(five->modelIndex, 2);
    EXPECT_EQ(five->specialData(), (std::array<std::uint8_t, 3>{1, 0, 1}));
    EXPECT_TRUE(n.prompter.empty());
    EXPECT_TRUE(n.app->checkConsistency());
}

TEST(NetworkEditor, UnitNodeChangesOnlyAddressAndName) {
    Network n;
    Node* unit = n.app->unitNode();
    auto draft = n.editor.beginChange(*unit);
    ASSERT_TRUE(draft);
    EXPECT_EQ(draft->plcPosition, -1);
    // Address 0 is the unit's own: renamed, it keeps it.
    EXPECT_EQ(draft->address, "0");
    draft->name = "Line panel";
    NodeOutcome outcome = n.editor.apply(*draft, unit);
    ASSERT_TRUE(outcome.stored);
    EXPECT_TRUE(n.prompter.empty());
    EXPECT_EQ(unit->number(), 0);
    EXPECT_EQ(unit->name, "Line panel");
    EXPECT_EQ(n.editor.lines(), std::vector<std::string>{"000\tLine panel\tVQ5K-252\t00000"});
    draft = n.editor.beginChange(*unit);
    ASSERT_TRUE(draft);
    draft->address = "200";
    draft->name = "Panel";
    outcome = n.editor.apply(*draft, unit);
    ASSERT_TRUE(outcome.stored);
    EXPECT_EQ(unit->number(), 200);
    EXPECT_EQ(unit->name, "Panel");
    EXPECT_EQ(unit->kind(), NodeKind::Unit);
    EXPECT_EQ(unit->plcId, 0);

    // With the unit elsewhere, 0 is free but still no PLC's address; the unit may take it back.
    auto plc = *n.editor.beginAdd();
    plc.address = "0";
    plc.name = "Pump";
    n.prompter.clear();
    EXPECT_FALSE(n.editor.apply(plc, nullptr).stored);
    EXPECT_EQ(n.prompter.texts(), std::vector<std::string>{"This Node-address is invalid."});
    Node* pump = n.add("3", "Pump");
    ASSERT_NE(pump, nullptr);
    auto change = n.editor.beginChange(*pump);
    ASSERT_TRUE(change);
    change->address = "0";
    n.prompter.clear();
    EXPECT_FALSE(n.editor.apply(*change, pump).stored);
    EXPECT_EQ(n.prompter.texts(), std::vector<std::string>{"This Node-address is invalid."});
    EXPECT_EQ(pump->number(), 3);
    draft = n.editor.beginChange(*unit);
    ASSERT_TRUE(draft);
    draft->address = "0";
    ASSERT_TRUE(n.editor.apply(*draft, unit).stored);
    EXPECT_EQ(unit->number(), 0);
}

TEST(NetworkEditor, NodesWithBlocksAndTheUnitAreKept) {
    Network n;
    Node* node = n.add("2", "Two");
    ASSERT_NE(node, nullptr);
    auto block = std::make_unique<Block>("40001", 4);
    ASSERT_TRUE(n.app->addBlock(*node, std::move(block)));

    EXPECT_FALSE(n.editor.beginChange(*node));
    EXPECT_EQ(n.prompter.last().text,
              "Using this Node, Blocks(s)/Tag(s) are defined hence can not be changed.");
    EXPECT_EQ(n.prompter.last().title, "Quillon : Information");
    n.prompter.clear();
    EXPECT_FALSE(n.editor.remove(*node));
    EXPECT_EQ(n.prompter.last().text,
              "Using this Node, Blocks(s)/Tag(s) are defined hence can not be deleted.");
    EXPECT_EQ(n.prompter.last().title, "Quillon : Information");
    n.prompter.clear();
    EXPECT_FALSE(n.editor.remove(*n.app->unitNode()));
    EXPECT_EQ(n.prompter.texts(), std::vector<std::string>{"This node is VQ5K-unit and can not be deleted."});
    EXPECT_EQ(n.prompter.last().title, "Quillon : Information");
    EXPECT_EQ(n.app->nodeCount(), 2u);
}

TEST(NetworkEditor, DeleteAsksAndRunsTheHookBeforeRemoving) {
    Network n;
    Node* node = n.add("2", "Two");
    ASSERT_NE(node, nullptr);
    int hooks = 0;
    n.editor.setBeforeRemoval([&] {
        ++hooks;
        EXPECT_EQ(n.app->nodeCount(), 2u);
    });
    n.prompter.script({PromptAnswer::No});
    EXPECT_FALSE(n.editor.remove(*node));
    EXPECT_EQ(n.prompter.last().text, "Are you sure to delete the selected node?");
    EXPECT_EQ(n.prompter.last().title, "Quillon : Confirmation");
    EXPECT_EQ(n.prompter.last().buttons, PromptButtons::YesNo);
    EXPECT_EQ(hooks, 0);
    n.prompter.script({PromptAnswer::Yes});
    EXPECT_TRUE(n.editor.remove(*node));
    EXPECT_EQ(hooks, 1);
    EXPECT_EQ(n.app->nodeCount(), 1u);
    EXPECT_EQ(n.app->nextNodeNumber(), 1);
}

TEST(NetworkEditor, At255NodesNoneIsAddedAndNoAddressProposed) {
    Network n;
    for (unsigned number = 1; number < 254; ++number) {
        auto node = std::make_unique<Node>(NodeKind::Plc, static_cast<std::uint8_t>(number));
        node->name = "N" + std::to_string(number);
        ASSERT_TRUE(n.app->addNode(std::move(node)));
    }
    ASSERT_EQ(n.app->nodeCount(), 254u);
    auto draft = n.editor.beginAdd();
    ASSERT_TRUE(draft);
    EXPECT_EQ(draft->address, "254");
    draft->address = "255";
    draft->name = "Last";
    ASSERT_TRUE(n.editor.apply(*draft, nullptr).stored);
    ASSERT_EQ(n.app->nodeCount(), 255u);
    n.prompter.clear();
    EXPECT_FALSE(n.editor.beginAdd());
    EXPECT_EQ(n.prompter.texts(), std::vector<std::string>{"There are 255 nodes defined.\nCan't add more."});
    EXPECT_EQ(n.prompter.last().title, "Quillon : Error");

    // With 255 taken no address is proposed; the user types a free one.
    n.prompter.script({PromptAnswer::Yes});
    ASSERT_TRUE(n.editor.remove(*n.app->findNodeByNumber(100)));
    draft = n.editor.beginAdd();
    ASSERT_TRUE(draft);
    EXPECT_EQ(draft->address, "");
    EXPECT_EQ(draft->name, "");
}

TEST(NetworkEditor, ChoosingAPlcWithoutCatalogEndsEditMode) {
    Network n;
    std::filesystem::remove(n.plcDir() / "0104_001.plc");
    EXPECT_FALSE(n.editor.choosePlc(kMitsubishiFx));
    EXPECT_EQ(n.prompter.texts(), std::vector<std::string>{"Cannot open PLC file"});
    EXPECT_FALSE(n.editor.choosePlc(40));
    EXPECT_EQ(n.prompter.last().text,
              "The PLC in the selected Application is not selected\nin the Configuration system.");
}

TEST(SpecialDataForm, ThreeDecimalFieldsFromTheCatalog) {
    Network n;
    Node* omron = n.add("3", "Press", kOmron, 0);
    ASSERT_NE(omron, nullptr);
    omron->setSpecialData({12, 1, 2});
    auto form = SpecialDataForm::load(*n.catalogs, *omron);
    ASSERT_TRUE(form);
    ASSERT_EQ(form->fields().size(), 3u);
    EXPECT_EQ(form->fields()[0].label, "Station ID");
    EXPECT_EQ(form->fields()[0].range, "[ 1 - 31 ]");
    EXPECT_EQ(form->fields()[0].text, "12");
    EXPECT_EQ(form->fields()[2].range, "[ 0 - 2 ]");
    // Two characters at most; 45 is above 31 and loses its last digit.
    EXPECT_EQ(form->type(0, "45").text, "4");
    EXPECT_EQ(form->type(0, "123").text, "12");
    EXPECT_EQ(form->type(1, "7").text, "");
    EXPECT_EQ(form->leave(0, ""), "12");
    EXPECT_EQ(form->store({"31", "", "0"}), (std::array<std::uint8_t, 3>{31, 1, 0}));
}

TEST(SpecialDataForm, HexadecimalAndSingleLine) {
    SpecialLine line;
    line.label = "Unit";
    line.maxChars = 2;
    line.radix = 'H';
    line.min = "0";
    line.max = "FF";
    const SpecialDataForm form = SpecialDataForm::fromLines({line}, {0xAB, 5, 6});
    ASSERT_EQ(form.fields().size(), 1u);
    EXPECT_EQ(form.fields()[0].text, "AB");
    EXPECT_EQ(form.type(0, "1g").text, "1");
    EXPECT_EQ(form.store({"1F"}), (std::array<std::uint8_t, 3>{0x1F, 5, 6}));
    EXPECT_EQ(SpecialDataForm::parseByte('X', "12"), 0);
}

TEST(CommParameters, BytesByPlc) {
    const CommParameters omron = CommParameters::load(105, {7, 1, 2});
    EXPECT_EQ(omron.station, 7);
    EXPECT_EQ(omron.baud, 1);
    EXPECT_EQ(omron.parity, 2);
    EXPECT_TRUE(omron.stationShown);
    CommParameters changed = omron;
    changed.station = 31;
    changed.baud = 0;
    changed.parity = 1;
    EXPECT_EQ(changed.store(105, {7, 1, 2}), (std::array<std::uint8_t, 3>{31, 0, 1}));

    const CommParameters fx = CommParameters::load(104, {1, 2, 9});
    EXPECT_EQ(fx.baud, 1);
    EXPECT_EQ(fx.parity, 2);
    EXPECT_FALSE(fx.stationShown);
    CommParameters fxChanged = fx;
    fxChanged.baud = 0;
    EXPECT_EQ(fxChanged.store(104, {1, 2, 9}), (std::array<std::uint8_t, 3>{0, 2, 9}));
}
