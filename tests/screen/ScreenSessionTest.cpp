// The screen session in the main window: opening and closing with its menus and tool bars, the zoom and
// grid commands, the canvas's mouse and keys on a real application, undo and redo through the menu
// commands, the right-click menus and the pixels the canvas shows.

#include "screen/ScreenSession.h"

#include "edit/screen/EditorSession.h"
#include "model/Application.h"
#include "model/PanelFont.h"
#include "model/RecordingPrompter.h"
#include "model/Screen.h"
#include "model/ScreenObject.h"
#include "model/TextObject.h"
#include "screen/GridConfigurationDialog.h"
#include "screen/ScreenCanvas.h"
#include "screen/ScreenSessionWindow.h"
#include "shell/MainWindow.h"
#include "shell/ModelDocumentService.h"
#include "shell/ShellMenus.h"
#include "shell/ToolStation.h"
#include "support/ModalStep.h"
#include "support/ShellWindow.h"
#include "ui/HelpWindow.h"
#include "ui/ShellStatusBar.h"

#include <algorithm>
#include <cstdlib>
#include <fstream>

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QDialog>
#include <QDir>
#include <QLineEdit>
#include <QMenu>
#include <QScrollBar>
#include <QSpinBox>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>
#include <QWidgetAction>

using namespace quillon;
using namespace quillon::gui;
using namespace quillon::gui::testing;

namespace {

// Accepts the next modal dialog as soon as it shows (the New Screen dialog with its suggestion).
void acceptNextDialog() {
    onModal([] {
        if (auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget())) {
            dialog->accept();
        }
    });
}

struct Window : ModelWindow {
    Window() : ModelWindow({}, QSize(1024, 768)) {}

    // An application of any model, written to a file and opened through the menus, with `screens`
    // screens.
    void openModel(std::uint16_t modelId, int screens = 1) {
        RecordingPrompter quiet;
        QVERIFY(docs.create(modelId, quiet));
        for (int n = 1; n <= screens; ++n) {
            QVERIFY(docs.application()->addScreen(std::make_unique<Screen>(static_cast<std::uint32_t>(n))));
        }
        QVERIFY(docs.prepareForWrite(quiet));
        const std::filesystem::path file = dir.filePath("model.ovm").toStdString();
        QVERIFY(docs.write(file, quiet));
        docs.close();
        files.answers = {file};
        window->command(CommandId::Open);
        QVERIFY(window->lifecycle().isOpen());
    }
    ScreenSession& session() const { return window->screenSession(); }
    EditorSession& editor() const { return *session().editor(); }
    ScreenCanvas& canvas() const { return *session().canvas(); }
    Screen& screen() const { return *editor().screen(); }
    ScreenObject& addRectangle(int left, int top, int right, int bottom) {
        auto object = ScreenObject::create(static_cast<std::uint8_t>(ObjectKind::Rectangle));
        object->left = left;
        object->top = top;
        object->right = right;
        object->bottom = bottom;
        auto added = screen().appendObject(std::move(object));
        canvas().invalidate();
        return **added;
    }
    // The centre of a unit pixel in the canvas's client area.
    QPoint at(int unitX, int unitY) const {
        const CanvasGeometry g = editor().geometry();
        const WindowPoint offset = editor().scrollOffset();
        return {g.toWindowStart(unitX) - offset.x, g.toWindowStart(unitY) - offset.y};
    }
};

QStringList toolBarNames(QMainWindow& window) {
    QStringList names;
    for (auto* bar : window.findChildren<QToolBar*>()) {
        if (!bar->isHidden() && window.toolBarArea(bar) != Qt::NoToolBarArea) {
            names << bar->objectName();
        }
    }
    names.sort();
    return names;
}

// How a picture reads: the darkest opaque grey, whether any opaque pixel has colour, the largest opacity.
struct PictureLook {
    int darkest = 255;
    bool coloured = false;
    int mostOpaque = 0;
    int opaquePixels = 0;
};

