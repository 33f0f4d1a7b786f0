#pragma once

#include "sim/AlarmMonitor.h"
#include "sim/DataEntry.h"
#include "sim/NodeBackend.h"
#include "sim/SimMemory.h"
#include "sim/SimulatedBackend.h"
#include "sim/VirtualClock.h"

#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace quillon {

class Application;
class Block;
class KeyDefinition;
class Screen;
class Tag;
class TaskList;
class TaskListOwner;
struct Task;

// One line of the simulation's trace: what happened and when (milliseconds since power-on).
struct SimEvent {
    std::uint64_t time = 0;
    std::string text;
    friend bool operator==(const SimEvent&, const SimEvent&) = default;
};

// Runs an application as the unit would, on simulated memory and a virtual clock, so that a run is
// repeatable. Power-on runs the Power-on list and shows the screen it went to (screen 1 otherwise).
// Each scan (every scanMs of simulated time) runs the Global list, the Pressed lists of the keys and
// touch areas held down, and the While-showing list of the shown screen, which carries on where a Delay
// or Wait stopped it. Keys and touch areas run their Press list when pressed and their Released list
// when let go. Changing screens runs the After-hiding list of the old screen and the Before-showing list
// of the new one. Tasks that need the unit's hardware (printing, the LED and STR displays, the open
// collector, recipes, the logger) are recorded as events.
//
// A node may be backed by a real device (setBackend): each scan first reads that node's blocks of the global
// read list and of the shown screen's read list from the device, and every write of one of its tags goes to
// the device. Nodes without a backend of their own stay simulated; nothing of theirs is sent anywhere.
//
// The application must stay unchanged while a simulator runs it.
class Simulator final {
public:
    struct Options {
        std::uint32_t scanMs = 10; // 1 .. 1000
        VirtualClock::Calendar start;
        // Live nodes are read at every scan, as the unit reads them. Off: once for each advance() (a tick of
        // the window), so that a slow line holds the window for one read of the blocks, not one per scan.
        bool liveReadEachScan = true;
    };
    // Screen changes that one step may chain (Before-showing lists that go on to other screens).
    static constexpr int kMaxScreenChanges = 32;
    // The trace keeps at most this many events; older ones are dropped.
    static constexpr std::size_t kMaxEvents = 100000;

    Simulator(const Application& application, SimMemory::AreaSource areas, Options options);

    const Application& application() const noexcept { return application_; }
    const Options& options() const noexcept { return options_; }

    // Power-on: the Power-on list, the first screen and the first scan. Runs once.
    void powerOn();
    bool poweredOn() const noexcept { return poweredOn_; }

    // ---- Inputs ----
    void pressKey(std::uint8_t key);
    void releaseKey(std::uint8_t key);
    bool isKeyDown(std::uint8_t key) const { return keysDown_.count(key) != 0; }
    // Presses the topmost touch area of the shown screen under the point (unit pixels); false when there
    // is none (nothing happens). A touch still held is let go first.
    bool touchDown(std::int32_t x, std::int32_t y);
    void touchUp();
    bool touching() const noexcept;

    // ---- Time ----
    // One scan now.
    void scan();
    // Moves the clock on, scanning every scanMs on the way.
    void advance(std::uint64_t milliseconds);
    std::uint64_t now() const noexcept { return clock_.elapsed(); }
    std::uint64_t scanCount() const noexcept { return scans_; }
    const VirtualClock& clock() const noexcept { return clock_; }

    // ---- Live nodes ----
    // Backs a node's memory by a device; nullptr makes it simulated again.
    void setBackend(std::uint8_t nodeNumber, std::unique_ptr<NodeBackend> backend);
    // The node's backend: the simulated one unless a device was set.
    NodeBackend& backend(std::uint8_t nodeNumber);
    // The blocks a scan reads from a node now: the global read list's, then the shown screen's.
    std::vector<const Block*> scanBlocks(std::uint8_t nodeNumber) const;

    // ---- State ----
    const Screen* screen() const noexcept { return screen_; }
    SimMemory& memory() noexcept { return memory_; }
    std::uint64_t value(const Tag& tag) { return memory_.read(tag); }
    void setValue(const Tag& tag, std::uint64_t value) { memory_.write(tag, value); }
    // A tag by name, or by address as task texts show it ("D0010", "D0010_03"; the first such tag).
    Tag* findTag(std::string_view nameOrAddress) const;
    const AlarmMonitor& alarms() const noexcept { return alarms_; }
    const DataEntry& dataEntry() const noexcept { return dataEntry_; }
    bool openCollector() const noexcept { return openCollector_; }
    bool lowWordFirst() const noexcept;
    // Why the last key press or touch did nothing (or what it refused): no tasks for the key, no touch
    // area, a data entry key with no field to act on, a value outside the limits ...; empty when it did
    // what it was defined for. Each note is also an event of the trace.
    const std::string& keyNote() const noexcept { return keyNote_; }
    // The While-showing task the shown screen waits at; -1 when it is not waiting.
    int waitingTask() const noexcept { return waitingAt_; }

    // The events not yet taken.
    const std::vector<SimEvent>& events() const noexcept { return events_; }
    // The events since the last call, handed over.
    std::vector<SimEvent> takeEvents();

private:
    enum class ListPlace : std::uint8_t {
        PowerOn,
        Global,
        BeforeShowing,
        WhileShowing,
        AfterHiding,
        Press,
        Pressed,
        Released
    };
    enum class Flow : std::uint8_t { Next, Stop };
    struct Input {
        const TaskListOwner* owner = nullptr;
        std::uint16_t code = 0; // key code; 0 for a touch
        bool touch = false;
        std::string name;
        std::vector<const Tag*> heldOn;  // bits a Hold Bit ON keeps on while pressed
        std::vector<const Tag*> heldOff; // bits a Hold Bit OFF keeps off
    };

    void record(std::string text);
    void runList(const TaskList& list, ListPlace place, Input* input);
    Flow execute(const Task& task, ListPlace place, Input* input);
    void runWhileShowing();
    void settle();
    void show(const Screen& target);
    const Screen* neighbour(bool next) const;
    const KeyDefinition* keyFor(std::uint16_t code) const;
    // A two-key combination of the shown screen or the global keys that holds the key; 0 for none.
    std::uint16_t combinationWith(std::uint8_t key) const;
    void press(Input input);
    void release(std::size_t index);
    bool waitHolds(const Task& task);
    void keyFunction(std::uint8_t function);
    void note(std::string text);
    void readLive();

    const Application& application_;
    Options options_;
    SimMemory memory_;
    VirtualClock clock_;
    AlarmMonitor alarms_;
    DataEntry dataEntry_;
    bool poweredOn_ = false;
    // An advance() has read the live nodes already (when they are read once for each advance).
    bool liveReadDone_ = false;
    const Screen* screen_ = nullptr;
    std::optional<std::uint32_t> pendingScreen_;
    std::size_t whileShowingAt_ = 0;
    std::optional<std::uint64_t> delayUntil_;
    int waitingAt_ = -1;
    std::set<std::uint8_t> keysDown_;
    std::vector<Input> inputs_;
    std::uint64_t nextScan_ = 0;
    std::uint64_t scans_ = 0;
    bool openCollector_ = false;
    std::unordered_map<const Task*, std::uint64_t> rtcCopied_;
    std::vector<SimEvent> events_;
    std::string keyNote_;
    SimulatedBackend simulated_;
    std::map<std::uint8_t, std::unique_ptr<NodeBackend>> backends_;
};

} // namespace quillon
