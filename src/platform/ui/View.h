#pragma once
// A rectangle of the screen that draws itself and holds subviews: the building block of
// every screen.
//
// Ownership: a view owns its subviews (shared pointers, so that a controller may keep one
// of them as a field too); a subview keeps a plain pointer to its superview, cleared when
// it is removed. A view made the root view of a controller keeps a plain pointer to that
// controller, cleared by the controller when it goes. Views are made with std::make_shared
// so that they can hand out weak references to themselves.
//
// Coordinates: frame is in the superview's coordinates, bounds in the view's own. Drawing,
// hit testing and layout happen in bounds coordinates.

#include "platform/ui/Color.h"
#include "platform/ui/Geometry.h"
#include "platform/ui/Responder.h"
#include "platform/ui/TextStyle.h"

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace ui {

class Painter;
class ViewDescription;
class ViewController;
class Window;

// Which of a view's margins and sizes stretch when its superview changes size.
enum class AutoresizingMask : unsigned {
    None = 0,
    FlexibleLeftMargin = 1 << 0,
    FlexibleWidth = 1 << 1,
    FlexibleRightMargin = 1 << 2,
    FlexibleTopMargin = 1 << 3,
    FlexibleHeight = 1 << 4,
    FlexibleBottomMargin = 1 << 5,
};
constexpr AutoresizingMask operator|(AutoresizingMask a, AutoresizingMask b)
{
    return static_cast<AutoresizingMask>(static_cast<unsigned>(a) | static_cast<unsigned>(b));
}
constexpr bool operator&(AutoresizingMask a, AutoresizingMask b)
{
    return (static_cast<unsigned>(a) & static_cast<unsigned>(b)) != 0;
}

class View : public Responder, public std::enable_shared_from_this<View> {
public:
    View();
    explicit View(const Rect& frame);
    ~View() override;
    View(const View&) = delete;
    View& operator=(const View&) = delete;

    // The name the automation dump gives the view's type ("View", "Label", "Button", ...).
    virtual std::string typeName() const { return "View"; }
    // The text the view shows, for dumps and taps by text; empty for views without one.
    virtual std::string displayText() const { return {}; }
    // Says what the view shows and what state it is in: its text, identifier, label and
    // tag, then what its kind adds (a field's placeholder, a table's sections). A kind
    // that adds state overrides this and describes its base first.
    virtual void describe(ViewDescription& description) const;

    // Geometry. Changing the size lays the view out again and resizes its subviews by their
    // autoresizing masks. Inside an animate() block the change is animated on screen.
    Rect frame() const { return m_frame; }
    virtual void setFrame(const Rect& frame);
    Rect bounds() const { return { m_boundsOrigin, m_frame.size }; }
    // Moves the bounds origin (scrolling) and, through the size, the frame.
    void setBounds(const Rect& bounds);
    Point center() const { return m_frame.center(); }
    void setCenter(const Point& center);

    // Appearance. No background colour means a clear view.
    std::optional<Color> backgroundColor() const { return m_backgroundColor; }
    void setBackgroundColor(std::optional<Color> color);
    double alpha() const { return m_alpha; }
    void setAlpha(double alpha);
    bool isHidden() const { return m_hidden; }
    void setHidden(bool hidden);
    bool clipsToBounds() const { return m_clipsToBounds; }
    void setClipsToBounds(bool clips);
    bool isOpaque() const { return m_opaque; }
    void setOpaque(bool opaque) { m_opaque = opaque; }
    double cornerRadius() const { return m_cornerRadius; }
    void setCornerRadius(double radius);
    double borderWidth() const { return m_borderWidth; }
    void setBorderWidth(double width);
    Color borderColor() const { return m_borderColor; }
    void setBorderColor(const Color& color);
    ContentMode contentMode() const { return m_contentMode; }
    void setContentMode(ContentMode mode);

    int tag() const { return m_tag; }
    void setTag(int tag) { m_tag = tag; }
    // This view or the first descendant (depth first) with the tag, or null.
    View* viewWithTag(int tag);
    const std::string& accessibilityIdentifier() const { return m_accessibilityIdentifier; }
    void setAccessibilityIdentifier(std::string identifier) { m_accessibilityIdentifier = std::move(identifier); }
    const std::string& accessibilityLabel() const { return m_accessibilityLabel; }
    void setAccessibilityLabel(std::string label) { m_accessibilityLabel = std::move(label); }

    AutoresizingMask autoresizingMask() const { return m_autoresizingMask; }
    void setAutoresizingMask(AutoresizingMask mask) { m_autoresizingMask = mask; }
    bool autoresizesSubviews() const { return m_autoresizesSubviews; }
    void setAutoresizesSubviews(bool resizes) { m_autoresizesSubviews = resizes; }

    bool isUserInteractionEnabled() const { return m_userInteractionEnabled; }
    void setUserInteractionEnabled(bool enabled) { m_userInteractionEnabled = enabled; }

    // The tree. Adding a view that has a superview moves it; adding it again to the same
    // superview brings it to the front.
    View* superview() const { return m_superview; }
    const std::vector<std::shared_ptr<View>>& subviews() const { return m_subviews; }
    void addSubview(std::shared_ptr<View> view);
    void insertSubview(std::shared_ptr<View> view, std::size_t index);
    void insertSubviewBelow(std::shared_ptr<View> view, const View& sibling);
    void insertSubviewAbove(std::shared_ptr<View> view, const View& sibling);
    void removeFromSuperview();
    void bringSubviewToFront(const View& view);
    void sendSubviewToBack(const View& view);
    bool isDescendantOf(const View& ancestor) const;
    // The window the view is in, or null.
    Window* window() const;
    // Told after the view (or an ancestor) went into or out of a window.
    virtual void didMoveToWindow() { }
    virtual void didMoveToSuperview() { }

    // Layout.
    void setNeedsLayout();
    void layoutIfNeeded();
    virtual void layoutSubviews() { }
    virtual Size sizeThatFits(const Size& size) const { return size.isEmpty() ? m_frame.size : size; }
    void sizeToFit();

    // Drawing. draw() paints the view's own content over its background, in bounds
    // coordinates; render() paints the view and its subtree where it lies in its superview.
    void setNeedsDisplay();
    virtual void draw(Painter& painter);
    void render(Painter& painter);

    // Hit testing, in the view's own coordinates: the deepest interactive view under the
    // point, or null. Hidden, nearly transparent and non-interactive views (and disabled
    // controls) are passed over with everything in them.
    virtual View* hitTest(const Point& point);
    virtual bool pointInside(const Point& point) const { return bounds().contains(point); }
    virtual bool isInteractive() const { return m_userInteractionEnabled; }

    // Converts between this view's coordinates and another view's in the same tree (null:
    // the window, or the topmost ancestor).
    Point convertPointToView(const Point& point, const View* other) const;
    Point convertPointFromView(const Point& point, const View* other) const;
    Rect convertRectToView(const Rect& rect, const View* other) const;
    Rect convertRectFromView(const Rect& rect, const View* other) const;

    // Responder chain: the controller whose root view this is, else the superview.
    Responder* nextResponder() const override;
    ViewController* viewController() const { return m_viewController; }

    bool becomeFirstResponder() override;
    bool resignFirstResponder() override;
    bool isFirstResponder() const override;
    // Ends editing in this view or any descendant that has the focus.
    bool endEditing();

    // Animation. The changes are applied at once (the model is final immediately); on
    // screen, frames and alphas changed inside move there over the duration. The completion
    // runs on the main run loop when the duration (after the delay) has passed, with true.
    static void animate(double duration, const std::function<void()>& changes,
                        std::function<void(bool finished)> completion = {});
    static void animate(double duration, double delay, const std::function<void()>& changes,
                        std::function<void(bool finished)> completion = {});
    // The frame and alpha as on screen now, while an animation runs.
    Rect presentationFrame() const;
    double presentationAlpha() const;
    // True while this view or a descendant is moving on screen (the display keeps
    // repainting meanwhile).
    bool hasRunningAnimations() const;
    // Views that move by themselves (a spinning indicator) say so here.
    virtual bool animatesContinuously() const { return false; }

protected:
    // Subclasses that draw text or images ask for a repaint when their content changes.
    void contentChanged() { setNeedsDisplay(); }
    // The identifier, label and tag of the description, for kinds that describe what they
    // show in place of the text.
    void describeIdentity(ViewDescription& description) const;

private:
    friend class ViewController;
    friend class Window;

    struct Animation {
        double start { 0 };
        double duration { 0 };
        bool active(double now) const { return now < start + duration; }
        double progress(double now) const;
    };

    void resizeSubviews(const Size& oldSize);
    void attach(std::shared_ptr<View> view, std::size_t index);
    void notifyMovedToWindow(Window* oldWindow);
    void recordFrameAnimation(const Rect& from);
    void recordAlphaAnimation(double from);

    Rect m_frame;
    Point m_boundsOrigin;
    std::optional<Color> m_backgroundColor;
    double m_alpha { 1 };
    bool m_hidden { false };
    bool m_clipsToBounds { false };
    bool m_opaque { true };
    double m_cornerRadius { 0 };
    double m_borderWidth { 0 };
    Color m_borderColor { Color::blackColor() };
    ContentMode m_contentMode { ContentMode::ScaleToFill };
    int m_tag { 0 };
    std::string m_accessibilityIdentifier;
    std::string m_accessibilityLabel;
    AutoresizingMask m_autoresizingMask { AutoresizingMask::None };
    bool m_autoresizesSubviews { true };
    bool m_userInteractionEnabled { true };
    bool m_needsLayout { true };

    View* m_superview { nullptr };
    std::vector<std::shared_ptr<View>> m_subviews;
    ViewController* m_viewController { nullptr };

    std::optional<Animation> m_frameAnimation;
    Rect m_frameAnimationFrom;
    std::optional<Animation> m_alphaAnimation;
    double m_alphaAnimationFrom { 1 };
};

} // namespace ui
