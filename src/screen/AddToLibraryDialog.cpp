#include "screen/AddToLibraryDialog.h"

#include "model/Prompter.h"
#include "model/TextFormat.h"
#include "persist/ObjectLibrary.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>

namespace quillon::gui {

AddToLibraryDialog::AddToLibraryDialog(QWidget* parent, const std::filesystem::path& folder,
                                       std::size_t objects, Prompter& prompter)
    : ShellDialog(parent, 0), folder_(folder), prompter_(prompter) {
    setObjectName("AddToLibraryDialog");
    setWindowTitle(tr("Quillon : Add to Library"));
    name_ = new QLineEdit(this);
    name_->setObjectName("name");
    name_->setMaxLength(static_cast<int>(ObjectLibrary::kMaxNameLength));
    auto* form = new QFormLayout;
    auto* label = new QLabel(tr("&Name of the item"), this);
    label->setBuddy(name_);
    form->addRow(label, name_);
    auto* note = new QLabel(
        tr("%n object(s) with the tags they use are kept in %1.", nullptr, static_cast<int>(objects))
            .arg(QString::fromStdString(folder.string())),
        this);
    note->setWordWrap(true);
    QDialogButtonBox* buttons = makeButtons(true);
    connect(buttons, &QDialogButtonBox::accepted, this, &AddToLibraryDialog::accept);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(note);
    layout->addWidget(buttons);
    name_->setFocus();
}

std::string AddToLibraryDialog::name() const {
    return name_->text().toStdString();
}

void AddToLibraryDialog::accept() {
    const std::string chosen = name();
    if (std::string problem = ObjectLibrary::nameProblem(chosen); !problem.empty()) {
        prompter_.error(problem);
        name_->setFocus();
        return;
    }
    std::error_code error;
    replace_ = false;
    if (std::filesystem::exists(ObjectLibrary::fileOf(folder_, chosen), error)) {
        if (prompter_.confirm(
                formatText("The library already holds an item named '%s'.\nReplace it?", chosen.c_str()),
                PromptButtons::YesNo, PromptAnswer::No) != PromptAnswer::Yes) {
            name_->setFocus();
            return;
        }
        replace_ = true;
    }
    ShellDialog::accept();
}

} // namespace quillon::gui
