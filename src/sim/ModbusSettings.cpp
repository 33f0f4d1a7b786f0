#include "sim/ModbusSettings.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <vector>

namespace quillon {

namespace {

constexpr std::array<std::uint32_t, 10> kBauds = {300,  600,   1200,  2400,  4800,
                                                  9600, 19200, 38400, 57600, 115200};

bool number(std::string_view text, std::uint64_t max, std::uint64_t& value) {
    if (text.empty() || text.size() > 9) {
        return false;
    }
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    return ec == std::errc() && end == text.data() + text.size() && value <= max;
}

std::vector<std::string_view> split(std::string_view text) {
    std::vector<std::string_view> parts;
    std::size_t from = 0;
    while (true) {
        const std::size_t colon = text.find(':', from);
        parts.push_back(
            text.substr(from, colon == std::string_view::npos ? std::string_view::npos : colon - from));
        if (colon == std::string_view::npos) {
            return parts;
        }
        from = colon + 1;
    }
}

} // namespace

Result<ModbusSettings> ModbusSettings::parse(std::string_view text) {
    const auto bad = [text](const std::string& why) {
        return Result<ModbusSettings>::fail("\"" + std::string(text) + "\": " + why +
                                            " (rtu:PORT:BAUD:FRAME:SLAVE as rtu:/dev/ttyUSB0:19200:8N1:1, or "
                                            "tcp:HOST:PORT as tcp:192.168.0.10:502)");
    };
    const std::vector<std::string_view> parts = split(text);
    ModbusSettings s;
    std::uint64_t value = 0;
    if (parts.front() == "rtu") {
        if (parts.size() < 5) {
            return bad("a serial connection names the port, the baud rate, the frame and the slave");
        }
        s.transport = Transport::Rtu;
        // The port may hold colons itself: the last three fields are the baud rate, frame and slave.
        const std::size_t last = parts.size() - 1;
        for (std::size_t i = 1; i + 3 <= last; ++i) {
            s.port += std::string(parts[i]) + (i + 3 < last ? ":" : "");
        }
        if (s.port.empty()) {
            return bad("the serial port is missing");
        }
        if (!number(parts[last - 2], 1000000, value) ||
            std::find(kBauds.begin(), kBauds.end(), value) == kBauds.end()) {
            return bad(
                "the baud rate is one of 300, 600, 1200, 2400, 4800, 9600, 19200, 38400, 57600, 115200");
        }
        s.baud = static_cast<std::uint32_t>(value);
        const std::string_view frame = parts[last - 1];
        if (frame.size() != 3 || (frame[0] != '7' && frame[0] != '8') ||
            (frame[1] != 'N' && frame[1] != 'E' && frame[1] != 'O') || (frame[2] != '1' && frame[2] != '2')) {
            return bad("the frame is data bits (7 or 8), parity (N, E or O) and stop bits (1 or 2), as 8N1");
        }
        s.dataBits = static_cast<std::uint8_t>(frame[0] - '0');
        s.parity = frame[1];
        s.stopBits = static_cast<std::uint8_t>(frame[2] - '0');
        if (!number(parts[last], 247, value) || value < 1) {
            return bad("the slave id is 1 to 247");
        }
        s.slave = static_cast<std::uint8_t>(value);
        return s;
    }
    if (parts.front() == "tcp") {
        if (parts.size() != 3 && parts.size() != 4) {
            return bad("a TCP connection names the host and the port");
        }
        s.transport = Transport::Tcp;
        s.port = std::string(parts[1]);
        if (s.port.empty()) {
            return bad("the host is missing");
        }
        if (!number(parts[2], 65535, value) || value < 1) {
            return bad("the TCP port is 1 to 65535");
        }
        s.tcpPort = static_cast<std::uint16_t>(value);
        if (parts.size() == 4) {
            if (!number(parts[3], 255, value)) {
                return bad("the unit id is 0 to 255");
            }
            s.slave = static_cast<std::uint8_t>(value);
        }
        return s;
    }
    return bad("a connection starts with rtu: or tcp:");
}

std::string ModbusSettings::describe() const {
    if (transport == Transport::Tcp) {
        return "TCP " + port + ":" + std::to_string(tcpPort) + ", unit " + std::to_string(slave);
    }
    return "RTU " + port + " " + std::to_string(baud) + " " + std::to_string(dataBits) + parity +
           std::to_string(stopBits) + ", slave " + std::to_string(slave);
}

std::uint32_t ModbusSettings::bitsPerCharacter() const noexcept {
    return 1U + dataBits + (parity != 'N' ? 1U : 0U) + stopBits;
}

} // namespace quillon
