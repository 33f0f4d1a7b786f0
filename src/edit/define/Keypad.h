#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace quillon {

class Application;

// The keypad of a panel model as the key editors show it: the keys it has, how many of them carry the
// function-key marks F1, F2 ... and the key selected when a key dialog opens.
struct KeypadLayout {
    std::string_view name;
    std::uint8_t firstKey = 1;
    std::uint8_t lastKey = 1;
    std::uint8_t functionKeys = 0; // keys firstKey .. firstKey + functionKeys - 1 are F1 ...
    std::uint8_t openingKey = 1;

    bool hasKey(std::uint8_t key) const noexcept { return key >= firstKey && key <= lastKey; }
    std::size_t keyCount() const noexcept { return static_cast<std::size_t>(lastKey - firstKey + 1); }
};

inline constexpr std::string_view kWrongDisplayType = "Wrong Display type.";

// The layout of a model; nothing for a model without one (the dialogs then show "Wrong Display type.").
std::optional<KeypadLayout> keypadLayoutOf(std::uint16_t modelId) noexcept;
// The caption of a key button: "F1" ... for marked keys, the key number for the others.
std::string keyCaption(const KeypadLayout& layout, std::uint8_t key);

// The one name of a key or a two-key combination (its key code) wherever a key is named to the user: "F9"
// for key 9, "F3 + F4" for the combination of keys 3 and 4. The key's button may carry another caption.
std::string keyName(std::uint16_t code);
// A key or combination as a user writes it: its name ("F9", "f9", "F3 + F4", "F3+F4") or its number ("9",
// "3+4"); nothing for other texts and for key numbers outside 1 to 255. Whether the keypad has the keys is
// not checked.
std::optional<std::uint16_t> parseKeyName(std::string_view text);

// Picture numbers of key buttons.
namespace key_picture {
inline constexpr int kUndefined = 598; // "Indicates undefined Global-Key."
inline constexpr int kDefined = 599;
inline constexpr int kNormalOffset = 1000;
inline constexpr int kSelectedOffset = 3000;
} // namespace key_picture

// The picture of a key's button, from the global key defined on the key alone: the marker of an
// undefined key, the plain picture of a key with a legend or with tasks that have no picture, or the
// picture of its first task that has one.
int keyPicture(const Application& application, std::uint8_t key);
// The bitmap resource of a button: the picture plus 1000, or plus 3000 while selected.
inline int keyButtonBitmap(int picture, bool selected) noexcept {
    return picture + (selected ? key_picture::kSelectedOffset : key_picture::kNormalOffset);
}
// A short symbol for a picture, drawn on the key buttons.
std::string_view keyPictureSymbol(int picture) noexcept;

// Where the screen task-lists dialog places the screen preview in its 326 x 246 frame.
struct PreviewOrigin {
    int x = 0;
    int y = 0;
};
std::optional<PreviewOrigin> screenPreviewOrigin(std::uint16_t modelId) noexcept;
// The screen-key dialog shows a preview in the layout except for the 320 x 240 model.
bool keyLayoutShowsPreview(std::uint16_t modelId) noexcept;

} // namespace quillon
