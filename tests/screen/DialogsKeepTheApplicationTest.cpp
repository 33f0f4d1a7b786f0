// Every dialog opened on what an application already holds, and left with Ok (or Cancel) without touching
// anything, leaves the application byte for byte as it was: each property dialog of the screen editor (on
// every object of every screen, and its animation), and each editor of the Define menu (network and blocks
// on every node and block, the tag database on every tag, unit settings, the task lists of the application,
// of every screen and touch area with every task's dialog, global and screen keys with every key's lists
// and password, alarms on every alarm, the logger) and the screens manager's information dialog. The
// applications are those the fuzzing corpus is written from: every panel model with every record of the
// image, and one object of each kind.

#include "define/AlarmsDialog.h"
#include "define/BlockEditorDialog.h"
#include "define/KeyTaskListsDialog.h"
#include "define/NetworkEditorDialog.h"
#include "define/TagEditorDialog.h"
#include "define/TagTableModel.h"
#include "define/TaskListPanel.h"
#include "edit/screen/EditorSession.h"
#include "edit/screen/ObjectPlacement.h"
#include "persist/OvmRichApplication.h"
#include "screen/PlacementController.h"
#include "screen/ScreenCommands.h"
#include "screen/ScreenSession.h"
#include "shell/MainWindow.h"
#include "shell/ModelDocumentService.h"
#include "shell/ShellMenus.h"
#include "support/ShellFakes.h"
#include "ui/HelpWindow.h"
#include "ui/SelectScreenDialog.h"

#include <deque>
#include <functional>
#include <map>

#include <QAbstractButton>
#include <QComboBox>
#include <QDialog>
#include <QDialogButtonBox>
#include <QGroupBox>
#include <QLabel>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QPointer>
#include <QPushButton>
#include <QSet>
#include <QTableView>
#include <QTest>
#include <QTimer>
#include <QTreeWidget>

using namespace quillon;
using namespace quillon::gui;
using namespace quillon::gui::testing;
using quillon::test::OvmFixture;

namespace {

// Answers every modal dialog that comes up: with Ok (the dialog's accepting button, or its Close where it
// has no Ok) or with Cancel. A dialog that refuses Ok is noted with the message it gave, then cancelled.
// A step queued beforehand drives the next dialog instead (choosing each record in turn) before it is
// answered.
class Answerer final : public QObject {
public:
    explicit Answerer(const RecordingPrompter& prompter) : prompter_(prompter) {
        connect(&timer_, &QTimer::timeout, this, &Answerer::tick);
        timer_.start(1);
    }

    bool ok = true;
    QString context;
    QStringList refusals;
    int answered = 0;
    std::deque<std::function<void(QDialog*)>> steps;

