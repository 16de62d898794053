#pragma once
// What every kestrel test stands on: a fresh profile (for the keychain), the manual clock,
// the loopback ad server as every network's server, and a delegate that counts.

#include "ads/kestrel/KADView.h"
#include "platform/foundation/Log.h"
#include "support/LoopbackAdServer.h"
#include "support/ManualTime.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

namespace adstest {

struct KADSpy : ads::KADViewDelegate {
    int finished { 0 };
    int received { 0 };
    int failed { 0 };
    int clicked { 0 };
    std::vector<int> codes;
    std::vector<int> numbers;

    void kadViewDidFinishLoad(ads::KADView&) override { ++finished; }
    void kadViewDidReceiveAd(ads::KADView&) override { ++received; }
    void kadViewDidFailToReceiveAd(ads::KADView& view) override
    {
        ++failed;
        codes.push_back(view.error() ? view.error()->code : -99);
        numbers.push_back(view.error() ? view.error()->number : -99);
    }
    void kadViewDidClickAd(ads::KADView&) override { ++clicked; }
    int events() const { return received + failed; }
};

class KestrelTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // A banner view in a slot, with the spy as delegate, credentials given and started.
    std::shared_ptr<ads::KADView> startBanner(const std::string& retry = "35");
    // Turns the run loop until the spy has heard of `count` shown or failed ads in all.
    bool waitForEvents(int count);
    // Moves the clock on and waits until the request it causes has been answered.
    bool advanceAndWait(double seconds, int expectedEvents);

    // A kestrel answer of an image banner; the picture is w × h pixels.
    std::string imageAnswer(int width, int height, int reload, int imageWidth, int imageHeight, int n = 1) const;

    testsupport::TempDir m_profile;
    testsupport::ManualTime m_time;
    testsupport::LoopbackAdServer m_server;
    foundation::LogCapture m_log;
    KADSpy m_spy;
    std::shared_ptr<ui::View> m_slot;
};

} // namespace adstest
