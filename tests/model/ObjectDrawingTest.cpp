#include "model/ObjectDrawing.h"

#include "ModelFixture.h"
#include "RecordingSurface.h"
#include "model/AlarmWindowObject.h"
#include "model/BargraphObject.h"
#include "model/BitmapObject.h"
#include "model/DataEntryCoilObject.h"
#include "model/DataEntryRegisterObject.h"
#include "model/DateObject.h"
#include "model/DisplayCoilObject.h"
#include "model/DisplayRegisterObject.h"
#include "model/DisplayRegisterTextObject.h"
#include "model/EllipseObject.h"
#include "model/ErrorObject.h"
#include "model/PictureSource.h"
#include "model/PolygonObject.h"
#include "model/PolylineObject.h"
#include "model/RectangleObject.h"
#include "model/RoundRectangleObject.h"
#include "model/ScreenDrawing.h"
#include "model/TextObject.h"
#include "model/TimeObject.h"
#include "model/TouchAreaObject.h"

#include <algorithm>
#include <climits>
#include <gtest/gtest.h>
#include <map>
#include <random>

using namespace quillon;
using namespace quillon::testing_support;

namespace {

using Calls = std::vector<std::string>;

const std::string kWhiteRgb = "255,255,255";
const std::string kBlackRgb = "0,0,0";
const std::string kGrayRgb = "128,128,128";

DrawParameters at(std::int32_t zoom = 10, bool active = true, std::uint8_t displayClass = 52) {
    DrawParameters p;
    p.zoom = zoom;
    p.active = active;
    p.displayClass = displayClass;
    return p;
}

template <typename T>
void place(T& object, std::int32_t left, std::int32_t top, std::int32_t right, std::int32_t bottom) {
    object.left = left;
    object.top = top;
    object.right = right;
    object.bottom = bottom;
}

Calls draw(const ScreenObject& object, const DrawParameters& parameters = at()) {
    RecordingSurface surface;
    EXPECT_TRUE(object.Draw(surface, parameters).ok());
    return surface.calls;
}

// A picture source holding fixed pictures by number.
class FakePictures final : public PictureSource {
public:
    std::map<std::uint32_t, PictureBits> pictures;
    Result<PictureBits> picture(std::uint32_t id) const override {
        const auto found = pictures.find(id);
        if (found == pictures.end()) {
            return Result<PictureBits>::fail("There is no picture " + std::to_string(id) +
                                             " in the library.");
        }
        return found->second;
    }
};

} // namespace

// ---- Alpha-numeric objects ----

TEST(ObjectDrawing, TextIsBlackOnWhiteWhenActiveAndGrayBeneath) {
    TextObject text;
    place(text, 0, 0, 17, 7); // three cells of 6 x 8
    ASSERT_TRUE(text.setText(std::string("A\0", 2)).ok());
    const Calls expected{"font orvik6x8 6 8", "colours " + kBlackRgb + " on " + kWhiteRgb, "text 0,0 \"A\"",
                         "text 6,0 \" \"", "text 12,0 \" \""};
    EXPECT_EQ(draw(text), expected);

    const Calls inactive = draw(text, at(10, false));
    EXPECT_EQ(inactive[1], "colours " + kGrayRgb + " on " + kWhiteRgb);

    text.colourA = 0;
    text.colourB = 100;
    EXPECT_EQ(draw(text)[1], "colours " + kWhiteRgb + " on " + kBlackRgb);
    EXPECT_EQ(draw(text, at(10, false))[1], "colours " + kWhiteRgb + " on " + kGrayRgb);
}

TEST(ObjectDrawing, TextFillsItsCellsRowByRowAndAnEmptyTextDrawsNothing) {
    TextObject text;
    place(text, 6, 8, 17, 23); // two columns, two rows
    EXPECT_TRUE(draw(text).empty());

    ASSERT_TRUE(text.setText("abcdefg").ok()); // longer than its four cells: the rest is not shown
    RecordingSurface surface;
    ASSERT_TRUE(text.Draw(surface, at()).ok());
    EXPECT_EQ(surface.only("text"),
              (Calls{"text 6,8 \"a\"", "text 12,8 \"b\"", "text 6,16 \"c\"", "text 12,16 \"d\""}));
}

