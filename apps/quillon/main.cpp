// Quillon: the window. Options exist for scripted runs (the smoke test and the start-up benchmark):
//   --no-splash            start without the greeting
//   --new MODEL            start with a new application for the model id (any id of the catalog)
//   --screenshot FILE      once the window is idle, save a picture of it to FILE, print its title, quit
//   --quit-when-idle       quit as soon as the window is idle (start-up timing)
//   --script FILE          play the steps of FILE against the window (see ScriptRunner.h)
// and for everyone:
//   --workdir DIR          work in DIR (the PLC catalogs in DIR/../plc, the drivers in DIR/../drivers)
//   FILE                   an application file to open at start (handed to the tool when it already
//                          runs in the same working folder)
// Without --workdir the tool works in the current directory when it is a prepared one (the catalogs
// beside it), otherwise in the user's folder, filled from the data installed with the tool.

#include "ScriptRunner.h"
#include "model/PanelModel.h"
#include "persist/WorkingDirectoryLayout.h"
#include "shell/MainWindow.h"
#include "shell/ModelDocumentService.h"
#include "shell/SingleInstance.h"
#include "ui/QtPrompter.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string_view>
#include <system_error>
#include <vector>

#include <QApplication>
#include <QCommandLineParser>
#include <QDir>
#include <QFileInfo>
#include <QScreen>
#include <QTimer>

namespace {

// The options of the command line; the parser is built before the toolkit starts, so that --help and
// --version are answered without a display.
struct CommandLine {
    QCommandLineParser parser;
    QCommandLineOption help{"h"};
    QCommandLineOption version{"v"};
    const QCommandLineOption noSplash{"no-splash", "Start without the greeting."};
    const QCommandLineOption newModel{"new", "Start with a new application for model id MODEL.", "MODEL"};
    const QCommandLineOption screenshot{"screenshot", "Save a picture of the idle window to FILE and quit.",
                                        "FILE"};
    const QCommandLineOption quitWhenIdle{"quit-when-idle", "Quit as soon as the window is idle."};
    const QCommandLineOption script{"script", "Play the steps of FILE against the window.", "FILE"};
    const QCommandLineOption workdir{
        "workdir",
        "Work in DIR: settings, picture library, transfer images; the PLC catalogs are read from DIR/../plc.",
        "DIR"};

    CommandLine() {
        parser.setApplicationDescription(
            "Quillon: builds operator panel applications and transfers them to the panel.");
        help = parser.addHelpOption();
        version = parser.addVersionOption();
        parser.addOptions({noSplash, newModel, screenshot, quitWhenIdle, script, workdir});
        parser.addPositionalArgument("file", "An application file (*.ovm) to open.", "[FILE]");
    }
};

bool environmentHas(const char* name) {
    const char* value = std::getenv(name);
    return value != nullptr && *value != '\0';
}

// Whether the window's toolkit has a display to start on: an X or Wayland display, a platform named
// in the environment or on the command line.
bool displayAvailable(int argc, char* argv[]) {
    if (environmentHas("DISPLAY") || environmentHas("WAYLAND_DISPLAY") || environmentHas("QT_QPA_PLATFORM")) {
        return true;
    }
    for (int i = 1; i < argc; ++i) {
        const std::string_view argument = argv[i];
        if (argument == "-platform" || argument == "--platform" || argument.starts_with("-platform=") ||
            argument.starts_with("--platform=")) {
            return true;
        }
    }
    return false;
}

} // namespace

