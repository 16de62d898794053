#include "ads/GADBannerView.h"

#include "app/AdEndpoints.h"
#include "platform/ui/Screen.h"

namespace ads {

GADBannerView::GADBannerView(const ui::Rect& frame)
    : ServedImageBanner(frame, "/admob/ad")
{
    setAccessibilityIdentifier("admob");
}

GADBannerView::~GADBannerView()
{
    m_delegate = nullptr;
}

void GADBannerView::loadRequest(const GADRequest&)
{
    std::string scale = ui::Screen::mainScreen().scale() >= 2 ? "2" : "1";
    requestAd(AdEndpoints::current().admobServer, "unit=" + m_adUnitID + "&scale=" + scale);
}

void GADBannerView::bannerDidLoad()
{
    if (m_delegate)
        m_delegate->adViewDidReceiveAd(*this);
}

void GADBannerView::bannerDidFail(const std::string& reason)
{
    if (m_delegate)
        m_delegate->adViewDidFailToReceiveAdWithError(*this, reason);
}

} // namespace ads
