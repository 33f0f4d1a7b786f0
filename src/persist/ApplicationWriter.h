#pragma once

#include "model/ByteSink.h"
#include "model/Prompter.h"
#include "model/Result.h"
#include "persist/AtomicFileWriter.h"

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string_view>
#include <vector>

namespace quillon {

class Application;
class PictureLibrary;
class PlcCatalogFiles;
class ReadList;
class TaskList;

// What the writer needs besides the application: the catalogs that place a tag inside its block, the
// picture library whose used pictures form the picture data of graphic models (none: no picture data),
// and the folder of the "DtoI.txt" trace (none: no trace).
struct WriteContext {
    PlcCatalogFiles& catalogs;
    Prompter& prompter;
    const PictureLibrary* pictures = nullptr;
    std::optional<std::filesystem::path> traceFolder;
    // The calls a save goes through (tests make the disk run full).
    FileSystemCalls fileSystem = FileSystemCalls::system();
};

// Builds the application image: the bytes the unit holds in its memory (header, settings, network, read
// lists, task lists, keys, screens with their objects, alarms, logger placeholder, picture data), followed
// by the extension section with the names the unit does not keep. The same bytes go to the application
// file and to the download image. The application must have been prepared (prepareForWrite).
class ApplicationWriter final {
public:
    static constexpr std::string_view kCannotSave = "Can not save the applicaion.\nTry again.";
    static constexpr std::string_view kCannotOpenIntermediate = "Can not open intermediate file.";
    static constexpr std::string_view kDownloadImage = "dnld_ovm.ovz";

    // The whole image, or the reason it cannot be made (nothing partial is returned).
    static Result<std::vector<std::uint8_t>> write(const Application& application,
                                                   const WriteContext& context);

    // Save: prepares, writes and replaces the file in one step; the old file is untouched unless the new
    // one is complete on disk. Every failure is shown, followed by "Can not save the applicaion.\nTry
    // again.", and returned, so that a close that asked for the save can stop.
    static Status save(Application& application, const std::filesystem::path& file,
                       const WriteContext& context);
    // Download: prepares and writes the image to "dnld_ovm.ovz" in `folder`; returns the bytes to send.
    // A failure shows "Can not open intermediate file.".
    static Result<std::vector<std::uint8_t>> writeDownloadImage(Application& application,
                                                                const std::filesystem::path& folder,
                                                                const WriteContext& context);

    // The read-list section of a list: per node with listed blocks, in node order, its number, the count
    // and the block indices in block order.
    static void writeReadList(const ReadList& list, ByteSink& out);
    static void writeTaskList(const TaskList& list, ByteSink& out);
};

// The writer under the name the rest of the tool knows it by.
inline Result<std::vector<std::uint8_t>> writeApplication(const Application& application,
                                                          const WriteContext& context) {
    return ApplicationWriter::write(application, context);
}

} // namespace quillon
