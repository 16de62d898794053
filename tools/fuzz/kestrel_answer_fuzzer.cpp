// libFuzzer target for the reader of the kestrel ad server's answers. Beyond "no crash, no
// hang, no sanitizer report": bytes the reader refuses are error 700, and every address it
// hands on is fit for a URL (only characters a URL holds as they are, "%" always starting
// an escape of two hexadecimal digits), since the addresses go to connections and to the
// device's URL hand-off as they are.

#include "ads/kestrel/KADAdData.h"

#include <cctype>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

namespace {

void checkAddress(const std::optional<std::string>& address)
{
    if (!address)
        return;
    static const std::string_view allowed = "-._~:/?#[]@!$&'()*+,;=";
    const std::string& text = *address;
    for (std::size_t i = 0; i < text.size(); ++i) {
        auto c = static_cast<unsigned char>(text[i]);
        if (c == '%' && i + 2 < text.size() && std::isxdigit(static_cast<unsigned char>(text[i + 1]))
            && std::isxdigit(static_cast<unsigned char>(text[i + 2]))) {
            i += 2;
            continue;
        }
        if (c < 0x80 && (std::isalnum(c) || allowed.find(static_cast<char>(c)) != std::string_view::npos))
            continue;
        std::fprintf(stderr, "address not fit for a URL: %s\n", text.c_str());
        std::abort();
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    ads::KADAdReading reading = ads::KADAdData::read(std::string_view(reinterpret_cast<const char*>(data), size));
    if (!reading.data) {
        if (reading.error != 700 || reading.info.empty())
            std::abort();
        return 0;
    }
    const ads::KADAdData& answer = *reading.data;
    checkAddress(answer.webViewURL);
    if (answer.defaultAd) {
        checkAddress(answer.defaultAd->imageURL);
        checkAddress(answer.defaultAd->clickURL);
    }
    if (answer.targetingAdCampaigns) {
        for (const auto& campaign : *answer.targetingAdCampaigns) {
            checkAddress(campaign.imageURL);
            checkAddress(campaign.clickURL);
            if (!campaign.conditionsGroups)
                continue;
            for (const auto& group : *campaign.conditionsGroups)
                for (const auto& condition : group)
                    checkAddress(condition.urlScheme);
        }
    }
    return 0;
}
