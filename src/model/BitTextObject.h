#pragma once

#include "model/ScreenObject.h"

#include <string>
#include <string_view>

namespace quillon {

// A coil or bit shown (or entered) as one of two texts. Data Entry Coil and Display Coil share it.
class BitTextObject : public ScreenObject {
public:
    static constexpr std::size_t kMaxTextLength = 255; // each text is counted in one byte

    const std::string& offText() const noexcept { return offText_; }
    const std::string& onText() const noexcept { return onText_; }
    // Fails, keeping both old texts, when either does not fit its record.
    Status setTexts(std::string_view offText, std::string_view onText);

    bool hasMainTag() const noexcept final { return true; }
    void LoadEditValues(EditValues& values) const final;
    // The placeholder over as many cells as the longer text needs: "#" for data entry, "@" for display.
    Status Draw(DrawingSurface& surface, const DrawParameters& parameters) const final;

protected:
    explicit BitTextObject(ObjectKind kind) noexcept : ScreenObject(kind) {}
    BitTextObject(const BitTextObject&) = default;

    std::uint32_t kindPartLength() const noexcept final {
        return 2 + static_cast<std::uint32_t>(offText_.size() + onText_.size());
    }
    Status writeKindPart(ByteSink& sink, const ObjectWriteContext& context) const final;

private:
    std::string offText_;
    std::string onText_;
};

} // namespace quillon
