// The transfer dialog against the emulated unit on a pseudo-terminal: download and upload through the
// window's commands, the texts and the progress strip, the dialog staying live while the engine works
// on its thread, Close cancelling a transfer, and the dialogs around the transfers (port, byte view).

#include "shell/TransferDialog.h"

#include "comm/SystemClock.h"
#include "comm/TransferTexts.h"
#include "comm/TtySerialPort.h"
#include "comm/UnitEmulator.h"
#include "model/Application.h"
#include "model/Node.h"
#include "model/RecordingPrompter.h"
#include "shell/ByteViewDialog.h"
#include "shell/ComPortDialog.h"
#include "shell/MainWindow.h"
#include "shell/ModelDocumentService.h"
#include "shell/ProgressStrip.h"
#include "support/ShellFakes.h"
#include "ui/HelpWindow.h"

#include <fcntl.h>
#include <fstream>
#include <functional>
#include <iterator>
#include <pty.h>
#include <termios.h>
#include <thread>
#include <unistd.h>

#include <QApplication>
#include <QCheckBox>
#include <QElapsedTimer>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

using namespace quillon;
using namespace quillon::gui;
using namespace quillon::gui::testing;

namespace {

namespace text = transfer_text;

QString q(std::string_view s) {
    return QString::fromLatin1(s.data(), static_cast<qsizetype>(s.size()));
}

// Short pauses, deadlines a loaded machine keeps.
LinkTiming testTiming() {
    LinkTiming t = LinkTiming::fast();
    t.writeBoundMs = 2000;
    t.wrongReplyPauseMs = 5;
    t.anyReplyPauseMs = 0;
    t.emptyPollPauseMs = 5;
    t.uploadReadPauseMs = 0;
    t.blockGapMs = 60;
    t.replyDeadlineMs = 5000;
    t.checksumEchoDeadlineMs = 5000;
    t.unitCheckPauseMs = 5;
    return t;
}

// A pseudo-terminal whose master side is the emulated unit; the slave stays open (raw) so that the line
// stays up while the tool closes and reopens it.
class PtyUnit {
public:
    PtyUnit() {
        ok_ = ::openpty(&master_, &slave_, nullptr, nullptr, nullptr) == 0;
        if (ok_) {
            termios tio{};
            ::tcgetattr(slave_, &tio);
            ::cfmakeraw(&tio);
            ::tcsetattr(slave_, TCSANOW, &tio);
            path_ = ::ttyname(slave_);
        }
    }
    ~PtyUnit() {
        stop();
        if (ok_) {
            ::close(slave_);
            ::close(master_);
        }
    }
    PtyUnit(const PtyUnit&) = delete;
    PtyUnit& operator=(const PtyUnit&) = delete;

