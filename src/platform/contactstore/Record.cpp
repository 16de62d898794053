#include "platform/contactstore/Record.h"

#include "platform/contactstore/AddressBook.h"
#include "platform/contactstore/StoredValueCodec.h"

#include <algorithm>
#include <cstring>

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

// The values a record keeps in stored form, in memory only: the length of the lists'
// blob, the blob, then per detail its property, its kind and its value. Lengths and
// properties are unsigned LEB128; numbers and dates eight bytes in the machine's order.
using DetailKind = Record::StoredDetail::Kind;

char* putLength(char* at, std::uint64_t number)
{
    do {
        auto byte = static_cast<unsigned char>(number & 0x7F);
        number >>= 7;
        *at++ = static_cast<char>(number ? byte | 0x80 : byte);
    } while (number);
    return at;
}

char* putBytes(char* at, const void* bytes, std::size_t size)
{
    if (size > 0)
        std::memcpy(at, bytes, size);
    return at + size;
}

std::size_t lengthBytes(std::uint64_t number)
{
    std::size_t bytes = 1;
    while (number >>= 7)
        ++bytes;
    return bytes;
}

bool readLength(std::string_view& packed, std::uint64_t& number)
{
    number = 0;
    for (int shift = 0; shift < 64 && !packed.empty(); shift += 7) {
        auto byte = static_cast<unsigned char>(packed.front());
        packed.remove_prefix(1);
        number |= static_cast<std::uint64_t>(byte & 0x7F) << shift;
        if (!(byte & 0x80))
            return true;
    }
    return false;
}

std::string_view storedLists(std::string_view packed)
{
    std::uint64_t length = 0;
    if (!readLength(packed, length) || length > packed.size())
        return {};
    return packed.substr(0, length);
}

// Calls `each` with every detail of the packed values, until it returns false; false when
// they are damaged (they never are: only this file writes them).
template <typename Each>
bool walkDetails(std::string_view packed, Each each)
{
    std::uint64_t listsLength = 0;
    if (!readLength(packed, listsLength) || listsLength > packed.size())
        return false;
    packed.remove_prefix(listsLength);
    while (!packed.empty()) {
        std::uint64_t property = 0;
        if (!readLength(packed, property) || packed.empty())
            return false;
        auto kind = static_cast<DetailKind>(packed.front());
        packed.remove_prefix(1);
        std::uint64_t length = 8;
        if (kind == DetailKind::Text && !readLength(packed, length))
            return false;
        if (length > packed.size())
            return false;
        if (!each(static_cast<PropertyID>(property), kind, packed.substr(0, length)))
            return true;
        packed.remove_prefix(length);
    }
    return true;
}

bool detailsHold(std::string_view packed, PropertyID wanted)
{
    bool found = false;
    walkDetails(packed, [&](PropertyID property, DetailKind, std::string_view) {
        found = property == wanted;
        return !found;
    });
    return found;
}

Value detailValue(DetailKind kind, std::string_view bytes)
{
    if (kind == DetailKind::Text)
        return std::string(bytes);
    std::int64_t number = 0;
    std::memcpy(&number, bytes.data(), sizeof number);
    if (kind == DetailKind::Integer)
        return number;
    return Date(std::chrono::milliseconds(number));
}

} // namespace

Record::PackedBytes::PackedBytes(std::size_t size)
{
    if (size == 0)
        return;
    const auto length = static_cast<std::uint32_t>(size);
    m_bytes = std::make_unique_for_overwrite<char[]>(sizeof length + size);
    std::memcpy(m_bytes.get(), &length, sizeof length);
}

std::string_view Record::PackedBytes::view() const
{
    if (!m_bytes)
        return {};
    std::uint32_t length = 0;
    std::memcpy(&length, m_bytes.get(), sizeof length);
    return { m_bytes.get() + sizeof length, length };
}

Record::Record() = default;
Record::~Record() = default;
Record::Record(Record&&) noexcept = default;
Record& Record::operator=(Record&&) noexcept = default;

std::pair<PropertyID, Value>* Record::find(PropertyID property)
{
    unpackStoredValues();
    auto slot = std::find_if(m_values.begin(), m_values.end(), [property](const auto& entry) { return entry.first == property; });
    return slot == m_values.end() ? nullptr : &*slot;
}

const std::pair<PropertyID, Value>* Record::find(PropertyID property) const
{
    auto holding = [property](const auto& entry) { return entry.first == property; };
    auto slot = std::find_if(m_values.begin(), m_values.end(), holding);
    if (slot != m_values.end())
        return &*slot;
    const bool list = isMultiValueType(typeOfProperty(property));
    if (!m_storedValues.empty()) {
        if (list)
            openStoredLists();
        else if (!m_detailsOpened && detailsHold(m_storedValues.view(), property))
            openStoredDetails();
    }
    if (!m_extras)
        return nullptr;
    const auto& opened = list ? m_extras->openedLists : m_extras->openedDetails;
    auto found = std::find_if(opened.begin(), opened.end(), holding);
    return found == opened.end() ? nullptr : &*found;
}

