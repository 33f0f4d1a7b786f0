#pragma once

#include "model/Result.h"
#include "persist/AtomicFileWriter.h"

#include <cstddef>
#include <filesystem>
#include <map>
#include <string>
#include <string_view>
#include <vector>

namespace quillon {

// "orvik.ini" in the working directory: the user and company lines, the serial port, the application
// that was open when the tool was closed and whether the transfers poll at once. Values are taken by line
// position; the section headers and key names are only there for the person who opens the file.
class SettingsFile final {
public:
    static constexpr std::string_view kFileName = "orvik.ini";
    static constexpr std::string_view kTemporaryName = "torvik.ini";
    // The second port, when no settings file says otherwise.
    static constexpr int kDefaultComPortIndex = 1;
    static constexpr int kMaxComPortNumber = 255;
    static constexpr std::size_t kMaxFileNameLength = 255;
    static constexpr std::size_t kMaxUserNameLength = 100;
    // Where the recent list begins and how many lines it may take.
    static constexpr int kFirstRecentLine = 15;
    static constexpr int kMaxRecentLines = 8;
    static constexpr int kVerifyLine = kFirstRecentLine + kMaxRecentLines + 2;

    explicit SettingsFile(std::filesystem::path folder, FileSystemCalls calls = FileSystemCalls::system());

    // Start-up: sets the COM port index from line 6 and the current file name from line 9, keeping what
    // was read when the file ends early. Returns whether all nine lines were read.
    bool readStartup(int& comPortIndex, std::string& currentFileName) const;

    // Fills the user and company names (at most kMaxUserNameLength characters each); returns whether
    // both lines were read.
    bool readUser(std::string& userName, std::string& companyName) const;

    // Whether the transfers poll the unit at once: line 12 holds "FastPolling=1". The standard timing is
    // kept when the line is missing, as in every file written with the standard timing and every file
    // of earlier versions, or holds anything else.
    bool readFastPolling() const;

    // The application files of the File menu's recent list, newest first: lines 15 to 22 hold
    // "File1=" to "File8=" with a full path each. Empty when the file has no such lines, as every file
    // of earlier versions.
    std::vector<std::string> readRecentFiles() const;

    // Whether the window's download reads the unit's memory back and compares it with what was sent: line 25
    // holds "VerifyAfterDownload=1". Off when the line is missing, as in every file of earlier versions.
    bool readVerifyAfterDownload() const;

    // Shutdown: rewrites the whole file through "torvik.ini", keeping the user and company lines of
    // the previous file. Line 9 names `currentFileName` only when `recordFileName` is set. With the
    // standard timing and no recent files the file has its nine lines; fast polling adds three after
    // them (an empty line, "[Transfer]" and "FastPolling=1"), so that the nine lines keep their
    // positions for every reader. Recent files add, after those three (written with "FastPolling=0"
    // under the standard timing), an empty line, "[Recent Files]" and one "FileN=" line each. Verifying after
    // download writes all eight "FileN=" lines (the unused ones empty), then an empty line, "[Download]" and
    // "VerifyAfterDownload=1" as lines 23 to 25.
    //
    // `windowValues` (the window's own choices: where each dialog stood and how large it was, the editors'
    // options) follow at the end under "[Window]", one "key=value" line each in key order. A key or value
    // that would break its line or its key is left out.
    Status writeShutdown(int comPortIndex, std::string_view currentFileName, bool recordFileName,
                         bool fastPolling, const std::vector<std::string>& recentFiles = {},
                         bool verifyAfterDownload = false,
                         const std::map<std::string, std::string>& windowValues = {}) const;

    // The "[Window]" section's values; empty when the file has none, as every file of earlier versions.
    std::map<std::string, std::string> readWindowValues() const;
    static constexpr std::string_view kWindowSection = "[Window]";

    std::filesystem::path path() const { return folder_ / kFileName; }

private:
    bool readUserLines(std::string& userName, std::string& companyName, std::size_t limit) const;

    std::filesystem::path folder_;
    FileSystemCalls calls_;
};

} // namespace quillon
