#include "ui/HelpWindow.h"

#include "ui/HelpTopics.h"

#include <QDir>
#include <QFileInfo>
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
    bar->addAction(tr("Contents"), this, [this] { showFrontPage(); });
    bar->addAction(tr("Back"), browser_, &QTextBrowser::backward);
    bar->addAction(tr("Forward"), browser_, &QTextBrowser::forward);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(bar);
    layout->addWidget(browser_);
    resize(720, 560);
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
    show();
    raise();
    activateWindow();
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
