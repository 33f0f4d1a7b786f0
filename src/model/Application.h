#pragma once

#include "model/AlarmTable.h"
#include "model/ApplicationInfo.h"
#include "model/Block.h"
#include "model/KeyDefinition.h"
#include "model/LoggerSettings.h"
#include "model/MemoryTotals.h"
#include "model/Node.h"
#include "model/PanelModel.h"
#include "model/Prompter.h"
#include "model/ReadList.h"
#include "model/Result.h"
#include "model/Screen.h"
#include "model/Tag.h"
#include "model/TagIndex.h"
#include "model/TagReferences.h"
#include "model/TaskList.h"
#include "model/TaskListOwner.h"
#include "model/UnitSettings.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace quillon {

// The one document the tool edits. It owns every record, keeps them in their canonical orders and keeps
// the byte totals of every image section exact with every insertion and removal, so that the writer and
// the capacity check can rely on them.
//
// The Application is itself the owner of the Power-on and Global task lists (applicationLists()), the
// host of the global keys and the holder of the global read list.
class Application final : private TaskListOwner, private KeyHost, private ReadListHolder {
public:
    static constexpr std::size_t kPowerOn = 0;
    static constexpr std::size_t kGlobal = 1;
    // The header counts tags and global keys in 16 bits.
    static constexpr std::size_t kMaxTags = 65535;
    static constexpr std::size_t kMaxGlobalKeys = 65535;
    static constexpr std::size_t kPasswordLength = 8;

    // The address prefix of a block address of a node; the PLC addressing code knows the notations.
    using PrefixFunction = std::function<std::string(const Node& node, std::string_view address)>;

    // A new, empty application with the defaults of a new document.
    explicit Application(std::uint16_t modelId);
    // The same, refusing a model that does not exist and reporting a failed allocation
    // ("Can't start new application."); nullptr when nothing was created.
    static std::unique_ptr<Application> create(std::uint32_t modelId, Prompter& prompter);
    ~Application() override;

    std::uint16_t modelId() const noexcept { return modelId_; }
    ModelSelection modelSelection() const noexcept { return selectModel(modelId_); }
    std::string_view panelModelName() const noexcept { return modelName(modelId_); }

    ApplicationInfo& info() noexcept { return info_; }
    const ApplicationInfo& info() const noexcept { return info_; }
    UnitSettings& unitSettings() noexcept { return unitSettings_; }
    const UnitSettings& unitSettings() const noexcept { return unitSettings_; }
    LoggerSettings& logger() noexcept { return logger_; }
    const LoggerSettings& logger() const noexcept { return logger_; }
    const std::string& password() const noexcept { return password_; }
    // At most 8 characters; empty means no password.
    bool setPassword(std::string_view password);

    const MemoryTotals& totals() const noexcept { return totals_; }
    // Picture bytes come from the picture library and are recomputed whole before each write.
    void setPictureBytes(std::uint32_t bytes) noexcept;

    // ---- Network: nodes, blocks, tags ----

    std::size_t nodeCount() const noexcept { return nodes_.size(); }
    const std::vector<std::unique_ptr<Node>>& nodes() const noexcept { return nodes_; }
    // Inserts in node-number order; a node joins without blocks and with a number no other node has.
    Result<Node*> addNode(std::unique_ptr<Node> node);
    // Takes a node without blocks out of the network and hands it back (to be changed and added again,
    // or dropped).
    Result<std::unique_ptr<Node>> removeNode(Node& node);
    Node* findNodeByNumber(std::uint32_t number) const noexcept;
    Node* unitNode() const noexcept;
    bool isNodeNumberFree(std::uint32_t number, const Node* except = nullptr) const noexcept;
    bool isNodeNameFree(std::string_view name, const Node* except = nullptr) const noexcept;
    // Number proposed for the next node: highest + 1, or 0 (none) when the highest is 255.
    std::uint8_t nextNodeNumber() const noexcept { return nextNodeNumber_; }

    // Inserts in address order (equal addresses after the present ones).
    Result<Block*> addBlock(Node& node, std::unique_ptr<Block> block);
    // Takes a block without tags out of its node and hands it back.
    Result<std::unique_ptr<Block>> removeBlock(Block& block);
    Block* findBlock(std::uint32_t nodeNumber, std::uint32_t blockIndex) const noexcept;
    // Gives a block another size (1..255); the read lists that hold it count its registers anew.
    Status resizeBlock(Block& block, std::uint32_t size);