    std::size_t prompts() const { return prompter_.prompts().size(); }
    QString said() const {
        return prompter_.empty() ? QString() : QString::fromStdString(prompter_.last().text);
    }
    void refused(const QString& what) { refusals << context + " / " + what + ": " + said(); }

private:
    void tick() {
        auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
        if (dialog == nullptr || held_.contains(dialog) || !dialog->isVisible()) {
            return;
        }
        held_.insert(dialog);
        noteMnemonics(dialog);
        QPointer<QDialog> guard(dialog);
        if (!steps.empty()) {
            auto step = std::move(steps.front());
            steps.pop_front();
            // Its own timer, so that this one keeps answering the dialogs the step opens.
            QTimer::singleShot(0, this, [this, step = std::move(step), guard, dialog] {
                if (guard) {
                    step(guard);
                }
                if (guard && guard->isVisible()) {
                    finish(guard); // a step may have answered the dialog itself
                }
                held_.remove(dialog);
            });
            return;
        }
        finish(dialog);
        held_.remove(dialog);
    }

public:
    // Mnemonics shared by two entries of one dialog, as "title: Alt+X: first | second".
    QSet<QString> clashes;
    static QChar mnemonicOf(const QString& text) {
        for (qsizetype i = 0; i + 1 < text.size(); ++i) {
            if (text[i] == '&') {
                if (text[i + 1] == '&') {
                    ++i;
                    continue;
                }
                return text[i + 1].toUpper();
            }
        }
        return {};
    }
    static void collect(QWidget* top, std::map<QChar, QStringList>& seen) {
        for (QWidget* widget : top->findChildren<QWidget*>()) {
            if (!widget->isVisibleTo(top)) {
                continue;
            }
            QString text;
            if (auto* button = qobject_cast<QAbstractButton*>(widget)) {
                text = button->text();
            } else if (auto* label = qobject_cast<QLabel*>(widget); label && label->buddy()) {
                text = label->text();
            } else if (auto* group = qobject_cast<QGroupBox*>(widget); group && group->isCheckable()) {
                text = group->title();
            }
            const QChar key = mnemonicOf(text);
            if (!key.isNull()) {
                seen[key] << text;
            }
        }
    }
    void noteMnemonics(QDialog* dialog) {
        std::map<QChar, QStringList> seen;
        collect(dialog, seen);
        for (const auto& [key, texts] : seen) {
            if (texts.size() > 1) {
                clashes << dialog->windowTitle() + ": Alt+" + key + ": " + texts.join(" | ");
            }
        }
    }

private:
    void finish(QDialog* dialog) {
        const QString title = dialog->windowTitle();
        press(dialog);
        if (dialog->isVisible()) {
            refused(title);
            dialog->reject();
            if (dialog->isVisible()) {
                dialog->hide();
            }
            return;
        }
        ++answered;
    }

    void press(QDialog* dialog) const {
        if (!ok) {
            dialog->reject();
            return;
        }
        for (QDialogButtonBox* box : dialog->findChildren<QDialogButtonBox*>()) {
            for (QAbstractButton* button : box->buttons()) {
                if (box->buttonRole(button) == QDialogButtonBox::AcceptRole && button->isVisibleTo(dialog) &&
                    button->isEnabled()) {
                    button->click();
                    return;
                }
            }
        }
        for (QAbstractButton* button : dialog->findChildren<QAbstractButton*>()) {
            const QString text = button->text().remove('&').toLower();
            if ((text == "ok" || text == "close") && button->isVisibleTo(dialog) && button->isEnabled()) {
                button->click();
                return;
            }
        }
        dialog->accept();
    }

    const RecordingPrompter& prompter_;
    QTimer timer_;
    QSet<QDialog*> held_;
};

// The main window over the corpus applications' catalogs (with the test PLC 29) and working folder.
struct Rig {
    OvmFixture fixture;
    ModelDocumentService docs{fixture.folder() / "plc", fixture.folder() / "work"};
    RecordingPrompter prompter;
    ScriptedFiles files;
    ScriptedModels models;
    ScriptedPassword password;
    ScriptedPrinter printers;
    std::unique_ptr<MainWindow> window;
    Answerer answerer{prompter};
    std::vector<std::uint8_t> base;
    QString file;
    QStringList changes;
    int records = 0;

    Rig() {
        ShellOptions options;
        options.startDirectory = (fixture.folder() / "work").string();
        options.helpFolder = QString(QUILLON_SOURCE_DIR) + "/data/help";
        options.showSplash = false;
        options.maximised = false;
        window = std::make_unique<MainWindow>(
            ShellServices{&docs, &prompter, &files, &models, &password, nullptr, nullptr, &printers},
            options);
        window->resize(1280, 1000);
        window->startUp();
    }
    ~Rig() {
        prompter.script({PromptAnswer::No});
        window->lifecycle().closeWithPrompt();
        window->helpWindow().close();
    }

    std::vector<std::uint8_t> bytesNow() {
        RecordingPrompter quiet;
        const auto out = fixture.folder() / "now.ovm";
        if (!docs.prepareForWrite(quiet) || !docs.write(out, quiet)) {
            return {};
        }
        return test::TempFolder::readBytes(out);
    }

