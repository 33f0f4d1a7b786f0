#include "persist/AtomicFileWriter.h"

#include <atomic>
#include <cerrno>
#include <charconv>
#include <csignal>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <system_error>
#include <unistd.h>

namespace quillon {

namespace {

constexpr std::size_t kBufferSize = 64 * 1024;
constexpr std::string_view kTemporarySuffix = ".tmp";

std::string osReason(int error) {
    return std::generic_category().message(error);
}

// Saves through a symbolic link replace the file it points to, not the link.
std::filesystem::path resolveTarget(std::filesystem::path target) {
    std::error_code ec;
    if (std::filesystem::is_symlink(target, ec)) {
        auto resolved = std::filesystem::weakly_canonical(target, ec);
        if (!ec) {
            return resolved;
        }
    }
    return target;
}

// What a target that exists and is no regular file is, for the message that refuses it.
std::string kindOfSpecial(mode_t mode) {
    if (S_ISDIR(mode)) {
        return "It is a folder, not a file.";
    }
    if (S_ISBLK(mode)) {
        return "It is a block device; a device that holds a file system is never written to.";
    }
    if (S_ISSOCK(mode)) {
        return "It is a socket, not a file.";
    }
    return "It is not a regular file.";
}

std::filesystem::path folderOf(const std::filesystem::path& target) {
    auto folder = target.parent_path();
    return folder.empty() ? std::filesystem::path(".") : folder;
}

std::string temporaryPrefix(const std::filesystem::path& target) {
    return "." + target.filename().string() + ".";
}

std::filesystem::path uniqueTemporary(const std::filesystem::path& target) {
    static std::atomic<unsigned> counter{0};
    return folderOf(target) / (temporaryPrefix(target) + std::to_string(::getpid()) + "." +
                               std::to_string(counter.fetch_add(1)) + std::string(kTemporarySuffix));
}

} // namespace

FileSystemCalls FileSystemCalls::system() {
    return FileSystemCalls{[](int fd, const void* data, std::size_t size) { return ::write(fd, data, size); },
                           [](int fd) { return ::fsync(fd); },
                           [](const char* from, const char* to) { return ::rename(from, to); }};
}

AtomicFileWriter::AtomicFileWriter(std::filesystem::path target, FileSystemCalls calls)
    : calls_(std::move(calls)) {
    classifyTarget(std::move(target));
    temporary_ = uniqueTemporary(target_);
}

AtomicFileWriter::AtomicFileWriter(std::filesystem::path target, std::string temporaryName,
                                   FileSystemCalls calls)
    : fixedTemporary_(true), calls_(std::move(calls)) {
    classifyTarget(std::move(target));
    temporary_ = folderOf(target_) / temporaryName;
}

void AtomicFileWriter::classifyTarget(std::filesystem::path given) {
    // stat follows every link, so a link to a device is judged by the device and a link to a file by
    // the file.
    struct stat info {};
    if (::stat(given.c_str(), &info) != 0 || S_ISREG(info.st_mode)) {
        target_ = resolveTarget(std::move(given));
        return;
    }
    target_ = std::move(given);
    if (S_ISFIFO(info.st_mode) || S_ISCHR(info.st_mode)) {
        direct_ = true;
        return;
    }
    refusal_ = kindOfSpecial(info.st_mode);
}

AtomicFileWriter::~AtomicFileWriter() {
    discard();
}

Status AtomicFileWriter::fail(std::string_view action, int error) {
    if (!failure_) {
        failure_ = Failure{"Can not " + std::string(action) + " the file " + target_.string() + ".\n" +
                               osReason(error),
                           error};
    }
    return Status(*failure_);
}

Status AtomicFileWriter::open() {
    if (fd_ >= 0 || committed_) {
        return Status::success();
    }
    if (failure_) {
        return Status(*failure_);
    }
    if (refusal_) {
        failure_ = Failure{"Can not write the file " + target_.string() + ".\n" + *refusal_, EISDIR};
        return Status(*failure_);
    }
    if (direct_) {
        // Nothing is opened before the bytes are complete: a pipe's reader sees all or nothing of a save
        // that fails on the way.
        created_ = true;
        return Status::success();
    }
    // Saves of this target that were killed before their rename left their temporary files behind; the
    // next save clears those of writers that no longer run.
    if (!fixedTemporary_) {
        (void)removeStaleTemporaries(target_);
    }
    // A fixed temporary name may be a leftover of an earlier run: it is replaced, but never followed
    // through a link.
    const int flags = O_WRONLY | O_CREAT | O_CLOEXEC | O_NOFOLLOW | (fixedTemporary_ ? O_TRUNC : O_EXCL);
    fd_ = ::open(temporary_.c_str(), flags, 0666);
    if (fd_ < 0) {
        return fail("create a temporary file for", errno);
    }
    created_ = true;
    // The saved file keeps the permissions of the one it replaces.
    struct stat old {};
    if (::stat(target_.c_str(), &old) == 0) {
        (void)::fchmod(fd_, old.st_mode & 07777);
    }
    buffer_.reserve(kBufferSize);
    return Status::success();
}

Status AtomicFileWriter::writeRaw(const std::uint8_t* data, std::size_t size) {
    while (size > 0) {
        const ssize_t n = calls_.write(fd_, data, size);
        if (n < 0) {
            if (errno == EINTR) {
                continue;
            }
            return fail("write", errno);
        }
        if (n == 0) {
            // A write that takes nothing and names no error means the device has no room left.
            return fail("write", ENOSPC);
        }
        data += n;
        size -= static_cast<std::size_t>(n);
        flushed_ += static_cast<std::uint64_t>(n);
    }
    return Status::success();
}

Status AtomicFileWriter::flushBuffer() {
    if (buffer_.empty()) {
        return Status::success();
    }
    Status status = writeRaw(buffer_.data(), buffer_.size());
    buffer_.clear();
    return status;
}

Status AtomicFileWriter::write(std::span<const std::uint8_t> bytes) {
    if (failure_) {
        return Status(*failure_);
    }
    if (direct_ && created_) {
        position_ += bytes.size();
        buffer_.insert(buffer_.end(), bytes.begin(), bytes.end());
        return Status::success();
    }
    if (fd_ < 0) {
        return fail("write", EBADF);
    }
    position_ += bytes.size();
    if (buffer_.size() + bytes.size() > kBufferSize) {
        if (Status s = flushBuffer(); !s) {
            return s;
        }
        if (bytes.size() >= kBufferSize) {
            return writeRaw(bytes.data(), bytes.size());
        }
    }
    buffer_.insert(buffer_.end(), bytes.begin(), bytes.end());
    return Status::success();
}

Status AtomicFileWriter::write(std::string_view text) {
    return write(
        std::span<const std::uint8_t>(reinterpret_cast<const std::uint8_t*>(text.data()), text.size()));
}

Status AtomicFileWriter::patch(std::uint64_t offset, std::span<const std::uint8_t> bytes) {
    if (failure_) {
        return Status(*failure_);
    }
    if (fd_ < 0 && !(direct_ && created_)) {
        return fail("write", EBADF);
    }
    if (offset > position_ || bytes.size() > position_ - offset) {
        return fail("write", EINVAL);
    }
    // Whatever is still in the buffer is patched there; the rest on disk.
    std::size_t done = 0;
    while (done < bytes.size()) {
        const std::uint64_t at = offset + done;
        if (at >= flushed_) {
            const auto index = static_cast<std::size_t>(at - flushed_);
            std::memcpy(buffer_.data() + index, bytes.data() + done, bytes.size() - done);
            break;
        }
        const auto onDisk =
            static_cast<std::size_t>(std::min<std::uint64_t>(flushed_ - at, bytes.size() - done));
        const ssize_t n = ::pwrite(fd_, bytes.data() + done, onDisk, static_cast<off_t>(at));
        if (n < 0) {
            if (errno == EINTR) {
                continue;
            }
            return fail("write", errno);
        }
        if (n == 0) {
            return fail("write", ENOSPC);
        }
        done += static_cast<std::size_t>(n);
    }
    return Status::success();
}

void AtomicFileWriter::closeDescriptor() noexcept {
    if (fd_ >= 0) {
        ::close(fd_);
        fd_ = -1;
    }
}

Status AtomicFileWriter::commit() {
    if (committed_) {
        return Status::success();
    }
    if (failure_) {
        discard();
        return Status(*failure_);
    }
    if (direct_ && created_) {
        return commitDirect();
    }
    if (fd_ < 0) {
        return fail("write", EBADF);
    }
    if (Status s = flushBuffer(); !s) {
        discard();
        return s;
    }
    // The data must be on the disk before the new name points at it, or a power cut right after the
    // rename would leave an empty file under the old name.
    while (calls_.fsync(fd_) != 0) {
        if (errno != EINTR) {
            const int error = errno;
            discard();
            return fail("write", error);
        }
    }
    const int fd = fd_;
    fd_ = -1;
    if (::close(fd) != 0 && errno != EINTR) {
        const int error = errno;
        discard();
        return fail("write", error);
    }
    if (calls_.rename(temporary_.c_str(), target_.c_str()) != 0) {
        const int error = errno;
        discard();
        return fail("replace", error);
    }
    committed_ = true;
    // Makes the rename itself durable. Some file systems cannot sync a folder; the file is complete
    // either way, so only a real input/output error is reported.
    const int dir = ::open(folderOf(target_).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dir >= 0) {
        const int rc = calls_.fsync(dir);
        const int error = errno;
        ::close(dir);
        if (rc != 0 && error == EIO) {
            return fail("write", error);
        }
    }
    return Status::success();
}

Status AtomicFileWriter::commitDirect() {
    // The pipe or device is opened as the shell's redirection would open it: never created, never
    // truncated, never replaced.
    fd_ = ::open(target_.c_str(), O_WRONLY | O_CLOEXEC | O_NOCTTY);
    if (fd_ < 0) {
        const int error = errno;
        discard();
        return fail("write", error);
    }
    const Status written = flushBuffer();
    closeDescriptor();
    if (!written) {
        discard();
        return written;
    }
    committed_ = true;
    return Status::success();
}

void AtomicFileWriter::discard() noexcept {
    if (committed_) {
        return;
    }
    closeDescriptor();
    if (direct_) {
        created_ = false;
        buffer_.clear();
        return;
    }
    if (created_) {
        created_ = false;
        std::error_code ec;
        std::filesystem::remove(temporary_, ec);
    }
}

Status AtomicFileWriter::writeFile(const std::filesystem::path& target, std::span<const std::uint8_t> bytes,
                                   FileSystemCalls calls) {
    return writeFile(
        target, [bytes](AtomicFileWriter& out) { return out.write(bytes); }, std::move(calls));
}

Status AtomicFileWriter::writeFile(const std::filesystem::path& target, const Producer& produce,
                                   FileSystemCalls calls) {
    AtomicFileWriter writer(target, std::move(calls));
    if (Status s = writer.open(); !s) {
        return s;
    }
    if (Status s = produce(writer); !s) {
        writer.discard();
        return s;
    }
    return writer.commit();
}

std::size_t AtomicFileWriter::removeStaleTemporaries(const std::filesystem::path& target) {
    const auto resolved = resolveTarget(target);
    const std::string prefix = temporaryPrefix(resolved);
    std::size_t removed = 0;
    std::error_code ec;
    std::filesystem::directory_iterator it(folderOf(resolved), ec);
    if (ec) {
        return 0;
    }
    for (const auto& entry : it) {
        const std::string name = entry.path().filename().string();
        if (name.size() <= prefix.size() + kTemporarySuffix.size() ||
            name.compare(0, prefix.size(), prefix) != 0 || !name.ends_with(kTemporarySuffix)) {
            continue;
        }
        const std::string_view rest(name.data() + prefix.size(), name.size() - prefix.size());
        long pid = 0;
        const auto [end, error] = std::from_chars(rest.data(), rest.data() + rest.size(), pid);
        if (error != std::errc() || end == rest.data() || *end != '.' || pid <= 0 || pid == ::getpid()) {
            continue;
        }
        if (::kill(static_cast<pid_t>(pid), 0) == 0 || errno != ESRCH) {
            continue; // its writer may still be running
        }
        if (std::filesystem::remove(entry.path(), ec)) {
            ++removed;
        }
    }
    return removed;
}

} // namespace quillon
