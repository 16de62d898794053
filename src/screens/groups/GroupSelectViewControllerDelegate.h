#pragma once
// What the group chooser tells the screen that opened it: a group was chosen (Done) or the
// choice was abandoned (Cancel). Both are required: every opener rebuilds what it shows,
// and an opener that presented the chooser modally (it does not take itself off the screen)
// dismisses it.
//
// Ownership: the chooser keeps its delegate as a plain pointer; the opener outlives it.

namespace tessaro {

class CommonViewController;

class GroupSelectViewControllerDelegate {
public:
    virtual ~GroupSelectViewControllerDelegate() = default;
    virtual void groupSelectedDone(CommonViewController& chooser) = 0;
    virtual void groupSelectedCancel(CommonViewController& chooser) = 0;
};

} // namespace tessaro
