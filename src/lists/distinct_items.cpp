#include "distinct_items.h"

#include "textio/windows1252.h"

#include <algorithm>
#include <cstring>

namespace lists {
namespace {

constexpr std::size_t kBlockSize = 1 << 20;
constexpr std::size_t kFirstTableSize = 1 << 10;

std::uint64_t mixed(std::uint64_t h) {
    h ^= h >> 31;
    h *= 0x7FB5D329728EA185ull;
    h ^= h >> 27;
    h *= 0x81DADEF4BC2DD44Dull;
    h ^= h >> 33;
    return h;
}

// Eight bytes at a time; good enough to spread words over a power-of-two
// table, and several times faster than a byte-wise hash on long phrases.
std::uint64_t hashOf(std::string_view bytes) {
    std::uint64_t h = 0x9E3779B97F4A7C15ull ^ bytes.size();
    std::size_t i = 0;
    for (; i + 8 <= bytes.size(); i += 8) {
        std::uint64_t word;
        std::memcpy(&word, bytes.data() + i, 8);
        h = (h ^ word) * 0x9E3779B97F4A7C15ull;
        h ^= h >> 29;
    }
    std::uint64_t tail = 0;
    std::memcpy(&tail, bytes.data() + i, bytes.size() - i);
    return mixed(h ^ tail);
}

} // namespace

bool DistinctItems::add(std::string_view item) {
    const auto& lower = textio::windows1252LowerTable();
    lowered_.resize(item.size());
    for (std::size_t i = 0; i < item.size(); ++i)
        lowered_[i] = static_cast<char>(lower[static_cast<unsigned char>(item[i])]);
    const std::uint64_t hash = hashOf(lowered_);

    if ((entries_.size() + 1) * 2 > slots_.size())
        growTable();
    const std::size_t mask = slots_.size() - 1;
    for (std::size_t slot = hash & mask;; slot = (slot + 1) & mask) {
        const std::uint32_t taken = slots_[slot];
        if (taken == 0) {
            entries_.push_back({store(item), item.size(), hash});
            slots_[slot] = static_cast<std::uint32_t>(entries_.size());
            return true;
        }
        const Entry& entry = entries_[taken - 1];
        if (entry.hash == hash && entry.length == item.size() && equalsLowered(entry))
            return false;
    }
}

void DistinctItems::clear() {
    std::vector<std::unique_ptr<char[]>>().swap(blocks_);
    blockFree_ = 0;
    blockBytes_ = 0;
    itemBytes_ = 0;
    blockNext_ = nullptr;
    std::vector<Entry>().swap(entries_);
    std::vector<std::uint32_t>().swap(slots_);
}

bool DistinctItems::equalsLowered(const Entry& entry) const {
    const auto& lower = textio::windows1252LowerTable();
    for (std::size_t i = 0; i < entry.length; ++i) {
        if (static_cast<char>(lower[static_cast<unsigned char>(entry.data[i])]) != lowered_[i])
            return false;
    }
    return true;
}

const char* DistinctItems::store(std::string_view item) {
    if (item.size() > blockFree_) {
        const std::size_t size = std::max(kBlockSize, item.size());
        blocks_.push_back(std::make_unique<char[]>(size));
        blockBytes_ += size;
        blockNext_ = blocks_.back().get();
        blockFree_ = size;
    }
    char* at = blockNext_;
    std::memcpy(at, item.data(), item.size());
    blockNext_ += item.size();
    blockFree_ -= item.size();
    itemBytes_ += item.size();
    return at;
}

void DistinctItems::growTable() {
    std::vector<std::uint32_t> slots(std::max(kFirstTableSize, slots_.size() * 2), 0);
    const std::size_t mask = slots.size() - 1;
    for (std::size_t index = 0; index < entries_.size(); ++index) {
        std::size_t slot = entries_[index].hash & mask;
        while (slots[slot] != 0)
            slot = (slot + 1) & mask;
        slots[slot] = static_cast<std::uint32_t>(index + 1);
    }
    slots_.swap(slots);
}

int compareLowerCaseForms(std::string_view a, std::string_view b) {
    const auto& lower = textio::windows1252LowerTable();
    const std::size_t n = std::min(a.size(), b.size());
    for (std::size_t i = 0; i < n; ++i) {
        const char16_t ca = textio::windows1252Char(lower[static_cast<unsigned char>(a[i])]);
        const char16_t cb = textio::windows1252Char(lower[static_cast<unsigned char>(b[i])]);
        if (ca != cb)
            return ca < cb ? -1 : 1;
    }
    return a.size() == b.size() ? 0 : (a.size() < b.size() ? -1 : 1);
}

} // namespace lists
