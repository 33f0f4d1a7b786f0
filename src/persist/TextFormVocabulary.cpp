#include "persist/TextFormVocabulary.h"

namespace quillon {
namespace {

constexpr std::array<std::string_view, 22> kObjectKinds{"bitmap",
                                                        "text",
                                                        "dataEntryCoil",
                                                        "dataEntryRegister",
                                                        "displayCoil",
                                                        "displayRegister",
                                                        "displayRegisterText",
                                                        "time",
                                                        "date",
                                                        "error",
                                                        "rectangle",
                                                        "ellipse",
                                                        "roundRectangle",
                                                        "polyline",
                                                        "polygon",
                                                        "oldBargraph",
                                                        "alarmWindow",
                                                        "touchArea",
                                                        "",
                                                        "",
                                                        "",
                                                        "bargraph"};

constexpr std::array<std::string_view, 19> kTaskKinds{"",
                                                      "gotoScreen",
                                                      "writeValue",
                                                      "add",
                                                      "subtract",
                                                      "bit",
                                                      "copyTag",
                                                      "swapTags",
                                                      "printData",
                                                      "clockIncrement",
                                                      "copyToDisplay",
                                                      "openCollector",
                                                      "delay",
                                                      "wait",
                                                      "keyFunction",
                                                      "dataEntryMode",
                                                      "plcToRecipe",
                                                      "recipeToPlc",
                                                      "copyRtcToTag"};

constexpr std::array<std::string_view, 3> kNodeKinds{"unit", "plc", "plcWithSpecial"};
constexpr std::array<std::string_view, 3> kScreenTypes{"display", "printOnly", "both"};

template <std::size_t N>
std::optional<std::uint8_t> codeOf(const std::array<std::string_view, N>& names, std::string_view name) {
    if (name.empty()) {
        return std::nullopt;
    }
    for (std::size_t i = 0; i < N; ++i) {
        if (names[i] == name) {
            return static_cast<std::uint8_t>(i);
        }
    }
    return std::nullopt;
}

template <std::size_t N>
std::string_view nameOf(const std::array<std::string_view, N>& names, std::uint8_t code) {
    return code < N ? names[code] : std::string_view();
}

} // namespace

std::string TextFormVocabulary::bytesToUtf8(std::string_view bytes) {
    std::string text;
    text.reserve(bytes.size());
    for (const char c : bytes) {
        const auto b = static_cast<unsigned char>(c);
        if (b < 0x80) {
            text.push_back(c);
        } else {
            text.push_back(static_cast<char>(0xC0 | (b >> 6)));
            text.push_back(static_cast<char>(0x80 | (b & 0x3F)));
        }
    }
    return text;
}

std::optional<std::string> TextFormVocabulary::utf8ToBytes(std::string_view text) {
    std::string bytes;
    bytes.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        const auto b = static_cast<unsigned char>(text[i]);
        if (b < 0x80) {
            bytes.push_back(text[i]);
            continue;
        }
        // Only the two-byte sequences of U+0080..U+00FF name a byte of the panel's character set.
        if ((b & 0xE0) != 0xC0 || b < 0xC2 || b > 0xC3 || i + 1 >= text.size()) {
            return std::nullopt;
        }
        const auto next = static_cast<unsigned char>(text[i + 1]);
        if ((next & 0xC0) != 0x80) {
            return std::nullopt;
        }
        bytes.push_back(static_cast<char>(((b & 0x1F) << 6) | (next & 0x3F)));
        ++i;
    }
    return bytes;
}

std::string_view TextFormVocabulary::objectKindName(std::uint8_t code) noexcept {
    return nameOf(kObjectKinds, code);
}

std::optional<std::uint8_t> TextFormVocabulary::objectKindCode(std::string_view name) noexcept {
    return codeOf(kObjectKinds, name);
}

std::string_view TextFormVocabulary::taskKindName(std::uint8_t kind) noexcept {
    return nameOf(kTaskKinds, kind);
}

std::optional<std::uint8_t> TextFormVocabulary::taskKindCode(std::string_view name) noexcept {
    return codeOf(kTaskKinds, name);
}

std::string TextFormVocabulary::tagTypeName(char type) {
    switch (type) {
    case '1':
        return "coil";
    case '2':
        return "register";
    case '3':
        return "registerBit";
    default:
        return bytesToUtf8(std::string(1, type));
    }
}

std::optional<char> TextFormVocabulary::tagTypeCode(std::string_view name) noexcept {
    if (name == "coil") {
        return '1';
    }
    if (name == "register") {
        return '2';
    }
    if (name == "registerBit") {
        return '3';
    }
    if (const auto byte = utf8ToBytes(name);
        byte && byte->size() == 1 && ((*byte)[0] < '1' || (*byte)[0] > '3')) {
        return (*byte)[0];
    }
    return std::nullopt;
}

std::string TextFormVocabulary::readWriteName(char readWrite) {
    switch (readWrite) {
    case '0':
        return "readOnly";
    case '1':
        return "writeOnly";
    case '2':
        return "readWrite";
    default:
        return bytesToUtf8(std::string(1, readWrite));
    }
}

std::optional<char> TextFormVocabulary::readWriteCode(std::string_view name) noexcept {
    if (name == "readOnly") {
        return '0';
    }
    if (name == "writeOnly") {
        return '1';
    }
    if (name == "readWrite") {
        return '2';
    }
    if (const auto byte = utf8ToBytes(name);
        byte && byte->size() == 1 && ((*byte)[0] < '0' || (*byte)[0] > '2')) {
        return (*byte)[0];
    }
    return std::nullopt;
}

std::string_view TextFormVocabulary::nodeKindName(std::uint8_t kind) noexcept {
    return nameOf(kNodeKinds, kind);
}

std::optional<std::uint8_t> TextFormVocabulary::nodeKindCode(std::string_view name) noexcept {
    return codeOf(kNodeKinds, name);
}

std::string_view TextFormVocabulary::screenTypeName(std::uint8_t type) noexcept {
    return nameOf(kScreenTypes, type);
}

std::optional<std::uint8_t> TextFormVocabulary::screenTypeCode(std::string_view name) noexcept {
    return codeOf(kScreenTypes, name);
}

} // namespace quillon
