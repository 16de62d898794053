#include "platform/contactstore/AddressBookDatabase.h"

#include "platform/contactstore/AddressBook.h"
#include "platform/contactstore/AddressBookContents.h"
#include "platform/contactstore/Group.h"
#include "platform/contactstore/Person.h"
#include "platform/contactstore/PersonSearchKeys.h"
#include "platform/contactstore/Source.h"
#include "platform/contactstore/StoredValueCodec.h"
#include "platform/foundation/Log.h"
#include "platform/foundation/SqliteStatement.h"
#include "platform/foundation/TextFolding.h"

#include <sqlite3.h>

#include <algorithm>
#include <array>
#include <chrono>
#include <cstdio>
#include <future>
#include <mutex>
#include <random>
#include <unordered_map>
#include <unordered_set>

namespace contactstore {

using foundation::SqliteStatement;
using foundation::SqliteTransaction;

namespace {

// Person columns after id, source_id and kind, in property order: the thirteen texts.
constexpr std::array kTextColumns {
    std::pair { kPersonFirstNameProperty, "first_name" },
    std::pair { kPersonLastNameProperty, "last_name" },
    std::pair { kPersonMiddleNameProperty, "middle_name" },
    std::pair { kPersonPrefixProperty, "prefix" },
    std::pair { kPersonSuffixProperty, "suffix" },
    std::pair { kPersonNicknameProperty, "nickname" },
    std::pair { kPersonFirstNamePhoneticProperty, "first_name_phonetic" },
    std::pair { kPersonLastNamePhoneticProperty, "last_name_phonetic" },
    std::pair { kPersonMiddleNamePhoneticProperty, "middle_name_phonetic" },
    std::pair { kPersonOrganizationProperty, "organization" },
    std::pair { kPersonJobTitleProperty, "job_title" },
    std::pair { kPersonDepartmentProperty, "department" },
    std::pair { kPersonNoteProperty, "note" },
};

constexpr char kCreateVersion1[] = R"sql(
CREATE TABLE store_info (key TEXT PRIMARY KEY NOT NULL, value INTEGER NOT NULL);
CREATE TABLE source (
    id INTEGER PRIMARY KEY NOT NULL,
    type INTEGER NOT NULL,
    name TEXT);
CREATE TABLE person (
    id INTEGER PRIMARY KEY NOT NULL,
    source_id INTEGER NOT NULL REFERENCES source(id),
    kind INTEGER,
    first_name TEXT, last_name TEXT, middle_name TEXT, prefix TEXT, suffix TEXT, nickname TEXT,
    first_name_phonetic TEXT, last_name_phonetic TEXT, middle_name_phonetic TEXT,
    organization TEXT, job_title TEXT, department TEXT, note TEXT,
    birthday INTEGER,
    created INTEGER NOT NULL,
    modified INTEGER NOT NULL,
    multi_values BLOB,
    has_image INTEGER NOT NULL DEFAULT 0);
CREATE TABLE person_image (
    person_id INTEGER PRIMARY KEY NOT NULL REFERENCES person(id) ON DELETE CASCADE,
    image BLOB NOT NULL,
    thumbnail BLOB NOT NULL);
CREATE TABLE contact_group (
    id INTEGER PRIMARY KEY NOT NULL,
    source_id INTEGER NOT NULL REFERENCES source(id),
    name TEXT,
    created INTEGER NOT NULL,
    modified INTEGER NOT NULL);
CREATE TABLE group_member (
    group_id INTEGER NOT NULL REFERENCES contact_group(id) ON DELETE CASCADE,
    person_id INTEGER NOT NULL REFERENCES person(id) ON DELETE CASCADE,
    position INTEGER NOT NULL,
    PRIMARY KEY (group_id, person_id)) WITHOUT ROWID;
CREATE INDEX group_member_person ON group_member(person_id);
INSERT INTO source (id, type, name) VALUES (1, 0, NULL);
INSERT INTO store_info (key, value) VALUES ('next_record_id', 2);
)sql";

// Every person gets an identifier that stays with it; those saved before there was one get a
// random one now (version 4, variant 10).
constexpr char kAddPersonUid[] = R"sql(
ALTER TABLE person ADD COLUMN uid TEXT;
UPDATE person SET uid = 'urn:uuid:' || lower(hex(randomblob(4))) || '-' || lower(hex(randomblob(2))) || '-4'
    || substr(lower(hex(randomblob(2))), 2) || '-' || substr('89ab', 1 + (abs(random()) % 4), 1)
    || substr(lower(hex(randomblob(2))), 2) || '-' || lower(hex(randomblob(6)));
)sql";

// The display name other programs wrote for a person, where the names do not make it.
constexpr char kAddFormattedName[] = R"sql(
ALTER TABLE person ADD COLUMN formatted_name TEXT;
)sql";

// The folded texts a person is searched by, kept so that no start folds them all again
// (PersonSearchKeys); filled for every person when the fold changes (see refreshSearchKeys).
constexpr char kAddSearchKeys[] = R"sql(
ALTER TABLE person ADD COLUMN search_keys BLOB;
)sql";

// What a layer above derives from all persons as stored (their order by name, say) and keeps
// to spare the work at the next start, with the persons' revision it was made from; see
// AddressBook::copyKeptPersonsData.
constexpr char kAddKeptPersonsData[] = R"sql(
CREATE TABLE kept_persons_data (name TEXT PRIMARY KEY NOT NULL, revision INTEGER NOT NULL, data BLOB NOT NULL);
)sql";

// Upgrade steps: entry n brings a file of version n to version n + 1. Version 0 is a file
// without our tables (new or empty).
constexpr std::array<const char*, AddressBookDatabase::kSchemaVersion> kUpgradeSteps {
    kCreateVersion1,
    kAddPersonUid,
    kAddFormattedName,
    kAddSearchKeys,
    kAddKeptPersonsData,
};

// Every column of a person, in the order readPersonRow reads them, for the identifiers from
// ?1 to before ?2.
constexpr char kSelectPersons[] = "SELECT id, source_id, kind, first_name, last_name, middle_name, prefix, suffix, nickname, "
                                  "first_name_phonetic, last_name_phonetic, middle_name_phonetic, organization, job_title, "
                                  "department, note, birthday, created, modified, multi_values, has_image, uid, formatted_name, "
                                  "search_keys FROM person WHERE id >= ?1 AND id < ?2 ORDER BY id;";

constexpr char kInsertPerson[] = "INSERT INTO person (id, source_id, kind, first_name, last_name, middle_name, prefix, suffix, "
                                 "nickname, first_name_phonetic, last_name_phonetic, middle_name_phonetic, organization, "
                                 "job_title, department, note, birthday, created, modified, multi_values, has_image, uid, "
                                 "formatted_name, search_keys) VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?);";

// A member who joins goes after every member stored now, whoever added them; one already
// there, or a person deleted meanwhile, is left as it is. The place after the last member is
// read once per group and transaction (see MemberInsertion).
constexpr char kInsertMember[] = "INSERT OR IGNORE INTO group_member (group_id, person_id, position) VALUES (?1, ?2, ?3);";
constexpr char kPersonExists[] = "SELECT 1 FROM person WHERE id = ?;";
constexpr char kReadGroupEnd[] = "SELECT coalesce(max(position) + 1, 0) FROM group_member WHERE group_id = ?;";

// The searched columns, in the order of PersonSearchKeys' text fields, then the lists.
constexpr char kSearchedColumns[] = "first_name, last_name, nickname, middle_name, first_name_phonetic, last_name_phonetic, multi_values";

