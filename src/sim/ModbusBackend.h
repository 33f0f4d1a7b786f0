#pragma once

#include "sim/ModbusSettings.h"
#include "sim/NodeBackend.h"

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

struct _modbus; // NOLINT(bugprone-reserved-identifier): libmodbus's own name for its context

namespace quillon {

class RegisterArea;

// A node's memory on a real Modbus device, over a serial port (RTU) or TCP. The areas of the Modbus
// catalog map to the device's tables by the first character of their prefix: 0 coils, 1 discrete inputs,
// 3 input registers, 4 holding registers; an address's number less the area's lowest number is the
// protocol address (40001 is holding register 0).
//
// Each scan reads every block in one request (a block longer than a request may carry, 125 registers or
// 2000 coils, in as many as it needs). Writes use function 05 or 15 for coils and 06 or 16 for holding
// registers; discrete inputs and input registers cannot be written. Every request is bounded by the
// timeout. A request not answered, or a link that breaks, closes the connection: the memory keeps the last
// values read, and the next attempt to connect comes after a back-off that doubles up to its maximum.
class ModbusBackend final : public NodeBackend {
public:
    enum class Table : std::uint8_t { Coils, DiscreteInputs, InputRegisters, HoldingRegisters, None };
    static constexpr std::size_t kMaxReadRegisters = 125;
    static constexpr std::size_t kMaxReadBits = 2000;
    static constexpr std::size_t kMaxWriteRegisters = 123;
    static constexpr std::size_t kMaxWriteBits = 1968;

    // Milliseconds of real time, for the back-off.
    using Clock = std::function<std::uint64_t()>;

    explicit ModbusBackend(ModbusSettings settings, Clock clock = {});
    ~ModbusBackend() override;

    // Whether a node's PLC is the Modbus catalog ("Modbus RTU Master", or another Modbus catalog).
    static bool isModbusNode(const Node& node);
    static Table tableOf(const RegisterArea& area) noexcept;
    // Requests a read of count registers or coils of the table takes.
    static std::size_t requestsFor(Table table, std::size_t count) noexcept;
    // The protocol address of the ordinal in the area; none beyond 65535.
    static std::optional<std::uint16_t> protocolAddress(const RegisterArea& area, std::uint64_t ordinal);

    const ModbusSettings& settings() const noexcept { return settings_; }

    bool live() const noexcept override { return true; }
    std::string description() const override { return "Live: " + settings_.describe(); }
    LinkStatus status() const override { return status_; }
    void refresh(const Node& node, const std::vector<const Block*>& blocks, SimMemory& memory) override;
    bool fetch(const Node& node, std::size_t area, std::uint64_t ordinal, std::size_t count,
               SimMemory& memory) override;
    bool send(const Node& node, std::size_t area, std::uint64_t ordinal,
              std::span<const std::uint64_t> values, SimMemory& memory) override;

private:
    enum class Outcome : std::uint8_t { Done, Refused, Lost };

    bool connect();
    void lose(const std::string& why);
    Outcome read(Table table, std::uint16_t address, std::size_t count, std::vector<std::uint64_t>& values,
                 const std::string& what);
    Outcome failed(const std::string& what);
    bool readInto(const Node& node, std::size_t area, std::uint64_t ordinal, std::size_t count,
                  SimMemory& memory, const std::string& what);

    ModbusSettings settings_;
    Clock clock_;
    _modbus* context_ = nullptr;
    bool connected_ = false;
    std::uint64_t nextAttempt_ = 0;
    std::uint32_t backoff_ = 0;
    LinkStatus status_;
};

} // namespace quillon
