#pragma once
// The dial pad: twelve keys in three columns and four rows over one picture that carries
// every key's face; a key shows its pressed picture while it is held (or selected) and
// acts when the finger is lifted inside it. The digits carry their own value as tag, the
// done key 10 and the delete key 11, and the tag alone decides what a released key tells
// the delegate.
//
// Ownership: the pad owns its background and its keys; the delegate is a plain pointer.

#include "platform/ui/View.h"

namespace ui {
class Button;
}

namespace tessaro {

class CustomNumberKeyBoardDelegate;

class CustomNumbleKeyboardView : public ui::View {
public:
    static constexpr double kWidth = 320;
    static constexpr double kHeight = 195;
    static constexpr double kKeyWidth = 107;
    static constexpr double kKeyHeight = 49;
    static constexpr int kDoneTag = 10;
    static constexpr int kDeleteTag = 11;

    // The pad with its top left corner at the origin; always kWidth × kHeight.
    explicit CustomNumbleKeyboardView(const ui::Point& origin);

    CustomNumberKeyBoardDelegate* delegate() const { return _delegate; }
    void setDelegate(CustomNumberKeyBoardDelegate* delegate) { _delegate = delegate; }

    // What a released key does: 0 to 9 type the digit, 10 is done, 11 deletes; without a
    // delegate the key is only logged.
    void keyReleased(int tag);
    // The key with the tag, or null.
    ui::Button* keyWithTag(int tag);
    // Where the key of a row and column lies in the pad: the right-hand column one point to
    // the left, so three keys end at the screen's edge.
    static ui::Rect keyFrame(int row, int column);

private:
    void addKeys();

    CustomNumberKeyBoardDelegate* _delegate { nullptr };
};

} // namespace tessaro
