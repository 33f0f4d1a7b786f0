#include "edit/define/Keypad.h"

#include "model/Application.h"

#include <array>

namespace quillon {
namespace {

// The picture of a task, or 0 when it has none.
int taskPicture(const Task& task) noexcept {
    if (task.kind == TaskKind::GotoScreen) {
        return task.subKind == 1 ? 625 : task.subKind == 2 ? 626 : 0;
    }
    if (task.kind == TaskKind::DataEntryMode) {
        return 629;
    }
    if (task.kind != TaskKind::KeyFunction) {
        return 0;
    }
    const int sub = task.subKind;
    if (sub >= 13 && sub <= 28) {
        return 600 + (sub - 13);
    }
    switch (sub) {
    case 0:
        return 617;
    case 1:
        return 628;
    case 2:
        return 618;
    case 3:
        return 619;
    case 4:
    case 6:
        return 623;
    case 5:
    case 7:
        return 624;
    case 8:
    case 9:
        return 621;
    case 10:
        return 622;
    case 11:
        return 616;
    case 12:
        return 630;
    case 31:
        return 627;
    case 32:
        return 620;
    default:
        return 0;
    }
}

bool hasTasks(const KeyDefinition& key) noexcept {
    return key.taskBytes() != 0;
}

} // namespace

std::optional<KeypadLayout> keypadLayoutOf(std::uint16_t modelId) noexcept {
    switch (modelId) {
    case 10:
    case 12:
        return KeypadLayout{"keys_162", 1, 6, 6, 4};
    case 15:
        return KeypadLayout{"keys_162_15", 1, 20, 8, 1};
    case 20:
        return KeypadLayout{"keys_164", 1, 8, 4, 1};
    case 30:
        return KeypadLayout{"keys_202", 1, 28, 12, 1};
    case 40:
    case 42:
        return KeypadLayout{"keys_220", 1, 20, 0, 1};
    case 41:
        return KeypadLayout{"keys_204", 1, 32, 0, 1};
    case 480:
        return KeypadLayout{"keys_128x64_90", 9, 12, 0, 9};
    case 500:
        return KeypadLayout{"keys_128x64", 5, 22, 0, 9};
    case 510:
        return KeypadLayout{"keys_240x128", 1, 23, 0, 1};
    case 520:
        return KeypadLayout{"keys_320x240", 1, 24, 0, 1};
    default:
        return std::nullopt;
    }
}

std::string keyCaption(const KeypadLayout& layout, std::uint8_t key) {
    if (key >= layout.firstKey && key < layout.firstKey + layout.functionKeys) {
        return "F" + std::to_string(key - layout.firstKey + 1);
    }
    return std::to_string(key);
}

std::string keyName(std::uint16_t code) {
    const unsigned first = code & 0xFFU;
    const unsigned second = code >> 8;
    std::string name = "F" + std::to_string(first);
    if (second != 0) {
        name += " + F" + std::to_string(second);
    }
    return name;
}

std::optional<std::uint16_t> parseKeyName(std::string_view text) {
    const auto single = [](std::string_view part) -> std::optional<std::uint8_t> {
        while (!part.empty() && part.front() == ' ') {
            part.remove_prefix(1);
        }
        while (!part.empty() && part.back() == ' ') {
            part.remove_suffix(1);
        }
        if (!part.empty() && (part.front() == 'F' || part.front() == 'f')) {
            part.remove_prefix(1);
        }
        if (part.empty() || part.size() > 3 || part.front() == '0') {
            return std::nullopt;
        }
        unsigned number = 0;
        for (const char c : part) {
            if (c < '0' || c > '9') {
                return std::nullopt;
            }
            number = number * 10 + static_cast<unsigned>(c - '0');
        }
        if (number < 1 || number > 255) {
            return std::nullopt;
        }
        return static_cast<std::uint8_t>(number);
    };
    const std::size_t plus = text.find('+');
    const auto first = single(text.substr(0, plus));
    if (!first) {
        return std::nullopt;
    }
    if (plus == std::string_view::npos) {
        return *first;
    }
    const auto second = single(text.substr(plus + 1));
    if (!second || *second == *first) {
        return std::nullopt;
    }
    return static_cast<std::uint16_t>(*first | (*second << 8));
}

int keyPicture(const Application& application, std::uint8_t key) {
    const KeyDefinition* single = application.findGlobalKey(key);
    if (single == nullptr) {
        for (const auto& other : application.globalKeys()) {
            if (other->secondKey() != 0 && (other->firstKey() == key || other->secondKey() == key) &&
                hasTasks(*other)) {
                return key_picture::kDefined;
            }
        }
        return key_picture::kUndefined;
    }
    if (!hasTasks(*single)) {
        return key_picture::kUndefined;
    }
    if (single->legend) {
        return key_picture::kDefined;
    }
    for (std::size_t list = 0; list < single->taskListCount(); ++list) {
        for (const auto& task : single->taskList(list).tasks()) {
            if (const int picture = taskPicture(*task); picture != 0) {
                return picture;
            }
        }
    }
    return key_picture::kDefined;
}

std::string_view keyPictureSymbol(int picture) noexcept {
    static constexpr std::array<std::string_view, 16> kDigits{"0", "1", "2", "3", "4", "5", "6", "7",
                                                              "8", "9", "A", "B", "C", "D", "E", "F"};
    if (picture >= 600 && picture <= 615) {
        return kDigits[static_cast<std::size_t>(picture - 600)];
    }
    switch (picture) {
    case 616:
        return "+/-";
    case 617:
        return "CLR";
    case 618:
        return "ENT";
    case 619:
        return "NXT";
    case 620:
        return "ACK";
    case 621:
        return "<";
    case 622:
        return ">";
    case 623:
        return "+";
    case 624:
        return "-";
    case 625:
        return "PG+";
    case 626:
        return "PG-";
    case 627:
        return "ALM";
    case 628:
        return "ESC";
    case 629:
        return "EDIT";
    case 630:
        return "+/-0";
    default:
        return {};
    }
}

std::optional<PreviewOrigin> screenPreviewOrigin(std::uint16_t modelId) noexcept {
    switch (modelId) {
    case 10:
    case 12:
    case 15:
        return PreviewOrigin{68, 176};
    case 20:
        return PreviewOrigin{68, 160};
    case 30:
        return PreviewOrigin{44, 176};
    case 40:
    case 41:
    case 42:
        return PreviewOrigin{44, 160};
    case 480:
    case 510:
        return PreviewOrigin{44, 128};
    case 500:
        return PreviewOrigin{100, 160};
    case 520:
        return PreviewOrigin{4, 72};
    default:
        return std::nullopt;
    }
}

bool keyLayoutShowsPreview(std::uint16_t modelId) noexcept {
    return modelId != 520;
}

} // namespace quillon
