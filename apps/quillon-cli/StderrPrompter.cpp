#include "StderrPrompter.h"

#include <ostream>

namespace quillon::cli {
namespace {

const char* nameOf(PromptAnswer answer) noexcept {
    switch (answer) {
    case PromptAnswer::Yes:
        return "Yes";
    case PromptAnswer::No:
        return "No";
    case PromptAnswer::Cancel:
        return "Cancel";
    case PromptAnswer::Ok:
        break;
    }
    return "Ok";
}

bool offers(PromptButtons buttons, PromptAnswer answer) noexcept {
    switch (buttons) {
    case PromptButtons::Ok:
        return answer == PromptAnswer::Ok;
    case PromptButtons::OkCancel:
        return answer == PromptAnswer::Ok || answer == PromptAnswer::Cancel;
    case PromptButtons::YesNo:
        return answer == PromptAnswer::Yes || answer == PromptAnswer::No;
    case PromptButtons::YesNoCancel:
        return answer != PromptAnswer::Ok;
    }
    return false;
}

} // namespace

PromptAnswer StderrPrompter::answerTo(const Prompt& prompt) const noexcept {
    PromptAnswer wanted = prompt.defaultAnswer;
    switch (policy_) {
    case AnswerPolicy::Yes:
        wanted = PromptAnswer::Yes;
        break;
    case AnswerPolicy::No:
        wanted = PromptAnswer::No;
        break;
    case AnswerPolicy::Ok:
        wanted = PromptAnswer::Ok;
        break;
    case AnswerPolicy::Cancel:
        wanted = PromptAnswer::Cancel;
        break;
    case AnswerPolicy::Default:
        break;
    }
    // An answer the box does not offer cannot be given; the box's default stands.
    return offers(prompt.buttons, wanted) ? wanted : prompt.defaultAnswer;
}

PromptAnswer StderrPrompter::show(const Prompt& prompt) {
    if (prompt.kind != PromptKind::Confirmation) {
        out_ << prompt.text << '\n';
        if (prompt.kind == PromptKind::Error) {
            lastError_ = prompt.text;
        }
        return PromptAnswer::Ok;
    }
    const PromptAnswer answer = answerTo(prompt);
    out_ << prompt.text << "\n(answered " << nameOf(answer) << ")\n";
    return answer;
}

void StderrPrompter::failure(const std::string& text) {
    if (lastError_ && *lastError_ == text) {
        return;
    }
    error(text);
}

std::optional<AnswerPolicy> StderrPrompter::parsePolicy(const std::string& text) {
    if (text == "default") {
        return AnswerPolicy::Default;
    }
    if (text == "yes") {
        return AnswerPolicy::Yes;
    }
    if (text == "no") {
        return AnswerPolicy::No;
    }
    if (text == "ok") {
        return AnswerPolicy::Ok;
    }
    if (text == "cancel") {
        return AnswerPolicy::Cancel;
    }
    return std::nullopt;
}

} // namespace quillon::cli
