#include "model/TouchAreaObject.h"
#include "sim/SimFixture.h"

#include <random>

namespace quillon {
namespace {

using testing_support::must;
using testing_support::SimFixture;
using SimFuzzTest = SimFixture;

// Random applications (random tasks of every kind in every list, keys, touch areas, screens that go to
// each other) driven by random key, touch, set and advance steps: the simulator never fails, never stops
// answering, and always shows one of the application's screens.
TEST_F(SimFuzzTest, RandomStepsOnRandomApplicationsNeverBreakTheSimulator) {
    std::vector<Tag*> tags{level, count, big, word3, low, high, word5, bit3, motor, lamp};
    for (const std::uint32_t seed : {1U, 2U, 3U, 4U, 5U}) {
        std::mt19937 random(seed);
        const auto pick = [&](int n) { return static_cast<int>(random() % static_cast<unsigned>(n)); };
        const auto randomTask = [&]() {
            Task t;
            t.kind = static_cast<TaskKind>(1 + pick(18));
            t.subKind = 0;
            t.tag1 = tags[static_cast<std::size_t>(pick(static_cast<int>(tags.size())))];
            t.tag2 = tags[static_cast<std::size_t>(pick(static_cast<int>(tags.size())))];
            t.value = pick(6);
            t.parameter = static_cast<std::uint8_t>(pick(3));
            switch (t.kind) {
            case TaskKind::GotoScreen:
                t.subKind = static_cast<std::uint8_t>(pick(3));
                break;
            case TaskKind::Add:
            case TaskKind::Subtract:
            case TaskKind::CopyToDisplay:
            case TaskKind::OpenCollector:
                t.subKind = static_cast<std::uint8_t>(pick(2));
                break;
            case TaskKind::Bit: {
                static constexpr std::uint8_t kSubs[] = {0, 1, 2, 3, 4, 11, 12};
                t.subKind = kSubs[pick(7)];
                t.tag1 = pick(2) == 0 ? motor : bit3;
                break;
            }
            case TaskKind::ClockIncrement:
                t.subKind = static_cast<std::uint8_t>(pick(7));
                break;
            case TaskKind::KeyFunction:
                t.subKind = static_cast<std::uint8_t>(pick(38));
                break;
            case TaskKind::Wait:
                t.parameter = static_cast<std::uint8_t>(pick(6));
                t.valueFormat = static_cast<std::uint8_t>(pick(2));
                break;
            default:
                break;
            }
            return normalizeTask(t);
        };
        const auto fill = [&](TaskListOwner& owner, std::size_t list, int count) {
            for (int i = 0; i < count; ++i) {
                const Task t = randomTask();
                if (validateTask(t)) {
                    (void)app.appendTask(owner, list, t);
                }
            }
        };
        const int screens = 1 + pick(4);
        for (int n = 1; n <= screens; ++n) {
            if (app.findScreen(static_cast<std::uint32_t>(n)) != nullptr) {
                continue;
            }
            Screen* s = addScreen(static_cast<std::uint32_t>(n),
                                  pick(5) == 0 ? ScreenType::PrintOnly : ScreenType::Display);
            for (std::size_t list = 0; list < 3; ++list) {
                fill(*s, list, pick(6));
            }
            auto area = std::make_unique<TouchAreaObject>();
            area->left = pick(100);
            area->top = pick(50);
            area->right = area->left + pick(40);
            area->bottom = area->top + pick(20);
            auto* placed = static_cast<TouchAreaObject*>(must(s->appendObject(std::move(area))));
            for (std::size_t list = 0; list < 3; ++list) {
                fill(*placed, list, pick(4));
            }
            auto key = std::make_unique<KeyDefinition>(static_cast<std::uint16_t>(1 + pick(8)));
            if (auto added = app.addKey(*s, std::move(key))) {
                for (std::size_t list = 0; list < 3; ++list) {
                    fill(**added, list, pick(4));
                }
            }
        }
        fill(app.applicationLists(), Application::kPowerOn, pick(5));
        fill(app.applicationLists(), Application::kGlobal, pick(5));
        for (std::uint16_t code = 1; code <= 8; ++code) {
            if (app.findGlobalKey(code) == nullptr) {
                if (auto added = app.addKey(std::make_unique<KeyDefinition>(code))) {
                    for (std::size_t list = 0; list < 3; ++list) {
                        fill(**added, list, pick(4));
                    }
                }
            }
        }

        auto sim = start(static_cast<std::uint32_t>(1 + pick(50)));
        for (int step = 0; step < 3000; ++step) {
            switch (pick(7)) {
            case 0:
                sim->pressKey(static_cast<std::uint8_t>(1 + pick(9)));
                break;
            case 1:
                sim->releaseKey(static_cast<std::uint8_t>(1 + pick(9)));
                break;
            case 2:
                sim->touchDown(pick(140), pick(70));
                break;
            case 3:
                sim->touchUp();
                break;
            case 4:
                sim->setValue(*tags[static_cast<std::size_t>(pick(static_cast<int>(tags.size())))], random());
                break;
            default:
                sim->advance(static_cast<std::uint64_t>(pick(2000)));
                break;
            }
            const Screen* shown = sim->screen();
            if (shown != nullptr) {
                ASSERT_EQ(app.findScreen(shown->number()), shown) << "seed " << seed << " step " << step;
                ASSERT_NE(shown->type, ScreenType::PrintOnly);
            }
            ASSERT_LE(sim->events().size(), Simulator::kMaxEvents);
            (void)sim->takeEvents();
        }
        EXPECT_TRUE(app.checkConsistency()) << "the simulator must leave the application as it was";
    }
}

} // namespace
} // namespace quillon
