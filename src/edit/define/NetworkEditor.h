#pragma once

#include "model/Prompter.h"

#include <array>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace quillon {

class Application;
class Node;
class PlcCatalogFiles;

// The fields of the network editor's edit mode as the user left them.
struct NodeDraft {
    std::string address;   // "Node &Address", up to three digits
    std::string name;      // "Node &Name", up to 15 characters
    int plcPosition = -1;  // position in the selected-PLC list; -1 when none is chosen
    int modelPosition = 0; // 0-based position in the chosen PLC's model list
};

// The field a refused Ok puts the focus on.
enum class NodeField : std::uint8_t { None, Address, Name, Plc, Model };

// How an Ok of the edit mode ended.
struct NodeOutcome {
    bool stored = false;        // the node is in the network with the new values
    bool leaveEditMode = false; // edit mode ends (stored, or the node was discarded)
    NodeField focus = NodeField::None;
    Node* node = nullptr; // the stored node
};

// The network editor: the nodes of the application, the PLC facts of a new or changed node from the PLC
// catalog, the driver check of a new node, and the refusals of change and delete. Every message goes
// through the prompter; the window only shows the fields and the list.
class NetworkEditor final {
public:
    static constexpr std::size_t kMaxNodes = 255;
    static constexpr std::size_t kMaxNameLength = 15;
    static constexpr std::size_t kAddressChars = 3;
    static constexpr int kInitialPlcPosition = 5;
    static constexpr std::size_t kMaxPlcNameLength = 47;

    static constexpr std::string_view kFull = "There are 255 nodes defined.\nCan't add more.";
    static constexpr std::string_view kCantChange =
        "Using this Node, Blocks(s)/Tag(s) are defined hence can not be changed.";
    static constexpr std::string_view kCantDelete =
        "Using this Node, Blocks(s)/Tag(s) are defined hence can not be deleted.";
    static constexpr std::string_view kUnitNotDeleted = "This node is VQ5K-unit and can not be deleted.";
    static constexpr std::string_view kConfirmDelete = "Are you sure to delete the selected node?";
    static constexpr std::string_view kNoAddress = "Node-address is not defined.";
    static constexpr std::string_view kAddressTaken =
        "This Node-address is already defined.\n It should be UNIQUE.";
    static constexpr std::string_view kAddressInvalid = "This Node-address is invalid.";
    static constexpr std::string_view kNoName = "Node-name is not defined.";
    static constexpr std::string_view kNameTaken =
        "This Node-name is already defined.\n It should be UNIQUE.";
    static constexpr std::string_view kNameTooLong = "A Node-name has at most 15 characters.";
    static constexpr std::string_view kNoPlc = "No PLC is chosen for the node.";
    static constexpr std::string_view kCantCreate = "Can't create new node.";

    // driversDirectory: where the driver files of the unit models lie ("../drivers" at run time).
    NetworkEditor(Application& application, PlcCatalogFiles& catalogs, std::filesystem::path driversDirectory,
                  Prompter& prompter);

    // Run before a node leaves the network for good (the screen editor drops its undo histories).
    void setBeforeRemoval(std::function<void()> hook) { beforeRemoval_ = std::move(hook); }

    // Opening: the names of the selected-PLC list, and the PLC at position 5 (the sixth line) as the
    // first choice, or the first line of a shorter list. An empty list reports that no PLC is selected,
    // and no PLC is chosen.
    void open();
    const std::vector<std::string>& plcNames() const noexcept { return plcNames_; }

    // The lines of the node list, in node order.
    std::vector<std::string> lines() const;
    Node* nodeAt(std::size_t row) const noexcept;

    // Edit mode for a new node; nothing (after kFull) when 255 nodes exist.
    std::optional<NodeDraft> beginAdd();
    // Edit mode for a node; nothing (after kCantChange) when the node has blocks, or when its PLC is not
    // in the selected-PLC list or its catalog cannot be read.
    std::optional<NodeDraft> beginChange(const Node& node);
    // Another PLC chosen in edit mode: its id, catalog file and model names. Nothing when a lookup failed
    // (it has been reported); edit mode then ends.
    std::optional<std::vector<std::string>> choosePlc(int position);
    const std::vector<std::string>& modelNames() const noexcept { return modelNames_; }
    int chosenPlcPosition() const noexcept { return plcPosition_; }
    int chosenPlcId() const noexcept { return plcId_; }

    // Ok of edit mode; editing is the node being changed, nullptr for a new one.
    NodeOutcome apply(const NodeDraft& draft, Node* editing);

    // Delete with its refusals and confirmation; true when the node was removed.
    bool remove(Node& node);

    // The special-data button is offered for nodes with special PLC-data; PLCs 104 and 105 keep
    // communication settings there instead of catalog-described values.
    static bool hasSpecialData(const Node& node) noexcept;
    static bool usesCommParameters(const Node& node) noexcept;

private:
    // Looks up id, catalog file and model names of the PLC at a position of the selected list.
    bool lookUpPlc(int position);
    bool refuse(std::string_view text, NodeField field, NodeOutcome& outcome);

    Application& app_;
    PlcCatalogFiles& catalogs_;
    std::filesystem::path driversDirectory_;
    Prompter& prompter_;
    std::function<void()> beforeRemoval_;
    std::vector<std::string> plcNames_;
    int plcPosition_ = -1;
    int plcId_ = -1;
    std::string catalogPath_;
    std::vector<std::string> modelNames_;
};

} // namespace quillon