    bool open(const std::filesystem::path& path) {
        file = QString::fromStdString(path.filename().string());
        files.answers = {path};
        password.typed = {std::string(OvmFixture::kPassword)};
        window->command(CommandId::Open);
        if (!window->lifecycle().isOpen()) {
            return false;
        }
        base = bytesNow();
        return !base.empty();
    }

    // Runs one action on the application and compares the image with the one before.
    void check(const QString& what, const std::function<void()>& action) {
        answerer.context = file + " / " + what;
        action();
        QCoreApplication::processEvents();
        const std::vector<std::uint8_t> now = bytesNow();
        if (now != base) {
            std::size_t at = 0;
            while (at < now.size() && at < base.size() && now[at] == base[at]) {
                ++at;
            }
            changes << QStringLiteral("%1 / %2: the image changed from byte %3 (%4 -> %5 bytes)")
                           .arg(file, what)
                           .arg(at)
                           .arg(base.size())
                           .arg(now.size());
            if (qEnvironmentVariableIsSet("QUILLON_DUMP_CHANGE")) {
                QString was, is;
                for (std::size_t k = at > 8 ? at - 8 : 0; k < at + 8 && k < now.size() && k < base.size();
                     ++k) {
                    was += QString::asprintf("%02x ", base[k]);
                    is += QString::asprintf("%02x ", now[k]);
                }
                qWarning("DUMP %s\n   was %s\n   now %s", qPrintable(what), qPrintable(was), qPrintable(is));
            }
            base = now;
        }
        answerer.steps.clear();
    }

    Application& app() { return *docs.application(); }
    ScreenSession& session() { return window->screenSession(); }

    // Every task of every list the dialog shows goes through its own dialog.
    void driveLists(QDialog* dialog) {
        auto* panel = dialog->findChild<TaskListPanel*>();
        if (panel == nullptr || panel->owner() == nullptr) {
            return;
        }
        for (std::size_t list = 0; list < panel->owner()->taskListCount(); ++list) {
            if (!panel->list(list)->isEnabled()) {
                continue;
            }
            for (int row = 0; row < panel->list(list)->count(); ++row) {
                panel->editTask(list, row);
                ++records;
            }
        }
    }

    void driveKeys(QDialog* dialog, const std::vector<std::uint16_t>& codes) {
        auto* keys = qobject_cast<KeyTaskListsDialog*>(dialog);
        QVERIFY(keys != nullptr);
        for (std::uint16_t code : codes) {
            keys->chooseCode(code);
            driveLists(keys);
            if (keys->passwordButton()->isVisibleTo(keys)) {
                keys->passwordButton()->click();
            }
            ++records;
        }
    }

    static std::vector<std::uint16_t> codesOf(const std::vector<std::unique_ptr<KeyDefinition>>& keys) {
        std::vector<std::uint16_t> codes;
        for (const auto& key : keys) {
            codes.push_back(key->code);
        }
        return codes;
    }

