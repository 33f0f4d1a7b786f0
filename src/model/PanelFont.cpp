#include "model/PanelFont.h"

#include <algorithm>
#include <atomic>
#include <fstream>
#include <functional>
#include <mutex>
#include <system_error>
#include <vector>

namespace quillon {

// The bytes of data/fonts/orvik5x7.fnt, generated into the build tree when the project is configured.
namespace detail {
extern const unsigned char kBuiltInPanelFont[];
extern const std::size_t kBuiltInPanelFontSize;
} // namespace detail

namespace {

constexpr std::array<PanelFace, 18> kFaces{{
    {"orvik6x8", 10, 6, 8},
    {"orvik9x12", 15, 9, 12},
    {"orvik12x16", 20, 12, 16},
    {"orvik15x20", 25, 15, 20},
    {"orvik18x24", 30, 18, 24},
    {"orvik24x32", 40, 24, 32},
    {"orvik30x40", 50, 30, 40},
    {"orvik36x48", 60, 36, 48},
    {"orvik48x64", 80, 48, 64},
    {"orvik60x80", 100, 60, 80},
    {"orvik72x96", 120, 72, 96},
    {"orvik42x56", 70, 42, 56},
    {"orvik84x112", 140, 84, 112},
    {"orvik96x128", 160, 96, 128},
    {"orvik120x160", 200, 120, 160},
    {"orvik144x192", 240, 144, 192},
    {"orvik168x224", 280, 168, 224},
    {"orvik192x256", 320, 192, 256},
}};

constexpr std::size_t kCodes = 256;
// Quoted pieces of a bad line are cut here so that one endless line does not make an endless message.
constexpr std::size_t kQuoteLimit = 24;

std::string lineMessage(std::size_t line, const std::string& text) {
    return "Panel font line " + std::to_string(line) + ": " + text;
}

std::string quoted(std::string_view text) {
    std::string out = "\"";
    for (const char c : text.substr(0, kQuoteLimit)) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte >= 0x20 && byte < 0x7F) {
            out += c;
        } else {
            out += '?';
        }
    }
    if (text.size() > kQuoteLimit) {
        out += "...";
    }
    return out + "\"";
}

std::string describeByte(char c) {
    const auto byte = static_cast<unsigned char>(c);
    if (byte > 0x20 && byte < 0x7F) {
        return std::string("'") + c + "'";
    }
    static constexpr char kHex[] = "0123456789ABCDEF";
    return std::string("byte 0x") + kHex[byte >> 4] + kHex[byte & 0x0F];
}

bool isBlank(char c) noexcept {
    return c == ' ' || c == '\t';
}

std::string_view trimRight(std::string_view s) noexcept {
    while (!s.empty() && (isBlank(s.back()) || s.back() == '\r')) {
        s.remove_suffix(1);
    }
    return s;
}

bool isDotRow(std::string_view s) noexcept {
    return !s.empty() && std::all_of(s.begin(), s.end(), [](char c) { return c == '#' || c == '.'; });
}

struct CodeLine {
    std::uint32_t code = 0;
    std::string_view label;
    bool hasLabel = false;
};

