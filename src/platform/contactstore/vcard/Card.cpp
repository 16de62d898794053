#include "platform/contactstore/vcard/Card.h"

#include <tuple>

namespace contactstore::vcard {

bool Card::sameContent(const Card& other) const
{
    auto fields = [](const Card& card) {
        return std::tie(card.kind, card.uid, card.firstName, card.lastName, card.middleName,
            card.prefix, card.suffix, card.nickname, card.firstNamePhonetic, card.lastNamePhonetic,
            card.middleNamePhonetic, card.organization, card.department, card.jobTitle, card.note, card.birthday,
            card.phones, card.emails, card.urls, card.relatedNames, card.dates, card.addresses,
            card.instantMessages, card.photo, card.categories, card.members);
    };
    // A person's display name is made from the fields, not kept; a group's is its name.
    if (kind == Kind::Group && formattedName != other.formattedName)
        return false;
    return fields(*this) == fields(other);
}

} // namespace contactstore::vcard
