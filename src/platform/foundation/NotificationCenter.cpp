#include "platform/foundation/NotificationCenter.h"

#include <utility>
#include <vector>

namespace foundation {

struct Observation::Registry {
    struct Observer {
        std::string name;
        std::optional<std::string> object;
        std::shared_ptr<NotificationCenter::Handler> handler;
    };
    std::map<std::uint64_t, Observer> observers;
    std::uint64_t nextToken { 1 };
};

Observation::Observation(std::weak_ptr<Registry> registry, std::uint64_t token)
    : m_registry(std::move(registry))
    , m_token(token)
{
}

Observation::~Observation()
{
    reset();
}

Observation::Observation(Observation&& other) noexcept
    : m_registry(std::move(other.m_registry))
    , m_token(std::exchange(other.m_token, 0))
{
}

Observation& Observation::operator=(Observation&& other) noexcept
{
    if (this != &other) {
        reset();
        m_registry = std::move(other.m_registry);
        m_token = std::exchange(other.m_token, 0);
    }
    return *this;
}

void Observation::reset()
{
    if (auto registry = m_registry.lock())
        registry->observers.erase(m_token);
    m_registry.reset();
    m_token = 0;
}

bool Observation::isActive() const
{
    auto registry = m_registry.lock();
    return registry && registry->observers.count(m_token) != 0;
}

NotificationCenter& NotificationCenter::defaultCenter()
{
    static NotificationCenter instance;
    return instance;
}

NotificationCenter::NotificationCenter()
    : m_registry(std::make_shared<Observation::Registry>())
{
}

NotificationCenter::~NotificationCenter() = default;

Observation NotificationCenter::addObserver(std::string name, std::optional<std::string> object, Handler handler)
{
    auto token = m_registry->nextToken++;
    m_registry->observers.emplace(token, Observation::Registry::Observer {
        std::move(name), std::move(object), std::make_shared<Handler>(std::move(handler)) });
    return Observation(m_registry, token);
}

void NotificationCenter::postNotification(const std::string& name, const std::string& object, UserInfo userInfo)
{
    postNotification(Notification { name, object, std::move(userInfo) });
}

void NotificationCenter::postNotification(const Notification& notification)
{
    // Observers may register or unregister while hearing the post, so walk a list of
    // tokens and look each one up again before calling it.
    auto registry = m_registry;
    std::vector<std::uint64_t> tokens;
    for (const auto& [token, observer] : registry->observers) {
        if (observer.name == notification.name && (!observer.object || *observer.object == notification.object))
            tokens.push_back(token);
    }
    for (auto token : tokens) {
        auto found = registry->observers.find(token);
        if (found == registry->observers.end())
            continue;
        auto handler = found->second.handler;
        if (handler && *handler)
            (*handler)(notification);
    }
}

std::size_t NotificationCenter::observerCount() const
{
    return m_registry->observers.size();
}

} // namespace foundation
