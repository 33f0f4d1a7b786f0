#include "comm/SerialPortMap.h"

#include <charconv>
#include <fstream>
#include <sstream>

namespace quillon {

namespace {

std::string_view trim(std::string_view s) noexcept {
    while (!s.empty() && (s.front() == ' ' || s.front() == '\t' || s.front() == '\r')) {
        s.remove_prefix(1);
    }
    while (!s.empty() && (s.back() == ' ' || s.back() == '\t' || s.back() == '\r')) {
        s.remove_suffix(1);
    }
    return s;
}

} // namespace

std::string SerialPortMap::portName(int index) {
    return "COM" + std::to_string(index + 1);
}

int SerialPortMap::portNumber(std::string_view name) noexcept {
    if (name.size() < 4 || name.size() > 6) {
        return 0;
    }
    for (std::size_t i = 0; i < 3; ++i) {
        const char c = static_cast<char>(name[i] & ~0x20);
        if (c != "COM"[i]) {
            return 0;
        }
    }
    int n = 0;
    const auto digits = name.substr(3);
    const auto [end, ec] = std::from_chars(digits.data(), digits.data() + digits.size(), n);
    if (ec != std::errc() || end != digits.data() + digits.size() || digits.front() == '0' || n < 1 ||
        n > kHighestPort) {
        return 0;
    }
    return n;
}

Result<std::string> SerialPortMap::devicePath(std::string_view portName) const {
    if (portName.find('/') != std::string_view::npos) {
        return std::string(portName);
    }
    const int n = portNumber(portName);
    if (n == 0) {
        return Result<std::string>::fail(std::string(portName) +
                                         ": not a port name (COM1 to COM255) nor a device path");
    }
    if (const auto it = overrides_.find(n); it != overrides_.end()) {
        return it->second;
    }
    return "/dev/ttyS" + std::to_string(n - 1);
}

Status SerialPortMap::setDevice(int portNumber, std::string devicePath) {
    if (portNumber < 1 || portNumber > kHighestPort) {
        return Status::fail("COM" + std::to_string(portNumber) + ": port numbers run from 1 to " +
                            std::to_string(kHighestPort));
    }
    if (devicePath.empty() || devicePath.front() != '/' ||
        devicePath.find_first_of("\r\n") != std::string::npos) {
        return Status::fail("\"" + devicePath +
                            "\": a device is given by its absolute path, such as /dev/ttyUSB0");
    }
    overrides_[portNumber] = std::move(devicePath);
    return Status::success();
}

Result<SerialPortMap> SerialPortMap::parse(std::string_view text) {
    SerialPortMap map;
    int lineNumber = 0;
    while (!text.empty()) {
        const auto eol = text.find('\n');
        const auto raw = text.substr(0, eol);
        text = eol == std::string_view::npos ? std::string_view{} : text.substr(eol + 1);
        ++lineNumber;
        const auto line = trim(raw);
        if (line.empty() || line.front() == '#') {
            continue;
        }
        const auto eq = line.find('=');
        const int n = eq == std::string_view::npos ? 0 : portNumber(trim(line.substr(0, eq)));
        if (n == 0) {
            return Result<SerialPortMap>::fail("line " + std::to_string(lineNumber) +
                                               ": expected COMn=/dev/device, found \"" + std::string(line) +
                                               "\"");
        }
        if (auto set = map.setDevice(n, std::string(trim(line.substr(eq + 1)))); !set) {
            return Result<SerialPortMap>::fail("line " + std::to_string(lineNumber) + ": " + set.message());
        }
    }
    return map;
}

std::string SerialPortMap::format() const {
    std::string text = "# COMn=device: where each port of Quillon is on this machine (default: COMn is "
                       "/dev/ttyS{n-1})\n";
    for (const auto& [n, device] : overrides_) {
        text += "COM" + std::to_string(n) + "=" + device + "\n";
    }
    return text;
}

Result<SerialPortMap> SerialPortMap::load(const std::filesystem::path& file) {
    std::error_code ec;
    if (!std::filesystem::exists(file, ec)) {
        return SerialPortMap{};
    }
    std::ifstream in(file, std::ios::binary);
    if (!in) {
        return Result<SerialPortMap>::fail(file.string() + ": can not be read");
    }
    std::ostringstream text;
    text << in.rdbuf();
    auto map = parse(text.str());
    if (!map) {
        return Result<SerialPortMap>::fail(file.string() + ", " + map.message());
    }
    return map;
}

Status SerialPortMap::save(const std::filesystem::path& file) const {
    // Written aside and renamed, so that a full disk never leaves half a file in place of the old one.
    auto temp = file;
    temp += ".new";
    {
        std::ofstream out(temp, std::ios::binary | std::ios::trunc);
        out << format();
        out.flush();
        if (!out) {
            std::error_code ignored;
            std::filesystem::remove(temp, ignored);
            return Status::fail(file.string() + ": can not be written");
        }
    }
    std::error_code ec;
    std::filesystem::rename(temp, file, ec);
    if (ec) {
        std::filesystem::remove(temp, ec);
        return Status::fail(file.string() + ": can not be written");
    }
    return Status::success();
}

} // namespace quillon
