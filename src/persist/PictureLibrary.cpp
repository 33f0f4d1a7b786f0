#include "persist/PictureLibrary.h"

#include "persist/BitmapImporter.h"

#include <algorithm>
#include <array>
#include <fstream>
#include <string>
#include <system_error>

namespace quillon {

namespace {

constexpr std::size_t kCopyChunk = 64 * 1024;
// A bitmap file larger than this cannot hold a picture that fits a record; reading stops there.
constexpr std::uintmax_t kMaxBitmapFileBytes = 16U * 1024 * 1024;

std::uint16_t u16At(const std::uint8_t* b) {
    return static_cast<std::uint16_t>(b[0] | (b[1] << 8));
}

std::string damaged(const std::filesystem::path& file, std::uint64_t at) {
    return "The pictures' library " + file.string() + " is damaged at byte " + std::to_string(at) +
           ".\nIt is left as it is.";
}

std::string cannotRead(const std::filesystem::path& file) {
    return "Can not read " + file.string() + ".";
}

bool readAt(std::ifstream& in, std::uint64_t offset, std::uint8_t* out, std::size_t size) {
    in.clear();
    in.seekg(static_cast<std::streamoff>(offset));
    in.read(reinterpret_cast<char*>(out), static_cast<std::streamsize>(size));
    return in.good() || (in.eof() && static_cast<std::size_t>(in.gcount()) == size);
}

// Reads the record headers of the library front to back through one window of the file, so that a
// library of many small pictures is scanned without a seek and a read for every record.
class WindowReader final {
public:
    explicit WindowReader(std::ifstream& in) : in_(in), window_(kCopyChunk) {}

