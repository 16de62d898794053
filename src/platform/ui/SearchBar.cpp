#include "platform/ui/SearchBar.h"

#include "platform/ui/Button.h"
#include "platform/ui/Label.h"
#include "platform/ui/Painter.h"
#include "platform/ui/SearchDisplayController.h"
#include "platform/ui/SystemLook.h"
#include "platform/ui/SystemWords.h"
#include "platform/ui/TextMeasurer.h"

#include <algorithm>
#include <cmath>
#include "platform/ui/ViewDescription.h"

namespace ui {

namespace {

// The magnifying glass at the start of the search field.
class MagnifierView final : public View {
public:
    MagnifierView()
        : View(Rect { 0, 0, 14, 14 })
    {
    }
    std::string typeName() const override { return "SearchGlyph"; }
    void draw(Painter& painter) override
    {
        Color ink = Color::colorWithWhite(0.56);
        Rect lens { 1, 1, 9, 9 };
        painter.strokeRect(lens, ink, 1.5, lens.width() / 2);
        painter.drawLine({ 8.6, 8.6 }, { 13, 13 }, ink, 1.8);
    }
};

// The bar's colour: a light grey from 7 on, a shaded blue-grey before.
const Color flatBarColor = Color::rgb255(201, 201, 206);
const Color glossyBarBaseColor = Color::rgb255(160, 174, 190);

} // namespace

SearchBar::SearchBar()
    : SearchBar(Rect { 0, 0, 320, height })
{
}

SearchBar::SearchBar(const Rect& frame)
    : View(frame)
    , m_field(std::make_shared<TextField>())
    , m_cancelButton(std::make_shared<Button>(ButtonType::System))
{
    if (!isGlossyLook())
        setBackgroundColor(flatBarColor);
    m_field->setBorderStyle(TextFieldBorderStyle::RoundedRect);
    m_field->setLeftView(std::make_shared<MagnifierView>());
    m_field->setFont(Font::systemFontOfSize(14));
    m_field->setClearButtonMode(TextFieldViewMode::WhileEditing);
    m_field->setReturnKeyType(ReturnKeyType::Search);
    m_field->setDelegate(this);
    m_field->addAction(ControlEvent::EditingChanged, [this](Control&) { textChangedByUser(); });
    addSubview(m_field);
    m_cancelButton->setTitle(systemWord(SystemWord::Cancel));
    m_cancelButton->setTitleColor(Color::systemBlueColor());
    m_cancelButton->addAction(ControlEvent::TouchUpInside, [this](Control&) { cancelTapped(); });
}

SearchBar::~SearchBar()
{
    m_field->setDelegate(nullptr);
}

std::string SearchBar::text() const
{
    return m_field->text();
}

void SearchBar::setText(std::string text)
{
    m_field->setText(std::move(text));
}

std::string SearchBar::placeholder() const
{
    return m_field->placeholder();
}

void SearchBar::setPlaceholder(std::string placeholder)
{
    m_field->setPlaceholder(std::move(placeholder));
}

void SearchBar::setShowsCancelButton(bool shows, bool animated)
{
    if (shows == m_showsCancelButton)
        return;
    m_showsCancelButton = shows;
    if (shows)
        addSubview(m_cancelButton);
    else
        m_cancelButton->removeFromSuperview();
    if (animated)
        View::animate(0.25, [this] { layoutSubviews(); });
    else
        setNeedsLayout();
}

bool SearchBar::isSearching() const
{
    return m_displayController && m_displayController->isActive();
}

void SearchBar::setIndexColumnWidth(double width)
{
    if (width == m_indexColumnWidth)
        return;
    m_indexColumnWidth = width;
    setNeedsLayout();
}

void SearchBar::setBarStyle(BarStyle style)
{
    m_barStyle = style;
    if (style == BarStyle::Black)
        setBackgroundColor(Color::colorWithWhite(0.15));
    else
        setBackgroundColor(isGlossyLook() ? std::nullopt : std::optional<Color>(flatBarColor));
}

void SearchBar::setTintColor(std::optional<Color> color)
{
    m_tintColor = color;
    if (color && !isGlossyLook())
        setBackgroundColor(*color);
}

bool SearchBar::becomeFirstResponder()
{
    return m_field->becomeFirstResponder();
}

bool SearchBar::resignFirstResponder()
{
    return m_field->resignFirstResponder();
}

bool SearchBar::isFirstResponder() const
{
    return m_field->isFirstResponder();
}

void SearchBar::layoutSubviews()
{
    Rect area = bounds();
    // Cancel takes what its word needs ("キャンセル" is wider than "Cancel").
    double cancelWidth = std::max(cancelButtonWidth,
                                  std::ceil(TextMeasurer::current().measure(m_cancelButton->currentTitle(),
                                                                            m_cancelButton->titleLabel().font()).width) + 16);
    double right = m_showsCancelButton ? cancelWidth : m_indexColumnWidth;
    double fieldHeight = std::max(0.0, area.height() - 16);
    m_field->setFrame({ 8, 8, std::max(0.0, area.width() - 16 - right), fieldHeight });
    // The glossy look's field is a capsule; the flat one's corners are only rounded.
    m_field->setCornerRadius(isGlossyLook() ? fieldHeight / 2 : TextField::roundedCornerRadius);
    if (m_showsCancelButton)
        m_cancelButton->setFrame({ area.width() - cancelWidth, 0, cancelWidth, area.height() });
}

void SearchBar::draw(Painter& painter)
{
    Rect area = bounds();
    if (isGlossyLook() && m_barStyle != BarStyle::Black) {
        paintGlossyBar(painter, area, m_tintColor.value_or(glossyBarBaseColor));
        return;
    }
    painter.drawLine({ 0, area.height() - 0.5 }, { area.width(), area.height() - 0.5 }, Color::colorWithWhite(0.7), 0.5);
}

bool SearchBar::textFieldShouldBeginEditing(TextField&)
{
    auto keep = weak_from_this().lock();
    bool allowed = !m_delegate || m_delegate->searchBarShouldBeginEditing(*this);
    if (allowed && m_displayController)
        m_displayController->searchBarWillBeginEditing();
    return allowed;
}

void SearchBar::textFieldDidBeginEditing(TextField&)
{
    if (m_delegate)
        m_delegate->searchBarTextDidBeginEditing(*this);
}

bool SearchBar::textFieldShouldEndEditing(TextField&)
{
    return !m_delegate || m_delegate->searchBarShouldEndEditing(*this);
}

void SearchBar::textFieldDidEndEditing(TextField&)
{
    if (m_delegate)
        m_delegate->searchBarTextDidEndEditing(*this);
}

bool SearchBar::textFieldShouldReturn(TextField&)
{
    auto keep = weak_from_this().lock();
    if (m_delegate)
        m_delegate->searchBarSearchButtonClicked(*this);
    if (m_displayController)
        m_displayController->searchBarSearchButtonClicked();
    return false;
}

void SearchBar::textChangedByUser()
{
    auto keep = weak_from_this().lock();
    std::string current = text();
    if (m_delegate)
        m_delegate->textDidChange(*this, current);
    if (m_displayController)
        m_displayController->searchBarTextDidChange(current);
}

void SearchBar::cancelTapped()
{
    auto keep = weak_from_this().lock();
    if (m_delegate)
        m_delegate->searchBarCancelButtonClicked(*this);
    if (m_displayController)
        m_displayController->searchBarCancelButtonClicked();
}

void SearchBar::clearTextForEndOfSearch()
{
    if (text().empty())
        return;
    m_field->setText({});
    if (m_delegate)
        m_delegate->textDidChange(*this, {});
}

void SearchBar::describe(ViewDescription& description) const
{
    View::describe(description);
    description.setText("text", text());
    description.setText("placeholder", placeholder());
}

} // namespace ui
