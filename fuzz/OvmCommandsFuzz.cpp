// Puts every image the application reader accepts through what the command-line tool does with it next:
// the checks of `check`, the byte map of `dump` (which must agree with the reader that the image is
// whole), the text form of `export` and its import, the report's layout, a few scans of `simulate` and
// `tags export`. None of them may end the program, and the text form must read back to itself.
//
// The reader rebuilds nodes from the shipped PLC catalogs: QUILLON_PLC_DIR names them, else the data/plc
// folder beside this file's folder.
#include "ImageDump.h"
#include "edit/define/NodeAreas.h"
#include "edit/define/TagCsv.h"
#include "model/Application.h"
#include "model/ApplicationRules.h"
#include "model/RecordingPrompter.h"
#include "persist/ApplicationReader.h"
#include "persist/AtomicFileWriter.h"
#include "persist/PictureLibrary.h"
#include "persist/TextFormReader.h"
#include "persist/TextFormWriter.h"
#include "report/PrintSelection.h"
#include "report/ReportLayout.h"
#include "sim/Simulator.h"
#include "support/OvmFuzzSupport.h"

#include <cstddef>
#include <cstdint>
#include <sstream>
#include <string>

namespace {

using quillon::fuzz::check;

quillon::FileSystemCalls withoutSync() {
    auto calls = quillon::FileSystemCalls::system();
    calls.fsync = [](int) { return 0; };
    return calls;
}

// What `check` runs besides the reader: the editors' rules, the consistency of the model, the memory check.
void checks(quillon::Application& app) {
    static_cast<void>(quillon::ApplicationRules::problems(app));
    static_cast<void>(app.checkConsistency());
    quillon::RecordingPrompter quiet;
    static_cast<void>(app.checkCapacity(quiet));
}

// The map must walk to the end of every image the reader takes: the two judge the bytes alike.
void dump(std::span<const std::uint8_t> image, const quillon::Application& app) {
    std::ostringstream out;
    std::string problem;
    quillon::cli::ImageDump::Options options;
    options.raw = true;
    options.application = &app;
    check(quillon::cli::ImageDump::write(image, out, problem, options));
}

// The text form is written without fail; what the import takes of it settles after one round.
void textForm(const quillon::Application& app, quillon::PictureLibrary& pictures) {
    auto text = quillon::TextFormWriter::write(app, &pictures);
    check(text.ok());
    quillon::RecordingPrompter quiet;
    auto imported = quillon::TextFormReader::read(
        *text, quillon::TextFormContext{quillon::fuzz::sharedCatalogs(), quiet, &pictures});
    if (!imported) {
        return;
    }
    auto again = quillon::TextFormWriter::write(**imported, &pictures);
    check(again.ok());
    // The import keeps a register bit's address in its one stored form (without the suffix an older file may
    // repeat), so the text can change once; what it gives then reads back and writes the same text.
    auto reread = quillon::TextFormReader::read(
        *again, quillon::TextFormContext{quillon::fuzz::sharedCatalogs(), quiet, &pictures});
    check(reread.ok());
    auto third = quillon::TextFormWriter::write(**reread, &pictures);
    check(third.ok());
    check(*third == *again);
}

// Every section of the report on a page of A4 at 300 dots an inch.
void report(const quillon::Application& app) {
    auto selection = quillon::PrintSelection::fromNames("", app.modelId());
    if (!selection) {
        return;
    }
    const quillon::ReportLayout layout(quillon::PageMetrics{50, 25, 2400, 3300});
    static_cast<void>(layout.build(app, *selection));
}

// Power-on and a few scans, keys and taps, as the first steps of a scenario would.
void simulate(const quillon::Application& app) {
    quillon::Simulator::Options options;
    options.scanMs = 10;
    quillon::Simulator simulator(
        app,
        [](const quillon::Node& node) {
            return quillon::NodeAreas::load(quillon::fuzz::sharedCatalogs(), node);
        },
        options);
    simulator.powerOn();
    for (const std::uint8_t key : {1, 2, 5}) {
        simulator.pressKey(key);
        simulator.scan();
        simulator.releaseKey(key);
    }
    static_cast<void>(simulator.touchDown(10, 10));
    simulator.scan();
    simulator.touchUp();
    simulator.advance(250);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    quillon::SilentPrompter prompter;
    quillon::PictureLibrary pictures(quillon::fuzz::scratchFolder(), withoutSync());
    std::error_code ec;
    std::filesystem::remove(pictures.libraryPath(), ec);
    quillon::fuzz::PasswordOnce password(quillon::fuzz::kSeedPassword);
    const quillon::ReadContext context{quillon::fuzz::sharedCatalogs(), prompter, &pictures,
                                       [&password] { return password(); }, std::nullopt};
    const std::span<const std::uint8_t> image(data, size);
    auto app = quillon::ApplicationReader::read(image, context);
    if (!app) {
        return 0;
    }
    checks(**app);
    dump(image, **app);
    textForm(**app, pictures);
    report(**app);
    static_cast<void>(quillon::TagCsv::exportText(**app));
    simulate(**app);
    return 0;
}
