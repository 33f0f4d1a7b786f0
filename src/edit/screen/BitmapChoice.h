#pragma once

#include "model/CanvasGeometry.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace quillon {

class Prompter;

// The rules of the bitmap library dialog that do not need a window: its caption and texts, and where a
// chosen picture goes on the screen.
class BitmapChoice final {
public:
    // The dialog opened by the Bitmap tool for a new object, or to change the picture of one.
    enum class Mode : std::uint8_t { Add, Change };

    static constexpr std::string_view kCaptionStart = "Orvik : Bitmap library : Total ";
    static constexpr std::string_view kAddText = "&Add  Selected Bitmap To Screen";
    static constexpr std::string_view kChangeText = "Change";
    static constexpr std::string_view kNewText = "Add &New Bitmap To Library";
    static constexpr std::string_view kDeleteText = "&Delete Selected Bitmap ";
    static constexpr std::string_view kCloseText = "&Close";
    static constexpr std::string_view kNoteText = "Note : Click on the bitmap to select it.";
    static constexpr std::string_view kConfirmDelete = "Are you sure to delete the selected Bitmap?";
    static constexpr std::string_view kTooLarge =
        "Selected picture is greater than screen.\nCan not create new Picture.";
    static constexpr std::string_view kSelectTitle = "Select Picture";
    static constexpr std::string_view kBitmapFilter = "Bitmap Files (*.BMP)";
    static constexpr std::string_view kDibFilter = "DIB Files    (*.DIB)";
    static constexpr std::string_view kDefaultExtension = "bmp";

    static std::string caption(std::uint32_t pictureCount);
    static std::string_view chooseText(Mode mode) noexcept;
    // "Size :" of a picture: its library record's bytes in kilobytes, two decimals.
    static std::string sizeText(std::uint64_t recordBytes);
    // "Dimension :" of a picture.
    static std::string dimensionText(std::uint32_t width, std::uint32_t height);

    // Whether a picture of this size fits the screen of a display class.
    static bool fitsScreen(std::uint32_t width, std::uint32_t height, std::uint8_t displayClass) noexcept;

    // Where the picture goes when chosen with its top-left corner at `clicked`: refused with the size
    // message when it is larger than the screen; when it would cross the right or bottom edge the user is
    // asked, and OK moves it left and up to end at the edges. Nothing when refused or cancelled (the
    // dialog stays open).
    static std::optional<UnitRect> place(std::uint32_t width, std::uint32_t height, std::uint8_t displayClass,
                                         UnitPoint clicked, Prompter& prompter);
};

} // namespace quillon