// person_search_keys(first_name, ..., multi_values): the keys of a stored row, so that a row
// changed in parts by several handles gets the keys of what it holds after the change.
void personSearchKeysFunction(sqlite3_context* context, int argumentCount, sqlite3_value** arguments)
{
    if (argumentCount != PersonSearchKeys::PhoneNumbers + 1) {
        sqlite3_result_error(context, "person_search_keys takes the six names and the lists", -1);
        return;
    }
    std::array<std::string, PersonSearchKeys::PhoneNumbers> texts;
    std::array<const std::string*, PersonSearchKeys::PhoneNumbers> present {};
    for (std::size_t field = 0; field < texts.size(); ++field) {
        sqlite3_value* argument = arguments[field];
        if (sqlite3_value_type(argument) == SQLITE_NULL)
            continue;
        auto text = reinterpret_cast<const char*>(sqlite3_value_text(argument));
        texts[field].assign(text ? text : "", static_cast<std::size_t>(sqlite3_value_bytes(argument)));
        present[field] = &texts[field];
    }
    sqlite3_value* lists = arguments[PersonSearchKeys::PhoneNumbers];
    auto blob = static_cast<const char*>(sqlite3_value_blob(lists));
    std::vector<std::pair<PropertyID, Value>> values;
    const MultiValue* phones = nullptr;
    if (blob && StoredValueCodec::decode(std::string_view(blob, static_cast<std::size_t>(sqlite3_value_bytes(lists))), values)) {
        for (const auto& [property, value] : values) {
            if (property == kPersonPhoneProperty)
                phones = std::get_if<MultiValue>(&value);
        }
    }
    std::string keys = PersonSearchKeys::make(present, phones);
    sqlite3_result_blob(context, keys.data(), static_cast<int>(keys.size()), SQLITE_TRANSIENT);
}

std::mutex g_hookMutex;
std::function<void()> g_beforeCommitHook;

Date now()
{
    return std::chrono::floor<std::chrono::milliseconds>(std::chrono::system_clock::now());
}

std::int64_t toStored(Date date)
{
    return date.time_since_epoch().count();
}

Date fromStored(std::int64_t milliseconds)
{
    return Date(std::chrono::milliseconds(milliseconds));
}

// A new person's identifier: a random UUID (version 4, variant 10). Written digit by digit:
// an import makes one for each of hundreds of thousands of cards.
std::string newPersonUid()
{
    static std::mt19937_64 random { std::random_device {}() ^ static_cast<std::uint64_t>(std::chrono::steady_clock::now().time_since_epoch().count()) };
    const std::uint64_t high = (random() & ~0xF000ull) | 0x4000ull;
    const std::uint64_t low = (random() & ~(0xC000ull << 48)) | (0x8000ull << 48);
    std::string text = "urn:uuid:xxxxxxxx-xxxx-xxxx-xxxx-xxxxxxxxxxxx";
    static constexpr char kDigits[] = "0123456789abcdef";
    auto write = [&text](std::size_t at, std::uint64_t bits, int digits) {
        for (int digit = digits - 1; digit >= 0; --digit, bits >>= 4)
            text[at + static_cast<std::size_t>(digit)] = kDigits[bits & 0xF];
    };
    write(9, high >> 32, 8);
    write(18, high >> 16, 4);
    write(23, high, 4);
    write(28, low >> 48, 4);
    write(33, low, 12);
    return text;
}

bool fail(Error* error, std::string description)
{
    reportError(error, ErrorCode::StorageFailed, std::move(description));
    return false;
}

// What could not be done, followed by the connection's own account of why.
bool failOnConnection(Error* error, sqlite3* connection, std::string_view what)
{
    return fail(error, std::string(what) + ": " + sqlite3_errmsg(connection));
}

// The revision of the persons in the file: every write that adds, changes or deletes persons
// counts it up, so whatever was derived from the persons knows whether it still holds.
std::int64_t readPersonsRevision(sqlite3* connection)
{
    SqliteStatement read(connection, "SELECT value FROM store_info WHERE key = 'persons_revision';");
    return read.stepRow() ? read.columnInt64(0) : 0;
}

// The end of every write: the identifiers handed out are counted as used, the persons'
// revision counted up when persons were written, the hook of the tests runs, and the
// transaction commits.
bool commitWrite(sqlite3* connection, SqliteTransaction& transaction, std::int64_t nextID, bool personsWritten, Error* error)
{
    SqliteStatement writeCounter(connection, "UPDATE store_info SET value = ? WHERE key = 'next_record_id';");
    writeCounter.bindInt64(1, nextID);
    if (writeCounter.step() != SQLITE_DONE)
        return failOnConnection(error, connection, "The address book's identifier counter cannot be written");
    if (personsWritten) {
        SqliteStatement countUp(connection, "INSERT INTO store_info (key, value) VALUES ('persons_revision', 1) "
                                            "ON CONFLICT (key) DO UPDATE SET value = value + 1;");
        if (countUp.step() != SQLITE_DONE)
            return failOnConnection(error, connection, "The address book's revision cannot be written");
    }

    std::function<void()> hook;
    {
        std::lock_guard lock(g_hookMutex);
        hook = g_beforeCommitHook;
    }
    if (hook)
        hook();
    if (!transaction.commit())
        return failOnConnection(error, connection, "The address book cannot be written");
    return true;
}

// One read transaction, so that what is read is of one moment even while other processes save.
class ReadSnapshot {
public:
    explicit ReadSnapshot(sqlite3* connection)
        : m_connection(connection)
        , m_active(foundation::sqliteExec(connection, "BEGIN;"))
    {
    }
    ~ReadSnapshot()
    {
        if (m_active)
            (void)foundation::sqliteExec(m_connection, "COMMIT;");
    }
    ReadSnapshot(const ReadSnapshot&) = delete;
    ReadSnapshot& operator=(const ReadSnapshot&) = delete;
    bool isActive() const { return m_active; }

private:
    sqlite3* m_connection;
    bool m_active;
};

std::string_view columnView(sqlite3_stmt* statement, int column)
{
    auto text = reinterpret_cast<const char*>(sqlite3_column_text(statement, column));
    return text ? std::string_view(text, static_cast<std::size_t>(sqlite3_column_bytes(statement, column))) : std::string_view();
}

} // namespace

std::shared_ptr<AddressBookDatabase> AddressBookDatabase::open(const std::filesystem::path& file, Error* error, IntegrityCheck check)
{
    std::shared_ptr<AddressBookDatabase> database(new AddressBookDatabase());
    database->m_self = database;
    database->m_file = file;
    int flags = SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE | SQLITE_OPEN_NOMUTEX;
    if (sqlite3_open_v2(file.c_str(), &database->m_connection, flags, nullptr) != SQLITE_OK) {
        std::string message = database->m_connection ? sqlite3_errmsg(database->m_connection) : "out of memory";
        fail(error, "The address book " + file.string() + " cannot be opened: " + message);
        return nullptr;
    }
    sqlite3_busy_timeout(database->m_connection, 5000);
    sqlite3_extended_result_codes(database->m_connection, 1);
    sqlite3_create_function_v2(database->m_connection, "person_search_keys", PersonSearchKeys::PhoneNumbers + 1,
                               SQLITE_UTF8 | SQLITE_DETERMINISTIC, nullptr, personSearchKeysFunction, nullptr, nullptr, nullptr);
    database->startIntegrityCheck(check);
    if (check == IntegrityCheck::BeforeUse && !database->intact(error))
        return nullptr;
    if (!database->prepareSchema(error)) {
        // A damaged file is told as damaged, whatever failed first on it.
        (void)database->intact(error);
        return nullptr;
    }
    database->refreshSearchKeys();
    return database;
}

AddressBookDatabase::~AddressBookDatabase()
{
    if (m_connection)
        sqlite3_close_v2(m_connection);
}

std::shared_ptr<AddressBookDatabase> AddressBookDatabase::self()
{
    return m_self.lock();
}

