#include "edit/NumberFormat.h"
#include "edit/TaskEditorsFixture.h"
#include "edit/define/KeySelection.h"
#include "edit/define/TaskChoice.h"
#include "edit/define/TaskListEditor.h"

#include <array>
#include <gtest/gtest.h>
#include <map>
#include <random>
#include <string>
#include <tuple>
#include <vector>

using namespace quillon;
using namespace quillon::testing_support;

namespace {

// The editors' operations at random on every kind of list: the application's, global keys (chosen on the
// keypad, single and two-key), two screens, their keys and a touch area. A shadow copy of every list is
// kept from what the operations report; after each step the lists, the tag references and the read lists
// must equal what the shadow gives, and every byte counter a recount.
class RandomTaskEditor : private TaskEditorsFixture {
public:
    explicit RandomTaskEditor(std::uint32_t seed)
        : rng_(seed), globalKeys_(app, nullptr, prompter), screenKeys1_(app, screen1, prompter),
          screenKeys2_(app, screen2, prompter) {
        globalKeys_.click(1);
        screenKeys1_.click(1);
        screenKeys2_.click(2);
    }

    void step() {
        switch (pick(10)) {
        case 0:
            clickKey();
            return;
        default:
            break;
        }
        TaskListOwner& owner = anyOwner();
        const std::size_t list = pick(owner.taskListCount());
        TaskListEditor editor(app, owner, prompter);
        auto& shadow = shadow_[&owner][list];
        const std::size_t size = owner.taskList(list).size();
        switch (pick(8)) {
        case 0:
        case 1:
        case 2: {
            const auto entries = taskChoiceEntries(offersKeyTasks(owner.taskListKind(list)));
            // Now and then a choice the drop-down does not offer (holds, recipes, clock, outputs).
            const int code =
                pick(6) == 0 ? static_cast<int>(pick(28)) : entries[pick(entries.size())].choiceCode;
            given_.reset();
            if (Task* added = editor.add(list, code, runner())) {
                if (given_) {
                    EXPECT_EQ(*added, normalizeTask(*given_));
                }
                shadow.push_back(*added);
            }
            break;
        }
        case 3:
            if (size > 0) {
                const std::size_t at = pick(size);
                given_.reset();
                if (editor.edit(list, at, runner())) {
                    ASSERT_TRUE(given_.has_value());
                    shadow[at] = normalizeTask(*given_);
                }
            }
            break;
        case 4:
            if (size > 0) {
                const std::size_t at = pick(size);
                prompter.script({pick(4) == 0 ? PromptAnswer::No : PromptAnswer::Yes});
                if (editor.remove(list, at)) {
                    shadow.erase(shadow.begin() + static_cast<std::ptrdiff_t>(at));
                }
            }
            break;
        case 5:
        case 6:
            if (size > 0) {
                const std::size_t at = pick(size);
                if (editor.moveUp(list, at)) {
                    std::swap(shadow[at], shadow[at - 1]);
                }
            }
            break;
        default:
            if (size > 0) {
                const std::size_t at = pick(size);
                if (editor.moveDown(list, at)) {
                    std::swap(shadow[at], shadow[at + 1]);
                }
            }
            break;
        }
    }

