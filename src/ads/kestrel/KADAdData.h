#pragma once
// One answer of the kestrel ad server, and the reader that makes it from the bytes
// received. The reader is lenient the way the network's answers need: a key whose value is
// null counts as missing, numbers may come as numbers or as numeric texts, and a value of
// the wrong kind is left out instead of failing the whole answer. What it refuses (no
// bytes, text that is not UTF-8, an empty text, anything but a JSON object at the top) is
// error 700 with the reason.

#include "ads/kestrel/KADAppTargetingAd.h"
#include "ads/kestrel/KADDefaultAd.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace ads {

struct KADAdReading;

struct KADAdData {
    static constexpr int imageBanner = 1;
    static constexpr int webBanner = 2;
    static constexpr int targetedImageBanner = 3;

    int responseType { 0 };
    int reloadTime { 0 };
    std::optional<std::vector<KADAppTargetingAd>> targetingAdCampaigns;
    std::optional<KADDefaultAd> defaultAd;
    std::optional<std::string> webViewURL;
    int statusCode { 0 };
    std::optional<std::string> message;
    std::optional<double> adWidth;
    std::optional<double> adHeight;

    static KADAdReading read(std::string_view bytes);
};

// The answer read from the received bytes, or the error number (700) and the reason.
struct KADAdReading {
    std::optional<KADAdData> data;
    int error { 0 };
    std::string info;
};

} // namespace ads
