#include "platform/foundation/Device.h"
#include "platform/ui/NavigationBar.h"
#include "platform/ui/NavigationController.h"
#include "platform/ui/NavigationItem.h"
#include "platform/ui/TabBar.h"
#include "platform/ui/TabBarController.h"
#include "platform/ui/TabBarItem.h"
#include "platform/ui/View.h"
#include "platform/ui/Window.h"
#include "support/ManualTime.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace ui;

namespace {

// Writes every lifecycle call into a shared journal as "name:event".
class JournalController : public ViewController {
public:
    JournalController(std::string name, std::vector<std::string>& journal)
        : m_name(std::move(name))
        , m_journal(journal)
    {
    }
    void viewDidLoad() override { m_journal.push_back(m_name + ":load"); }
    void viewWillAppear(bool) override { m_journal.push_back(m_name + ":willAppear"); }
    void viewDidAppear(bool) override { m_journal.push_back(m_name + ":didAppear"); }
    void viewWillDisappear(bool) override { m_journal.push_back(m_name + ":willDisappear"); }
    void viewDidDisappear(bool) override { m_journal.push_back(m_name + ":didDisappear"); }

private:
    std::string m_name;
    std::vector<std::string>& m_journal;
};

struct ControllerStackTest : ::testing::Test {
    testsupport::ManualTime time;
    std::vector<std::string> journal;
    std::shared_ptr<Window> window = std::make_shared<Window>(Rect { 0, 0, 320, 568 });

    std::shared_ptr<JournalController> make(const std::string& name)
    {
        return std::make_shared<JournalController>(name, journal);
    }
    std::vector<std::string> take() { return std::exchange(journal, {}); }
    using Journal = std::vector<std::string>;
};

} // namespace

TEST_F(ControllerStackTest, NavigationPushAndPopPairTheLifecycleCallsAndMoveViews)
{
    auto root = make("root");
    auto navigation = std::make_shared<NavigationController>(root);
    window->setRootViewController(navigation);
    window->makeKeyAndVisible();
    EXPECT_EQ(take(), (Journal { "root:load", "root:willAppear", "root:didAppear" }));

    auto detail = make("detail");
    navigation->pushViewController(detail, true);
    EXPECT_EQ(take(), (Journal { "detail:load", "root:willDisappear", "detail:willAppear" }));
    EXPECT_EQ(navigation->topViewController(), detail.get());
    EXPECT_EQ(detail->navigationController(), navigation.get());
    time.advance(NavigationController::pushDuration);
    EXPECT_EQ(take(), (Journal { "root:didDisappear", "detail:didAppear" }));
    EXPECT_EQ(root->viewIfLoaded()->superview(), nullptr);
    EXPECT_EQ(navigation->navigationBar().backButtonTitle(), "Back");

    auto popped = navigation->popViewControllerAnimated(false);
    EXPECT_EQ(popped, detail);
    EXPECT_EQ(take(), (Journal { "detail:willDisappear", "root:willAppear", "detail:didDisappear", "root:didAppear" }));
    EXPECT_EQ(detail->parentViewController(), nullptr);
    EXPECT_EQ(navigation->popViewControllerAnimated(true), nullptr);
}

TEST_F(ControllerStackTest, PushDuringARunningPushFinishesTheFirstOne)
{
    auto navigation = std::make_shared<NavigationController>(make("root"));
    window->setRootViewController(navigation);
    window->makeKeyAndVisible();
    take();
    navigation->pushViewController(make("a"), true);
    navigation->pushViewController(make("b"), true);
    time.advance(1);
    EXPECT_EQ(take(), (Journal { "a:load", "root:willDisappear", "a:willAppear", "root:didDisappear", "a:didAppear",
                                 "b:load", "a:willDisappear", "b:willAppear", "a:didDisappear", "b:didAppear" }));
    EXPECT_EQ(navigation->viewControllers().size(), 3u);
}