    bool ok() const { return ok_; }
    UnitEmulator& start(EmulatorSettings settings) {
        stop();
        ::fcntl(master_, F_SETFL, ::fcntl(master_, F_GETFL) | O_NONBLOCK);
        emulator_ = std::make_unique<UnitEmulator>(master_, std::move(settings));
        thread_ = std::thread([this] { emulator_->run(); });
        return *emulator_;
    }
    void stop() {
        if (emulator_) {
            emulator_->stop();
            thread_.join();
            emulator_.reset();
        }
    }
    UnitEmulator& emulator() { return *emulator_; }
    const std::string& path() const { return path_; }

private:
    bool ok_ = false;
    int master_ = -1;
    int slave_ = -1;
    std::string path_;
    std::unique_ptr<UnitEmulator> emulator_;
    std::thread thread_;
};

EmulatorSettings quickUnit() {
    EmulatorSettings s;
    s.silenceMs = 400;
    return s;
}

// Runs `act` on the first modal dialog of type T that comes up (the window's dialogs run their own
// loops, so the test acts from a timer inside them).
template <typename T>
void whenModal(std::function<void(T&)> act) {
    auto* poll = new QTimer;
    QObject::connect(poll, &QTimer::timeout, poll, [poll, act] {
        if (auto* dialog = qobject_cast<T*>(QApplication::activeModalWidget())) {
            poll->stop();
            poll->deleteLater();
            act(*dialog);
        }
    });
    poll->start(20);
}

// Presses Ok and waits (with the dialog's loop running) until the transfer has ended.
bool runTransfer(TransferDialog& dialog, int* ticks = nullptr) {
    QSignalSpy ended(&dialog, &TransferDialog::transferEnded);
    QTimer ticker;
    int count = 0;
    QObject::connect(&ticker, &QTimer::timeout, [&] { ++count; });
    ticker.start(5);
    QTest::mouseClick(dialog.okButton(), Qt::LeftButton);
    const bool done = ended.wait(60000);
    if (ticks != nullptr) {
        *ticks = count;
    }
    return done;
}

std::vector<std::uint8_t> bytesOf(const std::filesystem::path& file) {
    std::ifstream in(file, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// The start directory, "work" inside the test's folder, so that "../drivers" is the test's own too.
std::filesystem::path workFolder(const QTemporaryDir& dir) {
    const std::filesystem::path work = std::filesystem::path(dir.path().toStdString()) / "work";
    std::filesystem::create_directories(work);
    std::filesystem::create_directories(work.parent_path() / "drivers");
    return work;
}

struct Window {
    PtyUnit unit;
    QTemporaryDir dir;
    std::filesystem::path start{workFolder(dir)};
    std::filesystem::path drivers{start.parent_path() / "drivers"};
    ModelDocumentService docs{std::filesystem::path(QUILLON_SOURCE_DIR) / "data" / "plc", start};
    RecordingPrompter prompter;
    ScriptedFiles files;
    ScriptedModels models;
    ScriptedPassword password;
    TtySerialPort port;
    SystemClock clock;
    std::unique_ptr<MainWindow> window;

    Window() {
        SerialPortMap map;
        (void)map.setDevice(2, unit.path()); // the settings' default port is COM2
        port.setMap(map);
        ShellOptions options;
        options.startDirectory = start;
        options.helpFolder = QString(QUILLON_SOURCE_DIR) + "/data/help";
        options.showSplash = false;
        options.maximised = false;
        options.linkTiming = testTiming();
        window = std::make_unique<MainWindow>(
            ShellServices{&docs, &prompter, &files, &models, &password, &port, &clock}, options);
        window->startUp();
    }
    ~Window() {
        prompter.script({PromptAnswer::No});
        window->lifecycle().closeWithPrompt();
        window->helpWindow().close();
    }
    void newApp() {
        models.positions = {4}; // VQ5K-822, the emulator's default model
        window->command(CommandId::New);
    }
    // A PLC node at a network address, as the network editor leaves it.
    void addPlc(std::uint8_t number, std::uint8_t plcId) {
        auto node = std::make_unique<Node>(NodeKind::Plc, number);
        node->name = "Node" + std::to_string(number);
        node->plcId = plcId;
        node->plcName = "PLC " + std::to_string(plcId);
        node->modelNames = {"Model A"};
        node->plcFile = "..\\plc\\" + std::to_string(plcId) + ".plc";
        QVERIFY(docs.application()->addNode(std::move(node)).ok());
    }
    std::vector<std::uint8_t> writeDriver(const std::string& name, std::size_t size, std::uint8_t seed) {
        std::vector<std::uint8_t> bytes(size);
        for (std::size_t i = 0; i < size; ++i) {
            bytes[i] = static_cast<std::uint8_t>(seed + i * 37);
        }
        std::ofstream(drivers / name, std::ios::binary)
            .write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
        return bytes;
    }
    // Download with "Firmware" chosen; the dialog's status text when the transfer has ended.
    // The progress strip's width at the end goes to `bar`.
    QString firmwareDownload(int* bar = nullptr) {
        QString status;
        whenModal<TransferDialog>([&](TransferDialog& d) {
            d.firmwareChoice()->setChecked(true);
            if (runTransfer(d)) {
                status = d.statusText();
            }
            if (bar != nullptr) {
                *bar = d.progressStrip()->barWidth();
            }
            d.reject();
        });
        window->command(CommandId::Download);
        return status;
    }
};

} // namespace

class TransferDialogTest : public QObject {
    Q_OBJECT
private slots:
    void verifyAfterDownloadFindsTheByteTheUnitKeptWrong() {
        Window w;
        QVERIFY(w.unit.ok());
        EmulatorSettings faulty = quickUnit();
        faulty.faults.push_back(FaultRule{FaultKind::CorruptStore, 0.0, 2});
        w.unit.start(faulty);
        w.newApp();

        // Unchecked, as a new settings file has it: the download cannot notice.
        bool ran = false;
        whenModal<TransferDialog>([&](TransferDialog& d) {
            QVERIFY(d.verifyBox() != nullptr);
            QCOMPARE(d.verifyBox()->text(), QString("&Verify after download"));
            QVERIFY(!d.verifyBox()->isChecked());
            QVERIFY(runTransfer(d));
            QCOMPARE(d.statusText(), q(text::kDownloadCompleted));
            d.verifyBox()->setChecked(true);
            ran = true;
            d.reject();
        });
        w.window->command(CommandId::Download);
        QVERIFY(ran);

        // The choice is kept: the next download verifies. Frame 2 carries bytes 50 to 99; the unit keeps its
        // middle byte, offset 75 of the settings, with a bit flipped.
        ran = false;
        whenModal<TransferDialog>([&](TransferDialog& d) {
            QVERIFY(d.verifyBox()->isChecked());
            QVERIFY(runTransfer(d));
            QCOMPARE(
                d.statusText(),
                QString(
                    "\nVerify failed: the unit's memory differs from the application sent, first at offset "
                    "75 (0x0000004B): sent 0x00, the unit holds 0x01 (in Settings)."));
            QVERIFY(!d.lastReport()->succeeded());
            ran = true;
            d.reject();
        });
        w.window->command(CommandId::Download);
        QVERIFY(ran);

        // A sound unit: the verified download succeeds and says so.
        w.unit.start(quickUnit());
        ran = false;
        whenModal<TransferDialog>([&](TransferDialog& d) {
            QVERIFY(runTransfer(d));
            QVERIFY(
                d.statusText().startsWith(q(text::kDownloadCompleted) + "\nVerified: the unit holds the "));
            QVERIFY(d.lastReport()->succeeded());
            ran = true;
            d.reject();
        });
        w.window->command(CommandId::Download);
        QVERIFY(ran);
        QVERIFY(!std::filesystem::exists(w.start / "vrfy_ovm.ovz"));
    }

    void downloadAndUploadThroughTheWindow() {
        Window w;
        QVERIFY(w.unit.ok());
        UnitEmulator& unit = w.unit.start(quickUnit());
        w.newApp();

        bool checked = false;
        int ticks = 0;
        whenModal<TransferDialog>([&](TransferDialog& d) {
            QCOMPARE(d.windowTitle(), q(text::kDownloadTitle));
            QCOMPARE(d.statusText(), q(text::kDownloadIntro));
            QCOMPARE(d.portLabel()->text(), QString("COM2"));
            QVERIFY(d.applicationChoice()->isChecked());
            QCOMPARE(d.applicationChoice()->text(), QString(" Application "));
            QVERIFY(!d.unitPicture()->pixmap().isNull());
            QVERIFY(runTransfer(d, &ticks));
            QCOMPARE(d.statusText(), q(text::kDownloadCompleted));
            QCOMPARE(d.okButton()->text(), QString("&Try again"));
            QVERIFY(d.okButton()->isEnabled());
            QCOMPARE(d.progressStrip()->barWidth(), ProgressStrip::kWidth);
            QVERIFY(!d.progressStrip()->fromRight());
            checked = true;
            d.reject();
        });
        w.window->command(CommandId::Download);
        QVERIFY(checked);
        // The window's loop ran while the frames went out.
        QVERIFY(ticks > 0);
        // The unit holds the application's bytes of the image written beside the settings.
        const auto image = bytesOf(w.start / "dnld_ovm.ovz");
        const std::uint32_t size = w.docs.usedBytes();
        QVERIFY(image.size() >= size);
        QVERIFY(unit.storedImage().has_value());
        QCOMPARE(*unit.storedImage(), std::vector<std::uint8_t>(image.begin(), image.begin() + size));

        // Upload: the open application goes first (the prompt is answered No), the unit's image comes back
        // as a new, unnamed application.
        checked = false;
        w.prompter.clear();
        w.prompter.script({PromptAnswer::No});
        whenModal<TransferDialog>([&](TransferDialog& d) {
            QCOMPARE(d.windowTitle(), q(text::kUploadTitle));
            QCOMPARE(d.statusText(), q(text::kUploadIntroWithApplication));
            QVERIFY(d.applicationChoice() == nullptr);
            QVERIFY(d.progressStrip()->fromRight());
            QVERIFY(runTransfer(d));
            QCOMPARE(d.statusText(), q(text::kUploadCompleted));
            QCOMPARE(d.progressStrip()->barRect().right(), ProgressStrip::kWidth - 1);
            checked = true;
            d.reject();
        });
        w.window->command(CommandId::Upload);
        QVERIFY(checked);
        QCOMPARE(
            w.prompter.texts(),
            std::vector<std::string>{"Application ( Untitled )\nhas been changed.\n\nDo you want to save?"});
        QCOMPARE(w.window->lifecycle().state(), ShellState::Unsaved);
        QCOMPARE(w.window->windowTitle(), QString("Quillon - [untitled]"));
        QCOMPARE(w.docs.modelId(), std::uint16_t{500});
        const Application& uploaded = *w.docs.application();
        QCOMPARE(uploaded.nodeCount(), std::size_t{1});
        QCOMPARE(uploaded.nodes().front()->name,
                 std::string("Node") + std::to_string(uploaded.nodes().front()->number()));
        QCOMPARE(uploaded.powerOnTaskCount(), std::size_t{1});
    }

    void uploadCancelledAtThePromptDoesNothing() {
        Window w;
        w.newApp();
        bool checked = false;
        w.prompter.script({PromptAnswer::Cancel});
        whenModal<TransferDialog>([&](TransferDialog& d) {
            QTest::mouseClick(d.okButton(), Qt::LeftButton);
            QVERIFY(!d.running());
            QCOMPARE(d.okButton()->text(), QString("&Ok"));
            checked = true;
            d.reject();
        });
        w.window->command(CommandId::Upload);
        QVERIFY(checked);
        QCOMPARE(w.window->lifecycle().state(), ShellState::Unsaved);
    }

    void unitRefusalsAndTryAgain() {
        Window w;
        EmulatorSettings other = quickUnit();
        other.modelToken = 10; // another model answers the unit check
        w.unit.start(other);
        w.newApp();
        bool checked = false;
        whenModal<TransferDialog>([&](TransferDialog& d) {
            QVERIFY(runTransfer(d));
            QCOMPARE(d.statusText(), q(text::kModelMismatch));
            QCOMPARE(d.okButton()->text(), QString("&Try again"));
            // The firmware choice without a PLC in the network.
            d.firmwareChoice()->setChecked(true);
            QVERIFY(runTransfer(d));
            QCOMPARE(d.statusText(), q(text::kNoPlcNode));
            checked = true;
            d.reject();
        });
        w.window->command(CommandId::Download);
        QVERIFY(checked);
    }

    void firmwareDownloadSendsTheDriverOfTheFirstPlcNode() {
        Window w;
        QVERIFY(w.unit.ok());
        UnitEmulator& unit = w.unit.start(quickUnit());
        w.newApp();
        // Two PLC nodes, the higher address added first: the lower address is the one whose driver goes.
        w.addPlc(9, 3);
        w.addPlc(4, 7);
        // VQ5K-822 (token 500) takes the drivers of code 140; the greatest revision by text is sent. The
        // driver is longer than one frame and its checksum byte is one of the protocol's own bytes.
        w.writeDriver("14000709.abs", 120, 1);
        w.writeDriver("1400070A.abs", 120, 2);
        std::vector<std::uint8_t> driver = w.writeDriver("14000710.abs", 333, 5);
        std::uint8_t sum = 0;
        for (std::size_t i = 0; i + 1 < driver.size(); ++i) {
            sum ^= driver[i];
        }
        driver.back() = static_cast<std::uint8_t>(sum ^ 0x99);
        std::ofstream(w.drivers / "14000710.abs", std::ios::binary)
            .write(reinterpret_cast<const char*>(driver.data()), static_cast<std::streamsize>(driver.size()));
        w.writeDriver("14000301.abs", 50, 9); // the other node's driver

        int bar = 0;
        QCOMPARE(w.firmwareDownload(&bar), q(text::kDownloadCompleted));
        QCOMPARE(bar, ProgressStrip::kWidth);
        QVERIFY(unit.storedDriver().has_value());
        QCOMPARE(*unit.storedDriver(), driver);
        QVERIFY(!unit.storedImage().has_value()); // the application itself stays where it was
        QVERIFY(w.prompter.empty());

        // No driver for the node's PLC: nothing reaches the unit, and "Try again" is offered.
        std::filesystem::remove_all(w.drivers);
        std::filesystem::create_directories(w.drivers);
        const std::uint32_t before = unit.completedTransfers();
        // With no driver of the model at all, the status names the model and its driver files.
        QCOMPARE(
            w.firmwareDownload(),
            QString("\nThe Drivers directory has no driver for the VQ5K-822 unit (driver files 140*.abs).\n"
                    "Can not download the firmware."));
        w.writeDriver("14000301.abs", 50, 9); // a driver of the model for another PLC
        QCOMPARE(w.firmwareDownload(), q(text::kCanNotOpenDownloadFile));
        // An empty driver file would leave the unit with no driver at all.
        std::ofstream(w.drivers / "14000701.abs", std::ios::binary).flush();
        QCOMPARE(w.firmwareDownload(), q(text::kCanNotOpenDownloadFile));
        QCOMPARE(unit.completedTransfers(), before);
        QCOMPARE(*unit.storedDriver(), driver);
    }

    void firmwareDownloadStopsAtTheUnitCheck() {
        Window w;
        EmulatorSettings other = quickUnit();
        other.modelToken = 10;
        UnitEmulator& unit = w.unit.start(other);
        w.newApp();
        w.addPlc(1, 7);
        w.writeDriver("14000701.abs", 80, 3);
        QCOMPARE(w.firmwareDownload(), q(text::kModelMismatch));
        QVERIFY(!unit.storedDriver().has_value());
    }

    void closeCancelsARunningTransfer() {
        PtyUnit silent; // nobody answers on this line
        QVERIFY(silent.ok());
        TtySerialPort port;
        SerialPortMap map;
        QVERIFY(map.setDevice(1, silent.path()));
        port.setMap(map);
        SystemClock clock;
        TransferServices services;
        services.port = &port;
        services.clock = &clock;
        LinkTiming slow = testTiming();
        slow.replyDeadlineMs = 10000;
        services.timing = slow;
        services.portIndex = [] { return 0; };
        services.modelId = 500;
        services.downloadJob = [] {
            DownloadJob job;
            std::vector<std::uint8_t> image(300, 7);
            image[0] = 300 & 0xFF; // the image starts with its length
            image[1] = 300 >> 8;
            image[2] = 0;
            image[3] = 0;
            job.image = image;
            job.applicationSize = 300;
            job.unit = {500, 6};
            return job;
        };
        TransferDialog dialog(nullptr, TransferDialog::Mode::Download, std::move(services));
        dialog.show();
        QSignalSpy ended(&dialog, &TransferDialog::transferEnded);
        dialog.start();
        QVERIFY(dialog.running());
        QVERIFY(!dialog.okButton()->isEnabled());
        QTest::qWait(100);
        QElapsedTimer clockOnTheWall;
        clockOnTheWall.start();
        dialog.reject();                                               // Close while the unit is silent
        QVERIFY2(dialog.isVisible(), qPrintable(dialog.statusText())); // until the engine lets go of the port
        QVERIFY(ended.wait(5000));
        QVERIFY(clockOnTheWall.elapsed() < 5000);
        QVERIFY(!dialog.isVisible());
        QCOMPARE(dialog.result(), int(QDialog::Rejected));
        QVERIFY(dialog.lastReport().has_value());
        QVERIFY(!dialog.lastReport()->succeeded());
    }

    void progressStripGrowsFromEitherEdge() {
        ProgressStrip strip;
        QCOMPARE(strip.size(), QSize(200, 5));
        strip.setProgress(1, 3);
        QCOMPARE(strip.barWidth(), 66); // 2 × (100 × 1 / 3)
        QCOMPARE(strip.barRect(), QRect(0, 0, 66, 5));
        strip.setFromRight(true);
        QCOMPARE(strip.barRect(), QRect(134, 0, 66, 5));
        strip.setProgress(0, 3);
        QCOMPARE(strip.barWidth(), 0);
        strip.setProgress(5, 0); // no frame count yet: nothing drawn, no division by zero
        QCOMPARE(strip.barWidth(), 0);
        strip.setProgress(9, 3); // more frames than announced stay inside the strip
        QCOMPARE(strip.barWidth(), 200);
    }

    void comPortDialogListsThePortsAndTheirDevices() {
        ComPortDialog dialog(nullptr, 1,
                             [](int n) { return n == 5 ? std::string("/dev/ttyUSB0") : std::string(); });
        QCOMPARE(dialog.list()->count(), 31);
        QCOMPARE(dialog.list()->currentRow(), 1);
        QCOMPARE(dialog.list()->item(0)->text(), QString("COM1"));
        QCOMPARE(dialog.list()->item(4)->text(), QString("COM5\t/dev/ttyUSB0"));
        QCOMPARE(dialog.list()->item(30)->text(), QString("COM31"));
        dialog.list()->setCurrentRow(6);
        QCOMPARE(dialog.portIndex(), 6);
        QCOMPARE(dialog.fastPollingBox()->objectName(), QString("fastPolling"));
        QVERIFY2(!dialog.fastPolling(), "the standard timing unless chosen");
        dialog.fastPollingBox()->click();
        QVERIFY(dialog.fastPolling());
        ComPortDialog fast(nullptr, 1, {}, true);
        QVERIFY(fast.fastPollingBox()->isChecked());
    }

    void transfersPollAsThePortDialogSays() {
        TtySerialPort port;
        SystemClock clock;
        bool fast = false;
        TransferServices services;
        services.port = &port;
        services.clock = &clock;
        services.timing = LinkTiming::standard();
        services.fastPolling = [&] { return fast; };
        TransferDialog dialog(nullptr, TransferDialog::Mode::Upload, services);
        QVERIFY(!dialog.linkTiming().fastPolling);
        QCOMPARE(dialog.linkTiming().emptyPollPauseMs, 200u);
        fast = true; // chosen in the port dialog while the transfer dialog is open
        QVERIFY(dialog.linkTiming().fastPolling);
    }

    void chosenPortIsKeptInTheSettingsFile() {
        Window w;
        std::ofstream(w.start / "ports.cfg") << "COM7=/dev/ttyUSB3\n";
        bool shown = false;
        whenModal<ComPortDialog>([&](ComPortDialog& d) {
            QCOMPARE(d.list()->item(6)->text(), QString("COM7\t/dev/ttyUSB3"));
            d.list()->setCurrentRow(6);
            shown = true;
            d.accept();
        });
        w.window->command(CommandId::CommunicationPort);
        QVERIFY(shown);
        QCOMPARE(w.window->comPortIndex(), 6);
        QVERIFY(!w.window->fastPolling());
        whenModal<ComPortDialog>([](ComPortDialog& d) {
            d.list()->setCurrentRow(2);
            d.fastPollingBox()->setChecked(true);
            d.reject();
        });
        w.window->command(CommandId::CommunicationPort);
        QCOMPARE(w.window->comPortIndex(), 6);
        QVERIFY2(!w.window->fastPolling(), "Cancel keeps the timing too");
        whenModal<ComPortDialog>([](ComPortDialog& d) {
            QVERIFY(!d.fastPolling());
            d.fastPollingBox()->setChecked(true);
            d.accept();
        });
        w.window->command(CommandId::CommunicationPort);
        QVERIFY(w.window->fastPolling());
        w.window->close();
        std::ifstream in(w.start / "orvik.ini");
        const std::string settings{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
        QVERIFY(settings.find("[COM]\nComPort=7\n") != std::string::npos);
        QVERIFY(settings.find("\n[Transfer]\nFastPolling=1\n") != std::string::npos);
    }

    void byteViewListsBothImages() {
        QTemporaryDir dir;
        const std::filesystem::path down = dir.filePath("dnld_ovm.ovz").toStdString();
        std::ofstream(down, std::ios::binary)
            .write("\x06\x00\x00\x00"
                   "AB",
                   6);
        ByteViewDialog dialog(nullptr, down, dir.filePath("upld_ovm.ovz").toStdString());
        QCOMPARE(dialog.windowTitle(), QString("Bytes' values in Dec, Hex and ASCII"));
        QCOMPARE(dialog.downloaded()->count(), 6);
        QCOMPARE(dialog.downloaded()->item(4)->text(),
                 QString("00005            065            41            A"));
        QCOMPARE(dialog.uploaded()->count(), 0); // no upload yet
        // Control bytes read as dots, not as boxes of missing glyphs.
        QCOMPARE(dialog.downloaded()->item(0)->text(),
                 QString("00001            006            06            ."));
        QCOMPARE(dialog.downloaded()->item(1)->text(),
                 QString("00002            000            00            ."));
        QCOMPARE(dialog.downloaded()->item(5)->text(),
                 QString("00006            066            42            B"));
        // As it opens, every column of a line is in view.
        dialog.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dialog));
        for (const QListWidget* list : {dialog.downloaded(), dialog.uploaded()}) {
            const int line = list->fontMetrics().horizontalAdvance(dialog.downloaded()->item(4)->text());
            QVERIFY2(list->viewport()->width() >= line, qPrintable(list->objectName()));
        }
    }
};

QTEST_MAIN(TransferDialogTest)
#include "TransferDialogTest.moc"
