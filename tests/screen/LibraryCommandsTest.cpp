#include "screen/LibraryCommands.h"

#include "edit/define/NetworkEditor.h"
#include "edit/define/TagEditor.h"
#include "edit/screen/EditorSession.h"
#include "model/Block.h"
#include "model/Node.h"
#include "model/PanelFont.h"
#include "model/Screen.h"
#include "model/TextObject.h"
#include "persist/ObjectLibrary.h"
#include "plc/EditorFixture.h"
#include "screen/AddToLibraryDialog.h"
#include "screen/LibraryInsertDialog.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QTableWidget>
#include <QTest>

using namespace quillon;
using namespace quillon::gui;

namespace {

// One application with a Modbus node 1 (coils 0xxxx, holding registers 4xxxx) and screen 10. Model 10 shows
// 2 lines of 16 characters on 192 x 32 unit pixels: text cells of 12 x 16.
struct Side {
    Side(Application& application, PlcCatalogFiles& catalogs, const std::filesystem::path& drivers,
         RecordingPrompter& prompter)
        : app(application), network(application, catalogs, drivers, prompter),
          editor(application, catalogs, prompter) {
        network.open();
        auto draft = *network.beginAdd();
        (void)network.choosePlc(5);
        draft.plcPosition = 5;
        node = network.apply(draft, nullptr).node;
        editor.selectNode(node);
        // Blocks of 20 from 40001 and 00001, so that a screen reads less than automatic blocks make it.
        for (const std::size_t area : {std::size_t{3}, std::size_t{0}}) {
            auto b = std::make_unique<Block>(area == 3 ? "40001" : "00001", 20);
            b->prefix = area == 3 ? "4" : "0";
            b->attribute = static_cast<std::uint8_t>(editor.areas()[area].kind());
            (void)app.addBlock(*node, std::move(b));
        }
        auto s = std::make_unique<Screen>(10);
        s->name = "PUMPS";
        screen = app.addScreen(std::move(s)).value();
    }
    Tag* tag(std::size_t area, const std::string& part, const std::string& name) {
        TagDraft d = editor.draftFor(area, area != 0);
        d.parts[0] = part;
        d.name = name;
        return editor.add(d);
    }
    ScreenObject* place(std::uint8_t kind, Tag* main, std::int32_t x, std::int32_t y) {
        auto object = ScreenObject::create(kind);
        object->left = x;
        object->top = y;
        object->right = x + 47;
        object->bottom = y + 15;
        object->setTag(main);
        return screen->appendObject(std::move(object)).value();
    }
    const Tag* named(const std::string& name) const {
        for (const Tag& t : app.tags()) {
            if (t.name == name) {
                return &t;
            }
        }
        return nullptr;
    }

    Application& app;
    NetworkEditor network;
    TagEditor editor;
    Node* node = nullptr;
    Screen* screen = nullptr;
};

struct Bench : test::EditorFixture {
    Bench()
        : folder(std::filesystem::temp_directory_path() /
                 ("quillon-library-" + std::to_string(QCoreApplication::applicationPid()))),
          source(*app, *catalogs, driversDir(), prompter) {
        std::filesystem::remove_all(folder);
        second = newApplication(10, prompter);
        target = std::make_unique<Side>(*second, *catalogs, driversDir(), prompter);
        graphic = newApplication(520, prompter);
        prompter.clear();
    }
    ~Bench() { std::filesystem::remove_all(folder); }

    LibraryContext context(EditorSession& editor) {
        return LibraryContext{
            editor,   prompter,
            nullptr,  [this](QDialog& d) { return script ? script(d) : int{QDialog::Rejected}; },
            plcDir(), folder,
            font};
    }

    std::filesystem::path folder;
    Side source;
    std::unique_ptr<Application> second;
    std::unique_ptr<Side> target;
    std::unique_ptr<Application> graphic;
    PanelFont font;
    std::function<int(QDialog&)> script;
};

} // namespace

