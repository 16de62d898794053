// The new-person form as a person fills it in: what Done writes into the address book (and
// that a new handle reads it back), what Cancel leaves alone, when Done is possible, the
// prepared person the keypad hands over, labels, extra lines, and a refused save that must
// lose nothing and leave the address book clean.

#include "platform/contactstore/AccessControl.h"
#include "platform/contactstore/AddressBook.h"
#include "platform/contactstore/MultiValue.h"
#include "platform/contactstore/Person.h"
#include "platform/foundation/DataLocations.h"
#include "platform/foundation/Device.h"
#include "platform/foundation/Log.h"
#include "platform/services/NewPersonViewController.h"
#include "PersonScreenTest.h"
#include "platform/ui/ActionSheet.h"
#include "platform/ui/AlertView.h"
#include "platform/ui/Application.h"
#include "platform/ui/BarButtonItem.h"
#include "platform/ui/ButtonPanel.h"
#include "platform/ui/NavigationController.h"
#include "platform/ui/NavigationItem.h"
#include "platform/ui/Screen.h"
#include "platform/ui/TextField.h"
#include "platform/ui/Window.h"

#include "support/ManualTime.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

using namespace contactstore;
using services::NewPersonViewController;
using Kind = services::NewPersonViewController::EntryKind;

namespace {

struct FormSpy : services::NewPersonViewControllerDelegate {
    std::vector<PersonRef> people;
    int calls { 0 };
    void didCompleteWithNewPerson(NewPersonViewController&, const PersonRef& person) override
    {
        ++calls;
        people.push_back(person);
    }
};

std::vector<std::pair<std::string, std::string>> entriesOf(const Person& person, PropertyID property)
{
    std::vector<std::pair<std::string, std::string>> entries;
    if (const MultiValue* multi = person.multiValue(property)) {
        for (const auto& entry : multi->entries())
            entries.emplace_back(entry.label.value_or(""), std::get<std::string>(entry.value));
    }
    return entries;
}

class NewPersonFormTest : public servicestest::PersonScreenTest {
protected:
    // The form as the group screens show it: in a navigation controller, in the window.
    std::shared_ptr<NewPersonViewController> openForm(PersonRef prepared = nullptr)
    {
        auto form = std::make_shared<NewPersonViewController>();
        if (prepared)
            form->setDisplayedPerson(prepared);
        form->setAddressBook(book);
        form->setNewPersonViewDelegate(&spy);
        window->setRootViewController(std::make_shared<ui::NavigationController>(form));
        time.advance(1);
        return form;
    }

    void touchDone(NewPersonViewController& form) { form.navigationItem().rightBarButtonItem()->trigger(); }

    // What a later start of the program reads.
    std::vector<PersonRef> savedPeople()
    {
        auto fresh = AddressBook::create();
        return fresh ? fresh->copyArrayOfAllPeople() : std::vector<PersonRef>();
    }