namespace {

std::string quickCheckVerdict(sqlite3* connection)
{
    SqliteStatement check(connection, "PRAGMA quick_check;");
    int result = check.step();
    return result == SQLITE_ROW ? check.columnText(0).value_or("") : check.errorMessage();
}

// A connection of its own on the file, for a reading that runs beside the handle's. Such a
// reading goes over each page once: a few pages of cache are all it needs.
class SideConnection {
public:
    SideConnection(const std::filesystem::path& file, int flags)
    {
        if (sqlite3_open_v2(file.c_str(), &m_connection, flags | SQLITE_OPEN_NOMUTEX, nullptr) != SQLITE_OK) {
            m_failure = m_connection ? sqlite3_errmsg(m_connection) : "out of memory";
            return;
        }
        sqlite3_busy_timeout(m_connection, 5000);
        (void)foundation::sqliteExec(m_connection, "PRAGMA cache_size=-256;");
    }
    ~SideConnection() { sqlite3_close_v2(m_connection); }
    SideConnection(const SideConnection&) = delete;
    SideConnection& operator=(const SideConnection&) = delete;

    // Null when the file could not be opened; failure() says why.
    sqlite3* get() const { return m_failure.empty() ? m_connection : nullptr; }
    const std::string& failure() const { return m_failure; }

private:
    sqlite3* m_connection { nullptr };
    std::string m_failure;
};

// The check on a connection of its own, which reads only.
std::string quickCheckVerdict(const std::filesystem::path& file)
{
    SideConnection side(file, SQLITE_OPEN_READWRITE);
    return side.get() ? quickCheckVerdict(side.get()) : side.failure();
}

} // namespace

bool AddressBookDatabase::worthAThread() const
{
    constexpr std::uintmax_t kWorthAThread = 1 << 20;
    std::error_code sizeError;
    const std::uintmax_t size = std::filesystem::file_size(m_file, sizeError);
    return !sizeError && size >= kWorthAThread;
}

void AddressBookDatabase::startIntegrityCheck(IntegrityCheck check)
{
    // A new or small file is checked when first asked: there is nothing to gain beside its
    // load.
    if (check == IntegrityCheck::WhileLoading && worthAThread())
        m_verdict = std::async(std::launch::async, [file = m_file] { return quickCheckVerdict(file); });
    else
        m_verdict = std::async(std::launch::deferred, [connection = m_connection] { return quickCheckVerdict(connection); });
}

bool AddressBookDatabase::intact(Error* error)
{
    if (!m_damage)
        m_damage = damageFound();
    if (m_damage->empty())
        return true;
    reportError(error, ErrorCode::Damaged, *m_damage);
    return false;
}

std::string AddressBookDatabase::damageFound()
{
    const std::string verdict = m_verdict.get();
    if (verdict != "ok")
        return "The address book " + m_file.string() + " is damaged (" + verdict + ")";
    // Tables of some other program and none of ours: not a file to build an address book in.
    SqliteStatement tables(m_connection, "SELECT count(*), sum(name = 'store_info') FROM sqlite_master WHERE type = 'table';");
    if (tables.stepRow() && tables.columnInt(0) > 0 && tables.columnInt(1) == 0)
        return "The address book " + m_file.string() + " holds another program's data";
    return {};
}

bool AddressBookDatabase::prepareSchema(Error* error)
{
    std::string message;
    // Every save is one transaction that must survive a crash or a power cut whole; WAL
    // lets handles of other processes keep reading while one writes. Nothing is written to
    // the file (not even the journal mode) before its check says it is sound.
    std::optional<std::string> journalMode;
    {
        SqliteStatement mode(m_connection, "PRAGMA journal_mode;");
        if (mode.stepRow())
            journalMode = mode.columnText(0);
    }
    if (journalMode != "wal") {
        if (!intact(error))
            return false;
        // A new file gets pages of 16 KiB: a book is read whole at every start and written
        // in bulk by an import, and bigger pages take a quarter of the reads and writes. An
        // existing file keeps the size it has (the pragma changes only an empty file).
        (void)foundation::sqliteExec(m_connection, "PRAGMA page_size=16384;");
        if (!foundation::sqliteExec(m_connection, "PRAGMA journal_mode=WAL;", &message))
            return fail(error, "The address book cannot be read: " + message);
    }
    if (!foundation::sqliteExec(m_connection, "PRAGMA synchronous=FULL; PRAGMA foreign_keys=ON;", &message))
        return fail(error, "The address book cannot be read: " + message);

    auto readVersion = [this]() -> std::optional<int> {
        SqliteStatement statement(m_connection, "PRAGMA user_version;");
        if (!statement.stepRow())
            return std::nullopt;
        return statement.columnInt(0);
    };
    auto version = readVersion();
    if (!version)
        return failOnConnection(error, m_connection, "The address book cannot be read");
    if (*version == kSchemaVersion)
        return true;
    if (*version > kSchemaVersion)
        return fail(error, "The address book was written by a newer version of the program (schema "
                               + std::to_string(*version) + ").");
    if (!intact(error))
        return false;

    SqliteTransaction transaction(m_connection);
    if (!transaction.isActive())
        return failOnConnection(error, m_connection, "The address book cannot be prepared");
    // Another process may have prepared the file while this one waited for the lock.
    version = readVersion();
    if (!version || *version > kSchemaVersion)
        return fail(error, "The address book changed while it was being prepared.");
    for (int step = *version; step < kSchemaVersion; ++step) {
        if (!foundation::sqliteExec(m_connection, kUpgradeSteps[static_cast<std::size_t>(step)], &message))
            return fail(error, "The address book cannot be brought to schema " + std::to_string(step + 1) + ": " + message);
    }
    if (!foundation::sqliteExec(m_connection, "PRAGMA user_version=" + std::to_string(kSchemaVersion) + ";", &message)
        || !transaction.commit())
        return fail(error, "The address book cannot be prepared: " + message);
    return true;
}

void AddressBookDatabase::refreshSearchKeys()
{
    const std::int64_t revision = foundation::TextFolding::revision();
    auto keptRevision = [this]() -> std::optional<std::int64_t> {
        SqliteStatement read(m_connection, "SELECT value FROM store_info WHERE key = 'search_keys_revision';");
        if (!read.stepRow())
            return std::nullopt;
        return read.columnInt64(0);
    };
    if (keptRevision() == revision) {
        m_keptSearchKeysCurrent = true;
        return;
    }
    // Folded once for the whole book, in one transaction; a file this program may not write
    // (or that another holds locked for long) keeps its old keys, and the persons then fold
    // their own keys in memory when searched. A damaged file is left as it is.
    if (!intact(nullptr))
        return;
    SqliteTransaction transaction(m_connection);
    std::string message;
    if (transaction.isActive() && keptRevision() == revision) {
        m_keptSearchKeysCurrent = true;
        return;
    }
    if (!transaction.isActive()
        || !foundation::sqliteExec(m_connection, std::string("UPDATE person SET search_keys = person_search_keys(") + kSearchedColumns + ");", &message)
        || !foundation::sqliteExec(m_connection, "INSERT OR REPLACE INTO store_info (key, value) VALUES ('search_keys_revision', "
                                       + std::to_string(revision) + ");", &message)
        || !transaction.commit()) {
        foundation::log("Error: the address book's search keys cannot be brought up to date: "
                        + (message.empty() ? std::string(sqlite3_errmsg(m_connection)) : message));
        return;
    }
    m_keptSearchKeysCurrent = true;
}

