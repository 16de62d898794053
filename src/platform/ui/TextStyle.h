#pragma once
// How a run of text is to be set: font, colour, alignment, line breaking and truncation,
// and how far it may shrink to fit its width. Shared by the labels that ask and the
// painters and measurers that answer.

#include "platform/ui/Color.h"
#include "platform/ui/Font.h"

namespace ui {

enum class TextAlignment { Left, Center, Right };

enum class LineBreakMode { WordWrap, CharacterWrap, Clip, TruncateHead, TruncateTail, TruncateMiddle };

// How an image fills the rectangle it is drawn into.
enum class ContentMode {
    ScaleToFill,
    ScaleAspectFit,
    ScaleAspectFill,
    Center,
    Top,
    Bottom,
    Left,
    Right,
    TopLeft,
    TopRight,
    BottomLeft,
    BottomRight,
};

struct TextStyle {
    Font font;
    Color color { Color::blackColor() };
    TextAlignment alignment { TextAlignment::Left };
    LineBreakMode lineBreakMode { LineBreakMode::TruncateTail };
    // 0: as many lines as fit.
    int numberOfLines { 1 };
    // Above 0, single-line text that is too wide shrinks down to this share of its size
    // before it is truncated.
    double minimumScaleFactor { 0 };
    // Vertically centred in the rectangle when true; set from the top otherwise.
    bool centerVertically { true };

    bool operator==(const TextStyle&) const = default;
};

} // namespace ui
