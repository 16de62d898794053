#include "addressbook/ContactDirectory.h"

#include "addressbook/SharedAddressBook.h"
#include "platform/contactstore/AddressBook.h"
#include "platform/contactstore/Person.h"
#include "platform/contactstore/PersonSearchKeys.h"
#include "platform/foundation/SortKeyOrder.h"

#include <algorithm>
#include <cstring>
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

ContactDirectory::ContactDirectory(const AddressBookRef& book, std::vector<PersonRef> people)
    : m_book(book)
    , m_people(std::move(people))
{
}

void ContactDirectory::layOutSearchKeys()
{
    if (!m_starts.empty())
        return;
    m_starts.reserve(m_people.size() + 1);
    for (const auto& person : m_people) {
        m_starts.push_back(m_searchText.size());
        m_searchText.append(person->searchKeys());
    }
    m_starts.push_back(m_searchText.size());
}

std::vector<std::uint32_t> ContactDirectory::positionsMatching(std::string_view foldedText, Fields fields)
{
    std::vector<std::uint32_t> hits;
    if (foldedText.empty() || m_people.empty())
        return hits;
    layOutSearchKeys();
    // The text is scanned as a whole; an occurrence counts when it lies inside one of the
    // person's wanted fields (not across the lengths that set the fields apart).
    const std::string_view text = m_searchText;
    std::size_t person = 0;
    std::size_t from = 0;
    for (;;) {
        std::size_t at = text.find(foldedText, from);
        if (at == std::string_view::npos)
            break;
        while (m_starts[person + 1] <= at)
            ++person;
        auto keys = PersonSearchKeys::fields(text.substr(m_starts[person], m_starts[person + 1] - m_starts[person]));
        bool inWantedField = false;
        for (std::size_t field = 0; field < keys.size() && !inWantedField; ++field) {
            auto begin = static_cast<std::size_t>(keys[field].data() - text.data());
            inWantedField = (fields & (1u << field)) && !keys[field].empty() && at >= begin
                && at + foldedText.size() <= begin + keys[field].size();
        }
        if (inWantedField) {
            hits.push_back(static_cast<std::uint32_t>(person));
            from = m_starts[person + 1];
        } else {
            from = at + 1;
        }
    }
    return hits;
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
