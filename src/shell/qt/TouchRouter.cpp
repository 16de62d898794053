#include "shell/qt/TouchRouter.h"

#include "platform/foundation/RunLoop.h"
#include "platform/ui/Control.h"
#include "platform/ui/Responder.h"
#include "platform/ui/ScrollView.h"
#include "platform/ui/TableView.h"
#include "platform/ui/TextInput.h"
#include "shell/qt/KeyboardPanel.h"

#include <algorithm>
#include <cmath>

namespace tessaro {

namespace {

// How much of the pointer's recent path tells its speed when it lifts.
constexpr double velocityWindow = 0.1;
constexpr double glideStepSeconds = 1.0 / 60;

double now()
{
    return foundation::RunLoop::main().now();
}

bool scrollsHorizontally(const ui::ScrollView& scroller)
{
    return scroller.contentSize().width > scroller.bounds().width();
}

bool scrollsVertically(const ui::ScrollView& scroller)
{
    return scroller.contentSize().height > scroller.bounds().height();
}

ui::Point clampedTo(const ui::ScrollView& scroller, ui::Point offset)
{
    ui::Point low = scroller.minimumContentOffset();
    ui::Point high = scroller.maximumContentOffset();
    offset.x = std::clamp(offset.x, low.x, std::max(low.x, high.x));
    offset.y = std::clamp(offset.y, low.y, std::max(low.y, high.y));
    return offset;
}

} // namespace

TouchRouter::TouchRouter(ui::Window& window)
    : m_window(window)
{
}

TouchRouter::~TouchRouter()
{
    stopGlide();
}

ui::Touch TouchRouter::makeTouch(ui::TouchPhase phase, const ui::Point& location)
{
    ui::Touch touch;
    touch.phase = phase;
    touch.locationInWindow = location;
    touch.previousLocationInWindow = phase == ui::TouchPhase::Began ? location : m_last;
    touch.startLocationInWindow = m_start;
    touch.timestamp = now();
    touch.startTimestamp = m_startTime;
    return touch;
}

void TouchRouter::record(const ui::Point& location)
{
    double time = now();
    m_samples.push_back({ time, location });
    while (m_samples.size() > 2 && time - m_samples.front().time > velocityWindow)
        m_samples.pop_front();
}

ui::Point TouchRouter::velocity() const
{
    // Only the last moments count: a finger that stopped before lifting does not fling
    // the list.
    double since = now() - velocityWindow;
    auto first = std::find_if(m_samples.begin(), m_samples.end(), [since](const Sample& s) { return s.time >= since; });
    if (first == m_samples.end() || std::next(first) == m_samples.end())
        return {};
    const Sample& last = m_samples.back();
    double elapsed = last.time - first->time;
    if (elapsed <= 0)
        return {};
    return { (last.location.x - first->location.x) / elapsed, (last.location.y - first->location.y) / elapsed };
}

std::shared_ptr<ui::ScrollView> TouchRouter::scrollerAround(ui::View* view)
{
    for (ui::View* v = view; v; v = v->superview()) {
        auto* scroller = dynamic_cast<ui::ScrollView*>(v);
        if (!scroller || !scroller->isScrollEnabled())
            continue;
        if (auto held = scroller->weak_from_this().lock())
            return std::static_pointer_cast<ui::ScrollView>(held);
    }
    return nullptr;
}

void TouchRouter::press(const ui::Point& location)
{
    if (m_mode != Mode::Idle)
        cancel();
    // A finger on a gliding list stops it, and is a touch of its own.
    stopGlide();
    m_start = location;
    m_startTime = now();
    m_last = location;
    m_samples.clear();
    record(location);
    m_scroller.reset();
    if (auto keyboard = m_window.keyboardFrame(); keyboard && keyboard->contains(location)) {
        m_mode = Mode::Keyboard;
        return;
    }
    m_mode = Mode::Touch;
    m_window.touchBegan(location);
    m_scroller = scrollerAround(m_window.touchedView());
}

void TouchRouter::takeOverForScroller(const std::shared_ptr<ui::ScrollView>& scroller, const ui::Point& location)
{
    m_window.touchCancelled();
    m_mode = Mode::Scroller;
    m_scroller = scroller;
    // The list sees the whole touch from where it began, so it judges the drag (or the
    // swipe over a row) as if the finger had landed on it.
    ui::Point moved = m_last;
    m_last = m_start;
    scroller->touchesBegan(makeTouch(ui::TouchPhase::Began, m_start));
    m_last = moved;
    scroller->touchesMoved(makeTouch(ui::TouchPhase::Moved, location));
}

void TouchRouter::move(const ui::Point& location)
{
    record(location);
    switch (m_mode) {
    case Mode::Touch: {
        ui::View* touched = m_window.touchedView();
        ui::Point travelled = location - m_start;
        bool beyondWobble = std::hypot(travelled.x, travelled.y) >= ui::ScrollView::dragThreshold;
        // A control keeps the touches it gets; a list around it would never hear of the
        // drag, so it is handed over. Anything else passes its touches up to the list.
        if (beyondWobble && dynamic_cast<ui::Control*>(touched)) {
            if (auto scroller = scrollerAround(touched->superview())) {
                // Sideways, only a list that scrolls that way or offers Delete on a swipe
                // wants the drag; the control keeps it otherwise.
                bool along = std::abs(travelled.y) >= std::abs(travelled.x)
                    ? scrollsVertically(*scroller)
                    : scrollsHorizontally(*scroller) || dynamic_cast<ui::TableView*>(scroller.get());
                if (along) {
                    takeOverForScroller(scroller, location);
                    break;
                }
            }
        }
        m_window.touchMoved(location);
        break;
    }
    case Mode::Scroller:
        if (auto scroller = m_scroller.lock())
            scroller->touchesMoved(makeTouch(ui::TouchPhase::Moved, location));
        break;
    case Mode::Keyboard:
    case Mode::Idle:
        break;
    }
    m_last = location;
}

void TouchRouter::release(const ui::Point& location)
{
    Mode mode = m_mode;
    m_mode = Mode::Idle;
    record(location);
    auto scroller = m_scroller.lock();
    bool wasDragging = scroller && scroller->isDragging();
    ui::Point flick = velocity();
    switch (mode) {
    case Mode::Touch:
        m_window.touchEnded(location);
        break;
    case Mode::Scroller:
        if (scroller)
            scroller->touchesEnded(makeTouch(ui::TouchPhase::Ended, location));
        break;
    case Mode::Keyboard: {
        auto keyboard = m_window.keyboardFrame();
        if (!keyboard)
            break;
        if (m_keyboardOwner != m_window.firstResponder()) {
            m_keyboardOwner = m_window.firstResponder();
            m_keyboardState = {};
        }
        // A key acts when the finger lifts on the key it went down on.
        auto keys = KeyboardPanel::keys(*keyboard, KeyboardPanel::focusedTraits(m_window), m_keyboardState);
        const auto* key = KeyboardPanel::keyAt(keys, location);
        if (key && key == KeyboardPanel::keyAt(keys, m_start))
            pressKeyboardKey(*key);
        break;
    }
    case Mode::Idle:
        break;
    }
    m_last = location;
    // A paging list settles on its page by itself; others glide on after a flick.
    if (wasDragging && scroller && !scroller->isPagingEnabled() && !scroller->isScrollAnimating())
        startGlide(scroller, { -flick.x, -flick.y });
    m_scroller.reset();
}

void TouchRouter::pressKeyboardKey(const KeyboardPanel::Key& key)
{
    auto* responder = m_window.firstResponder();
    auto* input = responder ? responder->textInput() : nullptr;
    if (!input)
        return;
    using Kind = KeyboardPanel::Key::Kind;
    switch (key.kind) {
    case Kind::Character:
        input->insertText(key.label);
        // Shift holds for one letter.
        m_keyboardState.shifted = false;
        break;
    case Kind::Space:
        input->insertText(" ");
        break;
    case Kind::Return:
        input->insertText("\n");
        break;
    case Kind::Backspace:
        input->deleteBackward();
        break;
    case Kind::Shift:
        m_keyboardState.shifted = !m_keyboardState.shifted;
        break;
    case Kind::PageSwitch:
        m_keyboardState.page = m_keyboardState.page == KeyboardPanel::Page::Letters ? KeyboardPanel::Page::Symbols
                                                                                 : KeyboardPanel::Page::Letters;
        m_keyboardState.shifted = false;
        break;
    case Kind::Hide:
        (void)responder->resignFirstResponder();
        break;
    }
}

void TouchRouter::cancel()
{
    Mode mode = m_mode;
    m_mode = Mode::Idle;
    if (mode == Mode::Touch) {
        m_window.touchCancelled();
    } else if (mode == Mode::Scroller) {
        if (auto scroller = m_scroller.lock())
            scroller->touchesCancelled(makeTouch(ui::TouchPhase::Cancelled, m_last));
    }
    m_scroller.reset();
}

void TouchRouter::wheel(const ui::Point& location, double dx, double dy)
{
    stopGlide();
    m_window.layoutIfNeeded();
    // The wheel scrolls the innermost list under the pointer that can move that way, as
    // desktop wheels do, without touching anything.
    for (auto scroller = scrollerAround(m_window.hitTest(location)); scroller;
         scroller = scrollerAround(scroller->superview())) {
        double wantX = scrollsHorizontally(*scroller) ? dx : 0;
        double wantY = scrollsVertically(*scroller) ? dy : 0;
        // A horizontal list under a plain wheel turns with the wheel's turns.
        if (wantX == 0 && wantY == 0 && scrollsHorizontally(*scroller))
            wantX = dy;
        if (wantX == 0 && wantY == 0)
            continue;
        ui::Point from = scroller->contentOffset();
        if (scroller->isPagingEnabled()) {
            ui::Size page = scroller->bounds().size;
            ui::Point target = from;
            if (wantX != 0 && page.width > 0)
                target.x = (std::round(from.x / page.width) + (wantX > 0 ? 1 : -1)) * page.width;
            if (wantY != 0 && page.height > 0)
                target.y = (std::round(from.y / page.height) + (wantY > 0 ? 1 : -1)) * page.height;
            target = clampedTo(*scroller, target);
            if (target == from)
                continue;
            if (!scroller->isScrollAnimating())
                scroller->setContentOffset(target, true);
            return;
        }
        ui::Point target = clampedTo(*scroller, { from.x + wantX, from.y + wantY });
        if (target == from)
            continue;
        scroller->setContentOffset(target, false);
        return;
    }
}

void TouchRouter::startGlide(const std::shared_ptr<ui::ScrollView>& scroller, ui::Point velocity)
{
    stopGlide();
    if (!scrollsHorizontally(*scroller))
        velocity.x = 0;
    if (!scrollsVertically(*scroller))
        velocity.y = 0;
    if (std::hypot(velocity.x, velocity.y) < minimumGlideSpeed)
        return;
    m_glideTarget = scroller;
    m_glideVelocity = velocity;
    m_lastGlideTime = now();
    m_glideTimer = foundation::RunLoop::main().scheduledTimer(glideStepSeconds, foundation::TimerRepeat::Repeating,
                                                              [this](foundation::Timer&) { glideStep(); });
}

void TouchRouter::stopGlide()
{
    if (m_glideTimer) {
        auto timer = std::move(m_glideTimer);
        timer->invalidate();
    }
    m_glideTarget.reset();
}

void TouchRouter::glideStep()
{
    auto scroller = m_glideTarget.lock();
    // A list that went away, started dragging again or scrolls by itself takes over.
    if (!scroller || !scroller->window() || scroller->isDragging() || scroller->isScrollAnimating()) {
        stopGlide();
        return;
    }
    double time = now();
    double elapsed = std::max(0.0, time - m_lastGlideTime);
    m_lastGlideTime = time;
    ui::Point from = scroller->contentOffset();
    ui::Point wanted { from.x + m_glideVelocity.x * elapsed, from.y + m_glideVelocity.y * elapsed };
    ui::Point reached = clampedTo(*scroller, wanted);
    double keep = std::pow(decelerationPerMillisecond, elapsed * 1000);
    m_glideVelocity = { m_glideVelocity.x * keep, m_glideVelocity.y * keep };
    // At an end the list stops where it is, as the handset's does without bouncing.
    if (reached.x != wanted.x)
        m_glideVelocity.x = 0;
    if (reached.y != wanted.y)
        m_glideVelocity.y = 0;
    if (!(reached == from))
        scroller->setContentOffset(reached, false);
    if (std::hypot(m_glideVelocity.x, m_glideVelocity.y) < 10)
        stopGlide();
}

} // namespace tessaro
