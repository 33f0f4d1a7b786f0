#include "model/ScreenObject.h"

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
#include "model/PolygonObject.h"
#include "model/PolylineObject.h"
#include "model/RectangleObject.h"
#include "model/RoundRectangleObject.h"
#include "model/Screen.h"
#include "model/Tag.h"
#include "model/TaskListOwner.h"
#include "model/TextObject.h"
#include "model/TimeObject.h"
#include "model/TouchAreaObject.h"

#include <algorithm>

namespace quillon {

namespace {

constexpr std::int32_t kCellWidth = 12;
constexpr std::int32_t kCellHeight = 16;

std::uint16_t coordinate(std::int32_t value, std::int32_t divisor) noexcept {
    return static_cast<std::uint16_t>(std::clamp(value / divisor, 0, 65535));
}

void writeTagRef(ByteSink& sink, const Tag& tag) {
    sink.u8(tag.nodeNumber());
    sink.u16(static_cast<std::uint16_t>(tag.blockIndex()));
    sink.u8(tag.indexInBlock());
}

} // namespace

const TaskList* objectTasks(const ScreenObject& object, std::size_t index) {
    const TaskListOwner* owner = object.taskOwner();
    return owner != nullptr && index < owner->taskListCount() ? &owner->taskList(index) : nullptr;
}

bool isObjectKind(std::uint8_t code) noexcept {
    return code <= 17 || code == 21;
}

std::string_view objectKindName(ObjectKind kind) noexcept {
    switch (kind) {
    case ObjectKind::Bitmap:
        return "Bitmap";
    case ObjectKind::Text:
        return "Text";
    case ObjectKind::DataEntryCoil:
    case ObjectKind::DataEntryRegister:
        return "Data Entry";
    case ObjectKind::DisplayCoil:
    case ObjectKind::DisplayRegister:
    case ObjectKind::DisplayRegisterText:
        return "Display PLC Data";
    case ObjectKind::Time:
        return "Time";
    case ObjectKind::Date:
        return "Date";
    case ObjectKind::Error:
        return "Error";
    case ObjectKind::Rectangle:
        return "Rectangle";
    case ObjectKind::Ellipse:
        return "Ellipse";
    case ObjectKind::RoundRectangle:
        return "RoundRectangle";
    case ObjectKind::Polyline:
        return "Polyline";
    case ObjectKind::Polygon:
        return "Polygon";
    case ObjectKind::AlarmWindow:
        return "Alarm";
    case ObjectKind::TouchArea:
        return "Touch-screen";
    case ObjectKind::OldBargraph:
    case ObjectKind::Bargraph:
        return "Bargraph";
    }
    return {};
}

std::unique_ptr<ScreenObject> ScreenObject::create(std::uint8_t kindCode) {
    if (!isObjectKind(kindCode)) {
        return nullptr;
    }
    switch (static_cast<ObjectKind>(kindCode)) {
    case ObjectKind::Bitmap:
        return std::make_unique<BitmapObject>();
    case ObjectKind::Text:
        return std::make_unique<TextObject>();
    case ObjectKind::DataEntryCoil:
        return std::make_unique<DataEntryCoilObject>();
    case ObjectKind::DataEntryRegister:
        return std::make_unique<DataEntryRegisterObject>();
    case ObjectKind::DisplayCoil:
        return std::make_unique<DisplayCoilObject>();
    case ObjectKind::DisplayRegister:
        return std::make_unique<DisplayRegisterObject>();
    case ObjectKind::DisplayRegisterText:
        return std::make_unique<DisplayRegisterTextObject>();
    case ObjectKind::Time:
        return std::make_unique<TimeObject>();
    case ObjectKind::Date:
        return std::make_unique<DateObject>();
    case ObjectKind::Error:
        return std::make_unique<ErrorObject>();
    case ObjectKind::Rectangle:
        return std::make_unique<RectangleObject>();
    case ObjectKind::Ellipse:
        return std::make_unique<EllipseObject>();
    case ObjectKind::RoundRectangle:
        return std::make_unique<RoundRectangleObject>();
    case ObjectKind::Polyline:
        return std::make_unique<PolylineObject>();
    case ObjectKind::Polygon:
        return std::make_unique<PolygonObject>();
    case ObjectKind::OldBargraph:
        return std::make_unique<BargraphObject>(true);
    case ObjectKind::AlarmWindow:
        return std::make_unique<AlarmWindowObject>();
    case ObjectKind::TouchArea:
        return std::make_unique<TouchAreaObject>();
    case ObjectKind::Bargraph:
        return std::make_unique<BargraphObject>();
    }
    return nullptr;
}

ScreenObject::ScreenObject(ObjectKind kind) noexcept : kind_(kind) {}

ScreenObject::ScreenObject(const ScreenObject& other)
    : left(other.left), top(other.top), right(other.right), bottom(other.bottom), font(other.font),
      colourA(other.colourA), colourB(other.colourB), flash(other.flash), zLevel(other.zLevel),
      border(other.border), kind_(other.kind_), recordLength_(other.recordLength_),
      showHide_(other.showHide_), flashAnimation_(other.flashAnimation_), tag_(other.tag_) {}

ScreenObject::~ScreenObject() = default;

std::uint8_t ScreenObject::animation() const noexcept {
    return static_cast<std::uint8_t>((showHide_ ? kAnimateShowHide : 0) |
                                     (flashAnimation_ ? kAnimateFlash : 0));
}

std::uint32_t ScreenObject::commonLength() const noexcept {
    return kCommonBytes + (showHide_ ? kShowHideBytes : 0) + (flashAnimation_ ? kFlashBytes : 0) +
           kMainTagBytes;
}

void ScreenObject::lengthChanged() {
    const std::uint32_t next = computeLength();
    const std::int64_t delta = static_cast<std::int64_t>(next) - static_cast<std::int64_t>(recordLength_);
    recordLength_ = next;
    if (screen_ != nullptr && delta != 0) {
        screen_->chargeObjectBytes(delta, true);
    }
}

void ScreenObject::adjustLength(std::int64_t delta) noexcept {
    addBytes(recordLength_, delta);
}

void ScreenObject::enterRead(Tag* tag) const {
    if (screen_ != nullptr && tag != nullptr) {
        screen_->enterRead(*tag);
    }
}

void ScreenObject::leaveRead(Tag* tag) const {
    if (screen_ != nullptr && tag != nullptr) {
        screen_->leaveRead(*tag);
    }
}

void ScreenObject::setShowHide(std::optional<RangeAnimation> animation) {
    if (animation) {
        animation->option = 0; // show/hide has no option byte in the image
    }
    enterRead(animation ? animation->tag : nullptr);
    leaveRead(showHide_ ? showHide_->tag : nullptr);
    showHide_ = animation;
    lengthChanged();
}

void ScreenObject::setFlashAnimation(std::optional<RangeAnimation> animation) {
    enterRead(animation ? animation->tag : nullptr);
    leaveRead(flashAnimation_ ? flashAnimation_->tag : nullptr);
    flashAnimation_ = animation;
    lengthChanged();
}

void ScreenObject::mapTags(const std::function<Tag*(Tag*)>& map) {
    if (tag() != nullptr) {
        setTag(map(tag()));
    }
    if (showHide() && showHide()->tag != nullptr) {
        RangeAnimation animation = *showHide();
        animation.tag = map(animation.tag);
        setShowHide(animation);
    }
    if (flashAnimation() && flashAnimation()->tag != nullptr) {
        RangeAnimation animation = *flashAnimation();
        animation.tag = map(animation.tag);
        setFlashAnimation(animation);
    }
    if (const TaskListOwner* owner = taskOwner()) {
        for (std::size_t list = 0; list < owner->taskListCount(); ++list) {
            const TaskList& tasks = owner->taskList(list);
            for (std::size_t i = 0; i < tasks.size(); ++i) {
                Task& task = tasks.at(i);
                if (task.tag1 != nullptr) {
                    task.tag1 = map(task.tag1);
                }
                if (task.tag2 != nullptr) {
                    task.tag2 = map(task.tag2);
                }
            }
        }
    }
}

void ScreenObject::setTag(Tag* tag) {
    if (mainTagIsRead()) {
        // Enter first: a tag moving within one block must not drop the block from the list in between.
        enterRead(tag);
        leaveRead(tag_);
    }
    tag_ = tag;
}

void ScreenObject::enterAllReads() {
    if (showHide_) {
        enterRead(showHide_->tag);
    }
    if (flashAnimation_) {
        enterRead(flashAnimation_->tag);
    }
    if (mainTagIsRead()) {
        enterRead(tag_);
    }
    enterOwnReads();
}

void ScreenObject::leaveAllReads() {
    if (showHide_) {
        leaveRead(showHide_->tag);
    }
    if (flashAnimation_) {
        leaveRead(flashAnimation_->tag);
    }
    if (mainTagIsRead()) {
        leaveRead(tag_);
    }
    leaveOwnReads();
}

Status ScreenObject::Write(ByteSink& sink, const ObjectWriteContext& context) const {
    const std::int32_t cellWidth = context.characterCells ? kCellWidth : 1;
    const std::int32_t cellHeight = context.characterCells ? kCellHeight : 1;

    auto code = [&](const Tag* tag) -> Result<ObjectTagCode> {
        if (tag == nullptr) {
            return ObjectTagCode{};
        }
        if (screen_ == nullptr) {
            return Result<ObjectTagCode>::fail("An object on no screen names no tag for the unit.");
        }
        return context.coder.objectTagCode(*tag, *screen_);
    };

    sink.u32(recordLength_);
    sink.u8(static_cast<std::uint8_t>(kind_));
    sink.u16(coordinate(left, cellWidth));
    sink.u16(coordinate(top, cellHeight));
    sink.u16(coordinate(right, cellWidth));
    sink.u16(coordinate(bottom, cellHeight));
    sink.u8(sequence_);
    sink.u8(groupNext_ != nullptr ? groupNext_->sequence_ : 0);
    sink.u8(font);
    sink.u8(colourA);
    sink.u8(colourB);
    sink.u8(flash);
    sink.u8(zLevel);
    sink.u8(border);
    sink.u8(animation());
    if (showHide_) {
        auto c = code(showHide_->tag);
        if (!c) {
            return c.failure();
        }
        sink.append(*c);
        sink.u8(showHide_->when);
        sink.u16(showHide_->low);
        sink.u16(showHide_->high);
    }
    if (flashAnimation_) {
        auto c = code(flashAnimation_->tag);
        if (!c) {
            return c.failure();
        }
        sink.append(*c);
        sink.u8(flashAnimation_->when);
        sink.u16(flashAnimation_->low);
        sink.u16(flashAnimation_->high);
        sink.u8(flashAnimation_->option);
    }
    if (tag_ != nullptr && isDataEntry(kind_)) {
        writeTagRef(sink, *tag_);
    } else {
        auto c = code(tag_);
        if (!c) {
            return c.failure();
        }
        sink.append(*c);
    }
    return writeKindPart(sink, context);
}

} // namespace quillon
