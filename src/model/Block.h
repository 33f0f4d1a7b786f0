#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace quillon {

class Node;
class Tag;

// A range of consecutive PLC registers that the unit reads in one request. Its tags are kept in tag
// order (address text, insertion order among equal addresses), which is also their order in the image.
class Block final {
public:
    static constexpr std::size_t kMaxAddressLength = 27;
    static constexpr std::size_t kMaxTags = 255; // the block record counts its tags in one byte
    static constexpr std::size_t kMaxNameLength = 10;
    static constexpr std::size_t kMaxPrefixLength = 4;

    explicit Block(std::string address, std::uint8_t size = 1);

    // The address decides the block's place among its node's blocks, so it is fixed once created.
    const std::string& address() const noexcept { return address_; }

    std::uint32_t entryLength() const noexcept { return entryLength_; }
    std::uint8_t tagCount() const noexcept { return static_cast<std::uint8_t>(tags_.size()); }
    const std::vector<Tag*>& tags() const noexcept { return tags_; }
    // Position in the node's block list; kept current by every insertion and removal.
    std::uint32_t index() const noexcept { return index_; }
    Node* node() const noexcept { return node_; }

    // Image bytes of the block record itself (tags not included).
    std::uint32_t recordBytes() const noexcept { return static_cast<std::uint32_t>(address_.size()) + 6; }

    // "%s : %03d ( %s )" for lists; "%s : %03d" where the tag table names the block.
    std::string listLine() const;
    std::string shortLine() const;

    // Packs the first eight bytes of an address (zero-padded) so that integer order is byte order.
    static std::uint64_t addressKey(std::string_view address) noexcept;
    // "\t%s\t%03d\t%s\t%d" for the blocks table.
    std::string tableLine() const;

    std::uint8_t size = 1; // registers, 1..255
    std::uint8_t attribute = 0;
    std::string name;   // up to 10 characters
    std::string prefix; // up to 4 characters

private:
    friend class Application;

    std::string address_;
    std::uint32_t entryLength_ = 0;
    std::uint32_t index_ = 0;
    Node* node_ = nullptr;
    std::vector<Tag*> tags_;
    // The first eight address bytes of each tag, big-endian: a search for a new tag's place compares
    // these and visits a tag only when they are equal.
    std::vector<std::uint64_t> addressKeys_;
};

} // namespace quillon