    std::size_t tagCount() const noexcept { return tags_.size(); }
    // Every tag in tag order: by node number, then by address text.
    const TagIndex& tags() const noexcept { return tags_; }
    Result<Tag*> addTag(Block& block, const TagValues& values);
    // Deletes a tag that nothing refers to (see isTagReferenced).
    Status removeTag(Tag& tag);
    // The tag a TagRef names: node number, block position in the node, position among the block's tags.
    Tag* findTag(std::uint32_t nodeNumber, std::uint32_t blockIndex,
                 std::uint32_t indexInBlock) const noexcept;
    bool isTagNameFree(std::string_view name, const Tag* except = nullptr) const noexcept;
    // A tag of the node equal in type, address, size (registers), bit (register bits) and byte selector.
    Tag* findTagByAddress(std::uint32_t nodeNumber, const TagValues& probe,
                          const Tag* except = nullptr) const noexcept;
    // True while a task list or the logger refers to the tag.
    bool isTagReferenced(const Tag& tag) const;

    // Block indices and tag positions in their blocks are always current; renumber() numbers the tags'
    // sequence 1, 2, 3 ... in tag order.
    void renumber();
    // The tag list is always in byte-wise address order within a node, so sorting only renumbers.
    void sortTags() { renumber(); }
    // The lines of the tag table in tag order; a tag of no known type shows "Wrong Tag-type." and ends
    // the listing.
    std::vector<std::string> tagTableLines(Prompter& prompter);

    // ---- Task lists ----

    TaskListOwner& applicationLists() noexcept { return *this; }
    const TaskListOwner& applicationLists() const noexcept { return *this; }
    const TaskList& powerOnTasks() const noexcept { return powerOn_; }
    const TaskList& globalTasks() const noexcept { return global_; }
    std::size_t powerOnTaskCount() const noexcept { return powerOn_.size(); }
    std::size_t globalTaskCount() const noexcept { return global_.size(); }

    // Appends without the editors' placement rules (the file reader uses it): refuses only what cannot be
    // stored (invalid operands, tags of another document, a full list). Enters the task's reads.
    Result<Task*> appendTask(TaskListOwner& owner, std::size_t list, const Task& task);
    // What the task editors do: placement rules, list limit, the screen's read limit, then append.
    // Every refusal is shown; nullptr when nothing was added.
    Task* addTask(TaskListOwner& owner, std::size_t list, const Task& task, Prompter& prompter);
    // Rewrites a task in place with the editors' rules (a task may keep its own Delay place).
    bool editTask(TaskListOwner& owner, std::size_t list, Task& task, const Task& replacement,
                  Prompter& prompter);
    Status removeTask(TaskListOwner& owner, std::size_t list, const Task& task);
    // Asks "Are you sure to delete the selected %s task?" and removes the task on Yes.
    bool confirmRemoveTask(TaskListOwner& owner, std::size_t list, const Task& task, Prompter& prompter);
    Status moveTask(TaskListOwner& owner, std::size_t list, std::size_t from, std::size_t to);
    // The placement rules; editing names the task being rewritten.
    bool checkPlacement(const TaskListOwner& owner, std::size_t list, const Task& task, Prompter& prompter,
                        const Task* editing = nullptr) const;
    bool globalListHasCopyToStr() const noexcept;
    // Whether a screen's lists may take the task's reads without going beyond the screen's read limit
    // (`replaced` is the task it rewrites); lists that read into no screen list always may.
    bool acceptsReads(const TaskListOwner& owner, std::size_t list, const Task* replaced,
                      const Task& task) const;
    // What follows the refusal of a task acceptsReads refuses: the registers the screen would read against
    // the unit's limit and each block the task would add, with its registers; empty for lists that read
    // into no screen.
    std::string taskReadLimitDetail(const TaskListOwner& owner, std::size_t list, const Task* replaced,
                                    const Task& task) const;
    static bool hasDelayTask(const TaskList& list) noexcept { return list.contains(TaskKind::Delay); }

    // Replaces every hold task of every Pressed list by generated bit tasks in the Press and Released
    // lists of the same owner (before every save and download). Nothing changes when a list would
    // overflow; the refusal is shown and false returned.
    bool expandHoldBits(Prompter& prompter);

