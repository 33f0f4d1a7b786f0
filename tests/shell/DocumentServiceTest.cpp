// The documents of the window on the real model, reader and writer, below the window: the figures of the
// memory configuration report and the traces of tag codes that saving, downloading and opening leave in
// the tool's working directory.

#include "model/Application.h"
#include "model/Block.h"
#include "model/DisplayRegisterObject.h"
#include "model/Node.h"
#include "model/RecordingPrompter.h"
#include "model/Screen.h"
#include "model/Tag.h"
#include "plc/PlcCatalogFiles.h"
#include "shell/ModelDocumentService.h"
#include "support/ShellFakes.h"

#include <fstream>
#include <iterator>

#include <QTemporaryDir>
#include <QTest>

using namespace quillon;
using namespace quillon::gui;
using namespace quillon::gui::testing;

namespace {

const std::filesystem::path kCatalogs = std::filesystem::path(QUILLON_SOURCE_DIR) / "data" / "plc";

std::string textOf(const std::filesystem::path& file) {
    std::ifstream in(file, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// A Modbus node 1 with block 40001 (10 registers) and the named word tag 40003.
Tag* addModbusWord(Application& app, Prompter& prompter) {
    PlcCatalogFiles catalogs(kCatalogs, prompter);
    auto node = std::make_unique<Node>(NodeKind::Plc, 1);
    node->plcId = 1;
    node->modelIndex = 1;
    node->modelCode = '5';
    node->plcFile = catalogs.findCatalogFile(1)->recordedPath;
    node->modelNames = *catalogs.modelNames(1);
    Node* added = *app.addNode(std::move(node));
    Block* block = *app.addBlock(*added, std::make_unique<Block>("40001", 10));
    TagValues word;
    word.address = "40003";
    word.type = tag_type::kRegister;
    word.size = 2;
    word.readWrite = '2';
    Tag* tag = *app.addTag(*block, word);
    tag->name = "Level";
    return tag;
}

} // namespace

class DocumentServiceTest : public QObject {
    Q_OBJECT
private slots:
    void memoryReportCountsTheScreensAndAlarmsThereAre() {
        QTemporaryDir dir;
        ModelDocumentService docs(kCatalogs, dir.path().toStdString());
        RecordingPrompter prompter;
        QVERIFY(docs.create(500, prompter).ok());
        Application& app = *docs.application();
        const std::size_t screensBefore = app.screenCount();
        for (std::uint32_t number : {7U, 8U, 9U}) {
            QVERIFY(app.addScreen(std::make_unique<Screen>(number)).ok());
        }
        QVERIFY(app.setAlarmText(0, "Pump").ok());
        QVERIFY(app.setAlarmText(17, "Valve").ok());

        const MemoryReport report = docs.memoryReport();
        QCOMPARE(report.screens.count, static_cast<std::uint32_t>(screensBefore + 3));
        QCOMPARE(report.screens.bytes, app.totals().screenBytes);
        QCOMPARE(report.alarms.count, 2U);
        // Two groups in use (0 and 1): 2 + 2 * 5 + (4 + 3) + (5 + 3).
        QCOMPARE(report.alarms.bytes, 27U);
    }

    void saveDownloadAndOpenLeaveTheirTracesInTheWorkingDirectory() {
        QTemporaryDir dir;
        const std::filesystem::path work = dir.path().toStdString();
        ModelDocumentService docs(kCatalogs, work);
        RecordingPrompter prompter;
        QVERIFY(docs.create(500, prompter).ok());
        Application& app = *docs.application();
        Tag* level = addModbusWord(app, prompter);
        Screen& screen = **app.addScreen(std::make_unique<Screen>(3));
        (*screen.appendObject(std::make_unique<DisplayRegisterObject>()))->setTag(level);

        // Screen 3, node 1, the address in nine places, 'w' for a word, offset 2 in the screen's reads.
        const std::string written = "00003 001     40003 w 002 000 000\n";
        QVERIFY(docs.prepareForWrite(prompter).ok());
        const std::filesystem::path file = work / "Result" / "tank.ovm";
        std::filesystem::create_directories(file.parent_path());
        QVERIFY(docs.write(file, prompter).ok());
        QCOMPARE(textOf(work / "DtoI.txt"), written);
        QVERIFY(!std::filesystem::exists(file.parent_path() / "DtoI.txt"));

        std::filesystem::remove(work / "DtoI.txt");
        QVERIFY(docs.writeDownloadImage(work, prompter).ok());
        QCOMPARE(textOf(work / "DtoI.txt"), written);

        docs.close();
        ScriptedPassword password;
        QVERIFY(docs.open(file, password, prompter).ok());
        QCOMPARE(textOf(work / "ItoD.txt"), std::string("    3   1     40003 w   2   0   0\n"));
        QVERIFY2(prompter.empty(), prompter.empty() ? "" : prompter.last().text.c_str());
    }
};

QTEST_MAIN(DocumentServiceTest)
#include "DocumentServiceTest.moc"
