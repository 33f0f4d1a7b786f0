#include "screen/ScreenDialog.h"

#include "screen/ScreenMemoryDialog.h"
#include "ui/HelpTopics.h"
#include "ui/NumericEntry.h"

#include <QDialogButtonBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace quillon::gui {
namespace {

constexpr int kNumberRole = Qt::UserRole;

QListWidgetItem* entryItem(const Screen& screen) {
    auto* item = new QListWidgetItem(QString::fromStdString(ScreenManager::listEntry(screen)));
    item->setData(kNumberRole, screen.number());
    return item;
}

} // namespace

ScreenDialog::ScreenDialog(QWidget* parent, ScreenDialogMode mode, ScreenManager& manager, Prompter& prompter,
                           const Screen* current, ScreenType duplicateType, RunDialog runDialog)
    : ShellDialog(parent, static_cast<int>(HelpTopic::Screen)), mode_(mode), manager_(manager),
      prompter_(prompter), current_(mode == ScreenDialogMode::New ? nullptr : current),
      runDialog_(std::move(runDialog)) {
    setObjectName("ScreenDialog");
    ScreenFields start;
    switch (mode_) {
    case ScreenDialogMode::New:
        setWindowTitle(QStringLiteral("Quillon : New Screen"));
        start = manager_.newScreenFields();
        break;
    case ScreenDialogMode::Duplicate:
        setWindowTitle(current_ != nullptr ? QString::fromStdString(ScreenManager::duplicateTitle(*current_))
                                           : QStringLiteral("Quillon : Duplicate Screen"));
        start = manager_.newScreenFields();
        start.type = duplicateType;
        break;
    case ScreenDialogMode::Information:
        setWindowTitle(QStringLiteral("Quillon : Screen Information"));
        if (current_ != nullptr) {
            start = ScreenManager::fieldsOf(*current_);
        }
        break;
    }

    number_ = new QLineEdit(this);
    number_->setObjectName("number");
    number_->setMaxLength(5);
    new NumericEntry(number_, NumericEntry::Kind::Decimal, "00001", "65534");
    name_ = new QLineEdit(this);
    name_->setObjectName("name");
    name_->setMaxLength(static_cast<int>(Screen::kMaxNameLength));
    password_ = new QLineEdit(this);
    password_->setObjectName("password");
    password_->setMaxLength(4);
    new NumericEntry(password_, NumericEntry::Kind::Decimal, "0000", "9999");
    description_ = new QLineEdit(this);
    description_->setObjectName("description");
    description_->setMaxLength(static_cast<int>(Screen::kMaxDescriptionLength));

    number_->setText(start.number ? QString::number(*start.number) : QString());
    name_->setText(QString::fromStdString(start.name));
    password_->setText(QString::asprintf("%04u", static_cast<unsigned>(start.password)));
    description_->setText(QString::fromStdString(start.description));
    if (mode_ == ScreenDialogMode::Information && current_ != nullptr &&
        manager_.numberAndNameLocked(*current_)) {
        number_->setEnabled(false);
        name_->setEnabled(false);
    }

    auto* fieldsGrid = new QGridLayout;
    const auto addField = [&](int row, const QString& label, QLineEdit* edit, const QString& note) {
        auto* l = new QLabel(label, this);
        l->setBuddy(edit);
        fieldsGrid->addWidget(l, row, 0);
        fieldsGrid->addWidget(edit, row, 1);
        if (!note.isEmpty()) {
            fieldsGrid->addWidget(new QLabel(note, this), row, 2);
        }
    };
    addField(0, "Screen &Number", number_, "[ 1 - 65534 ]");
    addField(1, "Screen Na&me", name_, {});
    addField(2, "&Password", password_, "[ 0 - 9999 ]");
    addField(3, "&Description", description_, {});

    auto* typeBox = new QGroupBox(QStringLiteral("Screen Type"), this);
    auto* typeLayout = new QHBoxLayout(typeBox);
    const char* typeNames[] = {"Display", "Print Only", "Both"};
    const char* typeIds[] = {"typeDisplay", "typePrintOnly", "typeBoth"};
    for (int i = 0; i < 3; ++i) {
        types_[i] = new QRadioButton(QString::fromLatin1(typeNames[i]), typeBox);
        types_[i]->setObjectName(typeIds[i]);
        typeLayout->addWidget(types_[i]);
    }
    types_[static_cast<int>(start.type) <= 2 ? static_cast<int>(start.type) : 0]->setChecked(true);

    associated_ = new QListWidget(this);
    associated_->setObjectName("associated");
    associated_->installEventFilter(this);
    available_ = new QListWidget(this);
    available_->setObjectName("available");
    QFont fixed("Monospace");
    fixed.setStyleHint(QFont::TypeWriter);
    associated_->setFont(fixed);
    available_->setFont(fixed);
    if (start.associated) {
        for (const Screen* screen : manager_.availableScreens(current_, std::nullopt)) {
            if (screen->number() == *start.associated) {
                associated_->addItem(entryItem(*screen));
            }
        }
    }
    fillAvailable();
    associate_ = new QPushButton(QStringLiteral("<- &Associate"), this);
    associate_->setObjectName("associate");
    associate_->setAutoDefault(false);
    unassociate_ = new QPushButton(QStringLiteral("&Unassociate"), this);
    unassociate_->setObjectName("unassociate");
    unassociate_->setAutoDefault(false);
    connect(associate_, &QPushButton::clicked, this, &ScreenDialog::associateSelected);
    connect(unassociate_, &QPushButton::clicked, this, &ScreenDialog::unassociateSelected);
    connect(available_, &QListWidget::itemDoubleClicked, this, [this] { associateSelected(); });

    auto* associatedLabel = new QLabel(QStringLiteral("A&ssociated Screens"), this);
    associatedLabel->setBuddy(associated_);
    auto* availableLabel = new QLabel(QStringLiteral("A&vailable Screens"), this);
    availableLabel->setBuddy(available_);
    auto* maxLabel =
        new QLabel(QString::asprintf("( Max : %d )", static_cast<int>(ScreenManager::kMaxAssociated)), this);
    maxLabel->setObjectName("maxAssociated");
    auto* lists = new QGridLayout;
    lists->addWidget(associatedLabel, 0, 0);
    lists->addWidget(maxLabel, 1, 0);
    lists->addWidget(associated_, 2, 0);
    auto* middle = new QVBoxLayout;
    middle->addStretch();
    middle->addWidget(associate_);
    middle->addWidget(unassociate_);
    middle->addStretch();
    lists->addLayout(middle, 2, 1);
    lists->addWidget(availableLabel, 0, 2);
    lists->addWidget(available_, 2, 2);

    memory_ = new QPushButton(QStringLiteral("Memo&ry configuration of Screen"), this);
    memory_->setObjectName("memory");
    memory_->setAutoDefault(false);
    memory_->setVisible(mode_ != ScreenDialogMode::New);
    connect(memory_, &QPushButton::clicked, this, &ScreenDialog::showMemoryConfiguration);

    QDialogButtonBox* buttons = makeButtons(true);
    connect(buttons, &QDialogButtonBox::accepted, this, &ScreenDialog::accept);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(fieldsGrid);
    layout->addWidget(typeBox);
    layout->addLayout(lists);
    auto* bottom = new QHBoxLayout;
    bottom->addWidget(memory_);
    bottom->addStretch();
    bottom->addWidget(buttons);
    layout->addLayout(bottom);
    updateButtons();
}

