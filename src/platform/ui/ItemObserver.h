#pragma once
// The one observer a bar item (a bar button, a navigation item, a tab) keeps: the bar that
// shows the item registers here to hear of every change, and removes itself when it goes.
// Only the registered owner can remove the observer, so a bar that no longer shows an item
// cannot silence the bar that shows it now.
//
// Ownership: the item owns the slot; the owner pointer only identifies the bar and is never
// followed.

#include <functional>
#include <utility>

namespace ui {

class ItemObserver {
public:
    void set(const void* owner, std::function<void()> changed)
    {
        m_owner = owner;
        m_changed = std::move(changed);
    }

    void remove(const void* owner)
    {
        if (m_owner != owner)
            return;
        m_owner = nullptr;
        m_changed = nullptr;
    }

    void notify() const
    {
        // A copy: the observer may replace itself while it runs.
        auto changed = m_changed;
        if (changed)
            changed();
    }

private:
    const void* m_owner { nullptr };
    std::function<void()> m_changed;
};

} // namespace ui
