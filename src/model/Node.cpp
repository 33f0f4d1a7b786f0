#include "model/Node.h"

#include "model/Block.h"
#include "model/TextFormat.h"

namespace quillon {

Node::Node(NodeKind kind, std::uint8_t number) : kind_(kind), number_(number) {}

std::unique_ptr<Node> Node::createUnitNode() {
    auto node = std::make_unique<Node>(NodeKind::Unit, 0);
    node->name = std::string(kUnitName);
    node->plcId = 0;
    node->modelIndex = 1;
    node->modelCode = '5';
    node->plcFile = std::string(kUnitCatalogFile);
    node->modelNames.emplace_back();
    return node;
}

bool Node::setKind(NodeKind kind) noexcept {
    if (inApplication_) {
        return false;
    }
    kind_ = kind;
    return true;
}

bool Node::setNumber(std::uint8_t number) noexcept {
    if (inApplication_) {
        return false;
    }
    number_ = number;
    return true;
}

Block* Node::blockAt(std::size_t index) const noexcept {
    return index < blocks_.size() ? blocks_[index].get() : nullptr;
}

std::array<std::uint8_t, 3> Node::specialData() const noexcept {
    if (kind_ != NodeKind::PlcWithSpecial) {
        return {};
    }
    return specialData_;
}

std::string_view Node::modelName() const noexcept {
    if (modelIndex == 0 || modelIndex > modelNames.size()) {
        return {};
    }
    return modelNames[modelIndex - 1U];
}

std::string Node::displayLine(std::string_view panelModelName) const {
    const auto blocks = static_cast<unsigned>(blocks_.size());
    if (kind_ == NodeKind::Unit) {
        const std::string model(panelModelName);
        return formatText("%03u\t%s\t%s\t%05u", number_, name.c_str(), model.c_str(), blocks);
    }
    const std::string model(modelName());
    return formatText("%03u\t%s\t%s%s%s%s\t%05u", number_, name.c_str(), plcName.c_str(), "  ( ",
                      model.c_str(), " )", blocks);
}

} // namespace quillon
