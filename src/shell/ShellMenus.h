#pragma once

#include "ui/MenuHost.h"

#include <array>
#include <cstdint>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include <QObject>
#include <QStringList>

class QAction;
class QMenu;
class QMenuBar;
class QWidget;

namespace quillon::gui {

// The menu bar with its seven pop-ups and Help, and the right-click menu of the main window. Every
// entry carries its command id; triggering one emits `command`. Which pop-ups stand in the bar follows
// the shell: Define only while an application is open, Screen, Objects and Tools only during a screen
// session.
class ShellMenus final : public QObject, public MenuHost {
    Q_OBJECT
public:
    enum class Popup { File, Define, Communicate, Utilities, Screen, Objects, Tools, Help };
    static constexpr std::size_t kPopupCount = 8;

    ShellMenus(QMenuBar* bar, QWidget* shortcutOwner);

    QMenu* popup(Popup which) const { return popups_.at(static_cast<std::size_t>(which)); }
    // `RB_ORVIK`
    QMenu* rightClickMenu() const noexcept { return rightClick_; }
    // The bar's pop-up titles in order, as shown.
    QStringList barTitles() const;
    bool isShown(Popup which) const;

    void setDefineShown(bool shown);
    void setSessionShown(bool shown) override;

    // The menu-bar entry of a command id (nullptr when the bar has none).
    QAction* action(std::uint16_t id) const override;
    // The right-click entry of a command id (nullptr when that menu has none).
    QAction* rightClickAction(std::uint16_t id) const;
    // Every menu-bar entry with its id, in the order built.
    const std::multimap<std::uint16_t, QAction*>& actions() const noexcept { return actions_; }

    // The recent application files, newest first, as numbered entries of the File menu above Exit.
    // They are live whenever Open is.
    void setRecentFiles(const std::vector<std::string>& files);
    const QList<QAction*>& recentActions() const noexcept { return recent_; }

    // Enables each entry that `enabled` allows.
    void refresh(const std::function<bool(std::uint16_t id)>& enabled) override;

signals:
    void command(std::uint16_t id);
    // A recent file's entry was chosen.
    void recentFileChosen(const QString& file);

private:
    struct Entry {
        std::uint16_t id; // 0: separator
        const char* text;
        const char* shortcut;
    };

    QAction* addEntry(QMenu* menu, const Entry& entry, bool inBar);
    void fill(QMenu* menu, std::initializer_list<Entry> entries, bool inBar = true);
    void showPopup(Popup which, bool shown);

    QMenuBar* bar_;
    QWidget* shortcutOwner_;
    std::array<QMenu*, kPopupCount> popups_{};
    QMenu* rightClick_ = nullptr;
    std::multimap<std::uint16_t, QAction*> actions_;
    std::map<std::uint16_t, QAction*> rightClickActions_;
    QList<QAction*> recent_; // the entries and the separator after them
    bool openEnabled_ = false;
};

} // namespace quillon::gui
