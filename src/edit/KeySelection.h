#pragma once

#include "model/KeyDefinition.h"

#include <cstdint>

namespace quillon {

class Application;
class Prompter;
class Screen;

// The key chosen in a key dialog (global keys, or the keys of one screen) and the definition behind it.
// Choosing a key that has no definition creates an empty one; moving away from a definition that holds
// no tasks removes it again, so that browsing the keypad leaves nothing behind. The definition still
// chosen when the dialog closes is kept.
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
    // The definition of the chosen code; nullptr when it could not be created.
    KeyDefinition* key() const noexcept { return key_; }
    bool screenKeys() const noexcept { return screen_ != nullptr; }
    Screen* screen() const noexcept { return screen_; }

    // The "Password and Legend" button: hidden for a definition just created, shown for one that
    // existed and after a task was added (global keys only).
    bool passwordShown() const noexcept { return screen_ == nullptr && passwordShown_ && key_ != nullptr; }
    void taskAdded() noexcept { passwordShown_ = true; }

    // Screen keys without tasks act as the global key of the same code: its lists are shown disabled.
    // nullptr when the chosen screen key has tasks, or no such global key exists.
    const KeyDefinition* actingGlobalKey() const noexcept;
    // Whether the chosen key's own lists are shown (and can be edited).
    bool ownListsShown() const noexcept { return actingGlobalKey() == nullptr; }

    void setInterrupt(bool on) noexcept;

private:
    KeyDefinition* find(std::uint16_t code) const noexcept;
    void leaveCurrent();

    Application& app_;
    Screen* screen_;
    Prompter& prompter_;
    Mode mode_ = Mode::SingleKey;
    std::uint16_t code_ = 0;
    KeyDefinition* key_ = nullptr;
    bool passwordShown_ = false;
};

} // namespace quillon
