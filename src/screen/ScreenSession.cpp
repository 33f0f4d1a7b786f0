#include "screen/ScreenSession.h"

#include "edit/screen/ClipboardKeeper.h"
#include "edit/screen/EditorSession.h"
#include "edit/screen/PlacementTool.h"
#include "model/Application.h"
#include "model/Prompter.h"
#include "model/Screen.h"
#include "screen/CharacterSetPalette.h"
#include "screen/EditingCommands.h"
#include "screen/GridConfigurationDialog.h"
#include "screen/LibraryCommands.h"
#include "screen/ObjectTagCombo.h"
#include "screen/PlacementController.h"
#include "screen/ScreenCanvas.h"
#include "screen/ScreenCommands.h"
#include "screen/ScreenSessionWindow.h"
#include "screen/SessionIcons.h"
#include "ui/CommandId.h"
#include "ui/CommandTexts.h"
#include "ui/MenuHost.h"
#include "ui/ShellStatusBar.h"

#include <algorithm>
#include <limits>

#include <QAction>
#include <QKeySequence>
#include <QMainWindow>
#include <QMenu>
#include <QScrollBar>
#include <QStyle>
#include <QToolBar>

namespace quillon::gui {
namespace {

constexpr std::uint16_t kSeparator = 0;

struct MenuEntry {
    std::uint16_t id;
    const char* text;
};

// The tool tips of the Wizards bar.
QString wizardName(std::uint16_t id) {
    switch (id) {
    case PlacementTools::kLamp:
        return QStringLiteral("Lamp");
    case PlacementTools::kScale:
        return QStringLiteral("Scale");
    case PlacementTools::kSwitch:
        return QStringLiteral("Switch");
    case PlacementTools::kPushButton:
        return QStringLiteral("Push-button");
    case PlacementTools::kPieChart:
        return QStringLiteral("Pie-chart");
    case PlacementTools::kKnob:
        return QStringLiteral("Knob");
    case PlacementTools::kTrend:
        return QStringLiteral("Trend");
    case PlacementTools::kMotor:
        return QStringLiteral("Motor");
    case PlacementTools::kValve:
        return QStringLiteral("Valve");
    default:
        return QStringLiteral("Tank");
    }
}

QString fromView(std::string_view text) {
    return QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size()));
}

} // namespace

ScreenSession::ScreenSession(SessionHost host, QObject* parent) : QObject(parent), host_(std::move(host)) {
    keeper_ = std::make_unique<ClipboardKeeper>();
    EditingHost editing{
        host_.dispatcher, host_.menus, host_.prompter, host_.mainWindow, host_.runDialog, {}, {}, {}};
    editing.editor = [this] { return sessionCommandsEnabled() ? editor_.get() : nullptr; };
    editing.changed = [this] { screenChanged(); };
    editing.command = [this](std::uint16_t id) { host_.command(id); };
    editing_ = std::make_unique<EditingCommands>(std::move(editing));
    objectMenu_ = new QMenu(host_.mainWindow);
    objectMenu_->setObjectName("RB_OBJECT");
    for (const MenuEntry& entry : std::initializer_list<MenuEntry>{{154, "&Cut"},
                                                                   {155, "C&opy"},
                                                                   {232, "Send Bac&k"},
                                                                   {233, "Bring &Front"},
                                                                   {210, "&Edit"},
                                                                   {211, "&Animation Properties"},
                                                                   {944, "Add to Librar&y..."}}) {
        QAction* action = objectMenu_->addAction(QString::fromLatin1(entry.text));
        action->setData(entry.id);
    }
    // Delete, as the Delete key: the entry has no command of its own.
    QAction* remove = objectMenu_->addAction(tr("&Delete"));
    remove->setObjectName("deleteObjects");
    remove->setShortcut(QKeySequence::Delete);
    remove->setShortcutVisibleInContextMenu(true);
    remove->setShortcutContext(Qt::WidgetShortcut);
    connect(remove, &QAction::triggered, this, &ScreenSession::deleteSelection);
    screenMenu_ = new QMenu(host_.mainWindow);
    screenMenu_->setObjectName("RB_SCREEN");
    for (const MenuEntry& entry : std::initializer_list<MenuEntry>{{156, "Past&e Object(s)"},
                                                                   {129, "&New Screen..."},
                                                                   {121, "&Delete Screen..."},
                                                                   {122, "Du&plicate Screen..."},
                                                                   {120, "Initia&lize Screen..."},
                                                                   {130, "In&formation of Screen"},
                                                                   {116, "&Keys of Screen"},
                                                                   {171, "&Task-lists of Screen"},
                                                                   {172, "Zoom &In"},
                                                                   {173, "Zoom &Out"},
                                                                   {945, "Insert fro&m Library..."}}) {
        QAction* action = screenMenu_->addAction(QString::fromLatin1(entry.text));
        action->setData(entry.id);
    }
    for (QMenu* menu : {objectMenu_, screenMenu_}) {
        connect(menu, &QMenu::triggered, this, [this](QAction* action) {
            if (const auto id = static_cast<std::uint16_t>(action->data().toUInt()); id != 0) {
                if (id == toId(CommandId::InsertFromLibrary)) {
                    libraryPoint_ = menuPoint_;
                }
                host_.command(id);
                libraryPoint_.reset();
            }
        });
    }
}

