#pragma once
// A stack of screens under a navigation bar: push to go deeper, pop (or the back button)
// to come back. Only the top screen's view is in the stack's view.
//
// From system 7 on a stack whose view reaches up under the status bar (a full-screen modal,
// a stack laid over the whole window) puts its bar just below the status bar, its colour
// running up behind the status bar, and starts an opaque-barred screen below the bar; a
// stack lower on the screen (below the banner slot) keeps its bar at its top.
//
// Ownership: the navigation controller owns the controllers on its stack (as children)
// and its bar. A controller popped off the stack is released once its transition ends,
// unless someone else keeps it.

#include "platform/ui/ViewController.h"

#include <memory>
#include <vector>

namespace ui {

class NavigationBar;

class NavigationController : public ViewController {
public:
    // How long an animated push or pop takes on the run-loop clock.
    static constexpr double pushDuration = 0.35;

    NavigationController();
    explicit NavigationController(std::shared_ptr<ViewController> rootViewController);
    ~NavigationController() override;

    // Pushing a controller already on a stack (this or another) logs a line and does
    // nothing. A push or pop during a running transition first finishes that one.
    void pushViewController(std::shared_ptr<ViewController> controller, bool animated);
    // Null when only the root is left (the root is never popped).
    std::shared_ptr<ViewController> popViewControllerAnimated(bool animated);
    std::vector<std::shared_ptr<ViewController>> popToRootViewControllerAnimated(bool animated);
    // Pops down to the controller, which must be on the stack; empty otherwise.
    std::vector<std::shared_ptr<ViewController>> popToViewController(const ViewController& controller, bool animated);
    void setViewControllers(std::vector<std::shared_ptr<ViewController>> controllers, bool animated);

    const std::vector<std::shared_ptr<ViewController>>& viewControllers() const { return m_stack; }
    ViewController* topViewController() const { return m_stack.empty() ? nullptr : m_stack.back().get(); }
    // The top controller, or what it (or this) presents.
    ViewController* visibleViewController() const;

    NavigationBar& navigationBar();
    bool isNavigationBarHidden() const { return m_navigationBarHidden; }
    void setNavigationBarHidden(bool hidden, bool animated = false);

    void loadView() override;

protected:
    std::vector<ViewController*> childrenForAppearance() const override;

private:
    class ContainerView;

    Rect contentFrame() const;
    // How far the stack's view lies under the status bar, 0 when it does not.
    double statusBarOverlap() const;
    // Puts the bar and the top screen where the status bar leaves them room.
    void layoutForStatusBar();
    void updateBar();
    // Replaces the shown top: `from` leaves, `to` comes, with the appearance calls when the
    // stack is on screen; `release` are dropped from the children at the end.
    void transition(const std::shared_ptr<ViewController>& from, const std::shared_ptr<ViewController>& to,
                     bool animated, bool forward, std::vector<std::shared_ptr<ViewController>> release);

    std::vector<std::shared_ptr<ViewController>> m_stack;
    std::shared_ptr<NavigationBar> m_navigationBar;
    bool m_navigationBarHidden { false };
    double m_statusBarInset { 0 };
};

} // namespace ui
