#include "model/ApplicationRules.h"

#include "ModelFixture.h"
#include "model/Block.h"
#include "model/RecordingPrompter.h"
#include "model/Screen.h"
#include "model/TextObject.h"
#include "model/TouchAreaObject.h"

#include <gtest/gtest.h>

using namespace quillon;
using namespace quillon::testing_support;

namespace {

TEST(ApplicationRules, ATagRepeatingNodeAddressBitAndByteSelectorIsAlreadyDefined) {
    RecordingPrompter prompter;
    auto app = Application::create(500, prompter);
    must(app->addNode(Node::createUnitNode()));
    Node* plc = must(app->addNode(plcNode(1)));
    Node* other = must(app->addNode(plcNode(2)));
    Block* block = must(app->addBlock(*plc, std::make_unique<Block>("D0000", 20)));
    Block* otherBlock = must(app->addBlock(*other, std::make_unique<Block>("D0000", 20)));
    must(app->addTag(*block, registerTag("D0001", 1)));
    // Differs in the byte selector, the bit, the node: all allowed.
    TagValues high = registerTag("D0001", 1);
    high.byteSelect = 1;
    must(app->addTag(*block, high));
    must(app->addTag(*block, bitTag("D0002", 3)));
    must(app->addTag(*block, bitTag("D0002", 4)));
    must(app->addTag(*otherBlock, registerTag("D0001", 1)));
    EXPECT_TRUE(ApplicationRules::repeatedTags(*app).empty());
    EXPECT_TRUE(ApplicationRules::problems(*app).empty());

    // The same node, address, bit and byte selector twice: the second one is the repeat.
    Tag* again = must(app->addTag(*block, bitTag("D0002", 3)));
    ASSERT_EQ(ApplicationRules::repeatedTags(*app), std::vector<const Tag*>{again});
    EXPECT_EQ(ApplicationRules::problems(*app),
              std::vector<std::string>{"Tag D0002_03 of node 1: This tag is already defined."});
}

TEST(ApplicationRules, TouchAreasNeedATouchScreenInTheUnitSettings) {
    RecordingPrompter prompter;
    auto app = Application::create(500, prompter);
    must(app->addNode(Node::createUnitNode()));
    app->unitSettings().touchScreen = 0;
    for (std::uint32_t number : {1U, 2U, 3U}) {
        Screen* screen = must(app->addScreen(std::make_unique<Screen>(number)));
        must(screen->appendObject(std::make_unique<TextObject>()));
        if (number != 2) {
            // Two areas on one screen count that screen once.
            must(screen->appendObject(std::make_unique<TouchAreaObject>()));
            must(screen->appendObject(std::make_unique<TouchAreaObject>()));
        }
    }
    EXPECT_EQ(ApplicationRules::screensWithTouchAreas(*app), 2U);
    EXPECT_EQ(ApplicationRules::problems(*app),
              std::vector<std::string>{
                  "2 Screen(s) have Touch-screen object(s). The unit settings select no touch screen."});
    app->unitSettings().touchScreen = 1;
    EXPECT_TRUE(ApplicationRules::problems(*app).empty());
}

} // namespace
