#pragma once
// The CardDAV conversation with one server: finding the user's address books from the
// server's address (the well-known URL, the current user's principal, its address-book home),
// listing a collection's cards with their ETags, asking what changed since a sync token,
// fetching cards, and writing and deleting them on condition of the ETag the client last
// saw, so that nothing on the server is overwritten blindly.
//
// Blocking; uses the HttpClient it is given, which must outlive it.

#include "platform/contactstore/carddav/DavXml.h"
#include "platform/contactstore/carddav/HttpClient.h"

#include <cstddef>
#include <functional>
#include <string>
#include <vector>

namespace contactstore::carddav {

// Why the server could not be used, in the words a user acts on.
struct SyncFailure {
    enum class Kind {
        None,
        // No answer: no such host, connection refused or dropped, a certificate not trusted.
        Unreachable,
        // The server refused the user name or password.
        Unauthorized,
        // The address is not one the client may use (plain HTTP to another machine).
        NotPermitted,
        // The server answered with an error (5xx) or with something that is not CardDAV.
        ServerError,
    };
    Kind kind { Kind::None };
    std::string message;

    explicit operator bool() const { return kind != Kind::None; }
};

struct AddressBookCollection {
    std::string url;
    std::string displayName;
    std::string syncToken;
    bool offersSyncCollection { false };
};

struct CardVersion {
    std::string url;
    std::string etag;
};

struct RemoteCard {
    std::string url;
    std::string etag;
    std::string data;
};

struct ChangeList {
    std::vector<CardVersion> changed;
    std::vector<std::string> removed;
    std::string syncToken;
};

class CardDavClient {
public:
    explicit CardDavClient(HttpClient& http);

    // The address books of the user, starting from what the user typed: a server
    // ("https://dav.example.com"), a principal or home, or one address book's own address.
    [[nodiscard]] SyncFailure discover(const std::string& serverUrl, std::vector<AddressBookCollection>& collections);

    // Every card of the collection with its ETag, and the collection's sync token (empty
    // when the server keeps none).
    [[nodiscard]] SyncFailure listCards(const std::string& collectionUrl, std::vector<CardVersion>& cards,
                                        std::string& syncToken);

    // What changed since the token. tokenRefused is set (and no failure given) when the
    // server no longer knows the token: the caller then lists the whole collection.
    [[nodiscard]] SyncFailure changesSince(const std::string& collectionUrl, const std::string& syncToken,
                                           ChangeList& changes, bool& tokenRefused);

    // The cards at the addresses, in batches; each batch is handed over as it arrives, so a
    // big book is never held whole. A card the server no longer has is left out.
    [[nodiscard]] SyncFailure fetchCards(const std::string& collectionUrl, const std::vector<std::string>& urls,
                                         std::size_t batchSize,
                                         const std::function<void(std::vector<RemoteCard>&)>& batchArrived);

    enum class WriteResult {
        Written,
        // The card on the server is not the one the condition named (412): someone else
        // changed it (or, for a new card, one is there already).
        Conflict,
        // For a delete: there was nothing there anymore.
        Gone,
        Failed,
    };
    // Writes a card: over the version with the ETag, or, with an empty ETag, only where no
    // card is. The new ETag comes back in newEtag when the server tells it.
    [[nodiscard]] WriteResult putCard(const std::string& url, const std::string& data, const std::string& ifMatchEtag,
                                      std::string& newEtag, SyncFailure& failure);
    [[nodiscard]] WriteResult deleteCard(const std::string& url, const std::string& ifMatchEtag, SyncFailure& failure);

    static SyncFailure failureOf(const HttpResponse& response, const std::string& url);

private:
    // A 207 answer read into `answer`; otherwise the failure, an unreadable body being told
    // as `unreadable` followed by why.
    static SyncFailure readMultistatus(const HttpResponse& response, const std::string& url, const std::string& unreadable,
                                       Multistatus& answer);
    // PROPFIND with the given depth, following redirects (each address checked anew); the
    // address finally answering comes back in url.
    SyncFailure propfind(std::string& url, int depth, const std::string& body, Multistatus& answer);

    HttpClient& m_http;
};

} // namespace contactstore::carddav
