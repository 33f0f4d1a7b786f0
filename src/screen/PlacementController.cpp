#include "screen/PlacementController.h"

#include "edit/screen/EditorSession.h"
#include "edit/screen/ObjectGeometry.h"
#include "edit/screen/ObjectPlacement.h"
#include "edit/screen/ObjectProperties.h"
#include "edit/screen/PlacementGeometry.h"
#include "edit/screen/PlacementTool.h"
#include "edit/screen/TextEntry.h"
#include "edit/screen/UndoStep.h"
#include "model/AlarmWindowObject.h"
#include "model/Application.h"
#include "model/BargraphObject.h"
#include "model/BitmapObject.h"
#include "model/DateObject.h"
#include "model/PanelModel.h"
#include "model/Prompter.h"
#include "model/Screen.h"
#include "model/TextObject.h"
#include "model/TimeObject.h"
#include "persist/PictureLibrary.h"
#include "screen/AlarmWindowDialog.h"
#include "screen/AnimationDialog.h"
#include "screen/BargraphDialog.h"
#include "screen/BitmapLibraryDialog.h"
#include "screen/DataEntryDialog.h"
#include "screen/DimensionsDialog.h"
#include "screen/DisplayDataDialog.h"
#include "screen/ScreenCanvas.h"
#include "screen/SessionIcons.h"
#include "screen/TimeDateDialog.h"

#include <algorithm>

#include <QDialog>

namespace quillon::gui {

namespace {

// The Objects menu's "&Data Entry" entry chooses the data-entry tool.
constexpr std::uint16_t kDataEntryMenu = 208;

QString fromView(std::string_view text) {
    return QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size()));
}

} // namespace

PlacementController::PlacementController(PlacementContext context, QObject* parent)
    : QObject(parent), context_(std::move(context)) {}

PlacementController::~PlacementController() {
    if (typing_) {
        (void)typing_->finish();
    }
}

const std::vector<std::uint16_t>& PlacementController::toolCommands() {
    static const std::vector<std::uint16_t> ids = [] {
        std::vector<std::uint16_t> all{PlacementTools::kText,       PlacementTools::kError,
                                       PlacementTools::kAlarm,      PlacementTools::kRectangle,
                                       PlacementTools::kEllipse,    PlacementTools::kRoundRectangle,
                                       PlacementTools::kPolyline,   PlacementTools::kPolygon,
                                       PlacementTools::kBitmap,     PlacementTools::kTouch,
                                       PlacementTools::kBargraph,   PlacementTools::kAlphaBargraph,
                                       PlacementTools::kDataEntry,  kDataEntryMenu,
                                       PlacementTools::kDisplayData};
        for (const PlacementTool& wizard : PlacementTools::wizards()) {
            all.push_back(wizard.id);
        }
        return all;
    }();
    return ids;
}

void PlacementController::choose(std::uint16_t commandId) {
    EditorSession& editor = *context_.editor;
    endTyping();
    if (ScreenCanvas* canvas = context_.canvas()) {
        canvas->abandonPlacement();
    }
    const PlacementTool* tool =
        PlacementTools::find(commandId == kDataEntryMenu ? PlacementTools::kDataEntry : commandId);
    if (tool == nullptr) {
        context_.prompter->error(PlacementTools::invalidToolText(commandId));
        finished();
        return;
    }
    if (tool->id == PlacementTools::kError) {
        context_.prompter->information(PlacementTools::kNotAvailableText);
        finished();
        return;
    }
    if (!editor.chooseTool(tool->id, *context_.prompter)) {
        finished();
        return;
    }
    if (ScreenCanvas* canvas = context_.canvas()) {
        canvas->setToolCursor(SessionIcons::cursor(tool->id));
        canvas->invalidate();
    }
    context_.showPrompt(fromView(tool->prompt));
}

void PlacementController::abandon() {
    endTyping();
    if (ScreenCanvas* canvas = context_.canvas()) {
        canvas->abandonPlacement();
    }
    context_.editor->returnToSelecter();
    finished();
}

void PlacementController::finished() {
    EditorSession& editor = *context_.editor;
    if (!editor.selecterMode()) {
        editor.returnToSelecter();
    }
    if (ScreenCanvas* canvas = context_.canvas()) {
        canvas->abandonPlacement();
        canvas->invalidate();
    }
    context_.selecter();
}

