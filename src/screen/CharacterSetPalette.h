#pragma once

#include <cstdint>

#include <QWidget>

namespace quillon::gui {

// `CHAR_SET`, "Quillon : Character Set": one button per character the keyboard may lack. The first button
// types code 254 (shown in place of the blank), then codes 33 to 159; a second block of codes 161 to 253
// is left out for models numbered 480 or more. The palette never takes the focus, so typing on the canvas
// goes on while it is used; closing it only hides it.
class CharacterSetPalette final : public QWidget {
    Q_OBJECT
public:
    static constexpr std::uint16_t kFirstWideModel = 480;

    CharacterSetPalette(QWidget* parent, std::uint16_t modelId);
    bool secondBlockShown() const noexcept { return secondBlock_ != nullptr && !secondBlock_->isHidden(); }
    // The button that types a code (nullptr when the palette has none for it).
    QWidget* buttonFor(int code) const;

signals:
    void characterChosen(char character);

private:
    QWidget* block(int first, int last, bool withBlank);

    QWidget* secondBlock_ = nullptr;
};

} // namespace quillon::gui
