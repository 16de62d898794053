#pragma once
// What the key pad tells the screen it types for, when a key is released: a digit, the
// delete key, or the done key that puts the pad away.
//
// Ownership: the pad keeps its delegate as a plain pointer; the screen that owns the pad is
// the delegate and outlives it.

namespace tessaro {

class CustomNumberKeyBoardDelegate {
public:
    virtual ~CustomNumberKeyBoardDelegate() = default;
    virtual void numberKeyBoardInput(int digit) = 0;
    virtual void numberKeyBoardBackspace() = 0;
    virtual void numberKeyBoardFinish() = 0;
};

} // namespace tessaro