// "char <code> ['label']": the code in decimal or 0x hex, then nothing but an optional quoted label.
Result<CodeLine> parseCodeLine(std::string_view line, std::size_t lineNo) {
    using R = Result<CodeLine>;
    std::string_view rest = line.substr(4);
    while (!rest.empty() && isBlank(rest.front())) {
        rest.remove_prefix(1);
    }
    const std::string_view token = rest;
    std::uint32_t base = 10;
    if (rest.size() >= 2 && rest[0] == '0' && (rest[1] == 'x' || rest[1] == 'X')) {
        base = 16;
        rest.remove_prefix(2);
    }
    std::size_t digits = 0;
    std::uint32_t value = 0;
    bool tooLarge = false;
    for (; digits < rest.size(); ++digits) {
        const char c = rest[digits];
        std::uint32_t digit = 0;
        if (c >= '0' && c <= '9') {
            digit = static_cast<std::uint32_t>(c - '0');
        } else if (base == 16 && c >= 'a' && c <= 'f') {
            digit = static_cast<std::uint32_t>(c - 'a' + 10);
        } else if (base == 16 && c >= 'A' && c <= 'F') {
            digit = static_cast<std::uint32_t>(c - 'A' + 10);
        } else {
            break;
        }
        value = value * base + digit;
        if (value > 0xFFFF) {
            tooLarge = true; // keeps the sum small; the exact value no longer matters
            value = 0xFFFF;
        }
    }
    if (digits == 0) {
        return R::fail(
            lineMessage(lineNo, "\"char\" must be followed by a character code (decimal or 0x hex)."));
    }
    const std::string_view codeText = token.substr(0, digits + (base == 16 ? 2 : 0));
    if (tooLarge || value >= kCodes) {
        return R::fail(
            lineMessage(lineNo, "the character code " + quoted(codeText) + " is out of range 0..255."));
    }
    rest.remove_prefix(digits);
    CodeLine result{value, {}, false};
    if (rest.empty()) {
        return result;
    }
    if (!isBlank(rest.front())) {
        return R::fail(lineMessage(lineNo, "unexpected text " + quoted(rest) + " after the character code."));
    }
    while (!rest.empty() && isBlank(rest.front())) {
        rest.remove_prefix(1);
    }
    if (rest.empty() || rest.front() != '\'') {
        return R::fail(lineMessage(lineNo, "unexpected text " + quoted(rest) + " after the character code."));
    }
    if (rest.size() < 2 || rest.back() != '\'') {
        return R::fail(lineMessage(lineNo, "the label after the character code must end with a quote (')."));
    }
    result.label = rest.substr(1, rest.size() - 2);
    result.hasLabel = true;
    // A one-character label names the character itself, so it catches a glyph filed under the wrong code.
    if (result.label.size() == 1 && static_cast<unsigned char>(result.label.front()) != value) {
        return R::fail(lineMessage(lineNo, "the label " + quoted(result.label) +
                                               " does not match the character code " + std::to_string(value) +
                                               "."));
    }
    return result;
}

} // namespace

// `drawn` is the hot path's only synchronisation: once a face's cells exist, a lookup is one acquire load.
struct PanelFont::CellCache {
    std::array<std::once_flag, kFaces.size()> once;
    std::array<std::atomic<const std::uint8_t*>, kFaces.size()> drawn{};
    std::array<std::vector<std::uint8_t>, kFaces.size()> cells;
};

std::span<const PanelFace> panelFaces() noexcept {
    return kFaces;
}

const PanelFace* panelFaceForKey(std::int32_t sizeKey) noexcept {
    const auto it = std::find_if(kFaces.begin(), kFaces.end(),
                                 [sizeKey](const PanelFace& f) { return f.sizeKey == sizeKey; });
    return it == kFaces.end() ? nullptr : &*it;
}

const PanelFace* findPanelFace(std::string_view name) noexcept {
    const auto it =
        std::find_if(kFaces.begin(), kFaces.end(), [name](const PanelFace& f) { return f.name == name; });
    return it == kFaces.end() ? nullptr : &*it;
}

PanelFont::PanelFont() : cache_(std::make_unique<CellCache>()) {}

PanelFont::PanelFont(const PanelFont& other)
    : rows_(other.rows_), present_(other.present_), cache_(std::make_unique<CellCache>()) {}

PanelFont& PanelFont::operator=(const PanelFont& other) {
    if (this != &other) {
        rows_ = other.rows_;
        present_ = other.present_;
        cache_ = std::make_unique<CellCache>();
    }
    return *this;
}

PanelFont::PanelFont(PanelFont&&) noexcept = default;
PanelFont& PanelFont::operator=(PanelFont&&) noexcept = default;
PanelFont::~PanelFont() = default;

