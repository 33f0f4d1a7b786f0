#pragma once

#include "compare/ApplicationRecords.h"
#include "model/Application.h"
#include "model/Prompter.h"
#include "model/Result.h"

#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <string>

namespace quillon {

class PictureLibrary;
class PlcCatalogFiles;

// What opening a file for a comparison needs: the catalogs that rebuild the nodes, the prompter of the
// readers' messages and the answer to a password question (none: a protected file is refused).
struct CompareContext {
    PlcCatalogFiles& catalogs;
    Prompter& prompter;
    std::function<std::optional<std::string>()> password;
};

// One side of a comparison: an application file (.ovm) or its text form (JSON, told by its first character),
// opened as the tool opens it, with its records. The pictures it holds go to a picture library of its own in
// a scratch folder, so that comparing never adds a picture to the user's library; the folder is removed with
// the object.
class ComparedApplication final {
public:
    static Result<std::unique_ptr<ComparedApplication>> open(const std::filesystem::path& file,
                                                             const CompareContext& context);
    ~ComparedApplication();
    ComparedApplication(const ComparedApplication&) = delete;
    ComparedApplication& operator=(const ComparedApplication&) = delete;

    const std::filesystem::path& file() const noexcept { return file_; }
    const Application& application() const noexcept { return *application_; }
    const ApplicationRecords& records() const noexcept { return records_; }
    // The pictures of the application, for drawing its screens.
    const PictureLibrary& pictures() const noexcept { return *pictures_; }

private:
    ComparedApplication() = default;

    std::filesystem::path file_;
    std::filesystem::path scratch_;
    std::unique_ptr<PictureLibrary> pictures_;
    std::unique_ptr<Application> application_;
    ApplicationRecords records_;
};

} // namespace quillon
