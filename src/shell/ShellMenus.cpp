#include "shell/ShellMenus.h"

#include "ui/CommandId.h"
#include "ui/CommandTexts.h"

#include <QAction>
#include <QKeySequence>
#include <QMenu>
#include <QMenuBar>
#include <QWidget>

namespace quillon::gui {
namespace {

constexpr std::uint16_t kSeparator = 0;

// The keys users bring from other programs, added to the unit's own accelerators.
QList<QKeySequence> habitKeys(std::uint16_t id) {
    switch (static_cast<CommandId>(id)) {
    case CommandId::New:
        return {QKeySequence(Qt::CTRL | Qt::Key_N)};
    case CommandId::Open:
        return {QKeySequence(Qt::CTRL | Qt::Key_O)};
    case CommandId::Save:
        return {QKeySequence(Qt::CTRL | Qt::Key_S)};
    case CommandId::SaveAs:
        return {QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_S)};
    case CommandId::Redo:
        return {QKeySequence(Qt::CTRL | Qt::Key_Y), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z)};
    default:
        return {};
    }
}

} // namespace

ShellMenus::ShellMenus(QMenuBar* bar, QWidget* shortcutOwner)
    : QObject(bar), bar_(bar), shortcutOwner_(shortcutOwner) {
    const std::array<const char*, kPopupCount> titles{"&File",   "&Define",  "&Communicate", "&Utilities",
                                                      "&Screen", "&Objects", "&Tools",       "&Help"};
    for (std::size_t i = 0; i < kPopupCount; ++i) {
        popups_[i] = new QMenu(QString::fromLatin1(titles[i]), bar_);
        popups_[i]->setObjectName(QString::fromLatin1(titles[i]).remove('&'));
        bar_->addMenu(popups_[i]);
    }

    fill(popup(Popup::File), {{451, "&New...", nullptr},
                              {452, "&Open...", nullptr},
                              {902, "Clos&e\tCtrl+F4", "Ctrl+F4"},
                              {kSeparator, nullptr, nullptr},
                              {454, "&Save\tF2", "F2"},
                              {903, "Save &as...", nullptr},
                              {kSeparator, nullptr, nullptr},
                              {931, "&Information...", nullptr},
                              {904, "Prin&t", nullptr},
                              {933, "Co&mpare With...", nullptr},
                              {kSeparator, nullptr, nullptr},
                              {216, "E&xit\tAlt+F4", "Alt+F4"}});
    fill(popup(Popup::Define), {{475, "&VQ5K Settings...\tF3", "F3"},
                                {450, "&Network Configuration...\tF4", "F4"},
                                {456, "&Tag database...\tF5", "F5"},
                                {457, "&Screens...\tF6", "F6"},
                                {458, "Application &Keys...\tF7", "F7"},
                                {459, "&Alarms...\tF8", "F8"},
                                {460, "Appli&cation Tasklists...\tF9", "F9"},
                                {455, "&Logger...\tCtrl+F3", "Ctrl+F3"}});
    fill(popup(Popup::Communicate), {{921, "Communication &Port...", nullptr},
                                     {kSeparator, nullptr, nullptr},
                                     {477, "&Download...", nullptr},
                                     {453, "&Upload...", nullptr},
                                     {923, "&Compare with...", nullptr}});
    fill(popup(Popup::Utilities), {{905, "Add or Remove PL&Cs...", nullptr},
                                   {924, "&Quillon memory configuration...", nullptr},
                                   {925, "Other Uti&lities...", nullptr},
                                   {kSeparator, nullptr, nullptr},
                                   {941, "S&imulate...", nullptr}});
    fill(popup(Popup::Screen), {{129, "&New...", nullptr},
                                {122, "Du&plicate...", nullptr},
                                {130, "&Screen Information...", nullptr},
                                {121, "&Delete...", nullptr},
                                {120, "Initi&alize", nullptr},
                                {kSeparator, nullptr, nullptr},
                                {152, "&View All Screens...", nullptr},
                                {144, "Se&lect Screen ...", nullptr},
                                {kSeparator, nullptr, nullptr},
                                {116, "&Keys for Screen... ", nullptr},
                                {171, "&Task-lists of Screen...", nullptr},
                                {kSeparator, nullptr, nullptr},
                                {172, "Zoom &In", nullptr},
                                {173, "Zoom &Out", nullptr},
                                {943, "Zoom to &Fit", nullptr},
                                {128, "Show Alpha-numeric &Grid", nullptr},
                                {127, "Show Touch-screen G&rid", nullptr},
                                {918, "Grid Configuration", nullptr},
                                {143, "&Character Set", nullptr},
                                {kSeparator, nullptr, nullptr},
                                {914, "Hide Screen &Menu", nullptr},
                                {917, "Clos&e Screens session", nullptr}});

    QMenu* objects = popup(Popup::Objects);
    fill(objects, {{212, "&Selecter", nullptr}, {kSeparator, nullptr, nullptr}});
    fill(objects->addMenu(tr("Alpha-&numeric Objects")), {{101, "&Text", nullptr},
                                                          {208, "&Data Entry", nullptr},
                                                          {197, "Display &PLC Data", nullptr},
                                                          {158, "&Bargraph", nullptr},
                                                          {179, "&Alarm", nullptr}});
    fill(objects->addMenu(tr("&Graphic Objects")), {{108, "&Rectangle", nullptr},
                                                    {109, "&Ellipse", nullptr},
                                                    {112, "R&ound Rectangle", nullptr},
                                                    {110, "Poly&line", nullptr},
                                                    {111, "Poly&gon", nullptr},
                                                    {113, "&Bitmap", nullptr},
                                                    {157, "B&argraph", nullptr},
                                                    {202, "&Touch-screen", nullptr}});
    fill(objects, {{kSeparator, nullptr, nullptr}, {211, "&Animation Properties", nullptr}});
    fill(objects->addMenu(tr("Font")),
         {{906, "&5 x 7", nullptr}, {907, "&10 x 14", nullptr}, {908, "&20 x 28", nullptr}});
    fill(objects->addMenu(tr("Line Thickness")), {{909, "&1 pixel", nullptr}, {910, "&2 pixels", nullptr}});
    fill(objects->addMenu(tr("Color")), {{305, "&Pen ...", nullptr},
                                         {308, "Fi&ll ...", nullptr},
                                         {321, "Text &Background ...", nullptr},
                                         {324, "Text &Foreground ...", nullptr}});
    fill(objects->addMenu(tr("Border")), {{317, "&Single", nullptr}, {319, "&Double", nullptr}});
    fill(objects, {{103, "Flas&h", nullptr}});
    fill(objects->addMenu(tr("Speed")),
         {{911, "Slow", nullptr}, {912, "Medium", nullptr}, {913, "Fast", nullptr}});
    fill(objects, {{kSeparator, nullptr, nullptr}, {915, "Hide O&bjects Menu", nullptr}});

    fill(popup(Popup::Tools), {{337, "U&ndo\tCtrl+Z", "Ctrl+Z"},
                               {339, "Re&do", nullptr},
                               {kSeparator, nullptr, nullptr},
                               {190, "&Select All\tCtrl+A", "Ctrl+A"},
                               {154, "&Cut\tCtrl+X", "Ctrl+X"},
                               {155, "C&opy\tCtrl+C", "Ctrl+C"},
                               {156, "&Paste\tCtrl+V", "Ctrl+V"},
                               {944, "Add to Librar&y...", nullptr},
                               {945, "Insert fro&m Library...", nullptr},
                               {kSeparator, nullptr, nullptr},
                               {210, "&Edit", nullptr},
                               {232, "Send Bac&k", nullptr},
                               {233, "Bring &Front", nullptr},
                               {341, "&Group", nullptr},
                               {343, "&Ungroup", nullptr},
                               {115, "Right Rot&ate", nullptr},
                               {kSeparator, nullptr, nullptr},
                               {191, "&Top Alignemnt", nullptr},
                               {192, "&Bottom Alignment", nullptr},
                               {193, "&Right Alignment", nullptr},
                               {194, "&Left Alignment", nullptr},
                               {195, "Middle &Vertical Alignment", nullptr},
                               {196, "Middle &Horizontal Alignment", nullptr},
                               {kSeparator, nullptr, nullptr},
                               {916, "H&ide Tools", nullptr}});
    fill(popup(Popup::Help), {{461, "&Index        F1", nullptr},
                              {942, "&Examples...", nullptr},
                              {926, "&About Quillon...", nullptr}});

    rightClick_ = new QMenu(shortcutOwner_);
    rightClick_->setObjectName("RB_ORVIK");
    fill(rightClick_,
         {{451, "&New...", nullptr},
          {452, "&Open...", nullptr},
          {453, "&Upload...", nullptr},
          {477, "&Download...", nullptr},
          {kSeparator, nullptr, nullptr},
          {475, "&VQ5K Settings...", nullptr},
          {450, "Net&work Configuration...", nullptr},
          {456, "&Tag database...", nullptr},
          {457, "&Screens...", nullptr},
          {458, "Application &Keys...", nullptr},
          {459, "&Alarms...", nullptr},
          {460, "Appli&cation Tasklists...", nullptr},
          {455, "&Logger...", nullptr}},
         false);

    // At start the bar shows File, Communicate, Utilities and Help.
    showPopup(Popup::Tools, false);
    showPopup(Popup::Objects, false);
    showPopup(Popup::Screen, false);
    showPopup(Popup::Define, false);
}

