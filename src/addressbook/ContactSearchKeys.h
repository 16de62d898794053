#pragma once
// What the lists look at in a person beyond its values: the folded forms of the fields a
// search looks at (kept by the store with the person, so a search folds only the typed text
// and scans bytes), and the collation key of the name the lists sort by (kept with the
// person record, which drops it whenever the person changes), so that a list of thousands
// sorts by comparing bytes.

#include "platform/contactstore/Record.h"

#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace contactstore {
class Person;
}

namespace tessaro {

class ContactSearchKeys {
public:
    // The folded fields of the person; valid while the person is unchanged.
    static ContactSearchKeys of(const contactstore::Person& person);

    // The person's sort key made by makeKey from the sort name; kept until the person
    // changes or a key of another collation (another tag) is asked for.
    static const std::string& sortKey(const contactstore::Person& person, std::string_view collation,
                                      const std::function<std::string(std::string_view sortName)>& makeKey,
                                      const std::function<std::string()>& sortName);

    std::string_view firstname;
    std::string_view lastname;
    std::string_view nickname;
    std::string_view middlename;
    std::string_view firstnamephonetic;
    std::string_view lastnamephonetic;
    std::string_view phonenumbersforsearch;
};

} // namespace tessaro
