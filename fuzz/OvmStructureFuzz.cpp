// Application images mutated record by record. The seeds are whole applications (the reader's kept corpus,
// written from the test applications of every model); the mutator below walks an image's sections as the
// reader does (header, settings, nodes, blocks, tags, screen records) and changes one thing at a time: a
// count, a length, a tag's type, size, bit or byte selection, the extension offset, or a whole tag record
// added or taken away with every count and length above it kept in step. Mutants so pass the header and
// length checks and reach the deep records, which blind byte flips seldom do.
//
// Whatever the bytes, the reader must fail with a report or give an application that satisfies the
// model's invariants, writes again, and from the first rewrite on reads and writes to the same bytes.
#include "model/Application.h"
#include "persist/ApplicationReader.h"
#include "persist/ApplicationWriter.h"
#include "persist/AtomicFileWriter.h"
#include "persist/OvmLayout.h"
#include "persist/PictureLibrary.h"
#include "support/OvmFuzzSupport.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <functional>
#include <random>
#include <vector>

#ifdef QUILLON_LIBFUZZER
namespace {

using quillon::OvmLayout;

// Places of the header (file offsets).
constexpr std::size_t kApplicationSize = 0;
constexpr std::size_t kNodeCount = 6;
constexpr std::size_t kTagCount = 8;
constexpr std::size_t kScreenCount = 10;
constexpr std::size_t kNetworkBytes = 20;
constexpr std::size_t kTagBytes = 24;
constexpr std::size_t kGlobalKeyBytes = 32;
constexpr std::size_t kPowerOnBytes = 38;
constexpr std::size_t kGlobalTaskBytes = 40;
constexpr std::size_t kGlobalReadListBytes = 44;
constexpr std::size_t kNetworkStart = OvmLayout::kHeaderBytes + OvmLayout::kSettingsBytes;

struct Field {
    std::size_t offset = 0;
    std::size_t width = 1; // 1, 2 or 4 bytes, little-endian
};

// A tag record and the fields that count or measure it.
struct TagRecord {
    std::size_t begin = 0; // the length byte
    std::size_t end = 0;
    std::size_t blockLength = 0; // u16 of its block
    std::size_t blockTagCount = 0;
    std::size_t nodeLength = 0; // u32 of its node
};

struct Walk {
    std::vector<Field> fields;
    std::vector<TagRecord> tags;
};

std::uint32_t get(const std::uint8_t* data, std::size_t size, Field f) {
    std::uint32_t v = 0;
    for (std::size_t i = 0; i < f.width && f.offset + i < size; ++i) {
        v |= static_cast<std::uint32_t>(data[f.offset + i]) << (8 * i);
    }
    return v;
}

void put(std::uint8_t* data, std::size_t size, Field f, std::uint32_t v) {
    for (std::size_t i = 0; i < f.width && f.offset + i < size; ++i) {
        data[f.offset + i] = static_cast<std::uint8_t>(v >> (8 * i));
    }
}

// The image's records as the reader meets them, as far as the bytes allow.
Walk walk(const std::uint8_t* data, std::size_t size) {
    Walk w;
    if (size < kNetworkStart) {
        return w;
    }
    const auto add = [&](std::size_t offset, std::size_t width) {
        if (offset + width <= size) {
            w.fields.push_back({offset, width});
        }
    };
    // size, model, the eight record counts, four u32 byte totals, five u16 byte totals, picture bytes
    for (auto [offset, width] : std::initializer_list<std::pair<std::size_t, std::size_t>>{{0, 4},
                                                                                           {4, 2},
                                                                                           {6, 2},
                                                                                           {8, 2},
                                                                                           {10, 2},
                                                                                           {12, 2},
                                                                                           {14, 2},
                                                                                           {16, 2},
                                                                                           {18, 2},
                                                                                           {20, 4},
                                                                                           {24, 4},
                                                                                           {28, 4},
                                                                                           {32, 4},
                                                                                           {36, 2},
                                                                                           {38, 2},
                                                                                           {40, 2},
                                                                                           {42, 2},
                                                                                           {44, 2},
                                                                                           {46, 4}}) {
        add(offset, width);
    }
    add(OvmLayout::kExtensionPatchOffset, 4);
    std::size_t at = kNetworkStart;
    const std::uint32_t nodes = get(data, size, {kNodeCount, 2});
    for (std::uint32_t n = 0; n < nodes && at + OvmLayout::kNodeRecordBytes <= size; ++n) {
        const std::size_t nodeLength = at;
        add(at, 4);
        for (std::size_t i = 4; i < 12; ++i) {
            add(at + i, 1);
        }
        add(at + 12, 2);
        const std::uint32_t blocks = get(data, size, {at + 12, 2});
        at += OvmLayout::kNodeRecordBytes;
        for (std::uint32_t b = 0; b < blocks && at + 3 <= size; ++b) {
            const std::size_t blockLength = at;
            add(at, 2);
            add(at + 2, 1);
            const std::size_t addressLength = data[at + 2];
            const std::size_t counts = at + 3 + addressLength;
            if (counts + 3 > size) {
                return w;
            }
            add(counts, 1);
            add(counts + 1, 1);
            add(counts + 2, 1);
            const std::size_t tagCount = data[counts + 1];
            at = counts + 3;
            for (std::size_t t = 0; t < tagCount && at < size; ++t) {
                const std::size_t length = data[at];
                if (at + 1 + length > size) {
                    return w;
                }
                add(at, 1);
                for (std::size_t i = 0; i < 6 && i < length; ++i) {
                    add(at + 1 + i, 1);
                }
                w.tags.push_back({at, at + 1 + length, blockLength, counts + 1, nodeLength});
                at += 1 + length;
            }
        }
    }
    // The screens follow the read list, the application's task lists and the global keys.
    std::size_t screen = at;
    for (std::size_t f : {kGlobalReadListBytes, kPowerOnBytes, kGlobalTaskBytes}) {
        screen += get(data, size, {f, 2});
    }
    screen += get(data, size, {kGlobalKeyBytes, 4});
    const std::uint32_t screens = get(data, size, {kScreenCount, 2});
    for (std::uint32_t s = 0; s < screens && screen + OvmLayout::kScreenRecordBytes <= size; ++s) {
        // entry length, number, password, object count, type, key count, task counts, object and key bytes,
        // task bytes, read-list bytes, associated count
        for (auto [offset, width] : std::initializer_list<std::pair<std::size_t, std::size_t>>{{0, 4},
                                                                                               {4, 2},
                                                                                               {6, 2},
                                                                                               {8, 1},
                                                                                               {9, 1},
                                                                                               {10, 2},
                                                                                               {12, 2},
                                                                                               {14, 2},
                                                                                               {16, 2},
                                                                                               {18, 4},
                                                                                               {22, 4},
                                                                                               {26, 2},
                                                                                               {28, 2},
                                                                                               {30, 2},
                                                                                               {33, 2},
                                                                                               {35, 1}}) {
            add(screen + offset, width);
        }
        const std::uint32_t length = get(data, size, {screen, 4});
        if (length < OvmLayout::kScreenRecordBytes) {
            break;
        }
        screen += length;
    }
    return w;
}

// Adds `delta` to the field, wrapping as the field's width does.
void adjust(std::vector<std::uint8_t>& image, Field f, std::int64_t delta) {
    put(image.data(), image.size(), f,
        static_cast<std::uint32_t>(get(image.data(), image.size(), f) + delta));
}

// Keeps every count and length above a tag record in step with a record of `bytes` bytes added (+) or
// taken away (-), and the extension offset when the section lies behind it.
void fixUp(std::vector<std::uint8_t>& image, const TagRecord& tag, int sign, std::size_t bytes) {
    const auto delta = static_cast<std::int64_t>(sign) * static_cast<std::int64_t>(bytes);
    adjust(image, {tag.blockTagCount, 1}, sign);
    adjust(image, {tag.blockLength, 2}, delta);
    adjust(image, {tag.nodeLength, 4}, delta);
    adjust(image, {kTagCount, 2}, sign);
    adjust(image, {kNetworkBytes, 4}, delta);
    adjust(image, {kTagBytes, 4}, delta);
    adjust(image, {kApplicationSize, 4}, delta);
    const Field extension{OvmLayout::kExtensionPatchOffset, 4};
    if (const std::uint32_t e = get(image.data(), image.size(), extension); e > tag.begin) {
        adjust(image, extension, delta);
    }
}

std::uint32_t interesting(std::mt19937& rng, std::uint32_t old, std::size_t width) {
    const std::uint32_t top = width >= 4 ? 0xFFFFFFFFU : (1U << (8 * width)) - 1;
    switch (rng() % 8) {
    case 0:
        return old + 1;
    case 1:
        return old - 1;
    case 2:
        return 0;
    case 3:
        return top;
    case 4:
        return top / 2 + 1;
    case 5:
        return width == 1 ? 255U : 256U;
    case 6:
        return old + (rng() % 64) - 32;
    default:
        return static_cast<std::uint32_t>(rng()) & top;
    }
}

std::size_t mutate(std::uint8_t* data, std::size_t size, std::size_t maxSize, unsigned int seed);

} // namespace

