#include "platform/contactstore/AccessControl.h"

#include <atomic>
#include <mutex>
#include <thread>
#include <utility>
#include <vector>

namespace contactstore {

namespace {

std::atomic<bool> g_refused { false };

// The threads that deliver answers. Joined when the program ends, so that no answer is
// cut off half-way and no thread outlives the objects its completion uses.
class AnswerThreads {
public:
    ~AnswerThreads()
    {
        std::vector<std::thread> threads;
        {
            std::lock_guard lock(m_mutex);
            threads.swap(m_threads);
        }
        for (auto& thread : threads)
            thread.join();
    }

    void start(std::function<void()> work)
    {
        std::lock_guard lock(m_mutex);
        m_threads.emplace_back(std::move(work));
    }

private:
    std::mutex m_mutex;
    std::vector<std::thread> m_threads;
};

AnswerThreads& answerThreads()
{
    static AnswerThreads threads;
    return threads;
}

} // namespace

void AccessControl::setAccessRefused(bool refused)
{
    g_refused = refused;
}

bool AccessControl::isAccessRefused()
{
    return g_refused;
}

AuthorizationStatus AccessControl::authorizationStatus()
{
    return g_refused ? AuthorizationStatus::Denied : AuthorizationStatus::Authorized;
}

void AccessControl::requestAccess(Completion completion)
{
    if (!completion)
        return;
    bool granted = !g_refused;
    answerThreads().start([granted, completion = std::move(completion)] {
        Error error;
        if (!granted) {
            error.code = ErrorCode::AccessDenied;
            error.description = "The user has not allowed access to the contacts.";
        }
        completion(granted, error);
    });
}

} // namespace contactstore
