#include "model/AlarmWindowObject.h"

#include "model/CanvasGeometry.h"
#include "model/ObjectDrawing.h"

#include <algorithm>
#include <limits>

namespace quillon {

Status AlarmWindowObject::setOptions(const AlarmWindowOptions& options) {
    if (options.columns.size() > kMaxColumns) {
        return Status::fail("An alarm window has at most 255 columns.");
    }
    if (std::any_of(options.columns.begin(), options.columns.end(),
                    [](const AlarmColumn& c) { return c.header.size() > kMaxHeaderLength; })) {
        return Status::fail("A column header is longer than 255 characters.");
    }
    options_ = options;
    lengthChanged();
    return Status::success();
}

namespace {

std::int32_t headerLength(const AlarmColumn& column) noexcept {
    return static_cast<std::int32_t>(column.header.size());
}

// The field cut or padded with blanks to the column's width, so that headers and samples stay aligned.
void appendField(std::string& line, std::string_view field, std::int32_t width) {
    const auto w = static_cast<std::size_t>(std::max(width, 0));
    line.append(field.substr(0, w));
    line.append(w - std::min(w, field.size()), ' ');
}

std::string_view separator(std::uint8_t code) noexcept {
    switch (code) {
    case 1:
        return " ";
    case 2:
        return "  ";
    default:
        return "";
    }
}

} // namespace

std::int32_t AlarmWindowObject::columnWidth(const AlarmColumn& column) noexcept {
    switch (column.type) {
    case kNumber:
        return std::max(3, headerLength(column));
    case kTag:
    case kAlarmText:
        return std::max(static_cast<std::int32_t>(column.option), headerLength(column));
    case kOnTime:
    case kOffTime:
        return column.option == kMinutesFormat ? 5 : std::max(8, headerLength(column));
    case kActive:
    case kAcknowledged:
    case kPrint:
        return column.option == kLongYesNo ? std::max(3, headerLength(column)) : 1;
    default:
        // A column type the unit does not know still shows its one sample character.
        return 1;
    }
}

std::int32_t AlarmWindowObject::neededWidth() const noexcept {
    if (options_.columns.empty()) {
        return 0;
    }
    std::int32_t total = static_cast<std::int32_t>(options_.columns.size()) - 1;
    for (const AlarmColumn& column : options_.columns) {
        total += columnWidth(column);
    }
    return total;
}

std::string AlarmWindowObject::headerLine() const {
    std::string line;
    for (const AlarmColumn& column : options_.columns) {
        appendField(line, column.header, columnWidth(column));
        line.append(separator(separatorCode()));
    }
    return line;
}

std::string AlarmWindowObject::sampleLine() const {
    std::string line;
    for (const AlarmColumn& column : options_.columns) {
        const std::int32_t width = columnWidth(column);
        const auto repeated = static_cast<std::size_t>(std::max(width, 0));
        switch (column.type) {
        case kNumber:
            appendField(line, std::string(repeated, '0'), width);
            break;
        case kTag:
            appendField(line, std::string(repeated, 't'), width);
            break;
        case kAlarmText:
            appendField(line, std::string(repeated, 'x'), width);
            break;
        case kOnTime:
        case kOffTime:
            appendField(line, column.option == kMinutesFormat ? "MM:SS" : "HH:MM:SS", width);
            break;
        case kActive:
        case kAcknowledged:
        case kPrint:
            appendField(line, column.option == kLongYesNo ? "Y/N" : "?", width);
            break;
        default:
            appendField(line, "x", width);
            break;
        }
        line.append(separator(separatorCode()));
    }
    return line;
}

AlarmWindowFit AlarmWindowObject::fittedEdges(std::int32_t screenWidth,
                                              std::int32_t cellWidth) const noexcept {
    AlarmWindowFit fit{left, right, false};
    if (cellWidth <= 0) {
        return fit;
    }
    const std::int64_t have = right < left ? 0 : (std::int64_t{right} - left) / cellWidth + 1;
    const std::int64_t need = neededWidth();
    if (have >= need) {
        return fit;
    }
    const std::int64_t newLeft = std::max<std::int64_t>(left, 0);
    const std::int64_t wanted = newLeft + need * cellWidth - 1;
    const std::int64_t newRight =
        std::max<std::int64_t>(right, std::min<std::int64_t>(wanted, screenWidth - 1));
    fit.left = static_cast<std::int32_t>(newLeft);
    fit.right =
        static_cast<std::int32_t>(std::min<std::int64_t>(newRight, std::numeric_limits<std::int32_t>::max()));
    fit.widened = fit.left != left || fit.right != right;
    return fit;
}

AlarmWindowFit AlarmWindowObject::fittedEdges(std::uint8_t displayClass) const noexcept {
    const CanvasGeometry unit(displayClass, CanvasGeometry::kMinZoom);
    return fittedEdges(unit.screenSize().width, unit.cellSize(font).width);
}

bool AlarmWindowObject::widenToFit(std::int32_t screenWidth, std::int32_t cellWidth) noexcept {
    const AlarmWindowFit fit = fittedEdges(screenWidth, cellWidth);
    left = fit.left;
    right = fit.right;
    return fit.widened;
}

bool AlarmWindowObject::widenToFit(std::uint8_t displayClass) noexcept {
    const AlarmWindowFit fit = fittedEdges(displayClass);
    left = fit.left;
    right = fit.right;
    return fit.widened;
}

Status AlarmWindowObject::Draw(DrawingSurface& surface, const DrawParameters& parameters) const {
    const ObjectDrawing drawing(surface, parameters);
    const AlarmWindowFit fit = fittedEdges(parameters.displayClass);
    const ObjectBounds shown{fit.left, top, fit.right, bottom};
    drawing.beginAlphaNumeric(*this, shown);
    const CellLayout layout = drawing.cells(shown, font);
    const std::string header = headerLine();
    const std::string sample = sampleLine();
    const std::string rule(static_cast<std::size_t>(layout.drawnColumns), '-');
    drawing.drawRows(layout, [&](std::int32_t row) -> std::string_view {
        if (!options_.showHeaders) {
            return sample;
        }
        return row == 0 ? header : (row == 1 ? rule : sample);
    });
    return Status::success();
}

std::unique_ptr<ScreenObject> AlarmWindowObject::clone() const {
    return std::make_unique<AlarmWindowObject>(*this);
}

std::uint32_t AlarmWindowObject::kindPartLength() const noexcept {
    std::uint32_t length = 4;
    for (const AlarmColumn& c : options_.columns) {
        length += 2;
        if (options_.showHeaders) {
            length += static_cast<std::uint32_t>(c.header.size()) + 1;
        }
    }
    return length;
}

Status AlarmWindowObject::writeKindPart(ByteSink& sink, const ObjectWriteContext& /*context*/) const {
    sink.u8(options_.windowOption);
    sink.u8(options_.showHeaders ? 1 : 0);
    sink.u8(options_.secondWindowOption);
    sink.u8(static_cast<std::uint8_t>(options_.columns.size()));
    for (const AlarmColumn& c : options_.columns) {
        sink.u8(c.type);
        if (options_.showHeaders) {
            sink.u8(static_cast<std::uint8_t>(c.header.size()));
            sink.chars(c.header);
        }
        sink.u8(c.option);
    }
    return Status::success();
}

} // namespace quillon
