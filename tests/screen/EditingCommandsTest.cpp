// The editing commands in the window: enabled by the selection as the core decides, reached from the
// menus, the right-button menus and the objects bar's boxes, the colour dialog, and the clipboard carried
// from one application to the next opened.

#include "edit/screen/EditorSession.h"
#include "model/Application.h"
#include "model/Screen.h"
#include "model/TextObject.h"
#include "screen/ColourDialog.h"
#include "screen/ScreenCanvas.h"
#include "screen/ScreenSession.h"
#include "shell/ShellMenus.h"
#include "support/ModalStep.h"
#include "support/ShellWindow.h"
#include "ui/CommandId.h"
#include "ui/ShellStatusBar.h"

#include <QAction>
#include <QComboBox>
#include <QMenu>
#include <QTest>
#include <QToolBar>
#include <QToolButton>

using namespace quillon;
using namespace quillon::gui;
using namespace quillon::gui::testing;

namespace {

struct Window : ModelWindow {
    Window() : ModelWindow({}, QSize(1024, 768)) {}

    void openModel(std::uint16_t modelId, const char* name = "model.ovm") {
        RecordingPrompter quiet;
        QVERIFY(docs.create(modelId, quiet));
        docs.application()->unitSettings().touchScreen = 1;
        QVERIFY(docs.application()->addScreen(std::make_unique<Screen>(1)));
        QVERIFY(docs.prepareForWrite(quiet));
        const std::filesystem::path file = dir.filePath(name).toStdString();
        QVERIFY(docs.write(file, quiet));
        docs.close();
        files.answers = {file};
        window->command(CommandId::Open);
        QVERIFY(window->lifecycle().isOpen());
        window->command(CommandId::Screens);
        QVERIFY(session().isOpen());
    }
    ScreenSession& session() const { return window->screenSession(); }
    EditorSession& editor() const { return *session().editor(); }
    Screen& screen() const { return *editor().screen(); }
    ScreenObject& add(ObjectKind kind, int left, int top, int right, int bottom) {
        auto object = ScreenObject::create(static_cast<std::uint8_t>(kind));
        object->left = left;
        object->top = top;
        object->right = right;
        object->bottom = bottom;
        ScreenObject& added = **screen().appendObject(std::move(object));
        session().canvas()->invalidate();
        return added;
    }
    // The menu entry's state; the scroll command has only its tool-bar button.
    bool enabled(CommandId id) const {
        const QAction* entry = window->menus().action(toId(id));
        return entry != nullptr ? entry->isEnabled() : window->dispatcher().isEnabled(id);
    }
    void refresh() { session().refresh(); }
};

QAction* menuEntry(QMenu* menu, CommandId id) {
    for (QAction* action : menu->actions()) {
        if (action->data().toUInt() == toId(id)) {
            return action;
        }
    }
    return nullptr;
}

} // namespace

