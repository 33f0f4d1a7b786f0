#include "sim/SimScript.h"

#include "edit/define/Keypad.h"
#include "model/Application.h"
#include "model/Screen.h"
#include "model/Tag.h"
#include "sim/SimMemory.h"
#include "sim/Simulator.h"

#include <charconv>
#include <cstdio>
#include <optional>
#include <ostream>
#include <sstream>

namespace quillon {

namespace {

std::vector<std::string> words(std::string_view line) {
    std::vector<std::string> out;
    std::istringstream in{std::string(line)};
    std::string word;
    while (in >> word) {
        out.push_back(word);
    }
    return out;
}

bool parseInteger(std::string_view text, std::int64_t& value) {
    if (text.empty()) {
        return false;
    }
    const char* begin = text.data();
    const char* end = text.data() + text.size();
    int base = 10;
    bool negative = false;
    if (*begin == '-' || *begin == '+') {
        negative = *begin == '-';
        ++begin;
    }
    if (end - begin > 2 && begin[0] == '0' && (begin[1] == 'x' || begin[1] == 'X')) {
        begin += 2;
        base = 16;
    }
    std::uint64_t magnitude = 0;
    const auto [at, error] = std::from_chars(begin, end, magnitude, base);
    if (error != std::errc{} || at != end || begin == end) {
        return false;
    }
    if (negative) {
        if (magnitude > static_cast<std::uint64_t>(INT64_MAX) + 1) {
            return false;
        }
        value = static_cast<std::int64_t>(0 - magnitude);
    } else {
        value = static_cast<std::int64_t>(magnitude);
    }
    return true;
}

std::string stamp(std::uint64_t time) {
    char buffer[32];
    std::snprintf(buffer, sizeof buffer, "[%9llu ms] ", static_cast<unsigned long long>(time));
    return buffer;
}

void flush(Simulator& simulator, std::ostream& trace) {
    for (const SimEvent& event : simulator.takeEvents()) {
        trace << stamp(event.time) << event.text << '\n';
    }
}

// The key or two-key combination a step names: its name (F9, F3+F4) or number (9, 3+4), as the report and
// the key dialogs name keys; keys the model's keypad does not have are refused.
std::optional<std::uint16_t> keyOf(const Simulator& simulator, const std::string& name) {
    const auto code = parseKeyName(name);
    if (!code) {
        return std::nullopt;
    }
    if (const auto layout = keypadLayoutOf(simulator.application().modelId())) {
        const auto first = static_cast<std::uint8_t>(*code & 0xFFU);
        const auto second = static_cast<std::uint8_t>(*code >> 8);
        if (!layout->hasKey(first) || (second != 0 && !layout->hasKey(second))) {
            return std::nullopt;
        }
    }
    return code;
}

} // namespace

std::int64_t SimScript::simulatedTime(const std::vector<SimStep>& steps, std::int64_t scanMs) {
    std::int64_t total = 0;
    for (const SimStep& step : steps) {
        if (step.kind == SimStep::Kind::Advance) {
            total += step.x;
        } else if (step.kind == SimStep::Kind::Touch) {
            total += scanMs;
        }
    }
    return total;
}

bool SimScript::parseValue(std::string_view text, std::int64_t& value) {
    if (text == "on" || text == "ON" || text == "On") {
        value = 1;
        return true;
    }
    if (text == "off" || text == "OFF" || text == "Off") {
        value = 0;
        return true;
    }
    return parseInteger(text, value);
}

Result<std::vector<SimStep>> SimScript::parse(std::string_view text) {
    std::vector<SimStep> steps;
    std::size_t lineNumber = 0;
    std::size_t start = 0;
    while (start <= text.size()) {
        std::size_t end = text.find('\n', start);
        if (end == std::string_view::npos) {
            end = text.size();
        }
        std::string_view line = text.substr(start, end - start);
        start = end + 1;
        ++lineNumber;
        if (const std::size_t hash = line.find('#'); hash != std::string_view::npos) {
            line = line.substr(0, hash);
        }
        const auto w = words(line);
        if (w.empty()) {
            if (end == text.size()) {
                break;
            }
            continue;
        }
        SimStep step;
        step.line = lineNumber;
        for (std::size_t i = 0; i < w.size(); ++i) {
            step.text += (i == 0 ? "" : " ") + w[i];
        }
        const auto bad = [&](const std::string& why) {
            return Result<std::vector<SimStep>>::fail("line " + std::to_string(lineNumber) + ": " + why +
                                                      ": " + step.text);
        };
        const std::string& verb = w[0];
        if ((verb == "press" || verb == "release") && w.size() >= 2) {
            // "press F3 + F4" as the report writes a combination, or "press F3+F4".
            step.kind = verb == "press" ? SimStep::Kind::Press : SimStep::Kind::Release;
            for (std::size_t i = 1; i < w.size(); ++i) {
                step.subject += w[i];
            }
        } else if ((verb == "touch" || verb == "touch-down") && w.size() == 3) {
            step.kind = verb == "touch" ? SimStep::Kind::Touch : SimStep::Kind::TouchDown;
            if (!parseInteger(w[1], step.x) || !parseInteger(w[2], step.y) || step.x < 0 || step.y < 0 ||
                step.x > 65535 || step.y > 65535) {
                return bad("the point is two numbers 0 to 65535");
            }
        } else if (verb == "touch-up" && w.size() == 1) {
            step.kind = SimStep::Kind::TouchUp;
        } else if (verb == "set" && w.size() == 3) {
            step.kind = SimStep::Kind::Set;
            step.subject = w[1];
            if (!parseValue(w[2], step.x)) {
                return bad("the value is a number, 0x hexadecimal, on or off");
            }
        } else if (verb == "advance" && w.size() == 2) {
            step.kind = SimStep::Kind::Advance;
            // A time is milliseconds in decimal digits: "0x10" or "+5" is no time the docs give.
            if (w[1].find_first_not_of("-0123456789") != std::string_view::npos) {
                return bad("the time is a number of milliseconds in decimal digits");
            }
            if (!parseInteger(w[1], step.x) || step.x < 0 || step.x > kMaxAdvance) {
                return bad("the time is 0 to 86400000 milliseconds");
            }
        } else if (verb == "expect" && w.size() == 3 && w[1] == "screen") {
            step.kind = SimStep::Kind::ExpectScreen;
            if (!parseInteger(w[2], step.x) || step.x < 1 || step.x > 65534) {
                return bad("a screen number is 1 to 65534");
            }
        } else if (verb == "expect" && w.size() == 3) {
            step.kind = SimStep::Kind::ExpectTag;
            step.subject = w[1];
            if (!parseValue(w[2], step.x)) {
                return bad("the value is a number, 0x hexadecimal, on or off");
            }
        } else if (verb == "snapshot" && w.size() == 2) {
            step.kind = SimStep::Kind::Snapshot;
            step.subject = w[1];
        } else {
            return bad(
                "not a step (press KEY, release KEY, touch X Y, touch-down X Y, touch-up, set TAG VALUE, "
                "advance MS, expect screen N, expect TAG VALUE, snapshot OUT.png)");
        }
        steps.push_back(std::move(step));
        if (end == text.size()) {
            break;
        }
    }
    return steps;
}

SimScript::Outcome SimScript::run(const std::vector<SimStep>& steps, Simulator& simulator,
                                  std::ostream& trace, const Snapshot& snapshot) {
    Outcome outcome;
    simulator.powerOn();
    flush(simulator, trace);
    const auto failure = [&](const SimStep& step, const std::string& why) {
        ++outcome.failed;
        trace << stamp(simulator.now()) << "FAIL line " << step.line << ": " << why << '\n';
    };
    for (const SimStep& step : steps) {
        ++outcome.steps;
        trace << stamp(simulator.now()) << "> " << step.text << '\n';
        switch (step.kind) {
        case SimStep::Kind::Press:
        case SimStep::Kind::Release: {
            const auto code = keyOf(simulator, step.subject);
            if (!code) {
                failure(step, "there is no key " + step.subject + " on the keypad of this model");
                break;
            }
            // A combination: the first key goes down, then the second; they go up the other way round.
            const auto first = static_cast<std::uint8_t>(*code & 0xFFU);
            const auto second = static_cast<std::uint8_t>(*code >> 8);
            if (step.kind == SimStep::Kind::Press) {
                simulator.pressKey(first);
                simulator.pressKey(second);
            } else {
                simulator.releaseKey(second);
                simulator.releaseKey(first);
            }
            break;
        }
        case SimStep::Kind::Touch:
        case SimStep::Kind::TouchDown:
            simulator.touchDown(static_cast<std::int32_t>(step.x), static_cast<std::int32_t>(step.y));
            if (step.kind == SimStep::Kind::Touch) {
                simulator.scan();
                simulator.touchUp();
            }
            break;
        case SimStep::Kind::TouchUp:
            simulator.touchUp();
            break;
        case SimStep::Kind::Set:
        case SimStep::Kind::ExpectTag: {
            const Tag* tag = simulator.findTag(step.subject);
            if (tag == nullptr) {
                failure(step, "there is no tag " + step.subject);
                break;
            }
            const auto wanted = SimMemory::mask(*tag, static_cast<std::uint64_t>(step.x));
            if (step.kind == SimStep::Kind::Set) {
                simulator.setValue(*tag, wanted);
                break;
            }
            // A tag of a live node is read from its device first: the step checks the device's value.
            if (!simulator.memory().fetch(*tag)) {
                failure(step, step.subject + " could not be read from its device (" +
                                  simulator.backend(tag->nodeNumber()).status().lastError + ")");
                break;
            }
            const std::uint64_t have = simulator.value(*tag);
            if (have != wanted) {
                failure(step,
                        step.subject + " is " + std::to_string(have) + ", not " + std::to_string(wanted));
            }
            break;
        }
        case SimStep::Kind::Advance:
            simulator.advance(static_cast<std::uint64_t>(step.x));
            break;
        case SimStep::Kind::ExpectScreen: {
            const Screen* shown = simulator.screen();
            if (shown == nullptr || shown->number() != static_cast<std::uint32_t>(step.x)) {
                failure(step, "screen " +
                                  (shown != nullptr ? std::to_string(shown->number()) : std::string("none")) +
                                  " is shown, not " + std::to_string(step.x));
            }
            break;
        }
        case SimStep::Kind::Snapshot: {
            const Status saved =
                snapshot ? snapshot(step.subject) : Status::fail("snapshots need the Qt build");
            if (!saved) {
                failure(step, saved.message());
            } else {
                trace << stamp(simulator.now()) << "display saved to " << step.subject << '\n';
            }
            break;
        }
        }
        flush(simulator, trace);
    }
    trace << stamp(simulator.now())
          << (outcome.failed == 0
                  ? "all " + std::to_string(outcome.steps) + " steps passed"
                  : std::to_string(outcome.failed) + " of " + std::to_string(outcome.steps) + " steps failed")
          << '\n';
    return outcome;
}

} // namespace quillon
