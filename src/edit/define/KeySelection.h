#pragma once

#include "model/KeyDefinition.h"

#include <cstdint>

namespace quillon {

class Application;
class Prompter;
class Screen;

// The key chosen in a key dialog (global keys, or the keys of one screen) and the definition behind it.
// Choosing a key that has no definition creates an empty one; moving away from a definition that holds
// nothing (no task, no password, no legend, no interrupt flag) removes it again, and so does closing the
// dialog, so that browsing the keypad or opening and closing the dialog leaves nothing behind. A
// definition that already held nothing when it was chosen is the file's own and stays as it was.
//
// The definition is looked up by its code whenever it is asked for, so a definition removed behind the
// selection's back (by another key dialog opened on top of this one) is never handed out.
class KeySelection final {
public:
    enum class Mode : std::uint8_t { SingleKey, TwoKeys };
    static constexpr std::string_view kCannotCreateKey = "Can't create new Key.";

    // `screen` nullptr: the global keys.
    KeySelection(Application& application, Screen* screen, Prompter& prompter);

    Mode mode() const noexcept { return mode_; }
    void setMode(Mode mode) noexcept { mode_ = mode; }

    // A click on a key: with a single key it is chosen alone; with two keys it becomes the second key of
    // the combination and the second key chosen before becomes the first. False when nothing changed.
    bool click(std::uint8_t key);
    // Chooses a key code directly (returning from another dialog to the same key).
    bool choose(std::uint16_t code);

    std::uint16_t code() const noexcept { return code_; }
    std::uint8_t firstKey() const noexcept { return static_cast<std::uint8_t>(code_ & 0xFFU); }
    std::uint8_t secondKey() const noexcept { return static_cast<std::uint8_t>(code_ >> 8); }
    // Whether the key's button is drawn selected (the key, or either key of the combination).
    bool isSelected(std::uint8_t key) const noexcept;
    // The definition of the chosen code; nullptr when it could not be created or is gone.
    KeyDefinition* key() const noexcept { return find(code_); }
    // Whether a definition holds nothing the unit could use or the user set.
    static bool holdsNothing(const KeyDefinition& key) noexcept;
    // The dialog closes: an empty definition the selection made (or emptied) goes. True when one went.
    // Nothing stays chosen afterwards; choosing again starts over.
    bool close();
    bool screenKeys() const noexcept { return screen_ != nullptr; }
    Screen* screen() const noexcept { return screen_; }

    // The "Password and Legend" button: hidden for a definition just created, shown for one that
    // existed and after a task was added (global keys only).
    bool passwordShown() const noexcept { return screen_ == nullptr && passwordShown_ && key() != nullptr; }
    void taskAdded() noexcept { passwordShown_ = true; }

    // Screen keys without tasks act as the global key of the same code: its lists are shown disabled.
    // nullptr when the chosen screen key has tasks, or no such global key exists.
    const KeyDefinition* actingGlobalKey() const noexcept;
    // Whether the chosen key's own lists are shown (and can be edited).
    bool ownListsShown() const noexcept { return actingGlobalKey() == nullptr; }

    void setInterrupt(bool on) noexcept;

private:
    KeyDefinition* find(std::uint16_t code) const noexcept;
    bool leaveCurrent();

    Application& app_;
    Screen* screen_;
    Prompter& prompter_;
    Mode mode_ = Mode::SingleKey;
    std::uint16_t code_ = 0;
    bool passwordShown_ = false;
    // The chosen definition was found holding nothing: it is kept as it is when the selection leaves it.
    bool foundEmpty_ = false;
};

} // namespace quillon
