#pragma once

#include "model/ScreenObject.h"
#include "model/TaskListOwner.h"

#include <array>

namespace quillon {

// An area of a touch screen that runs its Press, Pressed and Released task lists when touched. Its
// record carries the lists, so every task changes the record length; its tasks read through the
// screen's read list.
class TouchAreaObject final : public ScreenObject, public TaskListOwner {
public:
    static constexpr std::size_t kPress = 0;
    static constexpr std::size_t kPressed = 1;
    static constexpr std::size_t kReleased = 2;
    static constexpr std::size_t kTouchTaskLimit = 5001;
    static constexpr std::uint32_t kListHeaderBytes = 12; // three task counts and three byte lengths

    TouchAreaObject() : ScreenObject(ObjectKind::TouchArea) { lengthChanged(); }
    TouchAreaObject(const TouchAreaObject& other);

    std::unique_ptr<ScreenObject> clone() const override;
    Status Draw(DrawingSurface& surface, const DrawParameters& parameters) const override;
    // A touch area keeps no properties in the editor's set; its tasks have an editor of their own.
    void LoadEditValues(EditValues& /*values*/) const override {}

    TaskListOwner* taskOwner() noexcept override { return this; }
    const TaskListOwner* taskOwner() const noexcept override { return this; }

    std::size_t taskListCount() const noexcept override { return 3; }
    const TaskList& taskList(std::size_t index) const override { return lists_.at(index); }
    TaskListKind taskListKind(std::size_t index) const noexcept override;
    std::size_t taskLimit() const noexcept override { return kTouchTaskLimit; }
    bool attached() const noexcept override;

protected:
    std::uint32_t kindPartLength() const noexcept override { return kListHeaderBytes + taskBytes(); }
    Status writeKindPart(ByteSink& sink, const ObjectWriteContext& context) const override;
    void enterOwnReads() override;
    void leaveOwnReads() override;

    TaskList& mutableTaskList(std::size_t index) override { return lists_.at(index); }
    ReadListHolder* readListHolder(Application& app, std::size_t index) noexcept override;
    void chargeTaskBytes(std::size_t index, MemoryTotals& totals, std::int32_t delta) noexcept override;

private:
    std::array<TaskList, 3> lists_;
};

} // namespace quillon