Result<PanelFont> PanelFont::parse(std::string_view text) {
    using R = Result<PanelFont>;
    constexpr std::string_view kBom = "\xEF\xBB\xBF";
    if (text.starts_with(kBom)) {
        text.remove_prefix(kBom.size());
    }
    const std::string header = std::string(kFormatName) + " " + std::string(kFormatVersion);

    PanelFont font;
    std::array<std::size_t, kCodes> definedAt{};
    std::size_t lineNo = 0;
    // The glyph being read: its code, the line of its "char" line and how many rows it has so far.
    std::uint32_t code = 0;
    std::size_t glyphLine = 0;
    std::int32_t rowsRead = kGlyphHeight;
    bool glyphJustEnded = false;
    const auto unfinished = [&]() {
        return R::fail(lineMessage(glyphLine, "the glyph for code " + std::to_string(code) + " has " +
                                                  std::to_string(rowsRead) + " rows; a glyph has 7 rows."));
    };

    std::size_t pos = 0;
    while (pos < text.size() || lineNo == 0) {
        const std::size_t end = std::min(text.find('\n', pos), text.size());
        const std::string_view line = trimRight(text.substr(pos, end - pos));
        pos = end + 1;
        ++lineNo;

        if (lineNo == 1) {
            if (line == header) {
                continue;
            }
            const std::string prefix = std::string(kFormatName) + " ";
            if (line.starts_with(prefix)) {
                return R::fail(lineMessage(1, "version " + quoted(line.substr(prefix.size())) +
                                                  " of the panel font format is not supported; this build "
                                                  "reads version " +
                                                  std::string(kFormatVersion) + "."));
            }
            return R::fail(lineMessage(1, "a panel font file begins with the line \"" + header + "\"."));
        }

        if (rowsRead < kGlyphHeight) {
            if (!isDotRow(line)) {
                const auto bad =
                    std::find_if(line.begin(), line.end(), [](char c) { return c != '#' && c != '.'; });
                const auto at = static_cast<std::size_t>(bad - line.begin());
                if (line.empty() || line.front() == ';' || line.starts_with("char")) {
                    return unfinished();
                }
                if (at >= static_cast<std::size_t>(kGlyphWidth)) {
                    return R::fail(lineMessage(lineNo, "unexpected text " + quoted(line.substr(at)) +
                                                           " after the 5 dots of a glyph row."));
                }
                return R::fail(lineMessage(lineNo, "a glyph row holds only '#' (lit) and '.' (dark), not " +
                                                       describeByte(*bad) + "."));
            }
            if (line.size() != static_cast<std::size_t>(kGlyphWidth)) {
                return R::fail(lineMessage(lineNo, "a glyph row must have 5 dots, not " +
                                                       std::to_string(line.size()) + "."));
            }
            std::uint8_t bits = 0;
            for (const char c : line) {
                bits = static_cast<std::uint8_t>((bits << 1) | (c == '#' ? 1 : 0));
            }
            font.rows_[code][static_cast<std::size_t>(rowsRead)] = bits;
            ++rowsRead;
            glyphJustEnded = rowsRead == kGlyphHeight;
            continue;
        }

        const bool afterGlyph = glyphJustEnded;
        glyphJustEnded = false;
        if (line.empty() || line.front() == ';') {
            continue;
        }
        if (line.starts_with("char") && (line.size() == 4 || isBlank(line[4]))) {
            auto parsed = parseCodeLine(line, lineNo);
            if (!parsed) {
                return parsed.failure();
            }
            code = parsed->code;
            if (definedAt[code] != 0) {
                return R::fail(lineMessage(lineNo, "character code " + std::to_string(code) +
                                                       " is given twice (first at line " +
                                                       std::to_string(definedAt[code]) + ")."));
            }
            definedAt[code] = lineNo;
            font.present_.set(code);
            glyphLine = lineNo;
            rowsRead = 0;
            continue;
        }
        if (afterGlyph && isDotRow(line)) {
            return R::fail(
                lineMessage(lineNo, "the glyph for code " + std::to_string(code) + " has more than 7 rows."));
        }
        return R::fail(
            lineMessage(lineNo, "expected a glyph line \"char <code>\", a comment starting with ';' "
                                "or a blank line, not " +
                                    quoted(line) + "."));
    }
    if (rowsRead < kGlyphHeight) {
        return unfinished();
    }
    return font;
}

Result<PanelFont> PanelFont::load(const std::filesystem::path& file) {
    using R = Result<PanelFont>;
    const std::string cannotLoad = "Can not load the panel font " + file.string() + ".";
    std::error_code ec;
    if (!std::filesystem::is_regular_file(file, ec)) {
        return R::fail(cannotLoad);
    }
    const std::uintmax_t size = std::filesystem::file_size(file, ec);
    if (ec) {
        return R::fail(cannotLoad);
    }
    if (size > kMaxFileBytes) {
        return R::fail(cannotLoad + "\nA panel font file holds at most " + std::to_string(kMaxFileBytes) +
                       " bytes.");
    }
    std::string text(static_cast<std::size_t>(size), '\0');
    std::ifstream in(file, std::ios::binary);
    if (!in.read(text.data(), static_cast<std::streamsize>(text.size()))) {
        return R::fail(cannotLoad);
    }
    auto font = parse(text);
    if (!font) {
        return R::fail(cannotLoad + "\n" + font.message());
    }
    return font;
}

