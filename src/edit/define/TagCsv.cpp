#include "edit/define/TagCsv.h"

#include "edit/define/NodeAreas.h"
#include "edit/define/TagEditor.h"
#include "model/Application.h"
#include "model/Block.h"
#include "model/Node.h"
#include "model/RecordingPrompter.h"
#include "model/TextFormat.h"
#include "plc/AreaFinder.h"
#include "plc/PlcCatalogFiles.h"
#include "plc/TagAddress.h"

#include <algorithm>
#include <charconv>
#include <fstream>
#include <map>
#include <optional>
#include <unordered_map>
#include <unordered_set>

namespace quillon {

namespace {

constexpr std::string_view kRegister = "register";
constexpr std::string_view kCoil = "coil";
constexpr std::string_view kBit = "bit";

std::string lower(std::string_view text) {
    std::string out(text);
    std::transform(out.begin(), out.end(), out.begin(),
                   [](unsigned char c) { return static_cast<char>(c >= 'A' && c <= 'Z' ? c + 32 : c); });
    return out;
}

std::string_view trimmed(std::string_view text) {
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) {
        text.remove_prefix(1);
    }
    while (!text.empty() && (text.back() == ' ' || text.back() == '\t')) {
        text.remove_suffix(1);
    }
    return text;
}

std::optional<unsigned> number(std::string_view text, unsigned max) {
    text = trimmed(text);
    unsigned value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (text.empty() || error != std::errc() || end != text.data() + text.size() || value > max) {
        return std::nullopt;
    }
    return value;
}

// Everything an import changed, so that a refused row can take it all back.
struct Undo {
    std::vector<Tag*> added;
    std::vector<std::pair<Tag*, std::string>> renamed;
    std::unordered_set<const Block*> blocksBefore;
    std::map<Block*, std::uint8_t> sizesBefore;

    void rollBack(Application& app) {
        for (auto& [tag, name] : renamed) {
            tag->name = name;
        }
        for (auto it = added.rbegin(); it != added.rend(); ++it) {
            Block* block = (*it)->block();
            (void)app.removeTag(**it);
            if (block->tagCount() == 0 && !blocksBefore.contains(block)) {
                (void)app.removeBlock(*block);
            }
        }
        for (auto& [block, size] : sizesBefore) {
            if (block->size != size) {
                (void)app.resizeBlock(*block, size);
            }
        }
        app.sortTags();
    }
};

} // namespace

std::string TagCsv::quote(std::string_view field) {
    const bool needs = field.find_first_of(",\"\r\n") != std::string_view::npos ||
                       (!field.empty() && (field.front() == ' ' || field.back() == ' '));
    if (!needs) {
        return std::string(field);
    }
    std::string out = "\"";
    for (const char c : field) {
        if (c == '"') {
            out += '"';
        }
        out += c;
    }
    out += '"';
    return out;
}

std::string TagCsv::exportText(const Application& application) {
    std::string out(kHeader);
    out += "\r\n";
    for (const Tag& tag : application.tags()) {
        std::string_view kind = kRegister;
        std::string bit;
        std::string bytes;
        std::string byte;
        switch (tag.type()) {
        case tag_type::kCoil:
            kind = kCoil;
            break;
        case tag_type::kRegisterBit:
            kind = kBit;
            bit = std::to_string(tag.bit);
            break;
        default:
            bytes = std::to_string(tag.size);
            byte = tag.byteSelect != 0 ? "high" : "low";
            break;
        }
        out += std::to_string(tag.nodeNumber());
        out += ',';
        out += kind;
        out += ',';
        out += quote(tag.plainAddress());
        out += ',';
        out += bit;
        out += ',';
        out += bytes;
        out += ',';
        out += byte;
        out += ',';
        out += quote(tag.name);
        out += "\r\n";
    }
    return out;
}

std::optional<std::string> TagCsv::readFile(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        return std::nullopt;
    }
    std::string content;
    std::error_code ec;
    const auto size = std::filesystem::file_size(path, ec);
    if (!ec) {
        content.reserve(static_cast<std::size_t>(size));
    }
    char buffer[1 << 16];
    while (in.read(buffer, sizeof buffer) || in.gcount() > 0) {
        content.append(buffer, static_cast<std::size_t>(in.gcount()));
    }
    if (in.bad()) {
        return std::nullopt;
    }
    return content;
}

TagCsv::Reader::Reader(std::string_view text) : text_(text) {
    // A byte-order mark is not part of the first field.
    if (text_.starts_with("\xEF\xBB\xBF")) {
        text_.remove_prefix(3);
    }
}

