#include "persist/AtomicFileWriter.h"

#include "TempFolder.h"

#include <array>
#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <fstream>
#include <gtest/gtest.h>
#include <random>
#include <sched.h>
#include <sys/mount.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

namespace quillon {
namespace {

using test::TempFolder;

std::vector<std::uint8_t> pattern(std::uint32_t seed, std::size_t size) {
    std::vector<std::uint8_t> bytes(size);
    std::mt19937 rng(seed);
    for (auto& b : bytes) {
        b = static_cast<std::uint8_t>(rng());
    }
    return bytes;
}

class AtomicFileWriterTest : public ::testing::Test {
protected:
    void SetUp() override {
        target_ = dir_ / "app.ovm";
        old_ = pattern(1, 150000);
        ASSERT_TRUE(AtomicFileWriter::writeFile(target_, old_).ok());
    }
    // The old file is complete and nothing but it is in the folder.
    void expectOldFileOnly() const {
        EXPECT_EQ(TempFolder::readBytes(target_), old_);
        EXPECT_EQ(dir_.names(), std::vector<std::string>{"app.ovm"});
    }

    TempFolder dir_;
    std::filesystem::path target_;
    std::vector<std::uint8_t> old_;
};

TEST_F(AtomicFileWriterTest, ReplacesTheFileAndLeavesNoTemporaryBehind) {
    const auto newer = pattern(2, 300000);
    ASSERT_TRUE(AtomicFileWriter::writeFile(target_, newer).ok());
    EXPECT_EQ(TempFolder::readBytes(target_), newer);
    EXPECT_EQ(dir_.names(), std::vector<std::string>{"app.ovm"});

    // An empty save is a save too.
    ASSERT_TRUE(AtomicFileWriter::writeFile(target_, std::span<const std::uint8_t>()).ok());
    EXPECT_TRUE(TempFolder::readBytes(target_).empty());
}

TEST_F(AtomicFileWriterTest, KeepsThePermissionsAndLinksOfTheFileItReplaces) {
    ASSERT_EQ(::chmod(target_.c_str(), 0640), 0);
    ASSERT_TRUE(AtomicFileWriter::writeFile(target_, pattern(3, 10)).ok());
    struct stat st {};
    ASSERT_EQ(::stat(target_.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 07777, 0640U);

    const auto link = dir_ / "link.ovm";
    std::filesystem::create_symlink(target_, link);
    const auto newer = pattern(4, 1000);
    ASSERT_TRUE(AtomicFileWriter::writeFile(link, newer).ok());
    EXPECT_TRUE(std::filesystem::is_symlink(link));
    EXPECT_EQ(TempFolder::readBytes(target_), newer);
}

TEST_F(AtomicFileWriterTest, PatchBeyondTheEndFailsTheWholeSave) {
    AtomicFileWriter out(target_);
    ASSERT_TRUE(out.open().ok());
    ASSERT_TRUE(out.write(pattern(6, 10)).ok());
    EXPECT_FALSE(out.patch(8, pattern(7, 4)).ok());
    EXPECT_FALSE(out.commit().ok());
    expectOldFileOnly();
}

TEST_F(AtomicFileWriterTest, PatchesReachBytesOnDiskAndStillBuffered) {
    AtomicFileWriter out(target_);
    ASSERT_TRUE(out.open().ok());
    auto expected = pattern(5, 200000);
    for (std::size_t at = 0; at < expected.size(); at += 1000) {
        ASSERT_TRUE(out.write(std::span(expected).subspan(at, 1000)).ok());
    }
    const std::vector<std::uint8_t> stamp{9, 8, 7, 6};
    // Offset 104 is on disk, the last bytes still buffered, and one patch straddles both.
    for (const std::size_t at : {std::size_t{104}, std::size_t{199996}, std::size_t{194998}}) {
        ASSERT_TRUE(out.patch(at, stamp).ok());
        std::copy(stamp.begin(), stamp.end(), expected.begin() + static_cast<std::ptrdiff_t>(at));
    }
    EXPECT_EQ(out.position(), 200000U);
    ASSERT_TRUE(out.commit().ok());
    EXPECT_EQ(TempFolder::readBytes(target_), expected);
}

TEST_F(AtomicFileWriterTest, AFullDiskIsReportedAndTheOldFileStays) {
    // The kernel's own answer for a full device: every write goes to /dev/full.
    const int full = ::open("/dev/full", O_WRONLY | O_CLOEXEC);
    ASSERT_GE(full, 0);
    FileSystemCalls devFull = FileSystemCalls::system();
    devFull.write = [full](int, const void* data, std::size_t size) { return ::write(full, data, size); };
    Status s = AtomicFileWriter::writeFile(target_, pattern(8, 300000), devFull);
    ::close(full);
    ASSERT_FALSE(s.ok());
    EXPECT_EQ(s.code(), ENOSPC);
    EXPECT_NE(s.message().find(target_.string()), std::string::npos);
    EXPECT_NE(s.message().find("No space left on device"), std::string::npos);
    expectOldFileOnly();

    // A disk that fills up part way through, after a short write, and one whose writes take nothing.
    std::size_t room = 100000;
    FileSystemCalls filling = FileSystemCalls::system();
    filling.write = [&room](int fd, const void* data, std::size_t size) -> ssize_t {
        if (room == 0) {
            errno = ENOSPC;
            return -1;
        }
        const std::size_t n = std::min(room, size);
        room -= n;
        return ::write(fd, data, n);
    };
    s = AtomicFileWriter::writeFile(target_, pattern(9, 300000), filling);
    EXPECT_EQ(s.code(), ENOSPC);
    expectOldFileOnly();

    FileSystemCalls zero = FileSystemCalls::system();
    zero.write = [](int, const void*, std::size_t) -> ssize_t { return 0; };
    s = AtomicFileWriter::writeFile(target_, pattern(10, 10), zero);
    EXPECT_EQ(s.code(), ENOSPC);
    expectOldFileOnly();
}

TEST_F(AtomicFileWriterTest, WritesThatTakeLessOrAreInterruptedStillSaveEveryByte) {
    // A device that takes at most 1000 bytes per call.
    std::size_t calls = 0;
    FileSystemCalls small = FileSystemCalls::system();
    small.write = [&calls](int fd, const void* data, std::size_t size) -> ssize_t {
        ++calls;
        return ::write(fd, data, std::min<std::size_t>(size, 1000));
    };
    const auto newer = pattern(30, 150001);
    ASSERT_TRUE(AtomicFileWriter::writeFile(target_, newer, small).ok());
    EXPECT_EQ(TempFolder::readBytes(target_), newer);
    EXPECT_GE(calls, 151U);
    EXPECT_EQ(dir_.names(), std::vector<std::string>{"app.ovm"});

    // Every other call is interrupted by a signal before it writes anything; the rest take 999 bytes.
    bool interrupt = true;
    FileSystemCalls interrupted = FileSystemCalls::system();
    interrupted.write = [&interrupt](int fd, const void* data, std::size_t size) -> ssize_t {
        interrupt = !interrupt;
        if (!interrupt) {
            errno = EINTR;
            return -1;
        }
        return ::write(fd, data, std::min<std::size_t>(size, 999));
    };
    const auto other = pattern(31, 70000);
    Status s = AtomicFileWriter::writeFile(
        target_,
        [&other](AtomicFileWriter& out) {
            if (Status w = out.write(other); !w) {
                return w;
            }
            // A patch of bytes that went out in pieces.
            const std::array<std::uint8_t, 4> mark{0xDE, 0xAD, 0xBE, 0xEF};
            return out.patch(998, mark);
        },
        interrupted);
    ASSERT_TRUE(s.ok()) << s.message();
    auto expected = other;
    std::copy_n(std::array<std::uint8_t, 4>{0xDE, 0xAD, 0xBE, 0xEF}.begin(), 4, expected.begin() + 998);
    EXPECT_EQ(TempFolder::readBytes(target_), expected);
    EXPECT_EQ(dir_.names(), std::vector<std::string>{"app.ovm"});
}

TEST_F(AtomicFileWriterTest, FailedSyncRenameOrProducerLeaveTheOldFile) {
    FileSystemCalls badSync = FileSystemCalls::system();
    badSync.fsync = [](int) {
        errno = EIO;
        return -1;
    };
    Status s = AtomicFileWriter::writeFile(target_, pattern(11, 1000), badSync);
    EXPECT_EQ(s.code(), EIO);
    expectOldFileOnly();

    FileSystemCalls badRename = FileSystemCalls::system();
    badRename.rename = [](const char*, const char*) {
        errno = EXDEV;
        return -1;
    };
    s = AtomicFileWriter::writeFile(target_, pattern(12, 1000), badRename);
    EXPECT_EQ(s.code(), EXDEV);
    EXPECT_NE(s.message().find("Can not replace the file " + target_.string()), std::string::npos);
    expectOldFileOnly();

    s = AtomicFileWriter::writeFile(target_, [](AtomicFileWriter& out) {
        (void)out.write(std::string_view("half"));
        return Status::fail("Tag's name not defined");
    });
    EXPECT_EQ(s.message(), "Tag's name not defined");
    expectOldFileOnly();

    // Dropping a writer without commit is an abandoned save.
    {
        AtomicFileWriter out(target_);
        ASSERT_TRUE(out.open().ok());
        ASSERT_TRUE(out.write(pattern(13, 100)).ok());
    }
    expectOldFileOnly();
}

TEST_F(AtomicFileWriterTest, AFolderThatCannotBeWrittenIsNamedInTheMessage) {
    const auto missing = dir_ / "no-such-folder" / "app.ovm";
    Status s = AtomicFileWriter::writeFile(missing, pattern(14, 10));
    ASSERT_FALSE(s.ok());
    EXPECT_EQ(s.code(), ENOENT);
    EXPECT_NE(s.message().find(missing.string()), std::string::npos);
    AtomicFileWriter unopened(target_);
    EXPECT_FALSE(unopened.write(pattern(15, 1)).ok());
    expectOldFileOnly();
}

// A pipe the user named is written to directly, once the save is complete, and stays a pipe; a link to
// a pipe is the pipe.
TEST_F(AtomicFileWriterTest, APipeIsWrittenThroughAndNeverReplaced) {
    const auto fifo = dir_ / "out.fifo";
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    const auto link = dir_ / "to-fifo";
    std::filesystem::create_symlink(fifo, link);
    const auto bytes = pattern(3, 200000);
    for (const auto& target : {fifo, link}) {
        std::vector<std::uint8_t> received;
        std::thread reader([&] {
            const int fd = ::open(fifo.c_str(), O_RDONLY);
            std::array<std::uint8_t, 4096> chunk{};
            ssize_t n = 0;
            while ((n = ::read(fd, chunk.data(), chunk.size())) > 0) {
                received.insert(received.end(), chunk.begin(), chunk.begin() + n);
            }
            ::close(fd);
        });
        const Status written = AtomicFileWriter::writeFile(target, [&](AtomicFileWriter& out) {
            if (Status s = out.write(bytes); !s) {
                return s;
            }
            // The application file patches its settings once the image is known; a pipe takes that too.
            const std::array<std::uint8_t, 2> patch{0xAB, 0xCD};
            return out.patch(10, patch);
        });
        reader.join();
        ASSERT_TRUE(written.ok()) << written.message();
        auto expected = bytes;
        expected[10] = 0xAB;
        expected[11] = 0xCD;
        EXPECT_EQ(received, expected);
        struct stat info {};
        ASSERT_EQ(::lstat(fifo.c_str(), &info), 0);
        EXPECT_TRUE(S_ISFIFO(info.st_mode));
        EXPECT_TRUE(std::filesystem::is_symlink(link));
    }
    // No temporary was made beside the pipe.
    EXPECT_EQ(dir_.names(), (std::vector<std::string>{"app.ovm", "out.fifo", "to-fifo"}));
}

// A character device is written to in place: /dev/null stays /dev/null (nothing is made in /dev).
TEST_F(AtomicFileWriterTest, ACharacterDeviceIsWrittenThroughAndNeverReplaced) {
    struct stat before {};
    ASSERT_EQ(::stat("/dev/null", &before), 0);
    const auto link = dir_ / "null";
    std::filesystem::create_symlink("/dev/null", link);
    ASSERT_TRUE(AtomicFileWriter::writeFile(link, pattern(4, 1000)).ok());
    AtomicFileWriter writer(link);
    EXPECT_TRUE(writer.writesDirectly());
    EXPECT_EQ(writer.target(), link);
    struct stat after {};
    ASSERT_EQ(::stat("/dev/null", &after), 0);
    EXPECT_TRUE(S_ISCHR(after.st_mode));
    EXPECT_EQ(after.st_ino, before.st_ino);
    EXPECT_TRUE(std::filesystem::is_symlink(link));
}

// A folder, or a link to one, is refused with a message that names it, and is left as it was.
TEST_F(AtomicFileWriterTest, AFolderIsRefusedAndLeftAsItWas) {
    const auto folder = dir_ / "sub";
    std::filesystem::create_directory(folder);
    TempFolder::writeText(folder / "inside", "kept");
    const Status refused = AtomicFileWriter::writeFile(folder, pattern(5, 10));
    ASSERT_FALSE(refused.ok());
    EXPECT_EQ(refused.message(),
              "Can not write the file " + folder.string() + ".\nIt is a folder, not a file.");
    EXPECT_TRUE(std::filesystem::is_directory(folder));
    EXPECT_EQ(dir_.names(), (std::vector<std::string>{"app.ovm", "sub"}));
    const auto toFolder = dir_ / "to-sub";
    std::filesystem::create_symlink(folder, toFolder);
    EXPECT_FALSE(AtomicFileWriter::writeFile(toFolder, pattern(5, 10)).ok());
    EXPECT_TRUE(std::filesystem::is_symlink(toFolder));
}

TEST_F(AtomicFileWriterTest, AFixedTemporaryNameReplacesALeftoverAndDisappears) {
    TempFolder::writeText(dir_ / "torvik.ini", "left over from a crash");
    AtomicFileWriter out(dir_ / "orvik.ini", "torvik.ini");
    ASSERT_TRUE(out.open().ok());
    ASSERT_TRUE(out.write(std::string_view("[UserInfo]\n")).ok());
    ASSERT_TRUE(out.commit().ok());
    EXPECT_EQ(TempFolder::readText(dir_ / "orvik.ini"), "[UserInfo]\n");
    EXPECT_FALSE(std::filesystem::exists(dir_ / "torvik.ini"));
}

// A save killed at any moment leaves the old file or the complete new one, never a mixture; the
// killed writer's temporary file is cleared away afterwards.
TEST_F(AtomicFileWriterTest, ASaveKilledAtRandomPointsNeverDamagesTheFile) {
    const auto newer = pattern(16, 2 * 1024 * 1024);
    std::mt19937 rng(20240611);
    int keptOld = 0;
    int gotNew = 0;
    for (int round = 0; round < 25; ++round) {
        const pid_t pid = ::fork();
        ASSERT_GE(pid, 0);
        if (pid == 0) {
            Status s = AtomicFileWriter::writeFile(target_, [&newer](AtomicFileWriter& out) {
                for (std::size_t at = 0; at < newer.size(); at += 8192) {
                    const std::size_t n = std::min<std::size_t>(8192, newer.size() - at);
                    if (Status w = out.write(std::span(newer).subspan(at, n)); !w) {
                        return w;
                    }
                    ::usleep(100);
                }
                return Status::success();
            });
            ::_exit(s.ok() ? 0 : 1);
        }
        // The last round is left to finish, to show that the slow writer does complete.
        const bool last = round == 24;
        if (!last) {
            ::usleep(std::uniform_int_distribution<useconds_t>(0, 60000)(rng));
            ::kill(pid, SIGKILL);
        }
        int status = 0;
        ASSERT_EQ(::waitpid(pid, &status, 0), pid);
        if (last) {
            ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
        }
        const auto content = TempFolder::readBytes(target_);
        if (content == old_) {
            ++keptOld;
        } else {
            ASSERT_EQ(content, newer)
                << "round " << round << ": the file holds " << content.size() << " bytes";
            ++gotNew;
            ASSERT_TRUE(AtomicFileWriter::writeFile(target_, old_).ok());
        }
    }
    EXPECT_GT(keptOld, 0);
    EXPECT_GT(gotNew, 0);
    // The next save clears what the killed writers left.
    ASSERT_TRUE(AtomicFileWriter::writeFile(target_, old_).ok());
    expectOldFileOnly();
}

TEST_F(AtomicFileWriterTest, TheNextSaveRemovesTheTemporariesOfDeadWritersOnly) {
    // A writer that has ended: its process id names no process any more.
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        ::_exit(0);
    }
    ASSERT_EQ(::waitpid(child, nullptr, 0), child);
    const auto dead = dir_ / (".app.ovm." + std::to_string(child) + ".3.tmp");
    const auto living = dir_ / (".app.ovm." + std::to_string(::getppid()) + ".1.tmp");
    const auto otherTarget = dir_ / (".other.ovm." + std::to_string(child) + ".0.tmp");
    const auto notOurs = dir_ / (".app.ovm." + std::to_string(child) + ".3.bak");
    for (const auto& f : {dead, living, otherTarget, notOurs}) {
        TempFolder::writeText(f, "half a save");
    }
    ASSERT_TRUE(AtomicFileWriter::writeFile(target_, pattern(40, 100)).ok());
    EXPECT_FALSE(std::filesystem::exists(dead));
    EXPECT_TRUE(std::filesystem::exists(living));
    EXPECT_TRUE(std::filesystem::exists(otherTarget));
    EXPECT_TRUE(std::filesystem::exists(notOurs));
    EXPECT_EQ(dir_.names().size(), 4U);
}

TEST_F(AtomicFileWriterTest, StaleTemporariesOfRunningWritersAreKept) {
    const auto ours = dir_ / (".app.ovm." + std::to_string(::getpid()) + ".7.tmp");
    const auto parent = dir_ / (".app.ovm." + std::to_string(::getppid()) + ".1.tmp");
    const auto other = dir_ / ".other.ovm.1.1.tmp";
    for (const auto& f : {ours, parent, other}) {
        TempFolder::writeText(f, "x");
    }
    EXPECT_EQ(AtomicFileWriter::removeStaleTemporaries(target_), 0U);
    EXPECT_EQ(dir_.names().size(), 4U);
}

// Exit codes of the child that fills a small tmpfs.
constexpr int kPassed = 0;
constexpr int kNoMount = 77;

bool writeProcFile(const char* path, const std::string& text) {
    const int fd = ::open(path, O_WRONLY | O_CLOEXEC);
    if (fd < 0) {
        return false;
    }
    const bool ok = ::write(fd, text.data(), text.size()) == static_cast<ssize_t>(text.size());
    ::close(fd);
    return ok;
}

bool mountSmallTmpfs(const std::filesystem::path& where) {
    if (::unshare(CLONE_NEWNS) != 0) {
        const uid_t uid = ::getuid();
        const gid_t gid = ::getgid();
        if (::unshare(CLONE_NEWUSER | CLONE_NEWNS) != 0) {
            return false;
        }
        writeProcFile("/proc/self/setgroups", "deny");
        if (!writeProcFile("/proc/self/uid_map", "0 " + std::to_string(uid) + " 1") ||
            !writeProcFile("/proc/self/gid_map", "0 " + std::to_string(gid) + " 1")) {
            return false;
        }
    }
    return ::mount("none", "/", nullptr, MS_REC | MS_PRIVATE, nullptr) == 0 &&
           ::mount("tmpfs", where.c_str(), "tmpfs", 0, "size=256k") == 0;
}

TEST(AtomicFileWriterFullDiskTest, AReallyFullFileSystemKeepsTheOldFile) {
    TempFolder dir;
    const auto mountPoint = dir / "small";
    std::filesystem::create_directory(mountPoint);
    const pid_t pid = ::fork();
    ASSERT_GE(pid, 0);
    if (pid == 0) {
        if (!mountSmallTmpfs(mountPoint)) {
            ::_exit(kNoMount);
        }
        const auto target = mountPoint / "app.ovm";
        const auto old = pattern(21, 120 * 1024);
        if (!AtomicFileWriter::writeFile(target, old).ok()) {
            ::_exit(1);
        }
        const Status s = AtomicFileWriter::writeFile(target, pattern(22, 200 * 1024));
        if (s.ok() || s.code() != ENOSPC) {
            ::_exit(2);
        }
        if (TempFolder::readBytes(target) != old) {
            ::_exit(3);
        }
        std::size_t entries = 0;
        for ([[maybe_unused]] const auto& e : std::filesystem::directory_iterator(mountPoint)) {
            ++entries;
        }
        // The space the failed save took is given back: a smaller save now fits.
        const auto smaller = pattern(23, 100 * 1024);
        if (entries != 1 || !AtomicFileWriter::writeFile(target, smaller).ok() ||
            TempFolder::readBytes(target) != smaller) {
            ::_exit(4);
        }
        ::_exit(kPassed);
    }
    int status = 0;
    ASSERT_EQ(::waitpid(pid, &status, 0), pid);
    ASSERT_TRUE(WIFEXITED(status));
    if (WEXITSTATUS(status) == kNoMount) {
        GTEST_SKIP() << "no small tmpfs can be mounted here";
    }
    EXPECT_EQ(WEXITSTATUS(status), kPassed);
}

} // namespace
} // namespace quillon
