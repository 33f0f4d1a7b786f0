#pragma once

#include "model/Result.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace quillon {

class Block;
class Node;

// The three tag types as the image stores them.
namespace tag_type {
inline constexpr char kCoil = '1';
inline constexpr char kRegister = '2';
inline constexpr char kRegisterBit = '3';
} // namespace tag_type

// What the tag editor (or the file reader) gives for a new tag.
struct TagValues {
    std::string address; // up to 29 characters
    char type = tag_type::kRegister;
    char readWrite = '0';
    std::uint8_t bit = 0;  // kept only for register bits
    std::uint8_t size = 2; // kept only for registers: 1, 2, 4 or 8
    std::uint8_t byteSelect = 0;
    std::uint8_t attribute = 0;
    std::string name;
};

// One data item of a PLC: a coil, a register of 1 to 8 bytes or one bit of a register.
class Tag final {
public:
    static constexpr std::size_t kMaxAddressLength = 29;
    static constexpr std::size_t kMaxNameLength = 40; // characters of UTF-8 text (bytes of other text)
    static constexpr std::size_t kMaxNameBytes = 4 * kMaxNameLength;

    explicit Tag(const TagValues& values);

    // The address and the owning node decide the tag's place in the tag list; they are fixed once
    // created, and the tag editor replaces a tag whose address changes.
    const std::string& address() const noexcept { return address_; }
    char type() const noexcept { return type_; }
    bool isBit() const noexcept { return type_ == tag_type::kCoil || type_ == tag_type::kRegisterBit; }

    // Length byte of the record: 6 + address length. The record itself is one byte longer.
    std::uint8_t recordLength() const noexcept { return static_cast<std::uint8_t>(6 + address_.size()); }
    std::uint32_t imageBytes() const noexcept { return static_cast<std::uint32_t>(address_.size()) + 7; }

    Node* node() const noexcept { return node_; }
    Block* block() const noexcept { return block_; }
    std::uint8_t nodeNumber() const noexcept { return nodeNumber_; }
    std::uint32_t blockIndex() const noexcept;
    // Position among the tags of its block in tag order. Found on demand: keeping it in every tag would
    // touch up to 255 other tags at each insertion, which dominates adding tags to a large application.
    std::uint8_t indexInBlock() const noexcept;
    // 1-based position in the application's tag list as of the last Application::renumber().
    std::uint32_t sequence() const noexcept { return sequence_; }

    // The "_nn" bit suffix that ends an address text (one or two digits after the last underscore);
    // nothing when the text has none.
    static std::optional<std::uint8_t> bitSuffix(std::string_view address) noexcept;
    // The address a register bit is stored with: the editors hold the register's address and the bit
    // apart ("UW002", bit 3). A text spelled with the suffix ("UW002_03") is taken when the suffix is the
    // bit and refused when it names another bit.
    static Result<std::string> storedBitAddress(std::string_view address, std::uint8_t bit);
    // The address without a suffix that repeats the tag's own bit (files written elsewhere may hold
    // "R0006_02" for bit 2 of R0006); for other tags, and other suffixes, the address as held.
    std::string_view plainAddress() const noexcept;
    // Address as task texts show it: for a register bit "_" and the bit in two digits, written once
    // whichever of the two spellings the tag holds.
    std::string displayAddress() const;
    // Pick-list line: the address as above and the name in brackets.
    std::string pickLine() const;
    // Line of the tag table; fails with "Wrong Tag-type." for a type none of the three.
    Result<std::string> tableLine() const;

    std::uint8_t bit = 0;
    std::uint8_t size = 0;
    std::uint8_t byteSelect = 0;
    std::uint8_t attribute = 0;
    char readWrite = '0';
    std::string name;   // up to 40 characters (Utf8Text::characters); required before saving
    std::string prefix; // the block's address prefix

private:
    friend class Application;

    std::string address_;
    char type_;
    Node* node_ = nullptr;
    Block* block_ = nullptr;
    std::uint8_t nodeNumber_ = 0;
    std::uint32_t sequence_ = 0;
};

} // namespace quillon