TEST(ObjectDrawing, CellsAtDoubleZoomUseTheLargerFaceAndTheOffsets) {
    TextObject text;
    place(text, 6, 8, 23, 15);
    ASSERT_TRUE(text.setText("xyz").ok());
    DrawParameters p = at(20);
    p.xOffset = 5;
    p.yOffset = -7;
    const Calls calls = draw(text, p);
    EXPECT_EQ(calls[0], "font orvik12x16 0 0");
    EXPECT_EQ((Calls{calls.begin() + 2, calls.end()}),
              (Calls{"text 17,9 \"x\"", "text 29,9 \"y\"", "text 41,9 \"z\""}));

    // Character displays always show the small font in double size: 12 x 16 cells at zoom 10.
    TextObject onCharacters;
    place(onCharacters, 12, 16, 35, 47);
    ASSERT_TRUE(onCharacters.setText("abcd").ok());
    const Calls character = draw(onCharacters, at(10, true, 2));
    EXPECT_EQ(character[0], "font orvik12x16 0 0");
    EXPECT_EQ(character[5], "text 24,32 \"d\"");
    EXPECT_EQ(draw(onCharacters, at(30, true, 2))[0], "font orvik36x48 0 0");
}

TEST(ObjectDrawing, FaceNamesFollowTheSizeKey) {
    EXPECT_EQ(ObjectDrawing::faceName(10), "orvik6x8");
    EXPECT_EQ(ObjectDrawing::faceName(25), "orvik15x20");
    EXPECT_EQ(ObjectDrawing::faceName(120), "orvik72x96");
    EXPECT_EQ(ObjectDrawing::faceName(70), "orvik42x56");    // "5 x 7" at zoom 70
    EXPECT_EQ(ObjectDrawing::faceName(320), "orvik192x256"); // "20 x 28" at zoom 80
    EXPECT_EQ(ObjectDrawing::faceName(35), "");
    EXPECT_EQ(ObjectDrawing::faceName(330), "");
    TextObject big;
    big.font = 2;
    place(big, 0, 0, 23, 31);
    ASSERT_TRUE(big.setText("Q").ok());
    EXPECT_EQ(draw(big, at(30))[0], "font orvik72x96 0 0");
    big.font = 1;
    EXPECT_EQ(draw(big, at(10))[0], "font orvik12x16 0 0");
}

TEST(ObjectDrawing, NumericPlaceholdersFollowTheFormatCode) {
    DisplayRegisterObject value;
    place(value, 0, 0, 47, 7);
    value.format.code = {'5', '2'};
    EXPECT_EQ(draw(value).back(), "text 0,0 \"^^^.^^\"");
    value.format.dataType = 'S';
    EXPECT_EQ(draw(value).back(), "text 0,0 \"\\x9E^^^.^^\"");
    value.format.dataType = 'U';
    value.format.code = {'4', '0'};
    EXPECT_EQ(draw(value).back(), "text 0,0 \"^^^^\"");
    value.format.code = {'A', 'A'};
    EXPECT_EQ(draw(value).back(), "text 0,0 \".^^^^^^^^^^\"");

    DataEntryRegisterObject entry;
    entry.format.dataType = 'B';
    entry.format.code = {'7', '0'}; // binary stores the digit count less one
    EXPECT_EQ(draw(entry).back(), "text 0,0 \"~~~~~~~~\"");
    // Damaged codes: unknown digits count 0, decimals beyond the digits put no point anywhere.
    entry.format.dataType = 'U';
    entry.format.code = {'z', '3'};
    EXPECT_EQ(ObjectDrawing::numericPlaceholder(entry.format, '~'), "~");
    entry.format.code = {'2', '9'};
    EXPECT_EQ(ObjectDrawing::numericPlaceholder(entry.format, '~'), "~~~");
}

