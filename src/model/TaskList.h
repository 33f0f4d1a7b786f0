#pragma once

#include "model/Task.h"

#include <cstdint>
#include <memory>
#include <optional>
#include <vector>

namespace quillon {

// The tasks run on one event of one owner, in the order the user put them. The byte total is what the
// list occupies in the image; the Application changes the list so that its owner and the totals follow.
class TaskList final {
public:
    TaskList() = default;
    TaskList(const TaskList&) = delete;
    TaskList& operator=(const TaskList&) = delete;
    TaskList(TaskList&&) noexcept = default;
    TaskList& operator=(TaskList&&) noexcept = default;
    ~TaskList() = default;

    std::size_t size() const noexcept { return tasks_.size(); }
    bool empty() const noexcept { return tasks_.empty(); }
    std::uint32_t bytes() const noexcept { return bytes_; }
    Task& at(std::size_t index) const { return *tasks_.at(index); }
    std::optional<std::size_t> indexOf(const Task& task) const noexcept;
    bool contains(TaskKind kind, std::optional<std::uint8_t> subKind = std::nullopt) const noexcept;
    const std::vector<std::unique_ptr<Task>>& tasks() const noexcept { return tasks_; }

private:
    friend class Application;
    // A copied touch area takes copies of the tasks before it is on any screen.
    friend class TouchAreaObject;

    std::vector<std::unique_ptr<Task>> tasks_;
    std::uint32_t bytes_ = 0;
};

} // namespace quillon