ScreenSession::~ScreenSession() {
    if (placement_ != nullptr) {
        ObjectTagCombo::setDatabaseOpener({});
    }
    destroyToolBars();
}

Application* ScreenSession::application() const {
    return host_.application ? host_.application() : nullptr;
}

bool ScreenSession::sessionCommandsEnabled() const {
    return isOpen() && editor_ != nullptr && editor_->screen() != nullptr;
}

void ScreenSession::registerSessionCommand(std::uint16_t id, std::function<void()> handler,
                                           std::function<bool()> condition) {
    host_.dispatcher->registerCommand(id, EnableRule::WithApplication, std::move(handler),
                                      [this, condition = std::move(condition)] {
                                          return sessionCommandsEnabled() && (!condition || condition());
                                      });
}

void ScreenSession::registerCommands() {
    CommandDispatcher& dispatch = *host_.dispatcher;
    dispatch.registerCommand(
        CommandId::Screens, EnableRule::WithApplication, [this] { open(); },
        [this] { return editor_ != nullptr; });
    registerSessionCommand(toId(CommandId::CloseScreenSession), [this] { close(); });
    registerSessionCommand(
        toId(CommandId::ZoomIn), [this] { zoom(+1); }, [this] { return editor_->canZoomIn(); });
    registerSessionCommand(
        toId(CommandId::ZoomOut), [this] { zoom(-1); }, [this] { return editor_->canZoomOut(); });
    registerSessionCommand(toId(CommandId::ZoomToFit), [this] { zoomToFit(); });
    registerSessionCommand(toId(CommandId::AlphaNumericGrid), [this] {
        editor_->toggleDotGrid();
        screenChanged();
    });
    registerSessionCommand(
        toId(CommandId::TouchScreenGrid),
        [this] {
            editor_->toggleTouchGrid();
            screenChanged();
        },
        [this] {
            // Only a unit with a touch screen has a touch-screen grid to show.
            const Application* app = application();
            return editor_->touchGridCommandEnabled() && app != nullptr &&
                   app->unitSettings().touchScreen != 0;
        });
    registerSessionCommand(
        toId(CommandId::GridConfiguration), [this] { configureGrid(); },
        [this] { return editor_->gridConfigurationEnabled(); });
    registerSessionCommand(
        toId(CommandId::AddToLibrary), [this] { runLibrary(false); },
        [this] { return editor_->selecterMode() && !editor_->selection().empty(); });
    registerSessionCommand(
        toId(CommandId::InsertFromLibrary), [this] { runLibrary(true); },
        [this] { return editor_->selecterMode(); });
    registerSessionCommand(toId(CommandId::HideScreenMenu), [this] { toggleScreenToolBar(); });
    registerSessionCommand(toId(CommandId::HideObjectsMenu), [this] {
        objectsBarHidden_ = !objectsBarHidden_;
        for (QToolBar* bar : {objectsBar_, wizardsBar_, attributesBar_}) {
            if (bar != nullptr) {
                bar->setVisible(!objectsBarHidden_);
            }
        }
    });
    registerSessionCommand(toId(CommandId::HideTools), [this] {
        toolsBarHidden_ = !toolsBarHidden_;
        if (toolsBar_ != nullptr) {
            toolsBar_->setVisible(!toolsBarHidden_);
        }
    });
    registerSessionCommand(toId(CommandId::SelectAll), [this] {
        editor_->selectAll();
        screenChanged();
    });
    registerSessionCommand(toId(CommandId::Selecter), [this] {
        if (placement_ != nullptr) {
            placement_->abandon();
        }
        editor_->returnToSelecter();
        screenChanged();
    });
    registerPlacementCommands();
    editing_->registerCommands();
    registerSessionCommand(
        toId(CommandId::Undo),
        [this] {
            editor_->undo();
            screenChanged();
        },
        [this] { return editor_->canUndo(); });
    registerSessionCommand(
        toId(CommandId::Redo),
        [this] {
            editor_->redo();
            screenChanged();
        },
        [this] { return editor_->canRedo(); });

    // Screens manager. New and Duplicate are refused beforehand on a full application.
    registerSessionCommand(toId(CommandId::ScreenNew), [this] { screens_->newScreen(); });
    registerSessionCommand(toId(CommandId::ScreenDuplicate), [this] { screens_->duplicateScreen(); });
    registerSessionCommand(toId(CommandId::ScreenInformation), [this] { screens_->screenInformation(); });
    registerSessionCommand(toId(CommandId::ScreenInitialize), [this] { screens_->initializeScreen(); });
    registerSessionCommand(toId(CommandId::ScreenDelete), [this] {
        deleting_ = true;
        screens_->deleteScreen();
        deleting_ = false;
        if (isOpen() && editor_->screen() == nullptr) {
            // The deletion failed after the session had let go of the screen: show the first one.
            Application* app = application();
            if (app != nullptr && !app->screens().empty()) {
                static_cast<void>(editor_->open(*app->screens().front()));
                screenChanged();
            } else {
                close();
            }
        }
    });
    registerSessionCommand(toId(CommandId::ScreenSelect), [this] { screens_->selectScreen(); });
    registerSessionCommand(toId(CommandId::ScreenViewAll), [this] { screens_->viewAllScreens(); });
}

