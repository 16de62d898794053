#pragma once
// Shapes and fonts that several pictures share: the person silhouette, the telephone handset,
// the star, the menu glyph, the group palette, and the fonts for English and Japanese text.
// Every shape is drawn into a given rectangle, so the same glyph serves a 20-point button and
// a 4-point detail of a how-to-use picture.

#include <QColor>
#include <QFont>
#include <QPainter>
#include <QPainterPath>
#include <QRectF>
#include <QString>

namespace drawing {

// Fonts by language tag ("en", "ja"); sizes in points (the painter draws 1 point per unit).
QFont font(const QString& language, qreal points, QFont::Weight weight = QFont::Normal);
QFont latinFont(qreal points, QFont::Weight weight = QFont::Normal);

// The colour a group shows in, by its palette index (0 to 44); black for any other index.
QColor paletteColor(int index);

// The platform's standard blue of bar buttons and ticks on the newer look.
inline const QColor kSystemBlue { 0, 122, 255 };
// Neutral grey used by tab icons: readable on both the dark and the light tab bar.
inline const QColor kIconGrey { 122, 122, 128 };

// Outlines in the unit square, to be scaled with unitTransform().
QPainterPath personPath();      // head and shoulders
QPainterPath handsetPath();     // telephone receiver, earpiece top left
QPainterPath starPath();        // five points, tip up
QTransform unitTransform(const QRectF& box);

void fillPath(QPainter& painter, const QPainterPath& unitPath, const QRectF& box, const QColor& color);
void strokePath(QPainter& painter, const QPainterPath& unitPath, const QRectF& box, const QColor& color,
                qreal width);

// Three short bars with a dot before each: the menu button of a group row.
void menuGlyph(QPainter& painter, const QRectF& box, const QColor& color);
// The grey portrait that stands in for a person without a photo.
void headPlaceholder(QPainter& painter, const QRectF& box);
// A tick mark from lower left to upper right.
void tickMark(QPainter& painter, const QRectF& box, const QColor& color, qreal width);

// Draws text into a box with Qt alignment flags, shrinking the font until it fits the box's
// width (one line) or its height (wrapped), so a translation never overflows its place.
void fittedText(QPainter& painter, const QRectF& box, const QString& text, QFont font, int flags);

} // namespace drawing
