#include "persist/ExampleFolder.h"

#include "TempFolder.h"

#include <fstream>
#include <gtest/gtest.h>
#include <iterator>

namespace quillon {
namespace {

namespace fs = std::filesystem;
using test::TempFolder;

std::string readText(const fs::path& file) {
    std::ifstream in(file, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

class ExampleFolderTest : public ::testing::Test {
protected:
    void SetUp() override {
        fs::create_directories(shipped());
        TempFolder::writeText(shipped() / "tank-level.ovm", "tank image");
        TempFolder::writeText(shipped() / "pump-station.ovm", "pump image");
        // Neither a scenario, nor a folder named like an application, nor a hidden file is an example.
        TempFolder::writeText(shipped() / "pump-station.sim", "expect screen 1");
        TempFolder::writeText(shipped() / ".partial.ovm", "half");
        fs::create_directories(shipped() / "folder.ovm");
    }
    fs::path shipped() const { return dir_ / "share" / "examples"; }
    TempFolder dir_;
};

TEST_F(ExampleFolderTest, ListsTheApplicationFilesByName) {
    const ExampleFolder examples(shipped());
    EXPECT_EQ(examples.names(), (std::vector<std::string>{"pump-station", "tank-level"}));
    EXPECT_EQ(examples.nameList(), "pump-station, tank-level");
    EXPECT_EQ(examples.fileOf("tank-level"), shipped() / "tank-level.ovm");
    EXPECT_FALSE(examples.fileOf("tank-level.ovm"));
    EXPECT_FALSE(examples.fileOf("folder"));
    EXPECT_FALSE(examples.fileOf(""));
}

TEST_F(ExampleFolderTest, FindTakesTheFirstFolderWithExamples) {
    fs::create_directories(dir_ / "empty");
    const auto found = ExampleFolder::find({dir_ / "missing", dir_ / "empty", shipped()});
    ASSERT_TRUE(found);
    EXPECT_EQ(found->folder(), shipped());
    EXPECT_FALSE(ExampleFolder::find({dir_ / "missing", dir_ / "empty"}));
}

TEST_F(ExampleFolderTest, CopyWritesTheShippedBytesAndLeavesTheShippedFile) {
    const ExampleFolder examples(shipped());
    ASSERT_TRUE(examples.copyTo("pump-station", dir_ / "mine.ovm"));
    EXPECT_EQ(readText(dir_ / "mine.ovm"), "pump image");
    // A second copy replaces the user's file whole.
    TempFolder::writeText(dir_ / "mine.ovm", "edited");
    ASSERT_TRUE(examples.copyTo("tank-level", dir_ / "mine.ovm"));
    EXPECT_EQ(readText(dir_ / "mine.ovm"), "tank image");
    EXPECT_EQ(readText(shipped() / "pump-station.ovm"), "pump image");
}

TEST_F(ExampleFolderTest, CopyRefusesWithoutTouchingAnything) {
    const ExampleFolder examples(shipped());
    TempFolder::writeText(dir_ / "mine.ovm", "edited");

    const Status unknown = examples.copyTo("boiler", dir_ / "mine.ovm");
    ASSERT_FALSE(unknown);
    EXPECT_EQ(unknown.message(),
              "There is no example \"boiler\"; the examples are pump-station, tank-level.");

    const Status itself = examples.copyTo("tank-level", shipped() / "tank-level.ovm");
    ASSERT_FALSE(itself);
    EXPECT_NE(itself.message().find("is the shipped example itself"), std::string::npos);
    EXPECT_EQ(readText(shipped() / "tank-level.ovm"), "tank image");

    const Status folder = examples.copyTo("tank-level", dir_.path());
    ASSERT_FALSE(folder);
    EXPECT_NE(folder.message().find("is a folder"), std::string::npos);

    EXPECT_FALSE(examples.copyTo("tank-level", dir_ / "no-such-folder" / "mine.ovm"));
    EXPECT_FALSE(fs::exists(dir_ / "no-such-folder"));
    EXPECT_EQ(readText(dir_ / "mine.ovm"), "edited");
}

TEST_F(ExampleFolderTest, AnEmptyShippedFileIsRefused) {
    TempFolder::writeText(shipped() / "broken.ovm", "");
    const Status copied = ExampleFolder(shipped()).copyTo("broken", dir_ / "mine.ovm");
    ASSERT_FALSE(copied);
    EXPECT_FALSE(fs::exists(dir_ / "mine.ovm"));
}

} // namespace
} // namespace quillon
