#include "platform/contactstore/MultiValue.h"

#include <algorithm>
#include <cstdint>
#include <type_traits>
#include <utility>

namespace contactstore {

PropertyType typeOfScalar(const ScalarValue& value)
{
    return std::visit([](const auto& held) {
        using T = std::decay_t<decltype(held)>;
        if constexpr (std::is_same_v<T, std::string>)
            return PropertyType::String;
        else if constexpr (std::is_same_v<T, std::int64_t>)
            return PropertyType::Integer;
        else if constexpr (std::is_same_v<T, double>)
            return PropertyType::Real;
        else if constexpr (std::is_same_v<T, Date>)
            return PropertyType::Date;
        else
            return PropertyType::Dictionary;
    }, value);
}

PropertyType typeOfValue(const Value& value)
{
    return std::visit([](const auto& held) {
        using T = std::decay_t<decltype(held)>;
        if constexpr (std::is_same_v<T, MultiValue>)
            return held.propertyType();
        else
            return typeOfScalar(ScalarValue(held));
    }, value);
}

namespace {

std::optional<std::string> normalizedLabel(std::optional<std::string> label)
{
    // An empty label and no label read the same everywhere, so keep only one form of it.
    if (label && label->empty())
        return std::nullopt;
    return label;
}

} // namespace

MultiValue::MultiValue(PropertyType type)
    : m_type(static_cast<PropertyType>(static_cast<std::uint32_t>(elementType(type)) | kMultiValueMask))
{
}

bool MultiValue::accepts(const ScalarValue& value) const
{
    return typeOfScalar(value) == elementType(m_type);
}

std::optional<ScalarValue> MultiValue::copyValueAtIndex(std::size_t index) const
{
    if (index >= m_entries.size())
        return std::nullopt;
    return m_entries[index].value;
}

std::optional<std::string> MultiValue::copyLabelAtIndex(std::size_t index) const
{
    if (index >= m_entries.size())
        return std::nullopt;
    return m_entries[index].label;
}

MultiValueIdentifier MultiValue::identifierAtIndex(std::size_t index) const
{
    if (index >= m_entries.size())
        return kMultiValueInvalidIdentifier;
    return m_entries[index].identifier;
}

std::optional<std::size_t> MultiValue::indexForIdentifier(MultiValueIdentifier identifier) const
{
    for (std::size_t index = 0; index < m_entries.size(); ++index) {
        if (m_entries[index].identifier == identifier)
            return index;
    }
    return std::nullopt;
}

std::vector<ScalarValue> MultiValue::copyArrayOfAllValues() const
{
    std::vector<ScalarValue> values;
    values.reserve(m_entries.size());
    for (const auto& entry : m_entries)
        values.push_back(entry.value);
    return values;
}

std::vector<std::string> MultiValue::copyArrayOfAllStrings() const
{
    std::vector<std::string> values;
    values.reserve(m_entries.size());
    for (const auto& entry : m_entries) {
        if (const auto* text = std::get_if<std::string>(&entry.value))
            values.push_back(*text);
    }
    return values;
}

bool MultiValue::addValueAndLabel(ScalarValue value, std::optional<std::string> label, MultiValueIdentifier* outIdentifier)
{
    return insertValueAndLabelAtIndex(std::move(value), std::move(label), m_entries.size(), outIdentifier);
}

bool MultiValue::insertValueAndLabelAtIndex(ScalarValue value, std::optional<std::string> label, std::size_t index,
                                            MultiValueIdentifier* outIdentifier)
{
    if (!accepts(value) || index > m_entries.size() || m_nextIdentifier == INT32_MAX)
        return false;
    MultiValueIdentifier identifier = m_nextIdentifier++;
    m_entries.insert(m_entries.begin() + static_cast<std::ptrdiff_t>(index),
                     MultiValueEntry { std::move(value), normalizedLabel(std::move(label)), identifier });
    if (outIdentifier)
        *outIdentifier = identifier;
    return true;
}

bool MultiValue::replaceValueAtIndex(ScalarValue value, std::size_t index)
{
    if (!accepts(value) || index >= m_entries.size())
        return false;
    m_entries[index].value = std::move(value);
    return true;
}

bool MultiValue::replaceLabelAtIndex(std::optional<std::string> label, std::size_t index)
{
    if (index >= m_entries.size())
        return false;
    m_entries[index].label = normalizedLabel(std::move(label));
    return true;
}

bool MultiValue::removeValueAndLabelAtIndex(std::size_t index)
{
    if (index >= m_entries.size())
        return false;
    m_entries.erase(m_entries.begin() + static_cast<std::ptrdiff_t>(index));
    return true;
}

MultiValue MultiValue::fromStoredEntries(PropertyType type, std::vector<MultiValueEntry> entries,
                                         MultiValueIdentifier nextIdentifier)
{
    MultiValue multi(type);
    multi.m_entries.reserve(entries.size());
    for (auto& entry : entries) {
        if (!multi.accepts(entry.value))
            continue;
        // Identifiers must stay unique, whatever a damaged file says.
        if (entry.identifier < 0 || multi.indexForIdentifier(entry.identifier))
            entry.identifier = std::max(nextIdentifier, multi.m_nextIdentifier);
        MultiValueIdentifier following = entry.identifier < INT32_MAX ? entry.identifier + 1 : INT32_MAX;
        multi.m_nextIdentifier = std::max({ multi.m_nextIdentifier, nextIdentifier, following });
        entry.label = normalizedLabel(std::move(entry.label));
        multi.m_entries.push_back(std::move(entry));
    }
    multi.m_nextIdentifier = std::max(multi.m_nextIdentifier, nextIdentifier);
    return multi;
}

} // namespace contactstore