void ScreenSession::editTouchArea(ScreenObject& area) {
    Screen* screen = editor_ != nullptr ? editor_->screen() : nullptr;
    if (screen == nullptr || !host_.touchTaskLists) {
        return;
    }
    host_.touchTaskLists(*screen, area);
    if (editor_->dropEmptyTouchArea(area) && host_.modified) {
        host_.modified();
    }
    screenChanged();
}

void ScreenSession::applicationOpened() {
    close();
    screens_.reset();
    editor_.reset();
    Application* app = application();
    if (app == nullptr) {
        return;
    }
    editor_ = std::make_unique<EditorSession>(*app);
    editor_->setClipboardKeeper(keeper_.get());
    ScreenCommandContext context{*app, *host_.prompter, host_.mainWindow, host_.runDialog, {}, {},
                                 {},   nullptr};
    context.currentScreen = [this] { return editor_ != nullptr ? editor_->screen() : nullptr; };
    context.makeCurrent = [this](Screen* screen) {
        if (screen == nullptr) {
            close();
            return;
        }
        if (editor_->screen() == nullptr) {
            static_cast<void>(editor_->open(*screen));
        } else {
            static_cast<void>(editor_->changeScreen(*screen));
        }
        editor_->returnToSelecter();
        if (isOpen()) {
            layout();
        }
    };
    context.forgetHistory = [this](Screen& screen) {
        if (deleting_) {
            editor_->screenDeleted(screen);
        } else {
            editor_->discardHistory(screen);
        }
    };
    context.pictures = host_.pictures ? host_.pictures() : nullptr;
    context.catalogDirectory = host_.catalogDirectory;
    screens_ = std::make_unique<ScreenCommands>(std::move(context));
}

void ScreenSession::applicationClosing() {
    close();
    if (const Application* app = application()) {
        keeper_->keep(*app);
    }
    screens_.reset();
    editor_.reset();
    lastScreen_.reset();
    if (palette_ != nullptr) {
        palette_->deleteLater();
        palette_ = nullptr;
    }
}

