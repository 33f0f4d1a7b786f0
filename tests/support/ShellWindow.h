#pragma once

// The main window in a temporary working directory with scripted prompts, file dialogs, model picker and
// password, on the documents a test chooses: the recording fake, or the real model, reader and writer.

#include "ShellFakes.h"
#include "model/RecordingPrompter.h"
#include "shell/MainWindow.h"
#include "shell/ModelDocumentService.h"
#include "ui/HelpWindow.h"

#include <fstream>
#include <memory>
#include <string>
#include <type_traits>

#include <QTemporaryDir>

namespace quillon::gui::testing {

template <typename Documents>
Documents makeDocuments(const QTemporaryDir& dir) {
    if constexpr (std::is_same_v<Documents, ModelDocumentService>) {
        return Documents{std::filesystem::path(QUILLON_SOURCE_DIR) / "data" / "plc",
                         std::filesystem::path(dir.path().toStdString())};
    } else {
        return Documents{};
    }
}

template <typename Documents>
struct ShellWindow {
    QTemporaryDir dir;
    Documents docs = makeDocuments<Documents>(dir);
    RecordingPrompter prompter;
    ScriptedFiles files;
    ScriptedModels models;
    ScriptedPassword password;
    ScriptedPrinter printers;
    std::unique_ptr<MainWindow> window;

    // `settings`: the settings file the tool finds in its working directory at start; `openFile`: a file
    // named on the command line.
    explicit ShellWindow(const std::string& settings = {}, QSize size = {},
                         const std::string& openFile = {}) {
        if (!settings.empty()) {
            std::ofstream(dir.filePath("orvik.ini").toStdString()) << settings;
        }
        ShellOptions options;
        options.startDirectory = dir.path().toStdString();
        options.helpFolder = QString(QUILLON_SOURCE_DIR) + "/data/help";
        options.showSplash = false;
        options.maximised = false;
        options.openFile = openFile;
        window = std::make_unique<MainWindow>(
            ShellServices{&docs, &prompter, &files, &models, &password, nullptr, nullptr, &printers},
            options);
        if (size.isValid()) {
            window->resize(size);
        }
        window->startUp();
    }
    ~ShellWindow() {
        if (window) {
            prompter.script({PromptAnswer::No});
            window->lifecycle().closeWithPrompt();
            window->helpWindow().close();
        }
    }
    ShellWindow(const ShellWindow&) = delete;
    ShellWindow& operator=(const ShellWindow&) = delete;

    std::string path(const char* name) const { return dir.filePath(name).toStdString(); }
    ApplicationLifecycle& life() { return window->lifecycle(); }
};

// The window on real applications.
using ModelWindow = ShellWindow<ModelDocumentService>;

} // namespace quillon::gui::testing
