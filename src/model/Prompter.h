#pragma once

#include <string>
#include <string_view>

namespace quillon {

// The three kinds of message the tool shows; each has its fixed title.
enum class PromptKind { Information, Error, Confirmation };

// Buttons offered with a message; the first listed is the default unless a prompt says otherwise.
enum class PromptButtons { Ok, OkCancel, YesNo, YesNoCancel };

enum class PromptAnswer { Ok, Cancel, Yes, No };

struct Prompt {
    PromptKind kind = PromptKind::Information;
    std::string title;
    std::string text;
    PromptButtons buttons = PromptButtons::Ok;
    PromptAnswer defaultAnswer = PromptAnswer::Ok;
};

// Every message the core has for the user goes through one Prompter: the GUI shows a message box,
// the command-line tool prints it, tests record it and answer from a script. The core never prints.
class Prompter {
public:
    static constexpr std::string_view kErrorTitle = "Quillon : Error";
    static constexpr std::string_view kInformationTitle = "Quillon : Information";
    static constexpr std::string_view kConfirmationTitle = "Quillon : Confirmation";

    Prompter() = default;
    Prompter(const Prompter&) = delete;
    Prompter& operator=(const Prompter&) = delete;
    virtual ~Prompter() = default;

    // Shows the prompt and returns the user's answer (Ok for a plain message).
    virtual PromptAnswer show(const Prompt& prompt) = 0;

    void information(std::string_view text);
    void error(std::string_view text);
    // A question titled "Quillon : Confirmation".
    PromptAnswer confirm(std::string_view text, PromptButtons buttons = PromptButtons::YesNo,
                         PromptAnswer defaultAnswer = PromptAnswer::Yes);

    static std::string_view titleOf(PromptKind kind) noexcept;
};

// A prompter that answers nothing and shows nothing: for callers that have already checked.
class SilentPrompter final : public Prompter {
public:
    PromptAnswer show(const Prompt& prompt) override { return prompt.defaultAnswer; }
};

} // namespace quillon
