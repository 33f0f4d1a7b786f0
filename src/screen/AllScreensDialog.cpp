#include "screen/AllScreensDialog.h"

#include "model/Application.h"
#include "screen/AllScreensView.h"

#include <QHBoxLayout>
#include <QPushButton>
#include <QVBoxLayout>

namespace quillon::gui {

AllScreensDialog::AllScreensDialog(QWidget* parent, const Application& application, const Screen* current,
                                   const PictureSource* pictures)
    : ShellDialog(parent, 0) {
    setObjectName("AllScreensDialog");
    setWindowTitle(QString::asprintf("Quillon : All %u screen(s)  ( Double click to select )",
                                     static_cast<unsigned>(application.screenCount())));
    view_ = new AllScreensView(this, application, pictures);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(view_);
    view_->setFixedSize(view_->sizeHint());
    layout->setSizeConstraint(QLayout::SetFixedSize);
    for (int i = 0; i < view_->count(); ++i) {
        if (view_->screenAt(i) == current) {
            view_->highlight(i);
            break;
        }
    }
    view_->setFocus();
    connect(view_, &AllScreensView::chosen, this, [this](int index) {
        if (const Screen* screen = view_->screenAt(index)) {
            chosen_ = screen->number();
            accept();
        }
    });
}

void AllScreensDialog::setReplicate(std::function<std::optional<std::uint32_t>(const Screen&)> replicate) {
    replicate_ = std::move(replicate);
    auto* row = new QHBoxLayout;
    row->setContentsMargins(6, 4, 6, 6);
    auto* button = new QPushButton(tr("&Replicate..."), this);
    button->setObjectName("replicate");
    button->setAutoDefault(false);
    button->setFocusPolicy(Qt::TabFocus);
    row->addStretch();
    row->addWidget(button);
    static_cast<QVBoxLayout*>(layout())->addLayout(row);
    connect(button, &QPushButton::clicked, this, [this] {
        const Screen* screen = view_->screenAt(view_->highlighted());
        if (screen == nullptr || !replicate_) {
            return;
        }
        if (const auto first = replicate_(*screen)) {
            chosen_ = *first;
            accept();
        }
    });
}

} // namespace quillon::gui
