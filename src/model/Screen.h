#pragma once

#include "model/KeyDefinition.h"
#include "model/MemoryTotals.h"
#include "model/Prompter.h"
#include "model/ReadList.h"
#include "model/Result.h"
#include "model/ScreenObject.h"
#include "model/TaskListOwner.h"

#include <array>
#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace quillon {

class Block;
class Tag;

enum class ScreenType : std::uint8_t { Display = 0, PrintOnly = 1, Both = 2 };

// One page the unit shows: its objects in z-order, three task lists run around its display, its own keys,
// at most one associated screen drawn beneath it, and the read list of the blocks its objects and tasks
// need. The entry length always equals the screen's entry in the image minus 4; while the screen is part
// of an application every change also reaches the application's totals.
class Screen final : public TaskListOwner, public KeyHost, public ReadListHolder {
public:
    static constexpr std::size_t kBeforeShowing = 0;
    static constexpr std::size_t kWhileShowing = 1;
    static constexpr std::size_t kAfterHiding = 2;
    static constexpr std::uint32_t kEmptyEntryLength = 32;
    static constexpr std::uint32_t kEntryBytes = 36; // entry of an empty screen without associated screen
    static constexpr std::uint32_t kAssociatedBytes = 2;
    static constexpr std::size_t kMaxObjects = 255;
    static constexpr std::uint32_t kMaxNumber = 65534;
    static constexpr std::size_t kMaxNameLength = 20;
    static constexpr std::size_t kMaxDescriptionLength = 100;
    static constexpr std::uint16_t kMaxPassword = 9999;

    // A screen numbered 1..65534 (the number is checked when the screen joins an application), named
    // "Screen%u" after it.
    explicit Screen(std::uint32_t number);
    ~Screen() override;

    std::uint32_t number() const noexcept { return number_; }
    bool inApplication() const noexcept { return totals_ != nullptr; }

    std::uint32_t entryLength() const noexcept { return entryLength_; }
    // Bytes the screen adds to the image: its entry with everything inside.
    std::uint32_t imageBytes() const noexcept { return entryLength_ + 4; }

    std::uint16_t password = 0;
    ScreenType type = ScreenType::Display;
    std::string name;        // up to 20 characters, unique
    std::string description; // up to 100 characters

    // ---- Associated screen ----
    std::uint8_t associatedCount() const noexcept { return associated_ ? 1 : 0; }
    std::optional<std::uint16_t> associated() const noexcept { return associated_; }
    // Names the screen drawn beneath this one, or none; each associated screen takes 2 bytes of the entry.
    void setAssociated(std::optional<std::uint16_t> number);

    // ---- Objects ----
    std::size_t objectCount() const noexcept { return objects_.size(); }
    const std::vector<std::unique_ptr<ScreenObject>>& objects() const noexcept { return objects_; }
    std::uint32_t objectBytes() const noexcept { return objectBytes_; }
    // Objects of kinds 2 and 3.
    std::size_t dataEntryCount() const noexcept;
    // Appends at the end of the z-order; refused beyond 255 objects or for an object on another screen.
    Result<ScreenObject*> appendObject(std::unique_ptr<ScreenObject> object);
    // Inserts before `before` (at the end when nullptr), as undoing a deletion puts an object back.
    Result<ScreenObject*> insertObject(std::unique_ptr<ScreenObject> object, const ScreenObject* before);
    // Takes the object off the screen with its tag uses and bytes, and out of its group ring; the caller
    // keeps it (an undo step may put it back). nullptr when the object is not on this screen.
    std::unique_ptr<ScreenObject> removeObject(ScreenObject& object);
    // Moves the object before `before` (to the end when nullptr).
    Status moveObject(ScreenObject& object, const ScreenObject* before);
    // Stable sort by z-level, 1 first and drawn first.
    void sortByZLevel();
    // Removes every object.
    void clearObjects();
    // The order in which the image holds the objects: data entry first, then the others, each in list
    // order.
    std::vector<const ScreenObject*> writeOrder() const;
    bool hasTouchAreas() const noexcept;
    // Whether `count` pasted objects still fit; shows the refusal when they do not.
    bool acceptsPaste(std::size_t count, Prompter& prompter) const;

