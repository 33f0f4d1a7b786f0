#pragma once

#include <cstdint>
#include <functional>
#include <span>

#include <QObject>
#include <QPointer>

class QComboBox;
class QDialog;
class QToolBar;
class QWidget;

namespace quillon {
class EditorSession;
class Prompter;
} // namespace quillon

namespace quillon::gui {

class CommandDispatcher;
class MenuHost;

// What the editing commands need of the screen session.
struct EditingHost {
    CommandDispatcher* dispatcher = nullptr;
    MenuHost* menus = nullptr;
    Prompter* prompter = nullptr;
    QWidget* dialogParent = nullptr;
    std::function<int(QDialog&)> runDialog;
    // The editor while the session shows a screen; nullptr otherwise.
    std::function<EditorSession*()> editor;
    // The screen changed: repaint, captions, menu states.
    std::function<void()> changed;
    // Posts a command to the main window's dispatch (the boxes of the Properties bar send theirs so).
    std::function<void(std::uint16_t id)> command;
};

// The commands of the "&Tools" menu and the attribute commands of the "&Objects" menu, with their tool-bar
// buttons and the font, line thickness and speed boxes of the "Properties" bar: cut, copy, paste, send back,
// bring front, group, ungroup, right rotate, the six alignments, fonts, line thickness, pen, fill, text
// colours, borders, flash, scroll and speeds. Each is enabled by the core's rules and runs the core's
// command; the menus, tool bars, accelerators and right-button menus all reach them through the dispatch.
class EditingCommands final : public QObject {
    Q_OBJECT
public:
    explicit EditingCommands(EditingHost host, QObject* parent = nullptr);

    void registerCommands();
    // The attribute buttons and the three boxes on a bar of the session.
    void addAttributeControls(QToolBar& bar, bool characterDisplay);
    // Checked menu entries and the boxes follow the current attributes.
    void refresh();

    static std::span<const std::uint16_t> attributeCommands() noexcept;

private:
    void registerCommand(std::uint16_t id, std::function<bool(EditorSession&)> run,
                         std::function<bool(const EditorSession&)> enabled);
    void chooseColour(EditorSession& editor, std::uint16_t id);

    EditingHost host_;
    // The boxes go with their tool bar.
    QPointer<QComboBox> font_;
    QPointer<QComboBox> thickness_;
    QPointer<QComboBox> speed_;
    bool updating_ = false;
};

} // namespace quillon::gui
