#pragma once
// The folded forms of the fields a person search looks at, kept with the person record
// (which drops them whenever the person changes), so that a search folds only the typed
// text and scans bytes.

#include "platform/contactstore/Record.h"

#include <string>

namespace contactstore {
class Person;
}

namespace tessaro {

class ContactSearchKeys final : public contactstore::RecordCache {
public:
    // The keys of the person, folded now if the record has none.
    static const ContactSearchKeys& of(const contactstore::Person& person);

    std::string firstname;
    std::string lastname;
    std::string nickname;
    std::string middlename;
    std::string firstnamephonetic;
    std::string lastnamephonetic;
    std::string phonenumbersforsearch;
};

} // namespace tessaro
