#include "print/ReportPainter.h"

#include "model/Application.h"
#include "model/CanvasGeometry.h"
#include "model/Screen.h"
#include "report/PrintSelection.h"
#include "report/ReportLayout.h"
#include "ui/ScreenImage.h"

#include <algorithm>

#include <QBuffer>
#include <QFontMetrics>
#include <QPageSize>
#include <QPagedPaintDevice>
#include <QPainter>
#include <QPdfWriter>

namespace quillon::gui {
namespace {

struct Run {
    int left = 0;
    int right = 0; // exclusive
    QRgb colour = 0;
    int top = 0;
};

struct Block {
    QRect rect;
    QRgb colour = 0;
};

// The picture's non-white pixels as rectangles: runs of one colour in a row, joined with the same run in
// the rows below. Nothing when there would be more than `limit`.
bool pictureBlocks(const QImage& picture, std::vector<Block>& blocks, std::size_t limit) {
    const QRgb white = qRgb(255, 255, 255);
    std::vector<Run> open;
    std::vector<Run> row;
    std::vector<Run> next;
    const auto close = [&](const Run& run, int bottom) {
        blocks.push_back({QRect(run.left, run.top, run.right - run.left, bottom - run.top), run.colour});
    };
    for (int y = 0; y <= picture.height(); ++y) {
        row.clear();
        if (y < picture.height()) {
            const auto* line = reinterpret_cast<const QRgb*>(picture.constScanLine(y));
            int x = 0;
            while (x < picture.width()) {
                const QRgb c = line[x] | 0xFF000000U;
                int end = x + 1;
                while (end < picture.width() && (line[end] | 0xFF000000U) == c) {
                    ++end;
                }
                if (c != white) {
                    row.push_back({x, end, c, y});
                }
                x = end;
            }
        }
        // Both lists run left to right: a run that continues one of the row above keeps its top.
        next.clear();
        std::size_t o = 0;
        for (Run run : row) {
            while (o < open.size() && open[o].left < run.left) {
                close(open[o++], y);
            }
            if (o < open.size() && open[o].left == run.left && open[o].right == run.right &&
                open[o].colour == run.colour) {
                run.top = open[o++].top;
            }
            next.push_back(run);
        }
        while (o < open.size()) {
            close(open[o++], y);
        }
        open.swap(next);
        if (blocks.size() + open.size() > limit) {
            return false;
        }
    }
    return true;
}

} // namespace

ReportPainter::ReportPainter(const Application& app, const PanelFont& font, const PictureSource* pictures,
                             DrawClock clock)
    : app_(app), font_(font), pictures_(pictures), clock_(clock) {}

QFont ReportPainter::bodyFont() {
    QFont font("DejaVu Sans Mono", 10);
    font.setStyleHint(QFont::TypeWriter);
    font.setFixedPitch(true);
    return font;
}

QFont ReportPainter::headingFont() {
    QFont font("Arial", 10);
    font.setStyleHint(QFont::SansSerif);
    font.setWeight(QFont::Medium);
    font.setUnderline(true);
    return font;
}

QPageLayout ReportPainter::defaultPageLayout() {
    return QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait, QMarginsF(10, 10, 10, 10),
                       QPageLayout::Millimeter);
}

PageMetrics ReportPainter::metrics(QPaintDevice& device) {
    const QFontMetrics body(bodyFont(), &device);
    PageMetrics m;
    m.lineHeight = body.height() + body.leading();
    m.charWidth = body.averageCharWidth();
    m.printableWidth = device.width();
    m.printableHeight = device.height();
    return m;
}

QImage ReportPainter::framedScreen(const Screen& screen) {
    DrawParameters parameters;
    parameters.zoom = 20;
    parameters.displayClass = app_.modelSelection().modelClass;
    parameters.pictures = pictures_;
    parameters.clock = clock_;
    Status drawn;
    const QImage drawing =
        ScreenImage::render(app_, screen, parameters, ScreenGridOptions{}, font_, {}, &drawn);
    if (!drawn && failure_) {
        failure_ = Status::fail("Screen " + std::to_string(screen.number()) + ": " + drawn.message());
    }
    QImage framed(drawing.width() + 5, drawing.height() + 5, QImage::Format_RGB32);
    framed.fill(Qt::white);
    QPainter painter(&framed);
    painter.setPen(QPen(Qt::black, 0));
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(0, 0, framed.width() - 1, framed.height() - 1);
    painter.drawImage(2, 2, drawing);
    return framed;
}

