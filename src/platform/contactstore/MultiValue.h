#pragma once
// A multi-value: the ordered entries of one property such as a person's phone numbers. Each
// entry has a value of the multi-value's element type, an optional label (a label constant
// of Constants.h or the user's free text) and an identifier that stays with the entry while
// entries before it come and go. A copyable value: read it from a record, change the copy,
// write it back with Record::setValue.

#include "platform/contactstore/Values.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace contactstore {

using MultiValueIdentifier = std::int32_t;
inline constexpr MultiValueIdentifier kMultiValueInvalidIdentifier = -1;

struct MultiValueEntry {
    ScalarValue value;
    std::optional<std::string> label;
    MultiValueIdentifier identifier { kMultiValueInvalidIdentifier };

    friend bool operator==(const MultiValueEntry&, const MultiValueEntry&) = default;
};

class MultiValue {
public:
    // An empty multi-value of the given multi type (MultiString ... MultiDictionary).
    // A single-value type is taken as the multi type of that element.
    explicit MultiValue(PropertyType type = PropertyType::MultiString);

    PropertyType propertyType() const { return m_type; }
    std::size_t count() const { return m_entries.size(); }
    bool isEmpty() const { return m_entries.empty(); }
    const std::vector<MultiValueEntry>& entries() const { return m_entries; }

    // Reads by position; none when the index is out of range.
    std::optional<ScalarValue> copyValueAtIndex(std::size_t index) const;
    std::optional<std::string> copyLabelAtIndex(std::size_t index) const;
    MultiValueIdentifier identifierAtIndex(std::size_t index) const;
    std::optional<std::size_t> indexForIdentifier(MultiValueIdentifier identifier) const;
    std::vector<ScalarValue> copyArrayOfAllValues() const;

    // Text values of a multi string, in order; other element types are skipped.
    std::vector<std::string> copyArrayOfAllStrings() const;

    // Appends an entry. False (and nothing added) when the value is not of the element
    // type. An empty label is kept as no label.
    [[nodiscard]] bool addValueAndLabel(ScalarValue value, std::optional<std::string> label,
                                        MultiValueIdentifier* outIdentifier = nullptr);
    [[nodiscard]] bool insertValueAndLabelAtIndex(ScalarValue value, std::optional<std::string> label,
                                                  std::size_t index, MultiValueIdentifier* outIdentifier = nullptr);
    [[nodiscard]] bool replaceValueAtIndex(ScalarValue value, std::size_t index);
    [[nodiscard]] bool replaceLabelAtIndex(std::optional<std::string> label, std::size_t index);
    [[nodiscard]] bool removeValueAndLabelAtIndex(std::size_t index);

    // Rebuilds a stored multi-value with its identifiers as they were; entries of the wrong
    // element type are dropped. For the store's own loading.
    static MultiValue fromStoredEntries(PropertyType type, std::vector<MultiValueEntry> entries,
                                        MultiValueIdentifier nextIdentifier);
    MultiValueIdentifier nextIdentifier() const { return m_nextIdentifier; }

    friend bool operator==(const MultiValue&, const MultiValue&) = default;

private:
    bool accepts(const ScalarValue& value) const;

    PropertyType m_type { PropertyType::MultiString };
    std::vector<MultiValueEntry> m_entries;
    MultiValueIdentifier m_nextIdentifier { 0 };
};

// What a property holds: one element, or a multi-value.
using Value = std::variant<std::string, std::int64_t, double, Date, Dictionary, MultiValue>;

PropertyType typeOfValue(const Value& value);

} // namespace contactstore
