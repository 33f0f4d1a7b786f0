#include "define/AddressPartEdit.h"

#include <QEvent>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLineEdit>
#include <QToolButton>
#include <QVBoxLayout>

namespace quillon::gui {

AddressPartEdit::AddressPartEdit(QWidget* parent, const QString& name) : QWidget(parent) {
    setObjectName(name);
    edit_ = new QLineEdit(this);
    edit_->setObjectName(name + "Edit");
    edit_->installEventFilter(this);
    up_ = new QToolButton(this);
    up_->setArrowType(Qt::UpArrow);
    up_->setFocusPolicy(Qt::NoFocus);
    up_->setAutoRepeat(true);
    up_->setObjectName(name + "Up");
    down_ = new QToolButton(this);
    down_->setArrowType(Qt::DownArrow);
    down_->setFocusPolicy(Qt::NoFocus);
    down_->setAutoRepeat(true);
    down_->setObjectName(name + "Down");
    up_->setFixedSize(18, 12);
    down_->setFixedSize(18, 12);
    auto* arrows = new QVBoxLayout;
    arrows->setSpacing(0);
    arrows->addWidget(up_);
    arrows->addWidget(down_);
    auto* row = new QHBoxLayout(this);
    row->setContentsMargins(0, 0, 0, 0);
    row->setSpacing(1);
    row->addWidget(edit_);
    row->addLayout(arrows);
    setFocusProxy(edit_);
    connect(up_, &QToolButton::clicked, this, [this] { step(true); });
    connect(down_, &QToolButton::clicked, this, [this] { step(false); });
    connect(edit_, &QLineEdit::textEdited, this, [this](const QString& typed) {
        if (busy_ || !onType) {
            emit changed();
            return;
        }
        busy_ = true;
        const QString kept = onType(typed);
        if (kept != typed) {
            edit_->setText(kept);
            edit_->setCursorPosition(static_cast<int>(kept.size()));
        }
        busy_ = false;
        emit changed();
    });
    connect(edit_, &QLineEdit::editingFinished, this, [this] {
        if (onLeave) {
            const QString shown = onLeave(edit_->text());
            if (shown != edit_->text()) {
                edit_->setText(shown);
                emit changed();
            }
        }
    });
}

QString AddressPartEdit::text() const {
    return edit_->text();
}

void AddressPartEdit::setText(const QString& text) {
    edit_->setText(text);
}

void AddressPartEdit::step(bool up) {
    if (!onStep || !edit_->isEnabled() || edit_->isReadOnly()) {
        return;
    }
    edit_->setText(onStep(edit_->text(), up));
    emit changed();
}

bool AddressPartEdit::eventFilter(QObject* watched, QEvent* event) {
    if (watched == edit_ && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Up || key == Qt::Key_Down) {
            step(key == Qt::Key_Up);
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

} // namespace quillon::gui
