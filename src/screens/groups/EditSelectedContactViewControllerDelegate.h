#pragma once
// What the bulk edit of selected persons tells the screen that opened it: the user is done.
// The group contacts implement it: they close the modal screen, let it go and reload
// themselves and the group list.
//
// Ownership: the bulk edit keeps its delegate as a plain pointer; the opener owns the bulk
// edit and outlives it.

namespace tessaro {

class CommonViewController;

class EditSelectedContactViewControllerDelegate {
public:
    virtual ~EditSelectedContactViewControllerDelegate() = default;
    virtual void editSelectedContactDone(CommonViewController& /*controller*/) { }
};

} // namespace tessaro
