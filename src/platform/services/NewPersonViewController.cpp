#include "platform/services/NewPersonViewController.h"

#include "platform/contactstore/AddressBook.h"
#include "platform/contactstore/Person.h"
#include "platform/foundation/LocalizedStrings.h"
#include "platform/ui/AlertView.h"
#include "platform/ui/BarButtonItem.h"
#include "platform/ui/NavigationItem.h"
#include "platform/ui/ScrollView.h"

namespace services {

using namespace contactstore;

NewPersonViewController::NewPersonViewController()
    : m_person(Person::create())
{
    setTitle(foundation::localizedOr("NewPersonTitle", "New Contact"));
    m_form.readPerson(*m_person);
    m_form.setChangeHandler([this] { updateDoneButton(); });
}

NewPersonViewController::~NewPersonViewController() = default;

void NewPersonViewController::setDisplayedPerson(PersonRef person)
{
    m_person = person ? std::move(person) : Person::create();
    m_form.readPerson(*m_person);
    if (isViewLoaded()) {
        m_form.layoutIn(m_scrollView);
        updateDoneButton();
    }
}

void NewPersonViewController::loadView()
{
    auto page = std::make_shared<ui::View>(ui::Rect { 0, 0, 320, 416 });
    page->setBackgroundColor(ui::Color::groupTableViewBackgroundColor());
    m_scrollView = std::make_shared<ui::ScrollView>(page->bounds());
    m_scrollView->setAutoresizingMask(ui::AutoresizingMask::FlexibleWidth | ui::AutoresizingMask::FlexibleHeight);
    m_scrollView->setAccessibilityIdentifier("newperson.form");
    page->addSubview(m_scrollView);
    setView(page);
}

void NewPersonViewController::viewDidLoad()
{
    auto cancelItem = std::make_shared<ui::BarButtonItem>(ui::BarButtonSystemItem::Cancel, [this](ui::BarButtonItem&) { cancel(); });
    cancelItem->setAccessibilityIdentifier("newperson.cancel");
    m_doneItem = std::make_shared<ui::BarButtonItem>(ui::BarButtonSystemItem::Done, [this](ui::BarButtonItem&) { done(); });
    m_doneItem->setAccessibilityIdentifier("newperson.done");
    navigationItem().setLeftBarButtonItem(cancelItem);
    navigationItem().setRightBarButtonItem(m_doneItem);
    m_form.layoutIn(m_scrollView);
    updateDoneButton();
}

void NewPersonViewController::updateDoneButton()
{
    if (m_doneItem)
        m_doneItem->setEnabled(isDoneEnabled());
}

void NewPersonViewController::done()
{
    if (isViewLoaded())
        view()->endEditing();
    if (!isDoneEnabled())
        return;
    Error error;
    if (!m_form.writeInto(*m_person, error) || !addAndSave(error)) {
        showSaveFailure(error);
        return;
    }
    finish(m_person);
}

void NewPersonViewController::cancel()
{
    if (isViewLoaded())
        view()->endEditing();
    finish(nullptr);
}

bool NewPersonViewController::addAndSave(Error& error)
{
    AddressBookRef book = m_addressBook ? m_addressBook : AddressBook::create(&error);
    if (!book)
        return false;
    bool isNew = m_person->recordID() == kRecordInvalidID;
    if (!book->addRecord(m_person, &error))
        return false;
    if (book->save(&error))
        return true;
    // The handle must not keep a half-made person that a later save elsewhere would write;
    // the form keeps everything typed, so Done can be tried again.
    if (isNew)
        (void)book->removeRecord(m_person);
    return false;
}

void NewPersonViewController::showSaveFailure(const Error& error)
{
    auto alert = std::make_shared<ui::AlertView>(foundation::localizedOr("NewPersonSaveFailedTitle", "The contact could not be saved."),
                                                 error.localizedDescription(), nullptr, "OK");
    alert->show();
}

void NewPersonViewController::finish(const PersonRef& person)
{
    // The delegate usually dismisses and lets go of the form: nothing of it is touched after.
    if (auto* delegate = m_delegate)
        delegate->didCompleteWithNewPerson(*this, person);
}

} // namespace services
