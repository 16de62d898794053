#include "platform/contactstore/vcard/BookImporter.h"

#include "platform/contactstore/AccessControl.h"
#include "platform/contactstore/AddressBookDatabase.h"
#include "platform/contactstore/Group.h"
#include "platform/contactstore/Person.h"
#include "platform/contactstore/Source.h"
#include "platform/contactstore/vcard/ContentLine.h"
#include "platform/contactstore/vcard/PersonCardMapping.h"

#include "platform/foundation/DataLocations.h"

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <cstdint>
#include <functional>
#include <cstring>
#include <fstream>
#include <future>
#include <map>
#include <optional>
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


// Where an import puts what it reads: the pending changes of a handle (saved at the end), or
// the store's file itself (in one transaction). Persons and groups are named by tokens of
// the target's own choosing.
class ImportTarget {
public:
    using Token = std::int64_t;
    virtual ~ImportTarget() = default;
    virtual SourceRef source() const = 0;
    [[nodiscard]] virtual bool addPerson(const PersonRef& person, Token& token, Error* error) = 0;
    // The group of that name in the import's account, made when missing.
    [[nodiscard]] virtual bool groupNamed(const std::string& name, Token& group, bool& created, Error* error) = 0;
    // Puts the person into the group; joined says whether it was not there yet.
    [[nodiscard]] virtual bool join(Token group, Token person, bool& joined, Error* error) = 0;
    virtual void keepUid(const std::string& normalized, Token person) = 0;
    virtual std::optional<Token> personWithUid(const std::string& normalized) = 0;
    [[nodiscard]] virtual bool finish(Error* error) = 0;
    // Takes back everything added.
    virtual void takeBack() = 0;
};

class HandleTarget final : public ImportTarget {
public:
    HandleTarget(AddressBook& book, SourceRef source)
        : m_book(book)
        , m_source(std::move(source))
    {
        for (const GroupRef& group : m_book.copyArrayOfAllGroupsInSource(m_source)) {
            std::string name = groupName(*group);
            if (!name.empty() && !m_groupsByName.count(name)) {
                m_groupsByName.emplace(std::move(name), m_groups.size());
                m_groups.push_back(group);
            }
        }
    }

    SourceRef source() const override { return m_source; }

    bool addPerson(const PersonRef& person, Token& token, Error* error) override
    {
        if (!m_book.addRecord(person, error))
            return false;
        token = static_cast<Token>(m_people.size());
        m_people.push_back(person);
        m_added.push_back(person);
        return true;
    }

    bool groupNamed(const std::string& name, Token& group, bool& created, Error* error) override
    {
        if (auto found = m_groupsByName.find(name); found != m_groupsByName.end()) {
            group = static_cast<Token>(found->second);
            created = false;
            return true;
        }
        GroupRef made = Group::createInSource(m_source);
        // Another program importing the same categories at once must not get a second group
        // of this name: at saving, the members join the group stored by then.
        made->setJoinsStoredGroupOfSameName(true);
        if (!made->setValue(kGroupNameProperty, name, error) || !m_book.addRecord(made, error))
            return false;
        m_added.push_back(made);
        group = static_cast<Token>(m_groups.size());
        m_groupsByName.emplace(name, m_groups.size());
        m_groups.push_back(std::move(made));
        created = true;
        return true;
    }

    bool join(Token group, Token person, bool& joined, Error* error) override
    {
        // Only persons of this import join groups here, so remembering what joined is
        // enough to skip a repeat without asking a large group for its members each time.
        joined = m_joined.emplace(group, person).second;
        return !joined || m_groups[static_cast<std::size_t>(group)]->addMember(m_people[static_cast<std::size_t>(person)], error);
    }

    void keepUid(const std::string& normalized, Token person) override { m_personsByUid.emplace(normalized, person); }

    std::optional<Token> personWithUid(const std::string& normalized) override
    {
        auto found = m_personsByUid.find(normalized);
        return found == m_personsByUid.end() ? std::nullopt : std::optional<Token>(found->second);
    }

    bool finish(Error* error) override { return m_book.save(error); }

