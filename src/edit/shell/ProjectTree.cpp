#include "edit/shell/ProjectTree.h"

#include "edit/define/Keypad.h"
#include "model/AlarmTable.h"
#include "model/Application.h"
#include "model/Block.h"
#include "model/KeyDefinition.h"
#include "model/Node.h"
#include "model/Screen.h"
#include "model/Tag.h"

#include <algorithm>
#include <cctype>
#include <cstdio>

namespace quillon {
namespace {

bool sameText(std::string_view a, std::string_view b) noexcept {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return std::tolower(static_cast<unsigned char>(x)) ==
                      std::tolower(static_cast<unsigned char>(y));
           });
}

std::string screenTypeText(ScreenType type) {
    switch (type) {
    case ScreenType::Display:
        return "Display";
    case ScreenType::PrintOnly:
        return "Print only";
    case ScreenType::Both:
        return "Display and print";
    }
    return "Display";
}

std::string alarmNumber(std::size_t alarm) {
    char text[8];
    std::snprintf(text, sizeof text, "%03d", static_cast<int>(alarm));
    return text;
}

ProjectItem branch(ProjectItemKind kind, std::string name, std::size_t count) {
    ProjectItem item;
    item.kind = kind;
    item.label = ProjectTree::countedLabel(name, count);
    item.name = std::move(name);
    item.count = count;
    return item;
}

ProjectItem tagItem(const Tag& tag, ProjectItemKind kind) {
    ProjectItem item;
    item.kind = kind;
    item.tag = &tag;
    item.name = tag.name.empty() ? tag.displayAddress() : tag.name;
    item.alias = tag.displayAddress();
    item.label = (tag.name.empty() ? std::string("(no name)") : tag.name) + "  " + tag.displayAddress() +
                 "  " + ProjectTree::tagTypeText(tag);
    return item;
}

ProjectItem keyItem(const KeyDefinition& key) {
    ProjectItem item;
    item.kind = ProjectItemKind::Key;
    item.key = &key;
    item.name = keyName(key.code);
    item.label = item.name;
    if (key.legend && key.legend->type == KeyLegend::kText) {
        std::string legend = key.legend->line1;
        if (!key.legend->line2.empty()) {
            legend += (legend.empty() ? "" : " ") + key.legend->line2;
        }
        if (!legend.empty()) {
            item.alias = legend;
            item.label += "  \"" + legend + "\"";
        }
    } else if (key.legend && key.legend->type == KeyLegend::kBitmap && !key.legend->bitmapName.empty()) {
        item.alias = key.legend->bitmapName;
        item.label += "  [" + key.legend->bitmapName + "]";
    }
    std::size_t tasks = 0;
    for (std::size_t list = 0; list < key.taskListCount(); ++list) {
        tasks += key.taskList(list).size();
    }
    item.label += "  (" + ProjectTree::formatCount(tasks) + (tasks == 1 ? " task)" : " tasks)");
    return item;
}

bool pathOfInto(const ProjectItem& at, const ProjectItem& item, std::string& path) {
    if (&at == &item) {
        return true;
    }
    for (const ProjectItem& child : at.children) {
        const std::size_t kept = path.size();
        path += (path.empty() ? "" : "/") + child.name;
        if (pathOfInto(child, item, path)) {
            return true;
        }
        path.resize(kept);
    }
    return false;
}

const void* recordOf(const ProjectItem& item) noexcept {
    if (item.tag != nullptr) {
        return item.tag;
    }
    if (item.block != nullptr) {
        return item.block;
    }
    if (item.node != nullptr) {
        return item.node;
    }
    if (item.screen != nullptr) {
        return item.screen;
    }
    return item.key;
}

} // namespace

std::string ProjectTree::formatCount(std::size_t count) {
    std::string digits = std::to_string(count);
    std::string out;
    for (std::size_t i = 0; i < digits.size(); ++i) {
        if (i != 0 && (digits.size() - i) % 3 == 0) {
            out += ' ';
        }
        out += digits[i];
    }
    return out;
}

