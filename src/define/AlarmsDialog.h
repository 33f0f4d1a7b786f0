#pragma once

#include "define/ListEditorDialog.h"
#include "define/TaskEditorContext.h"
#include "edit/define/AlarmEditor.h"

class QButtonGroup;
class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class QRadioButton;
class QToolButton;

namespace quillon::gui {

class TagComboBox;

// "Quillon : Alarms": the alarm texts of the application in their groups, the print option of each, and
// the tags that watch the groups. Every rule is the AlarmEditor's; the dialog shows its state.
class AlarmsDialog final : public ListEditorDialog {
    Q_OBJECT
public:
    AlarmsDialog(QWidget* parent, const TaskEditorContext& context, SixteenTagsFinder findSixteen);

    AlarmEditor& editor() noexcept { return editor_; }
    QListWidget* list() const noexcept { return list_; }
    bool inEditMode() const noexcept override { return editor_.editing(); }
    void okEdit() override { acceptPressed(); }
    void accept() override;

protected:
    void leaveEditMode() override { discardPressed(); }
    void deleteCurrent() override { deletePressed(); }
    bool changeCurrent() override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void rebuildList(int selectAlarm = -1);
    void showSlot();
    void updateState();
    void refuse(const AlarmVerdict& verdict);
    void addPressed();
    void acceptPressed();
    void discardPressed();
    void deletePressed();
    void editLine(int row);
    void openTagDatabase();
    void refillTags();

    const TaskEditorContext& context_;
    AlarmEditor editor_;
    SixteenTagsFinder findSixteen_;
    QListWidget* list_ = nullptr;
    QRadioButton* consecutive_ = nullptr;
    QRadioButton* discrete_ = nullptr;
    TagComboBox* firstTag_ = nullptr;
    QComboBox* group_ = nullptr;
    QLabel* range_ = nullptr;
    TagComboBox* groupTag_ = nullptr;
    QLineEdit* number_ = nullptr;
    QLabel* marker_ = nullptr;
    QToolButton* down_ = nullptr;
    QToolButton* up_ = nullptr;
    QLineEdit* text_ = nullptr;
    QCheckBox* print_ = nullptr;
    QPushButton* add_ = nullptr;
    QPushButton* delete_ = nullptr;
    QPushButton* accept_ = nullptr;
    QPushButton* discard_ = nullptr;
    QPushButton* ok_ = nullptr;
    bool loading_ = false;
};

} // namespace quillon::gui
