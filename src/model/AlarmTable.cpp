#include "model/AlarmTable.h"

#include "model/Tag.h"

#include <algorithm>

namespace quillon {

std::size_t AlarmTable::textLimit(std::uint8_t modelClass) noexcept {
    switch (modelClass) {
    case 1:
    case 2:
        return 16;
    case 3:
    case 4:
        return 20;
    case 50:
        return 21;
    case 51:
        return 40;
    case 52:
        return 53;
    default:
        return kMaxTextLength;
    }
}

Status AlarmTable::setText(std::size_t alarm, std::string_view text, std::size_t limit) {
    if (alarm >= kAlarms) {
        return Status::fail("There are 256 alarms, numbered 0 to 255.");
    }
    if (text.size() > std::min(limit, kMaxTextLength)) {
        return Status::fail("The alarm text is longer than " +
                            std::to_string(std::min(limit, kMaxTextLength)) + " characters.");
    }
    std::string& slot = texts_[alarm];
    if (slot.empty() != text.empty()) {
        textCount_ = text.empty() ? textCount_ - 1 : textCount_ + 1;
    }
    slot = text;
    return Status::success();
}

Status AlarmTable::setOptions(std::size_t alarm, std::uint8_t options) {
    if (alarm >= kAlarms) {
        return Status::fail("There are 256 alarms, numbered 0 to 255.");
    }
    options_[alarm] = options;
    return Status::success();
}

bool AlarmTable::readsAsNoTag(const Tag& tag) noexcept {
    return tag.nodeNumber() == 0 && tag.blockIndex() == 0 && tag.indexInBlock() == 0;
}

std::optional<std::size_t> AlarmTable::groupReadingAsNoTag() const noexcept {
    for (std::size_t g = 0; g < kGroups; ++g) {
        if (groupInUse(g) && groupTags_[g] != nullptr && readsAsNoTag(*groupTags_[g])) {
            return g;
        }
    }
    return std::nullopt;
}

Status AlarmTable::setGroupTag(std::size_t group, Tag* tag) {
    if (group >= kGroups) {
        return Status::fail("There are 16 alarm groups, numbered 0 to 15.");
    }
    if (tag != nullptr) {
        if (readsAsNoTag(*tag)) {
            return Status::fail(std::string(kUnitFirstTag));
        }
        for (std::size_t g = 0; g < kGroups; ++g) {
            if (g != group && groupTags_[g] == tag) {
                return Status::fail(std::string(kTagInOtherGroup));
            }
        }
    }
    groupTags_[group] = tag;
    return Status::success();
}

void AlarmTable::replaceGroupTag(std::size_t group, Tag* tag) {
    if (group < kGroups) {
        groupTags_[group] = tag;
    }
}

Status AlarmTable::setTagMode(std::uint8_t mode) {
    if (mode != kConsecutive && mode != kDiscrete) {
        return Status::fail("The group tag mode is 0 (consecutive) or 1 (discrete).");
    }
    tagMode_ = mode;
    return Status::success();
}

bool AlarmTable::groupInUse(std::size_t group) const noexcept {
    if (group >= kGroups) {
        return false;
    }
    const auto first = texts_.begin() + static_cast<std::ptrdiff_t>(group * kAlarmsPerGroup);
    return std::any_of(first, first + kAlarmsPerGroup, [](const std::string& t) { return !t.empty(); });
}

std::size_t AlarmTable::groupsInUse() const noexcept {
    std::size_t count = 0;
    for (std::size_t g = 0; g < kGroups; ++g) {
        count += groupInUse(g) ? 1 : 0;
    }
    return count;
}

std::uint32_t AlarmTable::sectionBytes() const noexcept {
    if (textCount_ == 0) {
        return 0;
    }
    std::uint32_t bytes = 2 + 5 * static_cast<std::uint32_t>(groupsInUse());
    for (const std::string& t : texts_) {
        if (!t.empty()) {
            bytes += static_cast<std::uint32_t>(t.size()) + 3;
        }
    }
    return bytes;
}

} // namespace quillon
