#include "persist/TextFormWriter.h"

#include "model/AlarmTable.h"
#include "model/AlarmWindowObject.h"
#include "model/Application.h"
#include "model/BargraphObject.h"
#include "model/BitTextObject.h"
#include "model/BitmapObject.h"
#include "model/Block.h"
#include "model/DataEntryRegisterObject.h"
#include "model/DateObject.h"
#include "model/DisplayRegisterObject.h"
#include "model/DisplayRegisterTextObject.h"
#include "model/FilledShapeObject.h"
#include "model/KeyDefinition.h"
#include "model/Node.h"
#include "model/PolygonObject.h"
#include "model/PolylineObject.h"
#include "model/Screen.h"
#include "model/Tag.h"
#include "model/Task.h"
#include "model/TextObject.h"
#include "model/TimeObject.h"
#include "persist/PictureLibrary.h"
#include "persist/TextFormVocabulary.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cstdio>
#include <map>
#include <new>
#include <nlohmann/json.hpp>

namespace quillon {
namespace {

using Json = nlohmann::ordered_json;
using Vocabulary = TextFormVocabulary;

// The format type of signed integers, whose limits are signed numbers.
constexpr char kSignedType = 'S';

// A record short enough to read at a glance stays on one line: tag references, points, most tasks.
constexpr std::size_t kInlineWidth = 120;

std::string text(std::string_view bytes) {
    return Vocabulary::bytesToUtf8(bytes);
}

bool hasArray(const Json& value) {
    for (const auto& item : value) {
        if (item.is_array() || (item.is_object() && hasArray(item))) {
            return true;
        }
    }
    return false;
}

// Scalars as the JSON library writes them (no escapes beyond the required ones, UTF-8 kept as it is); texts
// of plain printable ASCII, nearly all of them, skip the library's serializer.
void appendString(std::string_view s, std::string& out) {
    const bool plain = std::all_of(s.begin(), s.end(), [](char c) {
        const auto u = static_cast<unsigned char>(c);
        return u >= 0x20 && u < 0x7F && c != '"' && c != '\\';
    });
    if (plain) {
        out.push_back('"');
        out.append(s);
        out.push_back('"');
        return;
    }
    out += Json(std::string(s)).dump(-1, ' ', false, Json::error_handler_t::strict);
}

template <typename Number>
void appendNumber(Number n, std::string& out) {
    std::array<char, 24> digits{};
    const auto end = std::to_chars(digits.data(), digits.data() + digits.size(), n).ptr;
    out.append(digits.data(), end);
}

void appendScalar(const Json& value, std::string& out) {
    switch (value.type()) {
    case Json::value_t::null:
        out += "null";
        return;
    case Json::value_t::boolean:
        out += value.get<bool>() ? "true" : "false";
        return;
    case Json::value_t::number_unsigned:
        appendNumber(value.get<std::uint64_t>(), out);
        return;
    case Json::value_t::number_integer:
        appendNumber(value.get<std::int64_t>(), out);
        return;
    case Json::value_t::string:
        appendString(value.get_ref<const std::string&>(), out);
        return;
    default:
        out += value.dump(-1, ' ', false, Json::error_handler_t::strict);
        return;
    }
}

// Appends the one-line form; gives up (false) as soon as the text would pass `limit` bytes of `out`.
bool appendInline(const Json& value, std::string& out, std::size_t limit) {
    if (value.is_object()) {
        if (value.empty()) {
            out += "{}";
            return out.size() <= limit;
        }
        out.push_back('{');
        bool first = true;
        for (const auto& [key, item] : value.items()) {
            out += first ? "" : ", ";
            appendString(key, out);
            out += ": ";
            if (out.size() > limit || !appendInline(item, out, limit)) {
                return false;
            }
            first = false;
        }
        out.push_back('}');
        return out.size() <= limit;
    }
    if (value.is_array()) {
        if (value.empty()) {
            out += "[]";
            return out.size() <= limit;
        }
        out.push_back('[');
        bool first = true;
        for (const auto& item : value) {
            out += first ? "" : ", ";
            if (out.size() > limit || !appendInline(item, out, limit)) {
                return false;
            }
            first = false;
        }
        out.push_back(']');
        return out.size() <= limit;
    }
    appendScalar(value, out);
    return out.size() <= limit;
}

void appendIndent(std::size_t indent, std::string& out) {
    out.append(indent, ' ');
}

// Pretty printing with one rule added to the usual two-space layout: a container without nested arrays
// whose one-line form is short is written on one line, so that a record is one line of a diff.
void emit(const Json& value, std::size_t indent, std::string& out) {
    if (!value.is_structured() || value.empty()) {
        appendInline(value, out, std::string::npos);
        return;
    }
    const bool rowOfScalars = value.is_array() && std::all_of(value.begin(), value.end(), [](const Json& v) {
                                  return !v.is_structured();
                              });
    if ((!hasArray(value) || rowOfScalars) && indent <= kInlineWidth) {
        const std::size_t start = out.size();
        if (appendInline(value, out, start + (kInlineWidth - indent))) {
            return;
        }
        out.resize(start);
    }
    out += value.is_object() ? "{\n" : "[\n";
    bool first = true;
    if (value.is_object()) {
        for (const auto& [key, item] : value.items()) {
            out += first ? "" : ",\n";
            appendIndent(indent + 2, out);
            appendString(key, out);
            out += ": ";
            emit(item, indent + 2, out);
            first = false;
        }
    } else {
        for (const auto& item : value) {
            out += first ? "" : ",\n";
            appendIndent(indent + 2, out);
            emit(item, indent + 2, out);
            first = false;
        }
    }
    out.push_back('\n');
    appendIndent(indent, out);
    out.push_back(value.is_object() ? '}' : ']');
}

class DocumentWriter final {
public:
    DocumentWriter(const Application& app, const PictureLibrary* pictures) : app_(app), pictures_(pictures) {}

