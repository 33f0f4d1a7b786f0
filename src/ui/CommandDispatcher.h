#pragma once

#include "ui/CommandId.h"
#include "ui/DispatchGate.h"

#include <cstdint>
#include <functional>
#include <map>

namespace quillon::gui {

// When a registered command may run.
enum class EnableRule {
    Always,          // with or without an application
    WithApplication, // only while an application is open
    Never,           // listed, but it has no behaviour of its own
};

// How a dispatched command ended.
enum class DispatchResult {
    Ran,          // the handler ran and the state rule was applied
    Refused,      // the memory check failed; nothing else happened
    NotAvailable, // no handler, or its enable rule says no
};

// The one entry every menu entry, tool-station button, accelerator and right-click entry goes through.
// A feature plugs in by registering the handler of its command id with its enable rule; ids without a
// handler stay disabled wherever they are shown.
class CommandDispatcher final {
public:
    using Handler = std::function<void()>;
    // Extra condition of a feature (a capability of the build, a property of the application).
    using Condition = std::function<bool()>;

    explicit CommandDispatcher(DispatchGate& lifecycle) : lifecycle_(lifecycle) {}

    void registerCommand(CommandId id, EnableRule rule, Handler handler, Condition condition = {});
    void registerCommand(std::uint16_t id, EnableRule rule, Handler handler, Condition condition = {});
    void unregisterCommand(std::uint16_t id);

    bool hasHandler(std::uint16_t id) const { return handlers_.contains(id); }
    bool isEnabled(std::uint16_t id) const;
    bool isEnabled(CommandId id) const { return isEnabled(toId(id)); }

    DispatchResult dispatch(std::uint16_t id);
    DispatchResult dispatch(CommandId id) { return dispatch(toId(id)); }

    // Runs before every command (the shown tool tip closes) and after every command that ran
    // (the focus goes back to the main window or the screen session).
    void setAround(std::function<void()> before, std::function<void(std::uint16_t id)> after) {
        before_ = std::move(before);
        after_ = std::move(after);
    }

private:
    struct Entry {
        EnableRule rule = EnableRule::Always;
        Handler handler;
        Condition condition;
    };

    DispatchGate& lifecycle_;
    std::map<std::uint16_t, Entry> handlers_;
    std::function<void()> before_;
    std::function<void(std::uint16_t)> after_;
};

} // namespace quillon::gui
