#pragma once
// The profile's CardDAV accounts: adding one (finding its address books on the server and
// giving each an account of its own in the address book), listing, removing (its persons and
// groups leave the device with it) and syncing them. Passwords live in the profile's keychain
// (Keychain/, readable by the user alone), never in the sync state.
//
// Blocking (the network); any thread, one call at a time per profile. Each call opens its
// own address-book handle unless given one.

#include "platform/contactstore/AddressBook.h"
#include "platform/contactstore/carddav/CollectionSync.h"
#include "platform/contactstore/carddav/SyncState.h"

#include <functional>
#include <string>
#include <vector>

namespace contactstore::carddav {

struct NewAccount {
    std::string serverUrl;
    std::string user;
    std::string password;
    // Empty: "user@host".
    std::string name;
    bool allowPlainHttp { false };
    std::string certificateAuthorityFile;
};

struct AccountReport {
    std::string account;
    std::vector<CollectionReport> collections;
    // Why the account could not be synced at all (or the first collection's failure).
    SyncFailure failure;
    bool bookChanged { false };
};

class CardDavAccounts {
public:
    // Keychain items: service "carddav", account the account's name.
    static constexpr char kKeychainService[] = "carddav";

    static std::string defaultName(const std::string& serverUrl, const std::string& user);

    // Finds the user's address books and remembers the account; the collections found come
    // back. Nothing is kept when the server cannot be used or the name is taken.
    [[nodiscard]] static SyncFailure add(const NewAccount& account, std::string& name,
                                         std::vector<AddressBookCollection>& collections);
    [[nodiscard]] static std::vector<AccountRecord> list(std::string* why = nullptr);
    // The collections of an account as the sync state knows them.
    [[nodiscard]] static std::vector<CollectionRecord> collectionsOf(const std::string& name);
    // Forgets the account and deletes its persons and groups from the address book. False
    // with the reason when there is no such account or the book cannot be written.
    [[nodiscard]] static bool remove(const std::string& name, std::string* why = nullptr);

    using Progress = std::function<void(const CollectionReport&)>;
    // Syncs every collection of the account (every account when the name is empty), telling
    // progress after each collection.
    static std::vector<AccountReport> sync(const std::string& name, const Progress& progress = {},
                                           AddressBookRef book = nullptr);
};

} // namespace contactstore::carddav