void ScreenSession::open() {
    Application* app = application();
    if (isOpen() || opening_ || app == nullptr || editor_ == nullptr) {
        return;
    }
    opening_ = true;
    if (app->screens().empty()) {
        host_.showToolStation(false);
        screens_->newScreen();
        host_.showToolStation(true);
        if (app->screens().empty()) {
            opening_ = false;
            return;
        }
    }
    Screen* screen = editor_->screen();
    if (screen == nullptr && lastScreen_) {
        screen = app->findScreen(*lastScreen_);
    }
    if (screen == nullptr) {
        screen = app->screens().front().get();
    }
    if (const Status opened = editor_->open(*screen); !opened) {
        host_.prompter->error(opened.message());
        opening_ = false;
        return;
    }
    if (ShellStatusBar* status = host_.statusBar()) {
        status->setMessage(tr("No object is selected."));
    }
    host_.showToolStation(false);
    host_.menus->setSessionShown(true);

    canvas_ = new ScreenCanvas(*editor_, host_.font());
    canvas_->setPictureSource(host_.pictures);
    window_ = new ScreenSessionWindow(host_.clientArea(), canvas_);
    connect(window_, &ScreenSessionWindow::closeRequested, this,
            [this] { host_.command(toId(CommandId::CloseScreenSession)); });
    connect(window_, &ScreenSessionWindow::scrolled, this, [this](Qt::Orientation orientation, int position) {
        editor_->setScroll(orientation == Qt::Horizontal, position);
        layout();
    });
    connect(canvas_, &ScreenCanvas::scrollRequested, this, [this](Qt::Orientation orientation, int position) {
        editor_->setScroll(orientation == Qt::Horizontal, position);
        layout();
    });
    connect(canvas_, &ScreenCanvas::selectionChanged, this, &ScreenSession::refresh);
    connect(canvas_, &ScreenCanvas::changed, this, [this] {
        if (host_.modified) {
            host_.modified();
        }
        refresh();
    });
    connect(canvas_, &ScreenCanvas::positionChanged, this, [this](const QString& text) {
        if (ShellStatusBar* status = host_.statusBar()) {
            status->setCoordinatesText(text);
        }
    });
    connect(canvas_, &ScreenCanvas::positionCleared, this, [this] {
        if (ShellStatusBar* status = host_.statusBar()) {
            status->clearCoordinates();
        }
    });
    connect(canvas_, &ScreenCanvas::editRequested, this, [this] {
        ScreenObject* object = editor_ != nullptr ? editor_->editableObject() : nullptr;
        if (object != nullptr && object->kind() == ObjectKind::TouchArea && host_.touchTaskLists) {
            editTouchArea(*object);
            return;
        }
        host_.command(toId(CommandId::Edit));
    });
    connect(canvas_, &ScreenCanvas::deleteRequested, this, &ScreenSession::deleteSelection);
    connect(canvas_, &ScreenCanvas::menuRequested, this, [this](ScreenCanvas::Menu menu, const QPoint& at) {
        showMenu(menu == ScreenCanvas::Menu::Object, at);
    });
    connect(canvas_, &ScreenCanvas::drawingFailed, this, &ScreenSession::showDrawingFailure);
    startPlacement();
    createToolBars();
    layout();
    window_->show();
    if (ShellStatusBar* status = host_.statusBar()) {
        status->setSessionFieldsVisible(true);
    }
    canvas_->setFocus();
    opening_ = false;
    refresh();
}

void ScreenSession::close() {
    if (!isOpen()) {
        return;
    }
    if (placement_ != nullptr) {
        placement_->endTyping();
        placement_.reset();
        ObjectTagCombo::setDatabaseOpener({});
    }
    if (palette_ != nullptr) {
        palette_->hide();
    }
    if (editor_ != nullptr) {
        editor_->returnToSelecter();
        if (Screen* screen = editor_->screen()) {
            lastScreen_ = screen->number();
        }
        // Empty texts do not survive the session.
        if (editor_->close() > 0 && host_.modified) {
            host_.modified();
        }
    }
    destroyToolBars();
    host_.menus->setSessionShown(false);
    window_->hide();
    window_->deleteLater();
    window_ = nullptr;
    canvas_ = nullptr;
    host_.showToolStation(true);
    if (ShellStatusBar* status = host_.statusBar()) {
        status->setSessionFieldsVisible(false);
        status->clearCoordinates();
        status->setMessage(QString());
    }
    host_.mainWindow->setFocus();
}

void ScreenSession::minimised() {
    if (isOpen()) {
        close();
        closedByMinimise_ = true;
    }
}

void ScreenSession::restored() {
    if (closedByMinimise_) {
        closedByMinimise_ = false;
        host_.command(toId(CommandId::Screens));
    }
}

