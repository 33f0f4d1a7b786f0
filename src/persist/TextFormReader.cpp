#include "persist/TextFormReader.h"

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
#include "persist/PictureLibrary.h"
#include "persist/PictureRecord.h"
#include "persist/TextFormVocabulary.h"
#include "plc/PlcCatalogFiles.h"

#include <cstdio>
#include <limits>
#include <map>
#include <new>
#include <nlohmann/json.hpp>
#include <optional>
#include <set>
#include <vector>

namespace quillon {
namespace {

using Json = nlohmann::json;
using Vocabulary = TextFormVocabulary;

// A refusal of the document: where and why. It travels only inside this file and leaves as a Failure.
struct DocumentError {
    std::string path;
    std::string message;
};

// A value of the document with its JSON pointer, and the typed reads that check it.
class Value final {
public:
    Value(const Json& value, std::string path) : value_(value), path_(std::move(path)) {}

    const Json& json() const noexcept { return value_; }
    const std::string& path() const noexcept { return path_; }
    bool isNull() const noexcept { return value_.is_null(); }

    [[noreturn]] void fail(const std::string& message) const {
        throw DocumentError{path_.empty() ? std::string("/") : path_, message};
    }

    // An absent object reads as one whose every member is absent, so that a hand-written document may
    // leave out whole sections that keep their defaults.
    Value at(std::string_view key) const {
        if (value_.is_null()) {
            return Value(null(), path_ + "/" + std::string(key));
        }
        if (!value_.is_object()) {
            fail("must be an object");
        }
        const auto found = value_.find(std::string(key));
        if (found == value_.end()) {
            return Value(null(), path_ + "/" + std::string(key));
        }
        return Value(*found, path_ + "/" + std::string(key));
    }
    bool has(std::string_view key) const { return value_.is_object() && value_.contains(std::string(key)); }
    Value required(std::string_view key) const {
        Value child = at(key);
        if (!has(key)) {
            child.fail("is missing");
        }
        return child;
    }

    std::size_t size() const {
        if (!value_.is_array()) {
            fail("must be an array");
        }
        return value_.size();
    }
    Value operator[](std::size_t index) const {
        return Value(value_[index], path_ + "/" + std::to_string(index));
    }
    // An array, or an empty one where the key is absent or null.
    std::vector<Value> items() const {
        std::vector<Value> list;
        if (value_.is_null()) {
            return list;
        }
        const std::size_t count = size();
        for (std::size_t i = 0; i < count; ++i) {
            list.push_back((*this)[i]);
        }
        return list;
    }

    std::int64_t integer(std::int64_t min, std::int64_t max) const {
        if (!value_.is_number_integer() ||
            (value_.is_number_unsigned() && value_.get<std::uint64_t>() > static_cast<std::uint64_t>(max))) {
            failRange(min, max);
        }
        const auto v = value_.get<std::int64_t>();
        if (v < min || v > max) {
            failRange(min, max);
        }
        return v;
    }
    template <typename T>
    T number(T fallback) const {
        if (value_.is_null()) {
            return fallback;
        }
        return static_cast<T>(integer(std::numeric_limits<T>::min(), std::numeric_limits<T>::max()));
    }
    template <typename T>
    T number(T fallback, std::int64_t min, std::int64_t max) const {
        if (value_.is_null()) {
            return fallback;
        }
        return static_cast<T>(integer(min, max));
    }
    bool boolean(bool fallback) const {
        if (value_.is_null()) {
            return fallback;
        }
        if (!value_.is_boolean()) {
            fail("must be true or false");
        }
        return value_.get<bool>();
    }
    // A text as the image keeps it: bytes of the panel's character set, at most maxBytes of them.
    std::string bytes(std::size_t maxBytes, const std::string& fallback = {}) const {
        if (value_.is_null()) {
            return fallback;
        }
        if (!value_.is_string()) {
            fail("must be a text");
        }
        auto decoded = Vocabulary::utf8ToBytes(value_.get_ref<const std::string&>());
        if (!decoded) {
            fail("holds a character beyond U+00FF, which the panel's character set lacks");
        }
        if (decoded->size() > maxBytes) {
            fail("must have at most " + std::to_string(maxBytes) + " characters");
        }
        return *decoded;
    }
    char character(char fallback) const {
        if (value_.is_null()) {
            return fallback;
        }
        const std::string c = bytes(1);
        if (c.size() != 1) {
            fail("must be one character");
        }
        return c[0];
    }
    std::string word() const {
        if (!value_.is_string()) {
            fail("must be a text");
        }
        return value_.get<std::string>();
    }

private:
    static const Json& null() {
        static const Json kNull;
        return kNull;
    }
    [[noreturn]] void failRange(std::int64_t min, std::int64_t max) const {
        fail("must be a whole number from " + std::to_string(min) + " to " + std::to_string(max));
    }

