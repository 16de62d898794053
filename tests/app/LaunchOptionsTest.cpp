// The launch options that describe the simulated handset.

#include "app/AdEndpoints.h"
#include "app/LaunchOptions.h"
#include "app/Utility.h"
#include "platform/contactstore/AccessControl.h"
#include "platform/foundation/Device.h"
#include "platform/services/MessageComposeViewController.h"

#include <gtest/gtest.h>

namespace apptest {
namespace {

using Args = std::vector<std::string_view>;

class LaunchOptionsTest : public ::testing::Test {
protected:
    void TearDown() override
    {
        foundation::Device::current().reset();
        contactstore::AccessControl::setAccessRefused(false);
        services::MessageComposeViewController::setCanSendText(false);
        ads::AdEndpoints::current() = {};
    }
};

TEST_F(LaunchOptionsTest, DeviceOptionsAreAppliedAndTakenOutLeavingTheRestInOrder)
{
    Args args { "--device-model", "iPod touch", "export", "--screen", "320x480", "--system-version", "6.1",
                "--language", "ja", "--deny-contacts-access", "--can-send-text", "out.vcf" };
    std::string error;
    ASSERT_TRUE(tessaro::LaunchOptions::apply(args, error)) << error;
    EXPECT_EQ(args, (Args { "export", "out.vcf" }));

    auto& device = foundation::Device::current();
    EXPECT_EQ(device.model(), "iPod touch");
    EXPECT_EQ(device.systemVersion(), "6.1");
    EXPECT_EQ(device.language(), "ja");
    EXPECT_TRUE(contactstore::AccessControl::isAccessRefused());
    EXPECT_TRUE(services::MessageComposeViewController::canSendText());
    EXPECT_TRUE(tessaro::Utility::isiTouch());
    EXPECT_FALSE(tessaro::Utility::isiPhone5());
    EXPECT_FALSE(tessaro::Utility::isIOS7());
}

TEST_F(LaunchOptionsTest, BannerServersAndAdvertisingFactsAreLaunchOptions)
{
    Args args { "--ad-server", "http://127.0.0.1:8080/", "--kestrel-server", "https://ads.example", "--advertising-id",
                "00000000-0000-0000-0000-000000000001", "--limit-ad-tracking", "--installed-app", "MyApp://" };
    std::string error;
    ASSERT_TRUE(tessaro::LaunchOptions::apply(args, error)) << error;
    EXPECT_TRUE(args.empty());
    const auto& endpoints = ads::AdEndpoints::current();
    EXPECT_EQ(endpoints.kestrelServer, "https://ads.example");
    EXPECT_EQ(endpoints.admobServer, "http://127.0.0.1:8080");
    EXPECT_EQ(endpoints.platformServer, "http://127.0.0.1:8080");
    auto& device = foundation::Device::current();
    EXPECT_EQ(device.advertisingIdentifier(), "00000000-0000-0000-0000-000000000001");
    EXPECT_FALSE(device.isAdvertisingTrackingEnabled());
    EXPECT_TRUE(device.hasInstalledURLScheme("myapp"));
}

TEST_F(LaunchOptionsTest, AScreenMayNameItsScale)
{
    Args args { "--screen", "320x568@1" };
    std::string error;
    ASSERT_TRUE(tessaro::LaunchOptions::apply(args, error)) << error;
    EXPECT_EQ(foundation::Device::current().screenHeightPixels(), 568);
    EXPECT_FALSE(tessaro::Utility::isiPhone5());
}

TEST_F(LaunchOptionsTest, BadValuesAreRefusedWithAMessageAndNothingIsApplied)
{
    for (const auto& bad : std::vector<Args> {
             { "--language", "ja", "--screen", "tall" },
             { "--screen", "320x" },
             { "--screen", "0x480" },
             { "--screen", "320x480@9" },
             { "--system-version", "seven" },
             { "--system-version" },
             { "--language", "fr" },
             { "--device-model" },
             { "--ad-server", "ftp://127.0.0.1" },
             { "--ad-server", "http://" },
             { "--admob-server", "127.0.0.1:8080" },
             { "--installed-app", "" },
         }) {
        Args args = bad;
        std::string error;
        EXPECT_FALSE(tessaro::LaunchOptions::apply(args, error)) << bad[0];
        EXPECT_FALSE(error.empty()) << bad[0];
        EXPECT_EQ(foundation::Device::current().language(), "en");
        EXPECT_EQ(foundation::Device::current().screenHeightPoints(), 568);
        EXPECT_TRUE(ads::AdEndpoints::current().admobServer.empty());
    }
}

} // namespace
} // namespace apptest
