#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace quillon {

class Block;
class Node;
class SimMemory;

// How a node's connection to its device stands, and what went over it.
struct LinkStatus {
    enum class State : std::uint8_t {
        Simulated, // no device: the memory is the simulator's
        Waiting,   // not connected yet, or lost: the next attempt comes after the back-off
        Connected
    };
    State state = State::Simulated;
    std::uint64_t requests = 0;  // requests sent (reads and writes)
    std::uint64_t reads = 0;     // read requests the device answered
    std::uint64_t writes = 0;    // write requests the device answered
    std::uint64_t timeouts = 0;  // requests the device did not answer in time
    std::uint64_t failures = 0;  // requests that failed otherwise (refused, broken link)
    std::uint64_t connects = 0;  // connections made, the first included
    std::uint64_t lost = 0;      // times the connection was lost
    std::uint32_t backoffMs = 0; // wait before the next attempt while not connected
    std::string lastError;       // empty until something fails
};

// Where a node's memory lives. The simulated memory is one backend (it does nothing: SimMemory holds the
// values); a real device is another: each scan it reads the node's blocks of the scan into memory, and the
// memory sends it what the application writes. Areas and ordinals are those of SimMemory: the index of the
// area in the node's model, and the number of the address part divided by the area's step.
class NodeBackend {
public:
    NodeBackend() = default;
    NodeBackend(const NodeBackend&) = delete;
    NodeBackend& operator=(const NodeBackend&) = delete;
    virtual ~NodeBackend() = default;

    // True when a device stands behind the memory.
    virtual bool live() const noexcept = 0;
    // "Simulated", or "Live: " and the connection's settings.
    virtual std::string description() const = 0;
    virtual LinkStatus status() const = 0;
    // One scan: reads the blocks (all of this node) into memory. Values that cannot be read stay as they
    // were.
    virtual void refresh(const Node& node, const std::vector<const Block*>& blocks, SimMemory& memory) = 0;
    // Reads count registers (or coils) of an area from the ordinal on into memory; false when they could not
    // be read (memory keeps what it had).
    virtual bool fetch(const Node& node, std::size_t area, std::uint64_t ordinal, std::size_t count,
                       SimMemory& memory) = 0;
    // Writes registers (or coils) of an area from the ordinal on; false when the device did not take them.
    virtual bool send(const Node& node, std::size_t area, std::uint64_t ordinal,
                      std::span<const std::uint64_t> values, SimMemory& memory) = 0;
};

} // namespace quillon
