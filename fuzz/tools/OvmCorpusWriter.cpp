// Writes a seed corpus for the reader's fuzz target into the folder given on the command line: images
// made by the writer for every panel model, and small images with one object of each kind.
//
//   build/ovm_corpus_writer fuzz/corpus/OvmReaderFuzz
//
// The rich images are protected with the password "Fz9" and use the test PLC 29, which the fuzz target
// and the scripts add to their copies of the catalogs.
#include "OvmRichApplication.h"

#include <cstdio>
#include <exception>

namespace quillon::test {
namespace {

void writeCorpus(const std::filesystem::path& folder) {
    std::filesystem::create_directories(folder);
    const std::vector<std::uint16_t> models{10, 12, 15, 20, 30, 40, 41, 42, 480, 500, 510, 520};
    for (std::uint16_t model : models) {
        OvmFixture f;
        auto app = Application::create(model, f.prompter);
        addRichContent(f, *app, f.network(*app));
        TempFolder::writeBytes(folder / ("rich_" + std::to_string(model) + ".ovm"), f.prepareAndWrite(*app));
    }
    for (std::uint8_t kind : {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16, 17, 21}) {
        OvmFixture f;
        auto app = Application::create(510, f.prompter);
        const auto n = f.network(*app);
        Screen& screen = *must(app->addScreen(std::make_unique<Screen>(1)));
        auto object = ScreenObject::create(kind);
        object->right = 15;
        object->bottom = 7;
        ScreenObject& o = *must(screen.appendObject(std::move(object)));
        if (kind == 0) {
            const std::vector<std::uint8_t> rows(16, 0x81);
            static_cast<BitmapObject&>(o).setPictureId(*f.library().storePicture(PictureRecord(16, 8, rows)));
        } else if (o.hasMainTag()) {
            o.setTag(kind == 2 ? n.coil : n.word);
        }
        o.setShowHide(RangeAnimation{n.unitWord, 0, 1, 2, 0});
        TempFolder::writeBytes(folder / ("kind_" + std::to_string(kind) + ".ovm"), f.prepareAndWrite(*app));
    }
    OvmFixture f;
    auto empty = Application::create(15, f.prompter);
    must(empty->addNode(Node::createUnitNode()));
    TempFolder::writeBytes(folder / "empty_15.ovm", f.prepareAndWrite(*empty));
}

} // namespace
} // namespace quillon::test

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s FOLDER\nWrites starting inputs for fuzzing the application reader.\n",
                     argv[0]);
        return 2;
    }
    try {
        quillon::test::writeCorpus(argv[1]);
    } catch (const std::exception& e) {
        std::fprintf(stderr, "%s: %s\n", argv[0], e.what());
        return 1;
    }
    return 0;
}
