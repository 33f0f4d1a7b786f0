#pragma once

#include "plc/AddressField.h"
#include "plc/PlcCatalog.h"

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace quillon {

class Node;
class PlcCatalogFiles;

// One field of "Quillon : Special PLC-data": a special line of the node's model with the node's value.
struct SpecialField {
    std::string label;
    std::string range; // "[ %s - %s ]"
    std::string text;  // the node's byte in the line's radix ("%X" or "%d")
    std::size_t maxChars = 0;
    char radix = 'D';
    std::string min;
    std::string max;
};

// The special PLC-data of a node as its model's special lines describe it: one or three fields, each
// checked while typing against its range, put back to the node's value when left empty, and stored into
// the node's special bytes 1, 2 and 3 on Ok.
class SpecialDataForm final {
public:
    // The fields of the node's model; nothing (after the catalog's own message) when it cannot be read.
    static std::optional<SpecialDataForm> load(PlcCatalogFiles& catalogs, const Node& node);
    // The same from special lines already read.
    static SpecialDataForm fromLines(const std::vector<SpecialLine>& lines,
                                     const std::array<std::uint8_t, 3>& bytes);

    const std::vector<SpecialField>& fields() const noexcept { return fields_; }

    // A keystroke in a field: filtered by the radix, cut to the line's character count, values above the
    // maximum lose their last characters.
    FieldCheck type(std::size_t index, std::string_view typed) const;
    // Leaving a field: an empty field gets the node's value back.
    std::string leave(std::size_t index, std::string_view text) const;
    // Ok: each field parsed in its radix ("H" hexadecimal, "D" decimal, any other 0) into the bytes.
    std::array<std::uint8_t, 3> store(const std::vector<std::string>& texts) const;

    static std::string byteText(char radix, std::uint8_t value);
    static std::uint8_t parseByte(char radix, std::string_view text) noexcept;

private:
    std::vector<SpecialField> fields_;
    std::array<std::uint8_t, 3> bytes_{};
};

// "PLC Comm parameters" of PLCs 104 and 105: baud rate ("9600", "19.2K"), parity ("Odd", "Even",
// "None") and, for PLC 105, the station ID from 1 to 31.
struct CommParameters {
    static constexpr std::array<std::string_view, 2> kBaudRates{"9600", "19.2K"};
    static constexpr std::array<std::string_view, 3> kParities{"Odd", "Even", "None"};
    static constexpr int kMinStation = 1;
    static constexpr int kMaxStation = 31;

    int baud = 0;    // index into kBaudRates
    int parity = 0;  // index into kParities
    int station = 1; // PLC 105 only
    bool stationShown = true;

    // PLC 105: station ID in byte 1, baud rate in byte 2, parity in byte 3. PLC 104: baud rate in byte 1,
    // parity in byte 2; the station field is disabled and byte 3 is kept.
    static CommParameters load(int plcId, const std::array<std::uint8_t, 3>& bytes);
    std::array<std::uint8_t, 3> store(int plcId, const std::array<std::uint8_t, 3>& bytes) const;
};

} // namespace quillon
