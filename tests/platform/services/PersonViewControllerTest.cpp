// The person card as its user meets it: every property shows with its label, a touch on a
// line asks the delegate and then hands only escaped, known schemes to the device, and an
// edit (changed names, deleted and added lines) is saved so that a later start reads it,
// while a save the address book refuses keeps the edit and leaves the person as it was.

#include "platform/contactstore/AccessControl.h"
#include "platform/contactstore/AddressBook.h"
#include "platform/contactstore/MultiValue.h"
#include "platform/contactstore/Person.h"
#include "platform/contactstore/demo/AvatarImage.h"
#include "platform/foundation/DataLocations.h"
#include "platform/foundation/Device.h"
#include "platform/foundation/Log.h"
#include "platform/services/PersonViewController.h"
#include "PersonScreenTest.h"
#include "platform/ui/AlertView.h"
#include "platform/ui/Application.h"
#include "platform/ui/BarButtonItem.h"
#include "platform/ui/ButtonPanel.h"
#include "platform/ui/ImageView.h"
#include "platform/ui/NavigationController.h"
#include "platform/ui/NavigationItem.h"
#include "platform/ui/Screen.h"
#include "platform/ui/TableView.h"
#include "platform/ui/TextField.h"
#include "platform/ui/Window.h"

#include "support/ManualTime.h"
#include "support/TableChecker.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>
#include <sqlite3.h>

#include <chrono>
#include <optional>
#include <string>
#include <vector>

using namespace contactstore;
using services::PersonForm;
using services::PersonViewController;

namespace {

struct TouchSpy : services::PersonViewControllerDelegate {
    struct Touch {
        PropertyID property;
        MultiValueIdentifier identifier;
    };
    std::vector<Touch> touches;
    bool answer { true };
    bool shouldPerformDefaultActionForPerson(PersonViewController&, const PersonRef&, PropertyID property,
                                             MultiValueIdentifier identifier) override
    {
        touches.push_back({ property, identifier });
        return answer;
    }
};

MultiValue multi(PropertyType type, std::vector<std::pair<ScalarValue, std::string>> entries)
{
    MultiValue values(type);
    for (auto& [value, label] : entries)
        EXPECT_TRUE(values.addValueAndLabel(std::move(value), label.empty() ? std::nullopt : std::optional<std::string>(label)));
    return values;
}

Date day(int year, unsigned month, unsigned dayOfMonth)
{
    using namespace std::chrono;
    return Date(sys_days(std::chrono::year(year) / std::chrono::month(month) / std::chrono::day(dayOfMonth)).time_since_epoch());
}

class PersonViewTest : public servicestest::PersonScreenTest {
protected:
    // A person with something in every property the card shows, saved.
    PersonRef savedPerson()
    {
        auto person = Person::create();
        EXPECT_TRUE(person->setValue(kPersonFirstNameProperty, std::string("Kenji")));
        EXPECT_TRUE(person->setValue(kPersonLastNameProperty, std::string("Sato")));
        EXPECT_TRUE(person->setValue(kPersonFirstNamePhoneticProperty, std::string("けんじ")));
        EXPECT_TRUE(person->setValue(kPersonLastNamePhoneticProperty, std::string("さとう")));
        EXPECT_TRUE(person->setValue(kPersonOrganizationProperty, std::string("Example Works")));
        EXPECT_TRUE(person->setValue(kPersonJobTitleProperty, std::string("Engineer")));
        EXPECT_TRUE(person->setValue(kPersonDepartmentProperty, std::string("Research")));
        EXPECT_TRUE(person->setValue(kPersonNoteProperty, std::string("Met at the fair")));
        EXPECT_TRUE(person->setValue(kPersonBirthdayProperty, day(1980, 4, 1)));
        EXPECT_TRUE(person->setValue(kPersonPhoneProperty, multi(PropertyType::MultiString, { { std::string("(03) 1234-5678"), kPersonPhoneMobileLabel },
                                                                                                { std::string("*31#"), "" } })));
        EXPECT_TRUE(person->setValue(kPersonEmailProperty, multi(PropertyType::MultiString, { { std::string("a@b.c?cc=evil@x"), kWorkLabel } })));
        EXPECT_TRUE(person->setValue(kPersonURLProperty, multi(PropertyType::MultiString, { { std::string("https://example.com/k"), kPersonHomePageLabel },
                                                                                              { std::string("javascript:alert(1)"), kOtherLabel } })));
        Dictionary address { { kPersonAddressStreetKey, "1 Main St" }, { kPersonAddressCityKey, "Springfield" }, { kPersonAddressZIPKey, "12345" } };
        EXPECT_TRUE(person->setValue(kPersonAddressProperty, multi(PropertyType::MultiDictionary, { { address, kHomeLabel } })));
        EXPECT_TRUE(person->setValue(kPersonDateProperty, multi(PropertyType::MultiDate, { { day(2005, 6, 12), kPersonAnniversaryLabel } })));
        Dictionary account { { kPersonInstantMessageServiceKey, "Skype" }, { kPersonInstantMessageUsernameKey, "kenji.sato" } };
        EXPECT_TRUE(person->setValue(kPersonInstantMessageProperty, multi(PropertyType::MultiDictionary, { { account, kWorkLabel } })));
        EXPECT_TRUE(person->setImageData(demo::AvatarImage::png(64, 0x3366cc)));
        Error error;
        EXPECT_TRUE(book->addRecord(person, &error) && book->save(&error)) << error.description;
        return person;
    }

