#pragma once
// Reading the WebDAV multistatus answers of a CardDAV server (PROPFIND, addressbook-multiget,
// sync-collection) into plain values. Elements are matched by namespace and local name,
// never by prefix, since every server picks its own prefixes. Only the properties found
// (a propstat of status 2xx) are taken; the rest are as absent.

#include <string>
#include <string_view>
#include <vector>

namespace contactstore::carddav {

struct DavResource {
    // As the server wrote it: usually a path, percent-encoded.
    std::string href;
    // The response's own status where it has one instead of properties (404: removed since
    // the sync token, in a sync-collection answer); 0 otherwise.
    long status { 0 };
    std::string etag;
    std::string displayName;
    std::string syncToken;
    // The card itself, when it was asked for.
    std::string addressData;
    bool hasAddressData { false };
    bool isCollection { false };
    bool isAddressBook { false };
    bool offersSyncCollection { false };
    std::string currentUserPrincipal;
    std::string addressBookHomeSet;
};

struct Multistatus {
    std::vector<DavResource> resources;
    // The new token of a sync-collection answer.
    std::string syncToken;
    // The server sent only part of the changes (507 on the collection itself): ask again
    // with the new token for the rest.
    bool truncated { false };
};

class DavXml {
public:
    // False with the reason when the text is not a well-formed multistatus.
    [[nodiscard]] static bool parseMultistatus(std::string_view body, Multistatus& result, std::string* why = nullptr);
    // Text made safe to stand inside an element.
    static std::string escape(std::string_view text);
    // The number of an HTTP status line ("HTTP/1.1 404 Not Found" → 404); 0 when none.
    static long statusCode(std::string_view line);
};

} // namespace contactstore::carddav