    FormSpy spy;
};

TEST_F(NewPersonFormTest, DoneSavesEveryFieldTypedAndHandsBackThePerson)
{
    auto form = openForm();
    type(form->fieldForProperty(kPersonFirstNameProperty), "  Kenji ");
    type(form->fieldForProperty(kPersonLastNameProperty), "Sato");
    type(form->fieldForProperty(kPersonLastNamePhoneticProperty), "さとう");
    type(form->fieldForProperty(kPersonFirstNamePhoneticProperty), "けんじ");
    type(form->fieldForProperty(kPersonOrganizationProperty), "Example Works");
    type(form->fieldForProperty(kPersonJobTitleProperty), "Engineer");
    type(form->entryField(Kind::Phone, 0), "090-1234-5678");
    form->addEntry(Kind::Phone);
    type(form->entryField(Kind::Phone, 1), "03 1234 5678");
    type(form->entryField(Kind::Email, 0), "kenji@example.com");
    touchDone(*form);

    ASSERT_EQ(spy.calls, 1);
    ASSERT_TRUE(spy.people.front());
    EXPECT_NE(spy.people.front()->recordID(), kRecordInvalidID);
    auto saved = savedPeople();
    ASSERT_EQ(saved.size(), 1u);
    const Person& person = *saved.front();
    EXPECT_EQ(person.copyString(kPersonFirstNameProperty), "Kenji");
    EXPECT_EQ(person.copyString(kPersonLastNameProperty), "Sato");
    EXPECT_EQ(person.copyString(kPersonLastNamePhoneticProperty), "さとう");
    EXPECT_EQ(person.copyString(kPersonFirstNamePhoneticProperty), "けんじ");
    EXPECT_EQ(person.copyString(kPersonOrganizationProperty), "Example Works");
    EXPECT_EQ(person.copyString(kPersonJobTitleProperty), "Engineer");
    EXPECT_FALSE(person.copyString(kPersonDepartmentProperty));
    // The second line took the next label not in use.
    EXPECT_EQ(entriesOf(person, kPersonPhoneProperty),
              (std::vector<std::pair<std::string, std::string>> { { kPersonPhoneMobileLabel, "090-1234-5678" },
                                                                  { kPersonPhoneIPhoneLabel, "03 1234 5678" } }));
    EXPECT_EQ(entriesOf(person, kPersonEmailProperty),
              (std::vector<std::pair<std::string, std::string>> { { kHomeLabel, "kenji@example.com" } }));
    EXPECT_FALSE(book->hasUnsavedChanges());
}

TEST_F(NewPersonFormTest, BlankLinesAreLeftOutAndAFormOfBlanksCannotBeDone)
{
    auto form = openForm();
    EXPECT_FALSE(form->isDoneEnabled());
    EXPECT_FALSE(form->navigationItem().rightBarButtonItem()->isEnabled());
    type(form->fieldForProperty(kPersonFirstNameProperty), "   ");
    type(form->entryField(Kind::Phone, 0), " ");
    EXPECT_FALSE(form->navigationItem().rightBarButtonItem()->isEnabled());
    form->done();
    EXPECT_EQ(spy.calls, 0);
    EXPECT_TRUE(savedPeople().empty());

    type(form->fieldForProperty(kPersonOrganizationProperty), "Only a company");
    EXPECT_TRUE(form->navigationItem().rightBarButtonItem()->isEnabled());
    touchDone(*form);
    ASSERT_EQ(spy.calls, 1);
    auto saved = savedPeople();
    ASSERT_EQ(saved.size(), 1u);
    EXPECT_FALSE(saved.front()->copyString(kPersonFirstNameProperty));
    EXPECT_EQ(saved.front()->multiValue(kPersonPhoneProperty), nullptr);
    EXPECT_EQ(saved.front()->multiValue(kPersonEmailProperty), nullptr);
}

TEST_F(NewPersonFormTest, CancelHandsBackNothingAndSavesNothing)
{
    auto form = openForm();
    type(form->fieldForProperty(kPersonFirstNameProperty), "Hanako");
    form->navigationItem().leftBarButtonItem()->trigger();
    ASSERT_EQ(spy.calls, 1);
    EXPECT_EQ(spy.people.front(), nullptr);
    EXPECT_TRUE(savedPeople().empty());
    EXPECT_FALSE(book->hasUnsavedChanges());
}

TEST_F(NewPersonFormTest, APreparedPersonShowsItsNumberAndIsSavedWithWhatIsAdded)
{
    auto prepared = Person::create();
    MultiValue phones(PropertyType::MultiString);
    ASSERT_TRUE(phones.addValueAndLabel(std::string("0312345678"), std::string(kPersonPhoneMainLabel)));
    ASSERT_TRUE(prepared->setValue(kPersonPhoneProperty, phones));
    auto form = openForm(prepared);

    ASSERT_EQ(form->entryCount(Kind::Phone), 1u);
    EXPECT_EQ(form->entryField(Kind::Phone, 0)->text(), "0312345678");
    EXPECT_TRUE(form->isDoneEnabled());
    type(form->fieldForProperty(kPersonFirstNameProperty), "Dialled");
    touchDone(*form);

    ASSERT_EQ(spy.calls, 1);
    EXPECT_EQ(spy.people.front(), prepared);
    auto saved = savedPeople();
    ASSERT_EQ(saved.size(), 1u);
    EXPECT_EQ(saved.front()->copyString(kPersonFirstNameProperty), "Dialled");
    EXPECT_EQ(entriesOf(*saved.front(), kPersonPhoneProperty),
              (std::vector<std::pair<std::string, std::string>> { { kPersonPhoneMainLabel, "0312345678" } }));
}

TEST_F(NewPersonFormTest, TheLabelChosenFromTheSheetIsTheLabelSaved)
{
    auto form = openForm();
    type(form->entryField(Kind::Email, 0), "work@example.com");
    form->chooseLabel(Kind::Email, 0);
    auto* sheet = dynamic_cast<ui::ActionSheet*>(ui::ButtonPanel::topmostVisible());
    ASSERT_NE(sheet, nullptr);
    auto choices = NewPersonViewController::labelChoices(Kind::Email);
    ASSERT_EQ(sheet->numberOfButtons(), static_cast<int>(choices.size()) + 1);
    EXPECT_EQ(sheet->cancelButtonIndex(), static_cast<int>(choices.size()));
    int work = static_cast<int>(std::find(choices.begin(), choices.end(), std::string(kWorkLabel)) - choices.begin());
    sheet->tapButtonAtIndex(work);
    time.advance(1);
    EXPECT_EQ(form->entryLabel(Kind::Email, 0), kWorkLabel);

    // Cancelling the sheet keeps the label.
    form->chooseLabel(Kind::Email, 0);
    auto* second = dynamic_cast<ui::ActionSheet*>(ui::ButtonPanel::topmostVisible());
    ASSERT_NE(second, nullptr);
    second->tapButtonAtIndex(second->cancelButtonIndex());
    time.advance(1);
    touchDone(*form);
    auto saved = savedPeople();
    ASSERT_EQ(saved.size(), 1u);
    EXPECT_EQ(entriesOf(*saved.front(), kPersonEmailProperty),
              (std::vector<std::pair<std::string, std::string>> { { kWorkLabel, "work@example.com" } }));
}

TEST_F(NewPersonFormTest, ARefusedSaveIsShownKeepsWhatWasTypedAndLeavesTheAddressBookClean)
{
    AccessControl::setAccessRefused(true);
    book = AddressBook::create();
    ASSERT_TRUE(book);
    auto form = openForm();
    type(form->fieldForProperty(kPersonFirstNameProperty), "Refused");
    touchDone(*form);

    EXPECT_EQ(spy.calls, 0);
    auto* alert = dynamic_cast<ui::AlertView*>(ui::ButtonPanel::topmostVisible());
    ASSERT_NE(alert, nullptr);
    EXPECT_FALSE(alert->message().empty());
    EXPECT_EQ(form->fieldForProperty(kPersonFirstNameProperty)->text(), "Refused");
    EXPECT_FALSE(book->hasUnsavedChanges());

    // Once the address book can be written, the same form finishes the job.
    alert->tapButtonAtIndex(0);
    AccessControl::setAccessRefused(false);
    book = AddressBook::create();
    form->setAddressBook(book);
    touchDone(*form);
    ASSERT_EQ(spy.calls, 1);
    ASSERT_EQ(savedPeople().size(), 1u);
    EXPECT_EQ(savedPeople().front()->copyString(kPersonFirstNameProperty), "Refused");
}

TEST_F(NewPersonFormTest, AnAddedLineTakesTheKeyboardAndKeepsWhatWasTypedAbove)
{
    auto form = openForm();
    type(form->entryField(Kind::Phone, 0), "111");
    form->addEntry(Kind::Phone);
    ASSERT_EQ(form->entryCount(Kind::Phone), 2u);
    EXPECT_EQ(form->entryField(Kind::Phone, 0)->text(), "111");
    EXPECT_EQ(window->firstResponder(), form->entryField(Kind::Phone, 1));
    // Every phone label is used once before any comes again.
    for (std::size_t more = 2; more < NewPersonViewController::labelChoices(Kind::Phone).size() + 1; ++more)
        form->addEntry(Kind::Phone);
    EXPECT_EQ(form->entryLabel(Kind::Phone, form->entryCount(Kind::Phone) - 1), NewPersonViewController::labelChoices(Kind::Phone).front());
}

} // namespace
