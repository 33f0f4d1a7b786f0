#pragma once

#include "comm/Clock.h"
#include "comm/SerialLink.h"
#include "comm/SerialPort.h"
#include "comm/TransferEngine.h"
#include "model/Result.h"
#include "ui/ShellDialog.h"

#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <thread>

class QCheckBox;
class QLabel;
class QPushButton;
class QRadioButton;

namespace quillon::gui {

class ProgressStrip;

// What the transfer dialog works with. The jobs are made when Ok is pressed, on the window's thread,
// so that they see the application as it is then.
struct TransferServices {
    SerialPort* port = nullptr;
    Clock* clock = nullptr;
    LinkTiming timing = LinkTiming::standard();
    // Reads the port map again before each transfer, so that a changed ports.cfg counts at once.
    std::function<void()> refreshPortMap;
    // The selected port, 0-based (COM1 is 0), and the "COM Port" dialog that changes it.
    std::function<int()> portIndex;
    std::function<void()> choosePort;
    // Whether the transfers poll the unit at once; asked at each Ok, as the port dialog may change it.
    std::function<bool()> fastPolling;

    // Download.
    std::uint16_t modelId = 0;
    std::function<DownloadJob()> downloadJob;
    std::function<DriverJob()> driverJob;
    // Whether an application download reads the unit's memory back and compares it with what was sent (the
    // "Verify after download" check box, kept with the settings); no check box without them.
    std::function<bool()> verifyAfterDownload;
    std::function<void(bool)> setVerifyAfterDownload;

    // Upload.
    bool applicationOpen = false;
    // Closes the open application with its save prompt; false when the user kept it.
    std::function<bool()> closeApplication;
    std::filesystem::path uploadImage;
    // Opens the received image as the new application (runs on the window's thread).
    std::function<Status()> loadUpload;
};

// "Downloading from Computer to VQ5K" / "Uploading from VQ5K to Computer". The transfer runs on a
// worker thread so that the dialog keeps repainting and Close stays live: Close (or closing the window)
// during a transfer cancels it, and the dialog ends once the link is released. The bytes on the line
// are the engine's, whichever thread drives it.
class TransferDialog final : public ShellDialog {
    Q_OBJECT
public:
    enum class Mode { Download, Upload };

    TransferDialog(QWidget* parent, Mode mode, TransferServices services);
    ~TransferDialog() override;

    Mode mode() const noexcept { return mode_; }
    bool running() const noexcept { return worker_.joinable(); }
    QString statusText() const;
    QPushButton* okButton() const noexcept { return ok_; }
    QPushButton* closeButton() const noexcept { return close_; }
    QRadioButton* applicationChoice() const noexcept { return application_; }
    QRadioButton* firmwareChoice() const noexcept { return firmware_; }
    QCheckBox* verifyBox() const noexcept { return verify_; }
    ProgressStrip* progressStrip() const noexcept { return strip_; }
    QLabel* portLabel() const noexcept { return port_; }
    QLabel* unitPicture() const noexcept { return picture_; }
    // The outcome of the last transfer, once it has ended.
    const std::optional<TransferReport>& lastReport() const noexcept { return lastReport_; }

    // The timing the next transfer runs with: the services' timing, polling at once when the port
    // dialog says so.
    LinkTiming linkTiming() const;

    // Ok / "&Try again".
    void start();
    void done(int result) override;

signals:
    // A transfer has ended (its report is in lastReport()).
    void transferEnded();

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void setStatus(const QString& text);
    void showPort();
    void finish(TransferReport report);
    void setIdleControls(bool idle);
    // On the worker, after a download that succeeded: reads the unit's memory back and compares it with the
    // image sent; a difference or a failed read turns the report into a failure that says where.
    void verifyDownload(const std::string& portName, const DownloadJob& job, TransferReport& report);

    Mode mode_;
    TransferServices services_;
    std::unique_ptr<TransferEngine> engine_;
    std::thread worker_;
    std::optional<TransferReport> lastReport_;
    bool closeWhenEnded_ = false;

    QLabel* status_ = nullptr;
    QLabel* port_ = nullptr;
    QLabel* picture_ = nullptr;
    QPushButton* portButton_ = nullptr;
    QRadioButton* application_ = nullptr;
    QRadioButton* firmware_ = nullptr;
    QCheckBox* verify_ = nullptr;
    ProgressStrip* strip_ = nullptr;
    QPushButton* ok_ = nullptr;
    QPushButton* close_ = nullptr;
    QPushButton* help_ = nullptr;
};

} // namespace quillon::gui
