#pragma once

// What every dialog of the tool must look like as it opens: no label showing a bare mnemonic mark, every
// mnemonic leading to a field that takes the focus, growing lists that show every column and ten rows
// where the screen has room, and a frame wholly on the screen.

#include "ui/ShellDialog.h"

#include <QAbstractItemView>
#include <QDialog>
#include <QGuiApplication>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QString>
#include <QStringList>

namespace quillon::gui::testing {

// The text a plain label shows for `text`: "&&" shows one "&"; a single "&" is a mnemonic mark, which
// the label hides only when it has a buddy.
inline bool showsBareMnemonic(const QString& text) {
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i] == '&') {
            if (i + 1 < text.size() && text[i + 1] == '&') {
                ++i;
                continue;
            }
            return true;
        }
    }
    return false;
}

inline QStringList lookProblems(const QDialog& dialog) {
    QStringList problems;
    const QString name = QString("'%1'").arg(dialog.windowTitle());
    for (const QLabel* label : dialog.findChildren<QLabel*>()) {
        if (!label->isVisibleTo(&dialog) || Qt::mightBeRichText(label->text()) ||
            label->textFormat() == Qt::RichText || label->textFormat() == Qt::MarkdownText) {
            continue;
        }
        if (!showsBareMnemonic(label->text())) {
            continue;
        }
        const QWidget* buddy = label->buddy();
        if (buddy == nullptr) {
            problems << QString("%1: the label '%2' shows its '&'").arg(name, label->text());
        } else if (buddy->focusPolicy() == Qt::NoFocus && buddy->focusProxy() == nullptr) {
            problems << QString("%1: the mnemonic of '%2' leads to a field that takes no focus")
                            .arg(name, label->text());
        }
    }
    const QRect frame = dialog.frameGeometry();
    const QScreen* screen = dialog.screen() != nullptr ? dialog.screen() : QGuiApplication::primaryScreen();
    // A dialog with fields opens with the focus in one of them, not on a button.
    if (const auto* shell = qobject_cast<const ShellDialog*>(&dialog);
        shell != nullptr && dialog.isVisible() && shell->firstField() != nullptr) {
        const QWidget* focus = dialog.focusWidget();
        if (focus == nullptr || qobject_cast<const QPushButton*>(focus) != nullptr) {
            problems << QString("%1: opens with the focus on %2, not on its first field '%3'")
                            .arg(name, focus != nullptr ? focus->objectName() : QString("nothing"),
                                 shell->firstField()->objectName());
        }
    }
    // A growing list shows every column whole and ten rows at least, where the screen leaves room.
    if (const auto* shell = qobject_cast<const ShellDialog*>(&dialog);
        shell != nullptr && screen != nullptr) {
        const QSize room = screen->availableGeometry().size();
        for (const QAbstractItemView* view : shell->growingLists()) {
            const QSize need = ShellDialog::listSizeFor(*view);
            const QSize extra = need - view->size();
            const bool roomLeft = frame.width() + extra.width() <= room.width() &&
                                  frame.height() + extra.height() <= room.height();
            if (dialog.isVisible() && roomLeft &&
                (view->width() < need.width() || view->height() < need.height())) {
                problems << QString("%1: the list '%2' is %3 x %4, its columns and %5 rows need %6 x %7")
                                .arg(name, view->objectName())
                                .arg(view->width())
                                .arg(view->height())
                                .arg(ShellDialog::kListRows)
                                .arg(need.width())
                                .arg(need.height());
            }
        }
    }
    if (dialog.isVisible() && screen != nullptr && !screen->availableGeometry().contains(frame)) {
        const QRect area = screen->availableGeometry();
        problems << QString("%1 at %2,%3 %4 x %5 leaves the screen %6 x %7")
                        .arg(name)
                        .arg(frame.x())
                        .arg(frame.y())
                        .arg(frame.width())
                        .arg(frame.height())
                        .arg(area.width())
                        .arg(area.height());
    }
    return problems;
}

} // namespace quillon::gui::testing
