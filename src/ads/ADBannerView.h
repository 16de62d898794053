#pragma once
// The platform's own banner: a 320 × 50 banner of the handset maker's network. It tells
// its delegate of every banner loaded and every failure, keeps turning on the network's
// refresh schedule, and asks its delegate before a touch leaves for the ad's page.
//
// Ownership: the slot owns the banner; the delegate is not owned.

#include "ads/ServedImageBanner.h"

#include <set>
#include <string>

namespace ads {

class ADBannerView;

inline constexpr const char* ADBannerContentSizeIdentifierPortrait = "ADBannerContentSizeIdentifierPortrait";

class ADBannerViewDelegate {
public:
    virtual ~ADBannerViewDelegate() = default;
    virtual void bannerViewDidLoadAd(ADBannerView&) { }
    virtual void bannerViewDidFailToReceiveAdWithError(ADBannerView&, const std::string&) { }
    virtual bool bannerViewActionShouldBegin(ADBannerView&, bool /*willLeaveApplication*/) { return true; }
    virtual void bannerViewActionDidFinish(ADBannerView&) { }
};

class ADBannerView : public ServedImageBanner {
public:
    // Starts asking the network's server (AdEndpoints) at once; without a server, nothing.
    explicit ADBannerView(const ui::Rect& frame);
    ~ADBannerView() override;

    std::string typeName() const override { return "ADBannerView"; }

    void setDelegate(ADBannerViewDelegate* delegate) { m_delegate = delegate; }
    ADBannerViewDelegate* delegate() const { return m_delegate; }
    void setCurrentContentSizeIdentifier(std::string identifier) { m_currentContentSizeIdentifier = std::move(identifier); }
    void setRequiredContentSizeIdentifiers(std::set<std::string> identifiers)
    {
        m_requiredContentSizeIdentifiers = std::move(identifiers);
    }
    bool isBannerLoaded() const { return hasAd(); }

private:
    void bannerDidLoad() override;
    void bannerDidFail(const std::string& reason) override;
    bool bannerActionShouldBegin() override;

    ADBannerViewDelegate* m_delegate { nullptr };
    std::string m_currentContentSizeIdentifier { ADBannerContentSizeIdentifierPortrait };
    std::set<std::string> m_requiredContentSizeIdentifiers;
};

} // namespace ads
