#include "platform/contactstore/carddav/CardDavAccounts.h"

#include "platform/contactstore/Group.h"
#include "platform/contactstore/Person.h"
#include "platform/contactstore/Source.h"
#include "platform/foundation/DataLocations.h"
#include "platform/foundation/Keychain.h"

#include <algorithm>

namespace contactstore::carddav {

namespace {

std::unique_ptr<SyncState> openState(std::string* why)
{
    return SyncState::open(foundation::DataLocations::addressBookDirectory(), why);
}

std::string collectionName(const AddressBookCollection& collection)
{
    if (!collection.displayName.empty())
        return collection.displayName;
    std::string path = collection.url;
    while (!path.empty() && path.back() == '/')
        path.pop_back();
    auto slash = path.rfind('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

TransportPolicy policyOf(const AccountRecord& account)
{
    TransportPolicy policy;
    policy.allowPlainHttp = account.allowPlainHttp;
    policy.certificateAuthorityFile = account.certificateAuthorityFile;
    return policy;
}

} // namespace

std::string CardDavAccounts::defaultName(const std::string& serverUrl, const std::string& user)
{
    std::string host = HttpClient::host(serverUrl);
    return host.empty() ? user : user + "@" + host;
}

SyncFailure CardDavAccounts::add(const NewAccount& account, std::string& name, std::vector<AddressBookCollection>& collections)
{
    name = account.name.empty() ? defaultName(account.serverUrl, account.user) : account.name;
    std::string why;
    auto state = openState(&why);
    if (!state)
        return { SyncFailure::Kind::ServerError, "The sync state cannot be opened: " + why };
    if (state->account(name))
        return { SyncFailure::Kind::ServerError, "There is an account " + name + " already; remove it first." };

    TransportPolicy policy;
    policy.allowPlainHttp = account.allowPlainHttp;
    policy.certificateAuthorityFile = account.certificateAuthorityFile;
    HttpClient http(account.user, account.password, policy);
    CardDavClient client(http);
    if (SyncFailure failure = client.discover(account.serverUrl, collections))
        return failure;

    Error error;
    AddressBookRef book = AddressBook::create(&error);
    if (!book || !book->isAccessGranted())
        return { SyncFailure::Kind::ServerError,
                 "The address book cannot be opened: " + (book ? std::string("access is refused") : error.description) };
    // Accounts left empty by a removed account of the same name are used again, not doubled.
    std::vector<RecordID> claimed;
    for (const AccountRecord& other : state->accounts()) {
        for (const CollectionRecord& collection : state->collections(other.name))
            claimed.push_back(collection.sourceID);
    }
    std::vector<CollectionRecord> records;
    std::vector<SourceRef> sources;
    for (const AddressBookCollection& collection : collections) {
        std::string sourceName = collectionName(collection);
        SourceRef source;
        for (const SourceRef& candidate : book->copyArrayOfAllSources()) {
            bool unclaimed = std::find(claimed.begin(), claimed.end(), candidate->recordID()) == claimed.end()
                && std::find(sources.begin(), sources.end(), candidate) == sources.end();
            if (candidate->sourceType() == kSourceTypeCardDAV && unclaimed && candidate->copyCompositeName() == sourceName
                && book->copyArrayOfAllPeopleInSource(candidate).empty() && book->copyArrayOfAllGroupsInSource(candidate).empty()) {
                source = candidate;
                break;
            }
        }
        if (!source) {
            source = Source::create(kSourceTypeCardDAV, sourceName);
            if (!book->addRecord(source, &error))
                return { SyncFailure::Kind::ServerError, "The address book cannot take the account: " + error.description };
        }
        sources.push_back(source);
    }
    if (!book->save(&error))
        return { SyncFailure::Kind::ServerError, "The address book cannot be written: " + error.description };
    for (std::size_t i = 0; i < collections.size(); ++i)
        records.push_back({ collections[i].url, name, collectionName(collections[i]), sources[i]->recordID(), {},
                            collections[i].offersSyncCollection });

    AccountRecord stored { name, account.serverUrl, account.user, account.allowPlainHttp, account.certificateAuthorityFile };
    foundation::Keychain::deleteGenericPassword(kKeychainService, name);
    if (!foundation::Keychain::addGenericPassword(kKeychainService, name, account.password))
        return { SyncFailure::Kind::ServerError, "The password cannot be kept in the keychain." };
    if (!state->addAccount(stored, records)) {
        foundation::Keychain::deleteGenericPassword(kKeychainService, name);
        return { SyncFailure::Kind::ServerError, "The account cannot be written: " + state->lastError() };
    }
    return {};
}

std::vector<AccountRecord> CardDavAccounts::list(std::string* why)
{
    // Asking leaves a profile without accounts as it was: no sync state is made for it.
    std::error_code ignored;
    if (!std::filesystem::exists(foundation::DataLocations::addressBookDirectory() / SyncState::kFileName, ignored))
        return {};
    auto state = openState(why);
    return state ? state->accounts() : std::vector<AccountRecord> {};
}

std::vector<CollectionRecord> CardDavAccounts::collectionsOf(const std::string& name)
{
    auto state = openState(nullptr);
    return state ? state->collections(name) : std::vector<CollectionRecord> {};
}

bool CardDavAccounts::remove(const std::string& name, std::string* why)
{
    auto state = openState(why);
    if (!state)
        return false;
    if (!state->account(name)) {
        if (why)
            *why = "there is no account " + name;
        return false;
    }
    Error error;
    AddressBookRef book = AddressBook::create(&error);
    if (!book || !book->isAccessGranted()) {
        if (why)
            *why = "the address book cannot be opened: " + (book ? std::string("access is refused") : error.description);
        return false;
    }
    // The account's persons and groups leave the device with it; its empty account record
    // stays (accounts are never deleted) and a later account of that name uses it again.
    for (const CollectionRecord& collection : state->collections(name)) {
        SourceRef source = book->sourceWithRecordID(collection.sourceID);
        if (!source)
            continue;
        for (const GroupRef& group : book->copyArrayOfAllGroupsInSource(source))
            (void)book->removeRecord(group);
        for (const PersonRef& person : book->copyArrayOfAllPeopleInSource(source))
            (void)book->removeRecord(person);
    }
    if (!book->save(&error)) {
        if (why)
            *why = "the address book cannot be written: " + error.description;
        return false;
    }
    if (!state->removeAccount(name)) {
        if (why)
            *why = "the account cannot be forgotten: " + state->lastError();
        return false;
    }
    foundation::Keychain::deleteGenericPassword(kKeychainService, name);
    return true;
}

std::vector<AccountReport> CardDavAccounts::sync(const std::string& name, const Progress& progress, AddressBookRef book)
{
    std::vector<AccountReport> reports;
    if (name.empty() && list().empty())
        return reports;
    std::string why;
    auto state = openState(&why);
    if (!state) {
        reports.push_back({ name, {}, { SyncFailure::Kind::ServerError, "The sync state cannot be opened: " + why }, false });
        return reports;
    }
    std::vector<AccountRecord> accounts;
    if (name.empty()) {
        accounts = state->accounts();
    } else if (auto account = state->account(name)) {
        accounts.push_back(*account);
    } else {
        reports.push_back({ name, {}, { SyncFailure::Kind::ServerError, "There is no account " + name + "." }, false });
        return reports;
    }
    if (!book) {
        Error error;
        book = AddressBook::create(&error);
        if (!book || !book->isAccessGranted()) {
            for (const AccountRecord& account : accounts)
                reports.push_back({ account.name, {}, { SyncFailure::Kind::ServerError, "The address book cannot be opened." }, false });
            return reports;
        }
    }
    for (const AccountRecord& account : accounts) {
        AccountReport report { account.name, {}, {}, false };
        auto password = foundation::Keychain::genericPassword(kKeychainService, account.name);
        if (!password) {
            report.failure = { SyncFailure::Kind::Unauthorized, "The password of " + account.name + " is not in the keychain; add the account again." };
            reports.push_back(std::move(report));
            continue;
        }
        HttpClient http(account.user, *password, policyOf(account));
        CardDavClient client(http);
        for (const CollectionRecord& collection : state->collections(account.name)) {
            CollectionReport done = CollectionSync(book, *state, client, collection).run();
            report.bookChanged = report.bookChanged || done.bookChanged;
            if (done.failure && !report.failure)
                report.failure = done.failure;
            if (progress)
                progress(done);
            bool unreachable = done.failure.kind == SyncFailure::Kind::Unreachable || done.failure.kind == SyncFailure::Kind::Unauthorized;
            report.collections.push_back(std::move(done));
            // A server that cannot be reached, or refuses the user, refuses every collection.
            if (unreachable)
                break;
        }
        reports.push_back(std::move(report));
    }
    return reports;
}

} // namespace contactstore::carddav