void ScreenSession::createToolBars() {
    const auto makeBar = [this](const char* name, std::initializer_list<std::uint16_t> ids) {
        auto* bar = new QToolBar(QString::fromLatin1(name), host_.mainWindow);
        bar->setObjectName(QString::fromLatin1(name));
        bar->setMovable(false);
        bar->setIconSize(QSize(SessionIcons::kSize, SessionIcons::kSize));
        for (const std::uint16_t id : ids) {
            if (id == kSeparator) {
                bar->addSeparator();
                continue;
            }
            QAction* action = bar->addAction(SessionIcons::icon(id), QString());
            action->setData(id);
            if (const auto text = commandText(id)) {
                action->setToolTip(fromView(text->toolTip).trimmed());
                action->setStatusTip(fromView(text->statusText));
            }
            connect(action, &QAction::triggered, this, [this, id] { host_.command(id); });
        }
        host_.mainWindow->addToolBar(Qt::TopToolBarArea, bar);
        // Bars added to a window already shown stay hidden until told otherwise.
        bar->show();
        return bar;
    };
    screenBar_ = makeBar("screen_menu", {129, 122, 130, 121, 120, kSeparator, 152, 144, kSeparator, 116, 171,
                                         kSeparator, 172, 173, 128, 127, kSeparator, 143});
    const bool graphic = editor_ != nullptr && !editor_->characterDisplay();
    if (graphic) {
        objectsBar_ = makeBar(
            "orvik_objects", {212, kSeparator, 101, 207, 197, 179, kSeparator, 108, 109, 112, 157, 113, 202});
        std::vector<std::uint16_t> wizards;
        for (const PlacementTool& tool : PlacementTools::wizards()) {
            wizards.push_back(tool.id);
        }
        wizardsBar_ = makeBar("wizard_objects", {});
        wizardsBar_->setWindowTitle(tr("Wizards"));
        for (const std::uint16_t id : wizards) {
            QAction* action = wizardsBar_->addAction(SessionIcons::icon(id), QString());
            action->setData(id);
            action->setToolTip(wizardName(id));
            connect(action, &QAction::triggered, this, [this, id] { host_.command(id); });
        }
    } else {
        objectsBar_ = makeBar("txt_objects", {212, kSeparator, 101, 207, 197, 158, 179});
    }
    for (QAction* action : objectsBar_->actions()) {
        action->setCheckable(!action->isSeparator());
    }
    // Without a touch screen the touch-screen button stays in its place, grayed: its inactive look-alike
    // (refresh() follows the unit settings).
    // The tools bar starts a row of its own, so that no bar is folded away on a normal screen.
    host_.mainWindow->addToolBarBreak(Qt::TopToolBarArea);
    toolsBar_ = makeBar("tools", {337, 339, kSeparator, 190,        154, 155, 156, kSeparator, 210, 232, 233,
                                  341, 343, 115,        kSeparator, 191, 192, 193, 194,        195, 196});
    // The attributes the objects take, beside the tools where the row has room; they belong to the objects
    // bars and are hidden and shown with them.
    attributesBar_ = makeBar("attributes", {});
    attributesBar_->setWindowTitle(tr("Properties"));
    editing_->addAttributeControls(*attributesBar_, !graphic);
    screenBar_->setVisible(!screenBarHidden_);
    for (QToolBar* bar : {objectsBar_, wizardsBar_, attributesBar_}) {
        if (bar != nullptr) {
            bar->setVisible(!objectsBarHidden_);
        }
    }
    toolsBar_->setVisible(!toolsBarHidden_);
}

void ScreenSession::destroyToolBars() {
    if (toolsBar_ != nullptr) {
        host_.mainWindow->removeToolBarBreak(toolsBar_);
    }
    for (QToolBar** bar : {&screenBar_, &objectsBar_, &toolsBar_, &wizardsBar_, &attributesBar_}) {
        if (*bar != nullptr) {
            host_.mainWindow->removeToolBar(*bar);
            (*bar)->deleteLater();
            *bar = nullptr;
        }
    }
}

