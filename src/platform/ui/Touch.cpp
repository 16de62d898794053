#include "platform/ui/Touch.h"

#include "platform/ui/View.h"

namespace ui {

Point Touch::locationIn(const View& view) const
{
    return view.convertPointFromView(locationInWindow, nullptr);
}

Point Touch::previousLocationIn(const View& view) const
{
    return view.convertPointFromView(previousLocationInWindow, nullptr);
}

} // namespace ui
