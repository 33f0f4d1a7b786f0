#include "persist/ApplicationWriter.h"

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
#include "model/VectorByteSink.h"
#include "persist/AtomicFileWriter.h"
#include "persist/ExtensionSection.h"
#include "persist/ObjectTagCoder.h"
#include "persist/OvmLayout.h"
#include "persist/PictureLibrary.h"
#include "persist/PrepareForWrite.h"
#include "persist/RegisterPositions.h"
#include "persist/TraceFile.h"

#include <algorithm>
#include <array>
#include <limits>
#include <map>

namespace quillon {

namespace {

constexpr std::string_view kTotalsWrong = "The byte totals of the application do not match its records.\n"
                                          "The application is not written.";

// A u16 field of the image; a value that does not fit would make the unit misread everything after it.
bool fits16(std::uint32_t value) noexcept {
    return value <= std::numeric_limits<std::uint16_t>::max();
}

void tagRef(ByteSink& out, const Tag* tag) {
    if (tag == nullptr) {
        out.u32(0);
        return;
    }
    out.u8(tag->nodeNumber());
    out.u16(static_cast<std::uint16_t>(tag->blockIndex()));
    out.u8(tag->indexInBlock());
}

void writeHeader(const Application& app, ByteSink& out) {
    const MemoryTotals& t = app.totals();
    out.u32(t.applicationSize);
    out.u16(app.modelId());
    out.u16(static_cast<std::uint16_t>(app.nodeCount()));
    out.u16(static_cast<std::uint16_t>(app.tagCount()));
    out.u16(static_cast<std::uint16_t>(app.screenCount()));
    out.u16(static_cast<std::uint16_t>(app.globalKeyCount()));
    out.u16(static_cast<std::uint16_t>(app.alarmsIfAny() != nullptr ? app.alarmsIfAny()->textCount() : 0));
    out.u16(static_cast<std::uint16_t>(app.powerOnTaskCount()));
    out.u16(static_cast<std::uint16_t>(app.globalTaskCount()));
    out.u32(t.networkBytes);
    out.u32(t.tagBytes);
    out.u32(t.screenBytes);
    out.u32(t.globalKeyBytes);
    out.u16(static_cast<std::uint16_t>(t.alarmBytes));
    out.u16(static_cast<std::uint16_t>(t.powerOnBytes));
    out.u16(static_cast<std::uint16_t>(t.globalTaskBytes));
    out.u16(static_cast<std::uint16_t>(t.loggerBytes));
    out.u16(static_cast<std::uint16_t>(t.globalReadListBytes));
    out.u32(t.pictureBytes);
}

void writeSettings(const Application& app, ByteSink& out) {
    std::array<std::uint8_t, OvmLayout::kPasswordBytes> password{};
    std::copy_n(app.password().begin(), std::min(app.password().size(), password.size()), password.begin());
    out.append(password);
    out.append(app.unitSettings().toBytes());
    std::uint8_t special = 0;
    for (const auto& node : app.nodes()) {
        if (node->kind() == NodeKind::PlcWithSpecial) {
            special = node->specialData()[0];
            break;
        }
    }
    out.u8(special);
    const std::array<std::uint8_t, 30> reserved{};
    out.append(reserved);
    out.u32(0); // extension offset, patched once the image is complete
    const std::array<std::uint8_t, 6> tail{};
    out.append(tail);
}

void writeNetwork(const Application& app, ByteSink& out) {
    for (const auto& node : app.nodes()) {
        out.u32(node->entryLength());
        out.u8(static_cast<std::uint8_t>(node->kind()));
        out.u8(node->number());
        out.u8(node->plcId);
        out.u8(node->modelIndex);
        out.u8(static_cast<std::uint8_t>(node->modelCode));
        out.append(node->specialData());
        out.u16(static_cast<std::uint16_t>(node->blockCount()));
        for (const auto& block : node->blocks()) {
            out.u16(static_cast<std::uint16_t>(block->entryLength()));
            out.u8(static_cast<std::uint8_t>(block->address().size()));
            out.chars(block->address());
            out.u8(block->size);
            out.u8(block->tagCount());
            out.u8(block->attribute);
            for (const Tag* tag : block->tags()) {
                out.u8(tag->recordLength());
                out.u8(tag->attribute);
                out.u8(static_cast<std::uint8_t>(tag->type()));
                out.u8(static_cast<std::uint8_t>(tag->readWrite));
                out.u8(tag->type() == tag_type::kRegisterBit ? tag->bit : 0);
                out.u8(tag->type() == tag_type::kRegister ? tag->size : 0);
                out.u8(tag->byteSelect);
                out.chars(tag->address());
            }
        }
    }
}

void writeKey(const KeyDefinition& key, ByteSink& out) {
    out.u32(key.entryLength());
    out.u16(key.code);
    out.u8(key.interrupt);
    out.u16(key.password);
    for (std::size_t l = 0; l < 3; ++l) {
        out.u16(static_cast<std::uint16_t>(key.taskList(l).size()));
    }
    for (std::size_t l = 0; l < 3; ++l) {
        out.u16(static_cast<std::uint16_t>(key.taskList(l).bytes()));
    }
    for (std::size_t l = 0; l < 3; ++l) {
        ApplicationWriter::writeTaskList(key.taskList(l), out);
    }
}

bool keyFits(const KeyDefinition& key) noexcept {
    for (std::size_t l = 0; l < 3; ++l) {
        if (!fits16(static_cast<std::uint32_t>(key.taskList(l).size())) || !fits16(key.taskList(l).bytes())) {
            return false;
        }
    }
    return true;
}

Status writeScreen(const Screen& screen, ByteSink& out, const ObjectWriteContext& objectContext) {
    for (std::size_t l = 0; l < 3; ++l) {
        if (!fits16(static_cast<std::uint32_t>(screen.taskList(l).size())) ||
            !fits16(screen.taskList(l).bytes())) {
            return Status::fail(
                formatText("A task list of the screen %u is too long for the unit.", screen.number()));
        }
    }
    for (const auto& key : screen.keys()) {
        if (!keyFits(*key)) {
            return Status::fail(
                formatText("A key of the screen %u has too many tasks for the unit.", screen.number()));
        }
    }
    const std::size_t start = out.position();
    out.u32(screen.entryLength());
    out.u16(static_cast<std::uint16_t>(screen.number()));
    out.u16(screen.password);
    out.u8(static_cast<std::uint8_t>(screen.objectCount()));
    out.u8(static_cast<std::uint8_t>(screen.type));
    out.u16(static_cast<std::uint16_t>(screen.keyCount()));
    for (std::size_t l = 0; l < 3; ++l) {
        out.u16(static_cast<std::uint16_t>(screen.taskList(l).size()));
    }
    out.u32(screen.objectBytes());
    out.u32(screen.keyBytes());
    for (std::size_t l = 0; l < 3; ++l) {
        out.u16(static_cast<std::uint16_t>(screen.taskList(l).bytes()));
    }
    out.u8(0);
    out.u16(static_cast<std::uint16_t>(screen.readListBytes()));
    out.u8(screen.associatedCount());
    if (const auto associated = screen.associated()) {
        out.u16(*associated);
    }
    ApplicationWriter::writeReadList(screen.readList(), out);
    for (const ScreenObject* object : screen.writeOrder()) {
        const std::size_t objectStart = out.position();
        if (Status s = object->Write(out, objectContext); !s) {
            return s;
        }
        if (out.position() - objectStart != object->recordLength()) {
            return Status::fail(std::string(kTotalsWrong));
        }
    }
    for (std::size_t l = 0; l < 3; ++l) {
        ApplicationWriter::writeTaskList(screen.taskList(l), out);
    }
    for (const auto& key : screen.keys()) {
        writeKey(*key, out);
    }
    if (out.position() - start != screen.imageBytes()) {
        return Status::fail(std::string(kTotalsWrong));
    }
    return Status::success();
}

void writeAlarms(const AlarmTable& alarms, ByteSink& out) {
    out.u8(alarms.tagMode());
    out.u8(static_cast<std::uint8_t>(alarms.groupsInUse()));
    for (std::size_t g = 0; g < AlarmTable::kGroups; ++g) {
        if (alarms.groupInUse(g)) {
            out.u8(static_cast<std::uint8_t>(g));
            tagRef(out, alarms.groupTag(g));
        }
    }
    for (std::size_t a = 0; a < AlarmTable::kAlarms; ++a) {
        const std::string& text = alarms.text(a);
        if (text.empty()) {
            continue;
        }
        out.u8(static_cast<std::uint8_t>(text.size() + 2));
        out.u8(static_cast<std::uint8_t>(a));
        out.u8(alarms.options(a));
        out.chars(text);
    }
}

} // namespace

void ApplicationWriter::writeReadList(const ReadList& list, ByteSink& out) {
    std::map<std::uint8_t, std::vector<std::uint32_t>> perNode;
    for (const ReadList::Entry& e : list.entries()) {
        if (e.block != nullptr && e.block->node() != nullptr) {
            perNode[e.block->node()->number()].push_back(e.block->index());
        }
    }
    for (auto& [node, blocks] : perNode) {
        std::sort(blocks.begin(), blocks.end());
        out.u8(node);
        out.u16(static_cast<std::uint16_t>(blocks.size()));
        for (std::uint32_t index : blocks) {
            out.u16(static_cast<std::uint16_t>(index));
        }
    }
}

void ApplicationWriter::writeTaskList(const TaskList& list, ByteSink& out) {
    std::vector<std::uint8_t> bytes;
    for (const auto& task : list.tasks()) {
        bytes.clear();
        encodeTask(*task, bytes);
        out.append(bytes);
    }
}

Result<std::vector<std::uint8_t>> ApplicationWriter::write(const Application& app,
                                                           const WriteContext& context) {
    using Bytes = Result<std::vector<std::uint8_t>>;
    const MemoryTotals& totals = app.totals();
    const AlarmTable* alarms =
        app.alarmsIfAny() != nullptr && app.alarmsIfAny()->textCount() > 0 ? app.alarmsIfAny() : nullptr;
    if (!fits16(totals.alarmBytes) || !fits16(totals.powerOnBytes) || !fits16(totals.globalTaskBytes) ||
        !fits16(totals.globalReadListBytes) || !fits16(static_cast<std::uint32_t>(app.powerOnTaskCount())) ||
        !fits16(static_cast<std::uint32_t>(app.globalTaskCount())) ||
        !fits16(static_cast<std::uint32_t>(app.screenCount()))) {
        return Bytes::fail("The application has more tasks or screens than the unit can hold.");
    }
    for (const auto& key : app.globalKeys()) {
        if (!keyFits(*key)) {
            return Bytes::fail("A global key has more tasks than the unit can hold.");
        }
    }

    TraceFile trace(context.traceFolder, TraceFile::kWriterTrace);
    RegisterPositions positions(context.catalogs, context.prompter);
    ObjectTagCoder coder(app, positions, &trace);

    // The picture data follows the logger placeholder; each bitmap names where its picture's data begins.
    const bool pictureSection = storesBitmaps(app.modelId());
    std::map<std::uint32_t, std::uint32_t> pictureOffsets;
    const std::uint32_t pictureStart = totals.applicationSize - totals.pictureBytes;
    if (pictureSection && context.pictures != nullptr) {
        auto used = context.pictures->usedPictures();
        if (!used) {
            return used.failure();
        }
        for (const UsedPicture& p : *used) {
            pictureOffsets[p.index] = pictureStart + p.offset;
        }
        // The unit (and the reader) take a picture's size from its object's rectangle.
        auto contents = context.pictures->scan();
        if (!contents) {
            return contents.failure();
        }
        for (const auto& screen : app.screens()) {
            for (const auto& object : screen->objects()) {
                if (object->kind() != ObjectKind::Bitmap) {
                    continue;
                }
                const auto id = static_cast<const BitmapObject&>(*object).pictureId();
                const std::int64_t w = static_cast<std::int64_t>(object->right) - object->left + 1;
                const std::int64_t h = static_cast<std::int64_t>(object->bottom) - object->top + 1;
                if (id >= contents->pictures.size() || contents->pictures[id].width != w ||
                    contents->pictures[id].height != h) {
                    return Bytes::fail(
                        formatText("The bitmap object at %d, %d of the screen %u does not have the "
                                   "size of its picture %u.",
                                   object->left, object->top, screen->number(), id));
                }
            }
        }
    }
    ObjectWriteContext objectContext{
        coder, isCharacterClass(modelClass(app.modelId())),
        [&](std::uint32_t pictureId) -> Result<std::uint32_t> {
            if (!pictureSection) {
                return std::uint32_t{0};
            }
            const auto it = pictureOffsets.find(pictureId);
            if (it == pictureOffsets.end()) {
                return Result<std::uint32_t>::fail(formatText(
                    "The picture %u of a bitmap object is not a used picture of the pictures' library.",
                    pictureId));
            }
            return it->second;
        }};

    VectorByteSink out;
    writeHeader(app, out);
    writeSettings(app, out);
    writeNetwork(app, out);
    writeReadList(app.globalReadList(), out);
    writeTaskList(app.powerOnTasks(), out);
    writeTaskList(app.globalTasks(), out);
    for (const auto& key : app.globalKeys()) {
        writeKey(*key, out);
    }
    for (const auto& screen : app.screens()) {
        if (Status s = writeScreen(*screen, out, objectContext); !s) {
            return s.failure();
        }
    }
    if (alarms != nullptr) {
        writeAlarms(*alarms, out);
    }
    const std::array<std::uint8_t, OvmLayout::kLoggerBytes> logger{};
    out.append(logger);
    if (out.position() != pictureStart) {
        return Bytes::fail(std::string(kTotalsWrong));
    }
    if (pictureSection && context.pictures != nullptr) {
        Status s = context.pictures->writeUsedPictures([&](std::span<const std::uint8_t> bytes) {
            out.append(bytes);
            return Status::success();
        });
        if (!s) {
            return s.failure();
        }
    }
    if (out.position() != totals.applicationSize) {
        return Bytes::fail(std::string(kTotalsWrong));
    }
    const auto extensionOffset = static_cast<std::uint32_t>(out.position());
    ExtensionSection::write(app, out);
    (void)out.patchU32(OvmLayout::kExtensionPatchOffset, extensionOffset);
    return out.take();
}

Status ApplicationWriter::save(Application& app, const std::filesystem::path& file,
                               const WriteContext& context) {
    const auto failed = [&](const Failure& failure) {
        if (!failure.message.empty()) {
            context.prompter.error(failure.message);
        }
        context.prompter.error(kCannotSave);
        return Status(failure);
    };
    if (Status s = prepareForWrite(app, context.pictures, context.prompter); !s) {
        // Preparation has shown its own message.
        context.prompter.error(kCannotSave);
        return s;
    }
    auto bytes = write(app, context);
    if (!bytes) {
        return failed(bytes.failure());
    }
    if (Status s = AtomicFileWriter::writeFile(file, *bytes, context.fileSystem); !s) {
        return failed(s.failure());
    }
    std::uint32_t extension = 0;
    const auto& b = *bytes;
    for (std::size_t i = 0; i < 4; ++i) {
        extension |= static_cast<std::uint32_t>(b[OvmLayout::kExtensionPatchOffset + i]) << (8 * i);
    }
    app.unitSettings().extensionOffset = extension;
    return Status::success();
}

Result<std::vector<std::uint8_t>> ApplicationWriter::writeDownloadImage(Application& app,
                                                                        const std::filesystem::path& folder,
                                                                        const WriteContext& context) {
    if (Status s = prepareForWrite(app, context.pictures, context.prompter); !s) {
        context.prompter.error(kCannotOpenIntermediate);
        return s.failure();
    }
    auto bytes = write(app, context);
    if (!bytes) {
        if (!bytes.message().empty()) {
            context.prompter.error(bytes.message());
        }
        context.prompter.error(kCannotOpenIntermediate);
        return bytes;
    }
    if (Status s =
            AtomicFileWriter::writeFile(folder / std::string(kDownloadImage), *bytes, context.fileSystem);
        !s) {
        context.prompter.error(s.message());
        context.prompter.error(kCannotOpenIntermediate);
        return s.failure();
    }
    return bytes;
}

} // namespace quillon
