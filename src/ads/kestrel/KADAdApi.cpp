#include "ads/kestrel/KADAdApi.h"

#include "app/AdEndpoints.h"
#include "ads/URLText.h"
#include "ads/kestrel/KADError.h"
#include "ads/kestrel/KADIdentifier.h"
#include "platform/foundation/Device.h"

namespace ads {

KADAdApi::~KADAdApi()
{
    cancel();
}

std::string KADAdApi::requestURL(const std::string& server, const std::string& apiKey, const std::string& spotID)
{
    const auto& device = foundation::Device::current();
    // "&" or "=" inside a value would start a key of its own.
    auto value = [](const std::string& text) { return URLText::escapedQueryValue(text); };
    std::string url = server + "/ad.php?apikey=" + value(apiKey) + "&spot=" + value(spotID)
        + "&uid=" + KADIdentifier::UIIDHashString() + "&sdkver=" + sdkVersion + "&os=" + value("iPhone OS")
        + "&version=" + value(device.systemVersion()) + "&model=" + value(device.model())
        + "&localize=" + value(device.language()) + "&idfa=" + KADIdentifier::IDFAHashString();
    return URLText::escapedAsUTF8(url);
}

void KADAdApi::connectAPI(const std::string& apiKey, const std::string& spotID)
{
    if (apiKey.empty()) {
        fail(711, {});
        return;
    }
    if (spotID.empty()) {
        fail(712, {});
        return;
    }
    const std::string& server = AdEndpoints::current().kestrelServer;
    if (server.empty())
        return;
    if (!m_connection) {
        m_connection = std::make_unique<KADConnection>(maximumAnswerSize);
        m_connection->setDelegate(this);
    }
    m_connection->connectionWithURL(requestURL(server, apiKey, spotID));
}

void KADAdApi::cancel()
{
    if (m_connection)
        m_connection->cancel();
}

void KADAdApi::fail(int number, const std::string& info)
{
    if (info.empty())
        KADError::logErrorMessage(number);
    else
        KADError::logErrorMessage(number, info);
    if (m_delegate)
        m_delegate->adApiDidFailToReceiveData(number);
}

void KADAdApi::kadConnectionDidConnect(const std::string&, const std::string& receiveData)
{
    KADAdReading reading = KADAdData::read(receiveData);
    if (!reading.data) {
        fail(reading.error, reading.info);
        return;
    }
    if (m_delegate)
        m_delegate->adApiDidEndReceiveData(*reading.data);
}

void KADAdApi::kadConnectionDidFailToConnect(const std::string&, const std::string& userInfo)
{
    fail(730, userInfo);
}

void KADAdApi::kadConnectionDidFailToReceiveData(const std::string&)
{
    fail(730, "http status error");
}

void KADAdApi::kadConnectionDidReceiveTooMuchData(const std::string&)
{
    fail(700, "Response data is too large");
}

} // namespace ads
