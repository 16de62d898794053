// The kestrel banner against the loopback ad server, on the manual clock.

#include "KestrelFixture.h"

#include "ads/HttpClient.h"
#include "platform/foundation/Device.h"
#include "platform/ui/Application.h"
#include "platform/ui/Button.h"

#include <dirent.h>

namespace adstest {

namespace {

void tapBanner(ads::KADView& view)
{
    ASSERT_NE(view.kadAdDefaultView(), nullptr);
    ASSERT_NE(view.kadAdDefaultView()->adButton(), nullptr);
    view.kadAdDefaultView()->adButton()->sendActionsForControlEvents(ui::ControlEvent::TouchUpInside);
}

int threadCount()
{
    int count = 0;
    if (DIR* tasks = ::opendir("/proc/self/task")) {
        while (dirent* entry = ::readdir(tasks))
            count += entry->d_name[0] != '.';
        ::closedir(tasks);
    }
    return count;
}

std::string failures(int count)
{
    std::string list = "[";
    for (int i = 0; i < count; ++i)
        list += std::string(i ? "," : "") + R"({"status": 500, "body": "busy"})";
    return list + "]";
}

} // namespace

TEST_F(KestrelTest, AsksAgainEveryRetryIntervalWhileNoAnswerIsValid)
{
    struct Case {
        const char* retry;
        double interval;
    };
    for (Case c : { Case { "35", 35 }, Case { "29", 60 }, Case { "3601", 60 }, Case { "30", 30 } }) {
        SCOPED_TRACE(c.retry);
        m_server.reset();
        m_spy = {};
        m_server.script("ad.php", failures(4));
        auto view = startBanner(c.retry);
        ASSERT_TRUE(waitForEvents(1));
        // The first request's timer was set with the default interval, before load().
        m_time.advance(59);
        EXPECT_EQ(m_server.countRequests("/ad.php"), 1);
        ASSERT_TRUE(advanceAndWait(1, 2));
        m_time.advance(c.interval - 1);
        EXPECT_EQ(m_server.countRequests("/ad.php"), 2);
        ASSERT_TRUE(advanceAndWait(1, 3));
        EXPECT_EQ(m_server.countRequests("/ad.php"), 3);
        EXPECT_EQ(m_spy.numbers, (std::vector<int> { 730, 730, 730 }));
        EXPECT_TRUE(m_log.contains("[kestrelSDK Error] IE730: Connect failure. info[http status error]."));
    }
}

TEST_F(KestrelTest, RequestCarriesCredentialsDeviceAndHashedIdentifiers)
{
    foundation::Device::current().setModel("iPod touch");
    m_server.script("ad.php", failures(1));
    auto view = startBanner();
    ASSERT_TRUE(waitForEvents(1));
    auto requests = m_server.requests();
    ASSERT_EQ(requests.size(), 1u);
    const std::string& request = requests.front();
    EXPECT_EQ(request.rfind("/ad.php?apikey=7c4a8d09ca3762af61e59520943dc26494f8941b&spot=4271&uid=", 0), 0u) << request;
    EXPECT_NE(request.find("&sdkver=2.2.0&os=iPhone%20OS&version=7.0&model=iPod%20touch&localize=en&idfa="), std::string::npos)
        << request;
    // Both identifiers are 32 hexadecimal digits.
    auto value = [&](const std::string& key) {
        auto at = request.find("&" + key + "=") + key.size() + 2;
        return request.substr(at, request.find('&', at) - at);
    };
    EXPECT_EQ(value("uid").size(), 32u);
    EXPECT_EQ(value("idfa").size() + 6, request.size() - request.find("&idfa=")) << request;
}

TEST_F(KestrelTest, ServerStatusWithoutMessageIsLoggedWithItsNumber)
{
    m_server.script("ad.php", R"([{"status": 200, "json": {"status_code": 404, "message": null}}])");
    auto view = startBanner();
    ASSERT_TRUE(waitForEvents(1));
    EXPECT_TRUE(m_log.contains("[kestrelSDK Error] IE404: no message."));
    EXPECT_EQ(m_spy.codes, (std::vector<int> { 2 }));
    EXPECT_EQ(view->error()->domain, "Failed to Ad request.");
    EXPECT_FALSE(view->adData());
}

TEST_F(KestrelTest, EachFailureIsLoggedByNumberAndToldWithItsCode)
{
    std::string origin = m_server.origin();
    auto answer = [&](const std::string& fields) {
        return R"([{"status": 200, "json": {"status_code": 200, "reload": 15, )" + fields + "}}]";
    };
    auto image = [&](const std::string& url) {
        return answer(R"("response_type": 1, "width": 320, "height": 50, "default_ad": {"image_url": ")" + url
                      + R"(", "click_url": "http://example.com/?a=1"})");
    };
    struct Case {
        std::string name;
        std::string script;
        std::string logLine;
        int number;
        int code;
    };
    std::vector<Case> cases = {
        { "not JSON", R"([{"status": 200, "body": "<html>busy</html>"}])",
          "[kestrelSDK Error] IE700: Invalid Response. info[unknown json format].", 700, 2 },
        { "empty body", R"([{"status": 200, "body": ""}])", "[kestrelSDK Error] IE700: Invalid Response. info[Response data is nil].", 700, 2 },
        { "a JSON list", R"([{"status": 200, "body": "[1, 2]"}])",
          "[kestrelSDK Error] IE700: Invalid Response. info[unknown json format].", 700, 2 },
        { "not UTF-8", R"([{"status": 200, "body_hex": "7b2261223a2022ff227d"}])",
          "[kestrelSDK Error] IE700: Invalid Response. info[String is nil].", 700, 2 },
        { "over a megabyte", R"([{"status": 200, "body": ")" + std::string(1100 * 1024, 'x') + R"("}])",
          "[kestrelSDK Error] IE700: Invalid Response. info[Response data is too large].", 700, 2 },
        { "unknown type", answer(R"("response_type": 9, "width": 320, "height": 50)"),
          "[kestrelSDK Error] IE740: Incorrect received ad-data. info[responseType=9].", 740, 1 },
        { "no size", answer(R"("response_type": 1, "width": 320)"), "[kestrelSDK Error] IE740: Incorrect received ad-data.", 740, 1 },
        { "wider than the screen", answer(R"("response_type": 1, "width": 400, "height": 50)"),
          "[kestrelSDK Error] IE790: Ad size will not fit on screen. info[size = 320.0,568.0].", 790, 0 },
        { "no picture address", answer(R"("response_type": 1, "width": 320, "height": 50, "default_ad": {"click_url": "http://a.b/?c=1"})"),
          "[kestrelSDK Error] IE781: Image not found. info[AD IMAGE URL is empty].", 781, 3 },
        { "no click address", answer(R"("response_type": 1, "width": 320, "height": 50, "default_ad": {"image_url": "http://a.b/c.png"})"),
          "[kestrelSDK Error] IE781: Image not found. info[AD URL is empty].", 781, 3 },
        { "picture missing", image(origin + "/img/missing"), "[kestrelSDK Error] IE781: Image not found. info[DATA is NULL].", 781, 3 },
        { "not a picture", image(origin + "/img/notimage"), "[kestrelSDK Error] IE781: Image not found. info[AD IMAGE is NULL].", 781, 3 },
        { "picture too large", image(origin + "/img/huge"),
          "[kestrelSDK Error] IE781: Image not found. info[AD IMAGE DATA is too large].", 781, 3 },
        { "picture host down", image("http://127.0.0.1:1/banner.png"), "[kestrelSDK Error] IE780: Connect failure. info[", 780, 3 },
        { "picture of another size", image(origin + "/img/banner?w=300&h=50"), "[kestrelSDK Error] IE791: Ad size differences.", 791, 4 },
        { "no campaign fits", answer(R"("response_type": 3, "width": 320, "height": 50, "targeting_ads": [])"),
          "[kestrelSDK Error] IE760: Ad is out of stock.", 700, 2 },
        { "web page missing", answer(R"("response_type": 2, "width": 320, "height": 50, "web_view_url": ")" + origin + R"(/web/missing")"),
          "[kestrelSDK Error] IE750: Connect failure.", 750, 3 },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        m_spy = {};
        m_log.clear();
        m_server.script("ad.php", c.script);
        auto view = startBanner();
        ASSERT_TRUE(waitForEvents(1));
        EXPECT_EQ(m_spy.received, 0);
        EXPECT_EQ(m_spy.numbers, (std::vector<int> { c.number }));
        EXPECT_EQ(m_spy.codes, (std::vector<int> { c.code }));
        EXPECT_TRUE(m_log.containsPrefix(c.logLine)) << ::testing::PrintToString(m_log.lines());
        EXPECT_FALSE(view->adData());
    }
}

TEST_F(KestrelTest, PictureMustHaveTheBannerSizeOrTwiceIt)
{
    struct Case {
        int width;
        int height;
        bool shown;
    };
    for (Case c : { Case { 640, 100, true }, Case { 320, 50, true }, Case { 320, 48, true }, Case { 300, 50, false },
                    Case { 640, 50, false }, Case { 1, 1, false } }) {
        SCOPED_TRACE(std::to_string(c.width) + "x" + std::to_string(c.height));
        m_spy = {};
        m_server.script("ad.php", imageAnswer(320, 50, 15, c.width, c.height));
        auto view = startBanner();
        ASSERT_TRUE(waitForEvents(1));
        EXPECT_EQ(m_spy.received, c.shown ? 1 : 0);
        if (c.shown) {
            ASSERT_NE(view->kadAdDefaultView(), nullptr);
            EXPECT_EQ(view->kadAdDefaultView()->superview(), view.get());
            ASSERT_NE(view->kadAdDefaultView()->adButton()->currentImage(), nullptr);
            ui::Size shown = view->kadAdDefaultView()->adButton()->currentImage()->size();
            EXPECT_EQ(shown.width, 320);
        }
    }
}

TEST_F(KestrelTest, TargetedCampaignIsChosenByInstalledApplications)
{
    foundation::Device::current().addInstalledURLScheme("myapp");
    struct Case {
        int logicalOperator;
        std::string shown;
    };
    for (Case c : { Case { 1, "campaign" }, Case { 2, "fallback" } }) {
        SCOPED_TRACE(c.logicalOperator);
        m_spy = {};
        std::string origin = m_server.origin();
        std::string picture = origin + "/img/banner?w=640&h=100";
        m_server.script("ad.php", R"([{"status": 200, "json": {"status_code": 200, "response_type": 3, "reload": 15,
            "width": 320, "height": 50,
            "targeting_ads": [
              {"image_url": ")" + picture + R"(", "click_url": ")" + origin + R"(/landing?ad=campaign",
               "conditions": [[{"url_scheme": "myapp://", "logical_operator": )" + std::to_string(c.logicalOperator) + R"(}]]},
              {"image_url": ")" + picture + R"(", "click_url": ")" + origin + R"(/landing?ad=unreadable", "conditions": [{"url_scheme": "x"}]}
            ],
            "default_ad": {"image_url": ")" + picture + R"(", "click_url": ")" + origin + R"(/landing?ad=fallback"}}}])");
        auto view = startBanner();
        ASSERT_TRUE(waitForEvents(1));
        ASSERT_EQ(m_spy.received, 1);
        tapBanner(*view);
        auto opened = ui::Application::shared().takeOpenedURLs();
        ASSERT_EQ(opened.size(), 1u);
        EXPECT_EQ(opened.front().rfind(origin + "/landing?ad=" + c.shown + "&idfa=", 0), 0u) << opened.front();
        EXPECT_EQ(m_spy.clicked, 1);
    }
}

