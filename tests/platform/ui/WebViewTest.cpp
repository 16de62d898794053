#include "platform/ui/WebView.h"
#include "platform/ui/Window.h"
#include "support/ManualTime.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <fstream>
#include <string>
#include <vector>

using namespace ui;

namespace {

// The network as a test plays it: every load waits until the test answers it.
class ScriptedLoader final : public WebContentLoader {
public:
    std::vector<URLRequest> requests;
    std::vector<Completion> pending;
    std::vector<std::string> cancelled;

    void load(const URLRequest& request, Completion completion) override
    {
        requests.push_back(request);
        pending.push_back(std::move(completion));
    }
    void cancel(const URLRequest& request) override { cancelled.push_back(request.url); }
    void answer(std::size_t index, WebLoadResult result) { pending.at(index)(std::move(result)); }
};

class WebJournal final : public WebViewDelegate {
public:
    std::vector<std::string> events;
    std::string refused;

    bool shouldStartLoadWithRequest(WebView&, const URLRequest& request, WebViewNavigationType type) override
    {
        events.push_back("should " + request.url + " " + std::to_string(static_cast<int>(type)));
        return request.url != refused;
    }
    void webViewDidStartLoad(WebView&) override { events.push_back("start"); }
    void webViewDidFinishLoad(WebView& view) override { events.push_back("finish " + view.title()); }
    void didFailLoadWithError(WebView&, const WebError& error) override { events.push_back("fail " + std::to_string(error.code)); }
    std::vector<std::string> take() { return std::exchange(events, {}); }
};

WebLoadResult page(const std::string& html)
{
    return { std::nullopt, 200, "text/html", html };
}

struct WebViewTest : ::testing::Test {
    testsupport::ManualTime time;
    std::shared_ptr<Window> window = std::make_shared<Window>(Rect { 0, 0, 320, 568 });
    std::shared_ptr<WebView> web = std::make_shared<WebView>(Rect { 0, 0, 320, 50 });
    std::shared_ptr<ScriptedLoader> loader = std::make_shared<ScriptedLoader>();
    WebJournal journal;
    using Events = std::vector<std::string>;

    void SetUp() override
    {
        WebView::clearCache();
        window->makeKeyAndVisible();
        window->addSubview(web);
        web->setDelegate(&journal);
        web->setContentLoader(loader);
    }
    void TearDown() override
    {
        if (web)
            web->setDelegate(nullptr);
        WebView::clearCache();
    }
};

} // namespace

TEST_F(WebViewTest, AWebLoadIsOfferedThenStartsOnTheNextTurnThenFinishesWithTheAnswer)
{
    web->loadRequest({ "https://ads.example/banner", URLRequestCachePolicy::ReloadIgnoringLocalCacheData, 20 });
    EXPECT_EQ(journal.take(), (Events { "should https://ads.example/banner 5" }));
    EXPECT_TRUE(web->isLoading());
    time.advance(0);
    EXPECT_EQ(journal.take(), (Events { "start" }));
    ASSERT_EQ(loader->requests.size(), 1u);
    EXPECT_EQ(loader->requests[0].timeoutInterval, 20);

    loader->answer(0, page("<html><title>Spring sale</title><a href=\"/go?id=7\">Buy</a></html>"));
    EXPECT_TRUE(journal.take().empty());
    time.advance(0);
    EXPECT_EQ(journal.take(), (Events { "finish Spring sale" }));
    EXPECT_FALSE(web->isLoading());
    EXPECT_EQ(web->links(), (std::vector<std::string> { "https://ads.example/go?id=7" }));
    EXPECT_EQ(web->pageText(), "Buy");

    // A touch on the page follows its link, offered as a followed link.
    journal.refused = "https://ads.example/go?id=7";
    window->tap({ 100, 25 });
    EXPECT_EQ(journal.take(), (Events { "should https://ads.example/go?id=7 0" }));
    EXPECT_EQ(web->request().url, "https://ads.example/banner");

    web->reload();
    EXPECT_EQ(journal.take(), (Events { "should https://ads.example/banner 3" }));
}

TEST_F(WebViewTest, EveryWayALoadCanFailEndsInDidFail)
{
    web->loadRequest({ "https://ads.example/a" });
    time.advance(0);
    loader->answer(0, { WebError { WebError::urlDomain, WebError::cannotFindHost, "no such host" } });
    time.advance(0);
    EXPECT_EQ(journal.take(), (Events { "should https://ads.example/a 5", "start", "fail -1003" }));

    // Slower than its time-out: the load is given up, and its late answer is ignored.
    web->loadRequest({ "https://ads.example/slow", URLRequestCachePolicy::UseProtocolCachePolicy, 5 });
    time.advance(4.9);
    EXPECT_EQ(journal.take(), (Events { "should https://ads.example/slow 5", "start" }));
    time.advance(0.1);
    EXPECT_EQ(journal.take(), (Events { "fail -1001" }));
    EXPECT_EQ(loader->cancelled, (std::vector<std::string> { "https://ads.example/slow" }));
    loader->answer(1, page("<title>late</title>"));
    time.advance(1);
    EXPECT_TRUE(journal.take().empty());
    EXPECT_EQ(web->title(), "");

    // Without any loader the device counts as offline.
    web->setContentLoader(nullptr);
    WebView::setDefaultContentLoader(nullptr);
    web->loadRequest({ "http://ads.example/b" });
    time.advance(0);
    EXPECT_EQ(journal.take(), (Events { "should http://ads.example/b 5", "start", "fail -1009" }));

    web->loadRequest({ "gopher://old.example/" });
    time.advance(0);
    EXPECT_EQ(journal.take(), (Events { "should gopher://old.example/ 5", "start", "fail -1002" }));
}