TEST(ObjectDrawing, BitAndRegisterTextPlaceholdersCoverTheLongestText) {
    DataEntryCoilObject coil;
    place(coil, 0, 0, 23, 15); // 4 x 2 cells
    ASSERT_TRUE(coil.setTexts("OFFTEXT", "ONE").ok());
    RecordingSurface surface;
    ASSERT_TRUE(coil.Draw(surface, at()).ok());
    EXPECT_EQ(surface.only("text"),
              (Calls{"text 0,0 \"#\"", "text 6,0 \"#\"", "text 12,0 \"#\"", "text 18,0 \"#\"",
                     "text 0,8 \"#\"", "text 6,8 \"#\"", "text 12,8 \"#\"", "text 18,8 \" \""}));

    DisplayCoilObject bit;
    place(bit, 0, 0, 11, 7);
    ASSERT_TRUE(bit.setTexts("x", "").ok());
    const Calls bitCalls = draw(bit);
    EXPECT_EQ((Calls{bitCalls.end() - 2, bitCalls.end()}), (Calls{"text 0,0 \"@\"", "text 6,0 \" \""}));

    DisplayRegisterTextObject texts;
    place(texts, 0, 0, 17, 15);
    const std::vector<RegisterTextRange> ranges{{0, 1, "ab"}, {2, 3, "abcd"}};
    ASSERT_TRUE(texts.setRanges(ranges).ok());
    RecordingSurface table;
    ASSERT_TRUE(texts.Draw(table, at()).ok());
    const Calls shown = table.only("text");
    ASSERT_EQ(shown.size(), 6U);
    EXPECT_EQ(shown[3], "text 0,8 \"$\"");
    EXPECT_EQ(shown[4], "text 6,8 \" \"");
}

TEST(ObjectDrawing, ErrorTimeAndDate) {
    ErrorObject error;
    place(error, 0, 0, 11, 7);
    const Calls errorCalls = draw(error);
    EXPECT_EQ((Calls{errorCalls.begin() + 2, errorCalls.end()}), (Calls{"text 0,0 \"E\"", "text 6,0 \"E\""}));

    DrawParameters p = at();
    p.clock = {9, 5, 7, 3, 2, 2026};
    TimeObject time;
    EXPECT_EQ(draw(time, p).back(), "text 0,0 \"09:05:07\"");
    time.format = TimeObject::kWithoutSeconds;
    EXPECT_EQ(draw(time, p).back(), "text 0,0 \"09:05\"");

    DateObject date;
    date.format = DateObject::kMonthFirst;
    EXPECT_EQ(draw(date, p).back(), "text 0,0 \"02/03/26\"");
    date.format = DateObject::kDayFirst;
    EXPECT_EQ(draw(date, p).back(), "text 0,0 \"03/02/26\"");
    // A clock out of its ranges still shows two digits a field.
    EXPECT_EQ(TimeObject::timeText({-3, 123, 60, 1, 1, 2000}, 0), "03:23:60");
}

TEST(ObjectDrawing, BordersLieTwoAndFourUnitPixelsOutside) {
    TextObject text;
    place(text, 12, 8, 23, 15);
    ASSERT_TRUE(text.setText("ab").ok());
    text.border = ObjectDrawing::kSingleBorder;
    const Calls single = draw(text);
    EXPECT_EQ((Calls{single.begin() + 2, single.begin() + 5}),
              (Calls{"pen " + kBlackRgb + " 1", "brush " + kWhiteRgb, "rect 10,6,26,18"}));
    EXPECT_EQ(single[5], "text 12,8 \"a\"");

    text.border = ObjectDrawing::kDoubleBorder;
    const Calls twice = draw(text, at(20, false));
    EXPECT_EQ((Calls{twice.begin() + 2, twice.begin() + 6}),
              (Calls{"pen " + kGrayRgb + " 1", "brush " + kWhiteRgb, "rect 16,8,56,40", "rect 20,12,52,36"}));

    text.border = 7; // not a border the unit knows
    EXPECT_EQ(draw(text).size(), 4U);
}

