#include "ModelFixture.h"
#include "model/AlarmTable.h"

#include <gtest/gtest.h>

using namespace quillon;
using namespace quillon::testing_support;

TEST(Alarms, SectionBytesAndCounts) {
    Application app(500);
    EXPECT_EQ(app.alarmsIfAny(), nullptr); // created on first use
    AlarmTable& table = app.alarmTable();
    EXPECT_EQ(&app.alarmTable(), &table);
    EXPECT_EQ(app.totals().alarmBytes, 0u);

    const std::uint32_t base = app.totals().applicationSize;
    ASSERT_TRUE(app.setAlarmText(3, "Fire").ok());
    EXPECT_EQ(app.totals().alarmBytes, 14u); // 2 + 5 + 7
    EXPECT_EQ(app.alarmTextCount(), 1u);
    EXPECT_EQ(app.totals().applicationSize, base + 14u);

    // Groups 0 and 15 each take a group entry even without a tag.
    ASSERT_TRUE(app.setAlarmText(255, "Low").ok());
    EXPECT_EQ(app.totals().alarmBytes, 2u + 10u + 7u + 6u);
    ASSERT_TRUE(app.setAlarmText(254, "Oil").ok());
    EXPECT_EQ(app.totals().alarmBytes, 2u + 10u + 7u + 6u + 6u);
    EXPECT_EQ(app.alarmTextCount(), 3u);

    // Emptying a text removes the alarm; with none left the section is not written at all.
    ASSERT_TRUE(app.setAlarmText(255, "").ok());
    ASSERT_TRUE(app.setAlarmText(254, "").ok());
    ASSERT_TRUE(app.setAlarmText(3, "").ok());
    EXPECT_EQ(app.alarmTextCount(), 0u);
    EXPECT_EQ(app.totals().alarmBytes, 0u);
    EXPECT_EQ(app.totals().applicationSize, base);
    EXPECT_EQ(app.recount(), app.totals());

    EXPECT_FALSE(app.setAlarmText(256, "x").ok());
    ASSERT_TRUE(app.setAlarmOptions(7, AlarmTable::kPrintOption).ok());
    EXPECT_EQ(table.options(7), 1);
    EXPECT_TRUE(app.setTagMode(AlarmTable::kDiscrete).ok());
    EXPECT_FALSE(app.setTagMode(2).ok());
    EXPECT_EQ(table.tagMode(), AlarmTable::kDiscrete);
}

TEST(Alarms, TextLimitsFollowTheDisplay) {
    EXPECT_EQ(AlarmTable::textLimit(1), 16u);
    EXPECT_EQ(AlarmTable::textLimit(2), 16u);
    EXPECT_EQ(AlarmTable::textLimit(3), 20u);
    EXPECT_EQ(AlarmTable::textLimit(4), 20u);
    EXPECT_EQ(AlarmTable::textLimit(50), 21u);
    EXPECT_EQ(AlarmTable::textLimit(51), 40u);
    EXPECT_EQ(AlarmTable::textLimit(52), 53u);

    Application character(10); // class 1
    EXPECT_TRUE(character.setAlarmText(0, std::string(16, 'a')).ok());
    EXPECT_FALSE(character.setAlarmText(0, std::string(17, 'a')).ok());
    EXPECT_EQ(character.alarmTable().text(0), std::string(16, 'a'));
    Application large(520); // class 52
    EXPECT_TRUE(large.setAlarmText(0, std::string(53, 'a')).ok());
    EXPECT_FALSE(large.setAlarmText(0, std::string(54, 'a')).ok());
}

TEST(Alarms, GroupTagsMustDiffer) {
    Application app(500);
    Node* plc = must(app.addNode(plcNode(1)));
    Block* block = must(app.addBlock(*plc, std::make_unique<Block>("D0000", 10)));
    Tag* a = must(app.addTag(*block, registerTag("D0001")));
    Tag* b = must(app.addTag(*block, registerTag("D0002")));
    ASSERT_TRUE(app.setGroupTag(0, a).ok());
    auto refused = app.setGroupTag(1, a);
    ASSERT_FALSE(refused.ok());
    EXPECT_EQ(
        refused.message(),
        "This Tag is already assigned to any other group.\nFor 16 groups, 16 different Tags are required.");
    EXPECT_TRUE(app.setGroupTag(0, a).ok()); // its own group again
    EXPECT_TRUE(app.setGroupTag(1, b).ok());
    EXPECT_FALSE(app.setGroupTag(16, b).ok());
    // Group tags take no bytes until a group has a text.
    EXPECT_EQ(app.totals().alarmBytes, 0u);
}

TEST(Logger, DefaultsAndTags) {
    Application app(500);
    const LoggerSettings& logger = app.logger();
    EXPECT_EQ(logger.memorySize, 0);
    EXPECT_EQ(logger.frequency, 10);
    EXPECT_EQ(logger.frequencyUnit, 1);
    EXPECT_EQ(logger.whenFull, 0);
    EXPECT_EQ(logger.separator, ',');
    EXPECT_TRUE(logger.pageHeader.empty());
    EXPECT_EQ(app.totals().loggerBytes, 13u);

    Node* plc = must(app.addNode(plcNode(1)));
    Block* block = must(app.addBlock(*plc, std::make_unique<Block>("D0000", 10)));
    Tag* a = must(app.addTag(*block, registerTag("D0001")));
    Tag* b = must(app.addTag(*block, registerTag("D0002")));
    const MemoryTotals before = app.totals();
    ASSERT_TRUE(app.addLoggerTag(*a).ok());
    ASSERT_TRUE(app.addLoggerTag(*b).ok());
    EXPECT_FALSE(app.addLoggerTag(*a).ok()); // each tag is logged once
    EXPECT_EQ(app.loggerTags(), (std::vector<Tag*>{a, b}));
    EXPECT_EQ(app.totals(), before); // the image keeps a fixed placeholder
    EXPECT_TRUE(app.removeLoggerTag(*a));
    EXPECT_FALSE(app.removeLoggerTag(*a));
    EXPECT_EQ(app.loggerTags(), (std::vector<Tag*>{b}));
}
