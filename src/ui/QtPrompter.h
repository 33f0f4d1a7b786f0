#pragma once

#include "model/Prompter.h"

#include <functional>

class QFont;
class QString;
class QWidget;

namespace quillon::gui {

// Shows the core's messages as message boxes with the exact titles, texts, buttons and default button.
// Around every box the shell's busy bracket runs, so nothing else takes input while it is up.
class QtPrompter final : public Prompter {
public:
    using BusyBracket = std::function<void(bool busy)>;

    explicit QtPrompter(QWidget* owner = nullptr) : owner_(owner) {}

    void setOwner(QWidget* owner) noexcept { owner_ = owner; }
    void setBusyBracket(BusyBracket bracket) { busy_ = std::move(bracket); }

    PromptAnswer show(const Prompt& prompt) override;

    // The width a window needs to show `title` whole in its caption, with the frame's icon and buttons.
    static int titleWidth(const QString& title, const QFont& font);

private:
    QWidget* owner_ = nullptr;
    BusyBracket busy_;
};

} // namespace quillon::gui
