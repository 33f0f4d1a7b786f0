#pragma once

#include <cstdint>

#include <QObject>
#include <QString>

class QLineEdit;

namespace quillon::gui {

// The filter every bounded number field of the tool runs on each change of its text: characters that the
// field's radix does not allow are removed, and a value above the maximum loses its last character until
// it fits. A value below the minimum is left for the dialog's Ok to refuse, except in a signed field,
// where the sign makes the value smaller as more digits are typed.
class NumericEntry final : public QObject {
    Q_OBJECT
public:
    enum class Kind : std::uint8_t {
        Decimal = 0,
        Signed = 1,
        Binary = 2,
        Hexadecimal = 3,
        Octal = 4,
        EvenOctal = 5,
        Text = 6
    };

    // Minimum and maximum are texts in the field's radix; empty means unbounded.
    NumericEntry(QLineEdit* field, Kind kind, QString minimum, QString maximum);

    // The text the field keeps when `typed` is entered.
    static QString filtered(const QString& typed, Kind kind, const QString& minimum, const QString& maximum);

private:
    void apply(const QString& text);

    QLineEdit* field_;
    Kind kind_;
    QString minimum_;
    QString maximum_;
    bool applying_ = false;
};

} // namespace quillon::gui
