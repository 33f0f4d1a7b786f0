#include "plc/CatalogFileCache.h"

#include "plc/PlcCatalogFiles.h"

#include <algorithm>
#include <cctype>
#include <system_error>

namespace quillon {

std::string CatalogFileCache::lowerName(std::string_view name) {
    std::string out(name);
    std::transform(out.begin(), out.end(), out.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return out;
}

bool CatalogFileCache::settled(std::filesystem::file_time_type modified) {
    return modified + kSettle < std::filesystem::file_time_type::clock::now();
}

std::optional<CatalogFileCache::Stamp> CatalogFileCache::stampOf(const std::filesystem::path& path) {
    std::error_code ec;
    const auto size = std::filesystem::file_size(path, ec);
    if (ec) {
        return std::nullopt;
    }
    const auto modified = std::filesystem::last_write_time(path, ec);
    if (ec) {
        return std::nullopt;
    }
    return Stamp{size, modified};
}

const std::vector<std::pair<std::string, std::filesystem::path>>& CatalogFileCache::entries() {
    std::error_code ec;
    const auto modified = std::filesystem::last_write_time(directory_, ec);
    if (!ec && listingSettled_ && listedModified_ == modified) {
        return entries_;
    }
    entries_.clear();
    listedModified_.reset();
    listingSettled_ = false;
    if (ec) {
        return entries_;
    }
    for (std::filesystem::directory_iterator it(directory_, ec), end; !ec && it != end; it.increment(ec)) {
        std::error_code kind;
        if (it->is_regular_file(kind)) {
            entries_.emplace_back(lowerName(it->path().filename().string()), it->path());
        }
    }
    if (ec) {
        entries_.clear();
        return entries_;
    }
    listedModified_ = modified;
    listingSettled_ = settled(modified);
    return entries_;
}

std::optional<std::filesystem::path> CatalogFileCache::locate(std::string_view name) {
    const std::string wanted = lowerName(name);
    for (const auto& [entry, path] : entries()) {
        if (entry == wanted) {
            return path;
        }
    }
    return std::nullopt;
}

template <typename T, typename Parse>
std::shared_ptr<const T> CatalogFileCache::parsed(std::map<std::filesystem::path, Parsed<T>>& cache,
                                                  const std::filesystem::path& path, Parse parse) {
    const auto stamp = stampOf(path);
    if (!stamp) {
        cache.erase(path);
        return nullptr;
    }
    if (const auto found = cache.find(path); found != cache.end()) {
        if (found->second.settled && found->second.stamp == *stamp) {
            return found->second.value;
        }
    }
    std::shared_ptr<const T> value;
    if (const auto content = PlcCatalogFiles::readFile(path)) {
        if (auto result = parse(*content)) {
            value = std::make_shared<const T>(std::move(result.value()));
        }
    }
    cache[path] = Parsed<T>{*stamp, settled(stamp->modified), value};
    return value;
}

std::shared_ptr<const PlcCatalog> CatalogFileCache::catalog(const std::filesystem::path& path) {
    return parsed(catalogs_, path, [](std::string_view text) { return PlcCatalog::parse(text); });
}

std::shared_ptr<const PlcList> CatalogFileCache::list(const std::filesystem::path& path) {
    return parsed(lists_, path, [](std::string_view text) { return PlcList::parse(text); });
}

} // namespace quillon
