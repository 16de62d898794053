#pragma once
// How an editable text (a field, a memo) takes and gives up the keyboard. Taking it asks
// the text's delegate, then asks whoever holds the keyboard now to let go; a text asked
// before it lies in a window (a form's field built before its row shows) answers no, but
// remembers the wish and takes the keyboard when it arrives in one. Giving it up asks the
// delegate too, and drops a wish not yet granted.
//
// Ownership: each editable text owns one; the text and its delegate are passed in on every
// call and never kept.

#include <functional>

namespace ui {

class View;

class TextFocus {
public:
    // What the text's becomeFirstResponder() does; `shouldBegin` asks its delegate.
    bool become(View& text, const std::function<bool()>& shouldBegin);
    // What the text's resignFirstResponder() does; `shouldEnd` asks its delegate.
    bool resign(View& text, const std::function<bool()>& shouldEnd);
    // What the text's didMoveToWindow() does: grants a wish made outside any window.
    void arrived(View& text);

private:
    bool m_focusOnArrival { false };
};

} // namespace ui