PictureLook lookOf(const QPixmap& pixmap) {
    PictureLook look;
    const QImage image = pixmap.toImage().convertToFormat(QImage::Format_ARGB32);
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            const QRgb c = image.pixel(x, y);
            if (qAlpha(c) < 16) {
                continue;
            }
            ++look.opaquePixels;
            look.darkest = std::min(look.darkest, qGray(c));
            look.coloured = look.coloured || qRed(c) != qGreen(c) || qGreen(c) != qBlue(c);
            look.mostOpaque = std::max(look.mostOpaque, qAlpha(c));
        }
    }
    return look;
}

} // namespace

class ScreenSessionTest : public QObject {
    Q_OBJECT
private slots:
    void disabledPicturesReadAsDisabledAndTheCloseBoxStandsOut() {
        Window w;
        w.openModel(500);
        w.window->command(CommandId::Screens);
        QVERIFY(w.session().isOpen());
        QList<QIcon> icons;
        for (auto* bar : w.window->findChildren<QToolBar*>()) {
            if (w.window->toolBarArea(bar) == Qt::NoToolBarArea) {
                continue; // the help window's text-only bar
            }
            for (QAction* action : bar->actions()) {
                // The font, line and speed boxes are no pictures.
                if (!action->isSeparator() && qobject_cast<QWidgetAction*>(action) == nullptr) {
                    icons << action->icon();
                }
            }
        }
        for (const auto& row : ToolStation::layoutRows()) {
            for (const std::uint16_t id : row) {
                icons << w.window->toolStation().button(id)->icon();
            }
        }
        QVERIFY(icons.size() > 40);
        for (const QIcon& icon : icons) {
            const PictureLook live = lookOf(icon.pixmap(QSize(24, 24), QIcon::Normal));
            const PictureLook greyed = lookOf(icon.pixmap(QSize(24, 24), QIcon::Disabled));
            QVERIFY(greyed.opaquePixels > 0);
            // Pale grey, half transparent, never as dark as the live picture's strokes.
            QVERIFY(!greyed.coloured);
            QVERIFY2(greyed.darkest >= 180, qPrintable(QString::number(greyed.darkest)));
            QVERIFY(greyed.mostOpaque <= 128);
            // ... and told apart from the live one: that has colour or clearly darker strokes.
            QVERIFY(live.coloured || live.darkest + 30 <= greyed.darkest);
        }
        // The session's close box: its cross against the caption's colour.
        auto* close = w.window->findChild<QToolButton*>("closeBox");
        QVERIFY(close != nullptr);
        const int caption = qGray(close->parentWidget()->palette().color(QPalette::Window).rgb());
        const QImage cross =
            close->icon().pixmap(close->iconSize()).toImage().convertToFormat(QImage::Format_ARGB32);
        int strongest = 0;
        for (int y = 0; y < cross.height(); ++y) {
            for (int x = 0; x < cross.width(); ++x) {
                if (qAlpha(cross.pixel(x, y)) > 200) {
                    strongest = std::max(strongest, std::abs(qGray(cross.pixel(x, y)) - caption));
                }
            }
        }
        QVERIFY2(strongest >= 100, qPrintable(QString::number(strongest)));
        w.window->command(CommandId::CloseScreenSession);
    }

    void barTogglesAndTheTouchGridFollowTheUnit() {
        Window w;
        w.openModel(500);
        w.docs.application()->unitSettings().touchScreen = 0;
        w.window->command(CommandId::Screens);
        QVERIFY(w.session().isOpen());
        ShellMenus& menus = w.window->menus();
        // Both bars are there: their Hide entries are live and hide and show them.
        QVERIFY(menus.action(toId(CommandId::HideObjectsMenu))->isEnabled());
        QVERIFY(menus.action(toId(CommandId::HideTools))->isEnabled());
        QCOMPARE(toolBarNames(*w.window),
                 QStringList({"attributes", "orvik_objects", "screen_menu", "tools", "wizard_objects"}));
        w.window->command(CommandId::HideObjectsMenu);
        QCOMPARE(toolBarNames(*w.window), QStringList({"screen_menu", "tools"}));
        QCOMPARE(menus.action(toId(CommandId::HideObjectsMenu))->text(), QString("Show O&bjects Menu"));
        w.window->command(CommandId::HideTools);
        QCOMPARE(toolBarNames(*w.window), QStringList({"screen_menu"}));
        QCOMPARE(menus.action(toId(CommandId::HideTools))->text(), QString("Show T&ools"));
        w.window->command(CommandId::HideObjectsMenu);
        w.window->command(CommandId::HideTools);
        QCOMPARE(toolBarNames(*w.window),
                 QStringList({"attributes", "orvik_objects", "screen_menu", "tools", "wizard_objects"}));
        QCOMPARE(menus.action(toId(CommandId::HideObjectsMenu))->text(), QString("Hide O&bjects Menu"));
        QCOMPARE(menus.action(toId(CommandId::HideTools))->text(), QString("H&ide Tools"));
        // A unit without a touch screen has no touch-screen grid to show; with one it has.
        QVERIFY(!menus.action(toId(CommandId::TouchScreenGrid))->isEnabled());
        w.docs.application()->unitSettings().touchScreen = 1;
        w.window->refresh();
        QVERIFY(menus.action(toId(CommandId::TouchScreenGrid))->isEnabled());
        w.window->command(CommandId::CloseScreenSession);
    }