void Record::keepStoredValues(std::string_view lists, std::span<const StoredDetail> details)
{
    // Made in one allocation of the exact size: at a quarter of a million persons every
    // spare byte and every extra allocation shows.
    std::size_t size = lengthBytes(lists.size()) + lists.size();
    for (const auto& detail : details) {
        size += lengthBytes(static_cast<std::uint32_t>(detail.property)) + 1;
        size += detail.kind == DetailKind::Text ? lengthBytes(detail.text.size()) + detail.text.size() : sizeof detail.number;
    }
    PackedBytes packed(size);
    char* at = packed.data();
    at = putLength(at, lists.size());
    at = putBytes(at, lists.data(), lists.size());
    for (const auto& detail : details) {
        at = putLength(at, static_cast<std::uint32_t>(detail.property));
        *at++ = static_cast<char>(detail.kind);
        if (detail.kind == DetailKind::Text) {
            at = putLength(at, detail.text.size());
            at = putBytes(at, detail.text.data(), detail.text.size());
        } else {
            at = putBytes(at, &detail.number, sizeof detail.number);
        }
    }
    // Nothing stored but an empty lists blob is nothing to keep.
    m_storedValues = size > 1 ? std::move(packed) : PackedBytes();
    m_detailsOpened = false;
    m_listsOpened = false;
}

void Record::openStoredDetails() const
{
    if (m_detailsOpened || m_storedValues.empty())
        return;
    auto& opened = extras().openedDetails;
    std::size_t count = 0;
    walkDetails(m_storedValues.view(), [&count](PropertyID, DetailKind, std::string_view) {
        ++count;
        return true;
    });
    opened.reserve(count);
    walkDetails(m_storedValues.view(), [&opened](PropertyID property, DetailKind kind, std::string_view bytes) {
        opened.emplace_back(property, detailValue(kind, bytes));
        return true;
    });
    m_detailsOpened = true;
    dropOpenedStoredValues();
}

void Record::openStoredLists() const
{
    if (m_listsOpened || m_storedValues.empty())
        return;
    auto& opened = extras().openedLists;
    if (!StoredValueCodec::decode(storedLists(m_storedValues.view()), opened))
        opened.clear();
    m_listsOpened = true;
    dropOpenedStoredValues();
}

void Record::dropOpenedStoredValues() const
{
    if (m_detailsOpened && m_listsOpened)
        m_storedValues.clear();
}

void Record::unpackStoredValues()
{
    openStoredDetails();
    openStoredLists();
    if (!m_extras)
        return;
    for (auto* opened : { &m_extras->openedDetails, &m_extras->openedLists }) {
        for (auto& entry : *opened)
            m_values.push_back(std::move(entry));
        std::vector<std::pair<PropertyID, Value>>().swap(*opened);
    }
}

std::span<const PropertyID> Record::changedProperties() const
{
    if (!m_extras)
        return {};
    return m_extras->changedProperties;
}

void Record::forgetChangedProperties()
{
    if (m_extras)
        m_extras->changedProperties.clear();
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

std::optional<std::string_view> Record::textValue(PropertyID property) const
{
    auto slot = std::find_if(m_values.begin(), m_values.end(), [property](const auto& entry) { return entry.first == property; });
    if (slot == m_values.end() && !m_storedValues.empty() && !m_detailsOpened) {
        std::optional<std::string_view> found;
        walkDetails(m_storedValues.view(), [&](PropertyID held, DetailKind kind, std::string_view bytes) {
            if (held != property)
                return true;
            if (kind == DetailKind::Text)
                found = bytes;
            return false;
        });
        return found;
    }
    if (const std::string* text = stringValue(property))
        return *text;
    return std::nullopt;
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
    if (m_storedValues.empty()) {
        const MultiValue* multi = multiValue(property);
        return multi && !multi->isEmpty();
    }
    auto slot = std::find_if(m_values.begin(), m_values.end(), [property](const auto& entry) { return entry.first == property; });
    if (slot != m_values.end()) {
        const auto* multi = std::get_if<MultiValue>(&slot->second);
        return multi && !multi->isEmpty();
    }
    return StoredValueCodec::holdsEntries(storedLists(m_storedValues.view()), property);
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
    forgetDerived();
    if (auto book = m_book.lock())
        book->noteChange();
}

void Record::noteChanged(PropertyID property)
{
    auto& changed = extras().changedProperties;
    if (std::find(changed.begin(), changed.end(), property) == changed.end())
        changed.push_back(property);
    markChanged();
}

void Record::assignStoredValue(PropertyID property, Value storedValue)
{
    auto* slot = find(property);
    if (!slot)
        m_values.emplace_back(property, std::move(storedValue));
    else
        slot->second = std::move(storedValue);
    forgetDerived();
}

void Record::forgetDerived() const
{
    m_cache.reset();
    if (!m_extras)
        return;
    m_extras->sortKeyTag.clear();
    std::string().swap(m_extras->sortKey);
}

} // namespace contactstore
