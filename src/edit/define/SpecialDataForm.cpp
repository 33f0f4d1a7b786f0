#include "edit/define/SpecialDataForm.h"

#include "model/Node.h"
#include "model/TextFormat.h"
#include "plc/AddressRadix.h"
#include "plc/PlcCatalogFiles.h"

#include <algorithm>

namespace quillon {

namespace {

FieldKind kindOf(char radix) {
    return radix == 'H' ? FieldKind::Hexadecimal : radix == 'D' ? FieldKind::Decimal : FieldKind::Unchecked;
}

} // namespace

std::optional<SpecialDataForm> SpecialDataForm::load(PlcCatalogFiles& catalogs, const Node& node) {
    auto lines = catalogs.specialLines(node.plcId, node.modelIndex);
    if (!lines) {
        return std::nullopt;
    }
    return fromLines(*lines, node.specialData());
}

SpecialDataForm SpecialDataForm::fromLines(const std::vector<SpecialLine>& lines,
                                           const std::array<std::uint8_t, 3>& bytes) {
    SpecialDataForm form;
    form.bytes_ = bytes;
    // With three lines three fields; with one line one field; only the first three lines are used.
    const std::size_t count = std::min<std::size_t>(lines.size(), 3);
    for (std::size_t i = 0; i < count; ++i) {
        const SpecialLine& line = lines[i];
        SpecialField field;
        field.label = line.label;
        field.range = formatText("[ %s - %s ]", line.min.c_str(), line.max.c_str());
        field.text = byteText(line.radix, bytes[i]);
        field.maxChars = line.maxChars;
        field.radix = line.radix;
        field.min = line.min;
        field.max = line.max;
        form.fields_.push_back(std::move(field));
    }
    return form;
}

std::string SpecialDataForm::byteText(char radix, std::uint8_t value) {
    return radix == 'H' ? formatText("%X", value) : formatText("%d", value);
}

std::uint8_t SpecialDataForm::parseByte(char radix, std::string_view text) noexcept {
    if (radix != 'H' && radix != 'D') {
        return 0;
    }
    return static_cast<std::uint8_t>(std::min<std::uint64_t>(AddressRadix::parse(radix, text), 255));
}

FieldCheck SpecialDataForm::type(std::size_t index, std::string_view typed) const {
    if (index >= fields_.size()) {
        return FieldCheck{std::string(typed), FieldOutcome::InRange};
    }
    const SpecialField& field = fields_[index];
    std::string_view cut = typed;
    if (field.maxChars > 0 && cut.size() > field.maxChars) {
        cut = cut.substr(0, field.maxChars);
    }
    return AddressField::check(kindOf(field.radix), cut, FieldRange{field.min, field.max, {}, {}});
}

std::string SpecialDataForm::leave(std::size_t index, std::string_view text) const {
    if (index >= fields_.size()) {
        return std::string(text);
    }
    if (text.empty()) {
        return byteText(fields_[index].radix, bytes_[index]);
    }
    return std::string(text);
}

std::array<std::uint8_t, 3> SpecialDataForm::store(const std::vector<std::string>& texts) const {
    std::array<std::uint8_t, 3> out = bytes_;
    for (std::size_t i = 0; i < fields_.size() && i < texts.size(); ++i) {
        out[i] = parseByte(fields_[i].radix, leave(i, texts[i]));
    }
    return out;
}

CommParameters CommParameters::load(int plcId, const std::array<std::uint8_t, 3>& bytes) {
    CommParameters p;
    const auto clampIndex = [](std::uint8_t value, std::size_t count) {
        return value < count ? static_cast<int>(value) : 0;
    };
    if (plcId == 105) {
        p.station = std::clamp<int>(bytes[0], kMinStation, kMaxStation);
        p.baud = clampIndex(bytes[1], kBaudRates.size());
        p.parity = clampIndex(bytes[2], kParities.size());
        p.stationShown = true;
    } else {
        p.baud = clampIndex(bytes[0], kBaudRates.size());
        p.parity = clampIndex(bytes[1], kParities.size());
        p.stationShown = false;
    }
    return p;
}

std::array<std::uint8_t, 3> CommParameters::store(int plcId, const std::array<std::uint8_t, 3>& bytes) const {
    std::array<std::uint8_t, 3> out = bytes;
    if (plcId == 105) {
        out[0] = static_cast<std::uint8_t>(std::clamp(station, kMinStation, kMaxStation));
        out[1] = static_cast<std::uint8_t>(baud);
        out[2] = static_cast<std::uint8_t>(parity);
    } else {
        out[0] = static_cast<std::uint8_t>(baud);
        out[1] = static_cast<std::uint8_t>(parity);
    }
    return out;
}

} // namespace quillon
