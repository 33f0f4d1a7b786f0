#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string_view>

namespace quillon {

// Width and height of the editing canvas in unit pixels.
struct CanvasSize {
    std::uint16_t width = 0;
    std::uint16_t height = 0;
    friend bool operator==(const CanvasSize&, const CanvasSize&) = default;
};

// One row of the compiled-in catalog of panel models.
struct PanelModel {
    std::uint16_t id = 0;
    std::string_view name;
    std::uint8_t modelClass = 0; // 1..4 character displays, 50..52 graphic displays
    CanvasSize display;
    std::string_view description;
    std::string_view keypadLayout;
    std::uint16_t driverModelCode = 0;
    std::optional<std::uint8_t> newApplicationPosition; // row in the New Application dialog
    std::string_view supplyVoltage;                     // only for the models offered for new applications
    std::string_view serialInterface;                   // only for the models offered for new applications
};

// What the New Application dialog shows where a model has no supply voltage or serial interface on record.
inline constexpr std::string_view kDetailNotGiven = "\u2014";

// What choosing a model means for the whole tool; the shell applies it (menus, canvas, limits).
struct ModelSelection {
    std::uint16_t modelId = 0;
    std::uint8_t modelIndex = 0;
    std::uint8_t modelClass = 0;
    CanvasSize canvas;
    std::uint16_t readLimit = 0;
    // Menu entries that only graphic displays have (pictures, shapes, bar graphs).
    bool graphicEntriesEnabled = false;
    friend bool operator==(const ModelSelection&, const ModelSelection&) = default;
};

inline constexpr std::uint8_t kFirstGraphicClass = 50;
inline constexpr std::uint16_t kFirstBitmapModelId = 480;

// The twelve models in catalog order.
std::span<const PanelModel> panelModels() noexcept;
const PanelModel* findPanelModel(std::uint32_t modelId) noexcept;

// Lookups; an id not in the catalog gives class 0, an empty name, a zero size and read limit 0.
std::uint8_t modelClass(std::uint32_t modelId) noexcept;
std::string_view modelName(std::uint32_t modelId) noexcept;
CanvasSize displaySize(std::uint8_t modelClass) noexcept;
std::uint16_t readLimit(std::uint32_t modelId) noexcept;
std::string_view keypadLayout(std::uint32_t modelId) noexcept;
std::uint16_t driverModelCode(std::uint32_t modelId) noexcept;
// Row of the five models offered for new applications; 0 for every other id.
std::uint8_t modelIndex(std::uint32_t modelId) noexcept;
// The offered model at a row of the New Application dialog; 0 when the row does not exist.
std::uint16_t modelIdForIndex(std::uint32_t index) noexcept;

// Every model of the catalog in the order the New Application dialog lists them: the five offered models
// at their rows, then the two large graphic models, then the older models kept for installed panels.
std::span<const std::uint16_t> pickerModelIds() noexcept;
// The picker row of a model; nothing for an id not in the catalog.
std::optional<std::uint8_t> pickerPosition(std::uint32_t modelId) noexcept;
// The model at a picker row; 0 when the row does not exist.
std::uint16_t modelIdAtPickerPosition(std::uint32_t position) noexcept;
// The supply voltage and serial interface as the New Application dialog shows them (an em dash when none
// is on record).
std::string_view supplyVoltageText(const PanelModel& model) noexcept;
std::string_view serialInterfaceText(const PanelModel& model) noexcept;

// Every rule that differs between character and graphic units tests the class this way.
constexpr bool isCharacterClass(std::uint8_t modelClass) noexcept {
    return modelClass < kFirstGraphicClass;
}
// Only graphic models from id 480 on carry picture data in the application image.
constexpr bool storesBitmaps(std::uint32_t modelId) noexcept {
    return modelId >= kFirstBitmapModelId;
}

ModelSelection selectModel(std::uint32_t modelId) noexcept;

} // namespace quillon
