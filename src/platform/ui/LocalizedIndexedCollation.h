#pragma once
// Alphabetical sections and sorting of names for the device's language, the way the
// handset's contact lists show them: the language's own section titles first (the kana
// rows あ か さ … わ for Japanese), then the English letters A–Z beside them, then "#"
// for everything else (names starting with a digit or a symbol, and scripts without a
// section, such as kanji without a phonetic reading).
//
// Built on ICU: one immutable alphabetic index and one collator per language, made once
// and kept for the life of the process. Sorting compares collation sort keys as bytes;
// callers that sort the same names often compute the keys once (sortKey) and sort with
// sortByKeys. Main thread only. Lists put TableViewIndexSearch (TableView.h) before these
// titles in their section index.

#include <unicode/uversion.h>

#include <algorithm>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

U_NAMESPACE_BEGIN
class AlphabeticIndex;
class Collator;
U_NAMESPACE_END

namespace ui {

class LocalizedIndexedCollation {
public:
    // The collation of the device's language (Device::localeIdentifier()).
    static const LocalizedIndexedCollation& currentCollation();

    explicit LocalizedIndexedCollation(const std::string& localeIdentifier);
    ~LocalizedIndexedCollation();
    LocalizedIndexedCollation(const LocalizedIndexedCollation&) = delete;
    LocalizedIndexedCollation& operator=(const LocalizedIndexedCollation&) = delete;

    const std::string& localeIdentifier() const { return m_localeIdentifier; }

    // Section titles in section order; "#" is always the last.
    const std::vector<std::string>& sectionTitles() const { return m_sectionTitles; }
    // The titles of the side index; one per section.
    const std::vector<std::string>& sectionIndexTitles() const { return m_sectionTitles; }
    // The section an index entry leads to; -1 for an index out of range.
    int sectionForSectionIndexTitleAtIndex(int index) const;

    // The section a name belongs to, by its first letters.
    int sectionForString(std::string_view name) const;

    // The collation sort key of a name: comparing two keys as byte strings orders the names
    // as the language does.
    std::string sortKey(std::string_view name) const;
    // Negative, zero or positive as a sorts before, with or after b.
    int compare(std::string_view a, std::string_view b) const;

    // A copy of the items in collation order of the strings given by stringOf; items whose
    // strings collate equal keep their order.
    template<typename T, typename StringOf>
    std::vector<T> sortedArray(std::vector<T> items, StringOf stringOf) const
    {
        std::vector<std::pair<std::string, std::size_t>> keys;
        keys.reserve(items.size());
        for (std::size_t i = 0; i < items.size(); ++i)
            keys.emplace_back(sortKey(stringOf(items[i])), i);
        std::stable_sort(keys.begin(), keys.end(), [](const auto& a, const auto& b) { return a.first < b.first; });
        std::vector<T> sorted;
        sorted.reserve(items.size());
        for (auto& [key, index] : keys)
            sorted.push_back(std::move(items[index]));
        return sorted;
    }

    // Sorts items in place by keys made earlier with sortKey (keyOf gives an item's key);
    // equal keys keep their order.
    template<typename T, typename KeyOf>
    static void sortByKeys(std::vector<T>& items, KeyOf keyOf)
    {
        std::stable_sort(items.begin(), items.end(), [&](const T& a, const T& b) { return keyOf(a) < keyOf(b); });
    }

private:
    struct Index;

    std::string m_localeIdentifier;
    std::unique_ptr<Index> m_index;
    std::unique_ptr<icu::Collator> m_collator;
    std::vector<std::string> m_sectionTitles;
    // The section of each ICU bucket.
    std::vector<int> m_sectionOfBucket;
};

} // namespace ui
