// How long the picture library takes for what the tool does on every save and every dialog refresh:
// counting, summing the used pictures and writing their data, on libraries of growing size.
#include "persist/PictureLibrary.h"

#include <benchmark/benchmark.h>
#include <filesystem>
#include <fstream>
#include <string>
#include <unistd.h>

namespace {

using quillon::PictureLibrary;

// A library of `count` pictures of 128 × 64 pixels (1024 bytes each), every tenth one used.
class LibraryFolder {
public:
    explicit LibraryFolder(std::uint32_t count)
        : path_(std::filesystem::temp_directory_path() /
                ("quillon-bench-library-" + std::to_string(::getpid()) + "-" + std::to_string(count))) {
        std::filesystem::create_directories(path_);
        std::ofstream out(path_ / PictureLibrary::kLibraryName, std::ios::binary);
        std::vector<char> record(7 + 1024 + 1, 0x5A);
        record[0] = static_cast<char>((1024 + 4) & 0xFF);
        record[1] = static_cast<char>((1024 + 4) >> 8);
        record[3] = static_cast<char>(128);
        record[4] = 0;
        record[5] = static_cast<char>(64);
        record[6] = 0;
        for (std::uint32_t i = 0; i < count; ++i) {
            record[2] = static_cast<char>(i % 10 == 0 ? 1 : 0);
            record[7] = static_cast<char>(i);
            out.write(record.data(), static_cast<std::streamsize>(record.size()));
        }
    }
    ~LibraryFolder() {
        std::error_code ec;
        std::filesystem::remove_all(path_, ec);
    }
    const std::filesystem::path& path() const { return path_; }

private:
    std::filesystem::path path_;
};

void BM_CountPictures(benchmark::State& state) {
    const LibraryFolder folder(static_cast<std::uint32_t>(state.range(0)));
    const PictureLibrary library(folder.path());
    for (auto _ : state) {
        benchmark::DoNotOptimize(library.countPictures());
    }
}
BENCHMARK(BM_CountPictures)->Arg(100)->Arg(2000)->Arg(65535)->Unit(benchmark::kMillisecond);

void BM_WriteUsedPictures(benchmark::State& state) {
    const LibraryFolder folder(static_cast<std::uint32_t>(state.range(0)));
    const PictureLibrary library(folder.path());
    for (auto _ : state) {
        std::size_t bytes = 0;
        (void)library.writeUsedPictures([&bytes](std::span<const std::uint8_t> data) {
            bytes += data.size();
            return quillon::Status::success();
        });
        benchmark::DoNotOptimize(bytes);
    }
}
BENCHMARK(BM_WriteUsedPictures)->Arg(100)->Arg(2000)->Unit(benchmark::kMillisecond);

} // namespace
