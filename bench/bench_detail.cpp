// Opening one person's detail in a big address book: 50,000 persons, one of them with 50
// phone numbers, 50 postal addresses and a photo. Measures from the touch (the person
// looked up by identifier, as the lists hand it over) to the first frame of the detail: the
// screen and its person card built, laid out and painted once (through a painter that
// draws nothing, so the figure is the application's share). Fixed seed.

#include "FixtureBook.h"

#include "addressbook/Contact.h"
#include "platform/contactstore/AddressBook.h"
#include "platform/contactstore/MultiValue.h"
#include "platform/contactstore/Person.h"
#include "platform/contactstore/demo/AvatarImage.h"
#include "platform/ui/Painter.h"
#include "platform/ui/Screen.h"
#include "platform/ui/TableView.h"
#include "platform/ui/Window.h"
#include "screens/contacts/ContactDetailViewController.h"
#include "platform/services/PersonViewController.h"

#include <benchmark/benchmark.h>

#include <random>
#include <string>

using namespace contactstore;
using namespace tessaro;
using fixturebook::digits;

namespace {

constexpr int kPersons = 50000;
constexpr int kLinesOfEachKind = 50;

// Takes every drawing call and does nothing with it.
class DiscardingPainter final : public ui::Painter {
public:
    void save() override { }
    void restore() override { }
    void translate(double, double) override { }
    void clipToRect(const ui::Rect&, double) override { }
    void multiplyOpacity(double) override { }
    void fillRect(const ui::Rect&, const ui::Color&, double) override { ++calls; }
    void strokeRect(const ui::Rect&, const ui::Color&, double, double) override { ++calls; }
    void fillEllipse(const ui::Rect&, const ui::Color&) override { ++calls; }
    void drawLine(const ui::Point&, const ui::Point&, const ui::Color&, double) override { ++calls; }
    void drawText(const std::string&, const ui::Rect&, const ui::TextStyle&) override { ++calls; }
    void drawImage(const ui::Image&, const ui::Rect&, ui::ContentMode) override { ++calls; }
    long calls { 0 };
};

PersonRef richPerson(std::mt19937& random)
{
    auto person = fixturebook::namedPerson(random).person;
    MultiValue phones(PropertyType::MultiString);
    MultiValue addresses(PropertyType::MultiDictionary);
    for (int line = 0; line < kLinesOfEachKind; ++line) {
        (void)phones.addValueAndLabel("+81 (" + digits(random, 2) + ") " + digits(random, 4) + "-" + digits(random, 4),
                                      std::string(line % 2 ? kHomeLabel : kPersonPhoneMobileLabel));
        Dictionary address { { kPersonAddressStreetKey, digits(random, 3) + " Main Street" },
                             { kPersonAddressCityKey, "Springfield" },
                             { kPersonAddressZIPKey, digits(random, 5) },
                             { kPersonAddressCountryKey, "USA" } };
        (void)addresses.addValueAndLabel(address, std::string(kWorkLabel));
    }
    (void)person->setValue(kPersonPhoneProperty, phones);
    (void)person->setValue(kPersonAddressProperty, addresses);
    (void)person->setImageData(demo::AvatarImage::png(320, 0x4477aa));
    return person;
}

// The profile of the run, built once, in a folder removed at exit; the rich person's
// identifier comes back.
RecordID openProfile()
{
    static RecordID rich = kRecordInvalidID;
    static fixturebook::ApplicationProfile profile("tessaro-bench-detail", [](AddressBook& book) {
        std::mt19937 random(20261207);
        PersonRef richOne;
        for (int index = 0; index < kPersons; ++index) {
            bool isRich = index == kPersons / 2;
            auto person = isRich ? richPerson(random) : fixturebook::namedPerson(random, std::to_string(index % 89)).person;
            if (isRich)
                richOne = person;
            (void)book.addRecord(person);
        }
        fixturebook::save(book);
        rich = richOne->recordID();
    });
    (void)profile;
    return rich;
}

void BM_OpenDetailOfARichPersonToTheFirstFrame(benchmark::State& state)
{
    RecordID rich = openProfile();
    auto window = std::make_shared<ui::Window>(ui::Screen::mainScreen().bounds());
    window->makeKeyAndVisible();
    DiscardingPainter painter;
    std::size_t lines = 0;
    for (auto _ : state) {
        auto contact = Contact::contactWithRecordID(rich);
        auto detail = ContactDetailViewController::create(*contact);
        auto page = detail->view();
        page->setFrame({ 0, 0, page->frame().width(), page->frame().height() });
        window->addSubview(page);
        window->renderWindow(painter);
        lines = detail->personView()->tableView()->visibleCells().size();
        page->removeFromSuperview();
    }
    state.counters["lines in sight"] = static_cast<double>(lines);
    state.counters["drawing calls"] = static_cast<double>(painter.calls) / static_cast<double>(state.iterations());
}
BENCHMARK(BM_OpenDetailOfARichPersonToTheFirstFrame)->Unit(benchmark::kMillisecond);

} // namespace
