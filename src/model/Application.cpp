#include "model/Application.h"

#include "model/BitmapObject.h"
#include "model/ReadLimitText.h"
#include "model/TextFormat.h"
#include "model/Utf8Text.h"

#include <algorithm>
#include <map>
#include <new>

namespace quillon {

namespace {

constexpr std::int32_t kNodeDelta = static_cast<std::int32_t>(Node::kRecordBytes);
constexpr std::string_view kScreenLimit = "This application contains 65534 screens.\nCan not add new screen.";
constexpr std::string_view kListFull = "The list already contain maximum tasks.\nCan not add new task.";
constexpr std::string_view kReadLimitRefusal =
    "Can not accept the selected Tag(s). Otherwise the number of Tags in this screen will be more than the "
    "limit.";
constexpr std::string_view kCapacityOverflow =
    "Application memory size is more than the memory-size of the VQ5K unit.\n\tDelete some entities to avoid "
    "overflow.";
constexpr std::size_t kMaxNodeNameLength = 39;
constexpr std::size_t kMaxPlcFileLength = 99;
constexpr std::size_t kMaxPlcNameLength = 47;
constexpr std::size_t kMaxModelNameLength = 49;

// The screen's reads after a task change: the removed task's blocks leave, the added task's enter.
ReadList trialReads(const ReadList& screenList, const Task* removed, const Task& added) {
    ReadList trial = screenList;
    if (removed != nullptr) {
        const TaskReads gone = taskReads(*removed);
        for (std::size_t i = 0; i < gone.count; ++i) {
            (void)trial.leave(*gone.blocks[i]);
        }
    }
    const TaskReads come = taskReads(added);
    for (std::size_t i = 0; i < come.count; ++i) {
        (void)trial.enter(*come.blocks[i]);
    }
    return trial;
}

std::int32_t signedBytes(std::uint32_t bytes) noexcept {
    return static_cast<std::int32_t>(bytes);
}

bool byteLess(std::string_view a, std::string_view b) noexcept {
    return a < b;
}

} // namespace

// ---------------------------------------------------------------- creation

Application::Application(std::uint16_t modelId)
    : modelId_(modelId), unitSettings_(defaultUnitSettings(modelIndex(modelId))) {
    info_.lastEdited = CalendarTime::now();
}

Application::~Application() = default;

std::unique_ptr<Application> Application::create(std::uint32_t modelId, Prompter& prompter) {
    if (findPanelModel(modelId) == nullptr) {
        prompter.error(
            formatText("The panel model %u does not exist.\nCan't start new application.", modelId));
        return nullptr;
    }
    try {
        return std::make_unique<Application>(static_cast<std::uint16_t>(modelId));
    } catch (const std::bad_alloc&) {
        prompter.error("Can't start new application.");
        return nullptr;
    }
}

bool Application::setPassword(std::string_view password) {
    if (password.size() > kPasswordLength) {
        return false;
    }
    password_ = std::string(password);
    return true;
}

void Application::setPictureBytes(std::uint32_t bytes) noexcept {
    addBytes(totals_.applicationSize, static_cast<std::int64_t>(bytes) - totals_.pictureBytes);
    totals_.pictureBytes = bytes;
}

// ---------------------------------------------------------------- nodes

bool Application::ownsNode(const Node& node) const noexcept {
    return node.inApplication_ && findNodeByNumber(node.number()) == &node;
}

void Application::updateNextNodeNumber() noexcept {
    if (nodes_.empty()) {
        nextNodeNumber_ = 1;
        return;
    }
    // Node numbers are single bytes: above 255 there is nothing to propose, which 0 says.
    nextNodeNumber_ = static_cast<std::uint8_t>(nodes_.back()->number() + 1U);
}

void Application::chargeNetwork(Node& node, Block* block, std::int64_t delta, bool tagRecord) noexcept {
    addBytes(node.entryLength_, delta);
    if (block != nullptr) {
        addBytes(block->entryLength_, delta);
    }
    addBytes(totals_.networkBytes, delta);
    if (tagRecord) {
        addBytes(totals_.tagBytes, delta);
    }
    addBytes(totals_.applicationSize, delta);
}

Result<Node*> Application::addNode(std::unique_ptr<Node> node) {
    if (!node) {
        return Result<Node*>::fail("No node to add.");
    }
    if (node->inApplication_ || !node->blocks_.empty()) {
        return Result<Node*>::fail("A node joins the network without blocks and only once.");
    }
    if (!isNodeNumberFree(node->number())) {
        return Result<Node*>::fail("This Node-address is already defined.\n It should be UNIQUE.");
    }
    if (node->name.size() > kMaxNodeNameLength || node->plcFile.size() > kMaxPlcFileLength ||
        node->plcName.size() > kMaxPlcNameLength || node->modelNames.size() > Node::kMaxModelNames ||
        std::any_of(node->modelNames.begin(), node->modelNames.end(),
                    [](const std::string& m) { return m.size() > kMaxModelNameLength; })) {
        return Result<Node*>::fail("A name of the node is too long.");
    }
    const auto pos = std::upper_bound(
        nodes_.begin(), nodes_.end(), node->number(),
        [](std::uint8_t n, const std::unique_ptr<Node>& other) { return n < other->number(); });
    Node* added = node.get();
    added->entryLength_ = Node::kEmptyEntryLength;
    added->inApplication_ = true;
    nodes_.insert(pos, std::move(node));
    addBytes(totals_.networkBytes, kNodeDelta);
    addBytes(totals_.applicationSize, kNodeDelta);
    updateNextNodeNumber();
    return added;
}

Result<std::unique_ptr<Node>> Application::removeNode(Node& node) {
    if (!ownsNode(node)) {
        return Result<std::unique_ptr<Node>>::fail("The node is not part of this application.");
    }
    if (!node.blocks_.empty()) {
        return Result<std::unique_ptr<Node>>::fail(
            "Using this Node, Blocks(s)/Tag(s) are defined hence can not be deleted.");
    }
    auto it = std::find_if(nodes_.begin(), nodes_.end(), [&](const auto& n) { return n.get() == &node; });
    std::unique_ptr<Node> removed = std::move(*it);
    nodes_.erase(it);
    const std::int64_t bytes = static_cast<std::int64_t>(removed->entryLength_) + 4;
    addBytes(totals_.networkBytes, -bytes);
    addBytes(totals_.applicationSize, -bytes);
    removed->inApplication_ = false;
    removed->entryLength_ = Node::kEmptyEntryLength;
    updateNextNodeNumber();
    return removed;
}

Node* Application::findNodeByNumber(std::uint32_t number) const noexcept {
    const auto it =
        std::lower_bound(nodes_.begin(), nodes_.end(), number,
                         [](const std::unique_ptr<Node>& n, std::uint32_t v) { return n->number() < v; });
    return it != nodes_.end() && (*it)->number() == number ? it->get() : nullptr;
}

Node* Application::unitNode() const noexcept {
    for (const auto& n : nodes_) {
        if (n->kind() == NodeKind::Unit) {
            return n.get();
        }
    }
    return nullptr;
}

bool Application::isNodeNumberFree(std::uint32_t number, const Node* except) const noexcept {
    const Node* found = findNodeByNumber(number);
    return found == nullptr || found == except;
}

bool Application::isNodeNameFree(std::string_view name, const Node* except) const noexcept {
    return std::none_of(nodes_.begin(), nodes_.end(),
                        [&](const std::unique_ptr<Node>& n) { return n.get() != except && n->name == name; });
}

// ---------------------------------------------------------------- blocks

Result<Block*> Application::addBlock(Node& node, std::unique_ptr<Block> block) {
    if (!block) {
        return Result<Block*>::fail("No block to add.");
    }
    if (!ownsNode(node)) {
        return Result<Block*>::fail("The node is not part of this application.");
    }
    if (block->node_ != nullptr || !block->tags_.empty()) {
        return Result<Block*>::fail("A block joins a node without tags and only once.");
    }
    if (block->address_.empty() || block->address_.size() > Block::kMaxAddressLength) {
        return Result<Block*>::fail("The block address must have 1 to 27 characters.");
    }
    if (block->name.size() > Block::kMaxNameLength || block->prefix.size() > Block::kMaxPrefixLength) {
        return Result<Block*>::fail("The block name or prefix is too long.");
    }
    if (node.blocks_.size() >= Node::kMaxBlocks) {
        return Result<Block*>::fail("The node already holds 65535 blocks.\nCan not add new block.");
    }
    auto& blocks = node.blocks_;
    const auto pos = std::upper_bound(
        blocks.begin(), blocks.end(), block->address_,
        [](const std::string& a, const std::unique_ptr<Block>& b) { return byteLess(a, b->address_); });
    Block* added = block.get();
    added->node_ = &node;
    added->entryLength_ = static_cast<std::uint32_t>(added->address_.size()) + 4;
    const auto at = blocks.insert(pos, std::move(block));
    for (auto it = at; it != blocks.end(); ++it) {
        (*it)->index_ = static_cast<std::uint32_t>(it - blocks.begin());
    }
    const std::int64_t bytes = added->recordBytes();
    addBytes(node.entryLength_, bytes);
    addBytes(totals_.networkBytes, bytes);
    addBytes(totals_.applicationSize, bytes);
    return added;
}

Result<std::unique_ptr<Block>> Application::removeBlock(Block& block) {
    Node* node = block.node_;
    if (node == nullptr || !ownsNode(*node)) {
        return Result<std::unique_ptr<Block>>::fail("The block is not part of this application.");
    }
    if (!block.tags_.empty()) {
        return Result<std::unique_ptr<Block>>::fail(
            "Tags are defined for this Block hence can not be deleted");
    }
    auto& blocks = node->blocks_;
    const auto it = blocks.begin() + block.index_;
    std::unique_ptr<Block> removed = std::move(*it);
    const auto next = blocks.erase(it);
    for (auto i = next; i != blocks.end(); ++i) {
        (*i)->index_ = static_cast<std::uint32_t>(i - blocks.begin());
    }
    // The read list kept from the last file may still name the block; it cannot outlive it.
    loadedReadList_.forget(*removed);
    const std::int64_t bytes = removed->recordBytes();
    addBytes(node->entryLength_, -bytes);
    addBytes(totals_.networkBytes, -bytes);
    addBytes(totals_.applicationSize, -bytes);
    removed->node_ = nullptr;
    removed->index_ = 0;
    removed->entryLength_ = 0;
    return removed;
}

Block* Application::findBlock(std::uint32_t nodeNumber, std::uint32_t blockIndex) const noexcept {
    const Node* node = findNodeByNumber(nodeNumber);
    return node != nullptr ? node->blockAt(blockIndex) : nullptr;
}

// ---------------------------------------------------------------- tags

bool Application::ownsTag(const Tag* tag) const noexcept {
    return tag != nullptr && tag->node_ != nullptr && tag->block_ != nullptr && ownsNode(*tag->node_) &&
           tag->block_->node_ == tag->node_;
}

Status Application::resizeBlock(Block& block, std::uint32_t size) {
    if (block.node_ == nullptr || !ownsNode(*block.node_)) {
        return Status::fail("The block is not part of this application.");
    }
    if (size < 1 || size > 255) {
        return Status::fail("A block holds 1 to 255 registers.");
    }
    const std::uint8_t oldSize = block.size;
    block.size = static_cast<std::uint8_t>(size);
    globalReadList_.resized(block, oldSize);
    loadedReadList_.resized(block, oldSize);
    for (const auto& screen : screens_) {
        screen->readList().resized(block, oldSize);
    }
    return Status::success();
}

Result<Tag*> Application::addTag(Block& block, const TagValues& values) {
    Node* node = block.node_;
    if (node == nullptr || !ownsNode(*node)) {
        return Result<Tag*>::fail("The block is not part of this application.");
    }
    if (values.address.empty() || values.address.size() > Tag::kMaxAddressLength) {
        return Result<Tag*>::fail("The tag address must have 1 to 29 characters.");
    }
    if (values.name.size() > Tag::kMaxNameBytes || Utf8Text::characters(values.name) > Tag::kMaxNameLength) {
        return Result<Tag*>::fail("The tag name must have at most 40 characters.");
    }
    if (tags_.size() >= kMaxTags) {
        return Result<Tag*>::fail("The application already holds 65535 tags.\nCan not add new tag.");
    }
    if (block.tags_.size() >= Block::kMaxTags) {
        return Result<Tag*>::fail("The block already holds 255 tags.\nCan not add new tag.");
    }
    auto tag = std::make_unique<Tag>(values);
    Tag* added = tag.get();
    added->node_ = node;
    added->block_ = &block;
    added->nodeNumber_ = node->number();
    if (added->prefix.empty()) {
        added->prefix = block.prefix;
    }
    // Both the application list and the block keep a new tag after the tags with the same address, so
    // their orders agree.
    auto& blockTags = block.tags_;
    auto& keys = block.addressKeys_;
    const std::uint64_t key = Block::addressKey(added->address_);
    std::size_t low = 0;
    std::size_t high = blockTags.size();
    while (low < high) { // first tag whose address is greater than the new one
        const std::size_t mid = low + (high - low) / 2;
        const bool greater =
            keys[mid] > key || (keys[mid] == key && byteLess(added->address_, blockTags[mid]->address_));
        if (greater) {
            high = mid;
        } else {
            low = mid + 1;
        }
    }
    blockTags.insert(blockTags.begin() + static_cast<std::ptrdiff_t>(low), added);
    keys.insert(keys.begin() + static_cast<std::ptrdiff_t>(low), key);
    tags_.insert(std::move(tag));
    chargeNetwork(*node, &block, added->imageBytes(), true);
    return added;
}

Status Application::removeTag(Tag& tag) {
    if (!ownsTag(&tag)) {
        return Status::fail("The tag is not part of this application.");
    }
    if (isTagReferenced(tag)) {
        return Status::fail("The tag is in use and can not be deleted.");
    }
    Block& block = *tag.block_;
    Node& node = *tag.node_;
    auto& blockTags = block.tags_;
    const auto at = std::find(blockTags.begin(), blockTags.end(), &tag) - blockTags.begin();
    blockTags.erase(blockTags.begin() + at);
    block.addressKeys_.erase(block.addressKeys_.begin() + at);
    chargeNetwork(node, &block, -static_cast<std::int64_t>(tag.imageBytes()), true);
    (void)tags_.remove(tag); // destroys it
    return Status::success();
}

Tag* Application::findTag(std::uint32_t nodeNumber, std::uint32_t blockIndex,
                          std::uint32_t indexInBlock) const noexcept {
    const Block* block = findBlock(nodeNumber, blockIndex);
    if (block == nullptr || indexInBlock >= block->tags_.size()) {
        return nullptr;
    }
    return block->tags_[indexInBlock];
}

bool Application::isTagNameFree(std::string_view name, const Tag* except) const noexcept {
    return std::none_of(tags_.begin(), tags_.end(),
                        [&](const Tag& t) { return &t != except && t.name == name; });
}

Tag* Application::findTagByAddress(std::uint32_t nodeNumber, const TagValues& probe,
                                   const Tag* except) const noexcept {
    if (nodeNumber > 255) {
        return nullptr;
    }
    const Tag wanted(probe); // applies the same rules for bit and size as a stored tag
    const auto node = static_cast<std::uint8_t>(nodeNumber);
    for (auto it = tags_.find(node, wanted.address());
         it != tags_.end() && it->nodeNumber() == node && it->address() == wanted.address(); ++it) {
        Tag& t = *it;
        if (&t == except || t.type() != wanted.type() || t.byteSelect != wanted.byteSelect) {
            continue;
        }
        if ((t.type() == tag_type::kRegister && t.size != wanted.size) ||
            (t.type() == tag_type::kRegisterBit && t.bit != wanted.bit)) {
            continue;
        }
        return &t;
    }
    return nullptr;
}

bool Application::isTagReferenced(const Tag& tag) const {
    // The walk only reads; it takes the document as the replace operations do.
    return TagReferences(const_cast<Application&>(*this)).firstUse(tag).has_value();
}

void Application::renumber() {
    for (const auto& node : nodes_) {
        for (std::size_t b = 0; b < node->blocks_.size(); ++b) {
            Block& block = *node->blocks_[b];
            block.index_ = static_cast<std::uint32_t>(b);
        }
    }
    std::uint32_t sequence = 0;
    for (Tag& tagInList : tags_) {
        Tag* tag = &tagInList;
        tag->sequence_ = ++sequence;
    }
}

std::vector<std::string> Application::tagTableLines(Prompter& prompter) {
    renumber();
    std::vector<std::string> lines;
    lines.reserve(tags_.size());
    for (Tag& tagInList : tags_) {
        Tag* tag = &tagInList;
        Result<std::string> line = tag->tableLine();
        if (!line) {
            prompter.error(line.message());
            break;
        }
        lines.push_back(std::move(line).value());
    }
    return lines;
}

// ---------------------------------------------------------------- the application's own task lists

const TaskList& Application::taskList(std::size_t index) const {
    return index == kPowerOn ? powerOn_ : global_;
}

TaskList& Application::mutableTaskList(std::size_t index) {
    return index == kPowerOn ? powerOn_ : global_;
}

TaskListKind Application::taskListKind(std::size_t index) const noexcept {
    return index == kPowerOn ? TaskListKind::PowerOn : TaskListKind::Global;
}

ReadListHolder* Application::readListHolder(Application& /*app*/, std::size_t index) noexcept {
    // The unit runs the Power-on list before it reads anything, so its tasks enter no read list.
    return index == kGlobal ? this : nullptr;
}

void Application::chargeTaskBytes(std::size_t index, MemoryTotals& totals, std::int32_t delta) noexcept {
    addBytes(index == kPowerOn ? totals.powerOnBytes : totals.globalTaskBytes, delta);
}

void Application::chargeKeyBytes(MemoryTotals& totals, std::int32_t delta) noexcept {
    addBytes(totals.globalKeyBytes, delta);
}

void Application::chargeReadListBytes(MemoryTotals& totals, std::int32_t delta) noexcept {
    addBytes(totals.globalReadListBytes, delta);
}

// ---------------------------------------------------------------- read lists

void Application::enterRead(Block& block, ReadListHolder& holder) {
    const std::int32_t delta = holder.readList().enter(block);
    if (delta != 0) {
        holder.chargeReadListBytes(totals_, delta);
        addBytes(totals_.applicationSize, delta);
    }
}

void Application::leaveRead(Block& block, ReadListHolder& holder) {
    const std::int32_t delta = holder.readList().leave(block);
    if (delta != 0) {
        holder.chargeReadListBytes(totals_, delta);
        addBytes(totals_.applicationSize, delta);
    }
}

void Application::enterReads(const Task& task, ReadListHolder* holder) {
    if (holder == nullptr) {
        return;
    }
    const TaskReads reads = taskReads(task);
    for (std::size_t i = 0; i < reads.count; ++i) {
        enterRead(*reads.blocks[i], *holder);
    }
}

void Application::leaveReads(const Task& task, ReadListHolder* holder) {
    if (holder == nullptr) {
        return;
    }
    const TaskReads reads = taskReads(task);
    for (std::size_t i = 0; i < reads.count; ++i) {
        leaveRead(*reads.blocks[i], *holder);
    }
}

std::uint32_t Application::screenReadRegisters(const ReadList& screenList) const noexcept {
    return globalReadList_.registerCount() + screenList.registersBeyond(globalReadList_);
}

bool Application::checkReadLimit(const ReadList& screenList) const noexcept {
    return screenReadRegisters(screenList) <= readLimit(modelId_);
}

bool Application::fitsReadLimit(const ReadList& screenList, const Task* removed, const Task& added) const {
    const ReadList trial = trialReads(screenList, removed, added);
    // Only new uses are refused: a list already beyond the limit may still lose or keep its reads.
    return checkReadLimit(trial) || screenReadRegisters(trial) <= screenReadRegisters(screenList);
}

// ---------------------------------------------------------------- tasks

Status Application::canAppend(const TaskListOwner& owner, std::size_t list) const {
    if (!owner.attached() || list >= owner.taskListCount()) {
        return Status::fail("The task list is not part of this application.");
    }
    if (owner.taskList(list).size() >= owner.taskLimit()) {
        return Status::fail(std::string(kListFull));
    }
    return Status::success();
}

Task* Application::appendUnchecked(TaskListOwner& owner, std::size_t list, const Task& task) {
    TaskList& tasks = owner.mutableTaskList(list);
    tasks.tasks_.push_back(std::make_unique<Task>(task));
    Task* added = tasks.tasks_.back().get();
    const std::int32_t bytes = signedBytes(added->imageBytes());
    addBytes(tasks.bytes_, bytes);
    owner.chargeTaskBytes(list, totals_, bytes);
    addBytes(totals_.applicationSize, bytes);
    enterReads(*added, owner.readListHolder(*this, list));
    return added;
}

Result<Task*> Application::appendTask(TaskListOwner& owner, std::size_t list, const Task& task) {
    if (Status s = canAppend(owner, list); !s) {
        return s.failure();
    }
    const Task normal = normalizeTask(task);
    if (Status s = validateTask(normal); !s) {
        return s.failure();
    }
    if ((normal.tag1 != nullptr && !ownsTag(normal.tag1)) ||
        (normal.tag2 != nullptr && !ownsTag(normal.tag2))) {
        return Result<Task*>::fail("The task names a tag of another application.");
    }
    return appendUnchecked(owner, list, normal);
}

bool Application::checkPlacement(const TaskListOwner& owner, std::size_t list, const Task& task,
                                 Prompter& prompter, const Task* editing) const {
    const TaskListKind kind = owner.taskListKind(list);
    auto refuse = [&](std::string_view text) {
        prompter.information(text);
        return false;
    };
    switch (task.kind) {
    case TaskKind::GotoScreen:
        // The unit shows STR text in place of screens while a global task copies a tag there.
        if (editing == nullptr && globalListHasCopyToStr()) {
            if (task.subKind == 1) {
                return refuse("Goto next screen task can not be used, because 'Copy Tag to Str' is used as "
                              "'Global Task'.");
            }
            if (task.subKind == 2) {
                return refuse(
                    "Goto previous screen task can not be used, because 'Copy Tag to Str' is used as "
                    "'Global Task'.");
            }
            return refuse(
                "Goto Screen task can not be used, because 'Copy Tag to Str' is used as 'Global Task'.");
        }
        break;
    case TaskKind::PrintData:
        if (kind == TaskListKind::WhileShowing) {
            return refuse("Print Data Task is not supported as 'While Showing Task'");
        }
        break;
    case TaskKind::Delay:
        if (kind != TaskListKind::WhileShowing) {
            return refuse(delayRefusal(kind));
        }
        if (hasDelayTask(owner.taskList(list)) && (editing == nullptr || editing->kind != TaskKind::Delay)) {
            return refuse("More than one delay task is not supported.");
        }
        break;
    case TaskKind::Wait:
        if (kind != TaskListKind::WhileShowing) {
            return refuse(waitRefusal(kind));
        }
        break;
    case TaskKind::CopyRtcToTag:
        if (kind != TaskListKind::Global) {
            return refuse("Copy RTC to PLC Task can be used  as Global Task only.");
        }
        break;
    default:
        break;
    }
    return true;
}

Task* Application::addTask(TaskListOwner& owner, std::size_t list, const Task& task, Prompter& prompter) {
    if (!checkPlacement(owner, list, task, prompter)) {
        return nullptr;
    }
    if (Status s = canAppend(owner, list); !s) {
        prompter.information(s.message());
        return nullptr;
    }
    const Task normal = normalizeTask(task);
    if (Status s = validateTask(normal); !s) {
        prompter.error(s.message());
        return nullptr;
    }
    if ((normal.tag1 != nullptr && !ownsTag(normal.tag1)) ||
        (normal.tag2 != nullptr && !ownsTag(normal.tag2))) {
        prompter.error("Tag(s) not selected.");
        return nullptr;
    }
    const ReadListHolder* holder = owner.readListHolder(*this, list);
    if (holder != nullptr && holder->isScreenReadList() &&
        !fitsReadLimit(holder->readList(), nullptr, normal)) {
        prompter.information(
            std::string(kReadLimitRefusal) +
            readLimitDetail(*this, holder->readList(), trialReads(holder->readList(), nullptr, normal)));
        return nullptr;
    }
    try {
        return appendUnchecked(owner, list, normal);
    } catch (const std::bad_alloc&) {
        prompter.error("Can not create new task.");
        return nullptr;
    }
}

bool Application::editTask(TaskListOwner& owner, std::size_t list, Task& task, const Task& replacement,
                           Prompter& prompter) {
    if (!owner.attached() || list >= owner.taskListCount() || !owner.taskList(list).indexOf(task)) {
        prompter.error("The task is not part of this list.");
        return false;
    }
    if (!checkPlacement(owner, list, replacement, prompter, &task)) {
        return false;
    }
    const Task normal = normalizeTask(replacement);
    if (Status s = validateTask(normal); !s) {
        prompter.error(s.message());
        return false;
    }
    if ((normal.tag1 != nullptr && !ownsTag(normal.tag1)) ||
        (normal.tag2 != nullptr && !ownsTag(normal.tag2))) {
        prompter.error("Tag(s) not selected.");
        return false;
    }
    ReadListHolder* holder = owner.readListHolder(*this, list);
    if (holder != nullptr && holder->isScreenReadList() &&
        !fitsReadLimit(holder->readList(), &task, normal)) {
        prompter.information(
            std::string(kReadLimitRefusal) +
            readLimitDetail(*this, holder->readList(), trialReads(holder->readList(), &task, normal)));
        return false;
    }
    // New reads first, so that a block both tasks read never leaves the list in between.
    enterReads(normal, holder);
    leaveReads(task, holder);
    const std::int32_t delta = signedBytes(normal.imageBytes()) - signedBytes(task.imageBytes());
    task = normal;
    addBytes(owner.mutableTaskList(list).bytes_, delta);
    owner.chargeTaskBytes(list, totals_, delta);
    addBytes(totals_.applicationSize, delta);
    return true;
}

void Application::removeAt(TaskListOwner& owner, std::size_t list, std::size_t index) {
    TaskList& tasks = owner.mutableTaskList(list);
    const Task& task = *tasks.tasks_[index];
    leaveReads(task, owner.readListHolder(*this, list));
    const std::int32_t bytes = -signedBytes(task.imageBytes());
    addBytes(tasks.bytes_, bytes);
    owner.chargeTaskBytes(list, totals_, bytes);
    addBytes(totals_.applicationSize, bytes);
    tasks.tasks_.erase(tasks.tasks_.begin() + static_cast<std::ptrdiff_t>(index));
}

Status Application::removeTask(TaskListOwner& owner, std::size_t list, const Task& task) {
    if (!owner.attached() || list >= owner.taskListCount()) {
        return Status::fail("The task list is not part of this application.");
    }
    const auto index = owner.taskList(list).indexOf(task);
    if (!index) {
        return Status::fail("The task is not part of this list.");
    }
    removeAt(owner, list, *index);
    return Status::success();
}

bool Application::confirmRemoveTask(TaskListOwner& owner, std::size_t list, const Task& task,
                                    Prompter& prompter) {
    if (!owner.attached() || list >= owner.taskListCount() || !owner.taskList(list).indexOf(task)) {
        return false;
    }
    const std::string word(taskListWord(owner.taskListKind(list)));
    const std::string question = formatText("Are you sure to delete the selected %s task?", word.c_str());
    if (prompter.confirm(question, PromptButtons::YesNo, PromptAnswer::Yes) != PromptAnswer::Yes) {
        return false;
    }
    return removeTask(owner, list, task).ok();
}

Status Application::moveTask(TaskListOwner& owner, std::size_t list, std::size_t from, std::size_t to) {
    if (!owner.attached() || list >= owner.taskListCount()) {
        return Status::fail("The task list is not part of this application.");
    }
    auto& tasks = owner.mutableTaskList(list).tasks_;
    if (from >= tasks.size() || to >= tasks.size()) {
        return Status::fail("There is no task at that position.");
    }
    if (from < to) {
        std::rotate(tasks.begin() + static_cast<std::ptrdiff_t>(from),
                    tasks.begin() + static_cast<std::ptrdiff_t>(from) + 1,
                    tasks.begin() + static_cast<std::ptrdiff_t>(to) + 1);
    } else if (to < from) {
        std::rotate(tasks.begin() + static_cast<std::ptrdiff_t>(to),
                    tasks.begin() + static_cast<std::ptrdiff_t>(from),
                    tasks.begin() + static_cast<std::ptrdiff_t>(from) + 1);
    }
    return Status::success();
}

bool Application::acceptsReads(const TaskListOwner& owner, std::size_t list, const Task* replaced,
                               const Task& task) const {
    if (!owner.attached() || list >= owner.taskListCount()) {
        return true;
    }
    // Asking for the holder changes nothing; the holders are handed out for changes only by this class.
    auto& mutableOwner = const_cast<TaskListOwner&>(owner);
    const ReadListHolder* holder = mutableOwner.readListHolder(const_cast<Application&>(*this), list);
    if (holder == nullptr || !holder->isScreenReadList()) {
        return true;
    }
    return fitsReadLimit(holder->readList(), replaced, normalizeTask(task));
}

std::string Application::taskReadLimitDetail(const TaskListOwner& owner, std::size_t list,
                                             const Task* replaced, const Task& task) const {
    if (!owner.attached() || list >= owner.taskListCount()) {
        return {};
    }
    auto& mutableOwner = const_cast<TaskListOwner&>(owner);
    const ReadListHolder* holder = mutableOwner.readListHolder(const_cast<Application&>(*this), list);
    if (holder == nullptr || !holder->isScreenReadList()) {
        return {};
    }
    return readLimitDetail(*this, holder->readList(),
                           trialReads(holder->readList(), replaced, normalizeTask(task)));
}

bool Application::globalListHasCopyToStr() const noexcept {
    return global_.contains(TaskKind::CopyToDisplay, 0);
}

bool Application::expandHoldBits(Prompter& prompter) {
    std::vector<TaskListOwner*> owners;
    bool fits = true;
    forEachTaskListOwner([&](TaskListOwner& owner) {
        if (owner.taskListCount() != 3 || !isPressedList(owner.taskListKind(1))) {
            return;
        }
        const auto& pressed = owner.taskList(1).tasks();
        const auto holds =
            static_cast<std::size_t>(std::count_if(pressed.begin(), pressed.end(), [](const auto& t) {
                return t->kind == TaskKind::Bit &&
                       (t->subKind == bit_task::kHoldOn || t->subKind == bit_task::kHoldOff);
            }));
        if (holds == 0) {
            return;
        }
        owners.push_back(&owner);
        // The generated tasks go to Press and Released; a full list would lose the unit's image bounds.
        if (owner.taskList(0).size() + holds > owner.taskLimit() ||
            owner.taskList(2).size() + holds > owner.taskLimit()) {
            fits = false;
        }
    });
    if (!fits) {
        prompter.information(kListFull);
        return false;
    }
    for (TaskListOwner* owner : owners) {
        std::size_t i = 0;
        while (i < owner->taskList(1).size()) {
            const Task hold = owner->taskList(1).at(i);
            if (hold.kind != TaskKind::Bit ||
                (hold.subKind != bit_task::kHoldOn && hold.subKind != bit_task::kHoldOff)) {
                ++i;
                continue;
            }
            const bool on = hold.subKind == bit_task::kHoldOn;
            Task press = hold;
            press.subKind = on ? bit_task::kGeneratedOn : bit_task::kGeneratedOff;
            Task released = hold;
            released.subKind = on ? bit_task::kGeneratedOff : bit_task::kGeneratedOn;
            try {
                appendUnchecked(*owner, 0, press);
                appendUnchecked(*owner, 2, released);
            } catch (const std::bad_alloc&) {
                prompter.error("Can not create new task.");
                return false;
            }
            removeAt(*owner, 1, i);
        }
    }
    return true;
}

void Application::forEachTaskListOwner(const std::function<void(TaskListOwner&)>& visit) {
    visit(*this);
    for (const auto& key : globalKeys_) {
        visit(*key);
    }
    for (const auto& screen : screens_) {
        for (const auto& object : screen->objects()) {
            if (TaskListOwner* area = object->taskOwner()) {
                visit(*area);
            }
        }
        visit(*screen);
        for (const auto& key : screen->keys()) {
            visit(*key);
        }
    }
}

void Application::forEachTaskListOwner(const std::function<void(const TaskListOwner&)>& visit) const {
    visit(*this);
    for (const auto& key : globalKeys_) {
        visit(*key);
    }
    for (const auto& screen : screens_) {
        for (const auto& object : screen->objects()) {
            if (const TaskListOwner* area = object->taskOwner()) {
                visit(*area);
            }
        }
        visit(*screen);
        for (const auto& key : screen->keys()) {
            visit(*key);
        }
    }
}

// ---------------------------------------------------------------- global keys

Result<KeyDefinition*> Application::addGlobalKey(std::unique_ptr<KeyDefinition> key) {
    if (!key) {
        return Result<KeyDefinition*>::fail("No key to add.");
    }
    if (key->host_ != nullptr || key->taskBytes() != 0 ||
        key->taskList(0).size() + key->taskList(1).size() + key->taskList(2).size() != 0) {
        return Result<KeyDefinition*>::fail("A key joins its list without tasks and only once.");
    }
    if (globalKeys_.size() >= kMaxGlobalKeys) {
        return Result<KeyDefinition*>::fail("Can't create new Key.");
    }
    if (key->legend && !key->legend->valid()) {
        return Result<KeyDefinition*>::fail("The key legend is not valid.");
    }
    KeyDefinition* added = key.get();
    added->host_ = this;
    added->entryLength_ = KeyDefinition::kEmptyEntryLength;
    globalKeys_.push_back(std::move(key));
    addBytes(totals_.globalKeyBytes, KeyDefinition::kEntryBytes);
    addBytes(totals_.applicationSize, KeyDefinition::kEntryBytes);
    return added;
}

Status Application::removeGlobalKey(KeyDefinition& key) {
    auto it =
        std::find_if(globalKeys_.begin(), globalKeys_.end(), [&](const auto& k) { return k.get() == &key; });
    if (it == globalKeys_.end()) {
        return Status::fail("The key is not part of this application.");
    }
    for (std::size_t l = 0; l < key.taskListCount(); ++l) {
        while (!key.taskList(l).empty()) {
            removeAt(key, l, key.taskList(l).size() - 1);
        }
    }
    const std::int64_t bytes = static_cast<std::int64_t>(key.entryLength_) + 4;
    addBytes(totals_.globalKeyBytes, -bytes);
    addBytes(totals_.applicationSize, -bytes);
    globalKeys_.erase(it);
    return Status::success();
}

KeyDefinition* Application::findGlobalKey(std::uint16_t code) const noexcept {
    for (const auto& k : globalKeys_) {
        if (k->code == code) {
            return k.get();
        }
    }
    return nullptr;
}

// ---------------------------------------------------------------- document-wide

bool Application::checkCapacity(Prompter& prompter) const {
    if (memoryCapacity(unitSettings_.memoryOption) >= totals_.applicationSize) {
        return true;
    }
    prompter.error(kCapacityOverflow);
    return false;
}

void Application::assignDefaultNames(const PrefixFunction& prefixOf) {
    renumber();
    for (const auto& node : nodes_) {
        node->name = formatText("Node%u", node->number());
        for (const auto& block : node->blocks_) {
            block->name = formatText("Block%u", block->index_);
            std::string prefix = prefixOf ? prefixOf(*node, block->address_) : std::string();
            // The file keeps at most four prefix characters.
            prefix.resize(std::min(prefix.size(), Block::kMaxPrefixLength));
            block->prefix = std::move(prefix);
        }
    }
    for (Tag& tagInList : tags_) {
        Tag* tag = &tagInList;
        tag->name = formatText("Tag%u", tag->sequence_);
        tag->prefix = tag->block_->prefix;
    }
    for (const auto& screen : screens_) {
        screen->name = formatText("Screen%u", screen->number());
    }
}

void Application::close() {
    for (TaskList* list : {&powerOn_, &global_}) {
        list->tasks_.clear();
        list->bytes_ = 0;
    }
    globalKeys_.clear();
    clipboard_.reset();
    screens_.clear();
    alarms_.reset();
    logger_ = LoggerSettings{};
    globalReadList_.clear();
    loadedReadList_.clear();
    tags_.clear();
    for (const auto& node : nodes_) {
        node->blocks_.clear();
    }
    nodes_.clear();
    totals_ = MemoryTotals{};
    unitSettings_ = defaultUnitSettings(modelIndex(modelId_));
    password_.clear();
    info_ = ApplicationInfo{};
    updateNextNodeNumber();
}

MemoryTotals Application::recount() const {
    MemoryTotals t;
    for (const auto& node : nodes_) {
        t.networkBytes += Node::kRecordBytes;
        for (const auto& block : node->blocks_) {
            t.networkBytes += block->recordBytes();
            for (const Tag* tag : block->tags_) {
                t.networkBytes += tag->imageBytes();
            }
        }
    }
    for (Tag& tagInList : tags_) {
        Tag* tag = &tagInList;
        t.tagBytes += tag->imageBytes();
    }
    std::map<const ReadListHolder*, ReadList> reads;
    std::uint32_t keyBytes = 0;
    auto& self = const_cast<Application&>(*this); // the holders are only looked up, never changed
    forEachTaskListOwner([&](const TaskListOwner& owner) {
        auto& mutableOwner = const_cast<TaskListOwner&>(owner);
        for (std::size_t l = 0; l < owner.taskListCount(); ++l) {
            std::uint32_t listBytes = 0;
            const ReadListHolder* holder = mutableOwner.readListHolder(self, l);
            for (const auto& task : owner.taskList(l).tasks()) {
                listBytes += task->imageBytes();
                if (holder != nullptr) {
                    const TaskReads r = taskReads(*task);
                    for (std::size_t i = 0; i < r.count; ++i) {
                        (void)reads[holder].enter(*r.blocks[i]);
                    }
                }
            }
            if (&owner == this) {
                (l == kPowerOn ? t.powerOnBytes : t.globalTaskBytes) = listBytes;
            } else if (const auto* key = dynamic_cast<const KeyDefinition*>(&owner);
                       key != nullptr && key->host() == static_cast<const KeyHost*>(this)) {
                keyBytes += listBytes;
            }
        }
    });
    t.globalKeyBytes = keyBytes + static_cast<std::uint32_t>(globalKeys_.size()) * KeyDefinition::kEntryBytes;
    if (auto it = reads.find(this); it != reads.end()) {
        t.globalReadListBytes = it->second.sectionBytes();
    }
    for (const auto& screen : screens_) {
        t.screenBytes += screen->recountEntryLength() + 4;
    }
    t.alarmBytes = alarms_ ? alarms_->sectionBytes() : 0;
    t.pictureBytes = totals_.pictureBytes; // taken from the picture library, not from the records
    t.applicationSize = MemoryTotals::kEmptyApplicationBytes + t.networkBytes + t.globalReadListBytes +
                        t.powerOnBytes + t.globalTaskBytes + t.globalKeyBytes + t.screenBytes + t.alarmBytes +
                        t.pictureBytes;
    return t;
}

Status Application::checkConsistency() const {
    auto fail = [](std::string text) { return Status::fail(std::move(text)); };
    const MemoryTotals r = recount();
    const struct {
        const char* name;
        std::uint32_t kept;
        std::uint32_t counted;
    } counters[] = {
        {"applicationSize", totals_.applicationSize, r.applicationSize},
        {"networkBytes", totals_.networkBytes, r.networkBytes},
        {"tagBytes", totals_.tagBytes, r.tagBytes},
        {"screenBytes", totals_.screenBytes, r.screenBytes},
        {"globalKeyBytes", totals_.globalKeyBytes, r.globalKeyBytes},
        {"powerOnBytes", totals_.powerOnBytes, r.powerOnBytes},
        {"globalTaskBytes", totals_.globalTaskBytes, r.globalTaskBytes},
        {"alarmBytes", totals_.alarmBytes, r.alarmBytes},
        {"loggerBytes", totals_.loggerBytes, r.loggerBytes},
        {"globalReadListBytes", totals_.globalReadListBytes, r.globalReadListBytes},
        {"pictureBytes", totals_.pictureBytes, r.pictureBytes},
    };
    for (const auto& c : counters) {
        if (c.kept != c.counted) {
            return fail(formatText("%s is %u, the records give %u", c.name, c.kept, c.counted));
        }
    }
    for (std::size_t i = 0; i < screens_.size(); ++i) {
        const Screen& screen = *screens_[i];
        if (screen.totals_ != &totals_ || (i > 0 && screens_[i - 1]->number() >= screen.number())) {
            return fail(formatText("screen %u is out of order", screen.number()));
        }
        if (Status s = screen.checkConsistency(); !s) {
            return s;
        }
    }
    std::size_t tagsInBlocks = 0;
    for (std::size_t n = 0; n < nodes_.size(); ++n) {
        const Node& node = *nodes_[n];
        if (!node.inApplication_ || (n > 0 && nodes_[n - 1]->number() >= node.number())) {
            return fail(formatText("node %u is out of order", node.number()));
        }
        std::uint32_t nodeLength = Node::kEmptyEntryLength;
        for (std::size_t b = 0; b < node.blocks_.size(); ++b) {
            const Block& block = *node.blocks_[b];
            if (block.node_ != &node || block.index_ != b ||
                (b > 0 && byteLess(block.address_, node.blocks_[b - 1]->address_))) {
                return fail(
                    formatText("block %s of node %u is out of place", block.address_.c_str(), node.number()));
            }
            std::uint32_t blockLength = static_cast<std::uint32_t>(block.address_.size()) + 4;
            for (std::size_t i = 0; i < block.tags_.size(); ++i) {
                const Tag& tag = *block.tags_[i];
                if (tag.block_ != &block || tag.node_ != &node || tag.nodeNumber_ != node.number() ||
                    block.addressKeys_.size() != block.tags_.size() ||
                    block.addressKeys_[i] != Block::addressKey(tag.address_) ||
                    (i > 0 && byteLess(tag.address_, block.tags_[i - 1]->address_))) {
                    return fail(formatText("tag %s of block %s is out of place", tag.address_.c_str(),
                                           block.address_.c_str()));
                }
                blockLength += tag.imageBytes();
            }
            tagsInBlocks += block.tags_.size();
            if (block.entryLength_ != blockLength) {
                return fail(formatText("block %s entry length is %u, the records give %u",
                                       block.address_.c_str(), block.entryLength_, blockLength));
            }
            nodeLength += blockLength + 2;
        }
        if (node.entryLength_ != nodeLength) {
            return fail(formatText("node %u entry length is %u, the records give %u", node.number(),
                                   node.entryLength_, nodeLength));
        }
    }
    if (tagsInBlocks != tags_.size()) {
        return fail(formatText("the tag list holds %zu tags, the blocks %zu", tags_.size(), tagsInBlocks));
    }
    const Tag* previous = nullptr;
    for (Tag& tagInList : tags_) {
        Tag* tag = &tagInList;
        const bool inOrder =
            previous == nullptr || previous->nodeNumber_ < tag->nodeNumber_ ||
            (previous->nodeNumber_ == tag->nodeNumber_ && !byteLess(tag->address_, previous->address_));
        if (!ownsTag(tag) || tag->block_->tags_[tag->indexInBlock()] != tag || !inOrder) {
            return fail(formatText("tag %s is out of place in the tag list", tag->address_.c_str()));
        }
        previous = tag;
    }
    for (const TaskList* list : {&powerOn_, &global_}) {
        std::uint32_t bytes = 0;
        for (const auto& task : list->tasks()) {
            bytes += task->imageBytes();
        }
        if (bytes != list->bytes()) {
            return fail(
                formatText("an application list keeps %u bytes, its tasks take %u", list->bytes(), bytes));
        }
    }
    for (const auto& key : globalKeys_) {
        std::uint32_t length = KeyDefinition::kEmptyEntryLength;
        for (std::size_t l = 0; l < key->taskListCount(); ++l) {
            std::uint32_t bytes = 0;
            for (const auto& task : key->taskList(l).tasks()) {
                bytes += task->imageBytes();
            }
            if (bytes != key->taskList(l).bytes()) {
                return fail(formatText("a list of key %u keeps %u bytes, its tasks take %u", key->code,
                                       key->taskList(l).bytes(), bytes));
            }
            length += bytes;
        }
        if (key->entryLength_ != length || key->host_ != this) {
            return fail(formatText("key %u entry length is %u, the records give %u", key->code,
                                   key->entryLength_, length));
        }
    }
    ReadList expected;
    forEachTaskListOwner([&](const TaskListOwner& owner) {
        auto& mutableOwner = const_cast<TaskListOwner&>(owner);
        for (std::size_t l = 0; l < owner.taskListCount(); ++l) {
            if (mutableOwner.readListHolder(const_cast<Application&>(*this), l) != this) {
                continue;
            }
            for (const auto& task : owner.taskList(l).tasks()) {
                const TaskReads reads = taskReads(*task);
                for (std::size_t i = 0; i < reads.count; ++i) {
                    (void)expected.enter(*reads.blocks[i]);
                }
            }
        }
    });
    if (!globalReadList_.sameUses(expected)) {
        return fail(formatText("the global read list has %u blocks of %u registers, the tasks need %u of %u",
                               globalReadList_.blockCount(), globalReadList_.registerCount(),
                               expected.blockCount(), expected.registerCount()));
    }
    const std::uint8_t next = nodes_.empty() ? 1 : static_cast<std::uint8_t>(nodes_.back()->number() + 1U);
    if (next != nextNodeNumber_) {
        return fail("the proposed node number is stale");
    }
    return Status::success();
}

// ---------------------------------------------------------------- screens

Result<Screen*> Application::addScreen(std::unique_ptr<Screen> screen) {
    if (!screen) {
        return Result<Screen*>::fail("No screen to add.");
    }
    if (screen->inApplication() || screen.get() == clipboard_.get()) {
        return Result<Screen*>::fail("The screen is already part of an application.");
    }
    if (screens_.size() >= Screen::kMaxNumber) {
        return Result<Screen*>::fail(std::string(kScreenLimit));
    }
    if (screen->number() < 1 || screen->number() > Screen::kMaxNumber) {
        return Result<Screen*>::fail("Screen numbers are 1 to 65534.");
    }
    auto at =
        std::lower_bound(screens_.begin(), screens_.end(), screen->number(),
                         [](const std::unique_ptr<Screen>& s, std::uint32_t n) { return s->number() < n; });
    if (at != screens_.end() && (*at)->number() == screen->number()) {
        return Result<Screen*>::fail("A screen of this number already exists.");
    }
    Screen* added = screen.get();
    screens_.insert(at, std::move(screen));
    added->totals_ = &totals_;
    addBytes(totals_.screenBytes, added->imageBytes());
    addBytes(totals_.applicationSize, added->imageBytes());
    return added;
}

bool Application::canAddScreen(Prompter& prompter) const {
    if (screens_.size() >= Screen::kMaxNumber) {
        prompter.information(kScreenLimit);
        return false;
    }
    return true;
}

Result<std::unique_ptr<Screen>> Application::removeScreen(Screen& screen) {
    auto it =
        std::find_if(screens_.begin(), screens_.end(), [&](const auto& s) { return s.get() == &screen; });
    if (it == screens_.end()) {
        return Result<std::unique_ptr<Screen>>::fail("The screen is not part of this application.");
    }
    const std::int64_t bytes = screen.imageBytes();
    addBytes(totals_.screenBytes, -bytes);
    addBytes(totals_.applicationSize, -bytes);
    std::unique_ptr<Screen> taken = std::move(*it);
    screens_.erase(it);
    taken->totals_ = nullptr;
    return taken;
}

Screen* Application::findScreen(std::uint32_t number) const noexcept {
    auto at =
        std::lower_bound(screens_.begin(), screens_.end(), number,
                         [](const std::unique_ptr<Screen>& s, std::uint32_t n) { return s->number() < n; });
    return at != screens_.end() && (*at)->number() == number ? at->get() : nullptr;
}

bool Application::isScreenNameFree(std::string_view name, const Screen* except) const noexcept {
    return std::none_of(screens_.begin(), screens_.end(),
                        [&](const auto& s) { return s.get() != except && s->name == name; });
}

Status Application::renumberScreen(Screen& screen, std::uint32_t number) {
    if (number < 1 || number > Screen::kMaxNumber) {
        return Status::fail("Screen numbers are 1 to 65534.");
    }
    if (Screen* holder = findScreen(number); holder != nullptr) {
        return holder == &screen ? Status::success()
                                 : Status::fail("A screen of this number already exists.");
    }
    auto taken = removeScreen(screen);
    if (!taken) {
        return taken.failure();
    }
    taken.value()->number_ = number;
    return addScreen(std::move(taken.value())).ok() ? Status::success()
                                                    : Status::fail("The screen could not be renumbered.");
}

std::size_t Application::countScreensWithTouchAreas() const noexcept {
    return static_cast<std::size_t>(
        std::count_if(screens_.begin(), screens_.end(), [](const auto& s) { return s->hasTouchAreas(); }));
}

void Application::removeAllTouchAreas() {
    for (const auto& screen : screens_) {
        std::vector<ScreenObject*> areas;
        for (const auto& object : screen->objects()) {
            if (object->kind() == ObjectKind::TouchArea) {
                areas.push_back(object.get());
            }
        }
        for (ScreenObject* area : areas) {
            (void)screen->removeObject(*area);
        }
    }
}

bool Application::isPictureUsed(std::uint32_t pictureId) const noexcept {
    for (const auto& screen : screens_) {
        for (const auto& object : screen->objects()) {
            if (const auto* bitmap = dynamic_cast<const BitmapObject*>(object.get());
                bitmap != nullptr && bitmap->pictureId() == pictureId) {
                return true;
            }
        }
    }
    return false;
}

void Application::pictureRemoved(std::uint32_t pictureId) noexcept {
    // Only pictures that no object shows are removed from the library, so an object showing the removed
    // number itself keeps it rather than silently showing the next picture.
    auto shift = [pictureId](Screen& screen) {
        for (const auto& object : screen.objects()) {
            if (auto* bitmap = dynamic_cast<BitmapObject*>(object.get());
                bitmap != nullptr && bitmap->pictureId() > pictureId) {
                bitmap->setPictureId(bitmap->pictureId() - 1);
            }
        }
    };
    for (const auto& screen : screens_) {
        shift(*screen);
    }
    if (clipboard_) {
        shift(*clipboard_);
    }
}

Screen& Application::clipboard() {
    if (!clipboard_) {
        clipboard_ = std::make_unique<Screen>(0);
        clipboard_->name = "Clipboard";
    }
    return *clipboard_;
}

// ---------------------------------------------------------------- keys of screens

Result<KeyDefinition*> Application::addKey(Screen& screen, std::unique_ptr<KeyDefinition> key) {
    if (!screen.inApplication()) {
        return Result<KeyDefinition*>::fail("The screen is not part of this application.");
    }
    if (!key) {
        return Result<KeyDefinition*>::fail("No key to add.");
    }
    if (key->host_ != nullptr || key->taskBytes() != 0 ||
        key->taskList(0).size() + key->taskList(1).size() + key->taskList(2).size() != 0) {
        return Result<KeyDefinition*>::fail("A key joins its list without tasks and only once.");
    }
    if (screen.keys_.size() >= 65535) { // the screen entry counts its keys in 16 bits
        return Result<KeyDefinition*>::fail("Can't create new Key.");
    }
    KeyDefinition* added = key.get();
    added->host_ = &screen;
    added->legend.reset(); // legends belong to global keys
    added->entryLength_ = KeyDefinition::kEmptyEntryLength;
    screen.keys_.push_back(std::move(key));
    screen.chargeKeyBytes(totals_, KeyDefinition::kEntryBytes);
    addBytes(totals_.applicationSize, KeyDefinition::kEntryBytes);
    return added;
}

Status Application::removeKey(Screen& screen, KeyDefinition& key) {
    auto it = std::find_if(screen.keys_.begin(), screen.keys_.end(),
                           [&](const auto& k) { return k.get() == &key; });
    if (it == screen.keys_.end() || !screen.inApplication()) {
        return Status::fail("The key is not part of this screen.");
    }
    for (std::size_t l = 0; l < key.taskListCount(); ++l) {
        while (!key.taskList(l).empty()) {
            removeAt(key, l, key.taskList(l).size() - 1);
        }
    }
    const std::int32_t bytes = -static_cast<std::int32_t>(key.entryLength_ + 4);
    screen.chargeKeyBytes(totals_, bytes);
    addBytes(totals_.applicationSize, bytes);
    screen.keys_.erase(it);
    return Status::success();
}

// ---------------------------------------------------------------- alarms and logger

AlarmTable& Application::alarmTable() {
    if (!alarms_) {
        alarms_ = std::make_unique<AlarmTable>();
    }
    return *alarms_;
}

std::size_t Application::alarmTextCount() const noexcept {
    return alarms_ ? alarms_->textCount() : 0;
}

void Application::recomputeAlarmBytes() noexcept {
    const std::uint32_t bytes = alarms_ ? alarms_->sectionBytes() : 0;
    addBytes(totals_.applicationSize, static_cast<std::int64_t>(bytes) - totals_.alarmBytes);
    totals_.alarmBytes = bytes;
}

void Application::dropAlarmTable() noexcept {
    alarms_.reset();
    recomputeAlarmBytes();
}

Status Application::setAlarmText(std::size_t alarm, std::string_view text) {
    Status s = alarmTable().setText(alarm, text, AlarmTable::textLimit(modelClass(modelId_)));
    recomputeAlarmBytes();
    return s;
}

Status Application::setAlarmOptions(std::size_t alarm, std::uint8_t options) {
    return alarmTable().setOptions(alarm, options);
}

Status Application::setGroupTag(std::size_t group, Tag* tag) {
    if (tag != nullptr && !ownsTag(tag)) {
        return Status::fail("The tag is not part of this application.");
    }
    return alarmTable().setGroupTag(group, tag);
}

Status Application::setTagMode(std::uint8_t mode) {
    return alarmTable().setTagMode(mode);
}

Status Application::addLoggerTag(Tag& tag) {
    if (!ownsTag(&tag)) {
        return Status::fail("The tag is not part of this application.");
    }
    if (std::find(logger_.tags.begin(), logger_.tags.end(), &tag) != logger_.tags.end()) {
        return Status::fail("The tag is already logged.");
    }
    logger_.tags.push_back(&tag);
    return Status::success();
}

bool Application::removeLoggerTag(Tag& tag) {
    auto it = std::find(logger_.tags.begin(), logger_.tags.end(), &tag);
    if (it == logger_.tags.end()) {
        return false;
    }
    logger_.tags.erase(it);
    return true;
}

// ---------------------------------------------------------------- tag references

void Application::retagTask(TaskListOwner& owner, std::size_t list, Task& task, Tag* tag1, Tag* tag2) {
    // A touch area on the clipboard is outside the document: its changes stay inside its own record.
    const bool counted = owner.attached();
    ReadListHolder* holder = owner.readListHolder(*this, list);
    auto moveReads = [&](bool enter) {
        if (holder == nullptr) {
            return;
        }
        const TaskReads reads = taskReads(task);
        for (std::size_t i = 0; i < reads.count; ++i) {
            Block& block = *reads.blocks[i];
            if (counted) {
                enter ? enterRead(block, *holder) : leaveRead(block, *holder);
            } else if (const std::int32_t delta =
                           enter ? holder->readList().enter(block) : holder->readList().leave(block);
                       delta != 0) {
                holder->chargeReadListBytes(totals_, delta);
            }
        }
    };
    moveReads(false);
    const std::int32_t before = signedBytes(task.imageBytes());
    task.tag1 = tag1;
    task.tag2 = tag2;
    const std::int32_t delta = signedBytes(task.imageBytes()) - before;
    if (delta != 0) {
        addBytes(owner.mutableTaskList(list).bytes_, delta);
        owner.chargeTaskBytes(list, totals_, delta);
        if (counted) {
            addBytes(totals_.applicationSize, delta);
        }
    }
    moveReads(true);
}

} // namespace quillon
