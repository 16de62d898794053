#include "platform/contactstore/Record.h"

#include <algorithm>

namespace contactstore {

Record::Record() = default;
Record::~Record() = default;
Record::Record(Record&&) noexcept = default;
Record& Record::operator=(Record&&) noexcept = default;

std::vector<std::pair<PropertyID, Value>>::iterator Record::find(PropertyID property)
{
    return std::find_if(m_values.begin(), m_values.end(), [property](const auto& slot) { return slot.first == property; });
}

std::vector<std::pair<PropertyID, Value>>::const_iterator Record::find(PropertyID property) const
{
    return std::find_if(m_values.begin(), m_values.end(), [property](const auto& slot) { return slot.first == property; });
}

std::optional<Value> Record::copyValue(PropertyID property) const
{
    if (const Value* held = value(property))
        return *held;
    return std::nullopt;
}

const Value* Record::value(PropertyID property) const
{
    auto slot = find(property);
    return slot == m_values.end() ? nullptr : &slot->second;
}

const std::string* Record::stringValue(PropertyID property) const
{
    const Value* held = value(property);
    return held ? std::get_if<std::string>(held) : nullptr;
}

std::optional<std::string> Record::copyString(PropertyID property) const
{
    if (const std::string* text = stringValue(property))
        return *text;
    return std::nullopt;
}

std::optional<std::int64_t> Record::copyInteger(PropertyID property) const
{
    const Value* held = value(property);
    if (const auto* number = held ? std::get_if<std::int64_t>(held) : nullptr)
        return *number;
    return std::nullopt;
}

std::optional<Date> Record::copyDate(PropertyID property) const
{
    const Value* held = value(property);
    if (const auto* date = held ? std::get_if<Date>(held) : nullptr)
        return *date;
    return std::nullopt;
}

const MultiValue* Record::multiValue(PropertyID property) const
{
    const Value* held = value(property);
    return held ? std::get_if<MultiValue>(held) : nullptr;
}

bool Record::isWritable(PropertyID) const
{
    return true;
}

bool Record::setValue(PropertyID property, Value newValue, Error* error)
{
    PropertyType expected = typeOfProperty(property);
    if (expected == PropertyType::Invalid) {
        reportError(error, ErrorCode::UnknownProperty, "The property " + std::to_string(property) + " does not exist on this record.");
        return false;
    }
    if (!isWritable(property)) {
        reportError(error, ErrorCode::ReadOnlyProperty, "The property " + std::to_string(property) + " is kept by the address book and cannot be set.");
        return false;
    }
    if (typeOfValue(newValue) != expected) {
        reportError(error, ErrorCode::WrongValueType,
                    "The value for property " + std::to_string(property) + " is of type "
                        + std::to_string(static_cast<unsigned>(typeOfValue(newValue))) + ", not "
                        + std::to_string(static_cast<unsigned>(expected)) + ".");
        return false;
    }
    // An empty list of entries is no value at all; keeping it would make "no phone" two states.
    if (const auto* multi = std::get_if<MultiValue>(&newValue); multi && multi->isEmpty())
        return removeValue(property, error);

    auto slot = find(property);
    if (slot == m_values.end())
        m_values.emplace_back(property, std::move(newValue));
    else if (slot->second == newValue)
        return true;
    else
        slot->second = std::move(newValue);
    markChanged();
    didChangeValue(property);
    return true;
}

bool Record::removeValue(PropertyID property, Error* error)
{
    if (typeOfProperty(property) == PropertyType::Invalid) {
        reportError(error, ErrorCode::UnknownProperty, "The property " + std::to_string(property) + " does not exist on this record.");
        return false;
    }
    if (!isWritable(property)) {
        reportError(error, ErrorCode::ReadOnlyProperty, "The property " + std::to_string(property) + " is kept by the address book and cannot be removed.");
        return false;
    }
    auto slot = find(property);
    if (slot == m_values.end())
        return true;
    m_values.erase(slot);
    markChanged();
    didChangeValue(property);
    return true;
}

void Record::markChanged()
{
    m_changed = true;
    m_cache.reset();
}

void Record::assignStoredValue(PropertyID property, Value storedValue)
{
    auto slot = find(property);
    if (slot == m_values.end())
        m_values.emplace_back(property, std::move(storedValue));
    else
        slot->second = std::move(storedValue);
    m_cache.reset();
}

} // namespace contactstore
