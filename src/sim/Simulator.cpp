#include "sim/Simulator.h"

#include "edit/define/Keypad.h"
#include "model/Application.h"
#include "model/Block.h"
#include "model/KeyDefinition.h"
#include "model/Node.h"
#include "model/Screen.h"
#include "model/Tag.h"
#include "model/Task.h"
#include "model/TaskList.h"
#include "model/TouchAreaObject.h"

#include <algorithm>

namespace quillon {

namespace {

std::string tagName(const Tag* tag) {
    if (tag == nullptr) {
        return "(no tag)";
    }
    return tag->name.empty() ? tag->displayAddress() : tag->name;
}

// Key functions of the alarm and logger keys.
constexpr std::uint8_t kAccept = 2;
constexpr std::uint8_t kCancel = 1;
constexpr std::uint8_t kClear = 0;
constexpr std::uint8_t kLastDataEntryFunction = 30;
constexpr std::uint8_t kSelectAlarm = 31;
constexpr std::uint8_t kAcknowledgeAlarm = 32;
constexpr std::uint8_t kPreviousAlarm = 33;
constexpr std::uint8_t kNextAlarm = 34;
constexpr std::uint8_t kStartLogger = 35;
constexpr std::uint8_t kStopLogger = 36;
constexpr std::uint8_t kClearLog = 37;

bool compare(std::uint64_t a, std::uint8_t op, std::uint64_t b) noexcept {
    switch (op) {
    case 0:
        return a == b;
    case 1:
        return a != b;
    case 2:
        return a < b;
    case 3:
        return a <= b;
    case 4:
        return a > b;
    case 5:
        return a >= b;
    default:
        return false;
    }
}

std::uint64_t delayMs(const Task& task) noexcept {
    const auto amount = static_cast<std::uint64_t>(static_cast<std::uint32_t>(task.value) & 0xFFFFU);
    switch (task.parameter) {
    case 1:
        return amount * 1000;
    case 2:
        return amount * 60000;
    default:
        return amount;
    }
}

} // namespace

Simulator::Simulator(const Application& application, SimMemory::AreaSource areas, Options options)
    : application_(application), options_(options), memory_(std::move(areas)) {
    options_.scanMs = std::clamp<std::uint32_t>(options_.scanMs, 1, 1000);
    clock_.set(options_.start);
}

bool Simulator::lowWordFirst() const noexcept {
    return application_.unitSettings().floatWordOrder == 1;
}

void Simulator::note(std::string text) {
    record(text);
    keyNote_ = std::move(text);
}

void Simulator::record(std::string text) {
    if (events_.size() >= kMaxEvents) {
        events_.erase(events_.begin(), events_.begin() + static_cast<std::ptrdiff_t>(kMaxEvents / 2));
    }
    events_.push_back(SimEvent{clock_.elapsed(), std::move(text)});
}

std::vector<SimEvent> Simulator::takeEvents() {
    std::vector<SimEvent> taken;
    taken.swap(events_);
    return taken;
}

Tag* Simulator::findTag(std::string_view nameOrAddress) const {
    for (Tag& tag : application_.tags()) {
        if (tag.name == nameOrAddress) {
            return &tag;
        }
    }
    for (Tag& tag : application_.tags()) {
        if (tag.displayAddress() == nameOrAddress) {
            return &tag;
        }
    }
    return nullptr;
}

// ---- Live nodes ----

void Simulator::setBackend(std::uint8_t nodeNumber, std::unique_ptr<NodeBackend> backend) {
    memory_.attach(nodeNumber, backend.get());
    if (backend) {
        record("node " + std::to_string(nodeNumber) + ": " + backend->description());
        backends_[nodeNumber] = std::move(backend);
    } else if (backends_.erase(nodeNumber) != 0) {
        record("node " + std::to_string(nodeNumber) + ": " + simulated_.description());
    }
}

NodeBackend& Simulator::backend(std::uint8_t nodeNumber) {
    const auto found = backends_.find(nodeNumber);
    return found != backends_.end() ? *found->second : simulated_;
}

std::vector<const Block*> Simulator::scanBlocks(std::uint8_t nodeNumber) const {
    std::vector<const Block*> blocks;
    const auto take = [&](const ReadList& list) {
        for (const auto& entry : list.entries()) {
            const Block* block = entry.block;
            if (block != nullptr && block->node() != nullptr && block->node()->number() == nodeNumber &&
                std::find(blocks.begin(), blocks.end(), block) == blocks.end()) {
                blocks.push_back(block);
            }
        }
    };
    take(application_.globalReadList());
    if (screen_ != nullptr) {
        take(screen_->readList());
    }
    return blocks;
}

void Simulator::readLive() {
    for (auto& [number, backend] : backends_) {
        const std::vector<const Block*> blocks = scanBlocks(number);
        if (!blocks.empty()) {
            backend->refresh(*blocks.front()->node(), blocks, memory_);
        }
    }
}

// ---- Power-on and screens ----

void Simulator::powerOn() {
    if (poweredOn_) {
        return;
    }
    poweredOn_ = true;
    record("power on");
    readLive();
    runList(application_.powerOnTasks(), ListPlace::PowerOn, nullptr);
    settle();
    if (screen_ == nullptr) {
        // No Goto of the Power-on list led to a screen that can be shown: screen 1, else the first one.
        const Screen* first = application_.findScreen(1);
        if (first == nullptr || first->type == ScreenType::PrintOnly) {
            first = nullptr;
            for (const auto& s : application_.screens()) {
                if (s->type != ScreenType::PrintOnly) {
                    first = s.get();
                    break;
                }
            }
        }
        if (first != nullptr) {
            pendingScreen_ = first->number();
            settle();
        } else {
            record("no screen to show");
        }
    }
    nextScan_ = clock_.elapsed();
    scan();
}

const Screen* Simulator::neighbour(bool next) const {
    const auto& screens = application_.screens();
    const std::uint32_t current = screen_ != nullptr ? screen_->number() : 0;
    if (next) {
        for (const auto& s : screens) {
            if (s->number() > current && s->type != ScreenType::PrintOnly) {
                return s.get();
            }
        }
        return nullptr;
    }
    for (auto it = screens.rbegin(); it != screens.rend(); ++it) {
        if ((*it)->number() < current && (*it)->type != ScreenType::PrintOnly) {
            return it->get();
        }
    }
    return nullptr;
}

void Simulator::show(const Screen& target) {
    const Screen* old = screen_;
    if (old != nullptr) {
        runList(old->taskList(Screen::kAfterHiding), ListPlace::AfterHiding, nullptr);
        if (pendingScreen_) {
            record("Goto Screen in the After-hiding list of screen " + std::to_string(old->number()) +
                   " is not followed");
            pendingScreen_.reset();
        }
    }
    screen_ = &target;
    dataEntry_.reset();
    whileShowingAt_ = 0;
    delayUntil_.reset();
    waitingAt_ = -1;
    record("screen " + std::to_string(target.number()) + " shown (" + target.name + ")");
    runList(target.taskList(Screen::kBeforeShowing), ListPlace::BeforeShowing, nullptr);
}

void Simulator::settle() {
    int changes = 0;
    while (pendingScreen_) {
        const std::uint32_t number = *pendingScreen_;
        pendingScreen_.reset();
        const Screen* target = application_.findScreen(number);
        if (target == nullptr) {
            record("Goto Screen " + std::to_string(number) + ": there is no such screen");
            continue;
        }
        if (target->type == ScreenType::PrintOnly) {
            record("Goto Screen " + std::to_string(number) + ": a print-only screen is not shown");
            continue;
        }
        if (target == screen_) {
            continue;
        }
        if (++changes > kMaxScreenChanges) {
            record("screen changes stopped after " + std::to_string(kMaxScreenChanges) +
                   " in a row (Before-showing lists go from screen to screen)");
            pendingScreen_.reset();
            break;
        }
        show(*target);
    }
}

// ---- Inputs ----

const KeyDefinition* Simulator::keyFor(std::uint16_t code) const {
    if (screen_ != nullptr) {
        for (const auto& key : screen_->keys()) {
            if (key->code == code &&
                (!key->taskList(0).empty() || !key->taskList(1).empty() || !key->taskList(2).empty())) {
                return key.get();
            }
        }
    }
    return application_.findGlobalKey(code);
}

std::uint16_t Simulator::combinationWith(std::uint8_t key) const {
    const auto holds = [key](const KeyDefinition& def) {
        return def.secondKey() != 0 && (def.firstKey() == key || def.secondKey() == key);
    };
    if (screen_ != nullptr) {
        for (const auto& def : screen_->keys()) {
            if (holds(*def)) {
                return def->code;
            }
        }
    }
    for (const auto& def : application_.globalKeys()) {
        if (holds(*def)) {
            return def->code;
        }
    }
    return 0;
}

void Simulator::press(Input input) {
    record(input.name + " pressed");
    inputs_.push_back(std::move(input));
    const std::size_t index = inputs_.size() - 1;
    // The list runs on a copy of the owner pointer: a goto may not invalidate the input itself.
    const TaskListOwner* owner = inputs_[index].owner;
    runList(owner->taskList(0), ListPlace::Press, &inputs_[index]);
    settle();
}

void Simulator::release(std::size_t index) {
    Input input = std::move(inputs_[index]);
    inputs_.erase(inputs_.begin() + static_cast<std::ptrdiff_t>(index));
    record(input.name + " released");
    for (const Tag* tag : input.heldOn) {
        memory_.write(*tag, 0);
    }
    for (const Tag* tag : input.heldOff) {
        memory_.write(*tag, 1);
    }
    runList(input.owner->taskList(2), ListPlace::Released, &input);
    settle();
}

void Simulator::pressKey(std::uint8_t key) {
    if (key == 0 || keysDown_.count(key) != 0) {
        return;
    }
    if (!poweredOn_) {
        powerOn();
    }
    keyNote_.clear();
    // A key pressed while another is held makes their combination when one is defined.
    for (const std::uint8_t other : keysDown_) {
        for (const std::uint16_t code : {static_cast<std::uint16_t>(other | (key << 8)),
                                         static_cast<std::uint16_t>(key | (other << 8))}) {
            if (const KeyDefinition* def = keyFor(code)) {
                keysDown_.insert(key);
                press(Input{def, code, false, keyName(code), {}, {}});
                return;
            }
        }
    }
    keysDown_.insert(key);
    if (const KeyDefinition* def = keyFor(key)) {
        press(Input{def, key, false, keyName(key), {}, {}});
    } else if (const std::uint16_t pair = combinationWith(key); pair != 0) {
        // The first key of a combination: held, it waits for the second.
        record(keyName(key) + " pressed (no tasks alone; " + keyName(pair) + " with the other key)");
    } else {
        note(keyName(key) + " pressed: no tasks (neither the shown screen nor the global keys define it)");
    }
}

void Simulator::releaseKey(std::uint8_t key) {
    if (keysDown_.erase(key) == 0) {
        return;
    }
    bool any = false;
    for (std::size_t i = inputs_.size(); i-- > 0;) {
        const Input& in = inputs_[i];
        if (!in.touch && ((in.code & 0xFFU) == key || (in.code >> 8) == key)) {
            release(i);
            any = true;
            i = std::min(i, inputs_.size());
        }
    }
    if (!any) {
        record(keyName(key) + " released (no tasks)");
    }
}

bool Simulator::touching() const noexcept {
    return std::any_of(inputs_.begin(), inputs_.end(), [](const Input& in) { return in.touch; });
}

bool Simulator::touchDown(std::int32_t x, std::int32_t y) {
    if (!poweredOn_) {
        powerOn();
    }
    touchUp();
    keyNote_.clear();
    if (screen_ == nullptr) {
        return false;
    }
    const auto& objects = screen_->objects();
    for (auto it = objects.rbegin(); it != objects.rend(); ++it) {
        const ScreenObject& o = **it;
        if (o.kind() != ObjectKind::TouchArea || x < o.left || x > o.right || y < o.top || y > o.bottom) {
            continue;
        }
        press(Input{o.taskOwner(),
                    0,
                    true,
                    "touch area " + std::to_string(o.sequence()) + " at " + std::to_string(x) + "," +
                        std::to_string(y),
                    {},
                    {}});
        return true;
    }
    note("touch at " + std::to_string(x) + "," + std::to_string(y) + " (no touch area)");
    return false;
}

void Simulator::touchUp() {
    for (std::size_t i = inputs_.size(); i-- > 0;) {
        if (inputs_[i].touch) {
            release(i);
            i = std::min(i, inputs_.size());
        }
    }
}

// ---- Scans ----

void Simulator::scan() {
    if (!poweredOn_) {
        powerOn();
        return;
    }
    ++scans_;
    if (!liveReadDone_) {
        readLive();
    }
    runList(application_.globalTasks(), ListPlace::Global, nullptr);
    settle();
    for (std::size_t i = 0; i < inputs_.size(); ++i) {
        const TaskListOwner* owner = inputs_[i].owner;
        runList(owner->taskList(1), ListPlace::Pressed, &inputs_[i]);
    }
    settle();
    runWhileShowing();
    settle();
    std::vector<std::string> changes;
    alarms_.update(application_, memory_, clock_.drawClock(), changes);
    for (auto& change : changes) {
        record(std::move(change));
    }
}

void Simulator::advance(std::uint64_t milliseconds) {
    if (!poweredOn_) {
        powerOn();
    }
    const std::uint64_t target = clock_.elapsed() + milliseconds;
    bool readOnce = false;
    while (nextScan_ + options_.scanMs <= target) {
        nextScan_ += options_.scanMs;
        clock_.advance(nextScan_ - clock_.elapsed());
        scan();
        if (!options_.liveReadEachScan && !readOnce) {
            readOnce = true;
            liveReadDone_ = true;
        }
    }
    liveReadDone_ = false;
    clock_.advance(target - clock_.elapsed());
}

void Simulator::runWhileShowing() {
    if (screen_ == nullptr) {
        return;
    }
    const Screen* shown = screen_;
    const TaskList& list = shown->taskList(Screen::kWhileShowing);
    waitingAt_ = -1;
    if (whileShowingAt_ >= list.size()) {
        whileShowingAt_ = 0;
    }
    // One pass at most: from where the list stopped to its end.
    while (whileShowingAt_ < list.size() && screen_ == shown) {
        const Task& task = list.at(whileShowingAt_);
        if (execute(task, ListPlace::WhileShowing, nullptr) == Flow::Stop) {
            waitingAt_ = static_cast<int>(whileShowingAt_);
            return;
        }
        ++whileShowingAt_;
    }
    whileShowingAt_ = 0;
}

void Simulator::runList(const TaskList& list, ListPlace place, Input* input) {
    for (std::size_t i = 0; i < list.size(); ++i) {
        execute(list.at(i), place, input);
    }
}

bool Simulator::waitHolds(const Task& task) {
    if (task.tag1 == nullptr) {
        return true;
    }
    const std::uint64_t value = memory_.read(*task.tag1);
    if (task.tag1->isBit()) {
        return value == (task.parameter != 0 ? 1U : 0U);
    }
    const std::uint64_t other =
        task.valueFormat == value_format::kWaitTag && task.tag2 != nullptr
            ? memory_.read(*task.tag2)
            : static_cast<std::uint64_t>(static_cast<std::uint32_t>(task.value) & 0xFFFFU);
    return compare(value, task.parameter, other);
}

void Simulator::keyFunction(std::uint8_t function) {
    if (function <= kLastDataEntryFunction) {
        Task named;
        named.kind = TaskKind::KeyFunction;
        named.subKind = function;
        if (!dataEntry_.active()) {
            // Accept, Cancel and Clear act on an entry in progress; the other data entry keys start one in
            // the current field, as the unit's keys do.
            if (function == kAccept || function == kCancel || function == kClear) {
                note(taskText(named) + ": no data entry is in progress");
                return;
            }
            const DataEntry::Outcome started = dataEntry_.begin(screen_, memory_, lowWordFirst());
            if (!dataEntry_.active()) {
                note(taskText(named) + ": " + started.why);
                return;
            }
            record(started.trace);
        }
        const DataEntry::Outcome outcome = dataEntry_.key(function, memory_, lowWordFirst());
        if (outcome.refused) {
            note(outcome.trace);
        } else if (!outcome.trace.empty()) {
            record(outcome.trace);
        } else {
            note(taskText(named) + ": " + outcome.why);
        }
        return;
    }
    std::string line;
    switch (function) {
    case kSelectAlarm:
        line = alarms_.select();
        break;
    case kAcknowledgeAlarm:
        line = alarms_.acknowledge();
        break;
    case kPreviousAlarm:
        line = alarms_.previous();
        break;
    case kNextAlarm:
        line = alarms_.next();
        break;
    case kStartLogger:
        line = "logger started (not simulated)";
        break;
    case kStopLogger:
        line = "logger stopped (not simulated)";
        break;
    case kClearLog:
        line = "log memory cleared (not simulated)";
        break;
    default:
        break;
    }
    if (!line.empty()) {
        record(line);
    }
}

Simulator::Flow Simulator::execute(const Task& task, ListPlace place, Input* input) {
    Tag* const a = task.tag1;
    Tag* const b = task.tag2;
    const auto constant = static_cast<std::uint64_t>(static_cast<std::int64_t>(task.value));
    switch (task.kind) {
    case TaskKind::GotoScreen:
        if (task.subKind == 0) {
            pendingScreen_ = static_cast<std::uint32_t>(task.value) & 0xFFFFU;
        } else if (const Screen* s = neighbour(task.subKind == 1)) {
            pendingScreen_ = s->number();
        } else {
            record(task.subKind == 1 ? "Goto Next Screen: no screen after this one"
                                     : "Goto Previous Screen: no screen before this one");
        }
        break;
    case TaskKind::WriteValue:
        if (a != nullptr) {
            memory_.write(*a, constant);
        }
        break;
    case TaskKind::Add:
    case TaskKind::Subtract:
        if (a != nullptr) {
            const std::uint64_t operand =
                task.subKind == 1 ? (b != nullptr ? memory_.read(*b) : 0) : constant;
            const std::uint64_t old = memory_.read(*a);
            memory_.write(*a, task.kind == TaskKind::Add ? old + operand : old - operand);
        }
        break;
    case TaskKind::Bit:
        if (a == nullptr) {
            break;
        }
        switch (task.subKind) {
        case bit_task::kOn:
        case bit_task::kGeneratedOn:
            memory_.write(*a, 1);
            break;
        case bit_task::kOff:
        case bit_task::kGeneratedOff:
            memory_.write(*a, 0);
            break;
        case bit_task::kToggle:
            memory_.write(*a, memory_.read(*a) == 0 ? 1 : 0);
            break;
        case bit_task::kHoldOn:
        case bit_task::kHoldOff: {
            const bool on = task.subKind == bit_task::kHoldOn;
            memory_.write(*a, on ? 1 : 0);
            if (input != nullptr && place == ListPlace::Pressed) {
                auto& held = on ? input->heldOn : input->heldOff;
                if (std::find(held.begin(), held.end(), a) == held.end()) {
                    held.push_back(a);
                }
            }
            break;
        }
        default:
            break;
        }
        break;
    case TaskKind::CopyTag:
        if (a != nullptr && b != nullptr) {
            memory_.write(*a, memory_.read(*b));
        }
        break;
    case TaskKind::SwapTags:
        if (a != nullptr && b != nullptr) {
            const std::uint64_t first = memory_.read(*a);
            memory_.write(*a, memory_.read(*b));
            memory_.write(*b, first);
        }
        break;
    case TaskKind::PrintData:
        record("Print Data (screen " + std::to_string(screen_ != nullptr ? screen_->number() : 0) + ")");
        break;
    case TaskKind::ClockIncrement:
        clock_.increment(task.subKind, task.value > 0 ? static_cast<std::uint32_t>(task.value) : 1U);
        record(taskText(task));
        break;
    case TaskKind::CopyToDisplay:
        record(std::string(task.subKind == 0 ? "STR" : "LED") + " shows " + tagName(a) + " = " +
               std::to_string(a != nullptr ? memory_.read(*a) : 0));
        break;
    case TaskKind::OpenCollector:
        if (openCollector_ != (task.subKind == 0)) {
            openCollector_ = task.subKind == 0;
            record(openCollector_ ? "open collector on" : "open collector off");
        }
        break;
    case TaskKind::Delay:
        if (place != ListPlace::WhileShowing) {
            break;
        }
        if (!delayUntil_) {
            delayUntil_ = clock_.elapsed() + delayMs(task);
        }
        if (clock_.elapsed() < *delayUntil_) {
            return Flow::Stop;
        }
        delayUntil_.reset();
        break;
    case TaskKind::Wait:
        if (place == ListPlace::WhileShowing && !waitHolds(task)) {
            return Flow::Stop;
        }
        break;
    case TaskKind::KeyFunction:
        keyFunction(task.subKind);
        break;
    case TaskKind::DataEntryMode: {
        const DataEntry::Outcome outcome = dataEntry_.toggle(screen_, memory_, lowWordFirst());
        if (outcome.refused) {
            note(outcome.trace);
        } else {
            record(outcome.trace);
        }
        break;
    }
    case TaskKind::PlcToRecipe:
    case TaskKind::RecipeToPlc:
        record(taskText(task) + " (recipes are not simulated)");
        break;
    case TaskKind::CopyRtcToTag: {
        if (a == nullptr) {
            break;
        }
        const std::uint64_t period = static_cast<std::uint64_t>(std::max(task.value, 0)) * 1000;
        const auto last = rtcCopied_.find(&task);
        if (last != rtcCopied_.end() && clock_.elapsed() - last->second < period) {
            break;
        }
        rtcCopied_[&task] = clock_.elapsed();
        const VirtualClock::Calendar c = clock_.now();
        const std::int32_t fields[7] = {c.year, c.month, c.day, c.hour, c.minute, c.second, c.dayOfWeek};
        for (std::size_t i = 0; i < 7; ++i) {
            if (!memory_.writeFollowing(*a, i, static_cast<std::uint64_t>(fields[i]))) {
                break;
            }
        }
        break;
    }
    }
    return Flow::Next;
}

} // namespace quillon