void PlacementController::placeBuilt(std::unique_ptr<ScreenObject> object) {
    ScreenObject* placed = ObjectPlacement::place(*context_.editor, std::move(object), *context_.prompter);
    if (placed != nullptr) {
        context_.changed();
        if (placed->kind() == ObjectKind::TouchArea && context_.touchArea) {
            context_.touchArea(*placed);
        }
    }
    finished();
}

void PlacementController::place(UnitPoint start, UnitPoint end, bool dragged) {
    EditorSession& editor = *context_.editor;
    const PlacementTool* tool = PlacementTools::find(editor.currentTool());
    if (editor.selecterMode() || tool == nullptr || editor.screen() == nullptr) {
        return;
    }
    const SnapSteps snap = editor.snapSteps();
    const PlacementGeometry geometry(editor.displayClass(), editor.attributes().font, snap.x, snap.y);
    const bool characters = editor.characterDisplay();
    EditValues values;
    switch (tool->family) {
    case ToolFamily::Wizard:
        context_.prompter->information(PlacementTools::kNotAvailableText);
        finished();
        return;
    case ToolFamily::Shape: {
        const auto rect = geometry.shapeRect(start, end);
        if (!rect) {
            return; // nothing drawn: the tool stays
        }
        placeBuilt(ObjectPlacement::build(tool->kind, *rect, editor.attributes(), values, characters));
        return;
    }
    case ToolFamily::Touch:
        placeBuilt(ObjectPlacement::build(ObjectKind::TouchArea,
                                          geometry.defaultRect(ObjectKind::TouchArea, start, values),
                                          editor.attributes(), values, characters));
        return;
    case ToolFamily::Bargraph:
        placeBargraph(start);
        return;
    case ToolFamily::Bitmap:
        placeBitmap(start, nullptr);
        return;
    case ToolFamily::AlphaNumeric:
        break;
    default:
        return;
    }
    // Characters on character displays: a click inside an object is refused.
    const UnitPoint at = geometry.landing(*tool, start);
    switch (tool->kind) {
    case ObjectKind::Text:
        placeText(start, end, dragged);
        return;
    case ObjectKind::DataEntryCoil:
        placeDataEntry(at);
        return;
    case ObjectKind::DisplayCoil: {
        EditValues fresh;
        DisplayDataDialog dialog(context_.dialogParent, *context_.application, fresh, ObjectKind::DisplayCoil,
                                 geometry.columns(), *context_.prompter,
                                 [this](std::vector<Tag*> tags) { return tagsRefusal(tags, nullptr); });
        if (run(dialog) != QDialog::Accepted) {
            finished();
            return;
        }
        dialog.store(fresh);
        placeField(dialog.kind(), fresh, at);
        return;
    }
    case ObjectKind::AlarmWindow:
        values.alarmWindow = ObjectPlacement::defaultAlarmOptions();
        placeBuilt(ObjectPlacement::build(ObjectKind::AlarmWindow,
                                          geometry.defaultRect(ObjectKind::AlarmWindow, at, values),
                                          editor.attributes(), values, characters));
        return;
    case ObjectKind::Time:
    case ObjectKind::Date: {
        values.timeFormat = editor.timeFormat();
        values.dateFormat = editor.dateFormat();
        UnitRect rect = geometry.defaultRect(tool->kind, at, values);
        if (!ObjectPlacement::fitRightEdge(geometry, tool->kind, rect, *context_.prompter)) {
            finished();
            return;
        }
        placeBuilt(ObjectPlacement::build(tool->kind, rect, editor.attributes(), values, characters));
        return;
    }
    case ObjectKind::Error:
        placeBuilt(ObjectPlacement::build(ObjectKind::Error,
                                          geometry.defaultRect(ObjectKind::Error, at, values),
                                          editor.attributes(), values, characters));
        return;
    default:
        context_.prompter->error(PlacementTools::invalidToolText(tool->id));
        finished();
        return;
    }
}

void PlacementController::placeText(UnitPoint start, UnitPoint end, bool dragged) {
    EditorSession& editor = *context_.editor;
    const PlacementGeometry geometry(editor.displayClass(), editor.attributes().font);
    const UnitRect area = dragged ? geometry.markedText(start, end)
                                  : geometry.textArea(geometry.toCell(start), editor.screen());
    typing_ = TextEntry::start(editor, area, geometry.cell(), !dragged, *context_.prompter);
    ScreenCanvas* canvas = context_.canvas();
    if (!typing_) {
        finished();
        return;
    }
    if (canvas != nullptr) {
        canvas->setTextEntry(typing_.get());
        canvas->invalidate();
    }
    emit typingChanged(true);
}