Result<bool> TagCsv::Reader::next(Record& record) {
    while (at_ < text_.size()) {
        record.line = line_;
        record.fields.clear();
        std::string field;
        bool quoted = false;
        bool fieldStarted = false;
        while (true) {
            if (at_ >= text_.size()) {
                if (quoted) {
                    return Result<bool>::fail("line " + std::to_string(record.line) +
                                              ": a quoted field is not closed");
                }
                record.fields.push_back(std::move(field));
                break;
            }
            const char c = text_[at_];
            if (quoted) {
                if (c == '"') {
                    if (at_ + 1 < text_.size() && text_[at_ + 1] == '"') {
                        field += '"';
                        at_ += 2;
                        continue;
                    }
                    quoted = false;
                    ++at_;
                    continue;
                }
                if (c == '\n') {
                    ++line_;
                }
                field += c;
                ++at_;
                continue;
            }
            if (c == '"' && !fieldStarted) {
                quoted = true;
                fieldStarted = true;
                ++at_;
                continue;
            }
            if (c == ',') {
                record.fields.push_back(std::move(field));
                field.clear();
                fieldStarted = false;
                ++at_;
                continue;
            }
            if (c == '\r' || c == '\n') {
                record.fields.push_back(std::move(field));
                at_ += (c == '\r' && at_ + 1 < text_.size() && text_[at_ + 1] == '\n') ? 2 : 1;
                ++line_;
                break;
            }
            field += c;
            fieldStarted = true;
            ++at_;
        }
        // Blank lines carry no record.
        if (!(record.fields.size() == 1 && trimmed(record.fields[0]).empty())) {
            return true;
        }
    }
    return false;
}

Result<std::vector<TagCsv::Record>> TagCsv::parse(std::string_view text) {
    std::vector<Record> records;
    Reader reader(text);
    Record record;
    while (true) {
        auto more = reader.next(record);
        if (!more) {
            return more.failure();
        }
        if (!*more) {
            return records;
        }
        records.push_back(std::move(record));
    }
}

