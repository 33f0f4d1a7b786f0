#pragma once

#include "TempFolder.h"
#include "model/AlarmTable.h"
#include "model/AlarmWindowObject.h"
#include "model/Application.h"
#include "model/BargraphObject.h"
#include "model/BitmapObject.h"
#include "model/Block.h"
#include "model/DataEntryCoilObject.h"
#include "model/DataEntryRegisterObject.h"
#include "model/DateObject.h"
#include "model/DisplayCoilObject.h"
#include "model/DisplayRegisterObject.h"
#include "model/DisplayRegisterTextObject.h"
#include "model/EllipseObject.h"
#include "model/ErrorObject.h"
#include "model/KeyDefinition.h"
#include "model/Node.h"
#include "model/PolygonObject.h"
#include "model/PolylineObject.h"
#include "model/RecordingPrompter.h"
#include "model/RectangleObject.h"
#include "model/RoundRectangleObject.h"
#include "model/Screen.h"
#include "model/Tag.h"
#include "model/Task.h"
#include "model/TextObject.h"
#include "model/TimeObject.h"
#include "model/TouchAreaObject.h"
#include "persist/ApplicationReader.h"
#include "persist/ApplicationWriter.h"
#include "persist/PictureLibrary.h"
#include "persist/PictureRecord.h"
#include "persist/PrepareForWrite.h"
#include "plc/PlcCatalogFiles.h"

#include <filesystem>
#include <fstream>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

namespace quillon::test {

template <typename T>
T* must(Result<T*> r) {
    if (!r) {
        throw std::runtime_error(r.message());
    }
    return r.value();
}

inline void must(const Status& s) {
    if (!s) {
        throw std::runtime_error(s.message());
    }
}

// The shipped catalogs, with a PLC of id 29 (whose drivers pack the tags they read) added to both PLC
// lists for the tests, a picture library, and applications that use every record of the image.
class OvmFixture {
public:
    static constexpr std::string_view kPassword = "Fz9";
    static constexpr std::string_view kPackedPlcName = "Packed Modbus";

    OvmFixture() : catalogs_(folder_ / "plc", prompter) {
        const auto plc = folder_ / "plc";
        std::filesystem::create_directories(plc);
        const std::filesystem::path shipped = std::filesystem::path(QUILLON_SOURCE_DIR) / "data" / "plc";
        for (const auto& e : std::filesystem::directory_iterator(shipped)) {
            std::filesystem::copy_file(e.path(), plc / e.path().filename());
        }
        std::filesystem::copy_file(shipped / "0001_001.plc", plc / "0029_001.plc");
        for (const char* list : {"orvk_all.PLC", "orvk_sel.PLC"}) {
            std::ofstream(plc / list, std::ios::app) << kPackedPlcName << "|29|\n";
        }
        std::filesystem::create_directories(folder_ / "work");
        library_ = std::make_unique<PictureLibrary>(folder_ / "work");
    }

    RecordingPrompter prompter;

    PlcCatalogFiles& catalogs() { return catalogs_; }
    PictureLibrary& library() { return *library_; }
    const TempFolder& folder() const { return folder_; }

    WriteContext writeContext() { return WriteContext{catalogs_, prompter, library_.get(), std::nullopt}; }
    ReadContext readContext(std::optional<std::string> password = std::string(kPassword)) {
        return ReadContext{catalogs_, prompter, library_.get(),
                           [password]() -> std::optional<std::string> { return password; }, std::nullopt};
    }

    std::vector<std::uint8_t> write(const Application& app) {
        auto bytes = ApplicationWriter::write(app, writeContext());
        if (!bytes) {
            throw std::runtime_error(bytes.message());
        }
        return *bytes;
    }
    std::vector<std::uint8_t> prepareAndWrite(Application& app) {
        must(prepareForWrite(app, library_.get(), prompter));
        return write(app);
    }
    Result<std::unique_ptr<Application>> read(const std::vector<std::uint8_t>& bytes) {
        return ApplicationReader::read(bytes, readContext());
    }

    static TagValues reg(std::string address, std::uint8_t size, std::uint8_t select = 0) {
        TagValues v;
        v.address = std::move(address);
        v.type = tag_type::kRegister;
        v.size = size;
        v.byteSelect = select;
        v.readWrite = '2';
        v.attribute = 0x21;
        return v;
    }
    static TagValues bit(std::string address, std::uint8_t number) {
        TagValues v;
        v.address = std::move(address);
        v.type = tag_type::kRegisterBit;
        v.bit = number;
        v.size = 0;
        return v;
    }
    static TagValues coil(std::string address) {
        TagValues v;
        v.address = std::move(address);
        v.type = tag_type::kCoil;
        v.size = 0;
        return v;
    }

    // A PLC node as the network editor makes it from the catalogs.
    std::unique_ptr<Node> plcNode(std::uint8_t number, int plcId, NodeKind kind = NodeKind::Plc) {
        auto node = std::make_unique<Node>(kind, number);
        node->plcId = static_cast<std::uint8_t>(plcId);
        node->modelIndex = 1;
        node->modelCode = '5';
        node->plcFile = catalogs_.findCatalogFile(plcId)->recordedPath;
        node->modelNames = *catalogs_.modelNames(plcId);
        node->plcName = catalogs_.supportedList()->nameOf(plcId).value_or("");
        node->name = "Node" + std::to_string(number);
        return node;
    }

