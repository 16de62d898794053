#include "screens/messaging/CustomNumbleKeyboardView.h"

#include "app/Utility.h"
#include "platform/foundation/Log.h"
#include "platform/ui/Button.h"
#include "platform/ui/Image.h"
#include "platform/ui/ImageView.h"
#include "screens/messaging/CustomNumberKeyBoardDelegate.h"

#include <string>

namespace tessaro {

namespace {

// The pad's keys by row and column, as tags.
constexpr int kKeyTags[4][3] = {
    { 1, 2, 3 },
    { 4, 5, 6 },
    { 7, 8, 9 },
    { CustomNumbleKeyboardView::kDoneTag, 0, CustomNumbleKeyboardView::kDeleteTag },
};

std::string lookSuffix()
{
    return Utility::isIOS7() ? "-ios7" : "";
}

std::string pressedImageName(int tag)
{
    if (tag == CustomNumbleKeyboardView::kDoneTag)
        return "numberdone_press" + lookSuffix();
    if (tag == CustomNumbleKeyboardView::kDeleteTag)
        return "numberdel_press" + lookSuffix();
    return "number_" + std::to_string(tag) + "_select" + lookSuffix();
}

// How scripts and tests name a key: its digit, "done" or "delete".
std::string keyName(int tag)
{
    if (tag == CustomNumbleKeyboardView::kDoneTag)
        return "done";
    if (tag == CustomNumbleKeyboardView::kDeleteTag)
        return "delete";
    return std::to_string(tag);
}

} // namespace

CustomNumbleKeyboardView::CustomNumbleKeyboardView(const ui::Point& origin)
    : ui::View(ui::Rect { origin.x, origin.y, kWidth, kHeight })
{
    setAccessibilityIdentifier("keypad.pad");
    auto background = std::make_shared<ui::ImageView>(ui::Rect { 0, 0, kWidth, kHeight });
    background->setImage(ui::Image::named("number_keyboard_background" + lookSuffix()));
    addSubview(background);
    addKeys();
}

ui::Rect CustomNumbleKeyboardView::keyFrame(int row, int column)
{
    return { column * kKeyWidth - (column == 2 ? 1 : 0), row * kKeyHeight, kKeyWidth, kKeyHeight };
}

void CustomNumbleKeyboardView::addKeys()
{
    for (int row = 0; row < 4; ++row) {
        for (int column = 0; column < 3; ++column) {
            int tag = kKeyTags[row][column];
            auto key = std::make_shared<ui::Button>(ui::ButtonType::Custom, keyFrame(row, column));
            auto pressed = ui::Image::named(pressedImageName(tag));
            key->setImage(pressed, ui::ControlState::Highlighted);
            key->setImage(pressed, ui::ControlState::Selected);
            // The pressed picture already is the pressed look; dimming it would wash it out.
            key->setAdjustsImageWhenHighlighted(false);
            key->setTag(tag);
            key->setAccessibilityIdentifier("keypad.key." + keyName(tag));
            key->addAction(ui::ControlEvent::TouchUpInside, [this](ui::Control& sender) { keyReleased(sender.tag()); });
            addSubview(key);
        }
    }
}

ui::Button* CustomNumbleKeyboardView::keyWithTag(int tag)
{
    for (const auto& subview : subviews()) {
        if (auto* key = dynamic_cast<ui::Button*>(subview.get()); key && key->tag() == tag)
            return key;
    }
    return nullptr;
}

void CustomNumbleKeyboardView::keyReleased(int tag)
{
    if (!_delegate) {
        foundation::log("button tag [" + std::to_string(tag) + "]");
        return;
    }
    if (tag >= 0 && tag <= 9)
        _delegate->numberKeyBoardInput(tag);
    else if (tag == kDoneTag)
        _delegate->numberKeyBoardFinish();
    else if (tag == kDeleteTag)
        _delegate->numberKeyBoardBackspace();
}

} // namespace tessaro
