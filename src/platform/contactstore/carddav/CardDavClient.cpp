#include "platform/contactstore/carddav/CardDavClient.h"

#include <algorithm>

namespace contactstore::carddav {

namespace {

constexpr char kXmlType[] = "Content-Type: application/xml; charset=utf-8";
constexpr int kMaxRedirects = 5;

constexpr char kPrincipalQuery[] = R"(<?xml version="1.0" encoding="utf-8"?>
<d:propfind xmlns:d="DAV:" xmlns:c="urn:ietf:params:xml:ns:carddav"><d:prop>
<d:current-user-principal/><d:resourcetype/><c:addressbook-home-set/><d:displayname/><d:sync-token/><d:supported-report-set/>
</d:prop></d:propfind>)";

constexpr char kHomeQuery[] = R"(<?xml version="1.0" encoding="utf-8"?>
<d:propfind xmlns:d="DAV:" xmlns:c="urn:ietf:params:xml:ns:carddav"><d:prop>
<c:addressbook-home-set/>
</d:prop></d:propfind>)";

constexpr char kCollectionsQuery[] = R"(<?xml version="1.0" encoding="utf-8"?>
<d:propfind xmlns:d="DAV:"><d:prop>
<d:resourcetype/><d:displayname/><d:sync-token/><d:supported-report-set/>
</d:prop></d:propfind>)";

constexpr char kListQuery[] = R"(<?xml version="1.0" encoding="utf-8"?>
<d:propfind xmlns:d="DAV:"><d:prop><d:resourcetype/><d:getetag/><d:sync-token/></d:prop></d:propfind>)";

std::string pathOf(const std::string& url)
{
    return HttpClient::path(url);
}

// Two addresses of one resource, however the trailing slash of a collection was written.
bool sameResource(const std::string& first, const std::string& second)
{
    auto strip = [](std::string url) {
        while (url.size() > 1 && url.back() == '/')
            url.pop_back();
        return url;
    };
    return strip(first) == strip(second);
}

bool isRedirect(long status)
{
    return status == 301 || status == 302 || status == 303 || status == 307 || status == 308;
}

} // namespace

CardDavClient::CardDavClient(HttpClient& http)
    : m_http(http)
{
}

SyncFailure CardDavClient::failureOf(const HttpResponse& response, const std::string& url)
{
    std::string where = HttpClient::origin(url).empty() ? url : HttpClient::origin(url);
    if (response.notPermitted)
        return { SyncFailure::Kind::NotPermitted, response.error };
    if (!response.answered())
        return { SyncFailure::Kind::Unreachable, "The server " + where + " cannot be reached: " + response.error };
    if (response.status == 401)
        return { SyncFailure::Kind::Unauthorized, "The server " + where + " refused the user name or password." };
    if (response.status == 403)
        return { SyncFailure::Kind::Unauthorized, "The server " + where + " does not let this user read " + pathOf(url) + "." };
    return { SyncFailure::Kind::ServerError,
             "The server " + where + " answered " + std::to_string(response.status) + " for " + pathOf(url) + "." };
}

SyncFailure CardDavClient::readMultistatus(const HttpResponse& response, const std::string& url, const std::string& unreadable,
                                           Multistatus& answer)
{
    if (response.status != 207)
        return failureOf(response, url);
    std::string why;
    if (!DavXml::parseMultistatus(response.body, answer, &why))
        return { SyncFailure::Kind::ServerError, unreadable + ": " + why + "." };
    return {};
}

SyncFailure CardDavClient::propfind(std::string& url, int depth, const std::string& body, Multistatus& answer)
{
    for (int hop = 0; hop <= kMaxRedirects; ++hop) {
        HttpResponse response = m_http.request("PROPFIND", url, { kXmlType, "Depth: " + std::to_string(depth) }, body);
        if (isRedirect(response.status) && !response.location.empty()) {
            std::string next = HttpClient::resolve(url, response.location);
            if (next.empty() || next == url)
                break;
            url = next;
            continue;
        }
        return readMultistatus(response, url, "The server at " + url + " is not a CardDAV server", answer);
    }
    return { SyncFailure::Kind::ServerError, "The server sends " + url + " round in redirects." };
}