Result<TagImportReport> TagCsv::importText(Application& application, PlcCatalogFiles& catalogs,
                                           std::string_view text, bool merge) {
    // Rows are read one at a time: a list of any length needs no more memory than its text and its tags.
    Reader reader(text);
    Record record;
    {
        auto first = reader.next(record);
        if (!first) {
            return first.failure();
        }
        if (!*first) {
            return Result<TagImportReport>::fail("line 1: the header row \"" + std::string(kHeader) +
                                                 "\" is missing");
        }
        std::string header;
        for (std::size_t f = 0; f < record.fields.size(); ++f) {
            header += (f > 0 ? "," : "") + lower(trimmed(record.fields[f]));
        }
        if (header != kHeader) {
            return Result<TagImportReport>::fail("line " + std::to_string(record.line) +
                                                 ": the header row must be \"" + std::string(kHeader) + "\"");
        }
    }

    RecordingPrompter messages;
    TagEditor editor(application, catalogs, messages);
    editor.setRenumber(false);
    // Names through an index: the application's own test walks every tag for each name.
    std::unordered_map<std::string, const Tag*> names;
    for (const Tag& tag : application.tags()) {
        names.emplace(tag.name, &tag);
    }
    editor.setNameFree([&names](std::string_view name, const Tag* except) {
        const auto it = names.find(std::string(name));
        return it == names.end() || it->second == except;
    });
    std::unordered_map<unsigned, std::vector<RegisterArea>> areasOfNode;

    Undo undo;
    for (const auto& node : application.nodes()) {
        for (const auto& block : node->blocks()) {
            undo.blocksBefore.insert(block.get());
            undo.sizesBefore.emplace(block.get(), block->size);
        }
    }
    TagImportReport report;
    const auto refuse = [&](const Record& row, const std::string& why) {
        undo.rollBack(application);
        return Result<TagImportReport>::fail("line " + std::to_string(row.line) + ": " + why);
    };
    const auto lastMessage = [&]() {
        return messages.empty() ? std::string("the row is refused") : messages.last().text;
    };

    while (true) {
        auto more = reader.next(record);
        if (!more) {
            undo.rollBack(application);
            return more.failure();
        }
        if (!*more) {
            break;
        }
        messages.clear();
        if (record.fields.size() != 7) {
            return refuse(record, "a row has 7 fields: " + std::string(kHeader));
        }
        const auto& f = record.fields;
        const auto nodeNumber = number(f[0], 255);
        Node* node = nodeNumber ? application.findNodeByNumber(*nodeNumber) : nullptr;
        if (node == nullptr) {
            return refuse(record, "there is no node " + std::string(trimmed(f[0])) + " in the network");
        }
        const std::string kind = lower(trimmed(f[1]));
        if (kind != kRegister && kind != kCoil && kind != kBit) {
            return refuse(record, "the kind must be register, coil or bit");
        }
        auto areas = areasOfNode.find(*nodeNumber);
        if (areas == areasOfNode.end()) {
            areas = areasOfNode.emplace(*nodeNumber, NodeAreas::load(catalogs, *node)).first;
            if (areas->second.empty()) {
                return refuse(record, lastMessage());
            }
        }
        editor.useAreas(node, areas->second);
        std::string address(trimmed(f[2]));
        std::optional<unsigned> bit;
        if (kind == kBit) {
            // The bit has its own column; an address spelled with the same bit as suffix is taken too.
            const std::string_view bitField = trimmed(f[3]);
            if (!bitField.empty()) {
                bit = number(bitField, 63);
                if (!bit) {
                    return refuse(record,
                                  "the bit number " + std::string(bitField) + " is not a number of 0 to 63");
                }
            } else if (const auto suffix = Tag::bitSuffix(address)) {
                bit = *suffix;
            } else {
                return refuse(record, "a bit inside a register needs its bit number");
            }
            auto stored = Tag::storedBitAddress(address, static_cast<std::uint8_t>(*bit));
            if (!stored) {
                return refuse(record, stored.message());
            }
            address = std::move(*stored);
        }
        const auto match =
            AreaFinder::find(areas->second, address,
                             kind == kRegister ? LookupFor::RegisterTag : LookupFor::CoilTag, messages);
        if (!match) {
            return refuse(record, "the address " + address + " lies in no Tag Range of node " +
                                      std::to_string(*nodeNumber));
        }
        const RegisterArea& area = areas->second[match->index];
        if (kind == kCoil && !area.isBitArea()) {
            return refuse(record,
                          "the address " + address + " is a register: a bit inside it has the kind bit");
        }
        if (kind == kBit && area.isBitArea()) {
            return refuse(record, "the address " + address + " is a coil: it has the kind coil");
        }
        const auto split = TagAddress::split(area, address);
        if (!split || TagAddress::compose(area, split->parts) != address) {
            return refuse(record,
                          "the address " + address + " is not written in the notation of its Tag Range");
        }
        TagDraft draft = editor.draftFor(match->index, kind == kRegister);
        draft.parts = split->parts;
        draft.name = f[6];
        if (kind == kBit) {
            draft.bit = std::to_string(*bit / 10) + std::to_string(*bit % 10);
        }
        if (kind == kRegister) {
            const std::string_view bytes = trimmed(f[4]);
            if (!bytes.empty()) {
                const auto count = number(bytes, 8);
                if (!count) {
                    return refuse(record, "the byte count must be 1, 2, 4 or 8");
                }
                draft.byteCount = static_cast<std::uint8_t>(*count);
            }
            const std::string byte = lower(trimmed(f[5]));
            if (byte != "" && byte != "low" && byte != "high") {
                return refuse(record, "the byte must be low or high");
            }
            draft.byteSelect = byte == "high" ? 1 : 0;
        }
        auto values = editor.valuesOf(draft);
        if (!values) {
            return refuse(record, lastMessage());
        }
        if (const Tag* existing = editor.duplicateOf(*values, nullptr)) {
            if (!merge) {
                return refuse(record, std::string(TagEditor::kDuplicate));
            }
            Tag* tag = const_cast<Tag*>(existing);
            // A merge renames; a row that asks the tag at its address for another size is refused, as
            // keeping the old size would drop what the row says.
            if (tag->type() == tag_type::kRegister && tag->size != values->size) {
                return refuse(
                    record, formatText("the tag %s of node %u has %u bytes and the row asks for %u: a "
                                       "merge renames tags but does not change their size",
                                       std::string(tag->plainAddress()).c_str(), unsigned{tag->nodeNumber()},
                                       unsigned{tag->size}, unsigned{values->size}));
            }
            if (tag->name == values->name) {
                ++report.unchanged;
                continue;
            }
            TagDraft renamed = *editor.load(*tag);
            renamed.name = values->name;
            const std::string oldName = tag->name;
            if (editor.change(*tag, renamed) == nullptr) {
                return refuse(record, lastMessage());
            }
            undo.renamed.emplace_back(tag, oldName);
            names.erase(oldName);
            names[tag->name] = tag;
            ++report.renamed;
            continue;
        }
        Tag* added = editor.add(draft);
        if (added == nullptr) {
            return refuse(record, lastMessage());
        }
        undo.added.push_back(added);
        names[added->name] = added;
        ++report.added;
    }
    application.sortTags();
    return report;
}

} // namespace quillon
