#include "model/Task.h"

#include "model/Block.h"
#include "model/Tag.h"
#include "model/TextFormat.h"

#include <array>
#include <limits>
#include <string_view>

namespace quillon {

namespace {

constexpr std::int32_t kMaxU16 = std::numeric_limits<std::uint16_t>::max();
constexpr std::int32_t kMinI16 = std::numeric_limits<std::int16_t>::min();
constexpr std::int32_t kMaxI16 = std::numeric_limits<std::int16_t>::max();
constexpr std::size_t kTagRefBytes = 4;

constexpr std::array<std::string_view, 38> kKeyFunctions{"Clear Data Entry",
                                                         "Cancel Data Entry",
                                                         "Accept Data Entry",
                                                         "Switch to Next Data Entry",
                                                         "Increase Value by 1",
                                                         "Decrease Value by 1",
                                                         "Increase Digit by 1",
                                                         "Decrease Digit by 1",
                                                         "Shift Value to Left",
                                                         "Move Cursor to Left",
                                                         "Move Cursor to Right",
                                                         "Sign Key ( +/- )",
                                                         "Sign Key ( +/- ) and 0",
                                                         "Numeric Key 0",
                                                         "Numeric Key 1",
                                                         "Numeric Key 2",
                                                         "Numeric Key 3",
                                                         "Numeric Key 4",
                                                         "Numeric Key 5",
                                                         "Numeric Key 6",
                                                         "Numeric Key 7",
                                                         "Numeric Key 8",
                                                         "Numeric Key 9",
                                                         "Numeric Key A",
                                                         "Numeric Key B",
                                                         "Numeric Key C",
                                                         "Numeric Key D",
                                                         "Numeric Key E",
                                                         "Numeric Key F",
                                                         "Turn Bit On",
                                                         "Turn Bit Off",
                                                         "Select Alarm",
                                                         "Acknowledge Alarm",
                                                         "Previous Alarm",
                                                         "Next Alarm",
                                                         "Start Logger",
                                                         "Stop Logger",
                                                         "Clear Log Memory"};

constexpr std::array<const char*, 7> kClockTexts{
    "Increment Year by  %u",  "Increment Month by %u",  "Increment Date by %u",       "Increment Hour by %u",
    "Increment Minute by %u", "Increment Second by %u", "Increment Day of week by %u"};

constexpr std::array<const char*, 3> kDelayTexts{"Delay of %u Millisecond(s)", "Delay of %u Second(s)",
                                                 "Delay of %u Minute(s)"};

constexpr std::array<const char*, 6> kWaitOperators{"=", "!=", "<", "<=", ">", ">="};

bool isRegisterWait(const Tag* tag1) noexcept {
    return tag1 == nullptr || !tag1->isBit();
}

bool usesConstant(TaskKind kind, std::uint8_t subKind) noexcept {
    return kind == TaskKind::WriteValue ||
           ((kind == TaskKind::Add || kind == TaskKind::Subtract) && subKind == 0);
}

// Which operands a task kind carries in its record.
struct Operands {
    bool tag1 = false;
    bool tag2 = false;
    bool value = false;
    bool valueFormat = false;
    bool parameter = false;
};

Operands operandsOf(const Task& t) noexcept {
    Operands o;
    switch (t.kind) {
    case TaskKind::GotoScreen:
        o.value = t.subKind == 0;
        break;
    case TaskKind::WriteValue:
    case TaskKind::Add:
    case TaskKind::Subtract:
        o.tag1 = true;
        o.tag2 = !usesConstant(t.kind, t.subKind);
        o.value = o.valueFormat = usesConstant(t.kind, t.subKind);
        break;
    case TaskKind::Bit:
    case TaskKind::CopyToDisplay:
        o.tag1 = true;
        break;
    case TaskKind::CopyTag:
    case TaskKind::SwapTags:
        o.tag1 = o.tag2 = true;
        break;
    case TaskKind::ClockIncrement:
        o.value = true;
        break;
    case TaskKind::Delay:
        o.parameter = o.value = true;
        break;
    case TaskKind::Wait:
        o.tag1 = o.parameter = true;
        if (isRegisterWait(t.tag1)) {
            o.valueFormat = true;
            o.tag2 = t.valueFormat == value_format::kWaitTag;
            o.value = !o.tag2;
        }
        break;
    case TaskKind::PlcToRecipe:
    case TaskKind::RecipeToPlc:
        o.tag1 = o.tag2 = o.value = true;
        break;
    case TaskKind::CopyRtcToTag:
        o.tag1 = o.value = true;
        break;
    case TaskKind::PrintData:
    case TaskKind::OpenCollector:
    case TaskKind::KeyFunction:
    case TaskKind::DataEntryMode:
        break;
    }
    return o;
}

std::string tagText(const Tag* tag) {
    return tag != nullptr ? tag->displayAddress() : std::string();
}

void putU8(std::vector<std::uint8_t>& out, std::uint32_t v) {
    out.push_back(static_cast<std::uint8_t>(v));
}
void putU16(std::vector<std::uint8_t>& out, std::uint32_t v) {
    out.push_back(static_cast<std::uint8_t>(v & 0xFFU));
    out.push_back(static_cast<std::uint8_t>((v >> 8) & 0xFFU));
}
void putTagRef(std::vector<std::uint8_t>& out, const Tag* tag) {
    if (tag == nullptr) {
        out.insert(out.end(), kTagRefBytes, 0);
        return;
    }
    putU8(out, tag->nodeNumber());
    putU16(out, tag->blockIndex());
    putU8(out, tag->indexInBlock());
}

// Reads operands inside the bytes that the record's length byte covers, never beyond them.
class RecordReader {
public:
    explicit RecordReader(std::span<const std::uint8_t> record) : record_(record) {}
    bool u8(std::uint8_t& v) noexcept {
        if (pos_ + 1 > record_.size()) {
            return false;
        }
        v = record_[pos_++];
        return true;
    }
    bool u16(std::uint16_t& v) noexcept {
        if (pos_ + 2 > record_.size()) {
            return false;
        }
        v = static_cast<std::uint16_t>(record_[pos_] | (record_[pos_ + 1] << 8));
        pos_ += 2;
        return true;
    }

private:
    std::span<const std::uint8_t> record_;
    std::size_t pos_ = 0;
};

Result<DecodedTask> listFailure(const char* what) {
    return Result<DecodedTask>::fail(formatText("Task list record is damaged: %s.", what), kErrorTaskList);
}

} // namespace

std::uint8_t taskLength(TaskKind kind, std::uint8_t subKind, const Tag* tag1,
                        std::uint8_t valueFormat) noexcept {
    switch (kind) {
    case TaskKind::GotoScreen:
        return subKind == 0 ? 4 : (subKind <= 2 ? 2 : 0);
    case TaskKind::WriteValue:
        return subKind == 0 ? 9 : 0;
    case TaskKind::Add:
    case TaskKind::Subtract:
        return subKind == 0 ? 9 : (subKind == 1 ? 10 : 0);
    case TaskKind::Bit:
        return (subKind <= bit_task::kToggle || subKind == bit_task::kGeneratedOn ||
                subKind == bit_task::kGeneratedOff)
                   ? 6
                   : 0;
    case TaskKind::CopyTag:
    case TaskKind::SwapTags:
        return subKind == 0 ? 10 : 0;
    case TaskKind::PrintData:
    case TaskKind::DataEntryMode:
        return subKind == 0 ? 2 : 0;
    case TaskKind::ClockIncrement:
        return subKind <= 6 ? 4 : 0;
    case TaskKind::CopyToDisplay:
        return subKind <= 1 ? 6 : 0;
    case TaskKind::OpenCollector:
        return subKind <= 1 ? 2 : 0;
    case TaskKind::Delay:
        return subKind == 0 ? 5 : 0;
    case TaskKind::Wait:
        if (subKind != 0) {
            return 0;
        }
        if (!isRegisterWait(tag1)) {
            return 7;
        }
        return valueFormat == value_format::kWaitTag ? 12 : 10;
    case TaskKind::KeyFunction:
        return subKind <= kLastKeyFunction ? 2 : 0;
    case TaskKind::PlcToRecipe:
    case TaskKind::RecipeToPlc:
        return subKind == 0 ? 12 : 0;
    case TaskKind::CopyRtcToTag:
        return subKind == 0 ? 8 : 0;
    }
    return 0;
}

std::uint8_t Task::length() const noexcept {
    return taskLength(kind, subKind, tag1, valueFormat);
}

Status validateTask(const Task& t) {
    const auto kindNumber = static_cast<unsigned>(t.kind);
    if (kindNumber < kFirstTaskKind || kindNumber > kLastTaskKind) {
        return Status::fail(formatText("Task kind %u does not exist.", kindNumber));
    }
    if (t.length() == 0) {
        return Status::fail(formatText("Task kind %u has no variant %u.", kindNumber, t.subKind));
    }
    const Operands o = operandsOf(t);
    if ((o.tag1 && t.tag1 == nullptr) || (o.tag2 && t.tag2 == nullptr)) {
        return Status::fail("Tag(s) not selected.");
    }
    if (o.valueFormat && t.kind != TaskKind::Wait && t.valueFormat > value_format::kBinary) {
        return Status::fail(formatText("Number format %u does not exist.", t.valueFormat));
    }
    if (t.kind == TaskKind::Wait && o.valueFormat && t.valueFormat > value_format::kWaitTag) {
        return Status::fail(formatText("Wait operand %u does not exist.", t.valueFormat));
    }
    if (o.value) {
        const bool isSigned = usesConstant(t.kind, t.subKind) && t.valueFormat == value_format::kSigned;
        const std::int32_t low = isSigned ? kMinI16 : 0;
        const std::int32_t high = isSigned ? kMaxI16 : kMaxU16;
        if (t.value < low || t.value > high) {
            return Status::fail(
                formatText("The number %d does not fit the task ( %d to %d ).", t.value, low, high));
        }
    }
    if (t.kind == TaskKind::Delay && t.parameter >= kDelayTexts.size()) {
        return Status::fail(formatText("Delay unit %u does not exist.", t.parameter));
    }
    if (t.kind == TaskKind::Wait) {
        const std::size_t conditions = isRegisterWait(t.tag1) ? kWaitOperators.size() : 2;
        if (t.parameter >= conditions) {
            return Status::fail(formatText("Wait condition %u does not exist.", t.parameter));
        }
    }
    return Status::success();
}

Task normalizeTask(const Task& t) noexcept {
    const Operands o = operandsOf(t);
    Task n = t;
    if (!o.tag1) {
        n.tag1 = nullptr;
    }
    if (!o.tag2) {
        n.tag2 = nullptr;
    }
    if (!o.value) {
        n.value = 0;
    }
    if (!o.valueFormat) {
        n.valueFormat = 0;
    }
    if (!o.parameter) {
        n.parameter = 0;
    }
    return n;
}

std::string valueText(std::int32_t value, std::uint8_t valueFormat) {
    const auto bits = static_cast<std::uint16_t>(value);
    switch (valueFormat) {
    case value_format::kSigned:
        return formatText("%d", value);
    case value_format::kHexadecimal:
        return formatText("%X%c", bits, 'H');
    case value_format::kBcd:
        return formatText("%X%c", bits, 'D');
    case value_format::kBinary: {
        std::string digits;
        for (int b = 15; b >= 0; --b) {
            if ((bits >> b) & 1U) {
                digits.push_back('1');
            } else if (!digits.empty()) {
                digits.push_back('0');
            }
        }
        if (digits.empty()) {
            digits = "0";
        }
        return digits + "B";
    }
    default:
        return formatText("%u", bits);
    }
}

std::string taskText(const Task& t) {
    const std::string a = tagText(t.tag1);
    const std::string b = tagText(t.tag2);
    const auto value = static_cast<unsigned>(static_cast<std::uint16_t>(t.value));
    switch (t.kind) {
    case TaskKind::GotoScreen:
        if (t.subKind == 0) {
            return formatText("Goto Screen of number : %05u", value);
        }
        return t.subKind == 1 ? "Goto Next Screen" : "Goto Previous Screen";
    case TaskKind::WriteValue:
        return formatText("Write %s to Tag %s", valueText(t.value, t.valueFormat).c_str(), a.c_str());
    case TaskKind::Add:
        if (t.subKind == 0) {
            return formatText("Add %s to Tag %s", valueText(t.value, t.valueFormat).c_str(), a.c_str());
        }
        return formatText("Add Tag %s to Tag %s", b.c_str(), a.c_str());
    case TaskKind::Subtract:
        if (t.subKind == 0) {
            return formatText("Subtract %s from Tag %s", valueText(t.value, t.valueFormat).c_str(),
                              a.c_str());
        }
        return formatText("Subtract Tag %s from Tag %s", b.c_str(), a.c_str());
    case TaskKind::Bit:
        switch (t.subKind) {
        case bit_task::kOn:
            return formatText("Turn Bit %s ON", a.c_str());
        case bit_task::kOff:
            return formatText("Turn Bit %s OFF", a.c_str());
        case bit_task::kHoldOn:
            return formatText("Hold Bit %s ON", a.c_str());
        case bit_task::kHoldOff:
            return formatText("Hold Bit %s OFF", a.c_str());
        case bit_task::kToggle:
            return formatText("Toggle Bit %s", a.c_str());
        default:
            return {};
        }
    case TaskKind::CopyTag:
        return formatText("Copy Tag %s to Tag %s", b.c_str(), a.c_str());
    case TaskKind::SwapTags:
        return formatText("Swap Tag %s and Tag %s", a.c_str(), b.c_str());
    case TaskKind::PrintData:
        return "Print Data";
    case TaskKind::ClockIncrement:
        // The unit always steps the field by one, whatever number the record carries.
        return t.subKind < kClockTexts.size() ? formatText(kClockTexts[t.subKind], 1U) : std::string();
    case TaskKind::CopyToDisplay:
        return formatText(t.subKind == 0 ? "Copy Tag %s to STR" : "Copy Tag %s to LED", a.c_str());
    case TaskKind::OpenCollector:
        return t.subKind == 0 ? "Set Open Collector ON" : "Set Open Collector OFF";
    case TaskKind::Delay:
        return t.parameter < kDelayTexts.size() ? formatText(kDelayTexts[t.parameter], value) : std::string();
    case TaskKind::Wait:
        if (!isRegisterWait(t.tag1)) {
            return formatText("Wait till coil %s is %s", a.c_str(), t.parameter == 0 ? "Off" : "On");
        }
        if (t.parameter >= kWaitOperators.size()) {
            return {};
        }
        if (t.valueFormat == value_format::kWaitTag) {
            return formatText("Wait till %s %s %s", a.c_str(), kWaitOperators[t.parameter], b.c_str());
        }
        return formatText("Wait till %s %s %u", a.c_str(), kWaitOperators[t.parameter], value);
    case TaskKind::KeyFunction:
        return t.subKind < kKeyFunctions.size() ? std::string(kKeyFunctions[t.subKind]) : std::string();
    case TaskKind::DataEntryMode:
        return "Activate / Deactivate Data Entry Mode";
    case TaskKind::PlcToRecipe:
        return formatText("Copy Plc block %s of %s to Recipe %s", b.c_str(), formatText("%u", value).c_str(),
                          a.c_str());
    case TaskKind::RecipeToPlc:
        return formatText("Copy Recipe block %s of %s to Plc %s", b.c_str(), formatText("%u", value).c_str(),
                          a.c_str());
    case TaskKind::CopyRtcToTag:
        return formatText("Copy RTC to Tag %s ", a.c_str());
    }
    return {};
}

TaskReads taskReads(const Task& t) noexcept {
    TaskReads reads;
    auto add = [&](const Tag* tag) {
        if (tag != nullptr && tag->block() != nullptr) {
            reads.blocks[reads.count++] = tag->block();
        }
    };
    switch (t.kind) {
    case TaskKind::Add:
    case TaskKind::Subtract:
        if (t.subKind == 1) {
            add(t.tag2);
        }
        break;
    case TaskKind::CopyTag:
        add(t.tag2);
        break;
    case TaskKind::Wait:
        add(t.tag1);
        if (isRegisterWait(t.tag1) && t.valueFormat == value_format::kWaitTag) {
            add(t.tag2);
        }
        break;
    default:
        break;
    }
    return reads;
}

void encodeTask(const Task& t, std::vector<std::uint8_t>& out) {
    const std::uint8_t length = t.length();
    const std::size_t start = out.size();
    putU8(out, length);
    putU8(out, static_cast<std::uint8_t>(t.kind));
    putU8(out, t.subKind);
    const auto value = static_cast<std::uint32_t>(t.value) & 0xFFFFU;
    switch (t.kind) {
    case TaskKind::GotoScreen:
    case TaskKind::ClockIncrement:
        if (t.kind == TaskKind::ClockIncrement || t.subKind == 0) {
            putU16(out, value);
        }
        break;
    case TaskKind::WriteValue:
    case TaskKind::Add:
    case TaskKind::Subtract:
        putTagRef(out, t.tag1);
        if (usesConstant(t.kind, t.subKind)) {
            putU16(out, value);
            putU8(out, t.valueFormat);
        } else {
            putTagRef(out, t.tag2);
        }
        break;
    case TaskKind::Bit:
    case TaskKind::CopyToDisplay:
        putTagRef(out, t.tag1);
        break;
    case TaskKind::CopyTag:
    case TaskKind::SwapTags:
        putTagRef(out, t.tag1);
        putTagRef(out, t.tag2);
        break;
    case TaskKind::Delay:
        putU8(out, t.parameter);
        putU16(out, value);
        break;
    case TaskKind::Wait:
        putTagRef(out, t.tag1);
        putU8(out, t.parameter);
        if (isRegisterWait(t.tag1)) {
            putU8(out, t.valueFormat);
            if (t.valueFormat == value_format::kWaitTag) {
                putTagRef(out, t.tag2);
            } else {
                putU16(out, value);
            }
        }
        break;
    case TaskKind::PlcToRecipe:
    case TaskKind::RecipeToPlc:
        putTagRef(out, t.tag1);
        putTagRef(out, t.tag2);
        putU16(out, value);
        break;
    case TaskKind::CopyRtcToTag:
        putTagRef(out, t.tag1);
        putU16(out, value);
        break;
    case TaskKind::PrintData:
    case TaskKind::OpenCollector:
    case TaskKind::KeyFunction:
    case TaskKind::DataEntryMode:
        break;
    }
    // A task whose operands disagree with its length would shift every record after it; the record
    // is padded or cut to its length byte so that the list stays readable. Validated tasks never need it.
    out.resize(start + 1 + length, 0);
}

Result<DecodedTask> decodeTask(std::span<const std::uint8_t> bytes, const TagLookup& lookup) {
    if (bytes.empty()) {
        return listFailure("no length byte");
    }
    const std::uint8_t length = bytes[0];
    if (length < 2) {
        return listFailure("length byte too small");
    }
    if (bytes.size() < 1U + length) {
        return listFailure("record cut short");
    }
    RecordReader in(bytes.subspan(1, length));
    std::uint8_t kindByte = 0;
    Task t;
    (void)in.u8(kindByte);
    (void)in.u8(t.subKind);
    if (kindByte < kFirstTaskKind || kindByte > kLastTaskKind) {
        return listFailure("unknown task kind");
    }
    t.kind = static_cast<TaskKind>(kindByte);

    bool fits = true;
    bool tagMissing = false;
    auto readTag = [&](Tag*& target) {
        std::uint8_t node = 0;
        std::uint16_t block = 0;
        std::uint8_t index = 0;
        if (!(in.u8(node) && in.u16(block) && in.u8(index))) {
            fits = false;
            return;
        }
        target = lookup ? lookup(node, block, index) : nullptr;
        if (target == nullptr) {
            tagMissing = true;
        }
    };
    auto readValue = [&](bool signExtend) {
        std::uint16_t raw = 0;
        if (!in.u16(raw)) {
            fits = false;
            return;
        }
        t.value = signExtend ? static_cast<std::int32_t>(static_cast<std::int16_t>(raw)) : raw;
    };

    switch (t.kind) {
    case TaskKind::GotoScreen:
        if (t.subKind == 0) {
            readValue(false);
        }
        break;
    case TaskKind::ClockIncrement:
        readValue(false);
        break;
    case TaskKind::WriteValue:
    case TaskKind::Add:
    case TaskKind::Subtract:
        readTag(t.tag1);
        if (usesConstant(t.kind, t.subKind)) {
            std::uint16_t raw = 0;
            fits = fits && in.u16(raw) && in.u8(t.valueFormat);
            // Only a signed constant is widened with its sign; every other format is a 16-bit pattern.
            t.value = t.valueFormat == value_format::kSigned
                          ? static_cast<std::int32_t>(static_cast<std::int16_t>(raw))
                          : static_cast<std::int32_t>(raw);
        } else {
            readTag(t.tag2);
        }
        break;
    case TaskKind::Bit:
    case TaskKind::CopyToDisplay:
        readTag(t.tag1);
        break;
    case TaskKind::CopyTag:
    case TaskKind::SwapTags:
        readTag(t.tag1);
        readTag(t.tag2);
        break;
    case TaskKind::Delay:
        fits = in.u8(t.parameter);
        readValue(false);
        break;
    case TaskKind::Wait:
        readTag(t.tag1);
        fits = fits && in.u8(t.parameter);
        if (fits && !tagMissing && isRegisterWait(t.tag1)) {
            fits = in.u8(t.valueFormat);
            if (t.valueFormat == value_format::kWaitTag) {
                readTag(t.tag2);
            } else {
                readValue(false);
            }
        }
        break;
    case TaskKind::PlcToRecipe:
    case TaskKind::RecipeToPlc:
        readTag(t.tag1);
        readTag(t.tag2);
        readValue(false);
        break;
    case TaskKind::CopyRtcToTag:
        readTag(t.tag1);
        readValue(false);
        break;
    case TaskKind::PrintData:
    case TaskKind::OpenCollector:
    case TaskKind::KeyFunction:
    case TaskKind::DataEntryMode:
        break;
    }
    if (tagMissing) {
        return Result<DecodedTask>::fail("A task names a tag that does not exist.", kErrorTaskTag);
    }
    if (!fits || t.length() != length) {
        return listFailure("length byte does not match the task");
    }
    if (Status valid = validateTask(t); !valid) {
        return Result<DecodedTask>::fail(valid.message(), kErrorTaskList);
    }
    return DecodedTask{t, 1U + length};
}

} // namespace quillon
