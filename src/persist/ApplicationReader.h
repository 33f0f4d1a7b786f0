#pragma once

#include "model/Prompter.h"
#include "model/Result.h"

#include <cstdint>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace quillon {

class Application;
class PictureLibrary;
class PlcCatalogFiles;

// Asked for the application password when the file has one: the entered text, or nothing when the user
// cancels. It is asked again after each wrong entry (the GUI shows its password dialog, the command line
// answers once with the password it was given and then cancels).
using PasswordPrompt = std::function<std::optional<std::string>()>;

// What the reader needs besides the bytes: the catalogs that rebuild the nodes, the picture library that
// takes the pictures of graphic models back (none: pictures are not rebuilt), the password prompt and the
// folder of the "ItoD.txt" trace (none: no trace).
struct ReadContext {
    PlcCatalogFiles& catalogs;
    Prompter& prompter;
    PictureLibrary* pictures = nullptr;
    PasswordPrompt password;
    std::optional<std::filesystem::path> traceFolder;
    // Told what a refused image's error number stands for, where there is more to say ("The screen's
    // objects took 10 bytes where the header gives 12."); none: only the number is shown.
    std::function<void(const std::string&)> explain = {};
};

// Rebuilds an application from its image. Everything the writer derives (indices, lengths, totals, read
// lists, tag codes) is derived again here, so the result satisfies every invariant of the model. The
// reader survives any byte sequence: every count and length is checked against the bytes actually left
// before anything is made of it.
class ApplicationReader final {
public:
    static constexpr std::string_view kErrorPrefix = "FileOpen_Error";
    static constexpr std::string_view kIncorrectPassword = "Incorrect Password.";
    static constexpr std::string_view kCannotLoad = "Can not load %s";
    static constexpr std::string_view kUploadIncomplete = "\nUpload is not completed succesfully.";
    // Larger files are no application images: the unit's memory and the extension section are far smaller.
    static constexpr std::uintmax_t kMaxFileBytes = 16U * 1024U * 1024U;

    // The application, or the failure whose report has been shown ("FileOpen_Error:%d"; the failure's code
    // is the error number, 0 where the format gives the failure no report).
    static Result<std::unique_ptr<Application>> read(std::span<const std::uint8_t> bytes,
                                                     const ReadContext& context);

    // Opens an application file: reads it whole and reads the application; any failure is followed by
    // "Can not load %s" with the file's path.
    static Result<std::unique_ptr<Application>> open(const std::filesystem::path& file,
                                                     const ReadContext& context);

    // "FileOpen_Error:%d".
    static std::string errorText(int number);
};

// The reader under the name the rest of the tool knows it by.
inline Result<std::unique_ptr<Application>> readApplication(std::span<const std::uint8_t> bytes,
                                                            const ReadContext& context) {
    return ApplicationReader::read(bytes, context);
}

} // namespace quillon
