#include "ImageDump.h"

#include "model/UnitSettings.h"
#include "persist/OvmLayout.h"
#include "persist/TextFormVocabulary.h"

#include <algorithm>
#include <array>
#include <cstdio>
#include <ostream>
#include <string_view>

namespace quillon::cli {
namespace {

using Vocabulary = TextFormVocabulary;

std::string hex(std::uint32_t value, int digits) {
    std::array<char, 16> buffer{};
    std::snprintf(buffer.data(), buffer.size(), "%0*X", digits, value);
    return buffer.data();
}

// A text of the image shown between quotes, with bytes outside printable ASCII as \xNN.
std::string quoted(std::span<const std::uint8_t> bytes) {
    std::string text = "\"";
    for (const std::uint8_t b : bytes) {
        if (b >= 0x20 && b < 0x7F && b != '"' && b != '\\') {
            text.push_back(static_cast<char>(b));
        } else {
            text += "\\x" + hex(b, 2);
        }
    }
    return text + "\"";
}

// A cursor over the image that never reads past its end: a read that does not fit stops the walk, names
// the field and gives zeros from then on.
class Walker final {
public:
    Walker(std::span<const std::uint8_t> image, std::ostream& out) : image_(image), out_(out) {}

    bool stopped() const noexcept { return !problem_.empty(); }
    const std::string& problem() const noexcept { return problem_; }
    std::size_t position() const noexcept { return at_; }
    std::size_t remaining() const noexcept { return image_.size() - at_; }

    void section(std::string_view name, std::size_t bytes) {
        if (stopped()) {
            return;
        }
        out_ << "\n"
             << hex(static_cast<std::uint32_t>(at_), 8) << "  == " << name << " (" << bytes << " bytes)\n";
    }
    void note(std::string_view text) {
        if (!stopped()) {
            out_ << hex(static_cast<std::uint32_t>(at_), 8) << "  -- " << text << "\n";
        }
    }
    void stop(std::string text) {
        if (!stopped()) {
            problem_ = std::move(text);
        }
    }

    std::uint32_t u8(std::string_view field, int indent = 1) { return number(field, 1, indent); }
    std::uint32_t u16(std::string_view field, int indent = 1) { return number(field, 2, indent); }
    std::uint32_t u32(std::string_view field, int indent = 1) { return number(field, 4, indent); }

    // A field whose value has a name (a kind, a type) beside its number.
    std::uint32_t named(std::string_view field, std::size_t size, int indent,
                        std::string_view (*name)(std::uint8_t) noexcept) {
        const std::size_t start = at_;
        const std::uint32_t value = take(field, size);
        if (!stopped()) {
            std::string shown = std::to_string(value);
            const std::string_view n = name(static_cast<std::uint8_t>(value));
            shown += n.empty() ? std::string(" (unknown)") : " (" + std::string(n) + ")";
            line(start, size, field, indent, shown);
        }
        return value;
    }
    std::span<const std::uint8_t> text(std::string_view field, std::size_t size, int indent = 1) {
        if (!fits(field, size)) {
            return {};
        }
        const auto bytes = image_.subspan(at_, size);
        line(at_, size, field, indent, quoted(bytes));
        at_ += size;
        return bytes;
    }
    // Bytes that are not broken down further, sixteen to a row.
    void rows(std::string_view field, std::size_t size, int indent = 1) {
        if (!fits(field, size)) {
            return;
        }
        for (std::size_t done = 0; done < size; done += 16) {
            const std::size_t n = std::min<std::size_t>(16, size - done);
            std::string shown;
            for (std::size_t i = 0; i < n; ++i) {
                shown += (i == 0 ? "" : " ") + hex(image_[at_ + i], 2);
            }
            line(at_, n, done == 0 ? field : std::string_view{}, indent, shown);
            at_ += n;
        }
    }
    // Many bytes shown as their extent only (picture data, the logger placeholder).
    void extent(std::string_view field, std::size_t size, int indent = 1) {
        if (fits(field, size)) {
            line(at_, size, field, indent, std::to_string(size) + " bytes");
            at_ += size;
        }
    }
    // Whether any of the next `size` bytes (as far as there are any) is not zero.
    bool anySet(std::size_t size) const noexcept {
        const auto next = image_.subspan(at_, std::min(size, remaining()));
        return std::any_of(next.begin(), next.end(), [](std::uint8_t b) { return b != 0; });
    }

private:
    bool fits(std::string_view field, std::size_t size) {
        if (stopped()) {
            return false;
        }
        if (size > remaining()) {
            stop("The image ends at offset " + std::to_string(image_.size()) + " inside " +
                 std::string(field) + " (at offset " + std::to_string(at_) + ", " + std::to_string(size) +
                 " bytes needed).");
            return false;
        }
        return true;
    }
    std::uint32_t take(std::string_view field, std::size_t size) {
        if (!fits(field, size)) {
            return 0;
        }
        std::uint32_t value = 0;
        for (std::size_t i = 0; i < size; ++i) {
            value |= static_cast<std::uint32_t>(image_[at_ + i]) << (8 * i);
        }
        at_ += size;
        return value;
    }
    std::uint32_t number(std::string_view field, std::size_t size, int indent) {
        const std::size_t start = at_;
        const std::uint32_t value = take(field, size);
        if (!stopped()) {
            line(start, size, field, indent, std::to_string(value));
        }
        return value;
    }
    void line(std::size_t offset, std::size_t size, std::string_view field, int indent,
              const std::string& value) {
        std::string label(static_cast<std::size_t>(indent) * 2, ' ');
        label += field;
        label.resize(std::max<std::size_t>(label.size(), 30), ' ');
        out_ << hex(static_cast<std::uint32_t>(offset), 8) << "  " << hex(static_cast<std::uint32_t>(size), 4)
             << "  " << label << " " << value << "\n";
    }