    std::shared_ptr<PersonViewController> openCard(const PersonRef& person)
    {
        auto card = std::make_shared<PersonViewController>();
        card->setDisplayedPerson(person);
        card->setAllowsEditing(true);
        card->setPersonViewDelegate(&spy);
        window->setRootViewController(std::make_shared<ui::NavigationController>(card));
        time.advance(1);
        return card;
    }

    // The person as a later start of the program reads it.
    PersonRef reread(RecordID recordID)
    {
        auto fresh = AddressBook::create();
        return fresh ? fresh->personWithRecordID(recordID) : nullptr;
    }

    static const PersonViewController::Line& lineOf(const PersonViewController& card, PropertyID property, std::size_t nth = 0)
    {
        for (const auto& section : card.sections()) {
            for (const auto& line : section) {
                if (line.property == property && nth-- == 0)
                    return line;
            }
        }
        ADD_FAILURE() << "no line of property " << property;
        static const PersonViewController::Line none;
        return none;
    }

    TouchSpy spy;
};

TEST_F(PersonViewTest, TheCardShowsEveryPropertyWithItsLabel)
{
    auto card = openCard(savedPerson());
    auto contents = testsupport::checkTable(*card->tableView());
    std::vector<std::vector<std::pair<std::string, std::string>>> shown;
    for (const auto& section : contents.sections) {
        shown.emplace_back();
        for (const auto& row : section.rows)
            shown.back().emplace_back(row.text, row.detail);
    }
    using Lines = std::vector<std::pair<std::string, std::string>>;
    EXPECT_EQ(shown, (std::vector<Lines> {
                         { { "mobile", "(03) 1234-5678" }, { "Phone", "*31#" } },
                         { { "work", "a@b.c?cc=evil@x" } },
                         { { "homepage", "https://example.com/k" }, { "other", "javascript:alert(1)" } },
                         { { "home", "1 Main St\nSpringfield 12345" } },
                         { { "Birthday", "1980/04/01" }, { "anniversary", "2005/06/12" } },
                         { { "work", "kenji.sato (Skype)" } },
                         { { "Notes", "Met at the fair" } },
                     }));

    auto& header = *card->tableView()->tableHeaderView();
    std::vector<std::string> texts;
    for (const auto& view : header.subviews()) {
        if (!view->displayText().empty() && view->typeName() == "Label")
            texts.push_back(view->displayText());
    }
    EXPECT_EQ(texts, (std::vector<std::string> { "けんじ さとう", "Kenji Sato", "Engineer - Research", "Example Works" }));
    auto* photo = dynamic_cast<ui::ImageView*>(header.subviews().front().get());
    ASSERT_NE(photo, nullptr);
    ASSERT_TRUE(photo->image());
    EXPECT_GT(photo->image()->size().width, 0);
}

TEST_F(PersonViewTest, ATouchAsksTheDelegateThenHandsOnlyEscapedKnownSchemesToTheDevice)
{
    auto card = openCard(savedPerson());
    struct Case {
        PropertyID property;
        std::size_t nth;
        std::optional<std::string> url;
    };
    const Case cases[] = {
        { kPersonPhoneProperty, 0, "tel:%2803%291234-5678" },
        { kPersonPhoneProperty, 1, "tel:*31%23" },
        // A mail address cannot add a header of its own.
        { kPersonEmailProperty, 0, "mailto:a@b.c%3Fcc%3Devil@x" },
        { kPersonURLProperty, 0, "https://example.com/k" },
        { kPersonURLProperty, 1, std::nullopt },
        { kPersonAddressProperty, 0, "https://www.openstreetmap.org/search?query=1%20Main%20St%2C%20Springfield%2012345" },
        { kPersonDateProperty, 0, std::nullopt },
        { kPersonBirthdayProperty, 0, std::nullopt },
        { kPersonInstantMessageProperty, 0, std::nullopt },
        { kPersonNoteProperty, 0, std::nullopt },
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.property);
        const auto& line = lineOf(*card, c.property, c.nth);
        spy.touches.clear();
        spy.answer = true;
        card->selectLine(line);
        ASSERT_EQ(spy.touches.size(), 1u);
        EXPECT_EQ(spy.touches.front().property, c.property);
        EXPECT_EQ(spy.touches.front().identifier, line.identifier);
        auto opened = ui::Application::shared().takeOpenedURLs();
        EXPECT_EQ(opened, c.url ? std::vector<std::string> { *c.url } : std::vector<std::string> {});

        // A delegate that takes the touch itself leaves the device alone.
        spy.answer = false;
        card->selectLine(line);
        EXPECT_TRUE(ui::Application::shared().takeOpenedURLs().empty());
    }
    // A device that cannot phone takes no "tel:".
    foundation::Device::current().setModel("iPod touch");
    spy.answer = true;
    card->selectLine(lineOf(*card, kPersonPhoneProperty));
    EXPECT_TRUE(ui::Application::shared().takeOpenedURLs().empty());
}

