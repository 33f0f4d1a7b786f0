// The application lifecycle and the command dispatch with scripted dialogs: state moves, prompts,
// titles, the memory check and the mends of a save that does not reach its file.

#include "model/RecordingPrompter.h"
#include "shell/ApplicationLifecycle.h"
#include "support/ShellFakes.h"
#include "ui/CommandDispatcher.h"

#include <fstream>

#include <QTemporaryDir>
#include <QTest>

using namespace quillon;
using namespace quillon::gui;
using namespace quillon::gui::testing;

namespace {

struct Rig {
    QTemporaryDir dir;
    FakeDocuments docs;
    RecordingPrompter prompter;
    ScriptedFiles files;
    ScriptedModels models;
    ScriptedPassword password;
    ApplicationLifecycle life{docs, prompter, files, models, password, dir.path().toStdString()};
    CommandDispatcher dispatch{life};
    int ran = 0;

    Rig() {
        dispatch.registerCommand(CommandId::New, EnableRule::Always, [this] { life.newApplication(); });
        dispatch.registerCommand(CommandId::Open, EnableRule::Always, [this] { life.openCommand(); });
        dispatch.registerCommand(CommandId::Save, EnableRule::WithApplication, [this] { life.save(); });
        dispatch.registerCommand(CommandId::SaveAs, EnableRule::WithApplication, [this] { life.saveAs(); });
        dispatch.registerCommand(CommandId::Close, EnableRule::WithApplication,
                                 [this] { life.closeWithPrompt(); });
        dispatch.registerCommand(CommandId::HelpIndex, EnableRule::Always, [this] { ++ran; });
        dispatch.registerCommand(CommandId::Network, EnableRule::WithApplication, [this] { ++ran; });
        dispatch.registerCommand(CommandId::CompareWith, EnableRule::Never, [this] { ++ran; });
    }
    std::string path(const char* name) const {
        return (std::filesystem::path(dir.path().toStdString()) / name).string();
    }
    void touch(const std::string& file) const { std::ofstream(file) << "x"; }
    // A new application for the VQ5K-822 (picker position 4).
    void newApp() {
        models.positions = {4};
        QCOMPARE(dispatch.dispatch(CommandId::New), DispatchResult::Ran);
        QCOMPARE(life.state(), ShellState::Unsaved);
    }
    // An application saved under `name`.
    void savedApp(const char* name) {
        newApp();
        files.answers = {std::filesystem::path(path(name))};
        dispatch.dispatch(CommandId::Save);
        QCOMPARE(life.state(), ShellState::Saved);
    }
};

const char* const kOverflow = "Application memory size is more than the memory-size of the VQ5K unit.\n\t"
                              "Delete some entities to avoid overflow.";

} // namespace

class LifecycleTest : public QObject {
    Q_OBJECT
private slots:
    void newApplicationTakesTheLargeGraphicModelsWithoutAQuestion() {
        Rig r;
        r.models.positions = {6};
        r.dispatch.dispatch(CommandId::New);
        QCOMPARE(r.models.runs, 1);
        QVERIFY(r.prompter.texts().empty());
        QCOMPARE(r.docs.created, std::vector<std::uint16_t>{520});
        QCOMPARE(r.life.state(), ShellState::Unsaved);
        QCOMPARE(r.life.title().value(), std::string("Quillon - [untitled]"));
    }

    void aRowThePickerDoesNotHaveKeepsThePickerOpen() {
        Rig r;
        r.models.positions = {12, 5};
        r.dispatch.dispatch(CommandId::New);
        QCOMPARE(r.models.runs, 1);
        QCOMPARE(r.docs.created, std::vector<std::uint16_t>{510});
    }

    void eachPickerPositionCreatesItsModel() {
        // The five offered models, the two large graphic models, the older models.
        const std::uint16_t ids[] = {10, 12, 40, 42, 500, 510, 520, 15, 20, 30, 41, 480};
        for (std::uint8_t p = 0; p < 12; ++p) {
            Rig r;
            r.models.positions = {p};
            r.dispatch.dispatch(CommandId::New);
            QCOMPARE(r.docs.created, std::vector<std::uint16_t>{ids[p]});
        }
    }

    void failedCreationLeavesNoApplication() {
        Rig r;
        r.docs.failCreate = true;
        r.models.positions = {1};
        r.dispatch.dispatch(CommandId::New);
        QCOMPARE(r.prompter.last().text, std::string("Can't start new application."));
        QCOMPARE(r.prompter.last().title, std::string("Quillon : Error"));
        QCOMPARE(r.life.state(), ShellState::NoApplication);
        QVERIFY(!r.docs.isOpen());
        QCOMPARE(r.life.title().value(), std::string("Quillon"));
    }

