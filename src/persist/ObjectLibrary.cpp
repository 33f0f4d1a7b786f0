#include "persist/ObjectLibrary.h"

#include "model/Application.h"
#include "model/Block.h"
#include "model/NewApplication.h"
#include "model/Node.h"
#include "model/PanelModel.h"
#include "model/RecordingPrompter.h"
#include "model/Screen.h"
#include "model/ScreenObject.h"
#include "model/Tag.h"
#include "model/TaskList.h"
#include "model/TaskListOwner.h"
#include "model/TextFormat.h"
#include "persist/AtomicFileWriter.h"
#include "persist/TextFormReader.h"
#include "persist/TextFormWriter.h"

#include <algorithm>
#include <fstream>
#include <functional>
#include <iterator>
#include <map>
#include <sstream>
#include <system_error>

namespace quillon {

namespace {

std::unique_ptr<Node> copyNode(const Node& source) {
    auto node = std::make_unique<Node>(source.kind(), source.number());
    node->setSpecialData(source.specialData());
    node->plcId = source.plcId;
    node->modelIndex = source.modelIndex;
    node->modelCode = source.modelCode;
    node->name = source.name;
    node->plcFile = source.plcFile;
    node->plcName = source.plcName;
    node->modelNames = source.modelNames;
    return node;
}

TagValues valuesOf(const Tag& tag) {
    TagValues values;
    values.address = tag.address();
    values.type = tag.type();
    values.readWrite = tag.readWrite;
    values.bit = tag.bit;
    values.size = tag.size;
    values.byteSelect = tag.byteSelect;
    values.attribute = tag.attribute;
    values.name = tag.name;
    return values;
}

} // namespace

Result<std::unique_ptr<Application>> ObjectLibrary::extract(const Application& application,
                                                            std::span<const ScreenObject* const> objects) {
    using R = Result<std::unique_ptr<Application>>;
    if (objects.empty()) {
        return R::fail("Select the objects to add to the library.");
    }
    if (objects.size() > Screen::kMaxObjects) {
        return R::fail("A library item holds at most 255 objects.");
    }
    for (const ScreenObject* object : objects) {
        if (object->kind() == ObjectKind::Bitmap) {
            return R::fail("A picture can not be added to the library: pictures stay in the picture "
                           "library of their application.\nLeave the Bitmap objects out of the selection.");
        }
    }
    RecordingPrompter quiet;
    std::unique_ptr<Application> item = newApplication(application.modelId(), quiet);
    if (item == nullptr) {
        return R::fail("Can't start new application.");
    }
    item->unitSettings().touchScreen = application.unitSettings().touchScreen;

    // The item's copy of each tag used, with its block and node, made on first use.
    std::map<const Tag*, Tag*> copies;
    std::string problem;
    const auto copyOf = [&](Tag* tag) -> Tag* {
        if (const auto known = copies.find(tag); known != copies.end()) {
            return known->second;
        }
        const Block* block = tag->block();
        const Node* node = tag->node();
        if (block == nullptr || node == nullptr) {
            problem = formatText("The tag '%s' belongs to no block.", tag->name.c_str());
            return tag;
        }
        Node* itemNode = item->findNodeByNumber(node->number());
        if (itemNode == nullptr) {
            Result<Node*> added = item->addNode(copyNode(*node));
            if (!added) {
                problem = added.message();
                return tag;
            }
            itemNode = added.value();
        }
        Block* itemBlock = nullptr;
        for (const auto& b : itemNode->blocks()) {
            if (b->address() == block->address()) {
                itemBlock = b.get();
            }
        }
        if (itemBlock == nullptr) {
            auto copy = std::make_unique<Block>(block->address(), block->size);
            copy->attribute = block->attribute;
            copy->name = block->name;
            copy->prefix = block->prefix;
            Result<Block*> added = item->addBlock(*itemNode, std::move(copy));
            if (!added) {
                problem = added.message();
                return tag;
            }
            itemBlock = added.value();
        }
        Result<Tag*> made = item->addTag(*itemBlock, valuesOf(*tag));
        if (!made) {
            problem = made.message();
            return tag;
        }
        copies.emplace(tag, made.value());
        return made.value();
    };

    auto screen = std::make_unique<Screen>(kItemScreen);
    screen->name = "LIBRARY ITEM";
    Result<Screen*> added = item->addScreen(std::move(screen));
    if (!added) {
        return R::fail(added.message());
    }
    Screen& itemScreen = *added.value();
    std::map<const ScreenObject*, ScreenObject*> placed;
    for (const ScreenObject* object : objects) {
        std::unique_ptr<ScreenObject> copy = object->clone();
        copy->mapTags(copyOf);
        if (!problem.empty()) {
            return R::fail(problem);
        }
        Result<ScreenObject*> put = itemScreen.appendObject(std::move(copy));
        if (!put) {
            return R::fail(put.message());
        }
        placed.emplace(object, put.value());
    }
    // Group rings whose members are all kept stay groups.
    std::vector<const ScreenObject*> done;
    for (const ScreenObject* object : objects) {
        if (object->groupNext() == nullptr || std::find(done.begin(), done.end(), object) != done.end()) {
            continue;
        }
        std::vector<ScreenObject*> members;
        bool whole = true;
        const ScreenObject* member = object;
        do {
            done.push_back(member);
            const auto it = placed.find(member);
            if (it == placed.end()) {
                whole = false;
            } else {
                members.push_back(it->second);
            }
            member = member->groupNext();
        } while (member != nullptr && member != object && done.size() <= Screen::kMaxObjects * 2);
        if (whole && members.size() > 1) {
            if (Status s = itemScreen.group(members); !s) {
                return R::fail(s.message());
            }
        }
    }
    item->renumber();
    return R(std::move(item));
}

std::string ObjectLibrary::nameProblem(std::string_view name) {
    if (name.empty()) {
        return "Enter a name for the library item.";
    }
    if (name.size() > kMaxNameLength) {
        return "The name of a library item has at most 40 characters.";
    }
    if (name.front() == '.' || name.front() == ' ' || name.back() == ' ') {
        return "The name of a library item does not start with a dot or a space, nor end with a space.";
    }
    for (const char c : name) {
        const auto u = static_cast<unsigned char>(c);
        if (u < 0x20 || u == 0x7F || c == '/' || c == '\\' || c == ':' || c == '*' || c == '?' || c == '"' ||
            c == '<' || c == '>' || c == '|') {
            return "The name of a library item holds no control character and none of / \\ : * ? \" < > |";
        }
    }
    return {};
}

std::filesystem::path ObjectLibrary::fileOf(const std::filesystem::path& folder, std::string_view name) {
    return folder / (std::string(name) + std::string(kExtension));
}

Status ObjectLibrary::save(const std::filesystem::path& folder, std::string_view name,
                           const Application& item, bool replace) {
    if (std::string problem = nameProblem(name); !problem.empty()) {
        return Status::fail(problem);
    }
    if (item.screenCount() != 1) {
        return Status::fail("A library item holds exactly one screen.");
    }
    std::error_code error;
    std::filesystem::create_directories(folder, error);
    if (error || !std::filesystem::is_directory(folder)) {
        return Status::fail(formatText("The library folder %s can not be made.", folder.string().c_str()));
    }
    const std::filesystem::path file = fileOf(folder, name);
    if (!replace && std::filesystem::exists(file, error)) {
        return Status::fail(
            formatText("The library already holds an item named '%s'.", std::string(name).c_str()));
    }
    Result<std::string> text = TextFormWriter::write(item, nullptr);
    if (!text) {
        return Status::fail(text.message());
    }
    const std::string& t = text.value();
    return AtomicFileWriter::writeFile(
        file, std::span<const std::uint8_t>(reinterpret_cast<const std::uint8_t*>(t.data()), t.size()));
}

Result<std::unique_ptr<Application>> ObjectLibrary::load(const std::filesystem::path& file,
                                                         const TextFormContext& context) {
    using R = Result<std::unique_ptr<Application>>;
    std::error_code error;
    const auto size = std::filesystem::file_size(file, error);
    if (error) {
        return R::fail(formatText("The library item %s can not be read.", file.string().c_str()));
    }
    if (size > TextFormReader::kMaxTextBytes) {
        return R::fail(formatText("The library item %s is too large.", file.string().c_str()));
    }
    std::ifstream in(file, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    if (!in && !in.eof()) {
        return R::fail(formatText("The library item %s can not be read.", file.string().c_str()));
    }
    Result<std::unique_ptr<Application>> read = TextFormReader::read(text.str(), context);
    if (!read) {
        return R::fail(
            formatText("The library item %s is damaged:\n%s", file.string().c_str(), read.message().c_str()));
    }
    const Application& item = *read.value();
    if (item.screenCount() != 1 || item.screens().front()->objectCount() == 0) {
        return R::fail(
            formatText("The file %s is no library item: an item holds one screen with its objects.",
                       file.string().c_str()));
    }
    return read;
}

std::vector<std::filesystem::path> ObjectLibrary::list(const std::filesystem::path& folder) {
    std::vector<std::filesystem::path> files;
    std::error_code error;
    for (std::filesystem::directory_iterator it(folder, error), end; !error && it != end;
         it.increment(error)) {
        const std::filesystem::path& p = it->path();
        std::error_code e;
        if (p.extension() == kExtension && it->is_regular_file(e) && nameProblem(nameOf(p)).empty()) {
            files.push_back(p);
        }
    }
    std::sort(files.begin(), files.end());
    return files;
}

std::string ObjectLibrary::nameOf(const std::filesystem::path& file) {
    return file.stem().string();
}

std::string ObjectLibrary::fitProblem(const Application& item, std::uint16_t targetModel) {
    const bool itemCharacter = isCharacterClass(modelClass(item.modelId()));
    const bool targetCharacter = isCharacterClass(modelClass(targetModel));
    if (itemCharacter != targetCharacter) {
        return formatText("Made on a %s display (%s): its objects do not fit a %s display.",
                          itemCharacter ? "character" : "graphic", std::string(item.panelModelName()).c_str(),
                          targetCharacter ? "character" : "graphic");
    }
    const CanvasSize size = displaySize(modelClass(targetModel));
    std::int32_t width = 0;
    std::int32_t height = 0;
    for (const auto& screen : item.screens()) {
        if (screen->objectCount() == 0) {
            continue;
        }
        std::int32_t left = INT32_MAX;
        std::int32_t top = INT32_MAX;
        std::int32_t right = INT32_MIN;
        std::int32_t bottom = INT32_MIN;
        for (const auto& o : screen->objects()) {
            left = std::min(left, o->left);
            top = std::min(top, o->top);
            right = std::max(right, o->right);
            bottom = std::max(bottom, o->bottom);
        }
        width = std::max(width, right - left + 1);
        height = std::max(height, bottom - top + 1);
    }
    if (width > size.width || height > size.height) {
        return formatText("Its objects span %d x %d pixels: more than the %u x %u pixels of the display.",
                          width, height, unsigned{size.width}, unsigned{size.height});
    }
    return {};
}

} // namespace quillon
