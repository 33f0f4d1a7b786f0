#include "compare/ApplicationDiff.h"

#include <algorithm>
#include <nlohmann/json.hpp>
#include <optional>
#include <unordered_map>

namespace quillon {
namespace {

constexpr std::string_view kNone = "(none)";

std::string identity(const Record& r, const std::string& key) {
    std::string id;
    id.reserve(r.scope.size() + key.size() + 1);
    id += r.scope;
    id += '\x1f';
    id += key;
    return id;
}

// Whether two objects agree in everything but their place (and so their size).
bool samePropertiesElsewhere(const Record& a, const Record& b) {
    if (a.items != b.items || a.fields.size() != b.fields.size()) {
        return false;
    }
    for (std::size_t i = 0; i < a.fields.size(); ++i) {
        if (a.fields[i].caption == "Size" || a.fields[i].caption == "Points") {
            continue;
        }
        if (a.fields[i] != b.fields[i]) {
            return false;
        }
    }
    return true;
}

// How a tag of the first application is named in the second, for the tags renamed or moved: a reference to
// such a tag still refers to the same tag, and only the tag itself shows the change.
using TagNames = std::unordered_map<std::string, std::string>;

// The text with every tag reference `"name" (node n, address)` of a renamed tag written as the second
// application writes it.
std::string renamedIn(const std::string& value, const TagNames& names) {
    if (names.empty() || value.find('"') == std::string::npos) {
        return value;
    }
    std::string out;
    std::size_t at = 0;
    while (at < value.size()) {
        const std::size_t open = value.find('"', at);
        if (open == std::string::npos) {
            break;
        }
        const std::size_t node = value.find("\" (node ", open + 1);
        const std::size_t close = node == std::string::npos ? node : value.find(')', node);
        if (close == std::string::npos) {
            break;
        }
        const auto found = names.find(value.substr(open, close + 1 - open));
        out.append(value, at, open - at);
        if (found != names.end()) {
            out += found->second;
            at = close + 1;
        } else {
            out.push_back('"');
            at = open + 1;
        }
    }
    out.append(value, std::min(at, value.size()), std::string::npos);
    return out;
}

class SectionDiff final {
public:
    SectionDiff(RecordSection section, const std::vector<Record>& a, const std::vector<Record>& b,
                std::vector<Difference>& out, TagNames& tagNames)
        : section_(section), a_(a), b_(b), out_(out), tagNames_(tagNames), pairOfA_(a.size()),
          takenB_(b.size(), false) {}

    void run() {
        matchByKey();
        if (section_ == RecordSection::Objects) {
            matchObjects();
        } else {
            matchLoosely([](const Record& r) -> const std::string& { return r.loose; });
        }
        if (section_ == RecordSection::Tags) {
            matchLoosely([](const Record& r) -> const std::string& { return r.name; });
        }
        if (section_ == RecordSection::Tags) {
            constexpr std::string_view kTagWord = "tag ";
            for (std::size_t i = 0; i < a_.size(); ++i) {
                if (pairOfA_[i] && a_[i].label != b_[*pairOfA_[i]].label) {
                    tagNames_.emplace(a_[i].label.substr(kTagWord.size()),
                                      b_[*pairOfA_[i]].label.substr(kTagWord.size()));
                }
            }
        }
        for (std::size_t i = 0; i < a_.size(); ++i) {
            current(&a_[i], pairOfA_[i] ? &b_[*pairOfA_[i]] : nullptr);
            if (pairOfA_[i]) {
                compareRecords(a_[i], b_[*pairOfA_[i]]);
            } else {
                emit(ChangeKind::Removed, a_[i].label, {}, {}, {});
                for (const std::string& item : a_[i].items) {
                    emit(ChangeKind::ItemRemoved, a_[i].label, {}, item, {});
                }
            }
        }
        for (std::size_t j = 0; j < b_.size(); ++j) {
            if (!takenB_[j]) {
                current(nullptr, &b_[j]);
                emit(ChangeKind::Added, b_[j].label, {}, {}, {});
                for (const std::string& item : b_[j].items) {
                    emit(ChangeKind::ItemAdded, b_[j].label, {}, {}, item);
                }
            }
        }
    }

private:
    void pair(std::size_t i, std::size_t j) {
        pairOfA_[i] = j;
        takenB_[j] = true;
    }

