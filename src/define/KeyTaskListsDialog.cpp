#include "define/KeyTaskListsDialog.h"

#include "define/KeypadWidget.h"
#include "define/PasswordLegendDialog.h"
#include "define/TaskListPanel.h"
#include "define/TextOf.h"
#include "edit/define/Keypad.h"
#include "model/Application.h"
#include "ui/HelpTopics.h"
#include "ui/SelectScreenDialog.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollArea>
#include <QToolButton>
#include <QVBoxLayout>

namespace quillon::gui {

bool KeyTaskListsDialog::canOpen(const Application& application, Prompter& prompter) {
    if (!keypadLayoutOf(application.modelId())) {
        prompter.error(kWrongDisplayType);
        return false;
    }
    return true;
}

KeyTaskListsDialog::KeyTaskListsDialog(QWidget* parent, const TaskEditorContext& context, Screen* screen,
                                       bool fromGlobalKeys)
    : ShellDialog(parent,
                  static_cast<int>(screen == nullptr ? HelpTopic::GlobalKeys : HelpTopic::ScreenKeys)),
      context_(context), screen_(screen) {
    setObjectName("KeyTaskListsDialog");
    Application& app = *context.application;
    selection_ = std::make_unique<KeySelection>(app, screen, *context.prompter);
    if (screen == nullptr) {
        setWindowTitle(QStringLiteral("Quillon : Global Keys' Task-lists"));
    } else {
        setWindowTitle(QStringLiteral("Quillon : Task-lists of Keys for Screen [ %1 : %2 ]")
                           .arg(screen->number())
                           .arg(QString::fromStdString(screen->name)));
    }
    const KeypadLayout layout = keypadLayoutOf(app.modelId()).value_or(KeypadLayout{});
    keypad_ = new KeypadWidget(this, app, layout, context.pictures ? context.pictures() : nullptr);
    connect(keypad_, &KeypadWidget::keyClicked, this, &KeyTaskListsDialog::clickKey);

    auto* side = new QVBoxLayout;
    singleKey_ = new QRadioButton(QStringLiteral("Single Key"), this);
    twoKeys_ = new QRadioButton(QStringLiteral("Two simultaneous keys"), this);
    singleKey_->setChecked(true);
    connect(twoKeys_, &QRadioButton::toggled, this, [this](bool on) {
        selection_->setMode(on ? KeySelection::Mode::TwoKeys : KeySelection::Mode::SingleKey);
    });
    interrupt_ = new QCheckBox(QStringLiteral("&Clear the queue and also interrupt the previous Key."), this);
    connect(interrupt_, &QCheckBox::toggled, this, [this](bool on) {
        if (selection_->key() != nullptr && (selection_->key()->interrupt != 0) != on) {
            selection_->setInterrupt(on);
            if (context_.modified) {
                context_.modified();
            }
        }
    });
    extended_ = new QPushButton(QStringLiteral("Extended Keypad"), this);
    extended_->setEnabled(app.unitSettings().extendedKeypad != 0);
    password_ = new QPushButton(QStringLiteral("Password and Legend"), this);
    password_->setObjectName("passwordAndLegend");
    connect(password_, &QPushButton::clicked, this, &KeyTaskListsDialog::openPasswordAndLegend);
    screens_ = new QToolButton(this);
    screens_->setText(QStringLiteral("Screens..."));
    screens_->setToolTip(QStringLiteral("Screens for which the selected Key is defined"));
    connect(screens_, &QToolButton::clicked, this, &KeyTaskListsDialog::openKeyScreens);
    globalKeys_ = new QToolButton(this);
    globalKeys_->setText(QStringLiteral("Global..."));
    globalKeys_->setToolTip(QStringLiteral("Global Keys"));
    connect(globalKeys_, &QToolButton::clicked, this, &KeyTaskListsDialog::openGlobalKeys);
    chosen_ = new QLabel(this);
    chosen_->setObjectName("chosenKey");
    side->addWidget(chosen_);
    side->addWidget(singleKey_);
    side->addWidget(twoKeys_);
    side->addWidget(interrupt_);
    side->addWidget(extended_);
    side->addWidget(password_);
    side->addWidget(screens_);
    side->addWidget(globalKeys_);
    auto* legendNote = new QLabel(QStringLiteral("Gray, dashed: Indicates undefined Global-Key."), this);
    side->addWidget(legendNote);
    side->addStretch();
    password_->setVisible(screen == nullptr);
    screens_->setVisible(screen == nullptr);
    globalKeys_->setVisible(screen != nullptr && !fromGlobalKeys);

    auto* top = new QHBoxLayout;
    // The keypad of a large unit (and the screen preview beside it) is wider than the smallest main
    // window leaves a dialog: it scrolls rather than pushing the dialog off the screen.
    auto* keypadHolder = new QWidget(this);
    auto* keypadColumn = new QVBoxLayout(keypadHolder);
    keypadColumn->setContentsMargins(0, 0, 0, 0);
    keypadColumn->addWidget(keypad_);
    if (screen != nullptr && keyLayoutShowsPreview(app.modelId()) && context.screenPreview) {
        auto* preview = new QLabel(this);
        preview->setObjectName("screenPreview");
        preview->setFrameShape(QFrame::Box);
        preview->setPixmap(QPixmap::fromImage(context.screenPreview(*screen)));
        keypadColumn->addWidget(preview);
    }
    auto* keypadScroll = new QScrollArea(this);
    keypadScroll->setObjectName("keypadScroll");
    keypadScroll->setFrameShape(QFrame::NoFrame);
    keypadScroll->setWidget(keypadHolder);
    keypadScroll->setWidgetResizable(true);
    keypadScroll->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    keypadScroll->setMinimumSize(160, 80);
    keypadScroll->setSizeAdjustPolicy(QAbstractScrollArea::AdjustToContents);
    top->addWidget(keypadScroll, 1);
    top->addLayout(side);

    panel_ = new TaskListPanel(this, context);
    rule_ = new QLabel(
        QStringLiteral("A Key will act as Global-key if no tasks are defined for that Key, for this Screen."),
        this);
    rule_->setVisible(screen != nullptr);
    connect(panel_, &TaskListPanel::aboutToAdd, this, [this] {
        // Adding the first task makes the key a key of this screen (and never adds to the global key
        // shown grayed when the screen key could not be made).
        if (panel_->owner() != selection_->key()) {
            panel_->setOwner(selection_->key(), true);
        }
    });
    connect(panel_, &TaskListPanel::taskAdded, this, [this] {
        selection_->taskAdded();
        password_->setVisible(selection_->passwordShown());
    });
    connect(panel_, &TaskListPanel::changed, this, [this] {
        if (context_.modified) {
            context_.modified();
        }
        selectionChanged();
    });

    auto* layoutMain = new QVBoxLayout(this);
    layoutMain->addLayout(top);
    layoutMain->addWidget(rule_);
    layoutMain->addWidget(panel_, 1);
    auto* buttons = new QDialogButtonBox(this);
    QPushButton* close = buttons->addButton(QStringLiteral("C&lose"), QDialogButtonBox::RejectRole);
    close->setAutoDefault(false);
    if (hasHelp()) {
        QPushButton* help = buttons->addButton(QDialogButtonBox::Help);
        help->setAutoDefault(false);
        connect(help, &QPushButton::clicked, this, &ShellDialog::requestHelp);
    }
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    layoutMain->addWidget(buttons);

    selection_->click(layout.openingKey);
    selectionChanged();
    resize(760, 640);
    if (QToolButton* opening = keypad_->button(layout.openingKey)) {
        opening->setFocus();
    }
}

KeyTaskListsDialog::~KeyTaskListsDialog() {
    // A dialog destroyed without closing (its parent went) still leaves no empty definition behind.
    releasePanel();
    (void)selection_->close();
}

void KeyTaskListsDialog::releasePanel() {
    panel_->setOwner(nullptr);
}

void KeyTaskListsDialog::done(int result) {
    releasePanel();
    (void)selection_->close();
    ShellDialog::done(result);
}

void KeyTaskListsDialog::chooseCode(std::uint16_t code) {
    releasePanel();
    (void)selection_->choose(code);
    selectionChanged();
}

void KeyTaskListsDialog::clickKey(std::uint8_t key) {
    releasePanel();
    if (selection_->click(key)) {
        if (context_.modified) {
            context_.modified();
        }
    }
    selectionChanged();
}

QString KeyTaskListsDialog::chosenKeyText(std::uint16_t code) {
    if ((code & 0xFFU) == 0) {
        return QStringLiteral("No key chosen");
    }
    const QString name = QString::fromStdString(keyName(code));
    return (code >> 8) != 0 ? QStringLiteral("Keys %1").arg(name) : QStringLiteral("Key %1").arg(name);
}

void KeyTaskListsDialog::selectionChanged() {
    keypad_->update(*selection_);
    chosen_->setText(chosenKeyText(selection_->code()));
    KeyDefinition* key = selection_->key();
    const KeyDefinition* acting = selection_->actingGlobalKey();
    if (acting != nullptr) {
        panel_->setOwner(const_cast<KeyDefinition*>(acting), false);
    } else {
        panel_->setOwner(key, key != nullptr);
    }
    interrupt_->setEnabled(key != nullptr);
    {
        const QSignalBlocker block(interrupt_);
        interrupt_->setChecked(key != nullptr && key->interrupt != 0);
    }
    password_->setVisible(selection_->passwordShown());
}

void KeyTaskListsDialog::openPasswordAndLegend() {
    if (selection_->key() == nullptr) {
        return;
    }
    PasswordLegendDialog dialog(this, context_, *selection_->key());
    if (context_.run(dialog) == QDialog::Accepted) {
        if (context_.modified) {
            context_.modified();
        }
        selectionChanged();
    }
}

void KeyTaskListsDialog::openKeyScreens() {
    Application& app = *context_.application;
    const std::uint16_t code = selection_->code();
    if (SelectScreenDialog::screensDefiningKey(app, code).empty()) {
        context_.prompter->information(SelectScreenDialog::kNoKeyScreens);
        return;
    }
    SelectScreenDialog dialog(this, app, code, [this, &app, code](std::uint32_t number) {
        if (Screen* screen = app.findScreen(number)) {
            KeyTaskListsDialog keys(this, context_, screen, true);
            keys.chooseCode(code);
            context_.run(keys);
        }
    });
    // The dialogs opened from here may remove definitions this one shows.
    releasePanel();
    context_.run(dialog);
    chooseCode(code);
}

void KeyTaskListsDialog::openGlobalKeys() {
    const std::uint16_t code = selection_->code();
    releasePanel();
    {
        KeyTaskListsDialog global(this, context_, nullptr, true);
        global.chooseCode(code);
        context_.run(global);
    }
    // The same key again, now with what the global keys dialog left (made again if it went).
    chooseCode(code);
}

} // namespace quillon::gui