SyncFailure CardDavClient::discover(const std::string& serverUrl, std::vector<AddressBookCollection>& collections)
{
    collections.clear();
    std::string why;
    if (!HttpClient::permits(serverUrl, m_http.policy(), &why))
        return { SyncFailure::Kind::NotPermitted, why };

    // A bare server address is looked up through its well-known CardDAV address first; a
    // server without one is asked at the address itself.
    std::string context = serverUrl;
    Multistatus answer;
    bool answered = false;
    std::string path = pathOf(serverUrl);
    if (path.empty() || path == "/") {
        context = HttpClient::resolve(serverUrl, "/.well-known/carddav");
        SyncFailure failure = propfind(context, 0, kPrincipalQuery, answer);
        if (failure && failure.kind != SyncFailure::Kind::ServerError)
            return failure;
        answered = !failure;
    }
    if (!answered) {
        context = serverUrl;
        if (SyncFailure failure = propfind(context, 0, kPrincipalQuery, answer))
            return failure;
    }
    if (answer.resources.empty())
        return { SyncFailure::Kind::ServerError, "The server at " + context + " said nothing of the user." };
    const DavResource& found = answer.resources.front();
    // Given one address book's own address: that one alone.
    if (found.isAddressBook) {
        collections.push_back({ context, found.displayName, found.syncToken, found.offersSyncCollection });
        return {};
    }

    std::string home;
    if (!found.addressBookHomeSet.empty()) {
        home = HttpClient::resolve(context, found.addressBookHomeSet);
    } else {
        std::string principal = found.currentUserPrincipal.empty() ? context : HttpClient::resolve(context, found.currentUserPrincipal);
        Multistatus homeAnswer;
        if (auto homeFailure = propfind(principal, 0, kHomeQuery, homeAnswer))
            return homeFailure;
        if (!homeAnswer.resources.empty() && !homeAnswer.resources.front().addressBookHomeSet.empty())
            home = HttpClient::resolve(principal, homeAnswer.resources.front().addressBookHomeSet);
        else
            home = principal;
    }

    Multistatus listing;
    if (auto listFailure = propfind(home, 1, kCollectionsQuery, listing))
        return listFailure;
    for (const DavResource& resource : listing.resources) {
        if (!resource.isAddressBook)
            continue;
        collections.push_back({ HttpClient::resolve(home, resource.href), resource.displayName, resource.syncToken,
                                resource.offersSyncCollection });
    }
    if (collections.empty())
        return { SyncFailure::Kind::ServerError, "The server at " + home + " holds no address book for this user." };
    return {};
}

SyncFailure CardDavClient::listCards(const std::string& collectionUrl, std::vector<CardVersion>& cards, std::string& syncToken)
{
    cards.clear();
    syncToken.clear();
    std::string url = collectionUrl;
    Multistatus answer;
    if (auto failure = propfind(url, 1, kListQuery, answer))
        return failure;
    for (DavResource& resource : answer.resources) {
        std::string cardUrl = HttpClient::resolve(url, resource.href);
        if (sameResource(cardUrl, url)) {
            syncToken = resource.syncToken;
            continue;
        }
        if (resource.isCollection || resource.etag.empty())
            continue;
        cards.push_back({ std::move(cardUrl), std::move(resource.etag) });
    }
    return {};
}