// The mutator exists only in the libFuzzer build; the corpus replay of the ordinary test run needs none.
extern "C" std::size_t LLVMFuzzerMutate(std::uint8_t* data, std::size_t size, std::size_t maxSize);

extern "C" std::size_t LLVMFuzzerCustomMutator(std::uint8_t* data, std::size_t size, std::size_t maxSize,
                                               unsigned int seed) {
    return mutate(data, size, maxSize, seed);
}

namespace {

std::size_t mutate(std::uint8_t* data, std::size_t size, std::size_t maxSize, unsigned int seed) {
    std::mt19937 rng(seed);
    const Walk w = walk(data, size);
    const unsigned choice = rng() % 16;
    if (w.fields.empty() || choice == 0) {
        return LLVMFuzzerMutate(data, size, maxSize);
    }
    if (choice <= 7) { // one count, length, code or offset
        const Field f = w.fields[rng() % w.fields.size()];
        put(data, size, f, interesting(rng, get(data, size, f), f.width));
        return size;
    }
    if (w.tags.empty()) {
        return size;
    }
    const TagRecord tag = w.tags[rng() % w.tags.size()];
    std::vector<std::uint8_t> image(data, data + size);
    const std::size_t bytes = tag.end - tag.begin;
    if (choice <= 10) { // a field of a tag record: type, read/write, bit, size, byte selection
        static constexpr std::uint8_t kValues[] = {'0', '1', '2', '3', '4', 0, 1, 2, 3, 4, 7, 8, 15, 16, 255};
        const std::size_t field = 1 + 1 + rng() % 5;
        if (tag.begin + field < tag.end) {
            data[tag.begin + field] = kValues[rng() % sizeof(kValues)];
        }
        return size;
    }
    if (choice <= 12) { // the record once more, right after itself
        if (size + bytes > maxSize) {
            return size;
        }
        image.insert(image.begin() + static_cast<std::ptrdiff_t>(tag.end), data + tag.begin, data + tag.end);
        fixUp(image, tag, +1, bytes);
    } else if (choice <= 14) { // the record taken away
        image.erase(image.begin() + static_cast<std::ptrdiff_t>(tag.begin),
                    image.begin() + static_cast<std::ptrdiff_t>(tag.end));
        fixUp(image, tag, -1, bytes);
    } else { // the address of the record changed in its last character or its length
        const std::size_t last = tag.end - 1;
        if (last > tag.begin + 6) {
            image[last] = static_cast<std::uint8_t>(image[last] + (rng() % 2 == 0 ? 1 : -1));
        }
        return std::copy(image.begin(), image.end(), data) - data;
    }
    std::memcpy(data, image.data(), image.size());
    return image.size();
}

} // namespace
#endif

