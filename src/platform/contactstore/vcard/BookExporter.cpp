#include "platform/contactstore/vcard/BookExporter.h"

#include "platform/contactstore/AccessControl.h"
#include "platform/contactstore/AddressBookDatabase.h"
#include "platform/contactstore/Group.h"
#include "platform/contactstore/Person.h"
#include "platform/contactstore/vcard/PersonCardMapping.h"
#include "platform/foundation/AtomicFile.h"
#include "platform/foundation/DataLocations.h"

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

// Cards are handed on in pieces of about this size: big enough for few writes, small
// enough that a book of any size is written in little memory.
constexpr std::size_t kWrittenPiece = 256 * 1024;

std::string groupName(const Group& group)
{
    if (const std::string* name = group.stringValue(kGroupNameProperty))
        return *name;
    return group.copyCompositeName().value_or(std::string());
}

} // namespace

std::string BookExporter::uidFor(const AddressBook& book, const Record& record)
{
    return uidFor(book.databasePath(), record.recordType(), record.recordID());
}

std::string BookExporter::uidFor(const std::filesystem::path& databasePath, RecordType type, RecordID recordID)
{
    // The file as it really is, however its path was spelt.
    std::error_code ignored;
    const std::string key = std::filesystem::weakly_canonical(databasePath, ignored).string() + "#" + std::to_string(type) + "#"
        + std::to_string(recordID);
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
    // Written whole or not at all, through a link to where it points, keeping the mode of
    // the file it replaces; a pipe or a device is written directly.
    foundation::AtomicFile out(file);
    if (!out.open(&result.error))
        return result;
    const CardWriter writer(version);
    std::string text;
    for (const Card& card : cards(book)) {
        writer.append(card, text);
        if (card.kind == Card::Kind::Group)
            ++result.groups;
        else
            ++result.persons;
        if (text.size() >= kWrittenPiece) {
            if (!out.append(text, &result.error))
                return result;
            text.clear();
        }
    }
    if (!out.append(text, &result.error) || !out.commit(&result.error))
        return result;
    return result;
}

ExportResult BookExporter::exportStore(const std::filesystem::path& directory,
    const std::function<bool(std::string_view, std::string&)>& write, CardWriter::Version version)
{
    ExportResult result;
    if (AccessControl::isAccessRefused()) {
        result.error = "access to the address book is refused";
        return result;
    }
    Error error;
    const std::filesystem::path databasePath = directory / AddressBook::kDatabaseFileName;
    if (!foundation::DataLocations::ensureDirectory(directory)) {
        result.error = "the address book folder " + directory.string() + " cannot be created";
        return result;
    }
    const auto database = AddressBookDatabase::open(databasePath, &error);
    if (!database) {
        result.error = "the address book cannot be opened: " + error.description;
        return result;
    }

    const CardWriter writer(version);
    std::string text;
    auto flush = [&](std::size_t atLeast) {
        if (text.size() < atLeast || !result.error.empty())
            return result.error.empty();
        if (!write(text, result.error)) {
            if (result.error.empty())
                result.error = "the cards could not be written";
            return false;
        }
        text.clear();
        return true;
    };

    // Groups and their members are few beside the persons: they are read first, so that
    // each person's card names its groups, and the identifiers of members are kept for the
    // group cards written after the persons.
    std::vector<AddressBookDatabase::StoredGroup> groups;
    std::unordered_map<RecordID, std::vector<std::size_t>> groupsOf;
    std::unordered_map<RecordID, std::string> memberUids;
    bool groupsIndexed = false;
    auto indexGroups = [&] {
        for (std::size_t index = 0; index < groups.size(); ++index) {
            for (RecordID member : groups[index].members) {
                memberUids.emplace(member, std::string());
                if (!groups[index].name || groups[index].name->empty())
                    continue;
                auto& of = groupsOf[member];
                if (std::find(of.begin(), of.end(), index) == of.end())
                    of.push_back(index);
            }
        }
        groupsIndexed = true;
    };
    bool read = database->readEachPerson(groups, [&](const Person& person) {
        if (!groupsIndexed)
            indexGroups();
        Card card = PersonCardMapping::cardFromPerson(person);
        const std::string* stored = person.stringValue(kPersonUIDProperty);
        card.uid = stored ? *stored : uidFor(databasePath, kPersonType, person.recordID());
        if (auto of = groupsOf.find(person.recordID()); of != groupsOf.end()) {
            for (std::size_t index : of->second) {
                if (std::find(card.categories.begin(), card.categories.end(), *groups[index].name) == card.categories.end())
                    card.categories.push_back(*groups[index].name);
            }
        }
        if (auto member = memberUids.find(person.recordID()); member != memberUids.end())
            member->second = card.uid;
        writer.append(card, text);
        ++result.persons;
        return flush(kWrittenPiece);
    }, &error);
    if (!result.error.empty())
        return result;
    if (!read) {
        result.error = "the address book cannot be read: " + error.description;
        return result;
    }
    for (const auto& group : groups) {
        Card card;
        card.kind = Card::Kind::Group;
        card.formattedName = group.name.value_or(std::string());
        card.uid = uidFor(databasePath, kGroupType, group.recordID);
        for (RecordID member : group.members) {
            if (auto uid = memberUids.find(member); uid != memberUids.end() && !uid->second.empty())
                card.members.push_back(uid->second);
        }
        writer.append(card, text);
        ++result.groups;
        if (!flush(kWrittenPiece))
            return result;
    }
    (void)flush(0);
    return result;
}

ExportResult BookExporter::exportStoreToFile(const std::filesystem::path& directory, const std::filesystem::path& file,
    CardWriter::Version version)
{
    foundation::AtomicFile out(file);
    ExportResult result;
    if (!out.open(&result.error))
        return result;
    result = exportStore(directory, [&out](std::string_view text, std::string& error) { return out.append(text, &error); }, version);
    if (result.ok())
        (void)out.commit(&result.error);
    return result;
}

} // namespace contactstore::vcard
