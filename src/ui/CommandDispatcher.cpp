#include "ui/CommandDispatcher.h"

#include "ui/ShellState.h"

namespace quillon::gui {

void CommandDispatcher::registerCommand(CommandId id, EnableRule rule, Handler handler, Condition condition) {
    registerCommand(toId(id), rule, std::move(handler), std::move(condition));
}

void CommandDispatcher::registerCommand(std::uint16_t id, EnableRule rule, Handler handler,
                                        Condition condition) {
    handlers_[id] = Entry{rule, std::move(handler), std::move(condition)};
}

void CommandDispatcher::unregisterCommand(std::uint16_t id) {
    handlers_.erase(id);
}

bool CommandDispatcher::isEnabled(std::uint16_t id) const {
    const auto it = handlers_.find(id);
    if (it == handlers_.end() || !it->second.handler) {
        return false;
    }
    const Entry& entry = it->second;
    switch (entry.rule) {
    case EnableRule::Never:
        return false;
    case EnableRule::WithApplication:
        if (!lifecycle_.isOpen()) {
            return false;
        }
        break;
    case EnableRule::Always:
        break;
    }
    return !entry.condition || entry.condition();
}

DispatchResult CommandDispatcher::dispatch(std::uint16_t id) {
    if (!isEnabled(id)) {
        return DispatchResult::NotAvailable;
    }
    // The editors that make the application grow first check that it still fits the unit.
    if (needsMemoryCheck(id) && lifecycle_.isOpen() && !lifecycle_.memoryCheck()) {
        return DispatchResult::Refused;
    }
    if (before_) {
        before_();
    }
    // The handler may replace itself (a feature unregistering on close), so run a copy.
    const Handler handler = handlers_.at(id).handler;
    handler();
    if (after_) {
        after_(id);
    }
    lifecycle_.commandRan(id);
    return DispatchResult::Ran;
}

} // namespace quillon::gui