    void takeBack() override
    {
        // Last added first: each then sits at the end of the book's lists.
        std::vector<RecordRef> added(m_added.rbegin(), m_added.rend());
        (void)m_book.removeRecords(added);
        m_added.clear();
    }

private:
    AddressBook& m_book;
    SourceRef m_source;
    std::vector<PersonRef> m_people;
    std::vector<GroupRef> m_groups;
    std::map<std::string, std::size_t> m_groupsByName;
    std::vector<RecordRef> m_added;
    std::set<std::pair<Token, Token>> m_joined;
    std::unordered_map<std::string, Token> m_personsByUid;
};

// Straight into the file: a person is written as soon as its card is read and then let go;
// the transaction takes back everything when the import fails.
class StoreTarget final : public ImportTarget {
public:
    StoreTarget(std::shared_ptr<AddressBookDatabase> database, std::unique_ptr<AddressBookDatabase::Addition> addition)
        : m_database(std::move(database))
        , m_addition(std::move(addition))
    {
    }

    SourceRef source() const override { return nullptr; }

    bool addPerson(const PersonRef& person, Token& token, Error* error) override
    {
        if (!m_addition->addPerson(*person, error))
            return false;
        token = person->recordID();
        return true;
    }

    bool groupNamed(const std::string& name, Token& group, bool& created, Error* error) override
    {
        if (auto found = m_groupsByName.find(name); found != m_groupsByName.end()) {
            group = found->second;
            created = false;
            return true;
        }
        RecordID stored = kRecordInvalidID;
        if (!m_addition->groupNamed(name, stored, created, error))
            return false;
        m_groupsByName.emplace(name, stored);
        group = stored;
        return true;
    }

    bool join(Token group, Token person, bool& joined, Error* error) override
    {
        joined = true;
        return m_addition->addMember(static_cast<RecordID>(group), static_cast<RecordID>(person), error);
    }

    // Identifiers are kept by a hash of them: a quarter of a million of them in full would
    // be most of what the import holds in memory. A person found by the hash is checked
    // against the identifier stored with it.
    void keepUid(const std::string& normalized, Token person) override { m_personsByUid.emplace(std::hash<std::string> {}(normalized), person); }

    std::optional<Token> personWithUid(const std::string& normalized) override
    {
        auto found = m_personsByUid.find(std::hash<std::string> {}(normalized));
        if (found == m_personsByUid.end())
            return std::nullopt;
        std::optional<std::string> stored = m_addition->storedUid(static_cast<RecordID>(found->second));
        if (!stored || normalizedUid(*stored) != normalized)
            return std::nullopt;
        return found->second;
    }

    bool finish(Error* error) override { return m_addition->commit(error); }

    void takeBack() override { m_addition.reset(); }

private:
    std::shared_ptr<AddressBookDatabase> m_database;
    std::unique_ptr<AddressBookDatabase::Addition> m_addition;
    std::map<std::string, RecordID> m_groupsByName;
    std::unordered_map<std::size_t, Token> m_personsByUid;
};

// The cards of the files in the order they come, put into a target: persons at once (with
// their categories as groups), group cards at the end, when every person they may name is in.
class CardImport {
public:
    CardImport(ImportTarget& target, ImportResult& result)
        : m_target(target)
        , m_result(result)
    {
    }

    // What a card becomes before it is put in. Nothing in it depends on the cards before, so
    // it is made beside the reading (see readPieces) while earlier cards are stored.
    struct Prepared {
        // A text was longer than a record keeps and was cut.
        bool cut { false };
        // The person a person card makes; null for a group card or a card holding nothing.
        PersonRef person;
        // Why the person could not be made; empty when it was.
        std::string refusal;
    };

    static Prepared prepare(Card& card, const SourceRef& source)
    {
        Prepared prepared;
        prepared.cut = cutOverlongTexts(card);
        if (card.kind == Card::Kind::Group || !PersonCardMapping::holdsPersonData(card))
            return prepared;
        PersonRef person = Person::createInSource(source);
        // The person keeps the identifier its card gave it, so a later export names it the
        // same way to whoever synchronises with it.
        if (!card.uid.empty())
            (void)person->setValue(kPersonUIDProperty, card.uid);
        Error error;
        if (!PersonCardMapping::fillPerson(card, *person, &error)) {
            prepared.refusal = error.description;
            return prepared;
        }
        prepared.person = std::move(person);
        return prepared;
    }

