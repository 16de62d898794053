#include "addressbook/ContactDirectory.h"

#include "addressbook/SharedAddressBook.h"
#include "platform/contactstore/AddressBook.h"
#include "platform/contactstore/Person.h"
#include "platform/contactstore/PersonSearchKeys.h"
#include "platform/foundation/SortKeyOrder.h"

#include <algorithm>
#include <cstring>
#include <iterator>
#if defined(__SSE2__)
#include <emmintrin.h>
#endif
#include <mutex>

namespace tessaro {

using namespace contactstore;

namespace {

struct Kept {
    std::mutex mutex;
    std::weak_ptr<AddressBook> book;
    std::uint64_t changeCount { 0 };
    std::shared_ptr<ContactDirectory> directory;
};

Kept& kept()
{
    static Kept instance;
    return instance;
}

} // namespace

std::shared_ptr<ContactDirectory> ContactDirectory::current()
{
    auto book = SharedAddressBook::get();
    if (!book)
        return nullptr;
    auto& slot = kept();
    std::lock_guard lock(slot.mutex);
    if (!slot.directory || slot.book.lock() != book || slot.changeCount != book->changeCount()) {
        slot.directory = std::make_shared<ContactDirectory>(book, book->copyArrayOfAllPeople());
        slot.book = book;
        slot.changeCount = book->changeCount();
    }
    return slot.directory;
}

void ContactDirectory::forgetKept()
{
    std::shared_ptr<ContactDirectory> dropped;
    auto& slot = kept();
    std::lock_guard lock(slot.mutex);
    dropped = std::move(slot.directory);
    slot.book.reset();
}

ContactDirectory::ContactDirectory(const AddressBookRef& book, std::vector<PersonRef> people)
    : m_book(book)
    , m_people(std::move(people))
{
}

std::vector<PersonRef> ContactDirectory::persons(const std::vector<std::uint32_t>& positions) const
{
    const std::shared_ptr<const ContactDirectory> self = shared_from_this();
    std::vector<PersonRef> persons;
    persons.reserve(positions.size());
    for (std::uint32_t position : positions)
        persons.emplace_back(self, m_people[position].get());
    return persons;
}

std::vector<PersonRef> ContactDirectory::allPersons() const
{
    const std::shared_ptr<const ContactDirectory> self = shared_from_this();
    std::vector<PersonRef> persons;
    persons.reserve(m_people.size());
    for (const auto& person : m_people)
        persons.emplace_back(self, person.get());
    return persons;
}

void ContactDirectory::layOutSearchKeys()
{
    if (!m_names.starts.empty())
        return;
    m_names.starts.reserve(m_people.size() + 1);
    m_numbers.starts.reserve(m_people.size() + 1);
    for (const auto& person : m_people) {
        m_names.startPerson();
        m_numbers.startPerson();
        const auto fields = PersonSearchKeys::fields(person->searchKeys());
        for (std::size_t field = 0; field < fields.size(); ++field)
            (field == PersonSearchKeys::PhoneNumbers ? m_numbers : m_names).appendField(fields[field]);
    }
    m_names.finish();
    m_numbers.finish();
}

void ContactDirectory::SearchText::appendField(std::string_view field)
{
    const std::size_t at = text.size();
    text.append(field);
    // A field may not hold the separator, or the fields after it would be miscounted.
    std::replace(text.begin() + static_cast<std::ptrdiff_t>(at), text.end(), kFieldEnd, kStandIn);
    text.push_back(kFieldEnd);
}

void ContactDirectory::SearchText::finish()
{
    starts.push_back(text.size());
    for (char byte : text)
        holds.set(static_cast<unsigned char>(byte));
}

namespace {

// Where the folded text next occurs in the text from `from` on; npos when it does not.
// Short texts are what people type, and the letters they start with are frequent, so
// stopping at every occurrence of the first letter to compare the rest is what a plain
// search spends its time on. Sixteen places at a time are tested for the first and the last
// letter together instead, and only places with both are compared.
std::size_t occurrence(std::string_view text, std::string_view folded, std::size_t from)
{
#if defined(__SSE2__)
    const std::size_t length = folded.size();
    if (length >= 2) {
        const __m128i first = _mm_set1_epi8(folded.front());
        const __m128i last = _mm_set1_epi8(folded.back());
        const char* data = text.data();
        std::size_t at = from;
        for (; at + length - 1 + 16 <= text.size(); at += 16) {
            const __m128i firsts = _mm_loadu_si128(reinterpret_cast<const __m128i*>(data + at));
            const __m128i lasts = _mm_loadu_si128(reinterpret_cast<const __m128i*>(data + at + length - 1));
            auto both = static_cast<unsigned>(_mm_movemask_epi8(_mm_and_si128(_mm_cmpeq_epi8(firsts, first), _mm_cmpeq_epi8(lasts, last))));
            while (both) {
                const std::size_t candidate = at + static_cast<std::size_t>(__builtin_ctz(both));
                if (std::memcmp(data + candidate + 1, folded.data() + 1, length - 2) == 0)
                    return candidate;
                both &= both - 1;
            }
        }
        return text.find(folded, at);
    }
#endif
    return text.find(folded, from);
}

} // namespace

void ContactDirectory::SearchText::addMatches(std::string_view folded, Fields fields, std::vector<std::uint32_t>& hits) const
{
    for (char byte : folded) {
        if (!holds.test(static_cast<unsigned char>(byte)))
            return;
    }
    // Every field ends with the separator, which the folded text does not hold, so an
    // occurrence lies inside one field; which one is told by the separators before it.
    const std::string_view all = text;
    std::size_t person = 0;
    std::size_t from = 0;
    for (;;) {
        const std::size_t at = occurrence(all, folded, from);
        if (at == std::string_view::npos)
            break;
        while (starts[person + 1] <= at)
            ++person;
        const auto field = std::count(all.begin() + static_cast<std::ptrdiff_t>(starts[person]), all.begin() + static_cast<std::ptrdiff_t>(at), kFieldEnd);
        if (fields & (1u << field)) {
            hits.push_back(static_cast<std::uint32_t>(person));
            from = starts[person + 1];
        } else {
            from = at + 1;
        }
    }
}

std::vector<std::uint32_t> ContactDirectory::positionsMatching(std::string_view foldedText, Fields fields)
{
    std::vector<std::uint32_t> hits;
    if (foldedText.empty() || m_people.empty() || foldedText.find(kFieldEnd) != std::string_view::npos)
        return hits;
    layOutSearchKeys();
    m_names.addMatches(foldedText, fields, hits);
    std::vector<std::uint32_t> byNumber;
    m_numbers.addMatches(foldedText, fields >> PersonSearchKeys::PhoneNumbers, byNumber);
    if (byNumber.empty())
        return hits;
    if (hits.empty())
        return byNumber;
    std::vector<std::uint32_t> both;
    both.reserve(hits.size() + byNumber.size());
    std::set_union(hits.begin(), hits.end(), byNumber.begin(), byNumber.end(), std::back_inserter(both));
    return both;
}

std::size_t ContactDirectory::positionOf(const Person* person, std::size_t hint)
{
    // A list in the book's order, or the matches of a search, meets each person a little
    // after the previous one: looking there first spares the lookup.
    constexpr std::size_t kNearby = 32;
    for (std::size_t position = hint; position < m_people.size() && position < hint + kNearby; ++position) {
        if (m_people[position].get() == person)
            return position;
    }
    if (m_positions.empty()) {
        m_positions.reserve(m_people.size());
        for (std::size_t position = 0; position < m_people.size(); ++position)
            m_positions.emplace(m_people[position].get(), position);
    }
    auto found = m_positions.find(person);
    return found == m_positions.end() ? npos : found->second;
}

const ContactDirectory::NameOrder& ContactDirectory::nameOrder(std::string_view collation, std::string_view keptAs, const PlaceOf& placeOf)
{
    if (hasNameOrder(collation))
        return m_order;
    auto book = m_book.lock();
    if (!book || keptAs.empty() || !readKeptNameOrder(*book, keptAs)) {
        makeNameOrder(placeOf);
        if (book && !keptAs.empty())
            keepNameOrder(*book, keptAs);
    }
    m_orderCollation = std::string(collation);
    m_orderMade = true;
    return m_order;
}

void ContactDirectory::makeNameOrder(const PlaceOf& placeOf)
{
    m_order.sections.resize(m_people.size());
    std::vector<foundation::SortKeyOrder> keyed;
    keyed.reserve(m_people.size());
    for (std::size_t position = 0; position < m_people.size(); ++position) {
        NamePlace place = placeOf(m_people[position]);
        keyed.emplace_back(*place.key, position);
        m_order.sections[position] = place.section;
    }
    std::sort(keyed.begin(), keyed.end());
    m_order.ranks.assign(m_people.size(), 0);
    m_order.byName.clear();
    m_order.byName.reserve(m_people.size());
    std::uint32_t rank = 0;
    for (std::size_t i = 0; i < keyed.size(); ++i) {
        if (i > 0 && !keyed[i].sameKey(keyed[i - 1]))
            ++rank;
        m_order.ranks[keyed[i].index] = rank;
        m_order.byName.push_back(static_cast<std::uint32_t>(keyed[i].index));
    }
}

namespace {

// The kept order: the number of persons, then per person in the book's order its
// identifier, its rank and its section, each four bytes in the machine's order (the file
// stays on the device that made it; another reads nothing it cannot check).
template <typename Number>
void appendNumber(std::string& data, Number number)
{
    static_assert(sizeof(Number) == 4);
    data.append(reinterpret_cast<const char*>(&number), sizeof number);
}

template <typename Number>
Number numberAt(std::string_view data, std::size_t index)
{
    Number number;
    std::memcpy(&number, data.data() + index * 4, sizeof number);
    return number;
}

} // namespace

bool ContactDirectory::readKeptNameOrder(const AddressBook& book, std::string_view keptAs)
{
    auto kept = book.copyKeptPersonsData(keptAs);
    const std::size_t count = m_people.size();
    if (!kept || kept->size() != 4 * (1 + 3 * count) || numberAt<std::uint32_t>(*kept, 0) != count)
        return false;
    std::string_view data(*kept);
    data.remove_prefix(4);
    NameOrder order;
    order.ranks.resize(count);
    order.sections.resize(count);
    for (std::size_t position = 0; position < count; ++position) {
        if (numberAt<std::int32_t>(data, position) != m_people[position]->recordID())
            return false;
        order.ranks[position] = numberAt<std::uint32_t>(data, count + position);
        order.sections[position] = numberAt<std::int32_t>(data, 2 * count + position);
        if (order.ranks[position] >= count)
            return false;
    }
    // The positions by name; equal ranks in the book's order.
    order.byName = foundation::orderOfRanks(order.ranks, count);
    m_order = std::move(order);
    return true;
}

void ContactDirectory::keepNameOrder(AddressBook& book, std::string_view keptAs) const
{
    if (m_people.size() > UINT32_MAX)
        return;
    std::string data;
    data.reserve(4 * (1 + 3 * m_people.size()));
    appendNumber(data, static_cast<std::uint32_t>(m_people.size()));
    for (const auto& person : m_people)
        appendNumber(data, static_cast<std::int32_t>(person->recordID()));
    for (std::uint32_t rank : m_order.ranks)
        appendNumber(data, rank);
    for (int section : m_order.sections)
        appendNumber(data, static_cast<std::int32_t>(section));
    // Only a help for the next start: a book another process has changed meanwhile, or a
    // file that cannot be written now, keeps nothing, and the order is made again then.
    (void)book.keepPersonsData(keptAs, data);
}

} // namespace tessaro
