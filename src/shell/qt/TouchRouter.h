#pragma once
// Turns a person's pointer into the handset's touches. A press and release inside one
// control is a tap (the control is highlighted while pressed). Lists and scroll views
// follow a dragging finger themselves and tell a tap on a row from a drag or a sideways
// swipe (which offers Delete on a row that can be deleted); the router adds what the
// handset's gesture machinery adds on top:
//  - a press that begins on a control inside a scrolling list (a row's menu button) and
//    travels further than a finger's wobble stops being a touch of the control and drags
//    (or swipes) the list instead;
//  - a flick glides on after the finger lifts, slowing down as on the handset;
//  - the wheel (or a touchpad) scrolls what is under the pointer;
//  - presses on the keyboard's area belong to the keyboard: its keys type into the focused
//    field, and its down key ends editing.
//
// Qt-free: the window feeds it points in window coordinates, and the glide runs on the
// main run loop, so tests drive it on the manual clock. Ownership: borrows the window,
// which must outlive the router; scroll views are held weakly while dragged or gliding.

#include "shell/qt/KeyboardPanel.h"

#include "platform/foundation/Timer.h"
#include "platform/ui/Geometry.h"
#include "platform/ui/Window.h"

#include <deque>
#include <memory>

namespace ui {
class ScrollView;
}

namespace tessaro {

class TouchRouter {
public:
    explicit TouchRouter(ui::Window& window);
    ~TouchRouter();
    TouchRouter(const TouchRouter&) = delete;
    TouchRouter& operator=(const TouchRouter&) = delete;

    void press(const ui::Point& location);
    void move(const ui::Point& location);
    void release(const ui::Point& location);
    // The pointer went away without a release (the window lost the mouse grab).
    void cancel();
    // Wheel deltas in points: positive dy scrolls the content up (further down the list).
    void wheel(const ui::Point& location, double dx, double dy);

    bool isGliding() const { return static_cast<bool>(m_glideTimer); }
    // The keyboard's page and shift, as its keys left them.
    const KeyboardPanel::State& keyboardState() const { return m_keyboardState; }

    // Slowest flick that glides on, in points per second.
    static constexpr double minimumGlideSpeed = 150;
    // The handset's normal deceleration: the speed keeps this share each millisecond.
    static constexpr double decelerationPerMillisecond = 0.998;

private:
    enum class Mode { Idle, Touch, Scroller, Keyboard };
    struct Sample {
        double time { 0 };
        ui::Point location;
    };

    ui::Touch makeTouch(ui::TouchPhase phase, const ui::Point& location);
    void record(const ui::Point& location);
    ui::Point velocity() const;
    // The nearest scroll view around the view that may move along the drag.
    static std::shared_ptr<ui::ScrollView> scrollerAround(ui::View* view);
    void takeOverForScroller(const std::shared_ptr<ui::ScrollView>& scroller, const ui::Point& location);
    void startGlide(const std::shared_ptr<ui::ScrollView>& scroller, ui::Point velocity);
    void stopGlide();
    void glideStep();
    void pressKeyboardKey(const KeyboardPanel::Key& key);

    ui::Window& m_window;
    Mode m_mode { Mode::Idle };
    ui::Point m_start;
    double m_startTime { 0 };
    ui::Point m_last;
    std::deque<Sample> m_samples;
    // The list the touch belongs to once the router handed it over, or the one the
    // window's touch scrolls.
    std::weak_ptr<ui::ScrollView> m_scroller;

    KeyboardPanel::State m_keyboardState;
    // The field the keyboard's state belongs to; another field starts on plain letters.
    const ui::Responder* m_keyboardOwner { nullptr };

    std::shared_ptr<foundation::Timer> m_glideTimer;
    std::weak_ptr<ui::ScrollView> m_glideTarget;
    ui::Point m_glideVelocity;
    double m_lastGlideTime { 0 };
};

} // namespace tessaro