void ReportPainter::paintPicture(QPainter& painter, const QImage& picture, const QRect& target) {
    std::vector<Block> blocks;
    if (pictureBlocks(picture, blocks, kMaxRectangles)) {
        const double sx = static_cast<double>(target.width()) / picture.width();
        const double sy = static_cast<double>(target.height()) / picture.height();
        for (const Block& block : blocks) {
            painter.fillRect(QRectF(target.left() + block.rect.left() * sx,
                                    target.top() + block.rect.top() * sy, block.rect.width() * sx,
                                    block.rect.height() * sy),
                             QColor::fromRgb(block.colour));
        }
        return;
    }
    // Each pixel of the picture becomes whole printer pixels, so nothing is smoothed.
    QImage scaled = picture.scaled(target.size(), Qt::IgnoreAspectRatio, Qt::FastTransformation);
    if (scaled.allGray()) {
        scaled = scaled.convertToFormat(QImage::Format_Grayscale8);
    }
    painter.drawImage(target.topLeft(), scaled);
}

void ReportPainter::paintPage(QPainter& painter, const ReportPage& page) {
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.setRenderHint(QPainter::SmoothPixmapTransform, false);
    painter.setPen(Qt::black);
    const QFont body = bodyFont();
    const QFont heading = headingFont();
    for (const ReportItem& item : page.items) {
        const QString text = QString::fromLatin1(item.text.data(), static_cast<qsizetype>(item.text.size()));
        switch (item.kind) {
        case ReportItem::Kind::Body:
        case ReportItem::Kind::Heading: {
            painter.setFont(item.kind == ReportItem::Kind::Heading ? heading : body);
            painter.drawText(item.x, item.y + painter.fontMetrics().ascent(), text);
            break;
        }
        case ReportItem::Kind::PageNumber: {
            painter.setFont(body);
            const QFontMetrics fm = painter.fontMetrics();
            const int x = std::max(0, (item.width - fm.horizontalAdvance(text)) / 2);
            painter.drawText(x, item.y + fm.ascent(), text);
            break;
        }
        case ReportItem::Kind::Screen:
            if (item.screen != nullptr) {
                paintPicture(painter, framedScreen(*item.screen),
                             QRect(item.x, item.y, item.width, item.height));
            }
            break;
        }
    }
}

Status ReportPainter::paintAll(QPagedPaintDevice& device, const std::vector<ReportDocument>& documents,
                               const std::function<bool()>& betweenPages) {
    QPainter painter;
    if (!painter.begin(&device)) {
        return Status::fail(std::string(PrintSelection::kPrinterNotStarted));
    }
    bool first = true;
    for (const ReportDocument& document : documents) {
        for (const ReportPage& page : document.pages) {
            if (!first && !device.newPage()) {
                painter.end();
                return Status::fail(std::string(PrintSelection::kPrinterNoNewPage));
            }
            first = false;
            paintPage(painter, page);
            if (betweenPages && !betweenPages()) {
                painter.end();
                return Status::success();
            }
        }
    }
    if (!painter.end()) {
        return Status::fail(std::string(PrintSelection::kPrinterNotFinished));
    }
    return Status::success();
}

Result<ReportPainter::Pdf> ReportPainter::pdf(const PrintSelection& selection, const QPageLayout& layout,
                                              const QString& title, const std::function<bool()>& betweenPages,
                                              int firstPage, int lastPage) {
    Pdf out;
    QBuffer buffer(&out.bytes);
    buffer.open(QIODevice::WriteOnly);
    QPdfWriter writer(&buffer);
    writer.setResolution(kResolution);
    writer.setPageLayout(layout);
    writer.setTitle(title);
    writer.setCreator("Quillon");
    const std::vector<ReportDocument> documents =
        ReportLayout::pagesBetween(ReportLayout(metrics(writer)).build(app_, selection), firstPage, lastPage);
    for (const ReportDocument& document : documents) {
        out.pages += document.pages.size();
    }
    if (out.pages == 0) {
        return out;
    }
    const Status painted = paintAll(writer, documents, betweenPages);
    if (!painted) {
        return Result<Pdf>::fail(painted.message());
    }
    return out;
}

} // namespace quillon::gui
