#pragma once

#include "model/ScreenObject.h"

#include <span>
#include <vector>

namespace quillon {

// An open line through up to 255 points.
class PolylineObject final : public ScreenObject {
public:
    static constexpr std::size_t kMaxPoints = 255;

    PolylineObject() : ScreenObject(ObjectKind::Polyline) { lengthChanged(); }

    const std::vector<ObjectPoint>& points() const noexcept { return points_; }
    // Fails, keeping the old points, beyond 255 points.
    Status setPoints(std::span<const ObjectPoint> points);

    std::unique_ptr<ScreenObject> clone() const override;
    Status Draw(DrawingSurface& surface, const DrawParameters& parameters) const override;
    void LoadEditValues(EditValues& values) const override { values.points = points_; }

protected:
    std::uint32_t kindPartLength() const noexcept override {
        return 1 + 4 * static_cast<std::uint32_t>(points_.size());
    }
    Status writeKindPart(ByteSink& sink, const ObjectWriteContext& context) const override;

private:
    std::vector<ObjectPoint> points_;
};

} // namespace quillon
