#pragma once
// The AdMob banner: a 320 × 50 banner of the AdMob network, asked for with the
// application's ad unit identifier. It tells its delegate of every banner received and
// every failure, and keeps turning on the network's refresh schedule.
//
// Ownership: the slot owns the banner; the delegate and the root controller are not owned.

#include "ads/ServedImageBanner.h"

#include <string>

namespace ui {
class ViewController;
}

namespace ads {

class GADBannerView;

// The banner size of the network, in points.
struct GADAdSize {
    double width { 320 };
    double height { 50 };
};
inline constexpr GADAdSize kGADAdSizeBanner {};
inline ui::Size CGSizeFromGADAdSize(GADAdSize size) { return { size.width, size.height }; }

// A request; the application sends a plain one.
struct GADRequest {
    static GADRequest request() { return {}; }
};

class GADBannerViewDelegate {
public:
    virtual ~GADBannerViewDelegate() = default;
    virtual void adViewDidReceiveAd(GADBannerView&) { }
    virtual void adViewDidFailToReceiveAdWithError(GADBannerView&, const std::string&) { }
};

class GADBannerView : public ServedImageBanner {
public:
    explicit GADBannerView(const ui::Rect& frame);
    ~GADBannerView() override;

    std::string typeName() const override { return "GADBannerView"; }

    void setDelegate(GADBannerViewDelegate* delegate) { m_delegate = delegate; }
    GADBannerViewDelegate* delegate() const { return m_delegate; }
    void setAdUnitID(std::string identifier) { m_adUnitID = std::move(identifier); }
    const std::string& adUnitID() const { return m_adUnitID; }
    void setRootViewController(ui::ViewController* controller) { m_rootViewController = controller; }
    // Asks the network's server (AdEndpoints) for banners; without a server, nothing.
    void loadRequest(const GADRequest& request);

private:
    void bannerDidLoad() override;
    void bannerDidFail(const std::string& reason) override;

    GADBannerViewDelegate* m_delegate { nullptr };
    std::string m_adUnitID;
    ui::ViewController* m_rootViewController { nullptr };
};

} // namespace ads
