#include "platform/ui/Responder.h"

namespace ui {

void Responder::touchesBegan(const Touch& touch)
{
    if (auto* next = nextResponder())
        next->touchesBegan(touch);
}

void Responder::touchesMoved(const Touch& touch)
{
    if (auto* next = nextResponder())
        next->touchesMoved(touch);
}

void Responder::touchesEnded(const Touch& touch)
{
    if (auto* next = nextResponder())
        next->touchesEnded(touch);
}

void Responder::touchesCancelled(const Touch& touch)
{
    if (auto* next = nextResponder())
        next->touchesCancelled(touch);
}

} // namespace ui
