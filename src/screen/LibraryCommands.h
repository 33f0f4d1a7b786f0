#pragma once

#include "model/CanvasGeometry.h"

#include <filesystem>
#include <functional>
#include <optional>

class QDialog;
class QWidget;

namespace quillon {
class EditorSession;
class PanelFont;
class Prompter;
} // namespace quillon

namespace quillon::gui {

// What the library commands need of the screen session.
struct LibraryContext {
    EditorSession& editor;
    Prompter& prompter;
    QWidget* parent = nullptr;
    std::function<int(QDialog&)> runDialog;
    std::filesystem::path catalogDirectory;
    std::filesystem::path libraryDirectory;
    const PanelFont& font;
};

// "Add to Library..." and "Insert from Library..." of the screen editor. Adding keeps the selected objects
// with the tags they use as one item file of the user's library. Inserting asks for the item and its tag
// substitution, creates the tags chosen for creation and puts the objects on the screen as one undoable
// step, at the point given (where the screen was right-clicked) or at the top-left corner of the first
// free area; a refusal names the reason and leaves the application as it was.
class LibraryCommands final {
public:
    static bool addToLibrary(const LibraryContext& context);
    static bool insertFromLibrary(const LibraryContext& context, std::optional<UnitPoint> at);
};

} // namespace quillon::gui
