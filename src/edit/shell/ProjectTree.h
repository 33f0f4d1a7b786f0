#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace quillon {

class Application;
class Block;
class KeyDefinition;
class Node;
class Screen;
class Tag;

// What a line of the project tree stands for; the editor that owns it follows from it.
enum class ProjectItemKind : std::uint8_t {
    Application,
    UnitSettings,
    Network,
    Node,
    Block,
    Tag,
    Screens,
    Screen,
    TaskLists,
    PowerOnTasks,
    GlobalTasks,
    GlobalKeys,
    Key,
    Alarms,
    Alarm,
    Logger,
    LoggedTag,
    Pictures,
    Picture,
};

// One line of the tree. `name` is what a path names it by (unique among its siblings), `alias` a second
// way to name it (a tag's address, a screen's name), `label` what the tree shows, `count` the number a
// branch carries in its label.
struct ProjectItem {
    ProjectItemKind kind = ProjectItemKind::Application;
    std::string name;
    std::string alias;
    std::string label;
    std::optional<std::size_t> count;
    const Node* node = nullptr;
    const Block* block = nullptr;
    const Tag* tag = nullptr;
    const Screen* screen = nullptr;
    const KeyDefinition* key = nullptr;
    std::size_t index = 0; // an alarm's number, a picture's position in the library
    std::vector<ProjectItem> children;
};

// The whole application as a tree: unit settings; network, nodes, blocks and tags; screens; the Power-on
// and Global task lists; global keys; alarms; logger; picture library. Built afresh from the records, so
// that it shows what the application holds at the moment it is built.
class ProjectTree final {
public:
    // `pictures` are the names of the picture library's pictures in library order.
    static ProjectItem build(const Application& application, const std::vector<std::string>& pictures = {});

    // A count as branches show it: groups of three digits parted by a space ("1 024", "65 535").
    static std::string formatCount(std::size_t count);
    // "Tags" and 1024 give "Tags (1 024)".
    static std::string countedLabel(std::string_view text, std::size_t count);
    // A tag's type in words: "Register (2 bytes)", "Register bit 5", "Coil".
    static std::string tagTypeText(const Tag& tag);

    // The item a path names: segments parted by '/', each matched against a child's name, then its alias,
    // then its label (case ignored); the root is the empty path. nullptr when a segment names nothing.
    static const ProjectItem* find(const ProjectItem& root, std::string_view path);
    // The path of an item of the tree (its names from the root down); empty when it is not in the tree.
    static std::string pathOf(const ProjectItem& root, const ProjectItem& item);
    // The first item of the kind that stands for the record; nullptr when none does.
    static const ProjectItem* findFor(const ProjectItem& root, ProjectItemKind kind, const void* record,
                                      std::size_t index = 0);
    // Every line of the tree, depth first (the root first).
    static std::size_t itemCount(const ProjectItem& root);
};

} // namespace quillon