TEST_F(PersonViewTest, AnEditIsSavedLineByLineAndSurvivesARestart)
{
    auto person = savedPerson();
    auto card = openCard(person);
    const MultiValueIdentifier secondPhone = person->multiValue(kPersonPhoneProperty)->identifierAtIndex(1);
    card->navigationItem().rightBarButtonItem()->trigger();
    PersonForm* form = card->editForm();
    ASSERT_NE(form, nullptr);
    EXPECT_EQ(card->navigationItem().leftBarButtonItem()->accessibilityIdentifier(), "personview.cancel");

    type(form->fieldForProperty(kPersonFirstNameProperty), "Kenta");
    type(form->fieldForProperty(kPersonDepartmentProperty), "");
    form->deleteEntry(PersonForm::EntryKind::Phone, 0);
    type(form->entryField(PersonForm::EntryKind::Phone, 0), "*31#9");
    form->addEntry(PersonForm::EntryKind::Email);
    type(form->entryField(PersonForm::EntryKind::Email, 1), "kenta@example.com");
    ASSERT_EQ(form->otherLines().size(), 5u);
    EXPECT_EQ(form->otherLines()[2].text, "1 Main St\nSpringfield 12345");
    form->deleteOtherLine(2);
    card->navigationItem().rightBarButtonItem()->trigger();

    EXPECT_FALSE(card->isEditing());
    EXPECT_EQ(ui::ButtonPanel::topmostVisible(), nullptr);
    EXPECT_EQ(card->navigationItem().leftBarButtonItem(), nullptr) << "the bar is given back as it was";
    EXPECT_EQ(card->tableView()->numberOfSections(), 6) << "the card shows the edit";

    auto saved = reread(person->recordID());
    ASSERT_TRUE(saved);
    EXPECT_EQ(saved->copyString(kPersonFirstNameProperty), "Kenta");
    EXPECT_FALSE(saved->copyString(kPersonDepartmentProperty));
    EXPECT_EQ(saved->copyString(kPersonNoteProperty), "Met at the fair") << "what the form does not show stays";
    const MultiValue* phones = saved->multiValue(kPersonPhoneProperty);
    ASSERT_NE(phones, nullptr);
    ASSERT_EQ(phones->count(), 1u);
    EXPECT_EQ(phones->identifierAtIndex(0), secondPhone) << "a changed line is still the same entry";
    EXPECT_EQ(phones->copyArrayOfAllStrings(), std::vector<std::string> { "*31#9" });
    EXPECT_EQ(saved->multiValue(kPersonEmailProperty)->copyArrayOfAllStrings(),
              (std::vector<std::string> { "a@b.c?cc=evil@x", "kenta@example.com" }));
    EXPECT_EQ(saved->multiValue(kPersonAddressProperty), nullptr);
    EXPECT_EQ(saved->multiValue(kPersonURLProperty)->count(), 2u);
    EXPECT_TRUE(saved->hasImageData());

    // The address book was opened afresh meanwhile (a return to the foreground) and the
    // handle the person came from is gone: the next edit is not lost.
    book.reset();
    ASSERT_FALSE(person->addressBook());
    card->navigationItem().rightBarButtonItem()->trigger();
    type(card->editForm()->fieldForProperty(kPersonNicknameProperty), "Ken");
    card->navigationItem().rightBarButtonItem()->trigger();
    EXPECT_FALSE(card->isEditing());
    EXPECT_EQ(ui::ButtonPanel::topmostVisible(), nullptr);
    EXPECT_EQ(reread(person->recordID())->copyString(kPersonNicknameProperty), "Ken");
    EXPECT_EQ(reread(person->recordID())->copyString(kPersonFirstNameProperty), "Kenta");
}

