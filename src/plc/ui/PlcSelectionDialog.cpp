#include "plc/ui/PlcSelectionDialog.h"

#include "model/Prompter.h"
#include "plc/PlcCatalogFiles.h"

#include <QDialogButtonBox>
#include <QGridLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

namespace quillon::gui {
namespace {

QString fromStd(const std::string& text) {
    return QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size()));
}

} // namespace

PlcSelectionDialog::PlcSelectionDialog(QWidget* parent, PlcCatalogFiles& catalogs, Prompter& prompter)
    : ShellDialog(parent, 0), catalogs_(catalogs), prompter_(prompter) {
    setWindowTitle(tr("Quillon : Add or Remove PLCs"));
    setObjectName("PLC_SELECTION");
    supported_ = new QListWidget(this);
    supported_->setObjectName("supported");
    selected_ = new QListWidget(this);
    selected_->setObjectName("selected");
    selected_->setSortingEnabled(true);
    for (const std::string& name : catalogs_.supportedNames()) {
        supported_->addItem(fromStd(name));
    }
    for (const std::string& name : catalogs_.selectedNames()) {
        selected_->addItem(fromStd(name));
    }
    selected_->sortItems();

    add_ = new QPushButton(tr("&Add >>"), this);
    add_->setObjectName("add");
    add_->setAutoDefault(false);
    remove_ = new QPushButton(tr("<< &Remove"), this);
    remove_->setObjectName("remove");
    remove_->setAutoDefault(false);
    connect(add_, &QPushButton::clicked, this, &PlcSelectionDialog::addCurrent);
    connect(remove_, &QPushButton::clicked, this, &PlcSelectionDialog::removeCurrent);
    connect(supported_, &QListWidget::currentRowChanged, this, &PlcSelectionDialog::updateButtons);
    connect(selected_, &QListWidget::currentRowChanged, this, &PlcSelectionDialog::updateButtons);
    connect(supported_, &QListWidget::itemDoubleClicked, this, &PlcSelectionDialog::addCurrent);
    connect(selected_, &QListWidget::itemDoubleClicked, this, &PlcSelectionDialog::removeCurrent);

    QDialogButtonBox* buttons = makeButtons(true);
    connect(buttons, &QDialogButtonBox::accepted, this, &PlcSelectionDialog::tryAccept);

    auto* grid = new QGridLayout;
    grid->addWidget(new QLabel(tr("&Supported PLCs"), this), 0, 0);
    grid->addWidget(new QLabel(tr("S&elected PLCs"), this), 0, 2);
    grid->addWidget(supported_, 1, 0);
    auto* middle = new QVBoxLayout;
    middle->addStretch(1);
    middle->addWidget(add_);
    middle->addWidget(remove_);
    middle->addStretch(1);
    grid->addLayout(middle, 1, 1);
    grid->addWidget(selected_, 1, 2);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    layout->addWidget(buttons);
    updateButtons();
    resize(560, 380);
}

bool PlcSelectionDialog::isSelected(const QString& name) const {
    // The whole name must match: a selected "Alpha 2 Plus" does not make "Alpha 2" selected.
    for (int row = 0; row < selected_->count(); ++row) {
        if (selected_->item(row)->text() == name) {
            return true;
        }
    }
    return false;
}

void PlcSelectionDialog::updateButtons() {
    const QListWidgetItem* current = supported_->currentItem();
    add_->setEnabled(current != nullptr && !isSelected(current->text()));
    remove_->setEnabled(selected_->currentItem() != nullptr);
}

void PlcSelectionDialog::addCurrent() {
    const QListWidgetItem* current = supported_->currentItem();
    if (current == nullptr || isSelected(current->text())) {
        return;
    }
    selected_->addItem(current->text());
    changed_ = true;
    updateButtons();
}

void PlcSelectionDialog::removeCurrent() {
    const int row = selected_->currentRow();
    if (row < 0) {
        return;
    }
    delete selected_->takeItem(row);
    changed_ = true;
    selected_->setCurrentRow(selected_->count() > 0 ? 0 : -1);
    updateButtons();
}

std::vector<std::string> PlcSelectionDialog::selectedNames() const {
    std::vector<std::string> names;
    for (int row = 0; row < selected_->count(); ++row) {
        const QByteArray name = selected_->item(row)->text().toLatin1();
        names.emplace_back(name.constData(), static_cast<std::size_t>(name.size()));
    }
    return names;
}

void PlcSelectionDialog::tryAccept() {
    if (changed_) {
        if (const Status saved = catalogs_.saveSelection(selectedNames()); !saved) {
            prompter_.error(saved.message());
            return;
        }
    }
    accept();
}

} // namespace quillon::gui
