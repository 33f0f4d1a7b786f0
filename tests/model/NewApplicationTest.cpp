#include "model/NewApplication.h"

#include "model/Application.h"
#include "model/DefaultGlobalKeys.h"
#include "model/RecordingPrompter.h"

#include <gtest/gtest.h>

using namespace quillon;

// What New creates on every model: the unit node, the default keys each with one Press task, and the
// power-on Goto Screen 1 task, with totals that a recount confirms.
TEST(NewApplication, EveryModelStartsWithUnitNodeKeysAndPowerOnTask) {
    for (const PanelModel& model : panelModels()) {
        RecordingPrompter prompter;
        auto app = newApplication(static_cast<std::uint16_t>(model.id), prompter);
        ASSERT_TRUE(app) << model.id;
        EXPECT_TRUE(prompter.empty()) << model.id;
        ASSERT_EQ(app->nodeCount(), 1u);
        EXPECT_EQ(app->nodes().front()->name, "Operator Panel");
        ASSERT_EQ(app->powerOnTaskCount(), 1u);
        EXPECT_EQ(taskText(app->applicationLists().taskList(Application::kPowerOn).at(0)),
                  "Goto Screen of number : 00001");
        const std::size_t keys = defaultGlobalKeys(static_cast<std::uint16_t>(model.id)).size();
        EXPECT_EQ(app->globalKeyCount(), keys);
        // 127 + the 14-byte unit node + the 5-byte power-on task + per key 21 bytes and a 3-byte task.
        EXPECT_EQ(app->totals().applicationSize, 127u + 14u + 5u + 24u * keys) << model.id;
        EXPECT_TRUE(app->checkConsistency().ok()) << model.id;
    }
}

TEST(NewApplication, UnknownModelStartsNothing) {
    RecordingPrompter prompter;
    EXPECT_FALSE(newApplication(11, prompter));
    EXPECT_EQ(prompter.last().title, "Quillon : Error");
}