    // False (and everything taken back) when a card could not be put in.
    bool addCards(std::vector<Card>& cards, const std::string& fileName)
    {
        std::vector<Prepared> prepared;
        return addCards(cards, prepared, fileName);
    }

    // The cards with what the first of them make (see readPieces); the rest are made here.
    bool addCards(std::vector<Card>& cards, std::vector<Prepared>& prepared, const std::string& fileName)
    {
        prepared.reserve(cards.size());
        for (std::size_t index = prepared.size(); index < cards.size(); ++index)
            prepared.push_back(prepare(cards[index], m_target.source()));
        for (std::size_t index = 0; index < cards.size(); ++index) {
            Card& card = cards[index];
            if (prepared[index].cut)
                m_result.warnings.push_back(place(fileName, card.line) + ": a text longer than "
                    + std::to_string(Record::kMaxTextBytes / 1024) + " KB was cut to that length");
            if (card.kind == Card::Kind::Group) {
                m_groupCards.push_back({ fileName, std::move(card) });
                continue;
            }
            if (!prepared[index].person && prepared[index].refusal.empty()) {
                m_result.warnings.push_back(place(fileName, card.line) + ": the card holds nothing to import; skipped");
                ++m_emptyCards;
                continue;
            }
            if (!addPerson(card, prepared[index], fileName))
                return false;
        }
        return true;
    }

    // Puts the group cards in and finishes the import (saves, or commits).
    bool finish()
    {
        for (auto& [fileName, card] : m_groupCards) {
            const std::string at = place(fileName, card.line);
            if (card.formattedName.empty()) {
                m_result.warnings.push_back(at + ": the group card has no name; skipped");
                continue;
            }
            Error error;
            ImportTarget::Token group = 0;
            if (!groupNamed(card.formattedName, group, &error))
                return fail(at + ": the group \"" + card.formattedName + "\" could not be made: " + error.description);
            for (const std::string& member : card.members) {
                const auto person = m_target.personWithUid(normalizedUid(member));
                if (!person) {
                    m_result.warnings.push_back(at + ": the member " + member + " is not among the imported cards; left out");
                    continue;
                }
                if (!join(card.formattedName, group, *person, &error))
                    return fail(at + ": the group \"" + card.formattedName + "\" refused a member: " + error.description);
            }
        }
        // Files whose every card is empty (a run of bare BEGIN:VCARD lines) are not an import
        // of nothing: they are not what the user meant to import.
        if (m_emptyCards > 0 && m_result.personsAdded == 0 && m_result.groupsCreated == 0 && m_result.groupsExtended == 0) {
            m_result.errors.push_back("none of the " + std::to_string(m_emptyCards) + " cards holds anything to import");
            m_target.takeBack();
            return false;
        }
        Error error;
        if (!m_target.finish(&error))
            return fail("the address book could not be saved: " + error.description + "; nothing was imported");
        return true;
    }

private:
    static std::string place(const std::string& fileName, int line)
    {
        return line > 0 ? fileName + ":" + std::to_string(line) : fileName;
    }

    bool fail(std::string message)
    {
        m_result.errors.push_back(std::move(message));
        m_target.takeBack();
        m_result.personsAdded = 0;
        m_result.groupsCreated = 0;
        m_result.groupsExtended = 0;
        return false;
    }

    bool addPerson(const Card& card, const Prepared& prepared, const std::string& fileName)
    {
        Error error;
        ImportTarget::Token token = 0;
        if (!prepared.refusal.empty())
            return fail(place(fileName, card.line) + ": the address book refused the card: " + prepared.refusal);
        if (!m_target.addPerson(prepared.person, token, &error))
            return fail(place(fileName, card.line) + ": the address book refused the card: " + error.description);
        ++m_result.personsAdded;
        if (!card.uid.empty())
            m_target.keepUid(normalizedUid(card.uid), token);
        for (const std::string& category : card.categories) {
            ImportTarget::Token group = 0;
            if (!groupNamed(category, group, &error) || !join(category, group, token, &error))
                return fail(place(fileName, card.line) + ": the group \"" + category + "\" could not be made: " + error.description);
        }
        return true;
    }

