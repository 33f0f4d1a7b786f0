#include "model/PanelModel.h"

#include <array>

namespace quillon {

namespace {

constexpr std::string_view k5Vdc = "5 VDC";
constexpr std::string_view k24Vdc = "24 VDC";
constexpr std::string_view kRs232 = "RS232";
constexpr std::string_view kRs232485 = "RS232 / RS485";

// Models that are not offered for new applications have descriptions no dialog shows; they are kept
// in plain words so that the table still says what each display is.
constexpr std::array<PanelModel, 12> kCatalog{{
    {10, "VQ5K-252", 1, {192, 32}, "2 lines of 16 characters", "keys_162", 10, 0, k5Vdc, kRs232},
    {12, "VQ5K-222", 1, {192, 32}, "2 lines of 16 characters", "keys_162", 11, 1, k24Vdc, kRs232485},
    {15, "Orvik 15", 1, {192, 32}, "2 lines of 16 characters", "keys_162_15", 15, std::nullopt, {}, {}},
    {20, "Orvik 20", 2, {192, 64}, "4 lines of 16 characters", "keys_164", 20, std::nullopt, {}, {}},
    {30, "Orvik 40", 3, {240, 32}, "2 lines of 20 characters", "keys_202", 40, std::nullopt, {}, {}},
    {40, "VQ5K-452", 4, {240, 64}, "4 lines of 20 characters", "keys_220", 50, 2, k5Vdc, kRs232},
    {41, "Orvik 80", 4, {240, 64}, "4 lines of 20 characters", "keys_204", 80, std::nullopt, {}, {}},
    {42, "VQ5K-422", 4, {240, 64}, "4 lines of 20 characters", "keys_220", 51, 3, k24Vdc, kRs232485},
    {480, "Orvik 120", 50, {128, 64}, "128 x 64 pixels", "keys_128x64_90", 120, std::nullopt, {}, {}},
    {500, "VQ5K-822", 50, {128, 64}, "128 x 64 pixels", "keys_128x64", 140, 4, k24Vdc, kRs232485},
    {510, "Orvik 180", 51, {240, 128}, "240 x 128 pixels", "keys_240x128", 200, std::nullopt, {}, {}},
    {520, "Orvik 520", 52, {320, 240}, "320 x 240 pixels", "keys_320x240", 300, std::nullopt, {}, {}},
}};

// The five offered models first, then the two large graphic models, then the older models.
constexpr std::array<std::uint16_t, 12> kPickerOrder{10, 12, 40, 42, 500, 510, 520, 15, 20, 30, 41, 480};

constexpr std::uint16_t kCharacterReadLimit = 144;
constexpr std::uint16_t kGraphicReadLimit = 224;

} // namespace

std::span<const PanelModel> panelModels() noexcept {
    return kCatalog;
}

const PanelModel* findPanelModel(std::uint32_t modelId) noexcept {
    for (const PanelModel& m : kCatalog) {
        if (m.id == modelId) {
            return &m;
        }
    }
    return nullptr;
}

std::uint8_t modelClass(std::uint32_t modelId) noexcept {
    const PanelModel* m = findPanelModel(modelId);
    return m != nullptr ? m->modelClass : 0;
}

std::string_view modelName(std::uint32_t modelId) noexcept {
    const PanelModel* m = findPanelModel(modelId);
    return m != nullptr ? m->name : std::string_view{};
}

CanvasSize displaySize(std::uint8_t cls) noexcept {
    switch (cls) {
    case 1:
        return {192, 32};
    case 2:
        return {192, 64};
    case 3:
        return {240, 32};
    case 4:
        return {240, 64};
    case 50:
        return {128, 64};
    case 51:
        return {240, 128};
    case 52:
        return {320, 240};
    default:
        return {};
    }
}

std::uint16_t readLimit(std::uint32_t modelId) noexcept {
    const PanelModel* m = findPanelModel(modelId);
    if (m == nullptr) {
        return 0;
    }
    return isCharacterClass(m->modelClass) ? kCharacterReadLimit : kGraphicReadLimit;
}

std::string_view keypadLayout(std::uint32_t modelId) noexcept {
    const PanelModel* m = findPanelModel(modelId);
    return m != nullptr ? m->keypadLayout : std::string_view{};
}

std::uint16_t driverModelCode(std::uint32_t modelId) noexcept {
    const PanelModel* m = findPanelModel(modelId);
    return m != nullptr ? m->driverModelCode : 0;
}

std::uint8_t modelIndex(std::uint32_t modelId) noexcept {
    const PanelModel* m = findPanelModel(modelId);
    return m != nullptr && m->newApplicationPosition ? *m->newApplicationPosition : 0;
}

std::uint16_t modelIdForIndex(std::uint32_t index) noexcept {
    for (const PanelModel& m : kCatalog) {
        if (m.newApplicationPosition && *m.newApplicationPosition == index) {
            return m.id;
        }
    }
    return 0;
}

std::span<const std::uint16_t> pickerModelIds() noexcept {
    return kPickerOrder;
}

std::optional<std::uint8_t> pickerPosition(std::uint32_t modelId) noexcept {
    for (std::size_t i = 0; i < kPickerOrder.size(); ++i) {
        if (kPickerOrder[i] == modelId) {
            return static_cast<std::uint8_t>(i);
        }
    }
    return std::nullopt;
}

std::uint16_t modelIdAtPickerPosition(std::uint32_t position) noexcept {
    return position < kPickerOrder.size() ? kPickerOrder[position] : 0;
}

std::string_view supplyVoltageText(const PanelModel& model) noexcept {
    return model.supplyVoltage.empty() ? kDetailNotGiven : model.supplyVoltage;
}

std::string_view serialInterfaceText(const PanelModel& model) noexcept {
    return model.serialInterface.empty() ? kDetailNotGiven : model.serialInterface;
}

ModelSelection selectModel(std::uint32_t modelId) noexcept {
    const PanelModel* m = findPanelModel(modelId);
    if (m == nullptr) {
        return {};
    }
    ModelSelection s;
    s.modelId = m->id;
    s.modelIndex = modelIndex(modelId);
    s.modelClass = m->modelClass;
    s.canvas = displaySize(m->modelClass);
    s.readLimit = readLimit(modelId);
    s.graphicEntriesEnabled = !isCharacterClass(m->modelClass);
    return s;
}

} // namespace quillon
