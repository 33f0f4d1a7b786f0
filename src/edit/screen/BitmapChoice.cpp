#include "edit/screen/BitmapChoice.h"

#include "edit/screen/PlacementGeometry.h"
#include "model/PanelModel.h"
#include "model/Prompter.h"

#include <cstdio>

namespace quillon {

std::string BitmapChoice::caption(std::uint32_t pictureCount) {
    return std::string(kCaptionStart) + std::to_string(pictureCount);
}

std::string_view BitmapChoice::chooseText(Mode mode) noexcept {
    return mode == Mode::Add ? kAddText : kChangeText;
}

std::string BitmapChoice::sizeText(std::uint64_t recordBytes) {
    char text[48];
    std::snprintf(text, sizeof text, "%.2f KB", static_cast<double>(recordBytes) / 1024.0);
    return text;
}

std::string BitmapChoice::dimensionText(std::uint32_t width, std::uint32_t height) {
    return std::to_string(width) + " X " + std::to_string(height) + " (pixels)";
}

bool BitmapChoice::fitsScreen(std::uint32_t width, std::uint32_t height, std::uint8_t displayClass) noexcept {
    const CanvasSize screen = displaySize(displayClass);
    return width >= 1 && height >= 1 && width <= static_cast<std::uint32_t>(screen.width) &&
           height <= static_cast<std::uint32_t>(screen.height);
}

std::optional<UnitRect> BitmapChoice::place(std::uint32_t width, std::uint32_t height,
                                            std::uint8_t displayClass, UnitPoint clicked,
                                            Prompter& prompter) {
    if (!fitsScreen(width, height, displayClass)) {
        prompter.error(kTooLarge);
        return std::nullopt;
    }
    const CanvasSize screen = displaySize(displayClass);
    const auto w = static_cast<std::int32_t>(width);
    const auto h = static_cast<std::int32_t>(height);
    UnitRect rect{clicked.x, clicked.y, clicked.x + w - 1, clicked.y + h - 1};
    if (rect.right <= screen.width - 1 && rect.bottom <= screen.height - 1) {
        return rect;
    }
    const PromptAnswer answer =
        prompter.show(Prompt{PromptKind::Error, std::string(Prompter::kErrorTitle),
                             std::string(kNotEnoughSpaceText), PromptButtons::OkCancel, PromptAnswer::Ok});
    if (answer != PromptAnswer::Ok) {
        return std::nullopt;
    }
    if (rect.right > screen.width - 1) {
        rect = rect.translated(screen.width - 1 - rect.right, 0);
    }
    if (rect.bottom > screen.height - 1) {
        rect = rect.translated(0, screen.height - 1 - rect.bottom);
    }
    return rect;
}

} // namespace quillon
