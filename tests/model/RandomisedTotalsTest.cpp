#include "ModelFixture.h"
#include "model/RecordingPrompter.h"

#include <gtest/gtest.h>
#include <random>
#include <string>
#include <vector>

using namespace quillon;
using namespace quillon::testing_support;

namespace {

// Random edits of every kind the model offers; after each, the kept counters must equal a recount.
class RandomEditor {
public:
    explicit RandomEditor(std::uint32_t seed) : rng_(seed) { must(app_.addNode(Node::createUnitNode())); }

    void step() {
        switch (pick(12)) {
        case 0:
            addNode();
            break;
        case 1:
            removeNode();
            break;
        case 2:
        case 3:
            addBlock();
            break;
        case 4:
            removeBlock();
            break;
        case 5:
        case 6:
            addTag();
            break;
        case 7:
            removeTag();
            break;
        case 8:
        case 9:
            addTask();
            break;
        case 10:
            removeTask();
            break;
        default:
            keyOrHold();
            break;
        }
    }

    Application& app() { return app_; }

private:
    std::size_t pick(std::size_t n) { return std::uniform_int_distribution<std::size_t>(0, n - 1)(rng_); }

    Node* anyNode() { return app_.nodes()[pick(app_.nodeCount())].get(); }
    Block* anyBlock() {
        std::vector<Block*> blocks;
        for (const auto& n : app_.nodes()) {
            for (const auto& b : n->blocks()) {
                blocks.push_back(b.get());
            }
        }
        return blocks.empty() ? nullptr : blocks[pick(blocks.size())];
    }
    Tag* anyTag() {
        if (app_.tagCount() == 0) {
            return nullptr;
        }
        const auto& range = app_.tags();
        auto it = range.begin();
        std::advance(it, static_cast<std::ptrdiff_t>(pick(app_.tagCount())));
        return &*it;
    }
    TaskListOwner* anyOwner(std::size_t& list) {
        std::vector<TaskListOwner*> owners;
        app_.forEachTaskListOwner([&](TaskListOwner& o) { owners.push_back(&o); });
        TaskListOwner* owner = owners[pick(owners.size())];
        list = pick(owner->taskListCount());
        return owner;
    }

    void addNode() {
        const auto number = static_cast<std::uint8_t>(1 + pick(20));
        (void)app_.addNode(plcNode(number, pick(2) == 0 ? NodeKind::Plc : NodeKind::PlcWithSpecial));
    }
    void removeNode() {
        Node* n = anyNode();
        if (n->kind() != NodeKind::Unit) {
            (void)app_.removeNode(*n);
        }
    }
    void addBlock() {
        std::string address = "D" + std::to_string(1000 + pick(40) * 10);
        (void)app_.addBlock(*anyNode(),
                            std::make_unique<Block>(address, static_cast<std::uint8_t>(1 + pick(30))));
    }
    void removeBlock() {
        if (Block* b = anyBlock()) {
            (void)app_.removeBlock(*b);
        }
    }
    void addTag() {
        Block* b = anyBlock();
        if (b == nullptr) {
            return;
        }
        const std::string address = b->address() + (pick(2) ? "" : std::to_string(pick(10)));
        const std::size_t type = pick(3);
        TagValues v = type == 0   ? coilTag(address)
                      : type == 1 ? registerTag(address, static_cast<std::uint8_t>(1U << pick(4)))
                                  : bitTag(address, static_cast<std::uint8_t>(pick(16)));
        (void)app_.addTag(*b, v);
    }
    void removeTag() {
        if (Tag* t = anyTag()) {
            (void)app_.removeTag(*t); // refused while a task uses it
        }
    }
    Task randomTask() {
        Task t;
        t.kind = static_cast<TaskKind>(1 + pick(18));
        t.subKind = static_cast<std::uint8_t>(pick(5));
        if (t.kind == TaskKind::KeyFunction) {
            t.subKind = static_cast<std::uint8_t>(pick(38));
        }
        if (t.kind == TaskKind::Bit && pick(4) == 0) {
            t.subKind = static_cast<std::uint8_t>(11 + pick(2));
        }
        t.parameter = static_cast<std::uint8_t>(pick(3));
        t.valueFormat = static_cast<std::uint8_t>(pick(2));
        t.value = static_cast<std::int32_t>(pick(100));
        t.tag1 = anyTag();
        t.tag2 = anyTag();
        return t;
    }
    void addTask() {
        std::size_t list = 0;
        TaskListOwner* owner = anyOwner(list);
        const Task t = randomTask();
        if (pick(2) == 0) {
            (void)app_.appendTask(*owner, list, t);
        } else {
            (void)app_.addTask(*owner, list, t, prompter_);
        }
    }
    void removeTask() {
        std::size_t list = 0;
        TaskListOwner* owner = anyOwner(list);
        const TaskList& tasks = owner->taskList(list);
        if (!tasks.empty()) {
            const Task& t = tasks.at(pick(tasks.size()));
            if (pick(3) == 0) {
                Task replacement = randomTask();
                (void)app_.editTask(*owner, list, const_cast<Task&>(t), replacement, prompter_);
            } else {
                ASSERT_TRUE(app_.removeTask(*owner, list, t));
            }
        }
    }
    void keyOrHold() {
        switch (pick(3)) {
        case 0:
            (void)app_.addGlobalKey(
                std::make_unique<KeyDefinition>(static_cast<std::uint16_t>(1 + pick(30))));
            break;
        case 1:
            if (app_.globalKeyCount() > 0) {
                ASSERT_TRUE(app_.removeGlobalKey(*app_.globalKeys()[pick(app_.globalKeyCount())]));
            }
            break;
        default:
            (void)app_.expandHoldBits(prompter_);
            break;
        }
    }

    std::mt19937 rng_;
    Application app_{42};
    RecordingPrompter prompter_;
};

} // namespace

TEST(RandomisedTotals, EveryCounterEqualsARecountAfterEveryStep) {
    for (std::uint32_t seed : {1U, 7U, 2024U}) {
        RandomEditor editor(seed);
        for (int step = 0; step < 4000; ++step) {
            editor.step();
            const Status s = editor.app().checkConsistency();
            ASSERT_TRUE(s) << "seed " << seed << " step " << step << ": " << s.message();
        }
        EXPECT_GT(editor.app().tagCount(), 0u);
        EXPECT_GT(editor.app().globalTaskCount() + editor.app().powerOnTaskCount(), 0u);
    }
}
