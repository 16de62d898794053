#include "screens/messaging/KeyBoardViewController.h"

#include "addressbook/AddressBookQueries.h"
#include "app/AppNotification.h"
#include "app/PersonHandoff.h"
#include "app/PersonRowPieces.h"
#include "app/StoreFailureAlert.h"
#include "app/Utility.h"
#include "platform/contactstore/Person.h"
#include "platform/foundation/LocalizedStrings.h"
#include "platform/ui/Application.h"
#include "platform/ui/Button.h"
#include "platform/ui/Image.h"
#include "platform/ui/ImageView.h"
#include "platform/ui/Label.h"
#include "platform/ui/NavigationController.h"
#include "platform/ui/TableView.h"
#include "platform/ui/Window.h"
#include "screens/groups/GroupPresentation.h"
#include "screens/messaging/CustomNumbleKeyboardView.h"
#include "store/DataManager.h"
#include "store/DecimalText.h"

namespace tessaro {

namespace {

const std::string kCellIdentifier = "KeyBoardCell";

// The top row: the call button at its picture's size, the number beside it.
constexpr double kNumberX = 44;
constexpr double kNumberWidth = 276;
constexpr double kNumberHeight = 51;
// The pad lies this far below the status bar on a 3.5-inch screen.
constexpr double kPadTop = 265;

// Where a row's texts go, right of the photo square; the date and a search match's numbers
// keep to the right, clear of the disclosure mark.
constexpr double kRightColumnX = 168;
constexpr double kRightColumnWidth = 100;

std::shared_ptr<ui::Label> rowLabel(const ui::Rect& frame, ui::Font font, const ui::Color& color)
{
    auto label = std::make_shared<ui::Label>(frame);
    label->setFont(font);
    label->setTextColor(color);
    label->setBackgroundColor(ui::Color::clearColor());
    return label;
}

void shrinkToTwelvePoints(ui::Label& label)
{
    label.setAdjustsFontSizeToFitWidth(true);
    label.setMinimumFontSize(12);
}

} // namespace

KeyBoardViewController::KeyBoardViewController(KeypadHost& controller, GroupChooserMaker makeGroupSelectViewController)
    : _controller(&controller)
    , m_makeGroupSelectViewController(std::move(makeGroupSelectViewController))
{
}

KeyBoardViewController::~KeyBoardViewController()
{
    if (auto sheet = m_actionSheet.lock())
        sheet->setDelegate(nullptr);
    if (auto form = m_newPersonForm.lock())
        form->setNewPersonViewDelegate(nullptr);
    if (auto composer = m_messageComposer.lock())
        composer->setMessageComposeDelegate(nullptr);
    removeGroupSelectNav();
    if (_customKeyboardView)
        _customKeyboardView->setDelegate(nullptr);
    if (_myTableView) {
        _myTableView->setDataSource(nullptr);
        _myTableView->setDelegate(nullptr);
    }
}

void KeyBoardViewController::loadView()
{
    CommonViewController::loadView();
    view()->setBackgroundColor(ui::Color::whiteColor());
}

void KeyBoardViewController::viewDidLoad()
{
    auto& page = *view();
    double top = Utility::getStatusBarHeight();
    int extra = Utility::iPhone4to5SubSize();
    bool flat = Utility::isIOS7();

    auto callImage = ui::Image::named(flat ? "btnCall-ios7.png" : "btnCall.png");
    ui::Size callSize = callImage ? callImage->size() : ui::Size { kNumberX, kNumberHeight };
    _btnCall = std::make_shared<ui::Button>(ui::ButtonType::Custom, ui::Rect { 0, top, callSize.width, callSize.height });
    _btnCall->setImage(callImage);
    _btnCall->setAccessibilityIdentifier("keypad.call");
    _btnCall->addAction(ui::ControlEvent::TouchUpInside, [this](ui::Control&) { callPhoneNumber(); });
    page.addSubview(_btnCall);

    _lblNumber = std::make_shared<ui::Label>(ui::Rect { kNumberX, top, kNumberWidth, kNumberHeight });
    _lblNumber->setFont(ui::Font::boldSystemFontOfSize(38));
    _lblNumber->setTextAlignment(ui::TextAlignment::Center);
    _lblNumber->setAdjustsFontSizeToFitWidth(true);
    _lblNumber->setAccessibilityIdentifier("keypad.number");
    // The older look writes the number in white on the dark strip its call button starts;
    // on the page's white it would not be seen.
    _lblNumber->setTextColor(flat ? ui::Color::blackColor() : ui::Color::whiteColor());
    _lblNumber->setBackgroundColor(flat ? ui::Color::clearColor() : ui::Color::rgb255(30, 32, 36));
    page.addSubview(_lblNumber);

    double listTop = top + kNumberHeight;
    double padTop = top + kPadTop + extra;
    _myTableView = std::make_shared<ui::TableView>(ui::Rect { 0, listTop, page.bounds().width(), padTop - listTop },
                                                   ui::TableViewStyle::Grouped);
    _myTableView->setAccessibilityIdentifier("keypad.list");
    _myTableView->setDataSource(this);
    _myTableView->setDelegate(this);
    page.addSubview(_myTableView);

    _customKeyboardView = std::make_shared<CustomNumbleKeyboardView>(ui::Point { 0, padTop });
    _customKeyboardView->setDelegate(this);
    page.addSubview(_customKeyboardView);

    showNumber();
    initData();
}

void KeyBoardViewController::viewDidAppear(bool)
{
    // The pad takes the computer's keys for as long as it is in sight.
    if (auto* window = view()->window())
        window->addKeyPressHandler(_customKeyboardView, *this);
}

// ---- The typed number ----

void KeyBoardViewController::clearAll()
{
    _strCallNumber.clear();
    if (isViewLoaded())
        showNumber();
    initData();
}

void KeyBoardViewController::reloadData()
{
    initData();
}

void KeyBoardViewController::showNumber()
{
    _lblNumber->setText(_strCallNumber);
    _btnCall->setEnabled(!_strCallNumber.empty());
}

void KeyBoardViewController::numberKeyBoardInput(int digit)
{
    _strCallNumber += std::to_string(digit);
    showNumber();
    initData();
}

void KeyBoardViewController::numberKeyBoardBackspace()
{
    if (_strCallNumber.empty())
        return;
    _strCallNumber.pop_back();
    showNumber();
    initData();
}

void KeyBoardViewController::numberKeyBoardFinish()
{
    _controller->removeKeyboard();
}

bool KeyBoardViewController::keyPressed(const ui::KeyPress& press)
{
    switch (press.kind) {
    case ui::KeyPress::Kind::Text:
        if (press.text.size() != 1 || press.text[0] < '0' || press.text[0] > '9')
            return false;
        _customKeyboardView->keyReleased(press.text[0] - '0');
        return true;
    case ui::KeyPress::Kind::Backspace:
        _customKeyboardView->keyReleased(CustomNumbleKeyboardView::kDeleteTag);
        return true;
    case ui::KeyPress::Kind::Escape:
        _customKeyboardView->keyReleased(CustomNumbleKeyboardView::kDoneTag);
        return true;
    case ui::KeyPress::Kind::Return:
        callPhoneNumber();
        return true;
    }
    return false;
}

// ---- The list ----

void KeyBoardViewController::initData()
{
    _arrRecent.clear();
    _arrCallDate.clear();
    if (_strCallNumber.empty()) {
        for (const auto& recent : DataManager::sharedDataBase().selectRecent()) {
            std::string_view stored = recent.contactID;
            auto comma = stored.find(',');
            if (comma != std::string_view::npos && stored.substr(0, comma) == kNumberFormPrefix) {
                // The number is the second comma-separated part.
                auto number = stored.substr(comma + 1);
                _arrRecent.emplace_back(std::string(number.substr(0, number.find(','))));
                _arrCallDate.push_back(recent.callDate);
            } else if (auto person = Contact::contactWithRecordID(DecimalText::intValue(stored))) {
                _arrRecent.emplace_back(std::move(*person));
                _arrCallDate.push_back(recent.callDate);
            }
        }
    } else {
        for (auto& person : AddressBookQueries::contactsMatchingPhone(_strCallNumber))
            _arrRecent.emplace_back(std::move(person));
    }
    if (!_myTableView)
        return;
    _myTableView->reloadData();
    _myTableView->setContentOffset({ 0, 0 }, true);
}

int KeyBoardViewController::numberOfRowsInSection(ui::TableView&, int)
{
    return static_cast<int>(_arrRecent.size());
}

std::shared_ptr<ui::TableViewCell> KeyBoardViewController::cellForRowAtIndexPath(ui::TableView& tableView, const ui::IndexPath& indexPath)
{
    auto cell = tableView.dequeueReusableCellWithIdentifier(kCellIdentifier);
    if (!cell)
        cell = std::make_shared<ui::TableViewCell>(ui::TableViewCellStyle::Default, kCellIdentifier);
    cell->removeContentSubviews();
    cell->setAccessoryType(ui::TableViewCellAccessoryType::DisclosureIndicator);
    cell->setSelectionStyle(ui::TableViewCellSelectionStyle::Blue);
    auto row = static_cast<std::size_t>(indexPath.row);
    if (row >= _arrRecent.size())
        return cell;
    const Entry& entry = _arrRecent[row];
    auto& content = cell->contentView();
    const auto* person = std::get_if<Contact>(&entry);
    content.addSubview(PersonRowPieces::photoView(PersonRowPieces::photoOf(person), PersonRowPieces::rowOffset()));
    if (isSearching() && person)
        addSearchRowPieces(content, *person);
    else
        addRecentRowPieces(content, entry, row);
    return cell;
}

void KeyBoardViewController::addRecentRowPieces(ui::View& content, const Entry& entry, std::size_t row)
{
    double x = PersonRowPieces::rowOffset() + PersonRowPieces::kSquare;
    double width = kRightColumnX - x;
    if (const auto* number = std::get_if<std::string>(&entry)) {
        auto label = rowLabel({ x, 0, width, kRowHeight }, ui::Font::boldSystemFontOfSize(16), ui::Color::blackColor());
        label->setText(*number);
        content.addSubview(label);
    } else {
        const auto& person = std::get<Contact>(entry);
        auto name = rowLabel({ x, 3, width, 24 }, ui::Font::boldSystemFontOfSize(16), ui::Color::blackColor());
        name->setText(PersonRowPieces::displayName(person));
        content.addSubview(name);
        auto numbers = rowLabel({ x, 25, width, 20 }, ui::Font::systemFontOfSize(14), ui::Color::grayColor());
        shrinkToTwelvePoints(*numbers);
        numbers->setText(person.phonenumbers());
        content.addSubview(numbers);
    }
    if (row >= _arrCallDate.size())
        return;
    auto date = rowLabel({ kRightColumnX, 0, kRightColumnWidth, kRowHeight }, ui::Font::systemFontOfSize(14), ui::Color::grayColor());
    date->setTextAlignment(ui::TextAlignment::Right);
    date->setText(Utility::sharedUtility().getMMDDHHMM(_arrCallDate[row]));
    content.addSubview(date);
}

void KeyBoardViewController::addSearchRowPieces(ui::View& content, const Contact& person)
{
    double x = PersonRowPieces::rowOffset() + PersonRowPieces::kSquare;
    auto name = rowLabel({ x, 3, kRightColumnX - x, 24 }, ui::Font::boldSystemFontOfSize(16), ui::Color::blackColor());
    name->setText(PersonRowPieces::displayName(person));
    content.addSubview(name);
    auto numbers = rowLabel({ kRightColumnX, 3, kRightColumnWidth, 24 }, ui::Font::systemFontOfSize(14), ui::Color::grayColor());
    numbers->setTextAlignment(ui::TextAlignment::Right);
    shrinkToTwelvePoints(*numbers);
    numbers->setText(person.phonenumbers());
    content.addSubview(numbers);
    auto job = rowLabel({ x, 25, kRightColumnX + kRightColumnWidth - x, 20 }, ui::Font::systemFontOfSize(14), ui::Color::lightGrayColor());
    job->setText(PersonRowPieces::jobLine(person));
    content.addSubview(job);
}

void KeyBoardViewController::didSelectRowAtIndexPath(ui::TableView& tableView, const ui::IndexPath& indexPath)
{
    auto row = static_cast<std::size_t>(indexPath.row);
    if (row < _arrRecent.size()) {
        if (const auto* number = std::get_if<std::string>(&_arrRecent[row])) {
            _strCSNNumber = *number;
            showActionSheet();
        } else {
            AppNotification::postShowDetail(std::get<Contact>(_arrRecent[row]));
        }
    }
    tableView.deselectRowAtIndexPath(indexPath, true);
}

bool KeyBoardViewController::canEditRowAtIndexPath(ui::TableView&, const ui::IndexPath&)
{
    return !isSearching();
}

void KeyBoardViewController::commitEditingStyle(ui::TableView& tableView, ui::TableViewCellEditingStyle style, const ui::IndexPath& indexPath)
{
    auto row = static_cast<std::size_t>(indexPath.row);
    if (style != ui::TableViewCellEditingStyle::Delete || isSearching() || row >= _arrRecent.size())
        return;
    if (!DataManager::sharedDataBase().deleteRecent(recentContactID(_arrRecent[row]))) {
        // The call is still stored: the row stays, and the user hears why.
        tableView.hideDeleteConfirmation();
        StoreFailureAlert::show();
        return;
    }
    _arrRecent.erase(_arrRecent.begin() + static_cast<std::ptrdiff_t>(row));
    if (row < _arrCallDate.size())
        _arrCallDate.erase(_arrCallDate.begin() + static_cast<std::ptrdiff_t>(row));
    tableView.deleteRowsAtIndexPaths({ indexPath }, ui::TableViewRowAnimation::Fade);
}

std::string KeyBoardViewController::recentContactID(const Entry& entry)
{
    if (const auto* number = std::get_if<std::string>(&entry))
        return std::string(kNumberFormPrefix) + "," + *number;
    return std::to_string(std::get<Contact>(entry).recordID());
}

std::string KeyBoardViewController::recentContactIDForNumber(const std::string& number)
{
    auto matches = AddressBookQueries::contactsMatchingPhone(number);
    if (matches.size() == 1)
        return recentContactID(matches.front());
    return recentContactID(number);
}

// ---- Acting on a number ----

void KeyBoardViewController::callPhoneNumber()
{
    if (_strCallNumber.empty())
        return;
    _strCSNNumber = _strCallNumber;
    showActionSheet();
}

void KeyBoardViewController::showActionSheet()
{
    auto sheet = std::make_shared<ui::ActionSheet>(
        _strCSNNumber, this, foundation::localized("CancelButtonTitle"), std::string(),
        std::vector<std::string> { foundation::localized("CallPhoneTitle"), foundation::localized("SmsMmsTitle"),
                                   foundation::localized("KeyBoardAddContactTitle") });
    sheet->setTag(kActionSheetTag);
    sheet->setAccessibilityIdentifier("keypad.actions");
    if (auto* window = ui::Application::shared().keyWindow()) {
        sheet->showInView(*window);
        m_actionSheet = sheet;
    }
}

void KeyBoardViewController::clickedButtonAtIndex(ui::ActionSheet& actionSheet, int buttonIndex)
{
    if (actionSheet.tag() != kActionSheetTag)
        return;
    switch (buttonIndex) {
    case kCallButton: callNumber(); break;
    case kSmsButton: sendSmsMms(); break;
    case kAddContactButton: addContat(); break;
    default: break;
    }
}

void KeyBoardViewController::callNumber()
{
    // The list is not rebuilt now: the telephone takes the user away, and the call shows
    // the next time the keypad opens.
    (void)PersonHandoff::call(recentContactIDForNumber(_strCSNNumber), _strCSNNumber);
}

void KeyBoardViewController::sendSmsMms()
{
    m_messageComposer = PersonHandoff::sendText(*this, *this, _strCSNNumber);
}

void KeyBoardViewController::didFinishWithResult(services::MessageComposeViewController& controller, services::MessageComposeResult)
{
    controller.dismissViewControllerAnimated(true);
}

// ---- A new person from the number ----

void KeyBoardViewController::addContat()
{
    auto person = Contact::contact();
    person.setPhoneDictionaries({ Contact::dictionaryWithValue(_strCSNNumber, std::string(contactstore::kPersonPhoneMainLabel)) });
    m_newPersonForm = GroupPresentation::presentNewPersonForm(*this, person.record());
}

void KeyBoardViewController::didCompleteWithNewPerson(services::NewPersonViewController& controller, const contactstore::PersonRef& person)
{
    if (auto contact = Contact::contactWithRecord(person)) {
        removeGroupSelectNav();
        std::shared_ptr<CommonViewController> chooser;
        if (m_makeGroupSelectViewController)
            chooser = m_makeGroupSelectViewController(*this, contact->recordID());
        if (chooser) {
            // The chooser covers the whole keypad but leaves the status bar in sight: its own
            // bar would otherwise lie under the clock from system 7 on.
            _groupSelectNav = GroupPresentation::wrapInOpaqueNavigation(chooser);
            _groupSelectNav->view()->setFrame({ 0, Utility::getStatusBarHeight(), 320, 460.0 + Utility::iPhone4to5SubSize() });
            view()->addSubview(_groupSelectNav->view());
        }
    }
    controller.setNewPersonViewDelegate(nullptr);
    controller.dismissViewControllerAnimated(true);
}

void KeyBoardViewController::groupSelectedDone(CommonViewController&)
{
    initData();
}

void KeyBoardViewController::groupSelectedCancel(CommonViewController&)
{
    initData();
}

void KeyBoardViewController::removeGroupSelectNav()
{
    if (!_groupSelectNav)
        return;
    if (auto* shown = _groupSelectNav->viewIfLoaded())
        shown->removeFromSuperview();
    _groupSelectNav.reset();
}

} // namespace tessaro
