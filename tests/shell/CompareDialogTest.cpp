// File > Compare With...: the list of differences and the two screens side by side with the changed
// objects outlined.

#include "shell/CompareDialog.h"

#include "compare/ComparedApplication.h"
#include "model/Application.h"
#include "model/PanelFont.h"
#include "model/RecordingPrompter.h"
#include "persist/TextFormReader.h"
#include "plc/PlcCatalogFiles.h"
#include "shell/ScreenPairDialog.h"

#include <fstream>

#include <QListWidget>
#include <QTemporaryDir>
#include <QTest>

using namespace quillon;
using namespace quillon::gui;

namespace {

// Screen 1 with a text and a rectangle; the second version moves the rectangle and renames the screen.
const char* const kFirst = R"({"format": "quillon-application", "version": 1, "model": 500,
  "screens": [{"number": 1, "name": "Main", "objects": [
    {"kind": "text", "left": 0, "top": 0, "right": 59, "bottom": 15, "text": "Pump 1"},
    {"kind": "rectangle", "left": 70, "top": 10, "right": 99, "bottom": 29}]}]})";
const char* const kSecond = R"({"format": "quillon-application", "version": 1, "model": 500,
  "screens": [{"number": 1, "name": "Start", "objects": [
    {"kind": "text", "left": 0, "top": 0, "right": 59, "bottom": 15, "text": "Pump 1"},
    {"kind": "rectangle", "left": 70, "top": 40, "right": 99, "bottom": 59}]}]})";

} // namespace

class CompareDialogTest : public QObject {
    Q_OBJECT

private slots:
    void listsTheDifferencesAndShowsTheScreenSideBySide() {
        RecordingPrompter prompter;
        PlcCatalogFiles catalogs(std::filesystem::path(QUILLON_SOURCE_DIR) / "data" / "plc", prompter);
        auto mine = TextFormReader::read(kFirst, TextFormContext{catalogs, prompter, nullptr});
        QVERIFY(mine);
        QTemporaryDir folder;
        const std::filesystem::path file = std::filesystem::path(folder.path().toStdString()) / "site.json";
        std::ofstream(file) << kSecond;
        auto other = ComparedApplication::open(file, CompareContext{catalogs, prompter, {}});
        QVERIFY(other);
        auto records = ApplicationRecords::collect(**mine, nullptr);
        QVERIFY(records);
        auto differences = ApplicationDiff::compare(*records, (*other)->records());
        CompareDialog dialog(nullptr, CompareDialog::Current{**mine, nullptr, nullptr}, std::move(*other),
                             differences, PanelFont::builtIn());

        QStringList lines;
        for (int i = 0; i < dialog.list()->count(); ++i) {
            lines << dialog.list()->item(i)->text();
        }
        QCOMPARE(
            lines,
            QStringList({"Screens", "    screen 1 \"Main\": Screen Name: Main -> Start", "Objects",
                         "    screen 1 \"Main\": Rectangle at (70,10)-(99,29): moved to (70,40)-(99,59)"}));
        QCOMPARE(differences[1].screen, 1U);

        // The moved rectangle is outlined where it was on the left and where it is on the right; the text
        // that did not change is not. Model 500's display is 240 pixels wide, shown at zoom 20.
        ScreenPairDialog pair(nullptr, 1, {&**mine, nullptr, "first"},
                              {&dialog.otherApplication(), nullptr, "second"}, differences,
                              PanelFont::builtIn());
        QCOMPARE(pair.zoom(), 20);
        const auto outlined = [](const QImage& image, int x, int y) {
            return image.pixel(x, y) == ScreenPairDialog::kOutline;
        };
        QVERIFY(outlined(pair.firstImage(), 70 * 2 + 10, 10 * 2 - 1));
        QVERIFY(!outlined(pair.firstImage(), 70 * 2 + 10, 40 * 2 - 1));
        QVERIFY(outlined(pair.secondImage(), 70 * 2 + 10, 40 * 2 - 1));
        QVERIFY(!outlined(pair.secondImage(), 70 * 2 + 10, 10 * 2 - 1));
        QVERIFY(!outlined(pair.firstImage(), 30, 0));
        // A screen neither has is not shown.
        QVERIFY(!dialog.showScreen(7));
    }
};

QTEST_MAIN(CompareDialogTest)
#include "CompareDialogTest.moc"
