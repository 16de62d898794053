#include "platform/contactstore/vcard/BookExporter.h"

#include "platform/contactstore/Group.h"
#include "platform/contactstore/Person.h"
#include "platform/contactstore/vcard/PersonCardMapping.h"
#include "platform/foundation/AtomicFile.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <unordered_map>

namespace contactstore::vcard {

namespace {

std::uint64_t fnv1a(std::string_view text, std::uint64_t hash)
{
    for (char c : text) {
        hash ^= static_cast<unsigned char>(c);
        hash *= 0x100000001B3ull;
    }
    return hash;
}

std::string groupName(const Group& group)
{
    if (const std::string* name = group.stringValue(kGroupNameProperty))
        return *name;
    return group.copyCompositeName().value_or(std::string());
}

} // namespace

std::string BookExporter::uidFor(const AddressBook& book, const Record& record)
{
    // The file as it really is, however its path was spelt.
    std::error_code ignored;
    const std::string key = std::filesystem::weakly_canonical(book.databasePath(), ignored).string() + "#" + std::to_string(record.recordType()) + "#"
        + std::to_string(record.recordID());
    const std::uint64_t high = fnv1a(key, 0xCBF29CE484222325ull);
    const std::uint64_t low = fnv1a(key, 0x84222325CBF29CE4ull ^ high);
    char text[64];
    // Version 8 (a UUID of the writer's own making), variant 10.
    std::snprintf(text, sizeof text, "urn:uuid:%08x-%04x-8%03x-%04x-%012llx", static_cast<unsigned>(high >> 32),
        static_cast<unsigned>((high >> 16) & 0xFFFF), static_cast<unsigned>(high & 0x0FFF),
        static_cast<unsigned>(0x8000 | ((low >> 48) & 0x3FFF)),
        static_cast<unsigned long long>(low & 0xFFFFFFFFFFFFull));
    return text;
}

std::vector<Card> BookExporter::cards(const AddressBook& book)
{
    const std::vector<PersonRef> persons = book.copyArrayOfAllPeople();
    const std::vector<GroupRef> groups = book.copyArrayOfAllGroups();

    std::unordered_map<const Person*, std::size_t> indexOf;
    std::vector<Card> cards;
    cards.reserve(persons.size() + groups.size());
    for (const PersonRef& person : persons) {
        Card card = PersonCardMapping::cardFromPerson(*person);
        const std::string* stored = person->stringValue(kPersonUIDProperty);
        card.uid = stored ? *stored : uidFor(book, *person);
        indexOf.emplace(person.get(), cards.size());
        cards.push_back(std::move(card));
    }
    for (const GroupRef& group : groups) {
        Card card;
        card.kind = Card::Kind::Group;
        card.formattedName = groupName(*group);
        card.uid = uidFor(book, *group);
        for (const PersonRef& member : group->copyArrayOfAllMembers()) {
            const auto found = indexOf.find(member.get());
            if (found == indexOf.end())
                continue;
            card.members.push_back(cards[found->second].uid);
            std::vector<std::string>& categories = cards[found->second].categories;
            if (!card.formattedName.empty()
                && std::find(categories.begin(), categories.end(), card.formattedName) == categories.end())
                categories.push_back(card.formattedName);
        }
        cards.push_back(std::move(card));
    }
    return cards;
}

ExportResult BookExporter::exportToFile(const AddressBook& book, const std::filesystem::path& file,
    CardWriter::Version version)
{
    ExportResult result;
    if (!book.isAccessGranted()) {
        result.error = "access to the address book is refused";
        return result;
    }
    const std::vector<Card> all = cards(book);
    const CardWriter writer(version);
    std::string text;
    for (const Card& card : all) {
        writer.append(card, text);
        if (card.kind == Card::Kind::Group)
            ++result.groups;
        else
            ++result.persons;
    }

    // Written whole or not at all, through a link to where it points, keeping the mode of
    // the file it replaces; a pipe or a device is written directly.
    std::string failure;
    if (!foundation::AtomicFile::write(file, text, &failure))
        result.error = failure;
    return result;
}

} // namespace contactstore::vcard
