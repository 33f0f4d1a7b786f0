#pragma once

#include "model/Prompter.h"

#include <deque>
#include <vector>

namespace quillon {

// Records every prompt and answers from a script (then with each prompt's default answer).
// Used by the tests of every subsystem and by headless runs that collect messages.
class RecordingPrompter final : public Prompter {
public:
    PromptAnswer show(const Prompt& prompt) override;

    // Queues answers for the next confirmations, in order.
    void script(std::initializer_list<PromptAnswer> answers);

    const std::vector<Prompt>& prompts() const noexcept { return prompts_; }
    bool empty() const noexcept { return prompts_.empty(); }
    const Prompt& last() const;
    // The texts shown, in order.
    std::vector<std::string> texts() const;
    void clear() noexcept;

private:
    std::vector<Prompt> prompts_;
    std::deque<PromptAnswer> answers_;
};

} // namespace quillon
