#include "platform/ui/ViewController.h"

#include "platform/foundation/Log.h"
#include "platform/foundation/Device.h"
#include "platform/ui/BarButtonItem.h"
#include "platform/ui/NavigationController.h"
#include "platform/ui/NavigationItem.h"
#include "platform/ui/Screen.h"
#include "platform/ui/TabBarController.h"
#include "platform/ui/TabBarItem.h"
#include "platform/ui/View.h"
#include "platform/ui/Window.h"

#include <algorithm>
#include <typeinfo>

namespace ui {

ViewController::ViewController() = default;

ViewController::~ViewController()
{
    if (m_transitionCall)
        foundation::RunLoop::main().cancelPerform(m_transitionCall);
    if (m_view && m_view->m_viewController == this)
        m_view->m_viewController = nullptr;
    for (auto& child : m_children)
        child->m_parent = nullptr;
    if (m_presented)
        m_presented->m_presenting = nullptr;
    if (m_editButtonItem)
        m_editButtonItem->setAction(nullptr);
}

std::shared_ptr<View> ViewController::view()
{
    if (!m_view) {
        loadView();
        if (!m_view)
            setView(std::make_shared<View>(Screen::mainScreen().applicationFrame()));
        viewDidLoad();
    }
    return m_view;
}

void ViewController::setView(std::shared_ptr<View> view)
{
    if (m_view && m_view->m_viewController == this)
        m_view->m_viewController = nullptr;
    m_view = std::move(view);
    if (m_view)
        m_view->m_viewController = this;
}

void ViewController::loadView()
{
    auto plain = std::make_shared<View>(Screen::mainScreen().applicationFrame());
    plain->setBackgroundColor(Color::whiteColor());
    setView(std::move(plain));
}

void ViewController::setTitle(std::string title)
{
    m_title = std::move(title);
    navigationItem().setTitle(m_title);
    if (m_tabBarItem)
        m_tabBarItem->setTitle(m_title);
}

NavigationItem& ViewController::navigationItem()
{
    return *navigationItemPointer();
}

std::shared_ptr<NavigationItem> ViewController::navigationItemPointer()
{
    if (!m_navigationItem)
        m_navigationItem = std::make_shared<NavigationItem>(m_title);
    return m_navigationItem;
}

std::shared_ptr<TabBarItem> ViewController::tabBarItem()
{
    if (!m_tabBarItem)
        m_tabBarItem = std::make_shared<TabBarItem>(m_title, nullptr, 0);
    return m_tabBarItem;
}

void ViewController::setTabBarItem(std::shared_ptr<TabBarItem> item)
{
    m_tabBarItem = std::move(item);
    if (auto* tabs = dynamic_cast<TabBarController*>(m_parent))
        tabs->tabItemsChanged();
}

NavigationController* ViewController::navigationController() const
{
    for (auto* c = m_parent; c; c = c->m_parent) {
        if (auto* navigation = dynamic_cast<NavigationController*>(c))
            return navigation;
    }
    return nullptr;
}

TabBarController* ViewController::tabBarController() const
{
    for (auto* c = m_parent; c; c = c->m_parent) {
        if (auto* tabs = dynamic_cast<TabBarController*>(c))
            return tabs;
    }
    return nullptr;
}

void ViewController::addChildViewController(std::shared_ptr<ViewController> child)
{
    if (!child || child.get() == this)
        return;
    if (child->m_parent == this)
        return;
    child->removeFromParentViewController();
    child->m_parent = this;
    m_children.push_back(std::move(child));
}

void ViewController::removeFromParentViewController()
{
    auto* parent = m_parent;
    if (!parent)
        return;
    m_parent = nullptr;
    // The parent may hold the last reference; the erase below must not end this object
    // while it is still running.
    auto keep = weak_from_this().lock();
    auto& siblings = parent->m_children;
    siblings.erase(std::remove_if(siblings.begin(), siblings.end(), [this](const auto& c) { return c.get() == this; }),
                   siblings.end());
}

bool ViewController::isVisible() const
{
    return m_appearance == Appearance::Appearing || m_appearance == Appearance::Appeared;
}

std::vector<ViewController*> ViewController::childrenForAppearance() const
{
    std::vector<ViewController*> result;
    if (!m_view)
        return result;
    for (const auto& child : m_children) {
        if (child->m_view && child->m_view->isDescendantOf(*m_view))
            result.push_back(child.get());
    }
    return result;
}

void ViewController::beginAppearanceTransition(bool appearing, bool animated)
{
    if (appearing) {
        if (isVisible())
            return;
        view();
        m_appearance = Appearance::Appearing;
        m_animatedTransition = animated;
        viewWillAppear(animated);
    } else {
        if (!isVisible())
            return;
        m_appearance = Appearance::Disappearing;
        m_animatedTransition = animated;
        viewWillDisappear(animated);
    }
    for (auto* child : childrenForAppearance())
        child->beginAppearanceTransition(appearing, animated);
}

void ViewController::endAppearanceTransition()
{
    bool animated = m_animatedTransition;
    if (m_appearance == Appearance::Appearing) {
        m_appearance = Appearance::Appeared;
        viewDidAppear(animated);
    } else if (m_appearance == Appearance::Disappearing) {
        m_appearance = Appearance::Disappeared;
        viewDidDisappear(animated);
    } else {
        return;
    }
    for (auto* child : childrenForAppearance())
        child->endAppearanceTransition();
}

void ViewController::startTransition(double duration, std::function<void()> finish)
{
    finishRunningTransition();
    m_runningTransition = std::move(finish);
    m_transitionCall = foundation::RunLoop::main().performAfterDelay(duration, [this] {
        m_transitionCall = 0;
        finishRunningTransition();
    });
}

void ViewController::finishRunningTransition()
{
    if (m_transitionCall) {
        foundation::RunLoop::main().cancelPerform(m_transitionCall);
        m_transitionCall = 0;
    }
    if (!m_runningTransition)
        return;
    auto finish = std::move(m_runningTransition);
    m_runningTransition = nullptr;
    finish();
}

ViewController* ViewController::presentationHost()
{
    ViewController* host = this;
    while (host->m_parent)
        host = host->m_parent;
    return host;
}

Rect ViewController::presentationFrame() const
{
    return Screen::mainScreen().applicationFrame();
}

void ViewController::presentViewController(std::shared_ptr<ViewController> controller, bool animated,
                                           std::function<void()> completion)
{
    if (!controller)
        return;
    ViewController* host = presentationHost();
    // A dismissal still sliding away is finished first, so "close, then open the next" works.
    host->finishRunningTransition();
    if (host->m_presented) {
        foundation::log(std::string("Warning: attempt to present a screen on one that already presents another"));
        return;
    }
    if (controller->m_presenting || controller->m_parent || controller.get() == host) {
        foundation::log("Warning: attempt to present a screen that is already shown elsewhere");
        return;
    }

    host->m_presented = controller;
    controller->m_presenting = host;

    auto view = controller->view();
    Rect target = presentationFrame();
    Window* window = host->m_view ? host->m_view->window() : nullptr;
    bool hostWasVisible = host->isVisible();

    controller->beginAppearanceTransition(true, animated);
    if (hostWasVisible)
        host->beginAppearanceTransition(false, animated);

    if (window) {
        view->setFrame(target);
        window->addSubview(view);
    }

    auto finish = [host, controller, hostWasVisible, completion = std::move(completion)] {
        controller->endAppearanceTransition();
        if (hostWasVisible)
            host->endAppearanceTransition();
        if (completion)
            completion();
    };
    if (animated) {
        if (window) {
            view->setFrame(target.offsetBy(0, window->bounds().height()));
            View::animate(modalTransitionDuration, [&] { view->setFrame(target); });
        }
        host->startTransition(modalTransitionDuration, std::move(finish));
    } else {
        finish();
    }
}

void ViewController::dismissViewControllerAnimated(bool animated, std::function<void()> completion)
{
    ViewController* root = presentationHost();
    ViewController* host = root->m_presented ? root : root->m_presenting;
    if (!host) {
        if (completion)
            completion();
        return;
    }
    host->finishRunningTransition();
    if (!host->m_presented) {
        if (completion)
            completion();
        return;
    }

    std::vector<std::shared_ptr<ViewController>> chain;
    for (auto c = host->m_presented; c; c = c->m_presented)
        chain.push_back(c);
    for (auto it = chain.rbegin(); it != chain.rend(); ++it)
        (*it)->beginAppearanceTransition(false, animated);
    // The presenter comes back only where it is on screen, i.e. in a window.
    bool hostReturns = host->m_view && host->m_view->window();
    if (hostReturns)
        host->beginAppearanceTransition(true, animated);

    auto finish = [host, chain, hostReturns, completion = std::move(completion)] {
        for (auto it = chain.rbegin(); it != chain.rend(); ++it) {
            auto& c = *it;
            if (auto* v = c->viewIfLoaded())
                v->removeFromSuperview();
            c->endAppearanceTransition();
            c->m_presenting = nullptr;
            c->m_presented.reset();
        }
        host->m_presented.reset();
        if (hostReturns)
            host->endAppearanceTransition();
        if (completion)
            completion();
    };
    if (animated) {
        View* top = chain.back()->viewIfLoaded();
        Window* window = top ? top->window() : nullptr;
        if (window) {
            Rect away = top->frame().offsetBy(0, window->bounds().height());
            View::animate(modalTransitionDuration, [&] { top->setFrame(away); });
        }
        host->startTransition(modalTransitionDuration, std::move(finish));
    } else {
        finish();
    }
}

void ViewController::setEditing(bool editing, bool)
{
    m_editing = editing;
    if (m_editButtonItem) {
        // The same item turns from Edit to Done and back, as on the handset.
        m_editButtonItem->setTitle(BarButtonItem::systemTitle(editing ? BarButtonSystemItem::Done : BarButtonSystemItem::Edit));
        m_editButtonItem->setStyle(editing ? BarButtonItemStyle::Done : BarButtonItemStyle::Bordered);
    }
}

std::shared_ptr<BarButtonItem> ViewController::editButtonItem()
{
    if (!m_editButtonItem) {
        m_editButtonItem = std::make_shared<BarButtonItem>(BarButtonItem::systemTitle(m_editing ? BarButtonSystemItem::Done : BarButtonSystemItem::Edit),
                                                           m_editing ? BarButtonItemStyle::Done : BarButtonItemStyle::Bordered,
                                                           [this](BarButtonItem&) { setEditing(!m_editing, true); });
    }
    return m_editButtonItem;
}

bool ViewController::supportsStatusBarAppearanceUpdate()
{
    return foundation::Device::current().systemMajorVersion() >= 7;
}

Responder* ViewController::nextResponder() const
{
    if (m_view && m_view->superview())
        return m_view->superview();
    return m_parent;
}

} // namespace ui