void ScreenSession::layout() {
    if (!isOpen() || editor_ == nullptr || editor_->screen() == nullptr) {
        return;
    }
    Screen& screen = *editor_->screen();
    window_->setCaption(
        QString("Screen [ %1 : %2 ]").arg(screen.number()).arg(QString::fromStdString(screen.name)));
    QWidget* area = host_.clientArea();
    const std::uint8_t displayClass = editor_->displayClass();
    const bool bottomAligned = displayClass == 51 || displayClass == 52;
    editor_->setViewArea(viewArea());
    const CanvasGeometry geometry = editor_->geometry();
    QSize client(geometry.windowWidth(), geometry.windowHeight());
    int horizontal = 0;
    int vertical = 0;
    if (const auto scroll = editor_->scrollLayout()) {
        client = QSize(scroll->clientWidth, scroll->clientHeight);
        horizontal = scroll->horizontalOffset > 0 ? scroll->horizontalPositions : 0;
        vertical = scroll->verticalOffset > 0 ? scroll->verticalPositions : 0;
    }
    window_->setClientArea(client, horizontal, vertical);
    window_->horizontalBar()->setPageStep(canvas_->scrollPage(true));
    window_->verticalBar()->setPageStep(canvas_->scrollPage(false));
    window_->setScrollPositions(editor_->horizontalScroll(), editor_->verticalScroll());
    window_->move(ScreenSessionWindow::placement(area->rect(), window_->size(), bottomAligned));
    canvas_->invalidate();
}

void ScreenSession::refresh() {
    if (editor_ == nullptr) {
        return;
    }
    if (QAction* dot = host_.menus->action(toId(CommandId::AlphaNumericGrid))) {
        dot->setText(fromView(editor_->dotGridMenuText()));
    }
    if (QAction* touch = host_.menus->action(toId(CommandId::TouchScreenGrid))) {
        touch->setText(fromView(editor_->touchGridMenuText()));
    }
    if (QAction* hide = host_.menus->action(toId(CommandId::HideScreenMenu))) {
        hide->setText(screenBarHidden_ ? tr("Show Screen &Menu") : tr("Hide Screen &Menu"));
    }
    if (QAction* hide = host_.menus->action(toId(CommandId::HideObjectsMenu))) {
        hide->setText(objectsBarHidden_ ? tr("Show O&bjects Menu") : tr("Hide O&bjects Menu"));
    }
    if (QAction* hide = host_.menus->action(toId(CommandId::HideTools))) {
        hide->setText(toolsBarHidden_ ? tr("Show T&ools") : tr("H&ide Tools"));
    }
    const auto enabled = [this](std::uint16_t id) { return host_.dispatcher->isEnabled(id); };
    host_.menus->refresh(enabled);
    // The touch-screen tool does not outlive the touch screen (switched off in the unit settings).
    if (!editor_->selecterMode() && editor_->currentTool() == PlacementTools::kTouch &&
        !enabled(PlacementTools::kTouch)) {
        editor_->returnToSelecter();
    }
    // The chosen tool's button is pressed and its menu entry checked; the selecter's in selecter mode.
    const std::uint16_t current =
        editor_->selecterMode() ? toId(CommandId::Selecter) : editor_->currentTool();
    const auto isCurrent = [current](std::uint16_t id) {
        return id == current ||
               (id == PlacementTools::kAlphaBargraph && current == PlacementTools::kBargraph);
    };
    for (const std::uint16_t id : PlacementController::toolCommands()) {
        if (QAction* action = host_.menus->action(id)) {
            action->setCheckable(true);
            action->setChecked(isOpen() && isCurrent(id));
        }
    }
    for (const std::uint16_t id : {toId(CommandId::Selecter), PlacementTools::kAlphaBargraph}) {
        if (QAction* action = host_.menus->action(id)) {
            action->setCheckable(true);
            action->setChecked(isOpen() && isCurrent(id));
        }
    }
    for (QToolBar* bar : {screenBar_, objectsBar_, toolsBar_, wizardsBar_, attributesBar_}) {
        if (bar == nullptr) {
            continue;
        }
        for (QAction* action : bar->actions()) {
            if (!action->isSeparator()) {
                const auto id = static_cast<std::uint16_t>(action->data().toUInt());
                action->setEnabled(enabled(id));
                if (action->isCheckable()) {
                    action->setChecked(isCurrent(id));
                }
            }
        }
    }
    editing_->refresh();
    updateStatus();
}

void ScreenSession::updateStatus() {
    if (!isOpen() || editor_ == nullptr || !editor_->selecterMode()) {
        return;
    }
    if (ShellStatusBar* status = host_.statusBar()) {
        status->setMessage(QString::fromStdString(editor_->statusText()));
    }
}

