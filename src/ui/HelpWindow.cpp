#include "ui/HelpWindow.h"

#include "ui/HelpTopics.h"
#include "ui/ShellDialog.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QKeyEvent>
#include <QScreen>
#include <QTextBrowser>
#include <QToolBar>
#include <QVBoxLayout>

namespace quillon::gui {

HelpWindow::HelpWindow(QString helpFolder, QWidget* parent)
    : QWidget(parent, Qt::Window), folder_(std::move(helpFolder)) {
    setWindowTitle(tr("Quillon : Help"));
    setObjectName("HelpWindow");
    browser_ = new QTextBrowser(this);
    browser_->setOpenLinks(true);
    browser_->setOpenExternalLinks(false);
    browser_->setSearchPaths({folder_});
    auto* bar = new QToolBar(this);
    contents_ = bar->addAction(tr("Contents"), this, [this] { showFrontPage(); });
    bar->addAction(tr("Back"), browser_, &QTextBrowser::backward);
    bar->addAction(tr("Forward"), browser_, &QTextBrowser::forward);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(bar);
    layout->addWidget(browser_);
    resize(kPreferredSize);
}

void HelpWindow::keyPressEvent(QKeyEvent* event) {
    // Esc and Ctrl+W close it, wherever in the window the focus is (the page passes them on).
    if (event->key() == Qt::Key_Escape || event->matches(QKeySequence::Close) ||
        (event->key() == Qt::Key_W && event->modifiers() == Qt::ControlModifier)) {
        close();
        return;
    }
    QWidget::keyPressEvent(event);
}

void HelpWindow::bringUp() {
    // Over a modal dialog the help must take the input itself: a window beside the dialog would be
    // blocked (its links and close box dead) and could open behind the main window.
    const QWidget* modal = QApplication::activeModalWidget();
    const Qt::WindowModality wanted = modal != nullptr && modal != this ? Qt::ApplicationModal : Qt::NonModal;
    if (windowModality() != wanted) {
        if (isVisible()) {
            hide();
        }
        setWindowModality(wanted);
    }
    if (!isVisible()) {
        resize(kPreferredSize);
        show();
        // Wholly on the screen, frame included, centred over the tool's window.
        const QWidget* main = parentWidget() != nullptr ? parentWidget()->window() : nullptr;
        const QScreen* screen =
            main != nullptr && main->screen() != nullptr ? main->screen() : QGuiApplication::primaryScreen();
        const QRect area = screen != nullptr ? screen->availableGeometry() : QRect();
        const QSize frame = frameGeometry().size() - geometry().size();
        if (area.isValid()) {
            resize(size().boundedTo(area.size() - frame));
        }
        const QRect over = main != nullptr ? main->frameGeometry() : area;
        move(ShellDialog::placement(over, size() + frame, area).topLeft());
    }
    show();
    raise();
    activateWindow();
}

bool HelpWindow::available() const {
    return QFileInfo(QDir(folder_).filePath(QString(kFrontPage.data()))).isFile();
}

bool HelpWindow::showPage(const QString& fileName) {
    const QString path = QDir(folder_).filePath(fileName);
    if (!available() || !QFileInfo(path).isFile()) {
        return false;
    }
    browser_->setSource(QUrl::fromLocalFile(path));
    bringUp();
    return true;
}

bool HelpWindow::showTopic(int topicNumber) {
    const auto file = helpTopicFile(topicNumber);
    if (!file) {
        return false;
    }
    return showPage(QString::fromLatin1(file->data(), static_cast<qsizetype>(file->size())));
}

bool HelpWindow::showFrontPage() {
    return showPage(QString::fromLatin1(kFrontPage.data(), kFrontPage.size()));
}

QString HelpWindow::currentPage() const {
    return QFileInfo(browser_->source().toLocalFile()).fileName();
}

} // namespace quillon::gui
