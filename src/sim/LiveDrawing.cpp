#include "sim/LiveDrawing.h"

#include "model/AlarmTable.h"
#include "model/AlarmWindowObject.h"
#include "model/Application.h"
#include "model/BargraphObject.h"
#include "model/BitTextObject.h"
#include "model/CanvasGeometry.h"
#include "model/DataEntryRegisterObject.h"
#include "model/DisplayRegisterObject.h"
#include "model/DisplayRegisterTextObject.h"
#include "model/FilledShapeObject.h"
#include "model/ObjectDrawing.h"
#include "model/PolygonObject.h"
#include "model/Screen.h"
#include "model/Tag.h"
#include "model/TextObject.h"
#include "sim/LiveFormat.h"
#include "sim/Simulator.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace quillon {

namespace {

constexpr std::uint8_t kFlashFirst = 128;
constexpr std::uint8_t kFlashLast = 130;
constexpr std::uint8_t kScrollFirst = 192;
constexpr std::uint8_t kScrollLast = 194;

bool inRange(std::uint64_t value, const RangeAnimation& range) noexcept {
    const bool within = value >= range.low && value <= range.high;
    return range.when == 0 ? within : !within;
}

bool blinkOn(std::uint64_t now, std::uint8_t speed) noexcept {
    return (now / LiveDrawing::blinkMs(speed)) % 2 == 0;
}

const std::optional<PercentFilling>* fillingOf(const ScreenObject& object) {
    switch (object.kind()) {
    case ObjectKind::Rectangle:
    case ObjectKind::Ellipse:
    case ObjectKind::RoundRectangle:
        return &static_cast<const FilledShapeObject&>(object).filling();
    case ObjectKind::Polygon:
        return &static_cast<const PolygonObject&>(object).filling();
    default:
        return nullptr;
    }
}

double fraction(double value, double low, double high) noexcept {
    if (high <= low) {
        return value >= high ? 1.0 : 0.0;
    }
    return std::clamp((value - low) / (high - low), 0.0, 1.0);
}

// The part of the window rectangle that a filling of `part` (0..1) in a direction covers.
SurfaceRect filledPart(const SurfaceRect& outer, std::uint8_t direction, double part) {
    SurfaceRect bar = outer;
    const auto w = static_cast<std::int32_t>(std::lround((outer.right - outer.left) * part));
    const auto h = static_cast<std::int32_t>(std::lround((outer.bottom - outer.top) * part));
    switch (direction) {
    case BargraphObject::kRightToLeft:
        bar.left = outer.right - w;
        break;
    case BargraphObject::kBottomToTop:
        bar.top = outer.bottom - h;
        break;
    case BargraphObject::kTopToBottom:
        bar.bottom = outer.top + h;
        break;
    default:
        bar.right = outer.left + w;
        break;
    }
    return bar;
}

// Horizontal spans of row y (window pixel centre) that lie inside the shape.
void rowSpans(const ScreenObject& object, const ObjectDrawing& drawing, const SurfaceRect& outer,
              std::int32_t y, std::vector<std::pair<std::int32_t, std::int32_t>>& spans) {
    spans.clear();
    const double cy = y + 0.5;
    if (object.kind() == ObjectKind::Ellipse) {
        const double rx = (outer.right - outer.left) / 2.0;
        const double ry = (outer.bottom - outer.top) / 2.0;
        const double dy = (cy - (outer.top + ry)) / std::max(ry, 0.5);
        if (std::fabs(dy) > 1.0) {
            return;
        }
        const double half = rx * std::sqrt(1.0 - dy * dy);
        const double mid = outer.left + rx;
        spans.emplace_back(static_cast<std::int32_t>(std::lround(mid - half)),
                           static_cast<std::int32_t>(std::lround(mid + half)));
        return;
    }
    if (object.kind() == ObjectKind::Polygon) {
        const auto& points = static_cast<const PolygonObject&>(object).points();
        std::vector<double> crossings;
        for (std::size_t i = 0; i < points.size(); ++i) {
            const SurfacePoint p = drawing.windowPoint(points[i].x, points[i].y);
            const SurfacePoint q =
                drawing.windowPoint(points[(i + 1) % points.size()].x, points[(i + 1) % points.size()].y);
            if ((p.y <= cy) == (q.y <= cy)) {
                continue;
            }
            crossings.push_back(p.x + (cy - p.y) * (q.x - p.x) / static_cast<double>(q.y - p.y));
        }
        std::sort(crossings.begin(), crossings.end());
        for (std::size_t i = 0; i + 1 < crossings.size(); i += 2) {
            spans.emplace_back(static_cast<std::int32_t>(std::lround(crossings[i])),
                               static_cast<std::int32_t>(std::lround(crossings[i + 1])));
        }
        return;
    }
    spans.emplace_back(outer.left, outer.right);
}

void drawFilledShape(DrawingSurface& surface, const DrawParameters& parameters, const ScreenObject& object,
                     const PercentFilling& filling, double part, Status& status) {
    // The shape in white with its outline, then the filled part in the shape's fill inside its outline.
    auto blank = object.clone();
    blank->colourA = 100;
    Status drawn = blank->Draw(surface, parameters);
    if (!drawn && status) {
        status = std::move(drawn);
    }
    const ObjectDrawing drawing(surface, parameters);
    SurfaceRect outer = drawing.windowRect(ObjectDrawing::bounds(object));
    if (object.kind() == ObjectKind::Polygon) {
        const auto& points = static_cast<const PolygonObject&>(object).points();
        if (points.size() < 3) {
            return;
        }
        outer = {INT32_MAX, INT32_MAX, INT32_MIN, INT32_MIN};
        for (const ObjectPoint& p : points) {
            const SurfacePoint w = drawing.windowPoint(p.x, p.y);
            outer.left = std::min(outer.left, w.x);
            outer.top = std::min(outer.top, w.y);
            outer.right = std::max(outer.right, w.x + 1);
            outer.bottom = std::max(outer.bottom, w.y + 1);
        }
    }
    const SurfaceRect region = filledPart(outer, filling.direction, part);
    surface.setPen(std::nullopt, 1);
    drawing.selectFill(object.colourA);
    std::vector<std::pair<std::int32_t, std::int32_t>> spans;
    for (std::int32_t y = std::max(region.top, outer.top); y < std::min(region.bottom, outer.bottom); ++y) {
        rowSpans(object, drawing, outer, y, spans);
        for (const auto& [from, to] : spans) {
            const std::int32_t left = std::max(from, region.left);
            const std::int32_t right = std::min(to, region.right);
            if (left < right) {
                surface.rectangle({left, y, right, y + 1});
            }
        }
    }
}

void drawBargraph(DrawingSurface& surface, const DrawParameters& parameters, const BargraphObject& bar,
                  double part) {
    const ObjectDrawing drawing(surface, parameters);
    const ObjectBounds shown = ObjectDrawing::bounds(bar);
    if (drawing.characterDisplay()) {
        drawing.beginAlphaNumeric(bar, shown);
    }
    const SurfaceRect outer = drawing.windowRect(shown);
    drawing.selectPen(bar.colourB);
    surface.setBrush(kWhite);
    surface.rectangle(outer);
    const SurfaceRect filled = filledPart(outer, bar.direction, part);
    if (filled.right > filled.left && filled.bottom > filled.top) {
        drawing.selectFill(drawing.characterDisplay() ? std::uint8_t{0} : bar.colourA);
        surface.rectangle(filled);
    }
}

// Text laid over the object's cells in row-major order, blanks after it; the cell `inverted` (-1: none)
// with the colours swapped.
void drawCellText(DrawingSurface& surface, const DrawParameters& parameters, const ScreenObject& object,
                  const std::string& text, std::int64_t inverted) {
    const ObjectDrawing drawing(surface, parameters);
    const ObjectBounds shown = ObjectDrawing::bounds(object);
    drawing.beginAlphaNumeric(object, shown);
    const CellLayout layout = drawing.cells(shown, object.font);
    drawing.drawCells(layout, [&](std::int64_t index) {
        return index < static_cast<std::int64_t>(text.size()) ? text[static_cast<std::size_t>(index)] : ' ';
    });
    if (inverted >= 0 && layout.columns > 0 && inverted < layout.cellCount()) {
        const std::int64_t row = inverted / layout.columns;
        const std::int64_t column = inverted % layout.columns;
        if (row < layout.drawnRows && column < layout.drawnColumns) {
            surface.setTextColours(drawing.textColour(object.colourA), drawing.textColour(object.colourB));
            const char c = inverted < static_cast<std::int64_t>(text.size())
                               ? text[static_cast<std::size_t>(inverted)]
                               : ' ';
            surface.text({layout.left + static_cast<std::int32_t>(column) * layout.cell.width,
                          layout.top + static_cast<std::int32_t>(row) * layout.cell.height},
                         std::string_view(&c, 1));
        }
    }
}

// A numeric field: one text at the top-left, as the editor draws its placeholder.
void drawFieldText(DrawingSurface& surface, const DrawParameters& parameters, const ScreenObject& object,
                   const std::string& text, int inverted) {
    const ObjectDrawing drawing(surface, parameters);
    const ObjectBounds shown = ObjectDrawing::bounds(object);
    drawing.beginAlphaNumeric(object, shown);
    drawing.drawTextAtTopLeft(shown, text);
    if (inverted >= 0 && inverted < static_cast<int>(text.size())) {
        const CellLayout layout = drawing.cells(shown, object.font);
        surface.setTextColours(drawing.textColour(object.colourA), drawing.textColour(object.colourB));
        surface.text({layout.left + inverted * layout.cell.width, layout.top},
                     std::string_view(text).substr(static_cast<std::size_t>(inverted), 1));
    }
}

std::string clockText(const DrawClock& c, bool minutesOnly) {
    char buffer[16];
    if (minutesOnly) {
        std::snprintf(buffer, sizeof buffer, "%02d:%02d", c.minute % 100, c.second % 100);
    } else {
        std::snprintf(buffer, sizeof buffer, "%02d:%02d:%02d", c.hour % 100, c.minute % 100, c.second % 100);
    }
    return buffer;
}

void appendField(std::string& line, const std::string& field, std::int32_t width) {
    const auto w = static_cast<std::size_t>(std::max(width, 0));
    line.append(field.substr(0, w));
    line.append(w - std::min(w, field.size()), ' ');
}

void drawAlarmWindow(DrawingSurface& surface, const DrawParameters& parameters,
                     const AlarmWindowObject& window, Simulator& simulator) {
    const ObjectDrawing drawing(surface, parameters);
    const AlarmWindowFit fit = window.fittedEdges(parameters.displayClass);
    const ObjectBounds shown{fit.left, window.top, fit.right, window.bottom};
    drawing.beginAlphaNumeric(window, shown);
    const CellLayout layout = drawing.cells(shown, window.font);
    const std::string header = window.headerLine();
    const std::string rule(static_cast<std::size_t>(std::max(layout.drawnColumns, 0)), '-');
    const auto& active = simulator.alarms().activeAlarms();
    const int firstAlarmRow = window.options().showHeaders ? 2 : 0;
    const int cursor = simulator.alarms().cursor();
    std::vector<std::string> lines;
    for (std::int32_t row = 0; row < layout.drawnRows; ++row) {
        if (row < firstAlarmRow) {
            lines.push_back(row == 0 ? header : rule);
            continue;
        }
        const auto index = static_cast<std::size_t>(row - firstAlarmRow);
        lines.push_back(index < active.size() ? LiveDrawing::alarmLine(window, simulator, active[index])
                                              : "");
    }
    drawing.drawRows(
        layout, [&](std::int32_t row) -> std::string_view { return lines[static_cast<std::size_t>(row)]; });
    if (cursor >= 0 && firstAlarmRow + cursor < layout.drawnRows) {
        // The alarm under the cursor in inverted colours.
        std::string line = lines[static_cast<std::size_t>(firstAlarmRow + cursor)];
        line.resize(static_cast<std::size_t>(std::max(layout.drawnColumns, 0)), ' ');
        surface.setTextColours(drawing.textColour(window.colourA), drawing.textColour(window.colourB));
        surface.text({layout.left, layout.top + (firstAlarmRow + cursor) * layout.cell.height}, line);
    }
}

} // namespace

