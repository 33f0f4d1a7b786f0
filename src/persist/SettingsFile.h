#pragma once

#include "model/Result.h"
#include "persist/AtomicFileWriter.h"

#include <cstddef>
#include <filesystem>
#include <string>
#include <string_view>

namespace quillon {

// "orvik.ini" in the working directory: the user and company lines, the serial port and the application
// that was open when the tool was closed. Values are taken by line position; the section headers and
// key names are only there for the person who opens the file.
class SettingsFile final {
public:
    static constexpr std::string_view kFileName = "orvik.ini";
    static constexpr std::string_view kTemporaryName = "torvik.ini";
    // The second port, when no settings file says otherwise.
    static constexpr int kDefaultComPortIndex = 1;
    static constexpr int kMaxComPortNumber = 255;
    static constexpr std::size_t kMaxFileNameLength = 255;
    static constexpr std::size_t kMaxUserNameLength = 100;

    explicit SettingsFile(std::filesystem::path folder, FileSystemCalls calls = FileSystemCalls::system());

    // Start-up: sets the COM port index from line 6 and the current file name from line 9, keeping what
    // was read when the file ends early. Returns whether all nine lines were read.
    bool readStartup(int& comPortIndex, std::string& currentFileName) const;

    // Fills the user and company names (at most kMaxUserNameLength characters each); returns whether
    // both lines were read.
    bool readUser(std::string& userName, std::string& companyName) const;

    // Shutdown: rewrites the whole file through "torvik.ini", keeping the user and company lines of
    // the previous file. Line 9 names `currentFileName` only when `recordFileName` is set.
    Status writeShutdown(int comPortIndex, std::string_view currentFileName, bool recordFileName) const;

    std::filesystem::path path() const { return folder_ / kFileName; }

private:
    bool readUserLines(std::string& userName, std::string& companyName, std::size_t limit) const;

    std::filesystem::path folder_;
    FileSystemCalls calls_;
};

} // namespace quillon
