#include "platform/ui/TextFocus.h"

#include "platform/ui/View.h"
#include "platform/ui/Window.h"

namespace ui {

bool TextFocus::become(View& text, const std::function<bool()>& shouldBegin)
{
    if (text.isFirstResponder())
        return true;
    auto* host = text.window();
    if (!host) {
        m_focusOnArrival = text.canBecomeFirstResponder();
        return false;
    }
    if (!text.canBecomeFirstResponder())
        return false;
    if (!shouldBegin())
        return false;
    if (auto* current = host->firstResponder(); current && current != &text && !current->resignFirstResponder())
        return false;
    return text.View::becomeFirstResponder();
}

bool TextFocus::resign(View& text, const std::function<bool()>& shouldEnd)
{
    m_focusOnArrival = false;
    if (!text.isFirstResponder())
        return true;
    if (!shouldEnd())
        return false;
    return text.View::resignFirstResponder();
}

void TextFocus::arrived(View& text)
{
    if (m_focusOnArrival && text.window()) {
        m_focusOnArrival = false;
        text.becomeFirstResponder();
    }
}

} // namespace ui
