#include "model/TagIndex.h"

#include "model/Tag.h"

namespace quillon {

namespace {
// A chunk splits when it reaches this size; the halves stay within two kilobytes.
constexpr std::size_t kChunkLimit = 128;
} // namespace

TagIndex::~TagIndex() {
    clear();
}

std::uint64_t TagIndex::pack(std::uint8_t node, std::string_view address) noexcept {
    std::uint64_t key = node;
    for (std::size_t i = 0; i < 7; ++i) {
        key <<= 8;
        if (i < address.size()) {
            key |= static_cast<unsigned char>(address[i]);
        }
    }
    return key;
}

TagIndex::Key TagIndex::keyOf(const Entry& e) noexcept {
    return {e.key, e.tag, {}};
}

std::string_view TagIndex::addressOf(const Key& key) noexcept {
    return key.tag != nullptr ? std::string_view(key.tag->address()) : key.address;
}

int TagIndex::compare(const Key& a, const Key& b) noexcept {
    if (a.packed != b.packed) {
        return a.packed < b.packed ? -1 : 1;
    }
    // Same node and first seven bytes (zero padding included): the whole texts decide, byte by byte.
    const int c = addressOf(a).compare(addressOf(b));
    return c < 0 ? -1 : (c > 0 ? 1 : 0);
}

int TagIndex::compare(const Last& last, const Key& key) noexcept {
    if (last.packed != key.packed) {
        return last.packed < key.packed ? -1 : 1;
    }
    return compare(Key{last.packed, last.tag, {}}, key);
}

std::size_t TagIndex::chunkFor(const Key& key, bool upper) const noexcept {
    std::size_t low = 0;
    std::size_t high = lasts_.size();
    while (low < high) {
        const std::size_t mid = low + (high - low) / 2;
        const int c = compare(lasts_[mid], key);
        if (c > 0 || (!upper && c == 0)) {
            high = mid;
        } else {
            low = mid + 1;
        }
    }
    return low;
}

void TagIndex::refreshLast(std::size_t chunk) {
    lasts_[chunk] = {chunks_[chunk].back().key, chunks_[chunk].back().tag};
}

Tag& TagIndex::insert(std::unique_ptr<Tag> tag) {
    const Entry entry{pack(tag->nodeNumber(), tag->address()), tag.get()};
    const Key key = keyOf(entry);
    if (chunks_.empty()) {
        chunks_.emplace_back();
        chunks_.back().reserve(kChunkLimit);
        lasts_.push_back({key.packed, key.tag});
    }
    std::size_t c = chunkFor(key, true);
    if (c == chunks_.size()) {
        --c; // greater than every tag held: it goes to the end of the last chunk
    }
    Chunk& chunk = chunks_[c];
    std::size_t low = 0;
    std::size_t high = chunk.size();
    while (low < high) { // after the tags with an equal key
        const std::size_t mid = low + (high - low) / 2;
        if (compare(keyOf(chunk[mid]), key) > 0) {
            high = mid;
        } else {
            low = mid + 1;
        }
    }
    // A chunk holds fewer than kChunkLimit entries in room reserved for kChunkLimit: the insertion does not
    // allocate, and the index owns the tag from here on.
    chunk.insert(chunk.begin() + static_cast<std::ptrdiff_t>(low), entry);
    Tag& added = *tag.release();
    ++size_;
    if (chunk.size() >= kChunkLimit) {
        Chunk upperHalf;
        upperHalf.reserve(kChunkLimit);
        const auto half = chunk.begin() + static_cast<std::ptrdiff_t>(chunk.size() / 2);
        std::move(half, chunk.end(), std::back_inserter(upperHalf));
        chunk.erase(half, chunk.end());
        chunks_.insert(chunks_.begin() + static_cast<std::ptrdiff_t>(c) + 1, std::move(upperHalf));
        lasts_.insert(lasts_.begin() + static_cast<std::ptrdiff_t>(c) + 1, Last{});
        refreshLast(c + 1);
    }
    refreshLast(c);
    return added;
}

std::unique_ptr<Tag> TagIndex::remove(const Tag& tag) {
    const Key key{pack(tag.nodeNumber(), tag.address()), &tag, {}};
    for (std::size_t c = chunkFor(key, false); c < chunks_.size(); ++c) {
        Chunk& chunk = chunks_[c];
        for (std::size_t i = 0; i < chunk.size(); ++i) {
            if (chunk[i].tag == &tag) {
                std::unique_ptr<Tag> out(chunk[i].tag);
                chunk.erase(chunk.begin() + static_cast<std::ptrdiff_t>(i));
                --size_;
                if (chunk.empty()) {
                    chunks_.erase(chunks_.begin() + static_cast<std::ptrdiff_t>(c));
                    lasts_.erase(lasts_.begin() + static_cast<std::ptrdiff_t>(c));
                } else {
                    refreshLast(c);
                }
                return out;
            }
            if (compare(keyOf(chunk[i]), key) > 0) {
                return nullptr;
            }
        }
    }
    return nullptr;
}

TagIndex::Iterator TagIndex::find(std::uint8_t node, std::string_view address) const {
    const Key key{pack(node, address), nullptr, address};
    const std::size_t c = chunkFor(key, false);
    if (c == chunks_.size()) {
        return end();
    }
    const Chunk& chunk = chunks_[c];
    for (std::size_t i = 0; i < chunk.size(); ++i) {
        const int cmp = compare(keyOf(chunk[i]), key);
        if (cmp == 0) {
            return {&chunks_, c, i};
        }
        if (cmp > 0) {
            break;
        }
    }
    return end();
}

void TagIndex::clear() noexcept {
    for (const Chunk& chunk : chunks_) {
        for (const Entry& e : chunk) {
            delete e.tag;
        }
    }
    chunks_.clear();
    lasts_.clear();
    size_ = 0;
}

} // namespace quillon
