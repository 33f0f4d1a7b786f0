#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace quillon {

class Screen;
class ScreenObject;
class SimMemory;

// Data entry mode of the shown screen: the data entry fields in the order the unit holds them (the order
// of the screen's objects), the field being edited and what has been typed into it. Digits come in at
// the right and push the others left, as on a calculator; the cursor keys and the digit keys work on the
// digit under the cursor. Accept checks the field's low and high limits (signed for the signed type,
// none for float), undoes the field's operations and writes the tag; a value outside the limits is
// refused and stays in the field.
//
// The field being edited is remembered while the screen stays shown: entry started again (by a data entry
// key) goes back to it.
class DataEntry final {
public:
    // What changed, for the trace; empty when the key does nothing, and then `why` says why not. A value
    // Accept refuses is `refused` (the trace says why).
    struct Outcome {
        std::string trace;
        bool wrote = false;
        bool refused = false;
        std::string why;
    };

    bool active() const noexcept { return field_ != nullptr; }
    const ScreenObject* field() const noexcept { return field_; }

    // The mode on (at the screen's first data entry field) or off (what was typed is dropped).
    Outcome toggle(const Screen* screen, SimMemory& memory, bool lowWordFirst);
    // The mode on at the field edited last on this screen (the first field when none was), as a data entry
    // key does when the mode is off; off with `why` when the screen has no data entry field.
    Outcome begin(const Screen* screen, SimMemory& memory, bool lowWordFirst);
    // Leaves the mode without writing; the field stays the one entry starts again at.
    void end() noexcept;
    // Leaves the mode and forgets the field (the screen changes).
    void reset() noexcept;
    // One of the key functions 0 to 30 (data entry keys).
    Outcome key(std::uint8_t function, SimMemory& memory, bool lowWordFirst);

    // The text the edited field shows, and the character under the cursor in it (-1: none).
    std::string shownText() const;
    int cursorInText() const;
    bool coilState() const noexcept { return coilState_; }

private:
    void load(SimMemory& memory, bool lowWordFirst);
    Outcome accept(SimMemory& memory, bool lowWordFirst);
    Outcome moveToNext(SimMemory& memory, bool lowWordFirst);
    bool collectFields(const Screen* screen);
    int entryRadix() const noexcept;
    std::int64_t typedValue() const noexcept;
    void setTypedValue(std::int64_t value);
    bool isRegister() const noexcept;

    std::vector<const ScreenObject*> fields_;
    const ScreenObject* field_ = nullptr;
    const ScreenObject* place_ = nullptr; // the field entry starts again at
    std::string digits_;                  // most significant first, in the entry radix
    bool negative_ = false;
    bool fresh_ = true; // the next digit replaces what is shown
    int cursor_ = 0;    // index into digits_
    bool coilState_ = false;
};

} // namespace quillon
