#include "platform/foundation/Device.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdlib>

namespace foundation {

Device& Device::current()
{
    static Device instance;
    return instance;
}

int Device::systemMajorVersion() const
{
    return std::atoi(m_systemVersion.c_str());
}

int Device::screenWidthPixels() const
{
    return static_cast<int>(std::lround(m_screenWidth * m_screenScale));
}

int Device::screenHeightPixels() const
{
    return static_cast<int>(std::lround(m_screenHeight * m_screenScale));
}

void Device::setScreen(int widthPoints, int heightPoints, double scale)
{
    if (widthPoints <= 0 || heightPoints <= 0 || !(scale >= 1.0))
        return;
    m_screenWidth = widthPoints;
    m_screenHeight = heightPoints;
    m_screenScale = scale;
}

bool Device::setScreenFromText(std::string_view text)
{
    auto number = [](std::string_view digits, int& out) {
        if (digits.empty() || digits.size() > 5)
            return false;
        out = 0;
        for (char c : digits) {
            if (c < '0' || c > '9')
                return false;
            out = out * 10 + (c - '0');
        }
        return out > 0;
    };
    int scale = 2;
    if (auto at = text.find('@'); at != std::string_view::npos) {
        if (!number(text.substr(at + 1), scale) || scale > 4)
            return false;
        text = text.substr(0, at);
    }
    auto x = text.find_first_of("xX");
    int width = 0;
    int height = 0;
    if (x == std::string_view::npos || !number(text.substr(0, x), width) || !number(text.substr(x + 1), height))
        return false;
    setScreen(width, height, scale);
    return true;
}

std::string Device::localeIdentifier() const
{
    if (!m_localeIdentifier.empty())
        return m_localeIdentifier;
    if (m_language == "ja")
        return "ja_JP";
    if (m_language == "en" || m_language == "keys" || m_language.empty())
        return "en_US";
    return m_language;
}

namespace {

std::string schemeKey(std::string_view scheme)
{
    // "myapp://" and "MyApp:" name the same application.
    if (auto colon = scheme.find(':'); colon != std::string_view::npos)
        scheme = scheme.substr(0, colon);
    std::string key(scheme);
    std::transform(key.begin(), key.end(), key.begin(), [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return key;
}

} // namespace

void Device::addInstalledURLScheme(std::string_view scheme)
{
    std::string key = schemeKey(scheme);
    if (!key.empty() && !hasInstalledURLScheme(key))
        m_installedURLSchemes.push_back(std::move(key));
}

bool Device::hasInstalledURLScheme(std::string_view scheme) const
{
    std::string key = schemeKey(scheme);
    return std::find(m_installedURLSchemes.begin(), m_installedURLSchemes.end(), key) != m_installedURLSchemes.end();
}

void Device::reset()
{
    *this = Device();
}

} // namespace foundation
