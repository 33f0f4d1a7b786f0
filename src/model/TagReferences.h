#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace quillon {

class Application;
class Prompter;
class Screen;
class ScreenObject;
class Tag;

// Every place a tag can be referred to from, in the order they are visited.
enum class TagPlace : std::uint8_t {
    AlarmGroup,
    PowerOn,
    Global,
    GlobalKeyPress,
    GlobalKeyPressed,
    GlobalKeyReleased,
    ObjectMain,
    ObjectShowHide,
    ObjectFlash,
    TouchAreaTask,
    BeforeShowing,
    WhileShowing,
    AfterHiding,
    ScreenKeyPress,
    ScreenKeyPressed,
    ScreenKeyReleased,
    Clipboard,
    Logger,
};

// One reference found by the traversal: where it is and the tag it names.
struct TagUse {
    TagPlace place = TagPlace::AlarmGroup;
    const Screen* screen = nullptr;       // the screen of screen places
    const ScreenObject* object = nullptr; // the object of object and clipboard places
    Tag* tag = nullptr;
};

// The one walk over every place that refers to tags: the alarm groups (with the ones being edited), the
// Power-on and Global lists, the global keys, every screen (its objects with their touch-area tasks, its
// lists, its keys), the clipboard screen and the logger. The tag editor protects and replaces tags with it.
class TagReferences final {
public:
    explicit TagReferences(Application& application) noexcept : app_(application) {}

    // Visits every reference in order until `visit` returns true; returns whether it did.
    bool forEachUse(const std::function<bool(const TagUse&)>& visit) const;

    // The first place that refers to the tag, if any.
    std::optional<TagUse> firstUse(const Tag& tag) const;
    // The message the tag editor shows for a use; empty where the tag is kept without a word (a touch
    // area's tasks, the logger, object kinds that have no text of their own).
    static std::string useMessage(const TagUse& use);

    // True when a place refers to the tag, after showing the message of the first such place.
    bool checkDelete(const Tag& tag, Prompter& prompter) const;
    // Every reference to `oldTag` names `newTag` afterwards, with the screens' read lists following.
    void replaceTag(Tag& oldTag, Tag& newTag);
    // Every reference to a tag whose address text is `address` (compared byte for byte) names `newTag`.
    void replaceByAddress(std::string_view address, Tag& newTag);
    bool isAddressUsed(std::string_view address) const;
    // Refreshes the index in block that references to tags of this address carry. References here point
    // at the tags themselves, whose index the application keeps current with every insertion and removal,
    // so nothing is copied; returns whether every such reference names a tag at `index`.
    bool setIndexByAddress(std::string_view address, std::uint8_t index) const;

private:
    void replaceWhere(const std::function<bool(const Tag&)>& matches, Tag& newTag);

    Application& app_;
};

} // namespace quillon
