#pragma once

#include "ui/ShellDialog.h"

#include <QTimer>

namespace quillon::gui {

// The greeting at start-up and the About box. A one-second timer closes it after 10 seconds at
// start-up and after 40 seconds as About box; Ok closes it at once.
class SplashDialog final : public ShellDialog {
    Q_OBJECT
public:
    enum class Mode { StartUp = 0, About = 1 };
    static constexpr int kStartUpSeconds = 10;
    static constexpr int kAboutSeconds = 40;
    static constexpr const char* kProductLine = "Configuration software for VQ5K series operator interfaces.";

    SplashDialog(QWidget* parent, Mode mode);

    int secondsLeft() const noexcept { return secondsLeft_; }
    // One tick of the one-second timer; public so that the countdown can be driven directly.
    void tick();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QTimer timer_;
    int secondsLeft_ = 0;
};

} // namespace quillon::gui