    const Json& value_;
    std::string path_;
};

template <typename T>
T* checked(const Value& at, Result<T*> result) {
    if (!result) {
        at.fail(result.message());
    }
    return result.value();
}

// A register bit's address as the editors store it: a suffix that repeats the bit is dropped, one that
// names another bit is refused.
std::string storedBitAddress(const Value& at, const std::string& address, std::uint8_t bit) {
    auto stored = Tag::storedBitAddress(address, bit);
    if (!stored) {
        at.fail(stored.message());
    }
    return std::move(*stored);
}

void checked(const Value& at, const Status& status) {
    if (!status) {
        at.fail(status.message());
    }
}

// Whether brackets nest deeper than the reader follows; checked before parsing, so that no input can
// exhaust the stack.
bool tooDeep(std::string_view text, std::size_t limit) {
    std::size_t depth = 0;
    bool inString = false;
    bool escaped = false;
    for (const char c : text) {
        if (inString) {
            if (escaped) {
                escaped = false;
            } else if (c == '\\') {
                escaped = true;
            } else if (c == '"') {
                inString = false;
            }
            continue;
        }
        if (c == '"') {
            inString = true;
        } else if (c == '[' || c == '{') {
            if (++depth > limit) {
                return true;
            }
        } else if ((c == ']' || c == '}') && depth > 0) {
            --depth;
        }
    }
    return false;
}

// A key given twice in one object, with the line of its second appearance. The JSON library keeps the last
// of the two without a word, so a document that says "model" twice would be read as whichever came last;
// the text has been parsed already, so it is known to be valid JSON here.
struct DuplicateKey {
    std::string key;
    std::size_t line = 0;
};

std::optional<DuplicateKey> duplicateKey(std::string_view text) {
    struct Frame {
        bool object = false;
        bool expectKey = false;
        std::set<std::string> keys;
    };
    std::vector<Frame> frames;
    std::size_t line = 1;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (c == '\n') {
            ++line;
        } else if (c == '{' || c == '[') {
            frames.push_back(Frame{c == '{', c == '{', {}});
        } else if ((c == '}' || c == ']') && !frames.empty()) {
            frames.pop_back();
        } else if (c == ',' && !frames.empty() && frames.back().object) {
            frames.back().expectKey = true;
        } else if (c == '"') {
            const std::size_t start = i;
            bool escapes = false;
            for (++i; i < text.size() && text[i] != '"'; ++i) {
                if (text[i] == '\\') {
                    escapes = true;
                    ++i;
                }
            }
            if (frames.empty() || !frames.back().object || !frames.back().expectKey) {
                continue;
            }
            frames.back().expectKey = false;
            std::string key(text.substr(start + 1, i - start - 1));
            if (escapes) {
                // "mod\u0065l" is "model": keys are compared as the library reads them.
                key = Json::parse(text.substr(start, i - start + 1)).get<std::string>();
            }
            if (!frames.back().keys.insert(key).second) {
                return DuplicateKey{std::move(key), line};
            }
        }
    }
    return std::nullopt;
}

class DocumentReader final {
public:
    DocumentReader(const Json& root, const TextFormContext& context) : root_(root, ""), context_(context) {}

    std::unique_ptr<Application> run();

private:
    Tag* tagRef(const Value& at) const;
    Task task(const Value& at) const;
    void tasks(const Value& at, TaskListOwner& owner, std::size_t list);
    void key(const Value& at, Screen* screen);
    std::optional<RangeAnimation> animation(const Value& at, bool withOption) const;
    RegisterFormat format(const Value& at) const;
    std::optional<PercentFilling> filling(const Value& at) const;
    std::vector<ObjectPoint> points(const Value& at) const;
    std::unique_ptr<ScreenObject> object(const Value& at);
    void objectTasks(const Value& at, ScreenObject& object);
    void screen(const Value& at);
    void node(const Value& at);
    void alarms(const Value& at);
    void logger(const Value& at);
    void pictures(const Value& at);
    void usedPictureBytes(const Value& at);
    void info(const Value& at);
    void unitSettings(const Value& at);

