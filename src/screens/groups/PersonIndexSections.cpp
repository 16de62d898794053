#include "screens/groups/PersonIndexSections.h"

#include "platform/ui/LocalizedIndexedCollation.h"

#include <algorithm>
#include <functional>

namespace tessaro {

void PersonIndexSections::sortByName(std::vector<Contact>& persons, const ui::LocalizedIndexedCollation& collation)
{
    const std::function<std::string(std::string_view)> makeKey = [&collation](std::string_view name) { return collation.sortKey(name); };
    // The keys live with the person records, which this list keeps alive while sorting.
    std::vector<std::pair<const std::string*, std::size_t>> keyed;
    keyed.reserve(persons.size());
    for (std::size_t index = 0; index < persons.size(); ++index)
        keyed.emplace_back(&persons[index].sortKey(collation.localeIdentifier(), makeKey), index);
    std::stable_sort(keyed.begin(), keyed.end(), [](const auto& a, const auto& b) { return *a.first < *b.first; });
    std::vector<Contact> sorted;
    sorted.reserve(persons.size());
    for (const auto& [key, index] : keyed)
        sorted.push_back(persons[index]);
    persons = std::move(sorted);
}

PersonIndexSections PersonIndexSections::build(const std::vector<Contact>& persons, const ui::LocalizedIndexedCollation& collation)
{
    const auto& titles = collation.sectionTitles();
    if (titles.empty())
        return {};
    std::vector<std::vector<Contact>> buckets(titles.size());
    for (const auto& person : persons) {
        int section = collation.sectionForString(person.sortName());
        if (section < 0 || section >= static_cast<int>(buckets.size()))
            section = static_cast<int>(buckets.size()) - 1;
        buckets[static_cast<std::size_t>(section)].push_back(person);
    }
    PersonIndexSections result;
    for (std::size_t index = 0; index < buckets.size(); ++index) {
        if (buckets[index].empty())
            continue;
        sortByName(buckets[index], collation);
        result.sections.push_back(std::move(buckets[index]));
        result.titles.push_back(titles[index]);
    }
    return result;
}

} // namespace tessaro
