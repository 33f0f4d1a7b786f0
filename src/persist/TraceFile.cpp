#include "persist/TraceFile.h"

namespace quillon {

TraceFile::TraceFile(const std::optional<std::filesystem::path>& folder, std::string_view name) {
    if (folder) {
        out_.open(*folder / std::string(name), std::ios::out | std::ios::trunc);
    }
}

void TraceFile::line(std::string_view text) {
    if (out_.is_open()) {
        out_.write(text.data(), static_cast<std::streamsize>(text.size()));
    }
}

} // namespace quillon
