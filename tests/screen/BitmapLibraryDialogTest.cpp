// The bitmap library dialog over a picture library in a temporary folder: what it shows for an empty and a
// filled library, adding pictures from bitmap, PNG and broken files, deleting with its confirmation and
// refusal, choosing with the edge prompt, the change mode, and the keys and clicks that select.

#include "screen/BitmapLibraryDialog.h"

#include "model/RecordingPrompter.h"
#include "persist/BitmapBuilder.h"
#include "persist/PictureLibrary.h"
#include "screen/BitmapPictureView.h"
#include "ui/FileChooser.h"

#include <deque>
#include <fstream>
#include <vector>

#include <QImage>
#include <QLabel>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

using namespace quillon;
using namespace quillon::gui;

namespace {

constexpr std::uint8_t kClass50 = 50; // 128 x 64

class QueuedFiles final : public FileChooser {
public:
    std::deque<std::filesystem::path> answers;
    std::vector<FileDialogRequest> requests;

    std::optional<std::filesystem::path> chooseOpenFile(const FileDialogRequest& request) override {
        requests.push_back(request);
        if (answers.empty()) {
            return std::nullopt;
        }
        auto answer = answers.front();
        answers.pop_front();
        return answer;
    }
    std::optional<std::filesystem::path> chooseSaveFile(const FileDialogRequest&) override { return {}; }
};

struct Library {
    QTemporaryDir dir;
    PictureLibrary pictures{dir.path().toStdString()};
    RecordingPrompter prompter;
    QueuedFiles files;
    std::vector<std::uint32_t> used;
    std::vector<std::uint32_t> removed;

    std::filesystem::path folder() const { return dir.path().toStdString(); }

    std::filesystem::path bitmap(const char* name, int width, int height, unsigned seed) const {
        const auto file = folder() / name;
        const auto bytes = test::makeBitmap(
            width, height, 1, [seed](int x, int y) { return (x + y + seed) % 3 == 0 ? 1U : 0U; });
        std::ofstream(file, std::ios::binary)
            .write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
        return file;
    }

    void add(std::initializer_list<std::pair<int, int>> sizes) {
        unsigned seed = 0;
        for (const auto& [w, h] : sizes) {
            const auto file = bitmap("seed.bmp", w, h, seed++);
            QVERIFY(pictures.addPictureFromFile(file, kClass50, prompter).ok());
        }
    }

    std::unique_ptr<BitmapLibraryDialog> dialog(BitmapLibraryRequest request = {}) {
        if (request.displayClass == 0) {
            request.displayClass = kClass50;
        }
        return std::make_unique<BitmapLibraryDialog>(
            nullptr, pictures, files, prompter,
            [this](std::uint32_t p) { return std::find(used.begin(), used.end(), p) != used.end(); },
            [this](std::uint32_t p) { removed.push_back(p); }, request);
    }
};

QPushButton* button(QWidget& dialog, const QString& text) {
    for (QPushButton* b : dialog.findChildren<QPushButton*>()) {
        if (b->text() == text) {
            return b;
        }
    }
    qFatal("no button %s", qPrintable(text));
}

QString label(QWidget& dialog, const char* name) {
    return dialog.findChild<QLabel*>(name)->text();
}

} // namespace

class BitmapLibraryDialogTest final : public QObject {
    Q_OBJECT
private slots:
    void emptyLibraryShowsNoPictureAndActsOnNothing() {
        Library lib;
        auto dialog = lib.dialog();
        QCOMPARE(dialog->windowTitle(), QStringLiteral("Orvik : Bitmap library : Total 0"));
        QVERIFY(!dialog->view()->isVisibleTo(dialog.get()));
        QVERIFY(!button(*dialog, "&Delete Selected Bitmap ")->isEnabled());
        QVERIFY(!button(*dialog, "&Add  Selected Bitmap To Screen")->isEnabled());
        dialog->deleteSelected();
        dialog->choose();
        QVERIFY(lib.prompter.empty());
        QCOMPARE(dialog->result(), int{QDialog::Rejected});
    }

