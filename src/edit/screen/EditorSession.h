#pragma once

#include "edit/screen/CanvasHitTest.h"
#include "edit/screen/EditorSelection.h"
#include "edit/screen/ObjectMover.h"
#include "edit/screen/UndoHistory.h"
#include "model/CanvasGeometry.h"
#include "model/Result.h"

#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace quillon {

class Application;
class ClipboardKeeper;
class Prompter;
class Screen;
class ScreenObject;

// The attributes the next new object takes; copied from an object when it becomes the only selection.
struct CurrentAttributes {
    std::uint8_t font = 0;      // alpha-numeric objects
    std::uint8_t thickness = 0; // line thickness of graphical objects
    std::uint8_t pen = 0;
    std::uint8_t textForeground = 0;
    std::uint8_t textBackground = 100;
    std::uint8_t fill = 100;
    std::uint8_t flash = 0;
    std::uint8_t border = 0;
    std::uint8_t zLevel = 3;

    friend bool operator==(const CurrentAttributes&, const CurrentAttributes&) = default;
};

// The dot grid of graphic displays and the snap grid. Horizontal spacing is the distance between grid
// rows (the vertical step), vertical spacing the distance between grid columns (the horizontal step), in
// unit pixels.
struct GridConfiguration {
    static constexpr std::int32_t kMinSpacing = 2;
    static constexpr std::int32_t kMaxSpacing = 40;

    std::int32_t horizontalSpacing = 8;
    std::int32_t verticalSpacing = 6;
    bool snap = false;

    friend bool operator==(const GridConfiguration&, const GridConfiguration&) = default;
};

// The menu a right click opens: RB_OBJECT for the one selected object under the pointer, RB_SCREEN
// elsewhere, none on one of several selected objects.
enum class RightClickMenu : std::uint8_t { None, Object, Screen };

// What a button press in selecter mode starts.
enum class PressAction : std::uint8_t { None, Drag, RubberBand };

struct PressResult {
    PressAction action = PressAction::None;
    HitCode code = HitCode::None;
    ScreenObject* object = nullptr; // the object pressed on
};

// The state of the screen editor for one open application: the screen being edited, the hidden clipboard
// screen, the selection, the tool, zoom, grids, scroll positions, the current attributes and one undo
// history per screen. The canvas widget turns mouse and keyboard events into calls of this class and
// paints what it describes:
//   button down   press(toCanvas(p), shift): Drag -> beginDrag(code, p) once the pointer moves;
//                 RubberBand -> the widget draws the band
//   pointer moves drag()->update(p): outlines of the proposal
//   button up     finishDrag() or finishRubberBand(band, shift), then release(p, shift, dragged)
//   keys          moveByKey, clearSelection (Escape), editableObject (Enter), deleteSelection (Delete)
//   painting      prepareForPaint() first, then the screen, then the handles of selection().units()
// The session must end before its application is destroyed.
class EditorSession final {
public:
    static constexpr std::int32_t kInitialZoom = 20;
    static constexpr std::int32_t kLargeScreenZoom = 10; // a session opening on display class 52
    static constexpr std::uint8_t kLargeScreenClass = 52;
    static constexpr std::uint16_t kSelecterTool = 0;
    static constexpr std::uint32_t kUnitPixelPositionModel = 500; // models from here show unit pixels
    static constexpr std::string_view kScreenFullText = "This screen contains 255 objects. Can't add more.";

    // A new or opened application: zoom 20, the dot grid shown on character displays only, the touch
    // grid hidden, the default grid configuration and attributes.
    explicit EditorSession(Application& application);
    ~EditorSession();
    EditorSession(const EditorSession&) = delete;
    EditorSession& operator=(const EditorSession&) = delete;

    Application& application() const noexcept { return application_; }
    std::uint8_t displayClass() const noexcept;
    bool characterDisplay() const noexcept;
    CanvasGeometry geometry() const noexcept { return CanvasGeometry(displayClass(), zoom_); }

    // ---- Session ----
    // Starts editing a screen of the application (another one when a session is open): the clipboard is
    // created with the first session, class 52 opens at zoom 10, the selection starts empty.
    Status open(Screen& screen);
    // Ends the session: empty Text objects do not survive it. Returns how many were deleted.
    std::size_t close();
    bool isOpen() const noexcept { return screen_ != nullptr; }
    Screen* screen() const noexcept { return screen_; }
    // Another screen in the same session (the screens manager); the selection is cleared.
    Status changeScreen(Screen& screen);
    // The application's hidden screen that holds cut and copied objects; nullptr until the first session
    // opens.
    Screen* clipboard() const noexcept { return clipboard_; }
    // What the clipboard screen holds or, while it is empty, what the keeper brought from an application
    // closed before this one (nullptr: no keeper).
    std::size_t clipboardCount() const noexcept;
    void setClipboardKeeper(ClipboardKeeper* keeper) noexcept { keeper_ = keeper; }
    ClipboardKeeper* clipboardKeeper() const noexcept { return keeper_; }
    // The screen is initialised or deleted: its undo history goes (and the session leaves a deleted
    // screen).
    void discardHistory(const Screen& screen) noexcept;
    void screenDeleted(const Screen& screen) noexcept;
    // Objects taken off the current screen by other means (the touch-screen option switched off): no
    // selection or step may refer to them.
    void objectRemoved(const ScreenObject* object) noexcept;

