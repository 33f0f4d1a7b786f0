#include "edit/screen/ObjectPlacement.h"

#include "edit/screen/ObjectGeometry.h"
#include "model/AlarmWindowObject.h"
#include "model/Application.h"
#include "model/BargraphObject.h"
#include "model/BitmapObject.h"
#include "model/DataEntryCoilObject.h"
#include "model/DataEntryRegisterObject.h"
#include "model/DateObject.h"
#include "model/DisplayCoilObject.h"
#include "model/DisplayRegisterObject.h"
#include "model/DisplayRegisterTextObject.h"
#include "model/PolygonObject.h"
#include "model/PolylineObject.h"
#include "model/Prompter.h"
#include "model/ReadLimitText.h"
#include "model/Screen.h"
#include "model/Tag.h"
#include "model/TextObject.h"
#include "model/TimeObject.h"

#include <algorithm>
#include <new>

namespace quillon {

namespace {

// The tags whose blocks an object makes the unit read for its screen.
std::vector<const Tag*> readTags(const ScreenObject& object) {
    std::vector<const Tag*> tags;
    if (object.showHide() && object.showHide()->tag != nullptr) {
        tags.push_back(object.showHide()->tag);
    }
    if (object.flashAnimation() && object.flashAnimation()->tag != nullptr) {
        tags.push_back(object.flashAnimation()->tag);
    }
    if (object.tag() != nullptr && !isDataEntry(object.kind())) {
        tags.push_back(object.tag());
    }
    return tags;
}

UnitRect boundsOf(std::span<const ObjectPoint> points) noexcept {
    UnitRect r{points.front().x, points.front().y, points.front().x, points.front().y};
    for (const ObjectPoint& p : points) {
        r = r.united({p.x, p.y, p.x, p.y});
    }
    return r;
}

} // namespace

std::string ObjectPlacement::readLimitText(ObjectKind kind) {
    std::string text = "Can not accept the Object ( ";
    text += objectKindName(kind);
    text += " ). Otherwise the number of Tags in this screen will be more than the limit.";
    return text;
}

std::string_view ObjectPlacement::defaultAlarmHeader(std::uint8_t columnType) noexcept {
    switch (columnType) {
    case AlarmWindowObject::kNumber:
        return "Num";
    case AlarmWindowObject::kTag:
        return "Tag";
    case AlarmWindowObject::kAlarmText:
        return "Alarm";
    case AlarmWindowObject::kOnTime:
        return "OnTime";
    case AlarmWindowObject::kOffTime:
        return "OffTime";
    case AlarmWindowObject::kActive:
        return "Act";
    case AlarmWindowObject::kAcknowledged:
        return "Ack";
    case AlarmWindowObject::kPrint:
        return "Prn";
    default:
        return "";
    }
}

AlarmWindowOptions ObjectPlacement::defaultAlarmOptions() {
    AlarmWindowOptions options;
    options.showHeaders = true;
    options.secondWindowOption = 2;
    auto column = [](std::uint8_t type, std::uint8_t option) {
        return AlarmColumn{type, std::string(defaultAlarmHeader(type)), option};
    };
    // The number and the shortest alarm text: with the two blanks between them the table is the 10 cells
    // a new window starts with.
    options.columns = {column(AlarmWindowObject::kNumber, 0),
                       column(AlarmWindowObject::kAlarmText, kAlarmTextLength)};
    return options;
}

bool ObjectPlacement::apply(ScreenObject& object, const EditValues& values) {
    bool fits = true;
    switch (object.kind()) {
    case ObjectKind::Bitmap:
        static_cast<BitmapObject&>(object).setPictureId(values.pictureId);
        break;
    case ObjectKind::Text:
        fits = static_cast<TextObject&>(object).setText(values.text).ok();
        break;
    case ObjectKind::DataEntryCoil:
    case ObjectKind::DisplayCoil:
        fits = static_cast<BitTextObject&>(object).setTexts(values.offText, values.onText).ok();
        object.setTag(values.tag);
        break;
    case ObjectKind::DataEntryRegister: {
        auto& entry = static_cast<DataEntryRegisterObject&>(object);
        entry.format = values.format;
        entry.lowLimit = values.lowLimit;
        entry.highLimit = values.highLimit;
        entry.setTag(values.tag);
        break;
    }
    case ObjectKind::DisplayRegister: {
        auto& display = static_cast<DisplayRegisterObject&>(object);
        display.format = values.format;
        display.leadingZerosBlank = values.leadingZerosBlank;
        display.setTag(values.tag);
        break;
    }
    case ObjectKind::DisplayRegisterText:
        fits = static_cast<DisplayRegisterTextObject&>(object).setRanges(values.registerTexts).ok();
        object.setTag(values.tag);
        break;
    case ObjectKind::Time:
        static_cast<TimeObject&>(object).format = values.timeFormat;
        break;
    case ObjectKind::Date:
        static_cast<DateObject&>(object).format = values.dateFormat;
        break;
    case ObjectKind::Polyline:
        fits = !values.points.empty() && static_cast<PolylineObject&>(object).setPoints(values.points).ok();
        break;
    case ObjectKind::Polygon:
        fits = !values.points.empty() && static_cast<PolygonObject&>(object).setPoints(values.points).ok();
        break;
    case ObjectKind::AlarmWindow:
        fits = static_cast<AlarmWindowObject&>(object).setOptions(values.alarmWindow).ok();
        break;
    case ObjectKind::Bargraph: {
        auto& bar = static_cast<BargraphObject&>(object);
        bar.direction = values.barDirection;
        bar.minimum = values.barMin;
        bar.maximum = values.barMax;
        bar.setTag(values.tag);
        break;
    }
    default:
        break;
    }
    return fits;
}

std::unique_ptr<ScreenObject> ObjectPlacement::build(ObjectKind kind, const UnitRect& rect,
                                                     const CurrentAttributes& attributes,
                                                     const EditValues& values, bool characterDisplay) {
    std::unique_ptr<ScreenObject> object = ScreenObject::create(static_cast<std::uint8_t>(kind));
    if (!object || kind == ObjectKind::OldBargraph) {
        return nullptr;
    }
    if (!apply(*object, values)) {
        return nullptr;
    }
    const bool alphaNumeric = layoutClass(kind, characterDisplay) == LayoutClass::AlphaNumeric;
    if (alphaNumeric) {
        object->font = characterDisplay ? CanvasGeometry::kFont5x7 : attributes.font;
        object->colourA = attributes.textBackground;
        object->colourB = attributes.textForeground;
        object->border = characterDisplay ? 0 : attributes.border;
    } else {
        object->font = attributes.thickness;
        object->colourA = attributes.fill;
        object->colourB = attributes.pen;
        object->border = 0;
    }
    // Alarm windows and data entries do not flash; only Text scrolls.
    std::uint8_t flash = attributes.flash;
    if (kind == ObjectKind::AlarmWindow || isDataEntry(kind) || kind == ObjectKind::TouchArea) {
        flash = 0;
    } else if (flash >= 192 && kind != ObjectKind::Text) {
        flash = static_cast<std::uint8_t>(flash - 64);
    }
    object->flash = flash;
    object->zLevel = ScreenObject::kDefaultZLevel;
    if (kind == ObjectKind::Polyline || kind == ObjectKind::Polygon) {
        setObjectRect(*object, boundsOf(values.points));
    } else {
        setObjectRect(*object, rect);
    }
    return object;
}

std::string ObjectPlacement::readLimitRefusal(const Application& application, const Screen& screen,
                                              const ScreenObject& object) {
    ReadList trial = screen.readList();
    for (const Tag* tag : readTags(object)) {
        if (tag->block() != nullptr) {
            (void)trial.enter(*tag->block());
        }
    }
    return readLimitText(object.kind()) + readLimitDetail(application, screen.readList(), trial);
}

bool ObjectPlacement::fitsReadLimit(const Application& application, const Screen& screen,
                                    const ScreenObject& object) {
    ReadList trial = screen.readList();
    for (const Tag* tag : readTags(object)) {
        if (tag->block() != nullptr) {
            (void)trial.enter(*tag->block());
        }
    }
    return application.checkReadLimit(trial) ||
           application.screenReadRegisters(trial) <= application.screenReadRegisters(screen.readList());
}

bool ObjectPlacement::fitRightEdge(const PlacementGeometry& geometry, ObjectKind kind, UnitRect& rect,
                                   Prompter& prompter) {
    const EdgeVerdict verdict = geometry.checkRightEdge(rect);
    if (verdict.fit == EdgeFit::Fits) {
        return true;
    }
    const PromptAnswer answer =
        prompter.show(Prompt{PromptKind::Error, std::string(Prompter::kErrorTitle),
                             std::string(kNotEnoughSpaceText), PromptButtons::OkCancel, PromptAnswer::Ok});
    if (answer != PromptAnswer::Ok) {
        return false;
    }
    if (verdict.fit == EdgeFit::OutOfScreen) {
        prompter.information(outOfScreenText(kind));
        return false;
    }
    rect = verdict.adjusted;
    return true;
}

ScreenObject* ObjectPlacement::place(EditorSession& session, std::unique_ptr<ScreenObject> object,
                                     Prompter& prompter) {
    Screen* screen = session.screen();
    if (screen == nullptr || !object) {
        if (!object) {
            prompter.error(kCannotCreateText);
        }
        session.returnToSelecter();
        return nullptr;
    }
    if (screen->objectCount() >= Screen::kMaxObjects) {
        prompter.information(EditorSession::kScreenFullText);
        session.returnToSelecter();
        return nullptr;
    }
    if (session.characterDisplay() && findOverlap(*screen, objectRect(*object), nullptr) != nullptr) {
        prompter.information(overlapMessage(object->kind()));
        session.returnToSelecter();
        return nullptr;
    }
    if (!fitsReadLimit(session.application(), *screen, *object)) {
        prompter.information(readLimitRefusal(session.application(), *screen, *object));
        session.returnToSelecter();
        return nullptr;
    }
    const ObjectKind kind = object->kind();
    Result<ScreenObject*> added = screen->appendObject(std::move(object));
    if (!added) {
        prompter.error(kCannotCreateText);
        session.returnToSelecter();
        return nullptr;
    }
    ScreenObject* placed = added.value();
    // The list stays in z-order after every insertion, as undoing and redoing the creation put it.
    screen->sortByZLevel();
    if (kind == ObjectKind::AlarmWindow) {
        (void)static_cast<AlarmWindowObject*>(placed)->widenToFit(session.displayClass());
    }
    session.objectCreated(*placed);
    return placed;
}

} // namespace quillon
