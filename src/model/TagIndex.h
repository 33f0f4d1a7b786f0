#pragma once

#include <cstddef>
#include <cstdint>
#include <iterator>
#include <memory>
#include <string_view>
#include <vector>

namespace quillon {

class Tag;

// The application's tag list: owns every tag and keeps them by node number, then address text
// (byte-wise), a new tag after those with the same address.
//
// Files hold up to 65 535 tags, added in any order. A balanced tree spends most of such an insertion
// on cache misses, one per level; here the tags lie in short sorted runs ("chunks") found through a
// small index of the runs' last keys, so an insertion touches a few contiguous kilobytes whatever the
// size of the list. Each entry carries the node number and the first address bytes so that comparisons
// rarely visit the tag itself.
class TagIndex final {
    // Sixteen bytes per tag: the node number and the first seven address bytes packed so that integer
    // order is tag order, and the tag, which the index owns. Plain bytes, so that making room in a chunk
    // is one block move.
    struct Entry {
        std::uint64_t key = 0;
        Tag* tag = nullptr;
    };
    using Chunk = std::vector<Entry>;

public:
    class Iterator {
    public:
        using iterator_category = std::forward_iterator_tag;
        using value_type = Tag;
        using difference_type = std::ptrdiff_t;
        using pointer = Tag*;
        using reference = Tag&;

        Iterator() = default;
        Tag& operator*() const noexcept { return *(*chunks_)[chunk_][entry_].tag; }
        Tag* operator->() const noexcept { return (*chunks_)[chunk_][entry_].tag; }
        Iterator& operator++() noexcept {
            if (++entry_ == (*chunks_)[chunk_].size()) {
                ++chunk_;
                entry_ = 0;
            }
            return *this;
        }
        Iterator operator++(int) noexcept {
            Iterator old = *this;
            ++*this;
            return old;
        }
        friend bool operator==(const Iterator& a, const Iterator& b) noexcept {
            return a.chunk_ == b.chunk_ && a.entry_ == b.entry_;
        }

    private:
        friend class TagIndex;
        Iterator(const std::vector<Chunk>* chunks, std::size_t chunk, std::size_t entry)
            : chunks_(chunks), chunk_(chunk), entry_(entry) {}
        const std::vector<Chunk>* chunks_ = nullptr;
        std::size_t chunk_ = 0;
        std::size_t entry_ = 0;
    };

    TagIndex() = default;
    TagIndex(const TagIndex&) = delete;
    TagIndex& operator=(const TagIndex&) = delete;
    ~TagIndex();

    std::size_t size() const noexcept { return size_; }
    bool empty() const noexcept { return size_ == 0; }
    Iterator begin() const noexcept { return {&chunks_, 0, 0}; }
    Iterator end() const noexcept { return {&chunks_, chunks_.size(), 0}; }

    // Takes the tag in; its node number and address must not change while it is held.
    Tag& insert(std::unique_ptr<Tag> tag);
    // Hands the tag back; nullptr when it is not held.
    std::unique_ptr<Tag> remove(const Tag& tag);
    // The first tag with this node number and address (the others follow it); end() when there is none.
    Iterator find(std::uint8_t node, std::string_view address) const;
    void clear() noexcept;

private:
    // A tag's key names the tag, whose address is read only when node and prefix are equal; a probe's
    // key carries its address.
    struct Key {
        std::uint64_t packed = 0;
        const Tag* tag = nullptr;
        std::string_view address;
    };
    static std::uint64_t pack(std::uint8_t node, std::string_view address) noexcept;
    static std::string_view addressOf(const Key& key) noexcept;
    static Key keyOf(const Entry& e) noexcept;
    static int compare(const Key& a, const Key& b) noexcept;
    // The last tag of a chunk, for finding the chunk of a key.
    struct Last {
        std::uint64_t packed = 0;
        const Tag* tag = nullptr;
    };
    static int compare(const Last& last, const Key& key) noexcept;
    // Index of the first chunk whose last key is greater (upper) or not less (lower) than key.
    std::size_t chunkFor(const Key& key, bool upper) const noexcept;
    void refreshLast(std::size_t chunk);

    std::vector<Chunk> chunks_;
    std::vector<Last> lasts_; // last tag of each chunk
    std::size_t size_ = 0;
};

} // namespace quillon