    void matchByKey() {
        // Records usually stand in the same order in both: a walk side by side pairs them without a lookup.
        std::size_t j = 0;
        std::vector<std::size_t> leftA;
        for (std::size_t i = 0; i < a_.size(); ++i) {
            if (j < b_.size() && a_[i].scope == b_[j].scope && a_[i].key == b_[j].key) {
                pair(i, j++);
            } else {
                leftA.push_back(i);
            }
        }
        if (leftA.empty()) {
            return;
        }
        std::unordered_map<std::string, std::size_t> index;
        for (std::size_t k = 0; k < b_.size(); ++k) {
            if (!takenB_[k]) {
                index.emplace(identity(b_[k], b_[k].key), k);
            }
        }
        for (const std::size_t i : leftA) {
            const auto found = index.find(identity(a_[i], a_[i].key));
            if (found != index.end() && !takenB_[found->second]) {
                pair(i, found->second);
            }
        }
    }

    template <typename Of>
    void matchLoosely(Of of) {
        std::unordered_map<std::string, std::vector<std::size_t>> index;
        for (std::size_t j = 0; j < b_.size(); ++j) {
            if (!takenB_[j] && !of(b_[j]).empty()) {
                index[identity(b_[j], of(b_[j]))].push_back(j);
            }
        }
        if (index.empty()) {
            return;
        }
        for (std::size_t i = 0; i < a_.size(); ++i) {
            if (pairOfA_[i] || of(a_[i]).empty()) {
                continue;
            }
            const auto found = index.find(identity(a_[i], of(a_[i])));
            if (found == index.end()) {
                continue;
            }
            for (const std::size_t j : found->second) {
                if (!takenB_[j]) {
                    pair(i, j);
                    break;
                }
            }
        }
    }

    // Objects left over: one of the same kind with the same properties elsewhere has moved; one of the same
    // kind with the same top-left corner was resized or changed.
    void matchObjects() {
        for (int pass = 0; pass < 2; ++pass) {
            for (std::size_t i = 0; i < a_.size(); ++i) {
                if (pairOfA_[i]) {
                    continue;
                }
                for (std::size_t j = 0; j < b_.size(); ++j) {
                    if (takenB_[j] || a_[i].scope != b_[j].scope || a_[i].loose != b_[j].loose) {
                        continue;
                    }
                    const bool fits =
                        pass == 0 ? samePropertiesElsewhere(a_[i], b_[j])
                                  : (a_[i].place && b_[j].place && a_[i].place->left == b_[j].place->left &&
                                     a_[i].place->top == b_[j].place->top);
                    if (fits) {
                        pair(i, j);
                        break;
                    }
                }
            }
        }
    }

    void compareRecords(const Record& a, const Record& b) {
        if (a.fields == b.fields && a.items == b.items && a.place == b.place && a.label == b.label) {
            return;
        }
        if (a.place && b.place && *a.place != *b.place) {
            emit(ChangeKind::Moved, a.label, {}, a.place->text(), b.place->text());
        }
        const bool renamed = section_ == RecordSection::Tags && a.name != b.name;
        if (renamed) {
            emit(ChangeKind::Renamed, a.label, {}, a.name, b.name);
        }
        for (const RecordField& fa : a.fields) {
            if (renamed && fa.caption == "Tag-Name") {
                continue;
            }
            const std::string* vb = b.field(fa.caption);
            if (vb == nullptr) {
                emit(ChangeKind::Changed, a.label, fa.caption, fa.value, std::string(kNone));
            } else if (*vb != fa.value && *vb != renamedIn(fa.value, tagNames_)) {
                emit(ChangeKind::Changed, a.label, fa.caption, fa.value, *vb);
            }
        }
        for (const RecordField& fb : b.fields) {
            if (a.field(fb.caption) == nullptr) {
                emit(ChangeKind::Changed, a.label, fb.caption, std::string(kNone), fb.value);
            }
        }
        compareItems(a, b);
    }

