#include "app/WaitView.h"

#include "platform/ui/ActivityIndicatorView.h"

namespace tessaro {

namespace {

constexpr double kSquareSize = 100;
constexpr double kIndicatorSize = 36;

constexpr auto kFlexibleMargins = ui::AutoresizingMask::FlexibleLeftMargin | ui::AutoresizingMask::FlexibleRightMargin
    | ui::AutoresizingMask::FlexibleTopMargin | ui::AutoresizingMask::FlexibleBottomMargin;

} // namespace

WaitView::WaitView(const ui::Rect& frame)
    : ui::View(frame)
{
    setBackgroundColor(ui::Color::blackColor().withAlpha(0.2));
    setOpaque(false);
    setAccessibilityIdentifier("wait");

    ui::Rect bounds = this->bounds();
    _square = std::make_shared<ui::View>(
        ui::Rect { bounds.midX() - kSquareSize / 2, bounds.midY() - kSquareSize / 2, kSquareSize, kSquareSize });
    _square->setBackgroundColor(ui::Color::blackColor().withAlpha(0.6));
    _square->setOpaque(false);
    _square->setCornerRadius(5);
    _square->setBorderWidth(0.1);
    _square->setAutoresizingMask(kFlexibleMargins);
    addSubview(_square);

    _waitIcon = std::make_shared<ui::ActivityIndicatorView>(ui::ActivityIndicatorViewStyle::WhiteLarge);
    _waitIcon->setFrame({ bounds.midX() - kIndicatorSize / 2, bounds.midY() - kIndicatorSize / 2, kIndicatorSize, kIndicatorSize });
    _waitIcon->setAutoresizingMask(kFlexibleMargins);
    _waitIcon->startAnimating();
    addSubview(_waitIcon);
}

} // namespace tessaro
