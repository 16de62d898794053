#pragma once
// The process-wide notification centre: observers register for a name, optionally for one
// object text only, and hear every matching post synchronously on the posting thread (the
// main thread, by the rules of the run loop).
//
// Ownership: the centre owns the observer functions. addObserver hands back an Observation;
// the observer lives until that goes (or is reset), so an observer cannot outlive the object
// that registered it as long as the object keeps its Observation as a field.

#include "platform/foundation/Notification.h"

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>

namespace foundation {

class NotificationCenter;

// Keeps one registration alive; removing it on destruction.
class Observation {
public:
    Observation() = default;
    ~Observation();
    Observation(Observation&& other) noexcept;
    Observation& operator=(Observation&& other) noexcept;
    Observation(const Observation&) = delete;
    Observation& operator=(const Observation&) = delete;

    void reset();
    // True while registered with a centre that still exists.
    bool isActive() const;

private:
    friend class NotificationCenter;
    struct Registry;
    Observation(std::weak_ptr<Registry> registry, std::uint64_t token);

    std::weak_ptr<Registry> m_registry;
    std::uint64_t m_token { 0 };
};

class NotificationCenter {
public:
    using Handler = std::function<void(const Notification&)>;

    static NotificationCenter& defaultCenter();

    NotificationCenter();
    ~NotificationCenter();
    NotificationCenter(const NotificationCenter&) = delete;
    NotificationCenter& operator=(const NotificationCenter&) = delete;

    // Hears posts of `name`; with an object, only posts carrying that object text.
    [[nodiscard]] Observation addObserver(std::string name, std::optional<std::string> object, Handler handler);

    // Delivers to every matching observer in the order they registered. An observer
    // removed by an earlier one during the same post is not called.
    void postNotification(const std::string& name, const std::string& object = {}, UserInfo userInfo = {});
    void postNotification(const Notification& notification);

    std::size_t observerCount() const;

private:
    // Shared with the Observations, which hold it weakly, so that either side may go first.
    std::shared_ptr<Observation::Registry> m_registry;
};

} // namespace foundation