    // Writes the document record by record: a block of tags or a screen at a time is held as JSON, never
    // the whole document, and the text goes to the sink (if any) in pieces.
    Status run(std::string& out, const TextFormWriter::Sink* sink);

private:
    Json tagRef(const Tag* tag) const;
    Json task(const Task& task) const;
    Json taskList(const TaskList& list) const;
    Json key(const KeyDefinition& key, bool global) const;
    Json animation(const std::optional<RangeAnimation>& animation, bool withOption) const;
    Json format(const RegisterFormat& format) const;
    Json filling(const std::optional<PercentFilling>& filling) const;
    Json points(const std::vector<ObjectPoint>& points) const;
    Result<Json> object(const ScreenObject& object);
    Result<Json> screen(const Screen& screen);
    Json network() const;
    Json alarms() const;
    Json logger() const;
    Result<Json> pictures() const;

    const Application& app_;
    Json node(const Node& node) const;
    Json block(const Block& block) const;
    Status numberPictures();

    const PictureLibrary* pictures_;
    // Library picture number -> number in the document (1, 2 ... in library order, as the image holds them).
    std::map<std::uint32_t, std::uint32_t> pictureNumbers_;
};

Json DocumentWriter::tagRef(const Tag* tag) const {
    if (tag == nullptr) {
        return nullptr;
    }
    Json ref = Json::object();
    ref["node"] = tag->nodeNumber();
    ref["address"] = text(tag->address());
    const char type = tag->type();
    if (type == tag_type::kRegisterBit) {
        ref["bit"] = tag->bit;
    } else if (type == tag_type::kRegister) {
        ref["bytes"] = tag->size;
    } else if (type != tag_type::kCoil) {
        ref["type"] = Vocabulary::tagTypeName(type);
    }
    if (tag->byteSelect != 0) {
        ref["byteSelect"] = tag->byteSelect;
    }
    // Tags equal in all of the above are told apart by their order.
    std::size_t earlier = 0;
    for (const Tag* other : tag->block()->tags()) {
        if (other == tag) {
            break;
        }
        if (other->address() == tag->address() && other->type() == type && other->bit == tag->bit &&
            other->size == tag->size && other->byteSelect == tag->byteSelect) {
            ++earlier;
        }
    }
    if (earlier != 0) {
        ref["nth"] = earlier + 1;
    }
    return ref;
}

Json DocumentWriter::task(const Task& t) const {
    Json j = Json::object();
    const auto kind = static_cast<std::uint8_t>(t.kind);
    const std::string_view name = Vocabulary::taskKindName(kind);
    if (name.empty()) {
        j["kind"] = kind;
    } else {
        j["kind"] = name;
    }
    j["subKind"] = t.subKind;
    j["parameter"] = t.parameter;
    j["value"] = t.value;
    j["valueFormat"] = t.valueFormat;
    j["tag1"] = tagRef(t.tag1);
    j["tag2"] = tagRef(t.tag2);
    return j;
}

Json DocumentWriter::taskList(const TaskList& list) const {
    Json tasks = Json::array();
    for (const auto& t : list.tasks()) {
        tasks.push_back(task(*t));
    }
    return tasks;
}

Json DocumentWriter::key(const KeyDefinition& k, bool global) const {
    Json j = Json::object();
    j["key"] = k.firstKey();
    j["secondKey"] = k.secondKey();
    j["interrupt"] = k.interrupt;
    j["password"] = k.password;
    if (global) {
        if (k.legend) {
            j["legend"] = Json{{"type", k.legend->type},
                               {"line1", text(k.legend->line1)},
                               {"line2", text(k.legend->line2)},
                               {"bitmapName", text(k.legend->bitmapName)}};
        } else {
            j["legend"] = nullptr;
        }
    }
    Json lists = Json::object();
    for (std::size_t l = 0; l < 3; ++l) {
        lists[std::string(Vocabulary::kKeyLists[l])] = taskList(k.taskList(l));
    }
    j["tasks"] = std::move(lists);
    return j;
}

Json DocumentWriter::animation(const std::optional<RangeAnimation>& a, bool withOption) const {
    if (!a) {
        return nullptr;
    }
    Json j = Json::object();
    j["tag"] = tagRef(a->tag);
    j["when"] = a->when;
    j["low"] = a->low;
    j["high"] = a->high;
    if (withOption) {
        j["option"] = a->option;
    }
    return j;
}

Json DocumentWriter::format(const RegisterFormat& f) const {
    Json j = Json::object();
    j["dataType"] = text(std::string(1, f.dataType));
    j["code"] = text(std::string(f.code.begin(), f.code.end()));
    j["first"] = Json{{"operation", f.first.code}, {"operand", f.first.operand}};
    j["second"] = Json{{"operation", f.second.code}, {"operand", f.second.operand}};
    return j;
}

Json DocumentWriter::filling(const std::optional<PercentFilling>& f) const {
    if (!f) {
        return nullptr;
    }
    return Json{{"minPercent", f->minPercent}, {"maxPercent", f->maxPercent}, {"direction", f->direction}};
}

Json DocumentWriter::points(const std::vector<ObjectPoint>& list) const {
    Json j = Json::array();
    for (const ObjectPoint& p : list) {
        j.push_back(Json::array({p.x, p.y}));
    }
    return j;
}

Result<Json> DocumentWriter::object(const ScreenObject& o) {
    Json j = Json::object();
    std::uint8_t code = static_cast<std::uint8_t>(o.kind());
    if (o.kind() == ObjectKind::Bargraph && static_cast<const BargraphObject&>(o).fromOldFormat()) {
        code = static_cast<std::uint8_t>(ObjectKind::OldBargraph);
    }
    j["kind"] = Vocabulary::objectKindName(code);
    j["left"] = o.left;
    j["top"] = o.top;
    j["right"] = o.right;
    j["bottom"] = o.bottom;
    j["font"] = o.font;
    j["colourA"] = o.colourA;
    j["colourB"] = o.colourB;
    j["flash"] = o.flash;
    j["zLevel"] = o.zLevel;
    j["border"] = o.border;
    j["showHide"] = animation(o.showHide(), false);
    j["flashAnimation"] = animation(o.flashAnimation(), true);
    j["tag"] = tagRef(o.tag());
    switch (o.kind()) {
    case ObjectKind::Bitmap: {
        const auto found = pictureNumbers_.find(static_cast<const BitmapObject&>(o).pictureId());
        if (found != pictureNumbers_.end()) {
            j["picture"] = found->second;
        } else {
            j["picture"] = nullptr;
        }
        break;
    }
    case ObjectKind::Text:
        j["text"] = text(static_cast<const TextObject&>(o).text());
        break;
    case ObjectKind::DataEntryCoil:
    case ObjectKind::DisplayCoil: {
        const auto& b = static_cast<const BitTextObject&>(o);
        j["offText"] = text(b.offText());
        j["onText"] = text(b.onText());
        break;
    }
    case ObjectKind::DataEntryRegister: {
        const auto& d = static_cast<const DataEntryRegisterObject&>(o);
        j["format"] = format(d.format);
        // A signed entry's limits are written as the signed numbers the user typed (-100, not 4294967196).
        if (d.format.dataType == kSignedType) {
            j["lowLimit"] = static_cast<std::int32_t>(d.lowLimit);
            j["highLimit"] = static_cast<std::int32_t>(d.highLimit);
        } else {
            j["lowLimit"] = d.lowLimit;
            j["highLimit"] = d.highLimit;
        }
        break;
    }
    case ObjectKind::DisplayRegister: {
        const auto& d = static_cast<const DisplayRegisterObject&>(o);
        j["format"] = format(d.format);
        j["leadingZerosBlank"] = d.leadingZerosBlank;
        break;
    }
    case ObjectKind::DisplayRegisterText: {
        Json ranges = Json::array();
        for (const RegisterTextRange& r : static_cast<const DisplayRegisterTextObject&>(o).ranges()) {
            ranges.push_back(Json{{"from", r.from}, {"to", r.to}, {"text", text(r.text)}});
        }
        j["ranges"] = std::move(ranges);
        break;
    }
    case ObjectKind::Time:
        j["format"] = static_cast<const TimeObject&>(o).format;
        break;
    case ObjectKind::Date:
        j["format"] = static_cast<const DateObject&>(o).format;
        break;
    case ObjectKind::Rectangle:
    case ObjectKind::Ellipse:
    case ObjectKind::RoundRectangle:
        j["filling"] = filling(static_cast<const FilledShapeObject&>(o).filling());
        break;
    case ObjectKind::Polyline:
        j["points"] = points(static_cast<const PolylineObject&>(o).points());
        break;
    case ObjectKind::Polygon: {
        const auto& p = static_cast<const PolygonObject&>(o);
        j["filling"] = filling(p.filling());
        j["points"] = points(p.points());
        break;
    }
    case ObjectKind::AlarmWindow: {
        const AlarmWindowOptions& w = static_cast<const AlarmWindowObject&>(o).options();
        Json columns = Json::array();
        for (const AlarmColumn& c : w.columns) {
            columns.push_back(Json{{"type", c.type}, {"header", text(c.header)}, {"option", c.option}});
        }
        j["windowOption"] = w.windowOption;
        j["showHeaders"] = w.showHeaders;
        j["secondWindowOption"] = w.secondWindowOption;
        j["columns"] = std::move(columns);
        break;
    }
    case ObjectKind::TouchArea: {
        const TaskListOwner& owner = *o.taskOwner();
        Json lists = Json::object();
        for (std::size_t l = 0; l < 3; ++l) {
            lists[std::string(Vocabulary::kKeyLists[l])] = taskList(owner.taskList(l));
        }
        j["tasks"] = std::move(lists);
        break;
    }
    case ObjectKind::OldBargraph:
    case ObjectKind::Bargraph: {
        const auto& b = static_cast<const BargraphObject&>(o);
        j["direction"] = b.direction;
        j["minimum"] = b.minimum;
        j["maximum"] = b.maximum;
        break;
    }
    case ObjectKind::Error:
        break;
    }
    return j;
}

Result<Json> DocumentWriter::screen(const Screen& s) {
    Json j = Json::object();
    j["number"] = s.number();
    j["name"] = text(s.name);
    j["description"] = text(s.description);
    j["password"] = s.password;
    j["type"] = Vocabulary::screenTypeName(static_cast<std::uint8_t>(s.type));
    if (s.associated()) {
        j["associated"] = *s.associated();
    } else {
        j["associated"] = nullptr;
    }
    Json objects = Json::array();
    std::map<const ScreenObject*, std::size_t> positions;
    for (const auto& o : s.objects()) {
        auto made = object(*o);
        if (!made) {
            return made.failure();
        }
        positions.emplace(o.get(), positions.size() + 1);
        objects.push_back(std::move(*made));
    }
    j["objects"] = std::move(objects);
    // Each group ring once, from its first object in the list, in ring order.
    Json groups = Json::array();
    std::map<const ScreenObject*, bool> listed;
    for (const auto& o : s.objects()) {
        if (o->groupNext() == nullptr || listed[o.get()]) {
            continue;
        }
        Json ring = Json::array();
        const ScreenObject* at = o.get();
        do {
            listed[at] = true;
            ring.push_back(positions[at]);
            at = at->groupNext();
        } while (at != nullptr && at != o.get() && !listed[at]);
        groups.push_back(std::move(ring));
    }
    j["groups"] = std::move(groups);
    Json lists = Json::object();
    for (std::size_t l = 0; l < 3; ++l) {
        lists[std::string(Vocabulary::kScreenLists[l])] = taskList(s.taskList(l));
    }
    j["tasks"] = std::move(lists);
    Json keys = Json::array();
    for (const auto& k : s.keys()) {
        keys.push_back(key(*k, false));
    }
    j["keys"] = std::move(keys);
    return j;
}

// A node without its blocks, which are written one by one.
Json DocumentWriter::node(const Node& node) const {
    Json n = Json::object();
    n["number"] = node.number();
    n["kind"] = Vocabulary::nodeKindName(static_cast<std::uint8_t>(node.kind()));
    n["name"] = text(node.name);
    n["plcId"] = node.plcId;
    n["modelIndex"] = node.modelIndex;
    n["modelCode"] = text(std::string(1, node.modelCode));
    const auto special = node.specialData();
    n["specialData"] = Json::array({special[0], special[1], special[2]});
    return n;
}

Json DocumentWriter::block(const Block& block) const {
    Json b = Json::object();
    b["address"] = text(block.address());
    b["size"] = block.size;
    b["attribute"] = block.attribute;
    b["name"] = text(block.name);
    b["prefix"] = text(block.prefix);
    Json tags = Json::array();
    for (const Tag* tag : block.tags()) {
        Json t = Json::object();
        t["address"] = text(tag->address());
        t["type"] = Vocabulary::tagTypeName(tag->type());
        t["readWrite"] = Vocabulary::readWriteName(tag->readWrite);
        t["bit"] = tag->bit;
        t["bytes"] = tag->size;
        t["byteSelect"] = tag->byteSelect;
        t["attribute"] = tag->attribute;
        t["name"] = text(tag->name);
        t["prefix"] = text(tag->prefix);
        tags.push_back(std::move(t));
    }
    b["tags"] = std::move(tags);
    return b;
}

Json DocumentWriter::alarms() const {
    const AlarmTable* table = app_.alarmsIfAny();
    // The image leaves the alarm section out while no alarm has a text, and so does the text form.
    if (table == nullptr || table->textCount() == 0) {
        return nullptr;
    }
    Json j = Json::object();
    j["tagMode"] = table->tagMode();
    Json groups = Json::array();
    for (std::size_t g = 0; g < AlarmTable::kGroups; ++g) {
        if (table->groupTag(g) != nullptr) {
            groups.push_back(Json{{"group", g}, {"tag", tagRef(table->groupTag(g))}});
        }
    }
    j["groups"] = std::move(groups);
    Json texts = Json::array();
    for (std::size_t a = 0; a < AlarmTable::kAlarms; ++a) {
        if (!table->text(a).empty()) {
            texts.push_back(
                Json{{"alarm", a}, {"options", table->options(a)}, {"text", text(table->text(a))}});
        }
    }
    j["texts"] = std::move(texts);
    return j;
}

Json DocumentWriter::logger() const {
    const LoggerSettings& l = app_.logger();
    Json j = Json::object();
    j["memorySize"] = l.memorySize;
    j["frequency"] = l.frequency;
    j["frequencyUnit"] = l.frequencyUnit;
    j["whenFull"] = l.whenFull;
    j["startAtPowerUp"] = l.startAtPowerUp;
    j["useStartTime"] = l.useStartTime;
    j["useStopTime"] = l.useStopTime;
    j["option"] = l.option;
    j["pageHeader"] = text(l.pageHeader);
    j["option2"] = l.option2;
    j["separator"] = text(std::string(1, l.separator));
    Json tags = Json::array();
    for (const Tag* tag : l.tags) {
        tags.push_back(tagRef(tag));
    }
    j["tags"] = std::move(tags);
    if (l.headerRegister != nullptr) {
        j["headerRegister"] = tagRef(l.headerRegister);
    }
    return j;
}

Result<Json> DocumentWriter::pictures() const {
    Json list = Json::array();
    for (const auto& [library, number] : pictureNumbers_) {
        auto picture = pictures_->readPicture(library);
        if (!picture) {
            return picture.failure();
        }
        Json rows = Json::array();
        const std::uint32_t rowBytes = PictureRecord::rowBytes(picture->width());
        const std::vector<std::uint8_t>& bytes = picture->rows();
        const auto bitAt = [&](std::uint32_t x, std::uint32_t y) {
            return (bytes[std::size_t{y} * rowBytes + x / 8] & (0x80U >> (x % 8))) != 0;
        };
        for (std::uint32_t y = 0; y < picture->height(); ++y) {
            std::string row;
            for (std::uint32_t x = 0; x < picture->width(); ++x) {
                row.push_back(bitAt(x, y) ? Vocabulary::kLit : Vocabulary::kDark);
            }
            // The bits that pad a row to whole bytes are part of the image; they are shown only when set.
            std::string padding;
            bool set = false;
            for (std::uint32_t x = picture->width(); x < rowBytes * 8; ++x) {
                const bool lit = bitAt(x, y);
                set = set || lit;
                padding.push_back(lit ? Vocabulary::kLit : Vocabulary::kDark);
            }
            if (set) {
                row.push_back(Vocabulary::kPadding);
                row += padding;
            }
            rows.push_back(std::move(row));
        }
        list.push_back(Json{{"picture", number},
                            {"width", picture->width()},
                            {"height", picture->height()},
                            {"rows", std::move(rows)}});
    }
    return list;
}

Status DocumentWriter::numberPictures() {
    // Pictures are numbered in library order, the order of their data in the image.
    if (pictures_ == nullptr || !storesBitmaps(app_.modelId())) {
        return Status::success();
    }
    for (const auto& s : app_.screens()) {
        for (const auto& o : s->objects()) {
            if (o->kind() == ObjectKind::Bitmap) {
                pictureNumbers_.emplace(static_cast<const BitmapObject&>(*o).pictureId(), 0);
            }
        }
    }
    auto contents = pictures_->scan();
    if (!contents) {
        return contents.failure();
    }
    std::uint32_t next = 1;
    for (auto it = pictureNumbers_.begin(); it != pictureNumbers_.end();) {
        if (it->first >= contents->pictures.size()) {
            it = pictureNumbers_.erase(it);
            continue;
        }
        it->second = next++;
        ++it;
    }
    return Status::success();
}

// The text goes to the sink in pieces of about this size.
constexpr std::size_t kPieceBytes = 256U * 1024U;

Status DocumentWriter::run(std::string& out, const TextFormWriter::Sink* sink) {
    if (Status numbered = numberPictures(); !numbered) {
        return numbered;
    }
    const auto pass = [&](bool whole) -> Status {
        if (sink == nullptr || (!whole && out.size() < kPieceBytes)) {
            return Status::success();
        }
        Status given = (*sink)(out);
        out.clear();
        return given;
    };
    // The document, its node and its screens always hold lists, so they are never written on one line.
    bool firstMember = true;
    const auto name = [&](std::string_view name, std::size_t indent, bool& first) {
        out += first ? "" : ",\n";
        appendIndent(indent, out);
        appendString(name, out);
        out += ": ";
        first = false;
    };
    const auto member = [&](std::string_view key, const Json& value) {
        name(key, 2, firstMember);
        emit(value, 2, out);
    };

    out += "{\n";
    member("format", Vocabulary::kFormat);
    member("version", Vocabulary::kVersion);
    member("model", app_.modelId());
    member("modelName", std::string(app_.panelModelName()));
    member("password", text(app_.password()));
    const ApplicationInfo& info = app_.info();
    std::array<char, 64> stamp{};
    const CalendarTime& t = info.lastEdited;
    std::snprintf(stamp.data(), stamp.size(), "%04d-%02d-%02d %02d:%02d:%02d", t.year, t.month + 1, t.day,
                  t.hour, t.minute, t.second);
    member("info", Json{{"title", text(info.title)},
                        {"author", text(info.author)},
                        {"lastEdited", stamp.data()},
                        {"description", text(info.description)}});
    const UnitSettings& u = app_.unitSettings();
    member("unitSettings", Json{{"memoryOption", u.memoryOption},
                                {"touchScreen", u.touchScreen},
                                {"extendedKeypad", u.extendedKeypad},
                                {"keypadRows", u.keypadRows},
                                {"keypadColumns", u.keypadColumns},
                                {"inputWords", u.inputWords},
                                {"outputWords", u.outputWords},
                                {"printerBaud", u.printerBaud},
                                {"printerBits", u.printerBits},
                                {"printerParity", u.printerParity},
                                {"printerColumns", u.printerColumns},
                                {"printerTerminator", u.printerTerminator},
                                {"keypadQueueSize", u.keypadQueueSize},
                                {"queueFullIgnore", u.queueFullIgnore},
                                {"floatWordOrder", u.floatWordOrder}});

    name("nodes", 2, firstMember);
    if (app_.nodes().empty()) {
        out += "[]";
    } else {
        out += "[\n";
        bool firstNode = true;
        for (const auto& n : app_.nodes()) {
            out += firstNode ? "" : ",\n";
            firstNode = false;
            appendIndent(4, out);
            out += "{\n";
            bool firstField = true;
            const Json fields = node(*n);
            for (const auto& [field, value] : fields.items()) {
                name(field, 6, firstField);
                emit(value, 6, out);
            }
            name("blocks", 6, firstField);
            if (n->blocks().empty()) {
                out += "[]";
            } else {
                out += "[\n";
                bool firstBlock = true;
                for (const auto& b : n->blocks()) {
                    out += firstBlock ? "" : ",\n";
                    firstBlock = false;
                    appendIndent(8, out);
                    emit(block(*b), 8, out);
                    if (Status given = pass(false); !given) {
                        return given;
                    }
                }
                out += "\n      ]";
            }
            out += "\n    }";
        }
        out += "\n  ]";
    }

    member("powerOnTasks", taskList(app_.powerOnTasks()));
    member("globalTasks", taskList(app_.globalTasks()));
    Json keys = Json::array();
    for (const auto& k : app_.globalKeys()) {
        keys.push_back(key(*k, true));
    }
    member("globalKeys", keys);

    name("screens", 2, firstMember);
    if (app_.screens().empty()) {
        out += "[]";
    } else {
        out += "[\n";
        bool firstScreen = true;
        for (const auto& s : app_.screens()) {
            auto made = screen(*s);
            if (!made) {
                return made.failure();
            }
            out += firstScreen ? "" : ",\n";
            firstScreen = false;
            appendIndent(4, out);
            emit(*made, 4, out);
            if (Status given = pass(false); !given) {
                return given;
            }
        }
        out += "\n  ]";
    }

    member("alarms", alarms());
    member("logger", logger());
    auto list = pictures();
    if (!list) {
        return list.failure();
    }
    member("pictures", *list);
    out += "\n}\n";
    return pass(true);
}

} // namespace

namespace {

// The JSON library reports what it can not write (a text that is no UTF-8, a value of the wrong kind) by
// throwing; the writer turns that, and a lack of memory, into a failure, so no caller is ever ended by it.
Status runGuarded(const Application& application, const PictureLibrary* pictures, std::string& out,
                  const TextFormWriter::Sink* sink) {
    try {
        DocumentWriter writer(application, pictures);
        return writer.run(out, sink);
    } catch (const Json::exception& e) {
        return Status::fail(std::string("The text form could not be written: ") + e.what());
    } catch (const std::bad_alloc&) {
        return Status::fail("The text form is too large for the memory available.");
    }
}

} // namespace

Result<std::string> TextFormWriter::write(const Application& application, const PictureLibrary* pictures) {
    std::string out;
    if (Status written = runGuarded(application, pictures, out, nullptr); !written) {
        return written.failure();
    }
    return out;
}

Status TextFormWriter::write(const Application& application, const PictureLibrary* pictures,
                             const Sink& sink) {
    std::string out;
    return runGuarded(application, pictures, out, &sink);
}

} // namespace quillon
