#include "shell/qt/KeyboardPanel.h"

#include <array>

namespace tessaro {

namespace {

const ui::Color panelColor = ui::Color::rgb255(209, 213, 219);
const ui::Color keyColor = ui::Color::whiteColor();
const ui::Color functionKeyColor = ui::Color::rgb255(172, 179, 188);
const ui::Color inkColor = ui::Color::rgb255(60, 60, 67);

constexpr double keyHeight = 42;
constexpr double rowGap = 12;
constexpr double sideMargin = 3;
constexpr double keyGap = 6;

} // namespace

ui::Rect KeyboardPanel::hideKeyRect(const ui::Rect& frame)
{
    double width = 76;
    return { frame.maxX() - sideMargin - width, frame.maxY() - 4 - keyHeight, width, keyHeight };
}

void KeyboardPanel::draw(ui::Painter& painter, const ui::Rect& frame)
{
    painter.fillRect(frame, panelColor);
    // Three rows of letter keys (10, 9, 7 wide), then the space row with the hide key.
    constexpr std::array<int, 3> rowKeys { 10, 9, 7 };
    double keyWidth = (frame.width() - 2 * sideMargin - 9 * keyGap) / 10;
    double y = frame.minY() + 8;
    for (int keys : rowKeys) {
        double rowWidth = keys * keyWidth + (keys - 1) * keyGap;
        double x = frame.midX() - rowWidth / 2;
        for (int k = 0; k < keys; ++k) {
            painter.fillRect({ x, y, keyWidth, keyHeight }, keyColor, 5);
            x += keyWidth + keyGap;
        }
        y += keyHeight + rowGap;
    }
    ui::Rect hide = hideKeyRect(frame);
    ui::Rect space { frame.minX() + sideMargin + 80, hide.minY(), hide.minX() - keyGap - frame.minX() - sideMargin - 80,
                     keyHeight };
    painter.fillRect(space, keyColor, 5);
    painter.fillRect(hide, functionKeyColor, 5);
    // A chevron pointing down: the keyboard goes away.
    ui::Point mid = hide.center();
    painter.drawLine({ mid.x - 9, mid.y - 4 }, { mid.x, mid.y + 5 }, inkColor, 2);
    painter.drawLine({ mid.x, mid.y + 5 }, { mid.x + 9, mid.y - 4 }, inkColor, 2);
}

} // namespace tessaro