QAction* ShellMenus::addEntry(QMenu* menu, const Entry& entry, bool inBar) {
    if (entry.id == kSeparator) {
        menu->addSeparator();
        return nullptr;
    }
    QAction* action = menu->addAction(QString::fromLatin1(entry.text));
    action->setData(entry.id);
    action->setEnabled(false);
    if (const auto text = commandText(entry.id); text && !text->statusText.empty()) {
        action->setStatusTip(
            QString::fromLatin1(text->statusText.data(), static_cast<qsizetype>(text->statusText.size())));
    }
    const std::uint16_t id = entry.id;
    connect(action, &QAction::triggered, this, [this, id] { emit command(id); });
    if (inBar) {
        QList<QKeySequence> keys;
        if (entry.shortcut != nullptr) {
            keys.append(QKeySequence(QString::fromLatin1(entry.shortcut)));
        }
        keys.append(habitKeys(id));
        if (!keys.isEmpty()) {
            action->setShortcuts(keys);
            action->setShortcutContext(Qt::WindowShortcut);
            // The accelerators work whether or not their pop-up stands in the bar.
            shortcutOwner_->addAction(action);
        }
        actions_.emplace(id, action);
    } else {
        rightClickActions_[id] = action;
    }
    return action;
}

void ShellMenus::fill(QMenu* menu, std::initializer_list<Entry> entries, bool inBar) {
    for (const Entry& entry : entries) {
        addEntry(menu, entry, inBar);
    }
}

