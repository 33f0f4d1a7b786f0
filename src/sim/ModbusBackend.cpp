#include "sim/ModbusBackend.h"

#include "edit/define/NodeAreas.h"
#include "model/Block.h"
#include "model/Node.h"
#include "plc/AddressRadix.h"
#include "plc/RegisterArea.h"
#include "plc/TagAddress.h"
#include "sim/SimMemory.h"

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <modbus/modbus.h>

namespace quillon {

namespace {

std::uint64_t steadyMs() {
    return static_cast<std::uint64_t>(std::chrono::duration_cast<std::chrono::milliseconds>(
                                          std::chrono::steady_clock::now().time_since_epoch())
                                          .count());
}

// The device answered with an exception: it is there, it refused the request.
bool isException(int error) noexcept {
    return error > MODBUS_ENOBASE && error <= MODBUS_ENOBASE + MODBUS_EXCEPTION_GATEWAY_TARGET;
}

std::string tableName(ModbusBackend::Table table) {
    switch (table) {
    case ModbusBackend::Table::Coils:
        return "coils";
    case ModbusBackend::Table::DiscreteInputs:
        return "discrete inputs";
    case ModbusBackend::Table::InputRegisters:
        return "input registers";
    case ModbusBackend::Table::HoldingRegisters:
        return "holding registers";
    case ModbusBackend::Table::None:
        break;
    }
    return "no Modbus table";
}

} // namespace

ModbusBackend::ModbusBackend(ModbusSettings settings, Clock clock)
    : settings_(std::move(settings)), clock_(clock ? std::move(clock) : Clock(steadyMs)) {
    status_.state = LinkStatus::State::Waiting;
    backoff_ = std::max<std::uint32_t>(settings_.backoffMs, 1);
}

ModbusBackend::~ModbusBackend() {
    if (context_ != nullptr) {
        if (connected_) {
            modbus_close(context_);
        }
        modbus_free(context_);
    }
}

bool ModbusBackend::isModbusNode(const Node& node) {
    return node.kind() != NodeKind::Unit && node.plcName.rfind("Modbus", 0) == 0;
}

ModbusBackend::Table ModbusBackend::tableOf(const RegisterArea& area) noexcept {
    if (area.prefix().empty()) {
        return Table::None;
    }
    switch (area.prefix().front()) {
    case '0':
        return area.isBitArea() ? Table::Coils : Table::None;
    case '1':
        return area.isBitArea() ? Table::DiscreteInputs : Table::None;
    case '3':
        return area.isBitArea() ? Table::None : Table::InputRegisters;
    case '4':
        return area.isBitArea() ? Table::None : Table::HoldingRegisters;
    default:
        return Table::None;
    }
}

std::size_t ModbusBackend::requestsFor(Table table, std::size_t count) noexcept {
    const std::size_t limit =
        table == Table::Coils || table == Table::DiscreteInputs ? kMaxReadBits : kMaxReadRegisters;
    return (count + limit - 1) / limit;
}

std::optional<std::uint16_t> ModbusBackend::protocolAddress(const RegisterArea& area, std::uint64_t ordinal) {
    const int varying = area.varyingPart();
    if (varying < 0 || area.step() <= 0) {
        return std::nullopt;
    }
    const AddressPart& part = area.part(varying);
    const std::uint64_t lowest =
        AddressRadix::parse(part.radix, part.min) / static_cast<std::uint64_t>(area.step());
    if (ordinal < lowest || ordinal - lowest > 0xFFFFU) {
        return std::nullopt;
    }
    return static_cast<std::uint16_t>(ordinal - lowest);
}

bool ModbusBackend::connect() {
    if (connected_) {
        return true;
    }
    const std::uint64_t now = clock_();
    if (now < nextAttempt_) {
        return false;
    }
    if (context_ == nullptr) {
        context_ = settings_.transport == ModbusSettings::Transport::Tcp
                       ? modbus_new_tcp(settings_.port.c_str(), settings_.tcpPort)
                       : modbus_new_rtu(settings_.port.c_str(), static_cast<int>(settings_.baud),
                                        settings_.parity, settings_.dataBits, settings_.stopBits);
        if (context_ == nullptr) {
            status_.lastError = "can not set up " + settings_.describe() + ": " + modbus_strerror(errno);
            nextAttempt_ = now + backoff_;
            status_.backoffMs = backoff_;
            return false;
        }
        modbus_set_slave(context_, settings_.slave);
        const std::uint32_t timeout = std::max<std::uint32_t>(settings_.timeoutMs, 1);
        modbus_set_response_timeout(context_, timeout / 1000, (timeout % 1000) * 1000);
        modbus_set_byte_timeout(context_, timeout / 1000, (timeout % 1000) * 1000);
    }
    if (modbus_connect(context_) != 0) {
        status_.lastError = "can not connect to " + settings_.describe() + ": " + modbus_strerror(errno);
        status_.state = LinkStatus::State::Waiting;
        nextAttempt_ = now + backoff_;
        status_.backoffMs = backoff_;
        backoff_ = std::min(backoff_ * 2, std::max(settings_.maxBackoffMs, settings_.backoffMs));
        return false;
    }
    connected_ = true;
    modbus_flush(context_);
    ++status_.connects;
    status_.state = LinkStatus::State::Connected;
    status_.backoffMs = 0;
    return true;
}

void ModbusBackend::lose(const std::string& why) {
    if (connected_) {
        modbus_close(context_);
        connected_ = false;
        ++status_.lost;
    }
    status_.lastError = why;
    status_.state = LinkStatus::State::Waiting;
    nextAttempt_ = clock_() + backoff_;
    status_.backoffMs = backoff_;
    backoff_ = std::min(backoff_ * 2, std::max(settings_.maxBackoffMs, settings_.backoffMs));
}

ModbusBackend::Outcome ModbusBackend::failed(const std::string& what) {
    const int error = errno;
    if (isException(error)) {
        ++status_.failures;
        status_.lastError = what + ": the device refused it (" + modbus_strerror(error) + ")";
        return Outcome::Refused;
    }
    if (error == ETIMEDOUT) {
        ++status_.timeouts;
        lose(what + ": no answer within " + std::to_string(settings_.timeoutMs) + " ms");
    } else {
        ++status_.failures;
        lose(what + ": " + modbus_strerror(error));
    }
    return Outcome::Lost;
}

ModbusBackend::Outcome ModbusBackend::read(Table table, std::uint16_t address, std::size_t count,
                                           std::vector<std::uint64_t>& values, const std::string& what) {
    values.assign(count, 0);
    const std::size_t limit =
        table == Table::Coils || table == Table::DiscreteInputs ? kMaxReadBits : kMaxReadRegisters;
    std::vector<std::uint16_t> words;
    std::vector<std::uint8_t> bits;
    for (std::size_t done = 0; done < count; done += limit) {
        const auto n = static_cast<int>(std::min(limit, count - done));
        const auto at = static_cast<int>(address + done);
        if (at + n > 0x10000) {
            ++status_.failures;
            status_.lastError = what + ": the addresses go beyond 65535";
            return Outcome::Refused;
        }
        ++status_.requests;
        int got = -1;
        switch (table) {
        case Table::Coils:
        case Table::DiscreteInputs:
            bits.assign(static_cast<std::size_t>(n), 0);
            got = table == Table::Coils ? modbus_read_bits(context_, at, n, bits.data())
                                        : modbus_read_input_bits(context_, at, n, bits.data());
            for (int i = 0; i < got; ++i) {
                values[done + static_cast<std::size_t>(i)] = bits[static_cast<std::size_t>(i)] != 0 ? 1 : 0;
            }
            break;
        case Table::InputRegisters:
        case Table::HoldingRegisters:
            words.assign(static_cast<std::size_t>(n), 0);
            got = table == Table::HoldingRegisters
                      ? modbus_read_registers(context_, at, n, words.data())
                      : modbus_read_input_registers(context_, at, n, words.data());
            for (int i = 0; i < got; ++i) {
                values[done + static_cast<std::size_t>(i)] = words[static_cast<std::size_t>(i)];
            }
            break;
        case Table::None:
            break;
        }
        if (got != n) {
            return failed(what);
        }
        ++status_.reads;
    }
    return Outcome::Done;
}

bool ModbusBackend::readInto(const Node& node, std::size_t area, std::uint64_t ordinal, std::size_t count,
                             SimMemory& memory, const std::string& what) {
    const auto& areas = memory.areas(node);
    if (area >= areas.size()) {
        return false;
    }
    const Table table = tableOf(areas[area]);
    const auto address = protocolAddress(areas[area], ordinal);
    if (table == Table::None || !address) {
        status_.lastError = what + ": not an address of a Modbus table";
        return false;
    }
    if (!connect()) {
        return false;
    }
    std::vector<std::uint64_t> values;
    if (read(table, *address, count, values, what) != Outcome::Done) {
        return false;
    }
    for (std::size_t i = 0; i < count; ++i) {
        memory.storeCell(node, area, ordinal + i, values[i]);
    }
    return true;
}

void ModbusBackend::refresh(const Node& node, const std::vector<const Block*>& blocks, SimMemory& memory) {
    if (!connect()) {
        return;
    }
    const auto& areas = memory.areas(node);
    for (const Block* block : blocks) {
        const auto index = NodeAreas::areaOf(areas, *block);
        const std::string what = "block " + block->address() + " (" + std::to_string(block->size) + ")";
        if (!index) {
            status_.lastError = what + ": its address lies in no area of the catalog";
            continue;
        }
        const RegisterArea& area = areas[*index];
        const auto parts = TagAddress::split(area, block->address());
        if (!parts || area.step() <= 0) {
            status_.lastError = what + ": not an address of a Modbus table";
            continue;
        }
        const std::uint64_t ordinal =
            AddressRadix::parse(area.part(area.varyingPart()).radix,
                                parts->parts[static_cast<std::size_t>(area.varyingPart())]) /
            static_cast<std::uint64_t>(area.step());
        readInto(node, *index, ordinal, block->size, memory, what);
        if (!connected_) {
            return; // lost: the rest of the scan's blocks wait for the reconnection
        }
    }
}

bool ModbusBackend::fetch(const Node& node, std::size_t area, std::uint64_t ordinal, std::size_t count,
                          SimMemory& memory) {
    return readInto(node, area, ordinal, count, memory,
                    "read of " + std::to_string(count) + " at " + std::to_string(ordinal));
}

bool ModbusBackend::send(const Node& node, std::size_t area, std::uint64_t ordinal,
                         std::span<const std::uint64_t> values, SimMemory& memory) {
    const auto& areas = memory.areas(node);
    if (area >= areas.size() || values.empty()) {
        return false;
    }
    const Table table = tableOf(areas[area]);
    const auto address = protocolAddress(areas[area], ordinal);
    const std::string what = "write to " + areas[area].prefix() + " " + std::to_string(ordinal);
    if (table != Table::Coils && table != Table::HoldingRegisters) {
        ++status_.failures;
        status_.lastError = what + ": " + tableName(table) + " cannot be written";
        return false;
    }
    if (!address || *address + values.size() > 0x10000) {
        ++status_.failures;
        status_.lastError = what + ": the addresses go beyond 65535";
        return false;
    }
    if (!connect()) {
        return false;
    }
    const std::size_t limit = table == Table::Coils ? kMaxWriteBits : kMaxWriteRegisters;
    for (std::size_t done = 0; done < values.size(); done += limit) {
        const std::size_t n = std::min(limit, values.size() - done);
        const auto at = static_cast<int>(*address + done);
        ++status_.requests;
        int rc = -1;
        if (table == Table::Coils) {
            if (n == 1) {
                rc = modbus_write_bit(context_, at, values[done] != 0 ? 1 : 0);
            } else {
                std::vector<std::uint8_t> bits(n);
                for (std::size_t i = 0; i < n; ++i) {
                    bits[i] = values[done + i] != 0 ? 1 : 0;
                }
                rc = modbus_write_bits(context_, at, static_cast<int>(n), bits.data());
            }
        } else if (n == 1) {
            rc = modbus_write_register(context_, at, static_cast<std::uint16_t>(values[done] & 0xFFFFU));
        } else {
            std::vector<std::uint16_t> words(n);
            for (std::size_t i = 0; i < n; ++i) {
                words[i] = static_cast<std::uint16_t>(values[done + i] & 0xFFFFU);
            }
            rc = modbus_write_registers(context_, at, static_cast<int>(n), words.data());
        }
        if (rc < 0) {
            failed(what);
            return false;
        }
        ++status_.writes;
    }
    return true;
}

} // namespace quillon
