#pragma once

#include "model/Result.h"

#include <array>
#include <cstdint>
#include <functional>
#include <span>
#include <string>
#include <vector>

namespace quillon {

class Block;
class Tag;

enum class TaskKind : std::uint8_t {
    GotoScreen = 1, // sub-kind 0 number, 1 next, 2 previous
    WriteValue = 2, // constant to tag1
    Add = 3,        // sub-kind 0 constant, 1 tag2
    Subtract = 4,   // sub-kind 0 constant, 1 tag2
    Bit = 5,        // sub-kinds below
    CopyTag = 6,    // tag2 to tag1
    SwapTags = 7,
    PrintData = 8,
    ClockIncrement = 9, // sub-kind 0 year .. 6 day of week
    CopyToDisplay = 10, // sub-kind 0 STR, 1 LED
    OpenCollector = 11, // sub-kind 0 on, 1 off
    Delay = 12,         // parameter 0 ms, 1 s, 2 min
    Wait = 13,
    KeyFunction = 14, // sub-kind 0..37
    DataEntryMode = 15,
    PlcToRecipe = 16,
    RecipeToPlc = 17,
    CopyRtcToTag = 18,
};

inline constexpr std::uint8_t kFirstTaskKind = 1;
inline constexpr std::uint8_t kLastTaskKind = 18;

// Sub-kinds of the bit task.
namespace bit_task {
inline constexpr std::uint8_t kOn = 0;
inline constexpr std::uint8_t kOff = 1;
inline constexpr std::uint8_t kHoldOn = 2;
inline constexpr std::uint8_t kHoldOff = 3;
inline constexpr std::uint8_t kToggle = 4;
// Generated from hold tasks before every save and download; they have no text of their own.
inline constexpr std::uint8_t kGeneratedOn = 11;
inline constexpr std::uint8_t kGeneratedOff = 12;
} // namespace bit_task

// Formats of a constant operand; for Wait the same byte says whether the operand is a second tag.
namespace value_format {
inline constexpr std::uint8_t kUnsigned = 0;
inline constexpr std::uint8_t kSigned = 1;
inline constexpr std::uint8_t kHexadecimal = 2;
inline constexpr std::uint8_t kBcd = 3;
inline constexpr std::uint8_t kBinary = 4;
inline constexpr std::uint8_t kWaitConstant = 0;
inline constexpr std::uint8_t kWaitTag = 1;
} // namespace value_format

inline constexpr std::uint8_t kLastKeyFunction = 37;

// One action of a task list. Tags are held by reference; the operands that a kind does not use are
// zero (normalizeTask clears them).
struct Task {
    TaskKind kind = TaskKind::GotoScreen;
    std::uint8_t subKind = 0;
    std::uint8_t parameter = 0; // delay unit or wait condition
    std::int32_t value = 0;     // screen number, constant, amount or count
    std::uint8_t valueFormat = 0;
    Tag* tag1 = nullptr;
    Tag* tag2 = nullptr;

    // The length byte of the encoded record (bytes after the length byte).
    std::uint8_t length() const noexcept;
    // Bytes the task occupies in its list: the length byte and the bytes it counts.
    std::uint32_t imageBytes() const noexcept { return length() + 1U; }
    bool refersTo(const Tag& tag) const noexcept { return tag1 == &tag || tag2 == &tag; }

    friend bool operator==(const Task&, const Task&) = default;
};

// Length byte of a task; 0 for a kind or sub-kind that does not exist. A Wait task's layout depends on
// whether tag1 is a bit and whether it compares with a second tag.
std::uint8_t taskLength(TaskKind kind, std::uint8_t subKind, const Tag* tag1,
                        std::uint8_t valueFormat) noexcept;

// Whether the operands make a task that can be stored: kind and sub-kind exist, the tags the kind needs
// are present, and every number fits its field.
Status validateTask(const Task& task);
// The same task with the operands its kind does not carry cleared.
Task normalizeTask(const Task& task) noexcept;

// The text task lists show; generated bit tasks have none.
std::string taskText(const Task& task);
// A constant as task texts show it in its value format ("%u", "%d", "%XH", "%XD", binary digits + "B").
std::string valueText(std::int32_t value, std::uint8_t valueFormat);

// Blocks that the unit must read to perform the task (at most two, possibly the same block twice).
struct TaskReads {
    std::array<Block*, 2> blocks{};
    std::size_t count = 0;
};
TaskReads taskReads(const Task& task) noexcept;

// Appends the record (length byte, kind, sub-kind, operands; little-endian). Tags are named by node
// number, block index and index in block as they stand now.
void encodeTask(const Task& task, std::vector<std::uint8_t>& out);

// Finds the tag a TagRef names: node number, block index, index in block.
using TagLookup = std::function<Tag*(std::uint8_t node, std::uint16_t block, std::uint8_t index)>;

struct DecodedTask {
    Task task;
    std::size_t consumed = 0; // bytes taken from the input, length byte included
};

inline constexpr int kErrorTaskList = 1034;
inline constexpr int kErrorTaskTag = 1035;

// Reads one record from the start of bytes. Fails with 1035 when a TagRef names no tag and with 1034
// when the record is cut short, names no known kind, or its length byte differs from the length that
// kind, sub-kind and tags give.
Result<DecodedTask> decodeTask(std::span<const std::uint8_t> bytes, const TagLookup& lookup);

} // namespace quillon
