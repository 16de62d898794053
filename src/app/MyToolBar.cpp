#include "app/MyToolBar.h"

namespace tessaro {

MyToolBar::MyToolBar(const ui::Rect& frame)
    : ui::Toolbar(frame)
{
    setOpaque(false);
    setBackgroundColor(ui::Color::clearColor());
}

void MyToolBar::draw(ui::Painter& /*painter*/)
{
}

} // namespace tessaro
