#pragma once
// The folded forms of what a person is found by in the person lists' search: the four names,
// the two readings of the names and the phone numbers without the separators people write
// in them. They are folded when the person is saved and kept in the file beside the person,
// so that neither a start nor a keystroke folds a whole address book; a person changed in
// memory folds its keys again when they are next asked for.
//
// Kept as one text: per field, its length (unsigned LEB128) and then its bytes, fields in
// the order of Field.

#include "platform/contactstore/Constants.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace contactstore {

class MultiValue;

class PersonSearchKeys {
public:
    enum Field : std::size_t {
        FirstName,
        LastName,
        Nickname,
        MiddleName,
        FirstNamePhonetic,
        LastNamePhonetic,
        PhoneNumbers,
        FieldCount,
    };

    // The searched text properties, in the order of the fields before PhoneNumbers.
    static constexpr std::array<PropertyID, PhoneNumbers> kTextProperties {
        kPersonFirstNameProperty, kPersonLastNameProperty, kPersonNicknameProperty, kPersonMiddleNameProperty,
        kPersonFirstNamePhoneticProperty, kPersonLastNamePhoneticProperty,
    };

    // Whether a change of the property changes the keys.
    static bool isSearched(PropertyID property);

    // The keys of the given texts (null for an absent one) and phone numbers (null for none).
    static std::string make(const std::array<const std::string*, PhoneNumbers>& texts, const MultiValue* phones);

    // The fields of kept keys; all empty for keys that are malformed or of no person.
    static std::array<std::string_view, FieldCount> fields(std::string_view keys);

    // A phone number without its blanks, dashes and brackets, as the search and the keypad
    // compare numbers.
    static std::string cleanedNumber(std::string_view number);
};

} // namespace contactstore
