#pragma once

#include "model/TagReferences.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace quillon {

class Application;
class KeyDefinition;
class Screen;
class ScreenObject;
class Tag;

// What part of the application a search text was found in.
enum class SearchField : std::uint8_t {
    TagName,
    TagAddress,
    ScreenName,
    ScreenNumber,
    StaticText,
    AlarmText,
    KeyLegend,
};

// One place the search text was found: the whole text it was found in, where that is in words, and the
// record to open (a tag, a screen with the object, a global key, an alarm number).
struct SearchHit {
    SearchField field = SearchField::TagName;
    std::string text;
    std::string where;
    const Tag* tag = nullptr;
    const Screen* screen = nullptr;
    const ScreenObject* object = nullptr;
    const KeyDefinition* key = nullptr;
    std::size_t alarm = 0;
};

// One use of a tag, in words, with the place to open.
struct TagUseHit {
    std::string where;
    TagUse use;
};

// The search over the whole application: tag names and addresses, screen names and numbers, static texts
// on screens, alarm texts and the legends of global keys. The text is looked for anywhere in each, case
// ignored; a screen number must be given whole.
class ProjectSearch final {
public:
    // Beyond this many hits the search stops and says so.
    static constexpr std::size_t kMaxHits = 1000;

    struct Result {
        std::vector<SearchHit> hits;
        bool truncated = false; // more hits than kMaxHits exist
    };

    // Hits in the order tags, screens (each with its static texts), alarms, keys. An empty or blank text
    // finds nothing.
    static Result run(const Application& application, std::string_view text);
    // "Tag name", "Static text" ...
    static std::string_view fieldName(SearchField field) noexcept;
    // Every use of the tag (the where-used rules), each with the place it is in.
    static std::vector<TagUseHit> usesOf(Application& application, const Tag& tag);
};

} // namespace quillon