    bool groupNamed(const std::string& name, ImportTarget::Token& group, Error* error)
    {
        bool created = false;
        if (!m_target.groupNamed(name, group, created, error))
            return false;
        if (created) {
            m_madeHere.insert(name);
            ++m_result.groupsCreated;
        }
        return true;
    }

    bool join(const std::string& name, ImportTarget::Token group, ImportTarget::Token person, Error* error)
    {
        bool joined = false;
        if (!m_target.join(group, person, joined, error))
            return false;
        if (joined && !m_madeHere.count(name) && m_extended.insert(name).second)
            ++m_result.groupsExtended;
        return true;
    }

    ImportTarget& m_target;
    ImportResult& m_result;
    std::vector<std::pair<std::string, Card>> m_groupCards;
    std::set<std::string> m_madeHere;
    std::set<std::string> m_extended;
    std::size_t m_emptyCards { 0 };
};

bool equalsIgnoringCaseAt(std::string_view text, std::size_t at, std::string_view wanted)
{
    return text.size() - at >= wanted.size() && equalsIgnoringCase(text.substr(at, wanted.size()), wanted);
}

// The lines of a text as the reader counts them: CR LF, CR CR LF, a lone CR and a lone LF
// each end one (old Macintosh files end every line in a lone CR).
int countLineEnds(std::string_view text)
{
    auto count = std::count(text.begin(), text.end(), '\n');
    for (std::size_t at = text.find('\r'); at != std::string_view::npos; at = text.find('\r', at + 1)) {
        const bool endedByTheLineFeed = text.compare(at + 1, 1, "\n") == 0 || text.compare(at + 1, 2, "\r\n") == 0;
        if (!endedByTheLineFeed)
            ++count;
    }
    return static_cast<int>(count);
}

// Where the text may be cut so that both sides hold whole cards: at the start of the last
// line "BEGIN:VCARD" whose line before (blank lines aside) is "END:VCARD". 0 when nowhere.
std::size_t lastCardBoundary(std::string_view text)
{
    constexpr std::string_view kBegin = "BEGIN:VCARD";
    constexpr std::string_view kEnd = "END:VCARD";
    for (std::size_t at = text.size(); at > 0;) {
        std::size_t newline = text.find_last_of("\r\n", at - 1);
        if (newline == std::string_view::npos)
            return 0;
        at = newline;
        std::size_t lineStart = newline + 1;
        if (!equalsIgnoringCaseAt(text, lineStart, kBegin))
            continue;
        // The line before, blank lines and line ends aside.
        std::size_t end = newline;
        while (end > 0 && (text[end - 1] == '\r' || text[end - 1] == '\n' || text[end - 1] == ' ' || text[end - 1] == '\t'))
            --end;
        std::size_t start = text.find_last_of("\r\n", end == 0 ? 0 : end - 1);
        start = start == std::string_view::npos ? 0 : start + 1;
        if (end > start && equalsIgnoringCase(trimSpaces(text.substr(start, end - start)), kEnd))
            return lineStart;
    }
    return 0;
}

// Hands out a vCard input in pieces of whole cards, each about kPieceBytes long, so that a
// file of any size is read in the memory of two pieces (the one stored and the one read
// ahead, see readPieces). Pieces begin where a card begins
// after another ended, so each reads exactly as it would within the whole file; UTF-16
// files, rare and small, are read whole.
class CardPieces {
public:
    static constexpr std::size_t kPieceBytes = 1 << 18;

    CardPieces(const BookImporter::Input& input, const CardReader::Limits& limits)
        : m_input(input)
        , m_limits(limits)
    {
    }

