#include "compare/ComparedApplication.h"

#include "persist/ApplicationReader.h"
#include "persist/PictureLibrary.h"
#include "persist/TextFormReader.h"

#include <cstdlib>
#include <fstream>
#include <iterator>
#include <unistd.h>

namespace quillon {
namespace {

// A new empty folder under the system's temporary folder.
Result<std::filesystem::path> makeScratchFolder() {
    std::error_code ec;
    const std::filesystem::path base = std::filesystem::temp_directory_path(ec);
    if (ec) {
        return Result<std::filesystem::path>::fail("No temporary folder for the comparison: " + ec.message());
    }
    std::string pattern = (base / "quillon-compare-XXXXXX").string();
    if (::mkdtemp(pattern.data()) == nullptr) {
        return Result<std::filesystem::path>::fail("Can not make a temporary folder in " + base.string() +
                                                   ".");
    }
    return std::filesystem::path(pattern);
}

// Whether the file is a text form: its first character other than white space opens a JSON object.
Result<bool> isTextForm(const std::filesystem::path& file) {
    std::ifstream in(file, std::ios::binary);
    if (!in) {
        return Result<bool>::fail("Can not open " + file.string() + ".");
    }
    char c = 0;
    while (in.get(c)) {
        if (c != ' ' && c != '\t' && c != '\r' && c != '\n') {
            return c == '{';
        }
    }
    return Result<bool>::fail(file.string() + " is empty.");
}

Result<std::string> readWhole(const std::filesystem::path& file) {
    std::error_code ec;
    const auto size = std::filesystem::file_size(file, ec);
    if (ec) {
        return Result<std::string>::fail("Can not open " + file.string() + ".");
    }
    if (size > TextFormReader::kMaxTextBytes) {
        return Result<std::string>::fail(file.string() + " is larger than any application.");
    }
    std::ifstream in(file, std::ios::binary);
    std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (in.bad()) {
        return Result<std::string>::fail("Can not read " + file.string() + ".");
    }
    return text;
}

} // namespace

ComparedApplication::~ComparedApplication() {
    pictures_.reset();
    if (!scratch_.empty()) {
        std::error_code ec;
        std::filesystem::remove_all(scratch_, ec);
    }
}

Result<std::unique_ptr<ComparedApplication>> ComparedApplication::open(const std::filesystem::path& file,
                                                                       const CompareContext& context) {
    using Opened = Result<std::unique_ptr<ComparedApplication>>;
    const auto textForm = isTextForm(file);
    if (!textForm) {
        return textForm.failure();
    }
    auto scratch = makeScratchFolder();
    if (!scratch) {
        return scratch.failure();
    }
    std::unique_ptr<ComparedApplication> side(new ComparedApplication());
    side->file_ = file;
    side->scratch_ = *scratch;
    side->pictures_ = std::make_unique<PictureLibrary>(*scratch);
    if (*textForm) {
        auto text = readWhole(file);
        if (!text) {
            return text.failure();
        }
        auto read = TextFormReader::read(
            *text, TextFormContext{context.catalogs, context.prompter, side->pictures_.get()});
        if (!read) {
            return Opened::fail(file.string() + ": " + read.message());
        }
        side->application_ = std::move(*read);
    } else {
        const ReadContext read{context.catalogs, context.prompter, side->pictures_.get(), context.password,
                               std::nullopt};
        auto opened = ApplicationReader::open(file, read);
        if (!opened) {
            return Opened::fail(opened.message().empty() ? "Can not load " + file.string()
                                                         : opened.message());
        }
        side->application_ = std::move(*opened);
    }
    auto records = ApplicationRecords::collect(*side->application_, side->pictures_.get());
    if (!records) {
        return Opened::fail(file.string() + ": " + records.message());
    }
    side->records_ = std::move(*records);
    return side;
}

} // namespace quillon
