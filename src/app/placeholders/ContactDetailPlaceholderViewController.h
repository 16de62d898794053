#pragma once
// Stands over everything for the contact detail until that screen lands: the person's name
// and a button that hands the screen back to the root, so the detail's way in and out can
// be used.
//
// Ownership: made by the root for one person and let go when it closes; keeps its own copy
// of the person.

#include "addressbook/Contact.h"
#include "app/ContactDetailScreen.h"

namespace tessaro {

class ContactDetailPlaceholderViewController : public ContactDetailScreen {
public:
    explicit ContactDetailPlaceholderViewController(Contact contact);

    void loadView() override;

private:
    Contact m_contact;
};

} // namespace tessaro
