#pragma once

#include "model/Result.h"
#include "plc/RegisterArea.h"

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace quillon {

// A model line of a catalog file.
struct PlcModel {
    std::string name; // at most 49 characters
    char code = '0';  // the model code: the number of characters of every block address of the model
};

// A line of the special-data section: one value of the "Special PLC-data" dialog.
struct SpecialLine {
    std::string label; // at most 24 characters
    std::uint32_t maxChars = 0;
    char radix = 'D'; // 'H' hexadecimal, 'D' decimal
    std::string min;  // at most 3 characters each, in the radix
    std::string max;
    std::string defaultValue;

    // The default as a byte: parsed in the radix, 0 for other radix letters.
    std::uint8_t defaultByte() const noexcept;
};

// What a node of a model takes from the special-data section.
struct SpecialData {
    std::uint8_t nodeKind = 1; // 1: no special bytes kept; 2: the three bytes below
    std::array<std::uint8_t, 3> bytes{};
};

// A PLC catalog file: the special-data flag, the models, the address areas of each model and the
// special-data section. The whole file is read and checked at once; a file with missing fields, counts
// larger than the lines that follow, or numbers that are not numbers is refused.
class PlcCatalog final {
public:
    static constexpr std::size_t kMaxModels = 25;
    static constexpr std::size_t kModelNameLength = 49;
    static constexpr std::size_t kLabelLength = 24;
    static constexpr std::size_t kSpecialValueLength = 3;
    static constexpr std::size_t kSpecialBytes = 3;

    // The failure text names the line and what is wrong with it.
    static Result<PlcCatalog> parse(std::string_view content);

    // First character of the header's third field: '0' no special data, '1' nodes keep three special
    // bytes, any other a special section that is read but not kept.
    char specialFlag() const noexcept { return flag_; }
    const std::vector<PlcModel>& models() const noexcept { return models_; }
    std::vector<std::string> modelNames() const;
    // Models are numbered from 1 in file order.
    std::optional<char> modelCode(int modelIndex) const;
    // The area lines of the group of the model (the first group with that index), in file order.
    std::optional<std::vector<RegisterArea>> areas(int modelIndex) const;
    // Node kind and the three special bytes of a node of the model.
    std::optional<SpecialData> specialData(int modelIndex) const;
    // The special lines of the model (empty when the flag is '0').
    std::optional<std::vector<SpecialLine>> specialLines(int modelIndex) const;
    std::uint32_t specialLineCount() const noexcept { return specialCount_; }

private:
    struct AreaGroup {
        std::uint32_t modelIndex = 0;
        std::vector<RegisterArea> areas;
    };
    struct SpecialGroup {
        std::uint32_t modelIndex = 0;
        std::vector<SpecialLine> lines;
    };

    char flag_ = '0';
    std::vector<PlcModel> models_;
    std::vector<AreaGroup> areaGroups_;
    std::uint32_t specialCount_ = 0;
    std::vector<SpecialGroup> specialGroups_;
};

} // namespace quillon
