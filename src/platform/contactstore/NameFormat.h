#pragma once
// The language-dependent rules for persons' names: which name comes first in a composite
// name, and the collation members are sorted with. Follows the device's language
// (foundation::Device) unless a language is set here.

#include "platform/contactstore/Constants.h"

#include "platform/contactstore/Forward.h"

#include <string>
#include <string_view>
#include <vector>

namespace contactstore {

class Person;

class NameFormat {
public:
    // A language code ("en", "ja", "zh-Hans"); the empty text goes back to following the
    // device. Main thread, like the handles.
    static void setLanguage(std::string_view language);
    static std::string language();

    // Family name first for languages that write it first (Japanese, Chinese, Korean,
    // Hungarian, Vietnamese), else given name first.
    static CompositeNameFormat compositeNameFormat();

    // The formatted name another program wrote, where the names alone do not make it;
    // else prefix first middle last suffix (or last middle first); falls back to the
    // organization, then the nickname; empty when the person has none of them.
    static std::string compositeName(const Person& person);

    // The persons in the collation order of the current language, by first name then last
    // name or the other way round; phonetic names stand in for the names they spell. Equal
    // names keep their order.
    static std::vector<PersonRef> sortedPeople(std::vector<PersonRef> people, SortOrdering ordering);
};

} // namespace contactstore
