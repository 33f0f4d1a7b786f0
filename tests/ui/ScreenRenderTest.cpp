// Screens drawn in the unit's look, compared pixel for pixel with reviewed pictures in tests/data/render
// (every kind of object, active and in the gray of an associated screen, at each zoom), and the exact
// pixels the drawing rules give. QUILLON_UPDATE_GOLDEN=1 writes the pictures anew for review.

#include "model/AlarmWindowObject.h"
#include "model/Application.h"
#include "model/BargraphObject.h"
#include "model/BitTextObject.h"
#include "model/BitmapObject.h"
#include "model/DataEntryRegisterObject.h"
#include "model/DateObject.h"
#include "model/DisplayRegisterObject.h"
#include "model/DisplayRegisterTextObject.h"
#include "model/PanelFont.h"
#include "model/PictureSource.h"
#include "model/PolylineObject.h"
#include "model/RecordingPrompter.h"
#include "model/Screen.h"
#include "model/TextObject.h"
#include "model/TimeObject.h"
#include "ui/ScreenImage.h"

#include <QDir>
#include <QTest>

using namespace quillon;
using namespace quillon::gui;

namespace {

// A 16 x 8 picture: a frame with a diagonal.
class FakePictures final : public PictureSource {
public:
    Result<PictureBits> picture(std::uint32_t id) const override {
        if (id != 1) {
            return Failure{"Can not open pictures' library.", 0};
        }
        PictureBits bits{16, 8, std::vector<std::uint8_t>(16, 0)};
        for (std::uint32_t y = 0; y < 8; ++y) {
            for (std::uint32_t x = 0; x < 16; ++x) {
                if (y == 0 || y == 7 || x == 0 || x == 15 || x == 2 * y) {
                    bits.rows[y * 2 + x / 8] |= static_cast<std::uint8_t>(0x80U >> (x % 8));
                }
            }
        }
        return bits;
    }
};

template <typename T>
T& place(Screen& screen, ObjectKind kind, int left, int top, int right, int bottom) {
    auto object = ScreenObject::create(static_cast<std::uint8_t>(kind));
    object->left = left;
    object->top = top;
    object->right = right;
    object->bottom = bottom;
    auto added = screen.appendObject(std::move(object));
    return static_cast<T&>(**added);
}

ScreenObject& place(Screen& screen, ObjectKind kind, int left, int top, int right, int bottom) {
    return place<ScreenObject>(screen, kind, left, top, right, bottom);
}

// Every kind on the 320 x 240 screen.
void fillGraphicScreen(Screen& s) {
    const std::uint8_t fills[] = {0, 20, 40, 60, 80, 100};
    for (int i = 0; i < 6; ++i) {
        ScreenObject& r = place(s, ObjectKind::Rectangle, 4 + i * 26, 4, 4 + i * 26 + 21, 25);
        r.colourA = fills[i];
    }
    place(s, ObjectKind::Ellipse, 164, 4, 203, 25).colourA = 40;
    place(s, ObjectKind::RoundRectangle, 208, 4, 251, 25).colourA = 80;
    auto& line = place<PolylineObject>(s, ObjectKind::Polyline, 256, 4, 315, 25);
    const ObjectPoint zigzag[] = {{256, 25}, {270, 4}, {285, 25}, {300, 4}, {315, 25}};
    static_cast<void>(line.setPoints(zigzag));
    auto& polygon = place<PolylineObject>(s, ObjectKind::Polygon, 4, 30, 43, 61);
    const ObjectPoint star[] = {{24, 30}, {43, 61}, {4, 42}, {43, 42}, {4, 61}};
    static_cast<void>(polygon.setPoints(star));
    polygon.colourA = 0;
    for (std::uint8_t d = 0; d < 4; ++d) {
        auto& bar = place<BargraphObject>(s, ObjectKind::Bargraph, 48 + d * 24, 30, 48 + d * 24 + 19, 61);
        bar.direction = d;
        bar.colourA = 60;
    }
    place<BitmapObject>(s, ObjectKind::Bitmap, 150, 30, 165, 37).setPictureId(1);
    // A touch area over a black rectangle: the rectangle shows through its pattern.
    place(s, ObjectKind::Rectangle, 176, 30, 207, 53).colourA = 0;
    place(s, ObjectKind::TouchArea, 192, 30, 223, 53);

    auto& text = place<TextObject>(s, ObjectKind::Text, 0, 72, 59, 79);
    static_cast<void>(text.setText("Quillon 1.0"));
    auto& boxed = place<TextObject>(s, ObjectKind::Text, 72, 72, 131, 79);
    static_cast<void>(boxed.setText("Border"));
    boxed.border = 1;
    auto& inverse = place<TextObject>(s, ObjectKind::Text, 150, 72, 209, 79);
    static_cast<void>(inverse.setText("Inverse"));
    inverse.colourA = 0;
    inverse.colourB = 100;
    auto& twice = place<TextObject>(s, ObjectKind::Text, 222, 72, 281, 79);
    static_cast<void>(twice.setText("Double"));
    twice.border = 2;
    auto& large = place<TextObject>(s, ObjectKind::Text, 0, 88, 71, 101);
    large.font = 1;
    static_cast<void>(large.setText("Big\xb0\x9e"));

    auto& coil = place<BitTextObject>(s, ObjectKind::DataEntryCoil, 84, 88, 107, 103);
    static_cast<void>(coil.setTexts("Off", "Running"));
    auto& bits = place<BitTextObject>(s, ObjectKind::DisplayCoil, 114, 88, 137, 95);
    static_cast<void>(bits.setTexts("On", "Off"));
    auto& entry = place<DataEntryRegisterObject>(s, ObjectKind::DataEntryRegister, 144, 88, 185, 95);
    entry.format.code = {'5', '2'};
    entry.format.dataType = 'S';
    auto& value = place<DisplayRegisterObject>(s, ObjectKind::DisplayRegister, 192, 88, 215, 95);
    value.format.code = {'4', '0'};
    auto& table = place<DisplayRegisterTextObject>(s, ObjectKind::DisplayRegisterText, 222, 88, 281, 95);
    const RegisterTextRange ranges[] = {{0, 0, "Stopped"}, {1, 9, "Go"}};
    static_cast<void>(table.setRanges(ranges));

    place(s, ObjectKind::Time, 0, 112, 47, 119);
    place(s, ObjectKind::Date, 60, 112, 107, 119);
    place(s, ObjectKind::Error, 120, 112, 143, 127);

    auto& alarms = place<AlarmWindowObject>(s, ObjectKind::AlarmWindow, 0, 136, 59, 167);
    AlarmWindowOptions options;
    options.showHeaders = true;
    options.columns = {{AlarmWindowObject::kNumber, "Num", 0},
                       {AlarmWindowObject::kAlarmText, "Alarm", 12},
                       {AlarmWindowObject::kOnTime, "On", AlarmWindowObject::kMinutesFormat},
                       {AlarmWindowObject::kActive, "Act", AlarmWindowObject::kLongYesNo}};
    static_cast<void>(alarms.setOptions(options));
}

// Text, placeholders, a bargraph and an alarm window on a 240 x 64 character display (12 x 16 cells).
void fillCharacterScreen(Screen& s) {
    auto& text = place<TextObject>(s, ObjectKind::Text, 0, 0, 119, 15);
    static_cast<void>(text.setText("Line speed"));
    auto& value = place<DisplayRegisterObject>(s, ObjectKind::DisplayRegister, 132, 0, 203, 15);
    value.format.code = {'5', '1'};
    place<BargraphObject>(s, ObjectKind::Bargraph, 0, 16, 95, 31).direction = BargraphObject::kLeftToRight;
    auto& coil = place<BitTextObject>(s, ObjectKind::DataEntryCoil, 120, 16, 167, 31);
    static_cast<void>(coil.setTexts("OFF", "ON"));
    place(s, ObjectKind::Time, 0, 48, 95, 63);
    auto& inverse = place<TextObject>(s, ObjectKind::Text, 132, 48, 227, 63);
    static_cast<void>(inverse.setText("STOPPED"));
    inverse.colourA = 0;
    inverse.colourB = 100;
}

struct Scene {
    std::unique_ptr<Application> app;
    Screen* screen = nullptr;
    Screen* above = nullptr; // an empty screen showing the first one as its associated screen
};

Scene makeScene(std::uint16_t modelId, void (*fill)(Screen&)) {
    RecordingPrompter prompter;
    Scene scene;
    scene.app = Application::create(modelId, prompter);
    scene.screen = *scene.app->addScreen(std::make_unique<Screen>(1));
    scene.above = *scene.app->addScreen(std::make_unique<Screen>(2));
    scene.above->setAssociated(1);
    fill(*scene.screen);
    return scene;
}

QImage render(const Scene& scene, const Screen& screen, int zoom, const FakePictures& pictures) {
    DrawParameters parameters;
    parameters.zoom = zoom;
    parameters.displayClass = modelClass(scene.app->modelId());
    parameters.pictures = &pictures;
    parameters.clock = DrawClock{14, 5, 9, 24, 12, 2026};
    Status failure;
    QImage image =
        ScreenImage::render(*scene.app, screen, parameters, {}, PanelFont::builtIn(), {}, &failure);
    if (!failure) {
        // A drawing failure fails the test: a picture drawn only in part is no picture to compare.
        QTest::qFail(qPrintable(QString("drawing failed: ") + QString::fromStdString(failure.message())),
                     __FILE__, __LINE__);
    }
    return image.convertToFormat(QImage::Format_RGB32);
}

// Compares with the reviewed picture; a missing or different one fails, and the drawn picture is left in
// the temporary folder for review. The reviewed pictures are written only on request:
// QUILLON_UPDATE_GOLDEN=1 (see docs/gui-script.md), and the new ones are then reviewed before committing.
void compareGolden(const QImage& image, const QString& name) {
    if (QTest::currentTestFailed()) {
        return; // the drawing failed already
    }
    const QString golden = QString(QUILLON_SOURCE_DIR) + "/tests/data/render/" + name + ".png";
    if (qEnvironmentVariableIntValue("QUILLON_UPDATE_GOLDEN") == 1) {
        QVERIFY(image.save(golden));
        qInfo("wrote %s: review it before committing", qPrintable(golden));
        return;
    }
    const QImage expected = QImage(golden).convertToFormat(QImage::Format_RGB32);
    if (expected.isNull()) {
        const QString drawn = QDir::temp().filePath(name + ".drawn.png");
        image.save(drawn);
        QFAIL(qPrintable("missing " + golden + "; drawn: " + drawn));
    }
    if (expected != image) {
        const QString drawn = QDir::temp().filePath(name + ".drawn.png");
        image.save(drawn);
        QFAIL(qPrintable(name + " differs from its reviewed picture; drawn: " + drawn));
    }
}

QRgb at(const QImage& image, int x, int y) {
    return image.pixel(x, y) & 0xFFFFFFU;
}

} // namespace