    std::span<const std::uint8_t> image_;
    std::ostream& out_;
    std::size_t at_ = 0;
    std::string problem_;
};

struct Header {
    std::uint32_t applicationSize = 0;
    std::uint32_t nodes = 0, tags = 0, screens = 0, globalKeys = 0, alarms = 0, powerOnTasks = 0,
                  globalTasks = 0;
    std::uint32_t networkBytes = 0, tagBytes = 0, screenBytes = 0, globalKeyBytes = 0;
    std::uint32_t alarmBytes = 0, powerOnBytes = 0, globalTaskBytes = 0, loggerBytes = 0, readListBytes = 0;
    std::uint32_t pictureBytes = 0;
};

// The bytes a section actually took must be the bytes its count in the header promised; a difference
// means the walk has lost its way, and the rest would be noise.
bool agrees(Walker& w, std::string_view what, std::size_t start, std::uint32_t promised) {
    if (w.stopped()) {
        return false;
    }
    if (w.position() - start != promised) {
        w.stop(std::string(what) + " took " + std::to_string(w.position() - start) +
               " bytes where the header gives " + std::to_string(promised) + ".");
        return false;
    }
    return true;
}

// A tag named by node number, block index and position in the block (all zero: no tag).
void tagRef(Walker& w, int indent) {
    w.u8("tag node", indent);
    w.u16("tag block", indent);
    w.u8("tag index", indent);
}

void taskList(Walker& w, std::string_view name, std::uint32_t count, int indent) {
    for (std::uint32_t i = 0; i < count && !w.stopped(); ++i) {
        w.note(std::string(name) + " task " + std::to_string(i + 1));
        const std::uint32_t length = w.u8("length", indent);
        w.named("kind", 1, indent, &Vocabulary::taskKindName);
        w.u8("subKind", indent);
        // The length byte counts the bytes after itself.
        if (!w.stopped() && length < 2) {
            w.stop("A task record of " + std::to_string(length) + " bytes is shorter than its own head.");
            return;
        }
        w.rows("operands", length - 2, indent);
    }
}

void readList(Walker& w, std::uint32_t bytes, int indent) {
    const std::size_t start = w.position();
    while (!w.stopped() && w.position() - start < bytes) {
        w.u8("node", indent);
        const std::uint32_t count = w.u16("blocks read", indent);
        for (std::uint32_t i = 0; i < count && !w.stopped(); ++i) {
            w.u16("block index", indent + 1);
        }
    }
    agrees(w, "The read list", start, bytes);
}

void key(Walker& w, std::string_view owner, std::uint32_t index, int indent) {
    const std::size_t start = w.position();
    w.note(std::string(owner) + " key " + std::to_string(index + 1));
    const std::uint32_t entryLength = w.u32("entryLength", indent);
    w.u16("code", indent);
    w.u8("interrupt", indent);
    w.u16("password", indent);
    std::array<std::uint32_t, 3> counts{};
    for (std::size_t l = 0; l < 3; ++l) {
        counts[l] = w.u16(std::string(Vocabulary::kKeyLists[l]) + " tasks", indent);
    }
    std::array<std::uint32_t, 3> bytes{};
    for (std::size_t l = 0; l < 3; ++l) {
        bytes[l] = w.u16(std::string(Vocabulary::kKeyLists[l]) + " bytes", indent);
    }
    for (std::size_t l = 0; l < 3 && !w.stopped(); ++l) {
        const std::size_t listStart = w.position();
        taskList(w, Vocabulary::kKeyLists[l], counts[l], indent + 1);
        agrees(w, "A key's task list", listStart, bytes[l]);
    }
    agrees(w, "The key", start, entryLength + 4);
}

void object(Walker& w, std::uint32_t index) {
    const std::size_t start = w.position();
    w.note("object " + std::to_string(index + 1));
    const std::uint32_t length = w.u32("recordLength", 2);
    w.named("kind", 1, 2, &Vocabulary::objectKindName);
    w.u16("left", 2);
    w.u16("top", 2);
    w.u16("right", 2);
    w.u16("bottom", 2);
    w.u8("sequence", 2);
    w.u8("groupNext", 2);
    const std::size_t head = w.position() - start;
    if (!w.stopped() && length < head) {
        w.stop("An object record of " + std::to_string(length) + " bytes is shorter than its own head.");
        return;
    }
    w.rows("fields", length - head, 2);
}

void screen(Walker& w) {
    const std::size_t start = w.position();
    const std::uint32_t entryLength = w.u32("entryLength");
    w.u16("number");
    w.u16("password");
    const std::uint32_t objects = w.u8("objects");
    w.named("type", 1, 1, &Vocabulary::screenTypeName);
    const std::uint32_t keys = w.u16("keys");
    std::array<std::uint32_t, 3> counts{};
    for (std::size_t l = 0; l < 3; ++l) {
        counts[l] = w.u16(std::string(Vocabulary::kScreenLists[l]) + " tasks");
    }
    const std::uint32_t objectBytes = w.u32("objectBytes");
    w.u32("keyBytes");
    std::array<std::uint32_t, 3> bytes{};
    for (std::size_t l = 0; l < 3; ++l) {
        bytes[l] = w.u16(std::string(Vocabulary::kScreenLists[l]) + " bytes");
    }
    w.u8("reserved");
    const std::uint32_t readBytes = w.u16("readListBytes");
    const std::uint32_t associated = w.u8("associated screens");
    for (std::uint32_t i = 0; i < associated && !w.stopped(); ++i) {
        w.u16("associated screen");
    }
    w.note("read list");
    readList(w, readBytes, 2);
    const std::size_t objectStart = w.position();
    for (std::uint32_t i = 0; i < objects && !w.stopped(); ++i) {
        object(w, i);
    }
    agrees(w, "The screen's objects", objectStart, objectBytes);
    for (std::size_t l = 0; l < 3 && !w.stopped(); ++l) {
        const std::size_t listStart = w.position();
        taskList(w, Vocabulary::kScreenLists[l], counts[l], 2);
        agrees(w, "A screen's task list", listStart, bytes[l]);
    }
    for (std::uint32_t k = 0; k < keys && !w.stopped(); ++k) {
        key(w, "screen", k, 2);
    }
    // The entry length counts the bytes after itself.
    agrees(w, "The screen", start, entryLength + 4);
}

void network(Walker& w, const Header& h) {
    for (std::uint32_t n = 0; n < h.nodes && !w.stopped(); ++n) {
        w.note("node " + std::to_string(n + 1));
        w.u32("entryLength");
        w.named("kind", 1, 1, &Vocabulary::nodeKindName);
        w.u8("number");
        w.u8("plcId");
        w.u8("modelIndex");
        w.text("modelCode", 1);
        w.rows("specialData", 3);
        const std::uint32_t blocks = w.u16("blocks");
        for (std::uint32_t b = 0; b < blocks && !w.stopped(); ++b) {
            w.note("block " + std::to_string(b));
            w.u16("entryLength", 2);
            const std::uint32_t addressLength = w.u8("addressLength", 2);
            w.text("address", addressLength, 2);
            w.u8("registers", 2);
            const std::uint32_t tags = w.u8("tags", 2);
            w.u8("attribute", 2);
            for (std::uint32_t t = 0; t < tags && !w.stopped(); ++t) {
                w.note("tag " + std::to_string(t));
                const std::uint32_t length = w.u8("recordLength", 3);
                w.u8("attribute", 3);
                w.text("type", 1, 3);
                w.text("readWrite", 1, 3);
                w.u8("bit", 3);
                w.u8("bytes", 3);
                w.u8("byteSelect", 3);
                if (!w.stopped() && length < 6) {
                    w.stop("A tag record of " + std::to_string(length) +
                           " bytes is shorter than its own head.");
                    return;
                }
                w.text("address", length - 6, 3);
            }
        }
    }
}

} // namespace

bool ImageDump::write(std::span<const std::uint8_t> image, std::ostream& out, std::string& problem) {
    Walker w(image, out);
    out << "offset    size  field                          value\n";
    w.section("Header", OvmLayout::kHeaderBytes);
    Header h;
    h.applicationSize = w.u32("applicationSize");
    w.u16("model");
    h.nodes = w.u16("nodes");
    h.tags = w.u16("tags");
    h.screens = w.u16("screens");
    h.globalKeys = w.u16("globalKeys");
    h.alarms = w.u16("alarms");
    h.powerOnTasks = w.u16("powerOnTasks");
    h.globalTasks = w.u16("globalTasks");
    h.networkBytes = w.u32("networkBytes");
    h.tagBytes = w.u32("tagBytes");
    h.screenBytes = w.u32("screenBytes");
    h.globalKeyBytes = w.u32("globalKeyBytes");
    h.alarmBytes = w.u16("alarmBytes");
    h.powerOnBytes = w.u16("powerOnBytes");
    h.globalTaskBytes = w.u16("globalTaskBytes");
    h.loggerBytes = w.u16("loggerBytes");
    h.readListBytes = w.u16("globalReadListBytes");
    h.pictureBytes = w.u32("pictureBytes");

    w.section("Settings", OvmLayout::kSettingsBytes);
    // The password is not shown: a byte map is passed around to anyone helping with a unit.
    w.extent(w.anySet(OvmLayout::kPasswordBytes) ? "password (set)" : "password (none)",
             OvmLayout::kPasswordBytes);
    for (const std::string_view field :
         {"memoryOption", "touchScreen", "extendedKeypad", "keypadRows", "keypadColumns", "inputWords",
          "outputWords", "printerBaud", "printerBits", "printerParity", "printerColumns", "printerTerminator",
          "keypadQueueSize", "queueFullIgnore", "floatWordOrder"}) {
        w.u8(field);
    }
    w.u8("specialByte");
    w.rows("reserved", 30);
    w.u32("extensionOffset");
    w.rows("reserved", 6);

    std::size_t start = w.position();
    // The network bytes hold the tag records too; the tag bytes count them once more on their own.
    w.section("Network", h.networkBytes);
    network(w, h);
    agrees(w, "The network", start, h.networkBytes);

    w.section("Global read list", h.readListBytes);
    readList(w, h.readListBytes, 1);

    start = w.position();
    w.section("Power-on tasks", h.powerOnBytes);
    taskList(w, "power-on", h.powerOnTasks, 1);
    agrees(w, "The power-on list", start, h.powerOnBytes);

    start = w.position();
    w.section("Global tasks", h.globalTaskBytes);
    taskList(w, "global", h.globalTasks, 1);
    agrees(w, "The global list", start, h.globalTaskBytes);

    start = w.position();
    w.section("Global keys", h.globalKeyBytes);
    for (std::uint32_t k = 0; k < h.globalKeys && !w.stopped(); ++k) {
        key(w, "global", k, 1);
    }
    agrees(w, "The global keys", start, h.globalKeyBytes);

    start = w.position();
    w.section("Screens", h.screenBytes);
    for (std::uint32_t s = 0; s < h.screens && !w.stopped(); ++s) {
        w.note("screen " + std::to_string(s + 1));
        screen(w);
    }
    agrees(w, "The screens", start, h.screenBytes);

    if (h.alarms > 0) {
        start = w.position();
        w.section("Alarms", h.alarmBytes);
        w.u8("tagMode");
        const std::uint32_t groups = w.u8("groups");
        for (std::uint32_t g = 0; g < groups && !w.stopped(); ++g) {
            w.u8("group", 2);
            tagRef(w, 2);
        }
        for (std::uint32_t a = 0; a < h.alarms && !w.stopped(); ++a) {
            const std::uint32_t length = w.u8("length", 2);
            w.u8("alarm", 2);
            w.u8("options", 2);
            if (!w.stopped() && length < 2) {
                w.stop("An alarm record of " + std::to_string(length) +
                       " bytes is shorter than its own head.");
            }
            w.text("text", length - 2, 2);
        }
        agrees(w, "The alarms", start, h.alarmBytes);
    }

    w.section("Logger", OvmLayout::kLoggerBytes);
    w.rows("placeholder", OvmLayout::kLoggerBytes);

    if (!w.stopped() && w.position() + h.pictureBytes != h.applicationSize) {
        w.stop("The records end at offset " + std::to_string(w.position() + h.pictureBytes) +
               " where the header gives an application size of " + std::to_string(h.applicationSize) + ".");
    }
    w.section("Pictures", h.pictureBytes);
    w.extent("picture data", h.pictureBytes);

    w.section("Extension (names, prefixes, legends, logger settings)", w.remaining());
    if (w.remaining() >= OvmLayout::kExtensionMarker.size()) {
        w.rows("marker", OvmLayout::kExtensionMarker.size());
    }
    w.extent("records", w.remaining());
    if (w.stopped()) {
        problem = w.problem();
        return false;
    }
    out << "\n" << hex(static_cast<std::uint32_t>(image.size()), 8) << "  == End\n";
    return true;
}

} // namespace quillon::cli
