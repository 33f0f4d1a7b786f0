#pragma once

#include "model/PictureSource.h"
#include "persist/PictureLibrary.h"

#include <cstdint>
#include <filesystem>
#include <map>
#include <optional>

namespace quillon {

// The pictures of the picture library in a folder (the working directory), as Bitmap objects draw them.
// A repaint draws every Bitmap object of a screen again, so the pictures read are kept; the cache is
// dropped by dropCache() after the library has been changed, and also whenever the library file's size or
// modification time differs from what it was when the cache was filled, so that a picture added, deleted
// or brought in by an upload is never drawn from an old copy.
class LibraryPictureSource final : public PictureSource {
public:
    // A repaint of a screen needs at most one picture per object; beyond this the cache starts again.
    static constexpr std::size_t kMaxCachedPictures = 512;

    explicit LibraryPictureSource(std::filesystem::path folder);

    // The picture, or the failure with the message the user sees ("Can not open pictures' library." for a
    // missing library, the library's own message for a damaged one or a number it does not hold).
    Result<PictureBits> picture(std::uint32_t pictureId) const override;
    void dropCache() const noexcept;
    std::size_t cachedPictures() const noexcept { return cache_.size(); }

private:
    struct FileStamp {
        std::uintmax_t size = 0;
        std::filesystem::file_time_type modified;

        friend bool operator==(const FileStamp&, const FileStamp&) = default;
    };

    std::optional<FileStamp> currentStamp() const;

    PictureLibrary library_;
    mutable std::map<std::uint32_t, PictureBits> cache_;
    mutable std::optional<FileStamp> cachedStamp_;
};

} // namespace quillon
