#include "model/PanelModel.h"

#include "model/UnitSettings.h"

#include <gtest/gtest.h>

using namespace quillon;

TEST(PanelModel, CatalogRowsAndLookups) {
    ASSERT_EQ(panelModels().size(), 12u);
    // The id is not the number in the name.
    EXPECT_EQ(modelName(30), "Orvik 40");
    EXPECT_EQ(modelName(41), "Orvik 80");
    EXPECT_EQ(modelName(500), "VQ5K-822");
    // Models 10 and 12 share a keypad layout but not a driver.
    EXPECT_EQ(keypadLayout(10), "keys_162");
    EXPECT_EQ(keypadLayout(12), "keys_162");
    EXPECT_EQ(driverModelCode(10), 10);
    EXPECT_EQ(driverModelCode(12), 11);
    EXPECT_EQ(driverModelCode(520), 300);
    EXPECT_EQ(keypadLayout(480), "keys_128x64_90");

    EXPECT_EQ(modelClass(20), 2);
    EXPECT_EQ(modelClass(510), 51);
    EXPECT_EQ(displaySize(modelClass(30)), (CanvasSize{240, 32}));
    EXPECT_EQ(displaySize(modelClass(520)), (CanvasSize{320, 240}));
    EXPECT_EQ(readLimit(42), 144);
    EXPECT_EQ(readLimit(480), 224);
    EXPECT_TRUE(isCharacterClass(modelClass(42)));
    EXPECT_FALSE(isCharacterClass(modelClass(480)));
    EXPECT_TRUE(storesBitmaps(480));
    EXPECT_FALSE(storesBitmaps(42));
}

TEST(PanelModel, UnknownIdsGiveEmptyAnswers) {
    EXPECT_EQ(modelClass(11), 0);
    EXPECT_EQ(modelName(11), "");
    EXPECT_EQ(displaySize(0), (CanvasSize{0, 0}));
    EXPECT_EQ(readLimit(11), 0);
    EXPECT_EQ(selectModel(11), ModelSelection{});
}

TEST(PanelModel, IndexOfOfferedModels) {
    const std::uint16_t offered[] = {10, 12, 40, 42, 500};
    for (std::uint8_t i = 0; i < 5; ++i) {
        EXPECT_EQ(modelIndex(offered[i]), i);
        EXPECT_EQ(modelIdForIndex(i), offered[i]);
    }
    EXPECT_EQ(modelIndex(520), 0);
    EXPECT_EQ(modelIdForIndex(5), 0);
    EXPECT_EQ(findPanelModel(12)->supplyVoltage, "24 VDC");
    EXPECT_EQ(findPanelModel(40)->serialInterface, "RS232");
    EXPECT_EQ(findPanelModel(500)->serialInterface, "RS232 / RS485");
}

TEST(PanelModel, PickerListsEveryModelOfferedOnesFirst) {
    const std::uint16_t order[] = {10, 12, 40, 42, 500, 510, 520, 15, 20, 30, 41, 480};
    ASSERT_EQ(pickerModelIds().size(), 12u);
    for (std::uint8_t i = 0; i < 12; ++i) {
        EXPECT_EQ(pickerModelIds()[i], order[i]);
        EXPECT_EQ(pickerPosition(order[i]), i);
        EXPECT_EQ(modelIdAtPickerPosition(i), order[i]);
    }
    EXPECT_EQ(modelIdAtPickerPosition(12), 0);
    EXPECT_EQ(pickerPosition(11), std::nullopt);
    // The offered rows are the model index rows.
    EXPECT_EQ(pickerPosition(500), modelIndex(500));
    EXPECT_EQ(supplyVoltageText(*findPanelModel(10)), "5 VDC");
    EXPECT_EQ(serialInterfaceText(*findPanelModel(42)), "RS232 / RS485");
    EXPECT_EQ(supplyVoltageText(*findPanelModel(520)), "\u2014");
    EXPECT_EQ(serialInterfaceText(*findPanelModel(15)), "\u2014");
}

TEST(PanelModel, SelectModelIsAValue) {
    const ModelSelection graphic = selectModel(500);
    EXPECT_EQ(graphic.modelId, 500);
    EXPECT_EQ(graphic.modelIndex, 4);
    EXPECT_EQ(graphic.modelClass, 50);
    EXPECT_EQ(graphic.canvas, (CanvasSize{128, 64}));
    EXPECT_EQ(graphic.readLimit, 224);
    EXPECT_TRUE(graphic.graphicEntriesEnabled);
    const ModelSelection text = selectModel(41);
    EXPECT_EQ(text.modelIndex, 0);
    EXPECT_EQ(text.readLimit, 144);
    EXPECT_FALSE(text.graphicEntriesEnabled);
}

TEST(UnitSettings, CapacityAndDefaults) {
    EXPECT_EQ(memoryCapacity(0), 8192u);
    EXPECT_EQ(memoryCapacity(1), 26000u); // not 24576
    EXPECT_EQ(memoryCapacity(2), 32768u);
    EXPECT_EQ(memoryCapacity(3), 64512u); // not 65536
    EXPECT_EQ(memoryCapacity(4), 131072u);
    EXPECT_EQ(memoryCapacity(6), 2097152u);
    EXPECT_EQ(memoryCapacity(7), 0u);

    const UnitSettings large = defaultUnitSettings(modelIndex(500));
    EXPECT_EQ(large.memoryOption, 3);
    EXPECT_EQ(memoryCapacity(large.memoryOption), 64512u);
    const UnitSettings small = defaultUnitSettings(modelIndex(10));
    EXPECT_EQ(small.memoryOption, 1);
    EXPECT_EQ(offeredMemoryOptions(4), 4);
    EXPECT_EQ(offeredMemoryOptions(2), 2);
    // By model: every graphic model has the four memories, every character model the first two.
    for (const std::uint16_t id : {480, 500, 510, 520}) {
        EXPECT_EQ(memoryOptionsOfModel(id), 4) << id;
    }
    for (const std::uint16_t id : {10, 12, 15, 20, 30, 40, 41, 42}) {
        EXPECT_EQ(memoryOptionsOfModel(id), 2) << id;
    }
    EXPECT_EQ(memoryOptionsOfModel(11), 0);
    // The large graphic models are not at a row of the five: they start with 24KB (26000 bytes).
    EXPECT_EQ(defaultUnitSettings(modelIndex(520)).memoryOption, 1);

    const std::array<std::uint8_t, 15> expected{1, 0, 0, 4, 4, 0, 0, 4, 1, 2, 80, 3, 2, 1, 0};
    EXPECT_EQ(small.toBytes(), expected);
    UnitSettings back;
    back.memoryOption = 0;
    back.fromBytes(expected);
    EXPECT_EQ(back, small);
}