TEST(ObjectDrawing, AlarmWindowIsWidenedToItsColumns) {
    AlarmWindowObject window;
    place(window, -4, 0, 11, 23); // two cells wide, three rows
    AlarmWindowOptions options;
    options.showHeaders = true;
    options.secondWindowOption = 1;
    options.columns = {{AlarmWindowObject::kNumber, "Num", 0},
                       {AlarmWindowObject::kAlarmText, "Alarm", 15},
                       {AlarmWindowObject::kActive, "Act", AlarmWindowObject::kShortYesNo}};
    ASSERT_TRUE(window.setOptions(options).ok());
    EXPECT_EQ(window.neededWidth(), 3 + 15 + 1 + 2);
    EXPECT_EQ(window.fittedEdges(52), (AlarmWindowFit{0, 125, true}));

    RecordingSurface surface;
    ASSERT_TRUE(window.Draw(surface, at()).ok());
    EXPECT_EQ(surface.only("text"),
              (Calls{"text 0,0 \"Num Alarm           A\"", "text 0,8 \"---------------------\"",
                     "text 0,16 \"000 xxxxxxxxxxxxxxx ?\""}));
    EXPECT_EQ(window.left, -4); // drawing leaves the model alone

    EXPECT_TRUE(window.widenToFit(std::uint8_t{52}));
    EXPECT_EQ(window.left, 0);
    EXPECT_EQ(window.right, 125);
    EXPECT_FALSE(window.widenToFit(std::uint8_t{52}));

    // Near the right edge the window stops at the screen's last pixel.
    place(window, 300, 0, 311, 7);
    EXPECT_EQ(window.fittedEdges(52), (AlarmWindowFit{300, 319, true}));
    // On a character display cells are 12 pixels wide.
    place(window, 0, 0, 11, 15);
    EXPECT_EQ(window.fittedEdges(2), (AlarmWindowFit{0, 191, true}));
}

TEST(ObjectDrawing, AlarmWindowColumnWidthsAndLines) {
    AlarmWindowOptions options;
    options.secondWindowOption = 2;
    options.columns = {{AlarmWindowObject::kOnTime, "OnTime", AlarmWindowObject::kHoursFormat},
                       {AlarmWindowObject::kOffTime, "OffTime", AlarmWindowObject::kMinutesFormat},
                       {AlarmWindowObject::kAcknowledged, "Acknowledged", AlarmWindowObject::kLongYesNo},
                       {AlarmWindowObject::kTag, "Tag", 5},
                       {42, "?", 0}};
    AlarmWindowObject window;
    ASSERT_TRUE(window.setOptions(options).ok());
    EXPECT_EQ(window.neededWidth(), 8 + 5 + 12 + 5 + 1 + 4);
    EXPECT_EQ(window.headerLine(), "OnTime    OffTi  Acknowledged  Tag    ?  ");
    EXPECT_EQ(window.sampleLine(), "HH:MM:SS  MM:SS  Y/N           ttttt  x  ");

    // Without headers every row shows the sample, cut at the window's width: two-blank separators take more
    // room than the one blank a column is given.
    place(window, 0, 0, 59, 15);
    RecordingSurface surface;
    ASSERT_TRUE(window.Draw(surface, at()).ok());
    const std::string sample = "\"HH:MM:SS  MM:SS  Y/N           tttt\"";
    EXPECT_EQ(surface.only("text"), (Calls{"text 0,0 " + sample, "text 0,8 " + sample}));
}

// ---- Graphical objects ----

TEST(ObjectDrawing, WindowRectangleCoversTheLastUnitPixel) {
    RectangleObject rect;
    place(rect, 10, 0, 19, 7);
    EXPECT_EQ(draw(rect, at(20)).back(), "rect 20,0,40,16");
    EXPECT_EQ(draw(rect, at(30)).back(), "rect 30,0,60,24");
    DrawParameters scrolled = at(10);
    scrolled.xOffset = -3;
    scrolled.yOffset = 4;
    EXPECT_EQ(draw(rect, scrolled).back(), "rect 7,4,17,12");
    EXPECT_EQ(draw(rect, at(80)).back(), "rect 80,0,160,64");
    // A zoom beyond 10..80 is held at the nearest end.
    EXPECT_EQ(draw(rect, at(500)).back(), "rect 80,0,160,64");
    EXPECT_EQ(draw(rect, at(-4)).back(), "rect 10,0,20,8");
}

