#pragma once

#include "model/CanvasGeometry.h"

#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>

namespace quillon {

class EditorSession;
class Prompter;
class TextObject;

// Typing a Text object on the canvas. The object sits on the screen while it is typed (so that it is
// drawn); when typing ends a text that is not empty stays as one create step and an empty one goes.
// Without the scroll attribute the text is limited to the object's cells; with it (flash 192 or more) to
// 245 characters, shown a few rows at a time. A Text placed by a click grows with its text: one row as wide
// as the text while it fits, then the whole width of its area and as many rows as needed.
class TextEntry final {
public:
    static constexpr std::size_t kMaxCharacters = 245;
    static constexpr std::uint8_t kFirstScrollFlash = 192;
    // The first button of the character-set palette types this in place of the blank.
    static constexpr char kBlankReplacement = static_cast<char>(254);

    // Starts typing a new Text object in `area` (cells of the current font, inside the screen): refused on
    // a full screen and, on character displays, where the first cell lies on another object. The object
    // takes the session's current attributes; a Text placed by a click on a graphic display has no border.
    static std::unique_ptr<TextEntry> start(EditorSession& session, const UnitRect& area, CellSize cell,
                                            bool placedByClick, Prompter& prompter);

    // Types into a Text object already on the screen (its double click, Enter or "&Edit"): the caret in its
    // first cell, the object keeping its cells. Emptied, the object is removed as an undoable deletion.
    static std::unique_ptr<TextEntry> resume(EditorSession& session, TextObject& object, CellSize cell);

    TextEntry(EditorSession& session, TextObject& object, const UnitRect& area, CellSize cell, bool grows);
    ~TextEntry();
    TextEntry(const TextEntry&) = delete;
    TextEntry& operator=(const TextEntry&) = delete;

    TextObject& object() const noexcept { return object_; }
    const UnitRect& area() const noexcept { return area_; }
    bool scrolls() const noexcept;
    // How many characters the text may hold.
    std::size_t capacity() const noexcept;
    std::size_t caret() const noexcept { return caret_; }
    // The first text row shown (scrolling texts only move it).
    std::int32_t firstVisibleRow() const noexcept { return firstRow_; }
    // The caret's cell in unit pixels.
    UnitRect caretRect() const noexcept;
    // The characters typed since the object was last drawn in full: [from, to).
    // The cell of the character at `index` as shown (the view scrolled), or nothing when it is out of view.
    std::optional<UnitRect> cellRect(std::size_t index) const noexcept;
    std::size_t freshFrom() const noexcept { return freshFrom_; }
    std::size_t freshTo() const noexcept { return freshTo_; }
    void markDrawn() noexcept { freshFrom_ = freshTo_ = 0; }

    // A typed character: overwrites the one at the caret, or is inserted before it (insert mode); at the
    // end of the text it is appended. False when the text is full.
    bool type(char character, bool insert);
    bool backspace();
    bool deleteAtCaret();
    void left() noexcept;
    void right() noexcept;
    void up() noexcept;
    void down() noexcept;
    void home() noexcept;
    void end() noexcept;

    // Ends typing: a text that is not empty stays (one create step, selected); an empty one leaves the
    // screen. Returns whether the object stayed. The entry must not be used afterwards.
    bool finish();

private:
    std::int32_t areaColumns() const noexcept;
    std::int32_t areaRows() const noexcept;
    std::int32_t objectColumns() const noexcept;
    std::int32_t objectRows() const noexcept;
    // Columns by which the caret wraps.
    std::int32_t layoutColumns() const noexcept;
    void setText(std::string text);
    void fitObject();
    void keepCaretVisible() noexcept;
    void fresh(std::size_t index) noexcept;

    EditorSession& session_;
    TextObject& object_;
    UnitRect area_;
    CellSize cell_;
    bool grows_;
    std::size_t caret_ = 0;
    std::int32_t firstRow_ = 0;
    std::size_t freshFrom_ = 0;
    std::size_t freshTo_ = 0;
    bool finished_ = false;
    bool existing_ = false;
};

} // namespace quillon
