// The tag database editor on the largest application: 65 535 tags. Opening the editor must cost no more
// than three readings of the application file, and the filter must answer within 50 ms.
#include "define/DefineHooks.h"
#include "define/TagEditorDialog.h"
#include "define/TagTableModel.h"
#include "model/Application.h"
#include "model/NewApplication.h"
#include "model/Prompter.h"
#include "persist/ApplicationReader.h"
#include "persist/ApplicationWriter.h"
#include "plc/PlcCatalogFiles.h"

#include <benchmark/benchmark.h>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <string>

#include <QApplication>
#include <QScrollBar>
#include <QTableView>

namespace {

using namespace quillon;

constexpr std::size_t kTags = 65535;

QApplication& qtApplication() {
    static int argc = 1;
    static char name[] = "quillon_gui_bench";
    static char* argv[] = {name, nullptr};
    static QApplication* app = [] {
        qputenv("QT_QPA_PLATFORM", "offscreen");
        return new QApplication(argc, argv);
    }();
    return *app;
}

// A VQ5K-822 application with one Modbus node (extended addressing) holding 65 535 holding-register
// tags in blocks of 125, written once to a file.
struct LargeApplication {
    LargeApplication() {
        folder = std::filesystem::temp_directory_path() / "quillon-tag-editor-bench";
        std::filesystem::create_directories(folder);
        file = folder / "tags.ovm";
        catalogs = std::make_unique<PlcCatalogFiles>(
            std::filesystem::path(QUILLON_SOURCE_DIR) / "data" / "plc", prompter);
        auto app = newApplication(500, prompter);
        auto node = std::make_unique<Node>(NodeKind::Plc, 1);
        node->name = "Modbus";
        node->plcId = 1;
        node->plcName = "Modbus RTU Master";
        node->modelIndex = 2;
        node->modelCode = '6';
        node->plcFile = "..\\plc\\0001_001.plc";
        node->modelNames = {"Standard addressing 0xxxx-4xxxx", "Extended addressing 0xxxxx-4xxxxx"};
        Node* n = *app->addNode(std::move(node));
        Block* block = nullptr;
        char address[16];
        char name[16];
        for (std::size_t i = 0; i < kTags; ++i) {
            std::snprintf(address, sizeof address, "4%05zu", i + 1);
            if (i % 125 == 0) {
                auto b = std::make_unique<Block>(address, 125);
                b->prefix = "4";
                b->name = "Block";
                b->attribute = 2;
                block = *app->addBlock(*n, std::move(b));
            }
            std::snprintf(name, sizeof name, "T%05zu", i + 1);
            TagValues v;
            v.address = address;
            v.type = tag_type::kRegister;
            v.size = 2;
            v.readWrite = '2';
            v.name = name;
            (void)app->addTag(*block, v);
        }
        const WriteContext write{*catalogs, prompter, nullptr, std::nullopt};
        if (!ApplicationWriter::save(*app, file, write)) {
            std::fprintf(stderr, "the large application could not be written\n");
        }
    }
    ~LargeApplication() {
        std::error_code ec;
        std::filesystem::remove_all(folder, ec);
    }

    std::unique_ptr<Application> read() {
        ReadContext context{*catalogs, prompter, nullptr, [] { return std::optional<std::string>(); },
                            std::nullopt};
        auto opened = ApplicationReader::open(file, context);
        return opened ? std::move(*opened) : nullptr;
    }

    SilentPrompter prompter;
    std::unique_ptr<PlcCatalogFiles> catalogs;
    std::filesystem::path folder;
    std::filesystem::path file;
};

LargeApplication& large() {
    static LargeApplication application;
    return application;
}

void BM_ReadApplicationOf65535Tags(benchmark::State& state) {
    LargeApplication& l = large();
    for (auto _ : state) {
        auto app = l.read();
        benchmark::DoNotOptimize(app);
        state.PauseTiming();
        app.reset();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_ReadApplicationOf65535Tags)->Unit(benchmark::kMillisecond);

// The dialog built, shown and laid out, then scrolled to the last tag.
void BM_OpenTagEditorOn65535Tags(benchmark::State& state) {
    qtApplication();
    LargeApplication& l = large();
    auto app = l.read();
    if (!app || app->tagCount() != kTags) {
        state.SkipWithError("the large application did not read back");
        return;
    }
    for (auto _ : state) {
        gui::TagEditorDialog dialog(nullptr, *app, *l.catalogs, l.prompter, gui::DefineHooks{});
        dialog.show();
        QApplication::processEvents();
        dialog.table()->verticalScrollBar()->setValue(dialog.table()->verticalScrollBar()->maximum());
        QApplication::processEvents();
        benchmark::DoNotOptimize(dialog.model()->rowCount());
    }
}
BENCHMARK(BM_OpenTagEditorOn65535Tags)->Unit(benchmark::kMillisecond);

// One keystroke in the filter box: the table shows the matching tags.
void BM_FilterTagsOf65535(benchmark::State& state) {
    qtApplication();
    LargeApplication& l = large();
    auto app = l.read();
    if (!app) {
        state.SkipWithError("the large application did not read back");
        return;
    }
    gui::TagTableModel model(*app);
    const QString filters[] = {"t6", "t65", "t655", "400", ""};
    std::size_t i = 0;
    for (auto _ : state) {
        model.setFilter(filters[i++ % 5]);
        benchmark::DoNotOptimize(model.rowCount());
    }
}
BENCHMARK(BM_FilterTagsOf65535)->Unit(benchmark::kMillisecond);

} // namespace
