#include "edit/screen/PlacementGeometry.h"

#include "edit/screen/ObjectGeometry.h"
#include "model/Screen.h"

#include <algorithm>

namespace quillon {

namespace {

int hexValue(char c) noexcept {
    if (c >= '0' && c <= '9') {
        return c - '0';
    }
    if (c >= 'A' && c <= 'F') {
        return c - 'A' + 10;
    }
    if (c >= 'a' && c <= 'f') {
        return c - 'a' + 10;
    }
    return 0;
}

} // namespace

PlacementGeometry::PlacementGeometry(std::uint8_t displayClass, std::uint8_t font, std::int32_t snapX,
                                     std::int32_t snapY) noexcept
    : displayClass_(displayClass), font_(isCharacterClass(displayClass) ? CanvasGeometry::kFont5x7 : font),
      snapX_(snapX), snapY_(snapY) {
    const CanvasGeometry geometry(displayClass_, CanvasGeometry::kMinZoom);
    size_ = geometry.screenSize();
    cell_ = geometry.unitCellSize(font_);
    margins_ = geometry.margins(font_);
}

std::int32_t PlacementGeometry::columns() const noexcept {
    return cell_.width > 0 ? (size_.width - margins_.right) / cell_.width : 0;
}

std::int32_t PlacementGeometry::rows() const noexcept {
    return cell_.height > 0 ? (size_.height - margins_.bottom) / cell_.height : 0;
}

std::int32_t PlacementGeometry::rightLimit() const noexcept {
    return columns() * cell_.width - 1;
}

std::int32_t PlacementGeometry::bottomLimit() const noexcept {
    return rows() * cell_.height - 1;
}

UnitPoint PlacementGeometry::toCell(UnitPoint p) const noexcept {
    if (cell_.width <= 0 || cell_.height <= 0) {
        return {};
    }
    const std::int32_t column = std::clamp(p.x / cell_.width, 0, std::max(columns() - 1, 0));
    const std::int32_t row = std::clamp(p.y / cell_.height, 0, std::max(rows() - 1, 0));
    return {column * cell_.width, row * cell_.height};
}

UnitPoint PlacementGeometry::toGrid(UnitPoint p) const noexcept {
    UnitPoint q{std::clamp(p.x, 0, size_.width - 1), std::clamp(p.y, 0, size_.height - 1)};
    if (snapX_ > 0) {
        q.x = q.x / snapX_ * snapX_;
    }
    if (snapY_ > 0) {
        q.y = q.y / snapY_ * snapY_;
    }
    return q;
}

UnitPoint PlacementGeometry::landing(const PlacementTool& tool, UnitPoint p) const noexcept {
    switch (tool.family) {
    case ToolFamily::AlphaNumeric:
        return toCell(p);
    case ToolFamily::Bargraph:
        return characterDisplay() ? toCell(p) : toGrid(p);
    case ToolFamily::Touch:
        if (const auto cell = touchCell(p)) {
            return {cell->left, cell->top};
        }
        return toGrid(p);
    default:
        return toGrid(p);
    }
}

std::optional<UnitRect> PlacementGeometry::touchCell(UnitPoint p) const noexcept {
    const auto grid = CanvasGeometry(displayClass_, CanvasGeometry::kMinZoom).touchGrid();
    if (!grid || grid->cellWidth <= 0 || grid->rowStep() <= 0) {
        return std::nullopt;
    }
    const std::int32_t column = std::clamp(p.x / grid->cellWidth, 0, grid->columns - 1);
    const std::int32_t row = std::clamp(p.y / grid->rowStep(), 0, grid->rows - 1);
    const std::int32_t left = column * grid->cellWidth;
    const std::int32_t top = row * grid->rowStep();
    return UnitRect{left, top, left + grid->cellWidth - 1, top + grid->cellHeight - 1};
}

UnitRect PlacementGeometry::cellRect(UnitPoint corner, std::int32_t cellColumns,
                                     std::int32_t rowCount) const noexcept {
    return {corner.x, corner.y, corner.x + std::max(cellColumns, 1) * cell_.width - 1,
            corner.y + std::max(rowCount, 1) * cell_.height - 1};
}

UnitRect PlacementGeometry::textArea(UnitPoint corner, const Screen* screen) const {
    const UnitPoint at = toCell(corner);
    std::int32_t cellColumns = columns() - at.x / cell_.width;
    std::int32_t rowCount = rows() - at.y / cell_.height;
    if (characterDisplay() && screen != nullptr) {
        // Stop before the nearest object to the right in the first row ...
        const UnitRect firstRow = cellRect(at, cellColumns, 1);
        for (const auto& object : screen->objects()) {
            const UnitRect r = objectRect(*object);
            if (r.intersects(firstRow) && r.left > at.x) {
                cellColumns = std::min(cellColumns, (r.left - at.x) / cell_.width);
            }
        }
        // ... and before the nearest one below in the columns that remain.
        const UnitRect band = cellRect(at, cellColumns, rowCount);
        for (const auto& object : screen->objects()) {
            const UnitRect r = objectRect(*object);
            if (r.intersects(band) && r.top > at.y) {
                rowCount = std::min(rowCount, (r.top - at.y) / cell_.height);
            }
        }
    }
    cellColumns = std::max(cellColumns, 1);
    rowCount = std::clamp(rowCount, 1, std::max(kMaxTextCells / cellColumns, 1));
    return cellRect(at, cellColumns, rowCount);
}

UnitRect PlacementGeometry::markedText(UnitPoint a, UnitPoint b) const noexcept {
    const UnitPoint first = toCell({std::min(a.x, b.x), std::min(a.y, b.y)});
    const UnitPoint last = toCell({std::max(a.x, b.x), std::max(a.y, b.y)});
    const std::int32_t cellColumns = (last.x - first.x) / cell_.width + 1;
    std::int32_t rowCount = (last.y - first.y) / cell_.height + 1;
    if (cellColumns * rowCount > kMaxTextCells) {
        rowCount = std::max(kMaxTextCells / cellColumns, 1);
    }
    return cellRect(first, cellColumns, rowCount);
}

std::int32_t PlacementGeometry::fieldWidth(ObjectKind kind, const EditValues& values) noexcept {
    std::size_t width = 1;
    switch (kind) {
    case ObjectKind::DataEntryCoil:
    case ObjectKind::DisplayCoil:
        width = std::max(values.onText.size(), values.offText.size());
        break;
    case ObjectKind::DataEntryRegister:
    case ObjectKind::DisplayRegister: {
        const char type = values.format.dataType;
        const int digits = hexValue(values.format.code[0]);
        const int decimals = type == 'B' ? 0 : hexValue(values.format.code[1]);
        int w = digits;
        if (decimals > 0 || type == 'B') {
            w += 1; // the point, or the binary code's digit count being one less than its digits
        }
        if (type == 'S' || type == 'F') {
            w += 1; // the sign
        }
        if (type == 'F' && decimals == 0) {
            w += 1;
        }
        width = static_cast<std::size_t>(w);
        break;
    }
    case ObjectKind::DisplayRegisterText:
        width = 0;
        for (const RegisterTextRange& range : values.registerTexts) {
            width = std::max(width, range.text.size());
        }
        break;
    default:
        break;
    }
    return static_cast<std::int32_t>(std::max<std::size_t>(width, 1));
}

UnitRect PlacementGeometry::fieldRect(UnitPoint corner, std::int32_t width) const noexcept {
    const UnitPoint at = toCell(corner);
    const std::int32_t available = std::max(columns() - at.x / cell_.width, 1);
    if (width <= columns() || width <= available) {
        return cellRect(at, width, 1);
    }
    const std::int32_t needed = (width + available - 1) / available;
    const std::int32_t rowCount = std::min(needed, rows() - at.y / cell_.height);
    return cellRect(at, available, rowCount);
}

UnitRect PlacementGeometry::defaultRect(ObjectKind kind, UnitPoint corner, const EditValues& values) const {
    const UnitPoint at = characterDisplay() || layoutClass(kind, false) == LayoutClass::AlphaNumeric
                             ? toCell(corner)
                             : toGrid(corner);
    const std::int32_t columnsLeft = columns() - at.x / cell_.width;
    const std::int32_t rowsLeft = rows() - at.y / cell_.height;
    switch (kind) {
    case ObjectKind::Time:
        return cellRect(at, values.timeFormat == 1 ? kTimeWidthWithoutSeconds : kTimeWidthWithSeconds, 1);
    case ObjectKind::Date:
        return cellRect(at, kDateWidth, 1);
    case ObjectKind::Error:
        return cellRect(at, std::min(kErrorWidth, columnsLeft), std::min(kErrorHeight, rowsLeft));
    case ObjectKind::DataEntryCoil:
    case ObjectKind::DataEntryRegister:
    case ObjectKind::DisplayCoil:
    case ObjectKind::DisplayRegister:
    case ObjectKind::DisplayRegisterText:
        return fieldRect(at, fieldWidth(kind, values));
    case ObjectKind::AlarmWindow: {
        const std::int32_t width = std::min(kAlarmStartWidth, columns());
        const std::int32_t left = std::min(at.x, (columns() - width) * cell_.width);
        return cellRect({left, at.y}, width, rowsLeft);
    }
    case ObjectKind::Bargraph:
        if (characterDisplay()) {
            const std::int32_t width = std::min(kCharacterBargraphWidth, columns());
            const std::int32_t left = std::min(at.x, (columns() - width) * cell_.width);
            return cellRect({left, at.y}, width, 1);
        }
        return {at.x, at.y, std::min(at.x + kGraphicBargraphWidth - 1, size_.width - 1),
                std::min(at.y + kGraphicBargraphHeight - 1, size_.height - 1)};
    case ObjectKind::TouchArea:
        if (const auto cell = touchCell(corner)) {
            return *cell;
        }
        return {at.x, at.y, at.x, at.y};
    case ObjectKind::Text:
        return textArea(at, nullptr);
    default:
        return {at.x, at.y, at.x, at.y};
    }
}

std::optional<UnitRect> PlacementGeometry::fixedOutline(const PlacementTool& tool, UnitPoint press) const {
    switch (tool.family) {
    case ToolFamily::Bargraph:
        return defaultRect(ObjectKind::Bargraph, landing(tool, press), EditValues{});
    case ToolFamily::Touch:
        return defaultRect(ObjectKind::TouchArea, press, EditValues{});
    default:
        return std::nullopt;
    }
}

std::optional<UnitRect> PlacementGeometry::shapeRect(UnitPoint a, UnitPoint b) const noexcept {
    const UnitPoint p = toGrid(a);
    const UnitPoint q = toGrid(b);
    UnitRect r{std::min(p.x, q.x), std::min(p.y, q.y), std::max(p.x, q.x), std::max(p.y, q.y)};
    if (r.spanX() == 0 && r.spanY() == 0) {
        return std::nullopt;
    }
    // A shape is at least two unit pixels each way; a line-thin drag keeps its place inside the screen.
    if (r.spanX() == 0) {
        r.right = r.left + 1 < size_.width ? r.left + 1 : r.right;
        r.left = r.right - 1;
    }
    if (r.spanY() == 0) {
        r.bottom = r.top + 1 < size_.height ? r.top + 1 : r.bottom;
        r.top = r.bottom - 1;
    }
    return r;
}

EdgeVerdict PlacementGeometry::checkRightEdge(const UnitRect& rect) const noexcept {
    const std::int32_t limit = rightLimit();
    if (rect.right <= limit) {
        return {EdgeFit::Fits, rect};
    }
    const UnitRect moved = rect.translated(limit - rect.right, 0);
    return {moved.left < 0 ? EdgeFit::OutOfScreen : EdgeFit::Adjustable, moved};
}

bool edgeChecked(ObjectKind kind) noexcept {
    switch (kind) {
    case ObjectKind::Time:
    case ObjectKind::Date:
    case ObjectKind::DataEntryCoil:
    case ObjectKind::DataEntryRegister:
    case ObjectKind::DisplayCoil:
    case ObjectKind::DisplayRegister:
    case ObjectKind::DisplayRegisterText:
        return true;
    default:
        return false;
    }
}

std::string outOfScreenText(ObjectKind kind) {
    std::string text = "Can not accept / edit the Object (";
    text += objectKindName(kind);
    text += ").\nOtherwise the object will be out of Screen.";
    return text;
}

} // namespace quillon