TEST_F(KestrelTest, FirstAdIsToldOnceAndEveryAdAfterIt)
{
    m_server.script("ad.php", imageAnswer(320, 50, 15, 640, 100, 1));
    m_server.script("ad.php", imageAnswer(320, 50, 15, 640, 100, 2));
    auto view = startBanner();
    ASSERT_TRUE(waitForEvents(1));
    m_time.advance(14);
    EXPECT_EQ(m_server.countRequests("/ad.php"), 1);
    ASSERT_TRUE(advanceAndWait(1, 2));
    EXPECT_EQ(m_spy.finished, 1);
    EXPECT_EQ(m_spy.received, 2);
    // One banner shows at a time.
    EXPECT_EQ(view->subviews().size(), 1u);
}

TEST_F(KestrelTest, SecondLoadInTheSlotChangesNothing)
{
    m_server.script("ad.php", failures(1));
    auto view = startBanner("35");
    view->load({ { "retry", "100" } });
    EXPECT_TRUE(m_log.contains("[kestrelSDK Warning] Duplicated load..."));
    EXPECT_EQ(view->retryTime(), 35);
    // Outside a view hierarchy a second load is taken.
    view->removeFromSuperview();
    view->load({ { "retry", "100" } });
    EXPECT_EQ(view->retryTime(), 100);
}

