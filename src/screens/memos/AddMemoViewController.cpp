#include "screens/memos/AddMemoViewController.h"

#include "app/MyTextView.h"
#include "app/StoreFailureAlert.h"
#include "app/Utility.h"
#include "platform/foundation/LocalizedStrings.h"
#include "platform/ui/BarButtonItem.h"
#include "platform/ui/NavigationController.h"
#include "platform/ui/NavigationItem.h"
#include "store/DataManager.h"

namespace tessaro {

AddMemoViewController::AddMemoViewController(int memoID, std::weak_ptr<CommonViewController> controller)
    : _controller(std::move(controller))
    , _memoID(memoID)
{
}

AddMemoViewController::~AddMemoViewController()
{
    if (_text)
        _text->setDelegate(nullptr);
}

void AddMemoViewController::loadView()
{
    ui::ViewController::loadView();
    view()->setBackgroundColor(ui::Color::whiteColor());
}

void AddMemoViewController::viewDidLoad()
{
    setTitle(foundation::localized(_memoID == kNewMemoID ? "AddMemoTitle" : "EditMemoTitle"));

    _text = std::make_shared<MyTextView>(ui::Rect { 0, 0, 320, kHeightWithoutKeyboard + Utility::iPhone4to5SubSize() });
    _text->setFont(ui::Font::systemFontOfSize(16));
    _text->setBackgroundColor(ui::Color::clearColor());
    _text->setAccessibilityIdentifier("memo.text");
    _text->setDelegate(this);
    if (auto memo = DataManager::sharedDataBase().selectMemo(_memoID))
        _text->setText(memo->memo);
    view()->addSubview(_text);
    (void)_text->becomeFirstResponder();

    auto doneItem = std::make_shared<ui::BarButtonItem>(ui::BarButtonSystemItem::Done, [this](ui::BarButtonItem&) { done(); });
    doneItem->setAccessibilityIdentifier("memo.done");
    navigationItem().setRightBarButtonItem(doneItem);
}

void AddMemoViewController::viewDidAppear(bool)
{
    if (_text)
        (void)_text->becomeFirstResponder();
}

bool AddMemoViewController::store(const std::string& text)
{
    auto& database = DataManager::sharedDataBase();
    std::optional<MemoObject> memo;
    if (_memoID != kNewMemoID)
        memo = database.selectMemo(_memoID);
    if (!memo) {
        // A new memo, or one deleted meanwhile: what was typed is kept as a new memo rather
        // than lost.
        MemoObject fresh;
        fresh.memo = text;
        return database.insertMemo(fresh);
    }
    memo->memo = text;
    return database.updateMemo(*memo);
}

void AddMemoViewController::done()
{
    std::string text = _text ? _text->text() : std::string();
    if (!store(text)) {
        StoreFailureAlert::show();
        return;
    }
    // Held while the editor leaves the stack, which may release the last other link to it.
    auto self = shared_from_this();
    if (auto* navigation = navigationController())
        navigation->popViewControllerAnimated(true);
    if (auto list = _controller.lock()) {
        list->resetTabBarFrameLater();
        list->reloadViewData();
    }
}

void AddMemoViewController::setEditorHeight(double height)
{
    if (!_text)
        return;
    ui::Rect frame = _text->frame();
    frame.size.height = height + Utility::iPhone4to5SubSize();
    _text->setFrame(frame);
}

bool AddMemoViewController::textViewShouldBeginEditing(ui::TextView&)
{
    setEditorHeight(kHeightWithKeyboard);
    return true;
}

bool AddMemoViewController::textViewShouldEndEditing(ui::TextView&)
{
    setEditorHeight(kHeightWithoutKeyboard);
    return true;
}

} // namespace tessaro
