#pragma once

#include "model/Application.h"
#include "model/Prompter.h"
#include "model/Result.h"
#include "model/Screen.h"

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace quillon {

// The fields of the screen dialog, by where a refusal puts the focus.
enum class ScreenField : std::uint8_t { Number, Name, Password, Description };

// What the screen dialog edits. An empty number field is no number at all, which is not the same
// refusal as a number out of range.
struct ScreenFields {
    std::optional<std::uint32_t> number;
    std::string name;
    std::uint16_t password = 0;
    std::string description;
    ScreenType type = ScreenType::Display;
    std::optional<std::uint16_t> associated;

    friend bool operator==(const ScreenFields&, const ScreenFields&) = default;
};

// Why the dialog's Ok was refused and which field takes the focus; the text is shown as an error.
struct ScreenFieldProblem {
    std::string message;
    ScreenField field = ScreenField::Number;

    friend bool operator==(const ScreenFieldProblem&, const ScreenFieldProblem&) = default;
};

struct ScreenMemoryRow {
    std::uint32_t count = 0;
    std::uint32_t bytes = 0;
};

// Where the bytes of one screen's entry go, as the screen's memory configuration shows them.
struct ScreenMemoryReport {
    ScreenMemoryRow objects;
    std::uint32_t dataEntries = 0;
    ScreenMemoryRow blocks;
    ScreenMemoryRow keys;
    std::array<ScreenMemoryRow, 3> tasks; // Before showing, While showing, After hiding
    std::uint32_t otherBytes = 0;         // the fixed part of the entry and the associated screen
    std::uint32_t totalBytes = 0;         // the whole entry; the rows above add up to it
    // "%03d     %s    %u    %d": node number, block address, users, whether the global list reads it too.
    std::vector<std::string> readLines;
    std::vector<std::string> loadedReadLines; // the screen's list as the last file held it
    // Registers the unit reads while the screen is shown: the global ones and the screen's own beyond them.
    std::uint32_t tagTableSize = 0;
};

// The rules of the commands that create, change, copy, clear and delete whole screens. Every change goes
// through the Application's own operations, so the screen list stays in number order and every byte
// counter stays exact; a refused or failed operation leaves the document as it was.
class ScreenManager final {
public:
    static constexpr std::string_view kNumberAndNameMissing =
        "Number and Name should be\nentered for each Screen.";
    static constexpr std::string_view kNumberOutOfRange = "Screen Number is out of range.";
    static constexpr std::string_view kNumberInUse =
        "The Screen of this number already exist.\nThe number should be UNIQUE.";
    static constexpr std::string_view kNameInUse =
        "The Screen of this name already exist.\nThe name should be UNIQUE.";
    static constexpr std::string_view kCannotCreate = "Can't create new screen.";
    static constexpr std::string_view kCannotDelete =
        "This Screen can not be deleted.\nEither it is associated to another Screen or\nthere is a task "
        "which "
        "triggers this Screen.";
    static constexpr std::string_view kUnassociateQuestion =
        "Are you sure to unassociate the selected Associated Screen?";
    static constexpr std::size_t kMaxAssociated = 1;

    explicit ScreenManager(Application& application) noexcept : app_(application) {}

    // Highest number + 1; none once that would pass 65534; 1 for an application without screens.
    std::optional<std::uint32_t> suggestedNumber() const noexcept;
    // What New opens with: the suggested number and "Screen" with it (both empty without a suggestion),
    // password 0, type Display, nothing associated.
    ScreenFields newScreenFields() const;
    // What Screen Information opens with.
    static ScreenFields fieldsOf(const Screen& screen);

    // "%05u" + five spaces + name: how screen lists show a screen.
    static std::string listEntry(const Screen& screen);
    // "Quillon : Duplicate Screen ( %05u : %s ) to".
    static std::string duplicateTitle(const Screen& source);
    // The screens that may still be associated: all but `current` (the screen being changed, or none)
    // and the one already in the dialog's associated list.
    std::vector<Screen*> availableScreens(const Screen* current,
                                          std::optional<std::uint16_t> associated) const;

    // Whether a Goto Screen task to the number stands in the power-on or global list, in a list of a global
    // key, or in a list of a screen or of one of its keys. Touch areas are not searched: the unit only takes
    // their Goto tasks from the screen they are on, which already exists.
    bool isGotoTarget(std::uint32_t number) const;
    bool isAssociatedByOther(const Screen& screen) const;
    // Number and name stay as they are while other records reach the screen by its number.
    bool numberAndNameLocked(const Screen& screen) const {
        return isGotoTarget(screen.number()) || isAssociatedByOther(screen);
    }

    // The dialog's Ok checks in their order; `editing` is the screen being changed (none for New and
    // Duplicate). Nothing when the fields may be stored.
    std::optional<ScreenFieldProblem> check(const ScreenFields& fields, const Screen* editing) const;

    // New: the screen joins in number order, empty.
    Result<Screen*> createScreen(const ScreenFields& fields);
    // Duplicate: as New, with copies of every object of the source (groups rebuilt among the copies), its
    // three task lists and its screen keys; the source's associated screen is not taken over.
    Result<Screen*> duplicateScreen(const Screen& source, const ScreenFields& fields);
    // Screen Information: type, number, name, password, description and association replaced; the screen
    // moves to its place in the number order.
    Status changeScreen(Screen& screen, const ScreenFields& fields);

    // Asks "Initialize Screen of ..." and answers whether the user agreed.
    static bool confirmInitialize(const Screen& screen, Prompter& prompter);
    // Every object goes with its bytes and tag uses; the list kept from the last file is emptied. Tasks,
    // keys, number, name and association stay, and so do the reads those tasks and keys need.
    static void initializeScreen(Screen& screen);

    // The Delete refusal or question; true when the screen may go. The refusal names what keeps the screen.
    bool approveDelete(const Screen& screen, Prompter& prompter) const;
    // What keeps a screen from being deleted, one line each: the task lists and keys whose tasks go to
    // it, the screens that show it as their associated screen.
    std::vector<std::string> deleteBlockers(const Screen& screen) const;
    // Takes the screen out of the application and destroys it with everything it holds.
    Status deleteScreen(Screen& screen);

    ScreenMemoryReport memoryReport(const Screen& screen) const;

private:
    static Status copyObjects(const Screen& source, Screen& copy);
    Status copyLists(const Screen& source, Screen& copy);
    Status checkStorable(const ScreenFields& fields, const Screen* editing) const;

    Application& app_;
};

} // namespace quillon