TEST_F(KestrelTest, MissingCredentialsAreLoggedAndTold)
{
    auto view = std::make_shared<ads::KADView>(ui::Rect { 0, 0, 320, 50 });
    view->load();
    EXPECT_TRUE(m_log.contains("[kestrelSDK Error] IE711: 'apiKey' is Required."));
    EXPECT_TRUE(m_log.contains("[kestrelSDK Error] IE712: 'SpotID' is Required."));
    EXPECT_TRUE(m_log.contains("[kestrelSDK Error] IE713: Delegate object is Required."));
    view->setDelegate(&m_spy);
    view->setKestrelID("", "4271");
    EXPECT_EQ(m_spy.numbers, (std::vector<int> { 711 }));
    EXPECT_EQ(m_server.countRequests("/ad.php"), 0);
}

TEST_F(KestrelTest, OnlyWebPagesLeaveTheApplicationFromAnAd)
{
    struct Case {
        std::string clickURL;
        bool opened;
    };
    for (const Case& c : { Case { "tel:0312345678?x=1", false }, Case { "javascript:alert(1)", false },
                           Case { m_server.origin() + "/landing?ad=1", true }, Case { "HTTPS://example.com/?ad=2", true } }) {
        SCOPED_TRACE(c.clickURL);
        m_spy = {};
        m_server.script("ad.php", R"([{"status": 200, "json": {"status_code": 200, "response_type": 1, "reload": 15, "width": 320,
            "height": 50, "default_ad": {"image_url": ")" + m_server.origin() + R"(/img/banner?w=320&h=50", "click_url": ")"
                           + c.clickURL + R"("}}}])");
        auto view = startBanner();
        ASSERT_TRUE(waitForEvents(1));
        tapBanner(*view);
        EXPECT_EQ(ui::Application::shared().takeOpenedURLs().size(), c.opened ? 1u : 0u);
        EXPECT_EQ(m_spy.clicked, c.opened ? 1 : 0);
        EXPECT_EQ(m_log.containsPrefix("banner: not a web address, not opened: " + c.clickURL), !c.opened);
    }
}

