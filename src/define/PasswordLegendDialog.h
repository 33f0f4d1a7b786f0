#pragma once

#include "define/TaskEditorContext.h"
#include "ui/ShellDialog.h"

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QRadioButton;
class QWidget;

namespace quillon {
class KeyDefinition;
}

namespace quillon::gui {

// "Quillon : Password and Legend" of a global key: its password and the legend its button shows, two
// short lines of text or a picture of the picture library.
class PasswordLegendDialog final : public ShellDialog {
    Q_OBJECT
public:
    PasswordLegendDialog(QWidget* parent, const TaskEditorContext& context, KeyDefinition& key);

    QLineEdit* password() const noexcept { return password_; }
    QCheckBox* changeLegend() const noexcept { return change_; }
    QRadioButton* textType() const noexcept { return text_; }
    QRadioButton* bitmapType() const noexcept { return bitmap_; }
    QLineEdit* line1() const noexcept { return line1_; }
    QLineEdit* line2() const noexcept { return line2_; }
    QComboBox* picture() const noexcept { return picture_; }
    void accept() override;

private:
    void legendChanged();
    void pictureChanged();

    const TaskEditorContext& context_;
    KeyDefinition& key_;
    QLineEdit* password_ = nullptr;
    QCheckBox* change_ = nullptr;
    QWidget* legendPart_ = nullptr;
    QRadioButton* text_ = nullptr;
    QRadioButton* bitmap_ = nullptr;
    QLineEdit* line1_ = nullptr;
    QLineEdit* line2_ = nullptr;
    QComboBox* picture_ = nullptr;
    QLabel* preview_ = nullptr;
};

} // namespace quillon::gui
