#pragma once

#include "model/CanvasGeometry.h"
#include "model/EditValues.h"
#include "model/ScreenObject.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

#include <QObject>
#include <QString>

class QDialog;
class QWidget;

namespace quillon {
class Application;
class Tag;
class EditorSession;
class PictureLibrary;
class Prompter;
class ScreenObject;
class TextEntry;
} // namespace quillon

namespace quillon::gui {

class FileChooser;
class ScreenCanvas;

// What placing objects needs of the screen session.
struct PlacementContext {
    EditorSession* editor = nullptr;
    Application* application = nullptr;
    // The parent of the property dialogs and how they run (busy bracket, placement).
    QWidget* dialogParent = nullptr;
    std::function<int(QDialog&)> runDialog;
    Prompter* prompter = nullptr;
    std::function<ScreenCanvas*()> canvas;
    // The keyboard's insert toggle, as the status bar shows it.
    std::function<bool()> insertMode;
    // The status-bar prompt of the tool chosen.
    std::function<void(const QString&)> showPrompt;
    // Opens the task lists of a new touch-screen area.
    std::function<void(ScreenObject&)> touchArea;
    // An object was created or typing changed the screen.
    std::function<void()> changed;
    // The session returned to the selecter (menus, bars and status follow).
    std::function<void()> selecter;
    // The picture library the Bitmap tool chooses from (none: "Can not open pictures' library.") and the
    // file dialog that adds pictures to it.
    std::function<const PictureLibrary*()> library;
    FileChooser* files = nullptr;
};

// The placement tools in the window: choosing a tool (cursor and prompt), and turning what the canvas
// reports (a click, a marked area, a drag, the points of a figure, typed characters) into new objects
// through the core's placement rules.
class PlacementController final : public QObject {
    Q_OBJECT
public:
    explicit PlacementController(PlacementContext context, QObject* parent = nullptr);
    ~PlacementController() override;

    // The commands that choose a tool from the Objects menu and the object tool bars.
    static const std::vector<std::uint16_t>& toolCommands();
    // A tool command: chooses the tool, or for the error tool tells that it is not available.
    void choose(std::uint16_t commandId);
    // Escape or "&Selecter": an unfinished placement is dropped, typing ends.
    void abandon();
    // "&Edit", a double click or Enter on the one selected object: its property dialog, and the changed
    // values written back. False when the kind has no dialog here.
    bool edit(ScreenObject& object);
    // "&Animation Properties" of the one selected object.
    bool animate(ScreenObject& object);
    // Whether the screen may take these tags in place of what `edited` reads (none for a new object).
    // The refusal of tags that would take the screen beyond its read limit; empty when they fit.
    std::string tagsRefusal(const std::vector<Tag*>& tags, const ScreenObject* edited) const;

    // From the canvas.
    void place(UnitPoint start, UnitPoint end, bool dragged);
    void figure(std::vector<ObjectPoint> points);

    // Text typed on the canvas.
    TextEntry* typing() const noexcept { return typing_.get(); }
    // Ends typing: a text that is not empty stays.
    void endTyping();
    // A character from the character-set palette: continues typing, or starts a Text at the top-left cell
    // when none is being typed.
    void typeCharacter(char character);

signals:
    // Typing started or ended (the character-set command follows).
    void typingChanged(bool typing);

private:
    void placeText(UnitPoint start, UnitPoint end, bool dragged);
    void placeBargraph(UnitPoint at);
    // The bitmap library for a new Bitmap object at the click, or to change the picture of `changed`.
    void placeBitmap(UnitPoint at, ScreenObject* changed);
    // The used flags and the picture bytes follow the Bitmap objects of the application.
    void countPictures();
    void placeDataEntry(UnitPoint at);
    // A new data entry or display field at a cell, after the right-edge check.
    void placeField(ObjectKind kind, const EditValues& values, UnitPoint at);
    // An edited field: new properties, the width they need, or a new object when the kind changed.
    // `loaded`: the values the dialog opened with (the width is kept when they need the same).
    void rewriteField(ScreenObject& object, ObjectKind kind, const EditValues& values,
                      const EditValues* loaded = nullptr);
    int run(QDialog& dialog) const;
    void placeBuilt(std::unique_ptr<ScreenObject> object);
    void finished();

    PlacementContext context_;
    std::unique_ptr<TextEntry> typing_;
};

} // namespace quillon::gui
