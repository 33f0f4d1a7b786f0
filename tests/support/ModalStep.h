#pragma once

// A step played inside the loop of the modal dialog that a test opens next. A failed check inside the
// step only returns from the step, and the dialog would then wait for a user forever: after a failure,
// every modal dialog still up is closed, so that the test ends and reports it.

#include <functional>
#include <utility>

#include <QApplication>
#include <QDialog>
#include <QTest>
#include <QTimer>
#include <QWidget>

namespace quillon::gui::testing {

inline void closeModalsAfterFailure() {
    if (!QTest::currentTestFailed()) {
        return;
    }
    while (QWidget* up = QApplication::activeModalWidget()) {
        if (auto* dialog = qobject_cast<QDialog*>(up)) {
            dialog->reject();
        } else {
            up->close();
        }
        if (QApplication::activeModalWidget() == up) {
            up->hide(); // a dialog that refuses to close still must not hold the test
        }
    }
}

inline void onModal(std::function<void()> step) {
    QTimer::singleShot(0, [step = std::move(step)] {
        step();
        closeModalsAfterFailure();
    });
}

} // namespace quillon::gui::testing