void ScreenSession::commandRan() {
    if (isOpen()) {
        canvas_->setFocus();
        canvas_->invalidate();
        refresh();
    }
}

void ScreenSession::screenChanged() {
    if (isOpen()) {
        layout();
    }
    refresh();
}

void ScreenSession::zoom(int step) {
    if (editor_->setZoom(step)) {
        layout();
    }
}

void ScreenSession::zoomToFit() {
    editor_->setViewArea(viewArea());
    if (editor_->zoomToFit()) {
        layout();
    }
}

CanvasSize ScreenSession::viewArea() const {
    // The main window's client area less the session window's frame, caption and bars, and the gap the
    // large screens keep under them.
    const QSize area = host_.clientArea()->size() - window_->frameExtent();
    const std::uint8_t displayClass = editor_->displayClass();
    const int gap = displayClass == 51 || displayClass == 52 ? 24 : 0;
    const auto clampSize = [](int value) {
        return static_cast<std::uint16_t>(
            std::clamp(value, 1, int{std::numeric_limits<std::uint16_t>::max()}));
    };
    return {clampSize(area.width()), clampSize(area.height() - gap)};
}

void ScreenSession::configureGrid() {
    GridConfigurationDialog dialog(host_.mainWindow, editor_->gridConfiguration());
    if (host_.runDialog(dialog) == QDialog::Accepted) {
        editor_->setGridConfiguration(dialog.configuration());
        screenChanged();
    }
}

void ScreenSession::toggleScreenToolBar() {
    screenBarHidden_ = !screenBarHidden_;
    if (screenBar_ != nullptr) {
        screenBar_->setVisible(!screenBarHidden_);
    }
}

void ScreenSession::showDrawingFailure(const QString& message) {
    host_.prompter->error(message.toStdString());
}

void ScreenSession::runLibrary(bool insert) {
    if (editor_ == nullptr || editor_->screen() == nullptr) {
        return;
    }
    const LibraryContext context{*editor_,        *host_.prompter,        host_.mainWindow,
                                 host_.runDialog, host_.catalogDirectory, host_.libraryDirectory,
                                 host_.font()};
    if (!insert) {
        (void)LibraryCommands::addToLibrary(context);
        return;
    }
    const std::optional<UnitPoint> at = libraryPoint_;
    libraryPoint_.reset();
    if (LibraryCommands::insertFromLibrary(context, at)) {
        if (host_.modified) {
            host_.modified();
        }
        screenChanged();
    }
}

void ScreenSession::deleteSelection() {
    if (editor_ == nullptr || !editor_->selecterMode() || editor_->selection().empty()) {
        return;
    }
    if (editor_->deleteSelection(*host_.prompter)) {
        if (host_.modified) {
            host_.modified();
        }
        screenChanged();
    } else {
        refresh();
    }
}

void ScreenSession::showMenu(bool objectMenu, const QPoint& globalPosition, bool exec) {
    QMenu* menu = objectMenu ? objectMenu_ : screenMenu_;
    menuPoint_.reset();
    if (!objectMenu && canvas_ != nullptr && editor_ != nullptr) {
        menuPoint_ = canvas_->unitAt(globalPosition);
    }
    const bool noZOrder = editor_ != nullptr && !editor_->objectMenuZOrderEnabled();
    for (QAction* action : menu->actions()) {
        const auto id = static_cast<std::uint16_t>(action->data().toUInt());
        if (id == 0) {
            action->setEnabled(editor_ != nullptr && editor_->selecterMode() &&
                               !editor_->selection().empty());
            continue;
        }
        const bool zOrder = id == toId(CommandId::SendBack) || id == toId(CommandId::BringFront);
        action->setEnabled(host_.dispatcher->isEnabled(id) && !(zOrder && noZOrder));
    }
    if (exec) {
        menu->exec(globalPosition);
    }
}

