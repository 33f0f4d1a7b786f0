#include "ui/ShellStatusBar.h"

#include <algorithm>

#include <QEvent>
#include <QLabel>
#include <QTime>

namespace quillon::gui {
namespace {

QLabel* field(const QString& name, QWidget* parent, int minimumWidth) {
    auto* label = new QLabel(parent);
    label->setObjectName(name);
    label->setFrameShape(QFrame::Panel);
    label->setFrameShadow(QFrame::Sunken);
    label->setMinimumWidth(minimumWidth);
    label->setAlignment(Qt::AlignCenter);
    return label;
}

} // namespace

ShellStatusBar::ShellStatusBar(QWidget* parent) : QStatusBar(parent) {
    setObjectName("StatusBar");
    setSizeGripEnabled(false);
    // The bar never takes the focus.
    setFocusPolicy(Qt::NoFocus);
    message_ = new QLabel(this);
    message_->setObjectName("message");
    QPalette red = message_->palette();
    red.setColor(QPalette::WindowText, QColor(0x80, 0x00, 0x00));
    message_->setPalette(red);
    // The message takes what the fields leave and never asks for more.
    message_->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    message_->setMinimumWidth(0);
    message_->installEventFilter(this);
    addWidget(message_, 1);

    coordinates_ = field("coordinates", this, 96);
    QPalette blue = coordinates_->palette();
    blue.setColor(QPalette::WindowText, QColor(0x00, 0x00, 0x80));
    coordinates_->setPalette(blue);
    session1_ = field("session1", this, 80);
    session2_ = field("session2", this, 80);
    insert_ = field("Ins", this, 32);
    insert_->setText("Ins");
    caps_ = field("Cap", this, 32);
    caps_->setText("Cap");
    num_ = field("Num", this, 32);
    num_->setText("Num");
    clock_ = field("clock", this, 48);
    for (QLabel* label : {coordinates_, session1_, session2_, insert_, caps_, num_, clock_}) {
        addPermanentWidget(label);
    }
    setSessionFieldsVisible(false);
    setKeyIndicators(false, false, false);
    showTime(QTime::currentTime());
}

void ShellStatusBar::setMessage(const QString& text) {
    if (fullMessage_ != text) {
        fullMessage_ = text;
        elideMessage();
    }
}

QString ShellStatusBar::message() const {
    return fullMessage_;
}

QString ShellStatusBar::shownMessage() const {
    return message_->text();
}

void ShellStatusBar::elideMessage() {
    const int room =
        message_->contentsRect().width() - 2 * message_->margin() - std::max(message_->indent(), 0);
    const QString shown = message_->fontMetrics().elidedText(fullMessage_, Qt::ElideRight, std::max(room, 0));
    message_->setText(shown);
    message_->setToolTip(shown == fullMessage_ ? QString() : fullMessage_);
}

bool ShellStatusBar::eventFilter(QObject* watched, QEvent* event) {
    if (watched == message_ && event->type() == QEvent::Resize) {
        elideMessage();
    }
    return QStatusBar::eventFilter(watched, event);
}

void ShellStatusBar::setCoordinates(int x, int y) {
    coordinates_->setText(QString::asprintf("X:%3d  Y:%3d", x, y));
}

void ShellStatusBar::setCoordinatesText(const QString& text) {
    coordinates_->setText(text);
}

void ShellStatusBar::clearCoordinates() {
    coordinates_->clear();
}

QString ShellStatusBar::coordinates() const {
    return coordinates_->text();
}

void ShellStatusBar::setKeyIndicators(bool insert, bool capsLock, bool numLock) {
    insert_->setEnabled(insert);
    caps_->setEnabled(capsLock);
    num_->setEnabled(numLock);
}

bool ShellStatusBar::indicatorOn(const QString& name) const {
    for (const QLabel* label : {insert_, caps_, num_}) {
        if (label->objectName() == name) {
            return label->isEnabled();
        }
    }
    return false;
}

void ShellStatusBar::setSessionFieldsVisible(bool visible) {
    sessionVisible_ = visible;
    for (QLabel* label : {coordinates_, session1_, session2_, insert_, caps_, num_}) {
        label->setVisible(visible);
    }
}

void ShellStatusBar::setSessionFields(const QString& first, const QString& second) {
    session1_->setText(first);
    session2_->setText(second);
}

void ShellStatusBar::showTime(const QTime& time) {
    clock_->setText(time.toString("HH:mm"));
}

QString ShellStatusBar::clock() const {
    return clock_->text();
}

} // namespace quillon::gui
