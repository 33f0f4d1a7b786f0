#pragma once

#include "model/Prompter.h"

#include <iosfwd>
#include <optional>
#include <string>

namespace quillon::cli {

// How a headless run answers the questions the core asks: with each question's own default, or with the
// answer given on the command line.
enum class AnswerPolicy { Default, Yes, No, Ok, Cancel };

// Prints every message of the core on the error stream, exactly as the core words it, and answers
// confirmations by the policy. A script that runs the tool sees the same texts a user sees in the boxes.
class StderrPrompter final : public Prompter {
public:
    explicit StderrPrompter(std::ostream& out, AnswerPolicy policy = AnswerPolicy::Default)
        : out_(out), policy_(policy) {}

    PromptAnswer show(const Prompt& prompt) override;

    void setPolicy(AnswerPolicy policy) noexcept { policy_ = policy; }
    // The text of the last error shown, so that a command does not repeat a failure the core reported.
    const std::optional<std::string>& lastError() const noexcept { return lastError_; }
    // Shows an error unless it is the one the core has just shown.
    void failure(const std::string& text);

    // "default", "yes", "no", "ok" or "cancel".
    static std::optional<AnswerPolicy> parsePolicy(const std::string& text);

private:
    PromptAnswer answerTo(const Prompt& prompt) const noexcept;

    std::ostream& out_;
    AnswerPolicy policy_;
    std::optional<std::string> lastError_;
};

} // namespace quillon::cli
