#pragma once

#include "model/Result.h"

#include <array>
#include <bitset>
#include <cstdint>
#include <filesystem>
#include <memory>
#include <span>
#include <string>
#include <string_view>

namespace quillon {

// One raster face of the panel look; the name gives the cell size in window pixels.
struct PanelFace {
    std::string_view name;
    std::int32_t sizeKey = 0;
    std::int32_t cellWidth = 0;
    std::int32_t cellHeight = 0;
};

// The eleven faces, in size-key order (keys 10, 15, 20, 25, 30, 40, 50, 60, 80, 100, 120).
std::span<const PanelFace> panelFaces() noexcept;
// nullptr for a key that selects no face.
const PanelFace* panelFaceForKey(std::int32_t sizeKey) noexcept;
const PanelFace* findPanelFace(std::string_view name) noexcept;

// The unit's 5 x 7 dot character set and its cells drawn at every face size.
//
// Text form (one source of truth, data/fonts/orvik5x7.fnt): a header line "quillon-panel-font 1", then per
// glyph a line "char <code>" (decimal or 0x hex, optionally followed by a label in single quotes) and seven
// rows of five dots, '#' lit and '.' dark. Blank lines and lines starting with ';' may stand between
// glyphs. A code without a glyph draws as a blank cell.
class PanelFont final {
public:
    static constexpr std::int32_t kGlyphWidth = 5;
    static constexpr std::int32_t kGlyphHeight = 7;
    static constexpr std::int32_t kBaseCellWidth = 6;
    static constexpr std::int32_t kBaseCellHeight = 8;
    static constexpr std::uintmax_t kMaxFileBytes = 1024U * 1024U;
    static constexpr std::string_view kFormatName = "quillon-panel-font";
    static constexpr std::string_view kFormatVersion = "1";

    // An empty font: every code draws as a blank cell.
    PanelFont();
    PanelFont(const PanelFont& other);
    PanelFont& operator=(const PanelFont& other);
    PanelFont(PanelFont&&) noexcept;
    PanelFont& operator=(PanelFont&&) noexcept;
    ~PanelFont();

    static Result<PanelFont> parse(std::string_view text);
    static Result<PanelFont> load(const std::filesystem::path& file);
    // The character set shipped with the tool, compiled in from data/fonts/orvik5x7.fnt.
    static const PanelFont& builtIn();

    // The text form that parse() reads back to an equal font.
    std::string format() const;

    bool hasGlyph(std::uint8_t code) const noexcept { return present_.test(code); }
    std::int32_t glyphCount() const noexcept { return static_cast<std::int32_t>(present_.count()); }
    // Row `row` (0 = top) of a glyph as five bits, the leftmost dot in bit 4; 0 for a code without glyph.
    std::uint8_t glyphRow(std::uint8_t code, std::int32_t row) const noexcept;

    // The character as drawn into one cell of the face: cellWidth × cellHeight bytes, row-major, 1 = lit.
    // Empty for a face whose cell size is none of the eleven.
    std::span<const std::uint8_t> cell(std::uint8_t code, const PanelFace& face) const;

    friend bool operator==(const PanelFont& a, const PanelFont& b) noexcept {
        return a.present_ == b.present_ && a.rows_ == b.rows_;
    }

private:
    struct CellCache;

    static std::int32_t faceIndex(const PanelFace& face) noexcept;
    void fillFace(std::int32_t index) const;

    std::array<std::array<std::uint8_t, kGlyphHeight>, 256> rows_{};
    std::bitset<256> present_;
    // Cells are drawn once per face, on first use; a moved-from font has no cache and draws nothing.
    std::unique_ptr<CellCache> cache_;
};

} // namespace quillon
