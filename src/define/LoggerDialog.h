#pragma once

#include "define/TaskEditorContext.h"
#include "edit/define/LoggerEditor.h"
#include "ui/ShellDialog.h"

class QButtonGroup;
class QCheckBox;
class QComboBox;
class QLineEdit;
class QListWidget;
class QPushButton;

namespace quillon::gui {

// "Quillon : Logger": what the unit records in its log memory, how often, what it does when the memory
// is full, and the page header of the printed log. It has no Cancel: Close (and Escape) store every field.
class LoggerDialog final : public ShellDialog {
    Q_OBJECT
public:
    LoggerDialog(QWidget* parent, const TaskEditorContext& context);

    LoggerEditor& editor() noexcept { return editor_; }
    QLineEdit* header() const noexcept { return header_; }
    QLineEdit* frequency() const noexcept { return frequency_; }
    void accept() override;
    void reject() override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void fillDefined();
    void fillLogged(int select = -1);
    void showHeader(int cursor);
    void addTag();
    void deleteTag();
    void moveTag(bool up);
    void embedRegister();
    void showOptimized();
    void openTagDatabase();
    bool headerKey(int key, const QString& text);
    void store();

    const TaskEditorContext& context_;
    LoggerEditor editor_;
    QComboBox* memory_ = nullptr;
    QLineEdit* frequency_ = nullptr;
    QButtonGroup* units_ = nullptr;
    QButtonGroup* whenFull_ = nullptr;
    QCheckBox* powerUp_ = nullptr;
    QCheckBox* startTime_ = nullptr;
    QCheckBox* stopTime_ = nullptr;
    QListWidget* defined_ = nullptr;
    QListWidget* logged_ = nullptr;
    QPushButton* add_ = nullptr;
    QPushButton* delete_ = nullptr;
    QLineEdit* header_ = nullptr;
    QComboBox* separator_ = nullptr;
    std::vector<Tag*> definedTags_;
    bool stored_ = false;
};

} // namespace quillon::gui
