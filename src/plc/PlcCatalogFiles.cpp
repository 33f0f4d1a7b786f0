#include "plc/PlcCatalogFiles.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <fstream>
#include <system_error>

namespace quillon {

namespace {

constexpr std::uintmax_t kMaxFileSize = 4u * 1024u * 1024u;

} // namespace

std::optional<std::filesystem::path> PlcCatalogFiles::findNoCase(const std::filesystem::path& directory,
                                                                 std::string_view name) {
    std::error_code ec;
    const std::string wanted = CatalogFileCache::lowerName(name);
    for (std::filesystem::directory_iterator it(directory, ec), end; !ec && it != end; it.increment(ec)) {
        if (CatalogFileCache::lowerName(it->path().filename().string()) == wanted &&
            it->is_regular_file(ec)) {
            return it->path();
        }
    }
    return std::nullopt;
}

std::optional<std::string> PlcCatalogFiles::readFile(const std::filesystem::path& path) {
    std::error_code ec;
    const auto size = std::filesystem::file_size(path, ec);
    if (ec || size > kMaxFileSize) {
        return std::nullopt;
    }
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        return std::nullopt;
    }
    std::string content(static_cast<std::size_t>(size), '\0');
    in.read(content.data(), static_cast<std::streamsize>(size));
    content.resize(static_cast<std::size_t>(in.gcount()));
    return content;
}

std::optional<PlcList> PlcCatalogFiles::readList(std::string_view name) {
    const auto path = cache_.locate(name);
    if (const auto list = path ? cache_.list(*path) : nullptr) {
        return *list;
    }
    prompter_.error(kCannotOpen);
    return std::nullopt;
}

std::optional<PlcList> PlcCatalogFiles::selectedList() {
    return readList(kSelectedList);
}

std::optional<PlcList> PlcCatalogFiles::supportedList() {
    return readList(kSupportedList);
}

std::vector<std::string> PlcCatalogFiles::selectedNames() {
    const auto list = selectedList();
    return list ? list->names() : std::vector<std::string>{};
}

std::vector<std::string> PlcCatalogFiles::supportedNames() {
    const auto list = supportedList();
    return list ? list->names() : std::vector<std::string>{};
}

std::optional<std::string> PlcCatalogFiles::plcNameOfId(int plcId) {
    const auto list = selectedList();
    if (!list) {
        return std::nullopt;
    }
    auto name = list->nameOf(plcId);
    if (!name) {
        prompter_.information(kNotSelected);
    }
    return name;
}

int PlcCatalogFiles::idAtPosition(int position) {
    const auto list = selectedList();
    if (!list) {
        return -1;
    }
    const int id = list->idAt(position);
    if (id < 0) {
        prompter_.information(kNotSelected);
    }
    return id;
}

int PlcCatalogFiles::positionOfId(int plcId) {
    const auto list = selectedList();
    if (!list) {
        return -1;
    }
    const int position = list->positionOf(plcId);
    if (position < 0) {
        prompter_.information(kNotSelected);
    }
    return position;
}

std::optional<CatalogFile> PlcCatalogFiles::findCatalogFile(int plcId) {
    if (plcId >= 0 && plcId <= 255) {
        char idText[8];
        std::snprintf(idText, sizeof idText, "%04d_", plcId);
        std::optional<std::filesystem::path> best;
        int bestRevision = -1;
        for (const auto& [name, path] : cache_.entries()) {
            // "%04d_nnn.plc": the id, an underscore, three revision digits.
            if (name.size() != 12 || name.compare(0, 5, idText) != 0 || name.compare(8, 4, ".plc") != 0 ||
                !std::all_of(name.begin() + 5, name.begin() + 8,
                             [](char c) { return c >= '0' && c <= '9'; })) {
                continue;
            }
            const int revision = std::stoi(name.substr(5, 3));
            if (revision > bestRevision) {
                bestRevision = revision;
                best = path;
            }
        }
        if (best) {
            return CatalogFile{*best, std::string(kRecordedDirectory) + best->filename().string()};
        }
    }
    prompter_.error(kCannotOpen);
    return std::nullopt;
}

