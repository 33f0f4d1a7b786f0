#include "comm/TransferEngine.h"

#include "comm/TransferTexts.h"
#include "model/TextFormat.h"
#include "persist/AtomicFileWriter.h"
#include "plc/DriverFiles.h"

#include <algorithm>
#include <array>
#include <fstream>
#include <iterator>

namespace quillon {

namespace text = transfer_text;

namespace {

enum class ReadFailure { None, Missing, Unreadable };

// The whole of a file, or why it could not be read. Transfer images and drivers are at most a few megabytes.
ReadFailure readWhole(const std::filesystem::path& path, std::vector<std::uint8_t>& bytes) {
    std::error_code ec;
    if (!std::filesystem::is_regular_file(path, ec)) {
        return ReadFailure::Missing;
    }
    const auto size = std::filesystem::file_size(path, ec);
    if (ec || size > 4 * protocol::kLargestImage) {
        return ReadFailure::Unreadable;
    }
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        return ReadFailure::Missing;
    }
    bytes.resize(static_cast<std::size_t>(size));
    in.read(reinterpret_cast<char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    if (static_cast<std::uintmax_t>(in.gcount()) != size) {
        return ReadFailure::Unreadable;
    }
    return ReadFailure::None;
}

std::uint32_t framesFor(std::size_t bytes, std::size_t perFrame) noexcept {
    return static_cast<std::uint32_t>((bytes + perFrame - 1) / perFrame);
}

} // namespace

// The state of one transfer: its link, its status line and how it ended. The link is closed when the run
// ends, whatever the ending.
class TransferEngine::Run final {
public:
    Run(TransferEngine& engine, LinkMode mode)
        : engine_(engine), link_(
                               engine.port_, engine.clock_, engine.timing_,
                               [this](std::string_view s) { status(s); }, engine.cancel_) {
        link_.setMode(mode);
    }
    Run(const Run&) = delete;
    Run& operator=(const Run&) = delete;
    ~Run() {
        link_.close();
        engine_.cancel_ = false;
    }

    void status(std::string_view s) {
        report_.status = std::string(s);
        if (engine_.observer_.status) {
            engine_.observer_.status(s);
        }
    }
    void progress(std::uint32_t frame, std::uint32_t count) {
        if (engine_.observer_.progress) {
            engine_.observer_.progress(frame, count);
        }
    }

    // Ends the run: a cancel overrides whatever the step reported, with the transfer's not-completed text.
    TransferReport finish(TransferOutcome outcome, std::string_view notCompleted) {
        if (link_.cancelled()) {
            status(notCompleted);
            outcome = TransferOutcome::Cancelled;
        }
        link_.close();
        report_.outcome = outcome;
        return std::move(report_);
    }
    // A step that failed because the transfer was cancelled says nothing of its own: the cancel's text is the
    // only one shown.
    TransferReport fail(std::string_view statusText, std::string_view notCompleted) {
        if (!statusText.empty() && !link_.cancelled()) {
            status(statusText);
        }
        return finish(TransferOutcome::Failed, notCompleted);
    }

    // The common body of application and driver downloads, from the start byte to the final checksum.
    TransferReport sendImage(std::string_view portName, std::span<const std::uint8_t> image, bool driver,
                             const protocol::UnitCheck& unit);
    TransferReport receiveImage(std::string_view portName, const UploadJob& job);

