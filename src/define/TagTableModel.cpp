#include "define/TagTableModel.h"

#include "model/Application.h"
#include "model/Block.h"
#include "model/Tag.h"

#include <algorithm>

namespace quillon::gui {
namespace {

std::string lowered(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(c >= 'A' && c <= 'Z' ? c + 32 : c); });
    return text;
}

} // namespace

TagTableModel::TagTableModel(Application& application, QObject* parent)
    : QAbstractTableModel(parent), app_(application) {
    reload();
}

void TagTableModel::reload() {
    beginResetModel();
    app_.renumber();
    all_.clear();
    keys_.clear();
    all_.reserve(app_.tagCount());
    for (Tag& tag : app_.tags()) {
        all_.push_back(&tag);
    }
    applyFilter();
    endResetModel();
}

void TagTableModel::setFilter(const QString& text) {
    if (text == filter_) {
        return;
    }
    beginResetModel();
    filter_ = text;
    applyFilter();
    endResetModel();
}

void TagTableModel::applyFilter() {
    rows_.clear();
    const std::string wanted = lowered(filter_.trimmed().toStdString());
    if (wanted.empty()) {
        rows_ = all_;
        return;
    }
    // The texts the filter searches are made at its first use after a reload.
    if (keys_.size() != all_.size()) {
        keys_.clear();
        keys_.reserve(all_.size());
        for (const Tag* tag : all_) {
            keys_.push_back(lowered(tag->name + '\t' + tag->displayAddress()));
        }
    }
    for (std::size_t i = 0; i < all_.size(); ++i) {
        if (keys_[i].find(wanted) != std::string::npos) {
            rows_.push_back(all_[i]);
        }
    }
}

Tag* TagTableModel::tagAt(int row) const noexcept {
    return row >= 0 && static_cast<std::size_t>(row) < rows_.size() ? rows_[static_cast<std::size_t>(row)]
                                                                    : nullptr;
}

int TagTableModel::rowOf(const Tag* tag) const noexcept {
    const auto it = std::find(rows_.begin(), rows_.end(), tag);
    return it == rows_.end() ? -1 : static_cast<int>(it - rows_.begin());
}

int TagTableModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(rows_.size());
}

int TagTableModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : ColumnCount;
}

QString TagTableModel::sizeText(const Tag& tag) {
    switch (tag.type()) {
    case tag_type::kCoil:
        return "-";
    case tag_type::kRegisterBit:
        return QString("_%1").arg(tag.bit, 2, 10, QChar('0'));
    default:
        if (tag.size == 1) {
            return QString("1%1").arg(tag.byteSelect == 0 ? " Low" : " High");
        }
        return QString::number(tag.size);
    }
}

QVariant TagTableModel::data(const QModelIndex& index, int role) const {
    const Tag* tag = tagAt(index.row());
    if (tag == nullptr || role != Qt::DisplayRole) {
        return {};
    }
    switch (index.column()) {
    case Sequence:
        return QString("%1").arg(tag->sequence(), 5, 10, QChar('0'));
    case NodeNumber:
        return QString("%1").arg(tag->nodeNumber(), 3, 10, QChar('0'));
    case BlockColumn:
        return tag->block() != nullptr ? QString::fromStdString(tag->block()->shortLine()) : QString();
    case Address:
        return QString::fromStdString(std::string(tag->plainAddress())); // the size column shows the bit
    case Size:
        return sizeText(*tag);
    case Name:
        return QString::fromStdString(tag->name);
    default:
        return {};
    }
}

QVariant TagTableModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (role != Qt::DisplayRole || orientation != Qt::Horizontal) {
        return QAbstractTableModel::headerData(section, orientation, role);
    }
    switch (section) {
    case Sequence:
        return tr("No.");
    case NodeNumber:
        return tr("Node");
    case BlockColumn:
        return tr("Block");
    case Address:
        return tr("Address");
    case Size:
        return tr("Size");
    case Name:
        return tr("Tag-Name");
    default:
        return {};
    }
}

} // namespace quillon::gui
