#include "model/DefaultGlobalKeys.h"

#include "model/Application.h"
#include "model/KeyDefinition.h"
#include "model/Prompter.h"
#include "model/Task.h"

#include <array>

namespace quillon {
namespace {

constexpr std::uint8_t kGoto = 1;
constexpr std::uint8_t kKey = 14;
constexpr std::uint8_t kNext = 1;
constexpr std::uint8_t kPrevious = 2;
constexpr std::uint8_t kClear = 0;
constexpr std::uint8_t kCancel = 1;
constexpr std::uint8_t kAccept = 2;
constexpr std::uint8_t kIncrease = 4;
constexpr std::uint8_t kDecrease = 5;
constexpr std::uint8_t kIncreaseDigit = 6;
constexpr std::uint8_t kShiftLeft = 8;
constexpr std::uint8_t kSign = 12;
constexpr std::uint8_t numeric(std::uint8_t digit) {
    return static_cast<std::uint8_t>(13 + digit);
}

constexpr auto kKeys10 = std::to_array<DefaultKey>({{1, kKey, kAccept},
                                                    {2, kKey, kIncreaseDigit},
                                                    {3, kGoto, kPrevious},
                                                    {4, kKey, kClear},
                                                    {5, kKey, kShiftLeft},
                                                    {6, kGoto, kNext}});
constexpr auto kKeys15 = std::to_array<DefaultKey>({{9, kKey, numeric(1)},
                                                    {10, kKey, numeric(4)},
                                                    {11, kKey, numeric(7)},
                                                    {12, kKey, kCancel},
                                                    {13, kKey, numeric(2)},
                                                    {14, kKey, numeric(5)},
                                                    {15, kKey, numeric(8)},
                                                    {16, kKey, kSign},
                                                    {17, kKey, numeric(3)},
                                                    {18, kKey, numeric(6)},
                                                    {19, kKey, numeric(9)},
                                                    {20, kKey, kAccept}});
constexpr auto kKeys20 = std::to_array<DefaultKey>(
    {{1, kGoto, kNext}, {2, kKey, kShiftLeft}, {3, kKey, kIncreaseDigit}, {4, kKey, kAccept}});
constexpr auto kKeys30 = std::to_array<DefaultKey>({{4, kKey, numeric(1)},
                                                    {5, kKey, numeric(2)},
                                                    {6, kKey, numeric(3)},
                                                    {7, kGoto, kNext},
                                                    {11, kKey, numeric(4)},
                                                    {12, kKey, numeric(5)},
                                                    {13, kKey, numeric(6)},
                                                    {14, kGoto, kPrevious},
                                                    {18, kKey, numeric(7)},
                                                    {19, kKey, numeric(8)},
                                                    {20, kKey, numeric(9)},
                                                    {21, kKey, kIncrease},
                                                    {25, kKey, kCancel},
                                                    {26, kKey, kSign},
                                                    {27, kKey, kAccept},
                                                    {28, kKey, kDecrease}});
constexpr auto kKeys40 = std::to_array<DefaultKey>({{5, kKey, numeric(1)},
                                                    {6, kKey, numeric(2)},
                                                    {7, kKey, numeric(3)},
                                                    {8, kKey, numeric(4)},
                                                    {13, kKey, numeric(5)},
                                                    {14, kKey, numeric(6)},
                                                    {15, kKey, numeric(7)},
                                                    {16, kKey, numeric(8)},
                                                    {17, kKey, numeric(9)},
                                                    {18, kKey, kSign},
                                                    {19, kKey, kCancel},
                                                    {20, kKey, kAccept}});
constexpr auto kKeys41 = std::to_array<DefaultKey>({{5, kKey, numeric(1)},
                                                    {6, kKey, numeric(2)},
                                                    {7, kKey, numeric(3)},
                                                    {8, kGoto, kNext},
                                                    {13, kKey, numeric(4)},
                                                    {14, kKey, numeric(5)},
                                                    {15, kKey, numeric(6)},
                                                    {16, kGoto, kPrevious},
                                                    {21, kKey, numeric(7)},
                                                    {22, kKey, numeric(8)},
                                                    {23, kKey, numeric(9)},
                                                    {24, kKey, kIncrease},
                                                    {29, kKey, kCancel},
                                                    {30, kKey, kSign},
                                                    {31, kKey, kAccept},
                                                    {32, kKey, kDecrease}});
constexpr auto kKeys480 = std::to_array<DefaultKey>(
    {{5, kKey, numeric(1)}, {6, kKey, numeric(2)}, {7, kKey, numeric(3)}, {8, kKey, numeric(4)}});
constexpr auto kKeys500 = std::to_array<DefaultKey>({{5, kKey, numeric(1)},
                                                     {6, kKey, numeric(2)},
                                                     {7, kKey, numeric(3)},
                                                     {8, kKey, numeric(4)},
                                                     {13, kKey, numeric(5)},
                                                     {14, kKey, numeric(6)},
                                                     {15, kKey, numeric(7)},
                                                     {16, kKey, numeric(8)},
                                                     {17, kKey, numeric(9)},
                                                     {18, kKey, kSign},
                                                     {19, kKey, kCancel},
                                                     {20, kKey, kAccept},
                                                     {21, kKey, kIncrease},
                                                     {22, kKey, kDecrease}});
constexpr auto kKeys510 = std::to_array<DefaultKey>({{13, kKey, numeric(1)},
                                                     {14, kKey, numeric(3)},
                                                     {15, kKey, numeric(5)},
                                                     {16, kKey, numeric(7)},
                                                     {17, kKey, numeric(9)},
                                                     {18, kKey, kClear},
                                                     {19, kKey, numeric(2)},
                                                     {20, kKey, numeric(4)},
                                                     {21, kKey, numeric(6)},
                                                     {22, kKey, numeric(8)},
                                                     {23, kKey, numeric(0)},
                                                     {24, kKey, kAccept}});

} // namespace

std::span<const DefaultKey> defaultGlobalKeys(std::uint16_t modelId) noexcept {
    switch (modelId) {
    case 10:
    case 12:
        return kKeys10;
    case 15:
        return kKeys15;
    case 20:
        return kKeys20;
    case 30:
        return kKeys30;
    case 40:
    case 42:
        return kKeys40;
    case 41:
        return kKeys41;
    case 480:
        return kKeys480;
    case 500:
        return kKeys500;
    case 510:
    case 520:
        return kKeys510;
    default:
        return {};
    }
}

void createDefaultGlobalKeys(Application& application, Prompter& prompter) {
    for (const DefaultKey& entry : defaultGlobalKeys(application.modelId())) {
        auto added = application.addGlobalKey(std::make_unique<KeyDefinition>(entry.key));
        if (!added) {
            prompter.error("Can't create new Key.");
            continue;
        }
        Task task;
        task.kind = static_cast<TaskKind>(entry.taskKind);
        task.subKind = entry.subKind;
        if (!application.appendTask(**added, KeyDefinition::kPress, task)) {
            prompter.error("Can not create new task.");
        }
    }
}

} // namespace quillon
