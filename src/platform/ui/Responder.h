#pragma once
// The base of everything that can receive touches and text: views and view controllers.
// A responder that does not handle a touch passes it to its next responder (a view's
// controller, or else its superview), the way the handset toolkit does.

#include "platform/ui/Forward.h"

#include <memory>

namespace ui {

class Responder {
public:
    virtual ~Responder() = default;

    // The next in the chain, or null at the end. Not owned.
    virtual Responder* nextResponder() const { return nullptr; }

    // Touch events; each default passes the touch up the chain.
    virtual void touchesBegan(const Touch& touch);
    virtual void touchesMoved(const Touch& touch);
    virtual void touchesEnded(const Touch& touch);
    virtual void touchesCancelled(const Touch& touch);

    // Text focus. Only a responder in a window can take it; the window keeps it.
    virtual bool canBecomeFirstResponder() const { return false; }
    virtual bool becomeFirstResponder() { return false; }
    virtual bool resignFirstResponder() { return true; }
    virtual bool isFirstResponder() const { return false; }
    // Told by the window when the focus arrives and when it leaves (whoever took it away).
    virtual void didBecomeFirstResponder() { }
    virtual void didResignFirstResponder() { }

    // The text editing side of the responder, when it takes typed text. Not owned.
    virtual TextInput* textInput() { return nullptr; }
    // The bar shown above the keyboard while this responder has the focus.
    virtual std::shared_ptr<View> inputAccessoryView() { return nullptr; }
};

} // namespace ui
