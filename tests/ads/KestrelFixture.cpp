#include "KestrelFixture.h"

#include "app/AdEndpoints.h"
#include "ads/kestrel/KADImageCache.h"
#include "platform/foundation/DataLocations.h"
#include "platform/foundation/Device.h"
#include "platform/ui/Application.h"

namespace adstest {

void KestrelTest::SetUp()
{
    ASSERT_TRUE(m_server.isRunning()) << "the loopback ad server did not start";
    foundation::DataLocations::setProfileDirectory(m_profile.path());
    foundation::Device::current().reset();
    foundation::setLogToStandardError(false);
    ads::AdEndpoints::current().setAll(m_server.origin());
    ads::KADImageCache::sharedInstance().clearMemoryCache();
    ui::Application::shared().reset();
    m_slot = std::make_shared<ui::View>(ui::Rect { 0, 20, 320, 50 });
}

void KestrelTest::TearDown()
{
    ads::AdEndpoints::current() = {};
    foundation::Device::current().reset();
    ui::Application::shared().reset();
    foundation::setLogToStandardError(true);
}

std::shared_ptr<ads::KADView> KestrelTest::startBanner(const std::string& retry)
{
    // A fresh slot each time: a banner of an earlier case goes with its slot.
    m_slot = std::make_shared<ui::View>(ui::Rect { 0, 20, 320, 50 });
    auto view = std::make_shared<ads::KADView>(ui::Rect { 0, 0, 320, 50 });
    view->setDelegate(&m_spy);
    view->setKestrelID("7c4a8d09ca3762af61e59520943dc26494f8941b", "4271");
    m_slot->addSubview(view);
    view->load({ { "retry", retry } });
    return view;
}

bool KestrelTest::waitForEvents(int count)
{
    return testsupport::LoopbackAdServer::waitUntil(m_time, [&] { return m_spy.events() >= count; });
}

bool KestrelTest::advanceAndWait(double seconds, int expectedEvents)
{
    m_time.advance(seconds);
    return waitForEvents(expectedEvents);
}

std::string KestrelTest::imageAnswer(int width, int height, int reload, int imageWidth, int imageHeight, int n) const
{
    return R"([{"status": 200, "json": {"status_code": 200, "response_type": 1, "reload": )" + std::to_string(reload)
        + R"(, "width": )" + std::to_string(width) + R"(, "height": )" + std::to_string(height)
        + R"(, "default_ad": {"image_url": ")" + m_server.origin() + "/img/banner?w=" + std::to_string(imageWidth)
        + "&h=" + std::to_string(imageHeight) + "&n=" + std::to_string(n) + R"(", "click_url": ")" + m_server.origin()
        + "/landing?ad=kestrel-" + std::to_string(n) + R"("}}}])";
}

} // namespace adstest
