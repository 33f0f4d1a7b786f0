#pragma once

#include "plc/PlcCatalog.h"
#include "plc/PlcList.h"

#include <chrono>
#include <filesystem>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace quillon {

// What the catalog directory held when it was last looked at: the names of its files and the catalogs and
// lists read from them. Reading an application looks up the same few files once per node and per block,
// so the directory is listed and each file parsed again only when it has changed. A directory or file is
// taken as unchanged when its modification time (and for a file its size) is what it was; a time so close
// to the moment of the look that a change in the same clock tick could hide behind it is never trusted,
// and such an entry is read afresh every time.
class CatalogFileCache final {
public:
    // How much older than the look a modification time must be to be trusted.
    static constexpr std::chrono::seconds kSettle{2};

    explicit CatalogFileCache(std::filesystem::path directory) : directory_(std::move(directory)) {}

    // A file name as names are compared here: without regard to case, as the shipped names mix cases.
    static std::string lowerName(std::string_view name);

    // The regular files of the directory, each with its lower-case name.
    const std::vector<std::pair<std::string, std::filesystem::path>>& entries();
    // The file whose name equals `name` without regard to case.
    std::optional<std::filesystem::path> locate(std::string_view name);

    // The file read and parsed; nothing when it cannot be read or is malformed.
    std::shared_ptr<const PlcCatalog> catalog(const std::filesystem::path& path);
    std::shared_ptr<const PlcList> list(const std::filesystem::path& path);

private:
    struct Stamp {
        std::uintmax_t size = 0;
        std::filesystem::file_time_type modified;
        friend bool operator==(const Stamp&, const Stamp&) = default;
    };
    template <typename T>
    struct Parsed {
        Stamp stamp;
        bool settled = false;
        std::shared_ptr<const T> value;
    };

    static std::optional<Stamp> stampOf(const std::filesystem::path& path);
    static bool settled(std::filesystem::file_time_type modified);
    template <typename T, typename Parse>
    std::shared_ptr<const T> parsed(std::map<std::filesystem::path, Parsed<T>>& cache,
                                    const std::filesystem::path& path, Parse parse);

    std::filesystem::path directory_;
    std::optional<std::filesystem::file_time_type> listedModified_;
    bool listingSettled_ = false;
    std::vector<std::pair<std::string, std::filesystem::path>> entries_;
    std::map<std::filesystem::path, Parsed<PlcCatalog>> catalogs_;
    std::map<std::filesystem::path, Parsed<PlcList>> lists_;
};

} // namespace quillon
