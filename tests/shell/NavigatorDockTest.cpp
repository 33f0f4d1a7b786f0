// The navigator beside the main area on a real application: its counts follow the editors' changes
// without reopening, a double click or Return opens the editor that owns the item on that item, and the
// search lands on a static text's object.

#include "shell/NavigatorDock.h"

#include "define/AlarmsDialog.h"
#include "define/KeyTaskListsDialog.h"
#include "define/TagEditorDialog.h"
#include "edit/screen/EditorSession.h"
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

// A user's double click: the view takes it only on the item the first press of the pair landed on.
void doubleClick(QTreeView* tree, const QModelIndex& index) {
    const QPoint at = tree->visualRect(index).center();
    QTest::mouseClick(tree->viewport(), Qt::LeftButton, {}, at);
    QTest::mouseDClick(tree->viewport(), Qt::LeftButton, {}, at);
}

void acceptNextDialog() {
    onModal([] {
        if (auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget())) {
            dialog->accept();
        }
    });
}

} // namespace

class NavigatorDockTest : public QObject {
    Q_OBJECT
private slots:
    void countsFollowTheEditorsWithoutReopening() {
        Plant p;
        QVERIFY(p.nav().isVisible());
        QTRY_COMPARE(p.line("Screens"), QString("Screens (2)"));
        QCOMPARE(p.line("Network"), QString("Network (2 nodes, 3 blocks, 6 tags)"));
        QCOMPARE(p.line("Screens/2"), QString("2  Tanks  (Display, 2 objects)"));
        QCOMPARE(p.line("Alarms"), QString("Alarms (1)"));
        QCOMPARE(p.line("Global keys"), QString("Global keys (2)"));

        // The search opens screen 2 with "Outlet valve closed" selected; Cut takes it off the screen.
        p.nav().search("outlet valve");
        QCOMPARE(p.nav().results()->count(), 1);
        p.nav().chooseResult(0);
        QVERIFY(p.window->screenSession().isOpen());
        QCOMPARE(p.editor().selection().size(), std::size_t{1});
        p.window->command(CommandId::Cut);
        QTRY_COMPARE(p.line("Screens/2"), QString("2  Tanks  (Display, 1 object)"));

        // A new screen from the session's Screen menu, with the screens manager's suggestion.
        acceptNextDialog();
        p.window->command(CommandId::ScreenNew);
        QCOMPARE(p.app().screenCount(), std::size_t{3});
        QTRY_COMPARE(p.line("Screens"), QString("Screens (3)"));

        // Deleted through the session's Screen menu, confirmed: the tree drops it.
        p.prompter.script({PromptAnswer::Yes});
        p.window->command(CommandId::ScreenDelete);
        QCOMPARE(p.app().screenCount(), std::size_t{2});
        QTRY_COMPARE(p.line("Screens"), QString("Screens (2)"));

        // Hidden, the tree waits; shown again it is up to date at once.
        p.nav().hide();
        QVERIFY(p.app().setAlarmText(7, "Pump2 tripped"));
        p.window->refresh();
        p.nav().show();
        QCOMPARE(p.line("Alarms"), QString("Alarms (2)"));
        QCOMPARE(p.line("Alarms/007"), QString("007  Pump2 tripped"));
    }

    void aDoubleClickOrReturnOpensTheOwningEditorOnTheItem() {
        Plant p;
        QTreeView* tree = p.nav().tree();

        // A screen: its session, on that screen.
        QModelIndex index = p.shown("Screens/2");
        doubleClick(tree, index);
        QVERIFY(p.window->screenSession().isOpen());
        QCOMPARE(p.editor().screen()->number(), 2U);
        p.window->command(CommandId::CloseScreenSession);

        // A tag: the tag database with the tag selected.
        index = p.shown("Network/Tanks/40001/Tank2Level");
        QVERIFY(index.isValid());
        const Tag* level = p.nav().model()->item(index)->tag;
        QVERIFY(level != nullptr && level->name == "Tank2Level");
        tree->setCurrentIndex(index);
        bool tagSelected = false;
        onModal([&] {
            auto* dialog = qobject_cast<TagEditorDialog*>(QApplication::activeModalWidget());
            QVERIFY(dialog != nullptr);
            QTRY_COMPARE(dialog->selectedTag(), level);
            tagSelected = true;
            dialog->reject();
        });
        QTest::keyClick(tree, Qt::Key_Return);
        QVERIFY(tagSelected);

        // An alarm: the alarms editor with its line current.
        index = p.shown("Alarms/003");
        bool alarmCurrent = false;
        onModal([&] {
            auto* dialog = qobject_cast<AlarmsDialog*>(QApplication::activeModalWidget());
            QVERIFY(dialog != nullptr);
            QTRY_VERIFY(dialog->list()->currentItem() != nullptr);
            QVERIFY(dialog->list()->currentItem()->text().startsWith("003"));
            alarmCurrent = true;
            dialog->reject();
        });
        doubleClick(tree, index);
        QVERIFY(alarmCurrent);

        // A key: the keys dialog on that key.
        index = p.shown("Global keys/F2");
        tree->setCurrentIndex(index);
        bool keyChosen = false;
        onModal([&] {
            auto* dialog = qobject_cast<KeyTaskListsDialog*>(QApplication::activeModalWidget());
            QVERIFY(dialog != nullptr);
            QTRY_COMPARE(dialog->selection().code(), std::uint16_t{2});
            keyChosen = true;
            dialog->reject();
        });
        QTest::keyClick(tree, Qt::Key_Enter);
        QVERIFY(keyChosen);
    }

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