void PlacementController::figure(std::vector<ObjectPoint> points) {
    EditorSession& editor = *context_.editor;
    const PlacementTool* tool = PlacementTools::find(editor.currentTool());
    if (editor.selecterMode() || tool == nullptr || tool->family != ToolFamily::Points) {
        return;
    }
    if (points.size() < 2) {
        return; // fewer than two points make no figure: the tool stays
    }
    EditValues values;
    values.points = std::move(points);
    placeBuilt(
        ObjectPlacement::build(tool->kind, {}, editor.attributes(), values, editor.characterDisplay()));
}

void PlacementController::endTyping() {
    if (!typing_) {
        return;
    }
    std::unique_ptr<TextEntry> entry = std::move(typing_);
    if (ScreenCanvas* canvas = context_.canvas()) {
        canvas->setTextEntry(nullptr);
    }
    const bool kept = entry->finish();
    entry.reset();
    if (kept) {
        context_.changed();
    }
    emit typingChanged(false);
    finished();
}

void PlacementController::typeCharacter(char character) {
    EditorSession& editor = *context_.editor;
    if (!typing_) {
        if (editor.screen() == nullptr) {
            return;
        }
        if (editor.currentTool() != PlacementTools::kText || editor.selecterMode()) {
            choose(PlacementTools::kText);
        }
        if (editor.selecterMode()) {
            return;
        }
        placeText({0, 0}, {0, 0}, false);
        if (!typing_) {
            return;
        }
    }
    if (typing_->type(character, context_.insertMode && context_.insertMode())) {
        if (ScreenCanvas* canvas = context_.canvas()) {
            canvas->invalidate();
        }
    }
}

int PlacementController::run(QDialog& dialog) const {
    return context_.runDialog ? context_.runDialog(dialog) : dialog.exec();
}

std::string PlacementController::tagsRefusal(const std::vector<Tag*>& tags,
                                             const ScreenObject* edited) const {
    const Screen* screen = context_.editor->screen();
    if (screen == nullptr || context_.application == nullptr) {
        return {};
    }
    return ObjectProperties::tagLimitRefusal(*context_.application, *screen, tags, edited);
}

void PlacementController::placeBargraph(UnitPoint start) {
    EditorSession& editor = *context_.editor;
    EditValues values;
    values.barMin = 0;
    values.barMax = 100;
    values.barDirection = 0;
    BargraphDialog dialog(context_.dialogParent, *context_.application, values, *context_.prompter,
                          [this](std::vector<Tag*> tags) { return tagsRefusal(tags, nullptr); });
    if (run(dialog) != QDialog::Accepted) {
        finished();
        return;
    }
    dialog.store(values);
    const SnapSteps snap = editor.snapSteps();
    const PlacementGeometry geometry(editor.displayClass(), editor.attributes().font, snap.x, snap.y);
    const UnitPoint at = geometry.landing(*PlacementTools::find(PlacementTools::kBargraph), start);
    placeBuilt(ObjectPlacement::build(ObjectKind::Bargraph,
                                      geometry.defaultRect(ObjectKind::Bargraph, at, values),
                                      editor.attributes(), values, editor.characterDisplay()));
}

