#include "platform/contactstore/StoredValueCodec.h"

#include <bit>
#include <cstdint>
#include <cstring>
#include <optional>
#include <type_traits>

namespace contactstore {

namespace {

// Generous bounds: far above anything a person holds, low enough that a damaged count
// cannot make the reader reserve gigabytes.
constexpr std::uint64_t kMaximumEntries = 100000;
constexpr std::uint64_t kMaximumProperties = 1000;

class Writer {
public:
    void byte(unsigned char value) { m_out.push_back(static_cast<char>(value)); }

    void unsignedNumber(std::uint64_t value)
    {
        do {
            unsigned char part = value & 0x7f;
            value >>= 7;
            byte(value ? (part | 0x80) : part);
        } while (value);
    }

    void signedNumber(std::int64_t value)
    {
        unsignedNumber((static_cast<std::uint64_t>(value) << 1) ^ static_cast<std::uint64_t>(value >> 63));
    }

    void text(std::string_view value)
    {
        unsignedNumber(value.size());
        m_out.append(value);
    }

    void real(double value)
    {
        auto bits = std::bit_cast<std::uint64_t>(value);
        for (int shift = 0; shift < 64; shift += 8)
            byte(static_cast<unsigned char>(bits >> shift));
    }

    std::string take() { return std::move(m_out); }

private:
    std::string m_out;
};

class Reader {
public:
    explicit Reader(std::string_view in)
        : m_in(in)
    {
    }

    bool atEnd() const { return m_position == m_in.size(); }

    std::optional<unsigned char> byte()
    {
        if (m_position >= m_in.size())
            return std::nullopt;
        return static_cast<unsigned char>(m_in[m_position++]);
    }

    std::optional<std::uint64_t> unsignedNumber()
    {
        std::uint64_t value = 0;
        for (int shift = 0; shift < 64; shift += 7) {
            auto part = byte();
            if (!part)
                return std::nullopt;
            value |= static_cast<std::uint64_t>(*part & 0x7f) << shift;
            if (!(*part & 0x80))
                return value;
        }
        return std::nullopt;
    }

    std::optional<std::int64_t> signedNumber()
    {
        auto raw = unsignedNumber();
        if (!raw)
            return std::nullopt;
        return static_cast<std::int64_t>((*raw >> 1) ^ (~(*raw & 1) + 1));
    }

    std::optional<std::string> text()
    {
        auto length = unsignedNumber();
        if (!length || *length > m_in.size() - m_position)
            return std::nullopt;
        std::string value(m_in.substr(m_position, *length));
        m_position += *length;
        return value;
    }

    bool skipText()
    {
        auto length = unsignedNumber();
        if (!length || *length > m_in.size() - m_position)
            return false;
        m_position += *length;
        return true;
    }

    bool skip(std::size_t bytes)
    {
        if (m_in.size() - m_position < bytes)
            return false;
        m_position += bytes;
        return true;
    }