    // Links the objects into one group ring in the given order (each to the next, the last to the first),
    // taking them out of any ring they were in. Needs at least two distinct objects of this screen.
    Status group(std::span<ScreenObject* const> members);
    // Dissolves the ring the object belongs to.
    void ungroup(ScreenObject& object);
    // The object's ring starting with the object; just the object when not grouped.
    std::vector<ScreenObject*> groupMembers(ScreenObject& object) const;

    // ---- Task lists ----
    std::size_t taskListCount() const noexcept override { return 3; }
    const TaskList& taskList(std::size_t index) const override { return lists_.at(index); }
    TaskListKind taskListKind(std::size_t index) const noexcept override;
    bool attached() const noexcept override { return inApplication(); }
    // The While Showing list holds a delay task (the unit runs at most one per screen).
    bool hasDelayTask() const noexcept;

    // ---- Keys ----
    std::size_t keyCount() const noexcept { return keys_.size(); }
    const std::vector<std::unique_ptr<KeyDefinition>>& keys() const noexcept { return keys_; }
    std::uint32_t keyBytes() const noexcept { return keyBytes_; }
    bool hostsScreenKeys() const noexcept override { return true; }

    // ---- Read list ----
    ReadList& readList() noexcept override { return readList_; }
    const ReadList& readList() const noexcept override { return readList_; }
    bool isScreenReadList() const noexcept override { return true; }
    std::uint32_t readListBytes() const noexcept { return readList_.sectionBytes(); }
    std::uint32_t readBlocks() const noexcept { return readList_.blockCount(); }
    std::uint32_t readRegisters() const noexcept { return readList_.registerCount(); }
    // The list as read from the last file; not used for writing.
    ReadList& loadedReadList() noexcept { return loadedReadList_; }
    const ReadList& loadedReadList() const noexcept { return loadedReadList_; }

    // The entry length computed from the records alone.
    std::uint32_t recountEntryLength() const;
    // Compares every kept count of the screen (object lengths, object and key bytes, the read list and
    // the entry length) with the records.
    Status checkConsistency() const;

protected:
    TaskList& mutableTaskList(std::size_t index) override { return lists_.at(index); }
    ReadListHolder* readListHolder(Application& app, std::size_t index) noexcept override;
    void chargeTaskBytes(std::size_t index, MemoryTotals& totals, std::int32_t delta) noexcept override;
    ReadListHolder& keyReadListHolder() noexcept override { return *this; }
    void chargeKeyBytes(MemoryTotals& totals, std::int32_t delta) noexcept override;
    void chargeReadListBytes(MemoryTotals& totals, std::int32_t delta) noexcept override;

private:
    friend class Application;
    friend class ScreenObject;
    friend class TouchAreaObject;

    using ObjectList = std::vector<std::unique_ptr<ScreenObject>>;

    ObjectList::iterator find(const ScreenObject* object) noexcept;
    void renumberObjects() noexcept;
    // Adds a change inside the entry to the entry length and, in an application, to screenBytes and (when
    // the application does not charge it itself) to applicationSize.
    void charge(std::int64_t delta, bool applicationSize) noexcept;
    void chargeObjectBytes(std::int64_t delta, bool applicationSize) noexcept;
    void enterRead(Tag& tag);
    void leaveRead(Tag& tag);
    void enterBlockRead(Block& block);
    void leaveBlockRead(Block& block);
    void unlinkFromGroup(ScreenObject& object) noexcept;
    // The read list that the screen's objects and tasks make.
    ReadList recountReadList() const;

    std::uint32_t number_;
    MemoryTotals* totals_ = nullptr;
    std::uint32_t entryLength_ = kEmptyEntryLength;
    std::uint32_t objectBytes_ = 0;
    std::uint32_t keyBytes_ = 0;
    std::optional<std::uint16_t> associated_;
    ObjectList objects_;
    std::array<TaskList, 3> lists_;
    std::vector<std::unique_ptr<KeyDefinition>> keys_;
    ReadList readList_;
    ReadList loadedReadList_;
};

// The Before Showing (0), While Showing (1) and After Hiding (2) lists of a screen.
inline const TaskList& screenTasks(const Screen& screen, std::size_t index) {
    return screen.taskList(index);
}

} // namespace quillon
