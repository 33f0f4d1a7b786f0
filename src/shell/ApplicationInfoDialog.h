#pragma once

#include "shell/DocumentService.h"
#include "ui/ShellDialog.h"

class QLineEdit;
class QPlainTextEdit;
class QLabel;

namespace quillon::gui {

// "Application Information": title, author, password and description of the application, and when it
// was last saved. Ok hands the four texts back; Cancel and Escape change nothing.
class ApplicationInfoDialog final : public ShellDialog {
    Q_OBJECT
public:
    static constexpr int kTitleLimit = 50;
    static constexpr int kAuthorLimit = 50;
    static constexpr int kPasswordLimit = 8;
    static constexpr int kDescriptionLimit = 500;

    ApplicationInfoDialog(QWidget* parent, const ApplicationFields& info);

    // The texts as edited; the time last edited is passed through unchanged.
    ApplicationFields result() const;

    // "%02d/%02d/%d" and "%02d:%02d:%02d" of the time last edited.
    static QString dateText(const std::tm& time);
    static QString timeText(const std::tm& time);

private:
    void limitDescription();

    ApplicationFields info_;
    QLineEdit* title_ = nullptr;
    QLineEdit* author_ = nullptr;
    QLineEdit* password_ = nullptr;
    QPlainTextEdit* description_ = nullptr;
};

} // namespace quillon::gui