    // Why the input cannot be read at all; empty when it can.
    std::string open()
    {
        if (m_input.text)
            return {};
        const std::string name = m_input.name;
        std::error_code status;
        if (std::filesystem::is_directory(m_input.file, status))
            return name + ": is a folder, not a vCard file";
        const std::uintmax_t size = std::filesystem::file_size(m_input.file, status);
        if (status)
            return name + ": cannot be read: " + status.message();
        // Refused before reading, so a huge file is never loaded into memory.
        if (size > m_limits.maxInputBytes)
            return name + ": the file is larger than a vCard file may be";
        m_stream.open(m_input.file, std::ios::binary);
        if (!m_stream)
            return name + ": cannot be read: " + std::strerror(errno);
        char start[2] {};
        m_stream.read(start, 2);
        auto first = static_cast<unsigned char>(start[0]);
        auto second = static_cast<unsigned char>(start[1]);
        m_whole = m_stream.gcount() == 2 && ((first == 0xFF && second == 0xFE) || (first == 0xFE && second == 0xFF) || (first != 0 && second == 0) || (first == 0 && second != 0));
        m_stream.clear();
        m_stream.seekg(0);
        return {};
    }

    // The next piece and the file's line number of its first line; false at the end, or
    // with `error` set when the file could not be read to its end.
    bool next(std::string& piece, int& firstLine, std::string& error)
    {
        firstLine = m_nextLine;
        if (m_input.text) {
            if (m_offset >= m_input.text->size() && m_offset > 0)
                return false;
            std::string_view rest = std::string_view(*m_input.text).substr(m_offset);
            std::size_t cut = rest.size() > kPieceBytes ? lastCardBoundary(rest.substr(0, kPieceBytes)) : 0;
            piece.assign(cut > 0 ? rest.substr(0, cut) : rest);
            m_offset += piece.size();
            if (piece.empty())
                m_offset = 1;
            m_nextLine += countLineEnds(piece);
            return true;
        }
        if (m_ended && m_buffer.empty())
            return false;
        while (!m_ended) {
            std::size_t cut = m_buffer.size() > kPieceBytes ? lastCardBoundary(m_buffer) : 0;
            if (cut > 0 && !m_whole) {
                piece.assign(m_buffer, 0, cut);
                m_buffer.erase(0, cut);
                m_nextLine += countLineEnds(piece);
                return true;
            }
            std::size_t had = m_buffer.size();
            m_buffer.resize(had + kPieceBytes);
            m_stream.read(m_buffer.data() + had, static_cast<std::streamsize>(kPieceBytes));
            m_buffer.resize(had + static_cast<std::size_t>(m_stream.gcount()));
            if (m_stream.bad()) {
                error = m_input.name + ": cannot be read to its end";
                return false;
            }
            if (m_stream.eof())
                m_ended = true;
        }
        piece = std::move(m_buffer);
        m_buffer.clear();
        m_nextLine += countLineEnds(piece);
        return true;
    }

private:
    const BookImporter::Input& m_input;
    const CardReader::Limits& m_limits;
    std::ifstream m_stream;
    std::string m_buffer;
    std::size_t m_offset { 0 };
    int m_nextLine { 1 };
    bool m_ended { false };
    bool m_whole { false };
};

