#include "platform/ui/Window.h"

#include "platform/foundation/Device.h"
#include "platform/foundation/RunLoop.h"
#include "platform/ui/Application.h"
#include "platform/ui/Screen.h"
#include "platform/ui/TextInput.h"
#include "platform/ui/ViewController.h"

namespace ui {

Window::Window()
    : Window(Screen::mainScreen().bounds())
{
}

Window::Window(const Rect& frame)
    : View(frame)
{
}

Window::~Window()
{
    Application::shared().windowWillGo(*this);
}

void Window::makeKeyAndVisible()
{
    Application::shared().setKeyWindow(this);
    setHidden(false);
    if (m_visible)
        return;
    m_visible = true;
    if (m_rootViewController) {
        m_rootViewController->beginAppearanceTransition(true, false);
        m_rootViewController->endAppearanceTransition();
    }
}

bool Window::isKeyWindow() const
{
    return Application::shared().keyWindow() == this;
}

void Window::setRootViewController(std::shared_ptr<ViewController> controller)
{
    if (controller == m_rootViewController)
        return;
    auto old = std::move(m_rootViewController);
    if (old) {
        if (m_visible)
            old->beginAppearanceTransition(false, false);
        if (auto* oldView = old->viewIfLoaded(); oldView && oldView->superview() == this)
            oldView->removeFromSuperview();
        if (m_visible)
            old->endAppearanceTransition();
    }
    m_rootViewController = std::move(controller);
    if (!m_rootViewController)
        return;
    auto rootView = m_rootViewController->view();
    if (foundation::Device::current().systemMajorVersion() < 7 && rootView->frame().y() == 0) {
        Rect frame = rootView->frame();
        frame.origin.y = Screen::statusBarHeight;
        rootView->setFrame(frame);
    }
    insertSubview(rootView, 0);
    if (m_visible) {
        m_rootViewController->beginAppearanceTransition(true, false);
        m_rootViewController->endAppearanceTransition();
    }
}

Touch Window::makeTouch(TouchPhase phase, const Point& location)
{
    double now = foundation::RunLoop::main().now();
    Touch touch = m_touch;
    touch.phase = phase;
    touch.previousLocationInWindow = phase == TouchPhase::Began ? location : m_touch.locationInWindow;
    touch.locationInWindow = location;
    touch.timestamp = now;
    if (phase == TouchPhase::Began) {
        touch.startLocationInWindow = location;
        touch.startTimestamp = now;
    }
    m_touch = touch;
    return touch;
}

std::shared_ptr<View> Window::releaseTouchedView()
{
    auto view = m_touchView.lock();
    m_touchView.reset();
    return view;
}

void Window::touchBegan(const Point& location)
{
    // A touch still under way (its release was lost) ends as cancelled first.
    touchCancelled();
    layoutIfNeeded();
    View* hit = hitTest(location);
    if (!hit)
        return;
    m_touchView = hit->weak_from_this();
    hit->touchesBegan(makeTouch(TouchPhase::Began, location));
}

void Window::touchMoved(const Point& location)
{
    auto view = m_touchView.lock();
    if (!view)
        return;
    view->touchesMoved(makeTouch(TouchPhase::Moved, location));
}

void Window::touchEnded(const Point& location)
{
    auto view = releaseTouchedView();
    if (!view)
        return;
    view->touchesEnded(makeTouch(TouchPhase::Ended, location));
}

void Window::touchCancelled()
{
    auto view = releaseTouchedView();
    if (!view)
        return;
    view->touchesCancelled(makeTouch(TouchPhase::Cancelled, m_touch.locationInWindow));
}

void Window::tap(const Point& location)
{
    touchBegan(location);
    touchEnded(location);
}

View* Window::touchedView() const
{
    return m_touchView.lock().get();
}

void Window::addKeyPressHandler(const std::shared_ptr<View>& view, KeyPressHandler& handler)
{
    std::erase_if(m_keyPressHandlers, [&view](const auto& entry) {
        auto registered = entry.first.lock();
        return !registered || registered == view;
    });
    m_keyPressHandlers.emplace_back(view, &handler);
}

bool Window::showsUncovered(View& view)
{
    if (view.window() != this)
        return false;
    for (const View* v = &view; v; v = v->superview()) {
        if (v->isHidden() || v->alpha() < 0.01)
            return false;
    }
    layoutIfNeeded();
    View* hit = hitTest(view.convertPointToView(view.bounds().center(), nullptr));
    return hit && (hit == &view || hit->isDescendantOf(view));
}

bool Window::pressKey(const KeyPress& press)
{
    if (m_firstResponder && m_firstResponder->textInput())
        return false;
    // Copied: a handler may register or go while it handles the press.
    auto handlers = m_keyPressHandlers;
    for (auto it = handlers.rbegin(); it != handlers.rend(); ++it) {
        auto view = it->first.lock();
        if (view && showsUncovered(*view) && it->second->keyPressed(press))
            return true;
    }
    return false;
}

bool Window::makeFirstResponder(Responder* responder)
{
    if (responder == m_firstResponder)
        return true;
    auto* old = m_firstResponder;
    m_firstResponder = responder;
    showAccessoryFor(responder);
    if (old)
        old->didResignFirstResponder();
    if (responder && m_firstResponder == responder)
        responder->didBecomeFirstResponder();
    noteNeedsDisplay();
    return true;
}

std::optional<Rect> Window::keyboardFrame() const
{
    if (!m_firstResponder || !m_firstResponder->textInput())
        return std::nullopt;
    return Rect { 0, bounds().height() - keyboardHeight, bounds().width(), keyboardHeight };
}

void Window::showAccessoryFor(Responder* responder)
{
    if (m_accessoryView) {
        auto old = std::move(m_accessoryView);
        if (old->superview() == this)
            old->removeFromSuperview();
    }
    if (!responder || !responder->textInput())
        return;
    auto accessory = responder->inputAccessoryView();
    if (!accessory)
        return;
    Rect frame = accessory->frame();
    frame.origin = { 0, bounds().height() - keyboardHeight - frame.height() };
    accessory->setFrame(frame);
    m_accessoryView = accessory;
    addSubview(std::move(accessory));
}

void Window::viewWillLeaveWindow(View& view)
{
    if (auto* focused = dynamic_cast<View*>(m_firstResponder); focused && focused->isDescendantOf(view)) {
        m_firstResponder = nullptr;
        if (m_accessoryView && m_accessoryView.get() != &view && !m_accessoryView->isDescendantOf(view)) {
            auto old = std::move(m_accessoryView);
            old->removeFromSuperview();
        }
        m_accessoryView.reset();
        focused->didResignFirstResponder();
    }
    if (auto touched = m_touchView.lock(); touched && touched->isDescendantOf(view))
        m_touchView.reset();
}

void Window::noteNeedsDisplay()
{
    if (m_needsDisplay)
        return;
    m_needsDisplay = true;
    if (m_displayHandler)
        m_displayHandler();
}

void Window::renderWindow(Painter& painter)
{
    layoutIfNeeded();
    m_needsDisplay = false;
    render(painter);
}

} // namespace ui
