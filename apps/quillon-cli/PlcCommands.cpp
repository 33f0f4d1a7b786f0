#include "PlcCommands.h"

#include "plc/AddressRadix.h"
#include "plc/ConsecutiveAddresses.h"
#include "plc/PlcCatalogFiles.h"
#include "plc/TagAddress.h"
#include "plc/TagRules.h"

#include <CLI/CLI.hpp>
#include <array>
#include <cstdio>
#include <ostream>

namespace quillon::cli {
namespace {

std::string inQuotes(std::string_view text) {
    return "\"" + std::string(text) + "\"";
}

std::string twoDigits(int value) {
    std::array<char, 8> buffer{};
    std::snprintf(buffer.data(), buffer.size(), "%02d", value);
    return buffer.data();
}

const char* lookupName(LookupFor lookup) noexcept {
    switch (lookup) {
    case LookupFor::RegisterTag:
        return "register";
    case LookupFor::CoilTag:
        return "coil";
    case LookupFor::Block:
        break;
    }
    return "block";
}

std::string readWriteText(char readWrite) {
    auto name = TagRules::readWriteName(readWrite);
    return name ? *name : std::string(TagRules::kStrangeReadWrite);
}

std::string partText(const RegisterArea& area, int index) {
    const AddressPart& part = area.part(index);
    if (part.isLiteral()) {
        return inQuotes(part.literal());
    }
    return std::string(1, part.radix) + std::to_string(part.width) + " " + area.rangeLabel(index);
}

std::string sizeText(std::uint8_t bytes) {
    return std::to_string(bytes) + (bytes == 1 ? " byte" : " bytes");
}

void printArea(std::ostream& out, std::size_t number, const RegisterArea& area) {
    out << "  " << number << ". " << area.name() << " (" << area.remark() << ")\n";
    out << "     " << (area.isBitArea() ? "bits" : "registers") << ", prefix " << inQuotes(area.prefix())
        << ", addresses " << area.lowerBound() << " - " << area.upperBound() << "\n";
    out << "     parts";
    for (int i = 0; i < area.partCount(); ++i) {
        out << (i == 0 ? " " : ", ") << partText(area, i);
    }
    out << "; " << readWriteText(area.readWrite()) << "; register " << sizeText(area.registerSize())
        << "; largest block " << area.maxBlock() << "\n";
}

// The parts of an address typed without leading zeros. A numeric part that another numeric part follows
// directly has nothing to end it but its width, so it must be typed in full.
std::optional<std::array<std::string, RegisterArea::kMaxParts>> looseParts(const RegisterArea& area,
                                                                           std::string_view text) {
    if (!text.starts_with(area.prefix())) {
        return std::nullopt;
    }
    std::string_view rest = text.substr(area.prefix().size());
    std::array<std::string, RegisterArea::kMaxParts> parts{};
    for (int p = 0; p < area.partCount(); ++p) {
        const AddressPart& part = area.part(p);
        if (part.isLiteral()) {
            if (!rest.starts_with(part.literal())) {
                return std::nullopt;
            }
            parts[static_cast<std::size_t>(p)] = part.literal();
            rest.remove_prefix(part.literal().size());
            continue;
        }
        const bool nextNumeric = p + 1 < area.partCount() && !area.part(p + 1).isLiteral();
        std::size_t length = 0;
        if (nextNumeric || !part.isNumeric()) {
            length = part.width;
            if (rest.size() < length) {
                return std::nullopt;
            }
        } else {
            while (length < rest.size() && AddressRadix::isDigit(part.radix, rest[length])) {
                ++length;
            }
        }
        const std::string_view digits = rest.substr(0, length);
        if (digits.empty()) {
            return std::nullopt;
        }
        if (part.isNumeric()) {
            for (const char c : digits) {
                if (!AddressRadix::isDigit(part.radix, c)) {
                    return std::nullopt;
                }
            }
            const std::string normal =
                AddressRadix::format(part.radix, part.width, AddressRadix::parse(part.radix, digits));
            if (normal.size() != part.width) {
                return std::nullopt;
            }
            parts[static_cast<std::size_t>(p)] = normal;
        } else {
            parts[static_cast<std::size_t>(p)] = std::string(digits);
        }
        rest.remove_prefix(length);
    }
    if (!rest.empty()) {
        return std::nullopt;
    }
    return parts;
}

// Each part within its own range: the text comparison of a whole address lets a part run past its
// maximum when an earlier part is below its own (I0000.9 sorts before I0015.7).
bool partsInRange(const RegisterArea& area, const std::array<std::string, RegisterArea::kMaxParts>& parts) {
    for (int p = 0; p < area.partCount(); ++p) {
        const AddressPart& part = area.part(p);
        const std::string& value = parts[static_cast<std::size_t>(p)];
        if (!part.isNumeric() || part.min.size() != value.size() || part.max.size() != value.size()) {
            continue;
        }
        const bool first = part.min <= value && value <= part.max;
        const bool second = part.hasSecondRange() && part.min2 <= value && value <= part.max2;
        if (!first && !second) {
            return false;
        }
    }
    return true;
}

} // namespace

Result<AddressCheck> PlcCommands::checkAddress(const std::vector<RegisterArea>& areas, std::string_view typed,
                                               LookupFor lookup, Prompter& prompter) {
    const std::size_t underscore = typed.find('_');
    const std::string_view base = typed.substr(0, underscore);
    std::optional<int> bit;
    if (underscore != std::string_view::npos) {
        const std::string_view digits = typed.substr(underscore + 1);
        if (digits.empty() || digits.size() > 2 ||
            !AddressRadix::isFullWidthNumber('D', static_cast<int>(digits.size()), digits)) {
            return Result<AddressCheck>::fail("The bit number of " + inQuotes(typed) +
                                              " must be one or two decimal digits after the underscore.");
        }
        bit = static_cast<int>(AddressRadix::parse('D', digits));
        if (lookup == LookupFor::Block) {
            return Result<AddressCheck>::fail("A block address has no bit number: " + inQuotes(typed) + ".");
        }
        if (lookup == LookupFor::RegisterTag) {
            return Result<AddressCheck>::fail("A register tag has no bit number: " + inQuotes(typed) + ".");
        }
    }

    for (const RegisterArea& candidate : areas) {
        if (lookup == LookupFor::RegisterTag && candidate.isBitArea()) {
            continue;
        }
        auto parts = looseParts(candidate, base);
        if (!parts) {
            continue;
        }
        const std::string composed = TagAddress::compose(candidate, *parts);
        if (!candidate.contains(composed) || !partsInRange(candidate, *parts)) {
            continue;
        }
        // The editors take the area from the prefix lookup over the stored text, which may settle on an
        // earlier area than the one the text was read by.
        const auto match = AreaFinder::find(areas, composed, lookup, prompter);
        if (!match) {
            continue;
        }
        const RegisterArea& area = areas[match->index];
        if (lookup == LookupFor::CoilTag && !area.isBitArea()) {
            const int highest = TagRules::highestBit(area.registerSize());
            const BitPlacement placement = TagRules::bitPlacement(area);
            if (placement == BitPlacement::Impossible) {
                return Result<AddressCheck>::fail(std::string(TagRules::kMoreThanThreeParts));
            }
            if (placement == BitPlacement::None) {
                return Result<AddressCheck>::fail("The area " + inQuotes(area.name()) +
                                                  " has no place for a bit number.");
            }
            if (!bit) {
                return Result<AddressCheck>::fail("A coil tag in the register area " + inQuotes(area.name()) +
                                                  " needs a bit number, _00 to _" + twoDigits(highest) + ".");
            }
            if (*bit > highest) {
                return Result<AddressCheck>::fail("The area " + inQuotes(area.name()) + " has bits 00 to " +
                                                  twoDigits(highest) + ", not " + twoDigits(*bit) + ".");
            }
            return AddressCheck{match->index,
                                TagAddress::compose(candidate, *parts, static_cast<std::uint8_t>(*bit))};
        }
        if (bit) {
            return Result<AddressCheck>::fail("The area " + inQuotes(area.name()) +
                                              " holds single bits; its addresses take no bit number.");
        }
        return AddressCheck{match->index, composed};
    }
    return Result<AddressCheck>::fail("No area for a " + std::string(lookupName(lookup)) +
                                      " holds the address " + inQuotes(typed) + ".");
}

int PlcCommands::list(CliContext& context, bool selectedOnly) {
    PlcCatalogFiles catalogs(context.plcDir(), context.prompter());
    auto selected = catalogs.selectedList();
    if (!selected) {
        return context.fail(std::string(PlcCatalogFiles::kCannotOpen));
    }
    std::optional<PlcList> supported;
    if (!selectedOnly) {
        supported = catalogs.supportedList();
        if (!supported) {
            return context.fail(std::string(PlcCatalogFiles::kCannotOpen));
        }
    }
    const PlcList& shown = selectedOnly ? *selected : *supported;
    std::ostream& out = context.out();
    out << "  id  selected  name\n";
    for (const PlcListEntry& entry : shown.entries()) {
        std::array<char, 16> id{};
        std::snprintf(id.data(), id.size(), "%4u", static_cast<unsigned>(entry.id));
        const bool isSelected = selected->positionOf(entry.id) >= 0;
        out << id.data() << "  " << (isSelected ? "yes     " : "no      ") << "  "
            << PlcList::withoutTrailingBlanks(entry.name) << "\n";
    }
    return CliContext::kSuccess;
}

int PlcCommands::show(CliContext& context, int plcId) {
    if (plcId < 0 || plcId > 255) {
        return context.fail("A PLC id is a number from 0 to 255, not " + std::to_string(plcId) + ".");
    }
    PlcCatalogFiles catalogs(context.plcDir(), context.prompter());
    const auto file = catalogs.findCatalogFile(plcId);
    if (!file) {
        return context.fail(std::string(PlcCatalogFiles::kCannotOpen));
    }
    const auto catalog = catalogs.catalog(plcId);
    if (!catalog) {
        return context.fail(std::string(PlcCatalogFiles::kCannotOpen));
    }
    std::string name =
        plcId == 0 ? std::string("Operator Panel (the unit itself)") : std::string("(not listed)");
    if (plcId != 0) {
        if (auto supported = catalogs.supportedList()) {
            if (auto listed = supported->nameOf(plcId)) {
                name = *listed;
            }
        }
    }
    std::ostream& out = context.out();
    out << "PLC " << plcId << ": " << name << "\n";
    out << "Catalog file: " << file->recordedPath << "\n";
    const char flag = catalog->specialFlag();
    out << "Special PLC-data: "
        << (flag == '0'   ? "none"
            : flag == '1' ? "three bytes kept by every node"
                          : "listed, not kept by the nodes")
        << "\n";
    const auto& models = catalog->models();
    for (std::size_t m = 0; m < models.size(); ++m) {
        const int index = static_cast<int>(m + 1);
        out << "Model " << index << ": " << models[m].name << " (code " << models[m].code << ")\n";
        const auto areas = catalog->areas(index);
        if (areas) {
            for (std::size_t a = 0; a < areas->size(); ++a) {
                printArea(out, a + 1, (*areas)[a]);
            }
        }
        if (flag == '0') {
            continue;
        }
        if (const auto lines = catalog->specialLines(index)) {
            for (const SpecialLine& line : *lines) {
                out << "  special: " << line.label << " [ " << line.min << " - " << line.max << " ] "
                    << (line.radix == 'H' ? "hexadecimal" : "decimal") << ", default " << line.defaultValue
                    << "\n";
            }
        }
    }
    return CliContext::kSuccess;
}

int PlcCommands::checkAddresses(CliContext& context, int plcId, int modelIndex, LookupFor lookup,
                                const std::vector<std::string>& addresses) {
    if (plcId < 0 || plcId > 255) {
        return context.fail("A PLC id is a number from 0 to 255, not " + std::to_string(plcId) + ".");
    }
    PlcCatalogFiles catalogs(context.plcDir(), context.prompter());
    const auto catalog = catalogs.catalog(plcId);
    if (!catalog) {
        return context.fail(std::string(PlcCatalogFiles::kCannotOpen));
    }
    const auto areas = catalog->areas(modelIndex);
    if (!areas) {
        return context.fail("PLC " + std::to_string(plcId) + " has no model " + std::to_string(modelIndex) +
                            "; its models are numbered 1 to " + std::to_string(catalog->models().size()) +
                            ".");
    }
    int exitCode = CliContext::kSuccess;
    for (const std::string& typed : addresses) {
        auto checked = checkAddress(*areas, typed, lookup, context.prompter());
        if (!checked) {
            context.prompter().error(typed + ": " + checked.message());
            exitCode = CliContext::kFailure;
            continue;
        }
        const RegisterArea& area = (*areas)[checked->areaIndex];
        context.out() << typed << ": area " << checked->areaIndex + 1 << " " << inQuotes(area.name())
                      << ", prefix " << inQuotes(area.prefix()) << ", address " << checked->address << ", "
                      << readWriteText(area.readWrite());
        if (lookup == LookupFor::Block) {
            context.out() << ", largest block here "
                          << ConsecutiveAddresses::maxBlockSize(area, checked->address);
        }
        context.out() << "\n";
    }
    return exitCode;
}

void PlcCommands::add(CLI::App& app, CliContext& context, CommandAction& action) {
    CLI::App* plc = app.add_subcommand("plc", "The PLCs of the catalog directory.");
    plc->require_subcommand(1);

    CLI::App* listCommand =
        plc->add_subcommand("list", "Lists the supported PLCs and whether each is selected.");
    auto selectedOnly = std::make_shared<bool>(false);
    listCommand->add_flag("--selected", *selectedOnly, "Only the PLCs the network editor offers.");
    listCommand->callback([&context, &action, selectedOnly] {
        action = [&context, selectedOnly] { return list(context, *selectedOnly); };
    });

    CLI::App* showCommand =
        plc->add_subcommand("show", "Shows a PLC's catalog: models, address areas and special PLC-data.");
    auto plcId = std::make_shared<int>(0);
    showCommand->add_option("ID", *plcId, "The PLC id (0 is the unit itself).")->required();
    showCommand->callback(
        [&context, &action, plcId] { action = [&context, plcId] { return show(context, *plcId); }; });

    CLI::App* address = app.add_subcommand("address", "Tag and block addresses in a PLC's notation.");
    address->require_subcommand(1);
    CLI::App* check = address->add_subcommand(
        "check",
        "Finds the area of each address and prints it as the editors store it, or why it is refused.");
    struct CheckArgs {
        int plc = 0;
        int model = 1;
        std::string lookup = "block";
        std::vector<std::string> addresses;
    };
    auto args = std::make_shared<CheckArgs>();
    check->add_option("--plc", args->plc, "The PLC id.")->required();
    check->add_option("--model", args->model, "The model's number in the PLC's catalog, from 1.")->required();
    check->add_option("--for", args->lookup, "What the address is for: block (default), register or coil.")
        ->check(CLI::IsMember({"block", "register", "coil"}));
    check->add_option("ADDRESS", args->addresses, "Addresses; leading zeros of a part may be left out.")
        ->required();
    check->callback([&context, &action, args] {
        action = [&context, args] {
            const LookupFor lookup = args->lookup == "coil"       ? LookupFor::CoilTag
                                     : args->lookup == "register" ? LookupFor::RegisterTag
                                                                  : LookupFor::Block;
            return checkAddresses(context, args->plc, args->model, lookup, args->addresses);
        };
    });
}

} // namespace quillon::cli
