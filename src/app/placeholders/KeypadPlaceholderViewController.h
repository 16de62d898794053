#pragma once
// Stands over the tabs for the keypad dialer until that screen lands: a white page with a
// button that asks the root to slide it away, so the keypad's way in and out can be used.
//
// Ownership: made and kept by the root; keeps the root as a plain pointer (the root owns it).

#include "app/KeypadScreen.h"

namespace tessaro {

class TessaroViewController;

class KeypadPlaceholderViewController : public KeypadScreen {
public:
    explicit KeypadPlaceholderViewController(TessaroViewController& controller);

    void loadView() override;
    void clearAll() override { }
    void reloadData() override { }

private:
    TessaroViewController* m_controller { nullptr };
};

} // namespace tessaro
