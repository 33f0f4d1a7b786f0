#include "ImageVerify.h"

#include "ImageDump.h"
#include "comm/ImageComparison.h"

#include <algorithm>
#include <cstdio>
#include <sstream>
#include <vector>

namespace quillon::cli {
namespace {

std::string trimmed(const std::string& s) {
    const auto first = s.find_first_not_of(' ');
    const auto last = s.find_last_not_of(' ');
    return first == std::string::npos ? std::string() : s.substr(first, last - first + 1);
}

} // namespace

std::string ImageVerify::locate(std::span<const std::uint8_t> image, std::size_t offset) {
    std::ostringstream map;
    std::string problem;
    ImageDump::write(image, map, problem, {}); // a map that stops early still locates what lies before
    // The map's lines: "OFFSET  == Section (n bytes)", "OFFSET  -- record" (indented by depth) and
    // "OFFSET  SIZE    field   value".
    std::string section;
    std::vector<std::pair<std::size_t, std::string>> records; // depth, name
    std::string field;
    std::istringstream lines(map.str());
    for (std::string line; std::getline(lines, line);) {
        if (line.size() < 10 || line[8] != ' ') {
            continue;
        }
        std::size_t at = 0;
        try {
            at = std::stoul(line.substr(0, 8), nullptr, 16);
        } catch (const std::exception&) {
            continue;
        }
        const std::string rest = line.substr(10);
        if (rest.rfind("== ", 0) == 0) {
            if (at > offset) {
                break;
            }
            section = rest.substr(3, rest.find(" (") == std::string::npos ? std::string::npos
                                                                          : rest.find(" (") - 3);
            records.clear();
            field.clear();
            continue;
        }
        const std::size_t indent = rest.find_first_not_of(' ');
        if (indent != std::string::npos && rest.compare(indent, 3, "-- ") == 0) {
            if (at > offset) {
                break;
            }
            while (!records.empty() && records.back().first >= indent) {
                records.pop_back();
            }
            records.emplace_back(indent, trimmed(rest.substr(indent + 3)));
            field.clear();
            continue;
        }
        // A field: its size in hexadecimal after the offset.
        std::size_t size = 0;
        try {
            size = std::stoul(rest.substr(0, 4), nullptr, 16);
        } catch (const std::exception&) {
            continue;
        }
        if (at > offset) {
            break;
        }
        if (offset < at + size) {
            const std::string name = trimmed(
                rest.substr(std::min<std::size_t>(8, rest.size()), std::min<std::size_t>(31, rest.size())));
            field = name.substr(0, name.find("  "));
            // A field too long for one row goes on in rows without a name.
            if (field.empty()) {
                field = "(data)";
            }
        }
    }
    if (section.empty()) {
        return {};
    }
    std::string where = section;
    for (const auto& [depth, name] : records) {
        where += " > " + name;
    }
    if (!field.empty()) {
        where += ", field " + field;
    }
    return where;
}

std::optional<std::string> ImageVerify::compare(std::span<const std::uint8_t> sent,
                                                std::span<const std::uint8_t> readBack) {
    const auto difference = ImageComparison::firstDifference(sent, readBack);
    if (!difference) {
        return std::nullopt;
    }
    std::string where = locate(sent, difference->offset);
    if (where.empty()) {
        where = ImageComparison::sectionAt(sent, difference->offset);
    }
    return ImageComparison::failureText(*difference, where);
}

} // namespace quillon::cli
