#pragma once
// How a card's fields land on an address-book person and back. A person holds what a card
// holds, field for field, with two conventions of the handset platforms: a birthday or date
// without a year is kept in the placeholder year 1604, and a company card is a person of
// the organization kind.

#include "platform/contactstore/Person.h"
#include "platform/contactstore/StoreError.h"
#include "platform/contactstore/Values.h"
#include "platform/contactstore/vcard/Card.h"

namespace contactstore::vcard {

class PersonCardMapping {
public:
    // The year that stands for "unknown" in a stored date.
    static constexpr int kYearlessPlaceholder = 1604;

    // Writes the card's fields onto a person (normally a new one). False with the store's
    // error when a value is refused; the person may then hold some of the fields.
    [[nodiscard]] static bool fillPerson(const Card& card, Person& person, Error* error = nullptr);

    // The person as a card, without uid and categories (those depend on the whole book).
    static Card cardFromPerson(const Person& person);

    // True when a card holds anything a person could keep; empty cards are not imported.
    static bool holdsPersonData(const Card& card);

    static Date storedDate(const Card::Date& date);
    static Card::Date cardDate(Date date);
};

} // namespace contactstore::vcard
