#pragma once

#include "model/Prompter.h"

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace quillon {

// The driver files the unit needs for a PLC ("../drivers/" beside the working directory at run time):
// "%03d%03d%s.abs", the driver model code of the unit model, the PLC id and a two-character revision.
class DriverFiles final {
public:
    // The driver model code of a unit model token; tokens not in the table are used unchanged.
    static int driverModelCode(int unitModelToken) noexcept;
    // The unit model's name as the availability message shows it.
    static std::string unitModelName(int unitModelToken);

    // The driver file with the greatest revision (by text comparison), matching names without regard to
    // case; nothing when there is none.
    static std::optional<std::filesystem::path> find(const std::filesystem::path& directory,
                                                     int unitModelToken, int plcId);

    // Whether the directory holds a driver of any PLC for the unit model (a name that starts with its driver
    // model code and ends in ".abs").
    static bool anyForModel(const std::filesystem::path& directory, int unitModelToken);

    // "%s PLC driver is not available for selected %s model./nPlease select ..." with the PLC name and the
    // unit model's name.
    static std::string availabilityMessage(std::string_view plcName, int unitModelToken);
    // Whether the node's driver exists; shows the availability message (caption "Quillon : Information")
    // when it does not.
    static bool checkAvailable(Prompter& prompter, const std::filesystem::path& directory, int unitModelToken,
                               int plcId, std::string_view plcName);
};

} // namespace quillon