bool AddressBookDatabase::readPersonRow(sqlite3_stmt* row, Person& person, const std::shared_ptr<AddressBookDatabase>& images,
                                        KeysText* keysText) const
{
    person.m_recordID = sqlite3_column_int(row, 0);
    std::array<int, 24> types {};
    for (std::size_t column = 0; column < types.size(); ++column)
        types[column] = sqlite3_column_type(row, static_cast<int>(column));
    auto present = [&types](int column) { return types[static_cast<std::size_t>(column)] != SQLITE_NULL; };
    // Every value the row holds is kept in stored form with the lists until one is asked
    // for: lists and searches read the kept order and search keys, and only the rows on the
    // screen read names. At a quarter of a million persons every spare slot is megabytes.
    using Detail = Record::StoredDetail;
    std::array<Detail, kTextColumns.size() + 5> details {};
    std::size_t detailCount = 0;
    auto keepDetail = [&](PropertyID property, Detail::Kind kind, std::string_view text, std::int64_t number) {
        details[detailCount++] = Detail { property, kind, text, number };
    };
    if (present(2))
        keepDetail(kPersonKindProperty, Detail::Kind::Integer, {}, sqlite3_column_int64(row, 2));
    for (std::size_t column = 0; column < kTextColumns.size(); ++column) {
        const int index = static_cast<int>(column) + 3;
        if (present(index))
            keepDetail(kTextColumns[column].first, Detail::Kind::Text, columnView(row, index), 0);
    }
    auto keepDate = [&](PropertyID property, int column) {
        keepDetail(property, Detail::Kind::Date, {}, fromStored(sqlite3_column_int64(row, column)).time_since_epoch().count());
    };
    if (present(16))
        keepDate(kPersonBirthdayProperty, 16);
    keepDate(kPersonCreationDateProperty, 17);
    keepDate(kPersonModificationDateProperty, 18);
    if (present(21))
        keepDetail(kPersonUIDProperty, Detail::Kind::Text, columnView(row, 21), 0);
    if (present(22))
        keepDetail(kPersonFormattedNameProperty, Detail::Kind::Text, columnView(row, 22), 0);
    auto blob = static_cast<const char*>(sqlite3_column_blob(row, 19));
    std::string_view multiValues(blob ? blob : "", blob ? static_cast<std::size_t>(sqlite3_column_bytes(row, 19)) : 0);
    // Only the shape is checked now; the lists are decoded when first read.
    bool wellFormed = StoredValueCodec::isWellFormed(multiValues);
    person.keepStoredValues(wellFormed ? multiValues : std::string_view(), std::span(details.data(), detailCount));
    if (sqlite3_column_int(row, 20) != 0)
        person.keepStoredPicture(images);
    if (m_keptSearchKeysCurrent && present(23)) {
        auto keys = static_cast<const char*>(sqlite3_column_blob(row, 23));
        std::string_view kept(keys ? keys : "", static_cast<std::size_t>(sqlite3_column_bytes(row, 23)));
        if (keysText) {
            keysText->spans.back() = { keysText->text.size(), kept.size() };
            keysText->text.append(kept);
        } else {
            person.m_searchKeys = std::make_unique<std::string>(kept);
        }
    }
    return wellFormed;
}

bool AddressBookDatabase::readEachPerson(std::vector<StoredGroup>& groups, const std::function<bool(const Person&)>& each, Error* error)
{
    ReadSnapshot snapshot(m_connection);
    if (!snapshot.isActive())
        return failOnConnection(error, m_connection, "The address book cannot be read");

    SqliteStatement groupRows(m_connection, "SELECT id, name FROM contact_group ORDER BY id;");
    while (groupRows.stepRow())
        groups.push_back({ groupRows.columnInt(0), groupRows.columnText(1), {} });
    if (!groupRows.isValid())
        return fail(error, "The address book's groups cannot be read: " + groupRows.errorMessage());
    SqliteStatement members(m_connection, "SELECT group_id, person_id FROM group_member ORDER BY group_id, position;");
    auto group = groups.begin();
    while (members.stepRow()) {
        RecordID groupID = members.columnInt(0);
        while (group != groups.end() && group->recordID < groupID)
            ++group;
        if (group != groups.end() && group->recordID == groupID)
            group->members.push_back(members.columnInt(1));
    }
    if (!members.isValid())
        return fail(error, "The address book's group members cannot be read: " + members.errorMessage());

    SqliteStatement rows(m_connection, kSelectPersons);
    rows.bindInt64(1, INT64_MIN);
    rows.bindInt64(2, INT64_MAX);
    auto images = self();
    std::size_t damaged = 0;
    int result = SQLITE_DONE;
    while ((result = rows.step()) == SQLITE_ROW) {
        Person person;
        if (!readPersonRow(rows.handle(), person, images))
            ++damaged;
        if (!each(person))
            return true;
    }
    if (result != SQLITE_DONE)
        return fail(error, "The address book's persons cannot be read: " + rows.errorMessage());
    if (damaged)
        foundation::log("Error: the phone numbers, addresses or other lists of " + std::to_string(damaged)
                        + " persons in the address book are damaged and were left out");
    return true;
}

struct AddressBookDatabase::LoadedPeople {
    std::vector<Person> people;
    KeysText searchKeys;
    std::size_t damaged { 0 };
};

bool AddressBookDatabase::load(AddressBook& book, AddressBookContents& contents, Error* error)
{
    const bool loaded = loadContents(book, contents, error);
    // A damaged file is told as damaged, whatever the load made of it.
    return intact(error) && loaded;
}

bool AddressBookDatabase::loadContents(AddressBook& book, AddressBookContents& contents, Error* error)
{
    ReadSnapshot snapshot(m_connection);
    if (!snapshot.isActive())
        return failOnConnection(error, m_connection, "The address book cannot be read");

    std::weak_ptr<AddressBook> bookLink = book.weak_from_this();
    auto images = self();
    m_personsRevision = readPersonsRevision(m_connection);

    SqliteStatement sources(m_connection, "SELECT id, type, name FROM source ORDER BY id;");
    while (sources.stepRow()) {
        auto source = std::make_shared<Source>();
        source->m_recordID = sources.columnInt(0);
        source->assignStoredValue(kSourceTypeProperty, sources.columnInt64(1));
        if (auto name = sources.columnText(2))
            source->assignStoredValue(kSourceNameProperty, std::move(*name));
        source->m_book = bookLink;
        contents.sources.push_back(std::move(source));
    }
    if (!sources.isValid() || contents.sources.empty())
        return fail(error, "The address book's accounts cannot be read: " + sources.errorMessage());

    // A big file's later persons are read on a connection of their own beside the earlier
    // ones: reading the rows is most of a start, and a handset has two cores.
    const PersonsFor reader { contents.sources, bookLink, images };
    SqliteStatement lowest(m_connection, "SELECT min(id) FROM person;");
    SqliteStatement highest(m_connection, "SELECT max(id) FROM person;");
    const std::int64_t first = lowest.stepRow() ? lowest.columnInt64(0) : 0;
    const std::int64_t end = highest.stepRow() ? highest.columnInt64(0) + 1 : 0;
    std::int64_t split = end;
    std::future<std::shared_ptr<LoadedPeople>> later;
    if (end - first > 1 && worthAThread()) {
        split = first + (end - first) / 2;
        later = std::async(std::launch::async, [this, split, end, revision = *m_personsRevision, &reader] {
            return readPersonsBeside(static_cast<RecordID>(split), end, revision, reader);
        });
    }
    std::string message;
    std::array<std::shared_ptr<LoadedPeople>, 2> halves;
    halves[0] = readPersonsBetween(m_connection, static_cast<RecordID>(first), split, reader, message);
    if (later.valid())
        halves[1] = later.get();
    if (halves[0] && !halves[1] && split < end)
        halves[1] = readPersonsBetween(m_connection, static_cast<RecordID>(split), end, reader, message);
    if (!halves[0] || (split < end && !halves[1]))
        return fail(error, "The address book's persons cannot be read: " + message);
    std::size_t damaged = 0;
    std::size_t count = 0;
    for (const auto& half : halves) {
        damaged += half ? half->damaged : 0;
        count += half ? half->people.size() : 0;
    }
    if (damaged)
        foundation::log("Error: the phone numbers, addresses or other lists of " + std::to_string(damaged)
                        + " persons in the address book are damaged and were left out");
    contents.people.reserve(count);
    for (const auto& half : halves) {
        if (!half)
            continue;
        for (Person& person : half->people)
            contents.people.emplace_back(half, &person);
    }

    SqliteStatement groups(m_connection, "SELECT id, source_id, name FROM contact_group ORDER BY id;");
    while (groups.stepRow()) {
        auto group = std::make_shared<Group>();
        group->m_recordID = groups.columnInt(0);
        SourceRef source = findRecord(contents.sources, groups.columnInt(1));
        group->m_source = source ? source : contents.sources.front();
        if (auto name = groups.columnText(2))
            group->assignStoredValue(kGroupNameProperty, std::move(*name));
        group->m_book = bookLink;
        contents.groups.push_back(std::move(group));
    }
    if (!groups.isValid())
        return fail(error, "The address book's groups cannot be read: " + groups.errorMessage());

    SqliteStatement members(m_connection, "SELECT group_id, person_id FROM group_member ORDER BY group_id, position;");
    GroupRef group;
    while (members.stepRow()) {
        RecordID groupID = members.columnInt(0);
        if (!group || group->recordID() != groupID)
            group = findRecord(contents.groups, groupID);
        PersonRef member = findRecord(contents.people, members.columnInt(1));
        if (group && member)
            group->m_members.push_back(std::move(member));
    }
    if (!members.isValid())
        return fail(error, "The address book's group members cannot be read: " + members.errorMessage());
    return true;
}