std::string ProjectTree::countedLabel(std::string_view text, std::size_t count) {
    return std::string(text) + " (" + formatCount(count) + ")";
}

std::string ProjectTree::tagTypeText(const Tag& tag) {
    switch (tag.type()) {
    case tag_type::kCoil:
        return "Coil";
    case tag_type::kRegisterBit:
        return "Register bit " + std::to_string(tag.bit);
    case tag_type::kRegister:
        return "Register (" + std::to_string(tag.size) + (tag.size == 1 ? " byte)" : " bytes)");
    default:
        return "Unknown type";
    }
}

ProjectItem ProjectTree::build(const Application& app, const std::vector<std::string>& pictures) {
    ProjectItem root;
    root.kind = ProjectItemKind::Application;
    root.label = app.info().title.empty() ? std::string(app.panelModelName()) : app.info().title;
    root.children.reserve(9);

    ProjectItem settings;
    settings.kind = ProjectItemKind::UnitSettings;
    settings.name = "Unit settings";
    settings.label = "Unit settings  (" + std::string(app.panelModelName()) + ")";
    root.children.push_back(std::move(settings));

    // Network: nodes, their blocks and the blocks' tags.
    std::size_t blocks = 0;
    for (const auto& node : app.nodes()) {
        blocks += node->blockCount();
    }
    ProjectItem network = branch(ProjectItemKind::Network, "Network", app.nodeCount());
    network.label = "Network (" + formatCount(app.nodeCount()) +
                    (app.nodeCount() == 1 ? " node, " : " nodes, ") + formatCount(blocks) +
                    (blocks == 1 ? " block, " : " blocks, ") + formatCount(app.tagCount()) +
                    (app.tagCount() == 1 ? " tag)" : " tags)");
    network.children.reserve(app.nodeCount());
    for (const auto& node : app.nodes()) {
        ProjectItem n;
        n.kind = ProjectItemKind::Node;
        n.node = node.get();
        n.name = node->name.empty() ? "Node " + std::to_string(node->number()) : node->name;
        n.alias = "Node " + std::to_string(node->number());
        std::size_t tags = 0;
        n.children.reserve(node->blockCount());
        for (const auto& block : node->blocks()) {
            ProjectItem b;
            b.kind = ProjectItemKind::Block;
            b.block = block.get();
            b.name = block->address();
            b.alias = block->name;
            b.count = block->tagCount();
            b.label = block->address() + " : " + std::to_string(block->size) +
                      (block->name.empty() ? std::string() : " " + block->name) + "  (" +
                      formatCount(block->tagCount()) + (block->tagCount() == 1 ? " tag)" : " tags)");
            b.children.reserve(block->tagCount());
            for (const Tag* tag : block->tags()) {
                b.children.push_back(tagItem(*tag, ProjectItemKind::Tag));
            }
            tags += block->tagCount();
            n.children.push_back(std::move(b));
        }
        n.count = tags;
        const std::string plc =
            node->kind() == NodeKind::Unit ? std::string(app.panelModelName()) : node->plcName;
        n.label = std::to_string(node->number()) + "  " + n.name + (plc.empty() ? "" : "  [" + plc + "]") +
                  "  (" + formatCount(node->blockCount()) +
                  (node->blockCount() == 1 ? " block, " : " blocks, ") + formatCount(tags) +
                  (tags == 1 ? " tag)" : " tags)");
        network.children.push_back(std::move(n));
    }
    root.children.push_back(std::move(network));

    ProjectItem screens = branch(ProjectItemKind::Screens, "Screens", app.screenCount());
    screens.children.reserve(app.screenCount());
    for (const auto& screen : app.screens()) {
        ProjectItem s;
        s.kind = ProjectItemKind::Screen;
        s.screen = screen.get();
        s.name = std::to_string(screen->number());
        s.alias = screen->name;
        s.count = screen->objectCount();
        s.label = s.name + "  " + screen->name + "  (" + screenTypeText(screen->type) + ", " +
                  formatCount(screen->objectCount()) +
                  (screen->objectCount() == 1 ? " object)" : " objects)");
        screens.children.push_back(std::move(s));
    }
    root.children.push_back(std::move(screens));

    ProjectItem lists =
        branch(ProjectItemKind::TaskLists, "Task lists", app.powerOnTaskCount() + app.globalTaskCount());
    lists.children.push_back(branch(ProjectItemKind::PowerOnTasks, "Power-on tasks", app.powerOnTaskCount()));
    lists.children.push_back(branch(ProjectItemKind::GlobalTasks, "Global tasks", app.globalTaskCount()));
    root.children.push_back(std::move(lists));

    ProjectItem keys = branch(ProjectItemKind::GlobalKeys, "Global keys", app.globalKeyCount());
    keys.children.reserve(app.globalKeyCount());
    for (const auto& key : app.globalKeys()) {
        keys.children.push_back(keyItem(*key));
    }
    root.children.push_back(std::move(keys));

    const AlarmTable* table = app.alarmsIfAny();
    ProjectItem alarms = branch(ProjectItemKind::Alarms, "Alarms", table != nullptr ? table->textCount() : 0);
    if (table != nullptr) {
        alarms.children.reserve(table->textCount());
        for (std::size_t a = 0; a < AlarmTable::kAlarms; ++a) {
            if (table->text(a).empty()) {
                continue;
            }
            ProjectItem item;
            item.kind = ProjectItemKind::Alarm;
            item.index = a;
            item.name = alarmNumber(a);
            item.alias = table->text(a);
            item.label = item.name + "  " + table->text(a);
            alarms.children.push_back(std::move(item));
        }
    }
    root.children.push_back(std::move(alarms));

    ProjectItem logger = branch(ProjectItemKind::Logger, "Logger", app.loggerTags().size());
    for (const Tag* tag : app.loggerTags()) {
        logger.children.push_back(tagItem(*tag, ProjectItemKind::LoggedTag));
    }
    root.children.push_back(std::move(logger));

    ProjectItem library = branch(ProjectItemKind::Pictures, "Picture library", pictures.size());
    for (std::size_t i = 0; i < pictures.size(); ++i) {
        ProjectItem picture;
        picture.kind = ProjectItemKind::Picture;
        picture.index = i;
        picture.name = std::to_string(i + 1);
        picture.alias = pictures[i];
        picture.label = picture.name + "  " + pictures[i];
        library.children.push_back(std::move(picture));
    }
    root.children.push_back(std::move(library));
    return root;
}

