#include "ads/kestrel/KADAdDefaultView.h"

#include "ads/kestrel/KADError.h"
#include "ads/kestrel/KADIdentifier.h"
#include "platform/ui/Button.h"

#include <cmath>

namespace ads {

KADAdDefaultView::KADAdDefaultView(const KADDefaultAd& ad, const ui::Rect& frame)
    : View(frame)
    , m_ad(ad)
{
    setAccessibilityIdentifier("kestrel.banner");
}

KADAdDefaultView::~KADAdDefaultView()
{
    stopTimers();
    if (m_optView)
        m_optView->setDelegate(nullptr);
}

void KADAdDefaultView::prepareAdSetting()
{
    startCreateAD();
}

void KADAdDefaultView::stopTimers()
{
    if (m_optView)
        m_optView->stopTimers();
    if (m_connection)
        m_connection->cancel();
}

void KADAdDefaultView::fail(int number, const std::string& info)
{
    if (!info.empty())
        KADError::logErrorMessage(number, info);
    if (m_delegate)
        m_delegate->defaultViewDidFailLoadWithError(*this, number);
}

void KADAdDefaultView::startCreateAD()
{
    m_optView = std::make_shared<KADOptView>();
    m_optView->positionReset(frame().size.width);
    m_optView->setDelegate(this);
    m_optView->load();
}

void KADAdDefaultView::optViewDidFinishLoad(KADOptView&)
{
    startCreateBannerAd();
}

void KADAdDefaultView::optViewDidFailToLoad(KADOptView&, int number)
{
    // The tab has logged its own failure.
    m_optView.reset();
    fail(number, {});
}

void KADAdDefaultView::startCreateBannerAd()
{
    if (!m_ad.imageURL || m_ad.imageURL->empty()) {
        fail(781, "AD IMAGE URL is empty");
        return;
    }
    if (!m_ad.clickURL || m_ad.clickURL->empty()) {
        fail(781, "AD URL is empty");
        return;
    }
    if (!m_connection) {
        m_connection = std::make_unique<KADConnection>(maximumImageSize);
        m_connection->setDelegate(this);
    }
    m_connection->connectionWithURL(*m_ad.imageURL);
}

void KADAdDefaultView::finishCreateBannerAd(const std::string& bytes)
{
    if (bytes.empty()) {
        fail(781, "AD IMAGE DATA is NULL");
        return;
    }
    auto image = ui::Image::fromData("kestrel-banner", std::vector<std::uint8_t>(bytes.begin(), bytes.end()));
    if (!image) {
        fail(781, "AD IMAGE is NULL");
        return;
    }
    ui::Size size = image->size();
    if (size.width <= 1 || size.height <= 1) {
        fail(781, "AD IMAGE is INVALID");
        return;
    }
    // Some campaigns still deliver the older 48-point banner height.
    if (size.width == 320 && size.height == 48)
        size.height = 50;
    ui::Size banner = frame().size;
    bool sameSize = size.width == banner.width && size.height == banner.height;
    bool doubleSize = size.width == banner.width * 2 && size.height == banner.height * 2;
    if (!sameSize && !doubleSize) {
        KADError::logErrorMessage(791);
        fail(791, {});
        return;
    }
    if (doubleSize) {
        // Counted at scale 2 the picture has the banner's size in points and stays sharp.
        image = ui::Image::fromData("kestrel-banner", image->bytes(), 2.0);
    }
    if (!m_optView) {
        KADError::logErrorMessage(772);
        fail(772, {});
        return;
    }
    if (m_button)
        m_button->removeFromSuperview();
    m_button = std::make_shared<ui::Button>(ui::ButtonType::Custom, bounds());
    m_button->setAccessibilityIdentifier("kestrel.banner.button");
    m_button->setImage(image);
    m_button->setAdjustsImageWhenHighlighted(false);
    m_button->addAction(ui::ControlEvent::TouchUpInside, [this](ui::Control&) { tapAdButton(); });
    m_button->addSubview(m_optView);
    setClipsToBounds(true);
    m_clickURL = m_ad.clickURL.value_or(std::string());
    addSubview(m_button);
    if (m_delegate)
        m_delegate->defaultViewDidFinishLoad(*this);
}

void KADAdDefaultView::tapAdButton()
{
    if (m_clickURL.empty() || !m_delegate)
        return;
    m_delegate->tapAdView(m_clickURL + "&idfa=" + KADIdentifier::IDFAHashString());
}

void KADAdDefaultView::kadConnectionDidConnect(const std::string&, const std::string& receiveData)
{
    finishCreateBannerAd(receiveData);
}

void KADAdDefaultView::kadConnectionDidFailToConnect(const std::string&, const std::string& userInfo)
{
    fail(780, userInfo);
}

void KADAdDefaultView::kadConnectionDidFailToReceiveData(const std::string&)
{
    fail(781, "DATA is NULL");
}

void KADAdDefaultView::kadConnectionDidReceiveTooMuchData(const std::string&)
{
    fail(781, "AD IMAGE DATA is too large");
}

} // namespace ads
