#include "platform/contactstore/PersonSearchKeys.h"

#include "platform/contactstore/MultiValue.h"
#include "platform/foundation/TextFolding.h"

#include <algorithm>

namespace contactstore {

namespace {

void appendField(std::string& keys, std::string_view field)
{
    std::size_t length = field.size();
    do {
        unsigned char byte = length & 0x7F;
        length >>= 7;
        keys.push_back(static_cast<char>(length ? byte | 0x80 : byte));
    } while (length);
    keys.append(field);
}

} // namespace

bool PersonSearchKeys::isSearched(PropertyID property)
{
    return property == kPersonPhoneProperty
        || std::find(kTextProperties.begin(), kTextProperties.end(), property) != kTextProperties.end();
}

std::string PersonSearchKeys::make(const std::array<const std::string*, PhoneNumbers>& texts, const MultiValue* phones)
{
    const auto& folding = foundation::TextFolding::shared();
    std::string keys;
    for (const std::string* text : texts)
        appendField(keys, text ? folding.fold(*text) : std::string());
    std::string numbers;
    if (phones) {
        for (const auto& entry : phones->entries()) {
            const auto* number = std::get_if<std::string>(&entry.value);
            if (!number)
                continue;
            // Numbers are set apart by a blank, so that a search never runs from one into the next.
            if (!numbers.empty() || &entry != &phones->entries().front())
                numbers += ' ';
            numbers += cleanedNumber(*number);
        }
    }
    appendField(keys, folding.fold(numbers));
    return keys;
}

std::array<std::string_view, PersonSearchKeys::FieldCount> PersonSearchKeys::fields(std::string_view keys)
{
    std::array<std::string_view, FieldCount> fields {};
    std::size_t at = 0;
    for (auto& field : fields) {
        std::size_t length = 0;
        int shift = 0;
        for (;;) {
            if (at >= keys.size() || shift > 28)
                return {};
            auto byte = static_cast<unsigned char>(keys[at++]);
            length |= static_cast<std::size_t>(byte & 0x7F) << shift;
            shift += 7;
            if (!(byte & 0x80))
                break;
        }
        if (length > keys.size() - at)
            return {};
        field = keys.substr(at, length);
        at += length;
    }
    return fields;
}

std::string PersonSearchKeys::cleanedNumber(std::string_view number)
{
    std::string cleaned;
    cleaned.reserve(number.size());
    for (char c : number) {
        if (c != ' ' && c != '-' && c != '(' && c != ')')
            cleaned.push_back(c);
    }
    return cleaned;
}

} // namespace contactstore