class ScreenRenderTest : public QObject {
    Q_OBJECT
private slots:
    void graphicScreenMatchesTheReviewedPictures() {
        const Scene scene = makeScene(520, fillGraphicScreen);
        const FakePictures pictures;
        for (const int zoom : {10, 20, 30}) {
            compareGolden(render(scene, *scene.screen, zoom, pictures), QString("graphic-z%1").arg(zoom));
        }
        // The same objects beneath another screen: gray for black, white stays white.
        compareGolden(render(scene, *scene.above, 10, pictures), "graphic-associated-z10");
    }

    void characterScreenMatchesTheReviewedPictures() {
        const Scene scene = makeScene(40, fillCharacterScreen);
        const FakePictures pictures;
        for (const int zoom : {10, 20, 30}) {
            compareGolden(render(scene, *scene.screen, zoom, pictures), QString("character-z%1").arg(zoom));
        }
        compareGolden(render(scene, *scene.above, 20, pictures), "character-associated-z20");
    }

    void pixelsFollowTheDrawingRules() {
        const Scene scene = makeScene(520, fillGraphicScreen);
        const FakePictures pictures;
        const QImage z10 = render(scene, *scene.screen, 10, pictures);
        QCOMPARE(z10.size(), QSize(320, 240));
        // Fill 0 is black inside its outline, fill 100 white.
        QCOMPARE(at(z10, 10, 10), 0x000000U);
        QCOMPARE(at(z10, 4 + 5 * 26 + 10, 10), 0xFFFFFFU);
        // Pattern 40: the white pixel at every fourth column of every fourth row, from the image origin.
        QCOMPARE(at(z10, 4 + 2 * 26 + 4, 8), 0xFFFFFFU);
        QCOMPARE(at(z10, 4 + 2 * 26 + 5, 8), 0x000000U);
        // The bargraph filled from the bottom: lower half in pattern 60 (a black dot every fourth pixel
        // of rows 0 and 4), upper half white.
        const int barLeft = 48 + 2 * 24;
        for (int x = barLeft + 1; x < barLeft + 19; ++x) {
            QCOMPARE(at(z10, x, 40), 0xFFFFFFU);
            QCOMPARE(at(z10, x, 56), x % 4 == 0 ? 0x000000U : 0xFFFFFFU);
        }
        // The touch area's teal X shows on white and, not-xor over black, in its inverse.
        QCOMPARE(at(z10, 214, 30), 0x008080U);
        QCOMPARE(at(z10, 208, 30), 0xFFFFFFU);
        QCOMPARE(at(z10, 200, 32), qRgb(255, 127, 127) & 0xFFFFFFU);
        // Text: black dots on white cells; the first cell holds 'Q'.
        bool lit = false;
        for (int y = 72; y < 79; ++y) {
            for (int x = 0; x < 5; ++x) {
                lit = lit || at(z10, x, y) == 0x000000U;
            }
        }
        QVERIFY(lit);
        QCOMPARE(at(z10, 5, 72), 0xFFFFFFU); // the spacing column of the cell

        // Beneath another screen the same dots are gray.
        const QImage gray = render(scene, *scene.above, 10, pictures);
        QCOMPARE(at(gray, 10, 10), 0x808080U);
        for (int y = 72; y < 79; ++y) {
            for (int x = 0; x < 5; ++x) {
                QVERIFY(at(gray, x, y) == 0x808080U || at(gray, x, y) == 0xFFFFFFU);
            }
        }
    }

