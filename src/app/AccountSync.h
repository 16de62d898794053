#pragma once
// The sync of the address book's CardDAV accounts as the application runs it: at start and
// on every return to the foreground, on a thread of its own (the network must not stop the
// screens), with its own address-book handle. Its outcome is handed back to the main run
// loop; the application then reopens the address book, reloads and tells of a server that
// could not be used. One sync at a time.
//
// Ownership: owns its thread, joined when the object goes (a sync in progress ends within
// the network's time limits).

#include "platform/contactstore/carddav/CardDavAccounts.h"

#include <atomic>
#include <functional>
#include <memory>
#include <thread>
#include <vector>

namespace tessaro {

class AccountSync {
public:
    using Finished = std::function<void(const std::vector<contactstore::carddav::AccountReport>& reports)>;

    AccountSync() = default;
    ~AccountSync();
    AccountSync(const AccountSync&) = delete;
    AccountSync& operator=(const AccountSync&) = delete;

    // Whether the profile has an account to sync.
    static bool hasAccounts();

    // Starts a sync of every account; finished runs on the main run loop when it is done.
    // False (and nothing started) while another sync runs.
    bool start(Finished finished);
    bool isRunning() const { return m_running; }

private:
    std::thread m_thread;
    std::atomic<bool> m_running { false };
    // Cleared when the object goes, so that an outcome posted too late is dropped.
    std::shared_ptr<bool> m_alive { std::make_shared<bool>(true) };
};

} // namespace tessaro
