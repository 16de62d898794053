#include "ads/kestrel/KADView.h"

#include "ads/WebHandoff.h"
#include "platform/foundation/RunLoop.h"
#include "platform/ui/Application.h"
#include "platform/ui/Screen.h"

#include <cstdio>
#include <cstdlib>

namespace ads {

namespace {

constexpr int defaultRetryTime = 60;
constexpr double resumeDelay = 30;

} // namespace

KADView::KADView(const ui::Rect& frame)
    : View(frame)
    , m_requestViewSize(frame.size)
{
    KADError::setIsOutputLog(true);
    setBackgroundColor(ui::Color::clearColor());
    setAccessibilityIdentifier("kestrel");
}

KADView::~KADView()
{
    if (m_tm)
        m_tm->invalidate();
    m_adApi.setDelegate(nullptr);
    m_adApi.cancel();
    if (m_kadAdDefaultView) {
        m_kadAdDefaultView->stopTimers();
        m_kadAdDefaultView->setDelegate(nullptr);
    }
    if (m_kadAdWebView) {
        m_kadAdWebView->setBaseView(nullptr);
        m_kadAdWebView->stopLoading();
    }
}

int KADView::requestInterval(int retryTime)
{
    return retryTime >= 30 && retryTime <= 3600 ? retryTime : defaultRetryTime;
}

void KADView::setDelegate(KADViewDelegate* delegate)
{
    m_delegate = delegate;
    if (!delegate)
        pause();
}

void KADView::setRootViewController(ui::ViewController* controller)
{
    m_rootViewController = controller;
    KADError::logWarningMessage("'setRootViewController' is deprecated: first deprecated in kestrelSDK 2.0");
}

void KADView::setKestrelID(const std::string& apiKey, const std::string& spotID)
{
    m_kestrelApiKey = apiKey;
    m_kestrelSpotID = spotID;
    requestAdApi();
}

void KADView::setIsOutputLog(bool output)
{
    m_isOutputLog = output;
    KADError::setIsOutputLog(output);
}

void KADView::requestAdApi()
{
    if (m_adData)
        return;
    m_error.reset();
    m_adApi.setDelegate(this);
    m_adApi.connectAPI(m_kestrelApiKey, m_kestrelSpotID);
    setRequestApiRunAfterRetryTime();
}

void KADView::setRequestApiRunAfterRetryTime()
{
    setTimer(&KADView::requestAdApi, requestInterval(m_retryTime));
}

void KADView::retryRequestAdApi()
{
    m_adData.reset();
    setRequestApiRunAfterRetryTime();
}

void KADView::setTimer(void (KADView::*selector)(), double time)
{
    if (m_tm)
        m_tm->invalidate();
    // The view owns its timer, and the run loop only holds it weakly: a view that has gone
    // takes its timer with it.
    m_tm = foundation::RunLoop::main().scheduledTimer(time, foundation::TimerRepeat::Once,
                                                      [this, selector](foundation::Timer&) { (this->*selector)(); });
}

void KADView::adApiDidEndReceiveData(const KADAdData& data)
{
    m_adData = data;
    if (int result = validateKestrelApiData(*m_adData); result != 0) {
        noticeReceiveError(result);
        return;
    }
    if (m_isDidLoaded)
        loadAdView();
}

void KADView::adApiDidFailToReceiveData(int number)
{
    noticeReceiveError(number);
}

void KADView::noticeReceiveError(int number)
{
    m_error = KADError::viewError(number);
    m_adData.reset();
    if (m_delegate)
        m_delegate->kadViewDidFailToReceiveAd(*this);
}

int KADView::validateKestrelApiData(const KADAdData& data)
{
    if (data.statusCode != 200) {
        std::string message = data.message && !data.message->empty() ? *data.message : "no message";
        KADError::logErrorMessage(message, data.statusCode);
        return 700;
    }
    if (data.responseType < KADAdData::imageBanner || data.responseType > KADAdData::targetedImageBanner) {
        KADError::logErrorMessage(740, "responseType=" + std::to_string(data.responseType));
        return 740;
    }
    if (!data.adWidth || !data.adHeight) {
        KADError::logErrorMessage(740);
        return 740;
    }
    ui::Rect screen = ui::Screen::mainScreen().bounds();
    if (screen.size.width < *data.adWidth || screen.size.height < *data.adHeight) {
        pause();
        char size[64];
        std::snprintf(size, sizeof size, "size = %4.1f,%4.1f", screen.size.width, screen.size.height);
        KADError::logErrorMessage(790, size);
        return 790;
    }
    return 0;
}

void KADView::loadAdView()
{
    if (!m_delegate || !m_adData)
        return;
    const KADAdData& data = *m_adData;
    if (data.adWidth && data.adHeight)
        setFrame({ frame().origin.x, frame().origin.y, *data.adWidth, *data.adHeight });
    // A server that asks for no pause between reloads would have the banner ask on every
    // turn of the run loop; such a reload counts as the usual interval instead.
    double reload = data.reloadTime > 0 ? data.reloadTime : defaultRetryTime;
    switch (data.responseType) {
    case KADAdData::imageBanner:
        setTimer(&KADView::reloadAdView, reload);
        loadAdDefaultView(data.defaultAd.value_or(KADDefaultAd {}));
        break;
    case KADAdData::targetedImageBanner:
        setTimer(&KADView::reloadAdView, reload);
        if (auto chosen = chooseAdByConditions()) {
            loadAdDefaultView(*chosen);
        } else {
            KADError::logErrorMessage(760);
            failurePath(700);
        }
        break;
    case KADAdData::webBanner:
        loadAdWebView();
        break;
    default:
        KADError::logErrorMessage(740, "responseType=" + std::to_string(data.responseType));
        failurePath(700);
        break;
    }
}

void KADView::failurePath(int number)
{
    retryRequestAdApi();
    noticeReceiveError(number);
}

std::optional<KADDefaultAd> KADView::chooseAdByConditions() const
{
    const KADAdData& data = *m_adData;
    auto holds = [](const KADAppTargetingAdDetailCondition& condition) {
        bool installed = condition.urlScheme && ui::Application::shared().canOpenURL(*condition.urlScheme);
        return (installed && condition.logicalOperator == KADAppTargetingAdDetailCondition::mustBeInstalled)
            || (!installed && condition.logicalOperator == KADAppTargetingAdDetailCondition::mustNotBeInstalled);
    };
    if (data.targetingAdCampaigns) {
        for (const KADAppTargetingAd& campaign : *data.targetingAdCampaigns) {
            // A campaign whose conditions could not be read is not shown to anyone.
            if (!campaign.conditionsGroups)
                continue;
            for (const auto& group : *campaign.conditionsGroups) {
                bool all = true;
                for (const auto& condition : group)
                    all = all && holds(condition);
                if (all)
                    return static_cast<const KADDefaultAd&>(campaign);
            }
        }
    }
    return data.defaultAd;
}

void KADView::loadAdDefaultView(const KADDefaultAd& ad)
{
    const KADAdData& data = *m_adData;
    auto banner = std::make_shared<KADAdDefaultView>(ad, ui::Rect { 0, 0, data.adWidth.value_or(0), data.adHeight.value_or(0) });
    banner->setDelegate(this);
    if (m_kadAdDefaultView) {
        m_kadAdDefaultView->stopTimers();
        m_kadAdDefaultView->setDelegate(nullptr);
    }
    // Held before it starts: a banner may report at once (the tab's icon is cached).
    m_kadAdDefaultView = banner;
    banner->prepareAdSetting();
}

void KADView::defaultViewDidFinishLoad(KADAdDefaultView& view)
{
    if (&view != m_kadAdDefaultView.get())
        return;
    auto keep = m_kadAdDefaultView;
    while (!subviews().empty())
        subviews().back()->removeFromSuperview();
    addSubview(keep);
    notifyShown();
}

void KADView::defaultViewDidFailLoadWithError(KADAdDefaultView& view, int number)
{
    if (&view != m_kadAdDefaultView.get())
        return;
    failurePath(number);
}

void KADView::notifyShown()
{
    if (!m_delegate)
        return;
    // The delegate may let the view go from inside a notification.
    auto self = weak_from_this().lock();
    if (!m_isDidNotified) {
        m_isDidNotified = true;
        m_delegate->kadViewDidFinishLoad(*this);
    }
    if (m_delegate)
        m_delegate->kadViewDidReceiveAd(*this);
}

void KADView::loadAdWebView()
{
    const KADAdData& data = *m_adData;
    std::string url = data.webViewURL.value_or(std::string());
    double timeout = data.reloadTime > 0 ? data.reloadTime : ui::URLRequest::defaultTimeoutInterval;
    if (m_kadAdWebView) {
        m_kadAdWebView->setReloadEnabled(true);
        m_kadAdWebView->loadAd(url, timeout);
        return;
    }
    m_kadAdWebView = std::make_shared<KADAdWebView>(ui::Rect { 0, 0, data.adWidth.value_or(0), data.adHeight.value_or(0) });
    m_kadAdWebView->setBaseView(this);
    m_kadAdWebView->loadAd(url, timeout);
}

void KADView::adWebViewDidFinishLoad(KADAdWebView& view)
{
    if (&view != m_kadAdWebView.get())
        return;
    std::vector<std::shared_ptr<ui::View>> others;
    for (const auto& subview : subviews()) {
        if (!dynamic_cast<KADAdWebView*>(subview.get()))
            others.push_back(subview);
    }
    for (const auto& other : others)
        other->removeFromSuperview();
    if (m_kadAdWebView->superview() != this)
        addSubview(m_kadAdWebView);
    notifyShown();
}

void KADView::adWebViewDidFailLoadWithError(KADAdWebView& view, int number)
{
    if (&view != m_kadAdWebView.get())
        return;
    KADError::logErrorMessage(number);
    failurePath(number);
}

void KADView::reloadAdView()
{
    if (!m_isDidLoaded)
        return;
    m_error.reset();
    m_adApi.setDelegate(this);
    m_adApi.connectAPI(m_kestrelApiKey, m_kestrelSpotID);
    setRequestApiRunAfterRetryTime();
}

void KADView::tapAdView(const std::string& url)
{
    if (!openAdPage(url))
        return;
    if (m_delegate)
        m_delegate->kadViewDidClickAd(*this);
}

void KADView::load(const Parameters& parameters)
{
    if (m_isDidLoaded && superview()) {
        KADError::logWarningMessage("Duplicated load...");
        return;
    }
    auto retry = parameters.find("retry");
    m_retryTime = retry == parameters.end() ? 0 : std::atoi(retry->second.c_str());
    if (m_kestrelApiKey.empty())
        KADError::logErrorMessage(711);
    if (m_kestrelSpotID.empty())
        KADError::logErrorMessage(712);
    if (!m_delegate)
        KADError::logErrorMessage(713);
    m_isDidLoaded = true;
    if (m_adData)
        loadAdView();
}

void KADView::pause()
{
    if (!m_isRotationEnabled)
        return;
    if (m_tm)
        m_tm->invalidate();
    if (m_kadAdWebView)
        m_kadAdWebView->setReloadEnabled(false);
    m_isRotationEnabled = false;
}

void KADView::resume()
{
    if (m_isRotationEnabled || !m_tm || m_tm->isValid())
        return;
    m_tm.reset();
    m_isRotationEnabled = true;
    setTimer(&KADView::reloadAdView, resumeDelay);
}

} // namespace ads
