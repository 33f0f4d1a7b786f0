#include "shell/TransferDialog.h"

#include "comm/ImageComparison.h"
#include "comm/SerialPortMap.h"
#include "comm/TransferTexts.h"
#include "comm/UnitEmulator.h"
#include "shell/ProgressStrip.h"
#include "shell/UnitPicture.h"
#include "ui/HelpTopics.h"

#include <fstream>
#include <iterator>

#include <QCheckBox>
#include <QCloseEvent>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace quillon::gui {
namespace {

QString fromView(std::string_view text) {
    return QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size()));
}

} // namespace

TransferDialog::TransferDialog(QWidget* parent, Mode mode, TransferServices services)
    : ShellDialog(parent, static_cast<int>(mode == Mode::Download ? HelpTopic::Download : HelpTopic::Upload)),
      mode_(mode), services_(std::move(services)) {
    namespace text = transfer_text;
    const bool download = mode_ == Mode::Download;
    setWindowTitle(fromView(download ? text::kDownloadTitle : text::kUploadTitle));
    setObjectName(download ? "DOWNLOAD" : "UPLOAD");

    status_ = new QLabel(this);
    status_->setObjectName("status");
    status_->setWordWrap(true);
    status_->setMinimumSize(420, 90);
    status_->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    status_->setFrameShape(QFrame::StyledPanel);

    port_ = new QLabel(this);
    port_->setObjectName("port");
    portButton_ = new QPushButton(tr("Communication &Port"), this);
    portButton_->setObjectName("portButton");
    portButton_->setAutoDefault(false);
    connect(portButton_, &QPushButton::clicked, this, [this] {
        if (services_.choosePort) {
            services_.choosePort();
        }
        showPort();
    });

    strip_ = new ProgressStrip(this);
    strip_->setFromRight(!download);

    ok_ = new QPushButton(tr("&Ok"), this);
    ok_->setObjectName("ok");
    ok_->setDefault(true);
    close_ = new QPushButton(tr("&Close"), this);
    close_->setObjectName("close");
    close_->setAutoDefault(false);
    connect(ok_, &QPushButton::clicked, this, &TransferDialog::start);
    connect(close_, &QPushButton::clicked, this, &QDialog::reject);

    auto* layout = new QVBoxLayout(this);
    auto* top = new QHBoxLayout;
    if (download) {
        picture_ = new QLabel(this);
        picture_->setObjectName("unitPicture");
        picture_->setPixmap(UnitPicture::of(services_.modelId));
        top->addWidget(picture_);
    }
    top->addWidget(status_, 1);
    layout->addLayout(top);

    auto* portRow = new QHBoxLayout;
    portRow->addWidget(port_);
    portRow->addStretch(1);
    portRow->addWidget(portButton_);
    layout->addLayout(portRow);

    if (download) {
        auto* choices = new QGroupBox(tr("Download"), this);
        auto* choiceLayout = new QHBoxLayout(choices);
        application_ = new QRadioButton(fromView(text::kApplicationChoice), choices);
        application_->setObjectName("application");
        firmware_ = new QRadioButton(fromView(text::kFirmwareChoice), choices);
        firmware_->setObjectName("firmware");
        application_->setChecked(true);
        choiceLayout->addWidget(application_);
        choiceLayout->addWidget(firmware_);
        layout->addWidget(choices);
        if (services_.verifyAfterDownload) {
            verify_ = new QCheckBox(tr("&Verify after download"), this);
            verify_->setObjectName("verifyAfterDownload");
            verify_->setToolTip(
                tr("Read the application back from the unit and compare it byte for byte with "
                   "what was sent."));
            verify_->setChecked(services_.verifyAfterDownload());
            connect(verify_, &QCheckBox::toggled, this, [this](bool on) {
                if (services_.setVerifyAfterDownload) {
                    services_.setVerifyAfterDownload(on);
                }
            });
            layout->addWidget(verify_);
        }
    }
    layout->addWidget(strip_, 0, Qt::AlignHCenter);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(ok_);
    buttons->addWidget(close_);
    if (hasHelp()) {
        help_ = new QPushButton(tr("&Help"), this);
        help_->setAutoDefault(false);
        connect(help_, &QPushButton::clicked, this, &ShellDialog::requestHelp);
        buttons->addWidget(help_);
    }
    layout->addLayout(buttons);

    if (download) {
        setStatus(fromView(text::kDownloadIntro));
    } else {
        setStatus(
            fromView(services_.applicationOpen ? text::kUploadIntroWithApplication : text::kUploadIntro));
    }
    showPort();
}

TransferDialog::~TransferDialog() {
    if (engine_) {
        engine_->cancel();
    }
    if (worker_.joinable()) {
        worker_.join();
    }
}

QString TransferDialog::statusText() const {
    return status_->text();
}

void TransferDialog::setStatus(const QString& text) {
    status_->setText(text);
}

void TransferDialog::showPort() {
    const int index = services_.portIndex ? services_.portIndex() : 0;
    port_->setText(QString::fromStdString(SerialPortMap::portName(index)));
}

void TransferDialog::setIdleControls(bool idle) {
    ok_->setEnabled(idle);
    portButton_->setEnabled(idle);
    if (application_ != nullptr) {
        application_->setEnabled(idle);
        firmware_->setEnabled(idle);
    }
    if (verify_ != nullptr) {
        verify_->setEnabled(idle);
    }
}

