#include "report/ReportLayout.h"

#include "model/Application.h"
#include "model/PanelModel.h"
#include "model/Screen.h"
#include "model/TextFormat.h"

#include <algorithm>

namespace quillon {

// Fills the pages of the documents one line slot after the other. A page has slots 0 to linesPerPage + 2
// (a heading, a blank line and column titles above linesPerPage lines); the page number stands in slot
// linesPerPage + 4.
class ReportLayout::Pager final {
public:
    Pager(const ReportLayout& layout, int firstNumber) : layout_(layout), nextNumber_(firstNumber) {}

    void startDocument(std::string_view name) {
        documents_.push_back({std::string(name), {}});
        pageOpen_ = false;
    }

    void endDocument() {
        if (pageOpen_) {
            closePage();
        }
    }

    ReportPage& page() {
        if (!pageOpen_) {
            openPage();
        }
        return documents_.back().pages.back();
    }
    bool pageEmpty() const noexcept { return !pageOpen_ || documents_.back().pages.back().items.empty(); }
    bool firstPageOfDocument() const noexcept { return documents_.back().pages.size() <= 1; }

    // Places a line `gap` slots below the last one; false when it does not fit on this page.
    bool tryPlace(const ReportLine& line) {
        const int slot = pageEmpty() ? 0 : slot_ + line.gap;
        if (slot > lastSlot()) {
            return false;
        }
        put(line, slot);
        return true;
    }
    // Places a line in the next slot of a new page (after what `titles` put at its top).
    void placeOnNewPage(const ReportLine& line, const std::vector<ReportLine>& titles) {
        if (pageOpen_) {
            closePage();
        }
        openPage();
        bool first = true;
        for (const ReportLine& title : titles) {
            put(title, first ? 0 : slot_ + title.gap);
            first = false;
        }
        put(line, first ? 0 : std::min(slot_ + 1, lastSlot()));
    }

    void newPage() {
        if (pageOpen_) {
            closePage();
        }
        openPage();
    }

    std::vector<ReportDocument> take() { return std::move(documents_); }

private:
    int lastSlot() const noexcept { return layout_.linesPerPage() + 2; }

    void put(const ReportLine& line, int slot) {
        ReportItem item;
        item.kind = line.heading ? ReportItem::Kind::Heading : ReportItem::Kind::Body;
        item.y = slot * layout_.metrics_.lineHeight;
        item.text = line.text;
        page().items.push_back(std::move(item));
        slot_ = slot;
    }

    void openPage() {
        documents_.back().pages.push_back({nextNumber_++, {}});
        pageOpen_ = true;
        slot_ = 0;
    }

    void closePage() {
        ReportPage& current = documents_.back().pages.back();
        ReportItem number;
        number.kind = ReportItem::Kind::PageNumber;
        number.y = layout_.pageNumberTop();
        number.width = layout_.metrics_.printableWidth;
        number.text = pageNumberText(current.number);
        current.items.push_back(std::move(number));
        pageOpen_ = false;
    }

