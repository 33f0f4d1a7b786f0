#include "edit/define/NetworkEditor.h"

#include "model/Application.h"
#include "model/Node.h"
#include "plc/DriverFiles.h"
#include "plc/PlcCatalogFiles.h"
#include "plc/PlcList.h"

#include <charconv>
#include <memory>

namespace quillon {

namespace {

// The number a node-address field holds: digits only, nothing for an empty or non-numeric text.
std::optional<unsigned> addressNumber(std::string_view text) {
    unsigned value = 0;
    if (text.empty()) {
        return std::nullopt;
    }
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size()) {
        return std::nullopt;
    }
    return value;
}

} // namespace

NetworkEditor::NetworkEditor(Application& application, PlcCatalogFiles& catalogs,
                             std::filesystem::path driversDirectory, Prompter& prompter)
    : app_(application), catalogs_(catalogs), driversDirectory_(std::move(driversDirectory)),
      prompter_(prompter) {}

void NetworkEditor::open() {
    plcNames_ = catalogs_.selectedNames();
    plcPosition_ = -1;
    plcId_ = -1;
    modelNames_.clear();
    catalogPath_.clear();
    if (plcNames_.empty()) {
        prompter_.information(PlcCatalogFiles::kNotSelected);
        return;
    }
    // The sixth line when the user selected six PLCs or more, otherwise the first.
    const int initial =
        plcNames_.size() > static_cast<std::size_t>(kInitialPlcPosition) ? kInitialPlcPosition : 0;
    plcPosition_ = initial;
    plcId_ = catalogs_.idAtPosition(initial);
}

std::vector<std::string> NetworkEditor::lines() const {
    std::vector<std::string> out;
    out.reserve(app_.nodeCount());
    for (const auto& node : app_.nodes()) {
        out.push_back(node->displayLine(app_.panelModelName()));
    }
    return out;
}

Node* NetworkEditor::nodeAt(std::size_t row) const noexcept {
    return row < app_.nodeCount() ? app_.nodes()[row].get() : nullptr;
}

bool NetworkEditor::lookUpPlc(int position) {
    const int id = catalogs_.idAtPosition(position);
    if (id < 0) {
        return false;
    }
    const auto file = catalogs_.findCatalogFile(id);
    if (!file) {
        return false;
    }
    auto names = catalogs_.modelNames(id);
    if (!names) {
        return false;
    }
    plcPosition_ = position;
    plcId_ = id;
    catalogPath_ = file->recordedPath;
    modelNames_ = std::move(*names);
    return true;
}

std::optional<NodeDraft> NetworkEditor::beginAdd() {
    if (app_.nodeCount() >= kMaxNodes) {
        prompter_.error(kFull);
        return std::nullopt;
    }
    NodeDraft draft;
    // The proposal is the highest address + 1; none when the highest is 255.
    if (const unsigned next = app_.nextNodeNumber(); next != 0) {
        draft.address = std::to_string(next);
        draft.name = "Node" + std::to_string(next);
    }
    modelNames_.clear();
    if (plcPosition_ >= 0 && lookUpPlc(plcPosition_)) {
        draft.plcPosition = plcPosition_;
    }
    draft.modelPosition = 0;
    return draft;
}

std::optional<NodeDraft> NetworkEditor::beginChange(const Node& node) {
    if (node.blockCount() > 0) {
        prompter_.information(kCantChange);
        return std::nullopt;
    }
    NodeDraft draft;
    draft.address = std::to_string(node.number());
    draft.name = node.name;
    if (node.kind() == NodeKind::Unit) {
        return draft;
    }
    const int position = catalogs_.positionOfId(node.plcId);
    if (position < 0 || !lookUpPlc(position)) {
        return std::nullopt;
    }
    draft.plcPosition = position;
    draft.modelPosition = node.modelIndex > 0 ? node.modelIndex - 1 : 0;
    return draft;
}

std::optional<std::vector<std::string>> NetworkEditor::choosePlc(int position) {
    if (!lookUpPlc(position)) {
        return std::nullopt;
    }
    return modelNames_;
}

bool NetworkEditor::refuse(std::string_view text, NodeField field, NodeOutcome& outcome) {
    prompter_.error(text);
    outcome.focus = field;
    return false;
}