    void check(std::uint32_t seed, int stepNumber) {
        const std::string where = "seed " + std::to_string(seed) + " step " + std::to_string(stepNumber);
        const Status s = app.checkConsistency();
        ASSERT_TRUE(s) << where << ": " << s.message();

        using UseKey = std::tuple<const Tag*, int, const Screen*>;
        std::map<UseKey, int> expectedUses;
        std::map<std::pair<const ReadList*, const Block*>, std::uint32_t> expectedReads;
        std::size_t owners = 0;
        app.forEachTaskListOwner([&](const TaskListOwner& owner) {
            ++owners;
            const Screen* screen = screenOf(owner);
            const ReadList* reads = screen != nullptr ? &screen->readList() : &app.globalReadList();
            for (std::size_t l = 0; l < owner.taskListCount(); ++l) {
                const auto it = shadow_.find(&owner);
                const std::vector<Task> none;
                const std::vector<Task>& expected = it != shadow_.end() ? it->second[l] : none;
                const TaskList& actual = owner.taskList(l);
                ASSERT_EQ(actual.size(), expected.size()) << where;
                for (std::size_t i = 0; i < expected.size(); ++i) {
                    ASSERT_EQ(actual.at(i), expected[i]) << where << " task " << i;
                    const Task& t = expected[i];
                    const int place = placeOf(owner.taskListKind(l));
                    for (const Tag* tag : {t.tag1, t.tag2}) {
                        if (tag != nullptr) {
                            ++expectedUses[{tag, place, screen}];
                        }
                    }
                    // Reads: the second tag of tag arithmetic and copies, both tags of a wait.
                    const bool readsTag2 =
                        ((t.kind == TaskKind::Add || t.kind == TaskKind::Subtract) && t.subKind == 1) ||
                        t.kind == TaskKind::CopyTag || t.kind == TaskKind::Wait;
                    if (owner.taskListKind(l) != TaskListKind::PowerOn) {
                        if (t.kind == TaskKind::Wait) {
                            ++expectedReads[{reads, t.tag1->block()}];
                        }
                        if (readsTag2 && t.tag2 != nullptr) {
                            ++expectedReads[{reads, t.tag2->block()}];
                        }
                    }
                }
            }
        });
        std::map<UseKey, int> actualUses;
        app.tagReferences().forEachUse([&](const TagUse& use) {
            ++actualUses[{use.tag, placeOf(use.place), use.screen}];
            return false;
        });
        ASSERT_EQ(actualUses, expectedUses) << where;
        // The Global list and the global keys read into the global list, a screen's lists, keys and
        // touch areas into the screen's; the Power-on list reads nothing.
        const std::array<const ReadList*, 3> readLists{&app.globalReadList(), &screen1->readList(),
                                                       &screen2->readList()};
        for (const ReadList* reads : readLists) {
            for (const Block* block : {big, small}) {
                const auto it = expectedReads.find({reads, block});
                const std::uint32_t expected = it != expectedReads.end() ? it->second : 0;
                ASSERT_EQ(reads->users(*block), expected) << where;
            }
        }
        // Browsing keys leaves no empty definition but the chosen ones.
        std::size_t emptyKeys = 0;
        for (const auto& key : app.globalKeys()) {
            emptyKeys += key->taskBytes() == 0 && key.get() != globalKeys_.key() ? 1 : 0;
        }
        ASSERT_EQ(emptyKeys, 0u) << where;
        ASSERT_GE(owners, 6u);
    }

    std::size_t taskCount() const {
        std::size_t n = 0;
        app.forEachTaskListOwner([&](const TaskListOwner& o) {
            for (std::size_t l = 0; l < o.taskListCount(); ++l) {
                n += o.taskList(l).size();
            }
        });
        return n;
    }

private:
    std::size_t pick(std::size_t n) { return std::uniform_int_distribution<std::size_t>(0, n - 1)(rng_); }

    const Screen* screenOf(const TaskListOwner& owner) const {
        for (const Screen* s : {screen1, screen2}) {
            if (&owner == s || &owner == touch) {
                return &owner == touch ? screen1 : s;
            }
            for (const auto& k : s->keys()) {
                if (k.get() == &owner) {
                    return s;
                }
            }
        }
        return nullptr;
    }

    static int placeOf(TaskListKind kind) {
        switch (kind) {
        case TaskListKind::PowerOn:
            return placeOf(TagPlace::PowerOn);
        case TaskListKind::Global:
            return placeOf(TagPlace::Global);
        case TaskListKind::GlobalKeyPress:
            return placeOf(TagPlace::GlobalKeyPress);
        case TaskListKind::GlobalKeyPressed:
            return placeOf(TagPlace::GlobalKeyPressed);
        case TaskListKind::GlobalKeyReleased:
            return placeOf(TagPlace::GlobalKeyReleased);
        case TaskListKind::BeforeShowing:
            return placeOf(TagPlace::BeforeShowing);
        case TaskListKind::WhileShowing:
            return placeOf(TagPlace::WhileShowing);
        case TaskListKind::AfterHiding:
            return placeOf(TagPlace::AfterHiding);
        case TaskListKind::ScreenKeyPress:
            return placeOf(TagPlace::ScreenKeyPress);
        case TaskListKind::ScreenKeyPressed:
            return placeOf(TagPlace::ScreenKeyPressed);
        case TaskListKind::ScreenKeyReleased:
            return placeOf(TagPlace::ScreenKeyReleased);
        default:
            return placeOf(TagPlace::TouchAreaTask);
        }
    }
    static int placeOf(TagPlace place) { return static_cast<int>(place); }

    TaskListOwner& anyOwner() {
        switch (pick(8)) {
        case 0:
            return app.applicationLists();
        case 1:
            return *screen1;
        case 2:
            return *screen2;
        case 3:
            return *touch;
        case 4:
        case 5:
            if (globalKeys_.key() != nullptr) {
                return *globalKeys_.key();
            }
            return app.applicationLists();
        case 6:
            if (screenKeys1_.key() != nullptr) {
                return *screenKeys1_.key();
            }
            return *screen1;
        default:
            if (screenKeys2_.key() != nullptr) {
                return *screenKeys2_.key();
            }
            return *screen2;
        }
    }