    // Every owner of task lists, in reference order: the application lists, then the global keys.
    void forEachTaskListOwner(const std::function<void(TaskListOwner&)>& visit);
    void forEachTaskListOwner(const std::function<void(const TaskListOwner&)>& visit) const;

    // ---- Global keys ----

    std::size_t globalKeyCount() const noexcept { return globalKeys_.size(); }
    const std::vector<std::unique_ptr<KeyDefinition>>& globalKeys() const noexcept { return globalKeys_; }
    // Appends a key without tasks; tasks are added afterwards through appendTask/addTask.
    Result<KeyDefinition*> addGlobalKey(std::unique_ptr<KeyDefinition> key);
    Status removeGlobalKey(KeyDefinition& key);
    KeyDefinition* findGlobalKey(std::uint16_t code) const noexcept;

    // ---- Read lists ----

    const ReadList& globalReadList() const noexcept { return globalReadList_; }
    ReadListHolder& globalReadListHolder() noexcept { return *this; }
    std::uint32_t globalReadBlocks() const noexcept { return globalReadList_.blockCount(); }
    std::uint32_t globalReadRegisters() const noexcept { return globalReadList_.registerCount(); }
    // The global list as read from the last file; not used for writing.
    ReadList& loadedReadList() noexcept { return loadedReadList_; }
    void enterRead(Block& block, ReadListHolder& holder);
    void leaveRead(Block& block, ReadListHolder& holder);
    // Registers a screen reads: the global list's and those of its own list that the global one lacks.
    std::uint32_t screenReadRegisters(const ReadList& screenList) const noexcept;
    bool checkReadLimit(const ReadList& screenList) const noexcept;

    // ---- Screens ----

    std::size_t screenCount() const noexcept { return screens_.size(); }
    // Every screen in ascending number.
    const std::vector<std::unique_ptr<Screen>>& screens() const noexcept { return screens_; }
    // Inserts in number order with everything the screen holds; refuses a number outside 1..65534, a
    // number in use and a screen beyond the 65534th.
    Result<Screen*> addScreen(std::unique_ptr<Screen> screen);
    // False, after "This application contains 65534 screens.\nCan not add new screen.", when full.
    bool canAddScreen(Prompter& prompter) const;
    // Takes the screen out with everything it holds and hands it back.
    Result<std::unique_ptr<Screen>> removeScreen(Screen& screen);
    Screen* findScreen(std::uint32_t number) const noexcept;
    bool isScreenNameFree(std::string_view name, const Screen* except = nullptr) const noexcept;
    // Gives the screen a free number and moves it to its place in the order.
    Status renumberScreen(Screen& screen, std::uint32_t number);
    bool checkReadLimit(const Screen& screen) const noexcept { return checkReadLimit(screen.readList()); }
    // Screens with at least one touch-screen area, and their removal when the touch screen is switched off.
    std::size_t countScreensWithTouchAreas() const noexcept;
    void removeAllTouchAreas();
    // Pictures of the library shown by bitmap objects; after the library lost a picture, the objects of
    // the pictures behind it follow their pictures' new numbers.
    bool isPictureUsed(std::uint32_t pictureId) const noexcept;
    void pictureRemoved(std::uint32_t pictureId) noexcept;
    // The hidden screen that holds cut and copied objects; created on first use, never written and never
    // counted.
    Screen& clipboard();
    Screen* clipboardIfAny() noexcept { return clipboard_.get(); }
    const Screen* clipboardIfAny() const noexcept { return clipboard_.get(); }

    // Keys of a screen: 21 bytes each with their task lists, charged to the screen.
    Result<KeyDefinition*> addKey(Screen& screen, std::unique_ptr<KeyDefinition> key);
    Status removeKey(Screen& screen, KeyDefinition& key);
    // Global keys under the same names.
    Result<KeyDefinition*> addKey(std::unique_ptr<KeyDefinition> key) { return addGlobalKey(std::move(key)); }
    Status removeKey(KeyDefinition& key) { return removeGlobalKey(key); }

    // ---- Alarms ----

