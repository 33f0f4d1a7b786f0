#include "persist/ApplicationReader.h"

#include "model/AlarmTable.h"
#include "model/Application.h"
#include "model/BitmapObject.h"
#include "model/Block.h"
#include "model/KeyDefinition.h"
#include "model/Node.h"
#include "model/Screen.h"
#include "model/ScreenObject.h"
#include "model/Tag.h"
#include "model/Task.h"
#include "model/TextFormat.h"
#include "persist/ByteReader.h"
#include "persist/ExtensionSection.h"
#include "persist/ObjectRecordReader.h"
#include "persist/ObjectTagCoder.h"
#include "persist/OvmLayout.h"
#include "persist/PictureLibrary.h"
#include "persist/RegisterPositions.h"
#include "persist/TraceFile.h"
#include "plc/PlcCatalogFiles.h"

#include <algorithm>
#include <fstream>
#include <map>
#include <new>
#include <set>
#include <vector>

namespace quillon {

namespace {

constexpr std::string_view kCantCreateNode = "Can't create new node.";
constexpr std::string_view kCantCreateBlock = "Can't create new block.";
constexpr std::string_view kCantCreateTag = "Can't create new Tag.";

struct Header {
    std::uint32_t applicationSize = 0;
    std::uint16_t modelId = 0;
    std::uint16_t nodes = 0;
    std::uint16_t tags = 0;
    std::uint16_t screens = 0;
    std::uint16_t globalKeys = 0;
    std::uint16_t alarmTexts = 0;
    std::uint16_t powerOnTasks = 0;
    std::uint16_t globalTasks = 0;
    std::uint32_t networkBytes = 0;
    std::uint32_t tagBytes = 0;
    std::uint32_t screenBytes = 0;
    std::uint32_t globalKeyBytes = 0;
    std::uint16_t alarmBytes = 0;
    std::uint16_t powerOnBytes = 0;
    std::uint16_t globalTaskBytes = 0;
    std::uint16_t loggerBytes = 0;
    std::uint16_t globalReadListBytes = 0;
    std::uint32_t pictureBytes = 0;
};

bool readHeader(ByteReader& in, Header& h) {
    return in.u32(h.applicationSize) && in.u16(h.modelId) && in.u16(h.nodes) && in.u16(h.tags) &&
           in.u16(h.screens) && in.u16(h.globalKeys) && in.u16(h.alarmTexts) && in.u16(h.powerOnTasks) &&
           in.u16(h.globalTasks) && in.u32(h.networkBytes) && in.u32(h.tagBytes) && in.u32(h.screenBytes) &&
           in.u32(h.globalKeyBytes) && in.u16(h.alarmBytes) && in.u16(h.powerOnBytes) &&
           in.u16(h.globalTaskBytes) && in.u16(h.loggerBytes) && in.u16(h.globalReadListBytes) &&
           in.u32(h.pictureBytes);
}

// Key lists' error numbers: Press, Pressed, Released.
constexpr std::array<int, 3> kGlobalKeyErrors{ovm_error::kKeyPress, ovm_error::kKeyPressed,
                                              ovm_error::kKeyReleased};
constexpr std::array<int, 3> kScreenKeyErrors{ovm_error::kScreenKeyPress, ovm_error::kScreenKeyPressed,
                                              ovm_error::kScreenKeyReleased};

// One reading of one image: the steps in file order, each failing with its error number.
class ImageReader final {
public:
    ImageReader(std::span<const std::uint8_t> bytes, const ReadContext& context)
        : in_(bytes), context_(context), trace_(context.traceFolder, TraceFile::kReaderTrace),
          positions_(context.catalogs, context.prompter) {}