std::shared_ptr<AddressBookDatabase::LoadedPeople> AddressBookDatabase::readPersonsBetween(
    sqlite3* connection, RecordID first, std::int64_t end, const PersonsFor& reader, std::string& error) const
{
    // The persons are counted first so that they are made in place, once.
    SqliteStatement count(connection, "SELECT count(*) FROM person WHERE id >= ? AND id < ?;");
    count.bindInt(1, first);
    count.bindInt64(2, end);
    auto loaded = std::make_shared<LoadedPeople>();
    auto& people = loaded->people;
    people.reserve(count.stepRow() ? static_cast<std::size_t>(count.columnInt64(0)) : 0);

    SqliteStatement rows(connection, kSelectPersons);
    rows.bindInt(1, first);
    rows.bindInt64(2, end);
    sqlite3_stmt* row = rows.handle();
    SourceRef lastSource;
    int result = SQLITE_DONE;
    while ((result = rows.step()) == SQLITE_ROW) {
        // The persons must not move once made: the list's references point at them. The
        // count and the rows are read in one snapshot, so this never happens.
        if (people.size() == people.capacity()) {
            error = "more persons than were counted";
            return nullptr;
        }
        Person& person = people.emplace_back();
        RecordID sourceID = sqlite3_column_int(row, 1);
        if (!lastSource || lastSource->recordID() != sourceID)
            lastSource = findRecord(reader.sources, sourceID);
        // A person of an account that vanished from the file stays visible in the local one.
        person.m_source = lastSource ? lastSource : reader.sources.front();
        person.m_book = reader.book;
        loaded->searchKeys.spans.emplace_back(0, KeysText::kNone);
        if (!readPersonRow(row, person, reader.images, &loaded->searchKeys))
            ++loaded->damaged;
    }
    if (result != SQLITE_DONE) {
        error = rows.errorMessage();
        return nullptr;
    }

    // Now that the text has all keys and stops moving, the persons look into it.
    auto& keys = loaded->searchKeys;
    keys.text.shrink_to_fit();
    for (std::size_t index = 0; index < people.size(); ++index) {
        auto [at, length] = keys.spans[index];
        if (length != KeysText::kNone)
            people[index].keepLoadedSearchKeys(std::string_view(keys.text).substr(at, length));
    }
    std::vector<std::pair<std::size_t, std::size_t>>().swap(keys.spans);
    return loaded;
}

std::shared_ptr<AddressBookDatabase::LoadedPeople> AddressBookDatabase::readPersonsBeside(
    RecordID first, std::int64_t end, std::int64_t personsRevision, const PersonsFor& reader) const
{
    SideConnection side(m_file, SQLITE_OPEN_READONLY);
    if (!side.get())
        return nullptr;
    ReadSnapshot snapshot(side.get());
    // Every write of persons counts the revision up: the same revision is the same persons.
    if (!snapshot.isActive() || readPersonsRevision(side.get()) != personsRevision)
        return nullptr;
    std::string error;
    return readPersonsBetween(side.get(), first, end, reader, error);
}

std::optional<std::string> AddressBookDatabase::readKeptPersonsData(std::string_view name)
{
    if (!m_personsRevision)
        return std::nullopt;
    SqliteStatement read(m_connection, "SELECT data FROM kept_persons_data WHERE name = ? AND revision = ?;");
    read.bindText(1, name);
    read.bindInt64(2, *m_personsRevision);
    if (!read.stepRow())
        return std::nullopt;
    return read.columnBlob(0);
}

bool AddressBookDatabase::writeKeptPersonsData(std::string_view name, std::string_view data, Error* error)
{
    SqliteTransaction transaction(m_connection);
    if (!transaction.isActive())
        return failOnConnection(error, m_connection, "The address book cannot be written");
    // Kept only for the persons the handle read: if another process wrote persons since,
    // what the handle derived says nothing about the file.
    if (!m_personsRevision || readPersonsRevision(m_connection) != *m_personsRevision) {
        m_personsRevision.reset();
        return fail(error, "The persons in the address book changed since they were read.");
    }
    SqliteStatement write(m_connection, "INSERT OR REPLACE INTO kept_persons_data (name, revision, data) VALUES (?, ?, ?);");
    write.bindText(1, name);
    write.bindInt64(2, *m_personsRevision);
    write.bindBlob(3, data.data(), static_cast<int>(data.size()));
    if (write.step() != SQLITE_DONE || !transaction.commit())
        return failOnConnection(error, m_connection, "The address book cannot be written");
    return true;
}

std::optional<std::string> AddressBookDatabase::readImage(RecordID person, ImageFormat format)
{
    SqliteStatement statement(m_connection, format == ImageFormat::Thumbnail
                                                ? "SELECT thumbnail FROM person_image WHERE person_id = ?;"
                                                : "SELECT image FROM person_image WHERE person_id = ?;");
    statement.bindInt(1, person);
    if (!statement.stepRow())
        return std::nullopt;
    return statement.columnBlob(0);
}

void AddressBookDatabase::setBeforeCommitHookForTesting(std::function<void()> hook)
{
    std::lock_guard lock(g_hookMutex);
    g_beforeCommitHook = std::move(hook);
}

// Adds members at the end of their groups inside one write transaction. Each group's end is
// read the first time the group gains a member and counted on from there: nobody else writes
// while the transaction is open. Reading the end for every member made adding many persons to
// one group quadratic (an import of 200,000 cards spent a second on it).
class AddressBookDatabase::MemberInsertion {
public:
    explicit MemberInsertion(sqlite3* connection)
        : m_connection(connection)
        , m_personExists(connection, kPersonExists)
        , m_insert(connection, kInsertMember)
        , m_readEnd(connection, kReadGroupEnd)
    {
    }

    // False when the file cannot be written; `joined` tells whether the person is a new member.
    // A failed statement is not reset, so that the connection still tells why it failed.
    bool add(RecordID group, RecordID person, bool& joined)
    {
        // A person no longer in the file (another program deleted it) joins nothing. Asked
        // apart from the insertion: an insertion of the rows a query selects keeps a journal
        // of its own of every page it changes, in case it fails halfway.
        m_personExists.bindInt(1, person);
        const int exists = m_personExists.step();
        if (exists != SQLITE_ROW && exists != SQLITE_DONE)
            return false;
        m_personExists.reset();
        if (exists == SQLITE_DONE) {
            joined = false;
            return true;
        }
        auto end = m_ends.find(group);
        if (end == m_ends.end()) {
            m_readEnd.bindInt(1, group);
            if (!m_readEnd.stepRow())
                return false;
            end = m_ends.emplace(group, m_readEnd.columnInt64(0)).first;
            m_readEnd.reset();
        }
        m_insert.bindInt(1, group);
        m_insert.bindInt(2, person);
        m_insert.bindInt64(3, end->second);
        if (m_insert.step() != SQLITE_DONE)
            return false;
        m_insert.reset();
        joined = sqlite3_changes(m_connection) > 0;
        if (joined)
            ++end->second;
        return true;
    }

private:
    sqlite3* m_connection;
    SqliteStatement m_personExists;
    SqliteStatement m_insert;
    SqliteStatement m_readEnd;
    std::unordered_map<RecordID, std::int64_t> m_ends;
};

