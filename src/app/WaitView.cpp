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
    m_square = std::make_shared<ui::View>(
        ui::Rect { bounds.midX() - kSquareSize / 2, bounds.midY() - kSquareSize / 2, kSquareSize, kSquareSize });
    m_square->setBackgroundColor(ui::Color::blackColor().withAlpha(0.6));
    m_square->setOpaque(false);
    m_square->setCornerRadius(5);
    m_square->setBorderWidth(0.1);
    m_square->setAutoresizingMask(kFlexibleMargins);
    addSubview(m_square);

    _waitIcon = std::make_shared<ui::ActivityIndicatorView>(ui::ActivityIndicatorViewStyle::WhiteLarge);
    _waitIcon->setFrame({ bounds.midX() - kIndicatorSize / 2, bounds.midY() - kIndicatorSize / 2, kIndicatorSize, kIndicatorSize });
    _waitIcon->setAutoresizingMask(kFlexibleMargins);
    _waitIcon->startAnimating();
    addSubview(_waitIcon);
}

} // namespace tessaro
