#include "edit/define/PageHeader.h"

namespace quillon {

std::string_view PageHeader::textOf(Field field) noexcept {
    switch (field) {
    case Field::Time:
        return kTimeText;
    case Field::Date:
        return kDateText;
    case Field::Register:
        break;
    }
    return kRegisterText;
}

std::string PageHeader::decode(std::string_view stored) {
    std::string shown;
    for (std::size_t i = 0; i < stored.size();) {
        const auto code = static_cast<unsigned char>(stored[i]);
        if (code < 1 || code > 3) {
            shown += stored[i++];
            continue;
        }
        const std::string_view text = textOf(static_cast<Field>(code));
        std::size_t k = 0;
        while (i < stored.size() && static_cast<unsigned char>(stored[i]) == code) {
            shown += text[k % text.size()];
            ++k;
            ++i;
        }
    }
    return encode(shown) == stored ? shown : decode(encode(shown));
}

std::string PageHeader::encode(std::string_view shown) {
    std::string stored;
    bool registerSeen = false;
    for (std::size_t i = 0; i < shown.size();) {
        const std::string_view rest = shown.substr(i);
        if (rest.starts_with(kTimeText)) {
            stored.append(kTimeText.size(), '\x01');
            i += kTimeText.size();
        } else if (rest.starts_with(kDateText)) {
            stored.append(kDateText.size(), '\x02');
            i += kDateText.size();
        } else if (!registerSeen && rest.starts_with(kRegisterText)) {
            stored.append(kRegisterText.size(), '\x03');
            registerSeen = true;
            i += kRegisterText.size();
        } else {
            const char c = shown[i++];
            if (c != '#' && (static_cast<unsigned char>(c) > 3)) {
                stored += c;
            }
        }
    }
    return stored;
}

std::optional<PageHeader::Span> PageHeader::fieldAt(std::string_view shown, std::size_t position) {
    const std::string stored = encode(shown);
    if (stored.size() != shown.size() || position >= stored.size()) {
        return std::nullopt;
    }
    const auto code = static_cast<unsigned char>(stored[position]);
    if (code < 1 || code > 3) {
        return std::nullopt;
    }
    // Fields of one kind may stand side by side: each is a whole run of its length.
    const std::size_t length = textOf(static_cast<Field>(code)).size();
    std::size_t runStart = position;
    while (runStart > 0 && static_cast<unsigned char>(stored[runStart - 1]) == code) {
        --runStart;
    }
    const std::size_t start = runStart + (position - runStart) / length * length;
    return Span{static_cast<Field>(code), start, length};
}

bool PageHeader::hasRegister(std::string_view shown) {
    return encode(shown).find('\x03') != std::string::npos;
}

std::string PageHeader::deleteQuestion(Field field) {
    const std::string_view what = field == Field::Time   ? "Time?"
                                  : field == Field::Date ? "Date?"
                                                         : "Register?";
    return std::string(kDeleteQuestion) + " " + std::string(what);
}

bool PageHeader::append(std::string& shown, Field field) {
    const std::string_view text = textOf(field);
    if (shown.size() + text.size() > kMaxLength || (field == Field::Register && hasRegister(shown))) {
        return false;
    }
    shown += text;
    return true;
}

void PageHeader::remove(std::string& shown, const Span& span) {
    if (span.start < shown.size()) {
        shown.erase(span.start, span.length);
    }
}

} // namespace quillon
