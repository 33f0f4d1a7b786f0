#include "comm/ImageComparison.h"

#include "persist/OvmLayout.h"

#include <algorithm>
#include <array>
#include <cstdio>

namespace quillon {
namespace {

std::string hex(std::uint32_t value, int digits) {
    std::array<char, 16> text{};
    std::snprintf(text.data(), text.size(), "%0*X", digits, value);
    return text.data();
}

std::uint32_t readLe(std::span<const std::uint8_t> image, std::size_t at, std::size_t bytes) {
    std::uint32_t value = 0;
    for (std::size_t i = 0; i < bytes; ++i) {
        value |= static_cast<std::uint32_t>(image[at + i]) << (8 * i);
    }
    return value;
}

} // namespace

std::optional<ImageDifference> ImageComparison::firstDifference(std::span<const std::uint8_t> sent,
                                                                std::span<const std::uint8_t> held) noexcept {
    const std::size_t common = std::min(sent.size(), held.size());
    const auto [s, h] =
        std::mismatch(sent.begin(), sent.begin() + static_cast<std::ptrdiff_t>(common), held.begin());
    const auto offset = static_cast<std::size_t>(s - sent.begin());
    if (offset == common && sent.size() == held.size()) {
        return std::nullopt;
    }
    ImageDifference d;
    d.offset = offset;
    if (offset < sent.size()) {
        d.sent = sent[offset];
    }
    if (offset < held.size()) {
        d.held = held[offset];
    }
    d.sentSize = sent.size();
    d.heldSize = held.size();
    (void)h;
    return d;
}

std::string ImageComparison::sectionAt(std::span<const std::uint8_t> image, std::size_t offset) {
    if (offset < OvmLayout::kHeaderBytes) {
        return "Header";
    }
    if (image.size() < OvmLayout::kHeaderBytes) {
        return {};
    }
    // The sections after the settings in image order, each with where the header states its size.
    struct Sized {
        std::string_view name;
        std::size_t field;
        std::size_t bytes;
    };
    constexpr std::array<Sized, 9> kSections{{{"Network", 0x14, 4},
                                              {"Global read list", 0x2C, 2},
                                              {"Power-on tasks", 0x26, 2},
                                              {"Global tasks", 0x28, 2},
                                              {"Global keys", 0x20, 4},
                                              {"Screens", 0x1C, 4},
                                              {"Alarms", 0x24, 2},
                                              {"Logger", 0x2A, 2},
                                              {"Pictures", 0x2E, 4}}};
    std::size_t start = OvmLayout::kHeaderBytes + OvmLayout::kSettingsBytes;
    if (offset < start) {
        return "Settings";
    }
    for (const Sized& s : kSections) {
        const std::size_t end = start + readLe(image, s.field, s.bytes);
        if (offset < end) {
            return std::string(s.name);
        }
        start = end;
    }
    return {};
}

std::string ImageComparison::failureText(const ImageDifference& d, std::string_view where) {
    std::string text =
        "Verify failed: the unit's memory differs from the application sent, first at offset " +
        std::to_string(d.offset) + " (0x" + hex(static_cast<std::uint32_t>(d.offset), 8) + ")";
    if (d.sent && d.held) {
        text += ": sent 0x" + hex(*d.sent, 2) + ", the unit holds 0x" + hex(*d.held, 2);
    } else {
        text += ": " + std::to_string(d.sentSize) + " bytes were sent, the unit holds " +
                std::to_string(d.heldSize);
    }
    if (!where.empty()) {
        text += " (in " + std::string(where) + ")";
    }
    return text + ".";
}

} // namespace quillon
