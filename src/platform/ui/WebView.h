#pragma once
// A view that loads a page: from the web (through the installed WebContentLoader), from a
// local file, or from an HTML text. Every load, the first and every later navigation
// inside the page, is first offered to the delegate with its navigation type; then the
// delegate hears didStartLoad on the next turn of the run loop and, when the content has
// come, didFinishLoad or didFailLoadWithError. A new load while one runs cancels it (the
// old one fails with WebError::cancelled, as on the handset); a load that outlasts its
// request's time-out fails with WebError::timedOut. The page is not rendered as a browser
// would: the painter sets its HTML as rich text where it can (the display can), else the
// view shows the page's title and text; a touch follows the page's first link (a banner is
// one link).
//
// Cache policies: web answers are kept in memory by address. ReturnCacheDataElseLoad
// takes a kept answer when there is one, ReturnCacheDataDontLoad takes one or fails, the
// others always load.
//
// Ownership: the delegate is a plain pointer that its owner clears (or outlives the view).
// The loaders are shared; one per view may replace the one of the process.

#include "platform/ui/URLRequest.h"
#include "platform/ui/View.h"
#include "platform/ui/WebContentLoader.h"
#include "platform/ui/WebError.h"

#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace ui {

class WebView;

// The kinds of navigation, with the handset's numbers.
enum class WebViewNavigationType { LinkClicked = 0, FormSubmitted = 1, BackForward = 2, Reload = 3, FormResubmitted = 4, Other = 5 };

class WebViewDelegate {
public:
    virtual ~WebViewDelegate() = default;
    // False keeps the request from loading (and from replacing what shows).
    virtual bool shouldStartLoadWithRequest(WebView&, const URLRequest&, WebViewNavigationType) { return true; }
    virtual void webViewDidStartLoad(WebView&) { }
    virtual void webViewDidFinishLoad(WebView&) { }
    virtual void didFailLoadWithError(WebView&, const WebError&) { }
};

class WebView : public View {
public:
    // Local files larger than this are refused rather than read into memory.
    static constexpr std::size_t maximumFileSize = 16 * 1024 * 1024;

    WebView();
    explicit WebView(const Rect& frame);
    ~WebView() override;

    std::string typeName() const override { return "WebView"; }
    void describe(ViewDescription& description) const override;
    // The page's title, or the start of its text.
    std::string displayText() const override;

    WebViewDelegate* delegate() const { return m_delegate; }
    void setDelegate(WebViewDelegate* delegate) { m_delegate = delegate; }

    void loadRequest(const URLRequest& request);
    // The text as the page; baseURL (may be empty) is the address relative links resolve to.
    void loadHTMLString(const std::string& html, const std::string& baseURL);
    // The current request again, as a reload.
    void reload();
    // Stops the load under way, quietly.
    void stopLoading();
    // A navigation from inside the page (a followed link, a submitted form, ...).
    void navigate(const URLRequest& request, WebViewNavigationType type);

    bool isLoading() const { return m_loading; }
    // The request of the page shown or being loaded.
    const URLRequest& request() const { return m_request; }
    const std::string& content() const { return m_content; }
    const std::string& mimeType() const { return m_mimeType; }
    const std::string& title() const { return m_title; }
    // The page's text without its markup.
    const std::string& pageText() const { return m_pageText; }
    // The page's links, absolute, in order.
    const std::vector<std::string>& links() const { return m_links; }

    bool scalesPageToFit() const { return m_scalesPageToFit; }
    void setScalesPageToFit(bool scales) { m_scalesPageToFit = scales; }

    void setContentLoader(std::shared_ptr<WebContentLoader> loader) { m_loader = std::move(loader); }
    // The loader of every web view without one of its own; null for none.
    static void setDefaultContentLoader(std::shared_ptr<WebContentLoader> loader);
    static std::shared_ptr<WebContentLoader> defaultContentLoader();
    // Forgets the kept answers (tests use it between cases).
    static void clearCache();

    // The page takes its touches whole; a lift inside follows the link.
    void touchesBegan(const Touch&) override { }
    void touchesMoved(const Touch&) override { }
    void touchesEnded(const Touch& touch) override;
    void touchesCancelled(const Touch&) override { }
    void draw(Painter& painter) override;

private:
    void startNavigation(const URLRequest& request, WebViewNavigationType type, std::optional<std::string> html);
    void beginLoad(std::uint64_t generation);
    void loadFromWeb(std::uint64_t generation);
    void finish(std::uint64_t generation, const WebLoadResult& result);
    void fail(std::uint64_t generation, WebError error);
    void cancelLoad(bool report);
    std::shared_ptr<WebContentLoader> activeLoader() const;

    WebViewDelegate* m_delegate { nullptr };
    std::shared_ptr<WebContentLoader> m_loader;
    URLRequest m_request;
    std::optional<std::string> m_inlineHTML;
    bool m_loading { false };
    std::uint64_t m_generation { 0 };
    std::string m_content;
    std::string m_mimeType;
    std::string m_title;
    std::string m_pageText;
    std::vector<std::string> m_links;
    bool m_scalesPageToFit { false };
    // Guards run-loop calls against a view that has gone.
    std::shared_ptr<int> m_lifetime { std::make_shared<int>(0) };
};

} // namespace ui
