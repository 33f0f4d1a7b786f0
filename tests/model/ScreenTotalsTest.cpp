#include "ModelFixture.h"
#include "model/AlarmTable.h"
#include "model/AlarmWindowObject.h"
#include "model/BitTextObject.h"
#include "model/DisplayRegisterTextObject.h"
#include "model/FilledShapeObject.h"
#include "model/PolygonObject.h"
#include "model/PolylineObject.h"
#include "model/RecordingPrompter.h"
#include "model/Screen.h"
#include "model/TagReferences.h"
#include "model/TextObject.h"
#include "model/TouchAreaObject.h"

#include <gtest/gtest.h>
#include <random>
#include <string>
#include <vector>

using namespace quillon;
using namespace quillon::testing_support;

namespace {

// Random edits of screens, objects of every kind, their properties and animations, touch-area tasks,
// screen keys, alarms and tag replacements; the kept totals must always equal a recount.
class ScreenEditor {
public:
    explicit ScreenEditor(std::uint32_t seed) : rng_(seed) {
        must(app_.addNode(Node::createUnitNode()));
        Node* unit = app_.unitNode();
        Block* unitBlock = must(app_.addBlock(*unit, std::make_unique<Block>("D0000", 8)));
        tags_.push_back(must(app_.addTag(*unitBlock, registerTag("D0001"))));
        for (std::uint8_t n = 1; n <= 2; ++n) {
            Node* plc = must(app_.addNode(plcNode(n)));
            for (int b = 0; b < 3; ++b) {
                const std::string base = "D0" + std::to_string(b) + "00";
                Block* block = must(app_.addBlock(*plc, std::make_unique<Block>(base, 10 + b)));
                for (int t = 0; t < 3; ++t) {
                    tags_.push_back(
                        must(app_.addTag(*block, registerTag(base.substr(0, 4) + std::to_string(t)))));
                }
                tags_.push_back(must(app_.addTag(*block, coilTag(base.substr(0, 4) + "9"))));
            }
        }
    }

    void step() {
        switch (pick(14)) {
        case 0:
            addScreen();
            break;
        case 1:
            removeScreen();
            break;
        case 2:
        case 3:
        case 4:
            addObject();
            break;
        case 5:
            removeObject();
            break;
        case 6:
        case 7:
            changeObject();
            break;
        case 8:
            touchTask();
            break;
        case 9:
            screenTaskOrKey();
            break;
        case 10:
            alarm();
            break;
        case 11:
            replaceTag();
            break;
        case 12:
            if (Screen* s = anyScreen()) {
                s->setAssociated(pick(2) == 0 ? std::nullopt : std::optional<std::uint16_t>(1));
            }
            break;
        default:
            clipboard();
            break;
        }
    }

    Application& app() { return app_; }

private:
    std::size_t pick(std::size_t n) { return std::uniform_int_distribution<std::size_t>(0, n - 1)(rng_); }
    Tag* anyTag() { return pick(5) == 0 ? nullptr : tags_[pick(tags_.size())]; }
    Tag* anyRegister() {
        Tag* t = tags_[pick(tags_.size())];
        return t->type() == tag_type::kRegister ? t : nullptr;
    }
    Screen* anyScreen() {
        return app_.screenCount() == 0 ? nullptr : app_.screens()[pick(app_.screenCount())].get();
    }
    ScreenObject* anyObject(Screen*& screen) {
        screen = anyScreen();
        if (screen == nullptr || screen->objectCount() == 0) {
            return nullptr;
        }
        return screen->objects()[pick(screen->objectCount())].get();
    }
    std::string text(std::size_t max) {
        return std::string(pick(max + 1), static_cast<char>('a' + pick(26)));
    }
    RangeAnimation animation() {
        return RangeAnimation{anyTag(), static_cast<std::uint8_t>(pick(2)), 0, 100,
                              static_cast<std::uint8_t>(128 + pick(3))};
    }

