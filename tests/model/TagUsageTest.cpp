#include "model/TagUsage.h"

#include "ModelFixture.h"
#include "model/Application.h"

#include <gtest/gtest.h>

using namespace quillon;
using namespace quillon::testing_support;

TEST(TagUsage, NamesEveryUseAndFindsTheUnused) {
    Application app(500);
    Node* node = must(app.addNode(plcNode(1)));
    Block* block = must(app.addBlock(*node, std::make_unique<Block>("D0001", 10)));
    Tag* logged = must(app.addTag(*block, registerTag("D0001", 2, "Logged")));
    Tag* alarm = must(app.addTag(*block, registerTag("D0002", 2, "Alarm")));
    Tag* idle = must(app.addTag(*block, registerTag("D0003", 2, "Idle")));
    ASSERT_TRUE(app.addLoggerTag(*logged));
    ASSERT_TRUE(app.setGroupTag(0, alarm));
    app.renumber();

    EXPECT_EQ(TagUsage::usesOf(app, *logged), std::vector<std::string>{"Logger"});
    EXPECT_EQ(TagUsage::usesOf(app, *alarm), std::vector<std::string>{"Alarm groups"});
    EXPECT_TRUE(TagUsage::usesOf(app, *idle).empty());
    EXPECT_EQ(TagUsage::unused(app), std::vector<const Tag*>{idle});
    const auto all = TagUsage::allUses(app);
    EXPECT_EQ(all.size(), 2u);

    TagUse use;
    use.place = TagPlace::WhileShowing;
    Screen screen(3);
    screen.name = "Pumps";
    use.screen = &screen;
    EXPECT_EQ(TagUsage::describe(use), "Screen 3 (Pumps): 'While Showing' task list");
}