    void cancelledPickerChangesNothing() {
        Rig r;
        r.dispatch.dispatch(CommandId::New);
        QCOMPARE(r.life.state(), ShellState::NoApplication);
        QVERIFY(r.prompter.empty());
    }

    void savingANewApplicationAsksForAFileAndCancellingKeepsItUnsaved() {
        Rig r;
        r.newApp();
        r.dispatch.dispatch(CommandId::Save);
        QCOMPARE(r.files.saves, std::vector<bool>{true});
        QCOMPARE(r.files.requests[0].title, std::string("Save Quillon Application"));
        QCOMPARE(r.files.requests[0].filterName, std::string("Quillon Applications(*.ovm)"));
        QCOMPARE(r.files.requests[0].defaultExtension, std::string("ovm"));
        QCOMPARE(r.files.requests[0].initialFolder,
                 std::filesystem::path(r.dir.path().toStdString()) / "Result");
        QCOMPARE(r.life.state(), ShellState::Unsaved);
        QVERIFY(r.life.currentFileName().empty());
        QVERIFY(r.life.saveCancelled());
        QVERIFY(r.docs.written.empty());
    }

    void saveStampsPreparesAndWritesThenTheTitleNamesTheFileInLowerCase() {
        Rig r;
        r.savedApp("MyPanel.ovm");
        QCOMPARE(r.docs.stamps, 1);
        QCOMPARE(r.docs.prepared, 1);
        QCOMPARE(r.docs.written.size(), std::size_t{1});
        // The file keeps its case (names are case-sensitive here); only the title shows it lower-cased.
        QCOMPARE(r.life.currentFileName(), r.path("MyPanel.ovm"));
        QCOMPARE(QString::fromStdString(r.life.title().value()),
                 "Quillon - [" + QString::fromStdString(r.path("MyPanel.ovm")) + "]");
        QVERIFY(!r.life.saveCancelled());
    }

    void afterACancelledSaveAsSaveWritesToThePreviousFile() {
        Rig r;
        r.savedApp("a.ovm");
        r.dispatch.dispatch(CommandId::SaveAs); // cancelled
        QVERIFY(r.life.saveCancelled());
        QCOMPARE(r.life.currentFileName(), r.path("a.ovm"));
        r.dispatch.dispatch(CommandId::Save);
        QCOMPARE(r.docs.written.back(), std::filesystem::path(r.path("a.ovm")));
        QCOMPARE(r.files.requests.size(), std::size_t{2});
    }

    void failedPreparationKeepsTheStateAndSaysSo() {
        Rig r;
        r.savedApp("a.ovm");
        r.life.markModified();
        r.docs.failPrepare = true;
        r.dispatch.dispatch(CommandId::Save);
        QCOMPARE(r.prompter.last().text, std::string("Can not save the applicaion.\nTry again."));
        QCOMPARE(r.life.state(), ShellState::Modified);
    }

    void failedWriteIsReportedAndTheNewNameIsNotTaken() {
        Rig r;
        r.savedApp("a.ovm");
        r.docs.failWrite = "Can not write b.ovm: No space left on device";
        r.files.answers = {std::filesystem::path(r.path("b.ovm"))};
        r.dispatch.dispatch(CommandId::SaveAs);
        const auto& shown = r.prompter.prompts();
        QVERIFY(shown.size() >= 2);
        QCOMPARE(shown[shown.size() - 2].text, *r.docs.failWrite);
        QCOMPARE(r.prompter.last().text, std::string("Can not save the applicaion.\nTry again."));
        QCOMPARE(r.life.currentFileName(), r.path("a.ovm"));
    }

    void promptForANewApplicationNamesUntitledAndYesWithACancelledDialogKeepsItOpen() {
        Rig r;
        r.newApp();
        r.prompter.script({PromptAnswer::Yes});
        r.dispatch.dispatch(CommandId::Close);
        QCOMPARE(r.prompter.last().text,
                 std::string("Application ( Untitled )\nhas been changed.\n\nDo you want to save?"));
        QCOMPARE(r.prompter.last().title, std::string("Quillon : Confirmation"));
        QCOMPARE(r.prompter.last().buttons, PromptButtons::YesNoCancel);
        QCOMPARE(r.life.state(), ShellState::Unsaved);
        QVERIFY(r.docs.isOpen());
    }

