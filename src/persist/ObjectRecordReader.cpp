#include "persist/ObjectRecordReader.h"

#include "model/AlarmWindowObject.h"
#include "model/Application.h"
#include "model/BargraphObject.h"
#include "model/BitTextObject.h"
#include "model/BitmapObject.h"
#include "model/DataEntryRegisterObject.h"
#include "model/DateObject.h"
#include "model/DisplayRegisterObject.h"
#include "model/DisplayRegisterTextObject.h"
#include "model/FilledShapeObject.h"
#include "model/PolygonObject.h"
#include "model/PolylineObject.h"
#include "model/Screen.h"
#include "model/ScreenObject.h"
#include "model/Task.h"
#include "model/TextObject.h"
#include "model/TimeObject.h"
#include "model/TouchAreaObject.h"
#include "persist/ByteReader.h"
#include "persist/ObjectTagCoder.h"
#include "persist/OvmLayout.h"

#include <array>
#include <new>
#include <vector>

namespace quillon {

namespace {

struct Common {
    std::uint32_t length = 0;
    std::uint8_t kind = 0;
    std::uint16_t left = 0;
    std::uint16_t top = 0;
    std::uint16_t right = 0;
    std::uint16_t bottom = 0;
    std::uint8_t sequence = 0;
    std::uint8_t groupLink = 0;
    std::uint8_t font = 0;
    std::uint8_t colourA = 0;
    std::uint8_t colourB = 0;
    std::uint8_t flash = 0;
    std::uint8_t zLevel = 0;
    std::uint8_t border = 0;
    std::uint8_t animation = 0;
};

bool readCommon(ByteReader& in, Common& c) {
    return in.u32(c.length) && in.u8(c.kind) && in.u16(c.left) && in.u16(c.top) && in.u16(c.right) &&
           in.u16(c.bottom) && in.u8(c.sequence) && in.u8(c.groupLink) && in.u8(c.font) && in.u8(c.colourA) &&
           in.u8(c.colourB) && in.u8(c.flash) && in.u8(c.zLevel) && in.u8(c.border) && in.u8(c.animation);
}

bool readCode(ByteReader& in, ObjectTagCode& code) {
    return in.u8(code[0]) && in.u8(code[1]) && in.u8(code[2]) && in.u8(code[3]);
}

bool readFormat(ByteReader& in, RegisterFormat& format, bool withLimits, std::uint32_t* low,
                std::uint32_t* high, bool* leadingZeros) {
    std::uint8_t type = 0;
    std::uint8_t c0 = 0;
    std::uint8_t c1 = 0;
    if (!(in.u8(type) && in.u8(c0) && in.u8(c1))) {
        return false;
    }
    format.dataType = static_cast<char>(type);
    format.code = {static_cast<char>(c0), static_cast<char>(c1)};
    if (withLimits) {
        if (!(in.u32(*low) && in.u32(*high))) {
            return false;
        }
    } else {
        std::uint8_t blank = 0;
        if (!in.u8(blank)) {
            return false;
        }
        *leadingZeros = blank != 0;
    }
    return in.u8(format.first.code) && in.i32(format.first.operand) && in.u8(format.second.code) &&
           in.i32(format.second.operand);
}

bool readFilling(ByteReader& in, std::optional<PercentFilling>& filling) {
    std::uint8_t flag = 0;
    if (!in.u8(flag)) {
        return false;
    }
    if (flag == 0) {
        filling.reset();
        return true;
    }
    PercentFilling f;
    if (!(in.u8(f.minPercent) && in.u8(f.maxPercent) && in.u8(f.direction))) {
        return false;
    }
    filling = f;
    return true;
}

// Points are checked against the bytes left before any is stored.
bool readPoints(ByteReader& in, std::uint8_t count, std::vector<ObjectPoint>& points) {
    if (in.remaining() < std::size_t{count} * 4) {
        return false;
    }
    points.resize(count);
    for (ObjectPoint& p : points) {
        (void)(in.u16(p.x) && in.u16(p.y));
    }
    return true;
}

} // namespace

int ObjectRecordReader::errorNumber(std::uint8_t kind) noexcept {
    switch (static_cast<ObjectKind>(kind)) {
    case ObjectKind::Bitmap:
        return ovm_error::kBitmap;
    case ObjectKind::Text:
        return ovm_error::kText;
    case ObjectKind::DataEntryCoil:
        return ovm_error::kDataEntryCoil;
    case ObjectKind::DataEntryRegister:
        return ovm_error::kDataEntryRegister;
    case ObjectKind::DisplayCoil:
        return ovm_error::kDisplayCoil;
    case ObjectKind::DisplayRegister:
        return ovm_error::kDisplayRegister;
    case ObjectKind::DisplayRegisterText:
        return ovm_error::kDisplayRegisterText;
    case ObjectKind::Time:
        return ovm_error::kTime;
    case ObjectKind::Date:
        return ovm_error::kDate;
    case ObjectKind::Rectangle:
        return ovm_error::kRectangle;
    case ObjectKind::Ellipse:
        return ovm_error::kEllipse;
    case ObjectKind::RoundRectangle:
        return ovm_error::kRoundRectangle;
    case ObjectKind::Polyline:
        return ovm_error::kPolyline;
    case ObjectKind::Polygon:
        return ovm_error::kPolygon;
    case ObjectKind::AlarmWindow:
        return ovm_error::kAlarmWindow;
    case ObjectKind::TouchArea:
        return ovm_error::kTouchArea;
    case ObjectKind::Bargraph:
        return ovm_error::kBargraph;
    case ObjectKind::Error:
    case ObjectKind::OldBargraph:
        return 0;
    }
    return ovm_error::kScreen;
}

Result<ObjectRecordInfo> ObjectRecordReader::read(ByteReader& in, Screen& screen) {
    using Info = Result<ObjectRecordInfo>;
    const std::size_t start = in.position();
    Common c;
    if (!readCommon(in, c)) {
        return Info::fail("", 0);
    }
    std::unique_ptr<ScreenObject> object = ScreenObject::create(c.kind);
    if (!object) {
        return Info::fail("", ovm_error::kScreen);
    }
    const ObjectKind kind = object->kind();
    const int error = errorNumber(c.kind);
    const auto failed = [&](int number) { return Info::fail("", number); };

    if (characterCells_) {
        object->left = c.left * 12;
        object->top = c.top * 16;
        object->right = c.right * 12 + 11;
        object->bottom = c.bottom * 16 + 15;
    } else {
        object->left = c.left;
        object->top = c.top;
        object->right = c.right;
        object->bottom = c.bottom;
    }
    object->font = c.font;
    object->colourA = c.colourA;
    object->colourB = c.colourB;
    object->flash = c.flash;
    object->zLevel = c.zLevel;
    object->border = c.border;

    const ReadList& loaded = screen.loadedReadList();
    const std::uint32_t number = screen.number();
    std::optional<RangeAnimation> showHide;
    std::optional<RangeAnimation> flash;
    if ((c.animation & ScreenObject::kAnimateShowHide) != 0) {
        ObjectTagCode code{};
        RangeAnimation a;
        if (!(readCode(in, code) && in.u8(a.when) && in.u16(a.low) && in.u16(a.high))) {
            return failed(error);
        }
        a.tag = coder_.decode(code, loaded, number);
        showHide = a;
    }
    if ((c.animation & ScreenObject::kAnimateFlash) != 0) {
        ObjectTagCode code{};
        RangeAnimation a;
        if (!(readCode(in, code) && in.u8(a.when) && in.u16(a.low) && in.u16(a.high) && in.u8(a.option))) {
            return failed(error);
        }
        a.tag = coder_.decode(code, loaded, number);
        flash = a;
    }
    ObjectTagCode mainCode{};
    if (!readCode(in, mainCode)) {
        return failed(error);
    }
    Tag* mainTag = nullptr;
    if (isDataEntry(kind)) {
        mainTag = app_.findTag(mainCode[0], static_cast<std::uint32_t>(mainCode[1] | (mainCode[2] << 8)),
                               mainCode[3]);
    } else if (mainCode != ObjectTagCode{}) {
        mainTag = coder_.decode(mainCode, loaded, number);
    }

    ObjectRecordInfo info;
    info.sequence = c.sequence;
    info.groupLink = c.groupLink;
    std::array<std::uint16_t, 6> touchCounts{};
    switch (kind) {
    case ObjectKind::Bitmap: {
        std::uint32_t offset = 0;
        if (!in.u32(offset)) {
            return failed(error);
        }
        info.imageOffset = offset;
        break;
    }
    case ObjectKind::Text: {
        std::string text;
        if (!in.text8(text) || !static_cast<TextObject&>(*object).setText(text)) {
            return failed(error);
        }
        break;
    }
    case ObjectKind::DataEntryCoil:
    case ObjectKind::DisplayCoil: {
        std::string off;
        std::string on;
        if (!in.text8(off) || !in.text8(on) || !static_cast<BitTextObject&>(*object).setTexts(off, on)) {
            return failed(error);
        }
        break;
    }
    case ObjectKind::DataEntryRegister: {
        auto& o = static_cast<DataEntryRegisterObject&>(*object);
        if (!readFormat(in, o.format, true, &o.lowLimit, &o.highLimit, nullptr)) {
            return failed(error);
        }
        break;
    }
    case ObjectKind::DisplayRegister: {
        auto& o = static_cast<DisplayRegisterObject&>(*object);
        if (!readFormat(in, o.format, false, nullptr, nullptr, &o.leadingZerosBlank)) {
            return failed(error);
        }
        break;
    }
    case ObjectKind::DisplayRegisterText: {
        std::uint8_t count = 0;
        if (!in.u8(count)) {
            return failed(error);
        }
        std::vector<RegisterTextRange> ranges;
        for (std::uint8_t r = 0; r < count; ++r) {
            std::uint8_t length = 0;
            RegisterTextRange range;
            if (!(in.u8(length) && length >= 8 && in.i32(range.from) && in.i32(range.to) &&
                  in.chars(length - 8U, range.text))) {
                return failed(error);
            }
            ranges.push_back(std::move(range));
        }
        if (!static_cast<DisplayRegisterTextObject&>(*object).setRanges(ranges)) {
            return failed(error);
        }
        break;
    }
    case ObjectKind::Time:
        if (!in.u8(static_cast<TimeObject&>(*object).format)) {
            return failed(error);
        }
        break;
    case ObjectKind::Date:
        if (!in.u8(static_cast<DateObject&>(*object).format)) {
            return failed(error);
        }
        break;
    case ObjectKind::Error:
        break;
    case ObjectKind::Rectangle:
    case ObjectKind::Ellipse:
    case ObjectKind::RoundRectangle: {
        std::optional<PercentFilling> filling;
        if (!readFilling(in, filling)) {
            return failed(ovm_error::kFilling);
        }
        static_cast<FilledShapeObject&>(*object).setFilling(filling);
        break;
    }
    case ObjectKind::Polyline: {
        std::uint8_t count = 0;
        std::vector<ObjectPoint> points;
        if (!in.u8(count)) {
            return failed(error);
        }
        if (!readPoints(in, count, points) || !static_cast<PolylineObject&>(*object).setPoints(points)) {
            return failed(ovm_error::kPoints);
        }
        break;
    }
    case ObjectKind::Polygon: {
        auto& o = static_cast<PolygonObject&>(*object);
        std::uint8_t count = 0;
        std::optional<PercentFilling> filling;
        std::vector<ObjectPoint> points;
        if (!in.u8(count)) {
            return failed(error);
        }
        if (!readFilling(in, filling)) {
            return failed(ovm_error::kFilling);
        }
        if (!readPoints(in, count, points) || !o.setPoints(points)) {
            return failed(ovm_error::kPoints);
        }
        o.setFilling(filling);
        break;
    }
    case ObjectKind::AlarmWindow: {
        AlarmWindowOptions options;
        std::uint8_t headers = 0;
        std::uint8_t count = 0;
        if (!(in.u8(options.windowOption) && in.u8(headers) && in.u8(options.secondWindowOption) &&
              in.u8(count))) {
            return failed(error);
        }
        options.showHeaders = headers != 0;
        for (std::uint8_t i = 0; i < count; ++i) {
            AlarmColumn column;
            if (!in.u8(column.type) || (options.showHeaders && !in.text8(column.header)) ||
                !in.u8(column.option)) {
                return failed(error);
            }
            options.columns.push_back(std::move(column));
        }
        if (!static_cast<AlarmWindowObject&>(*object).setOptions(options)) {
            return failed(error);
        }
        break;
    }
    case ObjectKind::TouchArea:
        for (std::uint16_t& v : touchCounts) {
            if (!in.u16(v)) {
                return failed(error);
            }
        }
        break;
    case ObjectKind::OldBargraph: {
        // Old files keep the three fields in single bytes.
        auto& o = static_cast<BargraphObject&>(*object);
        std::uint8_t minimum = 0;
        std::uint8_t maximum = 0;
        if (!(in.u8(o.direction) && in.u8(minimum) && in.u8(maximum))) {
            return failed(0);
        }
        o.minimum = minimum;
        o.maximum = maximum;
        break;
    }
    case ObjectKind::Bargraph: {
        auto& o = static_cast<BargraphObject&>(*object);
        if (c.kind == static_cast<std::uint8_t>(ObjectKind::OldBargraph)) {
            // Old files keep the three fields in single bytes; a cut record has no report.
            std::uint8_t minimum = 0;
            std::uint8_t maximum = 0;
            if (!(in.u8(o.direction) && in.u8(minimum) && in.u8(maximum))) {
                return failed(0);
            }
            o.minimum = minimum;
            o.maximum = maximum;
            break;
        }
        if (!(in.u8(o.direction) && in.u16(o.minimum) && in.u16(o.maximum))) {
            return failed(error);
        }
        break;
    }
    }

    object->setShowHide(showHide);
    object->setFlashAnimation(flash);
    if (mainTag != nullptr) {
        object->setTag(mainTag);
    }
    auto appended = screen.appendObject(std::move(object));
    if (!appended) {
        return failed(ovm_error::kScreen);
    }
    info.object = *appended;

    if (kind == ObjectKind::TouchArea) {
        TaskListOwner& owner = *info.object->taskOwner();
        const TagLookup lookup = [this](std::uint8_t node, std::uint16_t block, std::uint8_t index) {
            return app_.findTag(node, block, index);
        };
        for (std::size_t l = 0; l < 3; ++l) {
            for (std::uint16_t t = 0; t < touchCounts[l]; ++t) {
                auto decoded = decodeTask(in.rest(), lookup);
                if (!decoded) {
                    return failed(decoded.code());
                }
                if (!app_.appendTask(owner, l, decoded->task)) {
                    return failed(ovm_error::kTaskList);
                }
                (void)in.skip(decoded->consumed);
            }
        }
        for (std::size_t l = 0; l < 3; ++l) {
            if (owner.taskList(l).bytes() != touchCounts[3 + l]) {
                return failed(ovm_error::kTouchArea);
            }
        }
    }
    // The record's length counts every byte of it, its own four included.
    info.recordLength = c.length;
    info.bytesTaken = in.position() - start;
    return info;
}

} // namespace quillon