    bool readAt(std::uint64_t offset, std::uint8_t* out, std::size_t size) {
        if (offset < start_ || offset + size > start_ + filled_) {
            in_.clear();
            in_.seekg(static_cast<std::streamoff>(offset));
            in_.read(reinterpret_cast<char*>(window_.data()), static_cast<std::streamsize>(window_.size()));
            start_ = offset;
            filled_ = static_cast<std::size_t>(in_.gcount());
            if (size > filled_) {
                return false;
            }
        }
        std::copy_n(window_.data() + (offset - start_), size, out);
        return true;
    }

private:
    std::ifstream& in_;
    std::vector<std::uint8_t> window_;
    std::uint64_t start_ = 0;
    std::size_t filled_ = 0;
};

Status copyRange(std::ifstream& in, const std::filesystem::path& from, std::uint64_t begin, std::uint64_t end,
                 AtomicFileWriter& out) {
    std::vector<std::uint8_t> chunk(
        static_cast<std::size_t>(std::min<std::uint64_t>(kCopyChunk, end - begin)));
    while (begin < end) {
        const auto n = static_cast<std::size_t>(std::min<std::uint64_t>(chunk.size(), end - begin));
        if (!readAt(in, begin, chunk.data(), n)) {
            return Status::fail(cannotRead(from));
        }
        if (Status s = out.write(std::span<const std::uint8_t>(chunk.data(), n)); !s) {
            return s;
        }
        begin += n;
    }
    return Status::success();
}

} // namespace

PictureLibrary::PictureLibrary(std::filesystem::path folder, FileSystemCalls calls)
    : folder_(std::move(folder)), calls_(std::move(calls)) {}

bool PictureLibrary::exists() const {
    std::error_code ec;
    return std::filesystem::is_regular_file(libraryPath(), ec);
}

Result<PictureLibraryContents> PictureLibrary::scan() const {
    using R = Result<PictureLibraryContents>;
    PictureLibraryContents contents;
    if (!exists()) {
        return contents;
    }
    const auto file = libraryPath();
    std::error_code ec;
    const std::uintmax_t fileSize = std::filesystem::file_size(file, ec);
    std::ifstream in(file, std::ios::binary);
    if (ec || !in.is_open()) {
        return R::fail(std::string(kCannotOpen));
    }
    contents.fileSize = fileSize;
    WindowReader reader(in);
    std::uint64_t offset = 0;
    std::array<std::uint8_t, PictureRecord::kHeaderBytes> header{};
    while (offset < fileSize) {
        const std::uint64_t left = fileSize - offset;
        if (left < 2) {
            return R::fail(damaged(file, offset));
        }
        if (!reader.readAt(offset, header.data(), 2)) {
            return R::fail(cannotRead(file));
        }
        const std::uint16_t size = u16At(header.data());
        if (size == 0) {
            break;
        }
        if (left < PictureRecord::kHeaderBytes) {
            return R::fail(damaged(file, offset));
        }
        if (!reader.readAt(offset, header.data(), header.size())) {
            return R::fail(cannotRead(file));
        }
        PictureInfo info{offset, size, header[2], u16At(header.data() + 3), u16At(header.data() + 5)};
        const std::uint64_t data = std::uint64_t{info.height} * PictureRecord::rowBytes(info.width);
        if (size < PictureRecord::kSizeOverhead || data + PictureRecord::kSizeOverhead != size ||
            info.recordBytes() > left || contents.pictures.size() >= kMaxPictures) {
            return R::fail(damaged(file, offset));
        }
        contents.pictures.push_back(info);
        offset += info.recordBytes();
    }
    contents.end = offset;
    return contents;
}

Result<std::uint32_t> PictureLibrary::countPictures() const {
    auto contents = scan();
    if (!contents) {
        return contents.failure();
    }
    return static_cast<std::uint32_t>(contents->pictures.size());
}

Result<PictureInfo> PictureLibrary::pictureSize(std::uint32_t index) const {
    auto contents = scan();
    if (!contents) {
        return contents.failure();
    }
    if (index >= contents->pictures.size()) {
        return Result<PictureInfo>::fail("There is no picture " + std::to_string(index) + " in the library.");
    }
    return contents->pictures[index];
}

Result<PictureRecord> PictureLibrary::readPicture(std::uint32_t index) const {
    auto info = pictureSize(index);
    if (!info) {
        return info.failure();
    }
    std::ifstream in(libraryPath(), std::ios::binary);
    std::vector<std::uint8_t> rows(info->dataBytes());
    if (!in.is_open() || !readAt(in, info->offset + PictureRecord::kHeaderBytes, rows.data(), rows.size())) {
        return Result<PictureRecord>::fail(std::string(kCannotOpen));
    }
    return PictureRecord(info->width, info->height, std::move(rows));
}

Status PictureLibrary::importFile(const std::filesystem::path& bitmapFile, int displayClass) const {
    std::error_code ec;
    const std::uintmax_t fileSize = std::filesystem::file_size(bitmapFile, ec);
    std::ifstream in(bitmapFile, std::ios::binary);
    if (ec || !in.is_open()) {
        return Status::fail("Can not open " + bitmapFile.string() + ".");
    }
    std::vector<std::uint8_t> bytes(static_cast<std::size_t>(std::min(fileSize, kMaxBitmapFileBytes)));
    in.read(reinterpret_cast<char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    bytes.resize(static_cast<std::size_t>(in.gcount()));
    auto picture = BitmapImporter::convert(bytes, displayClass);
    if (!picture) {
        return picture.failure();
    }
    return writeWorkFile(*picture);
}

Status PictureLibrary::writeWorkFile(const PictureRecord& picture) const {
    if (!PictureRecord::fits(picture.width(), picture.height()) ||
        picture.rows().size() != std::size_t{picture.height()} * PictureRecord::rowBytes(picture.width())) {
        return Status::fail(std::string(BitmapImporter::kTooLarge));
    }
    return AtomicFileWriter::writeFile(workPath(), picture.encodeWorkFile(), calls_);
}

Result<PictureRecord> PictureLibrary::readWorkFile() const {
    const auto file = workPath();
    std::error_code ec;
    const std::uintmax_t fileSize = std::filesystem::file_size(file, ec);
    std::ifstream in(file, std::ios::binary);
    if (ec || !in.is_open()) {
        return Result<PictureRecord>::fail(file.string());
    }
    if (fileSize > PictureRecord::kHeaderBytes + PictureRecord::kMaxSizeField) {
        return Result<PictureRecord>::fail("The new picture " + file.string() + " is damaged.");
    }
    std::vector<std::uint8_t> bytes(static_cast<std::size_t>(fileSize));
    if (!readAt(in, 0, bytes.data(), bytes.size())) {
        return Result<PictureRecord>::fail(cannotRead(file));
    }
    auto picture = PictureRecord::decodeWorkFile(bytes);
    if (!picture) {
        return Result<PictureRecord>::fail("The new picture " + file.string() + " is damaged.");
    }
    return picture;
}

Result<DuplicateSearch> PictureLibrary::findDuplicate() const {
    std::error_code ec;
    if (!std::filesystem::is_regular_file(workPath(), ec)) {
        return DuplicateSearch{DuplicateOutcome::WorkFileMissing, 0};
    }
    if (!exists()) {
        return DuplicateSearch{DuplicateOutcome::LibraryMissing, 0};
    }
    auto picture = readWorkFile();
    if (!picture) {
        return picture.failure();
    }
    auto contents = scan();
    if (!contents) {
        return contents.failure();
    }
    std::ifstream in(libraryPath(), std::ios::binary);
    if (!in.is_open()) {
        return Result<DuplicateSearch>::fail(std::string(kCannotOpen));
    }
    std::vector<std::uint8_t> rows;
    for (std::uint32_t i = 0; i < contents->pictures.size(); ++i) {
        const PictureInfo& info = contents->pictures[i];
        if (info.size != picture->sizeField() || info.width != picture->width() ||
            info.height != picture->height()) {
            continue;
        }
        rows.resize(info.dataBytes());
        if (!readAt(in, info.offset + PictureRecord::kHeaderBytes, rows.data(), rows.size())) {
            return Result<DuplicateSearch>::fail(cannotRead(libraryPath()));
        }
        if (rows == picture->rows()) {
            return DuplicateSearch{DuplicateOutcome::Found, i};
        }
    }
    return DuplicateSearch{DuplicateOutcome::NotFound, 0};
}

Status PictureLibrary::replaceRecords(const PictureLibraryContents& contents, std::uint64_t keepBefore,
                                      std::uint64_t resumeAt, std::span<const std::uint8_t> inserted) const {
    const auto file = libraryPath();
    std::ifstream in;
    if (contents.fileSize > 0) {
        in.open(file, std::ios::binary);
        if (!in.is_open()) {
            return Status::fail(file.string());
        }
    }
    AtomicFileWriter out(file, std::string(kRewriteName), calls_);
    if (Status s = out.open(); !s) {
        return s;
    }
    if (Status s = copyRange(in, file, 0, keepBefore, out); !s) {
        return s;
    }
    if (Status s = out.write(inserted); !s) {
        return s;
    }
    if (Status s = copyRange(in, file, resumeAt, contents.fileSize, out); !s) {
        return s;
    }
    return out.commit();
}

Result<std::uint32_t> PictureLibrary::append() const {
    auto picture = readWorkFile();
    if (!picture) {
        return picture.failure();
    }
    auto contents = scan();
    if (!contents) {
        return contents.failure();
    }
    const auto count = static_cast<std::uint32_t>(contents->pictures.size());
    if (count >= kMaxPictures) {
        return Result<std::uint32_t>::fail(std::string(kLibraryFull));
    }
    // The new record goes where the list ends, ahead of an end mark and whatever lies behind it.
    const auto record = picture->encodeLibraryRecord();
    if (Status s = replaceRecords(*contents, contents->end, contents->end, record); !s) {
        return s.failure();
    }
    return count;
}

Result<std::uint32_t> PictureLibrary::addPictureFromFile(const std::filesystem::path& bitmapFile,
                                                         int displayClass, Prompter& prompter) const {
    if (Status s = importFile(bitmapFile, displayClass); !s) {
        prompter.error(s.message());
        return s.failure();
    }
    return appendWorkFile(prompter);
}

Result<std::uint32_t> PictureLibrary::addPicture(const PictureRecord& picture, Prompter& prompter) const {
    if (Status s = writeWorkFile(picture); !s) {
        prompter.error(s.message());
        return s.failure();
    }
    return appendWorkFile(prompter);
}

Result<std::uint32_t> PictureLibrary::appendWorkFile(Prompter& prompter) const {
    auto duplicate = findDuplicate();
    if (!duplicate) {
        prompter.error(duplicate.message());
        return duplicate.failure();
    }
    if (duplicate->outcome == DuplicateOutcome::Found) {
        prompter.information(kDuplicate);
        return Result<std::uint32_t>::fail(std::string(kDuplicate));
    }
    if (duplicate->outcome == DuplicateOutcome::WorkFileMissing) {
        prompter.error(workPath().string());
        return Result<std::uint32_t>::fail(workPath().string());
    }
    auto added = append();
    if (!added) {
        if (added.message() == kLibraryFull) {
            prompter.information(kLibraryFull);
        } else {
            prompter.error(added.message());
        }
    }
    return added;
}

Result<std::uint32_t> PictureLibrary::storePicture(const PictureRecord& picture) const {
    if (Status s = writeWorkFile(picture); !s) {
        return s.failure();
    }
    auto duplicate = findDuplicate();
    if (!duplicate) {
        return duplicate.failure();
    }
    switch (duplicate->outcome) {
    case DuplicateOutcome::Found:
        return duplicate->index;
    case DuplicateOutcome::WorkFileMissing:
        return Result<std::uint32_t>::fail(workPath().string());
    case DuplicateOutcome::NotFound:
    case DuplicateOutcome::LibraryMissing:
        break;
    }
    return append();
}

Result<std::uint32_t> PictureLibrary::deletePicture(std::uint32_t index, const PictureUsedPredicate& isUsed,
                                                    const PictureRemovedCallback& pictureRemoved,
                                                    Prompter& prompter) const {
    if (isUsed && isUsed(index)) {
        prompter.information(kUsed);
        return Result<std::uint32_t>::fail(std::string(kUsed));
    }
    if (!exists()) {
        prompter.error(libraryPath().string());
        return Result<std::uint32_t>::fail(libraryPath().string());
    }
    auto contents = scan();
    if (!contents) {
        prompter.error(contents.message());
        return contents.failure();
    }
    if (index >= contents->pictures.size()) {
        const std::string text = "There is no picture " + std::to_string(index) + " in the library.";
        prompter.error(text);
        return Result<std::uint32_t>::fail(text);
    }
    const PictureInfo& gone = contents->pictures[index];
    if (Status s = replaceRecords(*contents, gone.offset, gone.offset + gone.recordBytes(), {}); !s) {
        prompter.error(s.message());
        return s.failure();
    }
    if (pictureRemoved) {
        pictureRemoved(index);
    }
    return index > 0 ? index - 1 : 0;
}

Status PictureLibrary::updateUsedFlags(const PictureUsedPredicate& isUsed) const {
    auto contents = scan();
    if (!contents) {
        return contents.failure();
    }
    std::fstream io;
    for (std::uint32_t i = 0; i < contents->pictures.size(); ++i) {
        const PictureInfo& info = contents->pictures[i];
        const std::uint8_t flag = (isUsed && isUsed(i)) ? 1 : 0;
        if (info.usedFlag == flag) {
            continue;
        }
        if (!io.is_open()) {
            io.open(libraryPath(), std::ios::binary | std::ios::in | std::ios::out);
            if (!io.is_open()) {
                return Status::fail(libraryPath().string());
            }
        }
        // The flag byte is rewritten where it stands: a flag left over by an interruption is harmless,
        // since the flags are set again before every write of an application.
        io.seekp(static_cast<std::streamoff>(info.offset + 2));
        io.put(static_cast<char>(flag));
        if (!io) {
            return Status::fail("Can not write " + libraryPath().string() + ".");
        }
    }
    if (io.is_open()) {
        io.flush();
        if (!io) {
            return Status::fail("Can not write " + libraryPath().string() + ".");
        }
    }
    return Status::success();
}

Result<std::vector<UsedPicture>> PictureLibrary::usedPictures() const {
    auto contents = scan();
    if (!contents) {
        return contents.failure();
    }
    std::vector<UsedPicture> used;
    std::uint32_t offset = 0;
    for (std::uint32_t i = 0; i < contents->pictures.size(); ++i) {
        const PictureInfo& info = contents->pictures[i];
        if (info.used()) {
            used.push_back(UsedPicture{i, offset, info.dataBytes()});
            offset += info.dataBytes();
        }
    }
    return used;
}

Status PictureLibrary::writeUsedPictures(const PictureDataSink& sink) const {
    auto used = usedPictures();
    if (!used) {
        return used.failure();
    }
    if (used->empty()) {
        return Status::success();
    }
    auto contents = scan();
    if (!contents) {
        return contents.failure();
    }
    std::ifstream in(libraryPath(), std::ios::binary);
    if (!in.is_open()) {
        return Status::fail(std::string(kCannotOpen));
    }
    std::vector<std::uint8_t> rows;
    for (const UsedPicture& picture : *used) {
        const PictureInfo& info = contents->pictures[picture.index];
        rows.resize(picture.length);
        if (!readAt(in, info.offset + PictureRecord::kHeaderBytes, rows.data(), rows.size())) {
            return Status::fail(cannotRead(libraryPath()));
        }
        if (Status s = sink(rows); !s) {
            return s;
        }
    }
    return Status::success();
}

Result<std::uint32_t> PictureLibrary::usedPictureBytes() const {
    auto used = usedPictures();
    if (!used) {
        return used.failure();
    }
    std::uint32_t total = 0;
    for (const UsedPicture& picture : *used) {
        total += picture.length;
    }
    return total;
}

} // namespace quillon
