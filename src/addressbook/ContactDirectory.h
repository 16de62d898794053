#pragma once
// The persons of the shared address book laid out for the person lists. A keystroke in a
// search must answer within a frame even for hundreds of thousands of persons, and visiting
// every person record (each in its own place in memory) is what costs, not comparing bytes.
// So the folded search keys of every person sit here in one contiguous text, scanned in one
// pass, and the persons' order by name is kept as one number per person, so that a list of
// matches is put in order by comparing numbers.
//
// Everything here is derived from the records the handle holds and is made again after any
// change through the handle (its change count) or when the handle is replaced, so a list
// never shows more or less than the records do.

#include "platform/contactstore/Forward.h"

#include <bitset>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace tessaro {

class ContactDirectory : public std::enable_shared_from_this<ContactDirectory> {
public:
    // The searched fields, as flags (the order of the store's search keys).
    enum Field : unsigned {
        FirstName = 1u << 0,
        LastName = 1u << 1,
        Nickname = 1u << 2,
        MiddleName = 1u << 3,
        FirstNamePhonetic = 1u << 4,
        LastNamePhonetic = 1u << 5,
        PhoneNumbers = 1u << 6,
    };
    using Fields = unsigned;
    static constexpr Fields kFourNames = FirstName | LastName | Nickname | MiddleName;
    static constexpr Fields kEveryField = kFourNames | FirstNamePhonetic | LastNamePhonetic | PhoneNumbers;
    static constexpr std::size_t npos = static_cast<std::size_t>(-1);

    // The directory of the shared address book as it stands; null when there is no book.
    static std::shared_ptr<ContactDirectory> current();
    // Lets go of the directory kept for the shared handle, when the handle is replaced.
    static void forgetKept();

    ContactDirectory(const contactstore::AddressBookRef& book, std::vector<contactstore::PersonRef> people);

    // Every person of the book, in the book's order.
    const std::vector<contactstore::PersonRef>& people() const { return m_people; }
    // The persons at the positions, or every person in the book's order, each kept alive by
    // this directory (which holds every person) rather than by its own count. A list of
    // many thousands of persons then counts its references in one place instead of touching
    // every person's record in memory, which is what making and dropping long lists cost.
    std::vector<contactstore::PersonRef> persons(const std::vector<std::uint32_t>& positions) const;
    std::vector<contactstore::PersonRef> allPersons() const;

    // Lays the search keys out now rather than at the first keystroke.
    void prepareSearch() { layOutSearchKeys(); }
    // The positions, ascending, of the persons one of whose fields among `fields` contains
    // the folded text.
    std::vector<std::uint32_t> positionsMatching(std::string_view foldedText, Fields fields);

    // Where the person is, npos when it is not one of the book's persons. A caller walking a
    // list in the book's order passes the position after the previous one as the hint, and
    // then, for a person a little after it, no lookup is needed.
    std::size_t positionOf(const contactstore::Person* person, std::size_t hint);

    // What the lists sort a person by: the collation key of its name, and the index section
    // that name falls in.
    struct NamePlace {
        const std::string* key;
        int section;
    };
    using PlaceOf = std::function<NamePlace(const contactstore::PersonRef&)>;
    struct NameOrder {
        // By position: the person's place in the order by name (persons whose names collate
        // equal share a place), and its section.
        std::vector<std::uint32_t> ranks;
        std::vector<int> sections;
        // The positions in the order by name; equal names in the book's order.
        std::vector<std::uint32_t> byName;
    };
    // Whether the order of the collation is made already.
    bool hasNameOrder(std::string_view collation) const { return m_orderMade && m_orderCollation == collation; }
    // The order by name of every person for the collation: read from the file when the
    // book kept it there under `keptAs` for its persons as they stand, else made (and kept).
    // keptAs names everything the order depends on; empty keeps nothing.
    const NameOrder& nameOrder(std::string_view collation, std::string_view keptAs, const PlaceOf& placeOf);

private:
    void layOutSearchKeys();
    void makeNameOrder(const PlaceOf& placeOf);
    bool readKeptNameOrder(const contactstore::AddressBook& book, std::string_view keptAs);
    void keepNameOrder(contactstore::AddressBook& book, std::string_view keptAs) const;

    std::weak_ptr<contactstore::AddressBook> m_book;
    std::vector<contactstore::PersonRef> m_people;
    // One searched text: the folded fields of every person one after the other, each field
    // ended by kFieldEnd (a byte no folded name or number holds; one that did is stood in
    // for by kStandIn). starts[i] is where person i's fields begin, with one more entry for
    // the end. `holds` tells which bytes occur at all: a text with a byte the fields never
    // hold (letters among phone numbers) is not looked for.
    static constexpr char kFieldEnd = '\0';
    static constexpr char kStandIn = '\x1f';
    struct SearchText {
        std::string text;
        std::vector<std::size_t> starts;
        std::bitset<256> holds;

        void startPerson() { starts.push_back(text.size()); }
        void appendField(std::string_view field);
        void finish();
        // Adds the positions, ascending, of the persons with the folded text in one of the
        // fields whose flags are set (the first field of this text in the lowest bit).
        void addMatches(std::string_view folded, Fields fields, std::vector<std::uint32_t>& hits) const;
    };
    // The four names and the two readings, and apart from them the phone numbers: what
    // people type is mostly letters, which phone numbers hardly ever hold.
    SearchText m_names;
    SearchText m_numbers;
    std::unordered_map<const contactstore::Person*, std::size_t> m_positions;
    bool m_orderMade { false };
    std::string m_orderCollation;
    NameOrder m_order;
};

} // namespace tessaro
