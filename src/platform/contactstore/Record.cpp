#include "platform/contactstore/Record.h"

#include "platform/contactstore/AddressBook.h"
#include "platform/contactstore/StoredValueCodec.h"

#include <algorithm>

namespace contactstore {

namespace {

std::size_t longestText(const ScalarValue& value)
{
    if (const auto* text = std::get_if<std::string>(&value))
        return text->size();
    std::size_t longest = 0;
    if (const auto* parts = std::get_if<Dictionary>(&value)) {
        for (const auto& [key, part] : *parts)
            longest = std::max(longest, part.size());
    }
    return longest;
}

// The longest text a value holds, in any entry or part.
std::size_t longestText(const Value& value)
{
    if (const auto* text = std::get_if<std::string>(&value))
        return text->size();
    if (const auto* parts = std::get_if<Dictionary>(&value))
        return longestText(ScalarValue(*parts));
    std::size_t longest = 0;
    if (const auto* multi = std::get_if<MultiValue>(&value)) {
        for (const auto& entry : multi->entries())
            longest = std::max({ longest, longestText(entry.value), entry.label ? entry.label->size() : std::size_t { 0 } });
    }
    return longest;
}

} // namespace

Record::Record() = default;
Record::~Record() = default;
Record::Record(Record&&) noexcept = default;
Record& Record::operator=(Record&&) noexcept = default;

std::pair<PropertyID, Value>* Record::find(PropertyID property)
{
    unpackLists();
    auto slot = std::find_if(m_values.begin(), m_values.end(), [property](const auto& entry) { return entry.first == property; });
    return slot == m_values.end() ? nullptr : &*slot;
}

const std::pair<PropertyID, Value>* Record::find(PropertyID property) const
{
    auto holding = [property](const auto& entry) { return entry.first == property; };
    auto slot = std::find_if(m_values.begin(), m_values.end(), holding);
    if (slot != m_values.end())
        return &*slot;
    if (!isMultiValueType(typeOfProperty(property)))
        return nullptr;
    if (!m_storedLists.empty()) {
        // Decoded once, all lists together; the opened lists then stay put, so values read
        // before remain valid until the next write.
        if (!StoredValueCodec::decode(m_storedLists, m_openedLists))
            m_openedLists.clear();
        std::string().swap(m_storedLists);
    }
    auto opened = std::find_if(m_openedLists.begin(), m_openedLists.end(), holding);
    return opened == m_openedLists.end() ? nullptr : &*opened;
}

void Record::unpackLists()
{
    if (!m_storedLists.empty()) {
        if (!StoredValueCodec::decode(m_storedLists, m_openedLists))
            m_openedLists.clear();
        std::string().swap(m_storedLists);
    }
    if (m_openedLists.empty())
        return;
    for (auto& entry : m_openedLists)
        m_values.push_back(std::move(entry));
    m_openedLists.clear();
}

std::optional<Value> Record::copyValue(PropertyID property) const
{
    if (const Value* held = value(property))
        return *held;
    return std::nullopt;
}

const Value* Record::value(PropertyID property) const
{
    const auto* slot = find(property);
    return slot ? &slot->second : nullptr;
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

bool Record::hasEntries(PropertyID property) const
{
    if (m_storedLists.empty()) {
        const MultiValue* multi = multiValue(property);
        return multi && !multi->isEmpty();
    }
    auto slot = std::find_if(m_values.begin(), m_values.end(), [property](const auto& entry) { return entry.first == property; });
    if (slot != m_values.end()) {
        const auto* multi = std::get_if<MultiValue>(&slot->second);
        return multi && !multi->isEmpty();
    }
    return StoredValueCodec::holdsEntries(m_storedLists, property);
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
    if (longestText(newValue) > kMaxTextBytes) {
        reportError(error, ErrorCode::ValueTooLong,
                    "The value for property " + std::to_string(property) + " is longer than " + std::to_string(kMaxTextBytes / 1024)
                        + " KB.");
        return false;
    }
    // An empty list of entries is no value at all; keeping it would make "no phone" two states.
    if (const auto* multi = std::get_if<MultiValue>(&newValue); multi && multi->isEmpty())
        return removeValue(property, error);

    auto* slot = find(property);
    if (!slot)
        m_values.emplace_back(property, std::move(newValue));
    else if (slot->second == newValue)
        return true;
    else
        slot->second = std::move(newValue);
    noteChanged(property);
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
    auto* slot = find(property);
    if (!slot)
        return true;
    m_values.erase(m_values.begin() + (slot - m_values.data()));
    noteChanged(property);
    didChangeValue(property);
    return true;
}

void Record::markChanged()
{
    m_changed = true;
    m_cache.reset();
    m_keptSortKey.reset();
    if (auto book = m_book.lock())
        book->noteChange();
}

void Record::noteChanged(PropertyID property)
{
    if (std::find(m_changedProperties.begin(), m_changedProperties.end(), property) == m_changedProperties.end())
        m_changedProperties.push_back(property);
    markChanged();
}

void Record::assignStoredValue(PropertyID property, Value storedValue)
{
    auto* slot = find(property);
    if (!slot)
        m_values.emplace_back(property, std::move(storedValue));
    else
        slot->second = std::move(storedValue);
    m_cache.reset();
    m_keptSortKey.reset();
}

} // namespace contactstore
