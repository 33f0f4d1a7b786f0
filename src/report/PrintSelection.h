#pragma once

#include "model/Result.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace quillon {

// The ten sections of the application report, in the order they are printed.
enum class ReportSection : std::uint8_t {
    Information = 0,
    UnitSettings,
    Nodes,
    Tags,
    Screens,
    ApplicationTasks,
    GlobalKeys,
    ScreenTasks,
    ScreenKeys,
    Alarms,
};

// What the Print command prints: the "All" box and one box per section of the selection dialog. The
// shell keeps one between print commands and clears it when the application is closed.
class PrintSelection final {
public:
    static constexpr std::size_t kSections = 10;
    static constexpr std::string_view kDialogTitle = "Quillon  : Print Selection";
    static constexpr std::string_view kCloseSessionFirst =
        "You must close screen session for printing Quillon application.";
    // Print while a screen is being edited offers to close the session first.
    static constexpr std::string_view kCloseSessionAndPrint = "Close the screen session and print?";
    // What printing reports when it does not go through.
    static constexpr std::string_view kPrinterGone =
        "The chosen printer is not available; nothing was printed.";
    static constexpr std::string_view kNothingToPrint = "The chosen sections have nothing to print.";
    static constexpr std::string_view kPrinterNotStarted = "The printer could not be started.";
    static constexpr std::string_view kPrinterNoNewPage = "The printer did not take a new page.";
    static constexpr std::string_view kPrinterNotFinished = "The printer could not finish the report.";
    static constexpr std::string_view kPrintedWithoutDrawings =
        "The report was printed without what could not be drawn:\n";
    // A page range of the print dialog that holds no page of the report.
    static std::string noPagesBetween(int first, int last);
    // Where the report went, for the status bar: a PDF file or a printer's queue.
    static std::string writtenTo(std::string_view file);
    static std::string sentTo(std::string_view printer);
    // The PDF file proposed for an application file: its name with ".pdf", in its folder; an application
    // without a file proposes "Untitled.pdf" in `otherwiseIn`.
    static std::string proposedPdf(std::string_view applicationFile, std::string_view otherwiseIn);
    static constexpr std::string_view kAllCaption = "All";
    // The check boxes' captions, by section.
    static constexpr std::array<std::string_view, kSections> kCaptions = {
        "Project Information",   "VQ5K's Settings", " Quillon Nodes",  "Tags",        "Screens",
        "Application TaskList ", "Global Keys",     "Screen TaskList", "Screen Keys", "Alarms"};
    // The names `quillon-cli report --sections` takes, by section.
    static constexpr std::array<std::string_view, kSections> kNames = {
        "info",  "settings",   "nodes",       "tags",       "screens",
        "tasks", "globalkeys", "screentasks", "screenkeys", "alarms"};

    // Panels above model 500 have no function keys of their own to program: both key sections are off.
    static bool keySectionsAvailable(std::uint32_t modelId) noexcept { return modelId <= 500; }
    static bool available(ReportSection section, std::uint32_t modelId) noexcept;

    bool all() const noexcept { return all_; }
    bool isChecked(ReportSection section) const noexcept { return checked_[index(section)]; }
    // Clicking "All": every section the model offers takes its state.
    void clickAll(bool checked, std::uint32_t modelId) noexcept;
    // Clicking one section's box; "All" follows (ticked exactly when every offered section is).
    void setChecked(ReportSection section, bool checked, std::uint32_t modelId) noexcept;
    // Whether the section is printed for an application of the model.
    bool prints(ReportSection section, std::uint32_t modelId) const noexcept {
        return isChecked(section) && available(section, modelId);
    }
    bool printsAnything(std::uint32_t modelId) const noexcept;
    void clear() noexcept { *this = PrintSelection{}; }

    // A comma-separated list of section names (kNames); an empty list names every section.
    static Result<PrintSelection> fromNames(std::string_view list, std::uint32_t modelId);

    static constexpr std::size_t index(ReportSection section) noexcept {
        return static_cast<std::size_t>(section);
    }

    friend bool operator==(const PrintSelection&, const PrintSelection&) = default;

private:
    bool all_ = false;
    std::array<bool, kSections> checked_{};
};

} // namespace quillon
