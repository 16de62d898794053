#pragma once
// The column of index titles a table lays over its right edge. A finger on it, or sliding
// along it, names the entry under it once per entry reached; the table then scrolls to that
// entry's section. The search title (TableViewIndexSearch) shows as a magnifying glass.
//
// Ownership: the table owns its index; `touched` is the table's single listener.

#include "platform/ui/View.h"

#include <functional>
#include <string>
#include <vector>

namespace ui {

class TableSectionIndexView final : public View {
public:
    static constexpr double entryHeight = 15;

    std::function<void(int position)> touched;

    std::string typeName() const override { return "TableViewIndex"; }
    void setTitles(std::vector<std::string> titles);
    // The entry at that height of the column, the nearest end when outside; -1 without titles.
    int positionAt(double y) const;

    void touchesBegan(const Touch& touch) override;
    void touchesMoved(const Touch& touch) override;
    void touchesEnded(const Touch& touch) override;
    void touchesCancelled(const Touch& touch) override;
    void draw(Painter& painter) override;

private:
    // The entries are centred in the column, each at most entryHeight high.
    double step() const;
    double firstTop() const;
    void report(const Touch& touch);

    std::vector<std::string> m_titles;
    int m_last { -1 };
};

} // namespace ui
