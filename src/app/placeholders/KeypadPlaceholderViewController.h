#pragma once
// Stands over the tabs for the keypad dialer until that screen lands: a white page with a
// button that asks the root to slide it away, so the keypad's way in and out can be used.
//
// Ownership: made and kept by the root; keeps its host, the root, as a plain pointer (the root owns it).

#include "app/KeypadScreen.h"

namespace tessaro {

class KeypadPlaceholderViewController : public KeypadScreen {
public:
    explicit KeypadPlaceholderViewController(KeypadHost& host);

    void loadView() override;
    void clearAll() override { }
    void reloadData() override { }

private:
    KeypadHost* m_host { nullptr };
};

} // namespace tessaro
