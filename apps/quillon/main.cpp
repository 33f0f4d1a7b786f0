// Quillon: the window. Options exist for scripted runs (the smoke test and the start-up benchmark):
//   --no-splash            start without the greeting
//   --new MODEL            start with a new application for the model id (10, 12, 40, 42 or 500)
//   --screenshot FILE      once the window is idle, save a picture of it to FILE, print its title, quit
//   --quit-when-idle       quit as soon as the window is idle (start-up timing)
//   --script FILE          play the steps of FILE against the window (see ScriptRunner.h)

#include "ScriptRunner.h"
#include "model/PanelModel.h"
#include "shell/MainWindow.h"
#include "shell/ModelDocumentService.h"
#include "shell/SingleInstance.h"
#include "ui/QtPrompter.h"

#include <cstdio>
#include <filesystem>
#include <memory>

#include <QApplication>
#include <QCommandLineParser>
#include <QDir>
#include <QScreen>
#include <QTimer>

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    QApplication::setApplicationName("Quillon");
    QApplication::setApplicationVersion("0.1.0");

    QCommandLineParser parser;
    parser.addHelpOption();
    const QCommandLineOption noSplash("no-splash", "Start without the greeting.");
    const QCommandLineOption newModel("new", "Start with a new application for model id MODEL.", "MODEL");
    const QCommandLineOption screenshot("screenshot", "Save a picture of the idle window to FILE and quit.",
                                        "FILE");
    const QCommandLineOption quitWhenIdle("quit-when-idle", "Quit as soon as the window is idle.");
    const QCommandLineOption script("script", "Play the steps of FILE against the window.", "FILE");
    parser.addOptions({noSplash, newModel, screenshot, quitWhenIdle, script});
    parser.process(app);

    const QString workingDirectory = QDir::currentPath();
    quillon::gui::SingleInstance instance(workingDirectory);
    if (!instance.acquire()) {
        quillon::gui::QtPrompter prompter;
        prompter.information(quillon::gui::SingleInstance::kRefusal);
        return 0;
    }

    QStringList steps;
    if (parser.isSet(script)) {
        QString error;
        steps = ScriptRunner::readSteps(parser.value(script), error);
        if (!error.isEmpty()) {
            std::fprintf(stderr, "--script: %s\n", qPrintable(error));
            return 2;
        }
    }

    // The catalog files lie beside the working directory, as the unit's shipped layout has them.
    const std::filesystem::path start = workingDirectory.toStdString();
    quillon::gui::ModelDocumentService documents((start / ".." / "plc").lexically_normal(), start);
    quillon::gui::ShellOptions options;
    options.startDirectory = start;
    options.showSplash = !parser.isSet(noSplash) && !parser.isSet(screenshot) &&
                         !parser.isSet(quitWhenIdle) && !parser.isSet(script);
    quillon::gui::MainWindow window(quillon::gui::ShellServices{&documents}, options);
    instance.endProcessWith(window);
    std::unique_ptr<ScriptRunner> runner;
    if (!steps.isEmpty()) {
        runner = std::make_unique<ScriptRunner>(window, steps);
    }

    QObject::connect(&window, &quillon::gui::MainWindow::started, &window, [&] {
        if (parser.isSet(newModel)) {
            const quillon::PanelModel* model = quillon::findPanelModel(parser.value(newModel).toUInt());
            if (model == nullptr || !model->newApplicationPosition) {
                std::fprintf(stderr, "--new: %s is not a model offered for new applications\n",
                             qPrintable(parser.value(newModel)));
                QApplication::exit(2);
                return;
            }
            window.lifecycle().newApplicationAt(*model->newApplicationPosition);
        }
        if (runner) {
            runner->start();
        }
        if (parser.isSet(quitWhenIdle)) {
            QTimer::singleShot(0, &app, &QApplication::quit);
        }
        if (parser.isSet(screenshot)) {
            QTimer::singleShot(300, &window, [&] {
                const QPixmap picture = window.grab();
                const bool saved = picture.save(parser.value(screenshot));
                std::printf("title: %s\n", window.windowTitle().toUtf8().constData());
                std::fflush(stdout);
                if (!saved) {
                    std::fprintf(stderr, "could not save %s\n", qPrintable(parser.value(screenshot)));
                }
                QApplication::exit(saved ? 0 : 1);
            });
        }
    });
    window.startUp();
    return QApplication::exec();
}
