#pragma once

// Random editing of one screen through the editor's commands, shared by the core tests and the benchmark.
// After every operation the caller compares the application's counters with a recount; at the end undoing
// everything must give the starting records byte for byte, and redoing everything the final ones.

#include "../model/ModelFixture.h"
#include "edit/screen/AttributeCommands.h"
#include "edit/screen/EditorSession.h"
#include "edit/screen/ObjectEditing.h"
#include "edit/screen/ObjectGeometry.h"
#include "edit/screen/ObjectPlacement.h"
#include "model/Prompter.h"
#include "model/Screen.h"
#include "model/TouchAreaObject.h"
#include "model/VectorByteSink.h"

#include <cstdint>
#include <memory>
#include <random>
#include <string>
#include <vector>

namespace quillon::testing_support {

// Answers Yes to every question and keeps no message.
class AgreeingPrompter final : public Prompter {
public:
    PromptAnswer show(const Prompt& /*prompt*/) override {
        ++shown;
        return PromptAnswer::Yes;
    }
    std::size_t shown = 0;
};

// Gives every tag a code made of its address, as the writer gives each tag its own.
class AddressCoder final : public TagCoder {
public:
    Result<ObjectTagCode> objectTagCode(const Tag& tag, const Screen& /*screen*/) override {
        std::uint32_t hash = 2166136261U;
        for (char c : tag.address()) {
            hash = (hash ^ static_cast<std::uint8_t>(c)) * 16777619U;
        }
        return ObjectTagCode{static_cast<std::uint8_t>(hash), static_cast<std::uint8_t>(hash >> 8),
                             static_cast<std::uint8_t>(hash >> 16), static_cast<std::uint8_t>(hash >> 24)};
    }
};

// The screen's counters and every object's record as the writer writes them, in list order.
inline std::vector<std::uint8_t> screenRecords(const Screen& screen) {
    AddressCoder coder;
    ObjectWriteContext context{coder, false, [](std::uint32_t id) -> Result<std::uint32_t> { return id; }};
    VectorByteSink sink;
    sink.u32(screen.entryLength());
    sink.u32(static_cast<std::uint32_t>(screen.objectCount()));
    sink.u32(screen.objectBytes());
    sink.u32(screen.readBlocks());
    sink.u32(screen.readRegisters());
    for (const auto& object : screen.objects()) {
        if (!object->Write(sink, context)) {
            sink.u32(0xDEADBEEF);
        }
    }
    return sink.take();
}

class RandomEditingDriver {
public:
    static constexpr std::uint16_t kGraphicModel = 520;  // 320 x 240 graphic with a touch screen
    static constexpr std::uint16_t kCharacterModel = 40; // 240 x 64 in cells of 12 x 16

    explicit RandomEditingDriver(std::uint32_t seed, std::uint16_t model = kGraphicModel)
        : rng_(seed), model_(model) {
        app_.unitSettings().touchScreen = 1;
        must(app_.addNode(Node::createUnitNode()));
        Node* plc = must(app_.addNode(plcNode(1)));
        for (int b = 0; b < 4; ++b) {
            Block* block =
                must(app_.addBlock(*plc, std::make_unique<Block>("D" + std::to_string(1000 + b * 100), 20)));
            for (int t = 0; t < 3; ++t) {
                tags_.push_back(
                    must(app_.addTag(*block, registerTag("D" + std::to_string(1000 + b * 100 + t * 3), 2))));
            }
        }
        screen_ = must(app_.addScreen(std::make_unique<Screen>(1)));
        for (int i = 0; i < 20 + static_cast<int>(pick(40)); ++i) {
            std::unique_ptr<ScreenObject> object = randomObject();
            // No two objects of a character display share a cell.
            if (character() && findOverlap(*screen_, objectRect(*object), nullptr) != nullptr) {
                continue;
            }
            Result<ScreenObject*> added = screen_->appendObject(std::move(object));
            if (added && added.value()->taskOwner() != nullptr) {
                addTask(*added.value());
            }
        }
        screen_->sortByZLevel();
        (void)session_.open(*screen_);
        start_ = screenRecords(*screen_);
    }

    Application& app() noexcept { return app_; }
    Screen& screen() noexcept { return *screen_; }
    EditorSession& session() noexcept { return session_; }
    const std::vector<std::uint8_t>& startRecords() const noexcept { return start_; }
    std::size_t operations() const noexcept { return operations_; }

