#pragma once
// How the platform's person screens write one value of a person as text: a postal address
// on its lines in the order of the device's language, a date as a whole day, an
// instant-message account with its service. The person card and the edit form show the
// same words for the same value, so both read them here.

#include "platform/contactstore/Constants.h"
#include "platform/contactstore/Values.h"

#include <string>

namespace services {

class PersonValueText {
public:
    PersonValueText() = delete;

    // The value as the person's screens show it; lines of an address are separated by "\n".
    // The empty text for a value of a kind the property does not hold.
    static std::string text(contactstore::PropertyID property, const contactstore::ScalarValue& value);
    // An address on one line, as a map search wants it.
    static std::string addressOnOneLine(const contactstore::Dictionary& address);
    // Whole days are kept as midnight UTC: they are written in UTC, so a birthday never
    // moves a day with the device's time zone.
    static std::string day(const contactstore::Date& date);
};

} // namespace services