    void defineMenu() {
        const bool ok = answerer.ok;
        check("Network", [&] {
            answerer.steps.push_back([this, ok](QDialog* dialog) {
                auto* network = qobject_cast<NetworkEditorDialog*>(dialog);
                QVERIFY(network != nullptr);
                for (int row = 0; row < network->nodeList()->topLevelItemCount(); ++row) {
                    network->changeLine(row);
                    ok ? network->okEdit() : network->cancelEdit();
                    if (network->inEditMode()) {
                        answerer.refused(QStringLiteral("node %1").arg(row));
                        network->cancelEdit();
                    }
                    ++records;
                }
                answerer.steps.push_front([this, ok](QDialog* inner) {
                    auto* blocks = qobject_cast<BlockEditorDialog*>(inner);
                    QVERIFY(blocks != nullptr);
                    for (int node = 0; node < blocks->nodeChoice()->count(); ++node) {
                        blocks->nodeChoice()->setCurrentIndex(node);
                        for (int row = 0; row < blocks->blockList()->topLevelItemCount(); ++row) {
                            blocks->changeLine(row);
                            ok ? blocks->okEdit() : blocks->cancelEdit();
                            if (blocks->inEditMode()) {
                                answerer.refused(QStringLiteral("block %1 of node %2").arg(row).arg(node));
                                blocks->cancelEdit();
                            }
                            ++records;
                        }
                    }
                });
                network->nodeList()->setCurrentItem(network->nodeList()->topLevelItem(0));
                network->openBlocks();
            });
            window->command(CommandId::Network);
        });
        check("Tag database", [&] {
            answerer.steps.push_back([this, ok](QDialog* dialog) {
                auto* tags = qobject_cast<TagEditorDialog*>(dialog);
                QVERIFY(tags != nullptr);
                for (int row = 0; row < tags->model()->rowCount(); ++row) {
                    tags->table()->setCurrentIndex(tags->model()->index(row, 0));
                    const std::size_t before = answerer.prompts();
                    if (ok) {
                        tags->changeTag();
                    } else {
                        tags->cancelChange();
                    }
                    if (answerer.prompts() != before) {
                        answerer.refused(QStringLiteral("tag row %1").arg(row));
                    }
                    ++records;
                }
            });
            window->command(CommandId::TagDatabase);
        });
        check("Unit settings", [&] { window->command(CommandId::UnitSettings); });
        check("Application task lists", [&] {
            answerer.steps.push_back([this](QDialog* dialog) { driveLists(dialog); });
            window->command(CommandId::ApplicationTaskLists);
        });
        if (!app().globalKeys().empty()) {
            check("Global keys", [&] {
                const auto codes = codesOf(app().globalKeys());
                answerer.steps.push_back([this, codes](QDialog* dialog) { driveKeys(dialog, codes); });
                window->command(CommandId::ApplicationKeys);
            });
        }
        check("Alarms", [&] {
            answerer.steps.push_back([this, ok](QDialog* dialog) {
                auto* alarms = qobject_cast<AlarmsDialog*>(dialog);
                QVERIFY(alarms != nullptr);
                for (int row = 0; row < alarms->list()->count(); ++row) {
                    emit alarms->list()->itemActivated(alarms->list()->item(row));
                    const QString wanted = ok ? "Acc&ept" : "D&iscard";
                    for (QAbstractButton* button : alarms->findChildren<QAbstractButton*>()) {
                        if (button->text() == wanted && button->isEnabled()) {
                            const std::size_t before = answerer.prompts();
                            button->click();
                            if (answerer.prompts() != before) {
                                answerer.refused(QStringLiteral("alarm row %1").arg(row));
                                alarms->editor().discard();
                            }
                        }
                    }
                    ++records;
                }
            });
            window->command(CommandId::Alarms);
        });
        check("Logger", [&] { window->command(CommandId::Logger); });
    }

    // Entries of one menu (and, below, of each of its submenus) that share a mnemonic.
    QSet<QString> menuClashSet;
    void menuClashes(const QList<QAction*>& actions, const QString& where) {
        std::map<QChar, QStringList> seen;
        for (QAction* action : actions) {
            if (action->isSeparator() || !action->isVisible()) {
                continue;
            }
            const QChar key = Answerer::mnemonicOf(action->text());
            if (!key.isNull()) {
                seen[key] << action->text();
            }
            if (action->menu() != nullptr) {
                menuClashes(action->menu()->actions(), where + " > " + action->text());
            }
        }
        for (const auto& [key, texts] : seen) {
            if (texts.size() > 1) {
                menuClashSet << where + ": Alt+" + key + ": " + texts.join(" | ");
            }
        }
    }