const ProjectItem* ProjectTree::find(const ProjectItem& root, std::string_view path) {
    const ProjectItem* at = &root;
    while (!path.empty()) {
        const std::size_t slash = path.find('/');
        const std::string_view segment = path.substr(0, slash);
        path = slash == std::string_view::npos ? std::string_view() : path.substr(slash + 1);
        if (segment.empty()) {
            continue;
        }
        const ProjectItem* next = nullptr;
        for (const auto matches : {&ProjectItem::name, &ProjectItem::alias, &ProjectItem::label}) {
            for (const ProjectItem& child : at->children) {
                if (!(child.*matches).empty() && sameText(child.*matches, segment)) {
                    next = &child;
                    break;
                }
            }
            if (next != nullptr) {
                break;
            }
        }
        if (next == nullptr) {
            return nullptr;
        }
        at = next;
    }
    return at;
}

std::string ProjectTree::pathOf(const ProjectItem& root, const ProjectItem& item) {
    std::string path;
    return pathOfInto(root, item, path) ? path : std::string();
}

const ProjectItem* ProjectTree::findFor(const ProjectItem& root, ProjectItemKind kind, const void* record,
                                        std::size_t index) {
    if (root.kind == kind && (record == nullptr ? root.index == index : recordOf(root) == record)) {
        return &root;
    }
    for (const ProjectItem& child : root.children) {
        if (const ProjectItem* found = findFor(child, kind, record, index)) {
            return found;
        }
    }
    return nullptr;
}

std::size_t ProjectTree::itemCount(const ProjectItem& root) {
    std::size_t count = 1;
    for (const ProjectItem& child : root.children) {
        count += itemCount(child);
    }
    return count;
}

} // namespace quillon
