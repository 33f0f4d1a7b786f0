#pragma once

#include <cstddef>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace quillon {

// The application files used last, newest first, as the File menu offers them. A file opened or saved
// again moves to the top instead of standing twice; the ninth drops the oldest. Files that no longer
// exist are dropped before the list is shown. The list is kept in the settings file.
class RecentFiles final {
public:
    static constexpr std::size_t kMaxEntries = 8;

    RecentFiles() = default;
    // A list as read back: empty and unrecordable names and repeats are left out, and only the first
    // kMaxEntries are kept.
    explicit RecentFiles(const std::vector<std::string>& entries);

    // Puts `path` at the top. Names the settings file cannot hold on one line (empty, too long, with a
    // line break) are not taken; returns whether the name was taken.
    bool add(std::string_view path);
    void remove(std::string_view path);
    // Drops every entry for which `exists` says no; returns how many were dropped.
    std::size_t dropMissing(const std::function<bool(const std::string&)>& exists);

    const std::vector<std::string>& entries() const noexcept { return entries_; }
    bool empty() const noexcept { return entries_.empty(); }

    // Whether a name can be recorded in the settings file: 1 to 255 characters, no line break.
    static bool recordable(std::string_view path);

private:
    std::vector<std::string> entries_;
};

} // namespace quillon