namespace {

// Binds a person's columns from source_id on, starting at parameter `first`.
void bindPerson(SqliteStatement& statement, const Person& person, RecordID sourceID, int first)
{
    statement.bindInt(first, sourceID);
    if (auto kind = person.copyInteger(kPersonKindProperty))
        statement.bindInt64(first + 1, *kind);
    for (std::size_t column = 0; column < kTextColumns.size(); ++column) {
        int index = first + 2 + static_cast<int>(column);
        if (const std::string* text = person.stringValue(kTextColumns[column].first))
            statement.bindText(index, *text);
    }
    if (auto birthday = person.copyDate(kPersonBirthdayProperty))
        statement.bindInt64(first + 15, toStored(*birthday));
}

} // namespace

namespace {

// The column of a single-valued person property; null for the multi-values (kept together
// in one blob) and for the dates the store keeps itself.
const char* columnOfProperty(PropertyID property)
{
    for (const auto& [textProperty, column] : kTextColumns) {
        if (textProperty == property)
            return column;
    }
    if (property == kPersonKindProperty)
        return "kind";
    if (property == kPersonBirthdayProperty)
        return "birthday";
    if (property == kPersonFormattedNameProperty)
        return "formatted_name";
    return nullptr;
}

void bindPropertyValue(SqliteStatement& statement, int index, const Person& person, PropertyID property)
{
    const Value* value = person.value(property);
    if (!value)
        return;
    if (const auto* text = std::get_if<std::string>(value))
        statement.bindText(index, *text);
    else if (const auto* number = std::get_if<std::int64_t>(value))
        statement.bindInt64(index, *number);
    else if (const auto* date = std::get_if<Date>(value))
        statement.bindInt64(index, toStored(*date));
}

} // namespace

void AddressBookDatabase::bindNewPerson(SqliteStatement& insert, Person& person, RecordID sourceID, Date savedAt, std::string& madeUid)
{
    person.unpackStoredValues();
    std::string multiValues = StoredValueCodec::encode(person.m_values);
    insert.bindInt(1, person.recordID());
    bindPerson(insert, person, sourceID, 2);
    insert.bindInt64(18, toStored(savedAt));
    insert.bindInt64(19, toStored(savedAt));
    if (!multiValues.empty())
        insert.bindBlob(20, multiValues.data(), static_cast<int>(multiValues.size()));
    insert.bindInt(21, person.hasImageData() ? 1 : 0);
    if (const std::string* uid = person.stringValue(kPersonUIDProperty)) {
        insert.bindText(22, *uid);
    } else {
        madeUid = newPersonUid();
        insert.bindText(22, madeUid);
    }
    if (const std::string* formattedName = person.stringValue(kPersonFormattedNameProperty))
        insert.bindText(23, *formattedName);
    std::string_view keys = person.searchKeys();
    insert.bindBlob(24, keys.data(), static_cast<int>(keys.size()));
}

std::unique_ptr<AddressBookDatabase::Addition> AddressBookDatabase::beginAddition(Error* error)
{
    std::unique_ptr<Addition> addition(new Addition(*this));
    addition->m_transaction = std::make_unique<SqliteTransaction>(m_connection);
    if (!addition->m_transaction->isActive()) {
        failOnConnection(error, m_connection, "The address book cannot be written");
        return nullptr;
    }
    SqliteStatement readCounter(m_connection, "SELECT value FROM store_info WHERE key = 'next_record_id';");
    if (!readCounter.stepRow()) {
        fail(error, "The address book's identifier counter cannot be read: " + readCounter.errorMessage());
        return nullptr;
    }
    addition->m_nextID = readCounter.columnInt64(0);
    // The first local account, as a handle's default account is.
    SqliteStatement source(m_connection, "SELECT id FROM source ORDER BY type <> 0, id LIMIT 1;");
    if (!source.stepRow()) {
        fail(error, "The address book has no account to add to.");
        return nullptr;
    }
    addition->m_source = source.columnInt(0);
    addition->m_savedAt = toStored(now());
    addition->m_insertPerson = std::make_unique<SqliteStatement>(m_connection, kInsertPerson);
    addition->m_findGroup = std::make_unique<SqliteStatement>(
        m_connection, "SELECT id FROM contact_group WHERE source_id = ? AND name = ? ORDER BY id LIMIT 1;");
    addition->m_insertGroup = std::make_unique<SqliteStatement>(
        m_connection, "INSERT INTO contact_group (id, source_id, name, created, modified) VALUES (?, ?, ?, ?, ?);");
    addition->m_insertMember = std::make_unique<MemberInsertion>(m_connection);
    return addition;
}

AddressBookDatabase::Addition::Addition(AddressBookDatabase& database)
    : m_database(database)
{
}

// Letting go of the transaction unfinished rolls back everything added.
AddressBookDatabase::Addition::~Addition() = default;

bool AddressBookDatabase::Addition::addPerson(Person& person, Error* error)
{
    if (m_nextID > INT32_MAX) {
        reportError(error, ErrorCode::OutOfIdentifiers, "The address book has no record identifiers left.");
        return false;
    }
    person.m_recordID = static_cast<RecordID>(m_nextID);
    std::string madeUid;
    m_database.bindNewPerson(*m_insertPerson, person, m_source, fromStored(m_savedAt), madeUid);
    if (m_insertPerson->step() != SQLITE_DONE) {
        person.m_recordID = kRecordInvalidID;
        return failOnConnection(error, m_database.m_connection, "A person cannot be written to the address book");
    }
    m_insertPerson->reset();
    if (person.m_imageState == Person::ImageState::Pending) {
        SqliteStatement writeImage(m_database.m_connection, "INSERT OR REPLACE INTO person_image (person_id, image, thumbnail) VALUES (?, ?, ?);");
        writeImage.bindInt(1, person.recordID());
        writeImage.bindBlob(2, person.m_picture->image.data(), static_cast<int>(person.m_picture->image.size()));
        writeImage.bindBlob(3, person.m_picture->thumbnail.data(), static_cast<int>(person.m_picture->thumbnail.size()));
        if (writeImage.step() != SQLITE_DONE) {
            person.m_recordID = kRecordInvalidID;
            return failOnConnection(error, m_database.m_connection, "A picture cannot be written to the address book");
        }
    }
    ++m_nextID;
    return true;
}

bool AddressBookDatabase::Addition::groupNamed(const std::string& name, RecordID& group, bool& created, Error* error)
{
    m_findGroup->bindInt(1, m_source);
    m_findGroup->bindText(2, name);
    int found = m_findGroup->step();
    if (found == SQLITE_ROW) {
        group = m_findGroup->columnInt(0);
        created = false;
        m_findGroup->reset();
        return true;
    }
    if (found != SQLITE_DONE)
        return failOnConnection(error, m_database.m_connection, "A group cannot be read from the address book");
    m_findGroup->reset();
    if (m_nextID > INT32_MAX) {
        reportError(error, ErrorCode::OutOfIdentifiers, "The address book has no record identifiers left.");
        return false;
    }
    m_insertGroup->bindInt(1, static_cast<RecordID>(m_nextID));
    m_insertGroup->bindInt(2, m_source);
    m_insertGroup->bindText(3, name);
    m_insertGroup->bindInt64(4, m_savedAt);
    m_insertGroup->bindInt64(5, m_savedAt);
    if (m_insertGroup->step() != SQLITE_DONE)
        return failOnConnection(error, m_database.m_connection, "A group cannot be written to the address book");
    m_insertGroup->reset();
    group = static_cast<RecordID>(m_nextID++);
    created = true;
    return true;
}

