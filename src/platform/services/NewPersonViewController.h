#pragma once
// The platform's form for a new person: name fields (the phonetic ones too), phone numbers
// and mail addresses each with a label, and the organisation. Done writes what was typed
// into the person, adds it to the address book and saves; Cancel leaves the address book
// alone. Either way the delegate hears how the form finished (the saved person, or none)
// and the screen that presented the form dismisses it.
//
// The form starts from a prepared person when one is given (the keypad hands over a person
// with the number typed in), else from a new empty one. Done is enabled once anything is
// typed. A save the address book refuses is shown in an alert and the form stays, with
// everything typed, so nothing is lost; the address book is left as it was.
//
// Ownership: whoever presents the form (inside a navigation controller) owns it; the form
// owns its views and shares the person and the address-book handle it was given. The
// delegate is a plain pointer that its owner clears if it goes first.

#include "platform/contactstore/Constants.h"
#include "platform/contactstore/Forward.h"
#include "platform/services/PersonForm.h"
#include "platform/ui/ViewController.h"

#include <memory>
#include <string>
#include <vector>

namespace ui {
class BarButtonItem;
class ScrollView;
class TextField;
} // namespace ui

namespace services {

class NewPersonViewController;

class NewPersonViewControllerDelegate {
public:
    virtual ~NewPersonViewControllerDelegate() = default;
    // The form is done: `person` is the new person, added and saved, or null when the user
    // cancelled.
    virtual void didCompleteWithNewPerson(NewPersonViewController& controller, const contactstore::PersonRef& person) = 0;
};

class NewPersonViewController : public ui::ViewController {
public:
    // The multi-valued properties the form edits.
    using EntryKind = PersonForm::EntryKind;

    NewPersonViewController();
    ~NewPersonViewController() override;

    // The person the form fills in; a new empty person unless one was prepared. Setting it
    // after the form is shown shows the new person's values.
    const contactstore::PersonRef& displayedPerson() const { return m_person; }
    void setDisplayedPerson(contactstore::PersonRef person);
    // The handle the person is added to and saved through; without one the profile's
    // address book is opened when Done is touched.
    const contactstore::AddressBookRef& addressBook() const { return m_addressBook; }
    void setAddressBook(contactstore::AddressBookRef addressBook) { m_addressBook = std::move(addressBook); }

    NewPersonViewControllerDelegate* newPersonViewDelegate() const { return m_delegate; }
    void setNewPersonViewDelegate(NewPersonViewControllerDelegate* delegate) { m_delegate = delegate; }

    void loadView() override;
    void viewDidLoad() override;

    // The bar buttons. done does nothing while the form is empty.
    void done();
    void cancel();
    bool isDoneEnabled() const { return m_form.hasAnyValue(); }

    // The text fields, for the keypad and for tests: a name or organisation field, and the
    // value field of entry `index` of the phone numbers or mail addresses (null when there
    // is none or the form is not loaded).
    ui::TextField* fieldForProperty(contactstore::PropertyID property) const { return m_form.fieldForProperty(property); }
    ui::TextField* entryField(EntryKind kind, std::size_t index) const { return m_form.entryField(kind, index); }
    std::size_t entryCount(EntryKind kind) const { return m_form.entryCount(kind); }
    // The stored label of an entry ("_$!<Mobile>!$_"); empty for no label.
    std::string entryLabel(EntryKind kind, std::size_t index) const { return m_form.entryLabel(kind, index); }
    // What "add phone" / "add email" and a touch on an entry's label do.
    void addEntry(EntryKind kind) { m_form.addEntry(kind); }
    void chooseLabel(EntryKind kind, std::size_t index) { m_form.chooseLabel(kind, index); }

    // The name and organisation fields in the order the form shows them for the device's
    // language (family name first where names are written so).
    static std::vector<contactstore::PropertyID> singleValueProperties() { return PersonForm::singleValueProperties(); }
    // The labels offered for an entry, in the order offered.
    static std::vector<std::string> labelChoices(EntryKind kind) { return PersonForm::labelChoices(kind); }

private:
    void updateDoneButton();
    [[nodiscard]] bool addAndSave(contactstore::Error& error);
    void showSaveFailure(const contactstore::Error& error);
    void finish(const contactstore::PersonRef& person);

    contactstore::PersonRef m_person;
    contactstore::AddressBookRef m_addressBook;
    NewPersonViewControllerDelegate* m_delegate { nullptr };
    PersonForm m_form { "newperson", PersonForm::LineDeletion::Off };
    std::shared_ptr<ui::ScrollView> m_scrollView;
    std::shared_ptr<ui::BarButtonItem> m_doneItem;
};

} // namespace services
