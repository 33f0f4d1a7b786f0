#include "persist/WorkingDirectoryLayout.h"

#include "TempFolder.h"

#include <gtest/gtest.h>

namespace quillon {
namespace {

namespace fs = std::filesystem;
using test::TempFolder;

class WorkingDirectoryLayoutTest : public ::testing::Test {
protected:
    void SetUp() override {
        fs::create_directories(shipped() / "plc");
        fs::create_directories(shipped() / "drivers");
        fs::create_directories(shipped() / "help" / "pictures");
        fs::create_directories(shipped() / "fonts");
        TempFolder::writeText(shipped() / "plc" / "orvk_all.PLC", "all v1");
        TempFolder::writeText(shipped() / "plc" / "orvk_sel.PLC", "sel v1");
        TempFolder::writeText(shipped() / "plc" / "0001_001.plc", "plc v1");
        TempFolder::writeText(shipped() / "drivers" / "01000101.abs", "driver v1");
        TempFolder::writeText(shipped() / "drivers" / "README", "how the drivers are made");
        TempFolder::writeText(shipped() / "help" / "frontpage.htm", "help v1");
        TempFolder::writeText(shipped() / "help" / "pictures" / "a.png", "picture v1");
        TempFolder::writeText(shipped() / "fonts" / "orvik5x7.fnt", "font v1");
    }
    fs::path shipped() const { return dir_ / "share"; }
    fs::path root() const { return dir_ / "user" / "quillon"; }
    std::string text(const std::string& relative) const { return TempFolder::readText(root() / relative); }

