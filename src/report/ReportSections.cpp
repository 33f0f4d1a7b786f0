#include "report/ReportSections.h"

#include "edit/define/Keypad.h"
#include "edit/define/UnitSettingsEditor.h"
#include "model/AlarmTable.h"
#include "model/Application.h"
#include "model/KeyDefinition.h"
#include "model/Node.h"
#include "model/Screen.h"
#include "model/Tag.h"
#include "model/Task.h"
#include "model/TaskList.h"
#include "model/TextFormat.h"

#include <array>
#include <string_view>

namespace quillon {
namespace {

constexpr int kHeadingGap = 2; // from a heading to its first line

// Columns of the tables, where their titles put them.
constexpr std::size_t kNodeNameColumn = 14;
constexpr std::size_t kNodePlcColumn = 32;
constexpr std::size_t kTagNodeColumn = 6;
constexpr std::size_t kTagAddressColumn = 23;
constexpr std::size_t kTagBytesColumn = 37;
constexpr std::size_t kTagNameColumn = 44;
constexpr std::size_t kAlarmTagColumn = 50;

// Tasks under the application lists' headings, and under the labels of keys and screens.
const std::string kTaskIndent(5, ' ');
const std::string kKeyTaskIndent(10, ' ');
const std::string kScreenLabelIndent(10, ' '); // past "Screen No:"
const std::string kScreenTaskIndent(12, ' ');
const std::string kScreenKeyListIndent(15, ' ');
const std::string kScreenKeyTaskIndent(17, ' ');

std::string unknownCode(std::uint32_t code) {
    return formatText("Unknown (%u)", code);
}

template <std::size_t N>
std::string pick(const std::array<std::string_view, N>& texts, std::uint32_t code) {
    return code < N ? std::string(texts[code]) : unknownCode(code);
}

void addTasks(std::vector<ReportLine>& lines, const TaskList& list, const std::string& indent) {
    for (const auto& task : list.tasks()) {
        std::string text = taskText(*task);
        // Tasks generated for a save carry no text of their own.
        if (!text.empty()) {
            lines.push_back({indent + text});
        }
    }
}

bool hasTasks(const TaskListOwner& owner) {
    for (std::size_t i = 0; i < owner.taskListCount(); ++i) {
        if (!owner.taskList(i).empty()) {
            return true;
        }
    }
    return false;
}

} // namespace

std::string ReportSections::padTo(std::string text, std::size_t column) {
    text.append(text.size() < column ? column - text.size() : 1, ' ');
    return text;
}

std::string ReportSections::memoryText(std::uint32_t memoryOption) {
    // The texts follow the unit's capacity of each option (8192, 26000, 32768, 64512, 131072, 1048576,
    // 2097152 bytes).
    static constexpr std::array<std::string_view, 7> kTexts = {"8KB",   "24KB", "32KB", "64KB",
                                                               "128KB", "1MB",  "2MB"};
    return pick(kTexts, memoryOption);
}

std::string ReportSections::baudText(std::uint32_t code) {
    // The rates as the unit settings list names them.
    return pick(UnitSettingsEditor::kBaudRates, code);
}

std::string ReportSections::parityText(std::uint32_t code) {
    static constexpr std::array<std::string_view, 3> kTexts = {"Odd", "Even", "None"};
    return pick(kTexts, code);
}

std::string ReportSections::bitsText(std::uint32_t code) {
    static constexpr std::array<std::string_view, 2> kTexts = {"7", "8"};
    return pick(kTexts, code);
}

std::string ReportSections::terminatorText(std::uint32_t code) {
    static constexpr std::array<std::string_view, 4> kTexts = {"None", "CR", "LF", "CR + LF"};
    return pick(kTexts, code);
}

std::vector<ReportLine> ReportSections::information(const Application& app) {
    const ApplicationInfo& info = app.info();
    std::vector<ReportLine> lines;
    lines.push_back({"Quillon Application Information :", true});
    lines.push_back({formatText("Title                 : %s", info.title.c_str()), false, kHeadingGap});
    lines.push_back({formatText("Author                : %s", info.author.c_str())});
    const CalendarTime& t = info.lastEdited;
    const std::string date = formatText("%02d/%02d/%d", t.day, t.month + 1, t.year);
    const std::string time = formatText("%02d:%02d:%02d", t.hour, t.minute, t.second);
    lines.push_back({formatText("Date Last Edited      : %s", date.c_str())});
    lines.push_back({formatText("Time Last Edited      : %s", time.c_str())});

    // The description is cut into pieces of at most 46 characters, each under the first; the line breaks
    // the user typed are kept.
    static constexpr std::string_view kLabel = "Description           : ";
    const std::string indent(kLabel.size(), ' ');
    std::vector<std::string> pieces;
    std::string_view rest = info.description;
    while (!rest.empty()) {
        const std::size_t end = rest.find('\n');
        std::string_view paragraph = rest.substr(0, end);
        rest = end == std::string_view::npos ? std::string_view() : rest.substr(end + 1);
        if (!paragraph.empty() && paragraph.back() == '\r') {
            paragraph.remove_suffix(1);
        }
        do {
            pieces.emplace_back(paragraph.substr(0, kDescriptionWidth));
            paragraph.remove_prefix(std::min(paragraph.size(), kDescriptionWidth));
        } while (!paragraph.empty());
    }
    if (pieces.empty()) {
        pieces.emplace_back();
    }
    for (std::size_t i = 0; i < pieces.size(); ++i) {
        lines.push_back({(i == 0 ? std::string(kLabel) : indent) + pieces[i]});
    }
    return lines;
}

std::vector<ReportLine> ReportSections::unitSettings(const Application& app) {
    const UnitSettings& s = app.unitSettings();
    std::vector<ReportLine> lines;
    lines.push_back({"VQ5K Settings :", true});
    lines.push_back({"Memory                : " + memoryText(s.memoryOption), false, kHeadingGap});
    lines.push_back({"Printer Port Settings :", false, 2});
    lines.push_back({"Baudrate              : " + baudText(s.printerBaud)});
    lines.push_back({"Parity                : " + parityText(s.printerParity)});
    lines.push_back({"No of Bits            : " + bitsText(s.printerBits)});
    lines.push_back({formatText("No of Columns         : %d", s.printerColumns)});
    lines.push_back({"Terminating Character : " + terminatorText(s.printerTerminator)});
    return lines;
}

std::vector<ReportLine> ReportSections::nodes(const Application& app) {
    std::vector<ReportLine> lines;
    lines.push_back({"Quillon Nodes :", true});
    lines.push_back({formatText("%s  %s         %s", "Node Address", "Node Name", "VQ5K Unit / PLC Name"),
                     false, kHeadingGap});
    for (const auto& node : app.nodes()) {
        std::string plc;
        if (node->kind() == NodeKind::Unit) {
            plc = std::string(app.panelModelName());
        } else {
            const std::string model(node->modelName());
            plc = formatText("%s%s%s%s", node->plcName.c_str(), "  ( ", model.c_str(), " )");
        }
        lines.push_back(
            {padTo(padTo(formatText("%03u", unsigned{node->number()}), kNodeNameColumn) + node->name,
                   kNodePlcColumn) +
             plc});
    }
    return lines;
}

std::string ReportSections::tagTitles() {
    return formatText("%s   %s        %s           %s  %s", "No.", "Node Name", "Tag", "Bytes", "Tag Name");
}

std::vector<std::string> ReportSections::tagLines(const Application& app) {
    std::vector<std::string> lines;
    lines.reserve(app.tagCount());
    unsigned number = 0;
    for (const Tag& tag : app.tags()) {
        ++number;
        std::string bytes;
        switch (tag.type()) {
        case tag_type::kCoil:
            bytes = "-";
            break;
        case tag_type::kRegister:
            bytes =
                tag.size == 1 ? (tag.byteSelect == 0 ? "Low" : "High") : formatText("%u", unsigned{tag.size});
            break;
        case tag_type::kRegisterBit:
            bytes = "_";
            break;
        default:
            bytes = "?";
            break;
        }
        const std::string nodeName = tag.node() != nullptr ? tag.node()->name : std::string();
        std::string line = padTo(formatText("%04u", number), kTagNodeColumn) + nodeName;
        line = padTo(std::move(line), kTagAddressColumn) + tag.displayAddress();
        line = padTo(std::move(line), kTagBytesColumn) + bytes;
        line = padTo(std::move(line), kTagNameColumn) + tag.name;
        lines.push_back(std::move(line));
    }
    return lines;
}

std::string ReportSections::screenLine(const Application& app, std::size_t screenIndex) {
    const Screen& screen = *app.screens().at(screenIndex);
    return formatText("Screen No.%04u    Screen Name : %s", screen.number(), screen.name.c_str());
}

std::vector<ReportLine> ReportSections::applicationTasks(const Application& app, bool lists, bool keys) {
    std::vector<ReportLine> lines;
    if (lists) {
        lines.push_back({"Power On Tasks :", true});
        addTasks(lines, app.powerOnTasks(), kTaskIndent);
        lines.push_back({"Global Tasks :", true, 2});
        addTasks(lines, app.globalTasks(), kTaskIndent);
    }
    if (keys) {
        lines.push_back({"Global key Tasks :", true, lines.empty() ? 1 : 2});
        for (const auto& key : app.globalKeys()) {
            lines.push_back({keyName(key->code) + " : Press TaskList", false, 2});
            addTasks(lines, key->taskList(KeyDefinition::kPress), kKeyTaskIndent);
            lines.push_back({"     Pressed TaskList"});
            addTasks(lines, key->taskList(KeyDefinition::kPressed), kKeyTaskIndent);
            lines.push_back({"     Released TaskList"});
            addTasks(lines, key->taskList(KeyDefinition::kReleased), kKeyTaskIndent);
        }
    }
    return lines;
}

std::vector<ReportLine> ReportSections::screenTasks(const Application& app) {
    std::vector<ReportLine> lines;
    lines.push_back({"Screen Tasks :", true});
    static constexpr std::array<std::string_view, 3> kLabels = {
        "Before Showing Task:", "While Showing Task :", "After Hiding Task  :"};
    for (const auto& screen : app.screens()) {
        if (!hasTasks(*screen)) {
            continue;
        }
        lines.push_back({formatText("Screen No:%05d", static_cast<int>(screen->number())), false, 2});
        for (std::size_t list = 0; list < kLabels.size(); ++list) {
            lines.push_back({kScreenLabelIndent + std::string(kLabels[list])});
            addTasks(lines, screen->taskList(list), kScreenTaskIndent);
        }
    }
    return lines;
}

std::vector<ReportLine> ReportSections::screenKeys(const Application& app) {
    std::vector<ReportLine> lines;
    lines.push_back({"Screen Key Tasks :", true});
    static constexpr std::array<std::string_view, 3> kLabels = {
        "Press TaskList   :", "Pressed TaskList :", "Released TaskList:"};
    for (const auto& screen : app.screens()) {
        if (screen->keyCount() == 0) {
            continue;
        }
        lines.push_back({formatText("Screen No:%05d", static_cast<int>(screen->number())), false, 2});
        for (const auto& key : screen->keys()) {
            lines.push_back({kScreenLabelIndent + keyName(key->code) + " :"});
            for (std::size_t list = 0; list < kLabels.size(); ++list) {
                lines.push_back({kScreenKeyListIndent + std::string(kLabels[list])});
                addTasks(lines, key->taskList(list), kScreenKeyTaskIndent);
            }
        }
    }
    return lines;
}

std::string ReportSections::alarmTitles() {
    return formatText("%s%s%s%s", "Alarm No.   ", "Print     ", "Alarm Text                  ", "Alarm Tag");
}

std::vector<std::string> ReportSections::alarmLines(const Application& app) {
    std::vector<std::string> lines;
    const AlarmTable* table = app.alarmsIfAny();
    if (table == nullptr) {
        return lines;
    }
    for (std::size_t alarm = 0; alarm < AlarmTable::kAlarms; ++alarm) {
        const std::string& text = table->text(alarm);
        if (text.empty()) {
            continue;
        }
        const bool print = (table->options(alarm) & AlarmTable::kPrintOption) != 0;
        const Tag* tag = table->groupTag(alarm / AlarmTable::kAlarmsPerGroup);
        std::string line = formatText("%03d", static_cast<int>(alarm)) + std::string(10, ' ') +
                           (print ? "Y" : "N") + std::string(8, ' ') + text;
        lines.push_back(padTo(std::move(line), kAlarmTagColumn) + (tag != nullptr ? tag->pickLine() : "-"));
    }
    return lines;
}

} // namespace quillon