    void screens() {
        // Showing a screen is no dialog: painting widens an alarm window narrower than its columns.
        window->command(CommandId::Screens);
        QTest::qWait(10);
        base = bytesNow();
        menuClashes(window->menuBar()->actions(), "menu bar");
        for (QMenu* menu :
             {session().objectMenu(), session().screenMenu(), window->menus().rightClickMenu()}) {
            if (menu != nullptr) {
                menuClashes(menu->actions(), "right-button menu " + menu->title());
            }
        }
        QVERIFY(session().isOpen());
        std::vector<Screen*> all;
        for (const auto& screen : app().screens()) {
            all.push_back(screen.get());
        }
        for (Screen*& screen : all) {
            // The screen is chosen as the user does: Screens > Select.
            const int row = static_cast<int>(&screen - all.data());
            answerer.steps.push_back([row](QDialog* dialog) {
                auto* select = qobject_cast<SelectScreenDialog*>(dialog);
                QVERIFY(select != nullptr);
                select->list()->setCurrentRow(row);
                select->accept();
            });
            window->command(CommandId::ScreenSelect);
            answerer.steps.clear();
            QTest::qWait(10);
            base = bytesNow();
            QCOMPARE(session().editor()->screen(), screen);
            const QString name = QStringLiteral("screen %1").arg(screen->number());
            check(name + " information", [&] { window->command(CommandId::ScreenInformation); });
            check(name + " task lists", [&] {
                answerer.steps.push_back([this](QDialog* dialog) { driveLists(dialog); });
                window->command(CommandId::ScreenTaskLists);
            });
            if (!screen->keys().empty()) {
                check(name + " keys", [&] {
                    const auto codes = codesOf(screen->keys());
                    answerer.steps.push_back([this, codes](QDialog* dialog) { driveKeys(dialog, codes); });
                    window->command(CommandId::ScreenKeys);
                });
            }
            for (std::size_t i = 0; i < screen->objects().size(); ++i) {
                ScreenObject* object = screen->objects()[i].get();
                const QString what =
                    name + QStringLiteral(" object %1 (%2)")
                               .arg(i)
                               .arg(QString::fromLatin1(objectKindName(object->kind()).data(),
                                                        objectKindName(object->kind()).size()));
                if (object->kind() == ObjectKind::TouchArea) {
                    check(what + " task lists", [&] {
                        answerer.steps.push_back([this](QDialog* dialog) { driveLists(dialog); });
                        session().editTouchArea(*object);
                    });
                    ++records;
                    continue;
                }
                check(what, [&] {
                    const int before = answerer.answered;
                    session().placement()->edit(*object);
                    session().placement()->endTyping();
                    records += answerer.answered - before;
                });
                if (i >= screen->objects().size()) {
                    break; // an empty text ends with its typing
                }
                object = screen->objects()[i].get();
                check(what + " animation", [&] {
                    const int before = answerer.answered;
                    session().placement()->animate(*object);
                    records += answerer.answered - before;
                });
            }
        }
        window->command(CommandId::CloseScreenSession);
    }

