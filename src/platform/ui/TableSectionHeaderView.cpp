#include "platform/ui/TableSectionHeaderView.h"

#include "platform/ui/Label.h"
#include "platform/ui/TableView.h"

#include <algorithm>

namespace ui {

TableSectionHeaderView::TableSectionHeaderView(TableViewStyle style)
    : m_label(std::make_shared<Label>())
{
    if (style == TableViewStyle::Plain) {
        setBackgroundColor(Color::rgb255(247, 247, 247));
        m_label->setFont(Font::boldSystemFontOfSize(16));
        m_label->setTextColor(Color::darkGrayColor());
    } else {
        setBackgroundColor(std::nullopt);
        m_label->setFont(Font::systemFontOfSize(14));
        m_label->setTextColor(Color::grayColor());
    }
    addSubview(m_label);
}

void TableSectionHeaderView::setTitle(const std::string& title)
{
    m_label->setText(title);
}

void TableSectionHeaderView::layoutSubviews()
{
    m_label->setFrame({ 15, 0, std::max(0.0, bounds().width() - 30), bounds().height() });
}

} // namespace ui
