#include "ads/kestrel/KADAdWebView.h"

namespace ads {

namespace {

std::shared_ptr<WebContentDownloader> sharedDownloader()
{
    // The downloads' client is made first, so it outlives the loader that cancels its loads.
    HttpClient::shared();
    static auto downloader = std::make_shared<WebContentDownloader>();
    return downloader;
}

} // namespace

KADAdWebView::KADAdWebView(const ui::Rect& frame)
    : WebView(frame)
{
    setAccessibilityIdentifier("kestrel.web");
    setContentLoader(sharedDownloader());
    setDelegate(this);
}

KADAdWebView::~KADAdWebView()
{
    m_baseView = nullptr;
    setDelegate(nullptr);
    stopLoading();
}

void KADAdWebView::loadAd(const std::string& url, double timeout)
{
    loadRequest({ url, ui::URLRequestCachePolicy::ReloadIgnoringLocalCacheData, timeout });
}

bool KADAdWebView::shouldStartLoadWithRequest(ui::WebView&, const ui::URLRequest& request, ui::WebViewNavigationType type)
{
    if (type == ui::WebViewNavigationType::Reload || type == ui::WebViewNavigationType::Other)
        return m_reloadEnabled;
    if (m_baseView)
        m_baseView->tapAdView(request.url);
    return false;
}

void KADAdWebView::webViewDidFinishLoad(ui::WebView&)
{
    if (m_baseView)
        m_baseView->adWebViewDidFinishLoad(*this);
}

void KADAdWebView::didFailLoadWithError(ui::WebView&, const ui::WebError& error)
{
    // A load replaced by the next one is not a failure of the banner.
    if (error.code == ui::WebError::cancelled)
        return;
    if (m_baseView)
        m_baseView->adWebViewDidFailLoadWithError(*this, 750);
}

} // namespace ads
