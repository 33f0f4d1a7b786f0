#include "edit/screen/ScreenManager.h"

#include "model/Block.h"
#include "model/Node.h"
#include "model/TextFormat.h"

#include <algorithm>
#include <map>
#include <new>

namespace quillon {

namespace {

bool listHasGoto(const TaskList& list, std::uint32_t number) noexcept {
    return std::any_of(list.tasks().begin(), list.tasks().end(), [number](const auto& task) {
        return task->kind == TaskKind::GotoScreen && task->subKind == 0 &&
               task->value == static_cast<std::int32_t>(number);
    });
}

bool ownerHasGoto(const TaskListOwner& owner, std::uint32_t number) noexcept {
    for (std::size_t l = 0; l < owner.taskListCount(); ++l) {
        if (listHasGoto(owner.taskList(l), number)) {
            return true;
        }
    }
    return false;
}

std::vector<std::string> readLines(const ReadList& list, const ReadList& global) {
    std::vector<std::string> lines;
    lines.reserve(list.entries().size());
    for (const ReadList::Entry& entry : list.entries()) {
        if (entry.block == nullptr) {
            continue;
        }
        const Node* node = entry.block->node();
        lines.push_back(formatText("%03d     %s    %u    %d", node != nullptr ? int{node->number()} : 0,
                                   entry.block->address().c_str(), entry.users,
                                   global.contains(*entry.block) ? 1 : 0));
    }
    return lines;
}

} // namespace

// ---------------------------------------------------------------- dialog contents

std::optional<std::uint32_t> ScreenManager::suggestedNumber() const noexcept {
    if (app_.screens().empty()) {
        return 1;
    }
    const std::uint32_t highest = app_.screens().back()->number();
    if (highest >= Screen::kMaxNumber) {
        return std::nullopt;
    }
    return highest + 1;
}

ScreenFields ScreenManager::newScreenFields() const {
    ScreenFields fields;
    fields.number = suggestedNumber();
    if (fields.number) {
        fields.name = formatText("Screen%u", *fields.number);
    }
    return fields;
}

ScreenFields ScreenManager::fieldsOf(const Screen& screen) {
    ScreenFields fields;
    fields.number = screen.number();
    fields.name = screen.name;
    fields.password = screen.password;
    fields.description = screen.description;
    fields.type = screen.type;
    fields.associated = screen.associated();
    return fields;
}

std::string ScreenManager::listEntry(const Screen& screen) {
    return formatText("%05u     %s", screen.number(), screen.name.c_str());
}

std::string ScreenManager::duplicateTitle(const Screen& source) {
    return formatText("Quillon : Duplicate Screen ( %05u : %s ) to", source.number(), source.name.c_str());
}

std::vector<Screen*> ScreenManager::availableScreens(const Screen* current,
                                                     std::optional<std::uint16_t> associated) const {
    std::vector<Screen*> screens;
    for (const auto& screen : app_.screens()) {
        if (screen.get() != current && (!associated || screen->number() != *associated)) {
            screens.push_back(screen.get());
        }
    }
    return screens;
}

// ---------------------------------------------------------------- who reaches a screen

bool ScreenManager::isGotoTarget(std::uint32_t number) const {
    if (ownerHasGoto(app_.applicationLists(), number)) {
        return true;
    }
    for (const auto& key : app_.globalKeys()) {
        if (ownerHasGoto(*key, number)) {
            return true;
        }
    }
    for (const auto& screen : app_.screens()) {
        if (ownerHasGoto(*screen, number)) {
            return true;
        }
        for (const auto& key : screen->keys()) {
            if (ownerHasGoto(*key, number)) {
                return true;
            }
        }
    }
    return false;
}

bool ScreenManager::isAssociatedByOther(const Screen& screen) const {
    return std::any_of(app_.screens().begin(), app_.screens().end(), [&screen](const auto& other) {
        return other.get() != &screen && other->associated() && *other->associated() == screen.number();
    });
}

// ---------------------------------------------------------------- Ok of the screen dialog

std::optional<ScreenFieldProblem> ScreenManager::check(const ScreenFields& fields,
                                                       const Screen* editing) const {
    if (!fields.number || fields.name.empty()) {
        return ScreenFieldProblem{std::string(kNumberAndNameMissing),
                                  fields.number ? ScreenField::Name : ScreenField::Number};
    }
    if (*fields.number < 1 || *fields.number > Screen::kMaxNumber) {
        return ScreenFieldProblem{std::string(kNumberOutOfRange), ScreenField::Number};
    }
    if (const Screen* holder = app_.findScreen(*fields.number); holder != nullptr && holder != editing) {
        return ScreenFieldProblem{std::string(kNumberInUse), ScreenField::Number};
    }
    if (!app_.isScreenNameFree(fields.name, editing)) {
        return ScreenFieldProblem{std::string(kNameInUse), ScreenField::Name};
    }
    // The dialog's fields cannot hold more; callers that bypass them are refused just the same.
    if (fields.name.size() > Screen::kMaxNameLength) {
        return ScreenFieldProblem{"The Screen Name can have at most 20 characters.", ScreenField::Name};
    }
    if (fields.password > Screen::kMaxPassword) {
        return ScreenFieldProblem{"The Screen Password is out of range.", ScreenField::Password};
    }
    if (fields.description.size() > Screen::kMaxDescriptionLength) {
        return ScreenFieldProblem{"The Description can have at most 100 characters.",
                                  ScreenField::Description};
    }
    return std::nullopt;
}

Status ScreenManager::checkStorable(const ScreenFields& fields, const Screen* editing) const {
    if (auto problem = check(fields, editing)) {
        return Status::fail(problem->message);
    }
    if (fields.associated) {
        const Screen* target = app_.findScreen(*fields.associated);
        if (target == nullptr || target == editing || *fields.associated == *fields.number) {
            return Status::fail("The associated Screen does not exist.");
        }
    }
    return Status::success();
}

Result<Screen*> ScreenManager::createScreen(const ScreenFields& fields) {
    if (Status s = checkStorable(fields, nullptr); !s) {
        return s.failure();
    }
    if (app_.screenCount() >= Screen::kMaxNumber) {
        return Result<Screen*>::fail(std::string(kCannotCreate));
    }
    try {
        auto screen = std::make_unique<Screen>(*fields.number);
        screen->name = fields.name;
        screen->password = fields.password;
        screen->description = fields.description;
        screen->type = fields.type;
        screen->setAssociated(fields.associated);
        auto added = app_.addScreen(std::move(screen));
        if (!added) {
            return Result<Screen*>::fail(std::string(kCannotCreate));
        }
        return added.value();
    } catch (const std::bad_alloc&) {
        return Result<Screen*>::fail(std::string(kCannotCreate));
    }
}

Status ScreenManager::copyObjects(const Screen& source, Screen& copy) {
    // Objects in list order, so that the copies keep the source's z-order; group rings are rebuilt member
    // for member among the copies.
    std::map<const ScreenObject*, ScreenObject*> copies;
    for (const auto& object : source.objects()) {
        auto placed = copy.appendObject(object->clone());
        if (!placed) {
            return placed.failure();
        }
        copies.emplace(object.get(), placed.value());
    }
    std::map<const ScreenObject*, bool> ringDone;
    for (const auto& object : source.objects()) {
        if (object->groupNext() == nullptr || ringDone[object.get()]) {
            continue;
        }
        std::vector<ScreenObject*> members;
        for (const ScreenObject* member : source.groupMembers(*object)) {
            ringDone[member] = true;
            members.push_back(copies.at(member));
        }
        if (Status s = copy.group(members); !s) {
            return s;
        }
    }
    return Status::success();
}

Status ScreenManager::copyLists(const Screen& source, Screen& copy) {
    for (std::size_t l = 0; l < source.taskListCount(); ++l) {
        for (const auto& task : source.taskList(l).tasks()) {
            if (auto added = app_.appendTask(copy, l, *task); !added) {
                return added.failure();
            }
        }
    }
    for (const auto& key : source.keys()) {
        auto fresh = std::make_unique<KeyDefinition>(key->code);
        fresh->interrupt = key->interrupt;
        fresh->password = key->password;
        auto joined = app_.addKey(copy, std::move(fresh));
        if (!joined) {
            return joined.failure();
        }
        for (std::size_t l = 0; l < key->taskListCount(); ++l) {
            for (const auto& task : key->taskList(l).tasks()) {
                if (auto added = app_.appendTask(*joined.value(), l, *task); !added) {
                    return added.failure();
                }
            }
        }
    }
    return Status::success();
}

Result<Screen*> ScreenManager::duplicateScreen(const Screen& source, const ScreenFields& fields) {
    if (Status s = checkStorable(fields, nullptr); !s) {
        return s.failure();
    }
    if (app_.screenCount() >= Screen::kMaxNumber) {
        return Result<Screen*>::fail(std::string(kCannotCreate));
    }
    Screen* added = nullptr;
    try {
        auto screen = std::make_unique<Screen>(*fields.number);
        screen->name = fields.name;
        screen->password = fields.password;
        screen->description = fields.description;
        screen->type = fields.type;
        screen->setAssociated(fields.associated);
        // The objects join while the screen is still outside the application: it then enters the totals
        // in one step with everything it holds.
        if (Status s = copyObjects(source, *screen); !s) {
            return Result<Screen*>::fail(std::string(kCannotCreate));
        }
        auto joined = app_.addScreen(std::move(screen));
        if (!joined) {
            return Result<Screen*>::fail(std::string(kCannotCreate));
        }
        added = joined.value();
        // Task lists and keys can only be filled on a screen of the application.
        if (Status s = copyLists(source, *added); !s) {
            (void)app_.removeScreen(*added); // the half-made copy leaves with everything it took
            return Result<Screen*>::fail(std::string(kCannotCreate));
        }
        return added;
    } catch (const std::bad_alloc&) {
        if (added != nullptr) {
            (void)app_.removeScreen(*added);
        }
        return Result<Screen*>::fail(std::string(kCannotCreate));
    }
}

Status ScreenManager::changeScreen(Screen& screen, const ScreenFields& fields) {
    if (app_.findScreen(screen.number()) != &screen) {
        return Status::fail("The screen is not part of this application.");
    }
    if (Status s = checkStorable(fields, &screen); !s) {
        return s;
    }
    if (numberAndNameLocked(screen) && (*fields.number != screen.number() || fields.name != screen.name)) {
        return Status::fail("This Screen is triggered by a task or associated to another Screen.\nIts number "
                            "and name can not be changed.");
    }
    if (Status s = app_.renumberScreen(screen, *fields.number); !s) {
        return s;
    }
    screen.type = fields.type;
    screen.name = fields.name;
    screen.password = fields.password;
    screen.description = fields.description;
    screen.setAssociated(fields.associated);
    return Status::success();
}

// ---------------------------------------------------------------- Initialize and Delete

bool ScreenManager::confirmInitialize(const Screen& screen, Prompter& prompter) {
    const std::string question = formatText(
        "Initialize Screen of\nNumber :  %u\nName    :  %s\n\n( Initialization can not be undone. )",
        screen.number(), screen.name.c_str());
    return prompter.confirm(question, PromptButtons::YesNo, PromptAnswer::Yes) == PromptAnswer::Yes;
}

void ScreenManager::initializeScreen(Screen& screen) {
    screen.clearObjects();
    // The live read list now holds exactly what the remaining tasks and keys need; emptying it as well
    // would leave the unit without the blocks those tasks use and the counts wrong for their removal.
    screen.loadedReadList().clear();
}

std::vector<std::string> ScreenManager::deleteBlockers(const Screen& screen) const {
    std::vector<std::string> lines;
    const std::uint32_t number = screen.number();
    const auto keyName = [](const KeyDefinition& key) {
        return key.secondKey() != 0
                   ? formatText("keys %u + %u", unsigned{key.firstKey()}, unsigned{key.secondKey()})
                   : formatText("key %u", unsigned{key.firstKey()});
    };
    const TaskListOwner& lists = app_.applicationLists();
    for (std::size_t l = 0; l < lists.taskListCount(); ++l) {
        if (listHasGoto(lists.taskList(l), number)) {
            lines.push_back(l == Application::kPowerOn ? "the Power-on task list" : "the Global task list");
        }
    }
    for (const auto& key : app_.globalKeys()) {
        if (ownerHasGoto(*key, number)) {
            lines.push_back("a task of the global " + keyName(*key));
        }
    }
    for (const auto& other : app_.screens()) {
        const std::string name = formatText("Screen %u : %s", other->number(), other->name.c_str());
        if (ownerHasGoto(*other, number)) {
            lines.push_back("a task list of " + name);
        }
        for (const auto& key : other->keys()) {
            if (ownerHasGoto(*key, number)) {
                lines.push_back("a task of " + keyName(*key) + " of " + name);
            }
        }
        if (other.get() != &screen && other->associated() && *other->associated() == number) {
            lines.push_back(name + ", as its associated screen");
        }
    }
    return lines;
}

bool ScreenManager::approveDelete(const Screen& screen, Prompter& prompter) const {
    if (const std::vector<std::string> blockers = deleteBlockers(screen); !blockers.empty()) {
        std::string text(kCannotDelete);
        text += "\n\nIt is used by:";
        for (const std::string& line : blockers) {
            text += "\n- " + line;
        }
        prompter.information(text);
        return false;
    }
    const std::string question =
        formatText("Delete Screen ' %u : %s ' ?", screen.number(), screen.name.c_str());
    return prompter.confirm(question, PromptButtons::YesNo, PromptAnswer::Yes) == PromptAnswer::Yes;
}

Status ScreenManager::deleteScreen(Screen& screen) {
    auto taken = app_.removeScreen(screen);
    if (!taken) {
        return taken.failure();
    }
    return Status::success();
}

// ---------------------------------------------------------------- memory report

ScreenMemoryReport ScreenManager::memoryReport(const Screen& screen) const {
    ScreenMemoryReport report;
    report.objects = {static_cast<std::uint32_t>(screen.objectCount()), screen.objectBytes()};
    report.dataEntries = static_cast<std::uint32_t>(screen.dataEntryCount());
    report.blocks = {screen.readBlocks(), screen.readListBytes()};
    report.keys = {static_cast<std::uint32_t>(screen.keyCount()), screen.keyBytes()};
    for (std::size_t l = 0; l < report.tasks.size(); ++l) {
        report.tasks[l] = {static_cast<std::uint32_t>(screen.taskList(l).size()), screen.taskList(l).bytes()};
    }
    report.otherBytes = Screen::kEntryBytes + Screen::kAssociatedBytes * screen.associatedCount();
    report.totalBytes = screen.imageBytes();
    report.readLines = readLines(screen.readList(), app_.globalReadList());
    report.loadedReadLines = readLines(screen.loadedReadList(), app_.globalReadList());
    report.tagTableSize = app_.screenReadRegisters(screen.readList());
    return report;
}

} // namespace quillon
