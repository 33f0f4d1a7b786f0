#include "OvmRichApplication.h"

#include <cerrno>
#include <csignal>
#include <gtest/gtest.h>
#include <random>
#include <sys/wait.h>
#include <unistd.h>

namespace quillon::test {
namespace {

TEST(OvmSave, AFullDiskReportsTheFailureAndLeavesTheOldFile) {
    OvmFixture f;
    auto app = Application::create(500, f.prompter);
    addRichContent(f, *app, f.network(*app));
    const auto file = f.folder() / "line.ovm";
    ASSERT_TRUE(ApplicationWriter::save(*app, file, f.writeContext()));
    const auto saved = TempFolder::readBytes(file);
    EXPECT_EQ(saved, f.write(*app));
    EXPECT_EQ(app->unitSettings().extensionOffset, app->totals().applicationSize);

    app->info().title = "Changed";
    WriteContext full = f.writeContext();
    std::size_t room = 100;
    full.fileSystem.write = [&room](int fd, const void* data, std::size_t size) -> ssize_t {
        if (room == 0) {
            errno = ENOSPC;
            return -1;
        }
        const std::size_t n = std::min(room, size);
        room -= n;
        return ::write(fd, data, n);
    };
    f.prompter.clear();
    EXPECT_FALSE(ApplicationWriter::save(*app, file, full));
    ASSERT_GE(f.prompter.texts().size(), 2U);
    EXPECT_EQ(f.prompter.texts().back(), "Can not save the applicaion.\nTry again.");
    EXPECT_EQ(TempFolder::readBytes(file), saved);
    EXPECT_EQ(f.folder().names().size(), 3U); // the file, the catalogs and the library folder only
}

TEST(OvmSave, TheDownloadImageHoldsTheSameBytesAsTheFile) {
    OvmFixture f;
    auto app = Application::create(41, f.prompter);
    addRichContent(f, *app, f.network(*app));
    auto bytes = ApplicationWriter::writeDownloadImage(*app, f.folder().path(), f.writeContext());
    ASSERT_TRUE(bytes);
    EXPECT_EQ(TempFolder::readBytes(f.folder() / "dnld_ovm.ovz"), *bytes);
    EXPECT_EQ(*bytes, f.write(*app));
}

// A save killed at any moment leaves the old file or the new one, whole.
TEST(OvmSave, ASaveKilledAtARandomPointLeavesAWholeFile) {
    OvmFixture f;
    auto app = Application::create(520, f.prompter);
    addRichContent(f, *app, f.network(*app));
    const auto file = f.folder() / "line.ovm";
    ASSERT_TRUE(ApplicationWriter::save(*app, file, f.writeContext()));
    const auto oldBytes = TempFolder::readBytes(file);
    app->info().description = std::string(400, 'x');
    const auto newBytes = f.write(*app);
    ASSERT_NE(oldBytes, newBytes);

    std::mt19937 random(20261207);
    for (int round = 0; round < 12; ++round) {
        const pid_t child = ::fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            for (;;) {
                if (!ApplicationWriter::save(*app, file, f.writeContext())) {
                    ::_exit(2);
                }
            }
        }
        ::usleep(std::uniform_int_distribution<useconds_t>(100, 20000)(random));
        ::kill(child, SIGKILL);
        int status = 0;
        ::waitpid(child, &status, 0);
        ASSERT_TRUE(WIFSIGNALED(status));
        const auto now = TempFolder::readBytes(file);
        EXPECT_TRUE(now == oldBytes || now == newBytes)
            << "round " << round << ": " << now.size() << " bytes";
        auto read = f.read(now);
        EXPECT_TRUE(read) << read.message();
    }
}

} // namespace
} // namespace quillon::test