// Reads an input piece by piece, handing the cards of each piece on; faults and warnings go
// to the result with the file's own line numbers. With `preparePersons`, the first cards of
// each piece (often all) come with what they make (CardImport::prepare), for persons in no
// source; `take` makes the rest. False when the input could not be read (the fault is in the
// result) or `take` refused a piece.
//
// From the second piece on, the next piece is read and prepared on a thread of its own while
// `take` stores the cards of this one, so on the two cores of a handset an import takes
// about two thirds of the time. Making persons is shared: the reading ahead stops making them
// once `take` is done and waits for it, and `take` makes those left. The first piece is read
// alone, so that a look at an input's first cards reads no more than that.
bool readPieces(const BookImporter::Input& input, const CardReader& reader, ImportResult& result, bool preparePersons,
                const std::function<bool(std::vector<Card>& cards, std::vector<CardImport::Prepared>& prepared)>& take)
{
    CardPieces pieces(input, reader.limits());
    if (std::string fault = pieces.open(); !fault.empty()) {
        result.errors.push_back(std::move(fault));
        return false;
    }
    struct ReadPiece {
        ReadResult read;
        std::vector<CardImport::Prepared> prepared;
        int firstLine { 1 };
    };
    std::string fault;
    std::atomic<bool> takeWaits { false };
    // Only one reading runs at a time, so the pieces and the fault are never shared.
    auto readNext = [&pieces, &reader, &fault, &takeWaits, preparePersons]() -> std::optional<ReadPiece> {
        std::string piece;
        int firstLine = 1;
        if (!pieces.next(piece, firstLine, fault))
            return std::nullopt;
        ReadPiece read { reader.read(piece), {}, firstLine };
        if (!preparePersons || !read.read.ok())
            return read;
        read.prepared.reserve(read.read.cards.size());
        for (Card& card : read.read.cards) {
            if (takeWaits.load(std::memory_order_relaxed))
                break;
            read.prepared.push_back(CardImport::prepare(card, nullptr));
        }
        return read;
    };
    std::size_t warned = 0;
    auto where = [&](int line) { return line > 0 ? input.name + ":" + std::to_string(line) : input.name; };
    std::optional<ReadPiece> current = readNext();
    std::future<std::optional<ReadPiece>> next;
    for (bool first = true; current; first = false) {
        const int offset = current->firstLine - 1;
        ReadResult& read = current->read;
        for (const ReadProblem& problem : read.errors)
            result.errors.push_back(where(problem.line > 0 ? problem.line + offset : 0) + ": " + problem.message);
        if (!read.ok())
            return false;
        for (const ReadProblem& problem : read.warnings) {
            if (warned++ < reader.limits().maxReportedProblems)
                result.warnings.push_back(where(problem.line > 0 ? problem.line + offset : 0) + ": " + problem.message);
        }
        for (Card& card : read.cards)
            card.line += card.line > 0 ? offset : 0;
        if (!first)
            next = std::async(std::launch::async, readNext);
        // Leaving early waits for the reading ahead (a future of std::async waits when let go).
        if (!take(read.cards, current->prepared))
            return false;
        if (first)
            next = std::async(std::launch::async, readNext);
        takeWaits = true;
        current = next.get();
        takeWaits = false;
    }
    if (!fault.empty()) {
        result.errors.push_back(std::move(fault));
        return false;
    }
    return true;
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
    HandleTarget target(*m_book, source);
    CardImport import(target, result);
    for (FileCards& file : files) {
        if (!import.addCards(file.cards, file.fileName))
            return result;
    }
    (void)import.finish();
    return result;
}

ImportResult BookImporter::importIntoStore(const std::filesystem::path& directory, const std::vector<Input>& inputs,
                                           CardReader::Limits limits)
{
    ImportResult result;
    const CardReader reader(limits);
    // Each input is looked at up to its first card before anything is opened: a file that
    // cannot be read, or holds no card, is refused before the store exists. Past its first
    // card nothing in a file can fault it, since a piece always begins a card.
    for (const Input& input : inputs) {
        ImportResult checked;
        (void)readPieces(input, reader, checked, false, [](std::vector<Card>&, std::vector<CardImport::Prepared>&) { return false; });
        for (std::string& error : checked.errors)
            result.errors.push_back(std::move(error));
    }
    if (!result.errors.empty())
        return result;

    if (AccessControl::isAccessRefused()) {
        result.errors.push_back("access to the address book is refused; nothing was imported");
        return result;
    }
    Error error;
    if (!foundation::DataLocations::ensureDirectory(directory)) {
        result.errors.push_back("the address book folder " + directory.string() + " cannot be created; nothing was imported");
        return result;
    }
    auto database = AddressBookDatabase::open(directory / AddressBook::kDatabaseFileName, &error);
    if (!database) {
        result.errors.push_back("the address book cannot be opened: " + error.description + "; nothing was imported");
        return result;
    }
    auto addition = database->beginAddition(&error);
    if (!addition) {
        result.errors.push_back("the address book cannot be written: " + error.description + "; nothing was imported");
        return result;
    }
    StoreTarget target(database, std::move(addition));
    CardImport import(target, result);
    for (const Input& input : inputs) {
        bool added = true;
        bool read = readPieces(input, reader, result, true, [&](std::vector<Card>& cards, std::vector<CardImport::Prepared>& prepared) {
            added = import.addCards(cards, prepared, input.name);
            return added;
        });
        if (!read || !added) {
            if (added)
                target.takeBack();
            result.personsAdded = 0;
            result.groupsCreated = 0;
            result.groupsExtended = 0;
            return result;
        }
    }
    (void)import.finish();
    return result;
}

} // namespace contactstore::vcard
