#pragma once
// The two looks of the system's own controls. From system 7 on they are flat: plain bars
// with a hairline, bare tinted titles on bar buttons, white action-sheet plates. Before 7
// they are glossy: bars and bar buttons shaded from light at the top to dark at the bottom,
// every bar button in a bordered bezel with a white bold title, action sheets dark with
// shaded buttons.

#include "platform/ui/Color.h"
#include "platform/ui/Geometry.h"

namespace ui {

class Painter;

enum class SystemLook { Flat, Glossy };

// The look of the device's system version.
SystemLook systemLook();
inline bool isGlossyLook() { return systemLook() == SystemLook::Glossy; }

// The colour `amount` (0 to 1) of the way from `from` to `to`.
Color mixColors(const Color& from, const Color& to, double amount);

// Shades the rectangle from `top` to `bottom`, in bands too thin to see on the handset's
// screen, within the rounded corners when the radius is above 0.
void fillVerticalGradient(Painter& painter, const Rect& rect, const Color& top, const Color& bottom,
                          double cornerRadius = 0);

// A glossy bar (navigation bar, toolbar, search bar) of the base colour: light at the top,
// the base at the bottom, a bright line along the top and a dark one along the bottom.
void paintGlossyBar(Painter& painter, const Rect& rect, const Color& base);

// A glossy bezel (bordered bar button, action-sheet button) of the base colour.
void paintGlossyBezel(Painter& painter, const Rect& rect, const Color& base, double cornerRadius, bool pressed = false);

// The glossy back button: a bezel whose left end comes to a point `pointWidth` long.
void paintGlossyBackBezel(Painter& painter, const Rect& rect, const Color& base, double pointWidth, bool pressed = false);

// The blue-grey of the glossy look's bars when the screen gives them no tint.
Color glossyBarColor();

} // namespace ui
