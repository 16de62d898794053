#pragma once
// What the lists derive from a person and keep with the person record (which drops it
// whenever the person changes): the folded forms of the fields a search looks at, so that
// a search folds only the typed text and scans bytes; and the collation key of the name the
// lists sort by, so that a list of thousands sorts by comparing bytes.

#include "platform/contactstore/Record.h"

#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace contactstore {
class Person;
}

namespace tessaro {

class ContactSearchKeys final : public contactstore::RecordCache {
public:
    // The keys of the person, folded now if the record has none.
    static const ContactSearchKeys& of(const contactstore::Person& person);

    // The person's sort key made by makeKey from the sort name; kept until the person
    // changes or a key of another collation (another tag) is asked for.
    static const std::string& sortKey(const contactstore::Person& person, std::string_view collation,
                                      const std::function<std::string(std::string_view sortName)>& makeKey,
                                      const std::function<std::string()>& sortName);

    bool folded { false };
    std::string firstname;
    std::string lastname;
    std::string nickname;
    std::string middlename;
    std::string firstnamephonetic;
    std::string lastnamephonetic;
    std::string phonenumbersforsearch;

    std::string collation;
    std::optional<std::string> collationKey;

private:
    static ContactSearchKeys& held(const contactstore::Person& person);
};

} // namespace tessaro
