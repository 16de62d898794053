#pragma once
// A web banner: the ad server's page shown in a web view of the banner's size. Loads
// ignore cached pages and give up after the answer's reload time. While reloading is
// enabled the page may load and reload itself; any other navigation (a followed link, a
// submitted form) is not loaded in the banner but handed to the banner view as a touch on
// the ad, which opens it outside the application.
//
// Ownership: the banner view owns its web banner; the base view is a plain pointer back to
// it, which it clears before letting the web banner go. The web banner is its own delegate.

#include "ads/WebContentDownloader.h"
#include "platform/ui/WebView.h"

#include <memory>
#include <string>

namespace ads {

class KADAdWebView;

class KADAdWebViewBase {
public:
    virtual ~KADAdWebViewBase() = default;
    virtual void adWebViewDidFinishLoad(KADAdWebView& view) = 0;
    virtual void adWebViewDidFailLoadWithError(KADAdWebView& view, int number) = 0;
    virtual void tapAdView(const std::string& url) = 0;
};

class KADAdWebView : public ui::WebView, private ui::WebViewDelegate {
public:
    explicit KADAdWebView(const ui::Rect& frame);
    ~KADAdWebView() override;

    std::string typeName() const override { return "KADAdWebView"; }

    void setBaseView(KADAdWebViewBase* base) { m_baseView = base; }
    // Loads the banner's page, waiting at most `timeout` seconds.
    void loadAd(const std::string& url, double timeout);

    bool isReloadEnabled() const { return m_reloadEnabled; }
    void setReloadEnabled(bool enabled) { m_reloadEnabled = enabled; }

private:
    bool shouldStartLoadWithRequest(ui::WebView& view, const ui::URLRequest& request,
                                    ui::WebViewNavigationType type) override;
    void webViewDidFinishLoad(ui::WebView& view) override;
    void didFailLoadWithError(ui::WebView& view, const ui::WebError& error) override;

    KADAdWebViewBase* m_baseView { nullptr };
    bool m_reloadEnabled { true };
};

} // namespace ads