SyncFailure CardDavClient::changesSince(const std::string& collectionUrl, const std::string& syncToken, ChangeList& changes,
                                        bool& tokenRefused)
{
    changes = {};
    tokenRefused = false;
    std::string token = syncToken;
    // A server may answer part of the changes at a time; the token it gives then asks for the rest.
    for (int round = 0; round < 1000; ++round) {
        std::string body = R"(<?xml version="1.0" encoding="utf-8"?>
<d:sync-collection xmlns:d="DAV:"><d:sync-token>)"
            + DavXml::escape(token) + R"(</d:sync-token><d:sync-level>1</d:sync-level><d:prop><d:getetag/></d:prop></d:sync-collection>)";
        HttpResponse response = m_http.request("REPORT", collectionUrl, { kXmlType, "Depth: 0" }, body);
        if (response.status == 403 || response.status == 409) {
            // The token is one the server no longer keeps (valid-sync-token).
            tokenRefused = true;
            changes = {};
            return {};
        }
        Multistatus answer;
        if (SyncFailure failure = readMultistatus(response, collectionUrl, "The server's list of changes cannot be read", answer))
            return failure;
        bool truncated = false;
        for (DavResource& resource : answer.resources) {
            std::string url = HttpClient::resolve(collectionUrl, resource.href);
            if (sameResource(url, collectionUrl)) {
                truncated = truncated || resource.status == 507;
                continue;
            }
            if (resource.status == 404)
                changes.removed.push_back(std::move(url));
            else if (!resource.etag.empty())
                changes.changed.push_back({ std::move(url), std::move(resource.etag) });
        }
        changes.syncToken = answer.syncToken;
        if (!truncated || answer.syncToken.empty() || answer.syncToken == token)
            return {};
        token = answer.syncToken;
    }
    return {};
}

SyncFailure CardDavClient::fetchCards(const std::string& collectionUrl, const std::vector<std::string>& urls,
                                      std::size_t batchSize, const std::function<void(std::vector<RemoteCard>&)>& batchArrived)
{
    batchSize = std::max<std::size_t>(batchSize, 1);
    for (std::size_t start = 0; start < urls.size(); start += batchSize) {
        std::size_t end = std::min(urls.size(), start + batchSize);
        std::string body = R"(<?xml version="1.0" encoding="utf-8"?>
<c:addressbook-multiget xmlns:d="DAV:" xmlns:c="urn:ietf:params:xml:ns:carddav"><d:prop><d:getetag/><c:address-data/></d:prop>)";
        for (std::size_t i = start; i < end; ++i)
            body += "<d:href>" + DavXml::escape(pathOf(urls[i])) + "</d:href>";
        body += "</c:addressbook-multiget>";
        HttpResponse response = m_http.request("REPORT", collectionUrl, { kXmlType, "Depth: 1" }, body);
        Multistatus answer;
        if (SyncFailure failure = readMultistatus(response, collectionUrl, "The server's cards cannot be read", answer))
            return failure;
        response.body.clear();
        response.body.shrink_to_fit();
        std::vector<RemoteCard> cards;
        cards.reserve(answer.resources.size());
        for (DavResource& resource : answer.resources) {
            if (!resource.hasAddressData)
                continue;
            cards.push_back({ HttpClient::resolve(collectionUrl, resource.href), std::move(resource.etag),
                              std::move(resource.addressData) });
        }
        batchArrived(cards);
    }
    return {};
}

CardDavClient::WriteResult CardDavClient::putCard(const std::string& url, const std::string& data,
                                                  const std::string& ifMatchEtag, std::string& newEtag, SyncFailure& failure)
{
    newEtag.clear();
    std::vector<std::string> headers { "Content-Type: text/vcard; charset=utf-8" };
    headers.push_back(ifMatchEtag.empty() ? std::string("If-None-Match: *") : "If-Match: " + ifMatchEtag);
    HttpResponse response = m_http.request("PUT", url, headers, data);
    if (response.status == 412)
        return WriteResult::Conflict;
    if (!response.succeeded()) {
        failure = failureOf(response, url);
        return WriteResult::Failed;
    }
    newEtag = response.etag;
    return WriteResult::Written;
}

CardDavClient::WriteResult CardDavClient::deleteCard(const std::string& url, const std::string& ifMatchEtag, SyncFailure& failure)
{
    std::vector<std::string> headers;
    if (!ifMatchEtag.empty())
        headers.push_back("If-Match: " + ifMatchEtag);
    HttpResponse response = m_http.request("DELETE", url, headers);
    if (response.status == 412)
        return WriteResult::Conflict;
    if (response.status == 404 || response.status == 410)
        return WriteResult::Gone;
    if (!response.succeeded()) {
        failure = failureOf(response, url);
        return WriteResult::Failed;
    }
    return WriteResult::Written;
}

} // namespace contactstore::carddav
