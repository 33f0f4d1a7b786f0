#include "simulate/FrontPanelWidget.h"

#include "edit/define/Keypad.h"
#include "sim/FrontPanel.h"
#include "simulate/SimulatorDisplay.h"

#include <QGridLayout>
#include <QLabel>
#include <QToolButton>
#include <QVBoxLayout>

namespace quillon::gui {

namespace {

// Membrane keys: keys with a legend in light grey, function keys in blue-grey; pressed keys darker, the key
// with the focus ringed.
const char* const kKeyStyle = "QToolButton { background: %1; color: #101010; border: 1px solid #101010; "
                              "border-radius: 5px; font-weight: bold; padding: 1px; }"
                              "QToolButton:pressed { background: #7a7d80; color: white; }"
                              "QToolButton:focus { border: 2px solid #f0c000; }";

} // namespace

FrontPanelWidget::FrontPanelWidget(const FrontPanel& panel, const QString& modelName,
                                   SimulatorDisplay* display, QWidget* parent)
    : QFrame(parent) {
    setObjectName("simulatorPanel");
    setStyleSheet("#simulatorPanel { background: #33383d; border-radius: 12px; }");
    auto* name = new QLabel(modelName, this);
    name->setObjectName("simulatorModel");
    name->setStyleSheet("QLabel { color: #e8e8e8; font-weight: bold; }");

    auto* keys = new QGridLayout;
    keys->setSpacing(6);
    for (const FrontPanel::Place& place : panel.places()) {
        auto* button = new QToolButton(this);
        button->setObjectName(QString("key%1").arg(place.key));
        const QString legend = QString::fromStdString(panel.legend(place.key));
        const QString keyTitle = QString::fromStdString(keyName(place.key));
        button->setText(legend.isEmpty() ? keyTitle : legend + "\n" + keyTitle);
        button->setMinimumSize(kKeyWidth, kKeyHeight);
        button->setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);
        button->setFocusPolicy(Qt::StrongFocus);
        button->setStyleSheet(QString(kKeyStyle).arg(legend.isEmpty() ? "#b9c6d6" : "#e2e2dc"));
        keys->addWidget(button, place.row, place.column);
        buttons_[place.key] = button;
    }

    auto* plate = new QVBoxLayout(this);
    plate->setContentsMargins(14, 8, 14, 14);
    plate->setSpacing(8);
    plate->addWidget(name, 0, Qt::AlignLeft);
    if (display != nullptr) {
        plate->addWidget(display, 1);
    }
    auto* centred = new QHBoxLayout;
    centred->addStretch(1);
    centred->addLayout(keys);
    centred->addStretch(1);
    plate->addLayout(centred);
}

QToolButton* FrontPanelWidget::button(std::uint8_t key) const {
    const auto it = buttons_.find(key);
    return it != buttons_.end() ? it->second : nullptr;
}

} // namespace quillon::gui