    // ---- Zoom and scrolling ----
    std::int32_t zoom() const noexcept { return zoom_; }
    bool canZoomIn() const noexcept { return zoom_ < CanvasGeometry::kMaxZoom; }
    bool canZoomOut() const noexcept { return zoom_ > CanvasGeometry::kMinZoom; }
    // +1 zooms in, -1 out, 0 only lays out again; false when the zoom cannot change that way. The scroll
    // positions return to 0.
    bool setZoom(int step) noexcept;
    // The largest zoom step at which the whole screen fits the view (the smallest when none does); false
    // when the zoom stays as it is.
    bool zoomToFit() noexcept;
    // The window pixels the session window can show of the zoomed screen (0: no limit). Above the unit's
    // own zooms the window is cut to it and scrolls; the scroll positions are kept within the new range.
    void setViewArea(CanvasSize view) noexcept;
    CanvasSize viewArea() const noexcept { return view_; }
    // The scroll-limited window at the zoom within the view; none when the whole screen shows.
    std::optional<ScrollLayout> scrollLayout() const noexcept { return geometry().scrollLayout(view_); }
    // Before the "20 x 28" font is chosen at zoom 30 the view zooms out one step.
    bool zoomForLargeFont() noexcept;
    int horizontalScroll() const noexcept { return horizontalScroll_; }
    int verticalScroll() const noexcept { return verticalScroll_; }
    // At the unit's zooms scroll positions are 0 or 1 (any other value is taken as 1); above them a
    // position counts unit pixels, held within the layout's range. A bar the layout does not have stays 0.
    void setScroll(bool horizontal, int position) noexcept;
    // Where the visible part begins in the zoomed screen.
    WindowPoint scrollOffset() const noexcept;
    // A point of the window's client area in zoomed-screen pixels.
    WindowPoint toCanvas(WindowPoint client) const noexcept;

    // ---- Grids ----
    bool showDotGrid() const noexcept { return showDotGrid_; }
    bool showTouchGrid() const noexcept { return showTouchGrid_; }
    void toggleDotGrid() noexcept { showDotGrid_ = !showDotGrid_; }
    // Refused on character displays, which have no touch grid.
    bool toggleTouchGrid() noexcept;
    std::string_view dotGridMenuText() const noexcept;
    std::string_view touchGridMenuText() const noexcept;
    bool gridConfigurationEnabled() const noexcept { return !characterDisplay(); }
    bool touchGridCommandEnabled() const noexcept { return !characterDisplay(); }
    const GridConfiguration& gridConfiguration() const noexcept { return grid_; }
    // Spacings are kept within 2..40.
    void setGridConfiguration(const GridConfiguration& grid) noexcept;
    // Snap steps in window pixels: (Z / 10) x spacing, 0 when snapping is off.
    std::int32_t snapStepX() const noexcept;
    std::int32_t snapStepY() const noexcept;
    // The same in unit pixels, for moving objects.
    SnapSteps snapSteps() const noexcept;

    // ---- Tools ----
    std::uint16_t currentTool() const noexcept { return currentTool_; }
    bool selecterMode() const noexcept { return selecterMode_; }
    // Chooses a placement tool: refused (message shown, selecter kept) on a screen with 255 objects;
    // otherwise the selection is recorded for undo and cleared.
    bool chooseTool(std::uint16_t tool, Prompter& prompter);
    // Takes up a tool again for an object already on the screen (typing into an existing text): no count
    // check, the selection cleared.
    void resumeTool(std::uint16_t tool);
    // After a placement, a cancelled one, the "&Selecter" command or a refusal.
    void returnToSelecter() noexcept;
    // The placement tool that makes objects of a kind (the tool the menus show for a selected object).
    static std::uint16_t toolForKind(ObjectKind kind) noexcept;

    // ---- Attributes ----
    // The formats new Time and Date objects take: time 0 "HH:MM:SS", 1 "HH:MM"; date 0 "DD/MM/YY",
    // 1 "MM/DD/YY".
    std::uint8_t timeFormat() const noexcept { return timeFormat_; }
    std::uint8_t dateFormat() const noexcept { return dateFormat_; }
    void setTimeFormat(std::uint8_t format) noexcept { timeFormat_ = format == 1 ? 1 : 0; }
    void setDateFormat(std::uint8_t format) noexcept { dateFormat_ = format == 1 ? 1 : 0; }
    const CurrentAttributes& attributes() const noexcept { return attributes_; }
    CurrentAttributes& attributes() noexcept { return attributes_; }
    // The attributes an object shows, as they become current when it is the only selection.
    static CurrentAttributes attributesOf(const ScreenObject& object, const CurrentAttributes& base,
                                          bool characterDisplay) noexcept;