    void addScreen() {
        if (app_.screenCount() < 12) {
            (void)app_.addScreen(std::make_unique<Screen>(1 + static_cast<std::uint32_t>(pick(40))));
        }
    }
    void removeScreen() {
        if (Screen* s = anyScreen(); s != nullptr && pick(3) == 0) {
            (void)app_.removeScreen(*s);
        }
    }
    void addObject() {
        Screen* s = anyScreen();
        if (s == nullptr) {
            return;
        }
        static const std::uint8_t kinds[] = {0,  1,  2,  3,  4,  5,  6,  7,  8, 9,
                                             10, 11, 12, 13, 14, 15, 16, 17, 21};
        auto object = ScreenObject::create(kinds[pick(std::size(kinds))]);
        if (pick(2) == 0) {
            object->setTag(anyTag());
        }
        if (pick(3) == 0) {
            object->setShowHide(animation());
        }
        (void)s->appendObject(std::move(object));
    }
    void removeObject() {
        Screen* s = nullptr;
        if (ScreenObject* o = anyObject(s)) {
            (void)s->removeObject(*o);
        }
    }
    void changeObject() {
        Screen* s = nullptr;
        ScreenObject* o = anyObject(s);
        if (o == nullptr) {
            return;
        }
        switch (pick(5)) {
        case 0:
            o->setTag(anyTag());
            return;
        case 1:
            o->setShowHide(pick(2) == 0 ? std::nullopt : std::optional<RangeAnimation>(animation()));
            return;
        case 2:
            o->setFlashAnimation(pick(2) == 0 ? std::nullopt : std::optional<RangeAnimation>(animation()));
            return;
        case 3:
            if (s->objectCount() > 1) {
                std::vector<ScreenObject*> members{o, s->objects()[pick(s->objectCount())].get()};
                (void)s->group(members);
            }
            return;
        default:
            break;
        }
        // The kind's own length-changing property.
        if (auto* t = dynamic_cast<TextObject*>(o)) {
            (void)t->setText(text(40));
        } else if (auto* b = dynamic_cast<BitTextObject*>(o)) {
            (void)b->setTexts(text(10), text(10));
        } else if (auto* r = dynamic_cast<DisplayRegisterTextObject*>(o)) {
            std::vector<RegisterTextRange> ranges(pick(5));
            for (auto& range : ranges) {
                range.text = text(12);
            }
            (void)r->setRanges(ranges);
        } else if (auto* f = dynamic_cast<FilledShapeObject*>(o)) {
            f->setFilling(pick(2) == 0 ? std::nullopt : std::optional<PercentFilling>(PercentFilling{}));
        } else if (auto* p = dynamic_cast<PolygonObject*>(o)) {
            p->setFilling(pick(2) == 0 ? std::nullopt : std::optional<PercentFilling>(PercentFilling{}));
            (void)p->setPoints(std::vector<ObjectPoint>(pick(8)));
        } else if (auto* l = dynamic_cast<PolylineObject*>(o)) {
            (void)l->setPoints(std::vector<ObjectPoint>(pick(8)));
        } else if (auto* w = dynamic_cast<AlarmWindowObject*>(o)) {
            AlarmWindowOptions options;
            options.showHeaders = pick(2) == 0;
            options.columns.resize(pick(4), AlarmColumn{2, text(6), 5});
            (void)w->setOptions(options);
        }
    }
    Task randomTask() {
        switch (pick(4)) {
        case 0:
            return Task{TaskKind::CopyTag, 0, 0, 0, 0, anyRegister(), anyRegister()};
        case 1:
            return Task{TaskKind::Wait, 0, 1, 7, value_format::kWaitTag, anyRegister(), anyRegister()};
        case 2:
            return Task{TaskKind::GotoScreen, 0, 0, 3, 0, nullptr, nullptr};
        default:
            return Task{TaskKind::Add, 1, 0, 0, 0, anyRegister(), anyRegister()};
        }
    }
    void addOrRemove(TaskListOwner& owner, std::size_t list) {
        if (pick(3) == 0 && !owner.taskList(list).empty()) {
            const TaskList& tasks = owner.taskList(list);
            (void)app_.removeTask(owner, list, tasks.at(pick(tasks.size())));
        } else {
            (void)app_.appendTask(owner, list, randomTask());
        }
    }
    void touchTask() {
        Screen* s = nullptr;
        ScreenObject* o = anyObject(s);
        if (o != nullptr && o->taskOwner() != nullptr) {
            addOrRemove(*o->taskOwner(), pick(3));
        }
    }
    void screenTaskOrKey() {
        Screen* s = anyScreen();
        if (s == nullptr) {
            return;
        }
        switch (pick(4)) {
        case 0:
            (void)app_.addKey(*s, std::make_unique<KeyDefinition>(static_cast<std::uint16_t>(pick(30))));
            break;
        case 1:
            if (s->keyCount() != 0) {
                (void)app_.removeKey(*s, *s->keys()[pick(s->keyCount())]);
            }
            break;
        case 2:
            if (s->keyCount() != 0) {
                addOrRemove(*s->keys()[pick(s->keyCount())], pick(3));
            }
            break;
        default:
            addOrRemove(*s, pick(3));
            break;
        }
    }
    void alarm() {
        if (pick(4) == 0) {
            (void)app_.setGroupTag(pick(16), anyTag());
        } else {
            (void)app_.setAlarmText(pick(256), pick(3) == 0 ? std::string() : text(20));
        }
    }
    void replaceTag() {
        Tag* from = tags_[pick(tags_.size())];
        Tag* to = tags_[pick(tags_.size())];
        // Tasks keep kinds that fit both tags: only registers stand in for registers here.
        if (from->type() == to->type()) {
            app_.tagReferences().replaceTag(*from, *to);
        }
    }
    void clipboard() {
        Screen* s = nullptr;
        if (ScreenObject* o = anyObject(s)) {
            (void)app_.clipboard().appendObject(o->clone());
        } else {
            app_.clipboard().clearObjects();
        }
    }

    std::mt19937 rng_;
    Application app_{520};
    std::vector<Tag*> tags_;
};

} // namespace

TEST(ScreenTotals, RandomEditsKeepEveryCounterExact) {
    for (std::uint32_t seed : {1u, 2u, 3u, 42u}) {
        ScreenEditor editor(seed);
        for (int i = 0; i < 3000; ++i) {
            editor.step();
            if (i % 7 == 0 || i > 2990) {
                const Status consistent = editor.app().checkConsistency();
                ASSERT_TRUE(consistent.ok())
                    << "seed " << seed << " step " << i << ": " << consistent.message();
            }
        }
        EXPECT_EQ(editor.app().recount(), editor.app().totals());
        EXPECT_GT(editor.app().totals().screenBytes, 0u) << seed;
    }
}
