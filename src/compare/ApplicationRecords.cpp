#include "compare/ApplicationRecords.h"

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
#include "model/PanelModel.h"
#include "model/PolygonObject.h"
#include "model/PolylineObject.h"
#include "model/Screen.h"
#include "model/Tag.h"
#include "model/Task.h"
#include "model/TextObject.h"
#include "model/TimeObject.h"
#include "model/UnitSettings.h"
#include "persist/PictureLibrary.h"
#include "persist/TextFormVocabulary.h"

#include <algorithm>
#include <array>
#include <map>

namespace quillon {
namespace {

// The unit's 8-bit texts as UTF-8 on one line (a line break shows as "\\n"); printable ASCII, nearly every
// text, is taken as it is.
std::string text(std::string_view bytes) {
    const bool plain = std::all_of(bytes.begin(), bytes.end(), [](char c) {
        const auto u = static_cast<unsigned char>(c);
        return u >= 0x20 && u < 0x7F && c != '\\';
    });
    if (plain) {
        return std::string(bytes);
    }
    std::string escaped;
    for (const char c : bytes) {
        const auto u = static_cast<unsigned char>(c);
        if (c == '\\') {
            escaped += "\\\\";
        } else if (c == '\n') {
            escaped += "\\n";
        } else if (c == '\r') {
            escaped += "\\r";
        } else if (c == '\t') {
            escaped += "\\t";
        } else if (u < 0x20 || u == 0x7F) {
            constexpr char kHex[] = "0123456789abcdef";
            escaped += "\\x";
            escaped.push_back(kHex[u >> 4]);
            escaped.push_back(kHex[u & 0xFU]);
        } else {
            escaped.push_back(c);
        }
    }
    return TextFormVocabulary::bytesToUtf8(escaped);
}

std::string inQuotes(std::string_view bytes) {
    return "\"" + text(bytes) + "\"";
}

std::string number(std::int64_t n) {
    return std::to_string(n);
}

std::string yesNo(bool on) {
    return on ? "Yes" : "No";
}

// An entry of a list by its stored index, or the number itself when the list has no such entry.
template <std::size_t N>
std::string entry(const std::array<std::string_view, N>& list, std::uint32_t index) {
    return index < N ? std::string(list[index]) : number(index);
}

// A tag as the lists name it: its name and where it lies, `"Level" (node 1, 40003)`.
void appendTagName(const Tag* tag, std::string& out) {
    if (tag == nullptr) {
        out += "none";
        return;
    }
    out += '"';
    out += text(tag->name);
    out += "\" (node ";
    out += number(tag->nodeNumber());
    out += ", ";
    out += text(tag->displayAddress());
    out += ')';
}

std::string tagName(const Tag* tag) {
    std::string out;
    out.reserve(64);
    appendTagName(tag, out);
    return out;
}

std::string taskLine(const Task& task) {
    std::string line = taskText(task);
    if (line.empty()) {
        line = "generated bit task " + number(task.subKind);
        if (task.tag1 != nullptr) {
            line += " " + text(task.tag1->displayAddress());
        }
    }
    // Task texts show addresses; the names say which tags they are.
    std::string names;
    for (const Tag* tag : {task.tag1, task.tag2}) {
        if (tag != nullptr) {
            names += names.empty() ? " [" : ", ";
            names += tagName(tag);
        }
    }
    return names.empty() ? line : line + names + "]";
}

void addTasks(const TaskList& list, std::string_view prefix, std::vector<std::string>& items) {
    for (const auto& task : list.tasks()) {
        items.push_back(std::string(prefix) + taskLine(*task));
    }
}

constexpr std::array<std::string_view, 3> kKeyListNames{"Press", "Pressed", "Released"};
constexpr std::array<std::string_view, 3> kScreenListNames{"Before-showing", "While-showing", "After-hiding"};

std::string keyName(std::uint16_t code) {
    const auto first = static_cast<unsigned>(code & 0xFFU);
    const auto second = static_cast<unsigned>(code >> 8);
    return second == 0 ? "key " + number(first) : "keys " + number(first) + " + " + number(second);
}

std::string animationText(const std::optional<RangeAnimation>& a, bool flash) {
    if (!a) {
        return "none";
    }
    std::string out = "Tag " + tagName(a->tag) + ", " + (a->when == 0 ? "Within Range" : "Outof Range") +
                      " " + number(a->low) + " - " + number(a->high);
    if (flash) {
        constexpr std::array<std::string_view, 3> kSpeeds{"Slow", "Medium", "Fast"};
        out += ", " + entry(kSpeeds, a->option);
    }
    return out;
}

constexpr std::array<std::string_view, 4> kDirections{"Left to Right", "Right to Left", "Bottom to Top",
                                                      "Top to Bottom"};

std::string fillingText(const std::optional<PercentFilling>& f) {
    if (!f) {
        return "none";
    }
    return "Min % " + number(f->minPercent) + ", Max % " + number(f->maxPercent) + ", " +
           entry(kDirections, f->direction);
}

std::string dataTypeText(char type) {
    switch (type) {
    case 'U':
        return "Unsigned integer";
    case 'S':
        return "Signed integer";
    case 'H':
        return "Hexadecimal";
    case 'D':
        return "BCD";
    case 'B':
        return "Binary ( 1 Word )";
    case 'F':
        return "Float";
    default:
        return text(std::string(1, type));
    }
}

int hexDigit(char c) {
    if (c >= '0' && c <= '9') {
        return c - '0';
    }
    if (c >= 'A' && c <= 'F') {
        return c - 'A' + 10;
    }
    return -1;
}

// The format as the Format list shows it: '#' for each digit, '.' before the decimals.
std::string formatPattern(const RegisterFormat& f) {
    int digits = hexDigit(f.code[0]);
    const int decimals = hexDigit(f.code[1]);
    if (digits < 0 || decimals < 0) {
        return text(std::string(f.code.begin(), f.code.end()));
    }
    if (f.dataType == 'B') {
        return std::string(static_cast<std::size_t>(digits + 1), '#');
    }
    std::string pattern(static_cast<std::size_t>(digits), '#');
    if (decimals > 0 && decimals <= digits) {
        pattern.insert(pattern.begin() + (digits - decimals), '.');
    }
    return pattern;
}

std::string operationText(const RegisterOperation& op) {
    constexpr std::array<std::string_view, 5> kSigns{"none", "+", "-", "*", "/"};
    if (op.code == 0) {
        return "none";
    }
    return entry(kSigns, op.code) + " " + number(op.operand);
}

std::string pointsText(const std::vector<ObjectPoint>& points) {
    std::string out;
    for (const ObjectPoint& p : points) {
        out += out.empty() ? "" : " ";
        out += "(" + number(p.x) + "," + number(p.y) + ")";
    }
    return out;
}

// The logger's page header with its embedded fields shown as the dialog shows them.
std::string pageHeaderText(std::string_view header) {
    // Each field is a run of its marker byte; the run is shown as its pattern.
    std::string shown;
    for (std::size_t i = 0; i < header.size();) {
        const char c = header[i];
        std::string_view pattern;
        if (c == '\x01') {
            pattern = "HH:MM:SS";
        } else if (c == '\x02') {
            pattern = "DD:MM:YY";
        } else if (c == '\x03') {
            pattern = "#####";
        }
        if (pattern.empty()) {
            shown.push_back(c);
            ++i;
            continue;
        }
        std::size_t run = 0;
        while (i < header.size() && header[i] == c && run < pattern.size()) {
            ++i;
            ++run;
        }
        shown += pattern.substr(0, run);
    }
    return text(shown);
}

// A short fingerprint of a picture's pixels (FNV-1a), so that a changed picture shows without its rows.
std::string fingerprint(const std::vector<std::uint8_t>& bytes) {
    std::uint64_t hash = 14695981039346656037ULL;
    for (const std::uint8_t b : bytes) {
        hash ^= b;
        hash *= 1099511628211ULL;
    }
    constexpr char kHex[] = "0123456789abcdef";
    std::string out(16, '0');
    for (int i = 15; i >= 0; --i) {
        out[static_cast<std::size_t>(i)] = kHex[hash & 0xFU];
        hash >>= 4;
    }
    return out;
}

class Collector final {
public:
    Collector(const Application& app, const PictureLibrary* pictures) : app_(app), pictures_(pictures) {}

