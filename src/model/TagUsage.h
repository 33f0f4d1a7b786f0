#pragma once

#include "model/TagReferences.h"

#include <string>
#include <unordered_map>
#include <vector>

namespace quillon {

class Application;
class Tag;

// Where tags are used, in words, from the one traversal of every place that refers to tags: the tag
// editor's "Used in" list and the command line's `tags used` and `tags unused`.
class TagUsage final {
public:
    // "Screen 3 (Pumps): Display Register object, main tag", "Global task list", "Logger" ...
    static std::string describe(const TagUse& use);
    // Every use of one tag, in traversal order.
    static std::vector<std::string> usesOf(Application& application, const Tag& tag);
    // Every use of every tag, in one walk.
    static std::unordered_map<const Tag*, std::vector<std::string>> allUses(Application& application);
    // The tags nothing refers to, in tag order.
    static std::vector<const Tag*> unused(Application& application);
};

} // namespace quillon