void PlacementController::placeBitmap(UnitPoint at, ScreenObject* changed) {
    EditorSession& editor = *context_.editor;
    const PictureLibrary* library = context_.library ? context_.library() : nullptr;
    if (library == nullptr || context_.files == nullptr) {
        context_.prompter->error(PictureLibrary::kCannotOpen);
        if (changed == nullptr) {
            finished();
        }
        return;
    }
    Application& application = *context_.application;
    BitmapLibraryRequest request;
    request.mode = changed == nullptr ? BitmapChoice::Mode::Add : BitmapChoice::Mode::Change;
    request.displayClass = editor.displayClass();
    request.clicked = at;
    if (changed != nullptr) {
        request.current = static_cast<BitmapObject*>(changed)->pictureId();
    }
    BitmapLibraryDialog dialog(
        context_.dialogParent, *library, *context_.files, *context_.prompter,
        [&application](std::uint32_t picture) { return application.isPictureUsed(picture); },
        [&application](std::uint32_t picture) { application.pictureRemoved(picture); }, request);
    const bool accepted = run(dialog) == QDialog::Accepted;
    if (dialog.deletedAny()) {
        // Bitmap objects after a deleted picture now show the picture before their old number.
        countPictures();
        context_.changed();
    }
    if (!accepted) {
        if (changed == nullptr) {
            finished();
        } else if (ScreenCanvas* canvas = context_.canvas()) {
            canvas->invalidate();
        }
        return;
    }
    EditValues values;
    values.pictureId = dialog.chosenPicture();
    if (changed == nullptr) {
        placeBuilt(ObjectPlacement::build(ObjectKind::Bitmap, dialog.chosenRect(), editor.attributes(),
                                          values, editor.characterDisplay()));
        countPictures();
        return;
    }
    auto& bitmap = static_cast<BitmapObject&>(*changed);
    if (bitmap.pictureId() == values.pictureId && objectRect(bitmap) == dialog.chosenRect()) {
        return;
    }
    // The new picture takes the old one's place, attributes and level as one removal and one creation.
    const CurrentAttributes attributes =
        EditorSession::attributesOf(bitmap, editor.attributes(), editor.characterDisplay());
    auto replacement = ObjectPlacement::build(ObjectKind::Bitmap, dialog.chosenRect(), attributes, values,
                                              editor.characterDisplay());
    replacement->zLevel = bitmap.zLevel;
    ScreenObject* old = changed;
    editor.clearSelection();
    editor.record(UndoStep::removeObjects(*editor.screen(), std::span<ScreenObject* const>(&old, 1)));
    (void)ObjectPlacement::place(editor, std::move(replacement), *context_.prompter);
    countPictures();
    if (ScreenCanvas* canvas = context_.canvas()) {
        canvas->invalidate();
    }
    context_.changed();
}

void PlacementController::countPictures() {
    Application& application = *context_.application;
    const PictureLibrary* library = context_.library ? context_.library() : nullptr;
    if (library == nullptr || !storesBitmaps(application.modelId()) || !library->exists()) {
        return;
    }
    const auto used = [&application](std::uint32_t picture) { return application.isPictureUsed(picture); };
    if (!library->updateUsedFlags(used)) {
        return; // a damaged library is reported when the application is written
    }
    if (auto bytes = library->usedPictureBytes()) {
        application.setPictureBytes(*bytes);
    }
}

