#include "print/PrintSelectionDialog.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QFrame>
#include <QGridLayout>
#include <QVBoxLayout>

namespace quillon::gui {
namespace {

QString text(std::string_view view) {
    return QString::fromLatin1(view.data(), static_cast<qsizetype>(view.size()));
}

} // namespace

PrintSelectionDialog::PrintSelectionDialog(QWidget* parent, const PrintSelection& selection,
                                           std::uint32_t modelId)
    : ShellDialog(parent, 0), selection_(selection), modelId_(modelId) {
    setWindowTitle(text(PrintSelection::kDialogTitle));
    setObjectName("PrintSelectionDialog");

    all_ = new QCheckBox(text(PrintSelection::kAllCaption), this);
    all_->setObjectName("all");
    connect(all_, &QCheckBox::clicked, this, [this](bool checked) {
        selection_.clickAll(checked, modelId_);
        showSelection();
    });
    auto* line = new QFrame(this);
    line->setFrameShape(QFrame::HLine);
    line->setFrameShadow(QFrame::Sunken);

    // Two columns: the application's own records on the left, what runs on the unit on the right.
    auto* grid = new QGridLayout;
    const std::size_t half = PrintSelection::kSections / 2;
    for (std::size_t i = 0; i < PrintSelection::kSections; ++i) {
        const auto section = static_cast<ReportSection>(i);
        auto* box = new QCheckBox(text(PrintSelection::kCaptions[i]), this);
        box->setObjectName(text(PrintSelection::kNames[i]));
        box->setEnabled(PrintSelection::available(section, modelId_));
        connect(box, &QCheckBox::clicked, this, [this, section](bool checked) {
            selection_.setChecked(section, checked, modelId_);
            showSelection();
        });
        boxes_[i] = box;
        grid->addWidget(box, static_cast<int>(i % half), static_cast<int>(i / half));
    }

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(all_);
    layout->addWidget(line);
    layout->addLayout(grid);
    layout->addStretch();
    QDialogButtonBox* buttons = makeButtons(true);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    layout->addWidget(buttons);
    showSelection();
}

void PrintSelectionDialog::showSelection() {
    all_->setChecked(selection_.all());
    for (std::size_t i = 0; i < PrintSelection::kSections; ++i) {
        boxes_[i]->setChecked(selection_.isChecked(static_cast<ReportSection>(i)));
    }
}

} // namespace quillon::gui