    SerialLink& link() noexcept { return link_; }
    TransferReport& report() noexcept { return report_; }

private:
    TransferEngine& engine_;
    SerialLink link_;
    TransferReport report_;
};

TransferReport TransferEngine::Run::sendImage(std::string_view portName, std::span<const std::uint8_t> image,
                                              bool driver, const protocol::UnitCheck& unit) {
    const auto& timing = link_.timing();
    const std::string_view notDone = text::kDownloadNotCompleted;
    const std::uint8_t start = driver ? protocol::kStartDriverDownload : protocol::kStartDownload;

    if (!link_.open(portName)) {
        return finish(TransferOutcome::Failed, notDone);
    }
    link_.purge();
    const std::array<std::uint8_t, 1> startByte{start};
    if (!link_.send(startByte)) {
        return finish(TransferOutcome::Failed, notDone);
    }
    if (const Reply echo = link_.expect(start, std::nullopt, timing.replyDeadlineMs); !echo.ok()) {
        // A silent unit has had its not-responding text from the link already; a wrong echo has had none.
        return echo.kind == ReplyKind::Other ? fail(text::kNotRespondingStartDownload, notDone)
                                             : finish(TransferOutcome::Failed, notDone);
    }

    // The unit changes over from its own program to the loader between the start byte and the unit check.
    link_.close();
    if (!link_.open(portName)) {
        return finish(TransferOutcome::Failed, notDone);
    }
    link_.purge();
    if (!link_.send(protocol::unitCheckRequest(unit))) {
        return finish(TransferOutcome::Failed, notDone);
    }
    const Reply check = link_.anyReply(timing.replyDeadlineMs);
    if (check.kind == ReplyKind::Cancelled) {
        return finish(TransferOutcome::Cancelled, notDone);
    }
    const auto refused =
        protocol::unitCheckFailure(check.ok() ? std::optional<std::uint8_t>(check.byte) : std::nullopt);
    if (refused) {
        return fail(*refused, notDone);
    }
    if (!link_.pause(timing.unitCheckPauseMs)) {
        return finish(TransferOutcome::Cancelled, notDone);
    }

    if (driver) {
        // The unit prepares its memory for the driver before it echoes the whole file's checksum. The echo is
        // compared byte for byte: a checksum of 0 is a checksum like any other, not "any reply".
        const std::array<std::uint8_t, 1> checksum{protocol::blockCheck(image)};
        link_.purge();
        if (!link_.send(checksum)) {
            return finish(TransferOutcome::Failed, notDone);
        }
        const Reply echo = link_.expect(checksum[0], std::nullopt, timing.checksumEchoDeadlineMs);
        if (echo.kind == ReplyKind::Other) {
            return fail(notDone, notDone);
        }
        if (!echo.ok()) {
            return finish(TransferOutcome::Failed, notDone);
        }
    }

    const std::uint32_t frameCount = framesFor(image.size(), protocol::kDownloadFrameData);
    std::uint32_t offset = driver ? protocol::kDriverOffset : protocol::kApplicationOffset;
    std::uint8_t checksum = 0;
    std::size_t sent = 0;
    for (std::uint32_t frame = 1; sent < image.size(); ++frame) {
        link_.setFrameNumber(frame);
        const auto data = image.subspan(sent, std::min(image.size() - sent, protocol::kDownloadFrameData));
        link_.purge();
        if (!link_.send(protocol::downloadFrame(offset, data))) {
            return finish(TransferOutcome::Failed, notDone);
        }
        if (!link_.expect(protocol::kAck, protocol::kReject, timing.replyDeadlineMs).ok()) {
            return fail(text::kBccNotCorrect, notDone);
        }
        checksum ^= protocol::blockCheck(data);
        sent += data.size();
        offset += static_cast<std::uint32_t>(protocol::kDownloadFrameData);
        progress(frame, frameCount);
    }

    const std::array<std::uint8_t, 2> end{protocol::kEndDownload, checksum};
    link_.purge();
    if (!link_.send(end)) {
        return finish(TransferOutcome::Failed, notDone);
    }
    if (!link_.expect(protocol::kEndDownload, protocol::kReject, timing.replyDeadlineMs).ok()) {
        return fail(notDone, notDone);
    }
    status(text::kDownloadCompleted);
    return finish(TransferOutcome::Succeeded, notDone);
}

TransferReport TransferEngine::download(std::string_view portName, const DownloadJob& job) {
    Run run(*this, LinkMode::ApplicationDownload);
    run.status(text::kPleaseWait);
    run.progress(0, 0);
    run.link().setFrameNumber(0);
    const std::string_view notDone = text::kDownloadNotCompleted;

    std::vector<std::uint8_t> fromFile;
    std::span<const std::uint8_t> image;
    if (job.image) {
        image = *job.image;
    } else {
        switch (readWhole(job.imagePath, fromFile)) {
        case ReadFailure::Missing:
            return run.fail(text::kCanNotOpenDownloadFile, notDone);
        case ReadFailure::Unreadable:
            return run.fail(text::kReadFromFileFailed, notDone);
        case ReadFailure::None:
            image = fromFile;
            break;
        }
    }
    // The unit takes the image's first four bytes as the number of bytes to come: an image that does not
    // start with the size being sent would be stored wrongly, so it is refused before anything is sent.
    const std::uint32_t size = job.applicationSize;
    if (size < 4 || size > protocol::kLargestImage || image.size() < size ||
        protocol::readLe32(image) != size) {
        return run.fail(text::kDownloadFileNotCorrect, notDone);
    }
    return run.sendImage(portName, image.first(size), false, job.unit);
}

TransferReport TransferEngine::downloadDriver(std::string_view portName, const DriverJob& job) {
    Run run(*this, LinkMode::DriverDownload);
    const std::string_view notDone = text::kDownloadNotCompleted;
    if (!job.plcId) {
        return run.fail(text::kNoPlcNode, notDone);
    }
    auto path = job.lookup ? job.lookup(job.driversDir, job.unit.modelToken, *job.plcId)
                           : Result<std::filesystem::path>::fail("no driver lookup");
    // A unit model the drivers directory has nothing for (as for models no drivers were shipped for) is
    // named as such before the link is opened.
    if (!path && !DriverFiles::anyForModel(job.driversDir, job.unit.modelToken)) {
        const std::string name = DriverFiles::unitModelName(job.unit.modelToken);
        return run.fail(formatText(std::string(text::kNoDriverForModel).c_str(), name.c_str(),
                                   static_cast<unsigned>(DriverFiles::driverModelCode(job.unit.modelToken))),
                        notDone);
    }
    run.status(text::kPleaseWait);
    run.progress(0, 0);
    run.link().setFrameNumber(0);
    std::vector<std::uint8_t> driver;
    // An empty driver would leave the unit with none at all; it is refused like a missing one.
    if (!path || readWhole(*path, driver) != ReadFailure::None || driver.empty() ||
        driver.size() > protocol::kLargestImage) {
        return run.fail(text::kCanNotOpenDownloadFile, notDone);
    }
    return run.sendImage(portName, driver, true, job.unit);
}

TransferReport TransferEngine::Run::receiveImage(std::string_view portName, const UploadJob& job) {
    const auto& timing = link_.timing();
    const std::string_view notDone = text::kUploadNotCompleted;
    status(text::kPleaseWait);
    progress(0, 0);
    link_.setFrameNumber(0);

    // The image is written beside its name and takes it only once the unit has confirmed the whole of it:
    // an upload that fails at any point leaves no partial image (an earlier complete one stays).
    AtomicFileWriter file(job.imagePath);
    if (!file.open()) {
        return fail(text::kCanNotOpenIntermediateFile, notDone);
    }
    if (!link_.open(portName)) {
        return finish(TransferOutcome::Failed, notDone);
    }
    const std::array<std::uint8_t, 1> startByte{protocol::kStartUpload};
    if (!link_.send(startByte)) {
        return finish(TransferOutcome::Failed, notDone);
    }
    const Reply echo = link_.expect(protocol::kStartUpload, std::nullopt, timing.replyDeadlineMs);
    if (echo.kind == ReplyKind::Other) {
        // A wrong echo leaves no time-out text behind; the status must not stay at "Please wait".
        return fail(text::kNotRespondingStartUpload, notDone);
    }
    if (!echo.ok()) {
        return finish(TransferOutcome::Failed, notDone);
    }

    auto& image = report_.image;
    std::array<std::uint8_t, protocol::kUploadFrameMax> buffer{};
    const SerialLink::BlockLength frameLength = [](std::span<const std::uint8_t> got) -> std::size_t {
        if (got.size() < 2) {
            return 0;
        }
        const std::size_t n = static_cast<std::size_t>(got[0]) | (static_cast<std::size_t>(got[1]) << 8);
        // A length the unit can not send ends the frame at once; the frame is then judged bad.
        return n > protocol::kUploadFrameData ? 1 : n + 3;
    };
    // The image's first four bytes are its length; they may come in more than one frame.
    std::optional<std::uint32_t> total;
    std::uint32_t frameCount = 0;
    std::uint8_t checksum = 0;
    bool complete = false;
    for (std::uint32_t frame = 0; !complete; ++frame) {
        link_.setFrameNumber(frame);
        const std::size_t got = link_.receiveBlock(buffer, timing.replyDeadlineMs, frameLength);
        if (got == 0) {
            break;
        }
        auto data = protocol::uploadFrameData(std::span<const std::uint8_t>(buffer.data(), got));
        if (data && !total && image.size() + data->size() >= 4) {
            std::array<std::uint8_t, 4> head{};
            const std::size_t fromImage = std::min<std::size_t>(image.size(), 4);
            std::copy_n(image.begin(), fromImage, head.begin());
            std::copy_n(data->begin(), 4 - fromImage, head.begin() + static_cast<std::ptrdiff_t>(fromImage));
            // The length counts its own four bytes, and no unit holds more than its largest memory option: a
            // length outside these bounds is not believed.
            const std::uint32_t length = protocol::readLe32(head);
            if (length < 4 || length > protocol::kLargestImage) {
                data.reset();
            } else {
                total = length;
                frameCount = framesFor(length, protocol::kUploadFrameData);
            }
        }
        if (!data) {
            const std::array<std::uint8_t, 1> reject{protocol::kReject};
            (void)link_.send(reject);
            status(text::withNumber(text::kComputerRejectedFrame, frame + 1));
            break;
        }
        // A good frame is taken whole, even one that runs past the image's length: how a unit cuts its memory
        // into frames is the unit's own affair, and nothing assures that its last frame stops at the length.
        // The bytes are kept as the unit sent them (the reader takes the image by its own counts), and the
        // image is complete once its length has arrived.
        if (!file.write(*data)) {
            status(text::kCanNotOpenIntermediateFile);
            break;
        }
        image.insert(image.end(), data->begin(), data->end());
        const std::array<std::uint8_t, 1> ack{protocol::kAck};
        if (!link_.send(ack)) {
            break;
        }
        checksum ^= protocol::blockCheck(*data);
        complete = total && image.size() >= *total;
        progress(frame + 1, std::max(frameCount, frame + 1));
    }
    if (!complete) {
        return fail(notDone, notDone);
    }

    std::array<std::uint8_t, 2> pair{};
    const std::size_t got = link_.receiveBlock(
        pair, timing.replyDeadlineMs, [](std::span<const std::uint8_t>) -> std::size_t { return 2; });
    if (got == 2 && pair[0] == protocol::kEndUpload && pair[1] == checksum) {
        const std::array<std::uint8_t, 1> confirm{protocol::kEndUpload};
        if (!link_.send(confirm)) {
            return fail(notDone, notDone);
        }
        link_.close();
        if (!file.commit()) {
            return fail(text::kCanNotOpenIntermediateFile, notDone);
        }
        if (job.loadImage) {
            if (auto loaded = job.loadImage(image); !loaded) {
                return fail(notDone, notDone);
            }
        }
        status(text::kUploadCompleted);
        return finish(TransferOutcome::Succeeded, notDone);
    }
    if (got > 0) {
        const std::array<std::uint8_t, 1> reject{protocol::kReject};
        (void)link_.send(reject);
    }
    return fail(notDone, notDone);
}

TransferReport TransferEngine::upload(std::string_view portName, const UploadJob& job) {
    if (job.closeApplication && !job.closeApplication()) {
        TransferReport report;
        report.outcome = TransferOutcome::Cancelled;
        return report;
    }
    Run run(*this, LinkMode::Upload);
    return run.receiveImage(portName, job);
}

Status TransferEngine::prepareDownload(const DownloadPreparation& steps, Prompter& prompter) {
    if (steps.prepareWriter) {
        if (auto prepared = steps.prepareWriter(); !prepared) {
            prompter.error(text::kCanNotOpenIntermediateFile);
            return prepared;
        }
    }
    if (steps.checkMemory) {
        if (auto fits = steps.checkMemory(); !fits) {
            prompter.error(text::kMemoryOverflow);
            return fits;
        }
    }
    if (steps.writeImage) {
        if (auto written = steps.writeImage(); !written) {
            prompter.error(text::kCanNotOpenIntermediateFile);
            return written;
        }
    }
    return Status::success();
}

} // namespace quillon