bool PlacementController::edit(ScreenObject& object) {
    EditorSession& editor = *context_.editor;
    Screen* screen = editor.screen();
    if (screen == nullptr || object.screen() != screen) {
        return false;
    }
    EditValues values;
    object.LoadEditValues(values);
    values.tag = object.tag();
    switch (object.kind()) {
    case ObjectKind::Rectangle:
    case ObjectKind::Ellipse:
    case ObjectKind::RoundRectangle:
    case ObjectKind::Polyline:
    case ObjectKind::Polygon: {
        DimensionsDialog dialog(context_.dialogParent, fromView(objectKindName(object.kind())),
                                objectRect(object), editor.geometry().screenSize(), *context_.prompter);
        if (run(dialog) != QDialog::Accepted || dialog.rect() == objectRect(object)) {
            return true;
        }
        ScreenObject* moved = &object;
        editor.record(UndoStep::move(std::span<ScreenObject* const>(&moved, 1)));
        placeObject(object, dialog.rect());
        break;
    }
    case ObjectKind::Bargraph:
    case ObjectKind::OldBargraph: {
        BargraphDialog dialog(context_.dialogParent, *context_.application, values, *context_.prompter,
                              [this, &object](std::vector<Tag*> tags) { return tagsRefusal(tags, &object); });
        if (run(dialog) != QDialog::Accepted) {
            return true;
        }
        dialog.store(values);
        auto& bar = static_cast<BargraphObject&>(object);
        bar.direction = values.barDirection;
        bar.minimum = values.barMin;
        bar.maximum = values.barMax;
        bar.setTag(values.tag);
        break;
    }
    case ObjectKind::DataEntryCoil:
    case ObjectKind::DataEntryRegister: {
        const bool coil = object.kind() == ObjectKind::DataEntryCoil;
        const PlacementGeometry geometry(editor.displayClass(), object.font);
        const UnitRect rect = objectRect(object);
        const int cells =
            ((rect.spanX() + 1) / geometry.cell().width) * ((rect.spanY() + 1) / geometry.cell().height);
        // The texts the object holds are never cut by the field's length.
        const int held = static_cast<int>(std::max(values.onText.size(), values.offText.size()));
        DataEntryDialog dialog(
            context_.dialogParent, *context_.application, values, coil, std::max({cells, 1, held}),
            *context_.prompter,
            [this, &object](std::vector<Tag*> tags) { return tagsRefusal(tags, &object); });
        if (run(dialog) != QDialog::Accepted) {
            return true;
        }
        const EditValues loaded = values;
        dialog.store(values);
        rewriteField(object, dialog.coil() ? ObjectKind::DataEntryCoil : ObjectKind::DataEntryRegister,
                     values, &loaded);
        return true;
    }
    case ObjectKind::DisplayCoil:
    case ObjectKind::DisplayRegister:
    case ObjectKind::DisplayRegisterText: {
        const PlacementGeometry geometry(editor.displayClass(), object.font);
        const UnitRect rect = objectRect(object);
        const int cells =
            ((rect.spanX() + 1) / geometry.cell().width) * ((rect.spanY() + 1) / geometry.cell().height);
        int held = static_cast<int>(std::max(values.onText.size(), values.offText.size()));
        for (const RegisterTextRange& range : values.registerTexts) {
            held = std::max(held, static_cast<int>(range.text.size()));
        }
        DisplayDataDialog dialog(
            context_.dialogParent, *context_.application, values, object.kind(), std::max({cells, 1, held}),
            *context_.prompter,
            [this, &object](std::vector<Tag*> tags) { return tagsRefusal(tags, &object); });
        if (run(dialog) != QDialog::Accepted) {
            return true;
        }
        const EditValues loaded = values;
        dialog.store(values);
        rewriteField(object, dialog.kind(), values, &loaded);
        return true;
    }
    case ObjectKind::Bitmap:
        placeBitmap({object.left, object.top}, &object);
        return true;
    case ObjectKind::Text: {
        // A text is edited where it stands: typing resumes in its first cell.
        endTyping();
        const PlacementGeometry geometry(editor.displayClass(), object.font);
        typing_ = TextEntry::resume(editor, static_cast<TextObject&>(object), geometry.cell());
        if (!typing_) {
            return true;
        }
        if (ScreenCanvas* canvas = context_.canvas()) {
            canvas->setTextEntry(typing_.get());
            canvas->invalidate();
        }
        context_.showPrompt({});
        emit typingChanged(true);
        return true;
    }
    case ObjectKind::AlarmWindow: {
        auto& alarm = static_cast<AlarmWindowObject&>(object);
        AlarmWindowDialog dialog(context_.dialogParent, alarm.options(), context_.application->modelId(),
                                 editor.displayClass(), object.font, *context_.prompter);
        if (run(dialog) != QDialog::Accepted || dialog.options() == alarm.options()) {
            return true; // unchanged options keep the window as it stands
        }
        if (!alarm.setOptions(dialog.options())) {
            context_.prompter->error(ObjectPlacement::kCannotCreateText);
            return true;
        }
        // The window takes the width of its table, moved left when it would pass the right edge.
        const PlacementGeometry geometry(editor.displayClass(), object.font);
        const std::int32_t width = std::max(alarm.neededWidth(), 1) * geometry.cell().width;
        UnitRect rect = objectRect(object);
        rect.right = rect.left + width - 1;
        if (rect.right > geometry.rightLimit()) {
            rect = rect.translated(geometry.rightLimit() - rect.right, 0);
            rect.left = std::max(rect.left, 0);
        }
        setObjectRect(object, rect);
        break;
    }
    case ObjectKind::Time:
    case ObjectKind::Date: {
        TimeDateDialog dialog(context_.dialogParent,
                              object.kind() == ObjectKind::Time ? values.timeFormat : editor.timeFormat(),
                              object.kind() == ObjectKind::Date ? values.dateFormat : editor.dateFormat());
        if (run(dialog) != QDialog::Accepted) {
            return true;
        }
        editor.setTimeFormat(dialog.timeFormat());
        editor.setDateFormat(dialog.dateFormat());
        if (object.kind() == ObjectKind::Date) {
            static_cast<DateObject&>(object).format = dialog.dateFormat();
            break;
        }
        auto& time = static_cast<TimeObject&>(object);
        if (time.format == dialog.timeFormat()) {
            break;
        }
        // A wider format must still end inside the screen.
        const PlacementGeometry geometry(editor.displayClass(), object.font);
        EditValues format;
        format.timeFormat = dialog.timeFormat();
        UnitRect rect = geometry.defaultRect(ObjectKind::Time, {object.left, object.top}, format);
        if (!ObjectPlacement::fitRightEdge(geometry, ObjectKind::Time, rect, *context_.prompter)) {
            return true;
        }
        if (editor.characterDisplay() && findOverlap(*screen, rect, &object) != nullptr) {
            context_.prompter->information(overlapMessage(ObjectKind::Time));
            return true;
        }
        time.format = dialog.timeFormat();
        setObjectRect(time, rect);
        break;
    }
    default:
        return false;
    }
    if (ScreenCanvas* canvas = context_.canvas()) {
        canvas->invalidate();
    }
    context_.changed();
    return true;
}

