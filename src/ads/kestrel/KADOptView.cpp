#include "ads/kestrel/KADOptView.h"

#include "app/AdEndpoints.h"
#include "ads/URLText.h"
#include "ads/WebHandoff.h"
#include "ads/kestrel/KADError.h"
#include "ads/kestrel/KADIdentifier.h"
#include "ads/kestrel/KADImageCache.h"
#include "platform/foundation/RunLoop.h"
#include "platform/ui/Button.h"
#include "platform/ui/ImageView.h"
#include "platform/ui/Screen.h"

namespace ads {

namespace {

constexpr double firstHideDelay = 1;
constexpr double laterHideDelay = 3;
constexpr double slideOutDuration = 0.5;
constexpr double slideInDuration = 1;

} // namespace

KADOptView::KADOptView()
    : View(ui::Rect { 0, 0, width, height })
{
    setAccessibilityIdentifier("kestrel.optout");
}

KADOptView::~KADOptView()
{
    stopTimers();
}

void KADOptView::positionReset(double bannerWidth)
{
    m_restX = bannerWidth - width;
    setFrame({ m_restX, 0, width, height });
}

std::string KADOptView::iconURL()
{
    bool retina = ui::Screen::mainScreen().scale() == 2.0;
    return AdEndpoints::current().kestrelServer + "/img/common/optout/icon" + (retina ? "@2x" : "") + ".png";
}

std::string KADOptView::privacyURL()
{
    return URLText::escapedAsUTF8(AdEndpoints::current().kestrelServer + "/privacy/optsdkgate?idfa="
                                  + KADIdentifier::IDFAHashString() + "&uid=" + KADIdentifier::UIIDHashString());
}

std::shared_ptr<const ui::Image> KADOptView::image() const
{
    return m_iconView ? m_iconView->image() : nullptr;
}

void KADOptView::load()
{
    std::string url = iconURL();
    if (auto icon = KADImageCache::sharedInstance().cachedImageWithURL(url)) {
        createOptMenu(std::move(icon));
        return;
    }
    if (!m_connection) {
        m_connection = std::make_unique<KADConnection>(maximumIconSize);
        m_connection->setDelegate(this);
    }
    m_connection->connectionWithURL(url);
}

void KADOptView::stopTimers()
{
    if (m_hideTimer)
        m_hideTimer->invalidate();
    if (m_connection)
        m_connection->cancel();
}

void KADOptView::fail(int number, const std::string& info)
{
    KADError::logErrorMessage(number, info);
    if (m_delegate)
        m_delegate->optViewDidFailToLoad(*this, number);
}

void KADOptView::kadConnectionDidConnect(const std::string& url, const std::string& receiveData)
{
    std::vector<std::uint8_t> bytes(receiveData.begin(), receiveData.end());
    // The icon is drawn at the screen's scale: a "@2x" icon has twice the pixels.
    double scale = url.find("@2x.") != std::string::npos ? 2.0 : 1.0;
    auto icon = ui::Image::fromData("optout-icon", std::move(bytes), scale);
    if (!icon) {
        fail(771, "IMAGE DATA is NULL");
        return;
    }
    KADImageCache::sharedInstance().storeImage(icon, url);
    createOptMenu(std::move(icon));
}

void KADOptView::kadConnectionDidFailToConnect(const std::string&, const std::string& userInfo)
{
    fail(770, userInfo);
}

void KADOptView::kadConnectionDidFailToReceiveData(const std::string&)
{
    fail(771, "DATA is NULL");
}

void KADOptView::kadConnectionDidReceiveTooMuchData(const std::string&)
{
    fail(771, "IMAGE DATA is too large");
}

void KADOptView::createOptMenu(std::shared_ptr<const ui::Image> icon)
{
    if (m_iconView)
        m_iconView->removeFromSuperview();
    if (m_button)
        m_button->removeFromSuperview();
    m_iconView = std::make_shared<ui::ImageView>(ui::Rect { 20, 0, 90, 12 });
    m_iconView->setContentMode(ui::ContentMode::ScaleAspectFit);
    m_iconView->setImage(std::move(icon));
    addSubview(m_iconView);
    m_button = std::make_shared<ui::Button>(ui::ButtonType::Custom, bounds());
    m_button->setAccessibilityIdentifier("kestrel.optout.button");
    addSubview(m_button);
    setButtonAction(&KADOptView::requestOpt);
    setClipsToBounds(true);
    setUserInteractionEnabled(true);
    startHideTimer(firstHideDelay);
    if (m_delegate)
        m_delegate->optViewDidFinishLoad(*this);
}

void KADOptView::setButtonAction(void (KADOptView::*action)())
{
    m_button->removeActions(ui::ControlEvent::TouchUpInside);
    // The tab owns its button, so the action never outlives the tab.
    m_button->addAction(ui::ControlEvent::TouchUpInside, [this, action](ui::Control&) { (this->*action)(); });
}

void KADOptView::startHideTimer(double seconds)
{
    if (m_hideTimer)
        m_hideTimer->invalidate();
    m_hideTimer = foundation::RunLoop::main().scheduledTimer(seconds, foundation::TimerRepeat::Once,
                                                             [this](foundation::Timer&) { moveOut(); });
}

void KADOptView::moveOut()
{
    if (m_hideTimer)
        m_hideTimer->invalidate();
    if (m_movedOut)
        return;
    m_movedOut = true;
    setButtonAction(&KADOptView::moveIn);
    ui::View::animate(slideOutDuration, [this] { setFrame({ m_restX + slideDistance, 0, width, height }); });
}

void KADOptView::moveIn()
{
    m_movedOut = false;
    m_button->removeActions(ui::ControlEvent::TouchUpInside);
    ui::View::animate(slideInDuration, [this] { setFrame({ m_restX, 0, width, height }); });
    startHideTimer(laterHideDelay);
    setButtonAction(&KADOptView::requestOpt);
}

void KADOptView::requestOpt()
{
    openAdPage(privacyURL());
    if (m_hideTimer && m_hideTimer->isValid())
        moveOut();
}

} // namespace ads
