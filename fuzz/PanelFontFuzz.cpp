// Feeds arbitrary bytes to the panel font reader; a font it accepts must draw every code at every face
// within its cell and read back unchanged from its own text form.
#include "model/PanelFont.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using quillon::PanelFont;
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const auto font = PanelFont::parse(text);
    if (!font) {
        if (font.message().empty()) {
            std::abort();
        }
        return 0;
    }
    for (const auto& face : quillon::panelFaces()) {
        const auto expected =
            static_cast<std::size_t>(face.cellWidth) * static_cast<std::size_t>(face.cellHeight);
        for (int code = 0; code < 256; ++code) {
            const auto cell = font->cell(static_cast<std::uint8_t>(code), face);
            if (cell.size() != expected ||
                (!font->hasGlyph(static_cast<std::uint8_t>(code)) && cell[0] != 0)) {
                std::abort();
            }
        }
    }
    const auto again = PanelFont::parse(font->format());
    if (!again || !(*again == *font)) {
        std::abort();
    }
    return 0;
}
