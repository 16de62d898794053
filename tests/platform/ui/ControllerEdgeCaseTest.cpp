#include "platform/foundation/Device.h"
#include "platform/ui/Application.h"
#include "platform/ui/NavigationController.h"
#include "platform/ui/TabBarController.h"
#include "platform/ui/View.h"
#include "platform/ui/Window.h"
#include "support/ManualTime.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace ui;

namespace {

class Screen : public ViewController {
public:
    explicit Screen(std::vector<std::string>* journal = nullptr, std::string name = {})
        : m_journal(journal)
        , m_name(std::move(name))
    {
    }
    void viewWillAppear(bool) override { note("willAppear"); }
    void viewDidAppear(bool) override { note("didAppear"); }
    void viewWillDisappear(bool) override { note("willDisappear"); }
    void viewDidDisappear(bool) override { note("didDisappear"); }

private:
    void note(const char* event)
    {
        if (m_journal)
            m_journal->push_back(m_name + ":" + event);
    }
    std::vector<std::string>* m_journal { nullptr };
    std::string m_name;
};

struct ControllerEdgeCaseTest : ::testing::Test {
    testsupport::ManualTime time;
    std::shared_ptr<Window> window = std::make_shared<Window>(Rect { 0, 0, 320, 568 });
    std::vector<std::string> journal;
    using Journal = std::vector<std::string>;

    std::shared_ptr<Screen> make(const std::string& name) { return std::make_shared<Screen>(&journal, name); }
    Journal take() { return std::exchange(journal, {}); }
};

} // namespace

TEST_F(ControllerEdgeCaseTest, PopToRootReleasesTheMiddleScreensWithoutWakingThem)
{
    auto navigation = std::make_shared<NavigationController>(make("root"));
    window->setRootViewController(navigation);
    window->makeKeyAndVisible();
    std::weak_ptr<Screen> middle;
    {
        auto m = make("middle");
        middle = m;
        navigation->pushViewController(m, false);
    }
    navigation->pushViewController(make("top"), false);
    take();

    auto popped = navigation->popToRootViewControllerAnimated(true);
    ASSERT_EQ(popped.size(), 2u);
    time.advance(1);
    EXPECT_EQ(take(), (Journal { "top:willDisappear", "root:willAppear", "top:didDisappear", "root:didAppear" }));
    popped.clear();
    EXPECT_TRUE(middle.expired());
    EXPECT_EQ(navigation->viewControllers().size(), 1u);
}

TEST_F(ControllerEdgeCaseTest, AScreenCannotBeOnTwoStacksAtOnce)
{
    auto shared = make("shared");
    auto first = std::make_shared<NavigationController>(shared);
    auto second = std::make_shared<NavigationController>(make("other"));
    second->pushViewController(shared, false);
    EXPECT_EQ(second->viewControllers().size(), 1u);
    EXPECT_EQ(shared->navigationController(), first.get());
    first->pushViewController(first, false);
    EXPECT_EQ(first->viewControllers().size(), 1u);
}

TEST_F(ControllerEdgeCaseTest, ReplacingTheStackShowsTheNewTop)
{
    auto navigation = std::make_shared<NavigationController>(make("a"));
    window->setRootViewController(navigation);
    window->makeKeyAndVisible();
    take();
    auto b = make("b");
    auto c = make("c");
    navigation->setViewControllers({ b, c }, false);
    EXPECT_EQ(take(), (Journal { "a:willDisappear", "c:willAppear", "a:didDisappear", "c:didAppear" }));
    EXPECT_EQ(navigation->topViewController(), c.get());
    EXPECT_EQ(b->parentViewController(), navigation.get());
    EXPECT_EQ(c->viewIfLoaded()->superview(), navigation->viewIfLoaded());
}

TEST_F(ControllerEdgeCaseTest, StacksGoneInTheMiddleOfATransitionLeaveNothingBehind)
{
    std::weak_ptr<NavigationController> gone;
    {
        auto navigation = std::make_shared<NavigationController>(make("root"));
        gone = navigation;
        window->setRootViewController(navigation);
        window->makeKeyAndVisible();
        navigation->pushViewController(make("next"), true);
        auto host = make("host");
        host->presentViewController(make("sheet"), true);
        window->setRootViewController(nullptr);
    }
    EXPECT_TRUE(gone.expired());
    time.advance(1);
}

