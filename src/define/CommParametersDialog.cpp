#include "define/CommParametersDialog.h"

#include "ui/NumericEntry.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>

namespace quillon::gui {

CommParametersDialog::CommParametersDialog(QWidget* parent, int plcId,
                                           const std::array<std::uint8_t, 3>& bytes)
    : ShellDialog(parent, 0), plcId_(plcId), bytes_(bytes) {
    setWindowTitle(tr("PLC Comm parameters"));
    setObjectName("COMM_PARAMETERS");
    const CommParameters p = CommParameters::load(plcId, bytes);
    baud_ = new QComboBox(this);
    baud_->setObjectName("baud");
    for (std::string_view entry : CommParameters::kBaudRates) {
        baud_->addItem(QString::fromLatin1(entry.data(), static_cast<qsizetype>(entry.size())));
    }
    baud_->setCurrentIndex(p.baud);
    parity_ = new QComboBox(this);
    parity_->setObjectName("parity");
    for (std::string_view entry : CommParameters::kParities) {
        parity_->addItem(QString::fromLatin1(entry.data(), static_cast<qsizetype>(entry.size())));
    }
    parity_->setCurrentIndex(p.parity);
    station_ = new QLineEdit(QString::number(p.station), this);
    station_->setObjectName("station");
    station_->setMaxLength(2);
    new NumericEntry(station_, NumericEntry::Kind::Decimal, "1", "31");
    station_->setEnabled(p.stationShown);
    auto* grid = new QGridLayout;
    auto* baudLabel = new QLabel(tr("Baudrate"), this);
    baudLabel->setBuddy(baud_);
    auto* parityLabel = new QLabel(tr("Parity"), this);
    parityLabel->setBuddy(parity_);
    auto* stationLabel = new QLabel(tr("Station ID "), this);
    stationLabel->setBuddy(station_);
    grid->addWidget(baudLabel, 0, 0);
    grid->addWidget(baud_, 0, 1);
    grid->addWidget(parityLabel, 1, 0);
    grid->addWidget(parity_, 1, 1);
    grid->addWidget(stationLabel, 2, 0);
    grid->addWidget(station_, 2, 1);
    grid->addWidget(new QLabel("[ 1 to 31 ]", this), 2, 2);
    QDialogButtonBox* buttons = makeButtons(true);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    layout->addWidget(buttons);
}

std::array<std::uint8_t, 3> CommParametersDialog::bytes() const {
    CommParameters p = CommParameters::load(plcId_, bytes_);
    p.baud = baud_->currentIndex();
    p.parity = parity_->currentIndex();
    bool ok = false;
    const int station = station_->text().toInt(&ok);
    p.station = ok ? station : p.station;
    return p.store(plcId_, bytes_);
}

} // namespace quillon::gui