    Value root_;
    const TextFormContext& context_;
    std::unique_ptr<Application> app_;
    std::map<std::uint32_t, std::uint32_t> pictureIds_; // document number -> library number
    std::set<std::string> tagNames_;
    std::set<std::string> nodeNames_;
    std::set<std::string> screenNames_;
};

Tag* DocumentReader::tagRef(const Value& at) const {
    if (at.isNull()) {
        return nullptr;
    }
    const auto nodeNumber = at.required("node").number<std::uint8_t>(0);
    char type = tag_type::kCoil;
    std::uint8_t bit = 0;
    std::uint8_t size = 0;
    std::string address = at.required("address").bytes(Tag::kMaxAddressLength);
    if (at.has("bit")) {
        type = tag_type::kRegisterBit;
        bit = at.at("bit").number<std::uint8_t>(0);
        address = storedBitAddress(at.at("address"), address, bit);
    } else if (at.has("bytes")) {
        type = tag_type::kRegister;
        size = at.at("bytes").number<std::uint8_t>(0);
    } else if (at.has("type")) {
        const auto code = Vocabulary::tagTypeCode(at.at("type").word());
        if (!code) {
            at.at("type").fail("is no tag type");
        }
        type = *code;
    }
    const auto byteSelect = at.at("byteSelect").number<std::uint8_t>(0);
    const auto nth = at.at("nth").number<std::uint32_t>(1, 1, 255);
    std::uint32_t seen = 0;
    const Node* node = app_->findNodeByNumber(nodeNumber);
    if (node != nullptr) {
        for (const auto& block : node->blocks()) {
            for (Tag* tag : block->tags()) {
                if (tag->address() == address && tag->type() == type && tag->bit == bit &&
                    tag->size == size && tag->byteSelect == byteSelect && ++seen == nth) {
                    return tag;
                }
            }
        }
    }
    at.fail("names no tag of the network (node " + std::to_string(nodeNumber) + ", address \"" +
            Vocabulary::bytesToUtf8(address) + "\")");
}

Task DocumentReader::task(const Value& at) const {
    Task t;
    const Value kind = at.required("kind");
    if (kind.json().is_string()) {
        const auto code = Vocabulary::taskKindCode(kind.word());
        if (!code) {
            kind.fail("is no task kind");
        }
        t.kind = static_cast<TaskKind>(*code);
    } else {
        t.kind = static_cast<TaskKind>(kind.number<std::uint8_t>(0));
    }
    t.subKind = at.at("subKind").number<std::uint8_t>(0);
    t.parameter = at.at("parameter").number<std::uint8_t>(0);
    t.value = at.at("value").number<std::int32_t>(0);
    t.valueFormat = at.at("valueFormat").number<std::uint8_t>(0);
    t.tag1 = tagRef(at.at("tag1"));
    t.tag2 = tagRef(at.at("tag2"));
    checked(at, validateTask(t));
    return t;
}

void DocumentReader::tasks(const Value& at, TaskListOwner& owner, std::size_t list) {
    for (const Value& item : at.items()) {
        (void)checked(item, app_->appendTask(owner, list, task(item)));
    }
}

void DocumentReader::key(const Value& at, Screen* screen) {
    const auto first = at.required("key").number<std::uint8_t>(0);
    const auto second = at.at("secondKey").number<std::uint8_t>(0);
    auto made = std::make_unique<KeyDefinition>(static_cast<std::uint16_t>(first | (second << 8)));
    made->interrupt = at.at("interrupt").number<std::uint8_t>(0);
    made->password = at.at("password").number<std::uint16_t>(0);
    if (screen == nullptr) {
        const Value legend = at.at("legend");
        if (!legend.isNull()) {
            KeyLegend l;
            l.type = legend.at("type").number<std::uint8_t>(KeyLegend::kText);
            l.line1 = legend.at("line1").bytes(KeyLegend::kMaxLineLength);
            l.line2 = legend.at("line2").bytes(KeyLegend::kMaxLineLength);
            l.bitmapName = legend.at("bitmapName").bytes(KeyLegend::kMaxBitmapNameLength);
            if (!l.valid()) {
                legend.fail("must be of type 1 (two text lines) or 2 (a picture name)");
            }
            made->legend = l;
        }
    } else if (at.has("legend") && !at.at("legend").isNull()) {
        at.at("legend").fail("only global keys have legends");
    }
    KeyDefinition* key = screen != nullptr ? checked(at, app_->addKey(*screen, std::move(made)))
                                           : checked(at, app_->addGlobalKey(std::move(made)));
    const Value lists = at.at("tasks");
    for (std::size_t l = 0; l < 3; ++l) {
        tasks(lists.at(Vocabulary::kKeyLists[l]), *key, l);
    }
}

std::optional<RangeAnimation> DocumentReader::animation(const Value& at, bool withOption) const {
    if (at.isNull()) {
        return std::nullopt;
    }
    RangeAnimation a;
    a.tag = tagRef(at.at("tag"));
    a.when = at.at("when").number<std::uint8_t>(0);
    a.low = at.at("low").number<std::uint16_t>(0);
    a.high = at.at("high").number<std::uint16_t>(65535);
    if (withOption) {
        a.option = at.at("option").number<std::uint8_t>(0);
    }
    return a;
}

RegisterFormat DocumentReader::format(const Value& at) const {
    RegisterFormat f;
    if (at.isNull()) {
        return f;
    }
    f.dataType = at.at("dataType").character('U');
    const std::string code = at.at("code").bytes(2, "50");
    if (code.size() != 2) {
        at.at("code").fail("must be two characters: the digit count and the decimals");
    }
    f.code = {code[0], code[1]};
    f.first.code = at.at("first").at("operation").number<std::uint8_t>(0);
    f.first.operand = at.at("first").at("operand").number<std::int32_t>(0);
    f.second.code = at.at("second").at("operation").number<std::uint8_t>(0);
    f.second.operand = at.at("second").at("operand").number<std::int32_t>(0);
    return f;
}

std::optional<PercentFilling> DocumentReader::filling(const Value& at) const {
    if (at.isNull()) {
        return std::nullopt;
    }
    PercentFilling f;
    f.minPercent = at.at("minPercent").number<std::uint8_t>(0);
    f.maxPercent = at.at("maxPercent").number<std::uint8_t>(100);
    f.direction = at.at("direction").number<std::uint8_t>(0);
    return f;
}

std::vector<ObjectPoint> DocumentReader::points(const Value& at) const {
    std::vector<ObjectPoint> list;
    for (const Value& p : at.items()) {
        if (p.size() != 2) {
            p.fail("must be a pair [x, y]");
        }
        list.push_back(ObjectPoint{p[0].number<std::uint16_t>(0), p[1].number<std::uint16_t>(0)});
    }
    return list;
}

std::unique_ptr<ScreenObject> DocumentReader::object(const Value& at) {
    const Value kindValue = at.required("kind");
    const auto code = Vocabulary::objectKindCode(kindValue.word());
    std::unique_ptr<ScreenObject> o = code ? ScreenObject::create(*code) : nullptr;
    if (!o) {
        kindValue.fail("is no object kind");
    }
    const auto coordinate = [&](std::string_view name) {
        return at.at(name).number<std::int32_t>(0, std::numeric_limits<std::int32_t>::min(),
                                                std::numeric_limits<std::int32_t>::max());
    };
    o->left = coordinate("left");
    o->top = coordinate("top");
    o->right = coordinate("right");
    o->bottom = coordinate("bottom");
    if (o->right < o->left || o->bottom < o->top) {
        at.fail("the right and bottom edges must not lie before the left and top edges");
    }
    o->font = at.at("font").number<std::uint8_t>(0);
    o->colourA = at.at("colourA").number<std::uint8_t>(100);
    o->colourB = at.at("colourB").number<std::uint8_t>(0);
    o->flash = at.at("flash").number<std::uint8_t>(0);
    o->zLevel = at.at("zLevel").number<std::uint8_t>(ScreenObject::kDefaultZLevel);
    o->border = at.at("border").number<std::uint8_t>(0);

    switch (o->kind()) {
    case ObjectKind::Bitmap: {
        const Value picture = at.at("picture");
        if (!picture.isNull()) {
            const auto number = picture.number<std::uint32_t>(0);
            const auto found = pictureIds_.find(number);
            if (found == pictureIds_.end()) {
                picture.fail("names no picture of /pictures");
            }
            static_cast<BitmapObject&>(*o).setPictureId(found->second);
        }
        break;
    }
    case ObjectKind::Text:
        checked(at.at("text"),
                static_cast<TextObject&>(*o).setText(at.at("text").bytes(TextObject::kMaxTextLength)));
        break;
    case ObjectKind::DataEntryCoil:
    case ObjectKind::DisplayCoil:
        checked(at, static_cast<BitTextObject&>(*o).setTexts(
                        at.at("offText").bytes(BitTextObject::kMaxTextLength),
                        at.at("onText").bytes(BitTextObject::kMaxTextLength)));
        break;
    case ObjectKind::DataEntryRegister: {
        auto& d = static_cast<DataEntryRegisterObject&>(*o);
        d.format = format(at.at("format"));
        // A signed entry's limits are signed numbers; the unsigned spelling of the same 32 bits (as older
        // documents hold them) is taken too.
        const std::int64_t lowest = d.format.dataType == 'S' ? std::numeric_limits<std::int32_t>::min() : 0;
        const std::int64_t highest = std::numeric_limits<std::uint32_t>::max();
        d.lowLimit = static_cast<std::uint32_t>(at.at("lowLimit").number<std::int64_t>(0, lowest, highest));
        d.highLimit =
            static_cast<std::uint32_t>(at.at("highLimit").number<std::int64_t>(65535, lowest, highest));
        break;
    }
    case ObjectKind::DisplayRegister: {
        auto& d = static_cast<DisplayRegisterObject&>(*o);
        d.format = format(at.at("format"));
        d.leadingZerosBlank = at.at("leadingZerosBlank").boolean(false);
        break;
    }
    case ObjectKind::DisplayRegisterText: {
        std::vector<RegisterTextRange> ranges;
        for (const Value& r : at.at("ranges").items()) {
            ranges.push_back(
                RegisterTextRange{r.at("from").number<std::int32_t>(0), r.at("to").number<std::int32_t>(0),
                                  r.at("text").bytes(DisplayRegisterTextObject::kMaxTextLength)});
        }
        checked(at.at("ranges"), static_cast<DisplayRegisterTextObject&>(*o).setRanges(ranges));
        break;
    }
    case ObjectKind::Time:
        static_cast<TimeObject&>(*o).format = at.at("format").number<std::uint8_t>(0);
        break;
    case ObjectKind::Date:
        static_cast<DateObject&>(*o).format = at.at("format").number<std::uint8_t>(0);
        break;
    case ObjectKind::Rectangle:
    case ObjectKind::Ellipse:
    case ObjectKind::RoundRectangle:
        static_cast<FilledShapeObject&>(*o).setFilling(filling(at.at("filling")));
        break;
    case ObjectKind::Polyline:
        checked(at.at("points"), static_cast<PolylineObject&>(*o).setPoints(points(at.at("points"))));
        break;
    case ObjectKind::Polygon: {
        auto& p = static_cast<PolygonObject&>(*o);
        checked(at.at("points"), p.setPoints(points(at.at("points"))));
        p.setFilling(filling(at.at("filling")));
        break;
    }
    case ObjectKind::AlarmWindow: {
        AlarmWindowOptions w;
        w.windowOption = at.at("windowOption").number<std::uint8_t>(0);
        w.showHeaders = at.at("showHeaders").boolean(false);
        w.secondWindowOption = at.at("secondWindowOption").number<std::uint8_t>(0);
        for (const Value& c : at.at("columns").items()) {
            w.columns.push_back(AlarmColumn{c.at("type").number<std::uint8_t>(0),
                                            c.at("header").bytes(AlarmWindowObject::kMaxHeaderLength),
                                            c.at("option").number<std::uint8_t>(0)});
        }
        checked(at.at("columns"), static_cast<AlarmWindowObject&>(*o).setOptions(w));
        break;
    }
    case ObjectKind::OldBargraph:
    case ObjectKind::Bargraph: {
        auto& b = static_cast<BargraphObject&>(*o);
        b.direction = at.at("direction").number<std::uint8_t>(0);
        b.minimum = at.at("minimum").number<std::uint16_t>(0);
        b.maximum = at.at("maximum").number<std::uint16_t>(100);
        break;
    }
    case ObjectKind::TouchArea:
    case ObjectKind::Error:
        break;
    }
    o->setShowHide(animation(at.at("showHide"), false));
    o->setFlashAnimation(animation(at.at("flashAnimation"), true));
    if (Tag* tag = tagRef(at.at("tag")); tag != nullptr) {
        o->setTag(tag);
    }
    return o;
}

void DocumentReader::objectTasks(const Value& at, ScreenObject& o) {
    TaskListOwner* owner = o.taskOwner();
    const Value lists = at.at("tasks");
    if (owner == nullptr) {
        if (!lists.isNull()) {
            lists.fail("only touch areas have task lists");
        }
        return;
    }
    for (std::size_t l = 0; l < 3; ++l) {
        tasks(lists.at(Vocabulary::kKeyLists[l]), *owner, l);
    }
}

void DocumentReader::screen(const Value& at) {
    const auto number = at.required("number").number<std::uint32_t>(0, 1, Screen::kMaxNumber);
    auto made = std::make_unique<Screen>(number);
    made->name = at.at("name").bytes(Screen::kMaxNameLength);
    if (!made->name.empty() && !screenNames_.insert(made->name).second) {
        at.at("name").fail("is the name of another screen");
    }
    made->description = at.at("description").bytes(Screen::kMaxDescriptionLength);
    made->password = at.at("password").number<std::uint16_t>(0, 0, Screen::kMaxPassword);
    const Value type = at.at("type");
    if (!type.isNull()) {
        const auto code = Vocabulary::screenTypeCode(type.word());
        if (!code) {
            type.fail("must be display, printOnly or both");
        }
        made->type = static_cast<ScreenType>(*code);
    }
    const Value associated = at.at("associated");
    if (!associated.isNull()) {
        made->setAssociated(associated.number<std::uint16_t>(0));
    }
    Screen* s = checked(at, app_->addScreen(std::move(made)));
    std::vector<ScreenObject*> placed;
    const Value objects = at.at("objects");
    for (const Value& item : objects.items()) {
        ScreenObject* o = checked(item, s->appendObject(object(item)));
        objectTasks(item, *o);
        placed.push_back(o);
    }
    for (const Value& ring : at.at("groups").items()) {
        std::vector<ScreenObject*> members;
        for (const Value& member : ring.items()) {
            const auto position = member.number<std::size_t>(0, 1, static_cast<std::int64_t>(placed.size()));
            members.push_back(placed[position - 1]);
        }
        checked(ring, s->group(members));
    }
    const Value lists = at.at("tasks");
    for (std::size_t l = 0; l < 3; ++l) {
        tasks(lists.at(Vocabulary::kScreenLists[l]), *s, l);
    }
    for (const Value& k : at.at("keys").items()) {
        key(k, s);
    }
}

void DocumentReader::node(const Value& at) {
    const auto number = at.required("number").number<std::uint8_t>(0);
    const Value kindValue = at.required("kind");
    const auto kind = Vocabulary::nodeKindCode(kindValue.word());
    if (!kind) {
        kindValue.fail("must be unit, plc or plcWithSpecial");
    }
    const auto plcId = at.at("plcId").number<std::uint8_t>(0);
    std::unique_ptr<Node> made;
    if (*kind == static_cast<std::uint8_t>(NodeKind::Unit)) {
        made = Node::createUnitNode();
        if (!made->setNumber(number)) {
            at.at("number").fail("can not be the unit's node number");
        }
    } else {
        // A PLC node takes its catalog file, PLC name and model names from the catalogs, as opening a file
        // does; the document names only the PLC and the model.
        const auto file = context_.catalogs.findCatalogFile(plcId);
        const auto names = file ? context_.catalogs.modelNames(plcId) : std::nullopt;
        if (!file || !names) {
            at.at("plcId").fail("PLC " + std::to_string(plcId) + " has no readable catalog file in " +
                                context_.catalogs.directory().string());
        }
        made = std::make_unique<Node>(static_cast<NodeKind>(*kind), number);
        made->plcFile = file->recordedPath;
        made->modelNames = *names;
        if (auto list = context_.catalogs.supportedList()) {
            made->plcName = list->nameOf(plcId).value_or(std::string());
        }
    }
    made->plcId = plcId;
    made->modelIndex = at.at("modelIndex").number<std::uint8_t>(1);
    made->modelCode = at.at("modelCode").character('5');
    made->name = at.at("name").bytes(39, made->name);
    if (!made->name.empty() && !nodeNames_.insert(made->name).second) {
        at.at("name").fail("is the name of another node");
    }
    const Value special = at.at("specialData");
    if (!special.isNull()) {
        if (special.size() != 3) {
            special.fail("must hold three bytes");
        }
        made->setSpecialData({special[0].number<std::uint8_t>(0), special[1].number<std::uint8_t>(0),
                              special[2].number<std::uint8_t>(0)});
    }
    Node* node = checked(at, app_->addNode(std::move(made)));
    for (const Value& b : at.at("blocks").items()) {
        const std::string address = b.required("address").bytes(Block::kMaxAddressLength);
        if (address.empty()) {
            b.at("address").fail("must not be empty");
        }
        auto block = std::make_unique<Block>(address, b.at("size").number<std::uint8_t>(1));
        block->attribute = b.at("attribute").number<std::uint8_t>(0);
        block->name = b.at("name").bytes(Block::kMaxNameLength);
        block->prefix = b.at("prefix").bytes(Block::kMaxPrefixLength);
        Block* added = checked(b, app_->addBlock(*node, std::move(block)));
        for (const Value& t : b.at("tags").items()) {
            TagValues values;
            values.address = t.required("address").bytes(Tag::kMaxAddressLength);
            const auto type = Vocabulary::tagTypeCode(t.required("type").word());
            if (!type) {
                t.at("type").fail("must be coil, register or registerBit");
            }
            values.type = *type;
            const Value rw = t.at("readWrite");
            if (!rw.isNull()) {
                const auto code = Vocabulary::readWriteCode(rw.word());
                if (!code) {
                    rw.fail("must be readOnly, writeOnly or readWrite");
                }
                values.readWrite = *code;
            }
            values.bit = t.at("bit").number<std::uint8_t>(0);
            if (values.type == tag_type::kRegisterBit) {
                values.address = storedBitAddress(t.at("address"), values.address, values.bit);
            }
            values.size = t.at("bytes").number<std::uint8_t>(values.type == tag_type::kRegister ? 2 : 0);
            values.byteSelect = t.at("byteSelect").number<std::uint8_t>(0);
            values.attribute = t.at("attribute").number<std::uint8_t>(0);
            values.name = t.at("name").bytes(Tag::kMaxNameBytes);
            if (!values.name.empty() && !tagNames_.insert(values.name).second) {
                t.at("name").fail("is the name of another tag");
            }
            Tag* tag = checked(t, app_->addTag(*added, values));
            tag->prefix = t.at("prefix").bytes(Block::kMaxPrefixLength, tag->prefix);
        }
    }
}

void DocumentReader::alarms(const Value& at) {
    if (at.isNull()) {
        return;
    }
    AlarmTable& table = app_->alarmTable();
    checked(at.at("tagMode"),
            table.setTagMode(at.at("tagMode").number<std::uint8_t>(AlarmTable::kConsecutive)));
    for (const Value& g : at.at("groups").items()) {
        const auto group = g.required("group").number<std::size_t>(0, 0, AlarmTable::kGroups - 1);
        checked(g, table.setGroupTag(group, tagRef(g.at("tag"))));
    }
    const std::size_t limit = AlarmTable::textLimit(modelClass(app_->modelId()));
    for (const Value& a : at.at("texts").items()) {
        const auto alarm = a.required("alarm").number<std::size_t>(0, 0, AlarmTable::kAlarms - 1);
        const std::string text = a.required("text").bytes(AlarmTable::kMaxTextLength);
        if (text.size() > limit) {
            a.at("text").fail("must have at most " + std::to_string(limit) +
                              " characters on this panel model");
        }
        if (!table.text(alarm).empty()) {
            a.at("alarm").fail("is given a text twice");
        }
        checked(a.at("text"), table.setText(alarm, text, limit));
        checked(a.at("options"), table.setOptions(alarm, a.at("options").number<std::uint8_t>(0)));
    }
    app_->recomputeAlarmBytes();
}

void DocumentReader::logger(const Value& at) {
    if (at.isNull()) {
        return;
    }
    LoggerSettings& l = app_->logger();
    l.memorySize = at.at("memorySize").number<std::uint8_t>(l.memorySize);
    l.frequency = at.at("frequency").number<std::uint8_t>(l.frequency);
    l.frequencyUnit = at.at("frequencyUnit").number<std::uint8_t>(l.frequencyUnit);
    l.whenFull = at.at("whenFull").number<std::uint8_t>(l.whenFull);
    l.startAtPowerUp = at.at("startAtPowerUp").number<std::uint8_t>(l.startAtPowerUp);
    l.useStartTime = at.at("useStartTime").number<std::uint8_t>(l.useStartTime);
    l.useStopTime = at.at("useStopTime").number<std::uint8_t>(l.useStopTime);
    l.option = at.at("option").number<std::uint8_t>(l.option);
    l.pageHeader = at.at("pageHeader").bytes(LoggerSettings::kMaxPageHeaderLength, l.pageHeader);
    l.option2 = at.at("option2").number<std::uint8_t>(l.option2);
    l.separator = at.at("separator").character(l.separator);
    for (const Value& t : at.at("tags").items()) {
        Tag* tag = tagRef(t);
        if (tag == nullptr) {
            t.fail("must name a tag");
        }
        l.tags.push_back(tag);
    }
    l.headerRegister = tagRef(at.at("headerRegister"));
}

void DocumentReader::pictures(const Value& at) {
    const std::vector<Value> list = at.items();
    if (list.empty()) {
        return;
    }
    if (!storesBitmaps(app_->modelId())) {
        at.fail("this panel model keeps no pictures in its applications");
    }
    if (context_.pictures == nullptr) {
        at.fail("no picture library to take the pictures");
    }
    for (const Value& p : list) {
        const auto number = p.required("picture").number<std::uint32_t>(0, 1, PictureLibrary::kMaxPictures);
        const auto width = p.required("width").number<std::uint16_t>(0, 1, 0xFFFF);
        const auto height = p.required("height").number<std::uint16_t>(0, 1, 0xFFFF);
        if (!PictureRecord::fits(width, height)) {
            p.fail("is larger than a picture of the library can be");
        }
        const Value rows = p.required("rows");
        if (rows.size() != height) {
            rows.fail("must hold one row per pixel line (" + std::to_string(height) + ")");
        }
        const std::uint32_t rowBytes = PictureRecord::rowBytes(width);
        std::vector<std::uint8_t> bytes(std::size_t{rowBytes} * height, 0);
        for (std::uint32_t y = 0; y < height; ++y) {
            const Value row = rows[y];
            const std::string line = row.word();
            const std::size_t bar = line.find(Vocabulary::kPadding);
            const std::string pixels = line.substr(0, bar);
            const std::string padding = bar == std::string::npos ? std::string() : line.substr(bar + 1);
            if (pixels.size() != width ||
                (bar != std::string::npos && padding.size() != rowBytes * 8U - width)) {
                row.fail("must hold " + std::to_string(width) + " pixels of '#' and '.'");
            }
            const std::string all = pixels + padding;
            for (std::size_t x = 0; x < all.size(); ++x) {
                if (all[x] == Vocabulary::kLit) {
                    bytes[y * rowBytes + x / 8] |= static_cast<std::uint8_t>(0x80U >> (x % 8));
                } else if (all[x] != Vocabulary::kDark) {
                    row.fail("must hold only '#' (lit) and '.' (dark)");
                }
            }
        }
        if (pictureIds_.count(number) != 0) {
            p.at("picture").fail("is the number of another picture");
        }
        auto stored = context_.pictures->storePicture(PictureRecord(width, height, std::move(bytes)));
        if (!stored) {
            p.fail(stored.message());
        }
        pictureIds_.emplace(number, *stored);
    }
}

void DocumentReader::usedPictureBytes(const Value& at) {
    if (!storesBitmaps(app_->modelId()) || context_.pictures == nullptr || !context_.pictures->exists()) {
        return;
    }
    // The picture section holds the pictures the bitmap objects show, as after opening the application file.
    const Application& app = *app_;
    const Status flags = context_.pictures->updateUsedFlags(
        [&app](std::uint32_t picture) { return app.isPictureUsed(picture); });
    checked(at, flags);
    const auto used = context_.pictures->usedPictureBytes();
    if (!used) {
        at.fail(used.message());
    }
    app_->setPictureBytes(*used);
}

void DocumentReader::info(const Value& at) {
    ApplicationInfo& info = app_->info();
    info.title = at.at("title").bytes(ApplicationInfo::kMaxTitleLength);
    info.author = at.at("author").bytes(ApplicationInfo::kMaxAuthorLength);
    info.description = at.at("description").bytes(ApplicationInfo::kMaxDescriptionLength);
    const Value stamp = at.at("lastEdited");
    if (!stamp.isNull()) {
        const std::string text = stamp.word();
        CalendarTime& t = info.lastEdited;
        int year = 0, month = 0, day = 0, hour = 0, minute = 0, second = 0;
        char end = 0;
        if (text.size() != 19 ||
            std::sscanf(text.c_str(), "%4d-%2d-%2d %2d:%2d:%2d%c", &year, &month, &day, &hour, &minute,
                        &second, &end) != 6 ||
            month < 1 || month > 12 || day < 0 || day > 31 || hour > 23 || minute > 59 || second > 60 ||
            hour < 0 || minute < 0 || second < 0 || year < 0) {
            stamp.fail("must be a time \"YYYY-MM-DD hh:mm:ss\"");
        }
        t.year = year;
        t.month = month - 1;
        t.day = day;
        t.hour = hour;
        t.minute = minute;
        t.second = second;
    }
}

void DocumentReader::unitSettings(const Value& at) {
    UnitSettings& u = app_->unitSettings();
    for (auto [name, field] : {std::pair<const char*, std::uint8_t*>{"memoryOption", &u.memoryOption},
                               {"touchScreen", &u.touchScreen},
                               {"extendedKeypad", &u.extendedKeypad},
                               {"keypadRows", &u.keypadRows},
                               {"keypadColumns", &u.keypadColumns},
                               {"inputWords", &u.inputWords},
                               {"outputWords", &u.outputWords},
                               {"printerBaud", &u.printerBaud},
                               {"printerBits", &u.printerBits},
                               {"printerParity", &u.printerParity},
                               {"printerColumns", &u.printerColumns},
                               {"printerTerminator", &u.printerTerminator},
                               {"keypadQueueSize", &u.keypadQueueSize},
                               {"queueFullIgnore", &u.queueFullIgnore},
                               {"floatWordOrder", &u.floatWordOrder}}) {
        *field = at.at(name).number<std::uint8_t>(*field);
    }
}

std::unique_ptr<Application> DocumentReader::run() {
    if (!root_.json().is_object()) {
        root_.fail("the document must be a JSON object");
    }
    const Value format = root_.required("format");
    if (!format.json().is_string() || format.word() != Vocabulary::kFormat) {
        format.fail("must be \"" + std::string(Vocabulary::kFormat) + "\"");
    }
    const Value version = root_.required("version");
    if (version.integer(0, std::numeric_limits<std::int32_t>::max()) != Vocabulary::kVersion) {
        version.fail("must be " + std::to_string(Vocabulary::kVersion) +
                     "; this tool reads no other version");
    }
    const Value model = root_.required("model");
    const auto modelId = model.number<std::uint16_t>(0);
    if (findPanelModel(modelId) == nullptr) {
        model.fail("is no panel model");
    }
    app_ = Application::create(modelId, context_.prompter);
    if (!app_) {
        model.fail("Can't start new application.");
    }
    const Value password = root_.at("password");
    if (!app_->setPassword(password.bytes(Application::kPasswordLength))) {
        password.fail("must have at most 8 characters");
    }
    info(root_.at("info"));
    unitSettings(root_.at("unitSettings"));
    for (const Value& n : root_.at("nodes").items()) {
        node(n);
    }
    app_->renumber();
    tasks(root_.at("powerOnTasks"), app_->applicationLists(), Application::kPowerOn);
    tasks(root_.at("globalTasks"), app_->applicationLists(), Application::kGlobal);
    for (const Value& k : root_.at("globalKeys").items()) {
        key(k, nullptr);
    }
    pictures(root_.at("pictures"));
    for (const Value& s : root_.at("screens").items()) {
        screen(s);
    }
    alarms(root_.at("alarms"));
    logger(root_.at("logger"));
    app_->renumber();
    usedPictureBytes(root_.at("pictures"));
    return std::move(app_);
}

} // namespace

