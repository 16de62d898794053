#pragma once
// The window: the top of a view tree, the place touches come in and text goes to, and the
// holder of the root view controller. The display paints the key window and feeds it the
// user's touches in window coordinates; the automation driver does the same.
//
// Ownership: the window owns its root view controller and, as a view, its subviews
// (the root view, modal screens above it, the bar over the keyboard). The first responder
// and the view being touched are plain references, cleared when they leave the window.

#include "platform/ui/KeyPress.h"
#include "platform/ui/Touch.h"
#include "platform/ui/View.h"

#include <functional>
#include <memory>
#include <optional>
#include <utility>
#include <vector>

namespace ui {

class ViewController;

class Window : public View {
public:
    // The height of the on-screen keyboard, under the bar shown above it.
    static constexpr double keyboardHeight = 216;

    Window();
    explicit Window(const Rect& frame);
    ~Window() override;

    std::string typeName() const override { return "Window"; }

    // Makes this the application's key window and shows the root screen (it appears).
    void makeKeyAndVisible();
    bool isKeyWindow() const;

    const std::shared_ptr<ViewController>& rootViewController() const { return m_rootViewController; }
    // Puts the controller's view at the bottom of the window; it appears when the window
    // is visible. Before system 7 a root view at the very top is moved below the status bar.
    void setRootViewController(std::shared_ptr<ViewController> controller);

    // Touches in window coordinates. A touch goes to the view hit where it began and stays
    // with it until it ends. tap() is a began and an ended at the same point.
    void touchBegan(const Point& location);
    void touchMoved(const Point& location);
    void touchEnded(const Point& location);
    void touchCancelled();
    void tap(const Point& location);
    // The view the current touch belongs to, or null.
    View* touchedView() const;

    // Keys of a hardware keyboard that type into no field. A view with keys of its own
    // registers a handler for as long as it shows; adding the same view again moves it to
    // the front. A press goes to the handler added last whose view lies in this window, is
    // not hidden, and has nothing over its middle (a sheet or a screen laid over it takes
    // the press away); false when no handler takes it. While a text responder has the focus
    // nothing is handed on: the press types into the field.
    void addKeyPressHandler(const std::shared_ptr<View>& view, KeyPressHandler& handler);
    bool pressKey(const KeyPress& press);

    // The responder that takes typed text, or null.
    Responder* firstResponder() const { return m_firstResponder; }
    // The keyboard's rectangle while a text responder has the focus.
    std::optional<Rect> keyboardFrame() const;

    // Lays out and paints the whole tree.
    void renderWindow(Painter& painter);
    // Told once after something changed, until the next renderWindow (the display
    // schedules a repaint).
    void setDisplayHandler(std::function<void()> handler) { m_displayHandler = std::move(handler); }
    bool needsDisplay() const { return m_needsDisplay; }

private:
    friend class View;

    bool makeFirstResponder(Responder* responder);
    void viewWillLeaveWindow(View& view);
    void noteNeedsDisplay();
    void showAccessoryFor(Responder* responder);
    Touch makeTouch(TouchPhase phase, const Point& location);
    // The view the touch under way began in (null when none, or when it has gone); the
    // touch is over for the window either way.
    std::shared_ptr<View> releaseTouchedView();

    bool showsUncovered(View& view);

    std::shared_ptr<ViewController> m_rootViewController;
    bool m_visible { false };
    std::vector<std::pair<std::weak_ptr<View>, KeyPressHandler*>> m_keyPressHandlers;
    Responder* m_firstResponder { nullptr };
    std::shared_ptr<View> m_accessoryView;
    // The view a touch under way began in; empty between touches.
    std::weak_ptr<View> m_touchView;
    Touch m_touch;
    bool m_needsDisplay { true };
    std::function<void()> m_displayHandler;
};

} // namespace ui
