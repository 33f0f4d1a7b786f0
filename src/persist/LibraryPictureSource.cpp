#include "persist/LibraryPictureSource.h"

#include <system_error>
#include <utility>

namespace quillon {

LibraryPictureSource::LibraryPictureSource(std::filesystem::path folder) : library_(std::move(folder)) {}

std::optional<LibraryPictureSource::FileStamp> LibraryPictureSource::currentStamp() const {
    std::error_code ec;
    const auto path = library_.libraryPath();
    FileStamp stamp;
    stamp.size = std::filesystem::file_size(path, ec);
    if (ec) {
        return std::nullopt;
    }
    stamp.modified = std::filesystem::last_write_time(path, ec);
    if (ec) {
        return std::nullopt;
    }
    return stamp;
}

void LibraryPictureSource::dropCache() const noexcept {
    cache_.clear();
    cachedStamp_.reset();
}

Result<PictureBits> LibraryPictureSource::picture(std::uint32_t pictureId) const {
    const auto stamp = currentStamp();
    if (!stamp) {
        dropCache();
        return Result<PictureBits>::fail(std::string(PictureLibrary::kCannotOpen));
    }
    if (cachedStamp_ != stamp) {
        cache_.clear();
        cachedStamp_ = stamp;
    }
    if (const auto found = cache_.find(pictureId); found != cache_.end()) {
        return found->second;
    }
    auto record = library_.readPicture(pictureId);
    if (!record) {
        return record.failure();
    }
    PictureBits bits{record->width(), record->height(), record->rows()};
    if (cache_.size() >= kMaxCachedPictures) {
        cache_.clear();
    }
    cache_.emplace(pictureId, bits);
    return bits;
}

} // namespace quillon
