#include "platform/ui/ScrollView.h"

#include "platform/foundation/RunLoop.h"
#include "platform/foundation/Timer.h"
#include "platform/ui/Touch.h"
#include "platform/ui/ViewDescription.h"

#include <algorithm>
#include <cmath>

namespace ui {

namespace {

// Steps of an animated scroll: the display repaints at about this rate, and delegates that
// follow the offset (a page indicator) see it move in steps as they would on the handset.
constexpr double animationStep = 1.0 / 60;

double easeOut(double t)
{
    return 1 - (1 - t) * (1 - t);
}

} // namespace

ScrollView::ScrollView()
    : ScrollView(Rect {})
{
}

ScrollView::ScrollView(const Rect& frame)
    : View(frame)
{
    setClipsToBounds(true);
}

ScrollView::~ScrollView()
{
    if (m_animationTimer)
        m_animationTimer->invalidate();
}

void ScrollView::setContentSize(const Size& size)
{
    if (size == m_contentSize)
        return;
    m_contentSize = size;
    setNeedsDisplay();
}

void ScrollView::setContentInset(const EdgeInsets& inset)
{
    m_contentInset = inset;
    setNeedsDisplay();
}

Point ScrollView::minimumContentOffset() const
{
    return { -m_contentInset.left, -m_contentInset.top };
}

Point ScrollView::maximumContentOffset() const
{
    Point minimum = minimumContentOffset();
    double maxX = m_contentSize.width + m_contentInset.right - bounds().width();
    double maxY = m_contentSize.height + m_contentInset.bottom - bounds().height();
    return { std::max(minimum.x, maxX), std::max(minimum.y, maxY) };
}

Point ScrollView::clampedOffset(const Point& offset) const
{
    Point minimum = minimumContentOffset();
    Point maximum = maximumContentOffset();
    return { std::clamp(offset.x, minimum.x, maximum.x), std::clamp(offset.y, minimum.y, maximum.y) };
}

void ScrollView::applyOffset(const Point& offset)
{
    if (offset == contentOffset())
        return;
    setBounds({ offset, bounds().size });
    contentOffsetDidChange();
    if (m_delegate)
        m_delegate->scrollViewDidScroll(*this);
}

void ScrollView::setContentOffset(const Point& offset, bool animated)
{
    stopAnimation();
    if (animated && !(offset == contentOffset())) {
        animateTo(offset, AnimationEnd::ScrollingAnimation);
        return;
    }
    applyOffset(offset);
}

void ScrollView::scrollRectToVisible(const Rect& rect, bool animated)
{
    Rect visible = bounds();
    Point target = visible.origin;
    // Prefer showing the rectangle's top (or left) edge when it is taller than the view.
    if (rect.maxY() > visible.maxY())
        target.y = rect.maxY() - visible.height();
    if (rect.minY() < target.y)
        target.y = rect.minY();
    if (rect.maxX() > visible.maxX())
        target.x = rect.maxX() - visible.width();
    if (rect.minX() < target.x)
        target.x = rect.minX();
    target = clampedOffset(target);
    if (target == contentOffset())
        return;
    setContentOffset(target, animated);
}

void ScrollView::animateTo(const Point& target, AnimationEnd end)
{
    m_animationFrom = contentOffset();
    m_animationTo = target;
    m_animationEnd = end;
    auto& loop = foundation::RunLoop::main();
    m_animationStart = loop.now();
    m_animationTimer = loop.scheduledTimer(animationStep, foundation::TimerRepeat::Repeating, [this](foundation::Timer&) {
        double elapsed = foundation::RunLoop::main().now() - m_animationStart;
        // Steps of a sixtieth add up to a hair under the duration; that last step ends it.
        double t = elapsed >= scrollAnimationDuration - 1e-9 ? 1.0 : std::clamp(elapsed / scrollAnimationDuration, 0.0, 1.0);
        double eased = easeOut(t);
        Point step { m_animationFrom.x + (m_animationTo.x - m_animationFrom.x) * eased,
                     m_animationFrom.y + (m_animationTo.y - m_animationFrom.y) * eased };
        if (t >= 1)
            step = m_animationTo;
        applyOffset(step);
        if (t < 1 || !m_animationTimer)
            return;
        AnimationEnd finished = m_animationEnd;
        // The delegate may start the next scroll from its callback; the old timer goes first.
        auto spent = std::move(m_animationTimer);
        spent->invalidate();
        if (finished == AnimationEnd::Deceleration) {
            m_decelerating = false;
            if (m_delegate)
                m_delegate->scrollViewDidEndDecelerating(*this);
        } else if (m_delegate) {
            m_delegate->scrollViewDidEndScrollingAnimation(*this);
        }
    });
}

void ScrollView::stopAnimation()
{
    if (!m_animationTimer)
        return;
    m_animationTimer->invalidate();
    m_animationTimer.reset();
    m_decelerating = false;
}

void ScrollView::beginDragging(const Touch& touch)
{
    stopAnimation();
    m_dragging = true;
    m_dragStartOffset = contentOffset();
    m_dragStartLocation = touch.locationInWindow;
    if (m_delegate)
        m_delegate->scrollViewWillBeginDragging(*this);
}

void ScrollView::continueDragging(const Touch& touch)
{
    if (!m_dragging)
        return;
    Point moved = touch.locationInWindow - m_dragStartLocation;
    Point wanted { m_dragStartOffset.x - moved.x, m_dragStartOffset.y - moved.y };
    // Content that fits in one direction does not move in it.
    if (m_contentSize.width <= bounds().width())
        wanted.x = m_dragStartOffset.x;
    if (m_contentSize.height <= bounds().height())
        wanted.y = m_dragStartOffset.y;
    applyOffset(clampedOffset(wanted));
}

Point ScrollView::pageTarget(const Touch& touch) const
{
    Point offset = contentOffset();
    Point target = offset;
    // The whole way the finger went decides a flick, the part before the drag began included.
    Point moved = touch.locationInWindow - touch.startLocationInWindow;
    auto settle = [](double start, double current, double page, double drag, double minimum, double maximum) {
        if (page <= 0)
            return current;
        double startPage = std::round(start / page);
        double nearest = std::round(current / page);
        // A short flick still turns the page, as a finger expects.
        if (nearest == startPage && std::abs(drag) > page * 0.2)
            nearest = startPage + (drag < 0 ? 1 : -1);
        return std::clamp(nearest * page, minimum, maximum);
    };
    Point minimum = minimumContentOffset();
    Point maximum = maximumContentOffset();
    target.x = settle(m_dragStartOffset.x, offset.x, bounds().width(), moved.x, minimum.x, maximum.x);
    target.y = settle(m_dragStartOffset.y, offset.y, bounds().height(), moved.y, minimum.y, maximum.y);
    return target;
}

void ScrollView::endDragging(const Touch& touch)
{
    if (!m_dragging)
        return;
    continueDragging(touch);
    m_dragging = false;
    Point target = m_pagingEnabled ? pageTarget(touch) : contentOffset();
    bool willDecelerate = !(target == contentOffset());
    if (m_delegate)
        m_delegate->scrollViewDidEndDragging(*this, willDecelerate);
    if (!willDecelerate)
        return;
    m_decelerating = true;
    if (m_delegate)
        m_delegate->scrollViewWillBeginDecelerating(*this);
    animateTo(target, AnimationEnd::Deceleration);
}

void ScrollView::touchesBegan(const Touch& touch)
{
    m_tracking = true;
    m_dragStartLocation = touch.locationInWindow;
}

void ScrollView::touchesMoved(const Touch& touch)
{
    if (!m_tracking || !m_scrollEnabled)
        return;
    if (!m_dragging) {
        Point moved = touch.locationInWindow - touch.startLocationInWindow;
        if (std::hypot(moved.x, moved.y) < dragThreshold)
            return;
        beginDragging(touch);
    }
    continueDragging(touch);
}

void ScrollView::touchesEnded(const Touch& touch)
{
    m_tracking = false;
    endDragging(touch);
}

void ScrollView::touchesCancelled(const Touch& touch)
{
    m_tracking = false;
    endDragging(touch);
}

void ScrollView::describe(ViewDescription& description) const
{
    View::describe(description);
    description.setNumbers("contentOffset", { contentOffset().x, contentOffset().y });
    description.setNumbers("contentSize", { m_contentSize.width, m_contentSize.height });
}

} // namespace ui
