#include "comm/TtySerialPort.h"

#include <cerrno>
#include <chrono>
#include <cstring>
#include <fcntl.h>
#include <poll.h>
#include <sys/file.h>
#include <termios.h>
#include <unistd.h>

namespace quillon {

namespace {

std::string reasonFor(const std::string& device, int error) {
    std::string text = device + ": " + std::strerror(error);
    switch (error) {
    case EACCES:
    case EPERM:
        text += " (serial ports belong to the group 'dialout': add your user to it with "
                "\"sudo usermod -aG dialout $USER\" and log in again)";
        break;
    case ENOENT:
    case ENXIO:
    case ENODEV:
        text += " (no such port on this machine: point the COM port at the right device, for example "
                "/dev/ttyUSB0)";
        break;
    case EBUSY:
    case EWOULDBLOCK:
        text += " (the port is in use by another program)";
        break;
    default:
        break;
    }
    return text;
}

std::uint64_t steadyMs() noexcept {
    return static_cast<std::uint64_t>(std::chrono::duration_cast<std::chrono::milliseconds>(
                                          std::chrono::steady_clock::now().time_since_epoch())
                                          .count());
}

} // namespace

Status TtySerialPort::open(std::string_view portName) {
    close();
    auto device = map_.devicePath(portName);
    if (!device) {
        return Status::fail(device.message());
    }
    const int fd = ::open(device->c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        return Status::fail(reasonFor(*device, errno));
    }
    // Until the lock is held the line belongs to whoever holds it: a refused open only closes its own
    // descriptor, and changes neither the line's settings nor what waits in it.
    auto refuse = [&](int error) {
        ::close(fd);
        return Status::fail(reasonFor(*device, error));
    };
    if (!::isatty(fd)) {
        ::close(fd);
        return Status::fail(*device + ": not a serial port");
    }
    // The advisory lock is the only exclusion: it belongs to the open descriptor, so the kernel lets go of it
    // however the program ends, killed included. The tty's own exclusive flag is not used, as it would
    // outlive a killed program and refuse every later open of the line.
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
        return refuse(errno == EWOULDBLOCK ? EBUSY : errno);
    }
    termios tio{};
    if (::tcgetattr(fd, &tio) != 0) {
        return refuse(errno);
    }
    ::cfmakeraw(&tio);
    tio.c_cflag &= ~static_cast<tcflag_t>(CSIZE | PARENB | CSTOPB | CRTSCTS);
    tio.c_cflag |= CS8 | CLOCAL | CREAD;
    tio.c_iflag &= ~static_cast<tcflag_t>(IXON | IXOFF | IXANY);
    // Reads return at once with whatever is waiting; the protocol does its own waiting.
    tio.c_cc[VMIN] = 0;
    tio.c_cc[VTIME] = 0;
    if (::cfsetispeed(&tio, B9600) != 0 || ::cfsetospeed(&tio, B9600) != 0 ||
        ::tcsetattr(fd, TCSANOW, &tio) != 0) {
        return refuse(errno);
    }
    fd_ = fd;
    device_ = *device;
    purge();
    return Status::success();
}

void TtySerialPort::close() noexcept {
    if (fd_ < 0) {
        return;
    }
    ::flock(fd_, LOCK_UN);
    ::close(fd_);
    fd_ = -1;
    device_.clear();
}

void TtySerialPort::purge() noexcept {
    if (fd_ >= 0) {
        ::tcflush(fd_, TCIOFLUSH);
    }
}

Result<std::size_t> TtySerialPort::write(std::span<const std::uint8_t> bytes, std::uint32_t boundMs) {
    if (fd_ < 0) {
        return Result<std::size_t>::fail("the port is not open");
    }
    const std::uint64_t start = steadyMs();
    std::size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::write(fd_, bytes.data() + done, bytes.size() - done);
        if (n > 0) {
            done += static_cast<std::size_t>(n);
            continue;
        }
        if (n < 0 && errno != EAGAIN && errno != EINTR) {
            if (done > 0) {
                break;
            }
            return Result<std::size_t>::fail(reasonFor(device_, errno));
        }
        const std::uint64_t elapsed = steadyMs() - start;
        if (elapsed >= boundMs) {
            break;
        }
        pollfd p{fd_, POLLOUT, 0};
        ::poll(&p, 1, static_cast<int>(boundMs - elapsed));
    }
    return done;
}

Result<std::size_t> TtySerialPort::read(std::span<std::uint8_t> buffer, std::uint32_t waitMs) {
    if (fd_ < 0) {
        return Result<std::size_t>::fail("the port is not open");
    }
    if (buffer.empty()) {
        return std::size_t{0};
    }
    if (waitMs > 0) {
        pollfd p{fd_, POLLIN, 0};
        const int ready = ::poll(&p, 1, static_cast<int>(waitMs));
        if (ready < 0 && errno != EINTR) {
            return Result<std::size_t>::fail(reasonFor(device_, errno));
        }
        if (ready > 0 && (p.revents & POLLIN) == 0 && (p.revents & (POLLHUP | POLLERR | POLLNVAL)) != 0) {
            return Result<std::size_t>::fail(device_ + ": the device has gone away");
        }
    }
    const ssize_t n = ::read(fd_, buffer.data(), buffer.size());
    if (n >= 0) {
        return static_cast<std::size_t>(n);
    }
    if (errno == EAGAIN || errno == EINTR) {
        return std::size_t{0};
    }
    return Result<std::size_t>::fail(reasonFor(device_, errno));
}

} // namespace quillon
