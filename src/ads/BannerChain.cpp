#include "ads/BannerChain.h"

#include "app/AdEndpoints.h"
#include "app/RootGeometry.h"
#include "platform/foundation/Log.h"
#include "platform/foundation/RunLoop.h"

namespace tessaro {

BannerChain::~BannerChain()
{
    releaseKestrel();
    releasePlatformBanner();
    if (_admobBannerView) {
        _admobBannerView->setDelegate(nullptr);
        _admobBannerView->removeFromSuperview();
    }
}

void BannerChain::attach(ui::View& slot, ui::ViewController& root)
{
    _adTopView = &slot;
    _rootViewController = &root;
}

void BannerChain::releaseKestrel()
{
    if (!_kadView)
        return;
    _kadView->setDelegate(nullptr);
    _kadView->removeFromSuperview();
    _kadView.reset();
}

void BannerChain::releasePlatformBanner()
{
    if (!_adView)
        return;
    _adView->setDelegate(nullptr);
    _adView->removeFromSuperview();
    _adView.reset();
}

void BannerChain::showAdMob()
{
    if (_admobBannerView || !_adTopView)
        return;
    if (ads::AdEndpoints::current().admobServer.empty()) {
        showKestrel();
        return;
    }
    ui::Size size = ads::CGSizeFromGADAdSize(ads::kGADAdSizeBanner);
    _admobBannerView = std::make_shared<ads::GADBannerView>(ui::Rect { 0, 0, size.width, size.height });
    _admobBannerView->setDelegate(this);
    _admobBannerView->setAdUnitID(admobAdUnitID);
    _admobBannerView->setRootViewController(_rootViewController);
    _adTopView->addSubview(_admobBannerView);
    _admobBannerView->loadRequest(ads::GADRequest::request());
}

void BannerChain::showKestrel()
{
    if (!_adTopView)
        return;
    if (_kadView) {
        _kadView->resume();
        _kadView->setHidden(false);
        _adTopView->addSubview(_kadView);
        return;
    }
    if (ads::AdEndpoints::current().kestrelServer.empty())
        return;
    _kadView = std::make_shared<ads::KADView>(RootGeometry::bannerFrame());
    _kadView->setDelegate(this);
    _kadView->setKestrelID(kestrelApiKey, kestrelSpotID);
    _adTopView->addSubview(_kadView);
    _kadView->load({ { "retry", "35" } });
}

void BannerChain::showAd()
{
    if (!_adTopView)
        return;
    if (_adView) {
        _adTopView->addSubview(_adView);
        return;
    }
    if (ads::AdEndpoints::current().platformServer.empty())
        return;
    _adView = std::make_shared<ads::ADBannerView>(RootGeometry::bannerFrame());
    _adView->setDelegate(this);
    _adView->setCurrentContentSizeIdentifier(ads::ADBannerContentSizeIdentifierPortrait);
    _adTopView->addSubview(_adView);
    _adView->setHidden(true);
    _adView->setRequiredContentSizeIdentifiers({ ads::ADBannerContentSizeIdentifierPortrait });
}

void BannerChain::adViewDidReceiveAd(ads::GADBannerView&)
{
    foundation::log("admob adViewDidReceiveAd");
    releasePlatformBanner();
    releaseKestrel();
}

void BannerChain::adViewDidFailToReceiveAdWithError(ads::GADBannerView&, const std::string&)
{
    foundation::log("admob didFailToReceiveAdWithError");
    showKestrel();
}

void BannerChain::kadViewDidFinishLoad(ads::KADView& view)
{
    foundation::log("kadViewDidFinishLoad");
    // AdMob may have taken the slot back meanwhile; it runs alone then, so the hand-over
    // only happens while this kestrel banner is still the one in the slot.
    std::weak_ptr<ui::View> kestrel = view.weak_from_this();
    foundation::RunLoop::main().performAfterDelay(handOverDelay, _lifetime, [this, kestrel] {
        if (!kestrel.expired() && kestrel.lock().get() == _kadView.get())
            showAd();
    });
}

void BannerChain::kadViewDidFailToReceiveAd(ads::KADView& view)
{
    foundation::log("kadViewDidFailToReceiveAd");
    view.removeFromSuperview();
    view.pause();
    showAd();
}

void BannerChain::bannerViewDidLoadAd(ads::ADBannerView& view)
{
    foundation::log("iAd   bannerViewDidLoadAd");
    if (_kadView) {
        _kadView->setHidden(true);
        _kadView->pause();
    }
    view.setHidden(false);
    // Lifts the banner that loaded, unless AdMob let it go in the meantime: a new one must
    // not appear over AdMob.
    std::weak_ptr<ui::View> loaded = view.weak_from_this();
    foundation::RunLoop::main().performAfterDelay(0, _lifetime, [this, loaded] {
        if (!loaded.expired() && loaded.lock().get() == _adView.get())
            showAd();
    });
}

void BannerChain::bannerViewDidFailToReceiveAdWithError(ads::ADBannerView& view, const std::string& error)
{
    foundation::log("error:" + error);
    view.setHidden(true);
    foundation::RunLoop::main().performAfterDelay(0, _lifetime, [this] { showKestrel(); });
}

bool BannerChain::bannerViewActionShouldBegin(ads::ADBannerView&, bool)
{
    return true;
}

void BannerChain::bannerViewActionDidFinish(ads::ADBannerView&)
{
}

} // namespace tessaro
