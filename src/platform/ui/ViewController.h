#pragma once
// A screen: it makes its view on first request, hears when it appears and disappears, and
// opens other screens modally over itself.
//
// Ownership: a controller owns its view and its child controllers (containers hold their
// children as shared pointers) and the controller it presents; children and presented
// controllers keep plain pointers back, cleared when they leave. Controllers are made with
// std::make_shared so that delayed work can hold them weakly (weak_from_this()).
//
// Appearance: viewWillAppear/viewDidAppear/viewWillDisappear/viewDidDisappear come in
// pairs and never twice in a row; containers pass them on to the child that shows (the top
// of a navigation stack, the selected tab). A controller that is not on screen hears
// nothing when its children change.

#include "platform/foundation/RunLoop.h"
#include "platform/ui/Geometry.h"
#include "platform/ui/Responder.h"

#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace ui {

class BarButtonItem;
class NavigationController;
class NavigationItem;
class TabBarController;
class TabBarItem;
class View;

class ViewController : public Responder, public std::enable_shared_from_this<ViewController> {
public:
    // How long an animated modal presentation or dismissal takes on the run-loop clock.
    static constexpr double modalTransitionDuration = 0.4;

    ViewController();
    ~ViewController() override;
    ViewController(const ViewController&) = delete;
    ViewController& operator=(const ViewController&) = delete;

    // The view, made on first request: loadView() then viewDidLoad().
    std::shared_ptr<View> view();
    bool isViewLoaded() const { return m_view != nullptr; }
    View* viewIfLoaded() const { return m_view.get(); }
    // Replaces the view (loadView overrides call this); does not call viewDidLoad.
    void setView(std::shared_ptr<View> view);

    // Makes the view; by default a plain view the size of the screen's application frame.
    virtual void loadView();
    virtual void viewDidLoad() { }
    virtual void viewWillAppear(bool /*animated*/) { }
    virtual void viewDidAppear(bool /*animated*/) { }
    virtual void viewWillDisappear(bool /*animated*/) { }
    virtual void viewDidDisappear(bool /*animated*/) { }

    // The title; setting it also titles the navigation item and the tab item.
    const std::string& title() const { return m_title; }
    void setTitle(std::string title);

    // Made on first request and owned.
    NavigationItem& navigationItem();
    std::shared_ptr<NavigationItem> navigationItemPointer();
    std::shared_ptr<TabBarItem> tabBarItem();
    void setTabBarItem(std::shared_ptr<TabBarItem> item);

    // The containers around this controller, or null.
    ViewController* parentViewController() const { return m_parent; }
    NavigationController* navigationController() const;
    TabBarController* tabBarController() const;

    // Children (containers use these; the child's view is the container's business).
    const std::vector<std::shared_ptr<ViewController>>& childViewControllers() const { return m_children; }
    void addChildViewController(std::shared_ptr<ViewController> child);
    void removeFromParentViewController();

    // Modal presentation over the whole screen. The presentation is made by the outermost
    // container of this controller; presenting while it already presents something logs a
    // line and does nothing. Animated, the completion runs when the transition has taken
    // modalTransitionDuration on the run loop; otherwise at once.
    void presentViewController(std::shared_ptr<ViewController> controller, bool animated,
                               std::function<void()> completion = {});
    // Closes what this controller presents, or, when it presents nothing, what presents
    // it (so a presented screen can close itself). Everything presented above goes too.
    void dismissViewControllerAnimated(bool animated, std::function<void()> completion = {});
    ViewController* presentedViewController() const { return m_presented.get(); }
    ViewController* presentingViewController() const { return m_presenting; }

    // Editing mode (lists with delete and move). Subclasses override to pass it to their
    // table, calling this one too.
    bool isEditing() const { return m_editing; }
    virtual void setEditing(bool editing, bool animated);
    // The system Edit/Done item that toggles editing; made on first request and owned.
    std::shared_ptr<BarButtonItem> editButtonItem();

    bool hidesBottomBarWhenPushed() const { return m_hidesBottomBarWhenPushed; }
    void setHidesBottomBarWhenPushed(bool hides) { m_hidesBottomBarWhenPushed = hides; }

    // True between viewDidAppear and viewWillDisappear (or while appearing).
    bool isVisible() const;

    // Appearance transitions, for containers and the window. begin calls will-, end calls
    // did-; both are ignored when they would repeat the current state.
    void beginAppearanceTransition(bool appearing, bool animated);
    void endAppearanceTransition();

    // Whether the system understands per-screen status-bar appearance (from 7 on).
    static bool supportsStatusBarAppearanceUpdate();

    Responder* nextResponder() const override;

protected:
    // The children that appear and disappear with this controller: by default every child
    // whose view lies in this controller's view.
    virtual std::vector<ViewController*> childrenForAppearance() const;
    // Runs fn when an animated transition of this controller ends; a new transition first
    // finishes the running one, so that stacks never disagree with the screen.
    void startTransition(double duration, std::function<void()> finish);
    void finishRunningTransition();
    bool isInTransition() const { return static_cast<bool>(m_runningTransition); }

private:
    enum class Appearance { Disappeared, Appearing, Appeared, Disappearing };

    ViewController* presentationHost();
    Rect presentationFrame() const;

    std::shared_ptr<View> m_view;
    std::string m_title;
    std::shared_ptr<NavigationItem> m_navigationItem;
    std::shared_ptr<TabBarItem> m_tabBarItem;
    std::shared_ptr<BarButtonItem> m_editButtonItem;
    ViewController* m_parent { nullptr };
    std::vector<std::shared_ptr<ViewController>> m_children;
    std::shared_ptr<ViewController> m_presented;
    ViewController* m_presenting { nullptr };
    bool m_editing { false };
    bool m_hidesBottomBarWhenPushed { false };
    Appearance m_appearance { Appearance::Disappeared };
    bool m_animatedTransition { false };
    std::function<void()> m_runningTransition;
    foundation::RunLoop::CallId m_transitionCall { 0 };
};

} // namespace ui
