#pragma once
// The header a table draws for a section that has a title and no view of the screen's
// own: the title in the style of the table (bold dark grey on light grey in a plain table,
// grey over the background in a grouped one).
//
// Ownership: the table owns its headers, and keeps a few out of sight for reuse.

#include "platform/ui/View.h"

#include <memory>
#include <string>

namespace ui {

class Label;
enum class TableViewStyle;

class TableSectionHeaderView final : public View {
public:
    explicit TableSectionHeaderView(TableViewStyle style);

    std::string typeName() const override { return "TableViewSectionHeader"; }
    void setTitle(const std::string& title);
    void layoutSubviews() override;

private:
    std::shared_ptr<Label> m_label;
};

} // namespace ui
