#include "persist/ExtensionSection.h"

#include "model/Application.h"
#include "model/Block.h"
#include "model/KeyDefinition.h"
#include "model/Node.h"
#include "model/Screen.h"
#include "model/Tag.h"
#include "persist/ByteReader.h"
#include "persist/OvmLayout.h"

#include <algorithm>
#include <limits>
#include <string>
#include <string_view>

namespace quillon {

namespace {

void text8(ByteSink& out, std::string_view text) {
    const std::size_t length = std::min<std::size_t>(text.size(), std::numeric_limits<std::uint8_t>::max());
    out.u8(static_cast<std::uint8_t>(length));
    out.chars(text.substr(0, length));
}

void text16(ByteSink& out, std::string_view text) {
    const std::size_t length = std::min<std::size_t>(text.size(), std::numeric_limits<std::uint16_t>::max());
    out.u16(static_cast<std::uint16_t>(length));
    out.chars(text.substr(0, length));
}

std::uint8_t clampByte(int value) noexcept {
    return static_cast<std::uint8_t>(std::clamp(value, 0, 255));
}

// Names longer than their field (from another tool or a damaged file) are cut to the field.
bool limited(ByteReader& in, std::string& target, std::size_t limit, bool wide = false) {
    std::string text;
    if (!(wide ? in.text16(text) : in.text8(text))) {
        return false;
    }
    text.resize(std::min(text.size(), limit));
    target = std::move(text);
    return true;
}

void writeLogger(const Application& app, ByteSink& out) {
    const LoggerSettings& l = app.logger();
    out.u8(OvmLayout::kLoggerRecordKey);
    out.u8(OvmLayout::kLoggerRecordType);
    // A logger without a header register keeps the first version of the record, byte for byte.
    const Tag* header = l.headerRegister;
    out.u8(header != nullptr ? OvmLayout::kLoggerRecordVersion
                             : OvmLayout::kLoggerRecordVersionWithoutRegister);
    for (std::uint8_t b : {l.memorySize, l.frequency, l.frequencyUnit, l.whenFull, l.startAtPowerUp,
                           l.useStartTime, l.useStopTime, l.option}) {
        out.u8(b);
    }
    text8(out, l.pageHeader);
    out.u8(l.option2);
    out.u8(static_cast<std::uint8_t>(l.separator));
    std::uint16_t count = 0;
    for (const Tag* tag : l.tags) {
        if (tag != nullptr && count < std::numeric_limits<std::uint16_t>::max()) {
            ++count;
        }
    }
    out.u16(count);
    std::uint16_t written = 0;
    for (const Tag* tag : l.tags) {
        if (tag == nullptr || written == count) {
            continue;
        }
        out.u8(tag->nodeNumber());
        out.u16(static_cast<std::uint16_t>(tag->blockIndex()));
        out.u8(tag->indexInBlock());
        ++written;
    }
    // The page header's register: a presence byte, then its reference (the unit's first tag is a real
    // register here, so four zero bytes cannot stand for "none").
    if (header != nullptr) {
        out.u8(1);
        out.u8(header->nodeNumber());
        out.u16(static_cast<std::uint16_t>(header->blockIndex()));
        out.u8(header->indexInBlock());
    }
}

bool readLogger(ByteReader& in, Application& app) {
    std::uint8_t version = 0;
    if (!in.u8(version) || (version != OvmLayout::kLoggerRecordVersion &&
                            version != OvmLayout::kLoggerRecordVersionWithoutRegister)) {
        return false;
    }
    LoggerSettings l;
    for (std::uint8_t* b : {&l.memorySize, &l.frequency, &l.frequencyUnit, &l.whenFull, &l.startAtPowerUp,
                            &l.useStartTime, &l.useStopTime, &l.option}) {
        if (!in.u8(*b)) {
            return false;
        }
    }
    std::uint8_t separator = 0;
    std::uint16_t count = 0;
    if (!limited(in, l.pageHeader, LoggerSettings::kMaxPageHeaderLength) || !in.u8(l.option2) ||
        !in.u8(separator) || !in.u16(count) ||
        in.remaining() < std::size_t{count} * OvmLayout::kTagRefBytes) {
        return false;
    }
    l.separator = static_cast<char>(separator);
    std::vector<Tag*> tags;
    for (std::uint16_t i = 0; i < count; ++i) {
        std::uint8_t node = 0;
        std::uint16_t block = 0;
        std::uint8_t index = 0;
        (void)(in.u8(node) && in.u16(block) && in.u8(index));
        if (Tag* tag = app.findTag(node, block, index)) {
            tags.push_back(tag);
        }
    }
    if (version == OvmLayout::kLoggerRecordVersion) {
        std::uint8_t present = 0;
        if (!in.u8(present) || present > 1) {
            return false;
        }
        if (present == 1) {
            std::uint8_t node = 0;
            std::uint16_t block = 0;
            std::uint8_t index = 0;
            if (!(in.u8(node) && in.u16(block) && in.u8(index))) {
                return false;
            }
            l.headerRegister = app.findTag(node, block, index);
        }
    }
    for (Tag* old : std::vector<Tag*>(app.loggerTags())) {
        (void)app.removeLoggerTag(*old);
    }
    app.logger() = std::move(l);
    for (Tag* tag : tags) {
        (void)app.addLoggerTag(*tag);
    }
    return true;
}

} // namespace

bool ExtensionSection::loggerChanged(const Application& app) {
    const LoggerSettings& l = app.logger();
    const LoggerSettings d;
    return l.memorySize != d.memorySize || l.frequency != d.frequency || l.frequencyUnit != d.frequencyUnit ||
           l.whenFull != d.whenFull || l.startAtPowerUp != d.startAtPowerUp ||
           l.useStartTime != d.useStartTime || l.useStopTime != d.useStopTime || l.option != d.option ||
           l.pageHeader != d.pageHeader || l.option2 != d.option2 || l.separator != d.separator ||
           !l.tags.empty() || l.headerRegister != nullptr;
}

void ExtensionSection::write(const Application& app, ByteSink& out) {
    out.append(OvmLayout::kExtensionMarker);
    const ApplicationInfo& info = app.info();
    out.u16(static_cast<std::uint16_t>(std::clamp(info.lastEdited.year, 0, 65535)));
    out.u8(clampByte(info.lastEdited.month));
    out.u8(clampByte(info.lastEdited.day));
    out.u8(clampByte(info.lastEdited.hour));
    out.u8(clampByte(info.lastEdited.minute));
    out.u8(clampByte(info.lastEdited.second));
    text8(out, info.title);
    text8(out, info.author);
    text16(out, info.description);
    for (const auto& node : app.nodes()) {
        text8(out, node->name);
        for (const auto& block : node->blocks()) {
            text8(out, block->prefix);
            text8(out, block->name);
        }
    }
    // Every tag has its entry: the reader gives the entries to the tags in order, so leaving out an unnamed
    // tag would hand the following names to the wrong tags. A prepared application has no unnamed tag.
    for (const Tag& tag : app.tags()) {
        text8(out, tag.prefix);
        text8(out, tag.name);
    }
    for (const auto& screen : app.screens()) {
        text8(out, screen->name);
        text8(out, screen->description);
    }
    for (const auto& key : app.globalKeys()) {
        if (!key->legend) {
            continue;
        }
        out.u8(key->firstKey());
        out.u8(key->legend->type);
        if (key->legend->type == KeyLegend::kText) {
            text8(out, key->legend->line1);
            text8(out, key->legend->line2);
        } else {
            text8(out, key->legend->bitmapName);
        }
    }
    if (loggerChanged(app)) {
        writeLogger(app, out);
    }
}

void ExtensionSection::read(ByteReader& in, Application& app) {
    std::span<const std::uint8_t> marker;
    if (!in.bytes(OvmLayout::kExtensionMarker.size(), marker) ||
        !std::equal(marker.begin(), marker.end(), OvmLayout::kExtensionMarker.begin())) {
        return;
    }
    ApplicationInfo& info = app.info();
    std::uint16_t year = 0;
    std::uint8_t month = 0;
    std::uint8_t day = 0;
    std::uint8_t hour = 0;
    std::uint8_t minute = 0;
    std::uint8_t second = 0;
    if (!(in.u16(year) && in.u8(month) && in.u8(day) && in.u8(hour) && in.u8(minute) && in.u8(second))) {
        return;
    }
    info.lastEdited.year = year;
    info.lastEdited.month = month;
    info.lastEdited.day = day;
    info.lastEdited.hour = hour;
    info.lastEdited.minute = minute;
    info.lastEdited.second = second;
    if (!limited(in, info.title, ApplicationInfo::kMaxTitleLength) ||
        !limited(in, info.author, ApplicationInfo::kMaxAuthorLength) ||
        !limited(in, info.description, ApplicationInfo::kMaxDescriptionLength, true)) {
        return;
    }
    constexpr std::size_t kMaxNodeName = 39;
    for (const auto& node : app.nodes()) {
        if (!limited(in, node->name, kMaxNodeName)) {
            return;
        }
        for (const auto& block : node->blocks()) {
            if (!limited(in, block->prefix, Block::kMaxPrefixLength) ||
                !limited(in, block->name, Block::kMaxNameLength)) {
                return;
            }
        }
    }
    for (Tag& tag : app.tags()) {
        if (!limited(in, tag.prefix, Block::kMaxPrefixLength) || !limited(in, tag.name, Tag::kMaxNameBytes)) {
            return;
        }
    }
    for (const auto& screen : app.screens()) {
        if (!limited(in, screen->name, Screen::kMaxNameLength) ||
            !limited(in, screen->description, Screen::kMaxDescriptionLength)) {
            return;
        }
    }
    while (!in.atEnd()) {
        std::uint8_t keyNumber = 0;
        std::uint8_t type = 0;
        if (!in.u8(keyNumber) || !in.u8(type)) {
            return;
        }
        if (type == OvmLayout::kLoggerRecordType && keyNumber == OvmLayout::kLoggerRecordKey) {
            (void)readLogger(in, app);
            return;
        }
        if (type != KeyLegend::kText && type != KeyLegend::kBitmap) {
            return;
        }
        // Legends name their key by its first key number; keys sharing it take their legends in order.
        KeyDefinition* key = nullptr;
        for (const auto& k : app.globalKeys()) {
            if (k->firstKey() == keyNumber && !k->legend) {
                key = k.get();
                break;
            }
        }
        if (key == nullptr) {
            return;
        }
        KeyLegend legend;
        legend.type = type;
        if (type == KeyLegend::kText) {
            if (!limited(in, legend.line1, KeyLegend::kMaxLineLength) ||
                !limited(in, legend.line2, KeyLegend::kMaxLineLength)) {
                return;
            }
        } else if (!limited(in, legend.bitmapName, KeyLegend::kMaxBitmapNameLength)) {
            return;
        }
        key->legend = std::move(legend);
    }
}

} // namespace quillon
