#pragma once

#include "model/Application.h"
#include "model/NewApplication.h"
#include "model/RecordingPrompter.h"
#include "plc/PlcCatalogFiles.h"

#include <filesystem>
#include <fstream>
#include <memory>
#include <random>
#include <string>

namespace quillon::test {

// A working tree as the tool sees it at run time: the shipped catalogs in plc/ and drivers in drivers/
// of a fresh temporary folder, and a new application for a unit model.
class EditorFixture {
public:
    explicit EditorFixture(std::uint16_t modelId = 10, bool withDrivers = true) {
        std::random_device rd;
        root_ = std::filesystem::temp_directory_path() /
                ("quillon-editors-" + std::to_string(rd()) + "-" + std::to_string(rd()));
        const std::filesystem::path source(QUILLON_SOURCE_DIR);
        std::filesystem::create_directories(root_ / "drivers");
        std::filesystem::copy(source / "data" / "plc", root_ / "plc",
                              std::filesystem::copy_options::recursive);
        if (withDrivers) {
            std::filesystem::copy(source / "data" / "drivers", root_ / "drivers",
                                  std::filesystem::copy_options::recursive);
        }
        catalogs = std::make_unique<PlcCatalogFiles>(root_ / "plc", prompter);
        app = newApplication(modelId, prompter);
        prompter.clear();
    }
    EditorFixture(const EditorFixture&) = delete;
    EditorFixture& operator=(const EditorFixture&) = delete;
    ~EditorFixture() {
        std::error_code ec;
        std::filesystem::remove_all(root_, ec);
    }

    std::filesystem::path plcDir() const { return root_ / "plc"; }
    std::filesystem::path driversDir() const { return root_ / "drivers"; }
    void writeSelectedList(const std::string& text) const {
        std::ofstream(root_ / "plc" / "orvk_sel.PLC", std::ios::binary | std::ios::trunc) << text;
    }

    RecordingPrompter prompter;
    std::unique_ptr<PlcCatalogFiles> catalogs;
    std::unique_ptr<Application> app;

private:
    std::filesystem::path root_;
};

} // namespace quillon::test
