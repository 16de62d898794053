#include "platform/ui/Pasteboard.h"

namespace ui {

Pasteboard& Pasteboard::generalPasteboard()
{
    static Pasteboard instance;
    return instance;
}

void Pasteboard::setString(std::string text)
{
    m_string = std::move(text);
    ++m_changeCount;
    if (m_changeHandler)
        m_changeHandler(*m_string);
}

void Pasteboard::reset()
{
    m_string.reset();
    m_changeHandler = nullptr;
    ++m_changeCount;
}

} // namespace ui
