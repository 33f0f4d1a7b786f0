#include "plc/PlcList.h"

#include "plc/CatalogLine.h"
#include "plc/CatalogText.h"

namespace quillon {

Result<PlcList> PlcList::parse(std::string_view content) {
    PlcList list;
    CatalogText text(content, CatalogText::kListLineLimit);
    while (const auto line = text.nextLine()) {
        if (CatalogText::isBlank(*line)) {
            break;
        }
        CatalogLine fields(*line);
        const auto name = fields.field();
        const auto id = fields.number(255);
        if (!name || !id) {
            return Result<PlcList>::fail("line " + std::to_string(text.lineNumber()) +
                                         ": a list line needs a name and a PLC id from 0 to 255");
        }
        list.entries_.push_back(
            PlcListEntry{std::string(*name), static_cast<std::uint8_t>(*id), std::string(*line)});
    }
    return list;
}

std::vector<std::string> PlcList::names() const {
    std::vector<std::string> out;
    out.reserve(entries_.size());
    for (const auto& e : entries_) {
        out.push_back(e.name);
    }
    return out;
}

std::optional<std::string> PlcList::nameOf(int id) const {
    for (const auto& e : entries_) {
        if (e.id == id) {
            return withoutTrailingBlanks(e.name);
        }
    }
    return std::nullopt;
}

int PlcList::idAt(int position) const noexcept {
    if (position < 0 || static_cast<std::size_t>(position) >= entries_.size()) {
        return -1;
    }
    return entries_[static_cast<std::size_t>(position)].id;
}

int PlcList::positionOf(int id) const noexcept {
    for (std::size_t i = 0; i < entries_.size(); ++i) {
        if (entries_[i].id == id) {
            return static_cast<int>(i);
        }
    }
    return -1;
}

std::string PlcList::selectedListText(const std::vector<std::string>& chosenNames) const {
    std::string text;
    for (const auto& chosen : chosenNames) {
        for (const auto& e : entries_) {
            if (e.name == chosen) {
                text += e.line;
                text += '\n';
                break;
            }
        }
    }
    return text;
}

std::string PlcList::withoutTrailingBlanks(std::string_view name) {
    const std::size_t last = name.find_last_not_of(" \t");
    return last == std::string_view::npos ? std::string() : std::string(name.substr(0, last + 1));
}

} // namespace quillon
