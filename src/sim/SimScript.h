#pragma once

#include "model/Result.h"

#include <cstdint>
#include <functional>
#include <iosfwd>
#include <string>
#include <string_view>
#include <vector>

namespace quillon {

class Simulator;

// A scenario for the simulator, one step a line ('#' starts a comment):
//   press KEY / release KEY        a key goes down / up: its name (F9) or number (9); a combination
//                                  (F3 + F4, F3+F4 or 3+4) presses its first key, then its second
//   touch X Y                      a tap at a point in unit pixels: down, one scan, up
//   touch-down X Y / touch-up      a touch held down, and let go
//   set TAG VALUE                  the PLC (or the user) writes a tag (name or address; decimal, negative,
//                                  0x hexadecimal, on or off)
//   advance MS                     simulated time passes, scanning on the way
//   expect screen N                fails unless screen N is shown
//   expect TAG VALUE               fails unless the tag holds the value
//   snapshot OUT.png               the display as it is now
struct SimStep {
    enum class Kind : std::uint8_t {
        Press,
        Release,
        Touch,
        TouchDown,
        TouchUp,
        Set,
        Advance,
        ExpectScreen,
        ExpectTag,
        Snapshot
    };
    Kind kind = Kind::Advance;
    std::size_t line = 0;
    std::string text;    // the step as written
    std::string subject; // key, tag or file
    std::int64_t x = 0;  // coordinate, time, screen number or value
    std::int64_t y = 0;
};

class SimScript final {
public:
    static constexpr std::int64_t kMaxAdvance = 24LL * 3600 * 1000; // one step moves at most a day

    // The simulated time the steps move the clock by: their advances and one scan for each tap.
    static std::int64_t simulatedTime(const std::vector<SimStep>& steps, std::int64_t scanMs);
    // The steps, or the first line that is not one ("line N: ...").
    static Result<std::vector<SimStep>> parse(std::string_view text);
    // A value as steps write it: decimal (with a sign), 0x hexadecimal, on (1) or off (0).
    static bool parseValue(std::string_view text, std::int64_t& value);

    // Saves the display to a file; the failure says why it could not.
    using Snapshot = std::function<Status(const std::string& path)>;
    struct Outcome {
        std::size_t failed = 0; // expectations that failed and steps that could not be done
        std::size_t steps = 0;
    };
    // Powers the simulator on and runs the steps, writing the trace: each step ("> ...") and each event,
    // with its time; each failure as "FAIL line N: ...". Every step runs even after a failure.
    static Outcome run(const std::vector<SimStep>& steps, Simulator& simulator, std::ostream& trace,
                       const Snapshot& snapshot);
};

} // namespace quillon
