#pragma once

#include "model/Result.h"

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <sys/types.h>
#include <vector>

namespace quillon {

// The operating-system calls a save goes through. Tests replace them to make a disk run full or a sync
// fail at a chosen moment; the fuzzers replace fsync to keep thousands of saves a second affordable.
struct FileSystemCalls {
    std::function<ssize_t(int fd, const void* data, std::size_t size)> write;
    std::function<int(int fd)> fsync;
    std::function<int(const char* from, const char* to)> rename;

    // The real calls.
    static FileSystemCalls system();
};

// Every file the tool saves is written beside its final name and renamed over it only once every byte
// has reached the disk, so a crash, a kill or a full disk at any moment leaves either the old file or
// the complete new one, never a half-written file. The old file is untouched until the rename.
//
// Only a regular file (or nothing) is ever replaced. A symbolic link is followed to the file it names. A
// pipe or a character device the user named (a FIFO, /dev/null, a terminal) is written to directly, once
// every byte is known, and never replaced; a folder, a block device or a socket is refused.
class AtomicFileWriter final {
public:
    using Producer = std::function<Status(AtomicFileWriter& out)>;

    // The temporary file gets a unique hidden name in the target's folder.
    explicit AtomicFileWriter(std::filesystem::path target,
                              FileSystemCalls calls = FileSystemCalls::system());
    // The temporary file has a fixed name in the target's folder (the settings file goes through
    // "torvik.ini"); an old file of that name is replaced.
    AtomicFileWriter(std::filesystem::path target, std::string temporaryName,
                     FileSystemCalls calls = FileSystemCalls::system());
    AtomicFileWriter(const AtomicFileWriter&) = delete;
    AtomicFileWriter& operator=(const AtomicFileWriter&) = delete;
    // Removes the temporary file unless commit() succeeded.
    ~AtomicFileWriter();

    // Creates the temporary file. Must succeed before anything is written.
    Status open();
    // Appends bytes. After the first failure every later call returns that failure.
    Status write(std::span<const std::uint8_t> bytes);
    Status write(std::string_view text);
    // Overwrites bytes already written (the application file patches an offset into its settings
    // section once the whole image is known); the range must lie within what was written.
    Status patch(std::uint64_t offset, std::span<const std::uint8_t> bytes);
    // Bytes written so far.
    std::uint64_t position() const noexcept { return position_; }
    // Flushes, syncs, closes and renames the temporary file over the target, then syncs the folder.
    Status commit();
    // Abandons the save: the temporary file is removed and the target stays as it was.
    void discard() noexcept;

    const std::filesystem::path& target() const noexcept { return target_; }
    const std::filesystem::path& temporaryPath() const noexcept { return temporary_; }
    // Whether the target is a pipe or a device that is written to directly instead of replaced.
    bool writesDirectly() const noexcept { return direct_; }

    // One whole save: open, write the bytes, commit.
    static Status writeFile(const std::filesystem::path& target, std::span<const std::uint8_t> bytes,
                            FileSystemCalls calls = FileSystemCalls::system());
    // One whole save whose bytes come from a producer; a producer failure abandons the save.
    static Status writeFile(const std::filesystem::path& target, const Producer& produce,
                            FileSystemCalls calls = FileSystemCalls::system());
    // Removes the temporary files that saves of `target` by processes no longer running left behind
    // when they were killed (every save does this before it creates its own). Returns how many were
    // removed.
    static std::size_t removeStaleTemporaries(const std::filesystem::path& target);

private:
    Status fail(std::string_view action, int error);
    Status flushBuffer();
    Status writeRaw(const std::uint8_t* data, std::size_t size);
    void closeDescriptor() noexcept;
    void classifyTarget(std::filesystem::path given);
    Status commitDirect();

    std::filesystem::path target_;
    std::filesystem::path temporary_;
    bool fixedTemporary_ = false;
    // The target is a pipe or a character device: the bytes stay in memory and go to it at commit.
    bool direct_ = false;
    // Why the target can not be written (a folder, a block device, a socket), found before anything is made.
    std::optional<std::string> refusal_;
    FileSystemCalls calls_;
    int fd_ = -1;
    std::vector<std::uint8_t> buffer_;
    std::uint64_t position_ = 0;
    std::uint64_t flushed_ = 0;
    bool created_ = false;
    bool committed_ = false;
    std::optional<Failure> failure_;
};

} // namespace quillon
