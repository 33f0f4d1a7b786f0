#pragma once

#include "compare/ApplicationDiff.h"

#include <vector>

#include <QDialog>
#include <QImage>

namespace quillon {
class Application;
class PanelFont;
class PictureSource;
} // namespace quillon

namespace quillon::gui {

// One screen of two applications side by side, as the screen window draws them, with the objects that
// differ outlined: on the left the first application's places of removed, changed and moved objects, on the
// right the second's places of added, changed and moved ones.
class ScreenPairDialog final : public QDialog {
    Q_OBJECT

public:
    struct Side {
        const Application* application = nullptr;
        const PictureSource* pictures = nullptr;
        QString title;
    };

    ScreenPairDialog(QWidget* parent, std::uint32_t screen, const Side& first, const Side& second,
                     const std::vector<Difference>& differences, const PanelFont& font);

    const QImage& firstImage() const noexcept { return images_[0]; }
    const QImage& secondImage() const noexcept { return images_[1]; }
    // The zoom of the pictures in tenths (10: one screen pixel a picture pixel).
    int zoom() const noexcept { return zoom_; }

    static constexpr QRgb kOutline = qRgb(230, 0, 0);

private:
    QImage draw(const Side& side, std::uint32_t screen, const std::vector<RecordPlace>& outlined,
                const PanelFont& font) const;

    int zoom_ = 10;
    QImage images_[2];
};

} // namespace quillon::gui
