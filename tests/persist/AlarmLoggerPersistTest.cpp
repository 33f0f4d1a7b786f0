#include "OvmFixture.h"
#include "model/TextFormat.h"
#include "persist/ConsecutiveGroupTags.h"
#include "persist/PrepareForWrite.h"
#include "persist/RegisterPositions.h"
#include "persist/TextFormReader.h"
#include "persist/TextFormWriter.h"

#include <gtest/gtest.h>

using namespace quillon;
using namespace quillon::test;

namespace {

std::string exportText(OvmFixture& f, const Application& app) {
    auto text = TextFormWriter::write(app, &f.library());
    EXPECT_TRUE(text) << text.message();
    return text ? *text : std::string();
}

} // namespace

// The page header's register survives saving and opening, even when it is the unit's first tag, whose
// reference is four zero bytes.
TEST(LoggerPersistence, EveryFieldAndTheHeaderRegisterSurviveReopening) {
    OvmFixture f;
    auto app = Application::create(500, f.prompter);
    const auto n = f.network(*app);
    ASSERT_EQ(n.unitR->nodeNumber(), 0); // R0000 is the unit's first block
    ASSERT_EQ(n.unitR->blockIndex(), 0u);
    ASSERT_EQ(n.unitR->indexInBlock(), 0);
    LoggerSettings& l = app->logger();
    l.memorySize = 2;
    l.frequency = 255;
    l.frequencyUnit = 0;
    l.whenFull = 1;
    l.startAtPowerUp = 1;
    l.useStartTime = 1;
    l.useStopTime = 1;
    l.separator = ' ';
    l.pageHeader = "Tank " + std::string(8, '\x01') + std::string(5, '\x03');
    l.headerRegister = n.unitR;
    ASSERT_TRUE(app->addLoggerTag(*n.word2).ok());
    ASSERT_TRUE(app->addLoggerTag(*n.unitWord).ok());
    const MemoryTotals totals = app->totals();

    auto back = f.read(f.prepareAndWrite(*app));
    ASSERT_TRUE(back) << back.message();
    const LoggerSettings& r = (*back)->logger();
    EXPECT_EQ(r.memorySize, 2);
    EXPECT_EQ(r.frequency, 255);
    EXPECT_EQ(r.frequencyUnit, 0);
    EXPECT_EQ(r.whenFull, 1);
    EXPECT_EQ(r.startAtPowerUp, 1);
    EXPECT_EQ(r.useStartTime, 1);
    EXPECT_EQ(r.useStopTime, 1);
    EXPECT_EQ(r.separator, ' ');
    EXPECT_EQ(r.pageHeader, l.pageHeader);
    ASSERT_NE(r.headerRegister, nullptr);
    EXPECT_EQ(r.headerRegister->address(), "R0005");
    ASSERT_EQ(r.tags.size(), 2u);
    EXPECT_EQ(r.tags[0]->address(), "40104"); // the logging order is kept
    EXPECT_EQ(r.tags[1]->address(), "UW001");
    EXPECT_EQ((*back)->totals(), totals);
    EXPECT_TRUE((*back)->isTagReferenced(*r.headerRegister));

    // The text form carries it too.
    const std::string text = exportText(f, **back);
    EXPECT_NE(text.find("\"headerRegister\""), std::string::npos);
    auto imported = TextFormReader::read(text, TextFormContext{f.catalogs(), f.prompter, &f.library()});
    ASSERT_TRUE(imported) << imported.message();
    ASSERT_NE((*imported)->logger().headerRegister, nullptr);
    EXPECT_EQ((*imported)->logger().headerRegister->address(), "R0005");
}

