#include "comm/UnitEmulator.h"

#include "comm/TransferProtocol.h"

#include <algorithm>
#include <cerrno>
#include <fcntl.h>
#include <poll.h>
#include <thread>
#include <unistd.h>

namespace quillon {

namespace {

std::string hex(std::uint8_t b) {
    static constexpr char kDigits[] = "0123456789ABCDEF";
    return std::string("0x") + kDigits[b >> 4] + kDigits[b & 0xF];
}

std::uint16_t baseToken(std::uint16_t token) noexcept {
    return token == 12 ? 10 : token == 42 ? 40 : token;
}

} // namespace

UnitEmulator::UnitEmulator(int fd, EmulatorSettings settings, Log log)
    : fd_(fd), settings_(std::move(settings)), log_(std::move(log)), random_(settings_.seed) {
    settings_.uploadFrameSize = std::clamp<std::uint16_t>(
        settings_.uploadFrameSize, 1, static_cast<std::uint16_t>(protocol::kUploadFrameData));
    if (const int flags = ::fcntl(fd_, F_GETFL); flags >= 0) {
        ::fcntl(fd_, F_SETFL, flags | O_NONBLOCK);
    }
}

std::uint8_t UnitEmulator::answerUnitCheck(const EmulatorSettings& settings,
                                           std::span<const std::uint8_t, 20> request) noexcept {
    const std::uint16_t token = static_cast<std::uint16_t>(request[1] | (request[2] << 8));
    const std::uint16_t kilobytes = static_cast<std::uint16_t>(request[3] | (request[4] << 8));
    if (request[0] != protocol::kUnitCheckLength || token != baseToken(settings.modelToken)) {
        return protocol::kModelMismatch;
    }
    if (kilobytes > settings.memoryKilobytes) {
        return protocol::kMemoryMismatch;
    }
    if (request[11] > settings.loggerMemory) {
        return protocol::kLoggerMismatch;
    }
    if (request[7] != 0 && !settings.touchScreen) {
        return protocol::kTouchMismatch;
    }
    return settings.passReply == protocol::kAckAlternative ? protocol::kAckAlternative : protocol::kAck;
}

Result<std::vector<std::uint8_t>> UnitEmulator::memoryImage(std::span<const std::uint8_t> file) {
    using Image = Result<std::vector<std::uint8_t>>;
    if (file.size() < 4) {
        return Image::fail("the file is " + std::to_string(file.size()) +
                           " bytes long: too short to state its length");
    }
    const std::uint32_t length = protocol::readLe32(file);
    if (length < 4 || length > protocol::kLargestImage) {
        return Image::fail("the file states a length of " + std::to_string(length) +
                           " bytes, which no unit memory holds (4 to " +
                           std::to_string(protocol::kLargestImage) + ")");
    }
    if (length > file.size()) {
        return Image::fail("the file states a length of " + std::to_string(length) + " bytes but has only " +
                           std::to_string(file.size()));
    }
    return std::vector<std::uint8_t>(file.begin(), file.begin() + length);
}

std::optional<std::vector<std::uint8_t>> UnitEmulator::storedImage() const {
    std::lock_guard lock(storeMutex_);
    return image_;
}

void UnitEmulator::setStoredImage(std::vector<std::uint8_t> image) {
    std::lock_guard lock(storeMutex_);
    image_ = std::move(image);
}

std::optional<std::vector<std::uint8_t>> UnitEmulator::storedDriver() const {
    std::lock_guard lock(storeMutex_);
    return driver_;
}

void UnitEmulator::say(const std::string& line) const {
    if (log_) {
        log_(line);
    }
}

void UnitEmulator::stop() noexcept {
    stop_ = true;
}

void UnitEmulator::reset() {
    std::unique_lock lock(resetMutex_);
    if (!running_) {
        input_.clear();
        discardInput();
        return;
    }
    const std::uint64_t before = resets_;
    resetRequested_ = true;
    resetDone_.wait(lock, [&] { return resets_ != before || !running_; });
}

void UnitEmulator::discardInput() noexcept {
    std::array<std::uint8_t, 4096> scratch{};
    while (::read(fd_, scratch.data(), scratch.size()) > 0) {
    }
}

bool UnitEmulator::fires(FaultKind kind, std::uint32_t frame) {
    bool fired = false;
    for (const auto& rule : settings_.faults) {
        if (rule.kind != kind) {
            continue;
        }
        if (rule.atFrame != 0 && kind != FaultKind::WrongChecksum) {
            fired = fired || rule.atFrame == frame;
        } else if (rule.probability > 0.0) {
            fired = std::uniform_real_distribution<double>(0.0, 1.0)(random_) < rule.probability || fired;
        } else if (rule.atFrame != 0) {
            fired = true; // a WrongChecksum rule with a frame number: every final checksum
        }
    }
    return fired;
}

void UnitEmulator::pace(SteadyClock::time_point& next, SteadyClock::time_point ready) {
    if (settings_.bytesPerSecond == 0) {
        return;
    }
    // The line's schedule is kept in absolute times, so a late wake-up does not delay the bytes after it.
    const auto byteTime = std::chrono::nanoseconds(1'000'000'000LL / settings_.bytesPerSecond);
    next = std::max(next, ready) + byteTime;
    std::this_thread::sleep_until(next);
}

std::optional<std::uint8_t> UnitEmulator::readByte(std::uint32_t timeoutMs) {
    const auto deadline = SteadyClock::now() + std::chrono::milliseconds(timeoutMs);
    while (!interrupted()) {
        if (!input_.empty()) {
            const std::uint8_t b = input_.front();
            input_.pop_front();
            // The byte is taken when it would have arrived over a line of the emulated speed.
            pace(rxNext_, inputReadAt_);
            return b;
        }
        const auto now = SteadyClock::now();
        if (now >= deadline) {
            return std::nullopt;
        }
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - now).count();
        pollfd p{fd_, POLLIN, 0};
        const int ready = ::poll(&p, 1, static_cast<int>(std::min<long long>(left + 1, 10)));
        if (ready > 0 && (p.revents & POLLIN) != 0) {
            std::array<std::uint8_t, 4096> buffer{};
            const ssize_t n = ::read(fd_, buffer.data(), buffer.size());
            if (n > 0) {
                if (input_.empty()) {
                    inputReadAt_ = SteadyClock::now();
                }
                input_.insert(input_.end(), buffer.begin(), buffer.begin() + n);
                continue;
            }
        }
        if (ready > 0 && (p.revents & POLLIN) == 0) {
            // A pseudo-terminal whose other side is closed reports a hang-up until the tool opens it again.
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
        }
    }
    return std::nullopt;
}

bool UnitEmulator::writeBytes(std::span<const std::uint8_t> bytes) {
    const auto ready = SteadyClock::now();
    std::size_t done = 0;
    while (done < bytes.size() && !interrupted()) {
        const std::size_t chunk = settings_.bytesPerSecond == 0 ? bytes.size() - done : 1;
        if (settings_.bytesPerSecond != 0) {
            pace(txNext_, ready);
        }
        const ssize_t n = ::write(fd_, bytes.data() + done, chunk);
        if (n > 0) {
            done += static_cast<std::size_t>(n);
            continue;
        }
        if (n < 0 && errno != EAGAIN && errno != EINTR && errno != EIO) {
            return false;
        }
        pollfd p{fd_, POLLOUT, 0};
        ::poll(&p, 1, 10);
    }
    return done == bytes.size();
}

void UnitEmulator::sleepFor(std::uint32_t ms) {
    const auto until = SteadyClock::now() + std::chrono::milliseconds(ms);
    while (!interrupted() && SteadyClock::now() < until) {
        std::this_thread::sleep_for(std::chrono::milliseconds(std::min<std::uint32_t>(ms, 10)));
    }
}

void UnitEmulator::goSilent() {
    say("fault: the line goes dead");
    while (readByte(settings_.silenceMs)) {
    }
    say("line back after " + std::to_string(settings_.silenceMs) + " ms of silence");
}

void UnitEmulator::run() {
    running_ = true;
    say("waiting for the tool");
    while (!stop_) {
        if (resetRequested_) {
            std::lock_guard lock(resetMutex_);
            input_.clear();
            discardInput();
            resetRequested_ = false;
            ++resets_;
            resetDone_.notify_all();
        }
        auto next = readByte(50);
        while (next && !interrupted()) {
            switch (*next) {
            case protocol::kStartDownload:
                next = downloadSession(false);
                break;
            case protocol::kStartDriverDownload:
                next = downloadSession(true);
                break;
            case protocol::kStartUpload:
                next = uploadSession();
                break;
            default:
                say("ignored byte " + hex(*next));
                next.reset();
                break;
            }
        }
    }
    std::lock_guard lock(resetMutex_);
    running_ = false;
    resetDone_.notify_all();
}

std::optional<std::uint8_t> UnitEmulator::downloadSession(bool driver) {
    const std::uint8_t start = driver ? protocol::kStartDriverDownload : protocol::kStartDownload;
    say(driver ? "driver download: start" : "application download: start");
    const std::array<std::uint8_t, 1> echo{start};
    if (!writeBytes(echo)) {
        return std::nullopt;
    }

    std::array<std::uint8_t, 20> request{};
    for (std::size_t i = 0; i < request.size(); ++i) {
        const auto b = readByte(settings_.silenceMs);
        if (!b) {
            say("no unit check: transfer abandoned");
            return std::nullopt;
        }
        if (i == 0 && *b != protocol::kUnitCheckLength) {
            return b; // a start byte sent again, or noise
        }
        request[i] = *b;
    }
    const std::uint8_t verdict = answerUnitCheck(settings_, request);
    say("unit check: model " + std::to_string(request[1] | (request[2] << 8)) + ", " +
        std::to_string(request[3] | (request[4] << 8)) + " KB: reply " + std::to_string(verdict));
    const std::array<std::uint8_t, 1> reply{verdict};
    if (!writeBytes(reply) || (verdict != protocol::kAck && verdict != protocol::kAckAlternative)) {
        return std::nullopt;
    }

    std::optional<std::uint8_t> announced;
    if (driver) {
        announced = readByte(settings_.silenceMs);
        if (!announced) {
            say("no driver checksum: transfer abandoned");
            return std::nullopt;
        }
        const std::array<std::uint8_t, 1> checksumEcho{*announced};
        if (!writeBytes(checksumEcho)) {
            return std::nullopt;
        }
    }

    std::vector<std::uint8_t> image;
    std::uint32_t offset = driver ? protocol::kDriverOffset : protocol::kApplicationOffset;
    std::uint8_t checksum = 0;
    for (std::uint32_t frame = 1;; ++frame) {
        const auto first = readByte(settings_.silenceMs);
        if (!first) {
            say("silence: transfer abandoned after " + std::to_string(image.size()) + " bytes");
            return std::nullopt;
        }
        if (*first == protocol::kEndDownload) {
            const auto sum = readByte(settings_.silenceMs);
            if (!sum) {
                return std::nullopt;
            }
            bool good = *sum == checksum && !image.empty();
            if (driver) {
                good = good && announced == protocol::blockCheck(image);
            } else {
                good = good && image.size() >= 4 && protocol::readLe32(image) == image.size();
            }
            if (fires(FaultKind::WrongChecksum, frame)) {
                say("fault: final checksum refused");
                good = false;
            }
            // The image is kept before the unit confirms it, so whoever sees the confirmation finds it
            // stored.
            if (good) {
                std::lock_guard lock(storeMutex_);
                (driver ? driver_ : image_) = image;
                ++completed_;
            }
            const std::array<std::uint8_t, 1> verdictByte{good ? protocol::kEndDownload : protocol::kReject};
            writeBytes(verdictByte);
            say(good ? (driver ? "driver of " : "image of ") + std::to_string(image.size()) + " bytes stored"
                     : std::string("final checksum wrong: nothing stored"));
            return std::nullopt;
        }
        if (*first == 0 || *first > protocol::kDownloadFrameData) {
            return first;
        }
        // The rest of the frame: offset, data, block check.
        std::vector<std::uint8_t> frameBytes{*first};
        const std::size_t length = static_cast<std::size_t>(*first) + 4;
        const bool drop = fires(FaultKind::DropByte, frame);
        const std::size_t lost = drop ? 1 + random_() % (length - 1) : 0;
        while (frameBytes.size() < length) {
            const auto b = readByte(settings_.silenceMs);
            if (!b) {
                say("frame " + std::to_string(frame) + " incomplete: transfer abandoned");
                return std::nullopt;
            }
            if (drop && frameBytes.size() == lost) {
                say("fault: byte " + std::to_string(lost) + " of frame " + std::to_string(frame) + " lost");
                continue;
            }
            frameBytes.push_back(*b);
        }
        if (fires(FaultKind::FlipByte, frame)) {
            const std::size_t at = 1 + random_() % (length - 1);
            frameBytes[at] ^= static_cast<std::uint8_t>(1u << (random_() % 8));
            say("fault: a bit of byte " + std::to_string(at) + " of frame " + std::to_string(frame) +
                " flipped");
        }
        const std::size_t n = frameBytes[0];
        const auto data = std::span<const std::uint8_t>(frameBytes).subspan(3, n);
        const std::uint32_t frameOffset = frameBytes[1] | (frameBytes[2] << 8);
        const bool good = protocol::blockCheck(data) == frameBytes[n + 3] && frameOffset == (offset & 0xFFFF);
        if (good) {
            image.insert(image.end(), data.begin(), data.end());
            if (!driver && fires(FaultKind::CorruptStore, frame)) {
                // The line carried the byte well; the memory keeps another value.
                const std::size_t at = image.size() - n + n / 2;
                image[at] ^= 0x01;
                say("fault: byte " + std::to_string(at) + " of the image stored wrong");
            }
            checksum ^= protocol::blockCheck(data);
            offset += static_cast<std::uint32_t>(protocol::kDownloadFrameData);
        } else {
            say("frame " + std::to_string(frame) + " refused (block check or offset wrong)");
        }
        std::uint8_t answer = good ? protocol::kAck : protocol::kReject;
        if (fires(FaultKind::Stall, frame)) {
            say("fault: stall of " + std::to_string(settings_.stallMs) + " ms");
            sleepFor(settings_.stallMs);
        }
        if (fires(FaultKind::Disconnect, frame)) {
            goSilent();
            return std::nullopt;
        }
        if (fires(FaultKind::LoseAck, frame)) {
            say("fault: answer to frame " + std::to_string(frame) + " lost");
            continue;
        }
        if (fires(FaultKind::CorruptAck, frame)) {
            answer = 0x5A;
            say("fault: answer to frame " + std::to_string(frame) + " corrupted");
        }
        const std::array<std::uint8_t, 1> answerByte{answer};
        if (!writeBytes(answerByte)) {
            return std::nullopt;
        }
    }
}

std::optional<std::uint8_t> UnitEmulator::uploadSession() {
    say("upload: start");
    const std::array<std::uint8_t, 1> echo{protocol::kStartUpload};
    if (!writeBytes(echo)) {
        return std::nullopt;
    }
    const auto image = storedImage();
    if (!image || image->empty()) {
        say("upload: no application in memory");
        return std::nullopt;
    }
    std::uint8_t checksum = 0;
    std::uint32_t frame = 1;
    for (std::size_t sent = 0; sent < image->size(); sent += settings_.uploadFrameSize, ++frame) {
        const auto data = std::span<const std::uint8_t>(*image).subspan(
            sent, std::min<std::size_t>(settings_.uploadFrameSize, image->size() - sent));
        checksum ^= protocol::blockCheck(data);
        auto bytes = protocol::uploadFrame(data);
        if (fires(FaultKind::Stall, frame)) {
            say("fault: stall of " + std::to_string(settings_.stallMs) + " ms");
            sleepFor(settings_.stallMs);
        }
        if (fires(FaultKind::Disconnect, frame)) {
            goSilent();
            return std::nullopt;
        }
        if (fires(FaultKind::FlipByte, frame)) {
            const std::size_t at = random_() % bytes.size();
            bytes[at] ^= static_cast<std::uint8_t>(1u << (random_() % 8));
            say("fault: a bit of byte " + std::to_string(at) + " of frame " + std::to_string(frame) +
                " flipped");
        }
        if (fires(FaultKind::DropByte, frame)) {
            const std::size_t at = random_() % bytes.size();
            bytes.erase(bytes.begin() + static_cast<std::ptrdiff_t>(at));
            say("fault: byte " + std::to_string(at) + " of frame " + std::to_string(frame) + " lost");
        }
        if (!writeBytes(bytes)) {
            return std::nullopt;
        }
        const auto answer = readByte(settings_.silenceMs);
        if (!answer) {
            say("upload: no answer to frame " + std::to_string(frame) + ": abandoned");
            return std::nullopt;
        }
        if (*answer != protocol::kAck) {
            say("upload: frame " + std::to_string(frame) + " refused by the tool");
            return *answer == protocol::kReject ? std::nullopt : answer;
        }
    }
    if (fires(FaultKind::WrongChecksum, frame)) {
        say("fault: wrong final checksum sent");
        checksum ^= 0xA5;
    }
    const std::array<std::uint8_t, 2> end{protocol::kEndUpload, checksum};
    if (!writeBytes(end)) {
        return std::nullopt;
    }
    const auto confirm = readByte(settings_.silenceMs);
    if (confirm == protocol::kEndUpload) {
        ++completed_;
        say("upload: " + std::to_string(image->size()) + " bytes confirmed by the tool");
    } else {
        say("upload: final checksum not confirmed");
    }
    return std::nullopt;
}

} // namespace quillon
