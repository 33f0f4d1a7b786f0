#include "sim/SimulatedBackend.h"

namespace quillon {

void SimulatedBackend::refresh(const Node& /*node*/, const std::vector<const Block*>& /*blocks*/,
                               SimMemory& /*memory*/) {}

bool SimulatedBackend::fetch(const Node& /*node*/, std::size_t /*area*/, std::uint64_t /*ordinal*/,
                             std::size_t /*count*/, SimMemory& /*memory*/) {
    return true;
}

bool SimulatedBackend::send(const Node& /*node*/, std::size_t /*area*/, std::uint64_t /*ordinal*/,
                            std::span<const std::uint64_t> /*values*/, SimMemory& /*memory*/) {
    return true;
}

} // namespace quillon
