#pragma once
// What group editing tells the screen that opened it: the user is done (its Done button).
// The group list implements it: it rebuilds its list, closes the modal editing screen and
// puts the tabs back below the banner slot.
//
// Ownership: the editing screen keeps its delegate as a plain pointer; the group list that
// opens it outlives it.

namespace tessaro {

class CommonViewController;

class GroupEditViewControllerDelegate {
public:
    virtual ~GroupEditViewControllerDelegate() = default;
    virtual void groupEditDone(CommonViewController& /*controller*/) { }
};

} // namespace tessaro