class LibraryCommandsTest : public QObject {
    Q_OBJECT
private slots:
    void addedInOneApplicationInsertedIntoAnother() {
        Bench b;
        Tag* speed = b.source.tag(3, "0010", "Pump1_Speed");
        Tag* run = b.source.tag(0, "0005", "Pump1_Run");
        ScreenObject* shown = b.source.place(5, speed, 0, 0);
        ScreenObject* lamp = b.source.place(4, run, 96, 0);
        EditorSession editor(*b.app);
        QVERIFY(editor.open(*b.source.screen));
        editor.clearSelection();
        editor.addToSelection(*shown);
        editor.addToSelection(*lamp);

        // A bad name keeps the dialog open; a good one saves the item.
        std::vector<bool> acceptedAfter;
        b.script = [&](QDialog& d) -> int {
            auto& dialog = dynamic_cast<AddToLibraryDialog&>(d);
            d.findChild<QLineEdit*>("name")->setText("a/b");
            dialog.accept();
            acceptedAfter.push_back(d.result() == QDialog::Accepted);
            d.findChild<QLineEdit*>("name")->setText("Pump");
            dialog.accept();
            acceptedAfter.push_back(d.result() == QDialog::Accepted);
            return d.result();
        };
        QVERIFY(LibraryCommands::addToLibrary(b.context(editor)));
        QCOMPARE(acceptedAfter, (std::vector<bool>{false, true}));
        QVERIFY(std::filesystem::exists(b.folder / "Pump.json"));

        // The second application has Pump1_Speed at another address and no coil: the register is mapped
        // by name, the coil is created at the item's address.
        Tag* existing = b.target->tag(3, "0015", "Pump1_Speed");
        const std::size_t tagsBefore = b.second->tagCount();
        EditorSession other(*b.second);
        QVERIFY(other.open(*b.target->screen));
        b.script = [&](QDialog& d) -> int {
            auto& dialog = dynamic_cast<LibraryInsertDialog&>(d);
            auto* items = d.findChild<QListWidget*>("items");
            if (items->count() != 1 || items->currentRow() != 0) {
                return int{QDialog::Rejected};
            }
            if (d.findChild<QLabel*>("picture")->pixmap().isNull()) {
                return int{QDialog::Rejected};
            }
            auto* tags = d.findChild<QTableWidget*>("tags");
            if (tags->rowCount() != 2 || tags->item(0, 0)->text() != "Pump1_Speed") {
                return int{QDialog::Rejected};
            }
            // Refused first: the dialog stays open with the reason.
            auto* coil = d.findChild<QComboBox*>("choice1");
            coil->setCurrentIndex(coil->count() - 1);
            dialog.accept();
            if (d.result() == QDialog::Accepted) {
                return int{QDialog::Rejected};
            }
            coil->setCurrentIndex(0);
            d.findChild<QLineEdit*>("name1")->setText("Pump7_Run");
            dialog.accept();
            return d.result();
        };
        const bool inserted = LibraryCommands::insertFromLibrary(b.context(other), std::nullopt);
        QVERIFY2(inserted, b.prompter.empty() ? "no message" : b.prompter.texts().back().c_str());
        QCOMPARE(b.second->tagCount(), tagsBefore + 1);
        const Tag* created = b.target->named("Pump7_Run");
        QVERIFY(created != nullptr);
        QCOMPARE(created->address(), std::string("00005"));
        QCOMPARE(b.target->screen->objectCount(), std::size_t{2});
        QCOMPARE(b.target->screen->objects()[0]->tag(), existing);
        QCOMPARE(b.target->screen->objects()[1]->tag(), created);
        // The objects keep their arrangement: 96 pixels apart.
        QCOMPARE(b.target->screen->objects()[1]->left - b.target->screen->objects()[0]->left, 96);

        // One undo takes the objects off again.
        QVERIFY(other.undo());
        QCOMPARE(b.target->screen->objectCount(), std::size_t{0});
    }

    void itemsOfTheOtherDisplayClassShowWhy() {
        Bench b;
        Tag* speed = b.source.tag(3, "0010", "Pump1_Speed");
        ScreenObject* shown = b.source.place(5, speed, 0, 0);
        const std::vector<const ScreenObject*> chosen{shown};
        auto item = ObjectLibrary::extract(*b.app, chosen);
        QVERIFY(item);
        QVERIFY(ObjectLibrary::save(b.folder, "Pump", *item.value(), false));

        auto s = std::make_unique<Screen>(1);
        s->name = "ONE";
        Screen* screen = b.graphic->addScreen(std::move(s)).value();
        EditorSession editor(*b.graphic);
        QVERIFY(editor.open(*screen));
        QString reason;
        b.script = [&](QDialog& d) -> int {
            auto& dialog = dynamic_cast<LibraryInsertDialog&>(d);
            d.findChild<QListWidget*>("items")->setCurrentRow(0);
            reason = d.findChild<QLabel*>("reason")->text();
            dialog.accept();
            return d.result();
        };
        QVERIFY(!LibraryCommands::insertFromLibrary(b.context(editor), std::nullopt));
        QVERIFY2(reason.contains("character"), qPrintable(reason));
        QCOMPARE(screen->objectCount(), std::size_t{0});
        QVERIFY(!b.prompter.empty());
    }
};

QTEST_MAIN(LibraryCommandsTest)
#include "LibraryCommandsTest.moc"