TEST_F(KestrelTest, OptOutTabSlidesOutAfterASecondAndLeadsToThePrivacyPage)
{
    m_server.script("ad.php", imageAnswer(320, 50, 600, 640, 100));
    auto view = startBanner();
    ASSERT_TRUE(waitForEvents(1));
    ads::KADOptView* tab = view->kadAdDefaultView()->optView();
    ASSERT_NE(tab, nullptr);
    EXPECT_EQ(tab->frame(), (ui::Rect { 210, 0, 110, 22 }));
    ASSERT_NE(tab->image(), nullptr);
    EXPECT_EQ(tab->image()->size(), (ui::Size { 90, 12 }));
    m_time.advance(0.99);
    EXPECT_FALSE(tab->isMovedOut());
    m_time.advance(0.01);
    EXPECT_TRUE(tab->isMovedOut());
    EXPECT_EQ(tab->frame().origin.x, 286); // 34 points stay in sight
    auto& button = *static_cast<ui::Control*>(tab->subviews().back().get());
    button.sendActionsForControlEvents(ui::ControlEvent::TouchUpInside); // back in
    EXPECT_FALSE(tab->isMovedOut());
    EXPECT_EQ(tab->frame().origin.x, 210);
    EXPECT_TRUE(ui::Application::shared().takeOpenedURLs().empty());
    button.sendActionsForControlEvents(ui::ControlEvent::TouchUpInside); // to the privacy page
    auto opened = ui::Application::shared().takeOpenedURLs();
    ASSERT_EQ(opened.size(), 1u);
    EXPECT_EQ(opened.front().rfind(m_server.origin() + "/privacy/optsdkgate?idfa=", 0), 0u) << opened.front();
    EXPECT_NE(opened.front().find("&uid="), std::string::npos);
    EXPECT_TRUE(tab->isMovedOut());
    // The icon is kept: the next banner's tab does not ask for it again.
    EXPECT_EQ(m_server.countRequests("/img/common/optout/icon@2x.png"), 1);
}