void TransferDialog::start() {
    if (running() || services_.port == nullptr || services_.clock == nullptr) {
        return;
    }
    UploadJob upload;
    DownloadJob download;
    DriverJob driver;
    const bool firmware = firmware_ != nullptr && firmware_->isChecked();
    if (mode_ == Mode::Upload) {
        // The open application goes first, with its save prompt; a cancel leaves everything as it was.
        if (services_.applicationOpen && services_.closeApplication && !services_.closeApplication()) {
            return;
        }
        services_.applicationOpen = false;
        upload.imagePath = services_.uploadImage;
        upload.loadImage = [this](std::span<const std::uint8_t>) {
            // The reader and the save prompt belong to the window's thread; the worker waits for them.
            Status loaded = Status::fail(std::string(transfer_text::kUploadNotCompleted));
            QMetaObject::invokeMethod(
                this,
                [this, &loaded] {
                    if (services_.loadUpload) {
                        loaded = services_.loadUpload();
                    }
                },
                Qt::BlockingQueuedConnection);
            return loaded;
        };
    } else if (firmware) {
        if (services_.driverJob) {
            driver = services_.driverJob();
        }
    } else if (services_.downloadJob) {
        download = services_.downloadJob();
    }
    if (services_.refreshPortMap) {
        services_.refreshPortMap();
    }

    engine_ = std::make_unique<TransferEngine>(*services_.port, *services_.clock, linkTiming());
    engine_->setObserver(TransferObserver{
        [this](std::string_view text) {
            const QString shown = QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size()));
            QMetaObject::invokeMethod(
                this, [this, shown] { setStatus(shown); }, Qt::QueuedConnection);
        },
        [this](std::uint32_t frame, std::uint32_t count) {
            QMetaObject::invokeMethod(
                this, [this, frame, count] { strip_->setProgress(frame, count); }, Qt::QueuedConnection);
        }});
    strip_->setProgress(0, 0);
    setIdleControls(false);
    lastReport_.reset();
    const std::string portName = SerialPortMap::portName(services_.portIndex ? services_.portIndex() : 0);
    const bool verify = mode_ == Mode::Download && !firmware && verify_ != nullptr && verify_->isChecked();
    worker_ = std::thread([this, portName, upload = std::move(upload), download = std::move(download),
                           driver = std::move(driver), firmware, verify] {
        TransferReport report;
        if (mode_ == Mode::Upload) {
            report = engine_->upload(portName, upload);
        } else if (firmware) {
            report = engine_->downloadDriver(portName, driver);
        } else {
            report = engine_->download(portName, download);
            if (verify && report.succeeded()) {
                verifyDownload(portName, download, report);
            }
        }
        QMetaObject::invokeMethod(
            this, [this, report = std::move(report)]() mutable { finish(std::move(report)); },
            Qt::QueuedConnection);
    });
}

void TransferDialog::verifyDownload(const std::string& portName, const DownloadJob& job,
                                    TransferReport& report) {
    std::vector<std::uint8_t> file;
    if (job.image) {
        file = *job.image;
    } else {
        std::ifstream in(job.imagePath, std::ios::binary);
        file.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }
    const auto sent = UnitEmulator::memoryImage(file);
    if (!sent) {
        report.outcome = TransferOutcome::Failed;
        report.status = "\nVerify failed: " + sent.message();
        return;
    }
    UploadJob back;
    back.imagePath = job.imagePath.parent_path() / "vrfy_ovm.ovz";
    const TransferReport read = engine_->upload(portName, back);
    std::error_code ec;
    std::filesystem::remove(back.imagePath, ec);
    if (!read.succeeded()) {
        report.outcome = read.outcome;
        report.status = "\nVerify failed: the application could not be read back from the unit.";
        return;
    }
    if (const auto difference = ImageComparison::firstDifference(*sent, read.image)) {
        report.outcome = TransferOutcome::Failed;
        report.status = "\n" + ImageComparison::failureText(
                                   *difference, ImageComparison::sectionAt(*sent, difference->offset));
        return;
    }
    report.status = std::string(transfer_text::kDownloadCompleted) + "\nVerified: the unit holds the " +
                    std::to_string(sent->size()) + " bytes sent.";
}

LinkTiming TransferDialog::linkTiming() const {
    LinkTiming timing = services_.timing;
    if (services_.fastPolling && services_.fastPolling()) {
        timing.fastPolling = true;
    }
    return timing;
}

void TransferDialog::finish(TransferReport report) {
    if (worker_.joinable()) {
        worker_.join();
    }
    if (!report.status.empty()) {
        setStatus(QString::fromLatin1(report.status.data(), static_cast<qsizetype>(report.status.size())));
    }
    lastReport_ = std::move(report);
    setIdleControls(true);
    ok_->show();
    ok_->setText(QString::fromLatin1(transfer_text::kTryAgain.data(),
                                     static_cast<qsizetype>(transfer_text::kTryAgain.size())));
    emit transferEnded();
    if (closeWhenEnded_) {
        closeWhenEnded_ = false;
        QDialog::done(QDialog::Rejected);
    }
}

void TransferDialog::done(int result) {
    if (running()) {
        // The engine lets go of the port within one wait; the dialog ends when it has.
        closeWhenEnded_ = true;
        close_->setEnabled(false);
        engine_->cancel();
        return;
    }
    QDialog::done(result);
}

void TransferDialog::closeEvent(QCloseEvent* event) {
    if (running()) {
        done(QDialog::Rejected);
        event->ignore();
        return;
    }
    ShellDialog::closeEvent(event);
}

} // namespace quillon::gui