std::uint32_t LiveDrawing::blinkMs(std::uint8_t speed) noexcept {
    switch (speed) {
    case 1:
        return 250;
    case 2:
        return 125;
    default:
        return 500;
    }
}

bool LiveDrawing::visible(const ScreenObject& object, Simulator& simulator) {
    if (const auto& showHide = object.showHide(); showHide && showHide->tag != nullptr) {
        if (!inRange(simulator.value(*showHide->tag), *showHide)) {
            return false;
        }
    }
    if (const auto& flash = object.flashAnimation(); flash && flash->tag != nullptr) {
        if (inRange(simulator.value(*flash->tag), *flash) && !blinkOn(simulator.now(), flash->option)) {
            return false;
        }
    }
    if (object.flash >= kFlashFirst && object.flash <= kFlashLast &&
        !blinkOn(simulator.now(), static_cast<std::uint8_t>(object.flash - kFlashFirst))) {
        return false;
    }
    return true;
}

std::string LiveDrawing::fieldText(const ScreenObject& object, Simulator& simulator) {
    const Tag* tag = object.tag();
    const DataEntry& entry = simulator.dataEntry();
    if (entry.active() && entry.field() == &object) {
        return entry.shownText();
    }
    switch (object.kind()) {
    case ObjectKind::DataEntryRegister: {
        const auto& field = static_cast<const DataEntryRegisterObject&>(object);
        return tag == nullptr ? std::string{}
                              : LiveFormat::text(simulator.value(*tag), SimMemory::widthBits(*tag),
                                                 field.format, false, simulator.lowWordFirst());
    }
    case ObjectKind::DisplayRegister: {
        const auto& field = static_cast<const DisplayRegisterObject&>(object);
        return tag == nullptr
                   ? std::string{}
                   : LiveFormat::text(simulator.value(*tag), SimMemory::widthBits(*tag), field.format,
                                      field.leadingZerosBlank, simulator.lowWordFirst());
    }
    case ObjectKind::DataEntryCoil:
    case ObjectKind::DisplayCoil: {
        const auto& field = static_cast<const BitTextObject&>(object);
        return tag != nullptr && simulator.value(*tag) != 0 ? field.onText() : field.offText();
    }
    case ObjectKind::DisplayRegisterText: {
        if (tag == nullptr) {
            return {};
        }
        // Registers of 4 bytes and more are compared as signed numbers, smaller ones as they are.
        const std::int64_t value = SimMemory::widthBits(*tag) >= 32
                                       ? simulator.memory().readSigned(*tag)
                                       : static_cast<std::int64_t>(simulator.value(*tag));
        for (const RegisterTextRange& range :
             static_cast<const DisplayRegisterTextObject&>(object).ranges()) {
            if (value >= range.from && value <= range.to) {
                return range.text;
            }
        }
        return {};
    }
    default:
        return {};
    }
}

