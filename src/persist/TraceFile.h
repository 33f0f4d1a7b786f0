#pragma once

#include <filesystem>
#include <fstream>
#include <optional>
#include <string_view>

namespace quillon {

// The diagnostic trace of tag codes ("DtoI.txt" while writing, "ItoD.txt" while reading): created fresh
// in the folder the caller names, or not at all when no folder is given (tests, the fuzzer). A trace that
// cannot be opened is skipped: it is never a reason to fail a save or an open.
class TraceFile final {
public:
    static constexpr std::string_view kWriterTrace = "DtoI.txt";
    static constexpr std::string_view kReaderTrace = "ItoD.txt";

    TraceFile() = default;
    TraceFile(const std::optional<std::filesystem::path>& folder, std::string_view name);

    bool active() const noexcept { return out_.is_open(); }
    void line(std::string_view text);

private:
    std::ofstream out_;
};

} // namespace quillon