void ShellMenus::showPopup(Popup which, bool shown) {
    QAction* menuAction = popup(which)->menuAction();
    const bool present = bar_->actions().contains(menuAction);
    if (shown == present) {
        return;
    }
    if (!shown) {
        bar_->removeAction(menuAction);
        return;
    }
    // Insert before the first pop-up that comes later in the full order and is in the bar.
    QAction* before = nullptr;
    for (std::size_t i = static_cast<std::size_t>(which) + 1; i < kPopupCount && before == nullptr; ++i) {
        QAction* candidate = popups_[i]->menuAction();
        if (bar_->actions().contains(candidate)) {
            before = candidate;
        }
    }
    bar_->insertAction(before, menuAction);
}

QStringList ShellMenus::barTitles() const {
    QStringList titles;
    for (const QAction* action : bar_->actions()) {
        titles << action->text();
    }
    return titles;
}

bool ShellMenus::isShown(Popup which) const {
    return bar_->actions().contains(popup(which)->menuAction());
}

void ShellMenus::setDefineShown(bool shown) {
    showPopup(Popup::Define, shown);
}

void ShellMenus::setSessionShown(bool shown) {
    showPopup(Popup::Screen, shown);
    showPopup(Popup::Objects, shown);
    showPopup(Popup::Tools, shown);
}

QAction* ShellMenus::action(std::uint16_t id) const {
    const auto it = actions_.find(id);
    return it == actions_.end() ? nullptr : it->second;
}

QAction* ShellMenus::rightClickAction(std::uint16_t id) const {
    const auto it = rightClickActions_.find(id);
    return it == rightClickActions_.end() ? nullptr : it->second;
}

void ShellMenus::setRecentFiles(const std::vector<std::string>& files) {
    QMenu* file = popup(Popup::File);
    for (QAction* old : recent_) {
        file->removeAction(old);
        old->deleteLater();
    }
    recent_.clear();
    if (files.empty()) {
        return;
    }
    QAction* exit = action(toId(CommandId::Exit));
    int number = 0;
    for (const std::string& name : files) {
        ++number;
        const QString path = QString::fromStdString(name);
        // The number is the entry's mnemonic; an ampersand in the path is shown as it is.
        auto* entry =
            new QAction(QStringLiteral("&%1 %2").arg(number).arg(QString(path).replace('&', "&&")), file);
        entry->setData(path);
        entry->setStatusTip(QStringLiteral("Opens %1").arg(path));
        entry->setEnabled(openEnabled_);
        connect(entry, &QAction::triggered, this, [this, path] { emit recentFileChosen(path); });
        file->insertAction(exit, entry);
        recent_.append(entry);
    }
    recent_.append(file->insertSeparator(exit));
}

void ShellMenus::refresh(const std::function<bool(std::uint16_t id)>& enabled) {
    openEnabled_ = enabled(toId(CommandId::Open));
    for (QAction* entry : recent_) {
        entry->setEnabled(openEnabled_);
    }
    for (const auto& [id, action] : actions_) {
        action->setEnabled(enabled(id));
    }
    for (const auto& [id, action] : rightClickActions_) {
        action->setEnabled(enabled(id));
    }
}

} // namespace quillon::gui
