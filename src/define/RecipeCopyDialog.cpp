#include "define/RecipeCopyDialog.h"

#include "define/TagComboBox.h"
#include "define/TextOf.h"
#include "model/Application.h"
#include "ui/HelpTopics.h"
#include "ui/NumericEntry.h"

#include <QDialogButtonBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>

namespace quillon::gui {
namespace {

int topicOf(RecipeCopyDialog::Mode mode) {
    switch (mode) {
    case RecipeCopyDialog::Mode::PlcToRecipe:
        return static_cast<int>(HelpTopic::CopyPlcToRecipe);
    case RecipeCopyDialog::Mode::RecipeToPlc:
        return static_cast<int>(HelpTopic::CopyRecipeToPlc);
    case RecipeCopyDialog::Mode::RtcToPlc:
        break;
    }
    return static_cast<int>(HelpTopic::RealTimeClock);
}

} // namespace

RecipeCopyDialog::RecipeCopyDialog(QWidget* parent, const TaskEditorContext& context, const TaskPlace& place,
                                   Mode mode, const Task& initial)
    : ShellDialog(parent, topicOf(mode)), context_(context), place_(place), mode_(mode) {
    setObjectName("RecipeCopyDialog");
    const Application& app = *context_.application;
    auto* layout = new QGridLayout(this);
    const bool editing = initial.tag1 != nullptr;
    NumberField field = kRecipeSizeField;
    if (mode == Mode::RtcToPlc) {
        setWindowTitle(QStringLiteral("Quillon : Copy RTC to PLC"));
        auto* label = new QLabel(QStringLiteral("&Tag"), this);
        plc_ = new TagComboBox(this);
        plc_->setObjectName("plcTag");
        plc_->fill(app, kRtcTagFilter, initial.tag1, editing);
        label->setBuddy(plc_);
        layout->addWidget(label, 0, 0);
        layout->addWidget(plc_, 0, 1);
        field = kRtcNumberField;
    } else {
        const bool toRecipe = mode == Mode::PlcToRecipe;
        setWindowTitle(toRecipe ? QStringLiteral("Quillon : Copy PLC to Recipe")
                                : QStringLiteral("Quillon: Copy Recipe to PLC"));
        // The first tag of the task is the destination of the copy.
        Tag* plcInitial = toRecipe ? initial.tag2 : initial.tag1;
        Tag* recipeInitial = toRecipe ? initial.tag1 : initial.tag2;
        plc_ = new TagComboBox(this);
        plc_->setObjectName("plcTag");
        plc_->fill(app, kRecipeTagFilter, plcInitial, editing);
        recipe_ = new TagComboBox(this);
        recipe_->setObjectName("recipeTag");
        recipe_->fill(app, kRecipeTagFilter, recipeInitial, editing);
        auto* plcLabel = new QLabel(toRecipe ? QStringLiteral("Tag &B") : QStringLiteral("Tag &A"), this);
        auto* recipeLabel = new QLabel(toRecipe ? QStringLiteral("Tag &A") : QStringLiteral("Tag &B"), this);
        plcLabel->setBuddy(plc_);
        recipeLabel->setBuddy(recipe_);
        const int plcRow = toRecipe ? 0 : 1;
        layout->addWidget(plcLabel, plcRow, 0);
        layout->addWidget(plc_, plcRow, 1);
        layout->addWidget(new QLabel(QStringLiteral("(PLC)"), this), plcRow, 2);
        layout->addWidget(recipeLabel, 1 - plcRow, 0);
        layout->addWidget(recipe_, 1 - plcRow, 1);
        layout->addWidget(new QLabel(QStringLiteral("(Recipe)"), this), 1 - plcRow, 2);
        if (toRecipe) {
            setTabOrder(plc_, recipe_);
        } else {
            setTabOrder(recipe_, plc_);
        }
    }
    auto* numberLabel =
        new QLabel(mode == Mode::RtcToPlc ? QStringLiteral("&Number") : QStringLiteral("Block &Size"), this);
    number_ = new QLineEdit(this);
    number_->setObjectName("number");
    number_->setMaxLength(static_cast<int>(field.maxLength));
    new NumericEntry(number_, NumericEntry::Kind::Decimal, textOf(field.minimum), textOf(field.maximum));
    numberLabel->setBuddy(number_);
    layout->addWidget(numberLabel, 2, 0);
    layout->addWidget(number_, 2, 1);
    layout->addWidget(
        new QLabel(mode == Mode::RtcToPlc ? QStringLiteral("[ 0 - 600 ]") : QStringLiteral("(Max 2047)"),
                   this),
        2, 2);
    if (mode == Mode::RtcToPlc) {
        number_->setText(editing ? QString::number(initial.value) : QString());
    } else {
        number_->setText(QString::number(editing ? initial.value : 1));
    }
    QDialogButtonBox* buttons = makeButtons(true);
    connect(buttons, &QDialogButtonBox::accepted, this, &RecipeCopyDialog::accept);
    layout->addWidget(buttons, 3, 0, 1, 3);
    (mode == Mode::RecipeToPlc ? static_cast<QWidget*>(recipe_) : static_cast<QWidget*>(plc_))->setFocus();
}

void RecipeCopyDialog::accept() {
    const std::string number = number_->text().toStdString();
    const TaskVerdict verdict = mode_ == Mode::RtcToPlc ? copyRtcTask(plc_->tag(), number, place_)
                                                        : recipeTask(mode_ == Mode::PlcToRecipe, plc_->tag(),
                                                                     recipe_->tag(), number, place_);
    if (!verdict.ok()) {
        context_.refuse(verdict);
        (verdict.focus == TaskField::Number ? static_cast<QWidget*>(number_)
         : verdict.focus == TaskField::TagB ? static_cast<QWidget*>(recipe_)
                                            : static_cast<QWidget*>(plc_))
            ->setFocus();
        return;
    }
    task_ = verdict.task;
    ShellDialog::accept();
}

} // namespace quillon::gui
