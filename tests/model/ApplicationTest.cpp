#include "ModelFixture.h"
#include "model/RecordingPrompter.h"

#include <gtest/gtest.h>

using namespace quillon;
using namespace quillon::testing_support;

TEST(Application, NewDocumentDefaults) {
    RecordingPrompter prompter;
    auto app = Application::create(500, prompter);
    ASSERT_NE(app, nullptr);
    EXPECT_TRUE(prompter.empty());
    const MemoryTotals& t = app->totals();
    EXPECT_EQ(t.applicationSize, 127u);
    EXPECT_EQ(t.loggerBytes, 13u);
    EXPECT_EQ(t, MemoryTotals{});
    EXPECT_EQ(app->nodeCount(), 0u);
    EXPECT_EQ(app->tagCount(), 0u);
    EXPECT_EQ(app->globalKeyCount(), 0u);
    EXPECT_EQ(app->unitSettings().memoryOption, 3);
    EXPECT_GE(app->info().lastEdited.year, 2000);
    EXPECT_EQ(app->logger().frequency, 10);
    EXPECT_EQ(app->logger().frequencyUnit, 1);
    EXPECT_EQ(app->logger().separator, ',');
    EXPECT_TRUE(app->password().empty());
    EXPECT_EQ(app->modelSelection().readLimit, 224);

    must(app->addNode(Node::createUnitNode()));
    EXPECT_EQ(app->totals().applicationSize, 141u);
    EXPECT_EQ(app->recount(), app->totals());

    EXPECT_EQ(Application::create(11, prompter), nullptr);
    EXPECT_EQ(prompter.last().title, "Quillon : Error");

    EXPECT_TRUE(app->setPassword("12345678"));
    EXPECT_FALSE(app->setPassword("123456789"));
    EXPECT_EQ(app->password(), "12345678");
}

TEST(Application, CapacityCheck) {
    Application app(10); // option 1: 26000 bytes
    RecordingPrompter prompter;
    app.setPictureBytes(26000 - 127); // exactly at capacity
    EXPECT_EQ(app.totals().applicationSize, 26000u);
    EXPECT_TRUE(app.checkCapacity(prompter));
    EXPECT_TRUE(prompter.empty());
    app.setPictureBytes(26000 - 126);
    EXPECT_FALSE(app.checkCapacity(prompter));
    EXPECT_EQ(prompter.last().title, "Quillon : Error");
    EXPECT_EQ(
        prompter.last().text,
        "Application memory size is more than the memory-size of the VQ5K unit.\n\tDelete some entities to "
        "avoid overflow.");
    app.unitSettings().memoryOption = 9; // an option no unit has holds nothing
    app.setPictureBytes(0);
    EXPECT_FALSE(app.checkCapacity(prompter));
}

TEST(Application, DefaultNamesAfterUpload) {
    Application app(42);
    must(app.addNode(Node::createUnitNode()));
    Node* plc = must(app.addNode(plcNode(4)));
    plc->name.clear();
    Block* b0 = must(app.addBlock(*plc, std::make_unique<Block>("MW010", 4)));
    Block* b1 = must(app.addBlock(*plc, std::make_unique<Block>("D0010", 4)));
    must(app.addTag(*b0, registerTag("MW011")));
    must(app.addTag(*b1, registerTag("D0011")));
    must(app.addTag(*b1, registerTag("D0010")));
    app.assignDefaultNames([](const Node&, std::string_view address) {
        return std::string(address.substr(0, address.find_first_of("0123456789"))) + "XXXX";
    });
    EXPECT_EQ(app.unitNode()->name, "Node0");
    EXPECT_EQ(plc->name, "Node4");
    EXPECT_EQ(b1->name, "Block0");
    EXPECT_EQ(b0->name, "Block1");
    EXPECT_EQ(b1->prefix, "DXXX"); // four characters at most
    std::vector<std::string> names;
    for (const Tag& t : app.tags()) {
        names.push_back(t.name + "/" + t.address() + "/" + t.prefix);
    }
    EXPECT_EQ(names, (std::vector<std::string>{"Tag1/D0010/DXXX", "Tag2/D0011/DXXX", "Tag3/MW011/MWXX"}));
}

TEST(Application, CloseEmptiesTheDocument) {
    Application app(42);
    must(app.addNode(Node::createUnitNode()));
    Node* plc = must(app.addNode(plcNode(1)));
    Block* block = must(app.addBlock(*plc, std::make_unique<Block>("D0000", 4)));
    Tag* tag = must(app.addTag(*block, registerTag("D0001")));
    KeyDefinition* key = must(app.addGlobalKey(std::make_unique<KeyDefinition>(3)));
    Task t;
    t.kind = TaskKind::CopyTag;
    t.tag1 = tag;
    t.tag2 = tag;
    ASSERT_TRUE(app.appendTask(*key, 0, t));
    app.unitSettings().memoryOption = 0;
    app.close();
    EXPECT_EQ(app.nodeCount(), 0u);
    EXPECT_EQ(app.tagCount(), 0u);
    EXPECT_EQ(app.globalKeyCount(), 0u);
    EXPECT_TRUE(app.globalReadList().empty());
    EXPECT_EQ(app.totals(), MemoryTotals{});
    EXPECT_EQ(app.unitSettings().memoryOption, 1);
    EXPECT_TRUE(app.checkConsistency());
}

TEST(Application, LoadedReadListForgetsDeletedBlocks) {
    Application app(42);
    Node* plc = must(app.addNode(plcNode(1)));
    Block* block = must(app.addBlock(*plc, std::make_unique<Block>("D0000", 4)));
    (void)app.loadedReadList().enter(*block);
    (void)app.loadedReadList().enter(*block);
    ASSERT_TRUE(app.removeBlock(*block));
    EXPECT_TRUE(app.loadedReadList().empty());
    EXPECT_EQ(app.loadedReadList().sectionBytes(), 0u);
}