    void addingFromFilesShowsTheNewPictureAndRefusesDuplicatesAndBrokenFiles() {
        Library lib;
        auto dialog = lib.dialog();
        lib.files.answers.push_back(lib.bitmap("frame.bmp", 24, 12, 0));
        button(*dialog, "Add &New Bitmap To Library")->click();
        QCOMPARE(lib.files.requests.size(), std::size_t{1});
        const FileDialogRequest& asked = lib.files.requests.front();
        QCOMPARE(asked.title, std::string("Select Picture"));
        QCOMPARE(asked.filterName, std::string("Bitmap Files (*.BMP)"));
        QCOMPARE(asked.moreFilters.front(), std::string("DIB Files    (*.DIB)"));
        QCOMPARE(asked.defaultExtension, std::string("bmp"));
        QCOMPARE(dialog->windowTitle(), QStringLiteral("Orvik : Bitmap library : Total 1"));
        QVERIFY(dialog->view()->isVisibleTo(dialog.get()));
        QCOMPARE(label(*dialog, "dimension"), QStringLiteral("24 X 12 (pixels)"));
        QCOMPARE(label(*dialog, "size"), QStringLiteral("0.04 KB"));
        QCOMPARE(dialog->view()->image().size(), QSize(24, 12));

        // The same file again: the duplicate message, nothing added.
        QVERIFY(!dialog->addFile(lib.folder() / "frame.bmp"));
        QCOMPARE(lib.prompter.last().text, std::string(PictureLibrary::kDuplicate));
        QCOMPARE(dialog->count(), 1U);

        // A PNG picture: its light half is lit, and it becomes the selected picture.
        QImage png(10, 4, QImage::Format_RGB32);
        png.fill(Qt::black);
        for (int y = 0; y < 4; ++y) {
            for (int x = 5; x < 10; ++x) {
                png.setPixel(x, y, qRgb(200, 200, 200));
            }
        }
        const auto pngFile = lib.folder() / "half.PNG";
        QVERIFY(png.save(QString::fromStdString(pngFile.string()), "PNG"));
        QVERIFY(dialog->addFile(pngFile));
        QCOMPARE(dialog->count(), 2U);
        QCOMPARE(dialog->selected(), 1U);
        auto stored = lib.pictures.readPicture(1);
        QVERIFY(stored.ok());
        QCOMPARE(stored->rows(), (std::vector<std::uint8_t>{0x07, 0xC0, 0x07, 0xC0, 0x07, 0xC0, 0x07, 0xC0}));
        QCOMPARE(dialog->view()->image().pixelIndex(4, 0), 0);
        QCOMPARE(dialog->view()->image().pixelIndex(5, 0), 1);

        // Too wide for the display, and a file that only claims to be a picture.
        QImage wide(129, 2, QImage::Format_RGB32);
        wide.fill(Qt::white);
        const auto wideFile = lib.folder() / "wide.png";
        QVERIFY(wide.save(QString::fromStdString(wideFile.string()), "PNG"));
        QVERIFY(!dialog->addFile(wideFile));
        QCOMPARE(lib.prompter.last().text,
                 std::string("Selected picture is greater than screen.\nCan not create new Picture."));
        const auto fake = lib.folder() / "fake.jpg";
        std::ofstream(fake) << "not a picture";
        QVERIFY(!dialog->addFile(fake));
        QCOMPARE(lib.prompter.last().text, std::string("The selected file is not valid picture file."));
        QCOMPARE(lib.prompter.last().title, std::string("Quillon : Error"));
        QCOMPARE(dialog->count(), 2U);
    }

