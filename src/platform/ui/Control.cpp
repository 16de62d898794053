#include "platform/ui/Control.h"

#include "platform/ui/Touch.h"
#include "platform/ui/ViewDescription.h"

#include <algorithm>

namespace ui {

Control::ActionId Control::addAction(ControlEvent events, Action action)
{
    auto id = m_nextActionId++;
    m_actions.push_back({ id, events, std::move(action) });
    return id;
}

void Control::removeAction(ActionId id)
{
    std::erase_if(m_actions, [id](const Registration& r) { return r.id == id; });
}

void Control::removeActions(ControlEvent events)
{
    std::erase_if(m_actions, [events](const Registration& r) { return r.events & events; });
}

bool Control::hasActions(ControlEvent events) const
{
    return std::any_of(m_actions.begin(), m_actions.end(), [events](const Registration& r) { return r.events & events; });
}

void Control::sendActionsForControlEvents(ControlEvent events)
{
    // Actions may add or remove actions, or drop the control from its screen: run from a
    // copy, and keep the control alive until they are done.
    auto keep = weak_from_this().lock();
    std::vector<Registration> matching;
    for (const auto& r : m_actions) {
        if (r.events & events)
            matching.push_back(r);
    }
    for (auto& r : matching) {
        bool stillRegistered = std::any_of(m_actions.begin(), m_actions.end(), [&](const Registration& x) { return x.id == r.id; });
        if (stillRegistered && r.action)
            r.action(*this);
    }
}

void Control::setEnabled(bool enabled)
{
    if (enabled == m_enabled)
        return;
    m_enabled = enabled;
    if (!enabled)
        m_highlighted = false;
    setNeedsDisplay();
}

void Control::setSelected(bool selected)
{
    if (selected == m_selected)
        return;
    m_selected = selected;
    setNeedsDisplay();
}

void Control::setHighlighted(bool highlighted)
{
    if (highlighted == m_highlighted)
        return;
    m_highlighted = highlighted;
    setNeedsDisplay();
}

ControlState Control::state() const
{
    std::uint32_t state = 0;
    if (m_highlighted)
        state |= static_cast<std::uint32_t>(ControlState::Highlighted);
    if (!m_enabled)
        state |= static_cast<std::uint32_t>(ControlState::Disabled);
    if (m_selected)
        state |= static_cast<std::uint32_t>(ControlState::Selected);
    return static_cast<ControlState>(state);
}

bool Control::isTouchInside(const Touch& touch) const
{
    return bounds().insetBy(-touchSlack, -touchSlack).contains(touch.locationIn(*this));
}

void Control::touchesBegan(const Touch&)
{
    if (!m_enabled)
        return;
    m_tracking = true;
    m_wasInside = true;
    setHighlighted(true);
    sendActionsForControlEvents(ControlEvent::TouchDown);
}

void Control::touchesMoved(const Touch& touch)
{
    if (!m_tracking)
        return;
    bool inside = isTouchInside(touch);
    setHighlighted(inside);
    if (inside != m_wasInside)
        sendActionsForControlEvents(inside ? ControlEvent::TouchDragEnter : ControlEvent::TouchDragExit);
    m_wasInside = inside;
    sendActionsForControlEvents(inside ? ControlEvent::TouchDragInside : ControlEvent::TouchDragOutside);
}

void Control::touchesEnded(const Touch& touch)
{
    if (!m_tracking)
        return;
    m_tracking = false;
    bool inside = isTouchInside(touch);
    setHighlighted(false);
    if (m_enabled)
        sendActionsForControlEvents(inside ? ControlEvent::TouchUpInside : ControlEvent::TouchUpOutside);
}

void Control::touchesCancelled(const Touch&)
{
    if (!m_tracking)
        return;
    m_tracking = false;
    setHighlighted(false);
    sendActionsForControlEvents(ControlEvent::TouchCancel);
}

void Control::describe(ViewDescription& description) const
{
    View::describe(description);
    if (!isEnabled())
        description.setFlag("enabled", false);
    if (isSelected())
        description.setFlag("selected", true);
}

} // namespace ui
