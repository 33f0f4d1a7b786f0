#pragma once

#include "model/Result.h"

#include <filesystem>
#include <optional>
#include <string_view>
#include <vector>

namespace quillon {

// Where the tool works. Its working directory holds the settings file, the picture library, the transfer
// images, the help pages and the fonts; the PLC catalog files lie in "../plc" and the driver files in
// "../drivers" beside it. A prepared folder (a copy of the shipped data laid out that way, as `make run`
// makes) is used as it is. An installed tool started anywhere else works in the user's own folder,
// $XDG_DATA_HOME/quillon (by default ~/.local/share/quillon), laid out as work/, plc/ and drivers/ and
// filled from the data shipped with the tool (share/quillon/shipped under the installation's prefix) at
// every start: files the user changes (the selected PLC list, the fonts, the settings file, the picture
// library) are copied only when they are missing; the other shipped files are brought up to the shipped
// version. The shipped data never shares a file with the user's folder: an installation into
// ~/.local puts it in ~/.local/share/quillon/shipped, beside the user's work/, plc/ and drivers/, and a
// start that finds the two overlapping refuses rather than writing over either.
class WorkingDirectoryLayout final {
public:
    static constexpr std::string_view kFolderName = "quillon";
    static constexpr std::string_view kWorkFolder = "work";
    static constexpr std::string_view kCatalogFolder = "plc";
    static constexpr std::string_view kDriverFolder = "drivers";
    static constexpr std::string_view kLibraryFolder = "library";

    // The folders the tool reads beside a working directory.
    static std::filesystem::path catalogFolderOf(const std::filesystem::path& workingDirectory);
    static std::filesystem::path driverFolderOf(const std::filesystem::path& workingDirectory);
    // The user's library of object groups: "library" in the working directory.
    static std::filesystem::path libraryFolderOf(const std::filesystem::path& workingDirectory);

    // Whether the catalog list lies in "../plc" beside the folder.
    static bool isPrepared(const std::filesystem::path& workingDirectory);
    // Whether a folder holds shipped data: plc/ with the catalog list.
    static bool isShippedData(const std::filesystem::path& folder);
    // Whether the shipped data and the user's root share a folder the user's files live in: the root is
    // the shipped folder or lies inside it, or the shipped folder lies inside the root's work/, plc/ or
    // drivers/. An installation there would write over what the user changed.
    static bool overlapsUsersFolder(const std::filesystem::path& shipped, const std::filesystem::path& root);
    // The first candidate that holds shipped data.
    static std::optional<std::filesystem::path>
    findShippedData(const std::vector<std::filesystem::path>& candidates);

    // The user's folder: $XDG_DATA_HOME/quillon when that variable holds an absolute path, otherwise
    // $HOME/.local/share/quillon; nothing when neither gives an absolute path. Either may be null.
    static std::optional<std::filesystem::path> userRoot(const char* xdgDataHome, const char* home);

    struct Choice {
        std::filesystem::path workingDirectory;
        // The user's folder was chosen: it is to be filled from the shipped data before use.
        bool userFolder = false;
    };
    // A folder given on the command line wins; then the current directory when it is prepared; then the
    // user's work folder; without one, the current directory as it is.
    static Choice choose(const std::optional<std::filesystem::path>& given,
                         const std::filesystem::path& current,
                         const std::optional<std::filesystem::path>& userRoot);

    // The whole start: chooses the folder, checks that a folder given exists and fills the user's folder
    // from the first candidate that holds shipped data. Fails with the message to show when the folder
    // given is missing, no shipped data is found for the user's folder, the shipped data overlaps the
    // user's folder or it cannot be laid out.
    static Result<Choice> prepare(const std::optional<std::filesystem::path>& given,
                                  const std::filesystem::path& current,
                                  const std::optional<std::filesystem::path>& userRoot,
                                  const std::vector<std::filesystem::path>& shippedCandidates);

    // Lays out root/work (with Result/, help/ and fonts/), root/plc and root/drivers from the shipped
    // data. Every file is written whole under its final name or not at all. Fails with a message naming
    // the folder or file that could not be made.
    static Status populate(const std::filesystem::path& shipped, const std::filesystem::path& root);
};

} // namespace quillon