    TempFolder dir_;
};

TEST_F(WorkingDirectoryLayoutTest, TheFirstStartLaysOutTheWorkingFolderBesideCatalogsAndDrivers) {
    ASSERT_TRUE(WorkingDirectoryLayout::populate(shipped(), root()).ok());
    EXPECT_EQ(text("plc/orvk_all.PLC"), "all v1");
    EXPECT_EQ(text("plc/orvk_sel.PLC"), "sel v1");
    EXPECT_EQ(text("plc/0001_001.plc"), "plc v1");
    EXPECT_EQ(text("drivers/01000101.abs"), "driver v1");
    EXPECT_FALSE(fs::exists(root() / "drivers" / "README"));
    EXPECT_EQ(text("work/help/frontpage.htm"), "help v1");
    EXPECT_EQ(text("work/help/pictures/a.png"), "picture v1");
    EXPECT_EQ(text("work/fonts/orvik5x7.fnt"), "font v1");
    EXPECT_TRUE(fs::is_directory(root() / "work" / "Result"));
    // The laid-out folder is one the tool recognises as prepared, with the catalogs where it reads them.
    const fs::path work = root() / "work";
    EXPECT_TRUE(WorkingDirectoryLayout::isPrepared(work));
    EXPECT_EQ(WorkingDirectoryLayout::catalogFolderOf(work), (root() / "plc").lexically_normal());
    EXPECT_EQ(WorkingDirectoryLayout::driverFolderOf(work), (root() / "drivers").lexically_normal());
}

TEST_F(WorkingDirectoryLayoutTest, LaterStartsKeepTheUsersFilesAndBringTheShippedOnesUpToDate) {
    ASSERT_TRUE(WorkingDirectoryLayout::populate(shipped(), root()).ok());
    // The user chose PLCs, replaced the font, saved settings, a picture library and an application.
    TempFolder::writeText(root() / "plc" / "orvk_sel.PLC", "sel mine");
    TempFolder::writeText(root() / "work" / "fonts" / "orvik5x7.fnt", "font mine");
    TempFolder::writeText(root() / "work" / "orvik.ini", "settings mine");
    TempFolder::writeText(root() / "work" / "OvmPctrs.ovp", "pictures mine");
    TempFolder::writeText(root() / "work" / "Result" / "line.ovm", "application mine");
    TempFolder::writeText(root() / "drivers" / "77000101.abs", "a driver of the user's own");
    // A damaged catalog and a deleted help page.
    TempFolder::writeText(root() / "plc" / "0001_001.plc", "plc damaged");
    fs::remove(root() / "work" / "help" / "frontpage.htm");
    // A newer tool ships changed and new files.
    TempFolder::writeText(shipped() / "plc" / "orvk_all.PLC", "all v2");
    TempFolder::writeText(shipped() / "plc" / "orvk_sel.PLC", "sel v2");
    TempFolder::writeText(shipped() / "plc" / "0002_001.plc", "new plc");
    TempFolder::writeText(shipped() / "fonts" / "orvik5x7.fnt", "font v2");
    TempFolder::writeText(shipped() / "drivers" / "01000101.abs", "driver v2");

    ASSERT_TRUE(WorkingDirectoryLayout::populate(shipped(), root()).ok());
    EXPECT_EQ(text("plc/orvk_sel.PLC"), "sel mine");
    EXPECT_EQ(text("work/fonts/orvik5x7.fnt"), "font mine");
    EXPECT_EQ(text("work/orvik.ini"), "settings mine");
    EXPECT_EQ(text("work/OvmPctrs.ovp"), "pictures mine");
    EXPECT_EQ(text("work/Result/line.ovm"), "application mine");
    EXPECT_EQ(text("drivers/77000101.abs"), "a driver of the user's own");
    EXPECT_EQ(text("plc/0001_001.plc"), "plc v1");
    EXPECT_EQ(text("work/help/frontpage.htm"), "help v1");
    EXPECT_EQ(text("plc/orvk_all.PLC"), "all v2");
    EXPECT_EQ(text("plc/0002_001.plc"), "new plc");
    EXPECT_EQ(text("drivers/01000101.abs"), "driver v2");
    // A deleted selection comes back from the shipped one.
    fs::remove(root() / "plc" / "orvk_sel.PLC");
    ASSERT_TRUE(WorkingDirectoryLayout::populate(shipped(), root()).ok());
    EXPECT_EQ(text("plc/orvk_sel.PLC"), "sel v2");
    // No work files are left behind.
    for (const auto& entry : fs::recursive_directory_iterator(root())) {
        EXPECT_NE(entry.path().filename().string().front(), '.') << entry.path();
    }
}

TEST_F(WorkingDirectoryLayoutTest, AFolderThatCannotBeMadeIsReportedAndNothingIsHalfWritten) {
    fs::create_directories(root());
    TempFolder::writeText(root() / "drivers", "a file where the folder belongs");
    const Status s = WorkingDirectoryLayout::populate(shipped(), root());
    ASSERT_FALSE(s.ok());
    EXPECT_NE(s.message().find(root().string()), std::string::npos) << s.message();
    EXPECT_NE(s.message().find("drivers"), std::string::npos) << s.message();

    fs::remove(root() / "drivers");
    fs::create_directories(root() / "plc" / "orvk_all.PLC");
    const Status blocked = WorkingDirectoryLayout::populate(shipped(), root());
    ASSERT_FALSE(blocked.ok());
    EXPECT_NE(blocked.message().find("orvk_all.PLC"), std::string::npos) << blocked.message();
}

TEST_F(WorkingDirectoryLayoutTest, ThePreparedFolderTheUsersFolderOrTheOneGiven) {
    const fs::path prepared = dir_ / "run" / "work";
    fs::create_directories(prepared);
    fs::create_directories(dir_ / "run" / "plc");
    const fs::path elsewhere = dir_ / "home";
    fs::create_directories(elsewhere);
    const std::optional<fs::path> user = dir_ / "data" / "quillon";

    // Without the catalog list beside it a folder is not prepared.
    EXPECT_FALSE(WorkingDirectoryLayout::isPrepared(prepared));
    TempFolder::writeText(dir_ / "run" / "plc" / "orvk_all.PLC", "all");
    EXPECT_TRUE(WorkingDirectoryLayout::isPrepared(prepared));

    auto choice = WorkingDirectoryLayout::choose(std::nullopt, prepared, user);
    EXPECT_EQ(choice.workingDirectory, prepared);
    EXPECT_FALSE(choice.userFolder);
    choice = WorkingDirectoryLayout::choose(std::nullopt, elsewhere, user);
    EXPECT_EQ(choice.workingDirectory, *user / "work");
    EXPECT_TRUE(choice.userFolder);
    choice = WorkingDirectoryLayout::choose(elsewhere, prepared, user);
    EXPECT_EQ(choice.workingDirectory, elsewhere) << "a folder given wins, prepared or not";
    EXPECT_FALSE(choice.userFolder);
    choice = WorkingDirectoryLayout::choose(std::nullopt, elsewhere, std::nullopt);
    EXPECT_EQ(choice.workingDirectory, elsewhere) << "no user folder: the current directory as it is";
    EXPECT_FALSE(choice.userFolder);
}

TEST_F(WorkingDirectoryLayoutTest, PreparingTheStartFillsOnlyTheUsersFolder) {
    const fs::path elsewhere = dir_ / "home";
    fs::create_directories(elsewhere);
    const std::vector<fs::path> candidates{dir_ / "bin" / ".." / "share" / "quillon", shipped()};

    auto started = WorkingDirectoryLayout::prepare(std::nullopt, elsewhere, root(), candidates);
    ASSERT_TRUE(started.ok()) << started.message();
    EXPECT_EQ(started->workingDirectory, root() / "work");
    EXPECT_EQ(text("plc/orvk_all.PLC"), "all v1");
    EXPECT_TRUE(fs::is_empty(elsewhere)) << "the current directory is left alone";

    // A folder given is used as it is; one that does not exist is refused with its name.
    started = WorkingDirectoryLayout::prepare(elsewhere, elsewhere, root(), {});
    ASSERT_TRUE(started.ok());
    EXPECT_EQ(started->workingDirectory, elsewhere);
    EXPECT_TRUE(fs::is_empty(elsewhere));
    started = WorkingDirectoryLayout::prepare(dir_ / "nowhere", elsewhere, root(), candidates);
    ASSERT_FALSE(started.ok());
    EXPECT_EQ(started.message(),
              "The working directory \"" + (dir_ / "nowhere").string() + "\" does not exist.");

    // Without shipped data the user's folder cannot be filled: the places looked at are named.
    started =
        WorkingDirectoryLayout::prepare(std::nullopt, elsewhere, dir_ / "other", {dir_ / "bin" / "share"});
    ASSERT_FALSE(started.ok());
    EXPECT_NE(started.message().find((dir_ / "bin" / "share").string()), std::string::npos)
        << started.message();
    EXPECT_FALSE(fs::exists(dir_ / "other"));
}

TEST_F(WorkingDirectoryLayoutTest, TheUsersFolderFollowsTheDataHomeVariable) {
    EXPECT_EQ(WorkingDirectoryLayout::userRoot("/x/data", "/home/ann"), fs::path("/x/data/quillon"));
    EXPECT_EQ(WorkingDirectoryLayout::userRoot(nullptr, "/home/ann"),
              fs::path("/home/ann/.local/share/quillon"));
    EXPECT_EQ(WorkingDirectoryLayout::userRoot("", "/home/ann"), fs::path("/home/ann/.local/share/quillon"));
    EXPECT_EQ(WorkingDirectoryLayout::userRoot("relative/data", "/home/ann"),
              fs::path("/home/ann/.local/share/quillon"));
    EXPECT_EQ(WorkingDirectoryLayout::userRoot(nullptr, nullptr), std::nullopt);
    EXPECT_EQ(WorkingDirectoryLayout::userRoot("relative", "also/relative"), std::nullopt);
}

TEST_F(WorkingDirectoryLayoutTest, TheShippedDataIsTheFirstCandidateWithTheCatalogList) {
    const fs::path empty = dir_ / "empty";
    fs::create_directories(empty / "plc");
    EXPECT_EQ(WorkingDirectoryLayout::findShippedData({empty, dir_ / "missing", shipped(), dir_.path()}),
              shipped().lexically_normal());
    EXPECT_EQ(WorkingDirectoryLayout::findShippedData({empty, fs::path()}), std::nullopt);
}

TEST_F(WorkingDirectoryLayoutTest, TheShippedDataNeverSharesAFolderWithTheUsersFiles) {
    const fs::path r = root();
    // A per-user installation's data beside the user's folders is apart from them, even when named alike.
    EXPECT_FALSE(WorkingDirectoryLayout::overlapsUsersFolder(r / "shipped", r));
    EXPECT_FALSE(WorkingDirectoryLayout::overlapsUsersFolder(r / "plcs", r));
    EXPECT_FALSE(WorkingDirectoryLayout::overlapsUsersFolder(r / "workshop" / "data", r));
    EXPECT_FALSE(WorkingDirectoryLayout::overlapsUsersFolder(shipped(), r));
    // The same folder, spelled in other ways, or the user's folders inside the shipped data or around it.
    EXPECT_TRUE(WorkingDirectoryLayout::overlapsUsersFolder(r, r));
    EXPECT_TRUE(WorkingDirectoryLayout::overlapsUsersFolder(r / "shipped" / "..", r));
    EXPECT_TRUE(WorkingDirectoryLayout::overlapsUsersFolder(r.string() + "/", r));
    EXPECT_TRUE(WorkingDirectoryLayout::overlapsUsersFolder(r.parent_path(), r));
    EXPECT_TRUE(WorkingDirectoryLayout::overlapsUsersFolder(r / "plc", r));
    EXPECT_TRUE(WorkingDirectoryLayout::overlapsUsersFolder(r / "drivers", r));
    EXPECT_TRUE(WorkingDirectoryLayout::overlapsUsersFolder(r / "work" / "help", r));
    // Through a link the same folder is found.
    fs::create_directories(r);
    fs::create_directory_symlink(r, dir_ / "link");
    EXPECT_TRUE(WorkingDirectoryLayout::overlapsUsersFolder(dir_ / "link", r));
}

TEST_F(WorkingDirectoryLayoutTest, AStartRefusesShippedDataInTheUsersFolderAndChangesNothing) {
    const fs::path elsewhere = dir_ / "home";
    fs::create_directories(elsewhere);
    // The tool was installed with its data in the very folder the user works in.
    ASSERT_TRUE(WorkingDirectoryLayout::populate(shipped(), root()).ok());
    TempFolder::writeText(root() / "plc" / "orvk_sel.PLC", "sel mine");
    const auto started = WorkingDirectoryLayout::prepare(std::nullopt, elsewhere, root(), {root()});
    ASSERT_FALSE(started.ok());
    EXPECT_NE(started.message().find(root().string()), std::string::npos) << started.message();
    EXPECT_NE(started.message().find("another prefix"), std::string::npos) << started.message();
    EXPECT_EQ(text("plc/orvk_sel.PLC"), "sel mine");
}

TEST_F(WorkingDirectoryLayoutTest, APerUserInstallationBesideTheUsersFolderKeepsEveryChangedFile) {
    const fs::path elsewhere = dir_ / "home";
    fs::create_directories(elsewhere);
    const fs::path inside = root() / "shipped";
    fs::create_directories(inside);
    fs::copy(shipped(), inside, fs::copy_options::recursive);
    ASSERT_TRUE(WorkingDirectoryLayout::prepare(std::nullopt, elsewhere, root(), {inside}).ok());
    TempFolder::writeText(root() / "plc" / "orvk_sel.PLC", "sel mine");
    TempFolder::writeText(root() / "work" / "fonts" / "orvik5x7.fnt", "font mine");
    TempFolder::writeText(root() / "work" / "orvik.ini", "settings mine");
    TempFolder::writeText(root() / "work" / "OvmPctrs.ovp", "pictures mine");
    // Installed again, with a newer selection and font, and started.
    TempFolder::writeText(inside / "plc" / "orvk_sel.PLC", "sel v2");
    TempFolder::writeText(inside / "fonts" / "orvik5x7.fnt", "font v2");
    TempFolder::writeText(inside / "plc" / "orvk_all.PLC", "all v2");
    ASSERT_TRUE(WorkingDirectoryLayout::prepare(std::nullopt, elsewhere, root(), {inside}).ok());
    EXPECT_EQ(text("plc/orvk_sel.PLC"), "sel mine");
    EXPECT_EQ(text("work/fonts/orvik5x7.fnt"), "font mine");
    EXPECT_EQ(text("work/orvik.ini"), "settings mine");
    EXPECT_EQ(text("work/OvmPctrs.ovp"), "pictures mine");
    EXPECT_EQ(text("plc/orvk_all.PLC"), "all v2");
    EXPECT_EQ(TempFolder::readText(inside / "plc" / "orvk_sel.PLC"), "sel v2") << "the shipped copy is apart";
}

} // namespace
} // namespace quillon