bool AddressBookDatabase::Addition::addMember(RecordID group, RecordID person, Error* error)
{
    bool joined = false;
    if (!m_insertMember->add(group, person, joined))
        return failOnConnection(error, m_database.m_connection, "A group cannot be written to the address book");
    if (joined)
        m_grownGroups.insert(group);
    return true;
}

std::optional<std::string> AddressBookDatabase::Addition::storedUid(RecordID person)
{
    SqliteStatement read(m_database.m_connection, "SELECT uid FROM person WHERE id = ?;");
    read.bindInt(1, person);
    return read.stepRow() ? read.columnText(0) : std::nullopt;
}

bool AddressBookDatabase::Addition::commit(Error* error)
{
    sqlite3* connection = m_database.m_connection;
    // Groups that gained members changed now, as a handle's save would have them.
    SqliteStatement touch(connection, "UPDATE contact_group SET modified = ? WHERE id = ?;");
    for (RecordID group : m_grownGroups) {
        touch.bindInt64(1, m_savedAt);
        touch.bindInt(2, group);
        if (touch.step() != SQLITE_DONE)
            return failOnConnection(error, connection, "A group cannot be written to the address book");
        touch.reset();
    }
    // The handle's persons no longer are all the persons in the file.
    m_database.m_personsRevision.reset();
    return commitWrite(connection, *m_transaction, m_nextID, true, error);
}

bool AddressBookDatabase::writeChangedProperties(Person& person, Date savedAt, bool& stillStored)
{
    std::vector<PropertyID> columns;
    std::vector<PropertyID> lists;
    for (PropertyID property : person.changedProperties()) {
        if (columnOfProperty(property))
            columns.push_back(property);
        else if (isMultiValueType(Person::propertyType(property)))
            lists.push_back(property);
    }

    // The lists live in one blob per person: the stored blob is read under this save's
    // write lock and only the changed lists are replaced in it.
    std::optional<std::string> mergedLists;
    if (!lists.empty()) {
        SqliteStatement read(m_connection, "SELECT multi_values FROM person WHERE id = ?;");
        read.bindInt(1, person.recordID());
        int result = read.step();
        if (result == SQLITE_DONE) {
            stillStored = false;
            return true;
        }
        if (result != SQLITE_ROW)
            return false;
        std::vector<std::pair<PropertyID, Value>> stored;
        // A damaged blob loses only what this handle does not write anew.
        if (!StoredValueCodec::decode(read.columnBlob(0), stored))
            stored.clear();
        std::erase_if(stored, [&](const auto& slot) { return std::count(lists.begin(), lists.end(), slot.first) != 0; });
        for (PropertyID property : lists) {
            if (const Value* value = person.value(property))
                stored.emplace_back(property, *value);
        }
        mergedLists = StoredValueCodec::encode(stored);
    }

    std::string sql = "UPDATE person SET modified = ?";
    for (PropertyID property : columns)
        sql += std::string(", ") + columnOfProperty(property) + " = ?";
    if (mergedLists)
        sql += ", multi_values = ?";
    if (person.m_imageChanged)
        sql += ", has_image = ?";
    sql += " WHERE id = ?;";
    SqliteStatement update(m_connection, sql);
    int index = 1;
    update.bindInt64(index++, toStored(savedAt));
    for (PropertyID property : columns)
        bindPropertyValue(update, index++, person, property);
    if (mergedLists) {
        if (!mergedLists->empty())
            update.bindBlob(index, mergedLists->data(), static_cast<int>(mergedLists->size()));
        ++index;
    }
    if (person.m_imageChanged)
        update.bindInt(index++, person.hasImageData() ? 1 : 0);
    update.bindInt(index, person.recordID());
    if (update.step() != SQLITE_DONE)
        return false;
    stillStored = sqlite3_changes(m_connection) != 0;
    bool searchedChanged = std::ranges::any_of(person.changedProperties(),
                                       [](PropertyID property) { return PersonSearchKeys::isSearched(property); });
    if (!stillStored || !searchedChanged)
        return true;
    // Folded from the row as it now stands: other handles may have changed the names this
    // one left alone.
    SqliteStatement refold(m_connection, std::string("UPDATE person SET search_keys = person_search_keys(") + kSearchedColumns + ") WHERE id = ?;");
    refold.bindInt(1, person.recordID());
    return refold.step() == SQLITE_DONE;
}

