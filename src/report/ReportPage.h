#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace quillon {

class Screen;

// What the printer tells about its page, in its own pixels: the body font's line height (character
// height plus external leading) and average character width, and the printable area.
struct PageMetrics {
    std::int32_t lineHeight = 0;
    std::int32_t charWidth = 0;
    std::int32_t printableWidth = 0;
    std::int32_t printableHeight = 0;
};

// One thing printed on a page, placed in printer pixels from the top-left corner of the printable area.
struct ReportItem {
    enum class Kind : std::uint8_t {
        Body,       // a line in the body font; `y` is the top of its line
        Heading,    // a section heading (its own font, underlined)
        PageNumber, // "Page No : n", centred across the printable width
        Screen,     // a screen's picture in the rectangle x, y, width, height
    };
    Kind kind = Kind::Body;
    std::int32_t x = 0;
    std::int32_t y = 0;
    std::int32_t width = 0;
    std::int32_t height = 0;
    std::string text;
    const Screen* screen = nullptr;
};

struct ReportPage {
    int number = 0;
    std::vector<ReportItem> items;
};

// One print document: the printer receives each as a job of its own, under its name.
struct ReportDocument {
    std::string name;
    std::vector<ReportPage> pages;
};

} // namespace quillon