std::shared_ptr<const PlcCatalog> PlcCatalogFiles::readCatalog(const std::filesystem::path& path) {
    return cache_.catalog(path);
}

std::shared_ptr<const PlcCatalog> PlcCatalogFiles::sharedCatalog(int plcId) {
    const auto file = findCatalogFile(plcId);
    if (!file) {
        return nullptr;
    }
    auto catalog = readCatalog(file->path);
    if (!catalog) {
        prompter_.error(kCannotOpen);
    }
    return catalog;
}

std::optional<PlcCatalog> PlcCatalogFiles::catalog(int plcId) {
    const auto catalog = sharedCatalog(plcId);
    if (!catalog) {
        return std::nullopt;
    }
    return *catalog;
}

std::optional<std::vector<std::string>> PlcCatalogFiles::modelNames(int plcId) {
    const auto c = sharedCatalog(plcId);
    if (!c) {
        return std::nullopt;
    }
    return c->modelNames();
}

std::optional<char> PlcCatalogFiles::modelCode(int plcId, int modelIndex) {
    const auto c = sharedCatalog(plcId);
    if (!c) {
        return std::nullopt;
    }
    const auto code = c->modelCode(modelIndex);
    if (!code) {
        prompter_.error(kCannotOpen);
    }
    return code;
}

std::optional<SpecialData> PlcCatalogFiles::specialData(int plcId, int modelIndex) {
    const auto c = sharedCatalog(plcId);
    if (!c) {
        return std::nullopt;
    }
    const auto data = c->specialData(modelIndex);
    if (!data) {
        prompter_.error(kCannotOpen);
    }
    return data;
}

std::optional<std::vector<SpecialLine>> PlcCatalogFiles::specialLines(int plcId, int modelIndex) {
    const auto c = sharedCatalog(plcId);
    if (!c) {
        return std::nullopt;
    }
    auto lines = c->specialLines(modelIndex);
    if (!lines) {
        prompter_.error(kCannotOpen);
    }
    return lines;
}

std::vector<RegisterArea> PlcCatalogFiles::areasOfModel(std::string_view recordedPath, int modelIndex) {
    const std::size_t slash = recordedPath.find_last_of("\\/");
    const std::string_view name =
        slash == std::string_view::npos ? recordedPath : recordedPath.substr(slash + 1);
    const auto path = name.empty() ? std::nullopt : cache_.locate(name);
    const auto catalog = path ? readCatalog(*path) : nullptr;
    auto areas = catalog ? catalog->areas(modelIndex) : std::nullopt;
    if (!areas) {
        prompter_.error(std::string(kCantOpenPrefix) + std::string(recordedPath));
        return {};
    }
    return std::move(*areas);
}

CatalogFile PlcCatalogFiles::unitCatalogFile() const {
    const auto found = cache_.locate(kUnitCatalog);
    return CatalogFile{found ? *found : directory_ / std::string(kUnitCatalog),
                       std::string(kRecordedDirectory) + std::string(kUnitCatalog)};
}

Status PlcCatalogFiles::saveSelection(const std::vector<std::string>& chosenNames) {
    const auto supported = supportedList();
    if (!supported) {
        return Status::fail(std::string(kCannotOpen));
    }
    const std::string text = supported->selectedListText(chosenNames);
    const auto existing = findNoCase(directory_, kSelectedList);
    const std::filesystem::path target = existing ? *existing : directory_ / std::string(kSelectedList);
    std::filesystem::path temporary = target;
    temporary += ".new";
    bool written = false;
    {
        std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
        out.write(text.data(), static_cast<std::streamsize>(text.size()));
        out.close();
        written = static_cast<bool>(out);
    }
    std::error_code ec;
    if (written) {
        std::filesystem::rename(temporary, target, ec);
    }
    if (!written || ec) {
        std::filesystem::remove(temporary, ec);
        prompter_.error(kCannotOpen);
        return Status::fail(std::string(kCannotOpen));
    }
    return Status::success();
}

} // namespace quillon
