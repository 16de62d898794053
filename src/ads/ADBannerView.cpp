#include "ads/ADBannerView.h"

#include "app/AdEndpoints.h"
#include "platform/ui/Screen.h"

namespace ads {

ADBannerView::ADBannerView(const ui::Rect& frame)
    : ServedImageBanner(frame, "/iad/ad")
{
    setAccessibilityIdentifier("iad");
    // The platform's banner starts asking by itself, as the handset's does; its owner only
    // says where it goes. The answer comes on a later turn, after the delegate is set.
    std::string scale = ui::Screen::mainScreen().scale() >= 2 ? "2" : "1";
    requestAd(AdEndpoints::current().platformServer, "scale=" + scale);
}

ADBannerView::~ADBannerView()
{
    m_delegate = nullptr;
}

void ADBannerView::bannerDidLoad()
{
    if (m_delegate)
        m_delegate->bannerViewDidLoadAd(*this);
}

void ADBannerView::bannerDidFail(const std::string& reason)
{
    if (m_delegate)
        m_delegate->bannerViewDidFailToReceiveAdWithError(*this, reason);
}

bool ADBannerView::bannerActionShouldBegin()
{
    bool allowed = !m_delegate || m_delegate->bannerViewActionShouldBegin(*this, true);
    if (allowed && m_delegate)
        m_delegate->bannerViewActionDidFinish(*this);
    return allowed;
}

} // namespace ads
