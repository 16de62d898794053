#pragma once
// What the root asks of the contact detail it slides over everything: a screen for one
// person that tells its delegate when the user is done with it (detailViewCanceled), after
// which the root slides it away, lets it go and reloads every screen.
//
// Ownership: the root owns the one detail shown and makes a new one for every person; the
// delegate is a plain pointer (the root, which outlives it).

#include "app/CommonViewController.h"

namespace tessaro {

class ContactDetailScreen;

class ContactDetailViewControllerDelegate {
public:
    virtual ~ContactDetailViewControllerDelegate() = default;
    virtual void detailViewCanceled(ContactDetailScreen& /*controller*/) { }
};

class ContactDetailScreen : public CommonViewController {
public:
    ContactDetailViewControllerDelegate* delegate() const { return m_delegate; }
    void setDelegate(ContactDetailViewControllerDelegate* delegate) { m_delegate = delegate; }

protected:
    // Hands the screen back to its delegate, when there is one.
    void cancelDetail()
    {
        if (m_delegate)
            m_delegate->detailViewCanceled(*this);
    }

private:
    ContactDetailViewControllerDelegate* m_delegate { nullptr };
};

} // namespace tessaro
