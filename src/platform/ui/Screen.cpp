#include "platform/ui/Screen.h"

#include "platform/foundation/Device.h"

namespace ui {

const Screen& Screen::mainScreen()
{
    static const Screen instance;
    return instance;
}

Rect Screen::bounds() const
{
    const auto& device = foundation::Device::current();
    return { 0, 0, double(device.screenWidthPoints()), double(device.screenHeightPoints()) };
}

Rect Screen::applicationFrame() const
{
    Rect whole = bounds();
    if (foundation::Device::current().systemMajorVersion() >= 7)
        return whole;
    return { 0, statusBarHeight, whole.width(), whole.height() - statusBarHeight };
}

double Screen::scale() const
{
    return foundation::Device::current().screenScale();
}

Size Screen::currentModePixelSize() const
{
    const auto& device = foundation::Device::current();
    return { double(device.screenWidthPixels()), double(device.screenHeightPixels()) };
}

} // namespace ui
