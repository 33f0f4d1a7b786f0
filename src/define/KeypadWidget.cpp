#include "define/KeypadWidget.h"

#include "define/TextOf.h"
#include "edit/define/KeySelection.h"
#include "model/Application.h"
#include "model/PictureSource.h"

#include <string>

#include <QGridLayout>
#include <QImage>
#include <QPixmap>
#include <QToolButton>

namespace quillon::gui {
namespace {

QIcon legendIcon(const PictureSource* pictures, const std::string& name) {
    if (pictures == nullptr || name.empty() || name.find_first_not_of("0123456789") != std::string::npos) {
        return {};
    }
    const auto bits = pictures->picture(static_cast<std::uint32_t>(std::stoul(name)));
    if (!bits) {
        return {};
    }
    QImage image(bits.value().width, bits.value().height, QImage::Format_RGB32);
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            image.setPixel(x, y,
                           bits.value().lit(static_cast<std::uint32_t>(x), static_cast<std::uint32_t>(y))
                               ? qRgb(255, 255, 255)
                               : qRgb(0, 0, 0));
        }
    }
    return QIcon(QPixmap::fromImage(image));
}

} // namespace

KeypadWidget::KeypadWidget(QWidget* parent, const Application& application, const KeypadLayout& layout,
                           const PictureSource* pictures)
    : QWidget(parent), app_(application), layout_(layout), pictures_(pictures) {
    setObjectName("keypad");
    auto* grid = new QGridLayout(this);
    grid->setSpacing(3);
    const int columns = layout.keyCount() <= 8 ? static_cast<int>(layout.keyCount()) : 6;
    int index = 0;
    for (int key = layout.firstKey; key <= layout.lastKey; ++key, ++index) {
        auto* button = new QToolButton(this);
        button->setObjectName(QStringLiteral("key%1").arg(key));
        button->setCheckable(true);
        button->setFixedSize(64, 48);
        button->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
        button->setFocusPolicy(Qt::StrongFocus);
        const auto k = static_cast<std::uint8_t>(key);
        connect(button, &QToolButton::clicked, this, [this, k] { emit keyClicked(k); });
        buttons_[k] = button;
        grid->addWidget(button, index / columns, index % columns);
    }
}

QToolButton* KeypadWidget::button(std::uint8_t key) const {
    const auto it = buttons_.find(key);
    return it != buttons_.end() ? it->second : nullptr;
}

int KeypadWidget::picture(std::uint8_t key) const {
    const auto it = shown_.find(key);
    return it != shown_.end() ? it->second : 0;
}

void KeypadWidget::update(const KeySelection& selection) {
    for (auto& [key, button] : buttons_) {
        const int picture = keyPicture(app_, key);
        shown_[key] = picture;
        const bool selected = selection.isSelected(key);
        button->setChecked(selected);
        button->setProperty("bitmap", keyButtonBitmap(picture, selected));
        QString text = QString::fromStdString(keyCaption(layout_, key));
        QIcon icon;
        const KeyDefinition* global = app_.findGlobalKey(key);
        if (picture == key_picture::kDefined && global != nullptr && global->legend) {
            if (global->legend->type == KeyLegend::kText) {
                text = QString::fromStdString(global->legend->line1) + "\n" +
                       QString::fromStdString(global->legend->line2);
            } else {
                icon = legendIcon(pictures_, global->legend->bitmapName);
            }
        } else if (const std::string_view symbol = keyPictureSymbol(picture); !symbol.empty()) {
            text += " " + textOf(symbol);
        }
        button->setText(text);
        button->setIcon(icon);
        // Keys without tasks carry the marker the dialogs explain as "Indicates undefined Global-Key.".
        const bool undefined = picture == key_picture::kUndefined;
        button->setStyleSheet(
            undefined ? QStringLiteral("QToolButton { color: gray; border: 1px dashed gray; }") : QString());
        button->setToolTip(undefined ? QStringLiteral("Indicates undefined Global-Key.")
                                     : QStringLiteral("Key %1").arg(QString::fromStdString(keyName(key))));
    }
}

} // namespace quillon::gui