TEST_F(ControllerEdgeCaseTest, DismissingTheLowerOfTwoPresentationsClosesBoth)
{
    auto root = make("root");
    window->setRootViewController(root);
    window->makeKeyAndVisible();
    auto first = make("first");
    auto second = make("second");
    root->presentViewController(first, false);
    first->presentViewController(second, false);
    EXPECT_EQ(first->presentedViewController(), second.get());
    take();

    bool done = false;
    root->dismissViewControllerAnimated(true, [&] { done = true; });
    time.advance(ViewController::modalTransitionDuration);
    EXPECT_TRUE(done);
    // The first sheet lay hidden under the second, so it has nothing to disappear from.
    EXPECT_EQ(take(), (Journal { "second:willDisappear", "root:willAppear", "second:didDisappear", "root:didAppear" }));
    EXPECT_EQ(root->presentedViewController(), nullptr);
    EXPECT_EQ(first->presentedViewController(), nullptr);
    EXPECT_EQ(second->viewIfLoaded()->superview(), nullptr);
}

TEST_F(ControllerEdgeCaseTest, DismissingWhenNothingIsPresentedStillRunsTheCompletion)
{
    auto lonely = make("lonely");
    bool done = false;
    lonely->dismissViewControllerAnimated(true, [&] { done = true; });
    EXPECT_TRUE(done);
}

TEST_F(ControllerEdgeCaseTest, PresentingWithoutAWindowRunsTheLifecycleOfThePresentedScreen)
{
    auto host = make("host");
    auto sheet = make("sheet");
    bool done = false;
    host->presentViewController(sheet, true, [&] { done = true; });
    time.advance(ViewController::modalTransitionDuration);
    EXPECT_TRUE(done);
    EXPECT_EQ(take(), (Journal { "sheet:willAppear", "sheet:didAppear" }));
    EXPECT_EQ(sheet->presentingViewController(), host.get());
}

TEST_F(ControllerEdgeCaseTest, TouchingTheSelectedTabTakesItsStackBackToTheRoot)
{
    auto tabs = std::make_shared<TabBarController>();
    auto stack = std::make_shared<NavigationController>(make("root"));
    tabs->setViewControllers({ stack, make("other") });
    window->setRootViewController(tabs);
    window->makeKeyAndVisible();
    stack->pushViewController(make("deep"), false);
    tabs->userSelectedTab(0);
    time.advance(1);
    EXPECT_EQ(stack->viewControllers().size(), 1u);
}

TEST_F(ControllerEdgeCaseTest, ReplacingTheRootScreenOfAVisibleWindowSwapsTheirLifecycles)
{
    window->setRootViewController(make("old"));
    window->makeKeyAndVisible();
    EXPECT_TRUE(window->isKeyWindow());
    EXPECT_EQ(Application::shared().keyWindow(), window.get());
    take();
    window->setRootViewController(make("new"));
    EXPECT_EQ(take(), (Journal { "old:willDisappear", "old:didDisappear", "new:willAppear", "new:didAppear" }));
    EXPECT_EQ(window->subviews().front(), window->rootViewController()->viewIfLoaded()->shared_from_this());

    window.reset();
    EXPECT_EQ(Application::shared().keyWindow(), nullptr);
}

TEST_F(ControllerEdgeCaseTest, BeforeSystemSevenTheRootViewStartsBelowTheStatusBar)
{
    auto& device = foundation::Device::current();
    device.setSystemVersion("6.1");
    auto root = make("root");
    root->view()->setFrame({ 0, 0, 320, 460 });
    window->setRootViewController(root);
    EXPECT_EQ(root->view()->frame().y(), 20);
    EXPECT_FALSE(ViewController::supportsStatusBarAppearanceUpdate());
    device.reset();
    EXPECT_TRUE(ViewController::supportsStatusBarAppearanceUpdate());
}
