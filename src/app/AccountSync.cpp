#include "app/AccountSync.h"

#include "platform/foundation/RunLoop.h"

namespace tessaro {

AccountSync::~AccountSync()
{
    m_alive.reset();
    if (m_thread.joinable())
        m_thread.join();
}

bool AccountSync::hasAccounts()
{
    return !contactstore::carddav::CardDavAccounts::list().empty();
}

bool AccountSync::start(Finished finished)
{
    if (m_running.exchange(true))
        return false;
    if (m_thread.joinable())
        m_thread.join();
    std::weak_ptr<bool> alive = m_alive;
    m_thread = std::thread([this, alive, finished = std::move(finished)] {
        auto reports = std::make_shared<std::vector<contactstore::carddav::AccountReport>>(
            contactstore::carddav::CardDavAccounts::sync({}));
        foundation::RunLoop::main().post([this, alive, finished, reports] {
            if (alive.expired())
                return;
            m_running = false;
            finished(*reports);
        });
    });
    return true;
}

} // namespace tessaro
