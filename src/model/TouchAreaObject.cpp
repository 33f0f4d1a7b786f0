#include "model/TouchAreaObject.h"

#include "model/ObjectDrawing.h"
#include "model/Screen.h"

#include <vector>

namespace quillon {

TouchAreaObject::TouchAreaObject(const TouchAreaObject& other) : ScreenObject(other), TaskListOwner() {
    // A copy (for the clipboard or a paste) takes copies of the tasks; it is on no screen yet, so its
    // record length carries the bytes and the screen it joins counts them.
    for (std::size_t i = 0; i < lists_.size(); ++i) {
        for (const auto& task : other.lists_[i].tasks_) {
            lists_[i].tasks_.push_back(std::make_unique<Task>(*task));
        }
        lists_[i].bytes_ = other.lists_[i].bytes_;
    }
}

std::unique_ptr<ScreenObject> TouchAreaObject::clone() const {
    return std::make_unique<TouchAreaObject>(*this);
}

TaskListKind TouchAreaObject::taskListKind(std::size_t index) const noexcept {
    switch (index) {
    case kPress:
        return TaskListKind::TouchPress;
    case kPressed:
        return TaskListKind::TouchPressed;
    default:
        return TaskListKind::TouchReleased;
    }
}

bool TouchAreaObject::attached() const noexcept {
    return screen() != nullptr && screen()->inApplication();
}

ReadListHolder* TouchAreaObject::readListHolder(Application& /*app*/, std::size_t /*index*/) noexcept {
    return screen();
}

void TouchAreaObject::chargeTaskBytes(std::size_t /*index*/, MemoryTotals& /*totals*/,
                                      std::int32_t delta) noexcept {
    adjustLength(delta);
    if (screen() != nullptr) {
        screen()->chargeObjectBytes(delta, false);
    }
}

void TouchAreaObject::enterOwnReads() {
    if (screen() == nullptr) {
        return;
    }
    for (const TaskList& list : lists_) {
        for (const auto& task : list.tasks()) {
            const TaskReads reads = taskReads(*task);
            for (std::size_t i = 0; i < reads.count; ++i) {
                screen()->enterBlockRead(*reads.blocks[i]);
            }
        }
    }
}

void TouchAreaObject::leaveOwnReads() {
    if (screen() == nullptr) {
        return;
    }
    for (const TaskList& list : lists_) {
        for (const auto& task : list.tasks()) {
            const TaskReads reads = taskReads(*task);
            for (std::size_t i = 0; i < reads.count; ++i) {
                screen()->leaveBlockRead(*reads.blocks[i]);
            }
        }
    }
}

Status TouchAreaObject::writeKindPart(ByteSink& sink, const ObjectWriteContext& /*context*/) const {
    for (const TaskList& list : lists_) {
        sink.u16(static_cast<std::uint16_t>(list.size()));
    }
    for (const TaskList& list : lists_) {
        sink.u16(static_cast<std::uint16_t>(list.bytes()));
    }
    std::vector<std::uint8_t> bytes;
    for (const TaskList& list : lists_) {
        for (const auto& task : list.tasks()) {
            encodeTask(*task, bytes);
        }
    }
    sink.append(bytes);
    return Status::success();
}

Status TouchAreaObject::Draw(DrawingSurface& surface, const DrawParameters& parameters) const {
    const ObjectDrawing drawing(surface, parameters);
    // Not-xor with the X pattern keeps the objects beneath visible through the area.
    surface.setPen(std::nullopt, 0);
    surface.setPatternBrush(ObjectDrawing::touchPattern(drawing.active()));
    surface.setRasterOp(RasterOp::NotXorPen);
    surface.rectangle(drawing.windowRect(ObjectDrawing::bounds(*this)));
    surface.setRasterOp(RasterOp::CopyPen);
    return Status::success();
}

} // namespace quillon
