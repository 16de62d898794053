// How the slot passes between AdMob, kestrel and the platform's banner, against the
// loopback ad server on the manual clock.

#include "app/AdEndpoints.h"
#include "ads/kestrel/KADImageCache.h"
#include "ads/BannerChain.h"
#include "platform/foundation/DataLocations.h"
#include "platform/foundation/Device.h"
#include "platform/foundation/Log.h"
#include "platform/ui/ViewController.h"
#include "support/LoopbackAdServer.h"
#include "support/ManualTime.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

namespace {

using testsupport::LoopbackAdServer;

// A platform or AdMob answer with a banner, or without one.
std::string filled(const std::string& origin, int n)
{
    return R"({"status": 200, "json": {"image_url": ")" + origin + "/img/banner?w=640&h=100&n=" + std::to_string(n)
        + R"(", "click_url": ")" + origin + R"(/landing?ad=x", "refresh": 30}})";
}
const char* unfilled = R"({"status": 204, "body": ""})";

class BannerChainTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_server.isRunning());
        foundation::DataLocations::setProfileDirectory(m_profile.path());
        foundation::setLogToStandardError(false);
        ads::AdEndpoints::current().setAll(m_server.origin());
        ads::KADImageCache::sharedInstance().clearMemoryCache();
        m_chain.attach(*m_slot, m_root);
    }
    void TearDown() override
    {
        ads::AdEndpoints::current() = {};
        foundation::setLogToStandardError(true);
    }

    bool waitForLog(const std::string& line, int count = 1)
    {
        return LoopbackAdServer::waitUntil(m_time, [&] {
            int seen = 0;
            for (const auto& logged : m_log.lines())
                seen += logged.rfind(line, 0) == 0;
            return seen >= count;
        });
    }
    // The banner on top of the slot, the one the user sees.
    ui::View* topmost() const
    {
        for (auto it = m_slot->subviews().rbegin(); it != m_slot->subviews().rend(); ++it) {
            if (!(*it)->isHidden())
                return it->get();
        }
        return nullptr;
    }
    std::string kestrelImage(int n) const
    {
        return R"([{"status": 200, "json": {"status_code": 200, "response_type": 1, "reload": 600, "width": 320, "height": 50,
            "default_ad": {"image_url": ")" + m_server.origin() + "/img/banner?w=640&h=100&n=" + std::to_string(n)
            + R"(", "click_url": ")" + m_server.origin() + R"(/landing?ad=k"}}}])";
    }

    testsupport::TempDir m_profile;
    testsupport::ManualTime m_time;
    LoopbackAdServer m_server;
    foundation::LogCapture m_log;
    std::shared_ptr<ui::View> m_slot { std::make_shared<ui::View>(ui::Rect { 0, 20, 320, 50 }) };
    ui::ViewController m_root;
    tessaro::BannerChain m_chain;
};

TEST_F(BannerChainTest, AdMobRunsAloneWhileItDeliversAndFallsBackToKestrel)
{
    m_server.script("admob", "[" + filled(m_server.origin(), 1) + "," + unfilled + "]");
    m_server.script("ad.php", kestrelImage(2));
    m_chain.showAdMob();
    ASSERT_TRUE(waitForLog("admob adViewDidReceiveAd"));
    EXPECT_EQ(topmost(), m_chain.admobBannerView());
    EXPECT_EQ(m_chain.kadView(), nullptr);
    EXPECT_EQ(m_server.countRequests("/ad.php"), 0);

    // Its next banner fails: kestrel takes over above it.
    m_time.advance(30);
    ASSERT_TRUE(waitForLog("admob didFailToReceiveAdWithError"));
    ASSERT_NE(m_chain.kadView(), nullptr);
    ASSERT_TRUE(waitForLog("kadViewDidFinishLoad"));
    EXPECT_EQ(topmost(), m_chain.kadView());
    EXPECT_EQ(m_chain.admobBannerView()->superview(), m_slot.get());

    // AdMob delivers again: it is alone once more.
    m_server.script("admob", "[" + filled(m_server.origin(), 3) + "]");
    m_time.advance(30);
    ASSERT_TRUE(waitForLog("admob adViewDidReceiveAd", 2));
    EXPECT_EQ(m_chain.kadView(), nullptr);
    // Nothing of the other networks comes back over it later.
    m_time.advance(25);
    EXPECT_EQ(m_chain.adView(), nullptr);
    EXPECT_EQ(m_slot->subviews().back().get(), m_chain.admobBannerView());
}

