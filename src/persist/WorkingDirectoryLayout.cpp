#include "persist/WorkingDirectoryLayout.h"

#include "persist/AtomicFileWriter.h"
#include "plc/PlcCatalogFiles.h"

#include <fstream>
#include <iterator>
#include <system_error>

namespace quillon {

namespace fs = std::filesystem;

namespace {

// What happens to a shipped file that the user's folder already has.
enum class Existing { Refresh, Keep };

struct ShippedFolder {
    std::string_view from; // under the shipped data
    std::string_view to;   // under the user's root
    Existing existing;
};

// The fonts may be replaced by the user's own character set, and the working folder's files are the
// user's from the first start on; the catalogs, drivers and help pages follow the shipped version.
constexpr ShippedFolder kFolders[] = {
    {"plc", "plc", Existing::Refresh},        {"drivers", "drivers", Existing::Refresh},
    {"help", "work/help", Existing::Refresh}, {"fonts", "work/fonts", Existing::Keep},
    {"work", "work", Existing::Keep},
};

std::optional<std::string> readWhole(const fs::path& file) {
    std::ifstream in(file, std::ios::binary);
    if (!in.is_open()) {
        return std::nullopt;
    }
    std::string bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    if (in.bad()) {
        return std::nullopt;
    }
    return bytes;
}

Status problem(const fs::path& root, const fs::path& what, const std::string& reason) {
    return Status::fail("The working folder " + root.string() + " could not be prepared: " + what.string() +
                        ": " + reason + ".");
}

Status copyOne(const fs::path& root, const fs::path& from, const fs::path& to, Existing existing) {
    std::error_code ec;
    const bool present = fs::exists(to, ec);
    // The selected PLC list is the user's choice, whatever folder it lies in.
    const bool users = existing == Existing::Keep || from.filename() == PlcCatalogFiles::kSelectedList;
    if (present && users) {
        return Status::success();
    }
    const auto shipped = readWhole(from);
    if (!shipped) {
        return problem(root, from, "it cannot be read");
    }
    if (present) {
        if (fs::is_directory(to, ec)) {
            return problem(root, to, "a folder stands in the place of the file");
        }
        if (const auto current = readWhole(to); current && *current == *shipped) {
            return Status::success();
        }
    }
    const auto* data = reinterpret_cast<const std::uint8_t*>(shipped->data());
    if (Status written =
            AtomicFileWriter::writeFile(to, std::span<const std::uint8_t>(data, shipped->size()));
        !written) {
        return problem(root, to, written.message());
    }
    return Status::success();
}

// The path with links and "..", "." resolved as far as it exists, without a trailing separator.
fs::path resolved(const fs::path& path) {
    std::error_code ec;
    fs::path full = fs::weakly_canonical(fs::absolute(path, ec), ec).lexically_normal();
    if (full.has_parent_path() && full.filename().empty()) {
        full = full.parent_path();
    }
    return full;
}

// Whether `inner` is `outer` or lies inside it.
bool within(const fs::path& inner, const fs::path& outer) {
    const fs::path a = resolved(inner);
    const fs::path b = resolved(outer);
    auto ia = a.begin();
    for (auto ib = b.begin(); ib != b.end(); ++ib, ++ia) {
        if (ia == a.end() || *ia != *ib) {
            return false;
        }
    }
    return true;
}

Status makeFolder(const fs::path& root, const fs::path& folder) {
    std::error_code ec;
    fs::create_directories(folder, ec);
    if (ec || !fs::is_directory(folder)) {
        return problem(root, folder, ec ? ec.message() : "it is not a folder");
    }
    return Status::success();
}

} // namespace

fs::path WorkingDirectoryLayout::catalogFolderOf(const fs::path& workingDirectory) {
    return (workingDirectory / ".." / kCatalogFolder).lexically_normal();
}

fs::path WorkingDirectoryLayout::driverFolderOf(const fs::path& workingDirectory) {
    return (workingDirectory / ".." / kDriverFolder).lexically_normal();
}

fs::path WorkingDirectoryLayout::libraryFolderOf(const fs::path& workingDirectory) {
    return (workingDirectory / kLibraryFolder).lexically_normal();
}

bool WorkingDirectoryLayout::isPrepared(const fs::path& workingDirectory) {
    std::error_code ec;
    return fs::is_regular_file(workingDirectory / ".." / kCatalogFolder / PlcCatalogFiles::kSupportedList,
                               ec);
}

bool WorkingDirectoryLayout::isShippedData(const fs::path& folder) {
    std::error_code ec;
    return fs::is_regular_file(folder / kCatalogFolder / PlcCatalogFiles::kSupportedList, ec);
}

bool WorkingDirectoryLayout::overlapsUsersFolder(const fs::path& shipped, const fs::path& root) {
    if (within(root, shipped)) {
        return true;
    }
    for (const std::string_view folder : {kWorkFolder, kCatalogFolder, kDriverFolder}) {
        if (within(shipped, root / folder)) {
            return true;
        }
    }
    return false;
}

std::optional<fs::path> WorkingDirectoryLayout::findShippedData(const std::vector<fs::path>& candidates) {
    for (const fs::path& candidate : candidates) {
        if (!candidate.empty() && isShippedData(candidate)) {
            return candidate.lexically_normal();
        }
    }
    return std::nullopt;
}

std::optional<fs::path> WorkingDirectoryLayout::userRoot(const char* xdgDataHome, const char* home) {
    // Relative values are to be ignored: they would name a different folder from every directory.
    if (xdgDataHome != nullptr && fs::path(xdgDataHome).is_absolute()) {
        return fs::path(xdgDataHome) / kFolderName;
    }
    if (home != nullptr && fs::path(home).is_absolute()) {
        return fs::path(home) / ".local" / "share" / kFolderName;
    }
    return std::nullopt;
}

WorkingDirectoryLayout::Choice WorkingDirectoryLayout::choose(const std::optional<fs::path>& given,
                                                              const fs::path& current,
                                                              const std::optional<fs::path>& userRoot) {
    if (given) {
        return Choice{*given, false};
    }
    if (isPrepared(current) || !userRoot) {
        return Choice{current, false};
    }
    return Choice{*userRoot / kWorkFolder, true};
}

Result<WorkingDirectoryLayout::Choice>
WorkingDirectoryLayout::prepare(const std::optional<fs::path>& given, const fs::path& current,
                                const std::optional<fs::path>& userRoot,
                                const std::vector<fs::path>& shippedCandidates) {
    Choice choice = choose(given, current, userRoot);
    std::error_code ec;
    if (given && !fs::is_directory(*given, ec)) {
        return Result<Choice>::fail("The working directory \"" + given->string() + "\" does not exist.");
    }
    if (!choice.userFolder) {
        return choice;
    }
    const auto shipped = findShippedData(shippedCandidates);
    if (!shipped) {
        std::string looked;
        for (const fs::path& candidate : shippedCandidates) {
            looked += "\n" + candidate.lexically_normal().string();
        }
        return Result<Choice>::fail("The PLC catalogs shipped with the tool were not found in:" + looked +
                                    "\nStart it in a prepared working directory or give one with --workdir.");
    }
    const fs::path root = choice.workingDirectory.parent_path();
    if (overlapsUsersFolder(*shipped, root)) {
        return Result<Choice>::fail("The data installed with the tool (" + shipped->string() +
                                    ") lies in the user's folder " + root.string() +
                                    ": installing again would write over the files kept there.\n"
                                    "Install the tool with another prefix, or set XDG_DATA_HOME to "
                                    "another folder.");
    }
    if (Status laidOut = populate(*shipped, root); !laidOut) {
        return Failure{laidOut.failure()};
    }
    return choice;
}

Status WorkingDirectoryLayout::populate(const fs::path& shipped, const fs::path& root) {
    for (const fs::path& folder :
         {root / kWorkFolder, root / kWorkFolder / "Result", root / kCatalogFolder, root / kDriverFolder}) {
        if (Status made = makeFolder(root, folder); !made) {
            return made;
        }
    }
    for (const ShippedFolder& folder : kFolders) {
        const fs::path from = shipped / folder.from;
        std::error_code ec;
        if (!fs::is_directory(from, ec)) {
            continue;
        }
        const fs::path to = root / folder.to;
        if (Status made = makeFolder(root, to); !made) {
            return made;
        }
        fs::recursive_directory_iterator it(from, ec);
        if (ec) {
            return problem(root, from, ec.message());
        }
        for (const fs::recursive_directory_iterator end; it != end; it.increment(ec)) {
            if (ec) {
                return problem(root, from, ec.message());
            }
            const fs::path relative = it->path().lexically_relative(from);
            if (it->is_directory(ec)) {
                if (Status made = makeFolder(root, to / relative); !made) {
                    return made;
                }
                continue;
            }
            // The notes beside the shipped files are for whoever builds the tool.
            if (!it->is_regular_file(ec) || it->path().filename() == "README") {
                continue;
            }
            if (Status copied = copyOne(root, it->path(), to / relative, folder.existing); !copied) {
                return copied;
            }
        }
    }
    return Status::success();
}

} // namespace quillon
