#pragma once

#include "model/Result.h"

#include <filesystem>
#include <map>
#include <string>
#include <string_view>

namespace quillon {

// Where each "COMn" port of the tool is on this machine. COMn is /dev/ttyS{n-1} unless the user has pointed
// it at another device (USB adapters appear as /dev/ttyUSB* or /dev/ttyACM*). The overrides are kept as text,
// one "COMn=/dev/..." line each, in the file kFileName of the working directory.
class SerialPortMap final {
public:
    // The port list offers COM1 to COM31.
    static constexpr int kListedPorts = 31;
    // Any COMn up to this number can be named on a command line or in the file.
    static constexpr int kHighestPort = 255;
    static constexpr std::string_view kFileName = "ports.cfg";

    // "COM%d" for a 0-based port index.
    static std::string portName(int index);
    // The number n of a name "COMn" (any case), or 0 when the name is not of that form.
    static int portNumber(std::string_view name) noexcept;

    // The device behind a port name: a COMn name through the map, a path (containing '/') as given.
    Result<std::string> devicePath(std::string_view portName) const;

    Status setDevice(int portNumber, std::string devicePath);
    void clearDevice(int portNumber) noexcept { overrides_.erase(portNumber); }
    const std::map<int, std::string>& overrides() const noexcept { return overrides_; }

    // Reads the "COMn=device" lines; blank lines and lines starting with '#' are ignored. A malformed line
    // is refused with its line number so that no mapping is silently lost.
    static Result<SerialPortMap> parse(std::string_view text);
    std::string format() const;

    // A missing file is an empty map: every port has its default device.
    static Result<SerialPortMap> load(const std::filesystem::path& file);
    Status save(const std::filesystem::path& file) const;

private:
    std::map<int, std::string> overrides_;
};

} // namespace quillon