    void zoomScalesEveryUnitPixel() {
        const Scene scene = makeScene(520, fillGraphicScreen);
        const FakePictures pictures;
        const QImage z10 = render(scene, *scene.screen, 10, pictures);
        const QImage z30 = render(scene, *scene.screen, 30, pictures);
        QCOMPARE(z30.size(), QSize(960, 720));
        // The picture: each unit pixel is a 3 x 3 block.
        for (int y = 30; y < 38; ++y) {
            for (int x = 150; x < 166; ++x) {
                for (int d = 0; d < 9; ++d) {
                    QCOMPARE(at(z30, x * 3 + d % 3, y * 3 + d / 3), at(z10, x, y));
                }
            }
        }
        // Text cells at zoom 30 are the 18 x 24 face: the 5 x 7 glyph three times larger.
        const PanelFace* face = findPanelFace("orvik18x24");
        QVERIFY(face != nullptr);
        const auto cell = PanelFont::builtIn().cell('Q', *face);
        for (int y = 0; y < 24; ++y) {
            for (int x = 0; x < 18; ++x) {
                const bool dot = cell[static_cast<std::size_t>(y * 18 + x)] != 0;
                QCOMPARE(at(z30, x, 72 * 3 + y), dot ? 0x000000U : 0xFFFFFFU);
            }
        }
    }
};

QTEST_MAIN(ScreenRenderTest)
#include "ScreenRenderTest.moc"