int main(int argc, char* argv[]) {
    QCoreApplication::setApplicationName("Quillon");
    QCoreApplication::setApplicationVersion(QUILLON_VERSION);
    CommandLine line;
    QCommandLineParser& parser = line.parser;
    {
        // Help, version and a mistyped option are answered in the terminal, before the toolkit looks for
        // a display (a toolkit option such as -platform is left to the window's own parsing).
        QStringList arguments;
        for (int i = 0; i < argc; ++i) {
            arguments << QString::fromLocal8Bit(argv[i]);
        }
        const bool parsed = parser.parse(arguments);
        const bool textOnly =
            parsed && (parser.isSet(line.help) || parser.isSet("help-all") || parser.isSet(line.version));
        if (textOnly || (!parsed && !displayAvailable(argc, argv))) {
            QCoreApplication core(argc, argv);
            parser.process(core); // prints and ends the process
            return 0;
        }
        if (!displayAvailable(argc, argv)) {
            std::fprintf(stderr, "quillon: no display to open the window on (DISPLAY is not set).\n"
                                 "quillon-cli does the same work without a window; see quillon --help.\n");
            return 1;
        }
    }
    QApplication app(argc, argv);
    // The desktop entry's name: the desktop matches the window to its entry and icon by it.
    QGuiApplication::setDesktopFileName("org.quillon.Quillon");
    parser.process(app);
    const QCommandLineOption& noSplash = line.noSplash;
    const QCommandLineOption& newModel = line.newModel;
    const QCommandLineOption& screenshot = line.screenshot;
    const QCommandLineOption& quitWhenIdle = line.quitWhenIdle;
    const QCommandLineOption& script = line.script;
    const QCommandLineOption& workdir = line.workdir;

    // Names on the command line are taken from where the tool was started, before it moves to its folder.
    const QStringList files = parser.positionalArguments();
    if (files.size() > 1) {
        std::fprintf(stderr, "Give at most one application file.\n");
        return 2;
    }
    std::string openFile;
    if (!files.isEmpty()) {
        openFile = QFileInfo(files.first()).absoluteFilePath().toStdString();
    }
    std::optional<std::filesystem::path> givenFolder;
    if (parser.isSet(workdir)) {
        givenFolder = QFileInfo(parser.value(workdir)).absoluteFilePath().toStdString();
    }
    // The shipped data lies in share/quillon/shipped beside bin/ of the installation; a tool run from its
    // build folder takes the source tree's data/.
    std::error_code ec;
    const std::filesystem::path executableFolder = QCoreApplication::applicationDirPath().toStdString();
    std::vector<std::filesystem::path> shipped{executableFolder / QUILLON_RELATIVE_DATADIR,
                                               QUILLON_INSTALL_DATADIR};
    if (std::filesystem::equivalent(executableFolder, QUILLON_BUILD_DIR, ec)) {
        shipped.emplace_back(QUILLON_SOURCE_DATADIR);
    }
    const auto chosen = quillon::WorkingDirectoryLayout::prepare(
        givenFolder, QDir::currentPath().toStdString(),
        quillon::WorkingDirectoryLayout::userRoot(std::getenv("XDG_DATA_HOME"), std::getenv("HOME")),
        shipped);
    if (!chosen) {
        std::fprintf(stderr, "%s\n", chosen.message().c_str());
        if (givenFolder) {
            return 2; // a mistyped option: the terminal it was typed in has the message
        }
        // Started from the desktop, where no terminal shows the message.
        quillon::gui::QtPrompter prompter;
        prompter.error(chosen.message());
        return 1;
    }
    // Every path of the tool is relative to its working directory, as it is in a prepared folder.
    QDir::setCurrent(QString::fromStdString(chosen->workingDirectory.string()));

    const QString workingDirectory = QDir::currentPath();
    quillon::gui::SingleInstance instance(workingDirectory);
    if (!instance.acquire()) {
        // The tool already runs in this folder: it opens the file named here (or only comes to the front).
        if (instance.handOver(QString::fromStdString(openFile))) {
            return 0;
        }
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
    quillon::gui::ModelDocumentService documents(quillon::WorkingDirectoryLayout::catalogFolderOf(start),
                                                 start);
    quillon::gui::ShellOptions options;
    options.startDirectory = start;
    options.openFile = openFile;
    // The example applications: the build's own for a window run from its build folder, else the shipped
    // ones.
    if (std::filesystem::equivalent(executableFolder, QUILLON_BUILD_DIR, ec)) {
        options.exampleFolders.push_back(std::filesystem::path(QUILLON_BUILD_DIR) / "examples");
    }
    options.exampleFolders.push_back(executableFolder / QUILLON_RELATIVE_DATADIR / "examples");
    options.exampleFolders.push_back(std::filesystem::path(QUILLON_INSTALL_DATADIR) / "examples");
    // A file named on the command line (a double click in the file manager) is opened at once, with no
    // greeting in front of it.
    options.showSplash = !parser.isSet(noSplash) && !parser.isSet(screenshot) &&
                         !parser.isSet(quitWhenIdle) && !parser.isSet(script) && openFile.empty();
    quillon::gui::MainWindow window(quillon::gui::ShellServices{&documents}, options);
    instance.endProcessWith(window);
    instance.serve(window);
    std::unique_ptr<ScriptRunner> runner;
    if (!steps.isEmpty()) {
        runner = std::make_unique<ScriptRunner>(window, steps);
    }

    QObject::connect(&window, &quillon::gui::MainWindow::started, &window, [&] {
        if (parser.isSet(newModel)) {
            bool number = false;
            const auto position = quillon::pickerPosition(parser.value(newModel).toUInt(&number));
            if (!number || !position) {
                std::fprintf(stderr,
                             "--new: %s is no panel model id (10, 12, 15, 20, 30, 40, 41, 42, 480, "
                             "500, 510 or 520)\n",
                             qPrintable(parser.value(newModel)));
                QApplication::exit(2);
                return;
            }
            window.lifecycle().newApplicationAt(*position);
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