    // One random editing operation, then what the canvas does before it paints; returns the operation's
    // name for failure reports.
    std::string step() {
        ++operations_;
        std::string name = operation();
        (void)session_.prepareForPaint();
        return name;
    }

private:
    std::string operation() {
        switch (pick(24)) {
        case 0:
            session_.clearSelection();
            return "clear selection";
        case 1:
        case 2:
            if (ScreenObject* o = anyObject()) {
                session_.selectOnly(*o);
            }
            return "select one";
        case 3:
            if (ScreenObject* o = anyObject()) {
                session_.addToSelection(*o);
            }
            return "add to selection";
        case 4:
            session_.selectAll();
            return "select all";
        case 5:
            (void)session_.moveByKey(static_cast<ArrowKey>(pick(4)));
            return "arrow key";
        case 6:
            drag();
            return "drag";
        case 7:
            (void)session_.deleteSelection(prompter_);
            return "delete";
        case 8:
            (void)ObjectEditing::cut(session_, prompter_);
            return "cut";
        case 9:
            (void)ObjectEditing::copy(session_, prompter_);
            return "copy";
        case 10:
            (void)ObjectEditing::paste(session_, prompter_);
            return "paste";
        case 11:
            (void)ObjectEditing::group(session_);
            return "group";
        case 12:
            (void)ObjectEditing::ungroup(session_);
            return "ungroup";
        case 13:
            (void)(pick(2) == 0 ? ObjectEditing::sendBack(session_) : ObjectEditing::bringFront(session_));
            return "z-order";
        case 14:
            (void)ObjectEditing::align(session_, 1 + static_cast<int>(pick(6)), prompter_);
            return "align";
        case 15:
            (void)ObjectEditing::rotateRight(session_, prompter_);
            return "rotate";
        case 16: {
            static constexpr std::uint16_t kCommands[] = {906, 907, 908, 909, 910, 317,
                                                          319, 103, 106, 911, 912, 913};
            (void)AttributeCommands::run(session_, kCommands[pick(std::size(kCommands))]);
            return "attribute";
        }
        case 17: {
            static constexpr std::uint16_t kColours[] = {305, 308, 321, 324};
            static constexpr std::uint8_t kValues[] = {0, 20, 40, 60, 80, 100};
            (void)AttributeCommands::setColour(session_, kColours[pick(4)], kValues[pick(6)]);
            return "colour";
        }
        case 18:
            place();
            return "place";
        case 19:
        case 20:
            (void)session_.undo();
            return "undo";
        case 21:
            (void)session_.redo();
            return "redo";
        case 22:
            if (ScreenObject* o = anyObject()) {
                session_.removeFromSelection(*o);
            }
            return "deselect";
        default:
            (void)session_.chooseTool(pick(2) == 0 ? 101 : 108, prompter_);
            session_.returnToSelecter();
            return "tool";
        }
    }

public:
    // Undoes every step; false when one could not be undone.
    bool undoAll() {
        while (session_.canUndo()) {
            if (!session_.undo()) {
                return false;
            }
        }
        return true;
    }
    bool redoAll() {
        while (session_.canRedo()) {
            if (!session_.redo()) {
                return false;
            }
        }
        return true;
    }

private:
    std::size_t pick(std::size_t n) { return std::uniform_int_distribution<std::size_t>(0, n - 1)(rng_); }
    std::int32_t range(std::int32_t low, std::int32_t high) {
        return std::uniform_int_distribution<std::int32_t>(low, high)(rng_);
    }
    Tag* anyTag() { return tags_[pick(tags_.size())]; }

    ScreenObject* anyObject() {
        if (screen_->objectCount() == 0) {
            return nullptr;
        }
        return screen_->objects()[pick(screen_->objectCount())].get();
    }

    bool character() const noexcept { return isCharacterClass(modelClass(model_)); }

    // A Text or a register value in whole 12 x 16 cells of a character display.
    std::unique_ptr<ScreenObject> randomCellObject() {
        EditValues values;
        const bool text = pick(2) == 0;
        values.text = "abc";
        values.tag = anyTag();
        const std::int32_t columns = text ? 3 : 4;
        const std::int32_t col = range(0, 20 - columns);
        const std::int32_t row = range(0, 3);
        const UnitRect rect{col * 12, row * 16, (col + columns) * 12 - 1, row * 16 + 15};
        auto object = ObjectPlacement::build(text ? ObjectKind::Text : ObjectKind::DisplayRegister, rect,
                                             session_.attributes(), values, true);
        object->zLevel = static_cast<std::uint8_t>(1 + pick(5));
        return object;
    }