TEST_F(ControllerStackTest, ModalPresentationCoversAndUncoversThePresenterWithCompletions)
{
    auto root = make("root");
    window->setRootViewController(root);
    window->makeKeyAndVisible();
    take();

    auto sheet = make("sheet");
    bool presented = false;
    root->presentViewController(sheet, true, [&] { presented = true; });
    EXPECT_EQ(take(), (Journal { "sheet:load", "sheet:willAppear", "root:willDisappear" }));
    EXPECT_FALSE(presented);
    time.advance(ViewController::modalTransitionDuration);
    EXPECT_TRUE(presented);
    EXPECT_EQ(take(), (Journal { "sheet:didAppear", "root:didDisappear" }));
    EXPECT_EQ(root->presentedViewController(), sheet.get());
    EXPECT_EQ(sheet->viewIfLoaded()->superview(), window.get());

    // A second presentation from the same screen is refused.
    root->presentViewController(make("other"), false);
    EXPECT_EQ(root->presentedViewController(), sheet.get());
    take();

    bool dismissed = false;
    sheet->dismissViewControllerAnimated(true, [&] { dismissed = true; });
    time.advance(0.39);
    EXPECT_FALSE(dismissed);
    time.advance(0.01);
    EXPECT_TRUE(dismissed);
    EXPECT_EQ(take(), (Journal { "sheet:willDisappear", "root:willAppear", "sheet:didDisappear", "root:didAppear" }));
    EXPECT_EQ(root->presentedViewController(), nullptr);
    EXPECT_EQ(sheet->presentingViewController(), nullptr);
    EXPECT_EQ(sheet->viewIfLoaded()->superview(), nullptr);
}

TEST_F(ControllerStackTest, PresentingRightAfterAnAnimatedDismissalWorks)
{
    auto root = make("root");
    window->setRootViewController(root);
    window->makeKeyAndVisible();
    root->presentViewController(make("first"), false);
    root->dismissViewControllerAnimated(true);
    auto second = make("second");
    root->presentViewController(second, false);
    EXPECT_EQ(root->presentedViewController(), second.get());
}

TEST_F(ControllerStackTest, PresentingFromAScreenInsideContainersPresentsOverTheOutermost)
{
    auto inner = make("inner");
    auto navigation = std::make_shared<NavigationController>(inner);
    window->setRootViewController(navigation);
    window->makeKeyAndVisible();
    take();
    auto sheet = make("sheet");
    inner->presentViewController(sheet, false);
    EXPECT_EQ(navigation->presentedViewController(), sheet.get());
    EXPECT_EQ(take(), (Journal { "sheet:load", "sheet:willAppear", "inner:willDisappear", "sheet:didAppear", "inner:didDisappear" }));
    inner->dismissViewControllerAnimated(false);
    EXPECT_EQ(navigation->presentedViewController(), nullptr);
}

TEST_F(ControllerStackTest, AStackReachingUnderTheStatusBarPutsItsBarBelowIt)
{
    struct Case {
        const char* version;
        bool presented; // else laid over the window below the banner slot, at y 70
        double barTop;
        double contentTop;
    };
    // In window points. Before 7 a modal screen begins below the status bar anyway.
    const Case cases[] = {
        { "7.0", true, 20, 64 },
        { "6.1", true, 20, 64 },
        { "7.0", false, 70, 114 },
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.version) + (c.presented ? " presented" : " below the banner"));
        foundation::Device::current().setSystemVersion(c.version);
        auto root = make("root");
        auto screen = make("screen");
        auto stack = std::make_shared<NavigationController>(screen);
        auto frame = std::make_shared<Window>(Rect { 0, 0, 320, 568 });
        frame->setRootViewController(root);
        frame->makeKeyAndVisible();
        if (c.presented) {
            root->presentViewController(stack, true);
            time.advance(ViewController::modalTransitionDuration);
        } else {
            stack->view()->setFrame({ 0, 70, 320, 498 });
            frame->addSubview(stack->view());
        }
        frame->layoutIfNeeded();
        auto inWindow = [](const View& v) { return v.convertRectToView(v.bounds(), nullptr); };
        EXPECT_EQ(inWindow(stack->navigationBar()).minY(), c.barTop);
        EXPECT_EQ(inWindow(stack->navigationBar()).height(), NavigationBar::height);
        Rect content = inWindow(*screen->view());
        EXPECT_EQ(content.minY(), c.contentTop);
        EXPECT_EQ(content.maxY(), 568) << "nothing hangs below the screen";

        if (c.presented) {
            // Sliding away, the stack keeps its layout.
            root->dismissViewControllerAnimated(true);
            frame->layoutIfNeeded();
            EXPECT_EQ(stack->navigationBar().frame().minY(), c.version[0] == '7' ? 20 : 0);
            time.advance(ViewController::modalTransitionDuration);
        }
        take();
    }
    foundation::Device::current().reset();
}