TEST(AlarmPersistence, UnitFirstTagRefusedOnImportAndReadAsNoTagFromAFile) {
    OvmFixture f;
    auto app = Application::create(500, f.prompter);
    const auto n = f.network(*app);
    ASSERT_TRUE(app->setAlarmText(2, "Door").ok());
    ASSERT_TRUE(app->setTagMode(AlarmTable::kDiscrete).ok());
    ASSERT_TRUE(app->setGroupTag(0, n.word).ok());
    std::string text = exportText(f, *app);
    const auto alarms = text.find("\"alarms\"");
    ASSERT_NE(alarms, std::string::npos);
    const std::string from = "\"node\": 1, \"address\": \"40003\"";
    const auto at = text.find(from, alarms);
    ASSERT_NE(at, std::string::npos) << text.substr(alarms, 300);
    text.replace(at, from.size(), "\"node\": 0, \"address\": \"R0005\"");
    auto imported = TextFormReader::read(text, TextFormContext{f.catalogs(), f.prompter, &f.library()});
    ASSERT_FALSE(imported);
    EXPECT_NE(imported.message().find("/alarms/groups/0"), std::string::npos) << imported.message();
    EXPECT_NE(imported.message().find(AlarmTable::kUnitFirstTag), std::string::npos) << imported.message();

    // A file whose group holds four zero bytes reads as a group without a tag.
    ASSERT_TRUE(app->setGroupTag(0, nullptr).ok());
    auto back = f.read(f.prepareAndWrite(*app));
    ASSERT_TRUE(back) << back.message();
    ASSERT_NE((*back)->alarmsIfAny(), nullptr);
    EXPECT_EQ((*back)->alarmsIfAny()->groupTag(0), nullptr);
    EXPECT_EQ((*back)->alarmsIfAny()->text(2), "Door");
}

TEST(AlarmPersistence, SixteenConsecutiveTagsFromTheFirstTag) {
    OvmFixture f;
    auto app = Application::create(500, f.prompter);
    Node& plc = *must(app->addNode(f.plcNode(1, 1)));
    Block& b = OvmFixture::block(*app, plc, "40001", 40, "Hold");
    std::vector<Tag*> tags;
    for (int i = 1; i <= 17; ++i) {
        tags.push_back(must(app->addTag(b, OvmFixture::reg(formatText("%05d", 40000 + i), 2))));
    }
    Tag* byteTag = must(app->addTag(b, OvmFixture::reg("40030", 1, 1)));
    RegisterPositions positions(f.catalogs(), f.prompter);
    const SixteenTags from1 = ConsecutiveGroupTags::find(*app, *tags[0], positions);
    ASSERT_EQ(from1.outcome, SixteenTags::Outcome::Defined);
    ASSERT_EQ(from1.tags.size(), 16u);
    EXPECT_EQ(from1.tags[0], tags[0]);
    EXPECT_EQ(from1.tags[15]->address(), "40016");
    const SixteenTags from2 = ConsecutiveGroupTags::find(*app, *tags[1], positions);
    ASSERT_EQ(from2.outcome, SixteenTags::Outcome::Defined);
    EXPECT_EQ(from2.tags[15]->address(), "40017");
    // From 40003 the sixteenth would be 40018, which is no tag.
    EXPECT_EQ(ConsecutiveGroupTags::find(*app, *tags[2], positions).outcome,
              SixteenTags::Outcome::NotAllDefined);
    // Tags of another size at those addresses do not count.
    EXPECT_EQ(ConsecutiveGroupTags::find(*app, *byteTag, positions).outcome,
              SixteenTags::Outcome::NotAllDefined);
}

// A group tag that becomes the unit's first tag (the tag before it was deleted) is not saved silently as
// "no tag": the save is refused with the group named, and nothing is written.
TEST(AlarmPersistence, SaveRefusesAGroupTagThatBecameTheUnitFirstTag) {
    OvmFixture f;
    auto app = Application::create(500, f.prompter);
    const auto n = f.network(*app);
    ASSERT_TRUE(app->setAlarmText(20, "Door").ok());
    ASSERT_TRUE(app->setTagMode(AlarmTable::kDiscrete).ok());
    ASSERT_TRUE(app->setGroupTag(1, n.unitRBit).ok()); // R0006_02, after R0005 in the unit's first block
    ASSERT_TRUE(prepareForWrite(*app, nullptr, f.prompter).ok());
    ASSERT_TRUE(app->removeTag(*n.unitR).ok());
    ASSERT_TRUE(AlarmTable::readsAsNoTag(*n.unitRBit));
    const Status refused = prepareForWrite(*app, nullptr, f.prompter);
    ASSERT_FALSE(refused.ok());
    EXPECT_EQ(refused.message(),
              "The Tag of alarm group 2 is now the first Tag of the unit itself (node 0, block 0, "
              "tag 0),\nwhose reference the file and the unit read as 'no Tag'.\nChoose another "
              "Tag for the group in the Alarms editor.");
    EXPECT_EQ(f.prompter.texts().back(), refused.message());
    // A group not in use is not written, so its tag does not matter.
    ASSERT_TRUE(app->setAlarmText(20, "").ok());
    ASSERT_TRUE(app->setAlarmText(2, "Gate").ok());
    EXPECT_TRUE(prepareForWrite(*app, nullptr, f.prompter).ok());
}
