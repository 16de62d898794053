#pragma once
// A view whose content is larger than itself: the content moves under the view's bounds
// (the content offset is the bounds origin), follows a dragging finger, can snap to whole
// pages, and scrolls a rectangle into sight on request. Animated scrolls run on the main
// run loop, so on the manual clock they move only when the test advances time.
//
// Ownership: the scroll view owns its subviews (the content) like any view; the delegate
// is a plain pointer that its owner clears (or outlives the scroll view).

#include "platform/ui/View.h"

#include <memory>

namespace foundation {
class Timer;
}

namespace ui {

class ScrollView;

// Told of scrolling; every call is optional.
class ScrollViewDelegate {
public:
    virtual ~ScrollViewDelegate() = default;
    // After every change of the content offset, including each step of an animated scroll.
    virtual void scrollViewDidScroll(ScrollView&) { }
    virtual void scrollViewWillBeginDragging(ScrollView&) { }
    virtual void scrollViewDidEndDragging(ScrollView&, bool /*willDecelerate*/) { }
    virtual void scrollViewWillBeginDecelerating(ScrollView&) { }
    // After a drag that moved on by itself (a paging view settling on its page) has stopped.
    virtual void scrollViewDidEndDecelerating(ScrollView&) { }
    // After an animated setContentOffset or scrollRectToVisible has arrived.
    virtual void scrollViewDidEndScrollingAnimation(ScrollView&) { }
};

class ScrollView : public View {
public:
    // How long an animated scroll, or a paging view settling on its page, takes.
    static constexpr double scrollAnimationDuration = 0.3;
    // How far a finger must move before a touch counts as a drag rather than a tap.
    static constexpr double dragThreshold = 10;

    ScrollView();
    explicit ScrollView(const Rect& frame);
    ~ScrollView() override;

    std::string typeName() const override { return "ScrollView"; }
    void describe(ViewDescription& description) const override;

    ScrollViewDelegate* delegate() const { return m_delegate; }
    void setDelegate(ScrollViewDelegate* delegate) { m_delegate = delegate; }

    Size contentSize() const { return m_contentSize; }
    void setContentSize(const Size& size);
    // Extra room around the content (a bar lying over the top, the keyboard below).
    EdgeInsets contentInset() const { return m_contentInset; }
    void setContentInset(const EdgeInsets& inset);

    Point contentOffset() const { return bounds().origin; }
    // Moves the content at once (any offset is taken, as on the handset) or, animated,
    // over scrollAnimationDuration; an animation running is stopped first.
    void setContentOffset(const Point& offset, bool animated = false);
    // The smallest and largest offsets a drag or scrollRectToVisible may reach.
    Point minimumContentOffset() const;
    Point maximumContentOffset() const;
    // Scrolls the least distance that brings the rectangle (content coordinates) into
    // sight; nothing when it is in sight already.
    void scrollRectToVisible(const Rect& rect, bool animated);

    bool isPagingEnabled() const { return m_pagingEnabled; }
    void setPagingEnabled(bool enabled) { m_pagingEnabled = enabled; }
    bool isScrollEnabled() const { return m_scrollEnabled; }
    void setScrollEnabled(bool enabled) { m_scrollEnabled = enabled; }
    bool bounces() const { return m_bounces; }
    void setBounces(bool bounces) { m_bounces = bounces; }
    bool showsHorizontalScrollIndicator() const { return m_showsHorizontalIndicator; }
    void setShowsHorizontalScrollIndicator(bool shows) { m_showsHorizontalIndicator = shows; }
    bool showsVerticalScrollIndicator() const { return m_showsVerticalIndicator; }
    void setShowsVerticalScrollIndicator(bool shows) { m_showsVerticalIndicator = shows; }
    bool scrollsToTop() const { return m_scrollsToTop; }
    void setScrollsToTop(bool scrolls) { m_scrollsToTop = scrolls; }

    bool isDragging() const { return m_dragging; }
    bool isDecelerating() const { return m_decelerating; }
    // True while an animated scroll (or a settling page) is under way.
    bool isScrollAnimating() const { return static_cast<bool>(m_animationTimer); }

    // Drags move the content with the finger; a paging view then settles on a page.
    void touchesBegan(const Touch& touch) override;
    void touchesMoved(const Touch& touch) override;
    void touchesEnded(const Touch& touch) override;
    void touchesCancelled(const Touch& touch) override;

protected:
    // Told after every change of the content offset, before the delegate hears of it;
    // subclasses that lay out only what shows (tables) do it here.
    virtual void contentOffsetDidChange() { }
    // The parts of a drag, for subclasses that tell taps from drags themselves.
    void beginDragging(const Touch& touch);
    void continueDragging(const Touch& touch);
    void endDragging(const Touch& touch);
    // Whether the drag of the current touch has started.
    bool isDragInProgress() const { return m_dragging; }

private:
    enum class AnimationEnd { ScrollingAnimation, Deceleration };

    void applyOffset(const Point& offset);
    Point clampedOffset(const Point& offset) const;
    void animateTo(const Point& target, AnimationEnd end);
    void stopAnimation();
    Point pageTarget(const Touch& touch) const;

    ScrollViewDelegate* m_delegate { nullptr };
    Size m_contentSize;
    EdgeInsets m_contentInset;
    bool m_pagingEnabled { false };
    bool m_scrollEnabled { true };
    bool m_bounces { true };
    bool m_showsHorizontalIndicator { true };
    bool m_showsVerticalIndicator { true };
    bool m_scrollsToTop { true };

    bool m_tracking { false };
    bool m_dragging { false };
    bool m_decelerating { false };
    Point m_dragStartOffset;
    Point m_dragStartLocation;

    std::shared_ptr<foundation::Timer> m_animationTimer;
    Point m_animationFrom;
    Point m_animationTo;
    double m_animationStart { 0 };
    AnimationEnd m_animationEnd { AnimationEnd::ScrollingAnimation };
};

} // namespace ui
