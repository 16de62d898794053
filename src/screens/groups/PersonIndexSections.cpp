#include "screens/groups/PersonIndexSections.h"

#include "addressbook/AddressBookQueries.h"
#include "addressbook/ContactDirectory.h"
#include "addressbook/ContactSearchKeys.h"
#include "platform/foundation/SortKeyOrder.h"
#include "platform/ui/LocalizedIndexedCollation.h"

#include <algorithm>
#include <cstdint>
#include <functional>
#include <optional>

#include <unicode/uversion.h>

namespace tessaro {

namespace {

using MakeKey = std::function<std::string(std::string_view)>;

MakeKey keyMaker(const ui::LocalizedIndexedCollation& collation)
{
    return [&collation](std::string_view name) { return collation.sortKey(name); };
}

// What the order of the persons by name depends on: the language's collation and index (of
// this version of ICU), which name comes first, and how the lists make a sort name (the
// number after "v", counted up whenever that changes).
std::string keptOrderName(const ui::LocalizedIndexedCollation& collation)
{
    return std::string("person list order v1 ") + collation.localeIdentifier() + " icu " + U_ICU_VERSION
        + (AddressBookQueries::firstNameSorting() ? " first" : " last");
}

// The book's order by name in the collation, kept or made.
const ContactDirectory::NameOrder& bookNameOrder(ContactDirectory& directory, const ui::LocalizedIndexedCollation& collation)
{
    const std::string& tag = collation.localeIdentifier();
    const MakeKey makeKey = keyMaker(collation);
    return directory.nameOrder(tag, keptOrderName(collation), [&](const contactstore::PersonRef& person) {
        // The sort name is made once for both the key and the section.
        std::string name = Contact::contactWithRecord(person)->sortName();
        const std::string& key = ContactSearchKeys::sortKey(*person, tag, makeKey, [&name] { return name; });
        return ContactDirectory::NamePlace { &key, collation.sectionForString(name) };
    });
}

// A list of a good part of the book is put in order by the book's order by name: one number
// per person to compare instead of a key per person to look up, and the sections known
// without collating names again. None, with the list as it was, when making the book's
// order would cost more than it saves or a person is not in the book. Otherwise the
// persons' sections, in their new order.
std::optional<std::vector<int>> sortByBookOrder(std::vector<Contact>& persons, const ui::LocalizedIndexedCollation& collation)
{
    auto directory = ContactDirectory::current();
    const std::string& tag = collation.localeIdentifier();
    if (!directory || persons.empty() || persons.size() > UINT32_MAX)
        return std::nullopt;
    if (!directory->hasNameOrder(tag) && persons.size() * 2 < directory->people().size())
        return std::nullopt;
    const auto& bookOrder = bookNameOrder(*directory, collation);
    std::vector<std::uint32_t> ranks;
    std::vector<std::size_t> positions;
    ranks.reserve(persons.size());
    positions.reserve(persons.size());
    std::size_t hint = 0;
    bool wholeBookInItsOrder = persons.size() == directory->people().size();
    for (const auto& person : persons) {
        std::size_t position = directory->positionOf(person.record().get(), hint);
        if (position == ContactDirectory::npos)
            return std::nullopt;
        wholeBookInItsOrder = wholeBookInItsOrder && position == positions.size();
        hint = position + 1;
        positions.push_back(position);
        ranks.push_back(bookOrder.ranks[position]);
    }
    std::vector<Contact> sorted;
    std::vector<int> sections;
    sorted.reserve(persons.size());
    sections.reserve(persons.size());
    auto take = [&](std::size_t index) {
        sorted.push_back(std::move(persons[index]));
        sections.push_back(bookOrder.sections[positions[index]]);
    };
    // The whole book in its own order (All Contacts) is in the book's order by name at once.
    if (wholeBookInItsOrder) {
        for (std::uint32_t position : bookOrder.byName)
            take(position);
    } else {
        for (std::uint32_t index : foundation::orderOfRanks(ranks, directory->people().size()))
            take(index);
    }
    persons = std::move(sorted);
    return sections;
}

// The persons sorted by the keys kept with each of them.
void sortByKeptKeys(std::vector<Contact>& persons, const ui::LocalizedIndexedCollation& collation)
{
    const MakeKey makeKey = keyMaker(collation);
    // The keys live with the person records, which this list keeps alive while sorting.
    std::vector<foundation::SortKeyOrder> keyed;
    keyed.reserve(persons.size());
    for (std::size_t index = 0; index < persons.size(); ++index)
        keyed.emplace_back(persons[index].sortKey(collation.localeIdentifier(), makeKey), index);
    std::sort(keyed.begin(), keyed.end());
    std::vector<Contact> sorted;
    sorted.reserve(persons.size());
    for (const auto& kept : keyed)
        sorted.push_back(std::move(persons[kept.index]));
    persons = std::move(sorted);
}

} // namespace

std::vector<Contact> PersonIndexSections::bookMatchesByName(std::string_view text, const ui::LocalizedIndexedCollation& collation)
{
    // Without a book there is nobody to find.
    auto directory = ContactDirectory::current();
    if (!directory)
        return {};
    return AddressBookQueries::contactsMatchingText(text, *directory, bookNameOrder(*directory, collation));
}

void PersonIndexSections::sortByName(std::vector<Contact>& persons, const ui::LocalizedIndexedCollation& collation)
{
    if (!sortByBookOrder(persons, collation))
        sortByKeptKeys(persons, collation);
}

PersonIndexSections PersonIndexSections::build(std::vector<Contact> persons, const ui::LocalizedIndexedCollation& collation)
{
    const auto& titles = collation.sectionTitles();
    if (titles.empty())
        return {};
    // Sorted once as a whole, the persons fall into their sections already in order.
    auto sections = sortByBookOrder(persons, collation);
    if (!sections) {
        sortByKeptKeys(persons, collation);
        sections.emplace();
        sections->reserve(persons.size());
        for (const auto& person : persons)
            sections->push_back(collation.sectionForString(person.sortName()));
    }
    std::vector<std::vector<Contact>> buckets(titles.size());
    for (std::size_t index = 0; index < persons.size(); ++index) {
        int section = (*sections)[index];
        if (section < 0 || section >= static_cast<int>(buckets.size()))
            section = static_cast<int>(buckets.size()) - 1;
        buckets[static_cast<std::size_t>(section)].push_back(std::move(persons[index]));
    }
    PersonIndexSections result;
    for (std::size_t index = 0; index < buckets.size(); ++index) {
        if (buckets[index].empty())
            continue;
        result.sections.push_back(std::move(buckets[index]));
        result.titles.push_back(titles[index]);
    }
    return result;
}

} // namespace tessaro