    void yesWhoseWriteFailsKeepsTheApplicationOpen() {
        Rig r;
        r.savedApp("a.ovm");
        r.life.markModified();
        r.docs.failWrite = "disk full";
        r.prompter.script({PromptAnswer::Yes});
        QVERIFY(!r.life.closeWithPrompt());
        QVERIFY(r.docs.isOpen());
        QCOMPARE(r.life.state(), ShellState::Modified);
    }

    void yesWhoseMemoryCheckFailsKeepsTheApplicationOpen() {
        Rig r;
        r.savedApp("a.ovm");
        r.life.markModified();
        r.docs.used = 26001;
        r.prompter.script({PromptAnswer::Yes});
        QVERIFY(!r.life.closeWithPrompt());
        QCOMPARE(r.prompter.last().text, std::string(kOverflow));
        QVERIFY(r.docs.isOpen());
    }

    void promptAnswers() {
        Rig r;
        r.savedApp("a.ovm");
        r.life.markModified();
        r.prompter.script({PromptAnswer::Cancel});
        QCOMPARE(r.life.savePrompt(), SavePromptAnswer::Cancelled);
        r.prompter.script({PromptAnswer::No});
        QCOMPARE(r.life.savePrompt(), SavePromptAnswer::Discarded);
        QCOMPARE(r.prompter.last().text,
                 "Application ( " + r.path("a.ovm") + " )\nhas been changed.\n\nDo you want to save?");
        r.prompter.script({PromptAnswer::Yes});
        QCOMPARE(r.life.savePrompt(), SavePromptAnswer::Saved);
        QCOMPARE(r.life.state(), ShellState::Saved);
    }

    void closingASavedApplicationAsksNothing() {
        Rig r;
        r.savedApp("a.ovm");
        r.prompter.clear();
        QCOMPARE(r.dispatch.dispatch(CommandId::Close), DispatchResult::Ran);
        QVERIFY(r.prompter.empty());
        QCOMPARE(r.life.state(), ShellState::NoApplication);
        QVERIFY(r.life.currentFileName().empty());
        QCOMPARE(r.life.title().value(), std::string("Quillon"));
    }

    void memoryCheckBoundaries() {
        Rig r;
        r.newApp();
        r.docs.option = 3;
        r.docs.used = 64512;
        QVERIFY(r.life.memoryCheck());
        r.docs.used = 64513;
        QVERIFY(!r.life.memoryCheck());
        QCOMPARE(r.prompter.last().text, std::string(kOverflow));
        QCOMPARE(r.prompter.last().title, std::string("Quillon : Error"));
        r.docs.option = 9; // unknown option: no capacity
        r.docs.used = 1;
        QVERIFY(!r.life.memoryCheck());
    }

    void growingEditorsAreDroppedWhenTheApplicationDoesNotFit() {
        Rig r;
        r.newApp();
        r.docs.used = 30000; // option 1 holds 26000
        QCOMPARE(r.dispatch.dispatch(CommandId::Network), DispatchResult::Refused);
        QCOMPARE(r.ran, 0);
        r.docs.used = 26000;
        QCOMPARE(r.dispatch.dispatch(CommandId::Network), DispatchResult::Ran);
        QCOMPARE(r.ran, 1);
    }

    void saveAndSaveAsAreRefusedWhenTheApplicationDoesNotFit() {
        Rig r;
        r.savedApp("a.ovm");
        r.docs.used = 26001;
        r.dispatch.dispatch(CommandId::Save);
        r.dispatch.dispatch(CommandId::SaveAs);
        QCOMPARE(r.docs.written.size(), std::size_t{1});
        QCOMPARE(r.files.requests.size(), std::size_t{1});
    }

    void stateRuleOfTheDispatch() {
        Rig r;
        // Unsaved stays Unsaved whatever runs.
        r.newApp();
        r.dispatch.dispatch(CommandId::HelpIndex);
        QCOMPARE(r.life.state(), ShellState::Unsaved);
        // A saved application becomes Modified by any command but New, Open, Save and Save As.
        Rig s;
        s.savedApp("a.ovm");
        s.dispatch.dispatch(CommandId::Save);
        QCOMPARE(s.life.state(), ShellState::Saved);
        s.dispatch.dispatch(CommandId::SaveAs); // cancelled
        QCOMPARE(s.life.state(), ShellState::Saved);
        s.dispatch.dispatch(CommandId::HelpIndex);
        QCOMPARE(s.life.state(), ShellState::Modified);
        // ... so that closing then asks.
        s.prompter.clear();
        s.prompter.script({PromptAnswer::Cancel});
        s.dispatch.dispatch(CommandId::Close);
        QCOMPARE(s.prompter.prompts().size(), std::size_t{1});
        QVERIFY(s.docs.isOpen());
    }

