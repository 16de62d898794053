#pragma once
// The compact binary form in which the store keeps a person's multi-values: one blob per
// person, so that loading fifty thousand persons reads fifty thousand rows, not a quarter
// of a million. Reading is bounded by the blob's length and rejects anything malformed, so a
// damaged file costs the damaged values, never a crash.
//
// Layout: a format byte, then per multi-value its property identifier, type code, next
// entry identifier and entry count, and per entry its identifier, label and value. Numbers
// are unsigned LEB128; signed ones zig-zag encoded first; reals are IEEE 754 little-endian.

#include "platform/contactstore/MultiValue.h"
#include "platform/contactstore/Constants.h"

#include <functional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace contactstore {

class StoredValueCodec {
public:
    static constexpr unsigned char kFormat = 1;

    // Every multi-value among the values; empty when there is none.
    static std::string encode(const std::vector<std::pair<PropertyID, Value>>& values);
    // Appends the multi-values of a blob; false (and nothing appended) when it is malformed.
    // Whether decode would take the blob, found without decoding it.
    static bool isWellFormed(std::string_view blob);
    // Whether a well-formed blob holds the multi-value with at least one entry, found
    // without decoding it.
    static bool holdsEntries(std::string_view blob, PropertyID property);

private:
    static bool walk(std::string_view blob, const std::function<void(PropertyID, std::uint64_t entries)>& each);

public:
    [[nodiscard]] static bool decode(std::string_view blob, std::vector<std::pair<PropertyID, Value>>& values);
};

} // namespace contactstore
