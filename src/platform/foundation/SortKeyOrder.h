#pragma once
// Items put in order by collation keys made beforehand, or by ranks made from such keys.
// A key's first eight bytes are read as one big-endian number: most comparisons of two keys
// are decided by comparing the numbers, and only keys that agree there compare their bytes.

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace foundation {

struct SortKeyOrder {
    std::uint64_t head { 0 };
    const std::string* key { nullptr };
    std::size_t index { 0 };

    SortKeyOrder(const std::string& text, std::size_t position)
        : key(&text)
        , index(position)
    {
        for (std::size_t i = 0; i < 8; ++i)
            head = (head << 8) | (i < text.size() ? static_cast<unsigned char>(text[i]) : 0u);
    }

    bool sameKey(const SortKeyOrder& other) const { return head == other.head && *key == *other.key; }

    // Equal keys keep the order of their indexes, so a sort needs no stability of its own.
    friend bool operator<(const SortKeyOrder& a, const SortKeyOrder& b)
    {
        if (a.head != b.head)
            return a.head < b.head;
        if (int order = a.key->compare(*b.key))
            return order < 0;
        return a.index < b.index;
    }
};

// The indexes of the ranks (each below rankLimit) in the order of the ranks; equal ranks
// keep their indexes' order. Many ranks are counted into place, a few are sorted.
inline std::vector<std::uint32_t> orderOfRanks(const std::vector<std::uint32_t>& ranks, std::size_t rankLimit)
{
    std::vector<std::uint32_t> order(ranks.size());
    if (ranks.size() * 16 >= rankLimit) {
        std::vector<std::uint32_t> starts(rankLimit + 1, 0);
        for (std::uint32_t rank : ranks)
            ++starts[rank + 1];
        for (std::size_t rank = 1; rank < starts.size(); ++rank)
            starts[rank] += starts[rank - 1];
        for (std::size_t index = 0; index < ranks.size(); ++index)
            order[starts[ranks[index]]++] = static_cast<std::uint32_t>(index);
        return order;
    }
    std::vector<std::uint64_t> keyed(ranks.size());
    for (std::size_t index = 0; index < ranks.size(); ++index)
        keyed[index] = (static_cast<std::uint64_t>(ranks[index]) << 32) | index;
    std::sort(keyed.begin(), keyed.end());
    for (std::size_t index = 0; index < keyed.size(); ++index)
        order[index] = static_cast<std::uint32_t>(keyed[index]);
    return order;
}

} // namespace foundation
