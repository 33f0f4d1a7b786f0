#pragma once

#include "model/Result.h"

#include <cstddef>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace quillon {

class Application;
class PlcCatalogFiles;

// What an import did.
struct TagImportReport {
    std::size_t added = 0;
    std::size_t renamed = 0;
    std::size_t unchanged = 0;
};

// Tag lists as comma-separated text (RFC 4180, UTF-8, lines ended by CR LF): a header row
// "node,kind,address,bit,bytes,byte,name" and one row per tag in tag order. kind is "register", "coil"
// (a coil of a bit area) or "bit" (a bit inside a register); address is written without the bit, which
// has its own column; bytes is the byte count of a register (1, 2, 4 or 8) and byte its "low" or "high"
// part when it is smaller than its register.
//
// An import puts every row through the checks of the tag editor (node, area, address, bit, byte count,
// name, duplicates, block creation and growth). The first refused row ends it with "line N: " and the
// editor's message, and the application is left exactly as it was. Without merge a row whose tag exists
// already is refused; with merge such a row keeps the tag and gives it the row's name (a row that asks that
// tag for another byte count is refused). Names are UTF-8 text of 1 to 40 characters without control
// characters.
class TagCsv final {
public:
    static constexpr std::string_view kHeader = "node,kind,address,bit,bytes,byte,name";

    static std::string exportText(const Application& application);
    static Result<TagImportReport> importText(Application& application, PlcCatalogFiles& catalogs,
                                              std::string_view text, bool merge);

    // The records of a CSV text: each with the line it starts on (1-based). A quote left open is a
    // failure naming its line.
    struct Record {
        std::size_t line = 0;
        std::vector<std::string> fields;
    };
    static Result<std::vector<Record>> parse(std::string_view text);
    static std::string quote(std::string_view field);

    // The records one at a time, as parse() finds them.
    class Reader final {
    public:
        explicit Reader(std::string_view text);
        // The next record into record: true, false at the end, or the failure of a quote left open.
        Result<bool> next(Record& record);

    private:
        std::string_view text_;
        std::size_t at_ = 0;
        std::size_t line_ = 1;
    };

    // The whole of a tag list file, of any size the machine can hold; nothing when it cannot be read.
    static std::optional<std::string> readFile(const std::filesystem::path& path);
};

} // namespace quillon
