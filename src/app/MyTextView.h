#pragma once
// The memo editor's text view. Above the keyboard it shows a bar with a button that puts
// the keyboard away and three actions on the whole memo: copy it, mail it, send it as a text
// message (the last left out on an iPod touch, which cannot text). Mail and text message go
// to the root screen through the app-wide notification, after editing has ended, so the memo
// screen has kept the text by then.
//
// Ownership: the text view makes its keyboard bar on first request and owns it; the bar's
// buttons call back into the text view, which outlives them.

#include "platform/ui/TextView.h"

#include <memory>

namespace tessaro {

class MyTextView : public ui::TextView {
public:
    static constexpr double kBarHeight = 30;

    MyTextView();
    explicit MyTextView(const ui::Rect& frame);

    std::shared_ptr<ui::View> inputAccessoryView() override;

    // Ends editing, so the keyboard goes down.
    void removeKeyBoard();
    // Puts the whole text on the general pasteboard and says so in an alert.
    void copyMemo();
    void mailMemo();
    void smsMemo();

private:
    std::shared_ptr<ui::View> makeKeyboardBar();

    std::shared_ptr<ui::View> m_keyboardBar;
};

} // namespace tessaro
