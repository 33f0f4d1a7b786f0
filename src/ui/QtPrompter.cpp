#include "ui/QtPrompter.h"

#include <algorithm>

#include <QFontMetrics>
#include <QGridLayout>
#include <QGuiApplication>
#include <QMessageBox>
#include <QPushButton>
#include <QScreen>
#include <QSpacerItem>

namespace quillon::gui {
namespace {

QMessageBox::StandardButton toButton(PromptAnswer answer) {
    switch (answer) {
    case PromptAnswer::Cancel:
        return QMessageBox::Cancel;
    case PromptAnswer::Yes:
        return QMessageBox::Yes;
    case PromptAnswer::No:
        return QMessageBox::No;
    case PromptAnswer::Ok:
        break;
    }
    return QMessageBox::Ok;
}

QMessageBox::StandardButtons buttonsOf(PromptButtons buttons) {
    switch (buttons) {
    case PromptButtons::OkCancel:
        return QMessageBox::Ok | QMessageBox::Cancel;
    case PromptButtons::YesNo:
        return QMessageBox::Yes | QMessageBox::No;
    case PromptButtons::YesNoCancel:
        return QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel;
    case PromptButtons::Ok:
        break;
    }
    return QMessageBox::Ok;
}

QMessageBox::Icon iconOf(PromptKind kind) {
    switch (kind) {
    case PromptKind::Error:
        return QMessageBox::Critical;
    case PromptKind::Confirmation:
        return QMessageBox::Question;
    case PromptKind::Information:
        break;
    }
    return QMessageBox::Information;
}

PromptAnswer answerOf(int button, PromptButtons offered) {
    switch (button) {
    case QMessageBox::Yes:
        return PromptAnswer::Yes;
    case QMessageBox::No:
        return PromptAnswer::No;
    case QMessageBox::Cancel:
        return PromptAnswer::Cancel;
    case QMessageBox::Ok:
        return PromptAnswer::Ok;
    default:
        // Closing the box by its frame counts as the way out it offers.
        return offered == PromptButtons::YesNo ? PromptAnswer::No
               : offered == PromptButtons::Ok  ? PromptAnswer::Ok
                                               : PromptAnswer::Cancel;
    }
}

} // namespace

int QtPrompter::titleWidth(const QString& title, const QFont& font) {
    // Window managers draw the caption in a bold face and put the icon and three buttons beside it.
    QFont caption(font);
    caption.setBold(true);
    caption.setPointSizeF(caption.pointSizeF() > 0 ? caption.pointSizeF() * 1.1 : caption.pointSizeF());
    constexpr int kCaptionButtons = 140;
    return QFontMetrics(caption).horizontalAdvance(title) + kCaptionButtons;
}

PromptAnswer QtPrompter::show(const Prompt& prompt) {
    QMessageBox box(iconOf(prompt.kind), QString::fromStdString(prompt.title),
                    QString::fromStdString(prompt.text), buttonsOf(prompt.buttons), owner_);
    box.setTextFormat(Qt::PlainText);
    // A box as wide as its text only would have its caption cut short by the frame: a spacer across
    // the box's grid keeps it wide enough for the whole title, within the screen.
    if (auto* grid = qobject_cast<QGridLayout*>(box.layout())) {
        int width = titleWidth(box.windowTitle(), box.font());
        if (const QScreen* screen = owner_ != nullptr ? owner_->screen() : QGuiApplication::primaryScreen()) {
            width = std::min(width, screen->availableGeometry().width() - 40);
        }
        const QMargins margins = grid->contentsMargins();
        grid->addItem(new QSpacerItem(width - margins.left() - margins.right(), 0, QSizePolicy::Minimum,
                                      QSizePolicy::Fixed),
                      grid->rowCount(), 0, 1, grid->columnCount());
    }
    box.setDefaultButton(toButton(prompt.defaultAnswer));
    if (prompt.buttons == PromptButtons::YesNoCancel || prompt.buttons == PromptButtons::OkCancel) {
        box.setEscapeButton(QMessageBox::Cancel);
    }
    if (busy_) {
        busy_(true);
    }
    const int result = box.exec();
    if (busy_) {
        busy_(false);
    }
    return answerOf(result, prompt.buttons);
}

} // namespace quillon::gui