class EditingCommandsTest : public QObject {
    Q_OBJECT
private slots:
    void theToolsMenuFollowsTheSelection() {
        Window w;
        w.openModel(510);
        ScreenObject& a = w.add(ObjectKind::Rectangle, 10, 10, 30, 20);
        ScreenObject& b = w.add(ObjectKind::Ellipse, 50, 30, 70, 50);
        w.refresh();
        QVERIFY(!w.enabled(CommandId::Cut));
        QVERIFY(!w.enabled(CommandId::Paste));
        QVERIFY(!w.enabled(CommandId::Group));
        w.editor().selectOnly(a);
        w.refresh();
        QVERIFY(w.enabled(CommandId::Cut));
        QVERIFY(w.enabled(CommandId::RightRotate));
        QVERIFY(!w.enabled(CommandId::Group));
        QVERIFY(!w.enabled(CommandId::AlignTop));
        w.window->command(CommandId::SelectAll);
        QVERIFY(w.enabled(CommandId::Group));
        QVERIFY(w.enabled(CommandId::AlignMiddleHorizontal));
        QVERIFY(!w.enabled(CommandId::Ungroup));
        QVERIFY(!w.enabled(CommandId::RightRotate));
        w.window->command(CommandId::Group);
        QCOMPARE(a.groupNext(), &b);
        QVERIFY(!w.enabled(CommandId::Group));
        QVERIFY(w.enabled(CommandId::Ungroup));
        w.window->command(CommandId::Copy);
        QVERIFY(w.enabled(CommandId::Paste));
        w.window->command(CommandId::Paste);
        QCOMPARE(w.screen().objectCount(), std::size_t{4});
        QCOMPARE(w.window->shellStatusBar().message(), QString("Selected Group : Z-Level 3."));
        QVERIFY(w.enabled(CommandId::Undo));
        w.window->command(CommandId::Undo);
        QCOMPARE(w.screen().objectCount(), std::size_t{2});
        QVERIFY(w.enabled(CommandId::Redo));
        w.window->command(CommandId::Redo);
        QCOMPARE(w.screen().objectCount(), std::size_t{4});
        // The tool bar's buttons are enabled as the menu's entries are.
        auto* tools = w.window->findChild<QToolBar*>("tools");
        QVERIFY(tools != nullptr);
        for (QAction* action : tools->actions()) {
            if (!action->isSeparator()) {
                const auto id = static_cast<std::uint16_t>(action->data().toUInt());
                QCOMPARE(action->isEnabled(), w.window->menus().action(id)->isEnabled());
            }
        }
    }

    void theRightButtonMenusOfferWhatTheSelectionAllows() {
        Window w;
        w.openModel(510);
        ScreenObject& touch = w.add(ObjectKind::TouchArea, 0, 0, 14, 17);
        ScreenObject& low = w.add(ObjectKind::Rectangle, 40, 40, 60, 60);
        low.zLevel = 1;
        w.editor().selectOnly(touch);
        w.session().showMenu(true, QPoint(), false);
        QVERIFY(menuEntry(w.session().objectMenu(), CommandId::Cut)->isEnabled());
        QVERIFY(!menuEntry(w.session().objectMenu(), CommandId::SendBack)->isEnabled());
        QVERIFY(!menuEntry(w.session().objectMenu(), CommandId::BringFront)->isEnabled());
        w.editor().selectOnly(low);
        w.session().showMenu(true, QPoint(), false);
        QVERIFY(!menuEntry(w.session().objectMenu(), CommandId::SendBack)->isEnabled()); // at level 1
        QVERIFY(menuEntry(w.session().objectMenu(), CommandId::BringFront)->isEnabled());
        menuEntry(w.session().objectMenu(), CommandId::BringFront)->trigger();
        QTRY_COMPARE(low.zLevel, std::uint8_t{2});
        w.window->command(CommandId::Copy);
        w.window->command(CommandId::Cut);
        QCOMPARE(w.screen().objectCount(), std::size_t{1});
        w.session().showMenu(false, QPoint(), false);
        QAction* paste = menuEntry(w.session().screenMenu(), CommandId::Paste);
        QVERIFY(paste->isEnabled());
        paste->trigger();
        QTRY_COMPARE(w.screen().objectCount(), std::size_t{2});
        QCOMPARE(w.screen().objects().front()->left, 40); // cut keeps the place; level 2 comes first
    }

    void theColourDialogGivesItsButtonsValue() {
        Window w;
        w.openModel(510);
        ScreenObject& rect = w.add(ObjectKind::Rectangle, 10, 10, 30, 20);
        w.editor().selectOnly(rect);
        w.refresh();
        onModal([] {
            auto* dialog = qobject_cast<ColourDialog*>(QApplication::activeModalWidget());
            QVERIFY(dialog != nullptr);
            QCOMPARE(dialog->windowTitle(), QString("Fill"));
            QCOMPARE(dialog->objectName(), QString("BRUSH"));
            QVERIFY(dialog->button(5)->isChecked()); // white, the fill of a new rectangle
            QVERIFY(!dialog->button(3)->isChecked());
            dialog->button(3)->click();
        });
        w.window->command(CommandId::FillColor);
        QCOMPARE(rect.colourA, std::uint8_t{60});
        onModal([] {
            auto* dialog = qobject_cast<ColourDialog*>(QApplication::activeModalWidget());
            QVERIFY(dialog != nullptr);
            QCOMPARE(dialog->windowTitle(), QString("Pen"));
            QVERIFY(dialog->button(0)->isChecked());
            QTest::keyClick(dialog, Qt::Key_Escape);
        });
        w.window->command(CommandId::PenColor);
        QCOMPARE(rect.colourB, std::uint8_t{0});
        // A pen's grey buttons give black or white.
        onModal([] {
            auto* dialog = qobject_cast<ColourDialog*>(QApplication::activeModalWidget());
            QVERIFY(dialog != nullptr);
            dialog->button(4)->click();
        });
        w.window->command(CommandId::PenColor);
        QCOMPARE(rect.colourB, std::uint8_t{100});
        QVERIFY(!w.enabled(CommandId::TextForeground)); // a rectangle has no text colours
    }

