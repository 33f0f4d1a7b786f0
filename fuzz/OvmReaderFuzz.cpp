// Feeds arbitrary bytes to the application reader as an application file. Whatever the bytes, the reader
// must fail with a report or give an application; an application it gives must satisfy the model's
// invariants, draw every screen at every zoom within bounded work, write again, and read back to the same
// bytes.
//
// The reader rebuilds nodes from the shipped PLC catalogs: QUILLON_PLC_DIR names them, else the data/plc
// folder beside this file's folder.
#include "model/Application.h"
#include "model/DrawingSurface.h"
#include "model/PictureSource.h"
#include "model/Prompter.h"
#include "model/Screen.h"
#include "model/ScreenDrawing.h"
#include "persist/ApplicationReader.h"
#include "persist/ApplicationWriter.h"
#include "persist/AtomicFileWriter.h"
#include "persist/PictureLibrary.h"
#include "plc/PlcCatalogFiles.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <unistd.h>
#include <vector>

namespace {

void check(bool condition) {
    if (!condition) {
        __builtin_trap();
    }
}

std::filesystem::path shippedCatalogs() {
    if (const char* dir = std::getenv("QUILLON_PLC_DIR")) {
        return dir;
    }
    return std::filesystem::path(__FILE__).parent_path().parent_path() / "data" / "plc";
}

const std::filesystem::path& pictureFolder();

// The shipped catalogs and a PLC of id 29 (whose drivers pack the tags they read) made from the first,
// in both PLC lists.
const std::filesystem::path& catalogFolder() {
    static const std::filesystem::path path = [] {
        auto p = pictureFolder() / "plc";
        std::filesystem::create_directories(p);
        for (const auto& e : std::filesystem::directory_iterator(shippedCatalogs())) {
            std::filesystem::copy_file(e.path(), p / e.path().filename(),
                                       std::filesystem::copy_options::overwrite_existing);
        }
        std::filesystem::copy_file(shippedCatalogs() / "0001_001.plc", p / "0029_001.plc",
                                   std::filesystem::copy_options::overwrite_existing);
        // Nodes are rebuilt only for PLCs of the selected list.
        for (const char* list : {"orvk_all.PLC", "orvk_sel.PLC"}) {
            std::ofstream(p / list, std::ios::app) << "Packed Modbus|29|\n";
        }
        return p;
    }();
    return path;
}

const std::filesystem::path& pictureFolder() {
    static const std::filesystem::path path = [] {
        auto p = std::filesystem::temp_directory_path() / ("quillon-fuzz-ovm-" + std::to_string(::getpid()));
        std::filesystem::create_directories(p);
        std::atexit([] {
            std::error_code ec;
            std::filesystem::remove_all(pictureFolder(), ec);
        });
        return p;
    }();
    return path;
}

// Counts what a drawing asks for; a screen of at most 255 objects has bounded work whatever its records say.
class CountingSurface final : public quillon::DrawingSurface {
public:
    std::uint64_t calls = 0;

