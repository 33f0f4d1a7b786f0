#pragma once

#include "define/DefineHooks.h"
#include "edit/define/TagEditor.h"
#include "ui/ShellDialog.h"

#include <array>
#include <string_view>

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class QRadioButton;
class QTableView;

namespace quillon {
class Application;
class Block;
class Node;
class PlcCatalogFiles;
class Prompter;
class Tag;
} // namespace quillon

namespace quillon::gui {

class AddressPartEdit;
class TagTableModel;

// "Quillon : Tags": the tag database. The fields compose a tag in the chosen node's notation; Add, Change
// and delete go through the core's TagEditor. The table is a view over the application's tag list with a
// filter by name or address, the "Used in" list names every place that uses the selected tag, and tag
// lists are read from and written to CSV files.
class TagEditorDialog final : public ShellDialog {
    Q_OBJECT
public:
    // The settings key of "New blocks fit their tags".
    static constexpr std::string_view kFitBlocksSetting = "TagEditor.fitBlocks";

    TagEditorDialog(QWidget* parent, Application& application, PlcCatalogFiles& catalogs, Prompter& prompter,
                    DefineHooks hooks);

    TagTableModel* model() const noexcept { return model_; }
    QTableView* table() const noexcept { return table_; }
    QLineEdit* filterField() const noexcept { return filter_; }
    QListWidget* usedIn() const noexcept { return usedIn_; }
    bool changed() const noexcept { return changed_; }
    Tag* selectedTag() const;

    void addTag();
    void changeTag();
    void cancelChange();
    void deleteSelected();
    void openBlocks();
    void openNetwork();
    void importTags();
    void exportTags();
    void selectTag(const Tag* tag);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void fillNodes(const Node* select);
    void chooseNode(int index);
    void fillBlocks();
    void chooseBlock(int index);
    void chooseArea(int index, bool registerKind);
    void showDraft(const TagDraft& draft);
    void showByteChoices(std::uint8_t byteCount, std::uint8_t select);
    void showSelector();
    TagDraft draft() const;
    void tagSelected();
    void focusField(TagField field);
    void refreshTable(const Tag* select);
    Block* chosenBlock() const;
    void updateButtons();

    Application& app_;
    PlcCatalogFiles& catalogs_;
    Prompter& prompter_;
    DefineHooks hooks_;
    TagEditor editor_;
    QCheckBox* fitBlocks_ = nullptr;
    TagTableModel* model_ = nullptr;
    std::uint8_t byteCount_ = 2;
    bool changed_ = false;
    bool loading_ = false;
    bool coilChosen_ = false;
    // The form as it was filled from the selected tag: Change on an untouched form keeps the tag as stored.
    const Tag* shownTag_ = nullptr;
    TagDraft shown_;

    QComboBox* node_ = nullptr;
    QComboBox* block_ = nullptr;
    QRadioButton* register_ = nullptr;
    QRadioButton* coil_ = nullptr;
    QComboBox* area_ = nullptr;
    QLabel* areaInfo_ = nullptr;
    QLabel* range_ = nullptr;
    std::array<AddressPartEdit*, 3> parts_{};
    AddressPartEdit* bit_ = nullptr;
    QLabel* bitLabel_ = nullptr;
    QLineEdit* name_ = nullptr;
    QComboBox* bytes_ = nullptr;
    QRadioButton* low_ = nullptr;
    QRadioButton* high_ = nullptr;
    QLineEdit* filter_ = nullptr;
    QTableView* table_ = nullptr;
    QListWidget* usedIn_ = nullptr;
    QPushButton* add_ = nullptr;
    QPushButton* change_ = nullptr;
    QPushButton* cancel_ = nullptr;
    QPushButton* delete_ = nullptr;
};

} // namespace quillon::gui
