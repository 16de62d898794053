#pragma once
// Sets text into lines the same way for measuring and for painting, so that a label sized
// by the measurer shows all of its text when painted: line breaks, wrapping at words (or
// anywhere, for a word longer than the line), the line limit, truncation with an ellipsis
// and shrinking a single line to fit.
//
// Units are the handset's points; fonts come from SystemFonts.

#include "platform/ui/Font.h"
#include "platform/ui/Geometry.h"
#include "platform/ui/TextStyle.h"

#include <QFont>
#include <QString>

#include <string>
#include <vector>

namespace tessaro {

struct TextLine {
    QString text;
    double width { 0 };
};

struct TextBlock {
    QFont font;
    std::vector<TextLine> lines;
    double lineHeight { 0 };
    double ascent { 0 };

    double width() const;
    double height() const { return double(lines.size()) * lineHeight; }
};

class TextLayout {
public:
    // Breaks the text into lines no wider than maxWidth (0: no limit, one line per line
    // break), keeping at most maxLines (0: all) and at most as many as fit in maxHeight (0: no
    // limit). When text is left over, the last line kept is truncated by the mode.
    static TextBlock layout(const QString& text, const QFont& font, double maxWidth, int maxLines,
                            double maxHeight, ui::LineBreakMode mode);

    // The block a painter sets in the rectangle for the style, shrinking a single line that
    // is too wide down to the style's minimum scale before truncating it.
    static TextBlock layoutInRect(const std::string& text, const ui::Size& box, const ui::TextStyle& style);
};

} // namespace tessaro
