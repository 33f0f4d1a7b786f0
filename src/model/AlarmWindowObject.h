#pragma once

#include "model/ScreenObject.h"

namespace quillon {

// A window in which the unit lists the triggered alarms in the chosen columns.
class AlarmWindowObject final : public ScreenObject {
public:
    static constexpr std::size_t kMaxColumns = 255;
    static constexpr std::size_t kMaxHeaderLength = 255;

    AlarmWindowObject() : ScreenObject(ObjectKind::AlarmWindow) { lengthChanged(); }

    const AlarmWindowOptions& options() const noexcept { return options_; }
    // Fails, keeping the old options, when the columns do not fit the record.
    Status setOptions(const AlarmWindowOptions& options);

    std::unique_ptr<ScreenObject> clone() const override;
    void LoadEditValues(EditValues& values) const override { values.alarmWindow = options_; }

protected:
    std::uint32_t kindPartLength() const noexcept override;
    Status writeKindPart(ByteSink& sink, const ObjectWriteContext& context) const override;

private:
    AlarmWindowOptions options_;
};

} // namespace quillon
