#include "platform/ui/NavigationController.h"

#include "platform/foundation/Log.h"
#include "platform/ui/NavigationBar.h"
#include "platform/ui/NavigationItem.h"
#include "platform/ui/Screen.h"
#include "platform/ui/View.h"
#include "platform/ui/Window.h"

#include <algorithm>

namespace ui {

// The stack's view: it notices when it moves (in a window, or within it), because where it
// lies decides whether the bar must make room for the status bar.
class NavigationController::ContainerView final : public View {
public:
    using View::View;

    void setFrame(const Rect& frame) override
    {
        View::setFrame(frame);
        setNeedsLayout();
    }
    void didMoveToWindow() override { setNeedsLayout(); }
    void layoutSubviews() override
    {
        if (auto* navigation = dynamic_cast<NavigationController*>(viewController()))
            navigation->layoutForStatusBar();
    }
};

NavigationController::NavigationController()
    : m_navigationBar(std::make_shared<NavigationBar>())
{
    m_navigationBar->setBackAction([this] { popViewControllerAnimated(true); });
}

NavigationController::NavigationController(std::shared_ptr<ViewController> rootViewController)
    : NavigationController()
{
    if (rootViewController)
        pushViewController(std::move(rootViewController), false);
}

NavigationController::~NavigationController()
{
    m_navigationBar->setBackAction(nullptr);
    m_navigationBar->setItems({});
}

NavigationBar& NavigationController::navigationBar()
{
    return *m_navigationBar;
}

void NavigationController::loadView()
{
    auto container = std::make_shared<ContainerView>(Rect { 0, 0, 320, 460 });
    container->setClipsToBounds(true);
    container->setBackgroundColor(Color::whiteColor());
    setView(container);
    m_navigationBar->setFrame({ 0, m_statusBarInset, container->bounds().width(), NavigationBar::height });
    m_navigationBar->setHidden(m_navigationBarHidden);
    container->addSubview(m_navigationBar);
    if (auto* top = topViewController()) {
        auto topView = top->view();
        topView->setFrame(contentFrame());
        topView->setAutoresizingMask(AutoresizingMask::FlexibleWidth | AutoresizingMask::FlexibleHeight);
        container->insertSubview(topView, 0);
    }
    updateBar();
}

Rect NavigationController::contentFrame() const
{
    auto* container = viewIfLoaded();
    if (!container)
        return {};
    Rect bounds = container->bounds();
    if (m_navigationBarHidden || m_navigationBar->isTranslucent())
        return bounds;
    double top = m_statusBarInset + NavigationBar::height;
    return { 0, top, bounds.width(), std::max(0.0, bounds.height() - top) };
}

double NavigationController::statusBarOverlap() const
{
    auto* container = viewIfLoaded();
    Window* window = container ? container->window() : nullptr;
    if (!window || !supportsStatusBarAppearanceUpdate())
        return 0;
    double top = container->convertRectToView(container->bounds(), nullptr).minY();
    // A stack slid off the bottom of the screen (a modal screen going away) keeps the room
    // it had, so that it does not change while it slides.
    if (top >= window->bounds().height())
        return m_statusBarInset;
    if (top < 0 || top >= Screen::statusBarHeight)
        return 0;
    return Screen::statusBarHeight - top;
}

void NavigationController::layoutForStatusBar()
{
    double inset = statusBarOverlap();
    if (inset == m_statusBarInset)
        return;
    m_statusBarInset = inset;
    auto* container = viewIfLoaded();
    m_navigationBar->setFrame({ 0, inset, container->bounds().width(), NavigationBar::height });
    m_navigationBar->setBackgroundExtension(inset);
    if (auto* top = topViewController(); top && top->viewIfLoaded() && top->viewIfLoaded()->superview() == container)
        top->viewIfLoaded()->setFrame(contentFrame());
}

void NavigationController::updateBar()
{
    std::vector<std::shared_ptr<NavigationItem>> items;
    for (auto& controller : m_stack)
        items.push_back(controller->navigationItemPointer());
    m_navigationBar->setItems(std::move(items));
}

void NavigationController::setNavigationBarHidden(bool hidden, bool)
{
    m_navigationBarHidden = hidden;
    m_navigationBar->setHidden(hidden);
    if (auto* top = topViewController(); top && top->viewIfLoaded() && viewIfLoaded())
        top->viewIfLoaded()->setFrame(contentFrame());
}

ViewController* NavigationController::visibleViewController() const
{
    if (presentedViewController())
        return presentedViewController();
    auto* top = topViewController();
    if (top && top->presentedViewController())
        return top->presentedViewController();
    return top;
}

std::vector<ViewController*> NavigationController::childrenForAppearance() const
{
    std::vector<ViewController*> result;
    if (auto* top = topViewController(); top && viewIfLoaded())
        result.push_back(top);
    return result;
}

void NavigationController::transition(const std::shared_ptr<ViewController>& from, const std::shared_ptr<ViewController>& to,
                                      bool animated, bool forward, std::vector<std::shared_ptr<ViewController>> release)
{
    auto* container = viewIfLoaded();
    bool onScreen = isVisible();
    if (!container) {
        // Nothing shows yet: the stack alone changes, and loadView will show the top.
        for (auto& gone : release)
            gone->removeFromParentViewController();
        updateBar();
        return;
    }
    animated = animated && onScreen && from && from != to;
    if (to) {
        auto toView = to->view();
        toView->setFrame(contentFrame());
        toView->setAutoresizingMask(AutoresizingMask::FlexibleWidth | AutoresizingMask::FlexibleHeight);
        // Below the bar; a pushed screen above the one it covers, a revealed one beneath.
        const auto& subviews = container->subviews();
        auto indexOf = [&](const View* v) {
            auto found = std::find_if(subviews.begin(), subviews.end(), [v](const auto& s) { return s.get() == v; });
            return static_cast<std::size_t>(found - subviews.begin());
        };
        std::size_t index = indexOf(m_navigationBar.get());
        if (!forward && from && from->viewIfLoaded() && from->viewIfLoaded()->superview() == container)
            index = indexOf(from->viewIfLoaded());
        if (toView->superview() != container)
            container->insertSubview(toView, index);
    }
    if (onScreen && from != to) {
        if (from)
            from->beginAppearanceTransition(false, animated);
        if (to)
            to->beginAppearanceTransition(true, animated);
    }
    updateBar();

    auto finish = [this, from, to, onScreen, release = std::move(release)] {
        if (from && from != to) {
            if (auto* fromView = from->viewIfLoaded(); fromView && fromView->superview() == viewIfLoaded())
                fromView->removeFromSuperview();
        }
        if (onScreen && from != to) {
            if (from)
                from->endAppearanceTransition();
            if (to)
                to->endAppearanceTransition();
        }
        for (auto& gone : release)
            gone->removeFromParentViewController();
    };
    if (animated) {
        double width = container->bounds().width();
        Rect content = contentFrame();
        auto toView = to->view();
        auto fromView = from->view();
        toView->setFrame(content.offsetBy(forward ? width : -width / 3, 0));
        View::animate(pushDuration, [&] {
            toView->setFrame(content);
            fromView->setFrame(content.offsetBy(forward ? -width / 3 : width, 0));
        });
        startTransition(pushDuration, std::move(finish));
    } else {
        finish();
    }
}

void NavigationController::pushViewController(std::shared_ptr<ViewController> controller, bool animated)
{
    if (!controller)
        return;
    if (controller->parentViewController() || controller->presentingViewController() || controller.get() == this) {
        foundation::log("Warning: pushing a screen that is already on a stack");
        return;
    }
    finishRunningTransition();
    std::shared_ptr<ViewController> from = m_stack.empty() ? nullptr : m_stack.back();
    addChildViewController(controller);
    m_stack.push_back(controller);
    transition(from, controller, animated, true, {});
}

std::shared_ptr<ViewController> NavigationController::popViewControllerAnimated(bool animated)
{
    finishRunningTransition();
    if (m_stack.size() < 2)
        return nullptr;
    auto popped = m_stack.back();
    m_stack.pop_back();
    transition(popped, m_stack.back(), animated, false, { popped });
    return popped;
}

std::vector<std::shared_ptr<ViewController>> NavigationController::popToViewController(const ViewController& controller, bool animated)
{
    finishRunningTransition();
    auto found = std::find_if(m_stack.begin(), m_stack.end(), [&](const auto& c) { return c.get() == &controller; });
    if (found == m_stack.end() || found + 1 == m_stack.end())
        return {};
    std::vector<std::shared_ptr<ViewController>> popped(found + 1, m_stack.end());
    m_stack.erase(found + 1, m_stack.end());
    transition(popped.back(), m_stack.back(), animated, false, popped);
    return popped;
}

std::vector<std::shared_ptr<ViewController>> NavigationController::popToRootViewControllerAnimated(bool animated)
{
    if (m_stack.empty())
        return {};
    return popToViewController(*m_stack.front(), animated);
}

void NavigationController::setViewControllers(std::vector<std::shared_ptr<ViewController>> controllers, bool animated)
{
    finishRunningTransition();
    std::erase(controllers, nullptr);
    std::shared_ptr<ViewController> from = m_stack.empty() ? nullptr : m_stack.back();
    std::vector<std::shared_ptr<ViewController>> release;
    for (auto& old : m_stack) {
        if (std::find(controllers.begin(), controllers.end(), old) == controllers.end())
            release.push_back(old);
    }
    for (auto& controller : controllers) {
        if (controller->parentViewController() != this)
            addChildViewController(controller);
    }
    m_stack = std::move(controllers);
    std::shared_ptr<ViewController> to = m_stack.empty() ? nullptr : m_stack.back();
    bool forward = !from || std::find(m_stack.begin(), m_stack.end(), from) != m_stack.end() || release.empty();
    transition(from, to, animated, forward, std::move(release));
}

} // namespace ui
