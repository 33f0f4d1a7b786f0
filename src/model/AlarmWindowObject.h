#pragma once

#include "model/ScreenObject.h"

#include <string>

namespace quillon {

// The edges, in unit pixels, an alarm window takes to show all its columns.
struct AlarmWindowFit {
    std::int32_t left = 0;
    std::int32_t right = 0;
    bool widened = false;

    friend bool operator==(const AlarmWindowFit&, const AlarmWindowFit&) = default;
};

// A window in which the unit lists the triggered alarms in the chosen columns.
class AlarmWindowObject final : public ScreenObject {
public:
    static constexpr std::size_t kMaxColumns = 255;
    static constexpr std::size_t kMaxHeaderLength = 255;
    // Column types.
    static constexpr std::uint8_t kNumber = 0;
    static constexpr std::uint8_t kTag = 1;
    static constexpr std::uint8_t kAlarmText = 2;
    static constexpr std::uint8_t kOnTime = 3;
    static constexpr std::uint8_t kOffTime = 4;
    static constexpr std::uint8_t kActive = 5;
    static constexpr std::uint8_t kAcknowledged = 6;
    static constexpr std::uint8_t kPrint = 7;
    // Column options of time columns ("HH:MM:SS" or "MM:SS") and of yes/no columns ("Y / N" or "Yes / No").
    static constexpr std::uint8_t kHoursFormat = 0;
    static constexpr std::uint8_t kMinutesFormat = 1;
    static constexpr std::uint8_t kShortYesNo = 0;
    static constexpr std::uint8_t kLongYesNo = 1;

    AlarmWindowObject() : ScreenObject(ObjectKind::AlarmWindow) { lengthChanged(); }

    const AlarmWindowOptions& options() const noexcept { return options_; }
    // Fails, keeping the old options, when the columns do not fit the record.
    Status setOptions(const AlarmWindowOptions& options);

    // Blanks between columns (0, 1 or 2), held in the second window option.
    std::uint8_t separatorCode() const noexcept { return options_.secondWindowOption; }
    // Characters a column takes in a row.
    static std::int32_t columnWidth(const AlarmColumn& column) noexcept;
    // Characters a row needs for all columns: their widths and one between each two.
    std::int32_t neededWidth() const noexcept;
    // The rows the unit shows: the headers, and a sample alarm, each column padded to its width and
    // followed by the separator.
    std::string headerLine() const;
    std::string sampleLine() const;

    // The edges that show every column in cells `cellWidth` unit pixels wide: when the window is narrower
    // than its columns need, a negative left becomes 0 and the right edge moves out, but not past the
    // screen's last pixel. Otherwise the current edges.
    AlarmWindowFit fittedEdges(std::int32_t screenWidth, std::int32_t cellWidth) const noexcept;
    // The same for the screen and the object's font on a display class.
    AlarmWindowFit fittedEdges(std::uint8_t displayClass) const noexcept;
    // Takes the fitted edges; true when the window changed.
    bool widenToFit(std::int32_t screenWidth, std::int32_t cellWidth) noexcept;
    bool widenToFit(std::uint8_t displayClass) noexcept;

    std::unique_ptr<ScreenObject> clone() const override;
    Status Draw(DrawingSurface& surface, const DrawParameters& parameters) const override;
    void LoadEditValues(EditValues& values) const override { values.alarmWindow = options_; }

protected:
    std::uint32_t kindPartLength() const noexcept override;
    Status writeKindPart(ByteSink& sink, const ObjectWriteContext& context) const override;

private:
    AlarmWindowOptions options_;
};

} // namespace quillon
