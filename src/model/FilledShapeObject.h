#pragma once

#include "model/ScreenObject.h"

#include <optional>

namespace quillon {

// A closed shape that the value of its main tag can fill by a percentage: Rectangle, Ellipse and
// Round Rectangle.
class FilledShapeObject : public ScreenObject {
public:
    const std::optional<PercentFilling>& filling() const noexcept { return filling_; }
    void setFilling(std::optional<PercentFilling> filling);

    bool hasMainTag() const noexcept final { return true; }
    // Shapes keep no properties in the editor's set; their animation has a dialog of its own.
    void LoadEditValues(EditValues& /*values*/) const final {}

protected:
    explicit FilledShapeObject(ObjectKind kind) noexcept : ScreenObject(kind) {}
    FilledShapeObject(const FilledShapeObject&) = default;

    std::uint32_t kindPartLength() const noexcept final { return filling_ ? 4 : 1; }
    Status writeKindPart(ByteSink& sink, const ObjectWriteContext& context) const final;

private:
    std::optional<PercentFilling> filling_;
};

} // namespace quillon
