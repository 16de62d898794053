#include "platform/contactstore/carddav/DavXml.h"

#include <libxml/parser.h>
#include <libxml/tree.h>

#include <cstring>
#include <memory>

namespace contactstore::carddav {

namespace {

constexpr char kDav[] = "DAV:";
constexpr char kCardDav[] = "urn:ietf:params:xml:ns:carddav";

bool is(const xmlNode* node, const char* space, const char* name)
{
    return node && node->type == XML_ELEMENT_NODE && node->ns && node->ns->href
        && std::strcmp(reinterpret_cast<const char*>(node->ns->href), space) == 0
        && std::strcmp(reinterpret_cast<const char*>(node->name), name) == 0;
}

const xmlNode* child(const xmlNode* parent, const char* space, const char* name)
{
    for (const xmlNode* node = parent ? parent->children : nullptr; node; node = node->next) {
        if (is(node, space, name))
            return node;
    }
    return nullptr;
}

std::string text(const xmlNode* node)
{
    if (!node)
        return {};
    xmlChar* content = xmlNodeGetContent(node);
    std::string value = content ? reinterpret_cast<const char*>(content) : "";
    xmlFree(content);
    return value;
}

std::string trimmed(std::string value)
{
    auto first = value.find_first_not_of(" \t\r\n");
    if (first == std::string::npos)
        return {};
    auto last = value.find_last_not_of(" \t\r\n");
    return value.substr(first, last - first + 1);
}

void readProperties(const xmlNode* prop, DavResource& resource)
{
    for (const xmlNode* node = prop->children; node; node = node->next) {
        if (is(node, kDav, "getetag")) {
            resource.etag = trimmed(text(node));
        } else if (is(node, kDav, "displayname")) {
            resource.displayName = trimmed(text(node));
        } else if (is(node, kDav, "sync-token")) {
            resource.syncToken = trimmed(text(node));
        } else if (is(node, kCardDav, "address-data")) {
            // The card exactly as sent: its line ends and folding are the card's own.
            resource.addressData = text(node);
            resource.hasAddressData = true;
        } else if (is(node, kDav, "resourcetype")) {
            resource.isCollection = child(node, kDav, "collection") != nullptr;
            resource.isAddressBook = child(node, kCardDav, "addressbook") != nullptr;
        } else if (is(node, kDav, "current-user-principal")) {
            resource.currentUserPrincipal = trimmed(text(child(node, kDav, "href")));
        } else if (is(node, kCardDav, "addressbook-home-set")) {
            resource.addressBookHomeSet = trimmed(text(child(node, kDav, "href")));
        } else if (is(node, kDav, "supported-report-set")) {
            for (const xmlNode* supported = node->children; supported; supported = supported->next) {
                if (child(child(supported, kDav, "report"), kDav, "sync-collection"))
                    resource.offersSyncCollection = true;
            }
        }
    }
}

} // namespace

long DavXml::statusCode(std::string_view line)
{
    auto space = line.find(' ');
    if (space == std::string_view::npos)
        return 0;
    long code = 0;
    for (std::size_t i = space + 1; i < line.size() && line[i] >= '0' && line[i] <= '9' && code < 1000; ++i)
        code = code * 10 + (line[i] - '0');
    return code;
}

std::string DavXml::escape(std::string_view value)
{
    std::string escaped;
    escaped.reserve(value.size());
    for (char c : value) {
        switch (c) {
        case '&': escaped += "&amp;"; break;
        case '<': escaped += "&lt;"; break;
        case '>': escaped += "&gt;"; break;
        case '"': escaped += "&quot;"; break;
        default: escaped += c;
        }
    }
    return escaped;
}

bool DavXml::parseMultistatus(std::string_view body, Multistatus& result, std::string* why)
{
    result = {};
    // No network access and no entity substitution: an answer cannot make the parser fetch
    // or expand anything.
    std::unique_ptr<xmlDoc, decltype(&xmlFreeDoc)> document(
        xmlReadMemory(body.data(), static_cast<int>(body.size()), "answer.xml", nullptr,
                      XML_PARSE_NONET | XML_PARSE_NOERROR | XML_PARSE_NOWARNING | XML_PARSE_HUGE),
        &xmlFreeDoc);
    if (!document) {
        if (why)
            *why = "the server's answer is not well-formed XML";
        return false;
    }
    const xmlNode* root = xmlDocGetRootElement(document.get());
    if (!is(root, kDav, "multistatus")) {
        if (why)
            *why = "the server's answer is not a WebDAV multistatus";
        return false;
    }
    for (const xmlNode* node = root->children; node; node = node->next) {
        if (is(node, kDav, "sync-token")) {
            result.syncToken = trimmed(text(node));
            continue;
        }
        if (!is(node, kDav, "response"))
            continue;
        DavResource resource;
        resource.href = trimmed(text(child(node, kDav, "href")));
        if (const xmlNode* status = child(node, kDav, "status"))
            resource.status = statusCode(trimmed(text(status)));
        for (const xmlNode* propstat = node->children; propstat; propstat = propstat->next) {
            if (!is(propstat, kDav, "propstat"))
                continue;
            long code = statusCode(trimmed(text(child(propstat, kDav, "status"))));
            if (code >= 200 && code < 300) {
                if (const xmlNode* prop = child(propstat, kDav, "prop"))
                    readProperties(prop, resource);
            }
        }
        result.resources.push_back(std::move(resource));
    }
    return true;
}

} // namespace contactstore::carddav
