#pragma once

#include "comm/SerialPort.h"
#include "comm/SerialPortMap.h"

namespace quillon {

// A serial port on a Linux tty device through termios. The device is held exclusively by an advisory lock on
// the open descriptor, which ends with the descriptor however the program ends; an open refused by the lock
// leaves the line exactly as its holder has it.
// The kernel's own buffers (4 KiB and up) are larger than any frame of the protocol, so no queue sizes are
// set.
class TtySerialPort final : public SerialPort {
public:
    explicit TtySerialPort(SerialPortMap map = {}) : map_(std::move(map)) {}
    ~TtySerialPort() override { close(); }

    Status open(std::string_view portName) override;
    void close() noexcept override;
    bool isOpen() const noexcept override { return fd_ >= 0; }
    void purge() noexcept override;
    Result<std::size_t> write(std::span<const std::uint8_t> bytes, std::uint32_t boundMs) override;
    Result<std::size_t> read(std::span<std::uint8_t> buffer, std::uint32_t waitMs) override;

    const SerialPortMap& map() const noexcept { return map_; }
    // Takes effect at the next open.
    void setMap(SerialPortMap map) { map_ = std::move(map); }

private:
    SerialPortMap map_;
    int fd_ = -1;
    std::string device_;
};

} // namespace quillon
