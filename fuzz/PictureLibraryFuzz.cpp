// Feeds arbitrary bytes to the picture library as its file and runs every operation on it: a damaged
// library must be refused with a message, never crash, never read past its end, and every operation
// that succeeds must leave a library that reads back as it should.
#include "model/RecordingPrompter.h"
#include "persist/PictureLibrary.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <unistd.h>

namespace {

using quillon::PictureLibrary;
using quillon::PictureRecord;

void check(bool condition) {
    if (!condition) {
        __builtin_trap();
    }
}

const std::filesystem::path& folder() {
    static const std::filesystem::path path = [] {
        auto p =
            std::filesystem::temp_directory_path() / ("quillon-fuzz-library-" + std::to_string(::getpid()));
        std::filesystem::create_directories(p);
        std::atexit([] {
            std::error_code ec;
            std::filesystem::remove_all(folder(), ec);
        });
        return p;
    }();
    return path;
}

quillon::FileSystemCalls withoutSync() {
    auto calls = quillon::FileSystemCalls::system();
    calls.fsync = [](int) { return 0; };
    return calls;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const PictureLibrary library(folder(), withoutSync());
    std::filesystem::remove(library.workPath());
    {
        std::ofstream out(library.libraryPath(), std::ios::binary | std::ios::trunc);
        out.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
    }

    auto contents = library.scan();
    auto count = library.countPictures();
    auto usedBytes = library.usedPictureBytes();
    check(contents.ok() == count.ok() && contents.ok() == usedBytes.ok());
    if (!contents) {
        check(!contents.message().empty());
        quillon::RecordingPrompter prompter;
        check(!library.deletePicture(0, {}, {}, prompter).ok());
        check(!library.updateUsedFlags([](std::uint32_t) { return true; }).ok());
        return 0;
    }
    const auto n = static_cast<std::uint32_t>(contents->pictures.size());
    check(*count == n && contents->end <= contents->fileSize && contents->fileSize == size);

    std::uint64_t used = 0;
    for (std::uint32_t i = 0; i < n; ++i) {
        const auto& info = contents->pictures[i];
        if (info.used()) {
            used += info.dataBytes();
        }
        if (i < 8) {
            auto picture = library.readPicture(i);
            check(picture.ok() && picture->width() == info.width &&
                  picture->rows().size() == info.dataBytes());
        }
    }
    check(used == *usedBytes);
    std::uint64_t written = 0;
    check(library
              .writeUsedPictures([&written](std::span<const std::uint8_t> bytes) {
                  written += bytes.size();
                  return quillon::Status::success();
              })
              .ok());
    check(written == used);

    auto everyThird = [](std::uint32_t i) { return i % 3 == 0; };
    check(library.updateUsedFlags(everyThird).ok());
    auto flagged = library.scan();
    check(flagged.ok() && flagged->pictures.size() == n);
    for (std::uint32_t i = 0; i < n; ++i) {
        check(flagged->pictures[i].used() == everyThird(i));
    }

    // A picture made of the input's first bytes is found or added, and reads back unchanged.
    const std::uint16_t width = size > 0 ? static_cast<std::uint16_t>(1 + data[0] % 40) : 8;
    const std::uint16_t height = size > 1 ? static_cast<std::uint16_t>(1 + data[1] % 20) : 2;
    std::vector<std::uint8_t> rows(std::size_t{height} * PictureRecord::rowBytes(width));
    for (std::size_t i = 0; i < rows.size(); ++i) {
        rows[i] = i < size ? data[i] : static_cast<std::uint8_t>(i);
    }
    const PictureRecord picture(width, height, rows);
    auto stored = library.storePicture(picture);
    if (n >= PictureLibrary::kMaxPictures) {
        return 0;
    }
    check(stored.ok());
    auto back = library.readPicture(*stored);
    check(back.ok() && *back == picture);
    const auto afterStore = *library.countPictures();
    check(afterStore == n || afterStore == n + 1);

    quillon::RecordingPrompter prompter;
    auto removedAt = std::uint32_t{0xFFFFFFFF};
    auto selection = library.deletePicture(
        *stored, {}, [&](std::uint32_t i) { removedAt = i; }, prompter);
    check(selection.ok() && removedAt == *stored && prompter.empty());
    check(*library.countPictures() == afterStore - 1);
    return 0;
}
