#include "platform/contactstore/NameFormat.h"

#include "platform/contactstore/Person.h"
#include "platform/foundation/Device.h"
#include "platform/foundation/SortKeyOrder.h"

#include <unicode/coll.h>
#include <unicode/locid.h>
#include <unicode/unistr.h>

#include <algorithm>
#include <cstdint>
#include <memory>
#include <mutex>
#include <numeric>
#include <optional>

namespace contactstore {

namespace {

std::mutex g_mutex;
std::optional<std::string> g_language;
std::unique_ptr<icu::Collator> g_collator;
std::string g_collatorLanguage;

std::string currentLanguage()
{
    return g_language ? *g_language : foundation::Device::current().language();
}

std::string primarySubtag(std::string_view language)
{
    std::string subtag(language.substr(0, language.find_first_of("-_")));
    std::transform(subtag.begin(), subtag.end(), subtag.begin(), [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return subtag;
}

const std::string* present(const Person& person, PropertyID property)
{
    const std::string* text = person.stringValue(property);
    return text && !text->empty() ? text : nullptr;
}

void appendPart(std::string& name, const std::string* part)
{
    if (!part)
        return;
    if (!name.empty())
        name += ' ';
    name += *part;
}

// The letters of a name without the blanks and commas between its parts.
std::string compacted(std::string_view text)
{
    std::string letters;
    letters.reserve(text.size());
    for (char c : text) {
        if (c != ' ' && c != ',' && c != '\t' && c != '\n')
            letters += c;
    }
    return letters;
}

// True when the formatted name is just the person's names in one order or the other, so
// that the order of the current language may show them instead.
bool namesMake(const Person& person, std::string_view formattedName)
{
    auto part = [&](PropertyID property) {
        const std::string* text = present(person, property);
        return text ? compacted(*text) : std::string();
    };
    const std::string prefix = part(kPersonPrefixProperty);
    const std::string first = part(kPersonFirstNameProperty);
    const std::string middle = part(kPersonMiddleNameProperty);
    const std::string last = part(kPersonLastNameProperty);
    const std::string suffix = part(kPersonSuffixProperty);
    const std::string written = compacted(formattedName);
    return written == prefix + first + middle + last + suffix || written == prefix + last + middle + first + suffix;
}

// The collation key of a text, with the terminating zero kept so that keys of several
// parts can be joined and still compare part by part.
void appendSortKey(std::string& key, const icu::Collator& collator, const std::string& text)
{
    icu::UnicodeString unicode = icu::UnicodeString::fromUTF8(text);
    int32_t length = collator.getSortKey(unicode, nullptr, 0);
    std::size_t start = key.size();
    key.resize(start + static_cast<std::size_t>(length));
    collator.getSortKey(unicode, reinterpret_cast<uint8_t*>(key.data() + start), length);
}

// Phonetic names spell how a name is read, which is what it sorts by where it is written
// in characters without an alphabetic order (kanji).
std::string sortPart(const Person& person, PropertyID name, PropertyID phonetic)
{
    if (const std::string* reading = present(person, phonetic))
        return *reading;
    if (const std::string* text = present(person, name))
        return *text;
    return {};
}

} // namespace

void NameFormat::setLanguage(std::string_view language)
{
    std::lock_guard lock(g_mutex);
    g_language = language.empty() ? std::nullopt : std::optional<std::string>(language);
}

std::string NameFormat::language()
{
    std::lock_guard lock(g_mutex);
    return currentLanguage();
}

CompositeNameFormat NameFormat::compositeNameFormat()
{
    std::string subtag = primarySubtag(language());
    if (subtag == "ja" || subtag == "zh" || subtag == "ko" || subtag == "hu" || subtag == "vi")
        return CompositeNameFormat::LastNameFirst;
    return CompositeNameFormat::FirstNameFirst;
}

std::string NameFormat::compositeName(const Person& person)
{
    if (const std::string* formatted = present(person, kPersonFormattedNameProperty);
        formatted && !namesMake(person, *formatted))
        return *formatted;
    const std::string* first = present(person, kPersonFirstNameProperty);
    const std::string* middle = present(person, kPersonMiddleNameProperty);
    const std::string* last = present(person, kPersonLastNameProperty);
    std::string name;
    if (first || middle || last) {
        appendPart(name, present(person, kPersonPrefixProperty));
        if (compositeNameFormat() == CompositeNameFormat::FirstNameFirst) {
            appendPart(name, first);
            appendPart(name, middle);
            appendPart(name, last);
        } else {
            appendPart(name, last);
            appendPart(name, middle);
            appendPart(name, first);
        }
        appendPart(name, present(person, kPersonSuffixProperty));
        return name;
    }
    if (const std::string* organization = present(person, kPersonOrganizationProperty))
        return *organization;
    if (const std::string* nickname = present(person, kPersonNicknameProperty))
        return *nickname;
    return {};
}

std::vector<PersonRef> NameFormat::sortedPeople(std::vector<PersonRef> people, SortOrdering ordering)
{
    std::lock_guard lock(g_mutex);
    std::string language = currentLanguage();
    if (!g_collator || g_collatorLanguage != language) {
        // Building a collator costs milliseconds; keep it until the language changes.
        g_collatorLanguage = language;
        UErrorCode status = U_ZERO_ERROR;
        g_collator.reset(icu::Collator::createInstance(icu::Locale::forLanguageTag(language, status), status));
        if (U_FAILURE(status) || !g_collator) {
            status = U_ZERO_ERROR;
            g_collator.reset(icu::Collator::createInstance(icu::Locale::getRoot(), status));
        }
        if (!g_collator)
            return people;
    }

    // The key depends on the collator's language and on which name comes first.
    std::string tag = language + (ordering == SortOrdering::ByFirstName ? "/first" : "/last");
    static const std::string kNoKey;
    std::vector<foundation::SortKeyOrder> keyed;
    keyed.reserve(people.size());
    for (std::size_t index = 0; index < people.size(); ++index) {
        const Person& person = *people[index];
        const std::string* kept = person.keptSortKey(tag);
        if (!kept) {
            std::string key;
            std::string given = sortPart(person, kPersonFirstNameProperty, kPersonFirstNamePhoneticProperty);
            std::string family = sortPart(person, kPersonLastNameProperty, kPersonLastNamePhoneticProperty);
            if (given.empty() && family.empty()) {
                // Nameless persons (companies) sort by what the address book shows for them.
                appendSortKey(key, *g_collator, compositeName(person));
            } else {
                bool givenFirst = ordering == SortOrdering::ByFirstName;
                appendSortKey(key, *g_collator, givenFirst ? given : family);
                appendSortKey(key, *g_collator, givenFirst ? family : given);
            }
            person.keepSortKey(tag, std::move(key));
            kept = person.keptSortKey(tag);
        }
        keyed.emplace_back(kept ? *kept : kNoKey, index);
    }
    // Equal keys keep the list's order, as a stable sort would.
    std::sort(keyed.begin(), keyed.end());
    std::vector<std::size_t> order;
    order.reserve(keyed.size());
    for (const auto& entry : keyed)
        order.push_back(entry.index);
    std::vector<PersonRef> sorted;
    sorted.reserve(people.size());
    for (std::size_t index : order)
        sorted.push_back(std::move(people[index]));
    return sorted;
}

} // namespace contactstore
