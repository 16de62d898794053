#include "platform/ui/View.h"

#include "platform/foundation/RunLoop.h"
#include "platform/ui/Painter.h"
#include "platform/ui/ViewController.h"
#include "platform/ui/ViewDescription.h"
#include "platform/ui/Window.h"

#include <algorithm>
#include <cmath>

namespace ui {

namespace {

// The animation block being run by View::animate, if any.
struct AnimationContext {
    bool active { false };
    double start { 0 };
    double duration { 0 };
};

AnimationContext& currentAnimation()
{
    static AnimationContext context;
    return context;
}

double mainNow()
{
    return foundation::RunLoop::main().now();
}

double interpolate(double from, double to, double t)
{
    return from + (to - from) * t;
}

// Distributes a change of the superview's size over a view's flexible margins and size,
// in proportion to their current lengths (evenly when they are all zero).
void stretch(double& leading, double& length, double trailing, double delta, bool flexLeading, bool flexLength, bool flexTrailing)
{
    double parts = (flexLeading ? leading : 0) + (flexLength ? length : 0) + (flexTrailing ? trailing : 0);
    int count = int(flexLeading) + int(flexLength) + int(flexTrailing);
    if (count == 0)
        return;
    auto share = [&](bool flexible, double current) {
        if (!flexible)
            return 0.0;
        return parts > 0 ? delta * current / parts : delta / count;
    };
    double leadingShare = share(flexLeading, leading);
    double lengthShare = share(flexLength, length);
    leading += leadingShare;
    length = std::max(0.0, length + lengthShare);
}

} // namespace

double View::Animation::progress(double now) const
{
    if (duration <= 0)
        return 1;
    double t = std::clamp((now - start) / duration, 0.0, 1.0);
    // Ease in and out, as the toolkit's default curve does.
    return t * t * (3 - 2 * t);
}

View::View() = default;

View::View(const Rect& frame)
    : m_frame(frame)
{
}

View::~View()
{
    for (auto& child : m_subviews)
        child->m_superview = nullptr;
}

void View::describe(ViewDescription& description) const
{
    if (std::string text = displayText(); !text.empty())
        description.setText("text", text);
    describeIdentity(description);
}

void View::describeIdentity(ViewDescription& description) const
{
    if (!m_accessibilityIdentifier.empty())
        description.setText("id", m_accessibilityIdentifier);
    if (!m_accessibilityLabel.empty())
        description.setText("label", m_accessibilityLabel);
    if (m_tag != 0)
        description.setInteger("tag", m_tag);
}

void View::setFrame(const Rect& frame)
{
    if (frame == m_frame)
        return;
    Rect old = m_frame;
    recordFrameAnimation(presentationFrame());
    m_frame = frame;
    if (!(old.size == frame.size)) {
        resizeSubviews(old.size);
        setNeedsLayout();
    }
    if (m_superview)
        m_superview->setNeedsDisplay();
    setNeedsDisplay();
}

void View::setBounds(const Rect& bounds)
{
    m_boundsOrigin = bounds.origin;
    if (!(bounds.size == m_frame.size)) {
        Rect frame = m_frame;
        // The bounds size grows and shrinks around the centre, as on the handset.
        frame.origin.x += (m_frame.width() - bounds.width()) / 2;
        frame.origin.y += (m_frame.height() - bounds.height()) / 2;
        frame.size = bounds.size;
        setFrame(frame);
    }
    setNeedsDisplay();
}

void View::setCenter(const Point& center)
{
    setFrame({ center.x - m_frame.width() / 2, center.y - m_frame.height() / 2, m_frame.width(), m_frame.height() });
}

void View::setBackgroundColor(std::optional<Color> color)
{
    m_backgroundColor = color;
    setNeedsDisplay();
}

void View::setAlpha(double alpha)
{
    alpha = std::clamp(std::isnan(alpha) ? 0.0 : alpha, 0.0, 1.0);
    if (alpha == m_alpha)
        return;
    recordAlphaAnimation(presentationAlpha());
    m_alpha = alpha;
    setNeedsDisplay();
}

void View::setHidden(bool hidden)
{
    if (hidden == m_hidden)
        return;
    m_hidden = hidden;
    if (hidden) {
        // A hidden view cannot keep the keyboard.
        endEditing();
    }
    setNeedsDisplay();
}

void View::setClipsToBounds(bool clips)
{
    m_clipsToBounds = clips;
    setNeedsDisplay();
}

void View::setCornerRadius(double radius)
{
    m_cornerRadius = std::max(0.0, radius);
    setNeedsDisplay();
}

void View::setBorderWidth(double width)
{
    m_borderWidth = std::max(0.0, width);
    setNeedsDisplay();
}

void View::setBorderColor(const Color& color)
{
    m_borderColor = color;
    setNeedsDisplay();
}

void View::setContentMode(ContentMode mode)
{
    m_contentMode = mode;
    setNeedsDisplay();
}

View* View::viewWithTag(int tag)
{
    if (m_tag == tag)
        return this;
    for (auto& child : m_subviews) {
        if (auto* found = child->viewWithTag(tag))
            return found;
    }
    return nullptr;
}

void View::attach(std::shared_ptr<View> view, std::size_t index)
{
    if (!view || view.get() == this || isDescendantOf(*view))
        return;
    Window* oldWindow = view->window();
    // Keep the view alive while it moves from one superview to another.
    auto keep = view;
    if (view->m_superview) {
        auto& siblings = view->m_superview->m_subviews;
        auto found = std::find(siblings.begin(), siblings.end(), view);
        if (view->m_superview == this && found != siblings.end()
            && static_cast<std::size_t>(found - siblings.begin()) < index)
            --index;
        if (found != siblings.end())
            siblings.erase(found);
        view->m_superview->setNeedsDisplay();
    }
    index = std::min(index, m_subviews.size());
    m_subviews.insert(m_subviews.begin() + static_cast<std::ptrdiff_t>(index), view);
    view->m_superview = this;
    view->didMoveToSuperview();
    view->notifyMovedToWindow(oldWindow);
    setNeedsDisplay();
}

void View::addSubview(std::shared_ptr<View> view)
{
    attach(std::move(view), m_subviews.size());
}

void View::insertSubview(std::shared_ptr<View> view, std::size_t index)
{
    attach(std::move(view), index);
}

void View::insertSubviewBelow(std::shared_ptr<View> view, const View& sibling)
{
    auto found = std::find_if(m_subviews.begin(), m_subviews.end(), [&](const auto& v) { return v.get() == &sibling; });
    attach(std::move(view), found == m_subviews.end() ? m_subviews.size() : static_cast<std::size_t>(found - m_subviews.begin()));
}

void View::insertSubviewAbove(std::shared_ptr<View> view, const View& sibling)
{
    auto found = std::find_if(m_subviews.begin(), m_subviews.end(), [&](const auto& v) { return v.get() == &sibling; });
    attach(std::move(view), found == m_subviews.end() ? m_subviews.size() : static_cast<std::size_t>(found - m_subviews.begin()) + 1);
}

void View::removeFromSuperview()
{
    View* parent = m_superview;
    if (!parent)
        return;
    Window* oldWindow = window();
    if (oldWindow)
        oldWindow->viewWillLeaveWindow(*this);
    // The superview may hold the last reference; keep this view alive until we are done.
    auto keep = shared_from_this();
    auto& siblings = parent->m_subviews;
    siblings.erase(std::remove_if(siblings.begin(), siblings.end(), [this](const auto& v) { return v.get() == this; }), siblings.end());
    m_superview = nullptr;
    didMoveToSuperview();
    notifyMovedToWindow(oldWindow);
    parent->setNeedsDisplay();
}

void View::bringSubviewToFront(const View& view)
{
    auto found = std::find_if(m_subviews.begin(), m_subviews.end(), [&](const auto& v) { return v.get() == &view; });
    if (found == m_subviews.end())
        return;
    std::rotate(found, found + 1, m_subviews.end());
    setNeedsDisplay();
}

void View::sendSubviewToBack(const View& view)
{
    auto found = std::find_if(m_subviews.begin(), m_subviews.end(), [&](const auto& v) { return v.get() == &view; });
    if (found == m_subviews.end())
        return;
    std::rotate(m_subviews.begin(), found, found + 1);
    setNeedsDisplay();
}

bool View::isDescendantOf(const View& ancestor) const
{
    for (const View* v = this; v; v = v->m_superview) {
        if (v == &ancestor)
            return true;
    }
    return false;
}

Window* View::window() const
{
    const View* top = this;
    while (top->m_superview)
        top = top->m_superview;
    return dynamic_cast<Window*>(const_cast<View*>(top));
}

void View::notifyMovedToWindow(Window* oldWindow)
{
    if (window() == oldWindow)
        return;
    didMoveToWindow();
    auto children = m_subviews;
    for (auto& child : children)
        child->notifyMovedToWindow(oldWindow);
}

void View::resizeSubviews(const Size& oldSize)
{
    if (!m_autoresizesSubviews)
        return;
    double dw = m_frame.width() - oldSize.width;
    double dh = m_frame.height() - oldSize.height;
    for (auto& child : m_subviews) {
        auto mask = child->m_autoresizingMask;
        if (mask == AutoresizingMask::None)
            continue;
        Rect f = child->m_frame;
        double x = f.x(), width = f.width(), y = f.y(), height = f.height();
        stretch(x, width, oldSize.width - f.maxX(), dw, mask & AutoresizingMask::FlexibleLeftMargin,
                mask & AutoresizingMask::FlexibleWidth, mask & AutoresizingMask::FlexibleRightMargin);
        stretch(y, height, oldSize.height - f.maxY(), dh, mask & AutoresizingMask::FlexibleTopMargin,
                mask & AutoresizingMask::FlexibleHeight, mask & AutoresizingMask::FlexibleBottomMargin);
        child->setFrame({ x, y, width, height });
    }
}

void View::setNeedsLayout()
{
    m_needsLayout = true;
    setNeedsDisplay();
}

void View::layoutIfNeeded()
{
    if (m_needsLayout) {
        m_needsLayout = false;
        layoutSubviews();
    }
    auto children = m_subviews;
    for (auto& child : children)
        child->layoutIfNeeded();
}

void View::sizeToFit()
{
    Size fitting = sizeThatFits({});
    setFrame({ m_frame.origin, fitting });
}

void View::setNeedsDisplay()
{
    if (auto* w = window())
        w->noteNeedsDisplay();
}

void View::draw(Painter&)
{
}

void View::render(Painter& painter)
{
    double opacity = presentationAlpha();
    if (m_hidden || opacity <= 0.01)
        return;
    Rect frame = presentationFrame();
    Rect local { m_boundsOrigin, frame.size };
    painter.save();
    painter.translate(frame.x() - m_boundsOrigin.x, frame.y() - m_boundsOrigin.y);
    if (opacity < 1)
        painter.multiplyOpacity(opacity);
    if (m_clipsToBounds)
        painter.clipToRect(local, m_cornerRadius);
    if (m_backgroundColor && !m_backgroundColor->isClear())
        painter.fillRect(local, *m_backgroundColor, m_cornerRadius);
    draw(painter);
    auto children = m_subviews;
    for (auto& child : children)
        child->render(painter);
    // The border lies above the content and the subviews, as the toolkit draws it.
    if (m_borderWidth > 0)
        painter.strokeRect(local, m_borderColor, m_borderWidth, m_cornerRadius);
    painter.restore();
}

View* View::hitTest(const Point& point)
{
    if (m_hidden || m_alpha < 0.01 || !isInteractive() || !pointInside(point))
        return nullptr;
    for (auto it = m_subviews.rbegin(); it != m_subviews.rend(); ++it) {
        const auto& child = *it;
        Point inChild = point - child->m_frame.origin + child->m_boundsOrigin;
        if (auto* hit = child->hitTest(inChild))
            return hit;
    }
    return this;
}

Point View::convertPointToView(const Point& point, const View* other) const
{
    // Up to the top of the tree, then down into the other view.
    Point p = point;
    for (const View* v = this; v->m_superview; v = v->m_superview)
        p = p - v->m_boundsOrigin + v->m_frame.origin;
    if (!other)
        return p;
    return other->convertPointFromView(p, nullptr);
}

Point View::convertPointFromView(const Point& point, const View* other) const
{
    Point inTop = other ? other->convertPointToView(point, nullptr) : point;
    Point p = inTop;
    std::vector<const View*> chain;
    for (const View* v = this; v->m_superview; v = v->m_superview)
        chain.push_back(v);
    for (auto it = chain.rbegin(); it != chain.rend(); ++it)
        p = p - (*it)->m_frame.origin + (*it)->m_boundsOrigin;
    return p;
}

Rect View::convertRectToView(const Rect& rect, const View* other) const
{
    return { convertPointToView(rect.origin, other), rect.size };
}

Rect View::convertRectFromView(const Rect& rect, const View* other) const
{
    return { convertPointFromView(rect.origin, other), rect.size };
}

Responder* View::nextResponder() const
{
    if (m_viewController)
        return m_viewController;
    return m_superview;
}

bool View::becomeFirstResponder()
{
    if (!canBecomeFirstResponder())
        return false;
    auto* w = window();
    if (!w)
        return false;
    return w->makeFirstResponder(this);
}

bool View::resignFirstResponder()
{
    if (auto* w = window(); w && w->firstResponder() == this)
        return w->makeFirstResponder(nullptr);
    return true;
}

bool View::isFirstResponder() const
{
    auto* w = window();
    return w && w->firstResponder() == this;
}

bool View::endEditing()
{
    auto* w = window();
    if (!w)
        return true;
    auto* focused = dynamic_cast<View*>(w->firstResponder());
    if (!focused || !focused->isDescendantOf(*this))
        return true;
    return focused->resignFirstResponder();
}

void View::animate(double duration, const std::function<void()>& changes, std::function<void(bool)> completion)
{
    animate(duration, 0, changes, std::move(completion));
}

void View::animate(double duration, double delay, const std::function<void()>& changes, std::function<void(bool)> completion)
{
    duration = std::max(0.0, duration);
    delay = std::max(0.0, delay);
    auto& context = currentAnimation();
    AnimationContext saved = context;
    context = { true, mainNow() + delay, duration };
    if (changes)
        changes();
    context = saved;
    if (completion)
        foundation::RunLoop::main().performAfterDelay(delay + duration, [completion = std::move(completion)] { completion(true); });
}

void View::recordFrameAnimation(const Rect& from)
{
    const auto& context = currentAnimation();
    if (!context.active || context.duration <= 0) {
        m_frameAnimation.reset();
        return;
    }
    m_frameAnimationFrom = from;
    m_frameAnimation = Animation { context.start, context.duration };
}

void View::recordAlphaAnimation(double from)
{
    const auto& context = currentAnimation();
    if (!context.active || context.duration <= 0) {
        m_alphaAnimation.reset();
        return;
    }
    m_alphaAnimationFrom = from;
    m_alphaAnimation = Animation { context.start, context.duration };
}

Rect View::presentationFrame() const
{
    if (!m_frameAnimation)
        return m_frame;
    double now = mainNow();
    if (!m_frameAnimation->active(now))
        return m_frame;
    double t = m_frameAnimation->progress(now);
    const Rect& a = m_frameAnimationFrom;
    return { interpolate(a.x(), m_frame.x(), t), interpolate(a.y(), m_frame.y(), t),
             interpolate(a.width(), m_frame.width(), t), interpolate(a.height(), m_frame.height(), t) };
}

double View::presentationAlpha() const
{
    if (!m_alphaAnimation)
        return m_alpha;
    double now = mainNow();
    if (!m_alphaAnimation->active(now))
        return m_alpha;
    return interpolate(m_alphaAnimationFrom, m_alpha, m_alphaAnimation->progress(now));
}

bool View::hasRunningAnimations() const
{
    if (m_hidden)
        return false;
    double now = mainNow();
    if ((m_frameAnimation && m_frameAnimation->active(now)) || (m_alphaAnimation && m_alphaAnimation->active(now)))
        return true;
    if (animatesContinuously())
        return true;
    return std::any_of(m_subviews.begin(), m_subviews.end(), [](const auto& child) { return child->hasRunningAnimations(); });
}

} // namespace ui
