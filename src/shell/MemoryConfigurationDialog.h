#pragma once

#include "shell/DocumentService.h"
#include "ui/ShellDialog.h"

#include <cstdint>

#include <QString>

namespace quillon::gui {

// The three summary lines of the memory report, worked out from the capacity C and the used bytes U.
struct MemorySummary {
    std::int64_t availableBytes = 0;
    std::int64_t availableKb = 0;
    std::int64_t usedBytes = 0;
    std::int64_t usedKb = 0;      // never below 1
    std::int64_t usedPercent = 0; // never below 1
    std::int64_t freeBytes = 0;   // negative when the application does not fit
    std::int64_t freeKb = 0;
    std::int64_t freePercent = 0;

    static MemorySummary of(std::uint32_t capacity, std::uint32_t used) noexcept;
};

// "Quillon : Memory Configuration": how much of the unit's memory the application takes and where.
class MemoryConfigurationDialog final : public ShellDialog {
    Q_OBJECT
public:
    MemoryConfigurationDialog(QWidget* parent, const MemoryReport& report);

    // "%03d     %s    %u": node number, block address, users.
    static QString readLine(const ReadLine& line);
};

} // namespace quillon::gui
