#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace quillon {

class Application;

// One line of a report section. `gap` is the number of line heights from the line before it to this one
// (1: the next line; 2: one blank line between).
struct ReportLine {
    std::string text;
    bool heading = false;
    int gap = 1;
    friend bool operator==(const ReportLine&, const ReportLine&) = default;
};

// The text of every section of the application report. Columns are built with blanks, for the report's
// fixed-pitch body font; the headings are set in their own font.
class ReportSections final {
public:
    static constexpr std::size_t kDescriptionWidth = 46;
    // The texts of the memory options, the printer port's baud rates, parities, bits and terminators.
    static std::string memoryText(std::uint32_t memoryOption);
    static std::string baudText(std::uint32_t code);
    static std::string parityText(std::uint32_t code);
    static std::string bitsText(std::uint32_t code);
    static std::string terminatorText(std::uint32_t code);

    static std::vector<ReportLine> information(const Application& app);
    static std::vector<ReportLine> unitSettings(const Application& app);
    static std::vector<ReportLine> nodes(const Application& app);
    // The column titles of the tags; every tags page starts with the heading and them.
    static std::string tagTitles();
    // One line per tag, in tag order.
    static std::vector<std::string> tagLines(const Application& app);
    // "Screen No.0001    Screen Name : Main"
    static std::string screenLine(const Application& app, std::size_t screenIndex);
    // Power-on and global tasks, then (with `keys`) the global keys' lists.
    static std::vector<ReportLine> applicationTasks(const Application& app, bool lists, bool keys);
    static std::vector<ReportLine> screenTasks(const Application& app);
    static std::vector<ReportLine> screenKeys(const Application& app);
    static std::string alarmTitles();
    // One line per defined alarm, in alarm number order.
    static std::vector<std::string> alarmLines(const Application& app);

    // `text` followed by blanks up to `column` (at least one blank when it is already that long).
    static std::string padTo(std::string text, std::size_t column);
};

} // namespace quillon
