#pragma once

#include "sim/NodeBackend.h"

namespace quillon {

// The simulated memory of a node: the values live in SimMemory alone, nothing is sent anywhere.
class SimulatedBackend final : public NodeBackend {
public:
    static constexpr const char* kDescription = "Simulated";

    bool live() const noexcept override { return false; }
    std::string description() const override { return kDescription; }
    LinkStatus status() const override { return {}; }
    void refresh(const Node& node, const std::vector<const Block*>& blocks, SimMemory& memory) override;
    bool fetch(const Node& node, std::size_t area, std::uint64_t ordinal, std::size_t count,
               SimMemory& memory) override;
    bool send(const Node& node, std::size_t area, std::uint64_t ordinal,
              std::span<const std::uint64_t> values, SimMemory& memory) override;
};

} // namespace quillon
