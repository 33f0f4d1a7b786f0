#include "edit/define/LoggerEditor.h"

#include "edit/TagFilter.h"
#include "model/Application.h"
#include "model/Block.h"
#include "model/Tag.h"
#include "model/TextFormat.h"

#include <algorithm>
#include <charconv>
#include <map>

namespace quillon {

std::string LoggerEditor::frequencyOnLeave(std::string_view typed) {
    unsigned value = 0;
    const auto [ptr, ec] = std::from_chars(typed.data(), typed.data() + typed.size(), value);
    if (typed.empty() || ec != std::errc() || ptr != typed.data() + typed.size() || value == 0 ||
        value > 255) {
        return std::string(kDefaultFrequency);
    }
    return std::to_string(value);
}

std::vector<std::string> LoggerEditor::separatorChoices() {
    return {",", std::string(kSpaceChoice)};
}

std::string LoggerEditor::separatorChoice(char separator) {
    return separator == ' ' ? std::string(kSpaceChoice) : std::string(1, separator);
}

char LoggerEditor::separatorOf(std::string_view choice, char previous) {
    if (choice == kSpaceChoice) {
        return ' ';
    }
    return choice.empty() ? previous : choice.front();
}

LoggerEditor::LoggerEditor(Application& application)
    : app_(application), fields_(application.logger()), header_(PageHeader::decode(fields_.pageHeader)) {
    fields_.tags.clear();
    fields_.headerRegister = nullptr;
}

std::vector<Tag*> LoggerEditor::definedTags() const {
    return TagFilter{TagFilter::kAllTypes, TagFilter::kReadable}.tagsOf(app_);
}

const std::vector<Tag*>& LoggerEditor::loggedTags() const noexcept {
    return app_.loggerTags();
}

std::vector<std::string> LoggerEditor::loggedLines() const {
    std::vector<std::string> lines;
    for (const Tag* tag : app_.loggerTags()) {
        if (tag != nullptr) {
            lines.push_back(tagChoiceLine(*tag));
        }
    }
    return lines;
}

Status LoggerEditor::addTag(Tag& tag) {
    const auto& tags = app_.loggerTags();
    if (std::find(tags.begin(), tags.end(), &tag) != tags.end()) {
        return Status::fail(std::string(kAlreadyLogged));
    }
    return app_.addLoggerTag(tag);
}

bool LoggerEditor::removeTag(std::size_t index, Prompter& prompter) {
    const auto& tags = app_.loggerTags();
    if (index >= tags.size() || tags[index] == nullptr) {
        return false;
    }
    if (prompter.confirm(kDeleteTagQuestion, PromptButtons::YesNo, PromptAnswer::Yes) != PromptAnswer::Yes) {
        return false;
    }
    return app_.removeLoggerTag(*tags[index]);
}

bool LoggerEditor::moveTag(std::size_t index, bool up) {
    std::vector<Tag*>& tags = app_.logger().tags;
    if (index >= tags.size() || (up && index == 0) || (!up && index + 1 >= tags.size())) {
        return false;
    }
    std::swap(tags[index], tags[up ? index - 1 : index + 1]);
    return true;
}

void LoggerEditor::setHeader(std::string_view shown) {
    header_ = PageHeader::decode(PageHeader::encode(shown.substr(0, PageHeader::kMaxLength)));
}

bool LoggerEditor::embedTime() {
    return PageHeader::append(header_, PageHeader::Field::Time);
}

bool LoggerEditor::embedDate() {
    return PageHeader::append(header_, PageHeader::Field::Date);
}

std::vector<Tag*> LoggerEditor::headerRegisters() const {
    return TagFilter{TagFilter::kRegisters, TagFilter::kReadable}.tagsOf(app_);
}

Tag* LoggerEditor::headerRegister() const noexcept {
    return app_.logger().headerRegister;
}

Status LoggerEditor::embedRegister(Tag* tag) {
    if (tag == nullptr) {
        return Status::fail(std::string(kNoRegisterChosen));
    }
    if (!PageHeader::hasRegister(header_) && !PageHeader::append(header_, PageHeader::Field::Register)) {
        return Status::fail(std::string(PageHeader::kTooLong));
    }
    app_.logger().headerRegister = tag;
    return Status::success();
}

bool LoggerEditor::deleteAt(std::size_t position, Prompter& prompter) {
    if (position >= header_.size()) {
        return false;
    }
    if (const auto span = PageHeader::fieldAt(header_, position)) {
        if (prompter.confirm(PageHeader::deleteQuestion(span->field), PromptButtons::YesNo,
                             PromptAnswer::Yes) != PromptAnswer::Yes) {
            return false;
        }
        PageHeader::remove(header_, *span);
        return true;
    }
    header_.erase(position, 1);
    return true;
}

std::vector<std::string> LoggerEditor::optimizedLines() const {
    // Tag numbers are positions in the tag list (from 1), counted here rather than taken from the last
    // renumbering.
    std::map<const Tag*, std::size_t> numbers;
    std::size_t n = 0;
    for (const Tag& tag : app_.tags()) {
        numbers[&tag] = ++n;
    }
    struct Read {
        const Tag* first = nullptr;
        int count = 0;
    };
    std::map<const Block*, Read> reads;
    std::vector<const Block*> order;
    for (const Tag* tag : app_.loggerTags()) {
        if (tag == nullptr) {
            continue;
        }
        auto [it, added] = reads.try_emplace(tag->block());
        if (added) {
            order.push_back(tag->block());
        }
        if (it->second.first == nullptr || numbers[tag] < numbers[it->second.first]) {
            it->second.first = tag;
        }
        ++it->second.count;
    }
    std::vector<std::string> lines;
    for (const Block* block : order) {
        const Read& r = reads[block];
        lines.push_back(formatText("%05u        %s                       %d",
                                   static_cast<unsigned>(numbers[r.first]), r.first->name.c_str(), r.count));
    }
    return lines;
}

void LoggerEditor::store() {
    LoggerSettings& l = app_.logger();
    l.memorySize = std::min<std::uint8_t>(fields_.memorySize, 3);
    l.frequency = fields_.frequency == 0 ? 10 : fields_.frequency;
    l.frequencyUnit = std::min<std::uint8_t>(fields_.frequencyUnit, 2);
    l.whenFull = fields_.whenFull != 0 ? 1 : 0;
    l.startAtPowerUp = fields_.startAtPowerUp != 0 ? 1 : 0;
    l.useStartTime = fields_.useStartTime != 0 ? 1 : 0;
    l.useStopTime = fields_.useStopTime != 0 ? 1 : 0;
    l.separator = fields_.separator;
    l.pageHeader = PageHeader::encode(header_);
    // A header without its register field prints no register, and the tag is no longer held.
    if (!PageHeader::hasRegister(header_)) {
        l.headerRegister = nullptr;
    }
}

} // namespace quillon
