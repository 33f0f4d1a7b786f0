#pragma once

#include "model/ScreenObject.h"

#include <optional>
#include <span>
#include <vector>

namespace quillon {

// A closed, filled shape through up to 255 points; its main tag can fill it by a percentage.
class PolygonObject final : public ScreenObject {
public:
    static constexpr std::size_t kMaxPoints = 255;

    PolygonObject() : ScreenObject(ObjectKind::Polygon) { lengthChanged(); }

    const std::vector<ObjectPoint>& points() const noexcept { return points_; }
    // Fails, keeping the old points, beyond 255 points.
    Status setPoints(std::span<const ObjectPoint> points);
    const std::optional<PercentFilling>& filling() const noexcept { return filling_; }
    void setFilling(std::optional<PercentFilling> filling);

    std::unique_ptr<ScreenObject> clone() const override;
    Status Draw(DrawingSurface& surface, const DrawParameters& parameters) const override;
    bool hasMainTag() const noexcept override { return true; }
    void LoadEditValues(EditValues& values) const override { values.points = points_; }

protected:
    std::uint32_t kindPartLength() const noexcept override {
        return 2 + 4 * static_cast<std::uint32_t>(points_.size()) + (filling_ ? 3 : 0);
    }
    Status writeKindPart(ByteSink& sink, const ObjectWriteContext& context) const override;

private:
    std::vector<ObjectPoint> points_;
    std::optional<PercentFilling> filling_;
};

} // namespace quillon
