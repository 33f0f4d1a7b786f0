#include "edit/shell/ProjectSearch.h"

#include "edit/define/Keypad.h"
#include "model/AlarmTable.h"
#include "model/Application.h"
#include "model/Screen.h"
#include "model/ScreenObject.h"
#include "model/Tag.h"
#include "model/TagUsage.h"
#include "model/TextObject.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <optional>

namespace quillon {
namespace {

char lower(char c) noexcept {
    return static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
}

std::string lowered(std::string_view text) {
    std::string out(text);
    std::transform(out.begin(), out.end(), out.begin(), lower);
    return out;
}

// Whether `needle` (already in lower case) is in `text`, case ignored.
bool contains(std::string_view text, std::string_view needle) noexcept {
    if (needle.size() > text.size()) {
        return false;
    }
    const auto found = std::search(text.begin(), text.end(), needle.begin(), needle.end(),
                                   [](char a, char b) { return lower(a) == b; });
    return found != text.end();
}

std::string_view trimmed(std::string_view text) noexcept {
    while (!text.empty() && std::isspace(static_cast<unsigned char>(text.front())) != 0) {
        text.remove_prefix(1);
    }
    while (!text.empty() && std::isspace(static_cast<unsigned char>(text.back())) != 0) {
        text.remove_suffix(1);
    }
    return text;
}

std::string screenWhere(const Screen& screen) {
    return "Screen " + std::to_string(screen.number()) +
           (screen.name.empty() ? "" : " (" + screen.name + ")");
}

std::size_t objectPosition(const Screen& screen, const ScreenObject& object) {
    const auto& objects = screen.objects();
    for (std::size_t i = 0; i < objects.size(); ++i) {
        if (objects[i].get() == &object) {
            return i + 1;
        }
    }
    return 0;
}

class Collector {
public:
    explicit Collector(ProjectSearch::Result& result) : result_(result) {}
    bool full() const noexcept { return result_.truncated; }
    void add(SearchHit hit) {
        if (result_.hits.size() >= ProjectSearch::kMaxHits) {
            result_.truncated = true;
            return;
        }
        result_.hits.push_back(std::move(hit));
    }

private:
    ProjectSearch::Result& result_;
};

} // namespace

std::string_view ProjectSearch::fieldName(SearchField field) noexcept {
    switch (field) {
    case SearchField::TagName:
        return "Tag name";
    case SearchField::TagAddress:
        return "Tag address";
    case SearchField::ScreenName:
        return "Screen name";
    case SearchField::ScreenNumber:
        return "Screen number";
    case SearchField::StaticText:
        return "Static text";
    case SearchField::AlarmText:
        return "Alarm text";
    case SearchField::KeyLegend:
        return "Key legend";
    }
    return "";
}

ProjectSearch::Result ProjectSearch::run(const Application& app, std::string_view text) {
    Result result;
    const std::string_view wanted = trimmed(text);
    if (wanted.empty()) {
        return result;
    }
    const std::string needle = lowered(wanted);
    Collector out(result);

    for (const Tag& tagRecord : app.tags()) {
        const Tag* tag = &tagRecord;
        if (out.full()) {
            return result;
        }
        const std::string where = "Node " + std::to_string(tag->nodeNumber()) + ", block " +
                                  (tag->block() != nullptr ? tag->block()->address() : std::string());
        if (contains(tag->name, needle)) {
            out.add(SearchHit{SearchField::TagName, tag->name, where, tag, nullptr, nullptr, nullptr, 0});
        } else if (contains(tag->address(), needle)) {
            // A tag found by its name is listed once; its address is looked at only otherwise.
            out.add(SearchHit{SearchField::TagAddress, tag->displayAddress(), where, tag, nullptr, nullptr,
                              nullptr, 0});
        }
    }

    // A screen number is given whole (leading zeros allowed); numbers beyond the last screen number find
    // none.
    std::optional<std::uint32_t> number;
    if (wanted.size() <= 10 && std::all_of(wanted.begin(), wanted.end(), [](char c) {
            return std::isdigit(static_cast<unsigned char>(c)) != 0;
        })) {
        const unsigned long long value = std::stoull(std::string(wanted));
        if (value >= 1 && value <= Screen::kMaxNumber) {
            number = static_cast<std::uint32_t>(value);
        }
    }
    for (const auto& screen : app.screens()) {
        if (out.full()) {
            return result;
        }
        const std::string where = screenWhere(*screen);
        if (number && screen->number() == *number) {
            out.add(SearchHit{SearchField::ScreenNumber, std::to_string(screen->number()), where, nullptr,
                              screen.get(), nullptr, nullptr, 0});
        }
        if (contains(screen->name, needle)) {
            out.add(SearchHit{SearchField::ScreenName, screen->name, where, nullptr, screen.get(), nullptr,
                              nullptr, 0});
        }
        for (const auto& object : screen->objects()) {
            if (object->kind() != ObjectKind::Text) {
                continue;
            }
            const auto& staticText = static_cast<const TextObject&>(*object).text();
            if (contains(staticText, needle)) {
                out.add(SearchHit{SearchField::StaticText, staticText,
                                  where + ", object " + std::to_string(objectPosition(*screen, *object)),
                                  nullptr, screen.get(), object.get(), nullptr, 0});
            }
        }
    }

    if (const AlarmTable* table = app.alarmsIfAny()) {
        for (std::size_t a = 0; a < AlarmTable::kAlarms; ++a) {
            if (!table->text(a).empty() && contains(table->text(a), needle)) {
                char number[8];
                std::snprintf(number, sizeof number, "%03d", static_cast<int>(a));
                out.add(SearchHit{SearchField::AlarmText, table->text(a), std::string("Alarm ") + number,
                                  nullptr, nullptr, nullptr, nullptr, a});
            }
        }
    }

    for (const auto& key : app.globalKeys()) {
        if (!key->legend) {
            continue;
        }
        const KeyLegend& legend = *key->legend;
        const std::string shown = legend.type == KeyLegend::kText
                                      ? legend.line1 + (legend.line2.empty() ? "" : " " + legend.line2)
                                      : legend.bitmapName;
        const bool found =
            legend.type == KeyLegend::kText
                ? contains(legend.line1, needle) || contains(legend.line2, needle) || contains(shown, needle)
                : contains(legend.bitmapName, needle);
        if (found) {
            out.add(SearchHit{SearchField::KeyLegend, shown, "Global key " + keyName(key->code), nullptr,
                              nullptr, nullptr, key.get(), 0});
        }
    }
    return result;
}

std::vector<TagUseHit> ProjectSearch::usesOf(Application& app, const Tag& tag) {
    std::vector<TagUseHit> uses;
    (void)app.tagReferences().forEachUse([&](const TagUse& use) {
        if (use.tag == &tag) {
            uses.push_back(TagUseHit{TagUsage::describe(use), use});
        }
        return false;
    });
    return uses;
}

} // namespace quillon