TEST_F(WebViewTest, ANewLoadCancelsTheOneUnderWayAndARefusedOneChangesNothing)
{
    web->loadRequest({ "https://ads.example/first" });
    time.advance(0);
    web->loadRequest({ "https://ads.example/second" });
    EXPECT_EQ(journal.take(), (Events { "should https://ads.example/first 5", "start", "should https://ads.example/second 5", "fail -999" }));
    loader->answer(0, page("<title>first</title>"));
    time.advance(0);
    EXPECT_EQ(journal.take(), (Events { "start" }));
    loader->answer(1, page("<title>second</title>"));
    time.advance(0);
    EXPECT_EQ(journal.take(), (Events { "finish second" }));

    journal.refused = "https://ads.example/third";
    web->loadRequest({ "https://ads.example/third" });
    time.advance(0);
    EXPECT_EQ(journal.take(), (Events { "should https://ads.example/third 5" }));
    EXPECT_EQ(web->request().url, "https://ads.example/second");
    EXPECT_EQ(loader->requests.size(), 2u);
}

TEST_F(WebViewTest, FilesAndHtmlTextLoadWithoutTheNetworkAndResolveTheirLinks)
{
    testsupport::TempDir folder;
    std::ofstream(folder / "help.html") << "<html><head><title>Help &amp; tips</title></head>"
                                           "<body><script>var x = 1;</script><p>Swipe to turn</p><a href='next.html'>Next</a></body></html>";
    web->loadRequest(URLRequest::forFile((folder / "help.html").string()));
    time.advance(0);
    EXPECT_EQ(journal.take().back(), "finish Help & tips");
    EXPECT_EQ(web->pageText(), "Swipe to turn Next");
    EXPECT_EQ(web->links(), (std::vector<std::string> { "file://" + (folder / "next.html").string() }));

    web->loadRequest(URLRequest::forFile((folder / "missing.html").string()));
    time.advance(0);
    EXPECT_EQ(journal.take().back(), "fail -1100");

    web->loadHTMLString("<title>Ad</title><a href=\"/optout\">x</a><a href=\"click?id=1\">y</a>", "https://ads.example/spot/");
    time.advance(0);
    EXPECT_EQ(journal.take(), (Events { "should https://ads.example/spot/ 5", "start", "finish Ad" }));
    EXPECT_EQ(web->links(), (std::vector<std::string> { "https://ads.example/optout", "https://ads.example/spot/click?id=1" }));
    // A reload of text shows the same text again.
    web->reload();
    time.advance(0);
    EXPECT_EQ(journal.take(), (Events { "should https://ads.example/spot/ 3", "start", "finish Ad" }));
    EXPECT_TRUE(loader->requests.empty());
}

TEST_F(WebViewTest, CachePoliciesDecideWhetherAKeptAnswerStandsIn)
{
    web->loadRequest({ "https://ads.example/page" });
    time.advance(0);
    loader->answer(0, page("<title>v1</title>"));
    time.advance(0);
    journal.take();

    web->loadRequest({ "https://ads.example/page", URLRequestCachePolicy::ReturnCacheDataElseLoad });
    time.advance(0);
    EXPECT_EQ(journal.take().back(), "finish v1");
    EXPECT_EQ(loader->requests.size(), 1u);

    web->loadRequest({ "https://ads.example/page", URLRequestCachePolicy::ReloadIgnoringLocalCacheData });
    time.advance(0);
    EXPECT_EQ(loader->requests.size(), 2u);
    loader->answer(1, page("<title>v2</title>"));
    time.advance(0);
    journal.take();

    web->loadRequest({ "https://ads.example/page", URLRequestCachePolicy::ReturnCacheDataDontLoad });
    time.advance(0);
    EXPECT_EQ(journal.take().back(), "finish v2");
    web->loadRequest({ "https://ads.example/other", URLRequestCachePolicy::ReturnCacheDataDontLoad });
    time.advance(0);
    EXPECT_EQ(journal.take().back(), "fail -1008");
    EXPECT_EQ(loader->requests.size(), 2u);
}

TEST_F(WebViewTest, AViewThatGoesBeforeItsAnswerComesIsLeftAlone)
{
    web->loadRequest({ "https://ads.example/page" });
    time.advance(0);
    web->setDelegate(nullptr);
    web->removeFromSuperview();
    web.reset();
    EXPECT_EQ(loader->cancelled, (std::vector<std::string> { "https://ads.example/page" }));
    loader->answer(0, page("<title>late</title>"));
    time.advance(1);
}