TEST(ObjectDrawing, ShapesUseThePenAndFill) {
    EllipseObject ellipse;
    place(ellipse, 0, 0, 19, 9);
    ellipse.colourA = 100;
    ellipse.colourB = 100;
    EXPECT_EQ(draw(ellipse), (Calls{"pen " + kWhiteRgb + " 1", "brush " + kWhiteRgb, "ellipse 0,0,20,10"}));
    ellipse.colourA = 0;
    ellipse.colourB = 0;
    EXPECT_EQ(draw(ellipse, at(10, false)),
              (Calls{"pen " + kGrayRgb + " 1", "brush " + kGrayRgb, "ellipse 0,0,20,10"}));

    RoundRectangleObject round;
    place(round, 0, 0, 19, 9);
    EXPECT_EQ(draw(round).back(), "round 0,0,20,10 10,5");

    PolylineObject line;
    ASSERT_TRUE(line.setPoints(std::vector<ObjectPoint>{{1, 2}, {10, 20}}).ok());
    DrawParameters p = at(20);
    p.xOffset = 3;
    p.yOffset = 4;
    EXPECT_EQ(draw(line, p), (Calls{"pen " + kBlackRgb + " 1", "polyline 5,8 23,44"}));

    PolygonObject polygon;
    ASSERT_TRUE(polygon.setPoints(std::vector<ObjectPoint>{{0, 0}, {4, 0}, {4, 4}}).ok());
    polygon.colourA = 60;
    const Calls filled = draw(polygon);
    ASSERT_EQ(filled.size(), 3U);
    EXPECT_EQ(filled[1].substr(0, 7), "pattern");
    EXPECT_EQ(filled[2], "polygon 0,0 4,0 4,4");
    EXPECT_TRUE(draw(PolygonObject{}).empty());
}

TEST(ObjectDrawing, FillPatternsAndTheirInactiveForms) {
    EXPECT_EQ(RecordingSurface::pattern(ObjectDrawing::fillPattern(20, true)),
              "WBWBWBWB/BBBBBBBB/WBWBWBWB/BBBBBBBB/WBWBWBWB/BBBBBBBB/WBWBWBWB/BBBBBBBB");
    EXPECT_EQ(RecordingSurface::pattern(ObjectDrawing::fillPattern(20, false)),
              "WGWGWGWG/GGGGGGGG/WGWGWGWG/GGGGGGGG/WGWGWGWG/GGGGGGGG/WGWGWGWG/GGGGGGGG");
    EXPECT_EQ(RecordingSurface::pattern(ObjectDrawing::fillPattern(40, false)),
              "WGGGWGGG/GGGGGGGG/GGGGGGGG/GGGGGGGG/WGGGWGGG/GGGGGGGG/GGGGGGGG/GGGGGGGG");
    EXPECT_EQ(RecordingSurface::pattern(ObjectDrawing::fillPattern(60, true)),
              "BWWWBWWW/WWWWWWWW/WWWWWWWW/WWWWWWWW/BWWWBWWW/WWWWWWWW/WWWWWWWW/WWWWWWWW");
    EXPECT_EQ(RecordingSurface::pattern(ObjectDrawing::fillPattern(80, false)),
              "GWGWGWGW/WWWWWWWW/GWGWGWGW/WWWWWWWW/GWGWGWGW/WWWWWWWW/GWGWGWGW/WWWWWWWW");

    RectangleObject rect;
    rect.colourA = 40;
    EXPECT_EQ(draw(rect)[1],
              "pattern WBBBWBBB/BBBBBBBB/BBBBBBBB/BBBBBBBB/WBBBWBBB/BBBBBBBB/BBBBBBBB/BBBBBBBB");
    rect.colourA = 55; // not a fill the unit knows: white
    EXPECT_EQ(draw(rect)[1], "brush " + kWhiteRgb);
}

TEST(ObjectDrawing, TouchAreaIsAnXPatternInNotXor) {
    TouchAreaObject touch;
    place(touch, 0, 0, 15, 17);
    const std::string x = "TWWWWWWT/WTWWWWTW/WWTWWTWW/WWWTTWWW/WWWTTWWW/WWTWWTWW/WTWWWWTW/TWWWWWWT";
    EXPECT_EQ(draw(touch), (Calls{"pen none", "pattern " + x, "rop notxor", "rect 0,0,16,18", "rop copy"}));
    std::string silver = x;
    std::replace(silver.begin(), silver.end(), 'T', 'S');
    EXPECT_EQ(draw(touch, at(10, false))[1], "pattern " + silver);
}

