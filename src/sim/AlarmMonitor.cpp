#include "sim/AlarmMonitor.h"

#include "model/AlarmTable.h"
#include "model/Application.h"
#include "sim/SimMemory.h"

#include <algorithm>

namespace quillon {

void AlarmMonitor::update(const Application& application, SimMemory& memory, const DrawClock& now,
                          std::vector<std::string>& changes) {
    const AlarmTable* table = application.alarmsIfAny();
    if (table == nullptr) {
        return;
    }
    bool changed = false;
    for (std::size_t group = 0; group < AlarmTable::kGroups; ++group) {
        const Tag* tag = table->groupTag(group);
        if (tag == nullptr || !table->groupInUse(group)) {
            continue;
        }
        const std::uint64_t bits = memory.read(*tag);
        for (std::size_t bit = 0; bit < AlarmTable::kAlarmsPerGroup; ++bit) {
            const std::size_t alarm = group * AlarmTable::kAlarmsPerGroup + bit;
            if (table->text(alarm).empty()) {
                continue;
            }
            const bool on = bit < 64 && ((bits >> bit) & 1U) != 0;
            State& s = states_[alarm];
            if (on == s.active) {
                continue;
            }
            changed = true;
            s.active = on;
            if (on) {
                s.acknowledged = false;
                s.onOrder = ++order_;
                s.onTime = now;
                s.wentOff = false;
                changes.push_back("alarm " + std::to_string(alarm) + " on: " + table->text(alarm));
            } else {
                s.offTime = now;
                s.wentOff = true;
                changes.push_back("alarm " + std::to_string(alarm) + " off: " + table->text(alarm));
            }
        }
    }
    if (!changed) {
        return;
    }
    const std::size_t selected = cursor_ >= 0 && static_cast<std::size_t>(cursor_) < active_.size()
                                     ? active_[static_cast<std::size_t>(cursor_)]
                                     : AlarmTable::kAlarms;
    active_.clear();
    for (std::size_t alarm = 0; alarm < AlarmTable::kAlarms; ++alarm) {
        if (states_[alarm].active) {
            active_.push_back(alarm);
        }
    }
    std::sort(active_.begin(), active_.end(),
              [this](std::size_t a, std::size_t b) { return states_[a].onOrder < states_[b].onOrder; });
    if (cursor_ >= 0) {
        const auto at = std::find(active_.begin(), active_.end(), selected);
        cursor_ = active_.empty()
                      ? -1
                      : (at != active_.end() ? static_cast<int>(at - active_.begin())
                                             : std::min<int>(cursor_, static_cast<int>(active_.size()) - 1));
    }
}

std::string AlarmMonitor::select() {
    if (cursor_ >= 0) {
        cursor_ = -1;
        return "alarm cursor off";
    }
    if (active_.empty()) {
        return {};
    }
    cursor_ = 0;
    return "alarm cursor on alarm " + std::to_string(active_[0]);
}

std::string AlarmMonitor::acknowledge() {
    if (cursor_ < 0 || static_cast<std::size_t>(cursor_) >= active_.size()) {
        return {};
    }
    const std::size_t alarm = active_[static_cast<std::size_t>(cursor_)];
    if (states_[alarm].acknowledged) {
        return {};
    }
    states_[alarm].acknowledged = true;
    return "alarm " + std::to_string(alarm) + " acknowledged";
}

std::string AlarmMonitor::previous() {
    if (cursor_ <= 0) {
        return {};
    }
    --cursor_;
    return "alarm cursor on alarm " + std::to_string(active_[static_cast<std::size_t>(cursor_)]);
}

std::string AlarmMonitor::next() {
    if (cursor_ < 0 || static_cast<std::size_t>(cursor_) + 1 >= active_.size()) {
        return {};
    }
    ++cursor_;
    return "alarm cursor on alarm " + std::to_string(active_[static_cast<std::size_t>(cursor_)]);
}

} // namespace quillon
