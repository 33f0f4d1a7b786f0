#include "shell/SplashDialog.h"

#include "ui/ToolIcons.h"

#include <QApplication>
#include <QDialogButtonBox>
#include <QEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QVBoxLayout>

namespace quillon::gui {

SplashDialog::SplashDialog(QWidget* parent, Mode mode)
    : ShellDialog(parent, 0), secondsLeft_(mode == Mode::About ? kAboutSeconds : kStartUpSeconds) {
    setWindowTitle(mode == Mode::About ? tr("Quillon : About Quillon") : tr("Quillon"));
    setObjectName(mode == Mode::About ? "AboutDialog" : "SplashDialog");

    auto* picture = new QLabel(this);
    picture->setPixmap(ToolIcons::productPicture(96));
    auto* name = new QLabel(QString("<b style='font-size:20pt'>Quillon</b><br>%1")
                                .arg(QApplication::applicationVersion().isEmpty()
                                         ? QString()
                                         : tr("Version %1").arg(QApplication::applicationVersion())),
                            this);
    auto* product = new QLabel(tr(kProductLine), this);
    product->setObjectName("productLine");
    auto* models = new QLabel(tr("For the Orvik and VQ5K operator panels."), this);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);

    auto* top = new QHBoxLayout;
    top->addWidget(picture);
    top->addWidget(name, 1);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(product);
    layout->addWidget(models);
    layout->addWidget(buttons);

    // At start-up the main window is maximised while the greeting comes up: the greeting follows it.
    if (parent != nullptr) {
        parent->window()->installEventFilter(this);
    }

    timer_.setInterval(1000);
    connect(&timer_, &QTimer::timeout, this, &SplashDialog::tick);
    timer_.start();
}

bool SplashDialog::eventFilter(QObject* watched, QEvent* event) {
    if (isVisible() && parentWidget() != nullptr && watched == parentWidget()->window() &&
        (event->type() == QEvent::Resize || event->type() == QEvent::Move)) {
        placeOnMainWindow();
    }
    return ShellDialog::eventFilter(watched, event);
}

void SplashDialog::tick() {
    if (--secondsLeft_ <= 0) {
        timer_.stop();
        accept();
    }
}

} // namespace quillon::gui
