#include "screen/ReplicateScreenDialog.h"

#include "edit/define/NetworkEditor.h"
#include "edit/define/TagEditor.h"
#include "model/Block.h"
#include "model/Node.h"
#include "model/Screen.h"
#include "model/TextObject.h"
#include "plc/EditorFixture.h"
#include "screen/AllScreensDialog.h"
#include "screen/ScreenCommands.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

using namespace quillon;
using namespace quillon::gui;

namespace {

// A Modbus node (coils 0xxxx, holding registers 4xxxx) with blocks of 60 from 00001 and 40001, and screen
// 10 "Pump1" showing Pump1_Speed (40010) and Pump1_Run (00005), lit by the shared Reset (00050).
struct Plant : test::EditorFixture {
    Plant() : network(*app, *catalogs, driversDir(), prompter), editor(*app, *catalogs, prompter) {
        network.open();
        auto draft = *network.beginAdd();
        (void)network.choosePlc(5);
        draft.plcPosition = 5;
        node = network.apply(draft, nullptr).node;
        editor.selectNode(node);
        for (const std::size_t area : {std::size_t{3}, std::size_t{0}}) {
            auto b = std::make_unique<Block>(area == 3 ? "40001" : "00001", 60);
            b->prefix = area == 3 ? "4" : "0";
            b->attribute = static_cast<std::uint8_t>(editor.areas()[area].kind());
            (void)app->addBlock(*node, std::move(b));
        }
        Tag* speed = tag(3, "0010", "Pump1_Speed");
        Tag* run = tag(0, "0005", "Pump1_Run");
        Tag* reset = tag(0, "0050", "Reset");
        auto s = std::make_unique<Screen>(10);
        s->name = "Pump1";
        source = app->addScreen(std::move(s)).value();
        place(5, speed, 0);
        ScreenObject* lamp = place(4, run, 48);
        RangeAnimation show;
        show.tag = reset;
        lamp->setShowHide(show);
        auto text = ScreenObject::create(1);
        (void)static_cast<TextObject&>(*text).setText("Pump1 speed");
        (void)source->appendObject(std::move(text));
        prompter.clear();
    }
    Tag* tag(std::size_t area, const std::string& part, const std::string& name) {
        TagDraft d = editor.draftFor(area, area != 0);
        d.parts[0] = part;
        d.name = name;
        return editor.add(d);
    }
    ScreenObject* place(std::uint8_t kind, Tag* main, std::int32_t x) {
        auto object = ScreenObject::create(kind);
        object->left = x;
        object->top = 16;
        object->right = x + 47;
        object->bottom = 31;
        object->setTag(main);
        return source->appendObject(std::move(object)).value();
    }
    const Tag* named(const std::string& name) const {
        for (const Tag& t : app->tags()) {
            if (t.name == name) {
                return &t;
            }
        }
        return nullptr;
    }

    NetworkEditor network;
    TagEditor editor;
    Node* node = nullptr;
    Screen* source = nullptr;
};

// The screens manager of a session on the plant, its dialogs run by a script.
struct Manager {
    explicit Manager(Plant& plant)
        : commands(
              ScreenCommandContext{*plant.app,
                                   plant.prompter,
                                   nullptr,
                                   [this](QDialog& d) { return script ? script(d) : int{QDialog::Rejected}; },
                                   [this] { return current; },
                                   [this](Screen* s) { current = s; },
                                   {},
                                   nullptr,
                                   plant.plcDir()}),
          current(plant.source) {}
    ScreenCommands commands;
    Screen* current = nullptr;
    std::function<int(QDialog&)> script;
};

void fill(QDialog& d, const QString& numbers, const QString& offset, bool create, bool texts) {
    d.findChild<QLineEdit*>("numbers")->setText(numbers);
    d.findChild<QLineEdit*>("offset")->setText(offset);
    d.findChild<QCheckBox*>("createTags")->setChecked(create);
    d.findChild<QCheckBox*>("texts")->setChecked(texts);
}

} // namespace