TEST(ObjectDrawing, BargraphFillsTheHalfOfItsDirection) {
    BargraphObject bar;
    place(bar, 0, 0, 19, 9);
    bar.colourA = 0;
    bar.direction = BargraphObject::kBottomToTop;
    EXPECT_EQ(draw(bar), (Calls{"pen " + kBlackRgb + " 1", "brush " + kWhiteRgb, "rect 0,0,20,10",
                                "brush " + kBlackRgb, "rect 0,5,20,10"}));
    bar.direction = BargraphObject::kLeftToRight;
    EXPECT_EQ(draw(bar).back(), "rect 0,0,10,10");
    bar.direction = BargraphObject::kRightToLeft;
    EXPECT_EQ(draw(bar).back(), "rect 10,0,20,10");
    bar.direction = BargraphObject::kTopToBottom;
    EXPECT_EQ(draw(bar).back(), "rect 0,0,20,5");

    // On character displays the bar sits in cells like text and its fill is always solid.
    bar.colourA = 80;
    const Calls character = draw(bar, at(10, true, 2));
    EXPECT_EQ(character[0], "font orvik12x16 0 0");
    EXPECT_EQ(character[character.size() - 2], "brush " + kBlackRgb);
}

TEST(ObjectDrawing, BitmapDrawsItsPictureInBlocksOfTheZoom) {
    FakePictures pictures;
    pictures.pictures[4] = PictureBits{3, 2, {0xA0, 0x60}}; // 101 / 011
    BitmapObject bitmap;
    bitmap.setPictureId(4);
    place(bitmap, 5, 1, 7, 2);
    DrawParameters p = at(20);
    p.pictures = &pictures;
    const Calls expected{"fill 10,2,12,4 " + kWhiteRgb, "fill 12,2,14,4 " + kBlackRgb,
                         "fill 14,2,16,4 " + kWhiteRgb, "fill 10,4,12,6 " + kBlackRgb,
                         "fill 12,4,16,6 " + kWhiteRgb};
    EXPECT_EQ(draw(bitmap, p), expected);
    p.active = false;
    EXPECT_EQ(draw(bitmap, p)[1], "fill 12,2,14,4 " + kGrayRgb);

    // A picture the library does not give, or no library at all: nothing drawn and the user is told.
    for (const PictureSource* source :
         {static_cast<const PictureSource*>(nullptr), static_cast<const PictureSource*>(&pictures)}) {
        bitmap.setPictureId(9);
        p.pictures = source;
        RecordingSurface surface;
        const Status drawn = bitmap.Draw(surface, p);
        ASSERT_FALSE(drawn.ok());
        EXPECT_EQ(drawn.message(), "Can not open pictures' library.");
        EXPECT_TRUE(surface.calls.empty());
    }
}

// ---- Whole screens ----

class ScreenDrawingTest : public ::testing::Test {
protected:
    Screen& screen(std::uint32_t number) { return *must(app.addScreen(std::make_unique<Screen>(number))); }
    template <typename T>
    T& add(Screen& s, std::int32_t left, std::int32_t top, std::int32_t right, std::int32_t bottom) {
        auto object = std::make_unique<T>();
        place(*object, left, top, right, bottom);
        return static_cast<T&>(*must(s.appendObject(std::move(object))));
    }

    Application app{520};
    RecordingSurface surface;
};

TEST_F(ScreenDrawingTest, GridsThenTheAssociatedScreenGrayThenTheObjects) {
    Screen& edited = screen(1);
    Screen& beneath = screen(2);
    Screen& third = screen(3);
    edited.setAssociated(2);
    beneath.setAssociated(3);
    add<RectangleObject>(beneath, 0, 0, 9, 9).colourA = 0;
    add<BitmapObject>(beneath, 0, 0, 9, 9); // no pictures: fails, but the rest is still drawn
    add<EllipseObject>(third, 0, 0, 9, 9);
    ASSERT_TRUE(add<TextObject>(edited, 0, 0, 5, 7).setText("T").ok());

    const Status drawn = drawScreen(surface, app, edited, at(), ScreenGridOptions{true, true, 6, 8});
    ASSERT_FALSE(drawn.ok());
    EXPECT_EQ(drawn.message(), "Can not open pictures' library.");

    const Calls& c = surface.calls;
    ASSERT_GE(c.size(), 4U);
    EXPECT_EQ((Calls{c.begin(), c.begin() + 4}),
              (Calls{"rop copy", "fill 0,0,320,240 " + kWhiteRgb, "pen 192,192,192 1", "brush none"}));
    const Calls cells = surface.only("rect");
    ASSERT_GE(cells.size(), 180U);
    EXPECT_EQ(cells[0], "rect 0,0,16,24");
    EXPECT_EQ(cells[21], "rect 16,27,32,51"); // column 1 of row 1
    EXPECT_EQ(cells[179], "rect 304,216,320,240");

    const Calls dots = surface.only("pixel");
    EXPECT_EQ(dots.size(), 53U * 29U);
    EXPECT_EQ(dots.front(), "pixel 6,8 " + kBlackRgb);
    EXPECT_EQ(dots.back(), "pixel 318,232 " + kBlackRgb);

    // After the grids: the rectangle beneath in gray, no ellipse of screen 3, then the text in black.
    Calls tail;
    bool pastDots = false;
    for (std::size_t i = 4; i < c.size(); ++i) {
        if (c[i] == "rop mask") {
            pastDots = true;
            continue;
        }
        if (pastDots && c[i].rfind("pixel", 0) != 0 && c[i] != "rop copy") {
            tail.push_back(c[i]);
        }
    }
    EXPECT_EQ(tail,
              (Calls{"pen " + kGrayRgb + " 1", "brush " + kGrayRgb, "rect 0,0,10,10", "font orvik6x8 6 8",
                     "colours " + kBlackRgb + " on " + kWhiteRgb, "text 0,0 \"T\""}));
}

