#pragma once

#include "model/AlarmTable.h"
#include "model/Prompter.h"
#include "model/SixteenTags.h"

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace quillon {

class Application;
class Tag;

// The field a refusal of the alarms dialog puts the focus on.
enum class AlarmField : std::uint8_t { None, Number, Text, GroupTag, FirstTag };

struct AlarmVerdict {
    std::string message; // empty when accepted
    AlarmField focus = AlarmField::None;
    bool ok() const noexcept { return message.empty(); }
};

// The alarms dialog's rules on working copies of the alarm table: browsing the defined alarms, editing
// one slot (group, number, text, print option, group tag), accepting, discarding and deleting, and Ok,
// which writes everything back and keeps the application's alarm count and bytes exact. The working group
// tags are the table's edited group tags, so the tags stay protected while the dialog is open.
class AlarmEditor final {
public:
    static constexpr std::size_t kNeverAccepted = 31;
    static constexpr std::string_view kTextNotEntered = "Alarm Text is not entered.";
    static constexpr std::string_view kTagsNotSelected = "Tag(s) not selected.";
    static constexpr std::string_view kDeleteQuestion = "Are you sure to delete the selected Alarm?";
    static constexpr std::string_view kNumberOutOfRange =
        "The Alarm Number is out of the range of its group.";
    static constexpr std::string_view kSixteenImpossible =
        "It is impossible to define 16 consecutive tags from the First-Tag.\nChange the First-Tag.";
    static constexpr std::string_view kSixteenNotDefined =
        "There are no 16 consecutive defined tags from the First-Tag.";

    // The groups offered to a model: two (000-015 and 016-030) and no consecutive mode for the model
    // indices 0 to 4 and 9, sixteen otherwise. Each line reads "%02d  [ %03d - %03d ]".
    static bool offersSixteenGroups(std::uint8_t modelIndex) noexcept;
    static std::vector<std::string> groupLines(std::uint8_t modelIndex);
    // Whether the number is an alarm of the group (31 never is).
    static bool acceptsNumber(std::size_t group, std::size_t number) noexcept;

    // Creates the application's alarm table when it has none, as opening the dialog does.
    explicit AlarmEditor(Application& application);
    ~AlarmEditor();
    AlarmEditor(const AlarmEditor&) = delete;
    AlarmEditor& operator=(const AlarmEditor&) = delete;

    std::size_t groupCount() const noexcept { return groupCount_; }
    bool consecutiveOffered() const noexcept { return groupCount_ == AlarmTable::kGroups; }
    std::size_t textLimit() const noexcept { return textLimit_; }

    // The list: every defined alarm as "%03d", a tab, "Y" or "N" and a tab and its text.
    std::vector<std::size_t> listedAlarms() const;
    std::vector<std::string> lines() const;

    bool editing() const noexcept { return editing_; }
    std::uint8_t mode() const noexcept { return mode_; }
    // The consecutive mode can be chosen only where it is offered; the discrete mode always.
    bool setMode(std::uint8_t mode) noexcept;
    Tag* firstTag() const noexcept { return groupTags()[0]; }
    void setFirstTag(Tag* tag) noexcept;

    // Enters the editing state on the current number, moving on by one when its slot has a text.
    void add();
    // Enters the editing state on a defined alarm.
    void edit(std::size_t alarm);
    // Ends the editing state without storing, the slot as it was.
    void discard();

    std::size_t group() const noexcept { return group_; }
    void chooseGroup(std::size_t group);
    // "[ %03d - %03d ]": the first and the last number the group accepts.
    std::string rangeLabel() const;
    const std::string& numberText() const noexcept { return numberText_; }
    std::optional<std::size_t> number() const noexcept { return number_; }
    // A typed number: a valid one loads its slot; one outside the group, or 31, shows the marker and
    // clears the text and the options.
    void typeNumber(std::string_view text);
    bool outOfRangeMarker() const noexcept { return !number_.has_value(); }
    // Leaving the field with an invalid number resets it to the group's first.
    void leaveNumber();
    void stepDown();
    void stepUp();

    const std::string& text() const noexcept { return text_; }
    // Cut to the model's limit, as the field takes no more.
    void setText(std::string_view text);
    bool print() const noexcept { return print_; }
    void setPrint(bool print) noexcept { print_ = print; }
    Tag* groupTag() const noexcept;
    void setGroupTag(Tag* tag) noexcept;

    AlarmVerdict accept();
    // Asks the confirmation and, on Yes, empties the alarm's slot.
    bool remove(std::size_t alarm, Prompter& prompter);
    // Checks and writes the working copies into the table; the dialog closes when it is accepted.
    AlarmVerdict ok(const SixteenTagsFinder& findSixteen);

    const std::string& workingText(std::size_t alarm) const { return texts_.at(alarm); }
    std::uint8_t workingOptions(std::size_t alarm) const { return options_.at(alarm); }
    Tag* workingGroupTag(std::size_t group) const { return groupTags().at(group); }

private:
    std::array<Tag*, AlarmTable::kGroups>& groupTags() noexcept;
    const std::array<Tag*, AlarmTable::kGroups>& groupTags() const noexcept;
    void setNumber(std::size_t number);
    void loadSlot();
    bool groupInUse(std::size_t group) const;

    Application& app_;
    std::size_t groupCount_ = 2;
    std::size_t textLimit_ = AlarmTable::kMaxTextLength;
    std::array<std::string, AlarmTable::kAlarms> texts_{};
    std::array<std::uint8_t, AlarmTable::kAlarms> options_{};
    std::array<Tag*, AlarmTable::kGroups> fallbackTags_{};
    std::uint8_t mode_ = AlarmTable::kConsecutive;
    bool editing_ = false;
    std::size_t group_ = 0;
    std::optional<std::size_t> number_ = 0;
    std::string numberText_ = "00";
    std::string text_;
    bool print_ = false;
};

} // namespace quillon
