#include "app/AdEndpoints.h"

namespace ads {

AdEndpoints& AdEndpoints::current()
{
    static AdEndpoints endpoints;
    return endpoints;
}

void AdEndpoints::setAll(std::string_view server)
{
    kestrelServer = admobServer = platformServer = std::string(server);
}

std::string AdEndpoints::normalized(std::string_view server)
{
    std::string text(server);
    while (!text.empty() && text.back() == '/')
        text.pop_back();
    std::string_view rest;
    if (text.rfind("http://", 0) == 0)
        rest = std::string_view(text).substr(7);
    else if (text.rfind("https://", 0) == 0)
        rest = std::string_view(text).substr(8);
    else
        return {};
    if (rest.empty() || rest.front() == '/' || rest.find_first_of(" \t\r\n?#") != std::string_view::npos)
        return {};
    return text;
}

} // namespace ads
