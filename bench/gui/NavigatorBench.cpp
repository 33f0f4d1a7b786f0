// The project navigator on the largest application: 65 535 tags and 255 screens. Filling in the tree must
// take at most twice as long as opening the tag database on the same application, and a search over the
// whole application must answer within 50 ms.
//
// Measured on the 2-core development machine under load (CPU time): see the figures in the branch's report
// and compare BM_NavigatorFillsIn with BM_TagDatabaseOpens.
#include "define/DefineHooks.h"
#include "define/TagEditorDialog.h"
#include "define/TagTableModel.h"
#include "edit/shell/ProjectSearch.h"
#include "edit/shell/ProjectTree.h"
#include "model/Application.h"
#include "model/NewApplication.h"
#include "model/Prompter.h"
#include "model/Screen.h"
#include "model/TextObject.h"
#include "persist/ApplicationReader.h"
#include "persist/ApplicationWriter.h"
#include "plc/PlcCatalogFiles.h"
#include "shell/NavigatorDock.h"

#include <benchmark/benchmark.h>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <string>

#include <QApplication>
#include <QScrollBar>
#include <QTableView>
#include <QTreeView>

namespace {

using namespace quillon;

constexpr std::size_t kTags = 65535;
constexpr std::uint32_t kScreens = 255;
constexpr int kTextsPerScreen = 8;

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

// A VQ5K-822 application with one Modbus node holding 65 535 named holding-register tags in blocks of
// 125, and 255 screens of eight static texts each, written once to a file and read back as File > Open
// reads it.
struct NavigatorApplication {
    NavigatorApplication() {
        folder = std::filesystem::temp_directory_path() / "quillon-navigator-bench";
        std::filesystem::create_directories(folder);
        file = folder / "navigator.ovm";
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
        char name[32];
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
        for (std::uint32_t s = 1; s <= kScreens; ++s) {
            Screen* screen = *app->addScreen(std::make_unique<Screen>(s));
            screen->name = "Screen" + std::to_string(s);
            for (int t = 0; t < kTextsPerScreen; ++t) {
                auto text = std::make_unique<TextObject>();
                std::snprintf(name, sizeof name, "Line %d of screen %u", t + 1, s);
                static_cast<void>(text->setText(name));
                text->top = t * 8;
                text->bottom = t * 8 + 7;
                text->right = 119;
                static_cast<void>(screen->appendObject(std::move(text)));
            }
        }
        const WriteContext write{*catalogs, prompter, nullptr, std::nullopt};
        if (!ApplicationWriter::save(*app, file, write)) {
            std::fprintf(stderr, "the navigator's application could not be written\n");
        }
        ReadContext context{*catalogs, prompter, nullptr, [] { return std::optional<std::string>(); },
                            std::nullopt};
        auto opened = ApplicationReader::open(file, context);
        if (opened) {
            application = std::move(*opened);
        }
    }
    ~NavigatorApplication() {
        std::error_code ec;
        std::filesystem::remove_all(folder, ec);
    }
    bool complete() const {
        return application && application->tagCount() == kTags && application->screenCount() == kScreens;
    }

    SilentPrompter prompter;
    std::unique_ptr<PlcCatalogFiles> catalogs;
    std::filesystem::path folder;
    std::filesystem::path file;
    std::unique_ptr<Application> application;
};

NavigatorApplication& navigatorApplication() {
    static NavigatorApplication application;
    return application;
}

// What the navigator is measured against: the tag database built, shown and laid out, then scrolled to
// the last tag.
void BM_TagDatabaseOpens(benchmark::State& state) {
    qtApplication();
    NavigatorApplication& l = navigatorApplication();
    if (!l.complete()) {
        state.SkipWithError("the application did not read back");
        return;
    }
    for (auto _ : state) {
        gui::TagEditorDialog dialog(nullptr, *l.application, *l.catalogs, l.prompter, gui::DefineHooks{});
        dialog.show();
        QApplication::processEvents();
        dialog.table()->verticalScrollBar()->setValue(dialog.table()->verticalScrollBar()->maximum());
        QApplication::processEvents();
        benchmark::DoNotOptimize(dialog.model()->rowCount());
    }
}
BENCHMARK(BM_TagDatabaseOpens)->Unit(benchmark::kMillisecond);

// The navigator shown, told that the application changed: the tree is built again from the records, put
// into the view and laid out, with the network's branches down to the last block expanded.
void BM_NavigatorFillsIn(benchmark::State& state) {
    qtApplication();
    NavigatorApplication& l = navigatorApplication();
    if (!l.complete()) {
        state.SkipWithError("the application did not read back");
        return;
    }
    gui::NavigatorHost host;
    host.application = [&l] { return l.application.get(); };
    gui::NavigatorDock dock(host, nullptr);
    dock.resize(320, 900);
    dock.show();
    QApplication::processEvents();
    const QString lastBlock =
        QString("Network/Modbus/%1")
            .arg(QString::fromStdString(l.application->nodes().back()->blocks().back()->address()));
    for (auto _ : state) {
        dock.applicationChanged();
        dock.rebuildIfStale();
        const QModelIndex index = dock.model()->indexOf(dock.find(lastBlock));
        dock.tree()->expand(index.parent());
        dock.tree()->expand(index);
        dock.tree()->scrollTo(index);
        QApplication::processEvents();
        benchmark::DoNotOptimize(dock.model()->rowCount());
    }
    state.counters["items"] = static_cast<double>(ProjectTree::itemCount(dock.model()->root()));
}
BENCHMARK(BM_NavigatorFillsIn)->Unit(benchmark::kMillisecond);

// The core's part of filling in alone: the tree built from the records.
void BM_ProjectTreeBuild(benchmark::State& state) {
    NavigatorApplication& l = navigatorApplication();
    if (!l.complete()) {
        state.SkipWithError("the application did not read back");
        return;
    }
    for (auto _ : state) {
        ProjectItem root = ProjectTree::build(*l.application);
        benchmark::DoNotOptimize(root.children.size());
    }
}
BENCHMARK(BM_ProjectTreeBuild)->Unit(benchmark::kMillisecond);

// One search over the whole application: a tag name found once, a text on every screen (stopped at the
// hit limit), a text found nowhere (every record looked at), a screen number.
void BM_NavigatorSearch(benchmark::State& state) {
    NavigatorApplication& l = navigatorApplication();
    if (!l.complete()) {
        state.SkipWithError("the application did not read back");
        return;
    }
    const char* texts[] = {"T65535", "line 8 of", "nowhere at all", "200"};
    const char* text = texts[state.range(0)];
    state.SetLabel(text);
    for (auto _ : state) {
        auto result = ProjectSearch::run(*l.application, text);
        benchmark::DoNotOptimize(result.hits.size());
    }
}
BENCHMARK(BM_NavigatorSearch)->DenseRange(0, 3)->Unit(benchmark::kMillisecond);

} // namespace
