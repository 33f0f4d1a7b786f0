#include "shell/ApplicationLifecycle.h"

#include "model/PanelModel.h"
#include "model/TextFormat.h"
#include "model/UnitSettings.h"

#include <algorithm>
#include <cctype>
#include <chrono>
#include <ctime>

namespace quillon::gui {
namespace {

constexpr const char* kCantStart = "Can't start new application.";
constexpr const char* kCantSave = "Can not save the applicaion.\nTry again.";
constexpr const char* kOverflow = "Application memory size is more than the memory-size of the VQ5K unit.\n\t"
                                  "Delete some entities to avoid overflow.";
constexpr const char* kSavePrompt = "Application ( %s )\nhas been changed.\n\nDo you want to save?";
constexpr const char* kUntitled = "Untitled";

std::string lowerCased(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return text;
}

std::tm localTimeNow() {
    const std::time_t now = std::chrono::system_clock::to_time_t(std::chrono::system_clock::now());
    std::tm local{};
    localtime_r(&now, &local);
    return local;
}

} // namespace

ApplicationLifecycle::ApplicationLifecycle(DocumentService& documents, Prompter& prompter, FileChooser& files,
                                           ModelChooser& models, PasswordPrompt& password,
                                           std::filesystem::path startDirectory)
    : documents_(documents), prompter_(prompter), files_(files), models_(models), password_(password),
      startDirectory_(std::move(startDirectory)) {}

void ApplicationLifecycle::newApplication() {
    if (isOpen() && !closeWithPrompt()) {
        return;
    }
    models_.chooseModel([this](std::uint8_t position) { return acceptModel(position); });
}

bool ApplicationLifecycle::newApplicationAt(std::uint8_t position) {
    if (isOpen() && !closeWithPrompt()) {
        return false;
    }
    return acceptModel(position) && isOpen();
}

bool ApplicationLifecycle::acceptModel(std::uint8_t position) {
    currentFileName_.clear();
    const std::uint16_t modelId = modelIdAtPickerPosition(position);
    if (modelId == 0) {
        return false; // a row the picker does not have: nothing chosen yet
    }
    if (documents_.isOpen()) {
        documents_.close();
    }
    if (!documents_.create(modelId, prompter_)) {
        documents_.close();
        prompter_.error(kCantStart);
        setState(ShellState::NoApplication);
        return true;
    }
    setState(ShellState::Unsaved);
    if (hooks_.applicationOpened) {
        hooks_.applicationOpened();
    }
    changed();
    return true;
}

FileDialogRequest ApplicationLifecycle::fileRequest(const char* title) const {
    return FileDialogRequest{title, kApplicationFilter, "*.ovm", "ovm", fileFolder(), {}};
}

std::filesystem::path ApplicationLifecycle::fileFolder() const {
    std::error_code error;
    if (!lastFolder_.empty() && std::filesystem::is_directory(lastFolder_, error)) {
        return lastFolder_;
    }
    return startDirectory_ / kResultFolder;
}

void ApplicationLifecycle::startFolderFrom(const std::string& lastFile) {
    if (!lastFile.empty() && lastFolder_.empty()) {
        lastFolder_ = std::filesystem::path(lastFile).parent_path();
    }
}

void ApplicationLifecycle::openCommand() {
    if (isOpen() && !closeWithPrompt()) {
        return;
    }
    if (hooks_.busy) {
        hooks_.busy(true);
    }
    const auto chosen = files_.chooseOpenFile(fileRequest("Open Quillon Application"));
    if (hooks_.busy) {
        hooks_.busy(false);
    }
    if (!chosen) {
        return;
    }
    // The path is kept as chosen: on this platform file names are case-sensitive, so a lower-cased
    // copy would name another file (or none) at the next save and at the next start.
    currentFileName_ = chosen->string();
    openApplication(false);
}

bool ApplicationLifecycle::reopen(const std::string& fileName) {
    if (fileName.empty()) {
        return false;
    }
    currentFileName_ = fileName;
    return openApplication(false);
}

bool ApplicationLifecycle::openFile(const std::string& fileName) {
    if (fileName.empty() || (isOpen() && !closeWithPrompt())) {
        return false;
    }
    currentFileName_ = fileName;
    return openApplication(false);
}

bool ApplicationLifecycle::openApplication(bool fromUpload) {
    const std::filesystem::path file =
        fromUpload ? startDirectory_ / kUploadImage : std::filesystem::path(currentFileName_);
    if (documents_.isOpen()) {
        documents_.close();
    }
    if (hooks_.waitCursor) {
        hooks_.waitCursor(true);
    }
    setState(ShellState::Loading);
    const Status read = documents_.open(file, password_, prompter_);
    if (read) {
        setState(fromUpload ? ShellState::Unsaved : ShellState::Saved);
        if (fromUpload) {
            currentFileName_.clear();
        }
        if (hooks_.applicationOpened) {
            hooks_.applicationOpened();
        }
        if (!fromUpload) {
            lastFolder_ = file.parent_path();
        }
        if (!fromUpload && hooks_.fileUsed) {
            hooks_.fileUsed(currentFileName_);
        }
    } else {
        documents_.close();
        setState(ShellState::NoApplication);
        if (!fromUpload) {
            prompter_.error(formatText("Can not load %s", file.string().c_str()));
        }
        currentFileName_.clear();
    }
    if (hooks_.waitCursor) {
        hooks_.waitCursor(false);
    }
    changed();
    return read.ok();
}

bool ApplicationLifecycle::memoryCheck() {
    const std::uint32_t capacity = memoryCapacity(documents_.memoryOption());
    if (capacity >= documents_.usedBytes()) {
        return true;
    }
    prompter_.error(kOverflow);
    return false;
}

void ApplicationLifecycle::save() {
    if (!isOpen()) {
        return;
    }
    if (state_ == ShellState::Unsaved || currentFileName_.empty()) {
        saveAs();
        return;
    }
    lastSave_ = SaveOutcome::Failed;
    if (!memoryCheck()) {
        return;
    }
    if (writeTo(currentFileName_)) {
        lastSave_ = SaveOutcome::Written;
    }
}

void ApplicationLifecycle::saveAs() {
    if (!isOpen()) {
        return;
    }
    lastSave_ = SaveOutcome::Failed;
    if (!memoryCheck()) {
        return;
    }
    if (hooks_.busy) {
        hooks_.busy(true);
    }
    const auto chosen = files_.chooseSaveFile(fileRequest("Save Quillon Application"));
    if (hooks_.busy) {
        hooks_.busy(false);
    }
    if (!chosen) {
        saveCancelled_ = true;
        lastSave_ = SaveOutcome::DialogCancelled;
        return;
    }
    saveCancelled_ = false;
    // The new name is taken only once the file holds the application: after a failed write the
    // application still belongs to the file it came from.
    if (writeTo(*chosen)) {
        currentFileName_ = chosen->string();
        lastSave_ = SaveOutcome::Written;
        changed();
    }
}

bool ApplicationLifecycle::writeTo(const std::filesystem::path& file) {
    if (hooks_.waitCursor) {
        hooks_.waitCursor(true);
    }
    documents_.stampLastEdited(localTimeNow());
    bool written = false;
    if (!documents_.prepareForWrite(prompter_)) {
        prompter_.error(kCantSave);
    } else if (const Status status = documents_.write(file, prompter_); !status) {
        if (!status.message().empty()) {
            prompter_.error(status.message());
        }
        prompter_.error(kCantSave);
    } else {
        written = true;
        lastFolder_ = file.parent_path();
        newChanged_ = false;
        const bool wasSaved = state_ == ShellState::Saved;
        setState(ShellState::Saved);
        if (wasSaved) {
            takeBaseline(); // the write stamped the time of this edit into the content
        }
        if (hooks_.fileUsed) {
            hooks_.fileUsed(file.string());
        }
    }
    if (hooks_.waitCursor) {
        hooks_.waitCursor(false);
    }
    changed();
    return written;
}

SavePromptAnswer ApplicationLifecycle::savePrompt() {
    const std::string name =
        state_ == ShellState::Unsaved || currentFileName_.empty() ? std::string(kUntitled) : currentFileName_;
    const PromptAnswer answer = prompter_.confirm(formatText(kSavePrompt, name.c_str()),
                                                  PromptButtons::YesNoCancel, PromptAnswer::Yes);
    switch (answer) {
    case PromptAnswer::Yes:
        lastSave_ = SaveOutcome::NotRun;
        save();
        // A save that did not reach the file keeps the application open: closing it now would lose
        // the changes the user just asked to keep.
        return lastSave_ == SaveOutcome::Written ? SavePromptAnswer::Saved : SavePromptAnswer::Cancelled;
    case PromptAnswer::No:
        return SavePromptAnswer::Discarded;
    default:
        return SavePromptAnswer::Cancelled;
    }
}

bool ApplicationLifecycle::closeWithPrompt() {
    if (!isOpen()) {
        return true;
    }
    if (state_ != ShellState::Saved && savePrompt() == SavePromptAnswer::Cancelled) {
        return false;
    }
    if (hooks_.applicationClosing) {
        hooks_.applicationClosing();
    }
    documents_.close();
    setState(ShellState::NoApplication);
    currentFileName_.clear();
    changed();
    return true;
}

std::string ApplicationLifecycle::displayName() const {
    if (state_ == ShellState::Unsaved || currentFileName_.empty()) {
        return lowerCased(kUntitled);
    }
    // The path as the file system spells it: names differing in case are different files here.
    return currentFileName_;
}

std::optional<std::string> ApplicationLifecycle::title() const {
    if (state_ == ShellState::Loading) {
        return std::nullopt;
    }
    if (state_ == ShellState::NoApplication) {
        return std::string("Quillon");
    }
    return formatText("%s - [%s]", "Quillon", displayName().c_str());
}

void ApplicationLifecycle::commandRan(std::uint16_t id) {
    // A never-saved application counts its changes by the same rule as a stored one.
    if (state_ == ShellState::Unsaved && !newChanged_ &&
        stateAfterCommand(ShellState::Saved, id) == ShellState::Modified) {
        newChanged_ = true;
        changed();
    }
    setState(stateAfterCommand(state_, id));
}

void ApplicationLifecycle::markModified() {
    if (state_ == ShellState::Saved || state_ == ShellState::Loading) {
        setState(ShellState::Modified);
    } else if (state_ == ShellState::Unsaved && !newChanged_) {
        newChanged_ = true;
        changed();
    }
}

bool ApplicationLifecycle::hasChanges() const {
    const bool byState = state_ == ShellState::Modified || (state_ == ShellState::Unsaved && newChanged_);
    if (!byState || !baseline_ || contentChanged_) {
        return byState;
    }
    const std::optional<std::string> now = fingerprint_();
    contentChanged_ = !now || *now != *baseline_;
    return contentChanged_;
}

void ApplicationLifecycle::setFingerprint(std::function<std::optional<std::string>()> fingerprint) {
    fingerprint_ = std::move(fingerprint);
    takeBaseline();
}

void ApplicationLifecycle::takeBaseline() {
    contentChanged_ = false;
    const bool open = state_ == ShellState::Saved || state_ == ShellState::Unsaved;
    baseline_ = open && fingerprint_ ? fingerprint_() : std::nullopt;
}

void ApplicationLifecycle::setState(ShellState state) {
    if (state_ != state) {
        // Every new state starts without changes: a new or uploaded application, a file read or written.
        newChanged_ = false;
        state_ = state;
        if (state == ShellState::Saved || state == ShellState::Unsaved) {
            takeBaseline();
        }
        changed();
    }
}

void ApplicationLifecycle::changed() {
    if (hooks_.stateChanged) {
        hooks_.stateChanged();
    }
}

} // namespace quillon::gui
