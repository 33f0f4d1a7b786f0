#include "edit/screen/EditorSession.h"

#include "edit/screen/ClipboardKeeper.h"
#include "edit/screen/ObjectGeometry.h"
#include "model/AlarmWindowObject.h"
#include "model/Application.h"
#include "model/Prompter.h"
#include "model/Screen.h"

#include <algorithm>
#include <cstdio>

namespace quillon {

EditorSession::EditorSession(Application& application) : application_(application) {
    showDotGrid_ = characterDisplay();
}

EditorSession::~EditorSession() {
    // The steps may hold objects that refer to the application's tags; they go before the screens do.
    mover_.reset();
    histories_.clear();
}

std::uint8_t EditorSession::displayClass() const noexcept {
    return modelClass(application_.modelId());
}

bool EditorSession::characterDisplay() const noexcept {
    return isCharacterClass(displayClass());
}

// ------------------------------------------------------------------ session

namespace {

bool belongsTo(const Application& application, const Screen& screen) noexcept {
    return std::any_of(application.screens().begin(), application.screens().end(),
                       [&screen](const auto& s) { return s.get() == &screen; });
}

} // namespace

Status EditorSession::open(Screen& screen) {
    if (!belongsTo(application_, screen)) {
        return Status::fail("The screen is not part of the application.");
    }
    if (screen_ != nullptr && screen_ != &screen) {
        dropEmptyTexts();
    }
    clipboard_ = &application_.clipboard();
    if (displayClass() == kLargeScreenClass) {
        zoom_ = kLargeScreenZoom;
    }
    horizontalScroll_ = 0;
    verticalScroll_ = 0;
    mover_.reset();
    screen_ = &screen;
    selection_.setScreen(&screen);
    currentTool_ = kSelecterTool;
    selecterMode_ = true;
    return Status::success();
}

std::size_t EditorSession::close() {
    if (screen_ == nullptr) {
        return 0;
    }
    mover_.reset();
    const std::size_t before = screen_->objectCount();
    dropEmptyTexts();
    const std::size_t removed = before - screen_->objectCount();
    selection_.setScreen(nullptr);
    screen_ = nullptr;
    currentTool_ = kSelecterTool;
    selecterMode_ = true;
    return removed;
}

Status EditorSession::changeScreen(Screen& screen) {
    if (!belongsTo(application_, screen)) {
        return Status::fail("The screen is not part of the application.");
    }
    if (screen_ != nullptr && screen_ != &screen) {
        dropEmptyTexts();
    }
    mover_.reset();
    screen_ = &screen;
    selection_.setScreen(&screen);
    return Status::success();
}

std::size_t EditorSession::clipboardCount() const noexcept {
    const std::size_t own = clipboard_ != nullptr ? clipboard_->objectCount() : 0;
    if (own == 0 && keeper_ != nullptr) {
        return keeper_->size();
    }
    return own;
}

void EditorSession::discardHistory(const Screen& screen) noexcept {
    histories_.erase(&screen);
    if (&screen == screen_) {
        // An initialised screen has lost its objects.
        mover_.reset();
        selection_.setScreen(screen_);
    }
}

void EditorSession::screenDeleted(const Screen& screen) noexcept {
    discardHistory(screen);
    if (&screen == screen_) {
        selection_.setScreen(nullptr);
        screen_ = nullptr;
    }
}

void EditorSession::objectRemoved(const ScreenObject* object) noexcept {
    selection_.forget(object);
    if (mover_ != nullptr) {
        mover_.reset();
    }
    for (auto& [screen, history] : histories_) {
        history.forget(object);
    }
}

void EditorSession::dropEmptyTexts() {
    if (screen_ == nullptr) {
        return;
    }
    std::vector<std::unique_ptr<ScreenObject>> removed = CanvasHitTest::removeEmptyTexts(*screen_);
    for (const auto& object : removed) {
        objectRemoved(object.get());
    }
}

// ------------------------------------------------------------------ zoom and scrolling

bool EditorSession::setZoom(int step) noexcept {
    if ((step > 0 && !canZoomIn()) || (step < 0 && !canZoomOut())) {
        return false;
    }
    zoom_ += step > 0 ? CanvasGeometry::kZoomStep : (step < 0 ? -CanvasGeometry::kZoomStep : 0);
    horizontalScroll_ = 0;
    verticalScroll_ = 0;
    return true;
}

bool EditorSession::zoomToFit() noexcept {
    const std::int32_t fit = CanvasGeometry::fitZoom(displayClass(), view_);
    if (fit == zoom_) {
        return false;
    }
    zoom_ = fit;
    horizontalScroll_ = 0;
    verticalScroll_ = 0;
    return true;
}

void EditorSession::setViewArea(CanvasSize view) noexcept {
    view_ = view;
    setScroll(true, horizontalScroll_);
    setScroll(false, verticalScroll_);
}

bool EditorSession::zoomForLargeFont() noexcept {
    return geometry().largeFontNeedsZoomOut() && setZoom(-1);
}

void EditorSession::setScroll(bool horizontal, int position) noexcept {
    const std::optional<ScrollLayout> layout = scrollLayout();
    const bool twoPositions = zoom_ <= CanvasGeometry::kUnitMaxZoom;
    if (horizontal) {
        const int last = layout && layout->horizontalOffset > 0 ? layout->horizontalPositions : 0;
        horizontalScroll_ = twoPositions ? (position == 0 ? 0 : last) : std::clamp(position, 0, last);
    } else {
        const int last = layout && layout->verticalOffset > 0 ? layout->verticalPositions : 0;
        verticalScroll_ = twoPositions ? (position == 0 ? 0 : last) : std::clamp(position, 0, last);
    }
}

WindowPoint EditorSession::scrollOffset() const noexcept {
    const std::optional<ScrollLayout> layout = scrollLayout();
    if (!layout) {
        return {};
    }
    return {horizontalScroll_ * layout->horizontalOffset, verticalScroll_ * layout->verticalOffset};
}

WindowPoint EditorSession::toCanvas(WindowPoint client) const noexcept {
    const WindowPoint offset = scrollOffset();
    return {client.x + offset.x, client.y + offset.y};
}

// ------------------------------------------------------------------ grids

bool EditorSession::toggleTouchGrid() noexcept {
    if (characterDisplay()) {
        return false;
    }
    showTouchGrid_ = !showTouchGrid_;
    return true;
}

std::string_view EditorSession::dotGridMenuText() const noexcept {
    return showDotGrid_ ? "Hide Alpha-numeric &Grid" : "Show Alpha-numeric &Grid";
}

std::string_view EditorSession::touchGridMenuText() const noexcept {
    return showTouchGrid_ ? "Hide Touch-screen G&rid" : "Show Touch-screen G&rid";
}

void EditorSession::setGridConfiguration(const GridConfiguration& grid) noexcept {
    grid_.horizontalSpacing =
        std::clamp(grid.horizontalSpacing, GridConfiguration::kMinSpacing, GridConfiguration::kMaxSpacing);
    grid_.verticalSpacing =
        std::clamp(grid.verticalSpacing, GridConfiguration::kMinSpacing, GridConfiguration::kMaxSpacing);
    grid_.snap = grid.snap;
}

std::int32_t EditorSession::snapStepX() const noexcept {
    return grid_.snap ? zoom_ / 10 * grid_.verticalSpacing : 0;
}

std::int32_t EditorSession::snapStepY() const noexcept {
    return grid_.snap ? zoom_ / 10 * grid_.horizontalSpacing : 0;
}

SnapSteps EditorSession::snapSteps() const noexcept {
    if (!grid_.snap || characterDisplay()) {
        return {};
    }
    return {grid_.verticalSpacing, grid_.horizontalSpacing};
}

// ------------------------------------------------------------------ tools and attributes

bool EditorSession::chooseTool(std::uint16_t tool, Prompter& prompter) {
    if (tool == kSelecterTool) {
        returnToSelecter();
        return true;
    }
    if (screen_ == nullptr) {
        return false;
    }
    if (screen_->objectCount() >= Screen::kMaxObjects) {
        prompter.information(kScreenFullText);
        returnToSelecter();
        return false;
    }
    mover_.reset();
    clearSelection();
    currentTool_ = tool;
    selecterMode_ = false;
    return true;
}

void EditorSession::resumeTool(std::uint16_t tool) {
    mover_.reset();
    clearSelection();
    currentTool_ = tool;
    selecterMode_ = tool == kSelecterTool;
}

void EditorSession::returnToSelecter() noexcept {
    currentTool_ = kSelecterTool;
    selecterMode_ = true;
}

std::uint16_t EditorSession::toolForKind(ObjectKind kind) noexcept {
    switch (kind) {
    case ObjectKind::Bitmap:
        return 113;
    case ObjectKind::Text:
        return 101;
    case ObjectKind::DataEntryCoil:
    case ObjectKind::DataEntryRegister:
        return 207;
    case ObjectKind::DisplayCoil:
    case ObjectKind::DisplayRegister:
    case ObjectKind::DisplayRegisterText:
        return 197;
    case ObjectKind::Time:
        return 176;
    case ObjectKind::Date:
        return 177;
    case ObjectKind::Error:
        return 178;
    case ObjectKind::Rectangle:
        return 108;
    case ObjectKind::Ellipse:
        return 109;
    case ObjectKind::RoundRectangle:
        return 112;
    case ObjectKind::Polyline:
        return 110;
    case ObjectKind::Polygon:
        return 111;
    case ObjectKind::OldBargraph:
    case ObjectKind::Bargraph:
        return 157;
    case ObjectKind::AlarmWindow:
        return 179;
    case ObjectKind::TouchArea:
        return 202;
    }
    return kSelecterTool;
}

CurrentAttributes EditorSession::attributesOf(const ScreenObject& object, const CurrentAttributes& base,
                                              bool characterDisplay) noexcept {
    CurrentAttributes a = base;
    if (layoutClass(object.kind(), characterDisplay) == LayoutClass::AlphaNumeric) {
        a.font = object.font;
        a.textForeground = object.colourB;
        a.textBackground = object.colourA;
    } else {
        a.thickness = object.font;
        a.pen = object.colourB;
        a.fill = object.colourA;
    }
    a.flash = object.flash;
    a.border = object.border;
    a.zLevel = object.zLevel;
    return a;
}

// ------------------------------------------------------------------ selection

void EditorSession::recordSelection(const std::vector<ScreenObject*>& previous) {
    if (screen_ == nullptr || previous == selection_.objects()) {
        return;
    }
    historyOf(*screen_)->record(UndoStep::selection(previous));
    selectionChanged();
}

void EditorSession::selectionChanged() {
    if (selection_.size() == 1) {
        const ScreenObject& object = *selection_.current();
        attributes_ = attributesOf(object, attributes_, characterDisplay());
        if (selecterMode_) {
            currentTool_ = toolForKind(object.kind());
        }
    }
}

void EditorSession::clearSelection() {
    const std::vector<ScreenObject*> previous = selection_.objects();
    selection_.clear();
    recordSelection(previous);
}

void EditorSession::selectOnly(ScreenObject& object) {
    const std::vector<ScreenObject*> previous = selection_.objects();
    selection_.clear();
    (void)selection_.add(object);
    recordSelection(previous);
}

void EditorSession::addToSelection(ScreenObject& object) {
    const std::vector<ScreenObject*> previous = selection_.objects();
    (void)selection_.add(object);
    recordSelection(previous);
}

void EditorSession::removeFromSelection(ScreenObject& object) {
    const std::vector<ScreenObject*> previous = selection_.objects();
    (void)selection_.remove(object);
    recordSelection(previous);
}

void EditorSession::selectAll() {
    const std::vector<ScreenObject*> previous = selection_.objects();
    selection_.selectAll();
    recordSelection(previous);
}

ScreenObject* EditorSession::editableObject() const noexcept {
    return selection_.size() == 1 ? selection_.current() : nullptr;
}

std::string EditorSession::positionText(WindowPoint point) const {
    std::int32_t x = 0;
    std::int32_t y = 0;
    const CanvasGeometry g = geometry();
    if (application_.modelId() >= kUnitPixelPositionModel) {
        x = g.toUnit(point.x);
        y = g.toUnit(point.y);
    } else {
        const CellSize cell = g.cellSize(attributes_.font);
        x = cell.width > 0 ? point.x / cell.width : 0;
        y = cell.height > 0 ? point.y / cell.height : 0;
    }
    char text[32];
    std::snprintf(text, sizeof text, "X:%3d  Y:%3d", static_cast<int>(x), static_cast<int>(y));
    return text;
}

// ------------------------------------------------------------------ mouse and keys

PressResult EditorSession::press(WindowPoint point, bool shift) {
    pressedSelected_ = nullptr;
    if (screen_ == nullptr || !selecterMode_) {
        return {};
    }
    mover_.reset();
    dropEmptyTexts();
    const CanvasGeometry g = geometry();
    const HandleHit hit = CanvasHitTest::hitSelection(selection_, g, point);
    if (hit.code != HitCode::None) {
        // A press inside the selection may still become a click on one of its objects.
        ScreenObject* under = CanvasHitTest::objectAt(*screen_, g.toUnit(point));
        pressedSelected_ = under != nullptr && selection_.contains(under) ? under : nullptr;
        return {PressAction::Drag, hit.code, under != nullptr ? under : hit.object};
    }
    ScreenObject* under = CanvasHitTest::objectAt(*screen_, g.toUnit(point));
    if (under == nullptr) {
        return {PressAction::RubberBand, HitCode::None, nullptr};
    }
    if (selection_.contains(under)) {
        pressedSelected_ = under;
        return {PressAction::Drag, HitCode::Move, under};
    }
    const std::vector<ScreenObject*> previous = selection_.objects();
    if (!shift) {
        selection_.clear();
    }
    (void)selection_.add(*under);
    recordSelection(previous);
    return {PressAction::Drag, HitCode::Move, under};
}

void EditorSession::release(WindowPoint /*point*/, bool shift, bool dragged) {
    ScreenObject* clicked = pressedSelected_;
    pressedSelected_ = nullptr;
    if (dragged || clicked == nullptr || !selection_.contains(clicked)) {
        return;
    }
    if (shift) {
        removeFromSelection(*clicked);
    } else {
        selectOnly(*clicked);
    }
}

void EditorSession::finishRubberBand(const WindowRect& band, bool shift) {
    if (screen_ == nullptr) {
        return;
    }
    const std::vector<ScreenObject*> previous = selection_.objects();
    if (!shift) {
        selection_.clear();
    }
    // A group is toggled once, however many of its members lie inside the band.
    std::vector<ScreenObject*> handled;
    for (ScreenObject* object : CanvasHitTest::objectsInside(*screen_, geometry(), band)) {
        if (std::find(handled.begin(), handled.end(), object) != handled.end()) {
            continue;
        }
        const std::vector<ScreenObject*> ring = screen_->groupMembers(*object);
        handled.insert(handled.end(), ring.begin(), ring.end());
        if (shift && selection_.contains(object)) {
            (void)selection_.remove(*object);
        } else {
            (void)selection_.add(*object);
        }
    }
    recordSelection(previous);
}

ObjectMover* EditorSession::beginDrag(HitCode code, WindowPoint start) {
    mover_.reset();
    if (screen_ == nullptr || selection_.empty() || code == HitCode::None) {
        return nullptr;
    }
    mover_ = std::make_unique<ObjectMover>(*screen_, selection_, geometry(), snapSteps(), code, start);
    return mover_.get();
}

bool EditorSession::finishDrag() {
    if (mover_ == nullptr || screen_ == nullptr) {
        return false;
    }
    const bool moved = mover_->commit(*historyOf(*screen_));
    mover_.reset();
    return moved;
}

bool EditorSession::moveByKey(ArrowKey key) {
    if (screen_ == nullptr || selection_.empty()) {
        return false;
    }
    return ObjectMover::moveByKey(*screen_, selection_, geometry(), snapSteps(), key, *historyOf(*screen_));
}

bool EditorSession::selectNeighbour(bool forward) {
    if (screen_ == nullptr || !selecterMode_ || screen_->objectCount() == 0) {
        return false;
    }
    const auto& objects = screen_->objects();
    const std::size_t count = objects.size();
    std::optional<std::size_t> at;
    if (const ScreenObject* current = selection_.current()) {
        for (std::size_t i = 0; i < count; ++i) {
            if (objects[i].get() == current) {
                at = i;
            }
        }
    }
    for (std::size_t step = 1; step <= count; ++step) {
        std::size_t index = 0;
        if (!at) {
            index = forward ? step - 1 : count - step;
        } else {
            index = forward ? (*at + step) % count : (*at + count - step) % count;
        }
        ScreenObject& candidate = *objects[index];
        if (at && selection_.contains(&candidate)) {
            continue;
        }
        selectOnly(candidate);
        return true;
    }
    return false;
}

RightClickMenu EditorSession::rightClickMenu(WindowPoint point) const {
    if (screen_ == nullptr) {
        return RightClickMenu::None;
    }
    const HandleHit hit = CanvasHitTest::hitSelection(selection_, geometry(), point);
    if (hit.code == HitCode::None) {
        return RightClickMenu::Screen;
    }
    return selection_.size() == 1 ? RightClickMenu::Object : RightClickMenu::None;
}

bool EditorSession::objectMenuZOrderEnabled() const noexcept {
    const ScreenObject* object = selection_.current();
    return object != nullptr && !characterDisplay() && object->kind() != ObjectKind::TouchArea;
}

bool EditorSession::deleteSelection(Prompter& prompter) {
    if (screen_ == nullptr || selection_.empty()) {
        return false;
    }
    char text[64];
    if (selection_.size() == 1) {
        std::snprintf(text, sizeof text, "Delete Object ' %s ' ?",
                      std::string(objectKindName(selection_.current()->kind())).c_str());
    } else {
        std::snprintf(text, sizeof text, "Delete selected %d Objects?", static_cast<int>(selection_.size()));
    }
    if (prompter.confirm(text) != PromptAnswer::Yes) {
        return false;
    }
    return removeSelection();
}

bool EditorSession::removeSelection() {
    if (screen_ == nullptr || selection_.empty()) {
        return false;
    }
    mover_.reset();
    const std::vector<ScreenObject*> doomed = selection_.objects();
    selection_.clear();
    historyOf(*screen_)->record(UndoStep::removeObjects(*screen_, doomed));
    return true;
}

void EditorSession::selectPasted(std::span<ScreenObject* const> objects) {
    mover_.reset();
    returnToSelecter();
    selection_.assign(objects);
    selectionChanged();
}

bool EditorSession::dropEmptyTouchArea(ScreenObject& object) {
    const TaskListOwner* lists = object.taskOwner();
    if (screen_ == nullptr || lists == nullptr || lists->taskBytes() != 0) {
        return false;
    }
    mover_.reset();
    selection_.clear();
    const std::vector<ScreenObject*> doomed{&object};
    historyOf(*screen_)->record(UndoStep::removeObjects(*screen_, doomed));
    return true;
}

bool EditorSession::prepareForPaint() {
    if (screen_ == nullptr) {
        return false;
    }
    bool moved = false;
    std::vector<ScreenObject*> objects;
    for (const auto& object : screen_->objects()) {
        objects.push_back(object.get());
    }
    const CanvasGeometry g = geometry();
    for (ScreenObject* object : objects) {
        // An alarm window narrower than its columns need is widened to them.
        if (auto* alarms = dynamic_cast<AlarmWindowObject*>(object)) {
            moved = alarms->widenToFit(displayClass()) || moved;
        }
        moved = ObjectMover::moveBorderInward(*screen_, *object, g) || moved;
    }
    return moved;
}

// ------------------------------------------------------------------ undo

UndoHistory* EditorSession::history() noexcept {
    return screen_ != nullptr ? historyOf(*screen_) : nullptr;
}

UndoHistory* EditorSession::historyOf(const Screen& screen) noexcept {
    return &histories_[&screen];
}

std::vector<const ScreenObject*> EditorSession::heldObjects() const {
    std::vector<const ScreenObject*> held;
    for (const auto& [screen, history] : histories_) {
        const std::vector<const ScreenObject*> more = history.heldObjects();
        held.insert(held.end(), more.begin(), more.end());
    }
    return held;
}

void EditorSession::discardAllHistories() noexcept {
    mover_.reset();
    histories_.clear();
}

bool EditorSession::canUndo() const noexcept {
    const auto it = screen_ != nullptr ? histories_.find(screen_) : histories_.end();
    return it != histories_.end() && it->second.canUndo();
}

bool EditorSession::canRedo() const noexcept {
    const auto it = screen_ != nullptr ? histories_.find(screen_) : histories_.end();
    return it != histories_.end() && it->second.canRedo();
}

bool EditorSession::undo() {
    if (screen_ == nullptr) {
        return false;
    }
    mover_.reset();
    const bool done = historyOf(*screen_)->undo(*screen_, selection_);
    selectionChanged();
    return done;
}

bool EditorSession::redo() {
    if (screen_ == nullptr) {
        return false;
    }
    mover_.reset();
    const bool done = historyOf(*screen_)->redo(*screen_, selection_);
    selectionChanged();
    return done;
}

void EditorSession::record(std::unique_ptr<UndoStep> step) {
    if (screen_ != nullptr) {
        historyOf(*screen_)->record(std::move(step));
    }
}

void EditorSession::objectCreated(ScreenObject& object) {
    if (screen_ == nullptr || object.screen() != screen_) {
        return;
    }
    ScreenObject* created = &object;
    historyOf(*screen_)->record(UndoStep::create(std::span<ScreenObject* const>(&created, 1)));
    mover_.reset();
    returnToSelecter();
    selection_.clear();
    (void)selection_.add(object);
    selectionChanged();
}

} // namespace quillon
