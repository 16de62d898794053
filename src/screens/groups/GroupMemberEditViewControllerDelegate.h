#pragma once
// What member editing tells the screen that opened it: the user is done (its Done button).
// The group list and the group contacts implement it: they close the modal screen, let it
// go and reload.
//
// Ownership: the member editing screen keeps its delegate as a plain pointer; the screen
// that opens it owns it and outlives it.

namespace tessaro {

class CommonViewController;

class GroupMemberEditViewControllerDelegate {
public:
    virtual ~GroupMemberEditViewControllerDelegate() = default;
    virtual void groupMemberEditDone(CommonViewController& /*controller*/) { }
};

} // namespace tessaro
