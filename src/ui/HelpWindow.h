#pragma once

#include <QString>
#include <QWidget>

class QAction;
class QTextBrowser;

namespace quillon::gui {

// The help viewer: a browser over the topic pages in the help folder of the working directory.
// Without that folder there is no help, and help requests do nothing. Asked for from inside a modal
// dialog, it comes up over the dialog and takes the input until it is closed (Esc or Ctrl+W).
class HelpWindow final : public QWidget {
    Q_OBJECT
public:
    explicit HelpWindow(QString helpFolder, QWidget* parent = nullptr);

    bool available() const;
    // Shows a page of the help folder; returns whether it was shown.
    bool showPage(const QString& fileName);
    // Shows the page of a dialog's topic number; a number without a page shows nothing.
    bool showTopic(int topicNumber);
    bool showFrontPage();

    QString currentPage() const;
    QTextBrowser* browser() const noexcept { return browser_; }
    // The "Contents" entry of its tool bar.
    QAction* contentsAction() const noexcept { return contents_; }

    static constexpr QSize kPreferredSize{720, 560};

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    void bringUp();

    QString folder_;
    QAction* contents_ = nullptr;
    QTextBrowser* browser_ = nullptr;
};

} // namespace quillon::gui
