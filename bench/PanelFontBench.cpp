// How long the canvas takes to find the cells of a screenful of text: an alarm window of 40 × 6
// characters at the 18 × 24 face, the cells already drawn (the first repaint draws them once).
#include "model/PanelFont.h"

#include <benchmark/benchmark.h>
#include <cstdint>
#include <string>

namespace {

using quillon::PanelFont;

void BM_PanelFontCellsOfText(benchmark::State& state) {
    const PanelFont& font = PanelFont::builtIn();
    const quillon::PanelFace& face = *quillon::findPanelFace("orvik18x24");
    std::string text;
    for (int i = 0; i < 40 * 6; ++i) {
        text += static_cast<char>(32 + (i * 7) % 95);
    }
    (void)font.cell('A', face);
    for (auto _ : state) {
        std::uint32_t lit = 0;
        for (const char c : text) {
            const auto cell = font.cell(static_cast<std::uint8_t>(c), face);
            lit += cell[static_cast<std::size_t>(face.cellWidth) + 2];
        }
        benchmark::DoNotOptimize(lit);
    }
    state.SetItemsProcessed(state.iterations() * static_cast<std::int64_t>(text.size()));
}
BENCHMARK(BM_PanelFontCellsOfText);

// The first use of a face: all 256 cells of the largest face drawn from the glyphs.
void BM_PanelFontFirstUseOfFace(benchmark::State& state) {
    const quillon::PanelFace& face = *quillon::findPanelFace("orvik72x96");
    for (auto _ : state) {
        const PanelFont font = PanelFont::builtIn();
        benchmark::DoNotOptimize(font.cell('A', face).data());
    }
}
BENCHMARK(BM_PanelFontFirstUseOfFace);

} // namespace
