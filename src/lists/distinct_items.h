#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace lists {

// The items of one group, each kept once. Two items are the same when their
// lower-case forms are equal (the simple case mapping of each byte's
// Windows-1252 character); the form added first is the one kept.
//
// A database of many gigabytes repeats the same words millions of times, so
// memory follows the number of distinct items only: their bytes sit one after
// the other in large blocks, and an open-addressing table of small entries
// finds them again.
class DistinctItems {
public:
    DistinctItems() = default;
    DistinctItems(const DistinctItems&) = delete;
    DistinctItems& operator=(const DistinctItems&) = delete;

    // True when the item was added, false when an equal one was there.
    bool add(std::string_view item);

    // Lets go of every item and the memory they held.
    void clear();

    std::size_t size() const { return entries_.size(); }
    // The memory the items take: their blocks, the entries and the table.
    std::size_t bytesHeld() const {
        return blockBytes_ + entries_.capacity() * sizeof(Entry) +
               slots_.capacity() * sizeof(std::uint32_t);
    }
    // The bytes of the items themselves.
    std::size_t itemBytes() const { return itemBytes_; }
    // The items in the order they were added.
    std::string_view item(std::size_t index) const {
        return {entries_[index].data, entries_[index].length};
    }

private:
    struct Entry {
        const char* data;
        std::size_t length;
        std::uint64_t hash;
    };

    const char* store(std::string_view item);
    bool equalsLowered(const Entry& entry) const;
    void growTable();

    std::vector<std::unique_ptr<char[]>> blocks_;
    std::size_t blockFree_ = 0;
    std::size_t blockBytes_ = 0;
    std::size_t itemBytes_ = 0;
    char* blockNext_ = nullptr;
    std::vector<Entry> entries_;
    std::vector<std::uint32_t> slots_; // entry index + 1; 0 is a free slot
    std::string lowered_;              // the lower-case form of the item being added
};

// Compares the lower-case forms of two items as texts, character by character
// of the ANSI view (<0, 0, >0).
int compareLowerCaseForms(std::string_view a, std::string_view b);

} // namespace lists
