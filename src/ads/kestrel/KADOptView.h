#pragma once
// The opt-out tab in the top right corner of an image banner, 110 × 22 points: the
// network's icon, which slides mostly out of sight a second after it appears (34 points
// stay visible). Touching what is left slides it back for three seconds; touching it while
// it is out opens the network's privacy page, where the user can opt out of targeted ads.
//
// Ownership: the image banner owns its tab as a subview; the delegate (the image banner)
// is not owned. The tab owns its hide timer and its icon download; both stop when it goes.

#include "ads/kestrel/KADConnection.h"
#include "platform/foundation/Timer.h"
#include "platform/ui/View.h"

#include <memory>
#include <string>

namespace ui {
class Button;
class Image;
class ImageView;
}

namespace ads {

class KADOptView;

class KADOptViewDelegate {
public:
    virtual ~KADOptViewDelegate() = default;
    virtual void optViewDidFinishLoad(KADOptView& optView) = 0;
    // 770: the icon could not be downloaded; 771: what came is not an icon.
    virtual void optViewDidFailToLoad(KADOptView& optView, int number) = 0;
};

class KADOptView : public ui::View, private KADConnectionDelegate {
public:
    static constexpr double width = 110;
    static constexpr double height = 22;
    // How far the tab slides out, and so how much of it stays visible (34 points).
    static constexpr double slideDistance = 76;
    static constexpr std::size_t maximumIconSize = 256 * 1024;

    KADOptView();
    ~KADOptView() override;

    std::string typeName() const override { return "KADOptView"; }

    void setDelegate(KADOptViewDelegate* delegate) { m_delegate = delegate; }
    // Puts the tab in the top right corner of a banner of that width.
    void positionReset(double bannerWidth);
    // Takes the icon from the cache or downloads it.
    void load();
    void stopTimers();

    // The icon's address on the network's icon host, for the screen's scale.
    static std::string iconURL();
    // The privacy page with the two hashed identifiers.
    static std::string privacyURL();

    // The icon shown, once loaded.
    std::shared_ptr<const ui::Image> image() const;
    bool isMovedOut() const { return m_movedOut; }
    const foundation::Timer* hideTimer() const { return m_hideTimer.get(); }

private:
    void createOptMenu(std::shared_ptr<const ui::Image> icon);
    void moveOut();
    void moveIn();
    void requestOpt();
    void startHideTimer(double seconds);
    void setButtonAction(void (KADOptView::*action)());
    void fail(int number, const std::string& info);

    void kadConnectionDidConnect(const std::string& url, const std::string& receiveData) override;
    void kadConnectionDidFailToConnect(const std::string& url, const std::string& userInfo) override;
    void kadConnectionDidFailToReceiveData(const std::string& url) override;
    void kadConnectionDidReceiveTooMuchData(const std::string& url) override;

    KADOptViewDelegate* m_delegate { nullptr };
    std::unique_ptr<KADConnection> m_connection;
    std::shared_ptr<foundation::Timer> m_hideTimer;
    std::shared_ptr<ui::ImageView> m_iconView;
    std::shared_ptr<ui::Button> m_button;
    double m_restX { 0 };
    bool m_movedOut { false };
};

} // namespace ads
