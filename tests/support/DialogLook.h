#pragma once

// What every dialog of the tool must look like as it opens: no label showing a bare mnemonic mark, every
// mnemonic leading to a field that takes the focus, a size that fits the main window at its minimum,
// and a frame wholly on the screen.

#include "ui/ShellDialog.h"

#include <QDialog>
#include <QGuiApplication>
#include <QLabel>
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
    if (frame.width() > ShellDialog::kMaximumSize.width() ||
        frame.height() > ShellDialog::kMaximumSize.height()) {
        problems << QString("%1: %2 x %3 does not fit the smallest main window")
                        .arg(name)
                        .arg(frame.width())
                        .arg(frame.height());
    }
    const QScreen* screen = dialog.screen() != nullptr ? dialog.screen() : QGuiApplication::primaryScreen();
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
