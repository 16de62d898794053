#pragma once
// A view that turns touches into events (touch down, touch up inside, value changed, ...)
// and sends them to the actions registered for them, with enabled, selected and
// highlighted states.
//
// Actions are std::function values owned by the control; a screen that registers an action
// capturing itself must outlive the control or remove the action (screens own their
// controls, so this holds as long as nobody else keeps the control).

#include "platform/ui/View.h"

#include <cstdint>
#include <functional>
#include <vector>

namespace ui {

enum class ControlEvent : std::uint32_t {
    TouchDown = 1u << 0,
    TouchDownRepeat = 1u << 1,
    TouchDragInside = 1u << 2,
    TouchDragOutside = 1u << 3,
    TouchDragEnter = 1u << 4,
    TouchDragExit = 1u << 5,
    TouchUpInside = 1u << 6,
    TouchUpOutside = 1u << 7,
    TouchCancel = 1u << 8,
    ValueChanged = 1u << 12,
    EditingDidBegin = 1u << 16,
    EditingChanged = 1u << 17,
    EditingDidEnd = 1u << 18,
    EditingDidEndOnExit = 1u << 19,
};
constexpr ControlEvent operator|(ControlEvent a, ControlEvent b)
{
    return static_cast<ControlEvent>(static_cast<std::uint32_t>(a) | static_cast<std::uint32_t>(b));
}
constexpr bool operator&(ControlEvent a, ControlEvent b)
{
    return (static_cast<std::uint32_t>(a) & static_cast<std::uint32_t>(b)) != 0;
}

// The states a control's look depends on; Normal is none of the others.
enum class ControlState : std::uint32_t { Normal = 0, Highlighted = 1, Disabled = 2, Selected = 4 };

class Control : public View {
public:
    using Action = std::function<void(Control& sender)>;
    using ActionId = std::uint64_t;

    using View::View;

    std::string typeName() const override { return "Control"; }
    void describe(ViewDescription& description) const override;

    // Registers an action for the events; the id removes it again.
    ActionId addAction(ControlEvent events, Action action);
    void removeAction(ActionId id);
    // Removes every action registered for any of the events.
    void removeActions(ControlEvent events);
    bool hasActions(ControlEvent events) const;
    // Runs the actions of the events, in the order they were added.
    void sendActionsForControlEvents(ControlEvent events);

    bool isEnabled() const { return m_enabled; }
    virtual void setEnabled(bool enabled);
    bool isSelected() const { return m_selected; }
    virtual void setSelected(bool selected);
    bool isHighlighted() const { return m_highlighted; }
    virtual void setHighlighted(bool highlighted);
    ControlState state() const;

    // A disabled control lets touches through to what lies beneath.
    bool isInteractive() const override { return View::isInteractive() && m_enabled; }

    // Touch tracking: highlighted while the finger is on the control, TouchUpInside when it
    // lifts there. The slack around the control is as generous as the handset's.
    void touchesBegan(const Touch& touch) override;
    void touchesMoved(const Touch& touch) override;
    void touchesEnded(const Touch& touch) override;
    void touchesCancelled(const Touch& touch) override;

protected:
    // How far outside its bounds a finger may drift and still count as inside.
    static constexpr double touchSlack = 70;
    bool isTouchInside(const Touch& touch) const;

private:
    struct Registration {
        ActionId id { 0 };
        ControlEvent events { ControlEvent::TouchUpInside };
        Action action;
    };

    std::vector<Registration> m_actions;
    ActionId m_nextActionId { 1 };
    bool m_enabled { true };
    bool m_selected { false };
    bool m_highlighted { false };
    bool m_tracking { false };
    bool m_wasInside { false };
};

} // namespace ui