    // ---- Selection ----
    const EditorSelection& selection() const noexcept { return selection_; }
    // Each of these records the previous selection for undo when the selection changes.
    void clearSelection();
    void selectOnly(ScreenObject& object);
    void addToSelection(ScreenObject& object);
    void removeFromSelection(ScreenObject& object);
    void selectAll();
    std::string statusText() const { return selection_.statusText(); }
    ToolCommandState commandState() const {
        return selection_.commandState(characterDisplay(), clipboardCount());
    }
    // The single selected object that "&Edit", Enter and a double click open; nullptr otherwise.
    ScreenObject* editableObject() const noexcept;
    // The position field of the status bar for a point of the zoomed screen.
    std::string positionText(WindowPoint point) const;

    // ---- Mouse and keys (selecter mode) ----
    // Button down: empty texts go, then a handle or a selected object starts a drag; an unselected object
    // becomes selected (added with Shift) and can be dragged at once; empty space starts a rubber band.
    PressResult press(WindowPoint point, bool shift);
    // Button up; `dragged` when the pointer moved with the button down. A click on an object that was
    // already selected removes it (Shift) or makes it the only selection.
    void release(WindowPoint point, bool shift, bool dragged);
    // Button up after a rubber band.
    void finishRubberBand(const WindowRect& band, bool shift);
    // A drag of the selection by a handle or inside it.
    ObjectMover* beginDrag(HitCode code, WindowPoint start);
    ObjectMover* drag() const noexcept { return mover_.get(); }
    // Stores the drag as one move step; false when nothing moved.
    bool finishDrag();
    void cancelDrag() noexcept { mover_.reset(); }
    bool moveByKey(ArrowKey key);
    // Tab and Shift+Tab in selecter mode: the object after (before) the current one in the screen's list
    // becomes the only selection, round from the last to the first; with nothing selected the first (the
    // last). Objects of the group selected now are passed over. False when nothing else can be selected.
    bool selectNeighbour(bool forward);
    RightClickMenu rightClickMenu(WindowPoint point) const;
    // "Send Bac&k" and "Bring &Front" of the object menu: not on character displays, not for touch areas.
    bool objectMenuZOrderEnabled() const noexcept;
    // The Delete key: asks, then takes the selection off the screen as one undoable step. False when
    // nothing was deleted.
    bool deleteSelection(Prompter& prompter);
    // Takes the selection off the screen as one undoable step without asking (cut); the selection is
    // empty afterwards.
    bool removeSelection();
    // The objects a paste put on the screen become the selection (the paste's create step brings them
    // back into it on redo).
    void selectPasted(std::span<ScreenObject* const> objects);
    // A touch area left with three empty task lists when its task lists close goes from the screen (as
    // one undoable step) and the selection is cleared. True when it went.
    bool dropEmptyTouchArea(ScreenObject& object);
    // Before painting: bordered alpha-numeric objects step away from edges they come too close to.
    bool prepareForPaint();

    // ---- Undo ----
    UndoHistory* history() noexcept;
    UndoHistory* historyOf(const Screen& screen) noexcept;
    // Objects that undo steps hold off their screens (deleted, or created and undone). They still name
    // tags: a tag, block or node they refer to must not be deleted while they are held, or the histories
    // must be discarded first.
    std::vector<const ScreenObject*> heldObjects() const;
    void discardAllHistories() noexcept;
    bool canUndo() const noexcept;
    bool canRedo() const noexcept;
    bool undo();
    bool redo();
    // Records a step of an editing command on the current screen.
    void record(std::unique_ptr<UndoStep> step);
    // A placement put the object on the current screen: one create step is recorded, the object becomes
    // the only selection (no separate selection step) and the session returns to the selecter.
    void objectCreated(ScreenObject& object);

private:
    void recordSelection(const std::vector<ScreenObject*>& previous);
    void selectionChanged();
    void dropEmptyTexts();

    Application& application_;
    Screen* screen_ = nullptr;
    Screen* clipboard_ = nullptr;
    ClipboardKeeper* keeper_ = nullptr;
    EditorSelection selection_;
    std::map<const Screen*, UndoHistory> histories_;
    std::unique_ptr<ObjectMover> mover_;
    std::int32_t zoom_ = kInitialZoom;
    CanvasSize view_;
    int horizontalScroll_ = 0;
    int verticalScroll_ = 0;
    bool showDotGrid_ = false;
    bool showTouchGrid_ = false;
    GridConfiguration grid_;
    std::uint16_t currentTool_ = kSelecterTool;
    bool selecterMode_ = true;
    CurrentAttributes attributes_;
    std::uint8_t timeFormat_ = 0;
    std::uint8_t dateFormat_ = 0;
    // The object under a press that was already selected, for the click rules of button up.
    ScreenObject* pressedSelected_ = nullptr;
};

} // namespace quillon
