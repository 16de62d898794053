// The launch options that describe the simulated handset.

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
         }) {
        Args args = bad;
        std::string error;
        EXPECT_FALSE(tessaro::LaunchOptions::apply(args, error)) << bad[0];
        EXPECT_FALSE(error.empty()) << bad[0];
        EXPECT_EQ(foundation::Device::current().language(), "en");
        EXPECT_EQ(foundation::Device::current().screenHeightPoints(), 568);
    }
}

} // namespace
} // namespace apptest
