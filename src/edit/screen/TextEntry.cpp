#include "edit/screen/TextEntry.h"

#include "edit/screen/EditorSession.h"
#include "edit/screen/ObjectGeometry.h"
#include "edit/screen/ObjectPlacement.h"
#include "edit/screen/PlacementTool.h"
#include "edit/screen/UndoStep.h"
#include "model/Prompter.h"
#include "model/Screen.h"
#include "model/TextObject.h"

#include <algorithm>
#include <string>

namespace quillon {

std::unique_ptr<TextEntry> TextEntry::start(EditorSession& session, const UnitRect& area, CellSize cell,
                                            bool placedByClick, Prompter& prompter) {
    Screen* screen = session.screen();
    if (screen == nullptr || cell.width <= 0 || cell.height <= 0) {
        session.returnToSelecter();
        return nullptr;
    }
    if (screen->objectCount() >= Screen::kMaxObjects) {
        prompter.information(EditorSession::kScreenFullText);
        session.returnToSelecter();
        return nullptr;
    }
    const UnitRect firstCell{area.left, area.top, area.left + cell.width - 1, area.top + cell.height - 1};
    if (session.characterDisplay() && findOverlap(*screen, firstCell, nullptr) != nullptr) {
        prompter.information(overlapMessage(ObjectKind::Text));
        session.returnToSelecter();
        return nullptr;
    }
    CurrentAttributes attributes = session.attributes();
    if (placedByClick) {
        attributes.border = 0;
    }
    auto built = ObjectPlacement::build(ObjectKind::Text, firstCell, attributes, EditValues{},
                                        session.characterDisplay());
    if (!built) {
        prompter.error(ObjectPlacement::kCannotCreateText);
        session.returnToSelecter();
        return nullptr;
    }
    Result<ScreenObject*> added = screen->appendObject(std::move(built));
    if (!added) {
        prompter.error(ObjectPlacement::kCannotCreateText);
        session.returnToSelecter();
        return nullptr;
    }
    auto& text = static_cast<TextObject&>(*added.value());
    return std::make_unique<TextEntry>(session, text, area, cell, placedByClick);
}

std::unique_ptr<TextEntry> TextEntry::resume(EditorSession& session, TextObject& object, CellSize cell) {
    if (object.screen() == nullptr || object.screen() != session.screen() || cell.width <= 0 ||
        cell.height <= 0) {
        return nullptr;
    }
    const UnitRect area{object.left, object.top, object.right, object.bottom};
    session.resumeTool(PlacementTools::kText);
    auto entry = std::make_unique<TextEntry>(session, object, area, cell, false);
    entry->existing_ = true;
    // The text keeps the place and size it has until a character is typed into it.
    setObjectRect(object, area);
    return entry;
}

TextEntry::TextEntry(EditorSession& session, TextObject& object, const UnitRect& area, CellSize cell,
                     bool grows)
    : session_(session), object_(object), area_(area), cell_(cell), grows_(grows) {
    fitObject();
}

TextEntry::~TextEntry() = default;

bool TextEntry::scrolls() const noexcept {
    return object_.flash >= kFirstScrollFlash;
}

std::int32_t TextEntry::areaColumns() const noexcept {
    return std::max((area_.spanX() + 1) / cell_.width, 1);
}

std::int32_t TextEntry::areaRows() const noexcept {
    return std::max((area_.spanY() + 1) / cell_.height, 1);
}

std::int32_t TextEntry::objectColumns() const noexcept {
    return std::max((object_.right - object_.left + 1) / cell_.width, 1);
}

std::int32_t TextEntry::objectRows() const noexcept {
    return std::max((object_.bottom - object_.top + 1) / cell_.height, 1);
}

std::int32_t TextEntry::layoutColumns() const noexcept {
    return grows_ ? areaColumns() : objectColumns();
}

std::size_t TextEntry::capacity() const noexcept {
    if (scrolls()) {
        return kMaxCharacters;
    }
    const auto cells = static_cast<std::size_t>(areaColumns() * areaRows());
    return std::min(cells, kMaxCharacters);
}

void TextEntry::fitObject() {
    std::int32_t columns = areaColumns();
    std::int32_t rows = areaRows();
    if (grows_ && !scrolls()) {
        const auto length = static_cast<std::int32_t>(std::max<std::size_t>(object_.text().size(), 1));
        if (length <= columns) {
            columns = length;
            rows = 1;
        } else {
            rows = std::min((length + columns - 1) / columns, rows);
        }
    }
    setObjectRect(object_, {area_.left, area_.top, area_.left + columns * cell_.width - 1,
                            area_.top + rows * cell_.height - 1});
}

void TextEntry::setText(std::string text) {
    (void)object_.setText(text);
    fitObject();
}

void TextEntry::fresh(std::size_t index) noexcept {
    if (freshFrom_ == freshTo_) {
        freshFrom_ = index;
        freshTo_ = index + 1;
    } else {
        freshFrom_ = std::min(freshFrom_, index);
        freshTo_ = std::max(freshTo_, index + 1);
    }
}

bool TextEntry::type(char character, bool insert) {
    std::string text = object_.text();
    if (caret_ < text.size() && !insert) {
        text[caret_] = character;
    } else {
        if (text.size() >= capacity()) {
            return false;
        }
        text.insert(text.begin() + static_cast<std::ptrdiff_t>(caret_), character);
    }
    setText(std::move(text));
    fresh(caret_);
    if (insert) {
        // The characters behind the caret moved: they are fresh as well.
        freshTo_ = std::max(freshTo_, object_.text().size());
    }
    ++caret_;
    keepCaretVisible();
    return true;
}

bool TextEntry::backspace() {
    if (caret_ == 0) {
        return false;
    }
    --caret_;
    (void)deleteAtCaret();
    return true;
}

bool TextEntry::deleteAtCaret() {
    std::string text = object_.text();
    if (caret_ >= text.size()) {
        keepCaretVisible();
        return false;
    }
    text.erase(caret_, 1);
    setText(std::move(text));
    markDrawn();
    keepCaretVisible();
    return true;
}

void TextEntry::left() noexcept {
    if (caret_ > 0) {
        --caret_;
    }
    keepCaretVisible();
}

void TextEntry::right() noexcept {
    if (caret_ < object_.text().size()) {
        ++caret_;
    }
    keepCaretVisible();
}

void TextEntry::up() noexcept {
    const auto columns = static_cast<std::size_t>(layoutColumns());
    if (caret_ >= columns) {
        caret_ -= columns;
    }
    keepCaretVisible();
}

void TextEntry::down() noexcept {
    const auto columns = static_cast<std::size_t>(layoutColumns());
    if (caret_ + columns <= object_.text().size()) {
        caret_ += columns;
    }
    keepCaretVisible();
}

void TextEntry::home() noexcept {
    caret_ = 0;
    keepCaretVisible();
}

void TextEntry::end() noexcept {
    caret_ = object_.text().size();
    keepCaretVisible();
}

void TextEntry::keepCaretVisible() noexcept {
    // The caret stands after the last character at most; past the last cell only when the text is full.
    caret_ = std::min(caret_, object_.text().size());
    if (!scrolls()) {
        firstRow_ = 0;
        return;
    }
    const auto row = static_cast<std::int32_t>(std::min(caret_, capacity() - 1)) / layoutColumns();
    const std::int32_t visible = areaRows();
    if (row < firstRow_) {
        firstRow_ = row;
    } else if (row >= firstRow_ + visible) {
        firstRow_ = row - visible + 1;
    }
}

std::optional<UnitRect> TextEntry::cellRect(std::size_t index) const noexcept {
    const std::int32_t columns = layoutColumns();
    if (columns <= 0) {
        return std::nullopt;
    }
    const auto at = static_cast<std::int32_t>(index);
    const std::int32_t left = area_.left + (at % columns) * cell_.width;
    const std::int32_t top = area_.top + (at / columns - firstRow_) * cell_.height;
    const UnitRect cell{left, top, left + cell_.width - 1, top + cell_.height - 1};
    const UnitRect shown{object_.left, object_.top, object_.right, object_.bottom};
    if (!shown.contains(cell)) {
        return std::nullopt;
    }
    return cell;
}

UnitRect TextEntry::caretRect() const noexcept {
    const std::int32_t columns = layoutColumns();
    // A full text shows the caret on its last cell.
    const auto index = static_cast<std::int32_t>(std::min(caret_, capacity() - 1));
    const std::int32_t column = index % columns;
    const std::int32_t row = index / columns - firstRow_;
    const std::int32_t left = area_.left + column * cell_.width;
    const std::int32_t top = area_.top + row * cell_.height;
    return {left, top, left + cell_.width - 1, top + cell_.height - 1};
}

bool TextEntry::finish() {
    if (finished_) {
        return false;
    }
    finished_ = true;
    Screen* screen = object_.screen();
    if (existing_) {
        const bool kept = !object_.text().empty();
        if (!kept && screen != nullptr) {
            ScreenObject* emptied = &object_;
            session_.objectRemoved(emptied);
            session_.record(UndoStep::removeObjects(*screen, std::span<ScreenObject* const>(&emptied, 1)));
        }
        session_.returnToSelecter();
        return kept;
    }
    if (object_.text().empty()) {
        if (screen != nullptr) {
            session_.objectRemoved(&object_);
            (void)screen->removeObject(object_);
        }
        session_.returnToSelecter();
        return false;
    }
    session_.objectCreated(object_);
    return true;
}

} // namespace quillon