const PanelFont& PanelFont::builtIn() {
    // The shipped file is checked by the tests; should it ever fail to parse, text draws blank rather than
    // the tool failing to start.
    static const PanelFont font = [] {
        auto parsed = parse(std::string_view(reinterpret_cast<const char*>(detail::kBuiltInPanelFont),
                                             detail::kBuiltInPanelFontSize));
        return parsed ? std::move(parsed).value() : PanelFont();
    }();
    return font;
}

std::string PanelFont::format() const {
    std::string out = std::string(kFormatName) + " " + std::string(kFormatVersion) + "\n";
    for (std::size_t code = 0; code < kCodes; ++code) {
        if (!present_.test(code)) {
            continue;
        }
        out += "\nchar " + std::to_string(code);
        if (code >= 0x20 && code < 0x7F) {
            out += " '";
            out += static_cast<char>(code);
            out += "'";
        }
        out += '\n';
        for (const std::uint8_t bits : rows_[code]) {
            for (std::int32_t x = kGlyphWidth - 1; x >= 0; --x) {
                out += ((bits >> x) & 1U) != 0 ? '#' : '.';
            }
            out += '\n';
        }
    }
    return out;
}

std::uint8_t PanelFont::glyphRow(std::uint8_t code, std::int32_t row) const noexcept {
    if (row < 0 || row >= kGlyphHeight) {
        return 0;
    }
    return rows_[code][static_cast<std::size_t>(row)];
}

std::int32_t PanelFont::faceIndex(const PanelFace& face) noexcept {
    const std::less<const PanelFace*> before;
    if (!before(&face, kFaces.data()) && before(&face, kFaces.data() + kFaces.size())) {
        return static_cast<std::int32_t>(&face - kFaces.data());
    }
    for (std::size_t i = 0; i < kFaces.size(); ++i) {
        if (kFaces[i].cellWidth == face.cellWidth && kFaces[i].cellHeight == face.cellHeight) {
            return static_cast<std::int32_t>(i);
        }
    }
    return -1;
}

// Each cell pixel takes the base cell pixel (x × 6 / w, y × 8 / h): plain replication for the integer
// multiples; for 9 × 12 and 15 × 20 the glyph's outer and middle columns and its even rows get the wider
// share, which keeps both sides of a glyph alike and, with this character set, thickens the most strokes.
void PanelFont::fillFace(std::int32_t index) const {
    const PanelFace& face = kFaces[static_cast<std::size_t>(index)];
    const auto w = static_cast<std::size_t>(face.cellWidth);
    const auto h = static_cast<std::size_t>(face.cellHeight);
    std::vector<std::int32_t> column(w);
    for (std::size_t x = 0; x < w; ++x) {
        column[x] = static_cast<std::int32_t>(x * kBaseCellWidth / w);
    }
    std::vector<std::uint8_t> cells(kCodes * w * h, 0);
    for (std::size_t code = 0; code < kCodes; ++code) {
        if (!present_.test(code)) {
            continue;
        }
        std::uint8_t* out = cells.data() + code * w * h;
        for (std::size_t y = 0; y < h; ++y) {
            const auto baseRow = static_cast<std::int32_t>(y * kBaseCellHeight / h);
            if (baseRow >= kGlyphHeight) {
                continue; // the spacing row under every character
            }
            const std::uint8_t bits = rows_[code][static_cast<std::size_t>(baseRow)];
            for (std::size_t x = 0; x < w; ++x) {
                const std::int32_t baseColumn = column[x];
                if (baseColumn < kGlyphWidth) {
                    out[y * w + x] = static_cast<std::uint8_t>((bits >> (kGlyphWidth - 1 - baseColumn)) & 1U);
                }
            }
        }
    }
    const auto i = static_cast<std::size_t>(index);
    cache_->cells[i] = std::move(cells);
    cache_->drawn[i].store(cache_->cells[i].data(), std::memory_order_release);
}

std::span<const std::uint8_t> PanelFont::cell(std::uint8_t code, const PanelFace& face) const {
    const std::int32_t index = faceIndex(face);
    if (index < 0 || !cache_) {
        return {};
    }
    const auto i = static_cast<std::size_t>(index);
    const std::uint8_t* cells = cache_->drawn[i].load(std::memory_order_acquire);
    if (cells == nullptr) {
        std::call_once(cache_->once[i], [this, index] { fillFace(index); });
        cells = cache_->drawn[i].load(std::memory_order_acquire);
    }
    const std::size_t size =
        static_cast<std::size_t>(kFaces[i].cellWidth) * static_cast<std::size_t>(kFaces[i].cellHeight);
    return {cells + code * size, size};
}

} // namespace quillon
