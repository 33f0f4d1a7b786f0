#include "shell/MainWindow.h"

#include "comm/SerialPortMap.h"
#include "comm/SystemClock.h"
#include "comm/TransferEngine.h"
#include "comm/TtySerialPort.h"
#include "define/DefineHooks.h"
#include "define/NetworkEditorDialog.h"
#include "define/PlcSelectionDialog.h"
#include "define/TagEditorDialog.h"
#include "define/UnitSettingsDialog.h"
#include "edit/define/NodeAreas.h"
#include "edit/screen/EditorSession.h"
#include "model/Application.h"
#include "model/PanelFont.h"
#include "model/PanelModel.h"
#include "model/UnitSettings.h"
#include "persist/ApplicationReader.h"
#include "persist/ApplicationWriter.h"
#include "persist/ExampleFolder.h"
#include "persist/PictureLibrary.h"
#include "persist/SettingsFile.h"
#include "persist/TextFormWriter.h"
#include "persist/WorkingDirectoryLayout.h"
#include "plc/DriverFiles.h"
#include "plc/PlcCatalogFiles.h"
#include "print/PrintCommand.h"
#include "report/PrintSelection.h"
#include "screen/ScreenSession.h"
#include "shell/ApplicationInfoDialog.h"
#include "shell/ByteViewDialog.h"
#include "shell/ComPortDialog.h"
#include "shell/CompareDialog.h"
#include "shell/ExamplesDialog.h"
#include "shell/KeyboardHook.h"
#include "shell/MemoryConfigurationDialog.h"
#include "shell/NavigatorDock.h"
#include "shell/NewApplicationDialog.h"
#include "shell/PasswordDialog.h"
#include "shell/ShellMenus.h"
#include "shell/SplashDialog.h"
#include "shell/TaskEditorCommands.h"
#include "shell/ToolStation.h"
#include "shell/TransferDialog.h"
#include "simulate/SimulateDialog.h"
#include "ui/HelpTopics.h"
#include "ui/HelpWindow.h"
#include "ui/QtFileChooser.h"
#include "ui/QtPrompter.h"
#include "ui/ScreenImage.h"
#include "ui/ShellStatusBar.h"
#include "ui/ToolIcons.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QContextMenuEvent>
#include <QDir>
#include <QMenu>
#include <QMenuBar>
#include <QShortcut>
#include <QStatusTipEvent>
#include <QTime>
#include <QToolTip>

