#pragma once
// Two-way sync of one address-book collection with the account (source) of the address
// book that holds its cards. What changed on the server comes from sync-collection where the
// server offers it, else from comparing every ETag with the last one seen; what changed on
// the device from comparing each record's card with the one last agreed. Changes travel
// both ways, deletions too; a card changed on both sides is merged field by field
// (CardMerge) and the choice logged. Writes to the server are conditional on the ETag last
// seen, so a card someone else just changed is fetched and merged instead of overwritten.
//
// The address book is saved batch by batch and the sync state written after each save, so
// a sync killed at any point leaves both sides consistent and the next one finishes the job.

#include "platform/contactstore/AddressBook.h"
#include "platform/contactstore/carddav/CardDavClient.h"
#include "platform/contactstore/carddav/SyncState.h"

#include <cstddef>
#include <functional>
#include <string>

namespace contactstore::carddav {

struct CollectionReport {
    std::string collection;
    // Cards written into the address book from the server (new or changed).
    std::size_t received { 0 };
    // Cards written to the server.
    std::size_t sent { 0 };
    // Records deleted here because the server deleted them, and cards deleted on the server.
    std::size_t deletedHere { 0 };
    std::size_t deletedThere { 0 };
    // Cards changed on both sides and merged.
    std::size_t merged { 0 };
    SyncFailure failure;
    // Whether the address book changed (the application then reloads).
    bool bookChanged { false };
};

class CollectionSync {
public:
    CollectionSync(AddressBookRef book, SyncState& state, CardDavClient& client, CollectionRecord collection);

    [[nodiscard]] CollectionReport run();

    // Cards fetched, saved to the address book and written to the state file per batch.
    static constexpr std::size_t kBatch = 250;
    // Smaller batches, for tests that stop a sync between two of them; 0 restores kBatch.
    static void setBatchSizeForTesting(std::size_t size);

    // For tests that stop a sync in the middle: called after each batch is saved.
    static void setAfterBatchHookForTesting(std::function<void()> hook);

private:
    struct Impl;

    AddressBookRef m_book;
    SyncState& m_state;
    CardDavClient& m_client;
    CollectionRecord m_collection;
};

} // namespace contactstore::carddav