    void setPen(std::optional<quillon::Colour>, std::int32_t) override { ++calls; }
    void setBrush(std::optional<quillon::Colour>) override { ++calls; }
    void setPatternBrush(const quillon::BrushPattern&) override { ++calls; }
    void setRasterOp(quillon::RasterOp) override { ++calls; }
    void rectangle(const quillon::SurfaceRect&) override { ++calls; }
    void ellipse(const quillon::SurfaceRect&) override { ++calls; }
    void roundRectangle(const quillon::SurfaceRect&, std::int32_t, std::int32_t) override { ++calls; }
    void polyline(std::span<const quillon::SurfacePoint> points) override { calls += 1 + points.size(); }
    void polygon(std::span<const quillon::SurfacePoint> points) override { calls += 1 + points.size(); }
    void line(quillon::SurfacePoint, quillon::SurfacePoint) override { ++calls; }
    void setPixel(quillon::SurfacePoint, quillon::Colour) override { ++calls; }
    void fillRectangle(const quillon::SurfaceRect&, quillon::Colour) override { ++calls; }
    bool selectFont(std::string_view, std::int32_t, std::int32_t) override {
        ++calls;
        return true;
    }
    void setTextColours(quillon::Colour, quillon::Colour) override { ++calls; }
    void text(quillon::SurfacePoint, std::string_view characters) override { calls += 1 + characters.size(); }
};

// Every picture a 9 x 3 pattern, so bitmaps draw whatever their ids.
class FixedPictures final : public quillon::PictureSource {
public:
    quillon::Result<quillon::PictureBits> picture(std::uint32_t id) const override {
        if (id % 7 == 6) {
            return quillon::Failure{"Can not open pictures' library.", 0};
        }
        return quillon::PictureBits{9, 3, std::vector<std::uint8_t>(6, 0xA5)};
    }
};

void drawEveryScreen(const quillon::Application& app) {
    const FixedPictures pictures;
    for (const auto& screen : app.screens()) {
        for (const std::int32_t zoom : {10, 20, 30}) {
            CountingSurface surface;
            quillon::DrawParameters parameters;
            parameters.zoom = zoom;
            parameters.displayClass = quillon::modelClass(app.modelId());
            parameters.pictures = &pictures;
            parameters.active = zoom != 20;
            quillon::ScreenGridOptions grid;
            grid.dotGrid = true;
            grid.touchGrid = true;
            static_cast<void>(quillon::drawScreen(surface, app, *screen, parameters, grid));
            // The screen's own cells, pixels and grids bound the work: 960 x 720 window pixels at most.
            check(surface.calls < 50'000'000);
        }
    }
}

quillon::FileSystemCalls withoutSync() {
    auto calls = quillon::FileSystemCalls::system();
    calls.fsync = [](int) { return 0; };
    return calls;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    quillon::SilentPrompter prompter;
    quillon::PlcCatalogFiles catalogs(catalogFolder(), prompter);
    quillon::PictureLibrary pictures(pictureFolder(), withoutSync());
    std::error_code ec;
    std::filesystem::remove(pictures.libraryPath(), ec);

    // One wrong answer, then the password every seed corpus file uses; images written again are opened with
    // the password they were written with.
    int asked = 0;
    std::string known;
    quillon::ReadContext context{catalogs, prompter, &pictures,
                                 [&]() -> std::optional<std::string> {
                                     ++asked;
                                     if (!known.empty()) {
                                         return asked == 1 ? std::optional<std::string>(known) : std::nullopt;
                                     }
                                     if (asked == 1) {
                                         return std::string("wrong");
                                     }
                                     if (asked == 2) {
                                         return std::string("Fz9");
                                     }
                                     return std::nullopt;
                                 },
                                 std::nullopt};
    auto app = quillon::ApplicationReader::read({data, size}, context);
    if (!app) {
        return 0;
    }
    check(static_cast<bool>((*app)->checkConsistency()));
    drawEveryScreen(**app);

    // Writing puts every screen's data-entry objects first (preparation does the same to the document), so
    // the image written from a damaged file may order its objects differently from that file; from the
    // first rewrite on, reading and writing must give the same bytes.
    const quillon::WriteContext writeContext{catalogs, prompter, &pictures, std::nullopt};
    auto first = quillon::ApplicationWriter::write(**app, writeContext);
    if (!first) {
        return 0;
    }
    std::vector<std::uint8_t> previous = std::move(*first);
    known = (*app)->password();
    for (int generation = 0; generation < 2; ++generation) {
        asked = 0;
        auto again = quillon::ApplicationReader::read(previous, context);
        check(again.ok());
        check(static_cast<bool>((*again)->checkConsistency()));
        auto next = quillon::ApplicationWriter::write(**again, writeContext);
        check(next.ok());
        if (generation == 1) {
            check(*next == previous);
        }
        previous = std::move(*next);
    }
    return 0;
}
