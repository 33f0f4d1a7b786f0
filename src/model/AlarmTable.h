#pragma once

#include "model/Result.h"

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace quillon {

class Tag;

// Up to 256 alarm texts in 16 groups of 16; the unit watches each group through one tag. An alarm
// exists while its text is not empty.
class AlarmTable final {
public:
    static constexpr std::size_t kAlarms = 256;
    static constexpr std::size_t kGroups = 16;
    static constexpr std::size_t kAlarmsPerGroup = 16;
    static constexpr std::size_t kMaxTextLength = 54;
    static constexpr std::uint8_t kConsecutive = 0;
    static constexpr std::uint8_t kDiscrete = 1;
    static constexpr std::uint8_t kPrintOption = 0x01;
    static constexpr std::uint8_t kOptionMask = 0x1F; // print and the four further options
    static constexpr std::string_view kTagInOtherGroup =
        "This Tag is already assigned to any other group.\nFor 16 groups, 16 different Tags are required.";
    static constexpr std::string_view kUnitFirstTag =
        "The first Tag of the unit itself (node 0, block 0, tag 0) can not watch an alarm group:\n"
        "its reference is four zero bytes, which the file and the unit read as 'no Tag'.\n"
        "Choose another Tag, or define another Tag before it in the unit's first block.";

    // Whether a reference to the tag would be written as four zero bytes and so read back as no tag.
    static bool readsAsNoTag(const Tag& tag) noexcept;
    // A group in use whose tag has become the unit's first tag (a tag added ahead of it in the unit's
    // first block moves it there); saving it would lose the tag.
    std::optional<std::size_t> groupReadingAsNoTag() const noexcept;
    static constexpr std::string_view kGroupTagBecameUnitFirst =
        "The Tag of alarm group %d is now the first Tag of the unit itself (node 0, block 0, tag 0),\n"
        "whose reference the file and the unit read as 'no Tag'.\n"
        "Choose another Tag for the group in the Alarms editor.";

    // Longest alarm text the unit of a display class shows.
    static std::size_t textLimit(std::uint8_t modelClass) noexcept;

    const std::string& text(std::size_t alarm) const { return texts_.at(alarm); }
    // Fails, keeping the old text, for an alarm beyond 255 or a text longer than `limit`.
    Status setText(std::size_t alarm, std::string_view text, std::size_t limit = kMaxTextLength);
    std::uint8_t options(std::size_t alarm) const { return options_.at(alarm); }
    Status setOptions(std::size_t alarm, std::uint8_t options);

    Tag* groupTag(std::size_t group) const { return groupTags_.at(group); }
    const std::array<Tag*, kGroups>& groupTags() const noexcept { return groupTags_; }
    // Refuses a tag that another group already has (each group needs its own tag), and a tag whose
    // reference reads back as no tag.
    Status setGroupTag(std::size_t group, Tag* tag);
    // Puts `tag` in the group's place whatever the other groups hold: the tag editor replaces one tag by
    // another everywhere at once.
    void replaceGroupTag(std::size_t group, Tag* tag);
    std::uint8_t tagMode() const noexcept { return tagMode_; }
    Status setTagMode(std::uint8_t mode);

    // The group tags the alarm editor holds while it is open; they protect their tags like the table's.
    std::optional<std::array<Tag*, kGroups>> editedGroupTags;

    // Number of non-empty texts.
    std::size_t textCount() const noexcept { return textCount_; }
    bool groupInUse(std::size_t group) const noexcept;
    std::size_t groupsInUse() const noexcept;
    // Bytes of the alarm section: nothing while no alarm exists (the section is then left out of the
    // image), else 2 + 5 per group in use + (length + 3) per text.
    std::uint32_t sectionBytes() const noexcept;

private:
    std::array<std::string, kAlarms> texts_{};
    std::array<std::uint8_t, kAlarms> options_{};
    std::array<Tag*, kGroups> groupTags_{};
    std::uint8_t tagMode_ = kConsecutive;
    std::size_t textCount_ = 0;
};

} // namespace quillon
