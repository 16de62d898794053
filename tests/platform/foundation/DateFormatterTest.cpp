#include "platform/foundation/DateFormatter.h"
#include "platform/foundation/Device.h"

#include <gtest/gtest.h>

#include <cmath>

using foundation::DateFormatter;

// 2013-03-05 14:07:09 UTC
constexpr double instant = 1362492429.0;

TEST(DateFormatter, FormatsInTheGivenZoneAndLocale)
{
    struct Case {
        const char* pattern;
        const char* locale;
        const char* zone;
        const char* expected;
    };
    const Case cases[] = {
        { "M/d h:mm a", "en_US", "UTC", "3/5 2:07 PM" },
        { "M/d h:mm a", "en_US", "Asia/Tokyo", "3/5 11:07 PM" },
        { "MM/dd HH:mm", "en_US", "America/New_York", "03/05 09:07" },
        { "M月d日 H:mm", "ja_JP", "Asia/Tokyo", "3月5日 23:07" },
        { "yyyy-MM-dd", "en_US", "Pacific/Kiritimati", "2013-03-06" },
    };
    for (const auto& c : cases) {
        DateFormatter formatter(c.pattern, c.locale, c.zone);
        ASSERT_TRUE(formatter.isValid()) << c.pattern;
        EXPECT_EQ(formatter.format(instant), c.expected) << c.pattern << " " << c.zone;
    }
}

TEST(DateFormatter, TakesTheDevicesZoneAndLocaleByDefault)
{
    auto& device = foundation::Device::current();
    device.setLanguage("ja");
    device.setTimeZone("Asia/Tokyo");
    EXPECT_EQ(DateFormatter("a h:mm").format(instant), "午後 11:07");
    device.reset();
}

TEST(DateFormatter, UnusablePatternsAndInstantsGiveEmptyTextNotGarbage)
{
    DateFormatter broken("yyyy jjj", "en_US", "UTC");
    EXPECT_FALSE(broken.isValid());
    EXPECT_EQ(broken.format(instant), "");
    DateFormatter fine("yyyy", "en_US", "No/Such_Zone");
    EXPECT_TRUE(fine.isValid());
    EXPECT_EQ(fine.format(std::nan("")), "");
}
