#include "screens/groups/PersonIndexSections.h"

#include "platform/ui/LocalizedIndexedCollation.h"

#include <algorithm>
#include <cstdint>
#include <functional>

namespace tessaro {

namespace {

// A sort key with its first eight bytes read as one big-endian number: most comparisons of
// two keys are decided by comparing the numbers, and only keys that agree there compare
// their bytes.
struct KeptKey {
    std::uint64_t head { 0 };
    const std::string* key { nullptr };
    std::size_t index { 0 };

    KeptKey(const std::string& text, std::size_t position)
        : key(&text)
        , index(position)
    {
        for (std::size_t i = 0; i < 8; ++i)
            head = (head << 8) | (i < text.size() ? static_cast<unsigned char>(text[i]) : 0u);
    }

    // Equal keys keep the list's order, so the sort needs no stability of its own.
    friend bool operator<(const KeptKey& a, const KeptKey& b)
    {
        if (a.head != b.head)
            return a.head < b.head;
        if (int order = a.key->compare(*b.key))
            return order < 0;
        return a.index < b.index;
    }
};

} // namespace

void PersonIndexSections::sortByName(std::vector<Contact>& persons, const ui::LocalizedIndexedCollation& collation)
{
    const std::function<std::string(std::string_view)> makeKey = [&collation](std::string_view name) { return collation.sortKey(name); };
    // The keys live with the person records, which this list keeps alive while sorting.
    std::vector<KeptKey> keyed;
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

PersonIndexSections PersonIndexSections::build(std::vector<Contact> persons, const ui::LocalizedIndexedCollation& collation)
{
    const auto& titles = collation.sectionTitles();
    if (titles.empty())
        return {};
    std::vector<std::vector<Contact>> buckets(titles.size());
    for (auto& person : persons) {
        int section = collation.sectionForString(person.sortName());
        if (section < 0 || section >= static_cast<int>(buckets.size()))
            section = static_cast<int>(buckets.size()) - 1;
        buckets[static_cast<std::size_t>(section)].push_back(std::move(person));
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
