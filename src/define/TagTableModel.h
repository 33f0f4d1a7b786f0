#pragma once

#include <string>
#include <vector>

#include <QAbstractTableModel>

namespace quillon {
class Application;
class Tag;
} // namespace quillon

namespace quillon::gui {

// The tag table of the tag database editor over the application's tag list: one row per tag (those the
// filter lets through), the cells made when they are shown, so that an application of 65 535 tags opens
// and scrolls without a widget or a text per row.
class TagTableModel final : public QAbstractTableModel {
    Q_OBJECT
public:
    enum Column { Sequence, NodeNumber, BlockColumn, Address, Size, Name, ColumnCount };

    explicit TagTableModel(Application& application, QObject* parent = nullptr);

    // Renumbers the tags and takes the list anew (after any change).
    void reload();
    // Rows whose name or address holds the text, without regard to case; empty shows every tag.
    void setFilter(const QString& text);
    const QString& filter() const noexcept { return filter_; }

    Tag* tagAt(int row) const noexcept;
    int rowOf(const Tag* tag) const noexcept;

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

    // The size column of a tag: "-" for a coil, the byte count (with " Low" or " High" for one byte) for a
    // register, "_nn" for a bit inside a register.
    static QString sizeText(const Tag& tag);

private:
    void applyFilter();

    Application& app_;
    std::vector<Tag*> all_;
    std::vector<std::string> keys_; // lower-case "name\taddress" of each tag, for the filter
    std::vector<Tag*> rows_;
    QString filter_;
};

} // namespace quillon::gui
