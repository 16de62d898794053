#pragma once
// One connection to a CardDAV server: HTTP requests over libcurl with the account's
// credentials. Certificates are checked on every HTTPS request; plain HTTP carries the
// password in the clear, so it is refused unless the server is on this machine (a loopback
// address) or the account explicitly allows it. Redirects are not followed here: the
// discovery follows them itself, so each new address passes the same check.
//
// Blocking; one thread at a time. The easy handle is kept, so requests to the same server
// reuse its connection where the server keeps it open.

#include <string>
#include <string_view>
#include <vector>

namespace contactstore::carddav {

struct HttpResponse {
    // 0 when no answer came (see error).
    long status { 0 };
    std::string body;
    // Headers that the protocol needs, as the server wrote them (an ETag keeps its quotes).
    std::string etag;
    std::string location;
    // Why no answer came: the connection was refused or dropped, a certificate failed, ...
    std::string error;
    // Not sent at all: the address is not one the policy allows.
    bool notPermitted { false };

    bool answered() const { return status != 0; }
    bool succeeded() const { return status >= 200 && status < 300; }
};

struct TransportPolicy {
    // Plain HTTP to a server that is not on this machine.
    bool allowPlainHttp { false };
    // A certificate (PEM) trusted besides the system's, for a server with its own authority.
    std::string certificateAuthorityFile;
    // A request that makes no progress for this long is given up. Generous: a server says
    // nothing while it gathers the listing of a big book (Radicale takes minutes for
    // 10,000 cards on a busy machine), and a dropped connection fails at once anyway.
    long stallSeconds { 300 };
};

class HttpClient {
public:
    HttpClient(std::string user, std::string password, TransportPolicy policy);
    ~HttpClient();
    HttpClient(const HttpClient&) = delete;
    HttpClient& operator=(const HttpClient&) = delete;

    // Whether the address may be asked at all under the policy; the reason when not.
    [[nodiscard]] static bool permits(const std::string& url, const TransportPolicy& policy, std::string* why = nullptr);
    // An href of an answer (usually a path) made absolute against the address it came from;
    // empty when it cannot be read.
    static std::string resolve(const std::string& base, const std::string& reference);
    // Scheme, host and port of an address ("https://dav.example.com:8443").
    static std::string origin(const std::string& url);
    // The host and the path of an address; empty when it cannot be read.
    static std::string host(const std::string& url);
    static std::string path(const std::string& url);
    static bool isLoopbackHost(const std::string& url);

    [[nodiscard]] HttpResponse request(std::string_view method, const std::string& url,
                                       const std::vector<std::string>& headers = {}, std::string_view body = {});

    const TransportPolicy& policy() const { return m_policy; }

private:
    void* m_curl { nullptr };
    std::string m_user;
    std::string m_password;
    TransportPolicy m_policy;
};

} // namespace contactstore::carddav
