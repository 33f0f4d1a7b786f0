#pragma once

#include "model/Result.h"

#include <cstdint>
#include <string>
#include <string_view>

namespace quillon {

// How the simulator reaches a Modbus device: a serial port (RTU) or a TCP host, written as
//   rtu:PORT:BAUD:FRAME:SLAVE    rtu:/dev/ttyUSB0:19200:8N1:1 (FRAME: data bits 7 or 8, parity N, E or O,
//                                stop bits 1 or 2; SLAVE 1 to 247)
//   tcp:HOST:PORT[:UNIT]         tcp:192.168.0.10:502 (UNIT 0 to 255, 1 when left out)
struct ModbusSettings {
    enum class Transport : std::uint8_t { Rtu, Tcp };

    static constexpr std::uint32_t kDefaultTimeoutMs = 500;
    static constexpr std::uint32_t kDefaultBackoffMs = 500;
    static constexpr std::uint32_t kMaxBackoffMs = 8000;

    Transport transport = Transport::Rtu;
    std::string port; // serial device, or TCP host
    std::uint32_t baud = 19200;
    char parity = 'N';
    std::uint8_t dataBits = 8;
    std::uint8_t stopBits = 1;
    std::uint16_t tcpPort = 502;
    std::uint8_t slave = 1;                      // slave id, or the TCP unit id
    std::uint32_t timeoutMs = kDefaultTimeoutMs; // a request not answered by then has timed out
    std::uint32_t backoffMs =
        kDefaultBackoffMs; // first wait before reconnecting; it doubles up to maxBackoffMs
    std::uint32_t maxBackoffMs = kMaxBackoffMs;

    // The failure says what is wrong and how it is written.
    static Result<ModbusSettings> parse(std::string_view text);
    // "RTU /dev/ttyUSB0 19200 8N1, slave 1" or "TCP 127.0.0.1:502, unit 1".
    std::string describe() const;
    // Characters of a frame on the wire: start bit, data bits, parity bit, stop bits.
    std::uint32_t bitsPerCharacter() const noexcept;
};

} // namespace quillon