    void sweep(const std::filesystem::path& path) {
        QVERIFY2(open(path), qPrintable(file));
        defineMenu();
        screens();
        prompter.script({PromptAnswer::No});
        window->command(CommandId::Close);
    }
};

std::vector<std::filesystem::path> corpus(OvmFixture& into) {
    // As the fuzzing corpus is written: every model with every record, one object of each kind.
    std::vector<std::filesystem::path> files;
    for (std::uint16_t model : {10, 15, 20, 30, 40, 41, 480, 500, 510, 520}) {
        OvmFixture f;
        auto app = Application::create(model, f.prompter);
        const auto n = f.network(*app);
        test::addRichContent(f, *app, n);
        // Fully set: the group of alarm 200 gets its tag.
        test::must(app->setGroupTag(12, n.dword));
        files.push_back(into.folder() / ("rich_" + std::to_string(model) + ".ovm"));
        test::TempFolder::writeBytes(files.back(), f.prepareAndWrite(*app));
        // The pictures the rich applications use are the working folder's.
        if (std::filesystem::exists(f.folder() / "work" / "OvmPctrs.ovp")) {
            std::filesystem::copy_file(f.folder() / "work" / "OvmPctrs.ovp",
                                       into.folder() / "work" / "OvmPctrs.ovp",
                                       std::filesystem::copy_options::overwrite_existing);
        }
    }
    for (std::uint8_t kind : {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16, 17, 21}) {
        OvmFixture f;
        auto app = Application::create(510, f.prompter);
        const auto n = f.network(*app);
        app->unitSettings().touchScreen = kind == 17 ? 1 : 0; // a touch area needs the touch screen
        Screen& screen = *test::must(app->addScreen(std::make_unique<Screen>(1)));
        auto object = ScreenObject::create(kind);
        object->right = 15;
        object->bottom = 7;
        ScreenObject& o = *test::must(screen.appendObject(std::move(object)));
        if (o.hasMainTag()) {
            o.setTag(kind == 2 ? n.coil : n.word);
        }
        // Fully set: the texts and tasks an object of its kind needs.
        EditValues values;
        o.LoadEditValues(values);
        values.text = "Text";
        values.onText = "On";
        values.offText = "Off";
        values.registerTexts = {{0, 9, "Low"}, {10, 99, "High"}};
        (void)ObjectPlacement::apply(o, values);
        if (TaskListOwner* owner = o.taskOwner()) {
            OvmFixture::appendTasks(*app, *owner, 0, n);
        }
        o.setShowHide(RangeAnimation{n.unitWord, 0, 1, 2, 0});
        files.push_back(into.folder() / ("kind_" + std::to_string(kind) + ".ovm"));
        test::TempFolder::writeBytes(files.back(), f.prepareAndWrite(*app));
    }
    return files;
}

} // namespace

class DialogsKeepTheApplicationTest : public QObject {
    Q_OBJECT
private slots:
    void okAndCancelWithoutTouchingChangeNoByte_data() {
        QTest::addColumn<bool>("ok");
        QTest::newRow("Ok") << true;
        QTest::newRow("Cancel") << false;
    }

    void okAndCancelWithoutTouchingChangeNoByte() {
        QFETCH(bool, ok);
        Rig rig;
        rig.answerer.ok = ok;
        const auto files = corpus(rig.fixture);
        for (const auto& file : files) {
            rig.sweep(file);
        }
        QStringList clashes = rig.answerer.clashes.values();
        clashes.sort();
        QStringList menus = rig.menuClashSet.values();
        menus.sort();
        for (const QString& line : clashes + menus) {
            qWarning("mnemonic %s", qPrintable(line));
        }
        qInfo("%d records in %zu applications went through their dialogs (%d dialogs answered)", rig.records,
              files.size(), rig.answerer.answered);
        for (const QString& line : rig.answerer.refusals + rig.changes) {
            qWarning("%s", qPrintable(line));
        }
        // Change in the tag database keeps every tag as stored too, even values its pick lists would
        // not offer a new tag.
        const auto tagDatabase = [](const QString& line) { return line.contains(" / Tag database / "); };
        const auto others = std::count_if(rig.answerer.refusals.begin(), rig.answerer.refusals.end(),
                                          [&](const QString& line) { return !tagDatabase(line); });
        QCOMPARE(others, 0);
        QCOMPARE(rig.changes.size(), 0);
        const auto tagRows = rig.answerer.refusals.size() - others;
        QCOMPARE(tagRows, 0);

        // No two entries of one dialog or one menu (the bar's, the main window's and the screen editor's
        // right-button menus) share a mnemonic.
        QCOMPARE(clashes.size(), 0);
        QCOMPARE(menus.size(), 0);
        QVERIFY(rig.records > 1000);
    }
};

QTEST_MAIN(DialogsKeepTheApplicationTest)
#include "DialogsKeepTheApplicationTest.moc"
