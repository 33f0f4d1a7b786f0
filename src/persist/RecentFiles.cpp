#include "persist/RecentFiles.h"

#include "persist/SettingsFile.h"

#include <algorithm>

namespace quillon {

RecentFiles::RecentFiles(const std::vector<std::string>& entries) {
    for (const std::string& entry : entries) {
        if (entries_.size() == kMaxEntries) {
            break;
        }
        if (recordable(entry) && std::find(entries_.begin(), entries_.end(), entry) == entries_.end()) {
            entries_.push_back(entry);
        }
    }
}

bool RecentFiles::recordable(std::string_view path) {
    return !path.empty() && path.size() <= SettingsFile::kMaxFileNameLength &&
           path.find_first_of("\r\n") == std::string_view::npos;
}

bool RecentFiles::add(std::string_view path) {
    if (!recordable(path)) {
        return false;
    }
    remove(path);
    entries_.insert(entries_.begin(), std::string(path));
    if (entries_.size() > kMaxEntries) {
        entries_.resize(kMaxEntries);
    }
    return true;
}

void RecentFiles::remove(std::string_view path) {
    std::erase_if(entries_, [path](const std::string& entry) { return entry == path; });
}

std::size_t RecentFiles::dropMissing(const std::function<bool(const std::string&)>& exists) {
    return std::erase_if(entries_, [&exists](const std::string& entry) { return !exists(entry); });
}

} // namespace quillon
