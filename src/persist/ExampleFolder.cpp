#include "persist/ExampleFolder.h"

#include "persist/AtomicFileWriter.h"

#include <algorithm>
#include <cstdint>
#include <fstream>
#include <iterator>
#include <system_error>

namespace quillon {

namespace fs = std::filesystem;

std::optional<ExampleFolder> ExampleFolder::find(const std::vector<fs::path>& candidates) {
    for (const fs::path& candidate : candidates) {
        ExampleFolder folder(candidate);
        if (!folder.names().empty()) {
            return folder;
        }
    }
    return std::nullopt;
}

std::vector<std::string> ExampleFolder::names() const {
    std::vector<std::string> found;
    std::error_code ec;
    for (fs::directory_iterator it(folder_, ec), end; !ec && it != end; it.increment(ec)) {
        const fs::path& file = it->path();
        std::error_code typeError;
        if (file.extension() == kExtension && it->is_regular_file(typeError) && !file.stem().empty() &&
            file.stem().string().front() != '.') {
            found.push_back(file.stem().string());
        }
    }
    std::sort(found.begin(), found.end());
    return found;
}

std::optional<fs::path> ExampleFolder::fileOf(std::string_view name) const {
    const std::vector<std::string> all = names();
    if (std::find(all.begin(), all.end(), name) == all.end()) {
        return std::nullopt;
    }
    return folder_ / (std::string(name) + std::string(kExtension));
}

std::string ExampleFolder::nameList() const {
    std::string list;
    for (const std::string& name : names()) {
        list += (list.empty() ? "" : ", ") + name;
    }
    return list;
}

Status ExampleFolder::copyTo(std::string_view name, const fs::path& target) const {
    const auto source = fileOf(name);
    if (!source) {
        const std::string list = nameList();
        return Status::fail("There is no example \"" + std::string(name) + "\"; the examples are " +
                            (list.empty() ? std::string("none") : list) + ".");
    }
    std::error_code ec;
    if (fs::is_directory(target, ec)) {
        return Status::fail(target.string() + " is a folder; name the application file to write.");
    }
    if (fs::exists(target, ec) && fs::equivalent(target, *source, ec)) {
        return Status::fail(target.string() +
                            " is the shipped example itself; write the copy to a file of your own.");
    }
    std::ifstream in(*source, std::ios::binary);
    std::vector<std::uint8_t> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (!in.good() && !in.eof()) {
        return Status::fail("Can not read the example " + source->string() + ".");
    }
    if (bytes.empty()) {
        return Status::fail("The example " + source->string() + " is empty.");
    }
    return AtomicFileWriter::writeFile(target, bytes);
}

} // namespace quillon