    void clickKey() {
        KeySelection& keys = pick(2) == 0 ? globalKeys_ : pick(2) == 0 ? screenKeys1_ : screenKeys2_;
        keys.setMode(pick(3) == 0 ? KeySelection::Mode::TwoKeys : KeySelection::Mode::SingleKey);
        KeyDefinition* before = keys.key();
        const bool beforeEmpty = before != nullptr && before->taskBytes() == 0;
        if (keys.click(static_cast<std::uint8_t>(1 + pick(20))) && beforeEmpty) {
            shadow_.erase(before); // an empty definition left behind is removed
        }
    }

    std::string randomNumber(std::uint8_t format) {
        switch (format) {
        case 1:
            return std::to_string(static_cast<int>(pick(65536)) - 32768);
        case 2:
            return constantEntryText(static_cast<std::int32_t>(pick(65536)), 2);
        case 3:
            return std::to_string(pick(10000));
        case 4:
            return constantEntryText(static_cast<std::int32_t>(pick(65536)), 4);
        default:
            return std::to_string(pick(65536));
        }
    }

    Tag* anyOf(const TagFilter& filter) {
        const std::vector<Tag*> tags = filter.tagsOf(app);
        return tags.empty() || pick(20) == 0 ? nullptr : tags[pick(tags.size())];
    }

    // A dialog filled at random and ended with Ok; a refusal ends it with Cancel.
    TaskListEditor::DialogRunner runner() {
        return [this](const TaskPlan& plan, const TaskPlace& place) -> std::optional<Task> {
            TaskVerdict verdict;
            switch (plan.dialog) {
            case TaskDialog::GotoScreen: {
                Task t = plan.task;
                t.value = static_cast<std::int32_t>(pick(2) == 0 ? screen1->number() : screen2->number());
                verdict = TaskVerdict::accept(t);
                break;
            }
            case TaskDialog::TagOperations: {
                TagOperationInput in;
                in.operation = pick(4) == 0 ? static_cast<int>(1 + pick(14)) : plan.tagOperation;
                const TagOperation& op = *tagOperation(in.operation);
                in.tagA = anyOf(op.first);
                in.tagB = op.second ? anyOf(*op.second) : nullptr;
                in.format = static_cast<std::uint8_t>(pick(5));
                in.number = pick(15) == 0 ? std::string() : randomNumber(in.format);
                verdict = tagOperationTask(in, place);
                break;
            }
            case TaskDialog::Delay:
                verdict = delayTask(static_cast<std::uint8_t>(pick(3)), std::to_string(pick(70)));
                break;
            case TaskDialog::Wait: {
                WaitInput in;
                in.tag = anyOf(kWaitTagFilter);
                in.on = pick(2) == 0;
                in.operation = static_cast<std::uint8_t>(pick(6));
                in.tagOperand = pick(2) == 0;
                in.operand = anyOf(kWaitOperandFilter);
                in.number = std::to_string(pick(70000));
                verdict = waitTask(in, place);
                break;
            }
            case TaskDialog::RealTimeClock:
                verdict = TaskVerdict::accept(clockTask(static_cast<std::uint8_t>(pick(7))));
                break;
            case TaskDialog::KeyFunctions: {
                const auto sub = static_cast<std::uint8_t>(pick(38));
                verdict = keyFunctionOffered(sub) ? TaskVerdict::accept(keyFunctionTask(sub))
                                                  : TaskVerdict::refuse("not offered");
                break;
            }
            case TaskDialog::PlcToRecipe:
            case TaskDialog::RecipeToPlc:
                verdict = recipeTask(plan.dialog == TaskDialog::PlcToRecipe, anyOf(kRecipeTagFilter),
                                     anyOf(kRecipeTagFilter), std::to_string(pick(2100)), place);
                break;
            case TaskDialog::CopyRtcToPlc:
                verdict = copyRtcTask(anyOf(kRtcTagFilter), std::to_string(pick(700)), place);
                break;
            case TaskDialog::None:
                break;
            }
            if (!verdict.ok()) {
                return std::nullopt;
            }
            given_ = verdict.task;
            return verdict.task;
        };
    }

    std::mt19937 rng_;
    KeySelection globalKeys_;
    KeySelection screenKeys1_;
    KeySelection screenKeys2_;
    std::map<const TaskListOwner*, std::array<std::vector<Task>, 3>> shadow_;
    std::optional<Task> given_;
};

} // namespace

TEST(RandomisedTaskEdits, ListsReferencesAndReadsEqualARecountAfterEveryStep) {
    for (std::uint32_t seed : {3U, 11U, 4242U}) {
        RandomTaskEditor editor(seed);
        for (int step = 0; step < 4000; ++step) {
            editor.step();
            editor.check(seed, step);
            if (::testing::Test::HasFatalFailure()) {
                return;
            }
        }
        EXPECT_GT(editor.taskCount(), 100u) << seed;
    }
}