    // The members of two ordered lists: the longest common run kept, the rest removed or added in order.
    void compareItems(const Record& a, const Record& b) {
        std::vector<std::string> renamed;
        if (!tagNames_.empty()) {
            renamed.reserve(a.items.size());
            for (const std::string& item : a.items) {
                renamed.push_back(renamedIn(item, tagNames_));
            }
        }
        const std::vector<std::string>& x = tagNames_.empty() ? a.items : renamed;
        const std::vector<std::string>& y = b.items;
        std::size_t head = 0;
        while (head < x.size() && head < y.size() && x[head] == y[head]) {
            ++head;
        }
        std::size_t tail = 0;
        while (tail < x.size() - head && tail < y.size() - head &&
               x[x.size() - 1 - tail] == y[y.size() - 1 - tail]) {
            ++tail;
        }
        const std::size_t n = x.size() - head - tail;
        const std::size_t m = y.size() - head - tail;
        if (n == 0 && m == 0) {
            return;
        }
        constexpr std::size_t kMaxTable = 4U * 1024U * 1024U;
        if (n == 0 || m == 0 || (n + 1) * (m + 1) > kMaxTable) {
            for (std::size_t i = 0; i < n; ++i) {
                emit(ChangeKind::ItemRemoved, a.label, {}, a.items[head + i], {});
            }
            for (std::size_t j = 0; j < m; ++j) {
                emit(ChangeKind::ItemAdded, a.label, {}, {}, y[head + j]);
            }
            return;
        }
        // common[i][j]: the longest common run of x[head + i ...] and y[head + j ...].
        std::vector<std::uint32_t> common((n + 1) * (m + 1), 0);
        const auto at = [&](std::size_t i, std::size_t j) -> std::uint32_t& {
            return common[i * (m + 1) + j];
        };
        for (std::size_t i = n; i-- > 0;) {
            for (std::size_t j = m; j-- > 0;) {
                at(i, j) =
                    x[head + i] == y[head + j] ? at(i + 1, j + 1) + 1 : std::max(at(i + 1, j), at(i, j + 1));
            }
        }
        std::size_t i = 0;
        std::size_t j = 0;
        while (i < n || j < m) {
            if (i < n && j < m && x[head + i] == y[head + j]) {
                ++i;
                ++j;
            } else if (j < m && (i == n || at(i, j + 1) >= at(i + 1, j))) {
                emit(ChangeKind::ItemAdded, a.label, {}, {}, y[head + j++]);
            } else {
                emit(ChangeKind::ItemRemoved, a.label, {}, a.items[head + i++], {});
            }
        }
    }

    void emit(ChangeKind change, const std::string& subject, const std::string& field, std::string before,
              std::string after) {
        Difference d{section_,         change, subject,      field,       std::move(before),
                     std::move(after), 0,      std::nullopt, std::nullopt};
        const Record* any = first_ != nullptr ? first_ : second_;
        if (any != nullptr) {
            d.screen = screenOf(*any);
        }
        if (first_ != nullptr) {
            d.place = first_->place;
        }
        if (second_ != nullptr) {
            d.newPlace = second_->place;
        }
        out_.push_back(std::move(d));
    }

    // The screen number a record of a screen carries: the key of a screen, the scope of its objects and keys,
    // the first part of the key of its task lists.
    std::uint32_t screenOf(const Record& r) const {
        std::string_view digits;
        if (section_ == RecordSection::Screens) {
            digits = r.key;
        } else if (section_ == RecordSection::Objects || section_ == RecordSection::Keys) {
            digits = r.scope;
        } else if (section_ == RecordSection::TaskLists) {
            digits = std::string_view(r.key).substr(0, r.key.find('|'));
        }
        std::uint32_t n = 0;
        for (const char c : digits) {
            if (c < '0' || c > '9') {
                return 0;
            }
            n = n * 10 + static_cast<std::uint32_t>(c - '0');
        }
        return n;
    }

