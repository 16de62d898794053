#include "platform/contactstore/carddav/HttpClient.h"

#include <curl/curl.h>

#include <algorithm>
#include <cctype>
#include <mutex>

namespace contactstore::carddav {

namespace {

// A card with a large photo is a few megabytes; a listing of a big book some tens. An answer
// beyond this is not one a contacts server sends.
constexpr std::size_t kMaxBodyBytes = 256u << 20;

struct Transfer {
    HttpResponse* response;
    bool tooLarge { false };
};

size_t collectBody(char* data, size_t size, size_t count, void* context)
{
    auto* transfer = static_cast<Transfer*>(context);
    std::size_t bytes = size * count;
    if (transfer->response->body.size() + bytes > kMaxBodyBytes) {
        transfer->tooLarge = true;
        return 0;
    }
    transfer->response->body.append(data, bytes);
    return bytes;
}

std::string trimmed(std::string_view text)
{
    while (!text.empty() && std::isspace(static_cast<unsigned char>(text.front())))
        text.remove_prefix(1);
    while (!text.empty() && std::isspace(static_cast<unsigned char>(text.back())))
        text.remove_suffix(1);
    return std::string(text);
}

size_t collectHeader(char* data, size_t size, size_t count, void* context)
{
    auto* transfer = static_cast<Transfer*>(context);
    std::string_view line(data, size * count);
    auto colon = line.find(':');
    if (colon != std::string_view::npos) {
        std::string name(line.substr(0, colon));
        std::transform(name.begin(), name.end(), name.begin(), [](unsigned char c) { return std::tolower(c); });
        if (name == "etag")
            transfer->response->etag = trimmed(line.substr(colon + 1));
        else if (name == "location")
            transfer->response->location = trimmed(line.substr(colon + 1));
    } else if (line.starts_with("HTTP/")) {
        // A new block of headers (after a 100 Continue): only the last answer's count.
        transfer->response->etag.clear();
        transfer->response->location.clear();
    }
    return size * count;
}

void initialiseOnce()
{
    static std::once_flag once;
    std::call_once(once, [] { curl_global_init(CURL_GLOBAL_DEFAULT); });
}

std::string urlPart(const std::string& url, CURLUPart part)
{
    CURLU* handle = curl_url();
    std::string value;
    if (curl_url_set(handle, CURLUPART_URL, url.c_str(), 0) == CURLUE_OK) {
        char* text = nullptr;
        if (curl_url_get(handle, part, &text, part == CURLUPART_PORT ? CURLU_DEFAULT_PORT : 0) == CURLUE_OK && text) {
            value = text;
            curl_free(text);
        }
    }
    curl_url_cleanup(handle);
    return value;
}

} // namespace

HttpClient::HttpClient(std::string user, std::string password, TransportPolicy policy)
    : m_user(std::move(user))
    , m_password(std::move(password))
    , m_policy(std::move(policy))
{
    initialiseOnce();
    m_curl = curl_easy_init();
}

HttpClient::~HttpClient()
{
    if (m_curl)
        curl_easy_cleanup(static_cast<CURL*>(m_curl));
}

std::string HttpClient::host(const std::string& url)
{
    return urlPart(url, CURLUPART_HOST);
}

std::string HttpClient::path(const std::string& url)
{
    return urlPart(url, CURLUPART_PATH);
}

bool HttpClient::isLoopbackHost(const std::string& url)
{
    std::string host = urlPart(url, CURLUPART_HOST);
    std::transform(host.begin(), host.end(), host.begin(), [](unsigned char c) { return std::tolower(c); });
    return host == "localhost" || host.starts_with("127.") || host == "[::1]";
}

bool HttpClient::permits(const std::string& url, const TransportPolicy& policy, std::string* why)
{
    std::string scheme = urlPart(url, CURLUPART_SCHEME);
    if (scheme == "https")
        return true;
    if (scheme == "http") {
        if (policy.allowPlainHttp || isLoopbackHost(url))
            return true;
        if (why)
            *why = url + " is plain HTTP, which would send the password unencrypted; use https:// (or "
                         "allow plain HTTP explicitly)";
        return false;
    }
    if (why)
        *why = url.empty() ? std::string("no server address") : url + " is not an http:// or https:// address";
    return false;
}

std::string HttpClient::resolve(const std::string& base, const std::string& reference)
{
    CURLU* handle = curl_url();
    std::string value;
    if (curl_url_set(handle, CURLUPART_URL, base.c_str(), 0) == CURLUE_OK
        && curl_url_set(handle, CURLUPART_URL, reference.c_str(), 0) == CURLUE_OK) {
        char* text = nullptr;
        if (curl_url_get(handle, CURLUPART_URL, &text, 0) == CURLUE_OK && text) {
            value = text;
            curl_free(text);
        }
    }
    curl_url_cleanup(handle);
    return value;
}

std::string HttpClient::origin(const std::string& url)
{
    std::string scheme = urlPart(url, CURLUPART_SCHEME);
    std::string host = urlPart(url, CURLUPART_HOST);
    std::string port = urlPart(url, CURLUPART_PORT);
    if (scheme.empty() || host.empty())
        return {};
    bool usual = (scheme == "https" && port == "443") || (scheme == "http" && port == "80");
    return scheme + "://" + host + (usual || port.empty() ? "" : ":" + port);
}

HttpResponse HttpClient::request(std::string_view method, const std::string& url, const std::vector<std::string>& headers,
                                 std::string_view body)
{
    HttpResponse response;
    std::string refusal;
    if (!permits(url, m_policy, &refusal)) {
        response.error = refusal;
        response.notPermitted = true;
        return response;
    }
    auto* curl = static_cast<CURL*>(m_curl);
    if (!curl) {
        response.error = "the HTTP library could not be started";
        return response;
    }
    curl_easy_reset(curl);
    Transfer transfer { &response };
    std::string methodText(method);
    char errorBuffer[CURL_ERROR_SIZE] = {};

    curl_slist* list = nullptr;
    for (const std::string& header : headers)
        list = curl_slist_append(list, header.c_str());
    // No "Expect: 100-continue" pause before each upload.
    list = curl_slist_append(list, "Expect:");

    curl_easy_setopt(curl, CURLOPT_URL, url.c_str());
    curl_easy_setopt(curl, CURLOPT_CUSTOMREQUEST, methodText.c_str());
    curl_easy_setopt(curl, CURLOPT_HTTPHEADER, list);
    curl_easy_setopt(curl, CURLOPT_ERRORBUFFER, errorBuffer);
    curl_easy_setopt(curl, CURLOPT_NOSIGNAL, 1L);
    curl_easy_setopt(curl, CURLOPT_PROTOCOLS_STR, "http,https");
    curl_easy_setopt(curl, CURLOPT_FOLLOWLOCATION, 0L);
    curl_easy_setopt(curl, CURLOPT_SSL_VERIFYPEER, 1L);
    curl_easy_setopt(curl, CURLOPT_SSL_VERIFYHOST, 2L);
    if (!m_policy.certificateAuthorityFile.empty())
        curl_easy_setopt(curl, CURLOPT_CAINFO, m_policy.certificateAuthorityFile.c_str());
    curl_easy_setopt(curl, CURLOPT_CONNECTTIMEOUT, 15L);
    curl_easy_setopt(curl, CURLOPT_LOW_SPEED_LIMIT, 1L);
    curl_easy_setopt(curl, CURLOPT_LOW_SPEED_TIME, m_policy.stallSeconds);
    curl_easy_setopt(curl, CURLOPT_ACCEPT_ENCODING, "");
    if (!m_user.empty()) {
        curl_easy_setopt(curl, CURLOPT_HTTPAUTH, static_cast<long>(CURLAUTH_BASIC));
        curl_easy_setopt(curl, CURLOPT_USERNAME, m_user.c_str());
        curl_easy_setopt(curl, CURLOPT_PASSWORD, m_password.c_str());
    }
    if (!body.empty() || method == "PUT" || method == "POST") {
        // The body goes as it is; the method named above is what the server sees.
        curl_easy_setopt(curl, CURLOPT_POSTFIELDS, body.empty() ? "" : body.data());
        curl_easy_setopt(curl, CURLOPT_POSTFIELDSIZE_LARGE, static_cast<curl_off_t>(body.size()));
    } else if (method == "HEAD") {
        curl_easy_setopt(curl, CURLOPT_NOBODY, 1L);
    }
    curl_easy_setopt(curl, CURLOPT_WRITEFUNCTION, collectBody);
    curl_easy_setopt(curl, CURLOPT_WRITEDATA, &transfer);
    curl_easy_setopt(curl, CURLOPT_HEADERFUNCTION, collectHeader);
    curl_easy_setopt(curl, CURLOPT_HEADERDATA, &transfer);

    CURLcode result = curl_easy_perform(curl);
    curl_slist_free_all(list);
    if (result != CURLE_OK) {
        response.status = 0;
        response.body.clear();
        response.error = transfer.tooLarge ? std::string("the server's answer is too large")
                                           : std::string(errorBuffer[0] ? errorBuffer : curl_easy_strerror(result));
        return response;
    }
    curl_easy_getinfo(curl, CURLINFO_RESPONSE_CODE, &response.status);
    return response;
}

} // namespace contactstore::carddav
