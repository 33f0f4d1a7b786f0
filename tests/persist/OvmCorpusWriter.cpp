// Writes a seed corpus for the reader's fuzz target: images made by the writer for every panel model, and
// small images with one object of each kind. Runs only when QUILLON_WRITE_OVM_CORPUS names the folder.
#include "OvmRichApplication.h"

#include <cstdlib>
#include <gtest/gtest.h>

namespace quillon::test {
namespace {

TEST(OvmCorpus, WriteSeedCorpus) {
    const char* target = std::getenv("QUILLON_WRITE_OVM_CORPUS");
    if (target == nullptr) {
        GTEST_SKIP() << "set QUILLON_WRITE_OVM_CORPUS to write the corpus";
    }
    const std::filesystem::path folder(target);
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
