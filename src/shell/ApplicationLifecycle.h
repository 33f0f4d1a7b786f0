#pragma once

#include "model/Prompter.h"
#include "shell/DocumentService.h"
#include "shell/ModelChooser.h"
#include "ui/DispatchGate.h"
#include "ui/FileChooser.h"
#include "ui/ShellState.h"

#include <filesystem>
#include <functional>
#include <optional>
#include <string>

namespace quillon::gui {

// What the save prompt's answer was.
enum class SavePromptAnswer : int { Cancelled = -1, Discarded = 0, Saved = 1 };

// The windows react to the lifecycle through these; each may be left empty.
struct LifecycleHooks {
    std::function<void()> stateChanged;  // title, menus and tool station follow the state
    std::function<void(bool busy)> busy; // the busy bracket around file dialogs
    std::function<void(bool wait)> waitCursor;
    std::function<void()> applicationClosing; // the screen session closes, editor selections are forgotten
    std::function<void()> applicationOpened;  // zoom back to two, menus to the open state
    // An application file was read or written in full (the recent list of the File menu takes it).
    std::function<void(const std::string& file)> fileUsed;
};

// New, Open, Save, Save As, Close, the save prompt and the memory check: the flows that create, read,
// write and drop the one application, and the shell state and file name they move.
class ApplicationLifecycle final : public DispatchGate {
public:
    static constexpr const char* kApplicationFilter = "Quillon Applications(*.ovm)";
    static constexpr const char* kUploadImage = "upld_ovm.ovz";
    static constexpr const char* kResultFolder = "Result";

    ApplicationLifecycle(DocumentService& documents, Prompter& prompter, FileChooser& files,
                         ModelChooser& models, PasswordPrompt& password,
                         std::filesystem::path startDirectory);

    void setHooks(LifecycleHooks hooks) { hooks_ = std::move(hooks); }

    ShellState state() const noexcept { return state_; }
    bool isOpen() const noexcept override { return state_ != ShellState::NoApplication; }
    const std::string& currentFileName() const noexcept { return currentFileName_; }
    bool saveCancelled() const noexcept { return saveCancelled_; }
    const std::filesystem::path& startDirectory() const noexcept { return startDirectory_; }
    DocumentService& documents() noexcept { return documents_; }
    Prompter& prompter() noexcept { return prompter_; }

    void newApplication();
    // New without the picker, as if Ok had been pressed on a picker position (start-up option).
    bool newApplicationAt(std::uint8_t position);
    void openCommand();
    // Reads the current file name, or the upload image in the start directory. From an upload a failure
    // shows nothing: the transfer dialog reports it in its own status line.
    bool openApplication(bool fromUpload);
    // Start-up: reopens the application the settings file named.
    bool reopen(const std::string& fileName);
    // Opens a named file as Open does once its dialog is confirmed: the open application is closed with
    // the save prompt first (false, and nothing opened, when the user keeps it); a protected file asks
    // for its password. Used for a file given on the command line and the recent files of the menu.
    bool openFile(const std::string& fileName);
    void save();
    void saveAs();
    // True when no application is left open; false when the user kept it.
    bool closeWithPrompt();
    SavePromptAnswer savePrompt();
    bool memoryCheck() override;

    // The window title; nothing while a file is being read (the title is left as it stands).
    std::optional<std::string> title() const;
    // The application's name as dialogs show it.
    std::string displayName() const;

    // The state rule of the command dispatch, applied after every command that ran.
    void commandRan(std::uint16_t id) override;
    // Editors that changed the application call this.
    void markModified();
    // Whether the open application holds changes its file (or, for a new one, no file yet) lacks: from
    // the first change on until it is written. The title marks them. Commands put the application in the
    // modified state whether or not they changed anything (the save prompts follow that state); with a
    // content fingerprint set, the mark waits until the content really differs from what was read, made
    // or written last, and stays from then on until the next write.
    bool hasChanges() const;
    // What the content is, as text: nothing when it cannot be told (the mark then follows the state alone).
    void setFingerprint(std::function<std::optional<std::string>()> fingerprint);
    // What the application holds now is its starting point (an upload once its parts have their names).
    void contentSettled() { takeBaseline(); }

    // The folder the file dialogs open in: the folder of the file read or written last, else the
    // working directory's Result folder. `startFolderFrom` takes it from a file used in an earlier run.
    std::filesystem::path fileFolder() const;
    void startFolderFrom(const std::string& lastFile);

private:
    enum class SaveOutcome { NotRun, Written, DialogCancelled, Failed };

    bool acceptModel(std::uint8_t position);
    bool writeTo(const std::filesystem::path& file);
    FileDialogRequest fileRequest(const char* title) const;
    void setState(ShellState state);
    void takeBaseline();
    void changed();

    DocumentService& documents_;
    Prompter& prompter_;
    FileChooser& files_;
    ModelChooser& models_;
    PasswordPrompt& password_;
    std::filesystem::path startDirectory_;
    LifecycleHooks hooks_;

    ShellState state_ = ShellState::NoApplication;
    std::string currentFileName_;
    bool saveCancelled_ = false;
    bool newChanged_ = false; // a never-saved application was changed
    std::function<std::optional<std::string>()> fingerprint_;
    std::optional<std::string> baseline_; // the content as read, made or written last
    mutable bool contentChanged_ = false; // the content was seen to differ from the baseline
    std::filesystem::path lastFolder_;
    SaveOutcome lastSave_ = SaveOutcome::NotRun;
};

} // namespace quillon::gui