namespace {

class RecordingTabDelegate : public TabBarControllerDelegate {
public:
    bool shouldSelectViewController(TabBarController& tabs, ViewController&) override
    {
        events.push_back("should:" + std::to_string(tabs.selectedIndex()));
        return allow;
    }
    void didSelectViewController(TabBarController& tabs, ViewController&) override
    {
        events.push_back("did:" + std::to_string(tabs.selectedIndex()));
        if (bounceBackTo >= 0)
            tabs.setSelectedIndex(bounceBackTo);
    }
    std::vector<std::string> events;
    bool allow { true };
    int bounceBackTo { -1 };
};

} // namespace

TEST_F(ControllerStackTest, TabDelegateIsAskedThenToldAndCanRefuseOrBounceBack)
{
    auto tabs = std::make_shared<TabBarController>();
    auto first = make("first");
    auto second = make("second");
    auto third = make("third");
    tabs->setViewControllers({ first, second, third });
    RecordingTabDelegate delegate;
    tabs->setDelegate(&delegate);
    window->setRootViewController(tabs);
    window->makeKeyAndVisible();
    take();

    tabs->userSelectedTab(2);
    EXPECT_EQ(delegate.events, (Journal { "should:0", "did:2" }));
    EXPECT_EQ(take(), (Journal { "first:willDisappear", "third:load", "third:willAppear", "first:didDisappear", "third:didAppear" }));

    delegate.events.clear();
    delegate.allow = false;
    tabs->userSelectedTab(0);
    EXPECT_EQ(tabs->selectedIndex(), 2);
    EXPECT_EQ(delegate.events, (Journal { "should:2" }));

    // The keypad trick: the delegate puts the previous tab back, so the touched one never
    // stays selected.
    delegate.events.clear();
    delegate.allow = true;
    delegate.bounceBackTo = 2;
    tabs->userSelectedTab(1);
    EXPECT_EQ(tabs->selectedIndex(), 2);
    EXPECT_EQ(tabs->tabBar().selectedIndex(), 2);

    // Choosing in code tells the delegate nothing.
    delegate.events.clear();
    tabs->setSelectedIndex(0);
    EXPECT_TRUE(delegate.events.empty());
}

TEST_F(ControllerStackTest, TabsNotOnScreenHearNothingWhenTheirStackChanges)
{
    auto tabs = std::make_shared<TabBarController>();
    auto shown = make("shown");
    auto hiddenRoot = make("hiddenRoot");
    auto hiddenStack = std::make_shared<NavigationController>(hiddenRoot);
    tabs->setViewControllers({ shown, hiddenStack });
    window->setRootViewController(tabs);
    window->makeKeyAndVisible();
    take();
    hiddenStack->pushViewController(make("pushed"), false);
    EXPECT_EQ(take(), Journal {});
    tabs->setSelectedIndex(1);
    EXPECT_EQ(take(), (Journal { "shown:willDisappear", "pushed:load", "pushed:willAppear", "shown:didDisappear", "pushed:didAppear" }));
}
