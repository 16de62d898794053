#pragma once
// The kinds of value a record property can hold, and the type codes that name them. The
// codes are the ones the handset's address book hands out (1 string ... 261 multi
// dictionary), so code above the store can reason about properties exactly as on the device.

#include <chrono>
#include <cstdint>
#include <map>
#include <string>
#include <variant>

namespace contactstore {

// A point in time with millisecond resolution, as the store keeps it on disk. Whole days
// (birthdays, anniversaries) are midnight UTC of that day.
using Date = std::chrono::sys_time<std::chrono::milliseconds>;

// A value made of named text parts: a postal address (kPersonAddress...Key) or an instant
// message account (kPersonInstantMessage...Key).
using Dictionary = std::map<std::string, std::string>;

// One element: what a single-valued property holds, or one entry of a multi-value.
using ScalarValue = std::variant<std::string, std::int64_t, double, Date, Dictionary>;

enum class PropertyType : std::uint32_t {
    Invalid = 0,
    String = 1,
    Integer = 2,
    Real = 3,
    Date = 4,
    Dictionary = 5,
    MultiString = 0x100 | 1,
    MultiInteger = 0x100 | 2,
    MultiReal = 0x100 | 3,
    MultiDate = 0x100 | 4,
    MultiDictionary = 0x100 | 5,
};

inline constexpr std::uint32_t kMultiValueMask = 0x100;

constexpr bool isMultiValueType(PropertyType type)
{
    return (static_cast<std::uint32_t>(type) & kMultiValueMask) != 0 && type != PropertyType::Invalid;
}

// The element type of a multi-value type; a single-value type is its own element type.
constexpr PropertyType elementType(PropertyType type)
{
    return static_cast<PropertyType>(static_cast<std::uint32_t>(type) & ~kMultiValueMask);
}

// The type code of an element as it is held.
PropertyType typeOfScalar(const ScalarValue& value);

} // namespace contactstore
