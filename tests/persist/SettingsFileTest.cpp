#include "persist/SettingsFile.h"

#include "TempFolder.h"

#include <cerrno>
#include <gtest/gtest.h>

namespace quillon {
namespace {

using test::TempFolder;

std::string fileWith(const std::string& user, const std::string& company, const std::string& port,
                     const std::string& name) {
    return "[UserInfo]\nUserName=" + user + "\nCompName=" + company + "\n\n[COM]\nComPort=" + port +
           "\n\n[Last Application]\nFileName=" + name + "\n";
}

class SettingsFileTest : public ::testing::Test {
protected:
    void write(const std::string& text) const { TempFolder::writeText(dir_ / "orvik.ini", text); }
    std::string content() const { return TempFolder::readText(dir_ / "orvik.ini"); }

    TempFolder dir_;
    SettingsFile settings_{dir_.path()};
    int port_ = SettingsFile::kDefaultComPortIndex;
    std::string name_ = "unchanged";
};

TEST_F(SettingsFileTest, AMissingFileChangesNothing) {
    EXPECT_FALSE(settings_.readStartup(port_, name_));
    EXPECT_EQ(port_, 1);
    EXPECT_EQ(name_, "unchanged");
    std::string user = "u";
    std::string company = "c";
    EXPECT_FALSE(settings_.readUser(user, company));
}

TEST_F(SettingsFileTest, ReadsThePortAndTheLastApplicationByLinePosition) {
    write(fileWith("Ann", "Works", "3", "/home/ann/line4.ovm"));
    EXPECT_TRUE(settings_.readStartup(port_, name_));
    EXPECT_EQ(port_, 2); // the third port
    EXPECT_EQ(name_, "/home/ann/line4.ovm");

    // Keys and headers are not looked at, only positions; extra lines are ignored.
    write("a\nb\nc\nd\ne\nwhatever=7\ng\nh\nx=/a=b.ovm\nextra\nlines\n");
    EXPECT_TRUE(settings_.readStartup(port_, name_));
    EXPECT_EQ(port_, 6);
    EXPECT_EQ(name_, "/a=b.ovm");

    // A file edited on another system, with carriage returns and no final line feed.
    write("[UserInfo]\r\nUserName=Bo\r\nCompName=\r\n\r\n[COM]\r\nComPort=4\r\n\r\n[Last "
          "Application]\r\nFileName=C.ovm");
    EXPECT_TRUE(settings_.readStartup(port_, name_));
    EXPECT_EQ(port_, 3);
    EXPECT_EQ(name_, "C.ovm");
}

TEST_F(SettingsFileTest, AFileThatEndsEarlyKeepsWhatWasRead) {
    write("[UserInfo]\nUserName=\nCompName=\n\n[COM]\n");
    EXPECT_FALSE(settings_.readStartup(port_, name_));
    EXPECT_EQ(port_, 1);
    EXPECT_EQ(name_, "unchanged");

    write("[UserInfo]\nUserName=\nCompName=\n\n[COM]\nComPort=5\n\n[Last Application]\n");
    EXPECT_FALSE(settings_.readStartup(port_, name_));
    EXPECT_EQ(port_, 4);
    EXPECT_EQ(name_, ""); // no line 9: nothing is reopened
}

TEST_F(SettingsFileTest, ABadPortValueKeepsThePortItHad) {
    for (const std::string value : {"", "abc", "0", "-2", "256", "99999999999999999999"}) {
        port_ = 1;
        write(fileWith("", "", value, "x.ovm"));
        EXPECT_TRUE(settings_.readStartup(port_, name_)) << value;
        EXPECT_EQ(port_, 1) << value;
    }
    write("[UserInfo]\nUserName=\nCompName=\n\n[COM]\nno value here\n\n[Last Application]\nno value\n");
    EXPECT_TRUE(settings_.readStartup(port_, name_));
    EXPECT_EQ(port_, 1);
    EXPECT_EQ(name_, "");
    // Leading digits count, as a hand-edited "ComPort= 12 ; USB" shows.
    write(fileWith("", "", " 12 ; USB", ""));
    EXPECT_TRUE(settings_.readStartup(port_, name_));
    EXPECT_EQ(port_, 11);
}

TEST_F(SettingsFileTest, LongLinesNeitherShiftPositionsNorOpenACutPath) {
    const std::string longUser(500, 'u');
    const std::string longPath = "/" + std::string(300, 'p') + ".ovm";
    write(fileWith(longUser, "Co", "2", longPath));
    EXPECT_TRUE(settings_.readStartup(port_, name_));
    EXPECT_EQ(port_, 1);
    EXPECT_EQ(name_, ""); // a cut path would name another file

    const std::string longest = "/" + std::string(250, 'p') + ".ovm"; // 255 characters
    write(fileWith("", "", "2", longest));
    EXPECT_TRUE(settings_.readStartup(port_, name_));
    EXPECT_EQ(name_, longest);
}

TEST_F(SettingsFileTest, ReadsTheUserLines) {
    write(fileWith("Ann Smith", "Smith = Sons", "2", ""));
    std::string user;
    std::string company;
    EXPECT_TRUE(settings_.readUser(user, company));
    EXPECT_EQ(user, "Ann Smith");
    EXPECT_EQ(company, "Smith = Sons");

    write("[UserInfo]\nUserName=Only\n");
    company = "old";
    EXPECT_FALSE(settings_.readUser(user, company));
    EXPECT_EQ(user, "Only");
}

TEST_F(SettingsFileTest, ShutdownWritesTheNineLines) {
    ASSERT_TRUE(settings_.writeShutdown(1, "/w/plant.ovm", true, false).ok());
    EXPECT_EQ(content(), "[UserInfo]\nUserName=\nCompName=\n\n[COM]\nComPort=2\n\n[Last Application]\n"
                         "FileName=/w/plant.ovm\n");
    EXPECT_EQ(dir_.names(), std::vector<std::string>{"orvik.ini"});

    // An unsaved application, or none, leaves line 9 empty so that the next start opens nothing.
    ASSERT_TRUE(settings_.writeShutdown(0, "/w/unsaved.ovm", false, false).ok());
    EXPECT_EQ(content(), fileWith("", "", "1", ""));
    EXPECT_TRUE(settings_.readStartup(port_, name_));
    EXPECT_EQ(port_, 0);
    EXPECT_EQ(name_, "");

    // A name with a line break would break the line positions of the next run.
    ASSERT_TRUE(settings_.writeShutdown(0, "/w/a\nb.ovm", true, false).ok());
    EXPECT_EQ(content(), fileWith("", "", "1", ""));
}

TEST_F(SettingsFileTest, FastPollingFollowsTheNineLines) {
    // Files of earlier versions, and files written with the standard timing, have no line 12.
    EXPECT_FALSE(settings_.readFastPolling()) << "no file";
    write(fileWith("Ann", "Works", "3", "/a.ovm"));
    EXPECT_FALSE(settings_.readFastPolling());
    write(fileWith("Ann", "Works", "3", "/a.ovm") + "\n[Transfer]\n");
    EXPECT_FALSE(settings_.readFastPolling()) << "a file that ends at line 11";

    ASSERT_TRUE(settings_.writeShutdown(2, "/w/plant.ovm", true, true).ok());
    EXPECT_EQ(content(),
              "[UserInfo]\nUserName=Ann\nCompName=Works\n\n[COM]\nComPort=3\n\n[Last Application]\n"
              "FileName=/w/plant.ovm\n\n[Transfer]\nFastPolling=1\n");
    EXPECT_TRUE(settings_.readFastPolling());
    // The nine lines are where they always were, for this version and every earlier one.
    EXPECT_TRUE(settings_.readStartup(port_, name_));
    EXPECT_EQ(port_, 2);
    EXPECT_EQ(name_, "/w/plant.ovm");
    std::string user;
    std::string company;
    EXPECT_TRUE(settings_.readUser(user, company));
    EXPECT_EQ(user, "Ann");

    // Only the value 1 on line 12 chooses fast polling; a long line 9 does not shift it.
    for (const std::string value : {"0", "", "yes", "11"}) {
        write(fileWith("", "", "1", "") + "\n[Transfer]\nFastPolling=" + value + "\n");
        EXPECT_FALSE(settings_.readFastPolling()) << value;
    }
    write(fileWith("", "", "1", std::string(600, 'n')) + "\n[Transfer]\nFastPolling=1\n");
    EXPECT_TRUE(settings_.readFastPolling());

    ASSERT_TRUE(settings_.writeShutdown(2, "/w/plant.ovm", true, false).ok());
    EXPECT_EQ(content(), fileWith("", "", "3", "/w/plant.ovm")) << "back to the nine lines";
    EXPECT_FALSE(settings_.readFastPolling());
}

TEST_F(SettingsFileTest, RecentFilesFollowTheTransferLines) {
    // Earlier files have no recent list; nor has a file that stops inside the list's header.
    EXPECT_TRUE(settings_.readRecentFiles().empty()) << "no file";
    write(fileWith("Ann", "Works", "3", "/a.ovm") + "\n[Transfer]\nFastPolling=1\n\n[Recent Files]\n");
    EXPECT_TRUE(settings_.readRecentFiles().empty());

    // With the standard timing the transfer lines are written too, so that the list keeps its lines.
    ASSERT_TRUE(settings_.writeShutdown(2, "/w/plant.ovm", true, false, {"/w/plant.ovm", "/w/b.ovm"}).ok());
    EXPECT_EQ(content(),
              "[UserInfo]\nUserName=Ann\nCompName=Works\n\n[COM]\nComPort=3\n\n[Last Application]\n"
              "FileName=/w/plant.ovm\n\n[Transfer]\nFastPolling=0\n\n[Recent Files]\n"
              "File1=/w/plant.ovm\nFile2=/w/b.ovm\n");
    EXPECT_EQ(settings_.readRecentFiles(), (std::vector<std::string>{"/w/plant.ovm", "/w/b.ovm"}));
    EXPECT_FALSE(settings_.readFastPolling());
    EXPECT_TRUE(settings_.readStartup(port_, name_));
    EXPECT_EQ(name_, "/w/plant.ovm");

    ASSERT_TRUE(settings_.writeShutdown(2, "", false, true, {"/w/b.ovm"}).ok());
    EXPECT_TRUE(settings_.readFastPolling());
    EXPECT_EQ(settings_.readRecentFiles(), std::vector<std::string>{"/w/b.ovm"});

    // Eight lines at most are written and read; names a line cannot hold are left out, the rest keep
    // their order. A hand-edited ninth line is not read.
    std::vector<std::string> many;
    for (int i = 1; i <= 9; ++i) {
        many.push_back("/w/f" + std::to_string(i) + ".ovm");
    }
    many.insert(many.begin() + 1, "/w/two\nlines.ovm");
    many.insert(many.begin() + 2, "");
    many.insert(many.begin() + 3, "/" + std::string(SettingsFile::kMaxFileNameLength, 'x'));
    ASSERT_TRUE(settings_.writeShutdown(0, "", false, false, many).ok());
    const auto read = settings_.readRecentFiles();
    ASSERT_EQ(read.size(), 8u);
    EXPECT_EQ(read.front(), "/w/f1.ovm");
    EXPECT_EQ(read.back(), "/w/f8.ovm");
    write(content() + "File9=/w/f9.ovm\n");
    EXPECT_EQ(settings_.readRecentFiles().size(), 8u);

    // A path of 255 characters is kept, one of 256 is not offered (a cut path names another file).
    const std::string longest = "/" + std::string(SettingsFile::kMaxFileNameLength - 1, 'y');
    const std::string tooLong = longest + "z";
    write(fileWith("", "", "1", "") + "\n[Transfer]\nFastPolling=0\n\n[Recent Files]\nFile1=" + tooLong +
          "\nFile2=" + longest + "\nFile3=\nFile4=/w/c.ovm\r\n");
    EXPECT_EQ(settings_.readRecentFiles(), (std::vector<std::string>{longest, "/w/c.ovm"}));

    // Without recent files and with the standard timing the file is back to its nine lines.
    ASSERT_TRUE(settings_.writeShutdown(0, "", false, false, {}).ok());
    EXPECT_EQ(content(), fileWith("", "", "1", ""));
}

TEST_F(SettingsFileTest, VerifyAfterDownloadFollowsAllEightRecentLines) {
    EXPECT_FALSE(settings_.readVerifyAfterDownload()) << "no file";
    ASSERT_TRUE(settings_.writeShutdown(0, "/w/plant.ovm", true, false, {"/w/plant.ovm"}).ok());
    EXPECT_FALSE(settings_.readVerifyAfterDownload()) << "a file of the earlier layout";

    // Line 25, after the eight recent lines (empty where no file is recorded).
    ASSERT_TRUE(settings_.writeShutdown(0, "/w/plant.ovm", true, false, {"/w/plant.ovm"}, true).ok());
    EXPECT_EQ(content(),
              fileWith("", "", "1", "/w/plant.ovm") +
                  "\n[Transfer]\nFastPolling=0\n\n[Recent Files]\nFile1=/w/plant.ovm\nFile2=\nFile3=\n"
                  "File4=\nFile5=\nFile6=\nFile7=\nFile8=\n\n[Download]\nVerifyAfterDownload=1\n");
    EXPECT_TRUE(settings_.readVerifyAfterDownload());
    EXPECT_FALSE(settings_.readFastPolling());
    EXPECT_EQ(settings_.readRecentFiles(), std::vector<std::string>{"/w/plant.ovm"});

    // With no recent file and fast polling: every earlier line keeps its place.
    ASSERT_TRUE(settings_.writeShutdown(0, "", false, true, {}, true).ok());
    EXPECT_TRUE(settings_.readVerifyAfterDownload());
    EXPECT_TRUE(settings_.readFastPolling());
    EXPECT_TRUE(settings_.readRecentFiles().empty());

    // Any other value on line 25, or the line one place off, is off.
    write(fileWith("", "", "1", "") +
          "\n[Transfer]\nFastPolling=0\n\n[Recent Files]\nFile1=\nFile2=\n"
          "File3=\nFile4=\nFile5=\nFile6=\nFile7=\n\n[Download]\nVerifyAfterDownload=1\n");
    EXPECT_FALSE(settings_.readVerifyAfterDownload());
    ASSERT_TRUE(settings_.writeShutdown(0, "", false, false, {}).ok());
    EXPECT_FALSE(settings_.readVerifyAfterDownload());
}

TEST_F(SettingsFileTest, UserLinesSurviveEveryRunAndExtraLinesAreDropped) {
    const std::string longCompany(150, 'c');
    write(fileWith("Ann = Smith", longCompany, "7", "/old.ovm") + "extra line\n");
    for (int run = 0; run < 3; ++run) {
        ASSERT_TRUE(settings_.readStartup(port_, name_));
        ASSERT_TRUE(settings_.writeShutdown(port_, name_, true, false).ok());
    }
    EXPECT_EQ(content(), fileWith("Ann = Smith", longCompany, "7", "/old.ovm"));
    std::string user;
    std::string company;
    EXPECT_TRUE(settings_.readUser(user, company));
    EXPECT_EQ(user, "Ann = Smith");
    EXPECT_EQ(company.size(), SettingsFile::kMaxUserNameLength);
}

TEST_F(SettingsFileTest, WindowValuesFollowEverythingAndMoveNoLine) {
    EXPECT_TRUE(settings_.readWindowValues().empty()) << "no file";
    write(fileWith("Ann", "Works", "3", "/a.ovm"));
    EXPECT_TRUE(settings_.readWindowValues().empty()) << "a file of an earlier version";

    // Without recent files or fast polling the transfer lines still come first, so that a value of 1
    // never stands on line 12.
    const std::map<std::string, std::string> values{{"TagEditor.fitBlocks", "1"},
                                                    {"Dialog.Tags", "10,20,700,500"}};
    ASSERT_TRUE(settings_.writeShutdown(2, "/w/plant.ovm", true, false, {}, false, values).ok());
    EXPECT_EQ(content(), fileWith("Ann", "Works", "3", "/w/plant.ovm") +
                             "\n[Transfer]\nFastPolling=0\n\n[Window]\nDialog.Tags=10,20,700,500\n"
                             "TagEditor.fitBlocks=1\n");
    EXPECT_FALSE(settings_.readFastPolling());
    EXPECT_TRUE(settings_.readRecentFiles().empty());
    EXPECT_EQ(settings_.readWindowValues(), values);
    EXPECT_TRUE(settings_.readStartup(port_, name_));
    EXPECT_EQ(name_, "/w/plant.ovm");

    // After the recent list; keys and values that would break their line, or pass for a file of the
    // list, are left out.
    const std::map<std::string, std::string> mixed{{"Dialog.Keys", "0,0,640,480"}, {"bad=key", "1"},
                                                   {"two", "lines\nhere"},         {"File9", "/x.ovm"},
                                                   {"[Recent Files]", "1"},        {"", "empty"}};
    ASSERT_TRUE(settings_.writeShutdown(2, "", false, true, {"/w/a.ovm", "/w/b.ovm"}, false, mixed).ok());
    EXPECT_EQ(settings_.readRecentFiles(), (std::vector<std::string>{"/w/a.ovm", "/w/b.ovm"}));
    EXPECT_TRUE(settings_.readFastPolling());
    EXPECT_EQ(settings_.readWindowValues(),
              (std::map<std::string, std::string>{{"Dialog.Keys", "0,0,640,480"}}));
}

TEST_F(SettingsFileTest, AFailedShutdownWriteLeavesTheOldFile) {
    const std::string old = fileWith("Ann", "Works", "3", "/a.ovm");
    write(old);
    auto calls = FileSystemCalls::system();
    calls.write = [](int, const void*, std::size_t) -> ssize_t {
        errno = ENOSPC;
        return -1;
    };
    const SettingsFile full(dir_.path(), calls);
    Status s = full.writeShutdown(0, "/b.ovm", true, false);
    ASSERT_FALSE(s.ok());
    EXPECT_NE(s.message().find("orvik.ini"), std::string::npos);
    EXPECT_EQ(content(), old);
    EXPECT_EQ(dir_.names(), std::vector<std::string>{"orvik.ini"});

    // "torvik.ini" cannot be created: here a folder stands in its place.
    std::filesystem::create_directory(dir_ / "torvik.ini");
    s = settings_.writeShutdown(0, "/b.ovm", true, false);
    EXPECT_FALSE(s.ok());
    EXPECT_EQ(content(), old);
}

} // namespace
} // namespace quillon
