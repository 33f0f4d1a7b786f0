#include "edit/define/UnitSettingsEditor.h"

#include "model/Application.h"
#include "model/PanelModel.h"
#include "model/TextFormat.h"

#include <algorithm>

namespace quillon {

UnitSettingsEditor::UnitSettingsEditor(const Application& application)
    : copy_(application.unitSettings()), modelName_(modelName(application.modelId())),
      graphic_(!isCharacterClass(modelClass(application.modelId()))),
      // A model the catalog does not know gets the two smallest memories.
      memoryOptions_(std::max<std::uint8_t>(memoryOptionsOfModel(application.modelId()), 2)) {}

std::vector<std::string_view> UnitSettingsEditor::memoryEntries() const {
    return {kMemory.begin(), kMemory.begin() + std::min<std::size_t>(memoryOptions_, kMemory.size())};
}

void UnitSettingsEditor::refuseMemory(std::uint8_t option, Prompter& prompter) const {
    const std::string chosen(kMemory[option]);
    const std::string largest(kMemory[memoryOptions_ - 1]);
    prompter.information(formatText(std::string(kMemoryTooLarge).c_str(), chosen.c_str(), modelName_.c_str(),
                                    largest.c_str()));
}

bool UnitSettingsEditor::chooseMemory(std::uint8_t option, Prompter& prompter) {
    if (option >= kMemory.size()) {
        return false;
    }
    if (option >= memoryOptions_) {
        refuseMemory(option, prompter);
        return false;
    }
    copy_.memoryOption = option;
    return true;
}

void UnitSettingsEditor::setTouchScreen(bool on) noexcept {
    if (graphic_) {
        copy_.touchScreen = on ? 1 : 0;
    }
}

void UnitSettingsEditor::setExtendedKeypad(bool on) noexcept {
    copy_.extendedKeypad = on ? 1 : 0;
    if (on) {
        for (std::uint8_t* size : {&copy_.keypadRows, &copy_.keypadColumns}) {
            if (*size < 1 || *size > 8) {
                *size = 4;
            }
        }
    }
}

std::string_view UnitSettingsEditor::rangeLabel(UnitField field) noexcept {
    switch (field) {
    case UnitField::KeypadRows:
    case UnitField::KeypadColumns:
        return "[ 1 - 8 ]";
    case UnitField::InputWords:
    case UnitField::OutputWords:
        return "[ 0 - 32 ]";
    case UnitField::PrinterColumns:
        return "[ 01 - 80 ]";
    case UnitField::QueueSize:
        return "[ 1 - 4 ]";
    }
    return {};
}

std::size_t UnitSettingsEditor::maxChars(UnitField field) noexcept {
    switch (field) {
    case UnitField::KeypadRows:
    case UnitField::KeypadColumns:
    case UnitField::QueueSize:
        return 1;
    default:
        return 2;
    }
}

std::pair<int, int> UnitSettingsEditor::bounds(UnitField field) noexcept {
    switch (field) {
    case UnitField::KeypadRows:
    case UnitField::KeypadColumns:
        return {1, 8};
    case UnitField::InputWords:
    case UnitField::OutputWords:
        return {0, 32};
    case UnitField::PrinterColumns:
        return {1, 80};
    case UnitField::QueueSize:
        return {1, 4};
    }
    return {0, 0};
}

std::uint8_t& UnitSettingsEditor::byteOf(UnitField field) noexcept {
    switch (field) {
    case UnitField::KeypadRows:
        return copy_.keypadRows;
    case UnitField::KeypadColumns:
        return copy_.keypadColumns;
    case UnitField::InputWords:
        return copy_.inputWords;
    case UnitField::OutputWords:
        return copy_.outputWords;
    case UnitField::PrinterColumns:
        return copy_.printerColumns;
    case UnitField::QueueSize:
        break;
    }
    return copy_.keypadQueueSize;
}

std::uint8_t UnitSettingsEditor::byteOf(UnitField field) const noexcept {
    return const_cast<UnitSettingsEditor*>(this)->byteOf(field);
}

std::string UnitSettingsEditor::text(UnitField field) const {
    if ((field == UnitField::KeypadRows || field == UnitField::KeypadColumns) && !keypadSizeShown()) {
        return {};
    }
    if (field == UnitField::PrinterColumns) {
        return formatText("%02u", byteOf(field));
    }
    return std::to_string(byteOf(field));
}

UnitFieldCheck UnitSettingsEditor::type(UnitField field, std::string_view typed) {
    std::string digits;
    for (const char c : typed) {
        if (c >= '0' && c <= '9') {
            digits += c;
        }
    }
    if (digits.size() > maxChars(field)) {
        digits.resize(maxChars(field));
    }
    const auto [min, max] = bounds(field);
    // Above the maximum the last digit goes, until the value fits.
    while (!digits.empty() && std::stoi(digits) > max) {
        digits.pop_back();
    }
    UnitFieldCheck check;
    check.text = digits;
    check.inRange = !digits.empty() && std::stoi(digits) >= min;
    return check;
}

std::string UnitSettingsEditor::leave(UnitField field, std::string_view typed) {
    const UnitFieldCheck check = type(field, typed);
    int value = check.text.empty() ? 0 : std::stoi(check.text);
    switch (field) {
    case UnitField::KeypadRows:
    case UnitField::KeypadColumns:
        if (value == 0) {
            value = 4;
        }
        break;
    case UnitField::PrinterColumns:
        if (value == 0) {
            value = 80;
        }
        break;
    case UnitField::QueueSize:
        if (value == 0) {
            value = 1;
        }
        break;
    case UnitField::InputWords:
    case UnitField::OutputWords:
        break;
    }
    const auto [min, max] = bounds(field);
    value = std::clamp(value, min, max);
    byteOf(field) = static_cast<std::uint8_t>(value);
    return text(field);
}

bool UnitSettingsEditor::accept(Application& application, Prompter& prompter,
                                const std::function<void()>& beforeRemoval) {
    if (copy_.memoryOption < kMemory.size() && copy_.memoryOption >= memoryOptions_) {
        refuseMemory(copy_.memoryOption, prompter);
        return false;
    }
    if (copy_.touchScreen == 0) {
        const std::size_t screens = application.countScreensWithTouchAreas();
        if (screens > 0) {
            const std::string question =
                formatText(std::string(kTouchQuestion).c_str(), static_cast<unsigned>(screens));
            if (prompter.confirm(question, PromptButtons::YesNo, PromptAnswer::No) == PromptAnswer::Yes) {
                if (beforeRemoval) {
                    beforeRemoval();
                }
                application.removeAllTouchAreas();
            } else {
                copy_.touchScreen = 1;
            }
        }
    }
    application.unitSettings().fromBytes(copy_.toBytes());
    return true;
}

} // namespace quillon