namespace {

quillon::FileSystemCalls withoutSync() {
    auto calls = quillon::FileSystemCalls::system();
    calls.fsync = [](int) { return 0; };
    return calls;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace quillon;
    SilentPrompter prompter;
    PlcCatalogFiles& catalogs = fuzz::sharedCatalogs();
    PictureLibrary pictures(fuzz::scratchFolder(), withoutSync());
    std::error_code ec;
    std::filesystem::remove(pictures.libraryPath(), ec);

    fuzz::PasswordOnce seedPassword(fuzz::kSeedPassword);
    auto app = ApplicationReader::read(
        {data, size}, ReadContext{catalogs, prompter, &pictures, std::ref(seedPassword), std::nullopt});
    if (!app) {
        return 0;
    }
    fuzz::check(static_cast<bool>((*app)->checkConsistency()));

    // Writing puts every screen's data-entry objects first, so the first rewrite of a damaged image may
    // order its objects differently; from then on reading and writing give the same bytes.
    const WriteContext writeContext{catalogs, prompter, &pictures, std::nullopt};
    auto first = ApplicationWriter::write(**app, writeContext);
    if (!first) {
        return 0;
    }
    std::vector<std::uint8_t> previous = std::move(*first);
    const std::string password = (*app)->password();
    for (int generation = 0; generation < 2; ++generation) {
        fuzz::PasswordOnce known(password);
        auto again = ApplicationReader::read(
            previous, ReadContext{catalogs, prompter, &pictures, std::ref(known), std::nullopt});
        fuzz::check(again.ok());
        fuzz::check(static_cast<bool>((*again)->checkConsistency()));
        auto next = ApplicationWriter::write(**again, writeContext);
        fuzz::check(next.ok());
        if (generation == 1) {
            fuzz::check(*next == previous);
        }
        previous = std::move(*next);
    }
    return 0;
}