TEST_F(ScreenDrawingTest, CharacterDisplayDotsStepByCellsAndGridsAreOptional) {
    Application character{20};
    Screen& s = *must(character.addScreen(std::make_unique<Screen>(1)));
    ASSERT_TRUE(drawScreen(surface, character, s, at(20, true, 2), ScreenGridOptions{true, true, 6, 8}).ok());
    const Calls dots = surface.only("pixel");
    ASSERT_EQ(dots.size(), 15U * 3U); // 384 x 128 window: x 24..360, y 32..96
    EXPECT_EQ(dots.front(), "pixel 24,32 " + kBlackRgb);
    EXPECT_TRUE(surface.only("rect").empty()); // character displays have no touch cells

    surface.clear();
    ASSERT_TRUE(drawScreen(surface, app, screen(1), at(), ScreenGridOptions{}).ok());
    EXPECT_EQ(surface.calls, (Calls{"rop copy", "fill 0,0,320,240 " + kWhiteRgb}));
}

// ---- Damaged objects ----

TEST(ObjectDrawing, DamagedFieldsDrawWithinBounds) {
    std::vector<std::unique_ptr<ScreenObject>> objects;
    auto text = std::make_unique<TextObject>();
    place(*text, INT_MIN, INT_MIN, INT_MAX, INT_MAX);
    ASSERT_TRUE(text->setText(std::string(255, 'q')).ok());
    text->border = 2;
    text->font = 200;
    objects.push_back(std::move(text));

    auto window = std::make_unique<AlarmWindowObject>();
    place(*window, -5, 3, INT_MAX - 1, 2);
    AlarmWindowOptions options;
    options.showHeaders = true;
    options.secondWindowOption = 200;
    options.columns.assign(255, AlarmColumn{2, std::string(255, 'h'), 255});
    ASSERT_TRUE(window->setOptions(options).ok());
    objects.push_back(std::move(window));

    auto reversed = std::make_unique<ErrorObject>();
    place(*reversed, 50, 50, 10, 10);
    objects.push_back(std::move(reversed));

    auto coil = std::make_unique<DisplayCoilObject>();
    place(*coil, 100, 100, INT_MAX, INT_MAX);
    ASSERT_TRUE(coil->setTexts(std::string(255, 'a'), "").ok());
    objects.push_back(std::move(coil));

    auto value = std::make_unique<DisplayRegisterObject>();
    value->format.code = {'\xFF', 'F'};
    value->format.dataType = '\0';
    objects.push_back(std::move(value));

    auto bar = std::make_unique<BargraphObject>();
    place(*bar, INT_MAX, INT_MIN, INT_MIN, INT_MAX);
    bar->direction = 99;
    objects.push_back(std::move(bar));

    auto line = std::make_unique<PolylineObject>();
    ASSERT_TRUE(line->setPoints(std::vector<ObjectPoint>(255, ObjectPoint{65535, 65535})).ok());
    objects.push_back(std::move(line));

    auto bitmap = std::make_unique<BitmapObject>();
    place(*bitmap, -100, -100, 0, 0);
    objects.push_back(std::move(bitmap));
    FakePictures pictures;
    pictures.pictures[0] = PictureBits{65535, 65535, {0xFF}}; // claims far more than it holds

    for (const std::int32_t zoom : {INT_MIN, 0, 10, 15, 20, 30, INT_MAX}) {
        for (const std::uint8_t displayClass :
             {std::uint8_t{0}, std::uint8_t{2}, std::uint8_t{52}, std::uint8_t{99}}) {
            DrawParameters p = at(zoom, zoom % 20 == 0, displayClass);
            p.pictures = &pictures;
            p.xOffset = INT_MAX;
            p.yOffset = INT_MIN;
            for (const auto& object : objects) {
                RecordingSurface surface;
                (void)object->Draw(surface, p);
                // No object can draw more than the screen's cells or pixels.
                EXPECT_LE(surface.calls.size(), 330U * 250U) << int(object->kind());
            }
        }
    }
}

