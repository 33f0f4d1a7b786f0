#include "screen/ColourDialog.h"

#include <QHBoxLayout>
#include <QPainter>
#include <QPixmap>
#include <QToolButton>

namespace quillon::gui {
namespace {

constexpr int kSwatch = 28;
// What each button shows: black, the four greys and white, as the unit's fill patterns look from afar.
constexpr std::array<int, 6> kShades{0, 20, 40, 60, 80, 100};

QIcon swatch(int shade) {
    QPixmap pixmap(kSwatch, kSwatch);
    const int level = 255 * shade / 100;
    pixmap.fill(QColor(level, level, level));
    QPainter p(&pixmap);
    p.setPen(Qt::black);
    p.drawRect(0, 0, kSwatch - 1, kSwatch - 1);
    return QIcon(pixmap);
}

QString buttonText(int shade) {
    if (shade == 0) {
        return QStringLiteral("Black");
    }
    if (shade == 100) {
        return QStringLiteral("White");
    }
    return QString::number(shade);
}

} // namespace

ColourDialog::ColourDialog(QWidget* parent, const QString& title, const std::array<std::uint8_t, 6>& values,
                           std::uint8_t current)
    : ShellDialog(parent, 0), value_(current) {
    setObjectName(QStringLiteral("BRUSH"));
    setWindowTitle(title);
    auto* row = new QHBoxLayout(this);
    row->setSpacing(2);
    for (std::size_t i = 0; i < buttons_.size(); ++i) {
        auto* button = new QToolButton(this);
        button->setIcon(swatch(kShades[i]));
        button->setIconSize(QSize(kSwatch, kSwatch));
        button->setText(buttonText(kShades[i]));
        button->setToolTip(buttonText(kShades[i]));
        button->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
        button->setCheckable(true);
        // The button of the current value is pressed; for the pen and text colours that is the button of
        // the value itself (black or white), not the greys that give it too.
        button->setChecked(kShades[i] == current);
        const std::uint8_t value = values[i];
        connect(button, &QToolButton::clicked, this, [this, value] {
            value_ = value;
            accept();
        });
        buttons_[i] = button;
        row->addWidget(button);
    }
}

} // namespace quillon::gui
