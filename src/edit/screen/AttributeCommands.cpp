#include "edit/screen/AttributeCommands.h"

#include "edit/screen/EditorSession.h"
#include "edit/screen/ObjectGeometry.h"
#include "edit/screen/ObjectMover.h"
#include "edit/screen/PlacementTool.h"
#include "edit/screen/UndoStep.h"
#include "model/CanvasGeometry.h"
#include "model/Screen.h"

#include <algorithm>
#include <optional>
#include <vector>

namespace quillon {

namespace {

constexpr std::uint8_t kClass50 = 50;
constexpr std::int32_t kWideLargeFontCells = 5;

bool isFontCommand(std::uint16_t command) noexcept {
    return command >= AttributeCommands::kFont5x7 && command <= AttributeCommands::kFont20x28;
}

bool isSpeedCommand(std::uint16_t command) noexcept {
    return command >= AttributeCommands::kSpeedSlow && command <= AttributeCommands::kSpeedFast;
}

bool isShape(ObjectKind kind, bool characterDisplay) noexcept {
    switch (kind) {
    case ObjectKind::Rectangle:
    case ObjectKind::Ellipse:
    case ObjectKind::RoundRectangle:
    case ObjectKind::Polyline:
    case ObjectKind::Polygon:
        return true;
    case ObjectKind::Bargraph:
    case ObjectKind::OldBargraph:
        return !characterDisplay;
    default:
        return false;
    }
}

// The kind the session's attributes are for: the one selected object's, or the tool's in use.
std::optional<ObjectKind> currentKind(const EditorSession& session) {
    if (session.selection().size() == 1) {
        return session.selection().current()->kind();
    }
    const PlacementTool* tool = PlacementTools::find(session.currentTool());
    if (tool == nullptr || tool->family == ToolFamily::Wizard) {
        return std::nullopt;
    }
    return tool->kind;
}

// The step kind and the object byte of a command that writes one byte.
UndoKind stepKind(std::uint16_t command) noexcept {
    switch (command) {
    case AttributeCommands::kPen:
    case AttributeCommands::kTextForeground:
        return UndoKind::PenForeground;
    case AttributeCommands::kFill:
    case AttributeCommands::kTextBackground:
        return UndoKind::BackgroundFill;
    case AttributeCommands::kBorderSingle:
    case AttributeCommands::kBorderDouble:
        return UndoKind::Border;
    default:
        return UndoKind::Flash;
    }
}

std::uint8_t& objectByte(ScreenObject& object, std::uint16_t command) noexcept {
    switch (stepKind(command)) {
    case UndoKind::PenForeground:
        return object.colourB;
    case UndoKind::BackgroundFill:
        return object.colourA;
    case UndoKind::Border:
        return object.border;
    default:
        return object.flash;
    }
}

} // namespace

bool AttributeCommands::accepts(ObjectKind kind, std::uint16_t command, bool characterDisplay) noexcept {
    const bool alpha = layoutClass(kind, characterDisplay) == LayoutClass::AlphaNumeric;
    if (isFontCommand(command)) {
        return alpha && !characterDisplay;
    }
    if (isSpeedCommand(command)) {
        return accepts(kind, kFlash, characterDisplay);
    }
    switch (command) {
    case kLine1Pixel:
    case kLine2Pixels:
    case kPen:
        return isShape(kind, characterDisplay);
    case kFill:
        return isShape(kind, characterDisplay) && kind != ObjectKind::Polyline;
    case kTextBackground:
    case kTextForeground:
    case kBorderSingle:
    case kBorderDouble:
        return alpha && !characterDisplay;
    case kFlash:
        return kind != ObjectKind::AlarmWindow && !isDataEntry(kind) && kind != ObjectKind::TouchArea;
    case kScroll:
        return kind == ObjectKind::Text;
    default:
        return false;
    }
}

bool AttributeCommands::enabled(const EditorSession& session, std::uint16_t command) {
    if (session.screen() == nullptr) {
        return false;
    }
    const bool character = session.characterDisplay();
    bool shown = false;
    if (const std::optional<ObjectKind> kind = currentKind(session)) {
        shown = accepts(*kind, command, character);
    }
    for (const ScreenObject* object : session.selection().objects()) {
        shown = shown || accepts(object->kind(), command, character);
    }
    if (!shown) {
        return false;
    }
    const std::uint8_t flash = session.attributes().flash;
    if (command == kFlash) {
        return flash < kScrollOn;
    }
    if (command == kScroll) {
        return flash == 0 || flash >= kScrollOn;
    }
    return true;
}

bool AttributeCommands::checked(const EditorSession& session, std::uint16_t command) {
    const CurrentAttributes& a = session.attributes();
    if (isFontCommand(command)) {
        return a.font == command - kFont5x7;
    }
    if (isSpeedCommand(command)) {
        return a.flash != 0 && a.flash % 64 == command - kSpeedSlow;
    }
    switch (command) {
    case kLine1Pixel:
    case kLine2Pixels:
        return a.thickness == command - kLine1Pixel;
    case kBorderSingle:
        return a.border == 1;
    case kBorderDouble:
        return a.border == 2;
    case kFlash:
        return a.flash >= kFlashOn && a.flash < kScrollOn;
    case kScroll:
        return a.flash >= kScrollOn;
    default:
        return false;
    }
}

std::string_view AttributeCommands::colourTitle(std::uint16_t command) noexcept {
    switch (command) {
    case kPen:
        return "Pen";
    case kFill:
        return "Fill";
    case kTextForeground:
        return "FG";
    default:
        return "BG";
    }
}

std::array<std::uint8_t, 6> AttributeCommands::colourValues(std::uint16_t command) noexcept {
    if (command == kFill) {
        return {0, 20, 40, 60, 80, 100};
    }
    return {0, 0, 0, 100, 100, 100};
}

std::uint8_t AttributeCommands::currentColour(const EditorSession& session, std::uint16_t command) noexcept {
    const CurrentAttributes& a = session.attributes();
    switch (command) {
    case kPen:
        return a.pen;
    case kFill:
        return a.fill;
    case kTextForeground:
        return a.textForeground;
    default:
        return a.textBackground;
    }
}

bool AttributeCommands::setByte(EditorSession& session, std::uint16_t command, std::uint8_t value) {
    Screen* screen = session.screen();
    if (screen == nullptr) {
        return false;
    }
    const bool character = session.characterDisplay();
    std::vector<ScreenObject*> changing;
    for (ScreenObject* object : session.selection().objects()) {
        if (!accepts(object->kind(), command, character)) {
            continue;
        }
        // Only a Text object scrolls; a scroll value reaches no other kind.
        if (value >= kScrollOn && object->kind() != ObjectKind::Text) {
            continue;
        }
        if (objectByte(*object, command) != value) {
            changing.push_back(object);
        }
    }
    if (changing.empty()) {
        return false;
    }
    session.record(UndoStep::attribute(stepKind(command), changing));
    for (ScreenObject* object : changing) {
        objectByte(*object, command) = value;
        if (stepKind(command) == UndoKind::Border) {
            (void)ObjectMover::moveBorderInward(*screen, *object, session.geometry());
        }
    }
    return true;
}

bool AttributeCommands::setColour(EditorSession& session, std::uint16_t command, std::uint8_t value) {
    if (!enabled(session, command)) {
        return false;
    }
    // The black and white of pen and text colours: the greys of the dialog give the nearer of the two.
    if (command != kFill) {
        value = value < 50 ? 0 : 100;
    }
    CurrentAttributes& a = session.attributes();
    switch (command) {
    case kPen:
        a.pen = value;
        break;
    case kFill:
        a.fill = value;
        break;
    case kTextForeground:
        a.textForeground = value;
        break;
    case kTextBackground:
        a.textBackground = value;
        break;
    default:
        return false;
    }
    return setByte(session, command, value);
}

bool AttributeCommands::run(EditorSession& session, std::uint16_t command) {
    if (!enabled(session, command)) {
        return false;
    }
    CurrentAttributes& a = session.attributes();
    if (isFontCommand(command)) {
        return setFont(session, static_cast<std::uint8_t>(command - kFont5x7));
    }
    switch (command) {
    case kLine1Pixel:
    case kLine2Pixels:
        a.thickness = static_cast<std::uint8_t>(command - kLine1Pixel);
        return false;
    case kBorderSingle:
        a.border = a.border == 1 ? 0 : 1;
        return setByte(session, command, a.border);
    case kBorderDouble:
        a.border = a.border == 2 ? 0 : 2;
        return setByte(session, command, a.border);
    case kFlash:
        a.flash = a.flash != 0 ? 0 : kFlashOn;
        return setByte(session, command, a.flash);
    case kScroll:
        a.flash = a.flash != 0 ? 0 : kScrollOn;
        return setByte(session, command, a.flash);
    default:
        break;
    }
    if (isSpeedCommand(command)) {
        const std::uint8_t base = a.flash >= kScrollOn ? kScrollOn : kFlashOn;
        a.flash = static_cast<std::uint8_t>(base + (command - kSpeedSlow));
        return setByte(session, command, a.flash);
    }
    return false;
}

bool AttributeCommands::setFont(EditorSession& session, std::uint8_t font) {
    Screen* screen = session.screen();
    if (screen == nullptr || font > CanvasGeometry::kFont20x28 || session.characterDisplay()) {
        return false;
    }
    if (font == CanvasGeometry::kFont20x28) {
        (void)session.zoomForLargeFont();
    }
    session.attributes().font = font;
    const CanvasGeometry geometry = session.geometry();
    const CellSize cell = geometry.unitCellSize(font);
    const CanvasSize size = geometry.screenSize();
    const AlphaMargins margins = geometry.margins(font);
    const std::int32_t maxRight = (size.width - margins.right) / cell.width * cell.width - 1;
    const std::int32_t maxBottom = (size.height - margins.bottom) / cell.height * cell.height - 1;
    struct Refit {
        ScreenObject* object;
        UnitRect rect;
    };
    std::vector<Refit> refits;
    for (ScreenObject* object : session.selection().objects()) {
        if (!accepts(object->kind(), kFont5x7, false) || object->font == font) {
            continue;
        }
        const CellSize old = geometry.unitCellSize(object->font);
        const UnitRect r = objectRect(*object);
        const std::int32_t columns = std::max((r.right - r.left + 1) / old.width, 1);
        const std::int32_t rows = std::max((r.bottom - r.top + 1) / old.height, 1);
        const ObjectKind kind = object->kind();
        const bool narrowOnly = kind == ObjectKind::DataEntryRegister ||
                                kind == ObjectKind::DisplayRegister || kind == ObjectKind::Time ||
                                kind == ObjectKind::Date;
        if (font == CanvasGeometry::kFont20x28 && session.displayClass() == kClass50 && narrowOnly &&
            columns > kWideLargeFontCells) {
            continue;
        }
        UnitRect fitted;
        fitted.left = r.left / cell.width * cell.width;
        fitted.top = r.top / cell.height * cell.height;
        fitted.right = fitted.left + columns * cell.width - 1;
        fitted.bottom = fitted.top + rows * cell.height - 1;
        if (fitted.right > maxRight) {
            fitted = fitted.translated(std::max(maxRight - fitted.right, -fitted.left), 0);
        }
        if (fitted.bottom > maxBottom) {
            fitted = fitted.translated(0, std::max(maxBottom - fitted.bottom, -fitted.top));
        }
        if (fitted.right > maxRight || fitted.bottom > maxBottom) {
            continue; // more cells than the screen has in this font
        }
        refits.push_back({object, fitted});
    }
    if (refits.empty()) {
        return false;
    }
    std::vector<ScreenObject*> objects;
    for (const Refit& refit : refits) {
        objects.push_back(refit.object);
    }
    session.record(UndoStep::font(objects));
    for (const Refit& refit : refits) {
        refit.object->font = font;
        setObjectRect(*refit.object, refit.rect);
        // A bordered object that now reaches an edge steps away from it, within the same step.
        (void)ObjectMover::moveBorderInward(*screen, *refit.object, geometry);
    }
    return true;
}

} // namespace quillon
