#pragma once

#include "plc/RegisterArea.h"

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace quillon {

// Addresses of consecutive registers: the varying part (the last numeric part) advances by its step
// while the other parts stay. Blocks, positions inside blocks, address ranges and the sixteen
// consecutive tags of the alarm editor are all built from it. A block counts registers, so a block of
// size n over a step-2 part spans n registers, (n - 1) x 2 apart in the part's value.
class ConsecutiveAddresses final {
public:
    static constexpr std::string_view kSixteenImpossible =
        "It is impossible to define 16 consecutive tags from the First-Tag.\nChange the First-Tag.";
    static constexpr std::string_view kSixteenNotDefined =
        "There are no 16 consecutive defined tags from the First-Tag.";

    // The addresses of the registers after start whose varying part is start + step, start + 2 x step,
    // ..., up to start + span; nothing when start is not an address of the area or when they would run
    // past the end of the range that holds start.
    static std::optional<std::vector<std::string>> after(const RegisterArea& area, std::string_view start,
                                                         std::uint32_t span);

    // The address of the last register of a block of size registers (1 or more) from start.
    static std::optional<std::string> blockEnd(const RegisterArea& area, std::string_view start,
                                               std::uint32_t size);
    // The 0-based position of an address inside the block, or nothing when the block does not hold it.
    static std::optional<std::uint32_t> positionInBlock(const RegisterArea& area, std::string_view start,
                                                        std::uint32_t size, std::string_view address);
    // The first and last values of the varying part of the block, in its radix and width.
    static std::optional<std::pair<std::string, std::string>>
    blockRange(const RegisterArea& area, std::string_view start, std::uint32_t size);
    // The registers from start to the end of the range that holds it (start included), and the largest
    // block from start: that count bounded by the area's largest block.
    static std::uint32_t registersLeft(const RegisterArea& area, std::string_view start);
    static std::uint32_t maxBlockSize(const RegisterArea& area, std::string_view start);

    enum class SixteenOutcome : std::uint8_t { Defined, Impossible, NotAllDefined };
    struct Sixteen {
        SixteenOutcome outcome = SixteenOutcome::Impossible;
        std::vector<std::string> addresses; // the first address and the fifteen after it, when Defined
    };
    // The sixteen consecutive tags from a first tag's address (without its bit suffix); isDefined tells
    // whether the node has a tag at an address with the first tag's bit number and byte selector.
    static Sixteen sixteenFrom(const RegisterArea& area, std::string_view first,
                               const std::function<bool(const std::string&)>& isDefined);
};

} // namespace quillon