Result<std::unique_ptr<Application>> TextFormReader::read(std::string_view text,
                                                          const TextFormContext& context) {
    using Made = Result<std::unique_ptr<Application>>;
    if (text.size() > kMaxTextBytes) {
        return Made::fail("The document is larger than any application (" + std::to_string(kMaxTextBytes) +
                          " bytes).");
    }
    if (tooDeep(text, kMaxDepth)) {
        return Made::fail("The document nests deeper than an application (" + std::to_string(kMaxDepth) +
                          " levels).");
    }
    Json root;
    try {
        root = Json::parse(text.begin(), text.end());
    } catch (const Json::exception& e) {
        // A syntax error, and a number no double holds (1e400, a hundred thousand digits).
        std::string what = e.what();
        // The library's own prefix ("[json.exception.parse_error.101] ") says nothing to a user.
        if (const auto close = what.find("] ");
            what.starts_with("[json.exception") && close != std::string::npos) {
            what.erase(0, close + 2);
        }
        return Made::fail("The document is not valid JSON: " + what);
    } catch (const std::bad_alloc&) {
        return Made::fail("The document is too large for the memory available.");
    }
    if (const auto duplicate = duplicateKey(text)) {
        return Made::fail("line " + std::to_string(duplicate->line) + ": the key " +
                          Json(duplicate->key).dump() + " is given twice in one object.");
    }
    try {
        DocumentReader reader(root, context);
        return reader.run();
    } catch (const DocumentError& e) {
        return Made::fail(e.path + ": " + e.message);
    } catch (const std::bad_alloc&) {
        return Made::fail("The document is too large for the memory available.");
    } catch (const Json::exception& e) {
        return Made::fail(std::string("The document could not be read: ") + e.what());
    }
}

} // namespace quillon
