#include "model/TagUsage.h"

#include "ModelFixture.h"
#include "model/Application.h"
#include "model/BargraphObject.h"
#include "model/DisplayRegisterObject.h"
#include "model/RecordingPrompter.h"
#include "model/RectangleObject.h"
#include "model/Screen.h"
#include "model/TextObject.h"
#include "model/TouchAreaObject.h"

#include <functional>
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

namespace {

// One application with the tag under test and a second tag the copy tasks take their value from.
struct UsageWorld {
    Application app{500};
    RecordingPrompter prompter;
    Tag* tag = nullptr;
    Tag* source = nullptr;
    Screen* screen = nullptr;

    UsageWorld() {
        Node* node = must(app.addNode(plcNode(1)));
        Block* block = must(app.addBlock(*node, std::make_unique<Block>("D0001", 10)));
        tag = must(app.addTag(*block, registerTag("D0001", 2, "Used")));
        source = must(app.addTag(*block, registerTag("D0002", 2, "Source")));
        auto made = std::make_unique<Screen>(4);
        made->name = "Pumps";
        screen = must(app.addScreen(std::move(made)));
    }
    void copyInto(TaskListOwner& owner, std::size_t list) {
        const Task* task =
            app.addTask(owner, list, Task{TaskKind::CopyTag, 0, 0, 0, 0, source, tag}, prompter);
        ASSERT_NE(task, nullptr) << (prompter.empty() ? "" : prompter.last().text);
    }
    template <typename Object>
    Object& put() {
        return static_cast<Object&>(*must(screen->appendObject(std::make_unique<Object>())));
    }
};

} // namespace

// Every place a tag can be used, each on its own: the one description the tag's "Used in" list shows.
TEST(TagUsage, OneDescriptionForEveryPlace) {
    struct Place {
        const char* what;
        std::function<void(UsageWorld&)> use;
        std::string described;
    };
    const std::vector<Place> places{
        {"power-on", [](UsageWorld& w) { w.copyInto(w.app.applicationLists(), Application::kPowerOn); },
         "Power-on task list"},
        {"global", [](UsageWorld& w) { w.copyInto(w.app.applicationLists(), Application::kGlobal); },
         "Global task list"},
        {"global key press",
         [](UsageWorld& w) { w.copyInto(*must(w.app.addGlobalKey(std::make_unique<KeyDefinition>(1))), 0); },
         "Global key: Press task list"},
        {"global key pressed",
         [](UsageWorld& w) { w.copyInto(*must(w.app.addGlobalKey(std::make_unique<KeyDefinition>(1))), 1); },
         "Global key: Pressed task list"},
        {"global key released",
         [](UsageWorld& w) { w.copyInto(*must(w.app.addGlobalKey(std::make_unique<KeyDefinition>(1))), 2); },
         "Global key: Released task list"},
        {"before showing", [](UsageWorld& w) { w.copyInto(*w.screen, Screen::kBeforeShowing); },
         "Screen 4 (Pumps): 'Before Showing' task list"},
        {"while showing", [](UsageWorld& w) { w.copyInto(*w.screen, Screen::kWhileShowing); },
         "Screen 4 (Pumps): 'While Showing' task list"},
        {"after hiding", [](UsageWorld& w) { w.copyInto(*w.screen, Screen::kAfterHiding); },
         "Screen 4 (Pumps): 'After Hiding' task list"},
        {"screen key press",
         [](UsageWorld& w) {
             w.copyInto(*must(w.app.addKey(*w.screen, std::make_unique<KeyDefinition>(2))), 0);
         },
         "Screen 4 (Pumps): key Press task list"},
        {"screen key pressed",
         [](UsageWorld& w) {
             w.copyInto(*must(w.app.addKey(*w.screen, std::make_unique<KeyDefinition>(2))), 1);
         },
         "Screen 4 (Pumps): key Pressed task list"},
        {"screen key released",
         [](UsageWorld& w) {
             w.copyInto(*must(w.app.addKey(*w.screen, std::make_unique<KeyDefinition>(2))), 2);
         },
         "Screen 4 (Pumps): key Released task list"},
        {"touch area", [](UsageWorld& w) { w.copyInto(w.put<TouchAreaObject>(), TouchAreaObject::kPress); },
         "Screen 4 (Pumps): Touch-screen object, task list"},
        {"object's main tag", [](UsageWorld& w) { w.put<DisplayRegisterObject>().setTag(w.tag); },
         "Screen 4 (Pumps): Display PLC Data object, main tag"},
        {"show/hide",
         [](UsageWorld& w) {
             w.put<RectangleObject>().setShowHide(RangeAnimation{w.tag, 0, 0, 5});
         },
         "Screen 4 (Pumps): Rectangle object, show/hide animation"},
        {"flash",
         [](UsageWorld& w) {
             w.put<BargraphObject>().setFlashAnimation(RangeAnimation{w.tag, 0, 0, 5, 128});
         },
         "Screen 4 (Pumps): Bargraph object, flash animation"},
        {"alarm group", [](UsageWorld& w) { ASSERT_TRUE(w.app.setGroupTag(3, w.tag).ok()); }, "Alarm groups"},
        {"logger", [](UsageWorld& w) { ASSERT_TRUE(w.app.addLoggerTag(*w.tag).ok()); }, "Logger"},
        {"clipboard",
         [](UsageWorld& w) {
             auto clip = std::make_unique<TextObject>();
             clip->setFlashAnimation(RangeAnimation{w.tag, 0, 0, 1, 128});
             must(w.app.clipboard().appendObject(std::move(clip)));
         },
         "Clipboard: Text object"},
    };
    for (const Place& p : places) {
        UsageWorld w;
        p.use(w);
        EXPECT_EQ(TagUsage::usesOf(w.app, *w.tag), std::vector<std::string>{p.described}) << p.what;
        const auto all = TagUsage::allUses(w.app);
        ASSERT_TRUE(all.contains(w.tag)) << p.what;
        EXPECT_EQ(all.at(w.tag), std::vector<std::string>{p.described}) << p.what;
    }
}
