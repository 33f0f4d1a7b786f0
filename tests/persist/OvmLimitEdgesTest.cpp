// Limits at their exact edges: the registers a screen may read (144 on text models, 224 on graphic
// ones) when a task is added and when a save prepares the application, and the bit tasks of every
// sub-kind, byte by byte and through a file.
#include "OvmFixture.h"

#include <gtest/gtest.h>

namespace quillon::test {
namespace {

struct ReadLimitCase {
    std::uint16_t model;
    std::uint32_t limit;
};

class ReadLimitEdges : public ::testing::TestWithParam<ReadLimitCase> {
protected:
    // Node 1 with blocks of 100 and limit - 100 registers, and a third one of a single register; a unit
    // word to copy into, so that only the PLC blocks are read.
    void SetUp() override {
        app = Application::create(GetParam().model, f.prompter);
        Node& unit = *must(app->addNode(Node::createUnitNode()));
        unitWord = must(app->addTag(OvmFixture::block(*app, unit, "UW000", 4), OvmFixture::reg("UW001", 2)));
        Node& plc = *must(app->addNode(f.plcNode(1, 1)));
        const auto rest = static_cast<std::uint8_t>(GetParam().limit - 100);
        hundred = must(app->addTag(OvmFixture::block(*app, plc, "40001", 100), OvmFixture::reg("40001", 2)));
        remainder =
            must(app->addTag(OvmFixture::block(*app, plc, "40201", rest), OvmFixture::reg("40201", 2)));
        single = must(app->addTag(OvmFixture::block(*app, plc, "40401", 1), OvmFixture::reg("40401", 2)));
        std::uint32_t i = 0;
        for (Tag& t : app->tags()) {
            t.name = "T" + std::to_string(++i);
        }
        screen = must(app->addScreen(std::make_unique<Screen>(4)));
    }
    Task copyFrom(Tag* source) const { return OvmFixture::task(TaskKind::CopyTag, 0, unitWord, source); }

    OvmFixture f;
    std::unique_ptr<Application> app;
    Tag* unitWord = nullptr;
    Tag* hundred = nullptr;
    Tag* remainder = nullptr;
    Tag* single = nullptr;
    Screen* screen = nullptr;
};

TEST_P(ReadLimitEdges, AScreenReadsUpToTheLimitAndNotOneRegisterMore) {
    const std::uint32_t limit = GetParam().limit;
    ASSERT_NE(app->addTask(*screen, 1, copyFrom(hundred), f.prompter), nullptr);
    // Exactly the limit is accepted.
    ASSERT_NE(app->addTask(*screen, 1, copyFrom(remainder), f.prompter), nullptr);
    EXPECT_EQ(app->screenReadRegisters(screen->readList()), limit);
    EXPECT_TRUE(f.prompter.empty());
    // One register beyond it is refused, and nothing changes.
    const std::uint32_t bytes = app->totals().applicationSize;
    EXPECT_EQ(app->addTask(*screen, 1, copyFrom(single), f.prompter), nullptr);
    // The refusal counts the registers (one more than the limit) and names the one-register block.
    EXPECT_EQ(f.prompter.texts(),
              std::vector<std::string>{"Can not accept the selected Tag(s). Otherwise the "
                                       "number of Tags in this screen will be more than "
                                       "the limit.\n\nThe screen would read " +
                                       std::to_string(limit + 1) + " registers; the unit reads at most " +
                                       std::to_string(limit) + ".\nIt would add:\n- block " +
                                       single->block()->address() + " of node 1 Node1: 1 register"});
    EXPECT_EQ(app->screenReadRegisters(screen->readList()), limit);
    EXPECT_EQ(screen->taskList(1).size(), 2U);
    EXPECT_EQ(app->totals().applicationSize, bytes);

    // A save prepares a screen that reads exactly the limit ...
    f.prompter.clear();
    ASSERT_TRUE(prepareForWrite(*app, &f.library(), f.prompter));
    EXPECT_TRUE(f.prompter.empty());
    // ... and stops at one that reads one register more, here through a block the global list reads.
    must(app->appendTask(app->applicationLists(), Application::kGlobal, copyFrom(single)));
    EXPECT_EQ(app->screenReadRegisters(screen->readList()), limit + 1);
    Status prepared = prepareForWrite(*app, &f.library(), f.prompter);
    EXPECT_FALSE(prepared);
    ASSERT_EQ(f.prompter.prompts().size(), 1U);
    EXPECT_EQ(f.prompter.last().text, "In the Screen of number 4, Tags to be read exceed the limit.");
    EXPECT_EQ(f.prompter.last().title, "Quillon : Error");
}

INSTANTIATE_TEST_SUITE_P(TextAndGraphicModels, ReadLimitEdges,
                         ::testing::Values(ReadLimitCase{42, 144}, ReadLimitCase{480, 224}),
                         [](const auto& info) { return "Model" + std::to_string(info.param.model); });

TEST(BitTasks, EverySubKindIsSevenBytesAndComesBackFromAFile) {
    OvmFixture f;
    auto app = Application::create(500, f.prompter);
    const auto n = f.network(*app);
    // The coil tag is node 1's block "00001" (block 0: "00001" < "40001" < "40101"), its first tag.
    const std::vector<std::uint8_t> subKinds{0, 1, 2, 3, 4, 11, 12};
    for (std::uint8_t sub : subKinds) {
        std::vector<std::uint8_t> bytes;
        app->renumber();
        encodeTask(OvmFixture::task(TaskKind::Bit, sub, n.coil), bytes);
        // Length 6, kind 5, the sub-kind, TagRef: node 1, block 0 (u16), tag 0.
        EXPECT_EQ(bytes, (std::vector<std::uint8_t>{6, 5, sub, 1, 0, 0, 0})) << int{sub};
    }

    // In a key's Press list, where no hold task is expanded, every sub-kind is written and read as it is.
    KeyDefinition& key = *must(app->addGlobalKey(std::make_unique<KeyDefinition>(7)));
    for (std::uint8_t sub : subKinds) {
        must(app->appendTask(key, 0, OvmFixture::task(TaskKind::Bit, sub, n.coil)));
    }
    EXPECT_EQ(key.taskList(0).bytes(), 7U * 7U);
    auto read = f.read(f.prepareAndWrite(*app));
    ASSERT_TRUE(read) << read.message();
    const KeyDefinition& back = *(*read)->globalKeys().back();
    ASSERT_EQ(back.code, 7);
    ASSERT_EQ(back.taskList(0).size(), subKinds.size());
    EXPECT_EQ(back.taskList(0).bytes(), 7U * 7U);
    for (std::size_t i = 0; i < subKinds.size(); ++i) {
        const Task& t = back.taskList(0).at(i);
        EXPECT_EQ(t.kind, TaskKind::Bit);
        EXPECT_EQ(t.subKind, subKinds[i]);
        ASSERT_NE(t.tag1, nullptr);
        EXPECT_EQ(t.tag1->address(), "00005");
        EXPECT_EQ(t.tag1->nodeNumber(), 1);
    }
}

} // namespace
} // namespace quillon::test
