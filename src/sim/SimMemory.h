#pragma once

#include "plc/RegisterArea.h"

#include <array>
#include <cstdint>
#include <functional>
#include <span>
#include <string>
#include <unordered_map>
#include <vector>

namespace quillon {

class Node;
class NodeBackend;
class Tag;

// The simulated memory of every node of an application: the unit's own areas and each PLC's areas, one
// cell per register (or per coil of a bit area) as the catalog describes it. Tags are placed by their
// address in their node's areas, so two tags that name the same register share it: a 1-byte tag sees the
// low or high byte its byte selector names, a 2-byte tag in a 4-byte register its word, a 4-byte tag in a
// 2-byte area the register and the next one (the first register holds the low word), a bit tag one bit of
// its register. A tag whose address lies in no area of its node's catalog gets storage of its own.
//
// A node may have a backend of its own (a real device): then every write of one of its tags in an area is
// sent to the device as well, and the memory keeps the old value when the device does not take it; a
// write of part of a register (a byte, a word or a bit) fetches the register from the device first.
class SimMemory final {
public:
    // The areas of a node's model (empty when its catalog cannot be read).
    using AreaSource = std::function<std::vector<RegisterArea>(const Node& node)>;

    explicit SimMemory(AreaSource areas);

    // The tag's value: 0 or 1 for coils and bits, the unsigned value of the tag's bytes for registers.
    std::uint64_t read(const Tag& tag);
    // Writes the value cut to the tag's width (a bit takes 1 for any value but 0).
    void write(const Tag& tag, std::uint64_t value);
    // Writes the value into the index-th slot of the tag's size from the tag on (0 is the tag itself), in
    // the registers that follow it in its area. False, writing nothing, where the area cannot be stepped
    // or the tag is a bit.
    bool writeFollowing(const Tag& tag, std::size_t index, std::uint64_t value);
    // The value read as a signed number of the tag's width.
    std::int64_t readSigned(const Tag& tag);

    // Bits a tag's value has: 1 for coils and bits, 8 x bytes for registers (1, 2, 4 or 8 bytes).
    static std::uint32_t widthBits(const Tag& tag) noexcept;
    // The value cut to the tag's width.
    static std::uint64_t mask(const Tag& tag, std::uint64_t value) noexcept;
    // Whether the tag found its place in an area of its node's catalog.
    bool inCatalogArea(const Tag& tag);
    // Registers and coils held so far.
    std::size_t cellCount() const noexcept { return cells_.size(); }

    // The areas of a node's model, as the area source gave them.
    const std::vector<RegisterArea>& areas(const Node& node) { return areasOf(node); }
    // The backend of a node's memory; nullptr (the default) keeps it simulated. The backend must outlive
    // its attachment.
    void attach(std::uint8_t nodeNumber, NodeBackend* backend) noexcept { backends_[nodeNumber] = backend; }
    NodeBackend* backendOf(std::uint8_t nodeNumber) const noexcept { return backends_[nodeNumber]; }
    // The register (or coil) of an area whose addresses have one part, by the number of its address part
    // (divided by the area's step): what a backend reads into memory and sends from it.
    std::uint64_t cellValue(const Node& node, std::size_t area, std::uint64_t ordinal);
    void storeCell(const Node& node, std::size_t area, std::uint64_t ordinal, std::uint64_t value);
    // Where a tag's value lies: its area, its first register's number and the registers it spans.
    struct Location {
        bool inArea = false;
        std::size_t area = 0;
        std::uint64_t ordinal = 0;
        std::uint8_t count = 1;
        bool partial = false; // a byte, word or bit of its register
    };
    Location locate(const Tag& tag);
    // Reads the tag's registers from its node's backend into memory; true when the node is simulated or
    // the device answered.
    bool fetch(const Tag& tag);

private:
    struct Place {
        std::array<std::uint32_t, 8> cells{}; // consecutive registers, lowest part first
        std::uint8_t cellCount = 1;
        std::uint8_t cellBytes = 2; // register size of the area
        std::uint8_t shift = 0;     // bits below the tag's part of the register
        std::uint8_t bit = 0;
        bool isBit = false;
        bool inArea = false;
        bool steppable = false; // registers of a numbered area: slots after the tag can be found
        std::uint64_t ordinal = 0;
        std::size_t area = 0;
        bool partial = false;
        bool keyed = false; // an area of one address part: its cells are found by the ordinal alone
        std::string fixedKey;
    };
    struct Cell {
        std::uint64_t value = 0;
        std::uint64_t mask = 0xFFFF;
    };

    const Place& place(const Tag& tag);
    Place resolve(const Tag& tag);
    const std::vector<RegisterArea>& areasOf(const Node& node);
    std::uint32_t cell(const std::string& key, std::uint8_t bytes);
    NodeBackend* liveBackend(const Tag& tag);
    bool sendPlace(const Tag& tag, const Place& p);
    void store(const Tag& tag, const Place& p, std::uint64_t value);
    static std::string cellKey(const Node& node, std::size_t area, std::uint64_t ordinal);

    AreaSource source_;
    std::unordered_map<const Node*, std::vector<RegisterArea>> areas_;
    std::unordered_map<const Tag*, Place> places_;
    std::unordered_map<std::string, std::uint32_t> cellIndex_;
    std::vector<Cell> cells_;
    std::array<NodeBackend*, 256> backends_{};
};

} // namespace quillon
