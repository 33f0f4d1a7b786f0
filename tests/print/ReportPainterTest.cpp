// The report's screen pictures: the editor's drawing at zoom two inside its frame, put on the page pixel for
// pixel twice as large, whether as rectangles or (for finely patterned pictures) as an image; and the page's
// text where the layout puts it.

#include "print/ReportPainter.h"

#include "model/Application.h"
#include "model/EllipseObject.h"
#include "model/PanelFont.h"
#include "model/RectangleObject.h"
#include "model/Screen.h"
#include "model/TextObject.h"
#include "report/PrintSelection.h"
#include "report/ReportLayout.h"
#include "ui/ScreenImage.h"

#include <QImage>
#include <QPainter>
#include <QTest>

using namespace quillon;
using namespace quillon::gui;

namespace {

// Whether `page` shows `picture` stretched twice over at `at`, pixel for pixel.
QString stretchedTwice(const QImage& page, const QImage& picture, QPoint at) {
    for (int y = 0; y < picture.height() * 2; ++y) {
        for (int x = 0; x < picture.width() * 2; ++x) {
            const QRgb want = picture.pixel(x / 2, y / 2) | 0xFF000000U;
            const QRgb got = page.pixel(at.x() + x, at.y() + y) | 0xFF000000U;
            if (want != got) {
                return QString("page pixel %1,%2 is %3, the picture's %4 is %5")
                    .arg(at.x() + x)
                    .arg(at.y() + y)
                    .arg(got, 0, 16)
                    .arg(QString("%1,%2").arg(x / 2).arg(y / 2))
                    .arg(want, 0, 16);
            }
        }
    }
    return {};
}

QImage whitePage(int width, int height) {
    QImage page(width, height, QImage::Format_RGB32);
    page.fill(Qt::white);
    return page;
}

} // namespace

class ReportPainterTest final : public QObject {
    Q_OBJECT
private slots:
    void theFramedScreenIsTheEditorsDrawingAtZoomTwo() {
        Application app(500); // 128 x 64 pixels
        Screen* screen = *app.addScreen(std::make_unique<Screen>(1));
        auto text = std::make_unique<TextObject>();
        QVERIFY(text->setText("Level"));
        text->right = 59;
        text->bottom = 15;
        QVERIFY(screen->appendObject(std::move(text)));
        ReportPainter painter(app, PanelFont::builtIn(), nullptr, DrawClock{});
        const QImage framed = painter.framedScreen(*screen);
        QCOMPARE(framed.size(), QSize(2 * 128 + 5, 2 * 64 + 5));
        for (const QPoint corner : {QPoint(0, 0), QPoint(260, 0), QPoint(0, 132), QPoint(260, 132)}) {
            QCOMPARE(framed.pixel(corner) | 0xFF000000U, qRgb(0, 0, 0));
        }
        QCOMPARE(framed.pixel(1, 1) | 0xFF000000U, qRgb(255, 255, 255));
        DrawParameters parameters;
        parameters.zoom = 20;
        parameters.displayClass = 50;
        const QImage drawn =
            ScreenImage::render(app, *screen, parameters, ScreenGridOptions{}, PanelFont::builtIn());
        QCOMPARE(drawn.size(), QSize(256, 128));
        QCOMPARE(framed.copy(2, 2, 256, 128), drawn.convertToFormat(framed.format()));
        QVERIFY(painter.drawingFailure().ok());
    }

    void rectanglesGiveThePicturePixelForPixel() {
        Application app(500);
        Screen* screen = *app.addScreen(std::make_unique<Screen>(1));
        auto ellipse = std::make_unique<EllipseObject>();
        ellipse->left = 3;
        ellipse->top = 2;
        ellipse->right = 70;
        ellipse->bottom = 50;
        ellipse->colourA = 40; // a grey fill pattern
        QVERIFY(screen->appendObject(std::move(ellipse)));
        auto text = std::make_unique<TextObject>();
        QVERIFY(text->setText("Pump 1"));
        text->left = 60;
        text->top = 40;
        text->right = 119;
        text->bottom = 55;
        QVERIFY(screen->appendObject(std::move(text)));
        ReportPainter painter(app, PanelFont::builtIn(), nullptr, DrawClock{});
        const QImage framed = painter.framedScreen(*screen);

        QImage page = whitePage(600, 300);
        {
            QPainter p(&page);
            ReportPainter::paintPicture(p, framed, QRect(7, 9, 2 * framed.width(), 2 * framed.height()));
        }
        const QString problem = stretchedTwice(page, framed, QPoint(7, 9));
        QVERIFY2(problem.isEmpty(), qPrintable(problem));
    }

    void aFinelyPatternedPictureGoesAsAnImageJustAsSharp() {
        // A checkerboard has a run for every pixel: far more than the rectangles allowed.
        QImage board(200, 150, QImage::Format_RGB32);
        for (int y = 0; y < board.height(); ++y) {
            for (int x = 0; x < board.width(); ++x) {
                board.setPixel(x, y, (x + y) % 2 == 0 ? qRgb(0, 0, 0) : qRgb(255, 255, 255));
            }
        }
        QVERIFY(std::size_t(board.width() * board.height() / 2) > ReportPainter::kMaxRectangles);
        QImage page = whitePage(420, 320);
        {
            QPainter p(&page);
            ReportPainter::paintPicture(p, board, QRect(3, 4, 400, 300));
        }
        const QString problem = stretchedTwice(page, board, QPoint(3, 4));
        QVERIFY2(problem.isEmpty(), qPrintable(problem));
    }

    void thePageTextStandsOnItsLines() {
        Application app(500);
        PrintSelection selection;
        selection.setChecked(ReportSection::UnitSettings, true, 500);
        QImage page = whitePage(800, 1000);
        const PageMetrics metrics = ReportPainter::metrics(page);
        QVERIFY(metrics.lineHeight > 0);
        QVERIFY(metrics.charWidth > 0);
        QCOMPARE(metrics.printableWidth, 800);
        QCOMPARE(metrics.printableHeight, 1000);
        const auto documents = ReportLayout(metrics).build(app, selection);
        QCOMPARE(documents.size(), std::size_t{1});
        {
            QPainter p(&page);
            ReportPainter(app, PanelFont::builtIn(), nullptr, DrawClock{})
                .paintPage(p, documents[0].pages[0]);
        }
        // Ink on the heading's line and on the memory line two lines below it, none on the line between.
        const auto inkOnLine = [&](int line) {
            for (int y = line * metrics.lineHeight; y < (line + 1) * metrics.lineHeight; ++y) {
                for (int x = 0; x < 400; ++x) {
                    if (qGray(page.pixel(x, y)) < 128) {
                        return true;
                    }
                }
            }
            return false;
        };
        QVERIFY(inkOnLine(0));
        QVERIFY(!inkOnLine(1));
        QVERIFY(inkOnLine(2));
        // The page number is centred: as much paper to its left as to its right.
        const int top = ReportLayout(metrics).pageNumberTop();
        int left = 800;
        int right = 0;
        for (int y = top; y < top + metrics.lineHeight; ++y) {
            for (int x = 0; x < 800; ++x) {
                if (qGray(page.pixel(x, y)) < 128) {
                    left = std::min(left, x);
                    right = std::max(right, x);
                }
            }
        }
        QVERIFY(right > left);
        QVERIFY(std::abs(left - (799 - right)) <= metrics.charWidth);
    }
};

QTEST_MAIN(ReportPainterTest)
#include "ReportPainterTest.moc"