    std::unique_ptr<ScreenObject> randomObject() {
        if (character()) {
            return randomCellObject();
        }
        EditValues values;
        ObjectKind kind = ObjectKind::Rectangle;
        UnitRect rect;
        switch (pick(7)) {
        case 0: {
            kind = ObjectKind::Text;
            values.text = "abc";
            const std::int32_t col = range(0, 40);
            const std::int32_t row = range(0, 25);
            rect = {col * 6, row * 8, col * 6 + 17, row * 8 + 15};
            break;
        }
        case 1: {
            kind = ObjectKind::DisplayRegister;
            values.tag = anyTag();
            const std::int32_t col = range(0, 40);
            const std::int32_t row = range(0, 28);
            rect = {col * 6, row * 8, col * 6 + 29, row * 8 + 7};
            break;
        }
        case 2:
            kind = ObjectKind::TouchArea;
            rect = {static_cast<std::int32_t>(pick(18)) * 16, static_cast<std::int32_t>(pick(8)) * 27, 0, 0};
            rect.right = rect.left + 15;
            rect.bottom = rect.top + 23;
            break;
        case 3: {
            kind = pick(2) == 0 ? ObjectKind::Polygon : ObjectKind::Polyline;
            const std::int32_t x = range(0, 250);
            const std::int32_t y = range(0, 180);
            values.points = {
                {static_cast<std::uint16_t>(x), static_cast<std::uint16_t>(y)},
                {static_cast<std::uint16_t>(x + range(1, 60)), static_cast<std::uint16_t>(y + range(0, 50))},
                {static_cast<std::uint16_t>(x + range(0, 30)), static_cast<std::uint16_t>(y + range(1, 50))}};
            break;
        }
        default: {
            static constexpr ObjectKind kShapes[] = {ObjectKind::Rectangle, ObjectKind::Ellipse,
                                                     ObjectKind::RoundRectangle, ObjectKind::Rectangle};
            kind = kShapes[pick(4)];
            const std::int32_t x = range(0, 280);
            const std::int32_t y = range(0, 200);
            rect = {x, y, x + range(1, 39), y + range(1, 39)};
            break;
        }
        }
        auto object = ObjectPlacement::build(kind, rect, session_.attributes(), values, character());
        if (pick(3) == 0 && kind != ObjectKind::TouchArea) {
            RangeAnimation animation;
            animation.tag = anyTag();
            object->setShowHide(animation);
        }
        object->zLevel = static_cast<std::uint8_t>(1 + pick(5));
        return object;
    }

    void drag() {
        const std::optional<WindowRect> box = session_.selection().windowBoundingBox(session_.geometry());
        if (!box) {
            return;
        }
        const WindowPoint start{box->left, box->top};
        if (ObjectMover* mover = session_.beginDrag(HitCode::Move, start)) {
            mover->update({start.x + range(-30, 30), start.y + range(-30, 30)});
            (void)session_.finishDrag();
        }
    }

    void place() {
        if (screen_->objectCount() >= Screen::kMaxObjects) {
            return;
        }
        std::unique_ptr<ScreenObject> object = randomObject();
        const bool touch = object->kind() == ObjectKind::TouchArea;
        ScreenObject* placed = ObjectPlacement::place(session_, std::move(object), prompter_);
        if (placed != nullptr && touch) {
            // A task added to a placed area is part of what its create step brings back.
            addTask(*placed);
        }
    }

    void addTask(ScreenObject& area) {
        Task task;
        task.kind = TaskKind::CopyTag;
        task.tag1 = anyTag();
        task.tag2 = anyTag();
        (void)app_.appendTask(*area.taskOwner(), TouchAreaObject::kPress, task);
    }

    std::mt19937 rng_;
    std::uint16_t model_;
    Application app_{model_};
    std::vector<Tag*> tags_;
    Screen* screen_ = nullptr;
    EditorSession session_{app_};
    AgreeingPrompter prompter_;
    std::vector<std::uint8_t> start_;
    std::size_t operations_ = 0;
};

} // namespace quillon::testing_support