TEST_F(PersonViewTest, ARefusedSaveKeepsTheEditAndThePersonAsItWasAndCancelChangesNothing)
{
    auto person = savedPerson();
    auto card = openCard(person);
    card->navigationItem().rightBarButtonItem()->trigger();
    type(card->editForm()->fieldForProperty(kPersonLastNameProperty), "Suzuki");

    // The file refuses every change of a person, as a full or damaged disk would.
    sqlite3* connection = nullptr;
    ASSERT_EQ(sqlite3_open((folder / "AddressBook" / AddressBook::kDatabaseFileName).c_str(), &connection), SQLITE_OK);
    auto exec = [connection](const char* statement) { ASSERT_EQ(sqlite3_exec(connection, statement, nullptr, nullptr, nullptr), SQLITE_OK) << statement; };
    exec("CREATE TRIGGER refuse BEFORE UPDATE ON person BEGIN SELECT RAISE(ABORT, 'disk refused'); END;");
    card->navigationItem().rightBarButtonItem()->trigger();

    auto* alert = dynamic_cast<ui::AlertView*>(ui::ButtonPanel::topmostVisible());
    ASSERT_NE(alert, nullptr);
    EXPECT_FALSE(alert->message().empty());
    EXPECT_TRUE(card->isEditing());
    EXPECT_EQ(card->editForm()->fieldForProperty(kPersonLastNameProperty)->text(), "Suzuki");
    EXPECT_EQ(person->copyString(kPersonLastNameProperty), "Sato") << "nothing half-written waits for a later save";
    alert->tapButtonAtIndex(0);
    time.advance(1);

    exec("DROP TRIGGER refuse;");
    sqlite3_close(connection);
    card->navigationItem().rightBarButtonItem()->trigger();
    EXPECT_FALSE(card->isEditing());
    EXPECT_EQ(reread(person->recordID())->copyString(kPersonLastNameProperty), "Suzuki");

    // Cancel leaves the person as it was.
    card->navigationItem().rightBarButtonItem()->trigger();
    type(card->editForm()->fieldForProperty(kPersonLastNameProperty), "Tanaka");
    card->editForm()->deleteEntry(PersonForm::EntryKind::Phone, 0);
    card->navigationItem().leftBarButtonItem()->trigger();
    EXPECT_FALSE(card->isEditing());
    EXPECT_EQ(person->copyString(kPersonLastNameProperty), "Suzuki");
    EXPECT_EQ(person->multiValue(kPersonPhoneProperty)->count(), 2u);
    EXPECT_FALSE(book->hasUnsavedChanges());
}

} // namespace
