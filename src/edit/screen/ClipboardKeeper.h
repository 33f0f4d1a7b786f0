#pragma once

#include "model/Result.h"

#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace quillon {

class Application;
class ScreenObject;
class Tag;

// The cut and copied objects of an application that has been closed, kept for the next application opened
// in the same run. Each object keeps every property and its touch-screen task lists; its tags are replaced
// by stand-ins that remember the tag's node number and address, by which a paste finds the tags of the
// application it goes into. The keeper owns what it holds and refers to nothing of the closed application.
class ClipboardKeeper final {
public:
    ClipboardKeeper();
    ~ClipboardKeeper();
    ClipboardKeeper(const ClipboardKeeper&) = delete;
    ClipboardKeeper& operator=(const ClipboardKeeper&) = delete;

    // The application is about to close: copies of the objects on its clipboard screen are kept, with
    // their group rings, in place of whatever was kept before. An empty clipboard keeps nothing.
    void keep(const Application& application);
    void clear() noexcept;

    bool empty() const noexcept { return objects_.empty(); }
    std::size_t size() const noexcept { return objects_.size(); }
    const ScreenObject& object(std::size_t index) const { return *objects_.at(index); }
    // The index of the next member of the object's group ring; none when it was not grouped.
    std::optional<std::size_t> groupNext(std::size_t index) const { return groupNext_.at(index); }

    // A copy of a kept object on no screen whose tags are the application's tags of the same node and
    // address; fails with the message to show when the application lacks one of them or holds it with
    // another type.
    Result<std::unique_ptr<ScreenObject>> bind(std::size_t index, Application& application) const;

    // The message of a refused object: "Can not paste the Object ( %s ). The Tag '%s' of node %d is not in
    // this application."
    static std::string missingTagText(const ScreenObject& object, const Tag& tag, std::uint8_t node);
    static std::string otherTypeText(const ScreenObject& object, const Tag& tag, std::uint8_t node);

private:
    struct StandIn {
        std::unique_ptr<Tag> tag;
        std::uint8_t node = 0;
    };

    Tag* standIn(const Tag& original);
    const StandIn* standInOf(const Tag* tag) const noexcept;

    std::vector<std::unique_ptr<ScreenObject>> objects_;
    std::vector<std::optional<std::size_t>> groupNext_;
    std::vector<StandIn> standIns_;
    // The original tags the stand-ins replace, while keep() runs.
    std::vector<const Tag*> originals_;
};

} // namespace quillon