bool AddressBookDatabase::save(AddressBookContents& contents, Error* error)
{
    SqliteTransaction transaction(m_connection);
    if (!transaction.isActive())
        return failOnConnection(error, m_connection, "The address book cannot be written");

    // Identifiers handed out here are taken back if the transaction fails, so that the
    // records read as new again and a later save can retry.
    std::vector<Record*> numbered;
    struct TakeBack {
        std::vector<Record*>& records;
        bool committed { false };
        ~TakeBack()
        {
            if (!committed)
                for (Record* record : records)
                    record->m_recordID = kRecordInvalidID;
        }
    } takeBack { numbered };

    SqliteStatement readCounter(m_connection, "SELECT value FROM store_info WHERE key = 'next_record_id';");
    if (!readCounter.stepRow())
        return fail(error, "The address book's identifier counter cannot be read: " + readCounter.errorMessage());
    std::int64_t nextID = readCounter.columnInt64(0);
    // A new group that joins its stored namesake takes that group's identifier. The lookup
    // runs under this save's write lock, so two programs importing the same categories at
    // once make one group of each name, not two.
    std::unordered_set<const Record*> adopted;
    SqliteStatement findNamesake(m_connection, "SELECT id FROM contact_group WHERE source_id = ? AND name = ? ORDER BY id LIMIT 1;");
    for (auto& group : contents.groups) {
        auto name = group->copyString(kGroupNameProperty);
        if (group->m_recordID != kRecordInvalidID || !group->m_joinsNamesake || !name)
            continue;
        findNamesake.bindInt(1, group->m_source ? group->m_source->recordID() : contents.sources.front()->recordID());
        findNamesake.bindText(2, *name);
        if (findNamesake.stepRow()) {
            group->m_recordID = findNamesake.columnInt(0);
            numbered.push_back(group.get());
            adopted.insert(group.get());
        }
        findNamesake.reset();
    }
    auto number = [&](Record& record) -> bool {
        if (record.m_recordID != kRecordInvalidID)
            return true;
        if (nextID > INT32_MAX)
            return false;
        record.m_recordID = static_cast<RecordID>(nextID++);
        numbered.push_back(&record);
        return true;
    };
    bool numberedAll = std::all_of(contents.sources.begin(), contents.sources.end(), [&](auto& record) { return number(*record); })
        && std::all_of(contents.people.begin(), contents.people.end(), [&](auto& record) { return number(*record); })
        && std::all_of(contents.groups.begin(), contents.groups.end(), [&](auto& record) { return number(*record); });
    if (!numberedAll) {
        reportError(error, ErrorCode::OutOfIdentifiers, "The address book has no record identifiers left.");
        return false;
    }
    std::unordered_set<const Record*> fresh;
    for (const Record* record : numbered) {
        if (!adopted.count(record))
            fresh.insert(record);
    }
    auto wasNew = [&fresh](const Record& record) { return fresh.count(&record) != 0; };

    Date savedAt = now();
    // A failed statement is not reset here: resetting would replace the connection's account
    // of the failure ("attempt to write a readonly database") before it is reported.
    auto stepDone = [](SqliteStatement& statement) {
        if (statement.step() != SQLITE_DONE)
            return false;
        statement.reset();
        return true;
    };
    // Runs a deletion for each record removed since the last save, stopping at the first that fails.
    auto deleteEach = [&stepDone](SqliteStatement& deletion, const std::vector<RecordID>& removed) {
        return std::all_of(removed.begin(), removed.end(), [&](RecordID record) {
            deletion.bindInt(1, record);
            return stepDone(deletion);
        });
    };

    SqliteStatement insertSource(m_connection, "INSERT INTO source (id, type, name) VALUES (?, ?, ?);");
    SqliteStatement updateSource(m_connection, "UPDATE source SET type = ?, name = ? WHERE id = ?;");
    for (auto& source : contents.sources) {
        if (!source->hasUnsavedChanges() && !wasNew(*source))
            continue;
        auto name = source->copyString(kSourceNameProperty);
        bool written;
        if (wasNew(*source)) {
            insertSource.bindInt(1, source->recordID());
            insertSource.bindInt(2, source->sourceType());
            if (name)
                insertSource.bindText(3, *name);
            written = stepDone(insertSource);
        } else {
            updateSource.bindInt(1, source->sourceType());
            if (name)
                updateSource.bindText(2, *name);
            updateSource.bindInt(3, source->recordID());
            written = stepDone(updateSource);
        }
        if (!written)
            return failOnConnection(error, m_connection, "An account cannot be written to the address book");
    }

    SqliteStatement deletePerson(m_connection, "DELETE FROM person WHERE id = ?;");
    if (!deleteEach(deletePerson, contents.removedPeople))
        return failOnConnection(error, m_connection, "A person cannot be deleted from the address book");

    SqliteStatement insertPerson(m_connection, kInsertPerson);
    // Identifiers made for new persons, given to them once the save has committed.
    std::vector<std::pair<Person*, std::string>> madeUids;
    SqliteStatement writeImage(m_connection, "INSERT OR REPLACE INTO person_image (person_id, image, thumbnail) VALUES (?, ?, ?);");
    SqliteStatement deleteImage(m_connection, "DELETE FROM person_image WHERE person_id = ?;");
    std::vector<Person*> vanished;
    bool personsWritten = !contents.removedPeople.empty();
    for (auto& personRef : contents.people) {
        Person& person = *personRef;
        bool created = wasNew(person);
        if (!created && !person.hasUnsavedChanges())
            continue;
        personsWritten = true;
        RecordID sourceID = person.m_source ? person.m_source->recordID() : contents.sources.front()->recordID();
        bool written;
        if (created) {
            std::string madeUid;
            bindNewPerson(insertPerson, person, sourceID, savedAt, madeUid);
            if (!madeUid.empty())
                madeUids.emplace_back(&person, std::move(madeUid));
            written = stepDone(insertPerson);
        } else {
            bool stillStored = true;
            written = writeChangedProperties(person, savedAt, stillStored);
            if (written && !stillStored) {
                // Deleted by another handle since this one was created: its deletion stands.
                vanished.push_back(&person);
                continue;
            }
        }
        if (!written)
            return failOnConnection(error, m_connection, "A person cannot be written to the address book");
        if (person.m_imageChanged || (created && person.m_imageState == Person::ImageState::Pending)) {
            if (person.m_imageState == Person::ImageState::Pending) {
                writeImage.bindInt(1, person.recordID());
                writeImage.bindBlob(2, person.m_picture->image.data(), static_cast<int>(person.m_picture->image.size()));
                writeImage.bindBlob(3, person.m_picture->thumbnail.data(), static_cast<int>(person.m_picture->thumbnail.size()));
                written = stepDone(writeImage);
            } else {
                deleteImage.bindInt(1, person.recordID());
                written = stepDone(deleteImage);
            }
            if (!written)
                return failOnConnection(error, m_connection, "A picture cannot be written to the address book");
        }
    }

    SqliteStatement deleteGroup(m_connection, "DELETE FROM contact_group WHERE id = ?;");
    if (!deleteEach(deleteGroup, contents.removedGroups))
        return failOnConnection(error, m_connection, "A group cannot be deleted from the address book");

    SqliteStatement insertGroup(m_connection, "INSERT INTO contact_group (id, source_id, name, created, modified) VALUES (?, ?, ?, ?, ?);");
    SqliteStatement updateGroup(m_connection, "UPDATE contact_group SET modified = ? WHERE id = ?;");
    SqliteStatement renameGroup(m_connection, "UPDATE contact_group SET name = ?, modified = ? WHERE id = ?;");
    SqliteStatement removeMember(m_connection, "DELETE FROM group_member WHERE group_id = ? AND person_id = ?;");
    MemberInsertion insertMember(m_connection);
    for (auto& group : contents.groups) {
        bool created = wasNew(*group);
        if (!created && !group->hasUnsavedChanges() && !adopted.count(group.get()))
            continue;
        RecordID sourceID = group->m_source ? group->m_source->recordID() : contents.sources.front()->recordID();
        auto name = group->copyString(kGroupNameProperty);
        bool written;
        const std::vector<PersonRef>* joining = &group->m_joined;
        if (created) {
            insertGroup.bindInt(1, group->recordID());
            insertGroup.bindInt(2, sourceID);
            if (name)
                insertGroup.bindText(3, *name);
            insertGroup.bindInt64(4, toStored(savedAt));
            insertGroup.bindInt64(5, toStored(savedAt));
            written = stepDone(insertGroup);
            joining = &group->m_members;
        } else {
            // Only a name this handle changed is written; the members change by difference.
            bool renamed = !adopted.count(group.get())
                && std::ranges::count(group->changedProperties(), kGroupNameProperty);
            SqliteStatement& touch = renamed ? renameGroup : updateGroup;
            int at = 1;
            if (renamed) {
                if (name)
                    touch.bindText(at, *name);
                ++at;
            }
            touch.bindInt64(at, toStored(savedAt));
            touch.bindInt(at + 1, group->recordID());
            written = stepDone(touch);
            if (written && sqlite3_changes(m_connection) == 0)
                continue;
            for (RecordID left : group->m_left) {
                if (!written)
                    break;
                removeMember.bindInt(1, group->recordID());
                removeMember.bindInt(2, left);
                written = stepDone(removeMember);
            }
        }
        for (const auto& member : *joining) {
            if (!written)
                break;
            bool joined = false;
            written = insertMember.add(group->recordID(), member->recordID(), joined);
        }
        if (!written)
            return failOnConnection(error, m_connection, "A group cannot be written to the address book");
    }

    const std::int64_t revisionBefore = readPersonsRevision(m_connection);
    if (!commitWrite(m_connection, transaction, nextID, personsWritten, error))
        return false;
    takeBack.committed = true;
    // The handle's persons are the file's only when nobody else wrote persons since it read them.
    if (m_personsRevision == revisionBefore)
        m_personsRevision = revisionBefore + (personsWritten ? 1 : 0);
    else
        m_personsRevision.reset();

    // The file now holds everything; bring the records in memory in line with it.
    auto images = self();
    for (auto& personRef : contents.people) {
        Person& person = *personRef;
        bool created = wasNew(person);
        if (!created && !person.hasUnsavedChanges())
            continue;
        if (created)
            person.assignStoredValue(kPersonCreationDateProperty, savedAt);
        person.assignStoredValue(kPersonModificationDateProperty, savedAt);
        person.m_changed = false;
        person.forgetChangedProperties();
        person.m_imageChanged = false;
        if (person.m_imageState == Person::ImageState::Pending)
            person.keepStoredPicture(images);
    }
    for (auto& [person, uid] : madeUids)
        person->assignStoredValue(kPersonUIDProperty, std::move(uid));
    for (Person* person : vanished)
        foundation::log("Error: changes to person " + std::to_string(person->recordID()) + " were not saved; it was deleted elsewhere");
    // A group that joined its stored namesake took an older identifier; the list stays in
    // identifier order.
    if (!adopted.empty()) {
        std::stable_sort(contents.groups.begin(), contents.groups.end(),
                         [](const GroupRef& a, const GroupRef& b) { return recordOrder(a->recordID()) < recordOrder(b->recordID()); });
    }
    for (auto& group : contents.groups) {
        group->m_changed = false;
        group->forgetChangedProperties();
        group->m_joined.clear();
        group->m_left.clear();
    }
    for (auto& source : contents.sources)
        source->m_changed = false;
    contents.removedPeople.clear();
    contents.removedGroups.clear();
    return true;
}

} // namespace contactstore
