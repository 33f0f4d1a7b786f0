#include "model/Prompter.h"

namespace quillon {

std::string_view Prompter::titleOf(PromptKind kind) noexcept {
    switch (kind) {
    case PromptKind::Error:
        return kErrorTitle;
    case PromptKind::Confirmation:
        return kConfirmationTitle;
    case PromptKind::Information:
        break;
    }
    return kInformationTitle;
}

void Prompter::information(std::string_view text) {
    show(Prompt{PromptKind::Information, std::string(kInformationTitle), std::string(text), PromptButtons::Ok,
                PromptAnswer::Ok});
}

void Prompter::error(std::string_view text) {
    show(Prompt{PromptKind::Error, std::string(kErrorTitle), std::string(text), PromptButtons::Ok,
                PromptAnswer::Ok});
}

PromptAnswer Prompter::confirm(std::string_view text, PromptButtons buttons, PromptAnswer defaultAnswer) {
    return show(Prompt{PromptKind::Confirmation, std::string(kConfirmationTitle), std::string(text), buttons,
                       defaultAnswer});
}

} // namespace quillon