    void firstSessionAsksForAScreenAndClosesCleanly() {
        Window w;
        w.models.positions = {4}; // VQ5K-822, 128 x 64
        w.window->command(CommandId::New);
        QVERIFY(w.window->dispatcher().isEnabled(CommandId::Screens));
        QVERIFY(!w.window->dispatcher().isEnabled(CommandId::CloseScreenSession));

        // A new application has no screen: the New Screen dialog comes first.
        acceptNextDialog();
        w.window->command(CommandId::Screens);
        QVERIFY(w.session().isOpen());
        QCOMPARE(w.docs.application()->screens().size(), std::size_t{1});
        QCOMPARE(w.session().window()->caption(), QString("Screen [ 1 : Screen1 ]"));
        QCOMPARE(w.window->menus().barTitles(), QStringList({"&File", "&Define", "&Communicate", "&Utilities",
                                                             "&Screen", "&Objects", "&Tools", "&Help"}));
        QVERIFY(!w.window->toolStation().isVisible());
        QCOMPARE(toolBarNames(*w.window),
                 QStringList({"attributes", "orvik_objects", "screen_menu", "tools", "wizard_objects"}));
        QVERIFY(w.window->shellStatusBar().sessionFieldsVisible());
        QCOMPARE(w.window->shellStatusBar().message(), QString("No object is selected."));
        // Zoom 20 on the 128 x 64 screen.
        QCOMPARE(w.canvas().size(), QSize(256, 128));
        QVERIFY(w.canvas().hasFocus() || !w.window->isActiveWindow());

        w.window->command(CommandId::CloseScreenSession);
        QVERIFY(!w.session().isOpen());
        QCOMPARE(w.window->menus().barTitles(),
                 QStringList({"&File", "&Define", "&Communicate", "&Utilities", "&Help"}));
        QVERIFY(w.window->toolStation().isVisible());
        QVERIFY(!w.window->shellStatusBar().sessionFieldsVisible());
        QVERIFY(toolBarNames(*w.window).isEmpty());

        // Refusing the first screen leaves no session.
        w.prompter.script({PromptAnswer::No});
        w.window->command(CommandId::Close);
        w.models.positions = {4};
        w.window->command(CommandId::New);
        onModal([] {
            if (auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget())) {
                dialog->reject();
            }
        });
        w.window->command(CommandId::Screens);
        QVERIFY(!w.session().isOpen());
        QVERIFY(w.window->toolStation().isVisible());
    }

    void zoomAndScrollFollowTheDisplayClass() {
        Window w;
        w.openModel(520); // 320 x 240
        w.window->command(CommandId::Screens);
        QVERIFY(w.session().isOpen());
        QCOMPARE(w.editor().zoom(), 10);
        QCOMPARE(w.canvas().size(), QSize(320, 240));
        QVERIFY(!w.window->dispatcher().isEnabled(CommandId::ZoomOut));
        QVERIFY(w.session().window()->horizontalBar()->isHidden());

        w.window->command(CommandId::ZoomIn);
        QCOMPARE(w.editor().zoom(), 20);
        QCOMPARE(w.canvas().size(), QSize(541, 337));
        QVERIFY(!w.session().window()->horizontalBar()->isHidden());
        QVERIFY(!w.session().window()->verticalBar()->isHidden());
        // Page Down shows the lower part; the bar follows.
        w.canvas().setFocus();
        QTest::keyClick(&w.canvas(), Qt::Key_PageDown);
        QCOMPARE(w.editor().verticalScroll(), 1);
        QCOMPARE(w.session().window()->verticalBar()->value(), 1);
        QCOMPARE(w.editor().scrollOffset().y, 144);

        w.window->command(CommandId::ZoomIn);
        QCOMPARE(w.editor().zoom(), 30);
        QCOMPARE(w.canvas().size(), QSize(559, 361));
        // The menu entries follow the zoom limits: in up to 80.
        for (int step = 0; step < 5; ++step) {
            QVERIFY(w.window->dispatcher().isEnabled(CommandId::ZoomIn));
            w.window->command(CommandId::ZoomIn);
        }
        QCOMPARE(w.editor().zoom(), 80);
        QVERIFY(!w.window->dispatcher().isEnabled(CommandId::ZoomIn));
        QVERIFY(!w.window->menus().action(toId(CommandId::ZoomIn))->isEnabled());
        QVERIFY(w.window->menus().action(toId(CommandId::ZoomOut))->isEnabled());
    }

    void zoomToFitAndTheCloserZoomsScroll() {
        Window w;
        w.openModel(500); // 128 x 64
        w.window->command(CommandId::Screens);
        QVERIFY(w.session().isOpen());
        QWidget* area = w.session().window()->parentWidget();
        area->window()->resize(1000, 800);
        QVERIFY(w.window->menus().action(toId(CommandId::ZoomToFit)) != nullptr);
        QCOMPARE(w.window->menus().action(toId(CommandId::ZoomToFit))->text(), QString("Zoom to &Fit"));
        w.window->command(CommandId::ZoomToFit);
        const int zoom = w.editor().zoom();
        QVERIFY(zoom > 30);
        // The whole screen shows, inside the main window, and the next step would not fit.
        QCOMPARE(w.canvas().size(), QSize(128 * zoom / 10, 64 * zoom / 10));
        QVERIFY(w.session().window()->horizontalBar()->isHidden());
        QVERIFY(area->rect().contains(w.session().window()->geometry()));
        QVERIFY(w.editor().scrollLayout() == std::nullopt);
        if (zoom < 80) {
            w.window->command(CommandId::ZoomIn);
            QVERIFY(!w.session().window()->horizontalBar()->isHidden());
            QVERIFY(area->rect().contains(w.session().window()->geometry()));
        }

        // A smaller main window: Zoom to Fit steps down, still showing everything.
        area->window()->resize(700, 600);
        w.window->command(CommandId::ZoomToFit);
        QVERIFY(w.editor().zoom() < zoom);
        QCOMPARE(w.canvas().size(), QSize(128 * w.editor().zoom() / 10, 64 * w.editor().zoom() / 10));
        QVERIFY(area->rect().contains(w.session().window()->geometry()));

        // At 80 the window scrolls one unit pixel per position; End shows the screen's last column.
        while (w.window->dispatcher().isEnabled(CommandId::ZoomIn)) {
            w.window->command(CommandId::ZoomIn);
        }
        QCOMPARE(w.editor().zoom(), 80);
        QVERIFY(!w.window->menus().action(toId(CommandId::ZoomIn))->isEnabled());
        QScrollBar* bar = w.session().window()->horizontalBar();
        QVERIFY(!bar->isHidden());
        QCOMPARE(w.canvas().width() % 8, 0);
        QCOMPARE(bar->maximum(), (1024 - w.canvas().width()) / 8);
        w.canvas().setFocus();
        QTest::keyClick(&w.canvas(), Qt::Key_End);
        QCOMPARE(bar->value(), bar->maximum());
        QCOMPARE(w.editor().scrollOffset().x + w.canvas().width(), 1024);
        QTest::keyClick(&w.canvas(), Qt::Key_Home);
        QCOMPARE(bar->value(), 0);
        bar->setValue(3);
        QCOMPARE(w.editor().scrollOffset().x, 24);
    }

    void characterDisplaysShowTheirGridAndRefuseTheTouchGrid() {
        Window w;
        w.openModel(40); // 240 x 64 characters
        w.window->command(CommandId::Screens);
        QCOMPARE(toolBarNames(*w.window), QStringList({"attributes", "screen_menu", "tools", "txt_objects"}));
        QVERIFY(w.editor().showDotGrid());
        QCOMPARE(w.window->menus().action(toId(CommandId::AlphaNumericGrid))->text(),
                 QString("Hide Alpha-numeric &Grid"));
        QVERIFY(!w.window->dispatcher().isEnabled(CommandId::TouchScreenGrid));
        QVERIFY(!w.window->dispatcher().isEnabled(CommandId::GridConfiguration));
        w.window->command(CommandId::AlphaNumericGrid);
        QCOMPARE(w.window->menus().action(toId(CommandId::AlphaNumericGrid))->text(),
                 QString("Show Alpha-numeric &Grid"));

        // The dot grid of a character display marks every cell corner: 12 x 16 unit pixels at zoom 20.
        w.window->command(CommandId::AlphaNumericGrid);
        const QImage frame = w.canvas().frame();
        QCOMPARE(frame.pixelColor(24, 32), QColor(Qt::black));
        QCOMPARE(frame.pixelColor(25, 32), QColor(Qt::white));
        QCOMPARE(frame.pixelColor(0, 0), QColor(Qt::white));
    }

    void gridConfigurationKeepsSpacingsInRange() {
        Window w;
        w.openModel(500);
        w.window->command(CommandId::Screens);
        onModal([] {
            auto* dialog = qobject_cast<GridConfigurationDialog*>(QApplication::activeModalWidget());
            QVERIFY(dialog != nullptr);
            QCOMPARE(dialog->windowTitle(), QString("Quillon : Grid Configuration"));
            QCOMPARE(dialog->horizontalField()->value(), 8);
            QCOMPARE(dialog->verticalField()->value(), 6);
            // A spacing typed below 2 becomes 2 when the field is left.
            dialog->horizontalField()->setFocus();
            dialog->horizontalField()->selectAll();
            QTest::keyClicks(dialog->horizontalField(), "1");
            dialog->verticalField()->setFocus();
            dialog->snapBox()->setChecked(true);
            dialog->accept();
        });
        w.window->command(CommandId::GridConfiguration);
        QCOMPARE(w.editor().gridConfiguration(), (GridConfiguration{2, 6, true}));
        // Snapping at zoom 20: steps of twice the spacings in window pixels.
        QCOMPARE(w.editor().snapStepX(), 12);
        QCOMPARE(w.editor().snapStepY(), 4);
    }

    void mouseSelectsMovesAndUndoRestores() {
        Window w;
        w.openModel(500);
        w.window->command(CommandId::Screens);
        ScreenObject& low = w.addRectangle(10, 10, 29, 19);
        ScreenObject& high = w.addRectangle(20, 15, 39, 29);
        w.window->command(CommandId::Save);
        QCOMPARE(w.window->lifecycle().state(), ShellState::Saved);

        // Where the two overlap, the later one in the list wins.
        QTest::mouseClick(&w.canvas(), Qt::LeftButton, {}, w.at(25, 17));
        QCOMPARE(w.editor().selection().current(), &high);
        QCOMPARE(w.window->shellStatusBar().message(),
                 QString("Selected 'Rectangle' : Z-Level 3.  Double-click to edit."));
        // Shift adds, Shift again on a selected one removes it.
        QTest::mouseClick(&w.canvas(), Qt::LeftButton, Qt::ShiftModifier, w.at(12, 12));
        QCOMPARE(w.window->shellStatusBar().message(), QString("Selected 2 objects."));
        QTest::mouseClick(&w.canvas(), Qt::LeftButton, Qt::ShiftModifier, w.at(12, 12));
        QCOMPARE(w.editor().selection().size(), std::size_t{1});
        QVERIFY(!w.editor().selection().contains(&low));

        // Drag the selected rectangle 5 unit pixels right and 4 down.
        QTest::mousePress(&w.canvas(), Qt::LeftButton, {}, w.at(30, 20));
        QTest::mouseMove(&w.canvas(), w.at(32, 22));
        QTest::mouseMove(&w.canvas(), w.at(35, 24));
        QTest::mouseRelease(&w.canvas(), Qt::LeftButton, {}, w.at(35, 24));
        QCOMPARE(high.left, 25);
        QCOMPARE(high.top, 19);
        QCOMPARE(high.right, 44);
        QCOMPARE(w.window->lifecycle().state(), ShellState::Modified);
        QVERIFY(w.window->dispatcher().isEnabled(CommandId::Undo));

        w.window->command(CommandId::Undo);
        QCOMPARE(high.left, 20);
        QCOMPARE(high.top, 15);
        QVERIFY(w.window->dispatcher().isEnabled(CommandId::Redo));
        w.window->command(CommandId::Redo);
        QCOMPARE(high.left, 25);

        // Arrow keys move by one unit pixel; Escape clears the selection.
        w.canvas().setFocus();
        QTest::keyClick(&w.canvas(), Qt::Key_Left);
        QCOMPARE(high.left, 24);
        QTest::keyClick(&w.canvas(), Qt::Key_Escape);
        QCOMPARE(w.window->shellStatusBar().message(), QString("No object is selected."));

        // A rubber band round both selects both.
        QTest::mousePress(&w.canvas(), Qt::LeftButton, {}, w.at(2, 2));
        QTest::mouseMove(&w.canvas(), w.at(60, 40));
        QTest::mouseRelease(&w.canvas(), Qt::LeftButton, {}, w.at(60, 40));
        QCOMPARE(w.editor().selection().size(), std::size_t{2});
        w.window->command(CommandId::SelectAll);
        QCOMPARE(w.window->shellStatusBar().message(), QString("Selected 2 objects."));
    }

    void deleteKeyAsksAndUndoBringsTheObjectBack() {
        Window w;
        w.openModel(500);
        w.window->command(CommandId::Screens);
        w.addRectangle(10, 10, 29, 19);
        QTest::mouseClick(&w.canvas(), Qt::LeftButton, {}, w.at(12, 12));
        w.canvas().setFocus();
        w.prompter.script({PromptAnswer::No});
        QTest::keyClick(&w.canvas(), Qt::Key_Delete);
        QCOMPARE(w.screen().objectCount(), std::size_t{1});
        w.prompter.script({PromptAnswer::Yes});
        QTest::keyClick(&w.canvas(), Qt::Key_Delete);
        QCOMPARE(w.screen().objectCount(), std::size_t{0});
        QCOMPARE(w.prompter.texts().back(), std::string("Delete Object ' Rectangle ' ?"));
        QCOMPARE(w.window->shellStatusBar().message(), QString("No object is selected."));
        w.window->command(CommandId::Undo);
        QCOMPARE(w.screen().objectCount(), std::size_t{1});
        QCOMPARE(w.editor().selection().size(), std::size_t{1});
    }

    // The object menu offers Delete as the Delete key does; the title marks the change at once.
    void theObjectMenuDeletesAndTheTitleMarksTheChange() {
        Window w;
        w.openModel(500);
        w.window->command(CommandId::Screens);
        w.addRectangle(10, 10, 29, 19);
        w.window->command(CommandId::Save);
        QCOMPARE(w.window->lifecycle().state(), ShellState::Saved);
        QVERIFY(!w.window->isWindowModified());
        QVERIFY(!w.window->windowTitle().contains('*'));
        QAction* remove = nullptr;
        for (QAction* action : w.session().objectMenu()->actions()) {
            if (action->text() == QString("&Delete")) {
                remove = action;
            }
        }
        QVERIFY(remove != nullptr);
        w.session().showMenu(true, {}, false);
        QVERIFY(!remove->isEnabled());
        QTest::mouseClick(&w.canvas(), Qt::LeftButton, {}, w.at(12, 12));
        QCOMPARE(w.canvas().menuAt(w.at(12, 12)), std::optional(ScreenCanvas::Menu::Object));
        w.session().showMenu(true, {}, false);
        QVERIFY(remove->isEnabled());
        w.prompter.script({PromptAnswer::No});
        remove->trigger();
        QCOMPARE(w.screen().objectCount(), std::size_t{1});
        QVERIFY(!w.window->isWindowModified());
        w.prompter.script({PromptAnswer::Yes});
        remove->trigger();
        QCOMPARE(w.prompter.texts().back(), std::string("Delete Object ' Rectangle ' ?"));
        QCOMPARE(w.screen().objectCount(), std::size_t{0});
        QCOMPARE(w.window->lifecycle().state(), ShellState::Modified);
        QVERIFY(w.window->isWindowModified());
        QVERIFY(w.window->windowTitle().endsWith("[*]"));
        w.window->command(CommandId::Undo);
        QCOMPARE(w.screen().objectCount(), std::size_t{1});
    }

    void characterDisplaysRefuseOverlapAndMoveInCells() {
        Window w;
        w.openModel(40); // 240 x 64, cells of 12 x 16 unit pixels
        w.window->command(CommandId::Screens);
        auto text = [&](int left, int right, const char* content) -> ScreenObject& {
            auto object = ScreenObject::create(static_cast<std::uint8_t>(ObjectKind::Text));
            object->left = left;
            object->right = right;
            object->bottom = 15;
            static_cast<void>(static_cast<TextObject&>(*object).setText(content));
            return **w.screen().appendObject(std::move(object));
        };
        ScreenObject& first = text(0, 47, "ABCD");
        ScreenObject& second = text(72, 119, "EFGH");
        w.canvas().invalidate();

        // Dragged three cells right, the first would cover the second: it keeps its place.
        QTest::mousePress(&w.canvas(), Qt::LeftButton, {}, w.at(6, 8));
        QTest::mouseMove(&w.canvas(), w.at(42, 8));
        QTest::mouseRelease(&w.canvas(), Qt::LeftButton, {}, w.at(42, 8));
        QCOMPARE(first.left, 0);
        QCOMPARE(second.left, 72);
        // Passing one free cell on the way, it stays at the last place that was free; the drag moves by whole
        // cells whatever the pointer's small vertical wobble.
        QTest::mousePress(&w.canvas(), Qt::LeftButton, {}, w.at(6, 8));
        QTest::mouseMove(&w.canvas(), w.at(19, 12));
        QTest::mouseMove(&w.canvas(), w.at(42, 12));
        QTest::mouseRelease(&w.canvas(), Qt::LeftButton, {}, w.at(42, 12));
        QCOMPARE(first.left, 12);
        QCOMPARE(first.right, 59);
        QCOMPARE(first.top, 0);
        // Up to its neighbour with the arrow key, then not into it.
        w.canvas().setFocus();
        QTest::keyClick(&w.canvas(), Qt::Key_Right);
        QCOMPARE(first.left, 24);
        QTest::keyClick(&w.canvas(), Qt::Key_Right);
        QCOMPARE(first.left, 24);
        QTest::keyClick(&w.canvas(), Qt::Key_Down);
        QCOMPARE(first.top, 16);
    }

    void rightClickMenusFollowTheSelection() {
        Window w;
        w.openModel(500);
        w.window->command(CommandId::Screens);
        ScreenObject& one = w.addRectangle(10, 10, 29, 19);
        w.addRectangle(60, 10, 79, 19);
        QCOMPARE(w.canvas().menuAt(w.at(12, 12)), std::optional(ScreenCanvas::Menu::Screen));
        QTest::mouseClick(&w.canvas(), Qt::LeftButton, {}, w.at(12, 12));
        QCOMPARE(w.editor().selection().current(), &one);
        QCOMPARE(w.canvas().menuAt(w.at(12, 12)), std::optional(ScreenCanvas::Menu::Object));
        QCOMPARE(w.canvas().menuAt(w.at(100, 50)), std::optional(ScreenCanvas::Menu::Screen));
        w.window->command(CommandId::SelectAll);
        QCOMPARE(w.canvas().menuAt(w.at(12, 12)), std::nullopt);

        // The screen menu offers what the dispatch allows.
        w.session().showMenu(false, {}, false);
        for (QAction* action : w.session().screenMenu()->actions()) {
            const auto id = static_cast<std::uint16_t>(action->data().toUInt());
            QCOMPARE(action->isEnabled(), w.window->dispatcher().isEnabled(id));
        }
        QCOMPARE(w.session().screenMenu()->actions().first()->text(), QString("Past&e Object(s)"));
    }

    // The keyboard's menu key shows the canvas's menu while a session is open, not the main window's.
    void theMenuKeyShowsTheCanvasMenu() {
        Window w;
        w.openModel(500);
        w.window->command(CommandId::Screens);
        w.window->show();
        QVERIFY(QTest::qWaitForWindowExposed(w.window.get()));
        w.window->activateWindow();
        w.canvas().setFocus();
        QTRY_VERIFY(QApplication::focusWidget() == &w.canvas());
        QMenu* screenMenu = w.session().screenMenu();
        bool shown = false;
        bool mainMenuShown = true;
        QTimer::singleShot(0, [&] {
            QTRY_VERIFY_WITH_TIMEOUT(screenMenu->isVisible(), 3000);
            shown = true;
            mainMenuShown = w.window->menus().rightClickMenu()->isVisible();
            screenMenu->close();
        });
        QTest::keyClick(w.window->windowHandle(), Qt::Key_Menu);
        QTRY_VERIFY_WITH_TIMEOUT(!screenMenu->isVisible(), 3000);
        QVERIFY(shown);
        QVERIFY(!mainMenuShown);
    }

    void canvasShowsTheScreenAndTheHandles() {
        Window w;
        w.openModel(500);
        w.window->command(CommandId::Screens);
        w.addRectangle(10, 0, 19, 7);
        // Zoom 20: unit 10..19 x 0..7 covers window pixels 20..39 x 0..15; the outline is black.
        QImage frame = w.canvas().frame();
        QCOMPARE(frame.pixelColor(20, 0), QColor(Qt::black));
        QCOMPARE(frame.pixelColor(39, 15), QColor(Qt::black));
        QCOMPARE(frame.pixelColor(40, 15), QColor(Qt::white));
        QCOMPARE(frame.pixelColor(30, 8), QColor(Qt::white));

        // A selected object shows its handles in dark red drawn not-xor: dark red on white, its inverse
        // (127, 255, 255) over the black outline; handle 2 is centred at x 29 on the top edge.
        QTest::mouseClick(&w.canvas(), Qt::LeftButton, {}, w.at(12, 3));
        frame = w.canvas().frame();
        QCOMPARE(frame.pixelColor(29, 2), QColor(128, 0, 0));
        QCOMPARE(frame.pixelColor(29, 0), QColor(127, 255, 255));
        QCOMPARE(frame.pixelColor(32, 2), QColor(Qt::white));
    }

    void aDamagedPanelFontIsReportedAndTheBuiltInOneUsed() {
        QTemporaryDir dir;
        QDir(dir.path()).mkpath("fonts");
        std::ofstream(dir.filePath(MainWindow::kPanelFontFile).toStdString())
            << "quillon-panel-font 1\nchar 65\n#\n";
        FakeDocuments docs;
        RecordingPrompter prompter;
        ShellOptions options;
        options.startDirectory = dir.path().toStdString();
        options.showSplash = false;
        options.maximised = false;
        MainWindow window(ShellServices{&docs, &prompter}, options);
        window.startUp();
        QCOMPARE(prompter.prompts().size(), std::size_t{1});
        const std::string shown = prompter.texts().front();
        QVERIFY(shown.starts_with("Can not load the panel font"));
        QVERIFY(shown.ends_with("The built-in panel font is used."));
        QCOMPARE(&window.panelFont(), &PanelFont::builtIn());
    }

    void minimisingClosesTheSessionAndRestoringReopensIt() {
        Window w;
        w.openModel(500, 2);
        w.window->command(CommandId::Screens);
        w.session().minimised();
        QVERIFY(!w.session().isOpen());
        QVERIFY(w.session().closedByMinimise());
        w.session().restored();
        QVERIFY(w.session().isOpen());
        QCOMPARE(w.screen().number(), std::uint32_t{1});
        // The session opens again on the screen it showed last.
        QVERIFY(w.editor().changeScreen(*w.docs.application()->findScreen(2)));
        w.window->command(CommandId::CloseScreenSession);
        w.window->command(CommandId::Screens);
        QCOMPARE(w.screen().number(), std::uint32_t{2});
    }
};

QTEST_MAIN(ScreenSessionTest)
#include "ScreenSessionTest.moc"
