#pragma once

#include "model/Result.h"

#include <cstddef>
#include <cstdint>
#include <span>
#include <string_view>

namespace quillon {

// One serial port to the unit. The link always runs at 9600 baud, 8 data bits, no parity, 1 stop bit, in raw
// mode; the protocol above it gives every byte its meaning, so the port neither frames nor translates.
class SerialPort {
public:
    SerialPort() = default;
    SerialPort(const SerialPort&) = delete;
    SerialPort& operator=(const SerialPort&) = delete;
    virtual ~SerialPort() = default;

    // Opens the named port ("COM2" or a device path) for this program alone and configures it. The failure
    // message is the reason only (for example "/dev/ttyS1: Permission denied ..."); the link adds its own
    // text.
    virtual Status open(std::string_view portName) = 0;
    virtual void close() noexcept = 0;
    virtual bool isOpen() const noexcept = 0;

    // Discards whatever waits in both directions.
    virtual void purge() noexcept = 0;

    // Hands the bytes to the driver, waiting at most boundMs for room; returns how many it took.
    virtual Result<std::size_t> write(std::span<const std::uint8_t> bytes, std::uint32_t boundMs) = 0;

    // Returns what is waiting, up to the buffer's size, after waiting at most waitMs for a first byte
    // (0: return at once, possibly with nothing). A failure means the device is gone or broken.
    virtual Result<std::size_t> read(std::span<std::uint8_t> buffer, std::uint32_t waitMs) = 0;
};

} // namespace quillon