class ReplicateScreenDialogTest : public QObject {
    Q_OBJECT
private slots:
    void refusalsKeepTheDialogOpenAndYesMakesEveryCopy() {
        Plant p;
        Manager m(p);
        std::vector<bool> acceptedAfter;
        m.script = [&](QDialog& d) -> int {
            if (auto* all = dynamic_cast<AllScreensDialog*>(&d)) {
                all->findChild<QPushButton*>("replicate")->click();
                return all->result();
            }
            auto& dialog = dynamic_cast<ReplicateScreenDialog&>(d);
            // The first tag's name suggests the text to replace.
            if (d.findChild<QLineEdit*>("from")->text() != "Pump1" ||
                d.findChild<QLineEdit*>("to")->text() != "Pump{n}") {
                return int{QDialog::Rejected};
            }
            fill(d, "0", "10", true, true);
            dialog.accept();
            acceptedAfter.push_back(d.result() == QDialog::Accepted);
            fill(d, "21-25", "10", false, true);
            dialog.accept();
            acceptedAfter.push_back(d.result() == QDialog::Accepted);
            fill(d, "21-25", "1000001", true, true);
            dialog.accept();
            acceptedAfter.push_back(d.result() == QDialog::Accepted);
            fill(d, "21-25", "10", true, true);
            p.prompter.script({PromptAnswer::No, PromptAnswer::Yes});
            dialog.accept();
            acceptedAfter.push_back(d.result() == QDialog::Accepted);
            dialog.accept();
            acceptedAfter.push_back(d.result() == QDialog::Accepted);
            return d.result();
        };
        QVERIFY(!m.commands.viewAllScreens());
        QCOMPARE(acceptedAfter, (std::vector<bool>{false, false, false, false, true}));
        const std::vector<std::string> texts = p.prompter.texts();
        QCOMPARE(texts.size(), std::size_t{5});
        QCOMPARE(texts[0], std::string("Screen number 0 is out of range ( 1 - 65534 )."));
        QCOMPARE(texts[1], std::string("These tags do not exist (creating tags is not chosen):\n"
                                       "  Pump2_Speed ( node 1, 40020 )\n"
                                       "  Pump2_Run ( node 1, 00015 )\n"
                                       "  Pump3_Speed ( node 1, 40030 )\n"
                                       "  Pump3_Run ( node 1, 00025 )\n"
                                       "  Pump4_Speed ( node 1, 40040 )\n"
                                       "  Pump4_Run ( node 1, 00035 )\n"
                                       "  Pump5_Speed ( node 1, 40050 )\n"
                                       "  Pump5_Run ( node 1, 00045 )\n"
                                       "  Pump6_Speed ( node 1, 40060 )\n"
                                       "  Pump6_Run ( node 1, 00055 )"));
        QCOMPARE(texts[2],
                 std::string("The address offset \"1000001\" is not a whole number ( 0 - 1000000 )."));
        const std::string question =
            "Replicate Screen ' 10 : Pump1 ' ?\n\n5 screen(s) will be created and 10 "
            "tag(s) added.\n( A replication can not be undone. )";
        QCOMPARE(texts[3], question);
        QCOMPARE(texts[4], question);
        QCOMPARE(p.prompter.prompts()[1].kind, PromptKind::Error);

        // The manager closes on the first copy; each copy has its own pump's tags.
        QCOMPARE(p.app->screenCount(), std::size_t{6});
        QVERIFY(m.current != nullptr);
        QCOMPARE(m.current->number(), 21u);
        const Screen* last = p.app->findScreen(25);
        QVERIFY(last != nullptr);
        QCOMPARE(last->name, std::string("Pump6"));
        QCOMPARE(last->objects()[0]->tag()->name, std::string("Pump6_Speed"));
        QCOMPARE(last->objects()[0]->tag()->address(), std::string("40060"));
        QCOMPARE(last->objects()[1]->tag()->address(), std::string("00055"));
        QCOMPARE(last->objects()[1]->showHide()->tag, p.named("Reset"));
        QCOMPARE(static_cast<const TextObject&>(*last->objects()[2]).text(), std::string("Pump6 speed"));
        QVERIFY(p.named("Pump2_Run") != nullptr);
        QCOMPARE(p.named("Pump2_Run")->address(), std::string("00015"));
        QVERIFY(p.app->checkConsistency().ok());
    }

    void cancelAndARefusedReplicationChangeNothing() {
        Plant p;
        Manager m(p);
        m.script = [&](QDialog& d) -> int {
            if (auto* all = dynamic_cast<AllScreensDialog*>(&d)) {
                all->findChild<QPushButton*>("replicate")->click();
                return all->result();
            }
            return int{QDialog::Rejected};
        };
        QVERIFY(!m.commands.viewAllScreens());
        QCOMPARE(p.app->screenCount(), std::size_t{1});
        QCOMPARE(m.current, p.source);
        QVERIFY(p.prompter.empty());

        // A number in use is refused by the plan, before anything changes.
        auto taken = std::make_unique<Screen>(23);
        taken->name = "Other";
        (void)p.app->addScreen(std::move(taken));
        const std::size_t tags = p.app->tags().size();
        m.script = [&](QDialog& d) -> int {
            auto& dialog = dynamic_cast<ReplicateScreenDialog&>(d);
            fill(d, "21-25", "10", true, false);
            dialog.accept();
            return d.result();
        };
        QVERIFY(m.commands.replicateScreen(*p.source) == nullptr);
        QCOMPARE(p.prompter.prompts().back().kind, PromptKind::Error);
        QCOMPARE(p.app->screenCount(), std::size_t{2});
        QCOMPARE(p.app->tags().size(), tags);

        // Without a catalog folder the manager offers no replication.
        ScreenCommandContext without{*p.app, p.prompter, nullptr, {}, {}, {}, {}, nullptr};
        without.runDialog = [](QDialog& d) {
            return d.findChild<QPushButton*>("replicate") != nullptr ? int{QDialog::Accepted}
                                                                     : int{QDialog::Rejected};
        };
        ScreenCommands bare(std::move(without));
        QVERIFY(!bare.viewAllScreens());
    }
};

QTEST_MAIN(ReplicateScreenDialogTest)
#include "ReplicateScreenDialogTest.moc"