    Result<std::unique_ptr<Application>> run();

private:
    using Outcome = Status;
    static Outcome error(int number) { return Status::fail("", number); }
    // The bytes a section or record took must be those its header or length field gives: a difference
    // means the counts and the contents disagree, and the unit, which goes by the totals, would read the
    // image out of place. Records are read by their counts first, so that a damaged record is reported by
    // its own number; the first disagreement is reported once every record has been read.
    void agree(std::string_view what, std::size_t start, std::uint64_t promised, int number) {
        const std::size_t took = in_.position() - start;
        if (took != promised && !disagreement_) {
            disagreement_ = Failure{std::string(what) + " took " + std::to_string(took) +
                                        " bytes where the header gives " + std::to_string(promised) + ".",
                                    number};
        }
    }

    Outcome settings();
    Outcome network();
    Outcome node(Application& app);
    Outcome readList(std::uint32_t length, ReadList& list);
    Outcome tasks(TaskListOwner& owner, std::size_t list, std::size_t count, int shortError);
    Outcome key(KeyHost* screen, const std::array<int, 3>& errors);
    Outcome screens();
    Outcome screen();
    Outcome alarms();
    Outcome pictures();
    const CatalogFile* catalogFile(int plcId);

    ByteReader in_;
    const ReadContext& context_;
    TraceFile trace_;
    RegisterPositions positions_;
    Header header_;
    std::unique_ptr<Application> app_;
    std::unique_ptr<ObjectTagCoder> coder_;
    std::uint32_t extensionOffset_ = 0;
    std::optional<Failure> disagreement_;
    // Bitmap objects by the image offset of their picture's data.
    std::vector<std::pair<BitmapObject*, std::uint32_t>> bitmaps_;
    std::map<int, std::optional<CatalogFile>> catalogFiles_;
    std::map<int, std::optional<std::vector<std::string>>> modelNames_;
    std::map<int, std::string> plcNames_;
};

TagLookup lookupIn(Application& app) {
    return [&app](std::uint8_t node, std::uint16_t block, std::uint8_t index) {
        return app.findTag(node, block, index);
    };
}

Result<std::unique_ptr<Application>> ImageReader::run() {
    if (!readHeader(in_, header_)) {
        return Failure{"", 0};
    }
    app_ = Application::create(header_.modelId, context_.prompter);
    if (!app_) {
        return Failure{"", 0};
    }
    coder_ = std::make_unique<ObjectTagCoder>(*app_, positions_, &trace_);
    if (Outcome s = settings(); !s) {
        return s.failure();
    }
    std::size_t start = in_.position();
    if (Outcome s = network(); !s) {
        return s.failure();
    }
    agree("The network", start, header_.networkBytes, ovm_error::kNode);
    app_->renumber();
    if (header_.globalReadListBytes != 0) {
        if (Outcome s = readList(header_.globalReadListBytes, app_->loadedReadList()); !s) {
            return s.failure();
        }
    }
    start = in_.position();
    if (Outcome s = tasks(app_->applicationLists(), Application::kPowerOn, header_.powerOnTasks, 0); !s) {
        return s.failure();
    }
    agree("The power-on list", start, header_.powerOnBytes, kErrorTaskList);
    start = in_.position();
    if (Outcome s = tasks(app_->applicationLists(), Application::kGlobal, header_.globalTasks, 0); !s) {
        return s.failure();
    }
    agree("The global list", start, header_.globalTaskBytes, kErrorTaskList);
    start = in_.position();
    for (std::uint16_t k = 0; k < header_.globalKeys; ++k) {
        if (Outcome s = key(nullptr, kGlobalKeyErrors); !s) {
            return s.failure();
        }
    }
    agree("The global keys", start, header_.globalKeyBytes, ovm_error::kKeyMismatch);
    start = in_.position();
    if (Outcome s = screens(); !s) {
        return s.failure();
    }
    agree("The screens", start, header_.screenBytes, ovm_error::kScreen);
    start = in_.position();
    if (Outcome s = alarms(); !s) {
        return s.failure();
    }
    if (header_.alarmTexts != 0) {
        agree("The alarms", start, header_.alarmBytes, ovm_error::kAlarms);
    }
    if (!in_.skip(OvmLayout::kLoggerBytes)) {
        return Failure{"", ovm_error::kLogger};
    }
    // The picture data follows the records and ends the application; the header's two sizes must say so.
    const std::uint64_t recordsEnd = in_.position() + std::uint64_t{header_.pictureBytes};
    const std::size_t picturesStart = in_.position();
    if (Outcome s = pictures(); !s) {
        return s.failure();
    }
    if (recordsEnd != header_.applicationSize && !disagreement_) {
        disagreement_ = Failure{"The records end at offset " + std::to_string(recordsEnd) +
                                    " where the header gives an application size of " +
                                    std::to_string(header_.applicationSize) + ".",
                                ovm_error::kBitmap};
    }
    if (header_.pictureBytes > in_.size() - picturesStart && !disagreement_) {
        disagreement_ =
            Failure{"The image ends at offset " + std::to_string(in_.size()) + " inside the picture data (" +
                        std::to_string(header_.pictureBytes) + " bytes given).",
                    ovm_error::kBitmap};
    }
    if (disagreement_) {
        return *disagreement_;
    }
    if (extensionOffset_ != 0 && in_.seek(extensionOffset_)) {
        ExtensionSection::read(in_, *app_);
    }
    app_->renumber();
    return std::move(app_);
}

Status ImageReader::settings() {
    std::span<const std::uint8_t> s;
    if (!in_.bytes(OvmLayout::kSettingsBytes, s)) {
        return error(ovm_error::kSettings);
    }
    std::string password;
    for (std::size_t i = 0; i < OvmLayout::kPasswordBytes && s[i] != 0; ++i) {
        password.push_back(static_cast<char>(s[i]));
    }
    if (!password.empty()) {
        for (;;) {
            std::optional<std::string> entry = context_.password ? context_.password() : std::nullopt;
            if (!entry) {
                return Status::fail("", 0);
            }
            // The dialog's field takes at most eight characters.
            entry->resize(std::min(entry->size(), OvmLayout::kPasswordBytes));
            if (*entry == password) {
                break;
            }
            context_.prompter.error(ApplicationReader::kIncorrectPassword);
        }
        (void)app_->setPassword(password);
    }
    std::array<std::uint8_t, UnitSettings::kSettingBytes> unit{};
    std::copy_n(s.begin() + OvmLayout::kUnitSettingsOffset, unit.size(), unit.begin());
    app_->unitSettings().fromBytes(unit);
    const auto e = s.subspan(OvmLayout::kExtensionFieldOffset, 4);
    extensionOffset_ = static_cast<std::uint32_t>(e[0]) | (static_cast<std::uint32_t>(e[1]) << 8) |
                       (static_cast<std::uint32_t>(e[2]) << 16) | (static_cast<std::uint32_t>(e[3]) << 24);
    app_->unitSettings().extensionOffset = extensionOffset_;
    return Status::success();
}

const CatalogFile* ImageReader::catalogFile(int plcId) {
    auto it = catalogFiles_.find(plcId);
    if (it == catalogFiles_.end()) {
        // A node is rebuilt only for a PLC the user has selected to work with: the name comes from the
        // selected list, whose lookup tells the user when the PLC is not there.
        std::optional<std::string> name = context_.catalogs.plcNameOfId(plcId);
        std::optional<CatalogFile> file;
        if (name) {
            file = context_.catalogs.findCatalogFile(plcId);
        }
        it = catalogFiles_.emplace(plcId, std::move(file)).first;
        modelNames_.emplace(plcId, it->second ? context_.catalogs.modelNames(plcId) : std::nullopt);
        plcNames_.emplace(plcId, name.value_or(std::string()));
    }
    return it->second && modelNames_[plcId] ? &*it->second : nullptr;
}

Status ImageReader::network() {
    for (std::uint16_t n = 0; n < header_.nodes; ++n) {
        if (Outcome s = node(*app_); !s) {
            return s;
        }
    }
    return Status::success();
}

Status ImageReader::node(Application& app) {
    std::uint32_t entryLength = 0;
    std::uint8_t kind = 0;
    std::uint8_t number = 0;
    std::uint8_t plcId = 0;
    std::uint8_t modelIndex = 0;
    std::uint8_t modelCode = 0;
    std::array<std::uint8_t, 3> special{};
    std::uint16_t blockCount = 0;
    if (!(in_.u32(entryLength) && in_.u8(kind) && in_.u8(number) && in_.u8(plcId) && in_.u8(modelIndex) &&
          in_.u8(modelCode) && in_.u8(special[0]) && in_.u8(special[1]) && in_.u8(special[2]) &&
          in_.u16(blockCount)) ||
        kind > static_cast<std::uint8_t>(NodeKind::PlcWithSpecial)) {
        return error(ovm_error::kNode);
    }
    std::unique_ptr<Node> created;
    try {
        if (kind == static_cast<std::uint8_t>(NodeKind::Unit)) {
            created = Node::createUnitNode();
            if (!created->setNumber(number)) {
                return error(ovm_error::kNode);
            }
        } else {
            const CatalogFile* file = catalogFile(plcId);
            if (file == nullptr) {
                return error(ovm_error::kNode);
            }
            created = std::make_unique<Node>(static_cast<NodeKind>(kind), number);
            created->plcFile = file->recordedPath;
            created->modelNames = *modelNames_[plcId];
            created->plcName = plcNames_[plcId];
        }
        created->plcId = plcId;
        created->modelIndex = modelIndex;
        created->modelCode = static_cast<char>(modelCode);
        created->setSpecialData(special);
    } catch (const std::bad_alloc&) {
        context_.prompter.error(kCantCreateNode);
        return error(ovm_error::kNode);
    }
    auto added = app.addNode(std::move(created));
    if (!added) {
        return error(ovm_error::kNode);
    }
    Node& node = **added;
    const Block* previous = nullptr;
    for (std::uint16_t b = 0; b < blockCount; ++b) {
        std::uint16_t blockLength = 0;
        std::string address;
        std::uint8_t size = 0;
        std::uint8_t tagCount = 0;
        std::uint8_t attribute = 0;
        // The address length is taken from the record itself, so a block of any address width reads back.
        if (!(in_.u16(blockLength) && in_.text8(address) && in_.u8(size) && in_.u8(tagCount) &&
              in_.u8(attribute))) {
            return error(ovm_error::kBlock);
        }
        // Tag references count blocks in file order, which must be the node's order for them to hold.
        if (previous != nullptr && address < previous->address()) {
            return error(ovm_error::kBlock);
        }
        Block* block = nullptr;
        try {
            auto made = std::make_unique<Block>(address, size);
            made->attribute = attribute;
            auto addedBlock = app.addBlock(node, std::move(made));
            if (!addedBlock) {
                return error(ovm_error::kBlock);
            }
            block = *addedBlock;
        } catch (const std::bad_alloc&) {
            context_.prompter.error(kCantCreateBlock);
            return error(ovm_error::kBlock);
        }
        previous = block;
        const Tag* previousTag = nullptr;
        for (std::uint8_t t = 0; t < tagCount; ++t) {
            std::uint8_t length = 0;
            std::span<const std::uint8_t> record;
            if (!in_.u8(length) || length < 6 || !in_.bytes(length, record)) {
                return error(ovm_error::kTag);
            }
            TagValues values;
            values.attribute = record[0];
            values.type = static_cast<char>(record[1]);
            values.readWrite = static_cast<char>(record[2]);
            values.bit = record[3];
            values.size = record[4];
            values.byteSelect = record[5];
            values.address.assign(reinterpret_cast<const char*>(record.data() + 6), record.size() - 6);
            if (previousTag != nullptr && values.address < previousTag->address()) {
                return error(ovm_error::kTag);
            }
            try {
                auto tag = app.addTag(*block, values);
                if (!tag) {
                    return error(ovm_error::kTag);
                }
                previousTag = *tag;
            } catch (const std::bad_alloc&) {
                context_.prompter.error(kCantCreateTag);
                return error(ovm_error::kTag);
            }
        }
    }
    return Status::success();
}

Status ImageReader::readList(std::uint32_t length, ReadList& list) {
    if (length == 0) {
        return Status::success();
    }
    std::span<const std::uint8_t> bytes;
    if (length < 5 || !in_.bytes(length, bytes)) {
        return error(ovm_error::kReadList);
    }
    ByteReader section(bytes);
    while (!section.atEnd()) {
        std::uint8_t node = 0;
        std::uint16_t count = 0;
        if (!section.u8(node) || !section.u16(count) || count == 0 ||
            section.remaining() < std::size_t{count} * 2) {
            return error(ovm_error::kReadList);
        }
        for (std::uint16_t i = 0; i < count; ++i) {
            std::uint16_t index = 0;
            (void)section.u16(index);
            Block* block = app_->findBlock(node, index);
            if (block == nullptr) {
                return error(ovm_error::kReadList);
            }
            if (!list.contains(*block)) {
                (void)list.enter(*block);
            }
        }
    }
    return Status::success();
}

Status ImageReader::tasks(TaskListOwner& owner, std::size_t list, std::size_t count, int shortError) {
    const TagLookup lookup = lookupIn(*app_);
    for (std::size_t t = 0; t < count; ++t) {
        auto decoded = decodeTask(in_.rest(), lookup);
        if (!decoded) {
            const int code = shortError != 0 ? shortError : decoded.code();
            return Status::fail(decoded.message(), code);
        }
        if (!app_->appendTask(owner, list, decoded->task)) {
            return error(shortError != 0 ? shortError : kErrorTaskList);
        }
        (void)in_.skip(decoded->consumed);
    }
    return Status::success();
}

Status ImageReader::key(KeyHost* screenHost, const std::array<int, 3>& errors) {
    std::uint32_t entryLength = 0;
    std::uint16_t code = 0;
    std::uint8_t interrupt = 0;
    std::uint16_t password = 0;
    std::array<std::uint16_t, 3> counts{};
    std::array<std::uint16_t, 3> bytes{};
    if (!(in_.u32(entryLength) && in_.u16(code) && in_.u8(interrupt) && in_.u16(password) &&
          in_.u16(counts[0]) && in_.u16(counts[1]) && in_.u16(counts[2]) && in_.u16(bytes[0]) &&
          in_.u16(bytes[1]) && in_.u16(bytes[2]))) {
        return Status::fail("", 0);
    }
    auto made = std::make_unique<KeyDefinition>(code);
    made->interrupt = interrupt;
    made->password = password;
    Result<KeyDefinition*> added = screenHost != nullptr
                                       ? app_->addKey(static_cast<Screen&>(*screenHost), std::move(made))
                                       : app_->addGlobalKey(std::move(made));
    if (!added) {
        return error(ovm_error::kKeyMismatch);
    }
    KeyDefinition& key = **added;
    for (std::size_t l = 0; l < 3; ++l) {
        if (Outcome s = tasks(key, l, counts[l], errors[l]); !s) {
            return s;
        }
    }
    if (key.entryLength() != entryLength || key.taskList(0).bytes() != bytes[0] ||
        key.taskList(1).bytes() != bytes[1] || key.taskList(2).bytes() != bytes[2]) {
        return error(ovm_error::kKeyMismatch);
    }
    return Status::success();
}

Status ImageReader::screens() {
    for (std::uint16_t s = 0; s < header_.screens; ++s) {
        if (Outcome o = screen(); !o) {
            return o;
        }
    }
    return Status::success();
}

Status ImageReader::screen() {
    const std::size_t start = in_.position();
    std::uint32_t entryLength = 0;
    std::uint16_t number = 0;
    std::uint16_t password = 0;
    std::uint8_t objectCount = 0;
    std::uint8_t type = 0;
    std::uint16_t keyCount = 0;
    std::array<std::uint16_t, 3> taskCounts{};
    std::uint32_t objectBytes = 0;
    std::uint32_t keyBytes = 0;
    std::array<std::uint16_t, 3> taskBytes{};
    std::uint8_t reserved = 0;
    std::uint16_t readListBytes = 0;
    std::uint8_t associatedCount = 0;
    if (!(in_.u32(entryLength) && in_.u16(number) && in_.u16(password) && in_.u8(objectCount) &&
          in_.u8(type) && in_.u16(keyCount) && in_.u16(taskCounts[0]) && in_.u16(taskCounts[1]) &&
          in_.u16(taskCounts[2]) && in_.u32(objectBytes) && in_.u32(keyBytes) && in_.u16(taskBytes[0]) &&
          in_.u16(taskBytes[1]) && in_.u16(taskBytes[2]) && in_.u8(reserved) && in_.u16(readListBytes) &&
          in_.u8(associatedCount))) {
        return error(ovm_error::kScreen);
    }
    // The model keeps one associated screen, as the tool has always written.
    std::optional<std::uint16_t> associated;
    if (associatedCount > 1 || type > static_cast<std::uint8_t>(ScreenType::Both)) {
        return error(ovm_error::kScreen);
    }
    if (associatedCount == 1) {
        std::uint16_t value = 0;
        if (!in_.u16(value)) {
            return error(ovm_error::kScreen);
        }
        associated = value;
    }
    auto made = std::make_unique<Screen>(number);
    made->password = password;
    made->type = static_cast<ScreenType>(type);
    made->setAssociated(associated);
    auto added = app_->addScreen(std::move(made));
    if (!added) {
        return error(ovm_error::kScreen);
    }
    Screen& screen = **added;
    if (Outcome s = readList(readListBytes, screen.loadedReadList()); !s) {
        return s;
    }
    ObjectRecordReader objects(*app_, *coder_, isCharacterClass(modelClass(app_->modelId())));
    std::vector<ObjectRecordInfo> infos;
    const std::size_t objectStart = in_.position();
    for (std::uint8_t o = 0; o < objectCount; ++o) {
        auto info = objects.read(in_, screen);
        if (!info) {
            return info.failure();
        }
        if (info->imageOffset && info->object->kind() == ObjectKind::Bitmap) {
            bitmaps_.emplace_back(static_cast<BitmapObject*>(info->object), *info->imageOffset);
        }
        if (info->bytesTaken != info->recordLength && !disagreement_) {
            disagreement_ =
                Failure{"An object record took " + std::to_string(info->bytesTaken) +
                            " bytes where its length gives " + std::to_string(info->recordLength) + ".",
                        ovm_error::kScreen};
        }
        infos.push_back(*info);
    }
    agree("The screen's objects", objectStart, objectBytes, ovm_error::kScreen);
    for (std::size_t l = 0; l < 3; ++l) {
        const std::size_t listStart = in_.position();
        if (Outcome s = tasks(screen, l, taskCounts[l], 0); !s) {
            return s;
        }
        agree("A screen's task list", listStart, taskBytes[l], kErrorTaskList);
    }
    for (std::uint16_t k = 0; k < keyCount; ++k) {
        if (Outcome s = key(&screen, kScreenKeyErrors); !s) {
            return s;
        }
    }
    // The entry length counts the bytes after itself.
    agree("The screen", start, std::uint64_t{entryLength} + 4, ovm_error::kScreen);
    // Group rings: each member names the next by its stored sequence number; only complete rings are
    // rebuilt, so a damaged link cannot tie objects into a ring the editor could not undo.
    std::map<std::uint8_t, std::size_t> bySequence;
    for (std::size_t i = 0; i < infos.size(); ++i) {
        bySequence.emplace(infos[i].sequence, i);
    }
    std::set<std::size_t> grouped;
    for (std::size_t i = 0; i < infos.size(); ++i) {
        if (infos[i].groupLink == 0 || grouped.count(i) != 0) {
            continue;
        }
        std::vector<ScreenObject*> ring;
        std::set<std::size_t> seen;
        std::size_t at = i;
        bool closed = false;
        while (seen.insert(at).second) {
            ring.push_back(infos[at].object);
            const auto next = bySequence.find(infos[at].groupLink);
            if (infos[at].groupLink == 0 || next == bySequence.end() || grouped.count(next->second) != 0) {
                break;
            }
            at = next->second;
            closed = at == i;
        }
        if (closed && ring.size() >= 2) {
            if (screen.group(ring)) {
                grouped.insert(seen.begin(), seen.end());
            }
        }
    }
    return Status::success();
}

Status ImageReader::alarms() {
    if (header_.alarmTexts == 0) {
        return Status::success();
    }
    (void)app_->alarmTable();
    std::uint8_t mode = 0;
    std::uint8_t groups = 0;
    if (!in_.u8(mode) || !in_.u8(groups) || groups > AlarmTable::kGroups || !app_->setTagMode(mode)) {
        return error(ovm_error::kAlarms);
    }
    for (std::uint8_t g = 0; g < groups; ++g) {
        std::uint8_t group = 0;
        std::uint8_t node = 0;
        std::uint16_t block = 0;
        std::uint8_t index = 0;
        if (!(in_.u8(group) && in_.u8(node) && in_.u16(block) && in_.u8(index)) ||
            group >= AlarmTable::kGroups) {
            return error(ovm_error::kAlarms);
        }
        if (node == 0 && block == 0 && index == 0) {
            continue;
        }
        Tag* tag = app_->findTag(node, block, index);
        if (tag == nullptr || !app_->setGroupTag(group, tag)) {
            return error(ovm_error::kAlarms);
        }
    }
    for (std::uint16_t t = 0; t < header_.alarmTexts; ++t) {
        std::uint8_t length = 0;
        std::uint8_t alarm = 0;
        std::uint8_t options = 0;
        std::string text;
        if (!(in_.u8(length) && length >= 2 && in_.u8(alarm) && in_.u8(options) &&
              in_.chars(length - 2U, text))) {
            return error(ovm_error::kAlarms);
        }
        // The text is taken as stored, up to the table's 54 characters: the editor's shorter limit for
        // the model's display applies to typing, not to texts another tool or unit has written.
        if (!app_->alarmTable().setText(alarm, text, AlarmTable::kMaxTextLength) ||
            !app_->setAlarmOptions(alarm, options)) {
            return error(ovm_error::kAlarms);
        }
    }
    app_->recomputeAlarmBytes();
    return Status::success();
}

Status ImageReader::pictures() {
    std::uint32_t end = header_.applicationSize;
    if (extensionOffset_ != 0 && extensionOffset_ != end) {
        const std::int64_t shift = static_cast<std::int64_t>(extensionOffset_) - end;
        for (auto& [bitmap, offset] : bitmaps_) {
            offset = static_cast<std::uint32_t>(static_cast<std::int64_t>(offset) + shift);
        }
        end = extensionOffset_;
    }
    if (!storesBitmaps(app_->modelId()) || context_.pictures == nullptr) {
        return Status::success();
    }
    if (header_.pictureBytes == 0) {
        // Bitmaps need picture data to show.
        return bitmaps_.empty() ? Status::success() : error(ovm_error::kBitmap);
    }
    std::multimap<std::uint32_t, BitmapObject*> byOffset;
    for (const auto& [bitmap, offset] : bitmaps_) {
        byOffset.emplace(offset, bitmap);
    }
    std::uint32_t skipped = 0;
    std::set<BitmapObject*> rebuilt;
    while (in_.position() < end && !in_.atEnd()) {
        const auto position = static_cast<std::uint32_t>(in_.position());
        const auto range = byOffset.equal_range(position);
        if (range.first == range.second) {
            (void)in_.skip(1);
            ++skipped;
            continue;
        }
        const ScreenObject& shape = *range.first->second;
        const std::int64_t w = static_cast<std::int64_t>(shape.right) - shape.left + 1;
        const std::int64_t h = static_cast<std::int64_t>(shape.bottom) - shape.top + 1;
        if (w <= 0 || h <= 0 ||
            !PictureRecord::fits(static_cast<std::uint32_t>(w), static_cast<std::uint32_t>(h))) {
            return error(ovm_error::kBitmap);
        }
        const std::size_t length =
            static_cast<std::size_t>(h) * PictureRecord::rowBytes(static_cast<std::uint32_t>(w));
        std::span<const std::uint8_t> rows;
        if (length > end - position || !in_.bytes(length, rows)) {
            return error(ovm_error::kBitmap);
        }
        const PictureRecord picture(static_cast<std::uint16_t>(w), static_cast<std::uint16_t>(h),
                                    std::vector<std::uint8_t>(rows.begin(), rows.end()));
        auto stored = context_.pictures->storePicture(picture);
        if (!stored) {
            return error(ovm_error::kBitmap);
        }
        for (auto it = range.first; it != range.second; ++it) {
            it->second->setPictureId(*stored);
            rebuilt.insert(it->second);
        }
    }
    // A bitmap whose data was not found would show another picture.
    if (rebuilt.size() != bitmaps_.size()) {
        return error(ovm_error::kBitmap);
    }
    // An image that ends inside its picture data is incomplete.
    if (in_.position() < end) {
        return error(ovm_error::kBitmap);
    }
    const Application& app = *app_;
    Status flags = context_.pictures->updateUsedFlags([&app](std::uint32_t picture) {
        for (const auto& screen : app.screens()) {
            for (const auto& object : screen->objects()) {
                if (object->kind() == ObjectKind::Bitmap &&
                    static_cast<const BitmapObject&>(*object).pictureId() == picture) {
                    return true;
                }
            }
        }
        return false;
    });
    auto used = flags ? context_.pictures->usedPictureBytes() : Result<std::uint32_t>(flags.failure());
    if (!used) {
        return error(ovm_error::kBitmap);
    }
    app_->setPictureBytes(*used + skipped);
    return Status::success();
}

} // namespace

std::string ApplicationReader::errorText(int number) {
    return formatText("%s:%d", std::string(kErrorPrefix).c_str(), number);
}

Result<std::unique_ptr<Application>> ApplicationReader::read(std::span<const std::uint8_t> bytes,
                                                             const ReadContext& context) {
    ImageReader reader(bytes, context);
    auto result = reader.run();
    if (!result) {
        Failure failure = result.failure();
        if (failure.code != 0) {
            const std::string detail = std::move(failure.message);
            failure.message = errorText(failure.code);
            context.prompter.error(failure.message);
            if (!detail.empty() && context.explain) {
                context.explain(detail);
            }
        }
        return failure;
    }
    return result;
}

Result<std::unique_ptr<Application>> ApplicationReader::open(const std::filesystem::path& file,
                                                             const ReadContext& context) {
    const std::string cannotLoad = formatText("Can not load %s", file.string().c_str());
    std::error_code ec;
    const auto size = std::filesystem::file_size(file, ec);
    std::vector<std::uint8_t> bytes;
    if (!ec && size <= kMaxFileBytes) {
        std::ifstream in(file, std::ios::binary);
        bytes.resize(static_cast<std::size_t>(size));
        if (!in.read(reinterpret_cast<char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()))) {
            ec = std::make_error_code(std::errc::io_error);
        }
    }
    if (ec || size > kMaxFileBytes) {
        context.prompter.error(cannotLoad);
        return Failure{cannotLoad, 0};
    }
    auto result = read(bytes, context);
    if (!result) {
        context.prompter.error(cannotLoad);
    }
    return result;
}

} // namespace quillon