void PlacementController::placeDataEntry(UnitPoint at) {
    EditorSession& editor = *context_.editor;
    const PlacementGeometry geometry(editor.displayClass(), editor.attributes().font);
    EditValues values;
    values.format = RegisterFormat{};
    values.lowLimit = 0;
    values.highLimit = 65535;
    DataEntryDialog dialog(context_.dialogParent, *context_.application, values, true, geometry.columns(),
                           *context_.prompter,
                           [this](std::vector<Tag*> tags) { return tagsRefusal(tags, nullptr); });
    if (run(dialog) != QDialog::Accepted) {
        finished();
        return;
    }
    dialog.store(values);
    placeField(dialog.coil() ? ObjectKind::DataEntryCoil : ObjectKind::DataEntryRegister, values, at);
}

void PlacementController::placeField(ObjectKind kind, const EditValues& values, UnitPoint at) {
    EditorSession& editor = *context_.editor;
    const PlacementGeometry geometry(editor.displayClass(), editor.attributes().font);
    UnitRect rect = geometry.defaultRect(kind, at, values);
    if (!ObjectPlacement::fitRightEdge(geometry, kind, rect, *context_.prompter)) {
        finished();
        return;
    }
    placeBuilt(ObjectPlacement::build(kind, rect, editor.attributes(), values, editor.characterDisplay()));
}

void PlacementController::rewriteField(ScreenObject& object, ObjectKind kind, const EditValues& values,
                                       const EditValues* loaded) {
    EditorSession& editor = *context_.editor;
    Screen& screen = *editor.screen();
    // The field's width follows its new format or texts; it must still end inside the screen. A field
    // whose format and texts need the width they needed before keeps its place and size as they are.
    const PlacementGeometry geometry(editor.displayClass(), object.font);
    UnitRect rect = geometry.defaultRect(kind, {object.left, object.top}, values);
    if (loaded != nullptr && kind == object.kind() &&
        rect == geometry.defaultRect(kind, {object.left, object.top}, *loaded)) {
        rect = objectRect(object);
    }
    if (rect != objectRect(object) &&
        !ObjectPlacement::fitRightEdge(geometry, kind, rect, *context_.prompter)) {
        return;
    }
    if (editor.characterDisplay() && findOverlap(screen, rect, &object) != nullptr) {
        context_.prompter->information(overlapMessage(kind));
        return;
    }
    if (kind == object.kind()) {
        if (!ObjectPlacement::apply(object, values)) {
            context_.prompter->error(ObjectPlacement::kCannotCreateText);
            return;
        }
        setObjectRect(object, rect);
    } else {
        // Another kind: a new object of that kind takes the old one's place and attributes.
        const CurrentAttributes attributes =
            EditorSession::attributesOf(object, editor.attributes(), editor.characterDisplay());
        auto replacement = ObjectPlacement::build(kind, rect, attributes, values, editor.characterDisplay());
        if (!replacement) {
            context_.prompter->error(ObjectPlacement::kCannotCreateText);
            return;
        }
        replacement->zLevel = object.zLevel;
        ScreenObject* old = &object;
        editor.clearSelection();
        editor.record(UndoStep::removeObjects(screen, std::span<ScreenObject* const>(&old, 1)));
        (void)ObjectPlacement::place(editor, std::move(replacement), *context_.prompter);
    }
    if (ScreenCanvas* canvas = context_.canvas()) {
        canvas->invalidate();
    }
    context_.changed();
}

bool PlacementController::animate(ScreenObject& object) {
    EditorSession& editor = *context_.editor;
    if (editor.screen() == nullptr || object.screen() != editor.screen()) {
        return false;
    }
    AnimationDialog dialog(context_.dialogParent, *context_.application, object, *context_.prompter,
                           [this, &object](std::vector<Tag*> tags) { return tagsRefusal(tags, &object); });
    if (run(dialog) != QDialog::Accepted) {
        return false;
    }
    dialog.apply(object);
    if (ScreenCanvas* canvas = context_.canvas()) {
        canvas->invalidate();
    }
    context_.changed();
    return true;
}

} // namespace quillon::gui
