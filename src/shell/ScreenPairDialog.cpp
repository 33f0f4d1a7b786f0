#include "shell/ScreenPairDialog.h"

#include "model/Application.h"
#include "model/PanelModel.h"
#include "model/Screen.h"
#include "ui/ScreenImage.h"

#include <QDialogButtonBox>
#include <QGridLayout>
#include <QLabel>
#include <QPainter>
#include <QPushButton>

namespace quillon::gui {

ScreenPairDialog::ScreenPairDialog(QWidget* parent, std::uint32_t screen, const Side& first,
                                   const Side& second, const std::vector<Difference>& differences,
                                   const PanelFont& font)
    : QDialog(parent) {
    setObjectName(QStringLiteral("ScreenPairDialog"));
    setWindowTitle(QStringLiteral("Quillon : Screen %1 compared").arg(screen));
    std::vector<RecordPlace> left;
    std::vector<RecordPlace> right;
    for (const Difference& d : differences) {
        if (d.screen != screen || d.section != RecordSection::Objects) {
            continue;
        }
        if (d.place && d.change != ChangeKind::Added) {
            left.push_back(*d.place);
        }
        if (d.newPlace && d.change != ChangeKind::Removed) {
            right.push_back(*d.newPlace);
        }
    }
    // Small displays are shown at twice their size, so that both fit beside each other on the desktop.
    const Application* any = first.application != nullptr ? first.application : second.application;
    const CanvasSize size = displaySize(any->modelSelection().modelClass);
    zoom_ = size.width <= 240 ? 20 : 10;
    images_[0] = draw(first, screen, left, font);
    images_[1] = draw(second, screen, right, font);

    auto* grid = new QGridLayout(this);
    const Side* sides[2] = {&first, &second};
    for (int i = 0; i < 2; ++i) {
        auto* title = new QLabel(sides[i]->title, this);
        auto* picture = new QLabel(this);
        picture->setObjectName(i == 0 ? QStringLiteral("first") : QStringLiteral("second"));
        if (images_[i].isNull()) {
            picture->setText(QStringLiteral("The screen is not in this application."));
        } else {
            picture->setPixmap(QPixmap::fromImage(images_[i]));
        }
        grid->addWidget(title, 0, i);
        grid->addWidget(picture, 1, i);
    }
    auto* note = new QLabel(QStringLiteral("Objects that differ are outlined in red."), this);
    grid->addWidget(note, 2, 0, 1, 2);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    grid->addWidget(buttons, 3, 0, 1, 2);
}

QImage ScreenPairDialog::draw(const Side& side, std::uint32_t screen,
                              const std::vector<RecordPlace>& outlined, const PanelFont& font) const {
    if (side.application == nullptr) {
        return {};
    }
    const Screen* found = side.application->findScreen(screen);
    if (found == nullptr) {
        return {};
    }
    DrawParameters parameters;
    parameters.zoom = zoom_;
    parameters.displayClass = side.application->modelSelection().modelClass;
    parameters.pictures = side.pictures;
    parameters.clock = ScreenImage::currentClock();
    QImage image = ScreenImage::render(*side.application, *found, parameters, ScreenGridOptions{}, font);
    QPainter painter(&image);
    painter.setPen(QPen(QColor(kOutline), 2));
    painter.setBrush(Qt::NoBrush);
    for (const RecordPlace& p : outlined) {
        painter.drawRect(QRect(p.left * zoom_ / 10, p.top * zoom_ / 10, (p.right - p.left + 1) * zoom_ / 10,
                               (p.bottom - p.top + 1) * zoom_ / 10)
                             .adjusted(-1, -1, 0, 0));
    }
    return image;
}

} // namespace quillon::gui
