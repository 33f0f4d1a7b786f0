#pragma once

#include <string>

namespace quillon {

class Application;
class ReadList;

// What a read-limit refusal adds to its message: how many registers the screen would read against the
// unit's limit, and each block the refused change would add to the screen's reads with its registers
// (blocks the global list reads already add none).
std::string readLimitDetail(const Application& application, const ReadList& current, const ReadList& trial);

} // namespace quillon
