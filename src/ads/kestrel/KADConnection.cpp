#include "ads/kestrel/KADConnection.h"

namespace ads {

KADConnection::KADConnection(std::size_t maximumBytes)
    : m_maximumBytes(maximumBytes)
{
}

KADConnection::~KADConnection()
{
    cancel();
}

void KADConnection::connectionWithURL(const std::string& url)
{
    cancel();
    m_connectURL = url;
    m_isCancel = false;
    m_request = HttpClient::shared().get(url, timeoutInterval, m_maximumBytes, [this](HttpResponse response) {
        m_request = 0;
        if (m_isCancel || !m_delegate)
            return;
        // The delegate may drop this connection from inside its callback: nothing of the
        // connection is touched after it.
        std::string url = m_connectURL;
        KADConnectionDelegate* delegate = m_delegate;
        if (response.failed)
            delegate->kadConnectionDidFailToConnect(url, response.errorDescription);
        else if (response.tooLarge)
            delegate->kadConnectionDidReceiveTooMuchData(url);
        else if (response.statusCode != 200)
            delegate->kadConnectionDidFailToReceiveData(url);
        else
            delegate->kadConnectionDidConnect(url, response.body);
    });
}

void KADConnection::cancel()
{
    m_isCancel = true;
    if (m_request != 0) {
        HttpClient::shared().cancel(m_request);
        m_request = 0;
    }
}

} // namespace ads
