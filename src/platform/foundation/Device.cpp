#include "platform/foundation/Device.h"

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

void Device::reset()
{
    *this = Device();
}

} // namespace foundation
