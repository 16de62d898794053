#pragma once
// Asks the kestrel ad server for an ad: builds the "/ad.php" request with the credentials,
// the device's facts and the two hashed identifiers, downloads it, and turns the answer
// into a KADAdData for its delegate, or an error number (logged here) when there is none.
//
// Ownership: the banner view owns its api; the delegate (the view) is not owned. One
// request at a time: a new one drops the one still running.

#include "ads/kestrel/KADAdData.h"
#include "ads/kestrel/KADConnection.h"

#include <memory>
#include <string>

namespace ads {

class KADAdApiDelegate {
public:
    virtual ~KADAdApiDelegate() = default;
    virtual void adApiDidEndReceiveData(const KADAdData& data) = 0;
    virtual void adApiDidFailToReceiveData(int number) = 0;
};

class KADAdApi : private KADConnectionDelegate {
public:
    static constexpr const char* sdkVersion = "2.2.0";
    // An answer is a few hundred bytes; a megabyte is far past any real one.
    static constexpr std::size_t maximumAnswerSize = 1024 * 1024;

    KADAdApi() = default;
    ~KADAdApi() override;

    void setDelegate(KADAdApiDelegate* delegate) { m_delegate = delegate; }
    KADAdApiDelegate* delegate() const { return m_delegate; }

    // Sends the request; a missing key is 711, a missing spot 712, told to the delegate at
    // once. Without an ad server nothing is asked.
    void connectAPI(const std::string& apiKey, const std::string& spotID);
    // Drops the request under way.
    void cancel();
    bool isConnecting() const { return m_connection && m_connection->isRunning(); }

    // The request's address on the ad server, every value escaped as UTF-8.
    static std::string requestURL(const std::string& server, const std::string& apiKey, const std::string& spotID);

private:
    void kadConnectionDidConnect(const std::string& url, const std::string& receiveData) override;
    void kadConnectionDidFailToConnect(const std::string& url, const std::string& userInfo) override;
    void kadConnectionDidFailToReceiveData(const std::string& url) override;
    void kadConnectionDidReceiveTooMuchData(const std::string& url) override;
    void fail(int number, const std::string& info);

    KADAdApiDelegate* m_delegate { nullptr };
    std::unique_ptr<KADConnection> m_connection;
};

} // namespace ads