    void deletingAsksRefusesUsedPicturesAndKeepsTheSelectionBefore() {
        Library lib;
        lib.add({{8, 8}, {16, 8}, {24, 8}});
        lib.used = {1};
        auto dialog = lib.dialog();
        QCOMPARE(dialog->count(), 3U);

        dialog->select(1);
        lib.prompter.script({PromptAnswer::Yes});
        dialog->deleteSelected();
        QCOMPARE(lib.prompter.prompts().size(), std::size_t{2});
        QCOMPARE(lib.prompter.prompts()[0].text, std::string("Are you sure to delete the selected Bitmap?"));
        QCOMPARE(lib.prompter.prompts()[0].title, std::string("Quillon : Confirmation"));
        QCOMPARE(lib.prompter.last().text, std::string("This Bitmap is used hence can not be deleted."));
        QCOMPARE(dialog->count(), 3U);
        QVERIFY(!dialog->deletedAny());

        // No keeps everything.
        lib.prompter.clear();
        lib.prompter.script({PromptAnswer::No});
        dialog->select(2);
        dialog->deleteSelected();
        QCOMPARE(dialog->count(), 3U);

        // The first picture deleted: the selection stays at the first place, the later pictures move down.
        lib.prompter.script({PromptAnswer::Yes});
        dialog->select(0);
        dialog->deleteSelected();
        QCOMPARE(dialog->count(), 2U);
        QCOMPARE(dialog->selected(), 0U);
        QCOMPARE(lib.removed, (std::vector<std::uint32_t>{0}));
        QVERIFY(dialog->deletedAny());
        QCOMPARE(dialog->windowTitle(), QStringLiteral("Orvik : Bitmap library : Total 2"));
        QCOMPARE(label(*dialog, "dimension"), QStringLiteral("16 X 8 (pixels)"));

        // The last picture deleted: the one before it is shown.
        lib.prompter.script({PromptAnswer::Yes});
        lib.used.clear();
        dialog->select(1);
        dialog->deleteSelected();
        QCOMPARE(dialog->count(), 1U);
        QCOMPARE(dialog->selected(), 0U);
    }

    void choosingNearTheCornerEndsAtTheEdgesOrStaysOpen() {
        Library lib;
        lib.add({{8, 8}, {24, 12}});
        BitmapLibraryRequest request;
        request.clicked = {120, 60};
        auto dialog = lib.dialog(request);
        dialog->select(1);

        lib.prompter.script({PromptAnswer::Cancel});
        dialog->choose();
        QCOMPARE(dialog->result(), int{QDialog::Rejected});

        lib.prompter.script({PromptAnswer::Ok});
        dialog->choose();
        QCOMPARE(dialog->result(), int{QDialog::Accepted});
        QCOMPARE(dialog->chosenPicture(), 1U);
        QCOMPARE(dialog->chosenRect(), (UnitRect{104, 52, 127, 63}));
    }

    void changeModeStartsAtThePictureShownAndAClickChoosesIt() {
        Library lib;
        lib.add({{8, 8}, {16, 8}, {24, 8}});
        BitmapLibraryRequest request;
        request.mode = BitmapChoice::Mode::Change;
        request.current = 2;
        request.clicked = {4, 4};
        auto dialog = lib.dialog(request);
        dialog->show();
        QVERIFY(QTest::qWaitForWindowExposed(dialog.get()));
        QCOMPARE(button(*dialog, "Change")->text(), QStringLiteral("Change"));
        QCOMPARE(dialog->selected(), 2U);

        // The arrows move through the pictures even with the focus on a button.
        button(*dialog, "&Close")->setFocus();
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Up);
        QCOMPARE(dialog->selected(), 1U);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_End);
        QCOMPARE(dialog->selected(), 2U);

        // A click beside the picture does nothing; on it, chooses it.
        BitmapPictureView* view = dialog->view();
        QTest::mouseClick(view, Qt::LeftButton, {}, QPoint(2, 2));
        QVERIFY(dialog->isVisible());
        QTest::mouseClick(view, Qt::LeftButton, {}, view->pictureRect().center());
        QCOMPARE(dialog->result(), int{QDialog::Accepted});
        QCOMPARE(dialog->chosenPicture(), 2U);
        QCOMPARE(dialog->chosenRect(), (UnitRect{4, 4, 27, 11}));
        QVERIFY(lib.prompter.empty());
    }
};

QTEST_MAIN(BitmapLibraryDialogTest)
#include "BitmapLibraryDialogTest.moc"
