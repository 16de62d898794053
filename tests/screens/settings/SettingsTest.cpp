// The settings tab: the information panel, the rows that do nothing, and the how-to-use
// pages it opens: which picture each page shows, pages made only as they come near, the
// indicator and the paging view keeping each other in step, and the tabs put back after.

#include "../groups/GroupTabFixture.h"

#include "app/RootGeometry.h"
#include "app/TessaroViewController.h"
#include "platform/foundation/Device.h"
#include "platform/ui/ImageView.h"
#include "platform/ui/NavigationController.h"
#include "platform/ui/PageControl.h"
#include "platform/ui/ScrollView.h"
#include "platform/ui/TabBarController.h"
#include "platform/ui/TableView.h"
#include "screens/settings/HowToUse.h"
#include "screens/settings/SettingsViewController.h"

#include <gmock/gmock.h>

namespace groupstest {
namespace {

using ::testing::Contains;
using tessaro::HowToUse;
using tessaro::SettingsViewController;

class SettingsTest : public GroupTabFixture {
protected:
    void openTab()
    {
        launch();
        root().tabController()->setSelectedIndex(tessaro::TessaroViewController::kSettingsTab);
        time.advance(1);
    }
    SettingsViewController& settings() const
    {
        auto* screen = dynamic_cast<SettingsViewController*>(root().settingsNavController()->viewControllers().front().get());
        EXPECT_NE(screen, nullptr);
        return *screen;
    }
    HowToUse* pages() const
    {
        auto* navigation = dynamic_cast<ui::NavigationController*>(root().presentedViewController());
        return navigation ? dynamic_cast<HowToUse*>(navigation->topViewController()) : nullptr;
    }
    std::vector<bool> built() const
    {
        std::vector<bool> result;
        for (int page = 0; page < HowToUse::kNumberOfPages; ++page)
            result.push_back(pages()->pageView(page) != nullptr);
        return result;
    }
    // A finger dragging the paging view to the page, as the user swipes.
    void swipeTo(int page)
    {
        auto& scroller = *pages()->scrollView();
        pages()->scrollViewWillBeginDragging(scroller);
        scroller.setContentOffset({ HowToUse::kPageWidth * page, 0 });
        pages()->scrollViewDidEndDecelerating(scroller);
    }
};

TEST_F(SettingsTest, OnlyTheHowToUseRowActsAndItsPagesAreBuiltAsTheyComeNear)
{
    openTab();
    auto contents = testsupport::checkTable(*settings().myTableView());
    ASSERT_EQ(contents.sections.size(), 3u);
    EXPECT_THAT(contents.sections[0].rows[0].allTexts, Contains("AppNameTitle"));
    EXPECT_THAT(contents.sections[0].rows[0].allTexts, Contains("Version 1.9"));
    EXPECT_EQ(contents.sections[1].rows[0].text, "HowtouseTitle");

    for (int section : { 0, 2 }) {
        act({ { "cmd", "tapRow" }, { "section", section }, { "row", 0 } });
        time.advance(1);
        EXPECT_EQ(pages(), nullptr) << section;
        EXPECT_FALSE(settings().myTableView()->indexPathForSelectedRow()) << section;
    }

    act({ { "cmd", "tapRow" }, { "section", 1 }, { "row", 0 } });
    time.advance(1);
    ASSERT_NE(pages(), nullptr);
    EXPECT_THAT(built(), ::testing::ElementsAre(true, true, false, false));
    swipeTo(1);
    EXPECT_EQ(pages()->pageControl()->currentPage(), 1);
    EXPECT_THAT(built(), ::testing::ElementsAre(true, true, true, false));
    swipeTo(2);
    EXPECT_THAT(built(), ::testing::ElementsAre(true, true, true, true));

    // Each picture lies on its page, inset from the paging view's edges.
    auto frame = pages()->pageView(2)->frame();
    EXPECT_EQ(frame.x(), 2 * HowToUse::kPageWidth + 38);
    EXPECT_EQ(frame.width(), HowToUse::kPageWidth - 96);
    EXPECT_EQ(frame.height(), HowToUse::kPageHeight - 20);

    // Cancel: the tabs are back below the banner within 0.1 seconds.
    root().tabController()->view()->setFrame({ 0, 0, 320, 100 });
    act({ { "cmd", "tap" }, { "id", "howToUse.cancel" } });
    time.advance(0.45);
    EXPECT_EQ(pages(), nullptr);
    EXPECT_EQ(root().tabController()->view()->frame(), tessaro::RootGeometry::tabControllerFrame());
}

TEST_F(SettingsTest, TheIndicatorTurnsOnePageAndIgnoresTheScrollItStarted)
{
    openTab();
    settings().showHowToUse();
    time.advance(1);
    ASSERT_NE(pages(), nullptr);
    auto& indicator = *pages()->pageControl();
    auto& scroller = *pages()->scrollView();

    indicator.setCurrentPage(1);
    pages()->changePage();
    EXPECT_TRUE(pages()->isPageControlUsed());
    // Halfway through the animation the offset passes the middle of page 0 and 1; the
    // indicator stays where the touch put it.
    time.advance(ui::ScrollView::scrollAnimationDuration / 2);
    EXPECT_GT(scroller.contentOffset().x, 0);
    EXPECT_EQ(indicator.currentPage(), 1);
    time.advance(1);
    EXPECT_EQ(scroller.contentOffset().x, HowToUse::kPageWidth);
    EXPECT_EQ(indicator.currentPage(), 1);
    EXPECT_NE(pages()->pageView(2), nullptr);
    EXPECT_EQ(pages()->pageView(3), nullptr);

    // The user's next drag follows the finger again.
    swipeTo(0);
    EXPECT_FALSE(pages()->isPageControlUsed());
    EXPECT_EQ(indicator.currentPage(), 0);
}

TEST_F(SettingsTest, ThePicturesFollowTheLanguageAndTheSystemLook)
{
    struct Case {
        std::string language;
        std::string systemVersion;
        int page;
        std::string name;
    };
    for (const Case& c : std::vector<Case> { { "en", "7.0", 1, "htu-2-en-ios7.PNG" },
                                             { "en", "6.1", 1, "htu-2-en.PNG" },
                                             { "ja", "7.0", 0, "htu-1-ja-ios7.PNG" },
                                             { "ja", "6.1", 3, "htu-4-ja.PNG" } }) {
        foundation::Device::current().setLanguage(c.language);
        foundation::Device::current().setSystemVersion(c.systemVersion);
        EXPECT_EQ(HowToUse::pictureName(c.page), c.name);
        // Every picture is there: a missing one would leave its page empty.
        openTab();
        settings().showHowToUse();
        time.advance(1);
        ASSERT_NE(pages(), nullptr);
        pages()->loadScrollViewWithPage(c.page);
        EXPECT_TRUE(pages()->pageView(c.page)->image()) << c.name;
        quit();
    }
}

} // namespace
} // namespace groupstest
