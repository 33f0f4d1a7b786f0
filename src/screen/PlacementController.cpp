#include "screen/PlacementController.h"

#include "edit/EditorSession.h"
#include "edit/ObjectPlacement.h"
#include "edit/PlacementGeometry.h"
#include "edit/PlacementTool.h"
#include "edit/TextEntry.h"
#include "model/Prompter.h"
#include "model/Screen.h"
#include "screen/ScreenCanvas.h"
#include "screen/SessionIcons.h"

namespace quillon::gui {

namespace {

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
        std::vector<std::uint16_t> all{
            PlacementTools::kText,      PlacementTools::kError,   PlacementTools::kAlarm,
            PlacementTools::kRectangle, PlacementTools::kEllipse, PlacementTools::kRoundRectangle,
            PlacementTools::kPolyline,  PlacementTools::kPolygon, PlacementTools::kTouch};
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
    const PlacementTool* tool = PlacementTools::find(commandId);
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

} // namespace quillon::gui
