#include "app/RootGeometry.h"

#include "app/Utility.h"

namespace tessaro {

namespace {

double extra()
{
    return Utility::iPhone4to5SubSize();
}

double bar()
{
    return Utility::getStatusBarHeight();
}

} // namespace

ui::Rect RootGeometry::windowFrame()
{
    return { 0, 0, 320, 480 + extra() };
}

ui::Rect RootGeometry::rootViewFrame()
{
    return { 0, 0, 320, 460 + extra() };
}

ui::Rect RootGeometry::busyOverlayFrame()
{
    return { 0, 0, 320, 460 + extra() + bar() };
}

ui::Rect RootGeometry::bannerSlotFrame()
{
    return { 0, bar(), 320, kBannerHeight };
}

ui::Rect RootGeometry::tabControllerInitialFrame()
{
    return { 0, bar() + kBannerHeight, 320, 410 + extra() - bar() };
}

ui::Rect RootGeometry::tabControllerFrame()
{
    return { 0, bar() + kBannerHeight, 320, 410 + extra() };
}

ui::Rect RootGeometry::keypadHiddenFrame()
{
    return { 0, overlayHiddenY(), 320, 480 + extra() };
}

double RootGeometry::detailStartY()
{
    return 460 + extra();
}

double RootGeometry::overlayHiddenY()
{
    return 480 + extra();
}

} // namespace tessaro
