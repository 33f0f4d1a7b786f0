#include "report/PrintSelection.h"

#include <filesystem>

namespace quillon {

std::string PrintSelection::noPagesBetween(int first, int last) {
    return "The report has no page from " + std::to_string(first) + " to " + std::to_string(last) +
           "; nothing was printed.";
}

std::string PrintSelection::writtenTo(std::string_view file) {
    return "The report was written to " + std::string(file) + ".";
}

std::string PrintSelection::sentTo(std::string_view printer) {
    return "The report was sent to the printer " + std::string(printer) + ".";
}

std::string PrintSelection::proposedPdf(std::string_view applicationFile, std::string_view otherwiseIn) {
    if (applicationFile.empty()) {
        return (std::filesystem::path(otherwiseIn) / "Untitled.pdf").string();
    }
    std::filesystem::path file(applicationFile);
    file.replace_extension(".pdf");
    return file.string();
}

bool PrintSelection::available(ReportSection section, std::uint32_t modelId) noexcept {
    if (section == ReportSection::GlobalKeys || section == ReportSection::ScreenKeys) {
        return keySectionsAvailable(modelId);
    }
    return true;
}

void PrintSelection::clickAll(bool checked, std::uint32_t modelId) noexcept {
    all_ = checked;
    for (std::size_t i = 0; i < kSections; ++i) {
        const auto section = static_cast<ReportSection>(i);
        checked_[i] = checked && available(section, modelId);
    }
}

void PrintSelection::setChecked(ReportSection section, bool checked, std::uint32_t modelId) noexcept {
    if (!available(section, modelId)) {
        return;
    }
    checked_[index(section)] = checked;
    bool every = true;
    for (std::size_t i = 0; i < kSections; ++i) {
        const auto other = static_cast<ReportSection>(i);
        if (available(other, modelId) && !checked_[i]) {
            every = false;
        }
    }
    all_ = every;
}

bool PrintSelection::printsAnything(std::uint32_t modelId) const noexcept {
    for (std::size_t i = 0; i < kSections; ++i) {
        if (prints(static_cast<ReportSection>(i), modelId)) {
            return true;
        }
    }
    return false;
}

Result<PrintSelection> PrintSelection::fromNames(std::string_view list, std::uint32_t modelId) {
    PrintSelection selection;
    if (list.empty()) {
        selection.clickAll(true, modelId);
        return selection;
    }
    std::size_t start = 0;
    while (start <= list.size()) {
        const std::size_t comma = list.find(',', start);
        const std::string_view name =
            list.substr(start, comma == std::string_view::npos ? std::string_view::npos : comma - start);
        std::size_t found = kSections;
        for (std::size_t i = 0; i < kSections; ++i) {
            if (kNames[i] == name) {
                found = i;
            }
        }
        if (found == kSections) {
            std::string known;
            for (const std::string_view n : kNames) {
                known += known.empty() ? "" : ", ";
                known += n;
            }
            return Result<PrintSelection>::fail("\"" + std::string(name) +
                                                "\" is not a section of the report; the sections are " +
                                                known + ".");
        }
        const auto section = static_cast<ReportSection>(found);
        if (!available(section, modelId)) {
            return Result<PrintSelection>::fail("The " + std::string(name) +
                                                " section can not be chosen for panels above model 500.");
        }
        selection.setChecked(section, true, modelId);
        if (comma == std::string_view::npos) {
            break;
        }
        start = comma + 1;
    }
    return selection;
}

} // namespace quillon
