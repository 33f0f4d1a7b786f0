#include "model/PanelFont.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <map>
#include <random>
#include <set>
#include <string>
#include <thread>
#include <tuple>
#include <vector>

namespace quillon {
namespace {

constexpr std::string_view kTiny = "quillon-panel-font 1\r\n"
                                   "; two glyphs\r\n"
                                   "\r\n"
                                   "char 0x41 'A'\r\n"
                                   ".###.\r\n#...#\r\n#...#\r\n#####\r\n#...#\r\n#...#\r\n#...#\r\n"
                                   "char 200 'E grave'\r\n"
                                   "#....\r\n.#...\r\n#####\r\n#....\r\n####.\r\n#....\r\n#####\r\n";

std::string glyph(std::string_view codeLine) {
    return std::string(codeLine) + "\n#####\n#...#\n#...#\n#...#\n#...#\n#...#\n#####\n";
}

std::string withHeader(const std::string& body) {
    return "quillon-panel-font 1\n" + body;
}

TEST(PanelFaceTest, TableGivesNameKeyAndCellOfEveryFace) {
    const std::vector<std::tuple<std::string_view, std::int32_t, std::int32_t, std::int32_t>> expected{
        {"orvik6x8", 10, 6, 8},          {"orvik9x12", 15, 9, 12},        {"orvik12x16", 20, 12, 16},
        {"orvik15x20", 25, 15, 20},      {"orvik18x24", 30, 18, 24},      {"orvik24x32", 40, 24, 32},
        {"orvik30x40", 50, 30, 40},      {"orvik36x48", 60, 36, 48},      {"orvik48x64", 80, 48, 64},
        {"orvik60x80", 100, 60, 80},     {"orvik72x96", 120, 72, 96},     {"orvik42x56", 70, 42, 56},
        {"orvik84x112", 140, 84, 112},   {"orvik96x128", 160, 96, 128},   {"orvik120x160", 200, 120, 160},
        {"orvik144x192", 240, 144, 192}, {"orvik168x224", 280, 168, 224}, {"orvik192x256", 320, 192, 256}};
    const auto faces = panelFaces();
    ASSERT_EQ(faces.size(), expected.size());
    for (std::size_t i = 0; i < faces.size(); ++i) {
        const auto& [name, key, w, h] = expected[i];
        EXPECT_EQ(faces[i].name, name);
        EXPECT_EQ(faces[i].sizeKey, key);
        EXPECT_EQ(faces[i].cellWidth, w);
        EXPECT_EQ(faces[i].cellHeight, h);
        EXPECT_EQ(panelFaceForKey(key), &faces[i]);
        EXPECT_EQ(findPanelFace(name), &faces[i]);
    }
    EXPECT_EQ(panelFaceForKey(0), nullptr);
    EXPECT_EQ(panelFaceForKey(35), nullptr);
    EXPECT_EQ(findPanelFace("orvik7x9"), nullptr);
    EXPECT_EQ(findPanelFace("ORVIK6X8"), nullptr);
}

TEST(PanelFontTest, BuiltInCoversTheCharacterSetWithDistinctGlyphs) {
    const PanelFont& font = PanelFont::builtIn();
    // The shipped file itself must parse, not only the copy compiled in.
    const auto fromFile =
        PanelFont::load(std::filesystem::path(QUILLON_SOURCE_DIR) / "data/fonts/orvik5x7.fnt");
    ASSERT_TRUE(fromFile) << fromFile.message();
    EXPECT_EQ(*fromFile, font);

    for (int code = 0; code < 256; ++code) {
        const bool offered = (code >= 32 && code <= 159) || (code >= 161 && code <= 254);
        EXPECT_EQ(font.hasGlyph(static_cast<std::uint8_t>(code)), offered) << code;
    }
    // Every character but the space is lit somewhere, and no two look alike.
    std::map<std::vector<std::uint8_t>, int> seen;
    for (int code = 33; code < 256; ++code) {
        if (!font.hasGlyph(static_cast<std::uint8_t>(code))) {
            continue;
        }
        std::vector<std::uint8_t> rows;
        for (int r = 0; r < PanelFont::kGlyphHeight; ++r) {
            rows.push_back(font.glyphRow(static_cast<std::uint8_t>(code), r));
        }
        EXPECT_NE(rows, std::vector<std::uint8_t>(7, 0)) << code;
        const auto [it, inserted] = seen.emplace(rows, code);
        EXPECT_TRUE(inserted) << code << " looks like " << it->second;
    }
}

TEST(PanelFontTest, CellsReplicateTheBaseCellAndKeepSpacingBlank) {
    const PanelFont& font = PanelFont::builtIn();
    const PanelFace& base = *panelFaceForKey(10);
    const PanelFace& doubled = *panelFaceForKey(20);
    const auto a = font.cell('A', base);
    const auto a2 = font.cell('A', doubled);
    ASSERT_EQ(a.size(), 48U);
    ASSERT_EQ(a2.size(), 192U);
    for (int y = 0; y < 16; ++y) {
        for (int x = 0; x < 12; ++x) {
            EXPECT_EQ(a2[static_cast<std::size_t>(y * 12 + x)],
                      a[static_cast<std::size_t>(y / 2 * 6 + x / 2)]);
        }
    }
    // The base cell is the glyph at the top left with the spacing column and row dark.
    for (int y = 0; y < 8; ++y) {
        for (int x = 0; x < 6; ++x) {
            const bool lit = y < 7 && x < 5 && ((font.glyphRow('A', y) >> (4 - x)) & 1) != 0;
            EXPECT_EQ(a[static_cast<std::size_t>(y * 6 + x)], lit ? 1 : 0) << x << "," << y;
        }
    }
    // Every face: the right cell size, only 0 and 1, blank for the space and for codes without a glyph.
    for (const PanelFace& face : panelFaces()) {
        const auto size = static_cast<std::size_t>(face.cellWidth * face.cellHeight);
        for (const int code : {0, 31, 32, 160, 255}) {
            const auto blank = font.cell(static_cast<std::uint8_t>(code), face);
            ASSERT_EQ(blank.size(), size);
            EXPECT_TRUE(std::all_of(blank.begin(), blank.end(), [](std::uint8_t v) { return v == 0; }));
        }
        const auto m = font.cell('M', face);
        ASSERT_EQ(m.size(), size);
        EXPECT_TRUE(std::all_of(m.begin(), m.end(), [](std::uint8_t v) { return v <= 1; }));
        EXPECT_EQ(font.cell(158, face).data(), font.cell(158, *findPanelFace(face.name)).data());
        // The last column is character spacing at every size.
        for (int y = 0; y < face.cellHeight; ++y) {
            EXPECT_EQ(m[static_cast<std::size_t>(y * face.cellWidth + face.cellWidth - 1)], 0);
        }
    }
    // A face given by value finds the same cached cells; a size that is no face draws nothing.
    const PanelFace copy{"orvik18x24", 30, 18, 24};
    EXPECT_EQ(font.cell('Q', copy).data(), font.cell('Q', *panelFaceForKey(30)).data());
    EXPECT_TRUE(font.cell('Q', PanelFace{"odd", 33, 7, 9}).empty());
}

TEST(PanelFontTest, FractionalFacesGiveEvenStrokesAtTheGlyphEdgesAndMiddle) {
    const PanelFont& font = PanelFont::builtIn();
    const auto h = font.cell('H', *findPanelFace("orvik9x12"));
    // 'H': left and right stems and the bar, each two pixels wide; the spacing column one pixel.
    for (int y = 0; y < 11; ++y) {
        EXPECT_EQ(h[static_cast<std::size_t>(y * 9 + 0)], 1);
        EXPECT_EQ(h[static_cast<std::size_t>(y * 9 + 1)], 1);
        EXPECT_EQ(h[static_cast<std::size_t>(y * 9 + 6)], 1);
        EXPECT_EQ(h[static_cast<std::size_t>(y * 9 + 7)], 1);
        EXPECT_EQ(h[static_cast<std::size_t>(y * 9 + 8)], 0);
    }
    for (int x = 0; x < 9; ++x) {
        EXPECT_EQ(h[static_cast<std::size_t>(11 * 9 + x)], 0); // spacing row
    }
}

TEST(PanelFontTest, CellsAreSafeToDrawFromSeveralThreads) {
    const PanelFont font = PanelFont::builtIn(); // a copy starts with an empty cache
    std::vector<std::thread> threads;
    std::vector<const std::uint8_t*> seen(4);
    for (std::size_t t = 0; t < seen.size(); ++t) {
        threads.emplace_back([&font, &seen, t] { seen[t] = font.cell('Z', *panelFaceForKey(120)).data(); });
    }
    for (auto& thread : threads) {
        thread.join();
    }
    EXPECT_EQ(std::set<const std::uint8_t*>(seen.begin(), seen.end()).size(), 1U);
}

TEST(PanelFontTest, TinyFileRoundTrips) {
    const auto font = PanelFont::parse(kTiny);
    ASSERT_TRUE(font) << font.message();
    EXPECT_EQ(font->glyphCount(), 2);
    EXPECT_TRUE(font->hasGlyph('A'));
    EXPECT_TRUE(font->hasGlyph(200));
    EXPECT_FALSE(font->hasGlyph('B'));
    EXPECT_EQ(font->glyphRow(200, 0), 0b10000);
    EXPECT_EQ(font->glyphRow(200, 4), 0b11110);
    EXPECT_EQ(font->glyphRow('A', 7), 0);
    EXPECT_EQ(font->cell('A', *panelFaceForKey(10))[1], 1);

    const std::string text = font->format();
    const auto again = PanelFont::parse(text);
    ASSERT_TRUE(again) << again.message();
    EXPECT_EQ(*again, *font);
    EXPECT_EQ(again->format(), text);
    EXPECT_EQ(PanelFont::parse(PanelFont::builtIn().format()).value(), PanelFont::builtIn());

    // Header only: a font without glyphs, every cell blank.
    const auto empty = PanelFont::parse("\xEF\xBB\xBFquillon-panel-font 1");
    ASSERT_TRUE(empty) << empty.message();
    EXPECT_EQ(empty->glyphCount(), 0);
}

TEST(PanelFontTest, ParserRefusesBadFilesWithTheLine) {
    const std::vector<std::pair<std::string, std::string>> cases{
        {"", "Panel font line 1: a panel font file begins with the line \"quillon-panel-font 1\"."},
        {"; comment\nquillon-panel-font 1\n",
         "Panel font line 1: a panel font file begins with the line \"quillon-panel-font 1\"."},
        {"quillon-panel-font 2\n",
         "Panel font line 1: version \"2\" of the panel font format is not supported; "
         "this build reads version 1."},
        {withHeader(glyph("char 256")),
         "Panel font line 2: the character code \"256\" is out of range 0..255."},
        {withHeader(glyph("char 0x1FF")),
         "Panel font line 2: the character code \"0x1FF\" is out of range 0..255."},
        {withHeader(glyph("char 99999999999999999999")),
         "Panel font line 2: the character code \"99999999999999999999\" is out of range 0..255."},
        {withHeader(glyph("char -1")),
         "Panel font line 2: \"char\" must be followed by a character code (decimal or 0x hex)."},
        {withHeader(glyph("char 65") + "\n" + glyph("char 0x41")),
         "Panel font line 11: character code 65 is given twice (first at line 2)."},
        {withHeader("char 65\n#####\n#...#\n\nchar 66\n"),
         "Panel font line 2: the glyph for code 65 has 2 rows; a glyph has 7 rows."},
        {withHeader("char 65\n#####\n#...#\n"),
         "Panel font line 2: the glyph for code 65 has 2 rows; a glyph has 7 rows."},
        {withHeader(glyph("char 65") + "#...#\n"),
         "Panel font line 10: the glyph for code 65 has more than 7 rows."},
        {withHeader("char 65\n####\n"), "Panel font line 3: a glyph row must have 5 dots, not 4."},
        {withHeader("char 65\n######\n"), "Panel font line 3: a glyph row must have 5 dots, not 6."},
        {withHeader("char 65\n#.x.#\n"),
         "Panel font line 3: a glyph row holds only '#' (lit) and '.' (dark), not 'x'."},
        {withHeader("char 65\n#.\t.#\n"),
         "Panel font line 3: a glyph row holds only '#' (lit) and '.' (dark), not byte 0x09."},
        {withHeader("char 65\n#...# ; stem\n"),
         "Panel font line 3: unexpected text \" ; stem\" after the 5 dots of a glyph row."},
        {withHeader(glyph("char 65 A")),
         "Panel font line 2: unexpected text \"A\" after the character code."},
        {withHeader(glyph("char 65x")), "Panel font line 2: unexpected text \"x\" after the character code."},
        {withHeader(glyph("char 65 'A")),
         "Panel font line 2: the label after the character code must end with a quote (')."},
        {withHeader(glyph("char 65 'B'")),
         "Panel font line 2: the label \"B\" does not match the character code 65."},
        {withHeader("#...#\n"),
         "Panel font line 2: expected a glyph line \"char <code>\", a comment starting "
         "with ';' or a blank line, not \"#...#\"."},
        {withHeader(glyph("char 65") + "garbage\n"), "Panel font line 10: expected a glyph line \"char "
                                                     "<code>\", a comment starting with ';' or a blank line, "
                                                     "not \"garbage\"."},
    };
    for (const auto& [text, message] : cases) {
        const auto font = PanelFont::parse(text);
        ASSERT_FALSE(font) << text;
        EXPECT_EQ(font.message(), message) << text;
    }
}

TEST(PanelFontTest, LoadReportsMissingOversizedAndDamagedFiles) {
    const auto dir = std::filesystem::temp_directory_path() /
                     ("quillon_panel_font_" + std::to_string(std::random_device{}()));
    std::filesystem::create_directories(dir);
    const auto write = [&](const std::string& name, const std::string& text) {
        std::ofstream(dir / name, std::ios::binary) << text;
        return dir / name;
    };
    const auto missing = dir / "missing.fnt";
    EXPECT_EQ(PanelFont::load(missing).message(), "Can not load the panel font " + missing.string() + ".");
    EXPECT_EQ(PanelFont::load(dir).message(), "Can not load the panel font " + dir.string() + ".");

    const auto big = write("big.fnt", withHeader(std::string(PanelFont::kMaxFileBytes, '\n')));
    EXPECT_EQ(PanelFont::load(big).message(), "Can not load the panel font " + big.string() +
                                                  ".\nA panel font file holds at most 1048576 bytes.");
    const auto bad = write("bad.fnt", withHeader("char 65\n"));
    EXPECT_EQ(PanelFont::load(bad).message(),
              "Can not load the panel font " + bad.string() +
                  ".\nPanel font line 2: the glyph for code 65 has 0 rows; a glyph has 7 rows.");
    const auto good = write("good.fnt", std::string(kTiny));
    const auto font = PanelFont::load(good);
    ASSERT_TRUE(font) << font.message();
    EXPECT_EQ(font->glyphCount(), 2);
    std::filesystem::remove_all(dir);
}

} // namespace
} // namespace quillon
