#pragma once

#include "model/DrawingSurface.h"
#include "model/Result.h"
#include "report/ReportPage.h"

#include <functional>
#include <limits>
#include <vector>

#include <QByteArray>
#include <QFont>
#include <QImage>
#include <QPageLayout>

class QPagedPaintDevice;
class QPaintDevice;
class QPainter;

namespace quillon {
class Application;
class PrintSelection;
class PanelFont;
class PictureSource;
} // namespace quillon

namespace quillon::gui {

// Paints the pages of the application report on a printer or a PDF writer. Screen pictures come from
// the screen editor's own renderer, pixel for pixel, and go onto the page as filled rectangles of the
// printer's pixels (or, for a picture too finely patterned for that, as an image of the printer's
// resolution), so they stay sharp at any size.
class ReportPainter final {
public:
    // The resolution the report is laid out at, on a PDF file and on every printer (a common laser
    // printer's): the pictures, two printer pixels for each pixel of the screen drawn at zoom two, then have
    // the same size on paper whatever the printer, and a printed report is the same as its PDF file.
    static constexpr int kResolution = 600;

    ReportPainter(const Application& app, const PanelFont& font, const PictureSource* pictures,
                  DrawClock clock);

    // The body font: fixed-pitch, so that the columns built with blanks line up.
    static QFont bodyFont();
    // Section headings: "Arial" of weight 500, underlined.
    static QFont headingFont();
    // A4 portrait with margins of 10 mm: the page the report is laid out on unless the user chose another.
    static QPageLayout defaultPageLayout();
    // Line height, character width and printable area of the device, in its pixels.
    static PageMetrics metrics(QPaintDevice& device);

    // Paints one page; the painter's origin is the top-left corner of the printable area.
    void paintPage(QPainter& painter, const ReportPage& page);
    // The documents one after the other on the device as one run of pages (a PDF file). `betweenPages`
    // runs after every page and stops the run when it returns false.
    Status paintAll(QPagedPaintDevice& device, const std::vector<ReportDocument>& documents,
                    const std::function<bool()>& betweenPages = {});

    // The chosen sections as one PDF file of the page layout, laid out at kResolution, the pages numbered
    // from `firstPage` to `lastPage` only. `pages` is 0 when there is nothing to print.
    struct Pdf {
        QByteArray bytes;
        std::size_t pages = 0;
    };
    Result<Pdf> pdf(const PrintSelection& selection, const QPageLayout& layout, const QString& title,
                    const std::function<bool()>& betweenPages = {}, int firstPage = 1,
                    int lastPage = std::numeric_limits<int>::max());

    // The screen as the report shows it: drawn at zoom two on a white picture of twice the screen's size
    // plus five pixels, inside a black frame.
    QImage framedScreen(const Screen& screen);
    // The first screen that could not be drawn whole (a picture missing from the library ...).
    const Status& drawingFailure() const noexcept { return failure_; }

    // A picture stretched over the target rectangle without smoothing: filled rectangles, one for each run
    // of a colour (white is left as the paper), or an image of the target's size when there would be too
    // many of them.
    static void paintPicture(QPainter& painter, const QImage& picture, const QRect& target);
    static constexpr std::size_t kMaxRectangles = 12000;

private:
    const Application& app_;
    const PanelFont& font_;
    const PictureSource* pictures_;
    DrawClock clock_;
    Status failure_;
};

} // namespace quillon::gui
