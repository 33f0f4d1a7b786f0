#include "screen/AllScreensDialog.h"

#include "model/Application.h"
#include "screen/AllScreensView.h"

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

} // namespace quillon::gui
