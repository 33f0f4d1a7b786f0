#pragma once

#include "comm/Clock.h"
#include "comm/SerialLink.h"
#include "comm/SerialPort.h"
#include "comm/TransferProtocol.h"
#include "model/Prompter.h"
#include "model/Result.h"

#include <atomic>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace quillon {

enum class TransferOutcome { Succeeded, Failed, Cancelled };

// How a transfer shows itself while it runs. Both callbacks are called on the thread running the transfer.
struct TransferObserver {
    // Every status text, in order; the last one is the one the dialog keeps.
    std::function<void(std::string_view)> status;
    // After each acknowledged frame (and with frame 0 when the strip is cleared).
    std::function<void(std::uint32_t frame, std::uint32_t frameCount)> progress;
};

struct TransferReport {
    TransferOutcome outcome = TransferOutcome::Failed;
    // The last status text shown.
    std::string status;
    // Upload: the image bytes received (the whole image when the upload succeeded).
    std::vector<std::uint8_t> image;

    bool succeeded() const noexcept { return outcome == TransferOutcome::Succeeded; }
};

// An application download: the transfer image and what the unit check asks of the unit.
struct DownloadJob {
    // The transfer image as written for the download; `image`, when given, is sent instead of the file.
    std::filesystem::path imagePath = "dnld_ovm.ovz";
    std::optional<std::vector<std::uint8_t>> image;
    // The application's memory size: the number of bytes sent, and the length the image starts with.
    std::uint32_t applicationSize = 0;
    protocol::UnitCheck unit;
};

// The steps of the download command before the transfer dialog opens, in their order. Each returns a failure
// when the download must not go on; an empty step is skipped.
struct DownloadPreparation {
    // Names, sizes and read lists made ready for writing; it shows its own cause when it fails.
    std::function<Status()> prepareWriter;
    // Whether the application fits the memory option of its unit settings.
    std::function<Status()> checkMemory;
    // Writes the transfer image.
    std::function<Status()> writeImage;
};

struct UploadJob {
    // Where the received image is written as it arrives.
    std::filesystem::path imagePath = "upld_ovm.ovz";
    // Closes the open application with its save prompt; false when the user cancelled (nothing is done then).
    std::function<bool()> closeApplication;
    // Opens the received image as the new application (default names, pictures into the library).
    std::function<Status(std::span<const std::uint8_t>)> loadImage;
};

// The driver file for a unit model token and a PLC id in the drivers directory (the driver model code of the
// token names the file), or why there is none.
using DriverLookup = std::function<Result<std::filesystem::path>(
    const std::filesystem::path& driversDir, std::uint16_t unitModelToken, std::uint16_t plcId)>;

struct DriverJob {
    std::filesystem::path driversDir;
    // The PLC id of the first PLC node of the network; none when the network has no PLC.
    std::optional<std::uint16_t> plcId;
    // The application's unit model and memory option: they choose the driver and fill the unit check.
    protocol::UnitCheck unit;
    DriverLookup lookup;
};

// The transfers between the tool and the unit: application download, upload and driver download. One engine
// runs one transfer at a time, on whatever thread calls it; cancel() may be called from any other thread and
// ends the running transfer within one wait, with the port released.
class TransferEngine final {
public:
    TransferEngine(SerialPort& port, Clock& clock, LinkTiming timing = LinkTiming::standard()) noexcept
        : port_(port), clock_(clock), timing_(timing) {}

    void setObserver(TransferObserver observer) { observer_ = std::move(observer); }
    // Ends the running transfer (or the next one, when none runs).
    void cancel() noexcept { cancel_ = true; }

    TransferReport download(std::string_view portName, const DownloadJob& job);
    TransferReport upload(std::string_view portName, const UploadJob& job);
    TransferReport downloadDriver(std::string_view portName, const DriverJob& job);

    // The download command's checks and the writing of the transfer image, with their messages.
    static Status prepareDownload(const DownloadPreparation& steps, Prompter& prompter);

private:
    class Run;

    SerialPort& port_;
    Clock& clock_;
    LinkTiming timing_;
    TransferObserver observer_;
    std::atomic<bool> cancel_{false};
};

} // namespace quillon
