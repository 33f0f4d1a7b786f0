#include "screen/EditingCommands.h"

#include "edit/screen/AttributeCommands.h"
#include "edit/screen/EditorSession.h"
#include "edit/screen/ObjectEditing.h"
#include "screen/ColourDialog.h"
#include "screen/SessionIcons.h"
#include "ui/CommandDispatcher.h"
#include "ui/CommandId.h"
#include "ui/CommandTexts.h"
#include "ui/MenuHost.h"

#include <array>

#include <QAction>
#include <QComboBox>
#include <QToolBar>

namespace quillon::gui {
namespace {

using A = AttributeCommands;

constexpr std::array<std::uint16_t, 16> kAttributeCommands{
    A::kFont5x7, A::kFont10x14,      A::kFont20x28,      A::kLine1Pixel,   A::kLine2Pixels,  A::kPen,
    A::kFill,    A::kTextBackground, A::kTextForeground, A::kBorderSingle, A::kBorderDouble, A::kFlash,
    A::kScroll,  A::kSpeedSlow,      A::kSpeedMedium,    A::kSpeedFast};

// The commands whose menu entry and button show the current value by a check.
constexpr std::array<std::uint16_t, 11> kCheckedCommands{
    A::kFont5x7,      A::kFont10x14, A::kFont20x28, A::kLine1Pixel,  A::kLine2Pixels, A::kBorderSingle,
    A::kBorderDouble, A::kFlash,     A::kSpeedSlow, A::kSpeedMedium, A::kSpeedFast};

bool isColour(std::uint16_t id) noexcept {
    return id == A::kPen || id == A::kFill || id == A::kTextBackground || id == A::kTextForeground;
}

QString fromView(std::string_view text) {
    return QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size()));
}

} // namespace

EditingCommands::EditingCommands(EditingHost host, QObject* parent)
    : QObject(parent), host_(std::move(host)) {}

std::span<const std::uint16_t> EditingCommands::attributeCommands() noexcept {
    return kAttributeCommands;
}

void EditingCommands::registerCommand(std::uint16_t id, std::function<bool(EditorSession&)> run,
                                      std::function<bool(const EditorSession&)> enabled) {
    host_.dispatcher->registerCommand(
        id, EnableRule::WithApplication,
        [this, run = std::move(run)] {
            if (EditorSession* editor = host_.editor()) {
                (void)run(*editor);
                host_.changed();
            }
        },
        [this, enabled = std::move(enabled)] {
            const EditorSession* editor = host_.editor();
            return editor != nullptr && enabled(*editor);
        });
}

void EditingCommands::registerCommands() {
    Prompter& prompter = *host_.prompter;
    registerCommand(
        toId(CommandId::Cut), [&prompter](EditorSession& e) { return ObjectEditing::cut(e, prompter); },
        [](const EditorSession& e) { return e.commandState().cut; });
    registerCommand(
        toId(CommandId::Copy), [&prompter](EditorSession& e) { return ObjectEditing::copy(e, prompter); },
        [](const EditorSession& e) { return e.commandState().copy; });
    registerCommand(
        toId(CommandId::Paste), [&prompter](EditorSession& e) { return ObjectEditing::paste(e, prompter); },
        [](const EditorSession& e) { return e.commandState().paste; });
    registerCommand(
        toId(CommandId::SendBack), [](EditorSession& e) { return ObjectEditing::sendBack(e); },
        [](const EditorSession& e) { return e.commandState().sendBack; });
    registerCommand(
        toId(CommandId::BringFront), [](EditorSession& e) { return ObjectEditing::bringFront(e); },
        [](const EditorSession& e) { return e.commandState().bringFront; });
    registerCommand(
        toId(CommandId::Group), [](EditorSession& e) { return ObjectEditing::group(e); },
        [](const EditorSession& e) { return e.commandState().group; });
    registerCommand(
        toId(CommandId::Ungroup), [](EditorSession& e) { return ObjectEditing::ungroup(e); },
        [](const EditorSession& e) { return e.commandState().ungroup; });
    registerCommand(
        toId(CommandId::RightRotate),
        [&prompter](EditorSession& e) { return ObjectEditing::rotateRight(e, prompter); },
        [](const EditorSession& e) { return e.commandState().rightRotate; });
    for (std::uint16_t id = toId(CommandId::AlignTop); id <= toId(CommandId::AlignMiddleHorizontal); ++id) {
        const int type = id - 190;
        registerCommand(
            id, [&prompter, type](EditorSession& e) { return ObjectEditing::align(e, type, prompter); },
            [](const EditorSession& e) { return e.commandState().align; });
    }
    for (const std::uint16_t id : kAttributeCommands) {
        if (isColour(id)) {
            registerCommand(
                id,
                [this, id](EditorSession& e) {
                    chooseColour(e, id);
                    return true;
                },
                [id](const EditorSession& e) { return A::enabled(e, id); });
        } else {
            registerCommand(
                id, [id](EditorSession& e) { return A::run(e, id); },
                [id](const EditorSession& e) { return A::enabled(e, id); });
        }
    }
}

