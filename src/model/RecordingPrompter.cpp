#include "model/RecordingPrompter.h"

#include <stdexcept>

namespace quillon {

PromptAnswer RecordingPrompter::show(const Prompt& prompt) {
    prompts_.push_back(prompt);
    if (prompt.buttons == PromptButtons::Ok) {
        return PromptAnswer::Ok;
    }
    if (answers_.empty()) {
        return prompt.defaultAnswer;
    }
    const PromptAnswer answer = answers_.front();
    answers_.pop_front();
    return answer;
}

void RecordingPrompter::script(std::initializer_list<PromptAnswer> answers) {
    answers_.insert(answers_.end(), answers.begin(), answers.end());
}

const Prompt& RecordingPrompter::last() const {
    if (prompts_.empty()) {
        throw std::logic_error("no prompt was shown");
    }
    return prompts_.back();
}

std::vector<std::string> RecordingPrompter::texts() const {
    std::vector<std::string> out;
    out.reserve(prompts_.size());
    for (const auto& p : prompts_) {
        out.push_back(p.text);
    }
    return out;
}

void RecordingPrompter::clear() noexcept {
    prompts_.clear();
    answers_.clear();
}

} // namespace quillon
