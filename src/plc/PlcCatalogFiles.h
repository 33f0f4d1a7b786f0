#pragma once

#include "model/Prompter.h"
#include "model/Result.h"
#include "plc/CatalogFileCache.h"
#include "plc/PlcCatalog.h"
#include "plc/PlcList.h"
#include "plc/RegisterArea.h"

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace quillon {

// A PLC catalog file found in the catalog directory: where it is, and the path a node records for it.
struct CatalogFile {
    std::filesystem::path path;
    std::string recordedPath; // "..\plc\" and the file's name, as nodes and application files hold it
};

// The catalog directory ("../plc/" beside the working directory at run time): the two PLC lists, the
// unit's own catalog file and one catalog file per PLC id and revision. Every lookup reports its failures
// through the prompter; a file is listed and parsed again only when it has changed (CatalogFileCache). File
// names are matched without regard to case, since the shipped names mix ".PLC" and ".plc".
class PlcCatalogFiles final {
public:
    static constexpr std::string_view kSupportedList = "orvk_all.PLC";
    static constexpr std::string_view kSelectedList = "orvk_sel.PLC";
    static constexpr std::string_view kUnitCatalog = "0000_001.PLC";
    static constexpr std::string_view kRecordedDirectory = "..\\plc\\";
    static constexpr std::string_view kCannotOpen = "Cannot open PLC file";
    static constexpr std::string_view kCantOpenPrefix = "Can't open PLC file : ";
    static constexpr std::string_view kNotSelected =
        "The PLC in the selected Application is not selected\nin the Configuration system.";

    PlcCatalogFiles(std::filesystem::path directory, Prompter& prompter)
        : directory_(std::move(directory)), prompter_(prompter), cache_(directory_) {}

    const std::filesystem::path& directory() const noexcept { return directory_; }

    // The two lists; "Cannot open PLC file" when a list cannot be read or is malformed.
    std::optional<PlcList> selectedList();
    std::optional<PlcList> supportedList();
    // The names for the PLC combo lists, in file order (empty after a failure).
    std::vector<std::string> selectedNames();
    std::vector<std::string> supportedNames();

    // Lookups over the selected list. Not found: the kNotSelected information and -1 (or nothing).
    std::optional<std::string> plcNameOfId(int plcId);
    int idAtPosition(int position);
    int positionOfId(int plcId);

    // The catalog file of the PLC with the highest three-digit revision; "Cannot open PLC file" when none.
    std::optional<CatalogFile> findCatalogFile(int plcId);
    // The catalog file of the PLC, read and checked; "Cannot open PLC file" when it is missing or malformed.
    std::optional<PlcCatalog> catalog(int plcId);
    std::optional<std::vector<std::string>> modelNames(int plcId);
    std::optional<char> modelCode(int plcId, int modelIndex);
    std::optional<SpecialData> specialData(int plcId, int modelIndex);
    std::optional<std::vector<SpecialLine>> specialLines(int plcId, int modelIndex);

    // The areas of a node's model from the catalog file the node records ("..\plc\0007_010.plc");
    // "Can't open PLC file : " with that path, and an empty list, when the file or the model's group
    // cannot be read.
    std::vector<RegisterArea> areasOfModel(std::string_view recordedPath, int modelIndex);

    // The catalog file of the unit's own node, as the node records it.
    CatalogFile unitCatalogFile() const;

    // Rewrites the selected list for the chosen names ("Add or Remove PLCs"): each name's line from the
    // supported list, in the given order. The new list is written beside the old one and then put in its
    // place, so a failure leaves the old list as it was.
    Status saveSelection(const std::vector<std::string>& chosenNames);

    // The entry of a directory whose name equals name without regard to case.
    static std::optional<std::filesystem::path> findNoCase(const std::filesystem::path& directory,
                                                           std::string_view name);
    // A whole file, at most a few megabytes.
    static std::optional<std::string> readFile(const std::filesystem::path& path);

private:
    std::optional<PlcList> readList(std::string_view name);
    std::shared_ptr<const PlcCatalog> readCatalog(const std::filesystem::path& path);
    std::shared_ptr<const PlcCatalog> sharedCatalog(int plcId);

    std::filesystem::path directory_;
    Prompter& prompter_;
    mutable CatalogFileCache cache_;
};

} // namespace quillon
