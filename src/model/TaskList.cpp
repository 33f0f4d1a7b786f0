#include "model/TaskList.h"

#include <algorithm>

namespace quillon {

std::optional<std::size_t> TaskList::indexOf(const Task& task) const noexcept {
    for (std::size_t i = 0; i < tasks_.size(); ++i) {
        if (tasks_[i].get() == &task) {
            return i;
        }
    }
    return std::nullopt;
}

bool TaskList::contains(TaskKind kind, std::optional<std::uint8_t> subKind) const noexcept {
    return std::any_of(tasks_.begin(), tasks_.end(), [&](const std::unique_ptr<Task>& t) {
        return t->kind == kind && (!subKind || t->subKind == *subKind);
    });
}

} // namespace quillon
