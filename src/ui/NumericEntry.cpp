#include "ui/NumericEntry.h"

#include "edit/NumericFilter.h"

#include <QLineEdit>

namespace quillon::gui {

NumericEntry::NumericEntry(QLineEdit* field, Kind kind, QString minimum, QString maximum)
    : QObject(field), field_(field), kind_(kind), minimum_(std::move(minimum)), maximum_(std::move(maximum)) {
    connect(field_, &QLineEdit::textChanged, this, &NumericEntry::apply);
}

QString NumericEntry::filtered(const QString& typed, Kind kind, const QString& minimum,
                               const QString& maximum) {
    // The filter is the core's; the field only hands it the text.
    return QString::fromStdString(filterEntry(typed.toStdString(), static_cast<EntryKind>(kind),
                                              minimum.toStdString(), maximum.toStdString()));
}

void NumericEntry::apply(const QString& text) {
    if (applying_) {
        return;
    }
    const QString kept = filtered(text, kind_, minimum_, maximum_);
    if (kept != text) {
        applying_ = true;
        field_->setText(kept);
        field_->setCursorPosition(static_cast<int>(kept.size()));
        applying_ = false;
    }
}

} // namespace quillon::gui
