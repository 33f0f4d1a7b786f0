#pragma once

#include "edit/define/PageHeader.h"
#include "model/LoggerSettings.h"
#include "model/Prompter.h"
#include "model/Result.h"

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace quillon {

class Application;
class Tag;

// The logger dialog's rules. The fields are edited on a copy that Close stores; the tags to be logged and
// the header's register change the application's logger at once, so that they stay protected while the
// tag database is opened over the dialog.
class LoggerEditor final {
public:
    static constexpr std::array<std::string_view, 4> kMemorySizes{"1 KB", "2 KB", "3 KB", "4 KB"};
    static constexpr std::string_view kSpaceChoice = " ( Space )";
    static constexpr std::string_view kDefaultFrequency = "10";
    static constexpr std::string_view kDeleteTagQuestion =
        "Do you want to delete the selected Tag to be logged?";
    static constexpr std::string_view kAlreadyLogged =
        "This Tag is already in the list of Tags to be logged.";
    static constexpr std::string_view kNoRegisterChosen = "Tag(s) not selected.";

    // The frequency field when it loses the focus: empty or 0 becomes 10.
    static std::string frequencyOnLeave(std::string_view typed);
    // The separator's drop-down: the comma and " ( Space )"; a typed choice keeps its first character.
    static std::vector<std::string> separatorChoices();
    static std::string separatorChoice(char separator);
    static char separatorOf(std::string_view choice, char previous);

    explicit LoggerEditor(Application& application);

    // The fields as Close stores them (the tags and the header register are not part of it).
    LoggerSettings& fields() noexcept { return fields_; }
    const LoggerSettings& fields() const noexcept { return fields_; }

    // The tags the "Defined Tags" list offers (every tag that is not write-only), and the lines of both
    // lists ("%s ( %s )", or "%s%c%02d ( %s )" for a register bit).
    std::vector<Tag*> definedTags() const;
    const std::vector<Tag*>& loggedTags() const noexcept;
    std::vector<std::string> loggedLines() const;
    Status addTag(Tag& tag);
    // Asks the confirmation, then takes the tag at `index` off the list.
    bool removeTag(std::size_t index, Prompter& prompter);
    // Moves a tag one place up or down the order in which the unit logs them.
    bool moveTag(std::size_t index, bool up);

    // The page header as the field shows it.
    const std::string& header() const noexcept { return header_; }
    // A changed text of the field, re-encoded at once; a text beyond the limit is cut.
    void setHeader(std::string_view shown);
    bool embedTime();
    bool embedDate();
    // The register offered by "Page Header : Embed Register" (registers that are not write-only).
    std::vector<Tag*> headerRegisters() const;
    Tag* headerRegister() const noexcept;
    // Stores the register and appends "#####" when the header has no register field yet; fails when none
    // is chosen or the header has no room for the field.
    Status embedRegister(Tag* tag);
    // Delete on the character at `position`: a plain character goes; an embedded field goes whole after
    // the question is answered Yes. Returns whether the text changed.
    bool deleteAt(std::size_t position, Prompter& prompter);

    // "Optimized Tags to be logged": per block the unit reads for the logged tags, the first logged tag's
    // number and name and the number of logged tags in it.
    std::vector<std::string> optimizedLines() const;

    // Close: every field into the application's logger; the header register goes when its field went.
    void store();

private:
    Application& app_;
    LoggerSettings fields_;
    std::string header_;
};

} // namespace quillon