    Result<ApplicationRecords> run();

private:
    void application();
    void unitSettings();
    void network();
    void screens();
    void object(const Screen& screen, const std::string& screenLabel, const ScreenObject& o);
    void keys(const std::vector<std::unique_ptr<KeyDefinition>>& keys, const std::string& scope,
              const std::string& owner, bool global);
    void alarms();
    void logger();
    Status pictures();
    Status numberPictures();

    Record& add(RecordSection section, std::string key, std::string label) {
        Record& r = out_[section].emplace_back();
        r.section = section;
        r.key = std::move(key);
        r.label = std::move(label);
        return r;
    }

    const Application& app_;
    const PictureLibrary* pictures_;
    ApplicationRecords out_;
    // Library picture number -> the picture's number in the application (1, 2 ... in library order).
    std::map<std::uint32_t, std::uint32_t> pictureNumbers_;
};

void Collector::application() {
    Record& r = add(RecordSection::Application, "application", "application");
    r.fields = {{"Model", text(app_.panelModelName()) + " (" + number(app_.modelId()) + ")"},
                {"Password", text(app_.password())},
                {"Title", text(app_.info().title)},
                {"Author", text(app_.info().author)},
                {"Description", text(app_.info().description)}};
}

void Collector::unitSettings() {
    const UnitSettings& u = app_.unitSettings();
    constexpr std::array<std::string_view, 4> kMemory{"8KB", "24KB", "32 KB", "64KB"};
    constexpr std::array<std::string_view, 6> kBaud{"300", "600", "1200", "2400", "9600", "19200"};
    constexpr std::array<std::string_view, 2> kBits{"7", "8"};
    constexpr std::array<std::string_view, 3> kParity{"Odd", "Even", "None"};
    constexpr std::array<std::string_view, 4> kTerminator{"None", "CR", "LF", "CR + LF"};
    constexpr std::array<std::string_view, 2> kFloat{"High Word - Low Word", "Low Word - High Word"};
    constexpr std::array<std::string_view, 2> kIgnore{"First key pressed", "Last key pressed"};
    std::string memory = u.memoryOption < kMemory.size()
                             ? std::string(kMemory[u.memoryOption])
                             : number(memoryCapacity(u.memoryOption) / 1024) + "KB";
    Record& r = add(RecordSection::UnitSettings, "settings", "unit settings");
    r.fields = {{"Memory", memory},
                {"Touch-screen", yesNo(u.touchScreen != 0)},
                {"Extended Keypad", yesNo(u.extendedKeypad != 0)},
                {"Number of rows", number(u.keypadRows)},
                {"Number of columns", number(u.keypadColumns)},
                {"Input words", number(u.inputWords)},
                {"Output words", number(u.outputWords)},
                {"Baud Rate", entry(kBaud, u.printerBaud)},
                {"Number of Bits", entry(kBits, u.printerBits)},
                {"Parity", entry(kParity, u.printerParity)},
                {"Number of columns (printer)", number(u.printerColumns)},
                {"Terminating character", entry(kTerminator, u.printerTerminator)},
                {"Keypad queue size", number(u.keypadQueueSize)},
                {"If queue is full then ignore", entry(kIgnore, u.queueFullIgnore)},
                {"Float Format", entry(kFloat, u.floatWordOrder)}};
}

void Collector::network() {
    for (const auto& node : app_.nodes()) {
        const std::string nodeNumber = number(node->number());
        Record& n = add(RecordSection::Nodes, nodeNumber, "node " + nodeNumber + " " + inQuotes(node->name));
        const bool unit = node->kind() == NodeKind::Unit;
        n.fields = {{"Node Name", text(node->name)},
                    {"PLC", unit ? text(app_.panelModelName())
                                 : text(node->plcName) + " (" + number(node->plcId) + ")"},
                    {"PLC Model", text(node->modelName())}};
        if (node->kind() == NodeKind::PlcWithSpecial) {
            const auto special = node->specialData();
            n.fields.push_back({"Special PLC-data",
                                number(special[0]) + " " + number(special[1]) + " " + number(special[2])});
        }
        for (const auto& block : node->blocks()) {
            Record& b = add(RecordSection::Blocks, text(block->prefix) + "|" + text(block->address()),
                            "block " + inQuotes(block->name) + " (node " + nodeNumber + ", " +
                                text(block->address()) + ")");
            b.scope = nodeNumber;
            b.fields = {{"Block Name", text(block->name)},
                        {"Block Size", number(block->size)},
                        {"Area", number(block->attribute)}};
            // Tags equal in address, type, bit, size and byte selector are told apart by their order.
            const Tag* previous = nullptr;
            std::size_t nth = 0;
            for (const Tag* tag : block->tags()) {
                const bool same = previous != nullptr && previous->address() == tag->address() &&
                                  previous->type() == tag->type() && previous->bit == tag->bit &&
                                  previous->size == tag->size && previous->byteSelect == tag->byteSelect;
                nth = same ? nth + 1 : 1;
                previous = tag;
                std::string key = text(tag->address());
                key += '|';
                key += tag->type();
                key += '|' + number(tag->bit) + '|' + number(tag->size) + '|' + number(tag->byteSelect);
                if (nth > 1) {
                    key += '|' + number(static_cast<std::int64_t>(nth));
                }
                std::string label;
                label.reserve(64);
                label += "tag ";
                appendTagName(tag, label);
                Record& t = add(RecordSection::Tags, std::move(key), std::move(label));
                t.scope = nodeNumber;
                t.loose = text(tag->address());
                t.name = text(tag->name);
                std::string type;
                std::string bytes = "-";
                switch (tag->type()) {
                case tag_type::kCoil:
                    type = "Coil";
                    break;
                case tag_type::kRegister:
                    type = "Register";
                    bytes = number(tag->size);
                    if (tag->byteSelect != 0 || tag->size == 1) {
                        bytes += tag->byteSelect == 0 ? " Low" : " High";
                    }
                    break;
                case tag_type::kRegisterBit:
                    type = "Bit of register";
                    break;
                default:
                    type = text(std::string(1, tag->type()));
                }
                constexpr std::array<std::string_view, 3> kAccess{"Read only", "Write only", "Read-Write"};
                const int access = tag->readWrite - '0';
                t.fields = {{"Tag-Name", text(tag->name)},
                            {"Address", text(tag->displayAddress())},
                            {"Type", std::move(type)},
                            {"Byte(s)", std::move(bytes)},
                            {"Read-Write", access >= 0 && access < 3 ? std::string(kAccess[access])
                                                                     : text(std::string(1, tag->readWrite))},
                            {"Attribute", number(tag->attribute)}};
            }
        }
    }
}

void Collector::object(const Screen& screen, const std::string& screenLabel, const ScreenObject& o) {
    const RecordPlace place{o.left, o.top, o.right, o.bottom};
    std::uint8_t code = static_cast<std::uint8_t>(o.kind());
    std::string kind(objectKindName(o.kind()));
    if (o.kind() == ObjectKind::TouchArea) {
        kind = "Touch-screen";
    }
    Record& r = add(RecordSection::Objects, number(code) + "|" + place.text(),
                    screenLabel + ": " + kind + " at " + place.text());
    r.scope = number(screen.number());
    r.loose = number(code);
    r.place = place;
    const bool graphic = o.kind() >= ObjectKind::Rectangle && o.kind() <= ObjectKind::Polygon;
    std::vector<RecordField>& f = r.fields;
    f.push_back({"Size", number(o.right - o.left + 1) + " x " + number(o.bottom - o.top + 1)});
    f.push_back({graphic ? "Line thickness" : "Font", number(o.font)});
    f.push_back({graphic ? "Fill colour" : "Background colour", number(o.colourA)});
    f.push_back({graphic ? "Line colour" : "Foreground colour", number(o.colourB)});
    std::string flash = "none";
    if (o.flash >= 128 && o.flash <= 130) {
        flash = "Flash " + number(o.flash - 127);
    } else if (o.flash >= 192 && o.flash <= 194) {
        flash = "Scroll " + number(o.flash - 191);
    } else if (o.flash != 0) {
        flash = number(o.flash);
    }
    f.push_back({"Flash / Scroll", flash});
    f.push_back({"Layer", number(o.zLevel)});
    f.push_back({"Border", number(o.border)});
    f.push_back({"Show / Hide", animationText(o.showHide(), false)});
    f.push_back({"Flash", animationText(o.flashAnimation(), true)});
    if (o.hasMainTag() || o.tag() != nullptr) {
        f.push_back({"Tag", tagName(o.tag())});
    }
    const auto formatFields = [&f](const RegisterFormat& format) {
        f.push_back({"Data Type", dataTypeText(format.dataType)});
        f.push_back({"Format", formatPattern(format)});
        f.push_back({"1st-operation", operationText(format.first)});
        f.push_back({"2nd-operation", operationText(format.second)});
    };
    switch (o.kind()) {
    case ObjectKind::Bitmap: {
        const auto found = pictureNumbers_.find(static_cast<const BitmapObject&>(o).pictureId());
        f.push_back({"Picture", found != pictureNumbers_.end()
                                    ? number(found->second)
                                    : "library " + number(static_cast<const BitmapObject&>(o).pictureId())});
        break;
    }
    case ObjectKind::Text:
        f.push_back({"Text", text(static_cast<const TextObject&>(o).text())});
        break;
    case ObjectKind::DataEntryCoil:
    case ObjectKind::DisplayCoil: {
        const auto& b = static_cast<const BitTextObject&>(o);
        f.push_back({"On Text", text(b.onText())});
        f.push_back({"Off Text", text(b.offText())});
        break;
    }
    case ObjectKind::DataEntryRegister: {
        const auto& d = static_cast<const DataEntryRegisterObject&>(o);
        formatFields(d.format);
        f.push_back({"Low-limit", number(d.lowLimit)});
        f.push_back({"High-limit", number(d.highLimit)});
        break;
    }
    case ObjectKind::DisplayRegister: {
        const auto& d = static_cast<const DisplayRegisterObject&>(o);
        formatFields(d.format);
        f.push_back({"Leading zeros blank", yesNo(d.leadingZerosBlank)});
        break;
    }
    case ObjectKind::DisplayRegisterText:
        for (const RegisterTextRange& range : static_cast<const DisplayRegisterTextObject&>(o).ranges()) {
            r.items.push_back("Register Text " + number(range.from) + " - " + number(range.to) + ": " +
                              text(range.text));
        }
        break;
    case ObjectKind::Time:
        f.push_back({"Format", static_cast<const TimeObject&>(o).format == 0 ? "HH:MM:SS" : "MM:SS"});
        break;
    case ObjectKind::Date:
        f.push_back({"Format", number(static_cast<const DateObject&>(o).format)});
        break;
    case ObjectKind::Rectangle:
    case ObjectKind::Ellipse:
    case ObjectKind::RoundRectangle:
        f.push_back({"Percent Filling", fillingText(static_cast<const FilledShapeObject&>(o).filling())});
        break;
    case ObjectKind::Polyline:
        f.push_back({"Points", pointsText(static_cast<const PolylineObject&>(o).points())});
        break;
    case ObjectKind::Polygon: {
        const auto& p = static_cast<const PolygonObject&>(o);
        f.push_back({"Percent Filling", fillingText(p.filling())});
        f.push_back({"Points", pointsText(p.points())});
        break;
    }
    case ObjectKind::AlarmWindow: {
        const AlarmWindowOptions& w = static_cast<const AlarmWindowObject&>(o).options();
        f.push_back({"Which and how to display the Alarms", number(w.windowOption)});
        f.push_back({"Headers", yesNo(w.showHeaders)});
        f.push_back({"Separator", number(w.secondWindowOption)});
        constexpr std::array<std::string_view, 8> kColumns{"Number",  "Tag",    "Alarm Text",   "OnTime",
                                                           "OffTime", "Active", "Acknowledged", "Print"};
        std::string columns;
        for (const AlarmColumn& c : w.columns) {
            columns += columns.empty() ? "" : ", ";
            columns += entry(kColumns, c.type) + " \"" + text(c.header) + "\" " + number(c.option);
        }
        f.push_back({"Selected", columns});
        break;
    }
    case ObjectKind::TouchArea:
        for (std::size_t l = 0; l < 3; ++l) {
            addTasks(o.taskOwner()->taskList(l), std::string(kKeyListNames[l]) + ": ", r.items);
        }
        break;
    case ObjectKind::OldBargraph:
    case ObjectKind::Bargraph: {
        const auto& b = static_cast<const BargraphObject&>(o);
        f.push_back({"Min", number(b.minimum)});
        f.push_back({"Max", number(b.maximum)});
        f.push_back({"Direction", entry(kDirections, b.direction)});
        break;
    }
    case ObjectKind::Error:
        break;
    }
}

void Collector::keys(const std::vector<std::unique_ptr<KeyDefinition>>& list, const std::string& scope,
                     const std::string& owner, bool global) {
    for (const auto& k : list) {
        Record& r = add(RecordSection::Keys, number(k->code), owner + keyName(k->code));
        r.scope = scope;
        r.fields = {{"Clear the queue and also interrupt the previous Key.", yesNo(k->interrupt != 0)},
                    {"Password", number(k->password)}};
        if (global) {
            std::string legend = "none";
            if (k->legend) {
                legend = k->legend->type == KeyLegend::kBitmap
                             ? "bitmap " + inQuotes(k->legend->bitmapName)
                             : "text " + inQuotes(k->legend->line1) + " " + inQuotes(k->legend->line2);
            }
            r.fields.push_back({"Legend", legend});
        }
        for (std::size_t l = 0; l < 3; ++l) {
            addTasks(k->taskList(l), std::string(kKeyListNames[l]) + ": ", r.items);
        }
    }
}

void Collector::screens() {
    for (const auto& s : app_.screens()) {
        const std::string screenNumber = number(s->number());
        const std::string label = "screen " + screenNumber + " " + inQuotes(s->name);
        Record& r = add(RecordSection::Screens, screenNumber, label);
        constexpr std::array<std::string_view, 3> kTypes{"Display", "Print only", "Display and print"};
        r.fields = {{"Screen Name", text(s->name)},
                    {"Description", text(s->description)},
                    {"Password", number(s->password)},
                    {"Type", entry(kTypes, static_cast<std::uint8_t>(s->type))},
                    {"Associated screen", s->associated() ? number(*s->associated()) : "none"}};
        for (const auto& o : s->objects()) {
            object(*s, label, *o);
        }
        for (std::size_t l = 0; l < 3; ++l) {
            const TaskList& list = s->taskList(l);
            if (list.tasks().empty()) {
                continue;
            }
            Record& t =
                add(RecordSection::TaskLists, screenNumber + "|" + number(static_cast<std::int64_t>(l)),
                    label + " " + std::string(kScreenListNames[l]) + " tasks");
            addTasks(list, "", t.items);
        }
        keys(s->keys(), screenNumber, label + " ", false);
    }
}

void Collector::alarms() {
    const AlarmTable* table = app_.alarmsIfAny();
    if (table == nullptr || table->textCount() == 0) {
        return;
    }
    Record& r = add(RecordSection::Alarms, "tags", "alarm tags");
    const bool consecutive = table->tagMode() == AlarmTable::kConsecutive;
    r.fields.push_back({"Tag mode", consecutive ? "Consecutive" : "Discrete"});
    if (consecutive) {
        r.fields.push_back({"First Tag", tagName(table->groupTag(0))});
    } else {
        for (std::size_t g = 0; g < AlarmTable::kGroups; ++g) {
            if (table->groupTag(g) != nullptr) {
                r.fields.push_back({"Tag of group " + number(static_cast<std::int64_t>(g + 1)),
                                    tagName(table->groupTag(g))});
            }
        }
    }
    for (std::size_t a = 0; a < AlarmTable::kAlarms; ++a) {
        if (table->text(a).empty()) {
            continue;
        }
        std::string n = number(static_cast<std::int64_t>(a));
        n.insert(0, 3 - std::min<std::size_t>(3, n.size()), '0');
        Record& alarm = add(RecordSection::Alarms, n, "alarm " + n);
        alarm.fields = {{"Alarm Text", text(table->text(a))},
                        {"Print", (table->options(a) & AlarmTable::kPrintOption) != 0 ? "Y" : "N"}};
        if ((table->options(a) & ~AlarmTable::kPrintOption) != 0) {
            alarm.fields.push_back({"Options", number(table->options(a))});
        }
    }
}

void Collector::logger() {
    const LoggerSettings& l = app_.logger();
    constexpr std::array<std::string_view, 4> kMemory{"1 KB", "2 KB", "3 KB", "4 KB"};
    constexpr std::array<std::string_view, 3> kUnits{"Seconds", "Minutes", "Hours"};
    constexpr std::array<std::string_view, 2> kFull{"Stop Logging", "FIFO"};
    Record& r = add(RecordSection::Logger, "logger", "logger");
    r.fields = {{"Log Memory Size", entry(kMemory, l.memorySize)},
                {"Frequency", number(l.frequency) + " " + entry(kUnits, l.frequencyUnit)},
                {"When full", entry(kFull, l.whenFull)},
                {"Start Logging at Power-up", yesNo(l.startAtPowerUp != 0)},
                {"Logger Start Time", yesNo(l.useStartTime != 0)},
                {"Logger Stop Time", yesNo(l.useStopTime != 0)},
                {"Page Header", pageHeaderText(l.pageHeader)},
                {"Header register", tagName(l.headerRegister)},
                {"Tags Separator", l.separator == ' ' ? "( Space )" : text(std::string(1, l.separator))}};
    if (l.option != 0 || l.option2 != 0) {
        r.fields.push_back({"Options", number(l.option) + " " + number(l.option2)});
    }
    for (const Tag* tag : l.tags) {
        r.items.push_back("Tags to be logged: " + tagName(tag));
    }
}

Status Collector::numberPictures() {
    for (const auto& s : app_.screens()) {
        for (const auto& o : s->objects()) {
            if (o->kind() == ObjectKind::Bitmap) {
                pictureNumbers_.emplace(static_cast<const BitmapObject&>(*o).pictureId(), 0);
            }
        }
    }
    std::uint32_t next = 1;
    for (auto& [library, numberInApplication] : pictureNumbers_) {
        numberInApplication = next++;
    }
    return Status::success();
}

Status Collector::pictures() {
    for (const auto& [library, numberInApplication] : pictureNumbers_) {
        const std::string n = number(numberInApplication);
        Record& r = add(RecordSection::Pictures, n, "picture " + n);
        if (pictures_ == nullptr) {
            r.fields = {{"Library picture", number(library)}};
            continue;
        }
        auto picture = pictures_->readPicture(library);
        if (!picture) {
            return picture.failure();
        }
        r.fields = {{"Size", number(picture->width()) + " x " + number(picture->height())},
                    {"Pixels", fingerprint(picture->rows())}};
    }
    return Status::success();
}

Result<ApplicationRecords> Collector::run() {
    out_[RecordSection::Tags].reserve(app_.tagCount());
    application();
    unitSettings();
    network();
    if (Status numbered = numberPictures(); !numbered) {
        return numbered.failure();
    }
    Record& powerOn = add(RecordSection::TaskLists, "application|0", "Power-on tasks");
    addTasks(app_.powerOnTasks(), "", powerOn.items);
    Record& global = add(RecordSection::TaskLists, "application|1", "Global tasks");
    addTasks(app_.globalTasks(), "", global.items);
    keys(app_.globalKeys(), "", "global ", true);
    screens();
    alarms();
    logger();
    if (Status taken = pictures(); !taken) {
        return taken.failure();
    }
    return std::move(out_);
}

} // namespace

std::string_view recordSectionName(RecordSection section) noexcept {
    switch (section) {
    case RecordSection::Application:
        return "Application";
    case RecordSection::UnitSettings:
        return "Unit settings";
    case RecordSection::Nodes:
        return "Nodes";
    case RecordSection::Blocks:
        return "Blocks";
    case RecordSection::Tags:
        return "Tags";
    case RecordSection::Screens:
        return "Screens";
    case RecordSection::Objects:
        return "Objects";
    case RecordSection::TaskLists:
        return "Task lists";
    case RecordSection::Keys:
        return "Keys";
    case RecordSection::Alarms:
        return "Alarms";
    case RecordSection::Logger:
        return "Logger";
    case RecordSection::Pictures:
        return "Pictures";
    }
    return "";
}

std::string RecordPlace::text() const {
    return "(" + std::to_string(left) + "," + std::to_string(top) + ")-(" + std::to_string(right) + "," +
           std::to_string(bottom) + ")";
}

const std::string* Record::field(std::string_view caption) const noexcept {
    for (const RecordField& f : fields) {
        if (f.caption == caption) {
            return &f.value;
        }
    }
    return nullptr;
}

Result<ApplicationRecords> ApplicationRecords::collect(const Application& application,
                                                       const PictureLibrary* pictures) {
    Collector collector(application, pictures);
    return collector.run();
}

} // namespace quillon
