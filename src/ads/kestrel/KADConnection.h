#pragma once
// One download for the kestrel client: a GET that ignores cached data and gives up after
// 20 seconds, with its answer handed back on the main run loop. A status other than 200
// is reported as such and its bytes are not delivered, so one download never reports both
// a failure and a success. A body over the connection's size limit is reported as too
// large instead of being read into memory.
//
// Ownership: the delegate is not owned; the connection's owner clears it or outlives the
// connection. Dropping the connection (or cancel()) stops the download at once, and no
// callback comes afterwards.

#include "ads/HttpClient.h"

#include <cstddef>
#include <string>

namespace ads {

class KADConnection;

class KADConnectionDelegate {
public:
    virtual ~KADConnectionDelegate() = default;
    virtual void kadConnectionDidConnect(const std::string& url, const std::string& receiveData) = 0;
    // The transfer failed; `userInfo` is the reason, for a person.
    virtual void kadConnectionDidFailToConnect(const std::string& url, const std::string& userInfo) = 0;
    // The server answered with a status other than 200.
    virtual void kadConnectionDidFailToReceiveData(const std::string& url) = 0;
    // The body was larger than the connection's limit.
    virtual void kadConnectionDidReceiveTooMuchData(const std::string& url) = 0;
};

class KADConnection {
public:
    static constexpr double timeoutInterval = 20;

    explicit KADConnection(std::size_t maximumBytes);
    ~KADConnection();
    KADConnection(const KADConnection&) = delete;
    KADConnection& operator=(const KADConnection&) = delete;

    void setDelegate(KADConnectionDelegate* delegate) { m_delegate = delegate; }
    // Starts downloading the address, cancelling a download still running.
    void connectionWithURL(const std::string& url);
    // Stops the download; no callback comes for it.
    void cancel();

    const std::string& connectURL() const { return m_connectURL; }
    bool isCancel() const { return m_isCancel; }
    bool isRunning() const { return m_request != 0; }

private:
    KADConnectionDelegate* m_delegate { nullptr };
    std::string m_connectURL;
    bool m_isCancel { false };
    std::size_t m_maximumBytes { 0 };
    HttpClient::RequestId m_request { 0 };
};

} // namespace ads
