#pragma once

#include <cstdint>
#include <memory>

namespace quillon {

class Application;
class Prompter;

// What the New command creates: the unit itself as node 0 ("Operator Panel"), the model's default global
// keys and the power-on task that shows screen 1. Failures are reported through the prompter; nullptr when
// no application could be started.
std::unique_ptr<Application> newApplication(std::uint16_t modelId, Prompter& prompter);

} // namespace quillon
