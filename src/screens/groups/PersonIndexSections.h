#pragma once
// Persons in the alphabetical sections of the device's language, the way the person lists
// show them: one section per index title that has persons, in collation order, each sorted
// by the persons' sort names. Sorting uses the collation keys kept with each person, so a
// list of 50,000 is sorted by comparing bytes rather than by collating names again.

#include "addressbook/Contact.h"

#include <string>
#include <string_view>
#include <vector>

namespace ui {
class LocalizedIndexedCollation;
}

namespace tessaro {

struct PersonIndexSections {
    // Non-empty sections only, in collation order; titles[i] is the index title of sections[i].
    std::vector<std::vector<Contact>> sections;
    std::vector<std::string> titles;

    // Sorts the persons by sortName in the collation's order; persons whose names collate
    // equal keep their order.
    static void sortByName(std::vector<Contact>& persons, const ui::LocalizedIndexedCollation& collation);
    // The book's persons that the person lists' search finds for the text, sorted by
    // sortName as sortByName sorts them, straight from the book's order by name.
    static std::vector<Contact> bookMatchesByName(std::string_view text, const ui::LocalizedIndexedCollation& collation);
    // Puts each person into the section of its sortName, sorts each section, and keeps the
    // sections that have persons.
    static PersonIndexSections build(std::vector<Contact> persons, const ui::LocalizedIndexedCollation& collation);
};

} // namespace tessaro