NodeOutcome NetworkEditor::apply(const NodeDraft& draft, Node* editing) {
    NodeOutcome outcome;
    const std::optional<unsigned> number = addressNumber(draft.address);
    if (!number) {
        refuse(kNoAddress, NodeField::Address, outcome);
        return outcome;
    }
    if (*number <= 255 && !app_.isNodeNumberFree(*number, editing)) {
        refuse(kAddressTaken, NodeField::Address, outcome);
        return outcome;
    }
    const bool unit = editing != nullptr && editing->kind() == NodeKind::Unit;
    // Address 0 is the unit's own: its node keeps it (and may be renamed), no PLC takes it.
    if ((*number == 0 && !unit) || *number > 255) {
        refuse(kAddressInvalid, NodeField::Address, outcome);
        return outcome;
    }
    if (draft.name.empty()) {
        refuse(kNoName, NodeField::Name, outcome);
        return outcome;
    }
    if (!app_.isNodeNameFree(draft.name, editing)) {
        refuse(kNameTaken, NodeField::Name, outcome);
        return outcome;
    }
    if (draft.name.size() > kMaxNameLength) {
        refuse(kNameTooLong, NodeField::Name, outcome);
        return outcome;
    }

    // The PLC facts of the chosen PLC and model.
    std::string plcName;
    int modelIndex = 1;
    char modelCode = '0';
    SpecialData special;
    if (!unit) {
        if (draft.plcPosition < 0 || draft.plcPosition != plcPosition_ || plcId_ < 0) {
            refuse(kNoPlc, NodeField::Plc, outcome);
            return outcome;
        }
        modelIndex = draft.modelPosition + 1;
        if (draft.modelPosition < 0 || static_cast<std::size_t>(draft.modelPosition) >= modelNames_.size()) {
            refuse(kNoPlc, NodeField::Model, outcome);
            return outcome;
        }
        auto name = catalogs_.plcNameOfId(plcId_);
        auto code = name ? catalogs_.modelCode(plcId_, modelIndex) : std::nullopt;
        auto data = code ? catalogs_.specialData(plcId_, modelIndex) : std::nullopt;
        if (!data) {
            // The lookup has said why; the catalog cannot give this node its facts.
            outcome.leaveEditMode = true;
            return outcome;
        }
        plcName = std::move(*name);
        if (plcName.size() > kMaxPlcNameLength) {
            plcName.resize(kMaxPlcNameLength);
        }
        modelCode = *code;
        special = *data;
    }

    const auto fill = [&](Node& node, bool keepSpecial) {
        if (unit) {
            return;
        }
        const bool samePlc = node.plcId == plcId_ && node.modelIndex == modelIndex;
        const auto oldSpecial = node.specialData();
        (void)node.setKind(static_cast<NodeKind>(special.nodeKind));
        node.plcId = static_cast<std::uint8_t>(plcId_);
        node.modelIndex = static_cast<std::uint8_t>(modelIndex);
        node.modelCode = modelCode;
        // A node that keeps its PLC and model keeps the special values the user gave it.
        node.setSpecialData(special.nodeKind == 2 ? (keepSpecial && samePlc ? oldSpecial : special.bytes)
                                                  : std::array<std::uint8_t, 3>{});
        node.plcFile = catalogPath_;
        node.plcName = plcName;
        node.modelNames = modelNames_;
    };

    if (editing != nullptr) {
        auto taken = app_.removeNode(*editing);
        if (!taken) {
            prompter_.error(taken.message());
            outcome.leaveEditMode = true;
            return outcome;
        }
        std::unique_ptr<Node> node = std::move(*taken);
        (void)node->setNumber(static_cast<std::uint8_t>(*number));
        node->name = draft.name;
        fill(*node, node->kind() == NodeKind::PlcWithSpecial);
        // Number and name were checked above and the catalog texts are cut to their fields, so the
        // network takes the node back.
        auto added = app_.addNode(std::move(node));
        if (!added) {
            prompter_.error(added.message());
            outcome.leaveEditMode = true;
            return outcome;
        }
        outcome.stored = true;
        outcome.leaveEditMode = true;
        outcome.node = *added;
        return outcome;
    }

    auto node =
        std::make_unique<Node>(static_cast<NodeKind>(special.nodeKind), static_cast<std::uint8_t>(*number));
    node->name = draft.name;
    node->plcId = 0; // fill sees no PLC of its own and takes the defaults
    node->modelIndex = 0;
    fill(*node, false);
    if (!DriverFiles::checkAvailable(prompter_, driversDirectory_, app_.modelId(), plcId_, plcName)) {
        outcome.leaveEditMode = true;
        return outcome;
    }
    auto added = app_.addNode(std::move(node));
    if (!added) {
        prompter_.error(kCantCreate);
        outcome.leaveEditMode = true;
        return outcome;
    }
    outcome.stored = true;
    outcome.leaveEditMode = true;
    outcome.node = *added;
    return outcome;
}

bool NetworkEditor::remove(Node& node) {
    if (node.kind() == NodeKind::Unit) {
        prompter_.information(kUnitNotDeleted);
        return false;
    }
    if (node.blockCount() > 0) {
        prompter_.information(kCantDelete);
        return false;
    }
    if (prompter_.confirm(kConfirmDelete) != PromptAnswer::Yes) {
        return false;
    }
    if (beforeRemoval_) {
        beforeRemoval_();
    }
    auto removed = app_.removeNode(node);
    if (!removed) {
        prompter_.error(removed.message());
        return false;
    }
    return true;
}

bool NetworkEditor::hasSpecialData(const Node& node) noexcept {
    return node.kind() == NodeKind::PlcWithSpecial;
}

bool NetworkEditor::usesCommParameters(const Node& node) noexcept {
    return hasSpecialData(node) && (node.plcId == 104 || node.plcId == 105);
}

} // namespace quillon
