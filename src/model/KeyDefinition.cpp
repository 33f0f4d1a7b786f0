#include "model/KeyDefinition.h"

#include "model/ReadList.h"

namespace quillon {

TaskListKind KeyDefinition::taskListKind(std::size_t index) const noexcept {
    const bool screen = host_ != nullptr && host_->hostsScreenKeys();
    switch (index) {
    case kPress:
        return screen ? TaskListKind::ScreenKeyPress : TaskListKind::GlobalKeyPress;
    case kPressed:
        return screen ? TaskListKind::ScreenKeyPressed : TaskListKind::GlobalKeyPressed;
    default:
        return screen ? TaskListKind::ScreenKeyReleased : TaskListKind::GlobalKeyReleased;
    }
}

ReadListHolder* KeyDefinition::readListHolder(Application& /*app*/, std::size_t /*index*/) noexcept {
    return host_ != nullptr ? &host_->keyReadListHolder() : nullptr;
}

void KeyDefinition::chargeTaskBytes(std::size_t /*index*/, MemoryTotals& totals,
                                    std::int32_t delta) noexcept {
    addBytes(entryLength_, delta);
    if (host_ != nullptr) {
        host_->chargeKeyBytes(totals, delta);
    }
}

} // namespace quillon
