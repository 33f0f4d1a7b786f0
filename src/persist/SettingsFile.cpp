#include "persist/SettingsFile.h"

#include <fstream>
#include <istream>
#include <limits>

namespace quillon {

namespace {

// The lengths a line may have when it is read; the rest of a longer line is skipped, so that one long
// line never shifts the following values onto the wrong line positions.
constexpr std::size_t kShortLine = 99;
constexpr std::size_t kLongLine = 399;
// The user lines are copied from one file to the next; they are read in full up to this length so
// that they stay unchanged.
constexpr std::size_t kUserLineKept = 1024;

// Reads one line of at most `limit` characters into `line`. False when the stream ended before the
// line began. A carriage return before the line feed (a file edited on another system) is dropped.
bool readLine(std::istream& in, std::size_t limit, std::string& line) {
    line.clear();
    std::streambuf* buf = in.rdbuf();
    if (!in.good() || buf == nullptr) {
        in.setstate(std::ios::failbit);
        return false;
    }
    bool any = false;
    for (;;) {
        const auto c = buf->sbumpc();
        if (c == std::char_traits<char>::eof()) {
            in.setstate(std::ios::eofbit);
            if (!any) {
                in.setstate(std::ios::failbit);
                return false;
            }
            break;
        }
        any = true;
        if (c == '\n') {
            break;
        }
        if (line.size() < limit) {
            line.push_back(static_cast<char>(c));
        }
    }
    if (!line.empty() && line.back() == '\r') {
        line.pop_back();
    }
    return true;
}

// The text after the first "="; a line without one holds no value.
std::string valueOf(const std::string& line) {
    const auto eq = line.find('=');
    return eq == std::string::npos ? std::string() : line.substr(eq + 1);
}

// The port number of line 6: leading blanks, then decimal digits. Anything that does not make a port
// number from 1 to kMaxComPortNumber gives 0, which leaves the port as it was.
int portNumberOf(const std::string& value) {
    std::size_t i = 0;
    while (i < value.size() && (value[i] == ' ' || value[i] == '\t')) {
        ++i;
    }
    if (i < value.size() && value[i] == '+') {
        ++i;
    }
    long number = 0;
    bool digits = false;
    while (i < value.size() && value[i] >= '0' && value[i] <= '9') {
        digits = true;
        number = number * 10 + (value[i] - '0');
        if (number > SettingsFile::kMaxComPortNumber) {
            return 0;
        }
        ++i;
    }
    return digits ? static_cast<int>(number) : 0;
}

bool recordable(std::string_view name) {
    return name.size() <= SettingsFile::kMaxFileNameLength &&
           name.find_first_of("\r\n") == std::string_view::npos;
}

} // namespace

SettingsFile::SettingsFile(std::filesystem::path folder, FileSystemCalls calls)
    : folder_(std::move(folder)), calls_(std::move(calls)) {}

bool SettingsFile::readStartup(int& comPortIndex, std::string& currentFileName) const {
    std::ifstream in(path(), std::ios::binary);
    if (!in.is_open()) {
        return false;
    }
    std::string line;
    for (int n = 1; n <= 6; ++n) {
        if (!readLine(in, kShortLine, line)) {
            return false;
        }
    }
    if (const int port = portNumberOf(valueOf(line)); port > 0) {
        comPortIndex = port - 1;
    }
    currentFileName.clear();
    for (int n = 7; n <= 9; ++n) {
        if (!readLine(in, kLongLine, line)) {
            return false;
        }
    }
    // A path longer than the shell keeps would be cut to the name of another file: it is not reopened.
    if (std::string name = valueOf(line); name.size() <= kMaxFileNameLength) {
        currentFileName = std::move(name);
    }
    return true;
}

bool SettingsFile::readFastPolling() const {
    std::ifstream in(path(), std::ios::binary);
    if (!in.is_open()) {
        return false;
    }
    std::string line;
    for (int n = 1; n <= 12; ++n) {
        if (!readLine(in, n >= 7 && n <= 9 ? kLongLine : kShortLine, line)) {
            return false;
        }
    }
    return valueOf(line) == "1";
}

bool SettingsFile::readVerifyAfterDownload() const {
    std::ifstream in(path(), std::ios::binary);
    if (!in.is_open()) {
        return false;
    }
    std::string line;
    for (int n = 1; n <= kVerifyLine; ++n) {
        const bool pathLine =
            (n >= 7 && n <= 9) || (n >= kFirstRecentLine && n < kFirstRecentLine + kMaxRecentLines);
        if (!readLine(in, pathLine ? kLongLine : kShortLine, line)) {
            return false;
        }
    }
    return line == "VerifyAfterDownload=1";
}

std::vector<std::string> SettingsFile::readRecentFiles() const {
    std::vector<std::string> names;
    std::ifstream in(path(), std::ios::binary);
    if (!in.is_open()) {
        return names;
    }
    std::string line;
    for (int n = 1; n < kFirstRecentLine + kMaxRecentLines; ++n) {
        const bool pathLine = (n >= 7 && n <= 9) || n >= kFirstRecentLine;
        if (!readLine(in, pathLine ? kLongLine : kShortLine, line)) {
            break;
        }
        if (n >= kFirstRecentLine) {
            // The list ends at the first line that is not one of its "FileN=" lines.
            if (line.rfind("File", 0) != 0) {
                break;
            }
            // A longer path than the list keeps is not offered: it would be cut to another file's name.
            if (std::string name = valueOf(line); !name.empty() && name.size() <= kMaxFileNameLength) {
                names.push_back(std::move(name));
            }
        }
    }
    return names;
}

bool SettingsFile::readUserLines(std::string& userName, std::string& companyName, std::size_t limit) const {
    std::ifstream in(path(), std::ios::binary);
    if (!in.is_open()) {
        return false;
    }
    std::string line;
    if (!readLine(in, limit, line)) {
        return false;
    }
    if (!readLine(in, limit, line)) {
        return false;
    }
    userName = valueOf(line);
    if (!readLine(in, limit, line)) {
        return false;
    }
    companyName = valueOf(line);
    return true;
}

bool SettingsFile::readUser(std::string& userName, std::string& companyName) const {
    const bool read = readUserLines(userName, companyName, kUserLineKept);
    if (userName.size() > kMaxUserNameLength) {
        userName.resize(kMaxUserNameLength);
    }
    if (companyName.size() > kMaxUserNameLength) {
        companyName.resize(kMaxUserNameLength);
    }
    return read;
}

std::map<std::string, std::string> SettingsFile::readWindowValues() const {
    std::map<std::string, std::string> values;
    std::ifstream in(path(), std::ios::binary);
    if (!in.is_open()) {
        return values;
    }
    std::string line;
    bool inSection = false;
    while (readLine(in, kLongLine, line)) {
        if (!line.empty() && line.front() == '[') {
            inSection = line == kWindowSection;
            continue;
        }
        const auto eq = line.find('=');
        if (inSection && eq != std::string::npos && eq > 0) {
            values[line.substr(0, eq)] = line.substr(eq + 1);
        }
    }
    return values;
}

Status SettingsFile::writeShutdown(int comPortIndex, std::string_view currentFileName, bool recordFileName,
                                   bool fastPolling, const std::vector<std::string>& recentFiles,
                                   bool verifyAfterDownload,
                                   const std::map<std::string, std::string>& windowValues) const {
    std::string userName;
    std::string companyName;
    (void)readUserLines(userName, companyName, kUserLineKept);

    std::string text;
    text += "[UserInfo]\n";
    text += "UserName=" + userName + "\n";
    text += "CompName=" + companyName + "\n";
    text += "\n";
    text += "[COM]\n";
    text += "ComPort=" + std::to_string(comPortIndex + 1) + "\n";
    text += "\n";
    text += "[Last Application]\n";
    text += "FileName=";
    // A name with a line break would push the following text onto line positions of its own.
    if (recordFileName && recordable(currentFileName)) {
        text += currentFileName;
    }
    text += "\n";
    std::vector<std::string_view> recent;
    for (const std::string& name : recentFiles) {
        if (recent.size() < static_cast<std::size_t>(kMaxRecentLines) && !name.empty() && recordable(name)) {
            recent.push_back(name);
        }
    }
    std::string window;
    for (const auto& [key, value] : windowValues) {
        const bool keyFits = !key.empty() && key.front() != '[' && key.rfind("File", 0) != 0 &&
                             key.find_first_of("=\r\n") == std::string::npos;
        if (keyFits && value.find_first_of("\r\n") == std::string::npos &&
            key.size() + value.size() < kLongLine) {
            window += key + "=" + value + "\n";
        }
    }
    // The transfer lines keep their positions whenever anything follows them.
    if (fastPolling || !recent.empty() || verifyAfterDownload || !window.empty()) {
        text += "\n";
        text += "[Transfer]\n";
        text += fastPolling ? "FastPolling=1\n" : "FastPolling=0\n";
    }
    if (!recent.empty() || verifyAfterDownload) {
        text += "\n";
        text += "[Recent Files]\n";
        // With the download section after it, the list keeps all its lines so that the section's line stays
        // where readers look for it.
        const std::size_t lines =
            verifyAfterDownload ? static_cast<std::size_t>(kMaxRecentLines) : recent.size();
        for (std::size_t i = 0; i < lines; ++i) {
            text += "File" + std::to_string(i + 1) + "=";
            if (i < recent.size()) {
                text += recent[i];
            }
            text += "\n";
        }
    }
    if (verifyAfterDownload) {
        text += "\n";
        text += "[Download]\n";
        text += "VerifyAfterDownload=1\n";
    }
    if (!window.empty()) {
        text += "\n";
        text += kWindowSection;
        text += "\n";
        text += window;
    }

    AtomicFileWriter writer(path(), std::string(kTemporaryName), calls_);
    if (Status s = writer.open(); !s) {
        return s;
    }
    if (Status s = writer.write(text); !s) {
        return s;
    }
    return writer.commit();
}

} // namespace quillon
