#include "platform/contactstore/vcard/Card.h"

#include "platform/contactstore/vcard/CardWriter.h"

#include <tuple>

namespace contactstore::vcard {

std::string Card::displayName() const
{
    if (formattedName.empty() && kind != Kind::Group)
        return CardWriter::composeFormattedName(*this);
    return formattedName;
}

bool Card::sameContent(const Card& other) const
{
    auto fields = [](const Card& card) {
        return std::tie(card.kind, card.uid, card.firstName, card.lastName, card.middleName,
            card.prefix, card.suffix, card.nickname, card.firstNamePhonetic, card.lastNamePhonetic,
            card.middleNamePhonetic, card.organization, card.department, card.jobTitle, card.note, card.birthday,
            card.phones, card.emails, card.urls, card.relatedNames, card.dates, card.addresses,
            card.instantMessages, card.photo, card.categories, card.members);
    };
    return displayName() == other.displayName() && fields(*this) == fields(other);
}

} // namespace contactstore::vcard
