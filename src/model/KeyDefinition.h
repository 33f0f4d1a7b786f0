#pragma once

#include "model/KeyLegend.h"
#include "model/TaskListOwner.h"

#include <array>
#include <cstdint>
#include <optional>

namespace quillon {

class ReadListHolder;

// The owner of a key list: the Application for global keys, a screen for screen keys. It says which
// list kinds its keys have, where their reads go, and which counters contain its keys' entries.
class KeyHost {
public:
    KeyHost() = default;
    KeyHost(const KeyHost&) = delete;
    KeyHost& operator=(const KeyHost&) = delete;
    virtual ~KeyHost() = default;

    virtual bool hostsScreenKeys() const noexcept = 0;
    virtual ReadListHolder& keyReadListHolder() noexcept = 0;
    // Adds a change of a key's entry to the counters that contain it (not applicationSize).
    virtual void chargeKeyBytes(MemoryTotals& totals, std::int32_t delta) noexcept = 0;
};

// A key (or a two-key combination) with its Press, Pressed and Released task lists.
class KeyDefinition final : public TaskListOwner {
public:
    static constexpr std::size_t kPress = 0;
    static constexpr std::size_t kPressed = 1;
    static constexpr std::size_t kReleased = 2;
    static constexpr std::uint32_t kEmptyEntryLength = 17;
    static constexpr std::uint32_t kEntryBytes = 21; // entry of a key without tasks
    static constexpr std::uint16_t kMaxPassword = 9999;

    explicit KeyDefinition(std::uint16_t keyCode = 0) : code(keyCode) {}

    // Key number, plus 256 times a second key number for a two-key combination.
    std::uint16_t code;
    std::uint8_t interrupt = 0; // 1: pressing the key clears the key queue and interrupts the previous key
    std::uint16_t password = 0;
    std::optional<KeyLegend> legend; // global keys only

    std::uint32_t entryLength() const noexcept { return entryLength_; }
    std::uint8_t firstKey() const noexcept { return static_cast<std::uint8_t>(code & 0xFFU); }
    std::uint8_t secondKey() const noexcept { return static_cast<std::uint8_t>(code >> 8); }
    KeyHost* host() const noexcept { return host_; }

    std::size_t taskListCount() const noexcept override { return 3; }
    const TaskList& taskList(std::size_t index) const override { return lists_.at(index); }
    TaskListKind taskListKind(std::size_t index) const noexcept override;
    bool attached() const noexcept override { return host_ != nullptr; }

protected:
    TaskList& mutableTaskList(std::size_t index) override { return lists_.at(index); }
    ReadListHolder* readListHolder(Application& app, std::size_t index) noexcept override;
    void chargeTaskBytes(std::size_t index, MemoryTotals& totals, std::int32_t delta) noexcept override;

private:
    friend class Application;

    std::array<TaskList, 3> lists_;
    std::uint32_t entryLength_ = kEmptyEntryLength;
    KeyHost* host_ = nullptr;
};

// The Press (0), Pressed (1) and Released (2) lists of a key.
inline const TaskList& keyTasks(const KeyDefinition& key, std::size_t index) { return key.taskList(index); }

} // namespace quillon
