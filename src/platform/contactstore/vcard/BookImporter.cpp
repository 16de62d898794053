#include "platform/contactstore/vcard/BookImporter.h"

#include "platform/contactstore/Group.h"
#include "platform/contactstore/Person.h"
#include "platform/contactstore/Source.h"
#include "platform/contactstore/vcard/ContentLine.h"
#include "platform/contactstore/vcard/PersonCardMapping.h"

#include <cerrno>
#include <cstring>
#include <fstream>
#include <map>
#include <set>
#include <system_error>
#include <unordered_map>

namespace contactstore::vcard {

namespace {

// Group cards name their members as "urn:uuid:..." while the member's own UID may be
// written with or without that prefix, in either case.
std::string normalizedUid(std::string_view uid)
{
    uid = trimSpaces(uid);
    constexpr std::string_view kPrefix = "urn:uuid:";
    if (uid.size() > kPrefix.size() && equalsIgnoringCase(uid.substr(0, kPrefix.size()), kPrefix))
        uid.remove_prefix(kPrefix.size());
    return toLowerAscii(uid);
}

std::string groupName(const Group& group)
{
    if (const std::string* name = group.stringValue(kGroupNameProperty))
        return *name;
    return group.copyCompositeName().value_or(std::string());
}

// A text longer than a record may hold is cut at a character boundary, with a warning,
// rather than refusing the whole file for one runaway field.
bool cutOverlongTexts(Card& card)
{
    bool cut = false;
    auto bound = [&cut](std::string& text) {
        if (text.size() <= Record::kMaxTextBytes)
            return;
        std::size_t end = Record::kMaxTextBytes;
        while (end > 0 && (static_cast<unsigned char>(text[end]) & 0xC0) == 0x80)
            --end;
        text.resize(end);
        cut = true;
    };
    for (std::string* text : { &card.formattedName, &card.firstName, &card.lastName, &card.middleName, &card.prefix,
                               &card.suffix, &card.nickname, &card.firstNamePhonetic, &card.lastNamePhonetic,
                               &card.middleNamePhonetic, &card.organization, &card.department, &card.jobTitle, &card.note })
        bound(*text);
    for (auto* list : { &card.phones, &card.emails, &card.urls, &card.relatedNames }) {
        for (auto& entry : *list) {
            bound(entry.label);
            bound(entry.value);
        }
    }
    for (auto& address : card.addresses) {
        bound(address.label);
        for (std::string* part : { &address.value.street, &address.value.city, &address.value.state, &address.value.zip,
                                   &address.value.country, &address.value.countryCode })
            bound(*part);
    }
    for (auto& account : card.instantMessages) {
        bound(account.label);
        bound(account.value.service);
        bound(account.value.username);
    }
    for (auto& date : card.dates)
        bound(date.label);
    for (auto& category : card.categories)
        bound(category);
    return cut;
}

} // namespace

BookImporter::BookImporter(AddressBookRef book, CardReader::Limits limits)
    : m_book(std::move(book))
    , m_reader(limits)
{
}

std::string BookImporter::where(const std::string& fileName, int line) const
{
    return line > 0 ? fileName + ":" + std::to_string(line) : fileName;
}

void BookImporter::addFile(const std::filesystem::path& file)
{
    const std::string name = file.string();
    std::error_code status;
    if (std::filesystem::is_directory(file, status)) {
        m_errors.push_back(name + ": is a folder, not a vCard file");
        return;
    }
    const std::uintmax_t size = std::filesystem::file_size(file, status);
    if (status) {
        m_errors.push_back(name + ": cannot be read: " + status.message());
        return;
    }
    // Refused before reading, so a huge file is never loaded into memory.
    if (size > m_reader.limits().maxInputBytes) {
        m_errors.push_back(name + ": the file is larger than a vCard file may be");
        return;
    }
    std::ifstream stream(file, std::ios::binary);
    if (!stream) {
        m_errors.push_back(name + ": cannot be read: " + std::strerror(errno));
        return;
    }
    std::string bytes(static_cast<std::size_t>(size), '\0');
    stream.read(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    if (static_cast<std::uintmax_t>(stream.gcount()) != size) {
        m_errors.push_back(name + ": cannot be read to its end");
        return;
    }
    addText(bytes, name);
}

void BookImporter::addText(std::string_view text, std::string fileName)
{
    ReadResult read = m_reader.read(text);
    for (const ReadProblem& problem : read.errors)
        m_errors.push_back(where(fileName, problem.line) + ": " + problem.message);
    for (const ReadProblem& problem : read.warnings)
        m_warnings.push_back(where(fileName, problem.line) + ": " + problem.message);
    if (read.ok())
        m_files.push_back({ std::move(fileName), std::move(read.cards) });
}

ImportResult BookImporter::commit()
{
    ImportResult result;
    result.errors = std::move(m_errors);
    result.warnings = std::move(m_warnings);
    m_errors.clear();
    m_warnings.clear();
    std::vector<FileCards> files = std::move(m_files);
    m_files.clear();
    if (!result.errors.empty())
        return result;

    if (!m_book || !m_book->isAccessGranted()) {
        result.errors.push_back("access to the address book is refused; nothing was imported");
        return result;
    }
    const SourceRef source = m_book->copyDefaultSource();
    if (!source) {
        result.errors.push_back("the address book has no account to import into; nothing was imported");
        return result;
    }

    std::vector<RecordRef> added;
    // Takes back everything this import put into the handle, so a failed import leaves
    // the book as it was.
    auto undo = [&] {
        for (auto record = added.rbegin(); record != added.rend(); ++record)
            (void)m_book->removeRecord(*record);
        result.personsAdded = 0;
        result.groupsCreated = 0;
        result.groupsExtended = 0;
    };

    std::map<std::string, GroupRef> groupsByName;
    std::map<std::string, bool> groupIsNew;
    for (const GroupRef& group : m_book->copyArrayOfAllGroupsInSource(source)) {
        std::string name = groupName(*group);
        if (!name.empty())
            groupsByName.emplace(std::move(name), group);
    }
    std::map<std::string, bool> extended;
    auto groupNamed = [&](const std::string& name, Error* error) -> GroupRef {
        if (const auto found = groupsByName.find(name); found != groupsByName.end())
            return found->second;
        GroupRef group = Group::createInSource(source);
        // Another program importing the same categories at once must not get a second group
        // of this name: at saving, the members join the group stored by then.
        group->setJoinsStoredGroupOfSameName(true);
        if (!group->setValue(kGroupNameProperty, name, error) || !m_book->addRecord(group, error))
            return nullptr;
        added.push_back(group);
        groupsByName.emplace(name, group);
        groupIsNew[name] = true;
        ++result.groupsCreated;
        return group;
    };
    // Only persons of this import join groups here, so remembering what joined is enough to
    // skip a repeat without asking a large group for its members each time.
    std::set<std::pair<const Group*, const Person*>> joined;
    auto join = [&](const std::string& name, const GroupRef& group, const PersonRef& person, Error* error) {
        if (!joined.emplace(group.get(), person.get()).second)
            return true;
        if (!group->addMember(person, error))
            return false;
        if (!groupIsNew[name] && !extended[name]) {
            extended[name] = true;
            ++result.groupsExtended;
        }
        return true;
    };

    for (FileCards& file : files) {
        for (Card& card : file.cards) {
            if (cutOverlongTexts(card))
                result.warnings.push_back(where(file.fileName, card.line) + ": a text longer than "
                    + std::to_string(Record::kMaxTextBytes / 1024) + " KB was cut to that length");
        }
    }

    std::size_t emptyCards = 0;
    std::unordered_map<std::string, PersonRef> personsByUid;
    for (const FileCards& file : files) {
        for (const Card& card : file.cards) {
            if (card.kind == Card::Kind::Group)
                continue;
            if (!PersonCardMapping::holdsPersonData(card)) {
                result.warnings.push_back(where(file.fileName, card.line) + ": the card holds nothing to import; skipped");
                ++emptyCards;
                continue;
            }
            PersonRef person = Person::createInSource(source);
            Error error;
            if (!PersonCardMapping::fillPerson(card, *person, &error) || !m_book->addRecord(person, &error)) {
                result.errors.push_back(where(file.fileName, card.line) + ": the address book refused the card: "
                    + error.description);
                undo();
                return result;
            }
            added.push_back(person);
            ++result.personsAdded;
            if (!card.uid.empty()) {
                // The person keeps the identifier its card gave it, so a later export names it
                // the same way to whoever synchronises with it.
                (void)person->setValue(kPersonUIDProperty, card.uid);
                personsByUid.emplace(normalizedUid(card.uid), person);
            }
            for (const std::string& category : card.categories) {
                const GroupRef group = groupNamed(category, &error);
                if (!group || !join(category, group, person, &error)) {
                    result.errors.push_back(where(file.fileName, card.line) + ": the group \"" + category
                        + "\" could not be made: " + error.description);
                    undo();
                    return result;
                }
            }
        }
    }

    for (const FileCards& file : files) {
        for (const Card& card : file.cards) {
            if (card.kind != Card::Kind::Group)
                continue;
            const std::string place = where(file.fileName, card.line);
            if (card.formattedName.empty()) {
                result.warnings.push_back(place + ": the group card has no name; skipped");
                continue;
            }
            Error error;
            const GroupRef group = groupNamed(card.formattedName, &error);
            if (!group) {
                result.errors.push_back(place + ": the group \"" + card.formattedName
                    + "\" could not be made: " + error.description);
                undo();
                return result;
            }
            for (const std::string& member : card.members) {
                const auto person = personsByUid.find(normalizedUid(member));
                if (person == personsByUid.end()) {
                    result.warnings.push_back(
                        place + ": the member " + member + " is not among the imported cards; left out");
                    continue;
                }
                if (!join(card.formattedName, group, person->second, &error)) {
                    result.errors.push_back(place + ": the group \"" + card.formattedName
                        + "\" refused a member: " + error.description);
                    undo();
                    return result;
                }
            }
        }
    }

    // Files whose every card is empty (a run of bare BEGIN:VCARD lines) are not an import
    // of nothing: they are not what the user meant to import.
    if (emptyCards > 0 && added.empty() && result.groupsExtended == 0) {
        result.errors.push_back("none of the " + std::to_string(emptyCards) + " cards holds anything to import");
        return result;
    }
    Error error;
    if (!m_book->save(&error)) {
        result.errors.push_back("the address book could not be saved: " + error.description
            + "; nothing was imported");
        undo();
    }
    return result;
}

} // namespace contactstore::vcard