std::string LiveDrawing::alarmLine(const ScreenObject& object, Simulator& simulator, std::size_t alarm) {
    const auto& window = static_cast<const AlarmWindowObject&>(object);
    const AlarmTable* table = simulator.application().alarmsIfAny();
    const AlarmMonitor::State& state = simulator.alarms().state(alarm);
    const std::string separator(window.separatorCode() == 1 ? 1 : (window.separatorCode() == 2 ? 2 : 0), ' ');
    std::string line;
    for (const AlarmColumn& column : window.options().columns) {
        const std::int32_t width = AlarmWindowObject::columnWidth(column);
        const bool longYesNo = column.option == AlarmWindowObject::kLongYesNo;
        const auto yesNo = [longYesNo](bool yes) {
            return longYesNo ? (yes ? "Yes" : "No") : (yes ? "Y" : "N");
        };
        switch (column.type) {
        case AlarmWindowObject::kNumber: {
            char buffer[8];
            std::snprintf(buffer, sizeof buffer, "%03u", static_cast<unsigned>(alarm));
            appendField(line, buffer, width);
            break;
        }
        case AlarmWindowObject::kTag: {
            const Tag* tag =
                table != nullptr ? table->groupTag(alarm / AlarmTable::kAlarmsPerGroup) : nullptr;
            appendField(line, tag != nullptr ? (tag->name.empty() ? tag->displayAddress() : tag->name) : "",
                        width);
            break;
        }
        case AlarmWindowObject::kAlarmText:
            appendField(line, table != nullptr ? table->text(alarm) : "", width);
            break;
        case AlarmWindowObject::kOnTime:
            appendField(line, clockText(state.onTime, column.option == AlarmWindowObject::kMinutesFormat),
                        width);
            break;
        case AlarmWindowObject::kOffTime:
            appendField(line,
                        state.wentOff
                            ? clockText(state.offTime, column.option == AlarmWindowObject::kMinutesFormat)
                            : "",
                        width);
            break;
        case AlarmWindowObject::kActive:
            appendField(line, yesNo(state.active), width);
            break;
        case AlarmWindowObject::kAcknowledged:
            appendField(line, yesNo(state.acknowledged), width);
            break;
        case AlarmWindowObject::kPrint:
            appendField(line,
                        yesNo(table != nullptr && (table->options(alarm) & AlarmTable::kPrintOption) != 0),
                        width);
            break;
        default:
            appendField(line, "", width);
            break;
        }
        line.append(separator);
    }
    return line;
}

