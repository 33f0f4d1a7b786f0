#pragma once

#include "model/Application.h"

#include <memory>
#include <string>

namespace quillon::testing_support {

// A PLC node as the network editor builds one.
inline std::unique_ptr<Node> plcNode(std::uint8_t number, NodeKind kind = NodeKind::Plc) {
    auto node = std::make_unique<Node>(kind, number);
    node->name = "Node" + std::to_string(number);
    node->plcId = 7;
    node->plcName = "PLC";
    node->modelNames = {"Model A", "Model B"};
    node->modelCode = '5';
    return node;
}

inline TagValues registerTag(std::string address, std::uint8_t size = 2, std::string name = {}) {
    TagValues v;
    v.address = std::move(address);
    v.type = tag_type::kRegister;
    v.size = size;
    v.name = std::move(name);
    return v;
}

inline TagValues bitTag(std::string address, std::uint8_t bit, std::string name = {}) {
    TagValues v;
    v.address = std::move(address);
    v.type = tag_type::kRegisterBit;
    v.bit = bit;
    v.size = 0;
    v.name = std::move(name);
    return v;
}

inline TagValues coilTag(std::string address) {
    TagValues v;
    v.address = std::move(address);
    v.type = tag_type::kCoil;
    return v;
}

template <typename T>
T* must(Result<T*> r) {
    if (!r) {
        throw std::runtime_error(r.message());
    }
    return r.value();
}

} // namespace quillon::testing_support