void ScreenSession::registerPlacementCommands() {
    // "&Edit", the right-button menu's entry, Enter and a double click: the one selected object's dialog.
    registerSessionCommand(
        toId(CommandId::Edit),
        [this] {
            ScreenObject* object = editor_->editableObject();
            if (object == nullptr || placement_ == nullptr) {
                return;
            }
            if (object->kind() == ObjectKind::TouchArea) {
                editTouchArea(*object);
                return;
            }
            placement_->edit(*object);
            screenChanged();
        },
        [this] { return editor_->editableObject() != nullptr; });
    // "&Character Set": only while a text is typed.
    registerSessionCommand(
        toId(CommandId::CharacterSet), [this] { showCharacterSet(); },
        [this] { return placement_ != nullptr && placement_->typing() != nullptr; });
    registerSessionCommand(
        toId(CommandId::AnimationProperties),
        [this] {
            ScreenObject* object = editor_->editableObject();
            if (object != nullptr && placement_ != nullptr) {
                placement_->animate(*object);
                screenChanged();
            }
        },
        [this] { return editor_->editableObject() != nullptr; });
    for (const std::uint16_t id : PlacementController::toolCommands()) {
        registerSessionCommand(
            id,
            [this, id] {
                if (placement_ != nullptr) {
                    placement_->choose(id);
                    refresh();
                }
            },
            [this, id] {
                if (id == PlacementTools::kError) {
                    return true; // only tells that it is not available
                }
                const Application* app = application();
                // The Objects menu's "&Data Entry" entry (208) stands for the data-entry tool.
                constexpr std::uint16_t kDataEntryMenu = 208;
                return PlacementTools::enabled(id == kDataEntryMenu ? PlacementTools::kDataEntry : id,
                                               editor_->characterDisplay(),
                                               app != nullptr && app->unitSettings().touchScreen != 0);
            });
    }
}

void ScreenSession::showCharacterSet() {
    Application* app = application();
    if (app == nullptr) {
        return;
    }
    if (palette_ == nullptr) {
        palette_ = new CharacterSetPalette(host_.mainWindow, app->modelId());
        connect(palette_, &CharacterSetPalette::characterChosen, this, [this](char character) {
            if (placement_ != nullptr) {
                placement_->typeCharacter(character);
                refresh();
            }
        });
    }
    // 60 pixels right of the client area's left edge, its bottom 200 pixels above the area's bottom.
    QWidget* area = host_.clientArea();
    palette_->adjustSize();
    const QPoint corner = area->mapToGlobal(QPoint(60, area->height() - 200 - palette_->height()));
    palette_->move(corner);
    palette_->show();
    if (canvas_ != nullptr) {
        canvas_->setFocus();
    }
}

void ScreenSession::startPlacement() {
    PlacementContext context;
    context.editor = editor_.get();
    context.application = application();
    context.dialogParent = host_.mainWindow;
    context.runDialog = host_.runDialog;
    context.prompter = host_.prompter;
    context.canvas = [this] { return canvas_; };
    context.insertMode = [this] {
        ShellStatusBar* status = host_.statusBar ? host_.statusBar() : nullptr;
        return status != nullptr && status->indicatorOn(QStringLiteral("Ins"));
    };
    context.showPrompt = [this](const QString& prompt) {
        if (ShellStatusBar* status = host_.statusBar()) {
            status->setMessage(prompt);
        }
        refresh();
    };
    context.touchArea = [this](ScreenObject& area) { editTouchArea(area); };
    context.changed = [this] {
        if (host_.modified) {
            host_.modified();
        }
    };
    context.selecter = [this] { refresh(); };
    context.library = host_.pictureLibrary;
    // The button beside the property dialogs' tag drop-downs opens the tag database over them.
    ObjectTagCombo::setDatabaseOpener([dispatcher = host_.dispatcher] {
        if (dispatcher != nullptr) {
            (void)dispatcher->dispatch(CommandId::TagDatabase);
        }
    });
    context.files = host_.files;
    canvas_->setInsertMode(context.insertMode);
    placement_ = std::make_unique<PlacementController>(std::move(context));
    connect(canvas_, &ScreenCanvas::placeRequested, placement_.get(), &PlacementController::place);
    connect(placement_.get(), &PlacementController::typingChanged, this, [this] { refresh(); });
    connect(canvas_, &ScreenCanvas::figureEnded, placement_.get(), &PlacementController::figure);
    connect(canvas_, &ScreenCanvas::placementAbandoned, this, [this] {
        placement_->abandon();
        refresh();
    });
    connect(canvas_, &ScreenCanvas::typingEnded, this, [this] {
        if (placement_ != nullptr) {
            placement_->endTyping();
        }
    });
}

} // namespace quillon::gui