void ScreenDialog::fillAvailable() {
    available_->clear();
    std::optional<std::uint16_t> taken;
    if (associated_->count() > 0) {
        taken = static_cast<std::uint16_t>(associated_->item(0)->data(kNumberRole).toUInt());
    }
    const Screen* changing = mode_ == ScreenDialogMode::Information ? current_ : nullptr;
    for (const Screen* screen : manager_.availableScreens(changing, taken)) {
        available_->addItem(entryItem(*screen));
    }
    if (available_->count() > 0) {
        available_->setCurrentRow(0);
    }
}

void ScreenDialog::updateButtons() {
    associate_->setEnabled(available_->count() > 0 &&
                           associated_->count() < static_cast<int>(ScreenManager::kMaxAssociated));
    unassociate_->setEnabled(associated_->count() > 0);
}

void ScreenDialog::associateSelected() {
    if (!associate_->isEnabled()) {
        return;
    }
    const int row = available_->currentRow() >= 0 ? available_->currentRow() : 0;
    QListWidgetItem* item = available_->takeItem(row);
    if (item == nullptr) {
        return;
    }
    associated_->addItem(item);
    associated_->setCurrentItem(item);
    updateButtons();
}

void ScreenDialog::unassociateSelected() {
    if (associated_->count() == 0) {
        return;
    }
    if (prompter_.confirm(ScreenManager::kUnassociateQuestion, PromptButtons::YesNo, PromptAnswer::Yes) !=
        PromptAnswer::Yes) {
        return;
    }
    const int row = associated_->currentRow() >= 0 ? associated_->currentRow() : 0;
    delete associated_->takeItem(row);
    fillAvailable();
    updateButtons();
}

void ScreenDialog::showMemoryConfiguration() {
    if (current_ == nullptr) {
        return;
    }
    ScreenMemoryDialog dialog(this, manager_.memoryReport(*current_));
    if (runDialog_) {
        runDialog_(dialog);
    } else {
        dialog.exec();
    }
}

bool ScreenDialog::eventFilter(QObject* watched, QEvent* event) {
    if (watched == associated_ && event->type() == QEvent::KeyPress &&
        static_cast<QKeyEvent*>(event)->key() == Qt::Key_Delete) {
        unassociateSelected();
        return true;
    }
    return ShellDialog::eventFilter(watched, event);
}

ScreenFields ScreenDialog::fields() const {
    ScreenFields f;
    if (!number_->text().isEmpty()) {
        f.number = number_->text().toUInt();
    }
    f.name = name_->text().toStdString();
    f.password = static_cast<std::uint16_t>(password_->text().toUInt());
    f.description = description_->text().toStdString();
    for (int i = 0; i < 3; ++i) {
        if (types_[i]->isChecked()) {
            f.type = static_cast<ScreenType>(i);
        }
    }
    if (associated_->count() > 0) {
        f.associated = static_cast<std::uint16_t>(associated_->item(0)->data(kNumberRole).toUInt());
    }
    return f;
}

QWidget* ScreenDialog::widgetOf(ScreenField field) const {
    switch (field) {
    case ScreenField::Number:
        return number_;
    case ScreenField::Name:
        return name_;
    case ScreenField::Password:
        return password_;
    case ScreenField::Description:
        return description_;
    }
    return number_;
}

void ScreenDialog::accept() {
    const Screen* editing = mode_ == ScreenDialogMode::Information ? current_ : nullptr;
    if (auto problem = manager_.check(fields(), editing)) {
        prompter_.error(problem->message);
        widgetOf(problem->field)->setFocus();
        return;
    }
    ShellDialog::accept();
}

} // namespace quillon::gui
