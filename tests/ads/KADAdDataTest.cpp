// The reader of the ad server's answers: what it refuses, and how leniently it reads the
// fields of what it takes.

#include "ads/kestrel/KADAdData.h"

#include <gtest/gtest.h>

namespace adstest {

TEST(KADAdData, RefusesWhatIsNoAnswerWithItsReason)
{
    struct Case {
        std::string bytes;
        std::string info;
    };
    for (const Case& c : { Case { "", "Response data is nil" }, Case { "\xEF\xBB\xBF", "String length is 0" },
                           Case { "{\"a\": \"\xC3\"}", "String is nil" }, Case { "\xC0\xAF", "String is nil" },
                           Case { "\xED\xA0\x80", "String is nil" }, Case { "[]", "unknown json format" },
                           Case { "42", "unknown json format" }, Case { "{\"a\": ", "unknown json format" },
                           Case { "null", "unknown json format" } }) {
        SCOPED_TRACE(c.bytes);
        ads::KADAdReading reading = ads::KADAdData::read(c.bytes);
        EXPECT_FALSE(reading.data);
        EXPECT_EQ(reading.error, 700);
        EXPECT_EQ(reading.info, c.info);
    }
}

TEST(KADAdData, ReadsFieldsLenientlyAndEscapesAddresses)
{
    ads::KADAdReading reading = ads::KADAdData::read(R"({
        "status_code": "200", "response_type": 1.9, "reload": 1e12, "width": "320", "height": 50.5,
        "message": 7, "web_view_url": "http://a.example/バナー?q=a b&x=%2F",
        "default_ad": {"click_url": "http://a.example/c?x=1", "image_url": null},
        "targeting_ads": [
            {"image_url": "http://i/1", "conditions": [[{"url_scheme": "my app://", "logical_operator": "2"}], []]},
            {"image_url": "http://i/2", "conditions": [{"url_scheme": "x"}]},
            {"image_url": "http://i/3", "conditions": [[1]]},
            "not a campaign"
        ]})");
    ASSERT_TRUE(reading.data);
    const ads::KADAdData& data = *reading.data;
    EXPECT_EQ(data.statusCode, 200);
    EXPECT_EQ(data.responseType, 1);
    EXPECT_EQ(data.reloadTime, 2147483647);
    EXPECT_EQ(data.adWidth, 320);
    EXPECT_EQ(data.adHeight, 50.5);
    EXPECT_FALSE(data.message);
    EXPECT_EQ(data.webViewURL, "http://a.example/%E3%83%90%E3%83%8A%E3%83%BC?q=a%20b&x=%2F");
    ASSERT_TRUE(data.defaultAd);
    EXPECT_EQ(data.defaultAd->clickURL, "http://a.example/c?x=1");
    EXPECT_FALSE(data.defaultAd->imageURL);
    ASSERT_TRUE(data.targetingAdCampaigns);
    ASSERT_EQ(data.targetingAdCampaigns->size(), 3u);
    const auto& first = (*data.targetingAdCampaigns)[0];
    ASSERT_TRUE(first.conditionsGroups);
    ASSERT_EQ(first.conditionsGroups->size(), 2u);
    EXPECT_EQ((*first.conditionsGroups)[0][0].urlScheme, "my%20app://");
    EXPECT_EQ((*first.conditionsGroups)[0][0].logicalOperator, 2);
    EXPECT_TRUE((*first.conditionsGroups)[1].empty());
    // Conditions that are not an array of arrays of objects count as none at all.
    EXPECT_FALSE((*data.targetingAdCampaigns)[1].conditionsGroups);
    EXPECT_FALSE((*data.targetingAdCampaigns)[2].conditionsGroups);
}

TEST(KADAdData, MissingAndNullKeysKeepTheirDefaults)
{
    ads::KADAdReading reading = ads::KADAdData::read(R"({"status_code": null, "width": null, "targeting_ads": {}, "default_ad": []})");
    ASSERT_TRUE(reading.data);
    EXPECT_EQ(reading.data->statusCode, 0);
    EXPECT_FALSE(reading.data->adWidth);
    EXPECT_FALSE(reading.data->targetingAdCampaigns);
    EXPECT_FALSE(reading.data->defaultAd);
}

} // namespace adstest
