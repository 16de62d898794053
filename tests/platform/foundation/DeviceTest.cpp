#include "platform/foundation/Device.h"

#include <gtest/gtest.h>

using foundation::Device;

TEST(Device, ScreenOptionIsReadInPointsWithAnOptionalScale)
{
    Device device;
    struct Case {
        const char* text;
        bool accepted;
        int width;
        int height;
        int pixelHeight;
    };
    const Case cases[] = {
        { "320x480", true, 320, 480, 960 },
        { "320X568", true, 320, 568, 1136 },
        { "320x480@1", true, 320, 480, 480 },
        { "320x", false, 320, 480, 480 },
        { "x480", false, 320, 480, 480 },
        { "-320x480", false, 320, 480, 480 },
        { "320x480@9", false, 320, 480, 480 },
        { "0x480", false, 320, 480, 480 },
        { "99999999x1", false, 320, 480, 480 },
    };
    for (const auto& c : cases) {
        EXPECT_EQ(device.setScreenFromText(c.text), c.accepted) << c.text;
        EXPECT_EQ(device.screenWidthPoints(), c.width) << c.text;
        EXPECT_EQ(device.screenHeightPoints(), c.height) << c.text;
        EXPECT_EQ(device.screenHeightPixels(), c.pixelHeight) << c.text;
    }
}

TEST(Device, SystemVersionAndLocaleFollowWhatWasSet)
{
    Device device;
    EXPECT_EQ(device.systemMajorVersion(), 7);
    device.setSystemVersion("6.1.3");
    EXPECT_EQ(device.systemMajorVersion(), 6);
    device.setSystemVersion("beta");
    EXPECT_EQ(device.systemMajorVersion(), 0);
    device.setLanguage("ja");
    EXPECT_EQ(device.localeIdentifier(), "ja_JP");
    device.setLanguage("keys");
    EXPECT_EQ(device.localeIdentifier(), "en_US");
    device.setLocaleIdentifier("en_GB");
    EXPECT_EQ(device.localeIdentifier(), "en_GB");
}
