// Feeds arbitrary bytes to the bitmap import as a Windows bitmap file, for every display class: a file
// that is not a bitmap the unit can show must be refused with a message, never read past its end.
#include "persist/BitmapImporter.h"

#include <cstddef>
#include <cstdint>
#include <span>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    for (const int displayClass : {1, 50, 51, 52}) {
        auto picture =
            quillon::BitmapImporter::convert(std::span<const std::uint8_t>(data, size), displayClass);
        if (!picture) {
            if (picture.message().empty()) {
                __builtin_trap();
            }
            continue;
        }
        const bool sound =
            quillon::BitmapImporter::fitsDisplay(picture->width(), picture->height(), displayClass) &&
            picture->width() > 0 && picture->height() > 0 &&
            picture->rows().size() ==
                std::size_t{picture->height()} * quillon::PictureRecord::rowBytes(picture->width());
        if (!sound) {
            __builtin_trap();
        }
    }
    return 0;
}