TEST(ObjectDrawing, RandomObjectsNeverDrawPastTheScreen) {
    std::mt19937 random(20261207);
    auto any = [&](std::int64_t low, std::int64_t high) {
        return static_cast<std::int32_t>(std::uniform_int_distribution<std::int64_t>(low, high)(random));
    };
    FakePictures pictures;
    pictures.pictures[1] = PictureBits{40, 30, std::vector<std::uint8_t>(5 * 30, 0x5A)};
    const std::vector<std::uint8_t> kinds{0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 16, 17, 21};
    for (int round = 0; round < 400; ++round) {
        auto object = ScreenObject::create(kinds[static_cast<std::size_t>(any(0, kinds.size() - 1))]);
        ASSERT_NE(object, nullptr);
        const bool wild = round % 4 == 0;
        const std::int32_t spread = wild ? INT_MAX : 400;
        object->left = any(wild ? INT_MIN : -20, spread);
        object->top = any(wild ? INT_MIN : -20, spread);
        object->right = any(wild ? INT_MIN : -20, spread);
        object->bottom = any(wild ? INT_MIN : -20, spread);
        object->font = static_cast<std::uint8_t>(any(0, wild ? 255 : 2));
        object->colourA = static_cast<std::uint8_t>(any(0, 5) * 20);
        object->colourB = static_cast<std::uint8_t>(any(0, 1) * 100);
        object->border = static_cast<std::uint8_t>(any(0, 3));
        if (auto* text = dynamic_cast<TextObject*>(object.get())) {
            std::string s(static_cast<std::size_t>(any(0, 255)), '\0');
            for (char& c : s) {
                c = static_cast<char>(any(0, 255));
            }
            ASSERT_TRUE(text->setText(s).ok());
        } else if (auto* window = dynamic_cast<AlarmWindowObject*>(object.get())) {
            AlarmWindowOptions options;
            options.showHeaders = any(0, 1) == 1;
            options.secondWindowOption = static_cast<std::uint8_t>(any(0, 3));
            for (int i = any(0, 12); i > 0; --i) {
                options.columns.push_back({static_cast<std::uint8_t>(any(0, 9)),
                                           std::string(static_cast<std::size_t>(any(0, 20)), 'H'),
                                           static_cast<std::uint8_t>(any(0, 60))});
            }
            ASSERT_TRUE(window->setOptions(options).ok());
        } else if (auto* bitmap = dynamic_cast<BitmapObject*>(object.get())) {
            bitmap->setPictureId(static_cast<std::uint32_t>(any(0, 2)));
        }
        DrawParameters p =
            at(any(0, 40), any(0, 1) == 1, std::vector<std::uint8_t>{1, 2, 3, 4, 50, 51, 52}[any(0, 6)]);
        p.pictures = &pictures;
        RecordingSurface surface;
        (void)object->Draw(surface, p);
        const CanvasGeometry geometry(p.displayClass, p.zoom);
        const std::size_t screenCells = static_cast<std::size_t>(geometry.windowWidth() / 6 + 1) *
                                        static_cast<std::size_t>(geometry.windowHeight() / 8 + 1);
        EXPECT_LE(surface.only("text").size(), screenCells) << round;
        EXPECT_LE(surface.only("fill").size(),
                  static_cast<std::size_t>(geometry.screenSize().width) * geometry.screenSize().height)
            << round;
    }
}
