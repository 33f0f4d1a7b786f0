#include "ui/NumericEntry.h"

#include <optional>

#include <QLineEdit>

namespace quillon::gui {
namespace {

using Kind = NumericEntry::Kind;

int radixOf(Kind kind) noexcept {
    switch (kind) {
    case Kind::Binary:
        return 2;
    case Kind::Hexadecimal:
        return 16;
    case Kind::Octal:
    case Kind::EvenOctal:
        return 8;
    default:
        return 10;
    }
}

bool allowed(QChar c, Kind kind, bool first) noexcept {
    const char16_t u = c.unicode();
    switch (kind) {
    case Kind::Decimal:
        return u >= '0' && u <= '9';
    case Kind::Signed:
        return (u >= '0' && u <= '9') || (first && u == '-');
    case Kind::Binary:
        return u == '0' || u == '1';
    case Kind::Hexadecimal:
        return (u >= '0' && u <= '9') || (u >= 'A' && u <= 'F');
    case Kind::Octal:
    case Kind::EvenOctal:
        return u >= '0' && u <= '7';
    case Kind::Text:
        return true;
    }
    return true;
}

// The value of a field's text; nothing for a text without digits (empty, or a sign alone).
std::optional<long long> valueOf(const QString& text, Kind kind) {
    if (text.isEmpty() || text == "-") {
        return std::nullopt;
    }
    bool ok = false;
    const long long value = text.toLongLong(&ok, radixOf(kind));
    return ok ? std::optional<long long>(value) : std::nullopt;
}

int digits(const QString& text) {
    return static_cast<int>(text.size()) - (text.startsWith('-') ? 1 : 0);
}

} // namespace

NumericEntry::NumericEntry(QLineEdit* field, Kind kind, QString minimum, QString maximum)
    : QObject(field), field_(field), kind_(kind), minimum_(std::move(minimum)), maximum_(std::move(maximum)) {
    connect(field_, &QLineEdit::textChanged, this, &NumericEntry::apply);
}

QString NumericEntry::filtered(const QString& typed, Kind kind, const QString& minimum,
                               const QString& maximum) {
    if (kind == Kind::Text) {
        return typed;
    }
    QString text;
    for (qsizetype i = 0; i < typed.size(); ++i) {
        if (allowed(typed[i], kind, text.isEmpty())) {
            text.append(typed[i]);
        }
    }
    const std::optional<long long> low = valueOf(minimum, kind);
    const std::optional<long long> high = valueOf(maximum, kind);
    if (!low && !high) {
        return text;
    }
    for (;;) {
        const std::optional<long long> value = valueOf(text, kind);
        if (!value) {
            return text;
        }
        bool cut = high && *value > *high;
        // The even-valued octal fields hold byte addresses that must start on a word.
        cut = cut || (kind == Kind::EvenOctal && !minimum.isEmpty() && digits(text) == digits(minimum) &&
                      *value % 2 != 0);
        cut = cut || (kind == Kind::Signed && low && *value < *low);
        if (!cut) {
            return text;
        }
        text.chop(1);
    }
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
