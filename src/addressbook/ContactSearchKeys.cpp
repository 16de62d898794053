#include "addressbook/ContactSearchKeys.h"

#include "platform/contactstore/Person.h"
#include "platform/contactstore/PersonSearchKeys.h"

namespace tessaro {

using namespace contactstore;

namespace {

// The collation key a list sorted the person by, with the collation it was made for.
struct KeptSortKey final : RecordCache {
    std::string collation;
    std::string key;
};

} // namespace

const std::string& ContactSearchKeys::sortKey(const Person& person, std::string_view collation,
                                              const std::function<std::string(std::string_view)>& makeKey,
                                              const std::function<std::string()>& sortName)
{
    auto* kept = dynamic_cast<KeptSortKey*>(person.cache());
    if (!kept) {
        auto made = std::make_unique<KeptSortKey>();
        kept = made.get();
        person.setCache(std::move(made));
        kept->key = makeKey(sortName());
        kept->collation = std::string(collation);
    } else if (kept->collation != collation) {
        kept->collation = std::string(collation);
        kept->key = makeKey(sortName());
    }
    return kept->key;
}

ContactSearchKeys ContactSearchKeys::of(const Person& person)
{
    auto fields = PersonSearchKeys::fields(person.searchKeys());
    ContactSearchKeys keys;
    keys.firstname = fields[PersonSearchKeys::FirstName];
    keys.lastname = fields[PersonSearchKeys::LastName];
    keys.nickname = fields[PersonSearchKeys::Nickname];
    keys.middlename = fields[PersonSearchKeys::MiddleName];
    keys.firstnamephonetic = fields[PersonSearchKeys::FirstNamePhonetic];
    keys.lastnamephonetic = fields[PersonSearchKeys::LastNamePhonetic];
    keys.phonenumbersforsearch = fields[PersonSearchKeys::PhoneNumbers];
    return keys;
}

} // namespace tessaro
