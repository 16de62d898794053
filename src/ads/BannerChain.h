#pragma once
// The three banner networks of the slot and how they hand it to one another. AdMob, where
// asked first, runs alone while it delivers and falls back to kestrel on its first
// failure. Kestrel, once it has shown its first ad, tries the platform's own banner 20
// seconds later; while the platform's banner delivers, kestrel is hidden and paused
// beneath it; when it fails it is hidden and kestrel resumes; when kestrel fails, the
// platform's banner is tried at once. There is no retry limit and nothing is shown to the
// user about a failure. Each event writes its log line.
//
// A network without a server (ads::AdEndpoints) is never made: AdMob without one counts as
// failed, so kestrel is asked instead; kestrel or the platform's banner without one leave
// the slot as it is.
//
// Ownership: the root owns the chain; the chain owns the banners in the slot and is their
// delegate. The slot and the root are plain pointers (both outlive the chain). Delayed
// hand-overs are guarded, so none reaches a chain that has gone.

#include "ads/ADBannerView.h"
#include "ads/GADBannerView.h"
#include "ads/kestrel/KADView.h"
#include "app/BannerNetworks.h"

#include <memory>
#include <string>

namespace tessaro {

class BannerChain : public BannerNetworks,
                    public ads::KADViewDelegate,
                    public ads::GADBannerViewDelegate,
                    public ads::ADBannerViewDelegate {
public:
    // The application's credentials with the networks.
    static constexpr const char* kestrelApiKey = "7c4a8d09ca3762af61e59520943dc26494f8941b";
    static constexpr const char* kestrelSpotID = "4271";
    static constexpr const char* admobAdUnitID = "a152e8d0c4f1b7a";
    // How long kestrel's first ad shows before the platform's banner is tried.
    static constexpr double handOverDelay = 20;

    BannerChain() = default;
    ~BannerChain() override;

    void attach(ui::View& slot, ui::ViewController& root) override;
    void showAdMob() override;
    void showKestrel() override;
    void showAd() override;

    ads::GADBannerView* admobBannerView() const { return _admobBannerView.get(); }
    ads::KADView* kadView() const { return _kadView.get(); }
    ads::ADBannerView* adView() const { return _adView.get(); }

    void adViewDidReceiveAd(ads::GADBannerView& view) override;
    void adViewDidFailToReceiveAdWithError(ads::GADBannerView& view, const std::string& error) override;
    void kadViewDidFinishLoad(ads::KADView& view) override;
    void kadViewDidFailToReceiveAd(ads::KADView& view) override;
    void bannerViewDidLoadAd(ads::ADBannerView& view) override;
    void bannerViewDidFailToReceiveAdWithError(ads::ADBannerView& view, const std::string& error) override;
    bool bannerViewActionShouldBegin(ads::ADBannerView& view, bool willLeaveApplication) override;
    void bannerViewActionDidFinish(ads::ADBannerView& view) override;

private:
    void releaseKestrel();
    void releasePlatformBanner();

    ui::View* _adTopView { nullptr };
    ui::ViewController* _rootViewController { nullptr };
    std::shared_ptr<ads::ADBannerView> _adView;
    std::shared_ptr<ads::KADView> _kadView;
    std::shared_ptr<ads::GADBannerView> _admobBannerView;
    std::shared_ptr<int> _lifetime { std::make_shared<int>(0) };
};

} // namespace tessaro
