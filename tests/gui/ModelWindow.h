#pragma once

// The main window on the real model, reader and writer in a temporary working directory, with scripted
// prompts, file dialogs, model picker and password: the base of the window tests that work on real
// applications.

#include "ShellFakes.h"
#include "model/RecordingPrompter.h"
#include "shell/HelpWindow.h"
#include "shell/MainWindow.h"
#include "shell/ModelDocumentService.h"

#include <fstream>
#include <memory>
#include <string>

#include <QTemporaryDir>

namespace quillon::gui::testing {

struct ModelWindow {
    QTemporaryDir dir;
    ModelDocumentService docs{std::filesystem::path(QUILLON_SOURCE_DIR) / "data" / "plc",
                              std::filesystem::path(dir.path().toStdString())};
    RecordingPrompter prompter;
    ScriptedFiles files;
    ScriptedModels models;
    ScriptedPassword password;
    std::unique_ptr<MainWindow> window;

    // `settings`: the settings file the tool finds in its working directory at start.
    explicit ModelWindow(const std::string& settings = {}, QSize size = {}) {
        if (!settings.empty()) {
            std::ofstream(dir.filePath("orvik.ini").toStdString()) << settings;
        }
        ShellOptions options;
        options.startDirectory = dir.path().toStdString();
        options.helpFolder = QString(QUILLON_SOURCE_DIR) + "/data/help";
        options.showSplash = false;
        options.maximised = false;
        window = std::make_unique<MainWindow>(ShellServices{&docs, &prompter, &files, &models, &password},
                                              options);
        if (size.isValid()) {
            window->resize(size);
        }
        window->startUp();
    }
    ~ModelWindow() {
        if (window) {
            prompter.script({PromptAnswer::No});
            window->lifecycle().closeWithPrompt();
            window->helpWindow().close();
        }
    }
    ModelWindow(const ModelWindow&) = delete;
    ModelWindow& operator=(const ModelWindow&) = delete;

    std::string path(const char* name) const { return dir.filePath(name).toStdString(); }
    ApplicationLifecycle& life() { return window->lifecycle(); }
};

} // namespace quillon::gui::testing