    const ReportLayout& layout_;
    int nextNumber_;
    std::vector<ReportDocument> documents_;
    bool pageOpen_ = false;
    int slot_ = 0;
};

ReportLayout::ReportLayout(const PageMetrics& metrics) : metrics_(metrics) {
    if (metrics_.lineHeight > 0) {
        linesPerPage_ = std::max(1, (metrics_.printableHeight - kReservedLines * metrics_.lineHeight) /
                                        metrics_.lineHeight);
    }
}

std::int32_t ReportLayout::pageNumberTop() const noexcept {
    return (linesPerPage_ + 4) * metrics_.lineHeight;
}

std::string ReportLayout::pageNumberText(int number) {
    return formatText("Page No : %d", number);
}

int ReportLayout::screensPerPage(const Application& app) const noexcept {
    const CanvasSize size = displaySize(app.modelSelection().modelClass);
    const std::int32_t block = 5 * metrics_.lineHeight + 4 * size.height + 10;
    // The first page's heading and the page number keep their lines.
    const std::int32_t room = pageNumberTop() - 2 * metrics_.lineHeight;
    return block > 0 ? std::max(1, room / block) : 1;
}

std::size_t ReportLayout::charactersPerLine() const noexcept {
    const std::int32_t fit = metrics_.charWidth > 0 ? metrics_.printableWidth / metrics_.charWidth : 0;
    return static_cast<std::size_t>(std::max<std::int32_t>(20, fit));
}

void ReportLayout::flow(Pager& pager, const std::vector<ReportLine>& lines,
                        const std::vector<ReportLine>& titles) const {
    const std::size_t width = charactersPerLine();
    const auto place = [&](const ReportLine& line) {
        if (!pager.tryPlace(line)) {
            pager.placeOnNewPage(line, titles);
        }
    };
    for (const ReportLine& line : lines) {
        if (line.heading || line.text.size() <= width) {
            place(line);
            continue;
        }
        place({line.text.substr(0, width), false, line.gap});
        const std::string indent(kContinuationIndent, ' ');
        for (std::size_t at = width; at < line.text.size(); at += width - kContinuationIndent) {
            place({indent + line.text.substr(at, width - kContinuationIndent)});
        }
    }
}

void ReportLayout::screens(Pager& pager, const Application& app) const {
    const CanvasSize size = displaySize(app.modelSelection().modelClass);
    const std::int32_t width = 4 * size.width + 10;
    const std::int32_t height = 4 * size.height + 10;
    const std::int32_t block = 5 * metrics_.lineHeight + height;
    const int perPage = screensPerPage(app);
    const std::size_t count = app.screenCount();
    for (std::size_t i = 0; i < count; ++i) {
        const auto onPage = static_cast<int>(i % static_cast<std::size_t>(perPage));
        if (onPage == 0) {
            pager.newPage();
        }
        const bool firstPage = pager.firstPageOfDocument();
        ReportPage& page = pager.page();
        std::int32_t top = onPage * block;
        if (firstPage) {
            if (onPage == 0) {
                page.items.push_back({ReportItem::Kind::Heading, 0, 0, 0, 0, "Quillon Screens :", nullptr});
            }
            top += 2 * metrics_.lineHeight;
        }
        // Centred on the first page; later pages start 20 characters in.
        const std::int32_t x =
            firstPage ? std::max(0, (metrics_.printableWidth - width) / 2) : 20 * metrics_.charWidth;
        page.items.push_back(
            {ReportItem::Kind::Body, x, top, 0, 0, ReportSections::screenLine(app, i), nullptr});
        page.items.push_back({ReportItem::Kind::Screen,
                              x,
                              top + 2 * metrics_.lineHeight,
                              width,
                              height,
                              {},
                              app.screens()[i].get()});
    }
}

std::vector<ReportDocument> ReportLayout::build(const Application& app, const PrintSelection& selection,
                                                int firstPageNumber) const {
    const std::uint32_t model = app.modelId();
    const auto chosen = [&](ReportSection s) { return selection.prints(s, model); };
    Pager pager(*this, firstPageNumber);

    if (chosen(ReportSection::Information) || chosen(ReportSection::UnitSettings) ||
        chosen(ReportSection::Nodes)) {
        pager.startDocument(kFirstDocument);
        std::vector<ReportLine> lines;
        const auto append = [&lines](std::vector<ReportLine> section) {
            if (!lines.empty() && !section.empty()) {
                section.front().gap = kSectionGap;
            }
            lines.insert(lines.end(), section.begin(), section.end());
        };
        if (chosen(ReportSection::Information)) {
            append(ReportSections::information(app));
        }
        if (chosen(ReportSection::UnitSettings)) {
            append(ReportSections::unitSettings(app));
        }
        if (chosen(ReportSection::Nodes)) {
            append(ReportSections::nodes(app));
        }
        flow(pager, lines, {});
        pager.endDocument();
    }

    if (chosen(ReportSection::Tags) && app.tagCount() > 0) {
        pager.startDocument(kFirstDocument);
        const std::vector<ReportLine> titles = {{"Quillon Tags :", true},
                                                {ReportSections::tagTitles(), false, 2}};
        std::vector<ReportLine> lines = titles;
        for (std::string& line : ReportSections::tagLines(app)) {
            lines.push_back({std::move(line)});
        }
        flow(pager, lines, titles);
        pager.endDocument();
    }

    if (chosen(ReportSection::Screens) && app.screenCount() > 0) {
        pager.startDocument(kFirstDocument);
        screens(pager, app);
        pager.endDocument();
    }

    const bool lists = chosen(ReportSection::ApplicationTasks);
    const bool keys = chosen(ReportSection::GlobalKeys);
    if (lists || keys) {
        pager.startDocument(kTaskDocument);
        flow(pager, ReportSections::applicationTasks(app, lists, keys), {});
        pager.endDocument();
    }
    if (chosen(ReportSection::ScreenTasks)) {
        pager.startDocument(kTaskDocument);
        flow(pager, ReportSections::screenTasks(app), {});
        pager.endDocument();
    }
    if (chosen(ReportSection::ScreenKeys)) {
        pager.startDocument(kTaskDocument);
        flow(pager, ReportSections::screenKeys(app), {});
        pager.endDocument();
    }
    if (chosen(ReportSection::Alarms)) {
        pager.startDocument(kTaskDocument);
        const ReportLine titles{ReportSections::alarmTitles(), false, 2};
        std::vector<ReportLine> lines = {{"Quillon Alarms :", true}, titles};
        for (std::string& line : ReportSections::alarmLines(app)) {
            lines.push_back({std::move(line)});
        }
        flow(pager, lines, {{titles.text}});
        pager.endDocument();
    }
    return pager.take();
}

std::vector<ReportDocument> ReportLayout::pagesBetween(std::vector<ReportDocument> documents, int first,
                                                       int last) {
    std::vector<ReportDocument> kept;
    for (ReportDocument& document : documents) {
        std::erase_if(document.pages, [first, last](const ReportPage& page) {
            return page.number < first || page.number > last;
        });
        if (!document.pages.empty()) {
            kept.push_back(std::move(document));
        }
    }
    return kept;
}

} // namespace quillon
