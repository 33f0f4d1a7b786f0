#pragma once

#include "CliContext.h"
#include "plc/AreaFinder.h"
#include "plc/RegisterArea.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace CLI {
class App;
}

namespace quillon::cli {

// What `address check` found for one typed address.
struct AddressCheck {
    std::size_t areaIndex = 0;
    std::string address; // the address as the editors store it: every part at its width, "_nn" for a bit
};

// `plc list`, `plc show ID` and `address check`: the catalog directory as the editors see it.
class PlcCommands final {
public:
    static void add(CLI::App& app, CliContext& context, CommandAction& action);

    static int list(CliContext& context, bool selectedOnly);
    static int show(CliContext& context, int plcId);
    static int checkAddresses(CliContext& context, int plcId, int modelIndex, LookupFor lookup,
                              const std::vector<std::string>& addresses);

    // The stored form of an address typed by a person: parts may be written without their leading zeros
    // ("V10.3" for "V0010.3") and a bit inside a register follows an underscore. The area is the first in
    // file order that holds it, as the editors find it; otherwise the reason it is refused.
    static Result<AddressCheck> checkAddress(const std::vector<RegisterArea>& areas, std::string_view typed,
                                             LookupFor lookup, Prompter& prompter);
};

} // namespace quillon::cli
