#include "edit/define/AlarmEditor.h"

#include "model/Application.h"
#include "model/PanelModel.h"
#include "model/Tag.h"
#include "model/TextFormat.h"

#include <algorithm>
#include <charconv>

namespace quillon {

namespace {

constexpr std::size_t kPerGroup = AlarmTable::kAlarmsPerGroup;

// The last number a group accepts: its sixteenth, or 30 in the group that would end on 31.
std::size_t lastOf(std::size_t group) noexcept {
    const std::size_t last = group * kPerGroup + kPerGroup - 1;
    return last == AlarmEditor::kNeverAccepted ? last - 1 : last;
}

} // namespace

bool AlarmEditor::offersSixteenGroups(std::uint8_t modelIndex) noexcept {
    return !(modelIndex == 9 || modelIndex < 5);
}

std::vector<std::string> AlarmEditor::groupLines(std::uint8_t modelIndex) {
    std::vector<std::string> lines;
    const std::size_t count = offersSixteenGroups(modelIndex) ? AlarmTable::kGroups : 2;
    for (std::size_t g = 0; g < count; ++g) {
        lines.push_back(formatText("%02d  [ %03d - %03d ]", static_cast<int>(g + 1),
                                   static_cast<int>(g * kPerGroup), static_cast<int>(lastOf(g))));
    }
    return lines;
}

bool AlarmEditor::acceptsNumber(std::size_t group, std::size_t number) noexcept {
    return group < AlarmTable::kGroups && number >= group * kPerGroup && number <= lastOf(group);
}

AlarmEditor::AlarmEditor(Application& application) : app_(application) {
    const ModelSelection model = app_.modelSelection();
    groupCount_ = offersSixteenGroups(model.modelIndex) ? AlarmTable::kGroups : 2;
    textLimit_ = AlarmTable::textLimit(model.modelClass);
    AlarmTable& table = app_.alarmTable();
    for (std::size_t a = 0; a < AlarmTable::kAlarms; ++a) {
        texts_[a] = table.text(a);
        options_[a] = table.options(a);
    }
    table.editedGroupTags = table.groupTags();
    mode_ = table.tagMode();
    // A record without alarms (a new one is Consecutive) opens in a mode that can be used: Discrete where
    // the model offers no Consecutive mode. A record with alarms shows the mode it holds.
    if (mode_ == AlarmTable::kConsecutive && !consecutiveOffered() && listedAlarms().empty()) {
        mode_ = AlarmTable::kDiscrete;
    }
    loadSlot();
}

AlarmEditor::~AlarmEditor() {
    if (AlarmTable* table = app_.alarmsIfAny()) {
        table->editedGroupTags.reset();
    }
}

std::array<Tag*, AlarmTable::kGroups>& AlarmEditor::groupTags() noexcept {
    AlarmTable* table = app_.alarmsIfAny();
    return table != nullptr && table->editedGroupTags ? *table->editedGroupTags : fallbackTags_;
}

const std::array<Tag*, AlarmTable::kGroups>& AlarmEditor::groupTags() const noexcept {
    const AlarmTable* table = app_.alarmsIfAny();
    return table != nullptr && table->editedGroupTags ? *table->editedGroupTags : fallbackTags_;
}

std::vector<std::size_t> AlarmEditor::listedAlarms() const {
    std::vector<std::size_t> alarms;
    for (std::size_t a = 0; a < AlarmTable::kAlarms; ++a) {
        if (!texts_[a].empty()) {
            alarms.push_back(a);
        }
    }
    return alarms;
}

std::vector<std::string> AlarmEditor::lines() const {
    std::vector<std::string> result;
    for (std::size_t a : listedAlarms()) {
        result.push_back(formatText("%03d\t%c\t%s", static_cast<int>(a),
                                    (options_[a] & AlarmTable::kPrintOption) != 0 ? 'Y' : 'N',
                                    texts_[a].c_str()));
    }
    return result;
}

bool AlarmEditor::setMode(std::uint8_t mode) noexcept {
    if (mode == AlarmTable::kDiscrete || (mode == AlarmTable::kConsecutive && consecutiveOffered())) {
        mode_ = mode;
        return true;
    }
    return false;
}

void AlarmEditor::setFirstTag(Tag* tag) noexcept {
    groupTags()[0] = tag;
}

void AlarmEditor::add() {
    editing_ = true;
    if (number_ && !texts_[*number_].empty()) {
        setNumber(*number_ + 1);
    } else {
        loadSlot();
    }
}

void AlarmEditor::edit(std::size_t alarm) {
    if (alarm >= AlarmTable::kAlarms) {
        return;
    }
    group_ = alarm / kPerGroup;
    editing_ = true;
    setNumber(alarm);
}

void AlarmEditor::discard() {
    loadSlot();
    editing_ = false;
}

void AlarmEditor::chooseGroup(std::size_t group) {
    if (group >= groupCount_) {
        return;
    }
    group_ = group;
    setNumber(group * kPerGroup);
}

std::string AlarmEditor::rangeLabel() const {
    return formatText("[ %03d - %03d ]", static_cast<int>(group_ * kPerGroup),
                      static_cast<int>(lastOf(group_)));
}

void AlarmEditor::setNumber(std::size_t number) {
    numberText_ = formatText("%02d", static_cast<int>(number));
    number_ = acceptsNumber(group_, number) ? std::optional<std::size_t>(number) : std::nullopt;
    loadSlot();
}

void AlarmEditor::typeNumber(std::string_view text) {
    numberText_ = std::string(text.substr(0, 3));
    std::size_t value = 0;
    const char* end = numberText_.data() + numberText_.size();
    const auto [ptr, ec] = std::from_chars(numberText_.data(), end, value);
    const bool whole = !numberText_.empty() && ec == std::errc() && ptr == end;
    number_ = whole && acceptsNumber(group_, value) ? std::optional<std::size_t>(value) : std::nullopt;
    loadSlot();
}

void AlarmEditor::leaveNumber() {
    if (!number_) {
        setNumber(group_ * kPerGroup);
    }
}

void AlarmEditor::stepDown() {
    const std::size_t first = group_ * kPerGroup;
    const std::size_t current = number_.value_or(first);
    setNumber(current > first ? current - 1 : first);
}

void AlarmEditor::stepUp() {
    const std::size_t current = number_.value_or(group_ * kPerGroup);
    setNumber(std::min(current + 1, lastOf(group_)));
}

void AlarmEditor::loadSlot() {
    if (number_) {
        text_ = texts_[*number_];
        print_ = (options_[*number_] & AlarmTable::kPrintOption) != 0;
    } else {
        text_.clear();
        print_ = false;
    }
}

void AlarmEditor::setText(std::string_view text) {
    text_ = std::string(text.substr(0, textLimit_));
}

Tag* AlarmEditor::groupTag() const noexcept {
    return groupTags()[group_];
}

void AlarmEditor::setGroupTag(Tag* tag) noexcept {
    groupTags()[group_] = tag;
}

AlarmVerdict AlarmEditor::accept() {
    if (!number_) {
        return {std::string(kNumberOutOfRange), AlarmField::Number};
    }
    if (text_.empty()) {
        return {std::string(kTextNotEntered), AlarmField::Text};
    }
    if (mode_ == AlarmTable::kDiscrete) {
        Tag* tag = groupTag();
        if (tag == nullptr) {
            return {std::string(kTagsNotSelected), AlarmField::GroupTag};
        }
        for (std::size_t g = 0; g < AlarmTable::kGroups; ++g) {
            if (g != group_ && groupTags()[g] == tag) {
                return {std::string(AlarmTable::kTagInOtherGroup), AlarmField::GroupTag};
            }
        }
        if (AlarmTable::readsAsNoTag(*tag)) {
            return {std::string(AlarmTable::kUnitFirstTag), AlarmField::GroupTag};
        }
    }
    texts_[*number_] = text_;
    // The dialog has controls for the print option only; the other option bits are written as 0.
    options_[*number_] = print_ ? AlarmTable::kPrintOption : 0;
    editing_ = false;
    return {};
}

bool AlarmEditor::remove(std::size_t alarm, Prompter& prompter) {
    if (alarm >= AlarmTable::kAlarms || texts_[alarm].empty()) {
        return false;
    }
    if (prompter.confirm(kDeleteQuestion, PromptButtons::YesNo, PromptAnswer::Yes) != PromptAnswer::Yes) {
        return false;
    }
    texts_[alarm].clear();
    options_[alarm] = 0;
    if (number_ == alarm) {
        loadSlot();
    }
    return true;
}

bool AlarmEditor::groupInUse(std::size_t group) const {
    const auto first = texts_.begin() + static_cast<std::ptrdiff_t>(group * kPerGroup);
    return std::any_of(first, first + kPerGroup, [](const std::string& t) { return !t.empty(); });
}

AlarmVerdict AlarmEditor::ok(const SixteenTagsFinder& findSixteen) {
    const std::size_t count = listedAlarms().size();
    std::array<Tag*, AlarmTable::kGroups> tags = groupTags();
    if (count > 0 && mode_ == AlarmTable::kConsecutive) {
        Tag* first = tags[0];
        if (first == nullptr) {
            return {std::string(kTagsNotSelected), AlarmField::FirstTag};
        }
        if (AlarmTable::readsAsNoTag(*first)) {
            return {std::string(AlarmTable::kUnitFirstTag), AlarmField::FirstTag};
        }
        const SixteenTags found = findSixteen ? findSixteen(*first) : SixteenTags{};
        if (found.outcome == SixteenTags::Outcome::Impossible) {
            return {std::string(kSixteenImpossible), AlarmField::FirstTag};
        }
        if (found.outcome == SixteenTags::Outcome::NotAllDefined ||
            found.tags.size() != AlarmTable::kGroups) {
            return {std::string(kSixteenNotDefined), AlarmField::FirstTag};
        }
        // The sixteen tags the unit watches are the group tags, so that each is protected like a group's.
        std::copy(found.tags.begin(), found.tags.end(), tags.begin());
    }
    if (count > 0 && mode_ == AlarmTable::kDiscrete) {
        // A group in use without its tag would never raise its alarms.
        for (std::size_t g = 0; g < AlarmTable::kGroups; ++g) {
            if (groupInUse(g) && tags[g] == nullptr) {
                chooseGroup(g);
                return {std::string(kTagsNotSelected), AlarmField::GroupTag};
            }
            if (tags[g] != nullptr && AlarmTable::readsAsNoTag(*tags[g])) {
                chooseGroup(g);
                return {std::string(AlarmTable::kUnitFirstTag), AlarmField::GroupTag};
            }
        }
    }
    if (count == 0) {
        app_.dropAlarmTable();
        return {};
    }
    AlarmTable& table = app_.alarmTable();
    (void)table.setTagMode(mode_);
    for (std::size_t g = 0; g < AlarmTable::kGroups; ++g) {
        table.replaceGroupTag(g, tags[g]);
    }
    for (std::size_t a = 0; a < AlarmTable::kAlarms; ++a) {
        // The texts were cut to the model's limit as they were typed; texts read from a file stay whole.
        (void)table.setText(a, texts_[a], AlarmTable::kMaxTextLength);
        (void)table.setOptions(a, options_[a]);
    }
    groupTags() = tags;
    app_.recomputeAlarmBytes();
    return {};
}

} // namespace quillon
