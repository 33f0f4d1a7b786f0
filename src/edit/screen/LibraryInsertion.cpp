#include "edit/screen/LibraryInsertion.h"

#include "edit/define/TagEditor.h"
#include "edit/screen/ScreenReplication.h"
#include "model/Application.h"
#include "model/Block.h"
#include "model/Node.h"
#include "model/Screen.h"
#include "model/ScreenObject.h"
#include "model/Tag.h"
#include "model/TaskList.h"
#include "model/TaskListOwner.h"
#include "model/TextFormat.h"
#include "plc/TagAddress.h"

#include <algorithm>
#include <functional>
#include <set>

namespace quillon {

namespace {

bool sameKind(const Tag& a, const Tag& b) noexcept {
    return a.type() == b.type() && (a.isBit() || a.size == b.size);
}

} // namespace

LibraryInsertion::LibraryInsertion(Application& application, PlcCatalogFiles& catalogs,
                                   const Application& item)
    : app_(application), catalogs_(catalogs), item_(item) {
    for (const auto& screen : item_.screens()) {
        for (Tag* tag : ScreenReplication::tagsOf(*screen)) {
            if (std::find(itemTags_.begin(), itemTags_.end(), tag) == itemTags_.end()) {
                itemTags_.push_back(tag);
            }
        }
    }
}

LibraryInsertion::~LibraryInsertion() = default;

std::uint8_t LibraryInsertion::nodeOf(const Tag& itemTag) noexcept {
    return itemTag.node() != nullptr ? itemTag.node()->number() : itemTag.nodeNumber();
}

TagEditor* LibraryInsertion::editorFor(Node& node) {
    auto& editor = editors_[&node];
    if (!editor) {
        editor = std::make_unique<TagEditor>(app_, catalogs_, messages_);
        editor->selectNode(&node);
    }
    return editor.get();
}

std::vector<Tag*> LibraryInsertion::candidates(const Tag& itemTag) const {
    std::vector<Tag*> found;
    const std::uint8_t node = nodeOf(itemTag);
    for (const Tag& tag : app_.tags()) {
        if (tag.nodeNumber() == node && sameKind(tag, itemTag)) {
            found.push_back(const_cast<Tag*>(&tag));
        }
    }
    return found;
}

LibraryTagChoice LibraryInsertion::suggestion(const Tag& itemTag) const {
    const std::vector<Tag*> options = candidates(itemTag);
    for (Tag* tag : options) {
        if (tag->name == itemTag.name) {
            return {LibraryTagChoice::Action::Map, tag, {}};
        }
    }
    for (Tag* tag : options) {
        if (tag->address() == itemTag.address()) {
            return {LibraryTagChoice::Action::Map, tag, {}};
        }
    }
    if (app_.findNodeByNumber(nodeOf(itemTag)) != nullptr && app_.isTagNameFree(itemTag.name) &&
        app_.tags().find(nodeOf(itemTag), itemTag.address()) == app_.tags().end()) {
        return {LibraryTagChoice::Action::Create, nullptr, itemTag.name};
    }
    return {LibraryTagChoice::Action::Refuse, nullptr, {}};
}

std::string LibraryInsertion::refusedText(const std::vector<const Tag*>& refused) {
    std::string names;
    for (const Tag* tag : refused) {
        if (!names.empty()) {
            names += ", ";
        }
        names += formatText("'%s' ( node %u, %s )", tag->name.c_str(), unsigned{nodeOf(*tag)},
                            tag->displayAddress().c_str());
    }
    return formatText("The library item can not be inserted: %s %s no tag in this application.",
                      names.c_str(), refused.size() == 1 ? "has" : "have");
}

std::string LibraryInsertion::problem(const std::vector<LibraryTagChoice>& choices) {
    if (choices.size() != itemTags_.size()) {
        return "Choose what becomes of every tag of the library item.";
    }
    std::vector<const Tag*> refused;
    std::set<std::string> newNames;
    std::set<std::pair<std::uint8_t, std::string>> newAddresses;
    for (std::size_t i = 0; i < choices.size(); ++i) {
        const Tag& itemTag = *itemTags_[i];
        const LibraryTagChoice& choice = choices[i];
        const std::uint8_t nodeNumber = nodeOf(itemTag);
        // An address means the same only on the same kind of PLC.
        const Node* here = app_.findNodeByNumber(nodeNumber);
        const Node* there = itemTag.node();
        if (choice.action != LibraryTagChoice::Action::Refuse && here != nullptr && there != nullptr &&
            (here->kind() != there->kind() || here->plcName != there->plcName)) {
            return formatText(
                "The tag '%s' of the item belongs to node %u, a %s; node %u of this application "
                "is a %s.",
                itemTag.name.c_str(), unsigned{nodeNumber}, there->plcName.c_str(), unsigned{nodeNumber},
                here->plcName.c_str());
        }
        switch (choice.action) {
        case LibraryTagChoice::Action::Refuse:
            refused.push_back(&itemTag);
            break;
        case LibraryTagChoice::Action::Map: {
            const std::vector<Tag*> options = candidates(itemTag);
            if (std::find(options.begin(), options.end(), choice.target) == options.end()) {
                return formatText("The tag '%s' of the item can only stand for a tag of node %u with its "
                                  "type and size.",
                                  itemTag.name.c_str(), unsigned{nodeNumber});
            }
            break;
        }
        case LibraryTagChoice::Action::Create: {
            Node* node = app_.findNodeByNumber(nodeNumber);
            if (node == nullptr) {
                return formatText("The tag '%s' can not be created: this application has no node %u.",
                                  itemTag.name.c_str(), unsigned{nodeNumber});
            }
            if (choice.name.empty()) {
                return formatText("Enter the name of the tag to create for '%s'.", itemTag.name.c_str());
            }
            if (!app_.isTagNameFree(choice.name) || !newNames.insert(choice.name).second) {
                return formatText("The tag '%s' can not be created: the name is already in use.",
                                  choice.name.c_str());
            }
            if (app_.tags().find(nodeNumber, itemTag.address()) != app_.tags().end() ||
                !newAddresses.emplace(nodeNumber, itemTag.address()).second) {
                return formatText("The tag '%s' can not be created: node %u already has a tag at %s; map "
                                  "the item's tag to it.",
                                  choice.name.c_str(), unsigned{nodeNumber},
                                  itemTag.displayAddress().c_str());
            }
            if (!editorFor(*node)->load(itemTag)) {
                return formatText("The tag '%s' can not be created: the address %s is not known to the PLC "
                                  "of node %u.",
                                  choice.name.c_str(), itemTag.displayAddress().c_str(),
                                  unsigned{nodeNumber});
            }
            break;
        }
        }
    }
    if (!refused.empty()) {
        return refusedText(refused);
    }
    return {};
}

Result<LibraryBinding> LibraryInsertion::bind(const std::vector<LibraryTagChoice>& choices) {
    using R = Result<LibraryBinding>;
    if (std::string why = problem(choices); !why.empty()) {
        return R::fail(why);
    }
    LibraryBinding binding;
    std::map<const Tag*, Tag*> targets;
    for (std::size_t i = 0; i < choices.size(); ++i) {
        const Tag& itemTag = *itemTags_[i];
        const LibraryTagChoice& choice = choices[i];
        if (choice.action == LibraryTagChoice::Action::Map) {
            targets[&itemTag] = choice.target;
            continue;
        }
        Node* node = app_.findNodeByNumber(nodeOf(itemTag));
        TagEditor* editor = editorFor(*node);
        std::optional<TagDraft> draft = editor->load(itemTag);
        Tag* made = nullptr;
        if (draft) {
            draft->name = choice.name;
            messages_.clear();
            made = editor->add(*draft);
        }
        if (made == nullptr) {
            const std::string why =
                messages_.empty() ? std::string(TagEditor::kCantCreateTag) : messages_.texts().back();
            discard(binding);
            return R::fail(formatText("The tag '%s' ( node %u, %s ) can not be created:\n%s",
                                      choice.name.c_str(), unsigned{nodeOf(itemTag)},
                                      itemTag.displayAddress().c_str(), why.c_str()));
        }
        made->readWrite = itemTag.readWrite;
        made->attribute = itemTag.attribute;
        binding.created.push_back(made);
        targets[&itemTag] = made;
    }
    for (const auto& screen : item_.screens()) {
        const auto& list = screen->objects();
        const std::size_t base = binding.objects.size();
        for (const auto& object : list) {
            std::unique_ptr<ScreenObject> copy = object->clone();
            copy->mapTags([&](Tag* tag) {
                const auto it = targets.find(tag);
                return it != targets.end() ? it->second : tag;
            });
            std::optional<std::size_t> next;
            if (const ScreenObject* member = object->groupNext()) {
                for (std::size_t j = 0; j < list.size(); ++j) {
                    if (list[j].get() == member) {
                        next = base + j;
                    }
                }
            }
            binding.objects.push_back(std::move(copy));
            binding.groupNext.push_back(next);
        }
    }
    return R(std::move(binding));
}

void LibraryInsertion::discard(const LibraryBinding& binding) {
    for (auto it = binding.created.rbegin(); it != binding.created.rend(); ++it) {
        Tag& tag = **it;
        if (Node* node = tag.node()) {
            (void)editorFor(*node)->removeWithoutAsking(tag);
        }
    }
}

} // namespace quillon
