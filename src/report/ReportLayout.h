#pragma once

#include "report/PrintSelection.h"
#include "report/ReportPage.h"
#include "report/ReportSections.h"

#include <cstdint>
#include <string>
#include <vector>

namespace quillon {

class Application;

// Lays the chosen sections of the report out on pages of a printer: which documents, in which order,
// what each page holds and where. Every page has room for `linesPerPage` lines below its heading and
// column titles, and carries its number two lines below that room.
class ReportLayout final {
public:
    static constexpr std::string_view kFirstDocument = "MyDoc";
    static constexpr std::string_view kTaskDocument = "PrimPrint";
    static constexpr int kReservedLines = 7;
    static constexpr int kSectionGap = 4;

    explicit ReportLayout(const PageMetrics& metrics);

    // (printable height - 7 line heights) / line height; at least one line.
    int linesPerPage() const noexcept { return linesPerPage_; }
    // Where the page number stands, from the top of the printable area.
    std::int32_t pageNumberTop() const noexcept;
    // How many screens a page holds; at least one.
    int screensPerPage(const Application& app) const noexcept;
    static std::string pageNumberText(int number);
    // How many characters of the body font a line holds (at least 20); a longer line goes on in the lines
    // below it, indented by kContinuationIndent, so that nothing is cut off at the paper's edge.
    std::size_t charactersPerLine() const noexcept;
    static constexpr std::size_t kContinuationIndent = 4;

    // The documents of the report, their pages numbered on from `firstPageNumber`.
    std::vector<ReportDocument> build(const Application& app, const PrintSelection& selection,
                                      int firstPageNumber = 1) const;

    // Only the pages numbered from `first` to `last` (the range chosen in the print dialog); a document
    // left without pages is left out.
    static std::vector<ReportDocument> pagesBetween(std::vector<ReportDocument> documents, int first,
                                                    int last);

private:
    class Pager;
    // Lines flowing over as many pages as they need; `titles` start every page after the first.
    void flow(Pager& pager, const std::vector<ReportLine>& lines,
              const std::vector<ReportLine>& titles) const;
    void screens(Pager& pager, const Application& app) const;

    PageMetrics metrics_;
    int linesPerPage_ = 1;
};

} // namespace quillon
