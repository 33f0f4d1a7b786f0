#include "edit/screen/ScreenReplication.h"

#include "edit/define/TagEditor.h"
#include "model/Application.h"
#include "model/Block.h"
#include "model/Node.h"
#include "model/Screen.h"
#include "model/TaskList.h"
#include "model/TaskListOwner.h"
#include "model/TextFormat.h"
#include "model/TextObject.h"
#include "plc/ConsecutiveAddresses.h"
#include "plc/TagAddress.h"

#include <algorithm>
#include <functional>
#include <new>
#include <set>
#include <unordered_map>
#include <unordered_set>

namespace quillon {

namespace {

void tagsOfList(const TaskList& list, const std::function<void(Tag*)>& visit) {
    for (const auto& task : list.tasks()) {
        if (task->tag1 != nullptr) {
            visit(task->tag1);
        }
        if (task->tag2 != nullptr) {
            visit(task->tag2);
        }
    }
}

void tagsOfObject(const ScreenObject& object, const std::function<void(Tag*)>& visit) {
    if (object.tag() != nullptr) {
        visit(object.tag());
    }
    if (object.showHide() && object.showHide()->tag != nullptr) {
        visit(object.showHide()->tag);
    }
    if (object.flashAnimation() && object.flashAnimation()->tag != nullptr) {
        visit(object.flashAnimation()->tag);
    }
    if (const TaskListOwner* owner = object.taskOwner()) {
        for (std::size_t l = 0; l < owner->taskListCount(); ++l) {
            tagsOfList(owner->taskList(l), visit);
        }
    }
}

std::string tagLine(const std::string& name, std::uint8_t node, const std::string& address) {
    return formatText("  %s ( node %u, %s )", name.c_str(), unsigned{node}, address.c_str());
}

bool sameKind(const Tag& a, const Tag& b) noexcept {
    return a.type() == b.type() && (a.type() != tag_type::kRegister || a.size == b.size);
}

} // namespace

std::string ReplicaPlan::summary(const Screen& source) const {
    std::string text = formatText("Replicated screen %u to %zu screen(s)", source.number(), numbers.size());
    if (!numbers.empty()) {
        text += formatText(" (%u", numbers.front());
        if (numbers.size() > 1) {
            text += formatText(" to %u", numbers.back());
        }
        text += ")";
    }
    text += formatText("; created %zu tag(s), used %zu existing tag(s).", newTags.size(), reusedTags);
    return text;
}

std::string ReplicaPlan::question(const Screen& source) const {
    return formatText("Replicate Screen ' %u : %s ' ?\n\n%zu screen(s) will be created and %zu tag(s) "
                      "added.\n( A replication can not be undone. )",
                      source.number(), source.name.c_str(), numbers.size(), newTags.size());
}

ScreenReplication::ScreenReplication(Application& application, PlcCatalogFiles& catalogs)
    : app_(application), catalogs_(catalogs) {}

ScreenReplication::~ScreenReplication() = default;

std::vector<Tag*> ScreenReplication::tagsOf(const Screen& screen) {
    std::vector<Tag*> tags;
    std::unordered_set<const Tag*> seen;
    const auto visit = [&](Tag* tag) {
        if (seen.insert(tag).second) {
            tags.push_back(tag);
        }
    };
    for (const auto& object : screen.objects()) {
        tagsOfObject(*object, visit);
    }
    for (std::size_t l = 0; l < screen.taskListCount(); ++l) {
        tagsOfList(screen.taskList(l), visit);
    }
    for (const auto& key : screen.keys()) {
        for (std::size_t l = 0; l < key->taskListCount(); ++l) {
            tagsOfList(key->taskList(l), visit);
        }
    }
    return tags;
}

TagEditor* ScreenReplication::editorFor(Node& node) {
    auto& editor = editors_[&node];
    if (!editor) {
        editor = std::make_unique<TagEditor>(app_, catalogs_, messages_);
        editor->setRenumber(false);
        editor->selectNode(&node);
    }
    return editor.get();
}

Result<std::string> ScreenReplication::shifted(const Tag& tag, std::int64_t by) {
    const std::string plain(TagAddress::withoutBit(tag.plainAddress()));
    if (by == 0) {
        return plain;
    }
    const auto refuse = [&] {
        return Result<std::string>::fail(formatText(
            "The tag '%s' ( node %u, %s ) moved by %lld can not be addressed: the address is outside its "
            "Tag Range.",
            tag.name.c_str(), unsigned{tag.nodeNumber()}, tag.displayAddress().c_str(),
            static_cast<long long>(by)));
    };
    if (by < 0 || by > 0xFFFFFF || tag.node() == nullptr) {
        return refuse();
    }
    TagEditor* editor = editorFor(*tag.node());
    const auto draft = editor->load(tag);
    if (!draft) {
        return refuse();
    }
    const auto end = ConsecutiveAddresses::blockEnd(editor->areas()[draft->area], plain,
                                                    static_cast<std::uint32_t>(by + 1));
    if (!end) {
        return refuse();
    }
    return *end;
}

Result<ReplicaPlan> ScreenReplication::plan(const Screen& source, const std::vector<std::uint32_t>& numbers,
                                            const ReplicationRule& rule) {
    std::vector<CopyMap> maps;
    return planInto(source, numbers, rule, maps);
}

Result<ReplicaPlan> ScreenReplication::planInto(const Screen& source,
                                                const std::vector<std::uint32_t>& numbers,
                                                const ReplicationRule& rule, std::vector<CopyMap>& maps) {
    using R = Result<ReplicaPlan>;
    if (app_.findScreen(source.number()) != &source) {
        return R::fail("The screen to replicate is not part of this application.");
    }
    if (numbers.empty()) {
        return R::fail("No screen number is given.");
    }
    if (app_.screenCount() + numbers.size() > Screen::kMaxNumber) {
        return R::fail(formatText("This application contains %zu screens; %zu more would pass the limit of "
                                  "65534.\nCan not add new screen.",
                                  app_.screenCount(), numbers.size()));
    }
    ReplicaPlan plan;
    std::set<std::uint32_t> numbersSeen;
    std::set<std::string> namesSeen;
    for (std::size_t i = 0; i < numbers.size(); ++i) {
        const std::uint32_t n = numbers[i];
        if (n < 1 || n > Screen::kMaxNumber) {
            return R::fail(formatText("Screen number %u is out of range ( 1 - 65534 ).", n));
        }
        if (app_.findScreen(n) != nullptr || !numbersSeen.insert(n).second) {
            return R::fail(
                formatText("The Screen of number %u already exist.\nThe number should be UNIQUE.", n));
        }
        std::string name = rule.texts ? rule.replaced(source.name, i) : formatText("Screen%u", n);
        if (name.empty() || name.size() > Screen::kMaxNameLength) {
            return R::fail(formatText("The name \"%s\" of screen %u is empty or longer than 20 characters.",
                                      name.c_str(), n));
        }
        if (!app_.isScreenNameFree(name) || !namesSeen.insert(name).second) {
            return R::fail(formatText("The Screen of name \"%s\" already exist ( for screen %u ).\nThe name "
                                      "should be UNIQUE.",
                                      name.c_str(), n));
        }
        plan.numbers.push_back(n);
        plan.names.push_back(std::move(name));
    }
    if (rule.texts && rule.renames()) {
        for (const auto& object : source.objects()) {
            if (object->kind() != ObjectKind::Text) {
                continue;
            }
            const auto& text = static_cast<const TextObject&>(*object).text();
            for (std::size_t i = 0; i < numbers.size(); ++i) {
                if (rule.replaced(text, i).size() > TextObject::kMaxTextLength) {
                    return R::fail(
                        formatText("The text \"%s\" becomes longer than 255 characters on screen %u.",
                                   text.c_str(), numbers[i]));
                }
            }
        }
    }

    // Tag names in use, and the tags to create by name.
    std::unordered_map<std::string, Tag*> byName;
    for (Tag& tag : app_.tags()) {
        byName.emplace(tag.name, &tag);
    }
    std::unordered_map<std::string, std::size_t> plannedByName;
    std::vector<std::string> missing;
    std::set<const Tag*> reused;
    const std::vector<Tag*> sourceTags = tagsOf(source);
    maps.assign(numbers.size(), {});
    const bool mapping = rule.renames() || rule.offset != 0;
    for (std::size_t i = 0; i < numbers.size() && mapping; ++i) {
        for (Tag* tag : sourceTags) {
            if (!rule.maps(tag->name)) {
                continue;
            }
            const std::string name = rule.tagName(tag->name, i);
            if (name.empty() || name.size() > Tag::kMaxNameBytes) {
                return R::fail(formatText("The tag name \"%s\" made from '%s' is empty or too long.",
                                          name.c_str(), tag->name.c_str()));
            }
            std::string address;
            if (rule.offset != 0) {
                auto moved = shifted(*tag, rule.offsetOf(i));
                if (!moved) {
                    return moved.failure();
                }
                address = moved.value();
            }
            // The tag of that name, when there is one.
            Tag* existing = nullptr;
            if (auto it = byName.find(name); it != byName.end()) {
                existing = it->second;
            }
            if (existing == nullptr && rule.offset != 0) {
                TagValues probe;
                probe.address = address;
                probe.type = tag->type();
                probe.size = tag->size;
                probe.bit = tag->bit;
                probe.byteSelect = tag->byteSelect;
                Tag* atAddress = app_.findTagByAddress(tag->nodeNumber(), probe);
                if (atAddress != nullptr) {
                    if (rule.renames()) {
                        return R::fail(
                            formatText("The tag '%s' for '%s' on screen %u should be at %s of node %u, "
                                       "which is already the tag '%s'.",
                                       name.c_str(), tag->name.c_str(), numbers[i], address.c_str(),
                                       unsigned{tag->nodeNumber()}, atAddress->name.c_str()));
                    }
                    existing = atAddress;
                }
            }
            if (existing != nullptr) {
                if (existing->nodeNumber() != tag->nodeNumber() || !sameKind(*existing, *tag)) {
                    return R::fail(formatText("The tag '%s' exists, but not with the node, type and size of "
                                              "'%s'.",
                                              existing->name.c_str(), tag->name.c_str()));
                }
                maps[i][tag] = Target{existing, 0};
                if (existing != tag) {
                    reused.insert(existing);
                }
                continue;
            }
            if (auto it = plannedByName.find(name); it != plannedByName.end()) {
                const ReplicaPlan::NewTag& planned = plan.newTags[it->second];
                if (planned.node != tag->nodeNumber() || planned.address != address ||
                    !sameKind(*planned.source, *tag)) {
                    return R::fail(
                        formatText("The tag name '%s' would be given to two different tags.", name.c_str()));
                }
                maps[i][tag] = Target{nullptr, it->second};
                continue;
            }
            if (!rule.createTags || rule.offset == 0) {
                missing.push_back(
                    tagLine(name, tag->nodeNumber(), rule.offset != 0 ? address : "no address"));
                plannedByName.emplace(name, plan.newTags.size());
                plan.newTags.push_back({tag, name, address, tag->nodeNumber()});
                continue;
            }
            for (const ReplicaPlan::NewTag& other : plan.newTags) {
                if (other.node == tag->nodeNumber() && other.address == address &&
                    other.source->bit == tag->bit && other.source->byteSelect == tag->byteSelect &&
                    other.source->type() == tag->type()) {
                    return R::fail(formatText(
                        "The tags '%s' and '%s' would both be created at %s of node %u.", other.name.c_str(),
                        name.c_str(), address.c_str(), unsigned{tag->nodeNumber()}));
                }
            }
            maps[i][tag] = Target{nullptr, plan.newTags.size()};
            plannedByName.emplace(name, plan.newTags.size());
            plan.newTags.push_back({tag, name, address, tag->nodeNumber()});
        }
    }
    if (!missing.empty()) {
        std::string text = rule.createTags
                               ? "These tags do not exist and can only be created with an address "
                                 "offset:"
                               : "These tags do not exist (creating tags is not chosen):";
        const std::size_t shown = std::min<std::size_t>(missing.size(), 20);
        for (std::size_t m = 0; m < shown; ++m) {
            text += "\n" + missing[m];
        }
        if (missing.size() > shown) {
            text += formatText("\n  ... and %zu more.", missing.size() - shown);
        }
        return R::fail(text);
    }
    plan.reusedTags = reused.size();
    return plan;
}

Result<std::vector<Screen*>> ScreenReplication::replicate(const Screen& source,
                                                          const std::vector<std::uint32_t>& numbers,
                                                          const ReplicationRule& rule, ReplicaPlan* done) {
    using R = Result<std::vector<Screen*>>;
    std::vector<CopyMap> maps;
    auto planned = planInto(source, numbers, rule, maps);
    if (!planned) {
        return planned.failure();
    }
    const ReplicaPlan& plan = planned.value();

    // What is undone on a refusal: the copies, the tags made for them (with the blocks they needed) and
    // the blocks grown for them.
    std::vector<Screen*> copies;
    std::vector<Tag*> created;
    std::map<Block*, std::uint8_t> sizes;
    for (const auto& node : app_.nodes()) {
        for (const auto& block : node->blocks()) {
            sizes.emplace(block.get(), block->size);
        }
    }
    const auto undo = [&](const std::string& reason) -> R {
        for (auto it = copies.rbegin(); it != copies.rend(); ++it) {
            (void)app_.removeScreen(**it);
        }
        for (auto it = created.rbegin(); it != created.rend(); ++it) {
            if (Node* node = (*it)->node()) {
                (void)editorFor(*node)->removeWithoutAsking(**it);
            }
        }
        for (const auto& node : app_.nodes()) {
            for (const auto& block : node->blocks()) {
                if (auto s = sizes.find(block.get()); s != sizes.end() && s->second != block->size) {
                    (void)app_.resizeBlock(*block, s->second);
                }
            }
        }
        app_.renumber();
        editors_.clear(); // they refer to the names of this run
        return R::fail(reason);
    };

    try {
        std::unordered_set<std::string> names;
        for (const Tag& tag : app_.tags()) {
            names.insert(tag.name);
        }
        for (const ReplicaPlan::NewTag& want : plan.newTags) {
            Node* node = want.source->node();
            TagEditor* editor = node != nullptr ? editorFor(*node) : nullptr;
            auto draft = editor != nullptr ? editor->load(*want.source) : std::nullopt;
            if (!draft) {
                return undo(
                    formatText("The tag '%s' can not be created: the address of '%s' is not known to its "
                               "PLC.",
                               want.name.c_str(), want.source->name.c_str()));
            }
            auto parts = TagAddress::split(editor->areas()[draft->area], want.address);
            if (!parts) {
                return undo(formatText("The tag '%s' can not be created at %s.", want.name.c_str(),
                                       want.address.c_str()));
            }
            draft->parts = parts->parts;
            draft->name = want.name;
            editor->setNameFree([&names](std::string_view name, const Tag*) {
                return names.find(std::string(name)) == names.end();
            });
            messages_.clear();
            Tag* tag = editor->add(*draft);
            if (tag == nullptr) {
                const std::string why =
                    messages_.empty() ? std::string(TagEditor::kCantCreateTag) : messages_.texts().back();
                return undo(formatText("The tag '%s' ( node %u, %s ) can not be created:\n%s",
                                       want.name.c_str(), unsigned{want.node}, want.address.c_str(),
                                       why.c_str()));
            }
            tag->readWrite = want.source->readWrite;
            tag->attribute = want.source->attribute;
            names.insert(tag->name);
            created.push_back(tag);
        }

        for (std::size_t i = 0; i < plan.numbers.size(); ++i) {
            const CopyMap& map = maps[i];
            const auto target = [&](Tag* tag) -> Tag* {
                const auto it = map.find(tag);
                if (it == map.end()) {
                    return tag;
                }
                return it->second.existing != nullptr ? it->second.existing : created[it->second.planned];
            };
            auto screen = std::make_unique<Screen>(plan.numbers[i]);
            screen->name = plan.names[i];
            screen->password = source.password;
            screen->description = source.description;
            screen->type = source.type;
            std::map<const ScreenObject*, ScreenObject*> placed;
            for (const auto& object : source.objects()) {
                std::unique_ptr<ScreenObject> copy = object->clone();
                copy->mapTags(target);
                if (rule.texts && rule.renames() && copy->kind() == ObjectKind::Text) {
                    auto& text = static_cast<TextObject&>(*copy);
                    if (Status s = text.setText(rule.replaced(text.text(), i)); !s) {
                        return undo(s.message());
                    }
                }
                auto added = screen->appendObject(std::move(copy));
                if (!added) {
                    return undo(added.message());
                }
                placed.emplace(object.get(), added.value());
            }
            std::set<const ScreenObject*> ringDone;
            for (const auto& object : source.objects()) {
                if (object->groupNext() == nullptr || ringDone.count(object.get()) != 0) {
                    continue;
                }
                std::vector<ScreenObject*> members;
                for (const ScreenObject* member : source.groupMembers(*object)) {
                    ringDone.insert(member);
                    members.push_back(placed.at(member));
                }
                if (Status s = screen->group(members); !s) {
                    return undo(s.message());
                }
            }
            auto joined = app_.addScreen(std::move(screen));
            if (!joined) {
                return undo(joined.message());
            }
            Screen* copy = joined.value();
            copies.push_back(copy);
            const auto copyList = [&](TaskListOwner& owner, const TaskListOwner& from) -> Status {
                for (std::size_t l = 0; l < from.taskListCount(); ++l) {
                    for (const auto& task : from.taskList(l).tasks()) {
                        Task mapped = *task;
                        mapped.tag1 = mapped.tag1 != nullptr ? target(mapped.tag1) : nullptr;
                        mapped.tag2 = mapped.tag2 != nullptr ? target(mapped.tag2) : nullptr;
                        if (auto added = app_.appendTask(owner, l, mapped); !added) {
                            return added.failure();
                        }
                    }
                }
                return Status::success();
            };
            if (Status s = copyList(*copy, source); !s) {
                return undo(s.message());
            }
            for (const auto& key : source.keys()) {
                auto fresh = std::make_unique<KeyDefinition>(key->code);
                fresh->interrupt = key->interrupt;
                fresh->password = key->password;
                auto added = app_.addKey(*copy, std::move(fresh));
                if (!added) {
                    return undo(added.message());
                }
                if (Status s = copyList(*added.value(), *key); !s) {
                    return undo(s.message());
                }
            }
            if (!app_.checkReadLimit(*copy)) {
                return undo(formatText("In the Screen of number %u, Tags to be read exceed the limit.\n( %u "
                                       "registers, the limit is %u. )",
                                       copy->number(), app_.screenReadRegisters(copy->readList()),
                                       readLimit(app_.modelId())));
            }
        }
        RecordingPrompter capacity;
        if (!app_.checkCapacity(capacity)) {
            return undo(capacity.empty() ? std::string("The unit memory can not hold the copies.")
                                         : capacity.texts().back());
        }
    } catch (const std::bad_alloc&) {
        return undo("Can't create new screen.");
    }
    app_.renumber();
    editors_.clear();
    if (done != nullptr) {
        *done = plan;
    }
    return copies;
}

} // namespace quillon
