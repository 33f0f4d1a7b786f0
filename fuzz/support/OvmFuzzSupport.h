#pragma once

// What the application-image fuzz targets share: the catalogs the reader rebuilds nodes from (the shipped
// ones and a PLC of id 29 made from the first, in both PLC lists, as the starting images use it), a scratch
// folder removed at exit, and a password prompt that answers once with the password of those images.
//
// QUILLON_PLC_DIR names the shipped catalogs, else the data/plc folder beside the fuzz folder.
#include "model/Prompter.h"
#include "plc/PlcCatalogFiles.h"

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <optional>
#include <string>
#include <unistd.h>

namespace quillon::fuzz {

inline void check(bool condition) {
    if (!condition) {
        __builtin_trap();
    }
}

inline const std::filesystem::path& scratchFolder() {
    static const std::filesystem::path path = [] {
        auto p = std::filesystem::temp_directory_path() / ("quillon-fuzz-" + std::to_string(::getpid()));
        std::filesystem::create_directories(p);
        std::atexit([] {
            std::error_code ec;
            std::filesystem::remove_all(scratchFolder(), ec);
        });
        return p;
    }();
    return path;
}

inline std::filesystem::path shippedCatalogs() {
    if (const char* dir = std::getenv("QUILLON_PLC_DIR")) {
        return dir;
    }
    return std::filesystem::path(__FILE__).parent_path().parent_path().parent_path() / "data" / "plc";
}

inline const std::filesystem::path& catalogFolder() {
    static const std::filesystem::path path = [] {
        auto p = scratchFolder() / "plc";
        std::filesystem::create_directories(p);
        for (const auto& e : std::filesystem::directory_iterator(shippedCatalogs())) {
            std::filesystem::copy_file(e.path(), p / e.path().filename(),
                                       std::filesystem::copy_options::overwrite_existing);
        }
        std::filesystem::copy_file(shippedCatalogs() / "0001_001.plc", p / "0029_001.plc",
                                   std::filesystem::copy_options::overwrite_existing);
        for (const char* list : {"orvk_all.PLC", "orvk_sel.PLC"}) {
            std::ofstream(p / list, std::ios::app) << "Packed Modbus|29|\n";
        }
        // Dated an hour back, so that the catalog cache trusts them from the first input on (it reads
        // files changed within the last moments afresh every time).
        const auto settled = std::filesystem::file_time_type::clock::now() - std::chrono::hours(1);
        for (const auto& e : std::filesystem::directory_iterator(p)) {
            std::filesystem::last_write_time(e.path(), settled);
        }
        std::filesystem::last_write_time(p, settled);
        return p;
    }();
    return path;
}

// One catalog set for the whole run: the catalogs are read once, as the tool reads them once per session.
inline PlcCatalogFiles& sharedCatalogs() {
    static SilentPrompter prompter;
    static PlcCatalogFiles catalogs(catalogFolder(), prompter);
    return catalogs;
}

// Answers the first question with `password`, then cancels.
class PasswordOnce {
public:
    explicit PasswordOnce(std::string password) : password_(std::move(password)) {}
    std::optional<std::string> operator()() {
        return asked_++ == 0 ? std::optional<std::string>(password_) : std::nullopt;
    }

private:
    std::string password_;
    int asked_ = 0;
};

inline constexpr const char* kSeedPassword = "Fz9";

} // namespace quillon::fuzz