TEST_F(BannerChainTest, KestrelHandsOverToThePlatformBannerAndTakesBackWhenItFails)
{
    m_server.script("ad.php", kestrelImage(1));
    m_server.script("iad", "[" + filled(m_server.origin(), 2) + "," + unfilled + "]");
    m_chain.showKestrel();
    ASSERT_TRUE(waitForLog("kadViewDidFinishLoad"));
    EXPECT_EQ(topmost(), m_chain.kadView());

    // Twenty seconds after kestrel's first ad the platform's banner is tried.
    m_time.advance(19.9);
    EXPECT_EQ(m_chain.adView(), nullptr);
    m_time.advance(0.1);
    ASSERT_NE(m_chain.adView(), nullptr);
    EXPECT_TRUE(m_chain.adView()->isHidden());
    ASSERT_TRUE(waitForLog("iAd   bannerViewDidLoadAd"));
    m_time.advance(0);
    EXPECT_TRUE(m_chain.kadView()->isHidden());
    EXPECT_FALSE(m_chain.kadView()->isRotationEnabled());
    EXPECT_EQ(topmost(), m_chain.adView());

    // Its next banner fails: it hides and kestrel comes back, reloading 30 seconds later.
    m_time.advance(30);
    ASSERT_TRUE(waitForLog("error:no ad (status 204)"));
    m_time.advance(0);
    EXPECT_TRUE(m_chain.adView()->isHidden());
    EXPECT_EQ(topmost(), m_chain.kadView());
    EXPECT_TRUE(m_chain.kadView()->isRotationEnabled());
    int asked = m_server.countRequests("/ad.php");
    m_time.advance(30);
    EXPECT_TRUE(LoopbackAdServer::waitUntil(m_time, [&] { return m_server.countRequests("/ad.php") == asked + 1; }));
}

TEST_F(BannerChainTest, WithTheServerDownKestrelKeepsAskingAndThePlatformBannerIsTried)
{
    m_server.stop();
    m_chain.showKestrel();
    ASSERT_TRUE(waitForLog("kadViewDidFailToReceiveAd"));
    // Kestrel's failure brings the platform's banner at once; its failure brings kestrel
    // back on the next turn, which asks again 30 seconds later.
    ASSERT_NE(m_chain.adView(), nullptr);
    ASSERT_TRUE(waitForLog("error:"));
    m_time.advance(0);
    ASSERT_NE(m_chain.kadView(), nullptr);
    EXPECT_EQ(m_chain.kadView()->superview(), m_slot.get());
    EXPECT_EQ(topmost(), m_chain.kadView());
    m_time.advance(29);
    m_time.advance(0);
    EXPECT_TRUE(m_log.contains("kadViewDidFailToReceiveAd"));
    m_time.advance(1);
    ASSERT_TRUE(waitForLog("kadViewDidFailToReceiveAd", 2));
    EXPECT_TRUE(m_log.containsPrefix("[kestrelSDK Error] IE730: Connect failure. info["));
}

TEST_F(BannerChainTest, WithoutServersNothingIsAskedAndTheSlotKeepsItsPlaceholder)
{
    ads::AdEndpoints::current() = {};
    m_chain.showAdMob();
    m_chain.showKestrel();
    m_chain.showAd();
    m_time.advance(60);
    EXPECT_TRUE(m_slot->subviews().empty());
    EXPECT_TRUE(m_server.requests().empty());
}

} // namespace
