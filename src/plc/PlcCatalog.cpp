#include "plc/PlcCatalog.h"

#include "plc/AddressRadix.h"
#include "plc/CatalogLine.h"
#include "plc/CatalogText.h"

#include <algorithm>

namespace quillon {

namespace {

std::string_view trimmed(std::string_view text) noexcept {
    const std::size_t first = text.find_first_not_of(" \t");
    if (first == std::string_view::npos) {
        return {};
    }
    return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

// A special value in its radix: at most three digits of the radix and no more than one byte.
bool validSpecialValue(char radix, std::string_view text) {
    if (radix != 'H' && radix != 'D') {
        return text.size() <= PlcCatalog::kSpecialValueLength;
    }
    return !text.empty() && text.size() <= PlcCatalog::kSpecialValueLength &&
           std::all_of(text.begin(), text.end(),
                       [radix](char c) { return AddressRadix::isDigit(radix, c); }) &&
           AddressRadix::parse(radix, text) <= 255;
}

// Reads the catalog line by line, naming the line of the first fault.
class Reader final {
public:
    explicit Reader(std::string_view content) : text_(content, CatalogText::kCatalogLineLimit) {}

    std::optional<std::string_view> line() { return text_.nextLine(); }
    Failure fault(const std::string& what) const {
        return Failure{"line " + std::to_string(text_.lineNumber()) + ": " + what};
    }
    Failure missing(const std::string& what) const {
        return Failure{"line " + std::to_string(text_.lineNumber() + 1) + ": the file ends before " + what};
    }

private:
    CatalogText text_;
};

} // namespace

std::uint8_t SpecialLine::defaultByte() const noexcept {
    if (radix != 'H' && radix != 'D') {
        return 0;
    }
    return static_cast<std::uint8_t>(std::min<std::uint64_t>(AddressRadix::parse(radix, defaultValue), 255));
}

Result<PlcCatalog> PlcCatalog::parse(std::string_view content) {
    Reader reader(content);
    PlcCatalog catalog;

    auto line = reader.line();
    if (!line) {
        return reader.missing("the header line");
    }
    {
        CatalogLine header(*line);
        header.field();
        header.field();
        const auto flag = header.field();
        const std::string_view f = flag ? trimmed(*flag) : std::string_view{};
        if (f.empty()) {
            return reader.fault("the header has no special-data flag in its third field");
        }
        catalog.flag_ = f.front();
    }

    line = reader.line();
    if (!line) {
        return reader.missing("the model count");
    }
    const auto modelCount = CatalogLine(*line).number(kMaxModels);
    if (!modelCount || *modelCount == 0) {
        return reader.fault("the model count is not a number from 1 to 25");
    }

    for (std::uint32_t i = 0; i < *modelCount; ++i) {
        line = reader.line();
        if (!line) {
            return reader.missing("model line " + std::to_string(i + 1));
        }
        CatalogLine model(*line);
        const auto number = model.field();
        const auto name = model.field();
        const auto code = model.letter();
        if (!number || !name || !code) {
            return reader.fault("a model line needs a number, a name and a model code");
        }
        if (*code < '1' || *code > '9') {
            return reader.fault("the model code is not a digit from 1 to 9");
        }
        catalog.models_.push_back(PlcModel{std::string(name->substr(0, kModelNameLength)), *code});
    }

    if (!reader.line()) {
        return reader.missing("the separator line");
    }

    for (std::uint32_t g = 0; g < *modelCount; ++g) {
        line = reader.line();
        if (!line) {
            return reader.missing("the area group of model " + std::to_string(g + 1));
        }
        CatalogLine group(*line);
        const auto index = group.number(255);
        const auto count = group.number(65535);
        if (!index || !count) {
            return reader.fault("an area group line needs a model index and an area count");
        }
        AreaGroup areas;
        areas.modelIndex = *index;
        for (std::uint32_t a = 0; a < *count; ++a) {
            line = reader.line();
            if (!line) {
                return reader.missing("area line " + std::to_string(a + 1) + " of model " +
                                      std::to_string(*index));
            }
            auto area = RegisterArea::parse(*line);
            if (!area) {
                return reader.fault(area.message());
            }
            areas.areas.push_back(std::move(area.value()));
        }
        catalog.areaGroups_.push_back(std::move(areas));
    }

    if (catalog.flag_ == '0') {
        return catalog;
    }

    line = reader.line();
    if (!line) {
        return reader.missing("the special-data count");
    }
    const auto specialCount = CatalogLine(*line).number(255);
    if (!specialCount) {
        return reader.fault("the special-data count is not a number");
    }
    catalog.specialCount_ = *specialCount;
    for (std::uint32_t g = 0; g < *modelCount; ++g) {
        line = reader.line();
        if (!line) {
            return reader.missing("the special-data group of model " + std::to_string(g + 1));
        }
        const auto index = CatalogLine(*line).number(255);
        if (!index) {
            return reader.fault("a special-data group line needs a model index");
        }
        SpecialGroup group;
        group.modelIndex = *index;
        for (std::uint32_t k = 0; k < *specialCount; ++k) {
            line = reader.line();
            if (!line) {
                return reader.missing("special line " + std::to_string(k + 1) + " of model " +
                                      std::to_string(*index));
            }
            CatalogLine fields(*line);
            const auto label = fields.field();
            const auto maxChars = fields.number(kSpecialValueLength);
            const auto radix = fields.letter();
            const auto min = fields.field();
            const auto max = fields.field();
            const auto value = fields.field();
            if (!label || !maxChars || !radix || !min || !max || !value) {
                return reader.fault("a special line needs a label, a length, a radix, min, max and default");
            }
            SpecialLine special{std::string(label->substr(0, kLabelLength)),
                                *maxChars,
                                *radix,
                                std::string(trimmed(*min)),
                                std::string(trimmed(*max)),
                                std::string(trimmed(*value))};
            if (!validSpecialValue(special.radix, special.min) ||
                !validSpecialValue(special.radix, special.max) ||
                !validSpecialValue(special.radix, special.defaultValue)) {
                return reader.fault("a special value is not a byte of at most 3 digits in its radix");
            }
            group.lines.push_back(std::move(special));
        }
        catalog.specialGroups_.push_back(std::move(group));
    }
    return catalog;
}

std::vector<std::string> PlcCatalog::modelNames() const {
    std::vector<std::string> names;
    names.reserve(models_.size());
    for (const auto& m : models_) {
        names.push_back(m.name);
    }
    return names;
}

std::optional<char> PlcCatalog::modelCode(int modelIndex) const {
    if (modelIndex < 1 || static_cast<std::size_t>(modelIndex) > models_.size()) {
        return std::nullopt;
    }
    return models_[static_cast<std::size_t>(modelIndex - 1)].code;
}

std::optional<std::vector<RegisterArea>> PlcCatalog::areas(int modelIndex) const {
    for (const auto& group : areaGroups_) {
        if (static_cast<int>(group.modelIndex) == modelIndex) {
            return group.areas;
        }
    }
    return std::nullopt;
}

std::optional<SpecialData> PlcCatalog::specialData(int modelIndex) const {
    SpecialData data;
    if (flag_ == '0') {
        return data;
    }
    const auto lines = specialLines(modelIndex);
    if (!lines) {
        return std::nullopt;
    }
    if (flag_ != '1') {
        return data;
    }
    data.nodeKind = 2;
    for (std::size_t i = 0; i < kSpecialBytes && i < lines->size(); ++i) {
        data.bytes[i] = (*lines)[i].defaultByte();
    }
    return data;
}

std::optional<std::vector<SpecialLine>> PlcCatalog::specialLines(int modelIndex) const {
    if (flag_ == '0') {
        return std::vector<SpecialLine>{};
    }
    for (const auto& group : specialGroups_) {
        if (static_cast<int>(group.modelIndex) == modelIndex) {
            return group.lines;
        }
    }
    return std::nullopt;
}

} // namespace quillon
