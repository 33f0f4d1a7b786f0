#include "plc/DriverFiles.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <cstdio>
#include <system_error>

namespace quillon {

namespace {

struct UnitModel {
    int token;
    int driverCode;
    std::string_view name;
};

constexpr std::array<UnitModel, 12> kUnitModels{{
    {10, 10, "VQ5K-252"},
    {12, 11, "VQ5K-222"},
    {15, 15, "Orvik 15"},
    {20, 20, "Orvik 20"},
    {30, 40, "Orvik 40"},
    {40, 50, "VQ5K-452"},
    {41, 80, "Orvik 80"},
    {42, 51, "VQ5K-422"},
    {480, 120, "Orvik 120"},
    {500, 140, "VQ5K-822"},
    {510, 200, "Orvik 180"},
    {520, 300, "Orvik 520"},
}};

const UnitModel* unitModel(int token) noexcept {
    const auto it = std::find_if(kUnitModels.begin(), kUnitModels.end(),
                                 [token](const UnitModel& m) { return m.token == token; });
    return it == kUnitModels.end() ? nullptr : &*it;
}

} // namespace

int DriverFiles::driverModelCode(int unitModelToken) noexcept {
    const UnitModel* m = unitModel(unitModelToken);
    return m ? m->driverCode : unitModelToken;
}

std::string DriverFiles::unitModelName(int unitModelToken) {
    const UnitModel* m = unitModel(unitModelToken);
    return m ? std::string(m->name) : std::to_string(unitModelToken);
}

namespace {

// Every driver file of the directory whose name begins with `head`: six digits, a two-character revision,
// ".abs" in any case.
template <typename Visit>
void eachDriverFile(const std::filesystem::path& directory, std::string_view head, Visit visit) {
    std::error_code ec;
    for (std::filesystem::directory_iterator it(directory, ec), end; !ec && it != end; it.increment(ec)) {
        const std::string name = it->path().filename().string();
        if (name.size() != 12 || name.compare(0, head.size(), head) != 0) {
            continue;
        }
        std::string extension = name.substr(8);
        std::transform(extension.begin(), extension.end(), extension.begin(),
                       [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
        if (extension != ".abs" || !it->is_regular_file(ec)) {
            continue;
        }
        visit(it->path(), name);
    }
}

} // namespace

bool DriverFiles::anyForModel(const std::filesystem::path& directory, int unitModelToken) {
    const int code = driverModelCode(unitModelToken);
    if (code < 0 || code > 999) {
        return false;
    }
    char head[4];
    std::snprintf(head, sizeof head, "%03d", code);
    bool found = false;
    eachDriverFile(directory, head, [&](const std::filesystem::path&, const std::string&) { found = true; });
    return found;
}

std::optional<std::filesystem::path> DriverFiles::find(const std::filesystem::path& directory,
                                                       int unitModelToken, int plcId) {
    const int code = driverModelCode(unitModelToken);
    if (code < 0 || code > 999 || plcId < 0 || plcId > 255) {
        return std::nullopt;
    }
    char head[8];
    std::snprintf(head, sizeof head, "%03d%03d", code, plcId);
    std::optional<std::filesystem::path> best;
    std::string bestRevision;
    eachDriverFile(directory, head, [&](const std::filesystem::path& path, const std::string& name) {
        const std::string revision = name.substr(6, 2);
        if (!best || revision > bestRevision) {
            bestRevision = revision;
            best = path;
        }
    });
    return best;
}

std::string DriverFiles::availabilityMessage(std::string_view plcName, int unitModelToken) {
    return std::string(plcName) + " PLC driver is not available for selected " +
           unitModelName(unitModelToken) +
           " model./nPlease select another model for which this PLC driver is available.\nUsually ,more "
           "drivers "
           "are available for VQ5K-x22 models.";
}

bool DriverFiles::checkAvailable(Prompter& prompter, const std::filesystem::path& directory,
                                 int unitModelToken, int plcId, std::string_view plcName) {
    if (find(directory, unitModelToken, plcId)) {
        return true;
    }
    prompter.information(availabilityMessage(plcName, unitModelToken));
    return false;
}

} // namespace quillon