    std::optional<double> real()
    {
        if (m_in.size() - m_position < 8)
            return std::nullopt;
        std::uint64_t bits = 0;
        for (int shift = 0; shift < 64; shift += 8)
            bits |= static_cast<std::uint64_t>(static_cast<unsigned char>(m_in[m_position++])) << shift;
        return std::bit_cast<double>(bits);
    }

private:
    std::string_view m_in;
    std::size_t m_position { 0 };
};

void writeScalar(Writer& out, const ScalarValue& value)
{
    std::visit([&out](const auto& held) {
        using T = std::decay_t<decltype(held)>;
        if constexpr (std::is_same_v<T, std::string>) {
            out.text(held);
        } else if constexpr (std::is_same_v<T, std::int64_t>) {
            out.signedNumber(held);
        } else if constexpr (std::is_same_v<T, double>) {
            out.real(held);
        } else if constexpr (std::is_same_v<T, Date>) {
            out.signedNumber(held.time_since_epoch().count());
        } else {
            out.unsignedNumber(held.size());
            for (const auto& [key, part] : held) {
                out.text(key);
                out.text(part);
            }
        }
    }, value);
}

std::optional<ScalarValue> readScalar(Reader& in, PropertyType type)
{
    switch (type) {
    case PropertyType::String:
        if (auto text = in.text())
            return ScalarValue(std::move(*text));
        return std::nullopt;
    case PropertyType::Integer:
        if (auto number = in.signedNumber())
            return ScalarValue(*number);
        return std::nullopt;
    case PropertyType::Real:
        if (auto number = in.real())
            return ScalarValue(*number);
        return std::nullopt;
    case PropertyType::Date:
        if (auto milliseconds = in.signedNumber())
            return ScalarValue(Date(std::chrono::milliseconds(*milliseconds)));
        return std::nullopt;
    case PropertyType::Dictionary: {
        auto count = in.unsignedNumber();
        if (!count || *count > kMaximumEntries)
            return std::nullopt;
        Dictionary dictionary;
        for (std::uint64_t index = 0; index < *count; ++index) {
            auto key = in.text();
            auto part = key ? in.text() : std::nullopt;
            if (!part)
                return std::nullopt;
            dictionary.insert_or_assign(std::move(*key), std::move(*part));
        }
        return ScalarValue(std::move(dictionary));
    }
    default:
        return std::nullopt;
    }
}

bool skipScalar(Reader& in, PropertyType type)
{
    switch (type) {
    case PropertyType::String:
        return in.skipText();
    case PropertyType::Integer:
    case PropertyType::Date:
        return in.signedNumber().has_value();
    case PropertyType::Real:
        return in.skip(8);
    case PropertyType::Dictionary: {
        auto count = in.unsignedNumber();
        if (!count || *count > kMaximumEntries)
            return false;
        for (std::uint64_t index = 0; index < *count; ++index) {
            if (!in.skipText() || !in.skipText())
                return false;
        }
        return true;
    }
    default:
        return false;
    }
}

bool isStorableMultiType(std::uint64_t code)
{
    return code >= static_cast<std::uint64_t>(PropertyType::MultiString)
        && code <= static_cast<std::uint64_t>(PropertyType::MultiDictionary);
}

// The format byte and the number of lists of a blob; none when malformed.
std::optional<std::uint64_t> readListCount(Reader& in)
{
    if (in.byte() != StoredValueCodec::kFormat)
        return std::nullopt;
    auto count = in.unsignedNumber();
    if (!count || *count > kMaximumProperties)
        return std::nullopt;
    return count;
}

struct ListHead {
    PropertyID property;
    PropertyType type;
    MultiValueIdentifier nextIdentifier;
    std::uint64_t entryCount;
};

// What precedes the entries of one list; none when malformed.
std::optional<ListHead> readListHead(Reader& in)
{
    auto property = in.signedNumber();
    auto type = property ? in.unsignedNumber() : std::nullopt;
    auto nextIdentifier = type ? in.signedNumber() : std::nullopt;
    auto entryCount = nextIdentifier ? in.unsignedNumber() : std::nullopt;
    if (!entryCount || !isStorableMultiType(*type) || *entryCount > kMaximumEntries || *property < INT32_MIN
        || *property > INT32_MAX || *nextIdentifier < 0 || *nextIdentifier > INT32_MAX)
        return std::nullopt;
    return ListHead { static_cast<PropertyID>(*property), static_cast<PropertyType>(*type),
                      static_cast<MultiValueIdentifier>(*nextIdentifier), *entryCount };
}

} // namespace

std::string StoredValueCodec::encode(const std::vector<std::pair<PropertyID, Value>>& values)
{
    Writer out;
    std::size_t count = 0;
    for (const auto& slot : values)
        count += std::holds_alternative<MultiValue>(slot.second) ? 1 : 0;
    if (count == 0)
        return {};
    out.byte(kFormat);
    out.unsignedNumber(count);
    for (const auto& [property, value] : values) {
        const auto* multi = std::get_if<MultiValue>(&value);
        if (!multi)
            continue;
        out.signedNumber(property);
        out.unsignedNumber(static_cast<std::uint32_t>(multi->propertyType()));
        out.signedNumber(multi->nextIdentifier());
        out.unsignedNumber(multi->count());
        for (const auto& entry : multi->entries()) {
            out.signedNumber(entry.identifier);
            out.byte(entry.label ? 1 : 0);
            if (entry.label)
                out.text(*entry.label);
            writeScalar(out, entry.value);
        }
    }
    return out.take();
}

bool StoredValueCodec::isWellFormed(std::string_view blob)
{
    return walk(blob, nullptr);
}

bool StoredValueCodec::holdsEntries(std::string_view blob, PropertyID wanted)
{
    bool holds = false;
    return walk(blob, [&](PropertyID property, std::uint64_t entries) { holds = holds || (property == wanted && entries > 0); }) && holds;
}

bool StoredValueCodec::walk(std::string_view blob, const std::function<void(PropertyID, std::uint64_t)>& each)
{
    // The walk of decode, keeping nothing.
    if (blob.empty())
        return true;
    Reader in(blob);
    auto count = readListCount(in);
    if (!count)
        return false;
    for (std::uint64_t index = 0; index < *count; ++index) {
        auto list = readListHead(in);
        if (!list)
            return false;
        auto [property, multiType, nextIdentifier, entryCount] = *list;
        if (each)
            each(property, entryCount);
        for (std::uint64_t entryIndex = 0; entryIndex < entryCount; ++entryIndex) {
            auto identifier = in.signedNumber();
            auto hasLabel = identifier ? in.byte() : std::nullopt;
            if (!hasLabel || *identifier < 0 || *identifier > INT32_MAX || *hasLabel > 1)
                return false;
            if (*hasLabel && !in.skipText())
                return false;
            if (!skipScalar(in, elementType(multiType)))
                return false;
        }
    }
    return in.atEnd();
}

bool StoredValueCodec::decode(std::string_view blob, std::vector<std::pair<PropertyID, Value>>& values)
{
    if (blob.empty())
        return true;
    Reader in(blob);
    auto count = readListCount(in);
    if (!count)
        return false;

    std::vector<std::pair<PropertyID, Value>> decoded;
    decoded.reserve(*count);
    for (std::uint64_t index = 0; index < *count; ++index) {
        auto list = readListHead(in);
        if (!list)
            return false;
        auto [property, multiType, nextIdentifier, entryCount] = *list;
        std::vector<MultiValueEntry> entries;
        entries.reserve(entryCount);
        for (std::uint64_t entryIndex = 0; entryIndex < entryCount; ++entryIndex) {
            auto identifier = in.signedNumber();
            auto hasLabel = identifier ? in.byte() : std::nullopt;
            if (!hasLabel || *identifier < 0 || *identifier > INT32_MAX || *hasLabel > 1)
                return false;
            std::optional<std::string> label;
            if (*hasLabel) {
                label = in.text();
                if (!label)
                    return false;
            }
            auto value = readScalar(in, elementType(multiType));
            if (!value)
                return false;
            entries.push_back(MultiValueEntry { std::move(*value), std::move(label), static_cast<MultiValueIdentifier>(*identifier) });
        }
        decoded.emplace_back(property, MultiValue::fromStoredEntries(multiType, std::move(entries), nextIdentifier));
    }
    if (!in.atEnd())
        return false;
    for (auto& slot : decoded)
        values.push_back(std::move(slot));
    return true;
}

} // namespace contactstore
