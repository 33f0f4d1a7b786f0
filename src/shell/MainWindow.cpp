#include "shell/MainWindow.h"

#include "persist/SettingsFile.h"
#include "shell/ApplicationInfoDialog.h"
#include "shell/HelpTopics.h"
#include "shell/HelpWindow.h"
#include "shell/KeyboardHook.h"
#include "shell/MemoryConfigurationDialog.h"
#include "shell/NewApplicationDialog.h"
#include "shell/PasswordDialog.h"
#include "shell/QtFileChooser.h"
#include "shell/QtPrompter.h"
#include "shell/ShellMenus.h"
#include "shell/ShellStatusBar.h"
#include "shell/SplashDialog.h"
#include "shell/ToolIcons.h"
#include "shell/ToolStation.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QContextMenuEvent>
#include <QDir>
#include <QMenu>
#include <QMenuBar>
#include <QStatusTipEvent>
#include <QTime>
#include <QToolTip>

namespace quillon::gui {
namespace {

ShellServices withDefaults(ShellServices services, QtPrompter* prompter, QtFileChooser* files,
                           ModelChooser* models, PasswordPrompt* password) {
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
      services_(withDefaults(services, ownPrompter_.get(), ownFiles_.get(), this, this)),
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

    menus_ = new ShellMenus(menuBar(), this);
    connect(menus_, &ShellMenus::command, this, [this](std::uint16_t id) { command(id); });

    auto* central = new QWidget(this);
    central->setObjectName("centralArea");
    central->setMouseTracking(true);
    setCentralWidget(central);

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

    lifecycle_.setHooks(LifecycleHooks{[this] { refresh(); },
                                       [this](bool busy) { setBusy(busy); },
                                       [](bool wait) {
                                           if (wait) {
                                               QApplication::setOverrideCursor(Qt::WaitCursor);
                                           } else {
                                               QApplication::restoreOverrideCursor();
                                           }
                                       },
                                       {},
                                       {}});
    dispatcher_.setAround([] { QToolTip::hideText(); },
                          [this](std::uint16_t) {
                              if (!isActiveWindow() && QApplication::activeModalWidget() == nullptr) {
                                  activateWindow();
                              }
                              setFocus();
                          });
    registerCommands();
}

MainWindow::~MainWindow() {
    if (hook_ != nullptr) {
        qApp->removeEventFilter(hook_);
    }
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
    // Exit never reaches the dispatch (it becomes the window's close); registered so that it is live.
    dispatcher_.registerCommand(CommandId::Exit, EnableRule::Always, [this] { close(); });
    dispatcher_.registerCommand(CommandId::ToolStationExit, EnableRule::Always, [this] { close(); });
    dispatcher_.registerCommand(CommandId::CompareWith, EnableRule::Never, [] {});
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
    if (!lastApplication_.empty() && services_.documents->canOpen()) {
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
    if (const auto title = lifecycle_.title()) {
        setWindowTitle(QString::fromStdString(*title));
    }
    menus_->setDefineShown(lifecycle_.isOpen());
    const auto enabled = [this](std::uint16_t id) { return dispatcher_.isEnabled(id); };
    menus_->refresh(enabled);
    if (station_ != nullptr) {
        station_->refresh(enabled);
        station_->centre();
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

bool MainWindow::askPassword(std::string_view storedPassword) {
    PasswordDialog dialog(this, storedPassword, *services_.prompter);
    return runDialog(dialog) == QDialog::Accepted;
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

void MainWindow::tickClock() {
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
            .writeShutdown(comPortIndex_, lifecycle_.currentFileName(), recordsFileName(lifecycle_.state()));
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
}

void MainWindow::resizeEvent(QResizeEvent* event) {
    QMainWindow::resizeEvent(event);
    if (station_ != nullptr) {
        station_->centre();
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
