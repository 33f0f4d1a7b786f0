#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace quillon {

class Block;

enum class NodeKind : std::uint8_t {
    Unit = 0,           // the operator unit itself
    Plc = 1,            // a PLC
    PlcWithSpecial = 2, // a PLC with special PLC-data bytes
};

// One station of the network: the unit itself or a PLC, with the blocks the unit reads from it.
// Blocks are kept in ascending address text; the Application inserts and removes them so that the
// entry lengths and the memory totals stay exact.
class Node final {
public:
    static constexpr std::uint32_t kRecordBytes = 14;      // node record in the image
    static constexpr std::uint32_t kEmptyEntryLength = 10; // entry length of a node without blocks
    static constexpr std::size_t kMaxModelNames = 25;
    static constexpr std::size_t kMaxBlocks = 65535; // the record counts blocks in 16 bits
    static constexpr std::string_view kUnitName = "Operator Panel";
    static constexpr std::string_view kUnitCatalogFile = "..\\plc\\0000_001.PLC";

    Node(NodeKind kind, std::uint8_t number);

    // The unit's own node as every new application starts with it.
    static std::unique_ptr<Node> createUnitNode();

    NodeKind kind() const noexcept { return kind_; }
    std::uint8_t number() const noexcept { return number_; }
    // Kind and number decide the node's place in the network; they can change only while the node is
    // outside an application (the network editor takes a node out, changes it and puts it back).
    bool setKind(NodeKind kind) noexcept;
    bool setNumber(std::uint8_t number) noexcept;
    bool inApplication() const noexcept { return inApplication_; }

    std::uint32_t entryLength() const noexcept { return entryLength_; }
    std::size_t blockCount() const noexcept { return blocks_.size(); }
    const std::vector<std::unique_ptr<Block>>& blocks() const noexcept { return blocks_; }
    Block* blockAt(std::size_t index) const noexcept;

    // Special PLC-data is stored only for nodes of kind 2; other kinds read it as zeros.
    std::array<std::uint8_t, 3> specialData() const noexcept;
    void setSpecialData(const std::array<std::uint8_t, 3>& data) noexcept { specialData_ = data; }

    // The model name at the node's 1-based model index; empty when the index names none.
    std::string_view modelName() const noexcept;

    // Line of the network dialog; panelModelName is the application's panel model (used for the unit).
    std::string displayLine(std::string_view panelModelName) const;

    std::uint8_t plcId = 0;
    std::uint8_t modelIndex = 1;
    char modelCode = '5';                // also the width of every block address of the node in files
    std::string name;                    // up to 39 characters, unique
    std::string plcFile;                 // up to 99 characters
    std::string plcName;                 // up to 47 characters
    std::vector<std::string> modelNames; // up to 25 texts of up to 49 characters

private:
    friend class Application;

    NodeKind kind_;
    std::uint8_t number_;
    bool inApplication_ = false;
    std::uint32_t entryLength_ = kEmptyEntryLength;
    std::array<std::uint8_t, 3> specialData_{};
    std::vector<std::unique_ptr<Block>> blocks_;
};

} // namespace quillon
