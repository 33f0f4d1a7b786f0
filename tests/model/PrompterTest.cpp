#include "model/RecordingPrompter.h"

#include <gtest/gtest.h>

using namespace quillon;

TEST(Prompter, TitlesAndScriptedAnswers) {
    RecordingPrompter p;
    p.information("a");
    p.error("b");
    p.script({PromptAnswer::No});
    EXPECT_EQ(p.confirm("c?", PromptButtons::YesNoCancel), PromptAnswer::No);
    // Without a script a confirmation takes its default answer.
    EXPECT_EQ(p.confirm("d?", PromptButtons::YesNo, PromptAnswer::Yes), PromptAnswer::Yes);
    ASSERT_EQ(p.prompts().size(), 4u);
    EXPECT_EQ(p.prompts()[0].title, "Quillon : Information");
    EXPECT_EQ(p.prompts()[1].title, "Quillon : Error");
    EXPECT_EQ(p.prompts()[2].title, "Quillon : Confirmation");
    EXPECT_EQ(p.texts(), (std::vector<std::string>{"a", "b", "c?", "d?"}));
}
