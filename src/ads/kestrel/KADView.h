#pragma once
// The kestrel banner: the view a host puts in its banner slot. It asks the ad server for an
// ad, checks the answer, shows an image banner (with its opt-out tab) or a web banner,
// reloads on the server's schedule, asks again after every failure, and tells its delegate
// what happened. The host gives it credentials (setKestrelID), starts it (load), and may
// pause and resume it while another banner covers it.
//
// Timing: the view has one timer (`tm`) for the next request or the next reload. While no
// usable answer is held it asks every retry interval ("retry" of load(), 30 to 3600
// seconds, else 60); an image banner reloads after the answer's reload time.
//
// Ownership: the host owns the view (a shared view in its slot); the delegate and the root
// controller are not owned. The view owns its timer, its request, its image banner and its
// web banner; releasing it stops all of them, so no timer or download reaches a view that
// has gone.

#include "ads/kestrel/KADAdApi.h"
#include "ads/kestrel/KADAdData.h"
#include "ads/kestrel/KADAdDefaultView.h"
#include "ads/kestrel/KADAdWebView.h"
#include "ads/kestrel/KADError.h"
#include "platform/foundation/Timer.h"
#include "platform/ui/View.h"

#include <map>
#include <memory>
#include <optional>
#include <string>

namespace ui {
class ViewController;
}

namespace ads {

class KADView;

// Every notification is optional.
class KADViewDelegate {
public:
    virtual ~KADViewDelegate() = default;
    // The first ad is shown; once in the view's life.
    virtual void kadViewDidFinishLoad(KADView&) { }
    // An ad is shown; for every ad.
    virtual void kadViewDidReceiveAd(KADView&) { }
    // A request or an ad failed; the view's error() says how.
    virtual void kadViewDidFailToReceiveAd(KADView&) { }
    // The user touched the ad and its page was opened.
    virtual void kadViewDidClickAd(KADView&) { }
};

class KADView : public ui::View,
                private KADAdApiDelegate,
                private KADAdDefaultViewDelegate,
                private KADAdWebViewBase {
public:
    using Parameters = std::map<std::string, std::string>;

    explicit KADView(const ui::Rect& frame);
    ~KADView() override;

    std::string typeName() const override { return "KADView"; }

    KADViewDelegate* delegate() const { return m_delegate; }
    // Setting none also pauses the view.
    void setDelegate(KADViewDelegate* delegate);
    // Kept only; the network no longer uses it.
    void setRootViewController(ui::ViewController* controller);
    // Stores the credentials and asks for the first ad at once.
    void setKestrelID(const std::string& apiKey, const std::string& spotID);
    // Starts showing ads; the only parameter read is "retry" (seconds between requests).
    void load(const Parameters& parameters);
    void load() { load({}); }
    void pause();
    void resume();
    void setIsOutputLog(bool output);

    const std::optional<KADViewError>& error() const { return m_error; }
    const std::optional<KADAdData>& adData() const { return m_adData; }
    int retryTime() const { return m_retryTime; }
    bool isRotationEnabled() const { return m_isRotationEnabled; }
    bool isDidLoaded() const { return m_isDidLoaded; }
    ui::Size requestViewSize() const { return m_requestViewSize; }
    const foundation::Timer* timer() const { return m_tm.get(); }
    KADAdDefaultView* kadAdDefaultView() const { return m_kadAdDefaultView.get(); }
    KADAdWebView* kadAdWebView() const { return m_kadAdWebView.get(); }
    bool isOnline() const { return true; }

    // Seconds between requests for a retry value: itself from 30 to 3600, else 60.
    static int requestInterval(int retryTime);

private:
    void requestAdApi();
    void setRequestApiRunAfterRetryTime();
    void retryRequestAdApi();
    void setTimer(void (KADView::*selector)(), double time);
    void noticeReceiveError(int number);
    int validateKestrelApiData(const KADAdData& data);
    void loadAdView();
    std::optional<KADDefaultAd> chooseAdByConditions() const;
    void loadAdDefaultView(const KADDefaultAd& ad);
    void loadAdWebView();
    void reloadAdView();
    void failurePath(int number);
    void notifyShown();

    void adApiDidEndReceiveData(const KADAdData& data) override;
    void adApiDidFailToReceiveData(int number) override;
    void defaultViewDidFinishLoad(KADAdDefaultView& view) override;
    void defaultViewDidFailLoadWithError(KADAdDefaultView& view, int number) override;
    void adWebViewDidFinishLoad(KADAdWebView& view) override;
    void adWebViewDidFailLoadWithError(KADAdWebView& view, int number) override;
    void tapAdView(const std::string& url) override;

    KADViewDelegate* m_delegate { nullptr };
    std::optional<KADViewError> m_error;
    ui::ViewController* m_rootViewController { nullptr };
    std::shared_ptr<foundation::Timer> m_tm;
    std::shared_ptr<KADAdDefaultView> m_kadAdDefaultView;
    std::shared_ptr<KADAdWebView> m_kadAdWebView;
    std::string m_kestrelApiKey;
    std::string m_kestrelSpotID;
    bool m_isDidLoaded { false };
    bool m_isDidNotified { false };
    bool m_isRotationEnabled { true };
    int m_retryTime { 60 };
    bool m_isOutputLog { true };
    ui::Size m_requestViewSize;
    KADAdApi m_adApi;
    std::optional<KADAdData> m_adData;
};

} // namespace ads
