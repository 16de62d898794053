#pragma once
// What the sync remembers between runs, in its own SQLite file beside the address book
// (AddressBook/CardDAV.sqlite): the accounts (server, user, transport choices; never the
// password, which the keychain keeps), each account's address-book collections with the
// account (source) that holds their cards and the last sync token, and for every card the
// server's address, its ETag, the card as both sides last agreed on it (the base of a
// three-way merge) and a digest of the local record as it was then.
//
// A sync writes this file only after the address book has saved what it describes, so a
// sync killed in between finds records the file does not know yet and matches them to the
// server's cards by UID: nothing is lost or made twice.

#include "platform/contactstore/Constants.h"

#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <vector>

struct sqlite3;

namespace contactstore::carddav {

struct AccountRecord {
    std::string name;
    std::string serverUrl;
    std::string user;
    bool allowPlainHttp { false };
    std::string certificateAuthorityFile;
};

struct CollectionRecord {
    std::string url;
    std::string account;
    std::string displayName;
    RecordID sourceID { kRecordInvalidID };
    std::string syncToken;
    bool offersSyncCollection { false };
};

struct ItemRecord {
    enum class Kind { Person = 0, Group = 1 };
    std::string url;
    std::string uid;
    std::string etag;
    Kind kind { Kind::Person };
    RecordID recordID { kRecordInvalidID };
    // The card as last agreed, as vCard text.
    std::string base;
    // Digest of the local record's card at that moment; a different digest now means the
    // record was changed here since.
    std::string localDigest;
};

class SyncState {
public:
    static constexpr char kFileName[] = "CardDAV.sqlite";

    // Opens (creating when missing) the file in the folder. Null with the reason on failure.
    [[nodiscard]] static std::unique_ptr<SyncState> open(const std::filesystem::path& directory, std::string* why);
    ~SyncState();
    SyncState(const SyncState&) = delete;
    SyncState& operator=(const SyncState&) = delete;

    std::vector<AccountRecord> accounts();
    std::optional<AccountRecord> account(const std::string& name);
    // Adds the account with its collections in one transaction (replacing an account of the
    // same name).
    [[nodiscard]] bool addAccount(const AccountRecord& account, const std::vector<CollectionRecord>& collections);
    // Forgets the account, its collections and their cards.
    [[nodiscard]] bool removeAccount(const std::string& name);

    std::vector<CollectionRecord> collections(const std::string& account);
    [[nodiscard]] bool setSyncToken(const std::string& collectionUrl, const std::string& token);

    std::vector<ItemRecord> items(const std::string& collectionUrl);
    // Writes and removes items of a collection in one transaction.
    [[nodiscard]] bool update(const std::string& collectionUrl, const std::vector<ItemRecord>& written,
                              const std::vector<std::string>& removedUrls);

    const std::string& lastError() const { return m_lastError; }

private:
    SyncState() = default;
    bool exec(const char* sql);

    sqlite3* m_connection { nullptr };
    std::string m_lastError;
};

} // namespace contactstore::carddav