    // The alarm table, created on first use.
    AlarmTable& alarmTable();
    AlarmTable* alarmsIfAny() noexcept { return alarms_.get(); }
    const AlarmTable* alarmsIfAny() const noexcept { return alarms_.get(); }
    std::size_t alarmTextCount() const noexcept;
    // The alarm edits; each keeps alarmBytes and applicationSize exact. Texts are limited by the display.
    Status setAlarmText(std::size_t alarm, std::string_view text);
    Status setAlarmOptions(std::size_t alarm, std::uint8_t options);
    Status setGroupTag(std::size_t group, Tag* tag);
    Status setTagMode(std::uint8_t mode);
    void recomputeAlarmBytes() noexcept;
    // Detaches and destroys the alarm table, taking its bytes off the application's total.
    void dropAlarmTable() noexcept;

    // ---- Logger ----

    const std::vector<Tag*>& loggerTags() const noexcept { return logger_.tags; }
    // Each tag is logged once; the logger takes no bytes of the image beyond its placeholder.
    Status addLoggerTag(Tag& tag);
    bool removeLoggerTag(Tag& tag);

    // ---- Tag references ----

    TagReferences tagReferences() noexcept { return TagReferences(*this); }
    // Points a task at other tags, moving its reads and keeping its list's bytes exact (a Wait task's
    // layout follows whether its tag is a bit).
    void retagTask(TaskListOwner& owner, std::size_t list, Task& task, Tag* tag1, Tag* tag2);

    // ---- Document-wide ----

    // The unit memory must hold the application; shows the overflow message otherwise.
    bool checkCapacity(Prompter& prompter) const;
    // Names for a document read from the unit, which keeps none.
    void assignDefaultNames(const PrefixFunction& prefixOf);
    // Empties the document: every list, key, tag and node; totals and settings back to a new document's.
    void close();

    // Every counter recomputed from the records alone.
    MemoryTotals recount() const;
    // Compares every kept counter, entry length, index, order and read list with a recount.
    Status checkConsistency() const;

private:
    // TaskListOwner: the Power-on and Global lists.
    std::size_t taskListCount() const noexcept override { return 2; }
    const TaskList& taskList(std::size_t index) const override;
    TaskListKind taskListKind(std::size_t index) const noexcept override;
    bool attached() const noexcept override { return true; }
    TaskList& mutableTaskList(std::size_t index) override;
    ReadListHolder* readListHolder(Application& app, std::size_t index) noexcept override;
    void chargeTaskBytes(std::size_t index, MemoryTotals& totals, std::int32_t delta) noexcept override;

    // KeyHost: the global keys.
    bool hostsScreenKeys() const noexcept override { return false; }
    ReadListHolder& keyReadListHolder() noexcept override { return *this; }
    void chargeKeyBytes(MemoryTotals& totals, std::int32_t delta) noexcept override;

    // ReadListHolder: the global read list.
    ReadList& readList() noexcept override { return globalReadList_; }
    const ReadList& readList() const noexcept override { return globalReadList_; }
    bool isScreenReadList() const noexcept override { return false; }
    void chargeReadListBytes(MemoryTotals& totals, std::int32_t delta) noexcept override;

    bool ownsNode(const Node& node) const noexcept;
    bool ownsTag(const Tag* tag) const noexcept;
    void updateNextNodeNumber() noexcept;
    void chargeNetwork(Node& node, Block* block, std::int64_t delta, bool tagRecord) noexcept;
    void enterReads(const Task& task, ReadListHolder* holder);
    void leaveReads(const Task& task, ReadListHolder* holder);
    // Whether the screen list stays within the read limit when `removed` leaves it and `added` enters.
    bool fitsReadLimit(const ReadList& screenList, const Task* removed, const Task& added) const;
    Status canAppend(const TaskListOwner& owner, std::size_t list) const;
    Task* appendUnchecked(TaskListOwner& owner, std::size_t list, const Task& task);
    void removeAt(TaskListOwner& owner, std::size_t list, std::size_t index);

    std::uint16_t modelId_;
    ApplicationInfo info_;
    UnitSettings unitSettings_;
    LoggerSettings logger_;
    std::string password_;
    MemoryTotals totals_;
    std::vector<std::unique_ptr<Node>> nodes_;
    TagIndex tags_;
    TaskList powerOn_;
    TaskList global_;
    std::vector<std::unique_ptr<KeyDefinition>> globalKeys_;
    ReadList globalReadList_;
    ReadList loadedReadList_;
    std::uint8_t nextNodeNumber_ = 1;
    std::vector<std::unique_ptr<Screen>> screens_;
    std::unique_ptr<Screen> clipboard_;
    std::unique_ptr<AlarmTable> alarms_;
};

} // namespace quillon