    void theObjectsBarBoxesAndChecksFollowTheAttributes() {
        Window w;
        w.openModel(510);
        auto& text = static_cast<TextObject&>(w.add(ObjectKind::Text, 0, 0, 17, 7));
        QVERIFY(text.setText("abc"));
        w.editor().selectOnly(text);
        w.refresh();
        auto* font = w.window->findChild<QComboBox*>("fontSize");
        auto* speed = w.window->findChild<QComboBox*>("speed");
        QVERIFY(font != nullptr && speed != nullptr);
        QCOMPARE(font->count(), 3);
        font->setCurrentIndex(1);
        emit font->activated(1);
        QTRY_COMPARE(text.font, std::uint8_t{1});
        QCOMPARE(text.right, 35); // three 12-pixel cells
        w.window->command(CommandId::Flash);
        QCOMPARE(text.flash, std::uint8_t{128});
        QVERIFY(w.window->menus().action(toId(CommandId::Flash))->isChecked());
        QVERIFY(!w.enabled(CommandId::Scroll));
        emit speed->activated(2);
        QTRY_COMPARE(text.flash, std::uint8_t{130});
        QCOMPARE(speed->currentIndex(), 2);
        QVERIFY(w.window->menus().action(toId(CommandId::SpeedFast))->isChecked());
        w.window->command(CommandId::BorderDouble);
        QCOMPARE(text.border, std::uint8_t{2});
        QVERIFY(w.window->menus().action(toId(CommandId::BorderDouble))->isChecked());
        w.window->command(CommandId::Undo);
        QCOMPARE(text.border, std::uint8_t{0});
        QVERIFY(!w.window->menus().action(toId(CommandId::BorderDouble))->isChecked());
    }

    void characterDisplaysOfferOnlyTheirAttributes() {
        Window w;
        w.openModel(40);
        auto* font = w.window->findChild<QComboBox*>("fontSize");
        QVERIFY(font != nullptr);
        QCOMPARE(font->count(), 1);
        QVERIFY(w.window->findChild<QComboBox*>("lineThickness") == nullptr);
        w.window->command(CommandId::PlaceText);
        QVERIFY(!w.enabled(CommandId::Font10x14));
        QVERIFY(!w.enabled(CommandId::BorderSingle));
        QVERIFY(w.enabled(CommandId::Flash));
        QVERIFY(w.enabled(CommandId::Scroll));
    }

    void cutObjectsReachTheNextApplication() {
        Window w;
        w.openModel(510, "first.ovm");
        ScreenObject& rect = w.add(ObjectKind::Rectangle, 10, 10, 30, 20);
        w.editor().selectOnly(rect);
        w.window->command(CommandId::Cut);
        w.prompter.script({PromptAnswer::No});
        QVERIFY(w.life().closeWithPrompt());
        w.openModel(510, "second.ovm");
        QVERIFY(w.enabled(CommandId::Paste));
        w.window->command(CommandId::Paste);
        QCOMPARE(w.screen().objectCount(), std::size_t{1});
        QCOMPARE(w.screen().objects().front()->left, 10);
    }
};

QTEST_MAIN(EditingCommandsTest)
#include "EditingCommandsTest.moc"
