#include "app/MyTextView.h"

#include "app/AppNotification.h"
#include "app/MyToolBar.h"
#include "app/Utility.h"
#include "platform/foundation/LocalizedStrings.h"
#include "platform/ui/AlertView.h"
#include "platform/ui/BarButtonItem.h"
#include "platform/ui/Button.h"
#include "platform/ui/Image.h"
#include "platform/ui/Pasteboard.h"

namespace tessaro {

MyTextView::MyTextView() = default;

MyTextView::MyTextView(const ui::Rect& frame)
    : ui::TextView(frame)
{
}

std::shared_ptr<ui::View> MyTextView::inputAccessoryView()
{
    if (!m_keyboardBar)
        m_keyboardBar = makeKeyboardBar();
    return m_keyboardBar;
}

std::shared_ptr<ui::View> MyTextView::makeKeyboardBar()
{
    auto bar = std::make_shared<ui::View>(ui::Rect { 0, 0, 320, kBarHeight });
    bar->setBackgroundColor(ui::Color::clearColor());
    bar->setOpaque(false);
    bar->setAccessibilityIdentifier("memo.keyboardBar");

    auto down = ui::Button::buttonWithType(ui::ButtonType::Custom);
    auto image = ui::Image::named("btn_down.png");
    down->setImage(image);
    ui::Size size = image ? image->size() : ui::Size { 40, kBarHeight };
    down->setFrame({ 280, 0, size.width, size.height });
    down->setAccessibilityIdentifier("memo.hideKeyboard");
    down->addAction(ui::ControlEvent::TouchUpInside, [this](ui::Control&) { removeKeyBoard(); });
    bar->addSubview(down);

    double statusBar = Utility::getStatusBarHeight();
    auto toolbar = std::make_shared<MyToolBar>(ui::Rect { 100 - statusBar / 2, 0, 170, kBarHeight });
    auto item = [this](const char* key, const char* identifier, void (MyTextView::*action)()) {
        auto button = std::make_shared<ui::BarButtonItem>(foundation::localized(key), ui::BarButtonItemStyle::Bordered,
                                                          [this, action](ui::BarButtonItem&) { (this->*action)(); });
        button->setAccessibilityIdentifier(identifier);
        return button;
    };
    std::vector<std::shared_ptr<ui::BarButtonItem>> items {
        item("MemoCopyTitle", "memo.copy", &MyTextView::copyMemo),
        item("MemoMailTitle", "memo.mail", &MyTextView::mailMemo),
    };
    // An iPod touch cannot send text messages.
    if (!Utility::isiTouch())
        items.push_back(item("MemoSmsTitle", "memo.sms", &MyTextView::smsMemo));
    toolbar->setItems(std::move(items));
    bar->addSubview(toolbar);
    return bar;
}

void MyTextView::removeKeyBoard()
{
    resignFirstResponder();
}

void MyTextView::copyMemo()
{
    ui::Pasteboard::generalPasteboard().setString(text());
    auto alert = std::make_shared<ui::AlertView>("", foundation::localized("MemoCopyOK"), nullptr, "OK");
    alert->show();
}

void MyTextView::mailMemo()
{
    resignFirstResponder();
    AppNotification::postMemoMail(text());
}

void MyTextView::smsMemo()
{
    resignFirstResponder();
    AppNotification::postMemoSMS(text());
}

} // namespace tessaro
