#pragma once

#include "model/Prompter.h"
#include "model/Result.h"
#include "persist/AtomicFileWriter.h"
#include "persist/PictureRecord.h"

#include <cstdint>
#include <filesystem>
#include <functional>
#include <span>
#include <string_view>
#include <vector>

namespace quillon {

// One record of the library as found in the file.
struct PictureInfo {
    std::uint64_t offset = 0; // of the record in the library file
    std::uint16_t size = 0;   // the size field: pixel bytes + 4
    std::uint8_t usedFlag = 0;
    std::uint16_t width = 0;
    std::uint16_t height = 0;

    bool used() const noexcept { return usedFlag == 1; }
    std::uint32_t dataBytes() const noexcept { return size - PictureRecord::kSizeOverhead; }
    std::uint64_t recordBytes() const noexcept { return std::uint64_t{size} + 4; }
};

// The records of the library, and where they end: a record whose size field is 0 ends the list, and
// whatever follows it is kept as it is when the library is rewritten.
struct PictureLibraryContents {
    std::vector<PictureInfo> pictures;
    std::uint64_t end = 0;
    std::uint64_t fileSize = 0;
};

enum class DuplicateOutcome { Found, NotFound, LibraryMissing, WorkFileMissing };

struct DuplicateSearch {
    DuplicateOutcome outcome = DuplicateOutcome::NotFound;
    std::uint32_t index = 0; // the identical record, when found
};

// Where a used picture's pixel data lies in the picture data section of an application image.
struct UsedPicture {
    std::uint32_t index = 0;  // picture number in the library
    std::uint32_t offset = 0; // from the start of the picture data section
    std::uint32_t length = 0; // pixel bytes
};

// Which pictures the open application shows, by picture number. The library takes it from its caller,
// so that it never needs the application itself.
using PictureUsedPredicate = std::function<bool(std::uint32_t picture)>;
// Told the picture number that was deleted, so that the application renumbers the pictures after it.
using PictureRemovedCallback = std::function<void(std::uint32_t picture)>;
using PictureDataSink = std::function<Status(std::span<const std::uint8_t> bytes)>;

// The picture library "OvmPctrs.ovp" shared by all applications, with its work files "NewPctr.ovp" (the
// picture being added) and "zzmPctrs.ovp" (the library being rewritten). The file is a plain sequence
// of records numbered from 0; every count and length in it is checked against the bytes present before
// anything is read, and a damaged library is reported and left as it is. Every rewrite replaces the
// library in one step, so an interrupted add or delete never loses the pictures already there.
class PictureLibrary final {
public:
    static constexpr std::string_view kLibraryName = "OvmPctrs.ovp";
    static constexpr std::string_view kWorkName = "NewPctr.ovp";
    static constexpr std::string_view kRewriteName = "zzmPctrs.ovp";
    static constexpr std::uint32_t kMaxPictures = 65535;

    static constexpr std::string_view kDuplicate =
        "This picture is already present in the library.\nHence can not be added.";
    static constexpr std::string_view kLibraryFull =
        "There are maximum pictures in the library.\nCan not add new one.";
    static constexpr std::string_view kUsed = "This Bitmap is used hence can not be deleted.";
    static constexpr std::string_view kCannotOpen = "Can not open pictures' library.";

    explicit PictureLibrary(std::filesystem::path folder, FileSystemCalls calls = FileSystemCalls::system());

    std::filesystem::path libraryPath() const { return folder_ / kLibraryName; }
    std::filesystem::path workPath() const { return folder_ / kWorkName; }
    bool exists() const;

    // The records of the library; a missing library has none.
    Result<PictureLibraryContents> scan() const;
    Result<std::uint32_t> countPictures() const;
    Result<PictureInfo> pictureSize(std::uint32_t index) const;
    Result<PictureRecord> readPicture(std::uint32_t index) const;

    // Converts a Windows bitmap file into the work file; the failure carries the user's message.
    Status importFile(const std::filesystem::path& bitmapFile, int displayClass) const;
    // Puts a picture into the work file (the picture rebuilt from an uploaded application).
    Status writeWorkFile(const PictureRecord& picture) const;
    // Looks for a library record identical to the work file.
    Result<DuplicateSearch> findDuplicate() const;
    // Adds the work file's picture at the end of the list; returns its picture number.
    Result<std::uint32_t> append() const;

    // Import, duplicate search and append as the user's "add picture" does them, with every message
    // shown through `prompter`. Returns the new picture number.
    Result<std::uint32_t> addPictureFromFile(const std::filesystem::path& bitmapFile, int displayClass,
                                             Prompter& prompter) const;
    // Duplicate search and append of a picture already converted (read by another image reader), as the
    // user's "add picture" does them, with every message shown through `prompter`.
    Result<std::uint32_t> addPicture(const PictureRecord& picture, Prompter& prompter) const;
    // Finds or adds a picture without asking anything: the number of an identical library picture, or
    // of the one appended.
    Result<std::uint32_t> storePicture(const PictureRecord& picture) const;

    // Deletes a picture that the application does not show; `pictureRemoved` is then told its number.
    // Returns the picture to select afterwards (the previous one, or 0).
    Result<std::uint32_t> deletePicture(std::uint32_t index, const PictureUsedPredicate& isUsed,
                                        const PictureRemovedCallback& pictureRemoved,
                                        Prompter& prompter) const;

    // Sets every record's used flag from `isUsed`, rewriting only the flags that change.
    Status updateUsedFlags(const PictureUsedPredicate& isUsed) const;
    // The used pictures in library order, laid out one after another as in an application image.
    Result<std::vector<UsedPicture>> usedPictures() const;
    // The pixel data of the used pictures, in library order, without headers or trailing bytes.
    Status writeUsedPictures(const PictureDataSink& sink) const;
    // The bytes the used pictures take in an application image.
    Result<std::uint32_t> usedPictureBytes() const;

private:
    Status replaceRecords(const PictureLibraryContents& contents, std::uint64_t keepBefore,
                          std::uint64_t resumeAt, std::span<const std::uint8_t> inserted) const;
    Result<PictureRecord> readWorkFile() const;
    Result<std::uint32_t> appendWorkFile(Prompter& prompter) const;

    std::filesystem::path folder_;
    FileSystemCalls calls_;
};

} // namespace quillon
