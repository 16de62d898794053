// The pieces many screens share: the busy overlay, the see-through toolbar, and putting the
// tab area back after a sheet.

#include "AppFixture.h"
#include "RootSpies.h"

#include "app/MyToolBar.h"
#include "app/RootGeometry.h"
#include "app/TessaroAppDelegate.h"
#include "app/TessaroViewController.h"
#include "app/WaitView.h"
#include "platform/ui/ActivityIndicatorView.h"
#include "platform/ui/BarButtonItem.h"
#include "platform/ui/NavigationController.h"
#include "platform/ui/TabBarController.h"
#include "platform/ui/Window.h"

#include "support/RecordingPainter.h"

using tessaro::TessaroViewController;

namespace apptest {
namespace {

TEST(WaitViewTest, DimsTheWholeFrameAroundADarkSquareWithASpinningIndicatorInTheMiddle)
{
    tessaro::WaitView wait({ 0, 0, 320, 568 });
    EXPECT_EQ(wait.backgroundColor(), ui::Color::rgb(0, 0, 0, 0.2));
    ASSERT_EQ(wait.subviews().size(), 2u);
    auto& square = *wait.subviews()[0];
    EXPECT_EQ(square.frame(), ui::Rect(110, 234, 100, 100));
    EXPECT_EQ(square.backgroundColor(), ui::Color::rgb(0, 0, 0, 0.6));
    EXPECT_EQ(square.cornerRadius(), 5);
    EXPECT_EQ(square.borderWidth(), 0.1);
    auto& indicator = wait.waitIcon();
    EXPECT_EQ(indicator.frame(), ui::Rect(142, 266, 36, 36));
    EXPECT_EQ(indicator.style(), ui::ActivityIndicatorViewStyle::WhiteLarge);
    EXPECT_TRUE(indicator.isAnimating());

    // Resized, it keeps its middle in the middle.
    wait.setFrame({ 0, 0, 320, 480 });
    EXPECT_EQ(indicator.center(), (ui::Point { 160, 240 }));
    EXPECT_EQ(square.center(), (ui::Point { 160, 240 }));
}

TEST(WaitViewTest, TakesTheTouchesThatLandOnIt)
{
    auto host = std::make_shared<ui::View>(ui::Rect { 0, 0, 320, 480 });
    auto beneath = std::make_shared<ui::View>(ui::Rect { 0, 0, 320, 480 });
    host->addSubview(beneath);
    auto wait = std::make_shared<tessaro::WaitView>(ui::Rect { 0, 0, 320, 480 });
    host->addSubview(wait);
    auto* hit = host->hitTest({ 10, 10 });
    ASSERT_NE(hit, nullptr);
    EXPECT_TRUE(hit == wait.get() || hit->isDescendantOf(*wait));
}

TEST(MyToolBarTest, DrawsOnlyItsButtons)
{
    auto bar = std::make_shared<tessaro::MyToolBar>(ui::Rect { 0, 0, 170, 30 });
    EXPECT_FALSE(bar->isOpaque());
    EXPECT_EQ(bar->backgroundColor(), ui::Color::clearColor());

    testsupport::RecordingPainter empty;
    bar->layoutIfNeeded();
    bar->render(empty);
    EXPECT_TRUE(empty.fills.empty());
    EXPECT_EQ(empty.lines, 0u);

    bar->setItems({ std::make_shared<ui::BarButtonItem>("Copy", ui::BarButtonItemStyle::Bordered, nullptr) });
    testsupport::RecordingPainter withItem;
    bar->layoutIfNeeded();
    bar->render(withItem);
    EXPECT_NE(withItem.findText("Copy"), nullptr);
}

class TabFrameTest : public AppFixture {
protected:
    void SetUp() override
    {
        AppFixture::SetUp();
        delegate = std::make_unique<tessaro::TessaroAppDelegate>(spies.make());
        ASSERT_TRUE(delegate->didFinishLaunchingWithOptions());
        root = delegate->viewController().get();
        tabsView = root->tabController()->view().get();
    }
    void TearDown() override
    {
        delegate.reset();
        AppFixture::TearDown();
    }

    SpyScreens spies;
    std::unique_ptr<tessaro::TessaroAppDelegate> delegate;
    TessaroViewController* root { nullptr };
    ui::View* tabsView { nullptr };
};

TEST_F(TabFrameTest, AScreenInATabPutsTheTabAreaBackBelowTheBannerSlotATenthOfASecondLater)
{
    auto* favorites = dynamic_cast<tessaro::CommonViewController*>(root->favoriteNavViewController()->topViewController());
    ASSERT_NE(favorites, nullptr);
    tabsView->setFrame({ 0, 0, 320, 568 });
    favorites->resetTabBarFrameLater();
    time.advance(0.05);
    EXPECT_EQ(tabsView->frame(), ui::Rect(0, 0, 320, 568));
    time.advance(0.05);
    EXPECT_EQ(tabsView->frame(), ui::Rect(0, 70, 320, 498));
}

TEST_F(TabFrameTest, AnOverlayOutsideTheTabsReachesTheTabAreaThroughTheRoot)
{
    root->tabController()->userSelectedTab(1);
    ASSERT_NE(root->keyboardViewController(), nullptr);
    tabsView->setFrame({ 0, 0, 320, 568 });
    root->keyboardViewController()->resetTabBarFrame();
    EXPECT_EQ(tabsView->frame(), tessaro::RootGeometry::tabControllerFrame());
}

TEST_F(TabFrameTest, ALaterResetIsDroppedWhenTheScreenHasGone)
{
    auto pushed = std::make_shared<SpyScreen>("pushed", spies.journal);
    root->groupNavController()->pushViewController(pushed, false);
    pushed->resetTabBarFrameLater();
    root->groupNavController()->popViewControllerAnimated(false);
    pushed.reset();
    tabsView->setFrame({ 0, 0, 320, 568 });
    time.advance(0.2);
    EXPECT_EQ(tabsView->frame(), ui::Rect(0, 0, 320, 568));
}

} // namespace
} // namespace apptest
