// The navigator beside the main area on a real application: the search lands on a static text's object,
// and whether the navigator is shown is kept in the settings file.

#include "shell/NavigatorDock.h"

#include "define/AlarmsDialog.h"
#include "define/KeyTaskListsDialog.h"
#include "define/TagEditorDialog.h"
#include "edit/EditorSession.h"
#include "model/Application.h"
#include "model/RecordingPrompter.h"
#include "model/Screen.h"
#include "model/TextObject.h"
#include "persist/ApplicationWriter.h"
#include "persist/PictureLibrary.h"
#include "persist/TextFormReader.h"
#include "plc/PlcCatalogFiles.h"
#include "screen/ScreenSession.h"
#include "support/ModalStep.h"
#include "support/ShellWindow.h"

#include <fstream>
#include <sstream>

#include <QAction>
#include <QApplication>
#include <QDialog>
#include <QFile>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QTest>
#include <QTreeView>

using namespace quillon;
using namespace quillon::gui;
using namespace quillon::gui::testing;

namespace {

// The application of tests/data/navigator/plant.json (two nodes with six tags, screens 1 "Main" with one
// static text and 2 "Tanks" with two, alarm 003, global keys F1 and F2), written and opened with File >
// Open.
struct Plant : ModelWindow {
    Plant() : ModelWindow({}, QSize(1200, 900)) {
        std::ifstream in(std::string(QUILLON_SOURCE_DIR) + "/tests/data/navigator/plant.json");
        std::stringstream text;
        text << in.rdbuf();
        RecordingPrompter quiet;
        const std::filesystem::path catalogs = std::filesystem::path(QUILLON_SOURCE_DIR) / "data" / "plc";
        PlcCatalogFiles catalogFiles(catalogs, quiet);
        PictureLibrary library(dir.path().toStdString());
        auto app = TextFormReader::read(text.str(), TextFormContext{catalogFiles, quiet, &library});
        QVERIFY2(app, app ? "" : app.message().c_str());
        file = dir.filePath("plant.ovm").toStdString();
        QVERIFY((*app)->checkCapacity(quiet));
        QVERIFY(ApplicationWriter::save(
            **app, file, WriteContext{catalogFiles, quiet, &library, dir.path().toStdString()}));
        this->files.answers = {file};
        window->command(CommandId::Open);
        QVERIFY(window->lifecycle().isOpen());
        QApplication::processEvents();
    }
    NavigatorDock& nav() const { return window->navigator(); }
    Application& app() { return *docs.application(); }
    // The line the tree shows for a path, as the view reads it from the model.
    QString line(const char* path) const {
        const ProjectItem* item = ProjectTree::find(nav().model()->root(), path);
        return item != nullptr ? nav().model()->indexOf(item).data(Qt::DisplayRole).toString() : QString();
    }
    // The tree's index of a path, its branch expanded so that the line can be clicked.
    QModelIndex shown(const char* path) const {
        const QModelIndex index = nav().model()->indexOf(ProjectTree::find(nav().model()->root(), path));
        for (QModelIndex up = index.parent(); up.isValid(); up = up.parent()) {
            nav().tree()->expand(up);
        }
        nav().tree()->scrollTo(index);
        return index;
    }
    EditorSession& editor() const { return *window->screenSession().editor(); }
    std::filesystem::path file;
};

} // namespace

class NavigatorDockTest : public QObject {
    Q_OBJECT
private slots:
    void theSearchLandsOnAStaticTextsObject() {
        Plant p;
        p.nav().searchField()->setText("TANK FARM");
        QCOMPARE(p.nav().results()->count(), 1);
        QVERIFY(p.nav().results()->item(0)->text().startsWith("Static text: Tank farm"));
        p.nav().chooseResult(0);
        QVERIFY(p.window->screenSession().isOpen());
        QCOMPARE(p.editor().screen()->number(), 2U);
        QCOMPARE(p.editor().selection().size(), std::size_t{1});
        const auto* text = dynamic_cast<const TextObject*>(p.editor().selection().objects().front());
        QVERIFY(text != nullptr);
        QCOMPARE(text->text(), std::string("Tank farm"));

        // With the session open on screen 2, a text of screen 1 changes the screen and selects it there.
        p.nav().search("plant overview");
        p.nav().chooseResult(0);
        QCOMPARE(p.editor().screen()->number(), 1U);
        QCOMPARE(p.editor().selection().size(), std::size_t{1});
        QCOMPARE(dynamic_cast<const TextObject*>(p.editor().selection().objects().front())->text(),
                 std::string("Plant overview"));

        QVERIFY(p.nav().results()->count() == 1);
        p.nav().search("no such text anywhere");
        QCOMPARE(p.nav().results()->count(), 0);
    }

    void theShownStateIsKeptInTheWindowSection() {
        std::string written;
        {
            Plant p;
            QVERIFY(p.nav().isVisible());
            p.nav().toggleViewAction()->trigger();
            QVERIFY(!p.nav().isVisible());
            p.window->close();
            std::ifstream in(p.dir.filePath("orvik.ini").toStdString());
            std::stringstream text;
            text << in.rdbuf();
            written = text.str();
            QVERIFY(!QFile::exists(p.dir.filePath("view.ini")));
        }
        const auto section = written.find("[Window]");
        QVERIFY(section != std::string::npos);
        QVERIFY(written.find("Navigator.shown=0", section) != std::string::npos);

        // The window closing hides the dock as well; that is no choice of the user's and is not kept.
        {
            Plant p;
            QVERIFY(p.nav().isVisible());
            p.window->close();
            std::ifstream in(p.dir.filePath("orvik.ini").toStdString());
            std::stringstream text;
            text << in.rdbuf();
            QVERIFY(text.str().find("Navigator.shown") == std::string::npos);
        }

        ModelWindow hidden("[Window]\nNavigator.shown=0\n");
        QVERIFY(!hidden.window->navigator().isVisible());
        ModelWindow shown("[Window]\nNavigator.shown=1\n");
        QVERIFY(shown.window->navigator().isVisible());
    }
};

QTEST_MAIN(NavigatorDockTest)
#include "NavigatorDockTest.moc"