namespace quillon::gui {
namespace {

ShellServices withDefaults(ShellServices services, QtPrompter* prompter, QtFileChooser* files,
                           ModelChooser* models, PasswordPrompt* password, SerialPort* port, Clock* clock) {
    if (services.port == nullptr) {
        services.port = port;
    }
    if (services.linkClock == nullptr) {
        services.linkClock = clock;
    }
    if (services.prompter == nullptr) {
        services.prompter = prompter;
    }
    if (services.files == nullptr) {
        services.files = files;
    }
    if (services.models == nullptr) {
        services.models = models;
    }
    if (services.password == nullptr) {
        services.password = password;
    }
    return services;
}

} // namespace

MainWindow::MainWindow(ShellServices services, ShellOptions options)
    : ownPrompter_(services.prompter == nullptr ? std::make_unique<QtPrompter>() : nullptr),
      ownFiles_(services.files == nullptr ? std::make_unique<QtFileChooser>() : nullptr),
      ownPort_(services.port == nullptr ? std::make_unique<TtySerialPort>() : nullptr),
      ownLinkClock_(services.linkClock == nullptr ? std::make_unique<SystemClock>() : nullptr),
      services_(withDefaults(services, ownPrompter_.get(), ownFiles_.get(), this, this, ownPort_.get(),
                             ownLinkClock_.get())),
      options_(std::move(options)),
      lifecycle_(*services_.documents, *services_.prompter, *services_.files, *services_.models,
                 *services_.password, options_.startDirectory),
      dispatcher_(lifecycle_) {
    setObjectName("ORVIK");
    setWindowTitle("Quillon");
    setWindowIcon(ToolIcons::applicationIcon());
    setMinimumSize(kMinimumSize);
    resize(kMinimumSize);
    if (ownPrompter_) {
        ownPrompter_->setOwner(this);
        ownPrompter_->setBusyBracket([this](bool busy) { setBusy(busy); });
    }
    if (ownFiles_) {
        ownFiles_->setOwner(this);
    }

    // The settings file gives the serial port and the application to reopen.
    SettingsFile(options_.startDirectory).readStartup(comPortIndex_, lastApplication_);
    fastPolling_ = SettingsFile(options_.startDirectory).readFastPolling();
    verifyAfterDownload_ = SettingsFile(options_.startDirectory).readVerifyAfterDownload();
    recent_ = RecentFiles(SettingsFile(options_.startDirectory).readRecentFiles());
    windowSettings_.setValues(SettingsFile(options_.startDirectory).readWindowValues());
    windowSettings_.makeCurrent();
    // File > Open starts where the user worked last.
    lifecycle_.startFolderFrom(!recent_.entries().empty() ? recent_.entries().front() : lastApplication_);
    loadPanelFont();

    menus_ = new ShellMenus(menuBar(), this);
    connect(menus_, &ShellMenus::command, this, [this](std::uint16_t id) { command(id); });
    connect(menus_, &ShellMenus::recentFileChosen, this,
            [this](const QString& file) { openRecent(file.toStdString()); });
    connect(menus_->popup(ShellMenus::Popup::File), &QMenu::aboutToShow, this, &MainWindow::showRecentFiles);
    showRecentFiles();

    auto* central = new QWidget(this);
    central->setObjectName("centralArea");
    central->setMouseTracking(true);
    setCentralWidget(central);
    // The right-click menu from the keyboard (the menu key, Shift+F10): the logger is reached only there.
    // A screen session covers the client area and brings its own menus.
    for (const QKeySequence& keys : {QKeySequence(Qt::Key_Menu), QKeySequence(Qt::SHIFT | Qt::Key_F10)}) {
        auto* shortcut = new QShortcut(keys, this);
        shortcut->setContext(Qt::WindowShortcut);
        connect(shortcut, &QShortcut::activated, this, [this] {
            if (session_ != nullptr && session_->isOpen()) {
                // The focused part of the session (its canvas) shows its own menu, as for a right click.
                if (QWidget* focus = QApplication::focusWidget();
                    focus != nullptr && focus->window() == this) {
                    const QPoint centre = focus->rect().center();
                    QContextMenuEvent event(QContextMenuEvent::Keyboard, centre, focus->mapToGlobal(centre));
                    QApplication::sendEvent(focus, &event);
                }
                return;
            }
            if (centralWidget() != nullptr) {
                showRightClickMenu(centralWidget()->mapToGlobal(centralWidget()->rect().center()));
            }
        });
    }

    const QString helpFolder =
        options_.helpFolder.isEmpty()
            ? QDir(QString::fromStdString(options_.startDirectory.string())).filePath("help")
            : options_.helpFolder;
    help_ = new HelpWindow(helpFolder, this);

    hook_ = new KeyboardHook(KeyboardHook::Actions{[this] {
                                                       if (station_ == nullptr || station_->isEnabled()) {
                                                           command(CommandId::HelpIndex);
                                                       }
                                                   },
                                                   [this](bool insert, bool caps, bool num) {
                                                       if (status_ != nullptr) {
                                                           status_->setKeyIndicators(insert, caps, num);
                                                       }
                                                   }},
                             this);
    qApp->installEventFilter(hook_);

    clock_.setInterval(kClockPeriodMs);
    connect(&clock_, &QTimer::timeout, this, &MainWindow::tickClock);

    // The title's mark of unsaved changes follows the content: the application's text form, compared with
    // the one it had when it was read, made or written last.
    lifecycle_.setFingerprint([this]() -> std::optional<std::string> {
        const Application* app = services_.documents->application();
        if (app == nullptr) {
            return std::nullopt;
        }
        auto text = TextFormWriter::write(*app, nullptr);
        if (!text) {
            return std::nullopt;
        }
        return std::move(*text);
    });
    lifecycle_.setHooks(LifecycleHooks{[this] { refresh(); }, [this](bool busy) { setBusy(busy); },
                                       [](bool wait) {
                                           if (wait) {
                                               QApplication::setOverrideCursor(Qt::WaitCursor);
                                           } else {
                                               QApplication::restoreOverrideCursor();
                                           }
                                       },
                                       [this] {
                                           if (session_ != nullptr) {
                                               session_->applicationClosing();
                                           }
                                           // The next Print asks afresh.
                                           if (print_ != nullptr) {
                                               print_->clearSelection();
                                           }
                                       },
                                       [this] {
                                           if (session_ != nullptr) {
                                               session_->applicationOpened();
                                           }
                                       },
                                       [this](const std::string& file) {
                                           recent_.add(file);
                                           showRecentFiles();
                                       }});
    dispatcher_.setAround([] { QToolTip::hideText(); },
                          [this](std::uint16_t) {
                              if (!isActiveWindow() && QApplication::activeModalWidget() == nullptr) {
                                  activateWindow();
                              }
                              // The screen session takes the focus back after every command.
                              if (session_ != nullptr && session_->isOpen()) {
                                  session_->commandRan();
                              } else {
                                  setFocus();
                              }
                          });

    SessionHost host;
    host.mainWindow = this;
    host.clientArea = [this] { return centralWidget(); };
    host.dispatcher = &dispatcher_;
    host.menus = menus_;
    host.statusBar = [this] { return status_; };
    host.prompter = services_.prompter;
    host.runDialog = [this](QDialog& dialog) { return runDialog(dialog); };
    host.application = [this] { return services_.documents->application(); };
    host.pictures = [this] { return services_.documents->pictures(); };
    host.pictureLibrary = [this] { return services_.documents->pictureLibrary(); };
    host.files = services_.files;
    host.font = [this]() -> const PanelFont& { return panelFont(); };
    host.command = [this](std::uint16_t id) { command(id); };
    host.showToolStation = [this](bool shown) {
        if (station_ != nullptr) {
            station_->setVisible(shown);
        }
    };
    host.modified = [this] {
        lifecycle_.markModified();
        refresh();
    };
    host.touchTaskLists = [this](Screen& screen, ScreenObject& area) {
        taskEditors_->touchTaskLists(screen, area);
    };
    host.catalogDirectory = (options_.startDirectory / ".." / "plc").lexically_normal();
    host.libraryDirectory = WorkingDirectoryLayout::libraryFolderOf(options_.startDirectory);
    session_ = new ScreenSession(std::move(host), this);

    PrintHost printing;
    printing.window = this;
    printing.prompter = services_.prompter;
    printing.application = [this]() -> const Application* { return services_.documents->application(); };
    printing.pictures = [this] { return services_.documents->pictures(); };
    printing.font = [this]() -> const PanelFont& { return panelFont(); };
    printing.sessionOpen = [this] { return session_ != nullptr && session_->isOpen(); };
    printing.focusSession = [this] { session_->commandRan(); };
    printing.closeSession = [this] {
        dispatcher_.dispatch(CommandId::CloseScreenSession);
        refresh();
    };
    printing.proposedPdf = [this] {
        return PrintSelection::proposedPdf(
            lifecycle_.state() == ShellState::Unsaved ? std::string() : lifecycle_.currentFileName(),
            lifecycle_.fileFolder().string());
    };
    printing.showStatus = [this](const std::string& text) {
        if (status_ != nullptr) {
            status_->setMessage(QString::fromStdString(text));
        }
    };
    printing.runDialog = [this](QDialog& dialog) { return runDialog(dialog); };
    printing.printers = services_.printers;
    print_ = std::make_unique<PrintCommand>(std::move(printing));
    registerCommands();
    session_->registerCommands();
    registerTaskEditors();
    createNavigator();
}

MainWindow::~MainWindow() {
    // The session takes its tool bars out of the window while the window is still whole.
    delete session_;
    session_ = nullptr;
    // Closing the window from its base class hides the navigator after this window's members are gone.
    if (navigator_ != nullptr) {
        navigator_->toggleViewAction()->disconnect(this);
    }
    if (hook_ != nullptr) {
        qApp->removeEventFilter(hook_);
    }
}

const PanelFont& MainWindow::panelFont() const noexcept {
    return panelFont_ != nullptr ? *panelFont_ : PanelFont::builtIn();
}

void MainWindow::loadPanelFont() {
    const std::filesystem::path file = options_.startDirectory / kPanelFontFile;
    std::error_code error;
    if (!std::filesystem::exists(file, error)) {
        // A working directory without its own font file draws with the character set the tool carries.
        return;
    }
    auto loaded = PanelFont::load(file);
    if (!loaded) {
        panelFontProblem_ =
            QString::fromStdString(loaded.failure().message + "\nThe built-in panel font is used.");
        return;
    }
    panelFont_ = std::make_unique<PanelFont>(std::move(*loaded));
}

void MainWindow::createNavigator() {
    NavigatorHost host;
    host.application = [this] { return services_.documents->application(); };
    host.pictureCount = [this]() -> std::size_t {
        const PictureLibrary* library = services_.documents->pictureLibrary();
        if (library == nullptr) {
            return 0;
        }
        const auto count = library->countPictures();
        return count ? *count : 0;
    };
    host.command = [this](CommandId id) { command(id); };
    host.openScreen = [this](Screen& screen, ScreenObject* object) {
        EditorSession* editor = session_->editor();
        if (editor == nullptr) {
            return;
        }
        if (session_->isOpen()) {
            static_cast<void>(editor->changeScreen(screen));
            editor->returnToSelecter();
            session_->layout();
        } else {
            static_cast<void>(editor->screen() == nullptr ? editor->open(screen)
                                                          : editor->changeScreen(screen));
            command(CommandId::Screens);
        }
        if (object != nullptr && session_->isOpen() && editor->screen() == &screen) {
            editor->selectOnly(*object);
        }
        session_->screenChanged();
        refresh();
    };
    host.screenPicture = [this](const Screen& screen) {
        const Application* app = services_.documents->application();
        if (app == nullptr) {
            return QImage();
        }
        DrawParameters parameters;
        parameters.displayClass = app->modelSelection().modelClass;
        parameters.pictures = services_.documents->pictures();
        parameters.clock = ScreenImage::currentClock();
        const QImage picture =
            ScreenImage::render(*app, screen, parameters, ScreenGridOptions{}, panelFont());
        return picture.width() > 320 ? picture.scaledToWidth(320, Qt::SmoothTransformation) : picture;
    };
    navigator_ = new NavigatorDock(std::move(host), this);
    addDockWidget(Qt::LeftDockWidgetArea, navigator_);
    QAction* toggle = navigator_->toggleViewAction();
    toggle->setText(tr("&Navigator"));
    toggle->setStatusTip(tr("Shows or hides the project navigator."));
    menus_->popup(ShellMenus::Popup::Utilities)->addSeparator();
    menus_->popup(ShellMenus::Popup::Utilities)->addAction(toggle);
    // Shown unless the user hid it; kept in the settings file's [Window] section with the dialogs' places.
    const auto shown = windowSettings_.values().find(std::string(kNavigatorShownSetting));
    navigator_->setVisible(shown == windowSettings_.values().end() || shown->second != "0");
    // Only the user's choice is kept: the window showing or closing shows or hides the dock too, and that is
    // not one. A navigator never hidden leaves the settings file as it was.
    connect(toggle, &QAction::toggled, this, [this](bool on) {
        const std::string key(kNavigatorShownSetting);
        if (isVisible() && (!on || windowSettings_.values().contains(key))) {
            windowSettings_.setFlag(key, on);
        }
    });
}

void MainWindow::showRecentFiles() {
    recent_.dropMissing([](const std::string& file) {
        std::error_code error;
        return std::filesystem::is_regular_file(file, error);
    });
    menus_->setRecentFiles(recent_.entries());
}

void MainWindow::openRecent(const std::string& file) {
    if (!dispatcher_.isEnabled(toId(CommandId::Open))) {
        return;
    }
    lifecycle_.openFile(file);
    showRecentFiles();
    refresh();
}

void MainWindow::registerCommands() {
    DocumentService& docs = *services_.documents;
    dispatcher_.registerCommand(
        CommandId::New, EnableRule::Always, [this] { lifecycle_.newApplication(); },
        [&docs] { return docs.canCreate(); });
    dispatcher_.registerCommand(
        CommandId::Open, EnableRule::Always, [this] { lifecycle_.openCommand(); },
        [&docs] { return docs.canOpen(); });
    dispatcher_.registerCommand(CommandId::Close, EnableRule::WithApplication,
                                [this] { lifecycle_.closeWithPrompt(); });
    dispatcher_.registerCommand(
        CommandId::Save, EnableRule::WithApplication, [this] { lifecycle_.save(); },
        [&docs] { return docs.canSave(); });
    dispatcher_.registerCommand(
        CommandId::SaveAs, EnableRule::WithApplication, [this] { lifecycle_.saveAs(); },
        [&docs] { return docs.canSave(); });
    dispatcher_.registerCommand(CommandId::Information, EnableRule::WithApplication,
                                [this] { showApplicationInformation(); });
    dispatcher_.registerCommand(CommandId::MemoryConfiguration, EnableRule::WithApplication,
                                [this] { showMemoryConfiguration(); });
    dispatcher_.registerCommand(
        CommandId::HelpIndex, EnableRule::Always, [this] { help_->showFrontPage(); },
        [this] { return help_->available(); });
    dispatcher_.registerCommand(CommandId::About, EnableRule::Always, [this] { showAbout(); });
    dispatcher_.registerCommand(
        CommandId::Examples, EnableRule::Always, [this] { showExamples(); },
        [this] { return ExampleFolder::find(options_.exampleFolders).has_value(); });
    // Exit never reaches the dispatch (it becomes the window's close); registered so that it is live.
    dispatcher_.registerCommand(CommandId::Exit, EnableRule::Always, [this] { close(); });
    dispatcher_.registerCommand(CommandId::ToolStationExit, EnableRule::Always, [this] { close(); });
    dispatcher_.registerCommand(CommandId::CompareWith, EnableRule::Never, [] {});
    dispatcher_.registerCommand(
        CommandId::CompareApplications, EnableRule::WithApplication,
        [this, &docs] {
            CompareDialog::compareWithFile(
                this, CompareDialog::Current{*docs.application(), docs.pictureLibrary(), docs.pictures()},
                (options_.startDirectory / ".." / "plc").lexically_normal(),
                options_.startDirectory / "Result", *services_.prompter, *services_.files, panelFont());
        },
        [&docs] { return docs.application() != nullptr; });
    dispatcher_.registerCommand(CommandId::CommunicationPort, EnableRule::Always,
                                [this] { chooseComPort(); });
    dispatcher_.registerCommand(CommandId::Download, EnableRule::WithApplication, [this] { download(); });
    dispatcher_.registerCommand(CommandId::Upload, EnableRule::Always, [this] { upload(); });
    dispatcher_.registerCommand(CommandId::OtherUtilities, EnableRule::WithApplication,
                                [this] { showByteView(); });
    dispatcher_.registerCommand(CommandId::AddRemovePlcs, EnableRule::Always, [this] { showPlcSelection(); });
    // The application's own editors need the model behind the documents.
    const auto hasModel = [&docs] { return docs.application() != nullptr; };
    dispatcher_.registerCommand(
        CommandId::Network, EnableRule::WithApplication, [this] { showNetwork(); }, hasModel);
    dispatcher_.registerCommand(
        CommandId::TagDatabase, EnableRule::WithApplication, [this] { showTagDatabase(); }, hasModel);
    dispatcher_.registerCommand(
        CommandId::UnitSettings, EnableRule::WithApplication, [this] { showUnitSettings(); }, hasModel);
    dispatcher_.registerCommand(
        CommandId::Print, EnableRule::WithApplication, [this] { print_->run(); }, hasModel);
    dispatcher_.registerCommand(
        CommandId::Simulate, EnableRule::WithApplication, [this] { showSimulator(); }, hasModel);
}

void MainWindow::registerTaskEditors() {
    TaskEditorCommands::Host editors;
    editors.window = this;
    editors.dispatcher = &dispatcher_;
    editors.application = [this] { return services_.documents->application(); };
    editors.context.prompter = services_.prompter;
    editors.context.runDialog = [this](QDialog& dialog) { return runDialog(dialog); };
    editors.context.tagDatabaseAvailable = [this] {
        return dispatcher_.hasHandler(toId(CommandId::TagDatabase));
    };
    editors.context.openTagDatabase = [this] { dispatcher_.dispatch(CommandId::TagDatabase); };
    editors.context.pictures = [this] { return services_.documents->pictures(); };
    editors.context.modified = [this] {
        lifecycle_.markModified();
        refresh();
    };
    editors.currentScreen = [this]() -> Screen* {
        return session_ != nullptr && session_->isOpen() && session_->editor() != nullptr
                   ? session_->editor()->screen()
                   : nullptr;
    };
    editors.font = [this]() -> const PanelFont& { return panelFont(); };
    editors.catalogDirectory = (options_.startDirectory / ".." / "plc").lexically_normal();
    editors.screenChanged = [this] {
        if (session_ != nullptr && session_->isOpen()) {
            session_->screenChanged();
        }
    };
    taskEditors_ = std::make_unique<TaskEditorCommands>(std::move(editors));
    taskEditors_->registerCommands();
}

void MainWindow::startUp() {
    clock_.start();
    if (options_.maximised) {
        showMaximized();
    } else {
        show();
    }
    status_ = new ShellStatusBar(this);
    setStatusBar(status_);
    tickClock();
    if (options_.showSplash) {
        SplashDialog splash(this, SplashDialog::Mode::StartUp);
        splash.exec();
    }
    station_ = new ToolStation(centralWidget());
    connect(station_, &ToolStation::command, this, [this](std::uint16_t id) { command(id); });
    connect(station_, &ToolStation::statusText, status_, &ShellStatusBar::setMessage);
    station_->show();
    refresh();
    station_->centre();
    setFocus();
    if (!panelFontProblem_.isEmpty()) {
        services_.prompter->error(panelFontProblem_.toStdString());
    }
    // A file named on the command line takes the place of the last application.
    if (!options_.openFile.empty() && services_.documents->canOpen()) {
        lifecycle_.openFile(options_.openFile);
    } else if (!lastApplication_.empty() && services_.documents->canOpen()) {
        lifecycle_.reopen(lastApplication_);
    }
    QTimer::singleShot(0, this, &MainWindow::started);
}

void MainWindow::command(std::uint16_t id) {
    if (status_ != nullptr) {
        status_->setKeyIndicators(hook_->insertMode(), hook_->capsLock(), hook_->numLock());
    }
    if (id == toId(CommandId::Exit) || id == toId(CommandId::ToolStationExit)) {
        close();
        return;
    }
    dispatcher_.dispatch(id);
    refresh();
}

void MainWindow::refresh() {
    // Unsaved changes put an asterisk after the title, from the first change until the file is written.
    const bool changes = lifecycle_.hasChanges();
    if (const auto title = lifecycle_.title()) {
        setWindowTitle(QString::fromStdString(*title) + (changes ? QStringLiteral("[*]") : QString()));
    }
    setWindowModified(changes && windowTitle().contains(QStringLiteral("[*]")));
    menus_->setDefineShown(lifecycle_.isOpen());
    const auto enabled = [this](std::uint16_t id) { return dispatcher_.isEnabled(id); };
    menus_->refresh(enabled);
    if (session_ != nullptr) {
        session_->refresh();
    }
    if (station_ != nullptr) {
        station_->refresh(enabled);
        station_->centre();
    }
    if (navigator_ != nullptr) {
        navigator_->applicationChanged();
    }
}

int MainWindow::runDialog(QDialog& dialog) {
    if (auto* shellDialog = qobject_cast<ShellDialog*>(&dialog)) {
        connect(shellDialog, &ShellDialog::helpRequested, this, &MainWindow::showHelpTopic);
    }
    setBusy(true);
    const int result = dialog.exec();
    setBusy(false);
    return result;
}

void MainWindow::setBusy(bool busy) {
    busyDepth_ += busy ? 1 : -1;
    if (station_ != nullptr) {
        station_->setEnabled(busyDepth_ <= 0);
    }
}

void MainWindow::showHelpTopic(int topic) {
    help_->showTopic(topic);
}

bool MainWindow::chooseModel(const ModelChooser::Accept& accept) {
    NewApplicationDialog dialog(this, accept);
    return runDialog(dialog) == QDialog::Accepted;
}

std::optional<std::string> MainWindow::askPassword() {
    PasswordDialog dialog(this);
    if (runDialog(dialog) != QDialog::Accepted) {
        return std::nullopt;
    }
    return dialog.password();
}

void MainWindow::showMemoryConfiguration() {
    MemoryConfigurationDialog dialog(this, services_.documents->memoryReport());
    runDialog(dialog);
}

void MainWindow::showApplicationInformation() {
    ApplicationInfoDialog dialog(this, services_.documents->info());
    if (runDialog(dialog) == QDialog::Accepted) {
        services_.documents->setInfo(dialog.result());
    }
}

void MainWindow::showAbout() {
    SplashDialog about(this, SplashDialog::Mode::About);
    runDialog(about);
}

void MainWindow::showExamples() {
    const auto examples = ExampleFolder::find(options_.exampleFolders);
    if (!examples) {
        return;
    }
    ExamplesDialog dialog(this, *examples, WorkingDirectoryLayout::catalogFolderOf(options_.startDirectory),
                          panelFont());
    if (runDialog(dialog) != QDialog::Accepted || dialog.chosen().empty()) {
        return;
    }
    if (lifecycle_.isOpen() && !lifecycle_.closeWithPrompt()) {
        return;
    }
    // The copy goes to the folder offered for applications; the shipped file is never opened.
    const std::filesystem::path folder = options_.startDirectory / ApplicationLifecycle::kResultFolder;
    std::error_code ec;
    std::filesystem::create_directories(folder, ec);
    const std::filesystem::path copy = ExamplesDialog::copyName(folder, dialog.chosen());
    const Status copied = examples->copyTo(dialog.chosen(), copy);
    if (!copied) {
        services_.prompter->error(copied.message());
        refresh();
        return;
    }
    lifecycle_.openFile(copy.string());
    showRecentFiles();
    refresh();
}

void MainWindow::chooseComPort() {
    const std::filesystem::path mapFile = options_.startDirectory / std::string(SerialPortMap::kFileName);
    const auto map = SerialPortMap::load(mapFile);
    ComPortDialog dialog(
        this, comPortIndex_,
        [&map](int number) {
            if (!map) {
                return std::string();
            }
            const auto device = map->devicePath(SerialPortMap::portName(number - 1));
            return device ? *device : std::string();
        },
        fastPolling_);
    if (runDialog(dialog) == QDialog::Accepted) {
        comPortIndex_ = dialog.portIndex();
        fastPolling_ = dialog.fastPolling();
    }
}

TransferServices MainWindow::transferServices() {
    TransferServices link;
    link.port = services_.port;
    link.clock = services_.linkClock;
    link.timing = options_.linkTiming;
    link.refreshPortMap = [this] {
        if (!ownPort_) {
            return;
        }
        // A map that cannot be read leaves every port on its default device; the link reports a port
        // it cannot open in the dialog's status line.
        auto map = SerialPortMap::load(options_.startDirectory / std::string(SerialPortMap::kFileName));
        ownPort_->setMap(map ? std::move(*map) : SerialPortMap{});
    };
    link.portIndex = [this] { return comPortIndex_; };
    link.fastPolling = [this] { return fastPolling_; };
    link.verifyAfterDownload = [this] { return verifyAfterDownload_; };
    link.setVerifyAfterDownload = [this](bool on) { verifyAfterDownload_ = on; };
    link.choosePort = [this] { chooseComPort(); };
    return link;
}

void MainWindow::download() {
    DocumentService& docs = *services_.documents;
    Prompter& prompter = *services_.prompter;
    const Status prepared = TransferEngine::prepareDownload(
        DownloadPreparation{[&] { return docs.prepareForWrite(prompter); },
                            [&] {
                                return memoryCapacity(docs.memoryOption()) >= docs.usedBytes()
                                           ? Status::success()
                                           : Status::fail("overflow");
                            },
                            [&]() -> Status {
                                auto image = docs.writeDownloadImage(options_.startDirectory, prompter);
                                return image ? Status::success() : Status(image.failure());
                            }},
        prompter);
    if (!prepared) {
        return;
    }
    TransferServices link = transferServices();
    link.modelId = docs.modelId();
    const std::filesystem::path start = options_.startDirectory;
    link.downloadJob = [&docs, start] {
        DownloadJob job;
        job.imagePath = start / std::string(ApplicationWriter::kDownloadImage);
        job.applicationSize = docs.usedBytes();
        job.unit = protocol::UnitCheck{docs.modelId(), docs.memoryOption()};
        return job;
    };
    link.driverJob = [&docs, start] {
        DriverJob job;
        job.driversDir = (start / ".." / "drivers").lexically_normal();
        job.plcId = docs.firstPlcId();
        job.unit = protocol::UnitCheck{docs.modelId(), docs.memoryOption()};
        job.lookup = [](const std::filesystem::path& dir, std::uint16_t token,
                        std::uint16_t plcId) -> Result<std::filesystem::path> {
            if (auto file = DriverFiles::find(dir, token, plcId)) {
                return *file;
            }
            return Failure{"The driver file is not available.", 0};
        };
        return job;
    };
    TransferDialog dialog(this, TransferDialog::Mode::Download, std::move(link));
    runDialog(dialog);
}

void MainWindow::upload() {
    TransferServices link = transferServices();
    link.applicationOpen = lifecycle_.isOpen();
    link.closeApplication = [this] {
        const bool closed = lifecycle_.closeWithPrompt();
        refresh();
        return closed;
    };
    link.uploadImage = options_.startDirectory / ApplicationLifecycle::kUploadImage;
    link.loadUpload = [this]() -> Status {
        if (!lifecycle_.openApplication(true)) {
            refresh();
            return Status::fail(std::string(ApplicationReader::kUploadIncomplete));
        }
        // The unit keeps no names: the parts get default ones, with prefixes from the catalogs.
        services_.documents->assignDefaultNames(*services_.prompter);
        lifecycle_.contentSettled();
        refresh();
        return Status::success();
    };
    TransferDialog dialog(this, TransferDialog::Mode::Upload, std::move(link));
    runDialog(dialog);
}

void MainWindow::showPlcSelection() {
    if (lifecycle_.isOpen()) {
        // The nodes of the open application name their PLCs; the list they were chosen from stays put.
        services_.prompter->information("To add or remove PLC's, Close present application and Try Again.");
        return;
    }
    PlcCatalogFiles catalogs((options_.startDirectory / ".." / "plc").lexically_normal(),
                             *services_.prompter);
    PlcSelectionDialog dialog(this, catalogs, *services_.prompter);
    runDialog(dialog);
}

void MainWindow::discardUndoHistories() {
    if (session_ != nullptr && session_->editor() != nullptr) {
        session_->editor()->discardAllHistories();
    }
}

void MainWindow::applicationEdited() {
    if (session_ != nullptr && session_->isOpen()) {
        session_->screenChanged();
    }
}

DefineHooks MainWindow::defineHooks() {
    DefineHooks hooks;
    hooks.run = [this](QDialog& dialog) { return runDialog(dialog); };
    hooks.beforeRemoval = [this] { discardUndoHistories(); };
    hooks.driversDirectory = (options_.startDirectory / ".." / "drivers").lexically_normal();
    hooks.files = services_.files;
    return hooks;
}

void MainWindow::showNetwork() {
    Application* application = services_.documents->application();
    if (application == nullptr) {
        return;
    }
    PlcCatalogFiles catalogs((options_.startDirectory / ".." / "plc").lexically_normal(),
                             *services_.prompter);
    NetworkEditorDialog dialog(this, *application, catalogs, *services_.prompter, defineHooks());
    runDialog(dialog);
    applicationEdited();
}

void MainWindow::showSimulator() {
    const Application* application = services_.documents->application();
    if (application == nullptr) {
        return;
    }
    auto catalogs = std::make_shared<PlcCatalogFiles>(
        (options_.startDirectory / ".." / "plc").lexically_normal(), *services_.prompter);
    SimulateDialog dialog(
        this, *application, [catalogs](const Node& node) { return NodeAreas::load(*catalogs, node); },
        panelFont(), services_.documents->pictures());
    runDialog(dialog);
}

void MainWindow::showTagDatabase() {
    Application* application = services_.documents->application();
    if (application == nullptr) {
        return;
    }
    PlcCatalogFiles catalogs((options_.startDirectory / ".." / "plc").lexically_normal(),
                             *services_.prompter);
    TagEditorDialog dialog(this, *application, catalogs, *services_.prompter, defineHooks());
    runDialog(dialog);
    applicationEdited();
}

void MainWindow::showUnitSettings() {
    Application* application = services_.documents->application();
    if (application == nullptr) {
        return;
    }
    UnitSettingsDialog dialog(this, *application, *services_.prompter, [this] { discardUndoHistories(); });
    runDialog(dialog);
    applicationEdited();
}

void MainWindow::showByteView() {
    QApplication::setOverrideCursor(Qt::WaitCursor);
    ByteViewDialog dialog(this, options_.startDirectory / std::string(ApplicationWriter::kDownloadImage),
                          options_.startDirectory / ApplicationLifecycle::kUploadImage);
    QApplication::restoreOverrideCursor();
    runDialog(dialog);
}

void MainWindow::tickClock() {
    // Time and Date objects show the computer's clock.
    if (session_ != nullptr && session_->isOpen()) {
        session_->screenChanged();
    }
    if (status_ != nullptr) {
        status_->showTime(QTime::currentTime());
        status_->setKeyIndicators(hook_->insertMode(), hook_->capsLock(), hook_->numLock());
    }
}

void MainWindow::showRightClickMenu(const QPoint& globalPosition, bool exec) {
    menus_->refresh([this](std::uint16_t id) { return dispatcher_.isEnabled(id); });
    if (exec) {
        menus_->rightClickMenu()->exec(globalPosition);
    }
}

void MainWindow::contextMenuEvent(QContextMenuEvent* event) {
    if (centralWidget() != nullptr && centralWidget()->geometry().contains(event->pos())) {
        showRightClickMenu(event->globalPos());
        event->accept();
        return;
    }
    QMainWindow::contextMenuEvent(event);
}

void MainWindow::closeEvent(QCloseEvent* event) {
    // The settings go first: even a close the user then cancels has recorded the port and the file.
    const Status written =
        SettingsFile(options_.startDirectory)
            .writeShutdown(comPortIndex_, lifecycle_.currentFileName(), recordsFileName(lifecycle_.state()),
                           fastPolling_, recent_.entries(), verifyAfterDownload_, windowSettings_.values());
    if (!written) {
        services_.prompter->error(written.message());
    }
    if (!lifecycle_.closeWithPrompt()) {
        event->ignore();
        return;
    }
    clock_.stop();
    help_->close();
    event->accept();
    emit closed();
}

void MainWindow::resizeEvent(QResizeEvent* event) {
    QMainWindow::resizeEvent(event);
    if (station_ != nullptr) {
        station_->centre();
    }
    // The session window keeps its place in the client area.
    if (session_ != nullptr && session_->isOpen()) {
        session_->layout();
    }
}

void MainWindow::changeEvent(QEvent* event) {
    QMainWindow::changeEvent(event);
    if (event->type() != QEvent::WindowStateChange || session_ == nullptr) {
        return;
    }
    // A minimised tool closes the screen session and opens it again when restored.
    if (isMinimized()) {
        session_->minimised();
    } else {
        session_->restored();
    }
}

bool MainWindow::event(QEvent* event) {
    // Menu entries announce their sentence in the shell's own message field.
    if (event->type() == QEvent::StatusTip) {
        if (status_ != nullptr) {
            status_->setMessage(static_cast<QStatusTipEvent*>(event)->tip());
        }
        return true;
    }
    return QMainWindow::event(event);
}

} // namespace quillon::gui
