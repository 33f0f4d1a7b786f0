#include "model/ApplicationRules.h"

#include "model/Application.h"
#include "model/Screen.h"
#include "model/ScreenObject.h"
#include "model/Tag.h"
#include "model/TextFormat.h"

#include <set>
#include <tuple>

namespace quillon {

std::vector<const Tag*> ApplicationRules::repeatedTags(const Application& application) {
    std::set<std::tuple<std::uint8_t, std::string, std::uint8_t, std::uint8_t>> seen;
    std::vector<const Tag*> repeated;
    for (const Tag& tag : application.tags()) {
        if (!seen.emplace(tag.nodeNumber(), tag.address(), tag.bit, tag.byteSelect).second) {
            repeated.push_back(&tag);
        }
    }
    return repeated;
}

std::size_t ApplicationRules::screensWithTouchAreas(const Application& application) {
    std::size_t screens = 0;
    for (const auto& screen : application.screens()) {
        for (const auto& object : screen->objects()) {
            if (object->kind() == ObjectKind::TouchArea) {
                ++screens;
                break;
            }
        }
    }
    return screens;
}

std::vector<std::string> ApplicationRules::problems(const Application& application) {
    std::vector<std::string> found;
    for (const Tag* tag : repeatedTags(application)) {
        found.push_back(formatText("Tag %s of node %u: ", tag->displayAddress().c_str(),
                                   static_cast<unsigned>(tag->nodeNumber())) +
                        std::string(kTagAlreadyDefined));
    }
    if (application.unitSettings().touchScreen == 0) {
        if (const std::size_t screens = screensWithTouchAreas(application); screens > 0) {
            found.push_back(
                formatText("%u Screen(s) have Touch-screen object(s).", static_cast<unsigned>(screens)) +
                " The unit settings select no touch screen.");
        }
    }
    return found;
}

} // namespace quillon