    // The records the differences being emitted belong to.
    void current(const Record* first, const Record* second) {
        first_ = first;
        second_ = second;
    }

    RecordSection section_;
    const std::vector<Record>& a_;
    const std::vector<Record>& b_;
    std::vector<Difference>& out_;
    TagNames& tagNames_;
    const Record* first_ = nullptr;
    const Record* second_ = nullptr;
    std::vector<std::optional<std::size_t>> pairOfA_;
    std::vector<bool> takenB_;
};

std::string shown(const std::string& value) {
    return value.empty() ? "\"\"" : value;
}

} // namespace

std::vector<Difference> ApplicationDiff::compare(const ApplicationRecords& first,
                                                 const ApplicationRecords& second) {
    std::vector<Difference> out;
    TagNames tagNames;
    for (std::size_t s = 0; s < kRecordSectionCount; ++s) {
        SectionDiff(static_cast<RecordSection>(s), first.sections[s], second.sections[s], out, tagNames)
            .run();
    }
    return out;
}

std::string_view ApplicationDiff::changeName(ChangeKind change) noexcept {
    switch (change) {
    case ChangeKind::Added:
        return "added";
    case ChangeKind::Removed:
        return "removed";
    case ChangeKind::Changed:
        return "changed";
    case ChangeKind::Renamed:
        return "renamed";
    case ChangeKind::Moved:
        return "moved";
    case ChangeKind::ItemAdded:
        return "item added";
    case ChangeKind::ItemRemoved:
        return "item removed";
    }
    return "";
}

std::string ApplicationDiff::line(const Difference& d) {
    switch (d.change) {
    case ChangeKind::Added:
        return d.subject + ": added";
    case ChangeKind::Removed:
        return d.subject + ": removed";
    case ChangeKind::Changed:
        return d.subject + ": " + d.field + ": " + shown(d.before) + " -> " + shown(d.after);
    case ChangeKind::Renamed:
        return d.subject + ": renamed to \"" + d.after + "\"";
    case ChangeKind::Moved:
        return d.subject + ": moved to " + d.after;
    case ChangeKind::ItemAdded:
        return d.subject + ": + " + d.after;
    case ChangeKind::ItemRemoved:
        return d.subject + ": - " + d.before;
    }
    return d.subject;
}

std::vector<std::string> ApplicationDiff::lines(const std::vector<Difference>& differences) {
    std::vector<std::string> out;
    std::optional<RecordSection> section;
    for (const Difference& d : differences) {
        if (section != d.section) {
            section = d.section;
            out.emplace_back(recordSectionName(d.section));
        }
        out.push_back("  " + line(d));
    }
    return out;
}

std::string ApplicationDiff::json(const std::vector<Difference>& differences) {
    nlohmann::ordered_json doc = nlohmann::ordered_json::object();
    doc["same"] = differences.empty();
    nlohmann::ordered_json list = nlohmann::ordered_json::array();
    for (const Difference& d : differences) {
        nlohmann::ordered_json j = nlohmann::ordered_json::object();
        j["section"] = std::string(recordSectionName(d.section));
        j["change"] = std::string(changeName(d.change));
        j["subject"] = d.subject;
        if (d.change == ChangeKind::Changed) {
            j["field"] = d.field;
        }
        if (d.change != ChangeKind::Added && d.change != ChangeKind::Removed &&
            d.change != ChangeKind::ItemAdded) {
            j["before"] = d.before;
        }
        if (d.change != ChangeKind::Added && d.change != ChangeKind::Removed &&
            d.change != ChangeKind::ItemRemoved) {
            j["after"] = d.after;
        }
        list.push_back(std::move(j));
    }
    doc["differences"] = std::move(list);
    return doc.dump(2, ' ', false, nlohmann::ordered_json::error_handler_t::replace) + "\n";
}

} // namespace quillon
