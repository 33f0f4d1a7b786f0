#include "shell/ComPortDialog.h"

#include "ui/HelpTopics.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QLabel>
#include <QListWidget>
#include <QVBoxLayout>

namespace quillon::gui {

ComPortDialog::ComPortDialog(QWidget* parent, int portIndex, const DeviceOf& deviceOf, bool fastPolling)
    : ShellDialog(parent, static_cast<int>(HelpTopic::ComPort)), initial_(portIndex) {
    setWindowTitle(tr("Quillon : COM Port"));
    setObjectName("COM_PORT");
    list_ = new QListWidget(this);
    list_->setObjectName("ports");
    for (int number = 1; number <= kPortCount; ++number) {
        const std::string device = deviceOf ? deviceOf(number) : std::string();
        auto* item = new QListWidgetItem(
            device.empty() ? QString("COM%1").arg(number)
                           : QString("COM%1\t%2").arg(number).arg(QString::fromStdString(device)),
            list_);
        item->setData(Qt::UserRole, number - 1);
    }
    if (portIndex >= 0 && portIndex < kPortCount) {
        list_->setCurrentRow(portIndex);
    }
    connect(list_, &QListWidget::itemDoubleClicked, this, &QDialog::accept);
    fastPolling_ =
        new QCheckBox(tr("&Fast polling: take every reply of the unit as soon as it arrives"), this);
    fastPolling_->setObjectName("fastPolling");
    fastPolling_->setToolTip(tr("Off: the standard timing, 200 ms between polls and 1200 ms before each "
                                "read of an upload."));
    fastPolling_->setChecked(fastPolling);
    QDialogButtonBox* buttons = makeButtons(true);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel(tr("Serial port connected to the unit:"), this));
    layout->addWidget(list_);
    layout->addWidget(new QLabel(
        tr("A port can be pointed at another device in the file ports.cfg of the working folder."), this));
    layout->addWidget(fastPolling_);
    layout->addWidget(buttons);
    resize(360, 420);
}

bool ComPortDialog::fastPolling() const {
    return fastPolling_->isChecked();
}

int ComPortDialog::portIndex() const {
    const QListWidgetItem* item = list_->currentItem();
    return item != nullptr ? item->data(Qt::UserRole).toInt() : initial_;
}

} // namespace quillon::gui
