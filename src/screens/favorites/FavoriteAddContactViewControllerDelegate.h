#pragma once
// What the favourites picker reports to the screen that opened it: the person chosen, or
// that the user cancelled. The opener closes the picker in both cases.

namespace tessaro {

class Contact;

class FavoriteAddContactViewControllerDelegate {
public:
    virtual ~FavoriteAddContactViewControllerDelegate() = default;

    virtual void selectContactDone(const Contact& person) = 0;
    virtual void selectContactDidCancel() = 0;
};

} // namespace tessaro
