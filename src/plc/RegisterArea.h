#pragma once

#include "model/Result.h"

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

namespace quillon {

// Area kind field of an area line.
enum class AreaKind : std::uint8_t { Bit = 1, Register = 2 };

// One address part of an area: a fixed-width number in its radix, or a literal text.
struct AddressPart {
    std::uint8_t width = 0; // characters of the part in an address text, 1 to 9
    char radix = '\0';      // radix letter; '\0' when the field is empty
    std::string min;        // lowest value at full width; for a literal part, the literal itself
    std::string max;
    std::string min2; // second range of part 1; empty when the part has one range
    std::string max2;

    bool isLiteral() const noexcept { return radix == 'X'; }
    bool hasSecondRange() const noexcept { return !min2.empty(); }
    // The text a part holds in every address of the area when it is a literal.
    const std::string& literal() const noexcept { return min; }
    // True when the part is read as a number (a radix with a base).
    bool isNumeric() const noexcept;
};

// An address area of a PLC model (one area line of a catalog file): its name and remark, its kind,
// the prefix and parts of its addresses, the read-write type, the register size and the largest block.
class RegisterArea final {
public:
    static constexpr std::size_t kMaxPrefix = 4;
    static constexpr int kMaxParts = 3;

    // Parses a whole area line; the failure text says what is wrong with it.
    static Result<RegisterArea> parse(std::string_view line);

    const std::string& name() const noexcept { return name_; }
    const std::string& remark() const noexcept { return remark_; }
    AreaKind kind() const noexcept { return kind_; }
    bool isBitArea() const noexcept { return kind_ == AreaKind::Bit; }
    const std::string& prefix() const noexcept { return prefix_; }
    int partCount() const noexcept { return partCount_; }
    // Part 0, 1 or 2.
    const AddressPart& part(int index) const noexcept { return parts_[static_cast<std::size_t>(index)]; }
    // Read-write type character: '0' read-only, '1' write-only, '2' read-write (others are kept as read).
    char readWrite() const noexcept { return readWrite_; }
    // Register size in bytes: 1, 2, 4 or 8.
    std::uint8_t registerSize() const noexcept { return registerSize_; }
    // Largest block as the catalog gives it, and as a block may have it (a block counts at most 255).
    std::uint32_t maxBlock() const noexcept { return maxBlock_; }
    std::uint8_t blockLimit() const noexcept;

    // Characters of an address text of this area, without a bit suffix.
    std::size_t addressLength() const noexcept;
    // The part that changes from one register to the next: the last numeric part.
    int varyingPart() const noexcept;
    // Step of the varying part between consecutive registers (1 or 2; 0 when it cannot be stepped).
    int step() const noexcept;

    // Prefix and the part minima (first range), and prefix and the part maxima (second range when there is
    // one).
    std::string lowerBound() const;
    std::string upperBound() const;
    // Whether an address text (without a bit suffix) lies in the area. Parts have fixed widths, so a text
    // comparison with the bounds equals the numeric one; texts of another length never lie in the area.
    bool contains(std::string_view address) const;

    // "[%s - %s]" for one range; "[%s - %s, %s - %s]" for two, or "[%s, %s - %s]" when the first is one
    // value.
    std::string rangeLabel(int partIndex) const;

private:
    RegisterArea() = default;
    std::string boundText(bool upper, bool secondRange) const;

    std::string name_;
    std::string remark_;
    AreaKind kind_ = AreaKind::Register;
    std::string prefix_;
    int partCount_ = 1;
    std::array<AddressPart, kMaxParts> parts_{};
    char readWrite_ = '2';
    std::uint8_t registerSize_ = 2;
    std::uint32_t maxBlock_ = 1;
};

} // namespace quillon
