#pragma once

#include "ui/CommandId.h"

#include <cstdint>

namespace quillon::gui {

// What the shell holds. The numbers are compared by the settings-file writer and the title logic.
enum class ShellState : int {
    NoApplication = -1, // nothing open
    Unsaved = 0,        // new or uploaded, never written to a file
    Loading = 1,        // an application file is being read
    Saved = 2,          // the open application equals its file
    Modified = 3,       // changed since it was opened or saved
};

// The state after a command has run. Every command other than New, Open, Save and Save As counts as a
// change of a stored application, whether or not it touched it: the shell cannot know what a dialog did,
// and asking once too often loses nothing. Simulate is the exception the shell does know: it runs the
// application without changing it; Examples, like Open, only opens another file (a copy of an example). An
// application that never had a file stays Unsaved.
constexpr ShellState stateAfterCommand(ShellState state, std::uint16_t id) noexcept {
    const bool stored =
        state == ShellState::Loading || state == ShellState::Saved || state == ShellState::Modified;
    const bool exempt = id == toId(CommandId::New) || id == toId(CommandId::Open) ||
                        id == toId(CommandId::Save) || id == toId(CommandId::SaveAs) ||
                        id == toId(CommandId::Simulate) || id == toId(CommandId::Examples);
    return stored && !exempt ? ShellState::Modified : state;
}

// Commands that can make the application grow: they first check that it still fits the unit's memory.
constexpr bool needsMemoryCheck(std::uint16_t id) noexcept {
    switch (static_cast<CommandId>(id)) {
    case CommandId::ScreenKeys:
    case CommandId::ScreenDuplicate:
    case CommandId::ScreenNew:
    case CommandId::ScreenTaskLists:
    case CommandId::Network:
    case CommandId::TagDatabase:
    case CommandId::ApplicationKeys:
    case CommandId::Alarms:
    case CommandId::ApplicationTaskLists:
        return true;
    default:
        return false;
    }
}

// The settings file names the open application only when it has a file of its own.
constexpr bool recordsFileName(ShellState state) noexcept {
    return state == ShellState::Saved || state == ShellState::Modified;
}

} // namespace quillon::gui