    static Block& block(Application& app, Node& node, std::string address, std::uint8_t size,
                        std::string name = "B") {
        auto b = std::make_unique<Block>(std::move(address), size);
        b->name = std::move(name);
        b->attribute = 3;
        return *must(app.addBlock(node, std::move(b)));
    }

    // The unit's own node with words, bytes, double words, 8-byte tags, bits and the R file.
    struct Network {
        Tag* unitWord = nullptr;
        Tag* unitByte = nullptr;
        Tag* unitDouble = nullptr;
        Tag* unitEight = nullptr;
        Tag* unitBit = nullptr;
        Tag* unitCoil = nullptr;
        Tag* unitR = nullptr;
        Tag* unitRBit = nullptr;
        Tag* word = nullptr;    // node 1, block 40001, offset 2
        Tag* word2 = nullptr;   // node 1, block 40101
        Tag* dword = nullptr;   // node 1
        Tag* byte = nullptr;    // node 1
        Tag* eight = nullptr;   // node 1
        Tag* regBit = nullptr;  // node 1
        Tag* coil = nullptr;    // node 1, coils
        Tag* special = nullptr; // node 2, kind 2
        Tag* packed1 = nullptr; // node 5, PLC 29
        Tag* packed2 = nullptr;
        Tag* packed3 = nullptr;
    };

    Network network(Application& app) {
        Network n;
        Node& unit = *must(app.addNode(Node::createUnitNode()));
        Block& uw = block(app, unit, "UW000", 16, "Words");
        n.unitWord = must(app.addTag(uw, reg("UW001", 2)));
        n.unitByte = must(app.addTag(uw, reg("UW002", 1, 1)));
        n.unitDouble = must(app.addTag(uw, reg("UW004", 4)));
        n.unitEight = must(app.addTag(uw, reg("UW008", 8)));
        n.unitBit = must(app.addTag(uw, bit("UW010", 3)));
        Block& ub = block(app, unit, "UB000", 8, "Bits");
        n.unitCoil = must(app.addTag(ub, coil("UB005")));
        Block& r = block(app, unit, "R0000", 10, "Rfile");
        n.unitR = must(app.addTag(r, reg("R0005", 2)));
        n.unitRBit = must(app.addTag(r, bit("R0006", 2)));

        Node& modbus = *must(app.addNode(plcNode(1, 1)));
        Block& h1 = block(app, modbus, "40001", 10, "Hold1");
        n.word = must(app.addTag(h1, reg("40003", 2)));
        n.dword = must(app.addTag(h1, reg("40005", 4)));
        n.byte = must(app.addTag(h1, reg("40001", 1, 1)));
        n.eight = must(app.addTag(h1, reg("40007", 8)));
        n.regBit = must(app.addTag(h1, bit("40002", 3)));
        Block& h2 = block(app, modbus, "40101", 5, "Hold2");
        n.word2 = must(app.addTag(h2, reg("40104", 2)));
        Block& coils = block(app, modbus, "00001", 16, "Coils");
        n.coil = must(app.addTag(coils, coil("00005")));

        auto specialNode = plcNode(2, 1, NodeKind::PlcWithSpecial);
        specialNode->setSpecialData({7, 8, 9});
        Node& special = *must(app.addNode(std::move(specialNode)));
        Block& input = block(app, special, "30001", 4, "In");
        n.special = must(app.addTag(input, reg("30002", 2)));

        Node& packed = *must(app.addNode(plcNode(5, 29)));
        Block& p = block(app, packed, "40001", 6, "Pk");
        n.packed1 = must(app.addTag(p, reg("40001", 2)));
        n.packed2 = must(app.addTag(p, reg("40002", 4)));
        n.packed3 = must(app.addTag(p, reg("40004", 1)));

        std::uint32_t i = 0;
        for (Tag& t : app.tags()) {
            t.name = "T" + std::to_string(++i);
        }
        return n;
    }

    static Task task(TaskKind kind, std::uint8_t sub, Tag* t1 = nullptr, Tag* t2 = nullptr,
                     std::int32_t value = 0) {
        Task t;
        t.kind = kind;
        t.subKind = sub;
        t.tag1 = t1;
        t.tag2 = t2;
        t.value = value;
        return normalizeTask(t);
    }

    static void appendTasks(Application& app, TaskListOwner& owner, std::size_t list, const Network& n) {
        must(app.appendTask(owner, list, task(TaskKind::WriteValue, 0, n.word, nullptr, 17)));
        must(app.appendTask(owner, list, task(TaskKind::Add, 1, n.dword, n.word2)));
        must(app.appendTask(owner, list, task(TaskKind::Bit, bit_task::kOn, n.coil)));
        must(app.appendTask(owner, list, task(TaskKind::CopyTag, 0, n.unitWord, n.special)));
    }

private:
    TempFolder folder_;
    PlcCatalogFiles catalogs_;
    std::unique_ptr<PictureLibrary> library_;
};

} // namespace quillon::test
