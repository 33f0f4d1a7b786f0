#pragma once

#include <cstdint>
#include <span>

namespace quillon {

class Application;
class Prompter;

// One default key of a new application: the key number and the task its 'Press' list gets.
struct DefaultKey {
    std::uint8_t key = 0;
    std::uint8_t taskKind = 0;
    std::uint8_t subKind = 0;
};

// The keys a new application of a model starts with, so that a fresh panel can already page through
// screens and enter data; models without a keypad of that kind get none.
std::span<const DefaultKey> defaultGlobalKeys(std::uint16_t modelId) noexcept;

// Creates the model's default keys in the application. A key or task that cannot be created is
// reported ("Can't create new Key.", "Can not create new task.") and creation goes on with the next.
void createDefaultGlobalKeys(Application& application, Prompter& prompter);

} // namespace quillon