    void commandsWithoutHandlerOrOutsideTheirRuleDoNothing() {
        Rig r;
        QCOMPARE(r.dispatch.dispatch(CommandId::Save), DispatchResult::NotAvailable); // F2, nothing open
        QCOMPARE(r.dispatch.dispatch(CommandId::Network), DispatchResult::NotAvailable);
        QCOMPARE(r.dispatch.dispatch(CommandId::Download), DispatchResult::NotAvailable);
        r.newApp();
        QCOMPARE(r.dispatch.dispatch(CommandId::CompareWith), DispatchResult::NotAvailable);
        QVERIFY(!r.dispatch.isEnabled(CommandId::CompareWith));
        QVERIFY(r.dispatch.isEnabled(CommandId::Network));
        QCOMPARE(r.ran, 0);
        // A condition of the feature switches its command off.
        r.dispatch.registerCommand(
            CommandId::Upload, EnableRule::Always, [] {}, [] { return false; });
        QVERIFY(!r.dispatch.isEnabled(CommandId::Upload));
    }

    void openReadsTheChosenFileAndAFailureSaysCanNotLoad() {
        Rig r;
        const std::string file = r.path("Plant.OVM");
        r.touch(file);
        r.files.answers = {std::filesystem::path(file)};
        r.dispatch.dispatch(CommandId::Open);
        QCOMPARE(r.files.requests[0].title, std::string("Open Quillon Application"));
        QCOMPARE(r.files.saves, std::vector<bool>{false});
        QCOMPARE(r.life.state(), ShellState::Saved);
        QCOMPARE(r.life.currentFileName(), file);

        Rig m;
        m.files.answers = {std::filesystem::path(m.path("gone.ovm"))};
        m.dispatch.dispatch(CommandId::Open);
        QCOMPARE(m.prompter.last().text, "Can not load " + m.path("gone.ovm"));
        QCOMPARE(m.life.state(), ShellState::NoApplication);
        QVERIFY(!m.docs.isOpen());
    }

    void openAsksToSaveTheOpenApplicationFirst() {
        Rig r;
        r.newApp();
        r.prompter.script({PromptAnswer::Cancel});
        r.dispatch.dispatch(CommandId::Open);
        QVERIFY(r.files.requests.empty());
        QCOMPARE(r.life.state(), ShellState::Unsaved);
    }

    void passwordProtectedFile() {
        Rig r;
        const std::string file = r.path("p.ovm");
        r.touch(file);
        r.docs.storedPassword = "Secret";
        r.password.typed = {"secret"}; // letter case counts; then the user gives up
        QVERIFY(!r.life.reopen(file));
        QCOMPARE(r.password.asked, 2);
        QCOMPARE(r.life.state(), ShellState::NoApplication);
        r.password.typed = {"Secret"};
        QVERIFY(r.life.reopen(file));
        QCOMPARE(r.life.state(), ShellState::Saved);
    }

    void uploadImageOpensUnsavedAndFailsQuietly() {
        Rig r;
        QVERIFY(!r.life.openApplication(true));
        QVERIFY(r.prompter.empty()); // the transfer dialog reports it
        r.touch(r.path("upld_ovm.ovz"));
        QVERIFY(r.life.openApplication(true));
        QCOMPARE(r.docs.opened.back(), std::filesystem::path(r.path("upld_ovm.ovz")));
        QCOMPARE(r.life.state(), ShellState::Unsaved);
        r.prompter.script({PromptAnswer::No});
        QVERIFY(r.life.closeWithPrompt());
        QCOMPARE(r.prompter.last().text,
                 std::string("Application ( Untitled )\nhas been changed.\n\nDo you want to save?"));
    }

    void titleIsLeftAloneWhileLoading() {
        Rig r;
        std::vector<std::optional<std::string>> titles;
        r.life.setHooks({[&] { titles.push_back(r.life.title()); }, {}, {}, {}, {}, {}});
        const std::string file = r.path("x.ovm");
        r.touch(file);
        QVERIFY(r.life.reopen(file));
        QVERIFY(std::find(titles.begin(), titles.end(), std::nullopt) != titles.end());
        QCOMPARE(QString::fromStdString(titles.back().value()),
                 "Quillon - [" + QString::fromStdString(file) + "]");
    }
};

QTEST_MAIN(LifecycleTest)
#include "LifecycleTest.moc"
