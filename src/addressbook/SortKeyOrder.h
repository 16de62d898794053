#pragma once
// Items put in order by collation keys made beforehand. A key's first eight bytes are read
// as one big-endian number: most comparisons of two keys are decided by comparing the
// numbers, and only keys that agree there compare their bytes.

#include <cstddef>
#include <cstdint>
#include <string>

namespace tessaro {

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

} // namespace tessaro
