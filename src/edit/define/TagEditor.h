#pragma once

#include "model/Prompter.h"
#include "model/Tag.h"
#include "plc/RegisterArea.h"

#include <array>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace quillon {

class Application;
class Block;
class Node;
class PlcCatalogFiles;

// The fields of the tag database editor as the user left them.
struct TagDraft {
    std::size_t area = 0;     // position in the model's area list
    bool registerKind = true; // "Register" chosen; otherwise "Coil or Bit-addressed Register "
    std::array<std::string, RegisterArea::kMaxParts> parts;
    std::string bit = "00";      // the bit-number field of a bit inside a register
    std::uint8_t byteCount = 2;  // "&Byte(s)"
    std::uint8_t byteSelect = 0; // "&Low-byte" 0, "&High-byte" 1 (or word, double word)
    std::string name;            // "Tag-&Name"

    bool operator==(const TagDraft&) const = default;
};

enum class TagField : std::uint8_t { None, Name, Address, Bit, Bytes, Area };

// The tag database editor: composing a tag from the fields, the block it goes into (created and grown
// as needed), the name and duplicate checks, change in place or by re-insertion with the read-write
// rule, and delete with the tag-reference protection and the removal of a block left empty.
class TagEditor final {
public:
    static constexpr std::string_view kNoName = "Tag-name should be entered.";
    static constexpr std::string_view kNameTaken = "Tag-name should be unique.";
    static constexpr std::string_view kNameTakenTitle = "Orvik : Error";
    static constexpr std::string_view kDuplicate = "This tag is already defined.";
    static constexpr std::string_view kConfirmDelete = "Are you sure to delete\nTag of number %u ";
    static constexpr std::string_view kAutoBlockName = "block";
    static constexpr std::string_view kCantCreateBlock = "Can't create new block.";
    static constexpr std::string_view kCantCreateTag = "Can't create new Tag.";
    static constexpr std::string_view kNoBit = "A bit can not be addressed in this Tag Range.";
    static constexpr std::string_view kNotInArea = "The address is not in the Tag Range.";
    static constexpr std::string_view kRegisterInBitArea =
        "A Register tag can not be defined in a bit Tag Range.";
    static constexpr std::string_view kBadBit = "The Bit - number is out of range.";
    static constexpr std::string_view kBadBytes = "This byte count can not be chosen in this Tag Range.";
    static constexpr std::string_view kNameTooLong = "A Tag-name has at most 40 characters.";
    static constexpr std::string_view kNameNotText =
        "A Tag-name is UTF-8 text without control characters (such as tabs or line breaks).";
    static constexpr std::string_view kBlockFull = "The block can not grow beyond 255 registers.";

    TagEditor(Application& application, PlcCatalogFiles& catalogs, Prompter& prompter);

    // Run before a tag, or a block left empty, leaves the application (the screen editor drops its undo
    // histories, whose steps may still name the tag).
    void setBeforeRemoval(std::function<void()> hook) { beforeRemoval_ = std::move(hook); }
    // How a name is tested for uniqueness; the application's whole-list test unless set (an import of
    // many tags keeps its own index).
    void setNameFree(std::function<bool(std::string_view, const Tag*)> test) { nameFree_ = std::move(test); }

    // Whether each add renumbers the tag list at once (an import of many tags renumbers once at its end).
    void setRenumber(bool renumber) noexcept { renumber_ = renumber; }
    // "New blocks fit their tags": a tag outside every block gets a block of its own registers only, and an
    // automatic block grows by the registers of a tag that follows its last register, instead of a new
    // block of the area's largest size.
    void setFitBlocks(bool fit) noexcept { fitBlocks_ = fit; }
    bool fitBlocks() const noexcept { return fitBlocks_; }

    // The node whose areas the fields use; reads them from its catalog (empty after a failure).
    void selectNode(Node* node);
    Node* node() const noexcept { return node_; }
    const std::vector<RegisterArea>& areas() const noexcept { return areas_; }
    // Uses areas already read (tests, imports that read each model once).
    void useAreas(Node* node, std::vector<RegisterArea> areas);

    // The fields for an area and kind: the area's first address, bit 00, the byte count of the register
    // size (or the one the PLC fixes), the low selector.
    TagDraft draftFor(std::size_t area, bool registerKind) const;
    // The fields of a tag of the selected node, for a change.
    std::optional<TagDraft> load(const Tag& tag) const;

    // The record a draft gives: composed address (without the bit suffix), type, bit, size, selector,
    // read-write type of the area. Refusals are reported; the field to focus is set.
    std::optional<TagValues> valuesOf(const TagDraft& draft, TagField* focus = nullptr) const;

    // The block of the node that holds the address (with the area's prefix); nullptr when none does.
    Block* blockHolding(const RegisterArea& area, const std::string& address) const;

    // "&Add": the new tag, or nullptr after the refusal was shown.
    Tag* add(const TagDraft& draft, TagField* focus = nullptr);
    // "Chan&ge": the changed tag (the same one when changed in place, a new one when re-inserted), or
    // nullptr after the refusal was shown. What the tag holds is kept as stored: a draft as load() gives it
    // changes nothing, and a field left as the tag holds it is not refused (a byte count or byte selector
    // the pick lists no longer offer, an empty or repeated name, a read-write type its area would not give,
    // a second tag of the same address); only what the user changed is checked.
    Tag* change(Tag& tag, const TagDraft& draft, TagField* focus = nullptr);
    // Delete: refused (with the place that uses the tag) while anything refers to it; otherwise asks and
    // removes the tag and a block it leaves empty. True when removed.
    bool remove(Tag& tag);
    // The same without the question (the caller has asked for the whole set).
    bool removeWithoutAsking(Tag& tag);

    // A tag of the node with the same address, bit number and byte selector (one tag excepted).
    const Tag* duplicateOf(const TagValues& values, const Tag* except) const;

private:
    // valuesOf, keeping the byte count and byte selector `kept` holds where the draft leaves them as stored.
    std::optional<TagValues> valuesFor(const TagDraft& draft, TagField* focus, const Tag* kept) const;
    bool nameFree(std::string_view name, const Tag* except) const;
    // The block for a new tag: the one that holds it, or a new block "block" at its address.
    Block* blockFor(const RegisterArea& area, const std::string& address, bool& created);
    // A 4-byte tag in smaller registers needs the registers after its own inside its block.
    bool growFor(Block& block, const RegisterArea& area, const TagValues& values);
    // With fitted blocks: the automatic block whose last register comes just before the address, grown by
    // one register to hold it; nullptr when there is none or it cannot grow.
    Block* growNeighbour(const RegisterArea& area, const std::string& address);
    void dropIfEmpty(Block* block, bool created);
    void nameRefused();
    // The name is text of at most 40 characters; otherwise the refusal is shown.
    bool nameIsText(const std::string& name, TagField* focus);

    Application& app_;
    PlcCatalogFiles& catalogs_;
    Prompter& prompter_;
    std::function<void()> beforeRemoval_;
    std::function<bool(std::string_view, const Tag*)> nameFree_;
    Node* node_ = nullptr;
    std::vector<RegisterArea> areas_;
    bool renumber_ = true;
    bool fitBlocks_ = false;
    // The block a fitted add grew, with its size before, until the tag is in it.
    Block* grown_ = nullptr;
    std::uint8_t grownFrom_ = 0;
};

} // namespace quillon