    void theMenuOffersWhatTheOwningEditorOffers() {
        Plant p;
        const auto entries = [&p](const char* path) {
            QMenu menu;
            QStringList texts;
            if (p.nav().find(path) == nullptr) {
                return texts;
            }
            p.nav().fillMenu(menu, *p.nav().find(path));
            for (QAction* action : menu.actions()) {
                if (!action->isSeparator()) {
                    texts << action->text();
                }
            }
            return texts;
        };
        const auto choose = [&p](const char* path, const QString& entry) {
            QMenu menu;
            if (p.nav().find(path) == nullptr) {
                return false;
            }
            p.nav().fillMenu(menu, *p.nav().find(path));
            for (QAction* action : menu.actions()) {
                if (action->text() == entry) {
                    action->trigger();
                    return true;
                }
            }
            return false;
        };
        QCOMPARE(entries("Screens"), (QStringList{"&Open", "&New Screen..."}));
        QCOMPARE(entries("Screens/2"),
                 (QStringList{"&Open", "&New Screen...", "D&uplicate Screen...", "&Delete Screen"}));
        QCOMPARE(entries("Network/Tanks/40001/Tank1Level"),
                 (QStringList{"&Open", "&Where used", "&Delete Tag"}));
        QCOMPARE(entries("Alarms/003"), (QStringList{"&Open"}));

        // Duplicate: the session opens on screen 2 and the screens manager's dialog makes the copy.
        acceptNextDialog();
        QVERIFY(choose("Screens/2", "D&uplicate Screen..."));
        QCOMPARE(p.app().screenCount(), std::size_t{3});
        const Screen* copy = p.app().screens().back().get();
        QCOMPARE(copy->objectCount(), std::size_t{2});
        QTRY_COMPARE(p.line("Screens"), QString("Screens (3)"));

        // Delete asks first; No keeps the screen, Yes deletes it.
        const QByteArray copyPath = QByteArray("Screens/") + QByteArray::number(copy->number());
        p.prompter.script({PromptAnswer::No});
        QVERIFY(choose(copyPath.constData(), "&Delete Screen"));
        QCOMPARE(p.app().screenCount(), std::size_t{3});
        p.prompter.script({PromptAnswer::Yes});
        QVERIFY(choose(copyPath.constData(), "&Delete Screen"));
        QCOMPARE(p.app().screenCount(), std::size_t{2});
        QTRY_COMPARE(p.line("Screens"), QString("Screens (2)"));
        p.window->command(CommandId::CloseScreenSession);

        // A tag is deleted by the tag database's rules: its question first, the tag gone on Yes.
        const std::size_t tags = p.app().tagCount();
        p.prompter.script({PromptAnswer::No});
        QVERIFY(choose("Network/Tanks/40001/Tank1Level", "&Delete Tag"));
        QTRY_VERIFY(QApplication::activeModalWidget() == nullptr);
        QCOMPARE(p.app().tagCount(), tags);
        QVERIFY(!p.prompter.prompts().empty());
        p.prompter.script({PromptAnswer::Yes});
        QVERIFY(choose("Network/Tanks/40001/Tank1Level", "&Delete Tag"));
        QTRY_VERIFY(QApplication::activeModalWidget() == nullptr);
        QCOMPARE(p.app().tagCount(), tags - 1);
        QTRY_COMPARE(p.line("Network/Tanks/40001"), QString("40001 : 10 Levels  (2 tags)"));
        QVERIFY(p.nav().find("Network/Tanks/40001/Tank1Level") == nullptr);
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
