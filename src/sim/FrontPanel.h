#pragma once

#include "edit/define/Keypad.h"

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace quillon {

class Application;

// The keys of the unit's front panel as a user of the simulator meets them: the legend each key carries
// and the keys of the desk's keyboard that press it.
//
// A key's legend is its global key's text legend, else the symbol of its global key's picture ("1" for
// Numeric Key 1, "ENT" for Accept, "ESC" for Cancel, "CLR" for Clear, "+" and "-" for Increase and
// Decrease ...), else nothing. The keyboard reaches:
//   - key n through Fn (F1 to F12), as keys are named;
//   - the keys whose legend is a digit or a hexadecimal letter through that character ("Sign Key ( +/- )
//     and 0" through 0 when no key carries a plain 0);
//   - ENT through Return, ESC through Escape, CLR through Delete and Backspace, < and > through the Left
//     and Right arrows, + and - through the Up and Down arrows and the + and - keys, PG- and PG+ through
//     Page Up and Page Down, EDIT (the data entry mode) through Insert.
// When two keys carry the same legend the lower-numbered one is reached.
//
// The keys are laid out as on the model's front panel: rows of keys in key number order, as many to a row
// as the model's keypad has columns, so that the digits of the default keys stand as a numeric pad (on the
// VQ5K-822: F5 to F8 carry 1 to 4, F9 to F12 are function keys, F13 to F16 carry 5 to 8, then 9, 0, ESC,
// ENT, and + and - below). The model with the keypad "keys_162_15" has its function keys F1 to F8 above a
// numeric block numbered down its columns (F9, F10, F11 are 1, 4, 7).
class FrontPanel final {
public:
    // Where a key sits on the panel: its row and column in the grid of keys.
    struct Place {
        std::uint8_t key = 0;
        int row = 0;
        int column = 0;
        friend bool operator==(const Place&, const Place&) = default;
    };

    explicit FrontPanel(const Application& application);

    // The model's keypad; nothing for a model without one.
    const std::optional<KeypadLayout>& layout() const noexcept { return layout_; }
    std::string legend(std::uint8_t key) const;
    // The keyboard keys that press the key, as ScriptRunner and the window name them ("F9", "1", "Return").
    std::vector<std::string> keyboardKeys(std::uint8_t key) const;
    // The key a keyboard key presses; 0 for none.
    std::uint8_t keyOfKeyboard(std::string_view keyboardKey) const;
    // Every key of the keypad with its place, in key order; none without a keypad.
    std::vector<Place> places() const;
    // Keys in a row of the panel's grid (its numeric block for "keys_162_15").
    int columns() const noexcept;

private:
    void reach(const std::string& keyboardKey, std::uint8_t key);

    std::optional<KeypadLayout> layout_;
    std::map<std::uint8_t, std::string> legends_;
    std::map<std::string, std::uint8_t, std::less<>> keyboard_;
};

} // namespace quillon