void EditingCommands::chooseColour(EditorSession& editor, std::uint16_t id) {
    ColourDialog dialog(host_.dialogParent, fromView(A::colourTitle(id)), A::colourValues(id),
                        A::currentColour(editor, id));
    const int answer = host_.runDialog ? host_.runDialog(dialog) : dialog.exec();
    if (answer == QDialog::Accepted) {
        (void)A::setColour(editor, id, dialog.value());
    }
}

void EditingCommands::addAttributeControls(QToolBar& bar, bool characterDisplay) {
    const auto addButton = [this, &bar](std::uint16_t id, bool checkable) {
        QAction* action = bar.addAction(SessionIcons::icon(id), QString());
        action->setData(id);
        action->setCheckable(checkable);
        if (const auto text = commandText(id)) {
            action->setToolTip(fromView(text->toolTip).trimmed());
            action->setStatusTip(fromView(text->statusText));
        }
        connect(action, &QAction::triggered, this, [this, id] { host_.command(id); });
    };
    addButton(A::kFlash, true);
    addButton(A::kScroll, true);
    if (!characterDisplay) {
        addButton(A::kBorderSingle, true);
        addButton(A::kBorderDouble, true);
        addButton(A::kTextForeground, false);
        addButton(A::kTextBackground, false);
        addButton(A::kPen, false);
        addButton(A::kFill, false);
    }
    const auto addBox = [this, &bar](const char* name, const char* tip, std::uint16_t first,
                                     std::initializer_list<const char*> entries) {
        auto* box = new QComboBox(&bar);
        box->setObjectName(QString::fromLatin1(name));
        box->setToolTip(QString::fromLatin1(tip));
        for (const char* entry : entries) {
            box->addItem(QString::fromLatin1(entry));
        }
        QAction* action = bar.addWidget(box);
        // The box is enabled as the first of its commands is.
        action->setData(first);
        connect(box, &QComboBox::activated, this, [this, first](int index) {
            if (!updating_) {
                host_.command(static_cast<std::uint16_t>(first + index));
            }
        });
        return box;
    };
    speed_ = addBox("speed", "Speed of Flash/Scroll", A::kSpeedSlow, {"Slow", "Medium", "Fast"});
    if (characterDisplay) {
        font_ = addBox("fontSize", "Font Size", A::kFont5x7, {"5 x 7"});
    } else {
        font_ = addBox("fontSize", "Font Size", A::kFont5x7, {"5 x 7", "10 x 14", "20 x 28"});
        thickness_ = addBox("lineThickness", "Line Thickness", A::kLine1Pixel, {"1 pixel"});
    }
}

void EditingCommands::refresh() {
    const EditorSession* editor = host_.editor();
    for (const std::uint16_t id : kCheckedCommands) {
        const bool on = editor != nullptr && A::checked(*editor, id);
        if (QAction* action = host_.menus->action(id)) {
            action->setCheckable(true);
            action->setChecked(on);
        }
    }
    if (editor == nullptr) {
        return;
    }
    updating_ = true;
    const CurrentAttributes& a = editor->attributes();
    if (font_ != nullptr && a.font < font_->count()) {
        font_->setCurrentIndex(a.font);
    }
    if (thickness_ != nullptr && a.thickness < thickness_->count()) {
        thickness_->setCurrentIndex(a.thickness);
    }
    if (speed_ != nullptr && a.flash != 0) {
        speed_->setCurrentIndex(a.flash % 64);
    }
    updating_ = false;
    // The toggles of the Properties bar show their state as pressed buttons.
    if (auto* bar = font_ != nullptr ? qobject_cast<QToolBar*>(font_->parentWidget()) : nullptr) {
        for (QAction* action : bar->actions()) {
            const auto id = static_cast<std::uint16_t>(action->data().toUInt());
            if (action->isCheckable() &&
                (id == A::kFlash || id == A::kScroll || id == A::kBorderSingle || id == A::kBorderDouble)) {
                action->setChecked(A::checked(*editor, id));
            }
        }
    }
}

} // namespace quillon::gui