Status LiveDrawing::draw(DrawingSurface& surface, Simulator& simulator, const DrawParameters& given) {
    DrawParameters parameters = given;
    parameters.clock = simulator.clock().drawClock();
    const CanvasGeometry geometry(parameters.displayClass, parameters.zoom);
    surface.setRasterOp(RasterOp::CopyPen);
    surface.fillRectangle({parameters.xOffset, parameters.yOffset,
                           parameters.xOffset + geometry.windowWidth(),
                           parameters.yOffset + geometry.windowHeight()},
                          kWhite);
    const Screen* screen = simulator.screen();
    Status first;
    if (screen == nullptr) {
        return first;
    }
    const auto drawObjects = [&](const Screen& s, const DrawParameters& p) {
        for (const auto& owned : s.objects()) {
            const ScreenObject& object = *owned;
            if (!visible(object, simulator)) {
                continue;
            }
            Status drawn;
            switch (object.kind()) {
            case ObjectKind::DataEntryRegister:
            case ObjectKind::DisplayRegister: {
                const DataEntry& entry = simulator.dataEntry();
                const bool edited = entry.active() && entry.field() == &object;
                drawFieldText(surface, p, object, fieldText(object, simulator),
                              edited ? entry.cursorInText() : -1);
                break;
            }
            case ObjectKind::DataEntryCoil:
            case ObjectKind::DisplayCoil:
            case ObjectKind::DisplayRegisterText: {
                const DataEntry& entry = simulator.dataEntry();
                const bool edited = entry.active() && entry.field() == &object;
                drawCellText(surface, p, object, fieldText(object, simulator), edited ? 0 : -1);
                break;
            }
            case ObjectKind::Text: {
                const auto& text = static_cast<const TextObject&>(object).text();
                if (text.empty()) {
                    break;
                }
                if (object.flash >= kScrollFirst && object.flash <= kScrollLast) {
                    const std::size_t shift =
                        (simulator.now() / blinkMs(static_cast<std::uint8_t>(object.flash - kScrollFirst))) %
                        text.size();
                    drawCellText(surface, p, object, text.substr(shift) + text.substr(0, shift), -1);
                } else {
                    drawn = object.Draw(surface, p);
                }
                break;
            }
            case ObjectKind::Bargraph:
            case ObjectKind::OldBargraph: {
                const auto& bar = static_cast<const BargraphObject&>(object);
                const double value =
                    bar.tag() != nullptr ? static_cast<double>(simulator.value(*bar.tag())) : 0.0;
                drawBargraph(surface, p, bar, fraction(value, bar.minimum, bar.maximum));
                break;
            }
            case ObjectKind::TouchArea:
                // The unit shows nothing of a touch area: what lies beneath it is what the user sees.
                break;
            case ObjectKind::AlarmWindow:
                drawAlarmWindow(surface, p, static_cast<const AlarmWindowObject&>(object), simulator);
                break;
            default: {
                const auto* filling = fillingOf(object);
                if (filling != nullptr && filling->has_value() && object.tag() != nullptr) {
                    const double value = static_cast<double>(simulator.value(*object.tag()));
                    drawFilledShape(surface, p, object, **filling,
                                    fraction(value, (*filling)->minPercent, (*filling)->maxPercent), drawn);
                } else {
                    drawn = object.Draw(surface, p);
                }
                break;
            }
            }
            if (!drawn && first) {
                first = std::move(drawn);
            }
        }
    };
    if (const auto number = screen->associated()) {
        if (const Screen* beneath = simulator.application().findScreen(*number)) {
            DrawParameters inactive = parameters;
            inactive.active = false;
            drawObjects(*beneath, inactive);
        }
    }
    drawObjects(*screen, parameters);
    return first;
}

} // namespace quillon
