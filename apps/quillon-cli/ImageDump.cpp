#include "ImageDump.h"

#include "model/Application.h"
#include "model/EditValues.h"
#include "model/Screen.h"
#include "model/ScreenObject.h"
#include "model/Tag.h"
#include "model/Task.h"
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

// A tag as references show it: its name, address and node.
std::string describe(const Tag* tag) {
    if (tag == nullptr) {
        return "no tag";
    }
    const std::string& name = tag->name;
    return quoted(std::span(reinterpret_cast<const std::uint8_t*>(name.data()), name.size())) + " " +
           tag->displayAddress() + " (node " + std::to_string(tag->nodeNumber()) + ")";
}

// A cursor over the image that never reads past its end: a read that does not fit stops the walk, names
// the field and gives zeros from then on.
class Walker final {
public:
    Walker(std::span<const std::uint8_t> image, std::ostream& out, const ImageDump::Options& options)
        : image_(image), out_(out), options_(options) {}

    bool stopped() const noexcept { return !problem_.empty(); }
    const std::string& problem() const noexcept { return problem_; }
    std::size_t position() const noexcept { return at_; }
    std::size_t remaining() const noexcept { return image_.size() - at_; }
    const Application* application() const noexcept { return options_.application; }
    std::span<const std::uint8_t> from(std::size_t offset) const noexcept { return image_.subspan(offset); }

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
    // A line about what the bytes just shown mean, at the offset where they start.
    void meaning(std::size_t offset, std::string_view field, int indent, const std::string& value) {
        if (!stopped()) {
            line(offset, 0, field, indent, value);
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
    std::int32_t i32(std::string_view field, int indent = 1) {
        const std::size_t start = at_;
        const auto value = static_cast<std::int32_t>(take(field, 4));
        if (!stopped()) {
            line(start, 4, field, indent, std::to_string(value));
        }
        return value;
    }
    // A byte that holds a character code (a format type, a digit count).
    char character(std::string_view field, int indent = 1) {
        const std::size_t start = at_;
        const auto value = static_cast<std::uint8_t>(take(field, 1));
        if (!stopped()) {
            line(start, 1, field, indent, quoted(image_.subspan(start, 1)));
        }
        return static_cast<char>(value);
    }

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
    // A text preceded by its length in one byte (two with `wide`), shown as one line.
    void text8(std::string_view field, int indent = 1, bool wide = false) {
        const std::size_t lengthBytes = wide ? 2 : 1;
        const std::size_t start = at_;
        const std::uint32_t length = take(field, lengthBytes);
        if (!fits(field, length)) {
            return;
        }
        line(start, lengthBytes + length, field, indent, quoted(image_.subspan(at_, length)));
        at_ += length;
    }
    // A reference to a tag by node number, block index and position in the block, with the tag it names.
    void tagRef(std::string_view field, int indent) {
        const std::size_t start = at_;
        if (!fits(field, OvmLayout::kTagRefBytes)) {
            return;
        }
        const std::uint8_t node = image_[at_];
        const auto block = static_cast<std::uint16_t>(image_[at_ + 1] | (image_[at_ + 2] << 8));
        const std::uint8_t index = image_[at_ + 3];
        at_ += OvmLayout::kTagRefBytes;
        std::string shown = "node " + std::to_string(node) + ", block " + std::to_string(block) + ", index " +
                            std::to_string(index);
        if (application() != nullptr) {
            shown += " -> " + describe(application()->findTag(node, block, index));
        }
        line(start, OvmLayout::kTagRefBytes, field, indent, shown);
    }
    // Bytes that are not broken down further, sixteen to a row.
    void rows(std::string_view field, std::size_t size, int indent = 1) {
        if (!fits(field, size)) {
            return;
        }
        hexRows(field, at_, size, indent);
        at_ += size;
    }
    // With --raw, the bytes of a record from `start` to here as hex rows (the walk does not move).
    void raw(std::size_t start, int indent) {
        if (options_.raw && !stopped() && start < at_) {
            hexRows("raw", start, at_ - start, indent);
        }
    }
    // Many bytes shown as their extent only (picture data).
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

private:
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
    void hexRows(std::string_view field, std::size_t from, std::size_t size, int indent) {
        for (std::size_t done = 0; done < size; done += 16) {
            const std::size_t n = std::min<std::size_t>(16, size - done);
            std::string shown;
            for (std::size_t i = 0; i < n; ++i) {
                shown += (i == 0 ? "" : " ") + hex(image_[from + done + i], 2);
            }
            line(from + done, n, done == 0 ? field : std::string_view{}, indent, shown);
        }
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
    const ImageDump::Options& options_;
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

// What the walk learns on the way that later sections refer to.
struct Seen {
    std::vector<std::uint32_t> blocksPerNode;
    std::vector<std::string> tagAddresses; // in network order, as the names section lists the tags
    std::vector<std::uint32_t> screenNumbers;
};

// The bytes a section actually took must be the bytes its count in the header promised; a difference
// means the walk has lost its way, and the rest would be noise.
bool agrees(Walker& w, std::string_view what, std::size_t start, std::uint64_t promised) {
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

void taskList(Walker& w, std::string_view name, std::uint32_t count, int indent) {
    for (std::uint32_t i = 0; i < count && !w.stopped(); ++i) {
        w.note(std::string(name) + " task " + std::to_string(i + 1));
        const std::size_t start = w.position();
        const std::uint32_t length = w.u8("length", indent);
        w.named("kind", 1, indent, &Vocabulary::taskKindName);
        w.u8("subKind", indent);
        // The length byte counts the bytes after itself.
        if (!w.stopped() && length < 2) {
            w.stop("A task record of " + std::to_string(length) + " bytes is shorter than its own head.");
            return;
        }
        w.rows("operands", length - 2, indent);
        if (w.stopped() || w.application() == nullptr) {
            continue;
        }
        // The task as the task lists show it, with the tags it names.
        const Application& app = *w.application();
        const auto decoded =
            decodeTask(w.from(start), [&app](std::uint8_t node, std::uint16_t block, std::uint8_t index) {
                return app.findTag(node, block, index);
            });
        if (decoded) {
            w.meaning(start, "task", indent, taskText(decoded->task));
            if (decoded->task.tag1 != nullptr) {
                w.meaning(start, "tag1", indent, describe(decoded->task.tag1));
            }
            if (decoded->task.tag2 != nullptr) {
                w.meaning(start, "tag2", indent, describe(decoded->task.tag2));
            }
        }
        w.raw(start, indent);
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
    agrees(w, "The key", start, std::uint64_t{entryLength} + 4);
}

// A format of a register as data entries and displays keep it: type, digit count and decimals, the
// limits of an entry (signed for a signed type) or the blanking of leading zeros, and two operations.
void registerFormat(Walker& w, bool withLimits, int indent) {
    const char type = w.character("dataType", indent);
    w.character("digits", indent);
    w.character("decimals", indent);
    if (withLimits) {
        if (type == 'S') {
            w.i32("lowLimit", indent);
            w.i32("highLimit", indent);
        } else {
            w.u32("lowLimit", indent);
            w.u32("highLimit", indent);
        }
    } else {
        w.u8("leadingZerosBlank", indent);
    }
    w.u8("first operation", indent);
    w.i32("first operand", indent);
    w.u8("second operation", indent);
    w.i32("second operand", indent);
}

void filling(Walker& w, int indent) {
    if (w.u8("filling", indent) != 0) {
        w.u8("minPercent", indent);
        w.u8("maxPercent", indent);
        w.u8("direction", indent);
    }
}

void points(Walker& w, std::uint32_t count, int indent) {
    for (std::uint32_t i = 0; i < count && !w.stopped(); ++i) {
        w.u16("x", indent);
        w.u16("y", indent);
    }
}

// An object's tag code (a reference the unit resolves through the screen's read list), with the tag the
// reader found behind it.
void objectTag(Walker& w, std::string_view field, const Tag* resolved, int indent) {
    const std::size_t start = w.position();
    w.rows(std::string(field) + " code", 4, indent);
    if (w.application() != nullptr) {
        w.meaning(start, field, indent, describe(resolved));
    }
}

void object(Walker& w, std::uint32_t index, const ScreenObject* model) {
    const std::size_t start = w.position();
    w.note("object " + std::to_string(index + 1));
    const int in = 2;
    const std::uint32_t length = w.u32("recordLength", in);
    const std::uint32_t kind = w.named("kind", 1, in, &Vocabulary::objectKindName);
    w.u16("left", in);
    w.u16("top", in);
    w.u16("right", in);
    w.u16("bottom", in);
    w.u8("sequence", in);
    w.u8("groupNext", in);
    w.u8("font", in);
    w.u8("colourA", in);
    w.u8("colourB", in);
    w.u8("flash", in);
    w.u8("zLevel", in);
    w.u8("border", in);
    const std::uint32_t animation = w.u8("animation", in);
    if (!w.stopped() && length < w.position() - start) {
        w.stop("An object record of " + std::to_string(length) + " bytes is shorter than its own head.");
        return;
    }
    if ((animation & ScreenObject::kAnimateShowHide) != 0) {
        objectTag(w, "showHide tag", model != nullptr && model->showHide() ? model->showHide()->tag : nullptr,
                  in);
        w.u8("showHide when", in);
        w.u16("showHide low", in);
        w.u16("showHide high", in);
    }
    if ((animation & ScreenObject::kAnimateFlash) != 0) {
        objectTag(w, "flash tag",
                  model != nullptr && model->flashAnimation() ? model->flashAnimation()->tag : nullptr, in);
        w.u8("flash when", in);
        w.u16("flash low", in);
        w.u16("flash high", in);
        w.u8("flash option", in);
    }
    objectTag(w, "tag", model != nullptr ? model->tag() : nullptr, in);
    switch (static_cast<ObjectKind>(kind)) {
    case ObjectKind::Bitmap:
        w.u32("pictureOffset", in);
        break;
    case ObjectKind::Text:
        w.text8("text", in);
        break;
    case ObjectKind::DataEntryCoil:
    case ObjectKind::DisplayCoil:
        w.text8("offText", in);
        w.text8("onText", in);
        break;
    case ObjectKind::DataEntryRegister:
        registerFormat(w, true, in);
        break;
    case ObjectKind::DisplayRegister:
        registerFormat(w, false, in);
        break;
    case ObjectKind::DisplayRegisterText: {
        const std::uint32_t count = w.u8("ranges", in);
        for (std::uint32_t r = 0; r < count && !w.stopped(); ++r) {
            const std::uint32_t rangeLength = w.u8("range length", in + 1);
            w.i32("from", in + 1);
            w.i32("to", in + 1);
            if (!w.stopped() && rangeLength < 8) {
                w.stop("A text range of " + std::to_string(rangeLength) +
                       " bytes is shorter than its own head.");
                return;
            }
            w.text("text", rangeLength - 8, in + 1);
        }
        break;
    }
    case ObjectKind::Time:
    case ObjectKind::Date:
        w.u8("format", in);
        break;
    case ObjectKind::Error:
        break;
    case ObjectKind::Rectangle:
    case ObjectKind::Ellipse:
    case ObjectKind::RoundRectangle:
        filling(w, in);
        break;
    case ObjectKind::Polyline:
        points(w, w.u8("points", in), in + 1);
        break;
    case ObjectKind::Polygon: {
        const std::uint32_t count = w.u8("points", in);
        filling(w, in);
        points(w, count, in + 1);
        break;
    }
    case ObjectKind::AlarmWindow: {
        w.u8("windowOption", in);
        const std::uint32_t headers = w.u8("showHeaders", in);
        w.u8("secondWindowOption", in);
        const std::uint32_t columns = w.u8("columns", in);
        for (std::uint32_t c = 0; c < columns && !w.stopped(); ++c) {
            w.u8("column type", in + 1);
            if (headers != 0) {
                w.text8("header", in + 1);
            }
            w.u8("option", in + 1);
        }
        break;
    }
    case ObjectKind::TouchArea: {
        std::array<std::uint32_t, 3> counts{};
        for (std::size_t l = 0; l < 3; ++l) {
            counts[l] = w.u16(std::string(Vocabulary::kKeyLists[l]) + " tasks", in);
        }
        std::array<std::uint32_t, 3> bytes{};
        for (std::size_t l = 0; l < 3; ++l) {
            bytes[l] = w.u16(std::string(Vocabulary::kKeyLists[l]) + " bytes", in);
        }
        for (std::size_t l = 0; l < 3 && !w.stopped(); ++l) {
            const std::size_t listStart = w.position();
            taskList(w, Vocabulary::kKeyLists[l], counts[l], in + 1);
            agrees(w, "A touch area's task list", listStart, bytes[l]);
        }
        break;
    }
    case ObjectKind::OldBargraph:
        w.u8("direction", in);
        w.u8("minimum", in);
        w.u8("maximum", in);
        break;
    case ObjectKind::Bargraph:
        w.u8("direction", in);
        w.u16("minimum", in);
        w.u16("maximum", in);
        break;
    default:
        // A kind no unit knows: its fields are shown as they stand.
        if (!w.stopped() && length >= w.position() - start) {
            w.rows("fields", length - (w.position() - start), in);
        }
        break;
    }
    if (!w.stopped() && w.position() - start != length) {
        w.stop("An object record took " + std::to_string(w.position() - start) +
               " bytes where its length gives " + std::to_string(length) + ".");
    }
    w.raw(start, in);
}

void screen(Walker& w, Seen& seen) {
    const std::size_t start = w.position();
    const std::uint32_t entryLength = w.u32("entryLength");
    const std::uint32_t number = w.u16("number");
    seen.screenNumbers.push_back(number);
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
    // The reader keeps the objects in the order of their records.
    const Screen* model = w.application() != nullptr ? w.application()->findScreen(number) : nullptr;
    const std::size_t objectStart = w.position();
    for (std::uint32_t i = 0; i < objects && !w.stopped(); ++i) {
        const ScreenObject* shown =
            model != nullptr && i < model->objects().size() ? model->objects()[i].get() : nullptr;
        object(w, i, shown);
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
    agrees(w, "The screen", start, std::uint64_t{entryLength} + 4);
}

void network(Walker& w, const Header& h, Seen& seen) {
    for (std::uint32_t n = 0; n < h.nodes && !w.stopped(); ++n) {
        w.note("node " + std::to_string(n + 1));
        w.u32("entryLength");
        w.named("kind", 1, 1, &Vocabulary::nodeKindName);
        const std::uint32_t number = w.u8("number");
        w.u8("plcId");
        w.u8("modelIndex");
        w.text("modelCode", 1);
        w.rows("specialData", 3);
        const std::uint32_t blocks = w.u16("blocks");
        seen.blocksPerNode.push_back(blocks);
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
                const std::size_t start = w.position();
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
                const auto address = w.text("address", length - 6, 3);
                std::string shown =
                    "node " + std::to_string(number) + " " +
                    std::string(reinterpret_cast<const char*>(address.data()), address.size());
                if (const Application* app = w.application()) {
                    if (const Tag* tag = app->findTag(number, b, t)) {
                        w.meaning(start, "tag", 3, describe(tag));
                    }
                }
                seen.tagAddresses.push_back(std::move(shown));
                w.raw(start, 3);
            }
        }
    }
}

// Whether the bytes from here hold a whole logger record of a version the reader knows.
bool loggerRecordFits(std::span<const std::uint8_t> next) {
    // Key, type, version, eight settings, the page header's length.
    std::size_t needed = 3 + 8 + 1;
    if (next.size() < needed) {
        return false;
    }
    const std::uint8_t version = next[2];
    if (version != OvmLayout::kLoggerRecordVersion &&
        version != OvmLayout::kLoggerRecordVersionWithoutRegister) {
        return false;
    }
    // The page header's text, the second option, the separator and the count of logged tags.
    needed += next[needed - 1] + 1 + 1 + 2;
    if (next.size() < needed) {
        return false;
    }
    const std::size_t count = next[needed - 2] | (next[needed - 1] << 8);
    needed += count * OvmLayout::kTagRefBytes;
    if (version == OvmLayout::kLoggerRecordVersion) {
        needed += 1;
        if (next.size() < needed || next[needed - 1] > 1) {
            return false;
        }
        needed += next[needed - 1] == 1 ? OvmLayout::kTagRefBytes : 0;
    }
    return next.size() >= needed;
}

// The logger settings after the key legends: the record that follows the names.
void logger(Walker& w) {
    const std::size_t start = w.position();
    w.note("logger settings");
    w.u8("record key", 2);
    w.u8("record type", 2);
    const std::uint32_t version = w.u8("version", 2);
    for (const std::string_view field : {"memorySize", "frequency", "frequencyUnit", "whenFull",
                                         "startAtPowerUp", "useStartTime", "useStopTime", "option"}) {
        w.u8(field, 2);
    }
    w.text8("pageHeader", 2);
    w.u8("option2", 2);
    w.text("separator", 1, 2);
    const std::uint32_t count = w.u16("tags", 2);
    for (std::uint32_t i = 0; i < count && !w.stopped(); ++i) {
        w.tagRef("logged tag", 3);
    }
    if (version == OvmLayout::kLoggerRecordVersion && !w.stopped()) {
        if (w.u8("headerRegister", 2) == 1) {
            w.tagRef("header register", 3);
        }
    }
    w.raw(start, 2);
}

// The extension section: when the application was last edited, its title, author and description, the
// names of nodes, blocks, tags and screens in network and screen order, the global keys' legends and the
// logger settings. A section that ends early is what older files hold, not damage: what is there is shown.
void extension(Walker& w, const Seen& seen) {
    if (w.remaining() < OvmLayout::kExtensionMarker.size() ||
        !std::equal(OvmLayout::kExtensionMarker.begin(), OvmLayout::kExtensionMarker.end(),
                    w.from(w.position()).begin())) {
        w.rows("bytes after the pictures", w.remaining());
        return;
    }
    w.rows("marker", OvmLayout::kExtensionMarker.size());
    const auto complete = [&w](std::size_t bytes) { return w.remaining() >= bytes; };
    // A text field that the rest of the section does not hold ends the walk of the section quietly.
    const auto textFits = [&w](bool wide) {
        const std::size_t head = wide ? 2 : 1;
        if (w.remaining() < head) {
            return false;
        }
        const auto next = w.from(w.position());
        const std::size_t length = wide ? next[0] | (next[1] << 8) : next[0];
        return w.remaining() >= head + length;
    };
    if (!complete(7)) {
        w.rows("rest", w.remaining());
        return;
    }
    w.u16("lastEdited year");
    for (const std::string_view field : {"month", "day", "hour", "minute", "second"}) {
        w.u8(field);
    }
    const auto names = [&](std::string_view field, int indent, bool wide = false) {
        if (!textFits(wide)) {
            return false;
        }
        w.text8(field, indent, wide);
        return true;
    };
    if (!names("title", 1) || !names("author", 1) || !names("description", 1, true)) {
        w.rows("rest", w.remaining());
        return;
    }
    w.note("names of nodes and blocks");
    for (std::size_t n = 0; n < seen.blocksPerNode.size(); ++n) {
        if (!names("node " + std::to_string(n + 1) + " name", 2)) {
            w.rows("rest", w.remaining());
            return;
        }
        for (std::uint32_t b = 0; b < seen.blocksPerNode[n]; ++b) {
            if (!names("block " + std::to_string(b) + " prefix", 3) ||
                !names("block " + std::to_string(b) + " name", 3)) {
                w.rows("rest", w.remaining());
                return;
            }
        }
    }
    w.note("names of tags");
    for (const std::string& address : seen.tagAddresses) {
        if (!names(address + " prefix", 2) || !names(address + " name", 2)) {
            w.rows("rest", w.remaining());
            return;
        }
    }
    w.note("names of screens");
    for (const std::uint32_t number : seen.screenNumbers) {
        if (!names("screen " + std::to_string(number) + " name", 2) ||
            !names("screen " + std::to_string(number) + " description", 2)) {
            w.rows("rest", w.remaining());
            return;
        }
    }
    while (!w.stopped() && w.remaining() >= 2) {
        const auto next = w.from(w.position());
        if (next[0] == OvmLayout::kLoggerRecordKey && next[1] == OvmLayout::kLoggerRecordType) {
            // A logger record the reader does not take (cut short, of another version) is left as it is.
            if (loggerRecordFits(next)) {
                logger(w);
            }
            break;
        }
        if (next[1] != 1 && next[1] != 2) {
            break;
        }
        w.note("legend of global key " + std::to_string(next[0]));
        w.u8("key", 2);
        const std::uint32_t type = w.u8("type", 2);
        if (type == 1) {
            if (!names("line1", 2) || !names("line2", 2)) {
                break;
            }
        } else if (!names("bitmapName", 2)) {
            break;
        }
    }
    if (!w.stopped() && w.remaining() > 0) {
        w.rows("rest", w.remaining());
    }
}

} // namespace

bool ImageDump::write(std::span<const std::uint8_t> image, std::ostream& out, std::string& problem,
                      const Options& options) {
    Walker w(image, out, options);
    Seen seen;
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
    network(w, h, seen);
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
        screen(w, seen);
    }
    agrees(w, "The screens", start, h.screenBytes);

    if (h.alarms > 0) {
        start = w.position();
        w.section("Alarms", h.alarmBytes);
        w.u8("tagMode");
        const std::uint32_t groups = w.u8("groups");
        for (std::uint32_t g = 0; g < groups && !w.stopped(); ++g) {
            w.u8("group", 2);
            w.tagRef("group tag", 2);
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

    // The unit's own logger record is a fixed placeholder; the settings are in the extension section.
    w.section("Logger", OvmLayout::kLoggerBytes);
    w.rows("placeholder", OvmLayout::kLoggerBytes);

    if (!w.stopped() && w.position() + h.pictureBytes != h.applicationSize) {
        w.stop("The records end at offset " + std::to_string(w.position() + h.pictureBytes) +
               " where the header gives an application size of " + std::to_string(h.applicationSize) + ".");
    }
    w.section("Pictures", h.pictureBytes);
    w.extent("picture data", h.pictureBytes);

    w.section("Extension (names, prefixes, legends, logger settings)", w.remaining());
    if (!w.stopped()) {
        extension(w, seen);
    }
    if (w.stopped()) {
        problem = w.problem();
        return false;
    }
    out << "\n" << hex(static_cast<std::uint32_t>(image.size()), 8) << "  == End\n";
    return true;
}

} // namespace quillon::cli
