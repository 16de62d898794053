#pragma once
// An image banner: the opt-out tab is loaded first, then the ad's picture; only when both
// are there does the banner report that it is ready, as one full-size button showing the
// picture with the tab on top. A picture must have the banner's size, or twice it in both
// directions for a dense screen (320 × 48 counts as 320 × 50); anything else is refused,
// so a banner never shows stretched.
//
// Ownership: the banner view owns its image banner; the delegate (the banner view) is not
// owned. The image banner owns its tab, its button and its picture download; releasing it
// stops them.

#include "ads/kestrel/KADConnection.h"
#include "ads/kestrel/KADDefaultAd.h"
#include "ads/kestrel/KADOptView.h"
#include "platform/ui/View.h"

#include <memory>
#include <string>

namespace ui {
class Button;
}

namespace ads {

class KADAdDefaultView;

class KADAdDefaultViewDelegate {
public:
    virtual ~KADAdDefaultViewDelegate() = default;
    virtual void defaultViewDidFinishLoad(KADAdDefaultView& view) = 0;
    virtual void defaultViewDidFailLoadWithError(KADAdDefaultView& view, int number) = 0;
    // The user touched the banner: the address to open (the click address with the
    // hashed advertising identifier).
    virtual void tapAdView(const std::string& url) = 0;
};

class KADAdDefaultView : public ui::View, private KADOptViewDelegate, private KADConnectionDelegate {
public:
    // Banner pictures are small; five megabytes is far past any real one.
    static constexpr std::size_t maximumImageSize = 5 * 1024 * 1024;

    KADAdDefaultView(const KADDefaultAd& ad, const ui::Rect& frame);
    ~KADAdDefaultView() override;

    std::string typeName() const override { return "KADAdDefaultView"; }

    void setDelegate(KADAdDefaultViewDelegate* delegate) { m_delegate = delegate; }
    // Starts building the banner: the tab, then the picture.
    void prepareAdSetting();
    // Stops the tab's timer and every download.
    void stopTimers();

    const KADDefaultAd& ad() const { return m_ad; }
    KADOptView* optView() const { return m_optView.get(); }
    ui::Button* adButton() const { return m_button.get(); }

private:
    void startCreateAD();
    void startCreateBannerAd();
    void finishCreateBannerAd(const std::string& bytes);
    void tapAdButton();
    void fail(int number, const std::string& info);

    void optViewDidFinishLoad(KADOptView& optView) override;
    void optViewDidFailToLoad(KADOptView& optView, int number) override;
    void kadConnectionDidConnect(const std::string& url, const std::string& receiveData) override;
    void kadConnectionDidFailToConnect(const std::string& url, const std::string& userInfo) override;
    void kadConnectionDidFailToReceiveData(const std::string& url) override;
    void kadConnectionDidReceiveTooMuchData(const std::string& url) override;

    KADAdDefaultViewDelegate* m_delegate { nullptr };
    KADDefaultAd m_ad;
    std::shared_ptr<KADOptView> m_optView;
    std::shared_ptr<ui::Button> m_button;
    std::unique_ptr<KADConnection> m_connection;
    std::string m_clickURL;
};

} // namespace ads
