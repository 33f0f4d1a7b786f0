#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace quillon {

class Application;
class Tag;

// Rules the editors keep while the user works, checked over a whole application: an application that
// did not come through the editors (a text form, a file written elsewhere) may break them. Each broken
// rule is reported in the editor's own words.
class ApplicationRules final {
public:
    static constexpr std::string_view kTagAlreadyDefined = "This tag is already defined.";

    // The tags that repeat the node, address, bit number and byte selector of an earlier tag, in tag
    // list order (the first of each kind is not listed).
    static std::vector<const Tag*> repeatedTags(const Application& application);
    // Screens holding at least one touch-screen area.
    static std::size_t screensWithTouchAreas(const Application& application);
    // One text per broken rule: every repeated tag, and the touch-screen areas of an application whose
    // unit settings select no touch screen. Empty when every rule holds.
    static std::vector<std::string> problems(const Application& application);
};

} // namespace quillon
