#include "model/Screen.h"

#include "model/Block.h"
#include "model/Tag.h"

#include <algorithm>
#include <unordered_set>

namespace quillon {

Screen::Screen(std::uint32_t number) : name("Screen" + std::to_string(number)), number_(number) {}

Screen::~Screen() = default;

// ------------------------------------------------------------------ accounting

void Screen::charge(std::int64_t delta, bool applicationSize) noexcept {
    addBytes(entryLength_, delta);
    if (totals_ != nullptr) {
        addBytes(totals_->screenBytes, delta);
        if (applicationSize) {
            addBytes(totals_->applicationSize, delta);
        }
    }
}

void Screen::chargeObjectBytes(std::int64_t delta, bool applicationSize) noexcept {
    addBytes(objectBytes_, delta);
    charge(delta, applicationSize);
}

void Screen::chargeTaskBytes(std::size_t /*index*/, MemoryTotals& /*totals*/, std::int32_t delta) noexcept {
    charge(delta, false);
}

void Screen::chargeKeyBytes(MemoryTotals& /*totals*/, std::int32_t delta) noexcept {
    addBytes(keyBytes_, delta);
    charge(delta, false);
}

void Screen::chargeReadListBytes(MemoryTotals& /*totals*/, std::int32_t delta) noexcept {
    charge(delta, false);
}

void Screen::enterBlockRead(Block& block) {
    const std::int32_t delta = readList_.enter(block);
    if (delta != 0) {
        charge(delta, true);
    }
}

void Screen::leaveBlockRead(Block& block) {
    const std::int32_t delta = readList_.leave(block);
    if (delta != 0) {
        charge(delta, true);
    }
}

void Screen::enterRead(Tag& tag) {
    if (tag.block() != nullptr) {
        enterBlockRead(*tag.block());
    }
}

void Screen::leaveRead(Tag& tag) {
    if (tag.block() != nullptr) {
        leaveBlockRead(*tag.block());
    }
}

ReadList Screen::recountReadList() const {
    ReadList uses;
    auto enter = [&uses](const Tag* tag) {
        if (tag != nullptr && tag->block() != nullptr) {
            (void)uses.enter(*tag->block());
        }
    };
    auto enterTasks = [&uses](const TaskListOwner& owner) {
        for (std::size_t l = 0; l < owner.taskListCount(); ++l) {
            for (const auto& task : owner.taskList(l).tasks()) {
                const TaskReads reads = taskReads(*task);
                for (std::size_t i = 0; i < reads.count; ++i) {
                    (void)uses.enter(*reads.blocks[i]);
                }
            }
        }
    };
    for (const auto& object : objects_) {
        if (object->showHide()) {
            enter(object->showHide()->tag);
        }
        if (object->flashAnimation()) {
            enter(object->flashAnimation()->tag);
        }
        if (object->mainTagIsRead()) {
            enter(object->tag());
        }
        if (const TaskListOwner* owner = object->taskOwner()) {
            enterTasks(*owner);
        }
    }
    enterTasks(*this);
    for (const auto& key : keys_) {
        enterTasks(*key);
    }
    return uses;
}

std::uint32_t Screen::recountEntryLength() const {
    std::uint32_t length = kEmptyEntryLength + kAssociatedBytes * associatedCount();
    for (const auto& object : objects_) {
        length += object->computeLength();
    }
    for (const auto& key : keys_) {
        length += KeyDefinition::kEntryBytes;
        for (std::size_t l = 0; l < key->taskListCount(); ++l) {
            for (const auto& task : key->taskList(l).tasks()) {
                length += task->imageBytes();
            }
        }
    }
    for (const TaskList& list : lists_) {
        for (const auto& task : list.tasks()) {
            length += task->imageBytes();
        }
    }
    return length + recountReadList().sectionBytes();
}

Status Screen::checkConsistency() const {
    auto fail = [this](const std::string& what) {
        return Status::fail("screen " + std::to_string(number_) + ": " + what);
    };
    std::uint32_t objects = 0;
    for (std::size_t i = 0; i < objects_.size(); ++i) {
        const ScreenObject& object = *objects_[i];
        if (object.screen_ != this || object.sequence_ != i + 1) {
            return fail("object " + std::to_string(i + 1) + " is out of place");
        }
        if (object.recordLength_ != object.computeLength()) {
            return fail("object " + std::to_string(i + 1) + " keeps length " +
                        std::to_string(object.recordLength_) + ", its properties give " +
                        std::to_string(object.computeLength()));
        }
        if (object.groupNext_ != nullptr && object.groupNext_->screen_ != this) {
            return fail("object " + std::to_string(i + 1) + " is grouped with an object of another screen");
        }
        if (const TaskListOwner* owner = object.taskOwner()) {
            for (std::size_t l = 0; l < owner->taskListCount(); ++l) {
                std::uint32_t bytes = 0;
                for (const auto& task : owner->taskList(l).tasks()) {
                    bytes += task->imageBytes();
                }
                if (bytes != owner->taskList(l).bytes()) {
                    return fail("a touch area's list keeps the wrong byte count");
                }
            }
        }
        objects += object.recordLength_;
    }
    if (objects != objectBytes_) {
        return fail("object bytes are " + std::to_string(objectBytes_) + ", the objects give " +
                    std::to_string(objects));
    }
    std::uint32_t keys = 0;
    for (const auto& key : keys_) {
        if (key->host() != this ||
            key->entryLength() != KeyDefinition::kEmptyEntryLength + key->taskBytes()) {
            return fail("a key keeps the wrong entry length");
        }
        keys += key->entryLength() + 4;
    }
    if (keys != keyBytes_) {
        return fail("key bytes are " + std::to_string(keyBytes_) + ", the keys give " + std::to_string(keys));
    }
    if (!readList_.sameUses(recountReadList())) {
        return fail("the read list differs from the uses of its objects and tasks");
    }
    if (entryLength_ != recountEntryLength()) {
        return fail("entry length is " + std::to_string(entryLength_) + ", the records give " +
                    std::to_string(recountEntryLength()));
    }
    return Status::success();
}

// ------------------------------------------------------------------ associated screen

void Screen::setAssociated(std::optional<std::uint16_t> number) {
    const std::int64_t before = associatedCount();
    associated_ = number;
    const std::int64_t after = associatedCount();
    charge((after - before) * kAssociatedBytes, true);
}

// ------------------------------------------------------------------ objects

Screen::ObjectList::iterator Screen::find(const ScreenObject* object) noexcept {
    return std::find_if(objects_.begin(), objects_.end(),
                        [object](const std::unique_ptr<ScreenObject>& o) { return o.get() == object; });
}

void Screen::renumberObjects() noexcept {
    std::uint8_t sequence = 0;
    for (const auto& object : objects_) {
        object->sequence_ = ++sequence;
    }
}

std::size_t Screen::dataEntryCount() const noexcept {
    return static_cast<std::size_t>(std::count_if(objects_.begin(), objects_.end(),
                                                  [](const auto& o) { return isDataEntry(o->kind()); }));
}

bool Screen::hasTouchAreas() const noexcept {
    return std::any_of(objects_.begin(), objects_.end(),
                       [](const auto& o) { return o->kind() == ObjectKind::TouchArea; });
}

bool Screen::acceptsPaste(std::size_t count, Prompter& prompter) const {
    if (objects_.size() + count > kMaxObjects) {
        prompter.information(
            "If the objects in the Clipboard will be added then\nthe number of object in the "
            "Screen will exceed\nthe limit of 255.\nHence Pasting can not be done.");
        return false;
    }
    return true;
}

Result<ScreenObject*> Screen::appendObject(std::unique_ptr<ScreenObject> object) {
    return insertObject(std::move(object), nullptr);
}

Result<ScreenObject*> Screen::insertObject(std::unique_ptr<ScreenObject> object, const ScreenObject* before) {
    if (object == nullptr) {
        return Result<ScreenObject*>::fail("There is no object to add.");
    }
    if (object->screen_ != nullptr) {
        return Result<ScreenObject*>::fail("The object is already on a screen.");
    }
    if (objects_.size() >= kMaxObjects) {
        return Result<ScreenObject*>::fail("A screen holds at most 255 objects.");
    }
    auto at = before != nullptr ? find(before) : objects_.end();
    ScreenObject* added = objects_.insert(at, std::move(object))->get();
    added->screen_ = this;
    added->groupNext_ = nullptr;
    renumberObjects();
    chargeObjectBytes(added->recordLength(), true);
    added->enterAllReads();
    return added;
}

std::unique_ptr<ScreenObject> Screen::removeObject(ScreenObject& object) {
    auto it = find(&object);
    if (it == objects_.end()) {
        return nullptr;
    }
    object.leaveAllReads();
    chargeObjectBytes(-static_cast<std::int64_t>(object.recordLength()), true);
    unlinkFromGroup(object);
    std::unique_ptr<ScreenObject> taken = std::move(*it);
    objects_.erase(it);
    taken->screen_ = nullptr;
    taken->sequence_ = 0;
    renumberObjects();
    return taken;
}

Status Screen::moveObject(ScreenObject& object, const ScreenObject* before) {
    auto it = find(&object);
    if (it == objects_.end() || (before != nullptr && find(before) == objects_.end())) {
        return Status::fail("The object is not on this screen.");
    }
    if (before == &object) {
        return Status::success();
    }
    std::unique_ptr<ScreenObject> moving = std::move(*it);
    objects_.erase(it);
    objects_.insert(before != nullptr ? find(before) : objects_.end(), std::move(moving));
    renumberObjects();
    return Status::success();
}

void Screen::sortByZLevel() {
    std::stable_sort(objects_.begin(), objects_.end(),
                     [](const auto& a, const auto& b) { return a->zLevel < b->zLevel; });
    renumberObjects();
}

void Screen::clearObjects() {
    while (!objects_.empty()) {
        (void)removeObject(*objects_.back());
    }
}

std::vector<const ScreenObject*> Screen::writeOrder() const {
    std::vector<const ScreenObject*> order;
    order.reserve(objects_.size());
    for (const auto& o : objects_) {
        if (isDataEntry(o->kind())) {
            order.push_back(o.get());
        }
    }
    for (const auto& o : objects_) {
        if (!isDataEntry(o->kind())) {
            order.push_back(o.get());
        }
    }
    return order;
}

// ------------------------------------------------------------------ groups

void Screen::unlinkFromGroup(ScreenObject& object) noexcept {
    if (object.groupNext_ == nullptr) {
        return;
    }
    ScreenObject* previous = object.groupNext_;
    while (previous->groupNext_ != &object) {
        previous = previous->groupNext_;
    }
    previous->groupNext_ = object.groupNext_ == previous ? nullptr : object.groupNext_;
    object.groupNext_ = nullptr;
}

Status Screen::group(std::span<ScreenObject* const> members) {
    if (members.size() < 2) {
        return Status::fail("A group needs at least two objects.");
    }
    std::unordered_set<const ScreenObject*> seen;
    for (ScreenObject* member : members) {
        if (member == nullptr || member->screen_ != this || !seen.insert(member).second) {
            return Status::fail("A group is made of distinct objects of one screen.");
        }
    }
    for (ScreenObject* member : members) {
        unlinkFromGroup(*member);
    }
    for (std::size_t i = 0; i < members.size(); ++i) {
        members[i]->groupNext_ = members[(i + 1) % members.size()];
    }
    return Status::success();
}

void Screen::ungroup(ScreenObject& object) {
    if (object.screen_ != this) {
        return;
    }
    for (ScreenObject* member : groupMembers(object)) {
        member->groupNext_ = nullptr;
    }
}

std::vector<ScreenObject*> Screen::groupMembers(ScreenObject& object) const {
    std::vector<ScreenObject*> members{&object};
    for (ScreenObject* next = object.groupNext_; next != nullptr && next != &object;
         next = next->groupNext_) {
        members.push_back(next);
    }
    return members;
}

// ------------------------------------------------------------------ task lists

TaskListKind Screen::taskListKind(std::size_t index) const noexcept {
    switch (index) {
    case kBeforeShowing:
        return TaskListKind::BeforeShowing;
    case kWhileShowing:
        return TaskListKind::WhileShowing;
    default:
        return TaskListKind::AfterHiding;
    }
}

bool Screen::hasDelayTask() const noexcept {
    return lists_[kWhileShowing].contains(TaskKind::Delay);
}

ReadListHolder* Screen::readListHolder(Application& /*app*/, std::size_t /*index*/) noexcept {
    return this;
}

} // namespace quillon
