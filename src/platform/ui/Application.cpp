#include "platform/ui/Application.h"

#include "platform/foundation/Device.h"
#include "platform/foundation/Log.h"

#include <cctype>
#include <utility>

namespace ui {

Application& Application::shared()
{
    static Application instance;
    return instance;
}

std::string Application::schemeOf(const std::string& url)
{
    auto colon = url.find(':');
    if (colon == std::string::npos || colon == 0)
        return {};
    if (!std::isalpha(static_cast<unsigned char>(url[0])))
        return {};
    std::string scheme;
    for (std::size_t i = 0; i < colon; ++i) {
        auto c = static_cast<unsigned char>(url[i]);
        if (!std::isalnum(c) && c != '+' && c != '-' && c != '.')
            return {};
        scheme += static_cast<char>(std::tolower(c));
    }
    return scheme;
}

bool Application::isWellFormedURL(const std::string& url)
{
    if (schemeOf(url).empty())
        return false;
    static const std::string allowed = "-._~:/?#[]@!$&'()*+,;=";
    for (std::size_t i = 0; i < url.size(); ++i) {
        auto c = static_cast<unsigned char>(url[i]);
        if (c == '%') {
            if (i + 2 >= url.size() || !std::isxdigit(static_cast<unsigned char>(url[i + 1]))
                || !std::isxdigit(static_cast<unsigned char>(url[i + 2])))
                return false;
            i += 2;
            continue;
        }
        if (c < 0x80 && (std::isalnum(c) || allowed.find(static_cast<char>(c)) != std::string::npos))
            continue;
        return false;
    }
    return true;
}

bool Application::openURL(const std::string& url)
{
    if (!isWellFormedURL(url)) {
        foundation::log("openURL: not a URL: " + url);
        return false;
    }
    if (!canOpenURL(url)) {
        foundation::log("openURL: nothing on this device opens " + url);
        return false;
    }
    m_openedURLs.push_back(url);
    if (!m_opener)
        return true;
    return m_opener(url);
}

bool Application::canOpenURL(const std::string& url) const
{
    if (!isWellFormedURL(url))
        return false;
    if (m_checker)
        return m_checker(url);
    auto scheme = schemeOf(url);
    bool canPhone = foundation::Device::current().model().find("touch") == std::string::npos;
    if (scheme == "tel" || scheme == "sms")
        return canPhone;
    if (foundation::Device::current().hasInstalledURLScheme(scheme))
        return true;
    return scheme == "http" || scheme == "https" || scheme == "mailto" || scheme == "facetime";
}

std::vector<std::string> Application::takeOpenedURLs()
{
    return std::exchange(m_openedURLs, {});
}

void Application::reset()
{
    m_openedURLs.clear();
    m_opener = nullptr;
    m_checker = nullptr;
}

void Application::windowWillGo(const Window& window)
{
    if (m_keyWindow == &window)
        m_keyWindow = nullptr;
}

} // namespace ui