TEST_F(KestrelTest, WebBannerHandsFollowedLinksToTheDevice)
{
    m_server.script("ad.php", R"([{"status": 200, "json": {"status_code": 200, "response_type": 2, "reload": 15, "width": 320,
        "height": 50, "web_view_url": ")" + m_server.origin() + R"(/web/banner?n=1"}}])");
    auto view = startBanner();
    ASSERT_TRUE(waitForEvents(1));
    ASSERT_EQ(m_spy.received, 1);
    ads::KADAdWebView* web = view->kadAdWebView();
    ASSERT_NE(web, nullptr);
    EXPECT_EQ(web->superview(), view.get());
    ASSERT_FALSE(web->links().empty());
    std::string page = web->request().url;
    web->navigate({ web->links().front() }, ui::WebViewNavigationType::LinkClicked);
    auto opened = ui::Application::shared().takeOpenedURLs();
    ASSERT_EQ(opened.size(), 1u);
    EXPECT_EQ(opened.front(), m_server.origin() + "/landing?ad=web-1");
    EXPECT_EQ(m_spy.clicked, 1);
    EXPECT_EQ(web->request().url, page);
    // Paused, the banner neither reloads nor follows its page's own loads.
    view->pause();
    web->reload();
    EXPECT_FALSE(web->isLoading());
}

TEST_F(KestrelTest, PauseStopsTheTimerAndResumeReloadsThirtySecondsLater)
{
    m_server.script("ad.php", imageAnswer(320, 50, 15, 640, 100, 1));
    m_server.script("ad.php", imageAnswer(320, 50, 15, 640, 100, 2));
    auto view = startBanner();
    ASSERT_TRUE(waitForEvents(1));
    view->pause();
    m_time.advance(100);
    EXPECT_EQ(m_server.countRequests("/ad.php"), 1);
    view->resume();
    m_time.advance(29);
    EXPECT_EQ(m_server.countRequests("/ad.php"), 1);
    ASSERT_TRUE(advanceAndWait(1, 2));
    EXPECT_EQ(m_spy.received, 2);
}

TEST_F(KestrelTest, ReleasedBannerHearsNothingMoreAndLeavesNoDownload)
{
    // Released while asking, and while its picture downloads.
    for (int stage : { 0, 1 }) {
        SCOPED_TRACE(stage);
        m_spy = {};
        m_server.script("ad.php", imageAnswer(320, 50, 15, 640, 100));
        auto view = startBanner();
        if (stage == 1)
            ASSERT_TRUE(testsupport::LoopbackAdServer::waitUntil(m_time, [&] { return m_server.countRequests("/img/banner") > 0 || m_spy.events() > 0; }));
        m_slot.reset();
        view.reset();
        m_time.advance(120);
        EXPECT_EQ(ads::HttpClient::shared().pendingCount(), 0u);
        ads::HttpClient::shared().waitUntilWorkerEnds();
        m_time.advance(0);
        EXPECT_EQ(m_spy.events(), 0);
        m_server.reset();
    }
}

TEST_F(KestrelTest, ThousandRequestAnswerCyclesLeaveNoThreadAndNoDownload)
{
    constexpr int cycles = 1000;
    int threadsBefore = threadCount();
    std::string answers = "[";
    for (int i = 0; i < cycles; ++i) {
        std::string one = imageAnswer(320, 50, 15, 640, 100, i % 3);
        answers += (i ? "," : "") + one.substr(1, one.size() - 2);
    }
    m_server.script("ad.php", answers + "]");
    {
        auto view = startBanner();
        ASSERT_TRUE(waitForEvents(1));
        for (int i = 1; i < cycles; ++i)
            ASSERT_TRUE(advanceAndWait(15, i + 1)) << "cycle " << i;
        EXPECT_EQ(m_spy.received, cycles);
        EXPECT_EQ(m_spy.failed, 0);
        EXPECT_EQ(m_spy.finished, 1);
        view->removeFromSuperview();
    }
    ads::HttpClient::shared().waitUntilWorkerEnds();
    EXPECT_EQ(ads::HttpClient::shared().pendingCount(), 0u);
    EXPECT_EQ(threadCount(), threadsBefore);
}

} // namespace adstest
