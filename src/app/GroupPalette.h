#pragma once
// The 45 colours a group can be given, by palette index. Header-only and free of every other
// header so that the picture generator (tools/imagegen) draws the help pages' group rows with
// exactly the colours the application shows.

#include <array>

namespace tessaro {

struct GroupPaletteColor {
    double red { 0 };
    double green { 0 };
    double blue { 0 };
};

namespace detail {
constexpr GroupPaletteColor bytes(int red, int green, int blue)
{
    return { red / 255.0, green / 255.0, blue / 255.0 };
}
} // namespace detail

// Indexes 0 to 40 are chosen shades; 41 to 44 are the plain red, orange, blue and near-black
// the handset names.
inline constexpr std::array<GroupPaletteColor, 45> kGroupPalette { {
    detail::bytes(207, 92, 92), detail::bytes(220, 105, 143), detail::bytes(169, 105, 169),
    detail::bytes(130, 92, 207), detail::bytes(92, 130, 169), detail::bytes(92, 130, 207),
    detail::bytes(91, 163, 127), detail::bytes(66, 166, 72), detail::bytes(130, 181, 54),
    detail::bytes(181, 181, 67), detail::bytes(214, 184, 54), detail::bytes(232, 156, 54),
    detail::bytes(220, 118, 67), detail::bytes(180, 138, 138), detail::bytes(159, 136, 159),
    detail::bytes(127, 141, 155), detail::bytes(138, 152, 180), detail::bytes(123, 160, 155),
    detail::bytes(157, 157, 115), detail::bytes(186, 158, 121), detail::bytes(189, 76, 20),
    detail::bytes(171, 71, 83), detail::bytes(184, 58, 161), detail::bytes(86, 53, 143),
    detail::bytes(73, 98, 156), detail::bytes(44, 54, 163), detail::bytes(70, 143, 81),
    detail::bytes(82, 156, 40), detail::bytes(116, 184, 27), detail::bytes(157, 174, 30),
    detail::bytes(197, 143, 7), detail::bytes(202, 117, 20), detail::bytes(171, 90, 10),
    detail::bytes(135, 67, 10), detail::bytes(161, 28, 103), detail::bytes(140, 57, 155),
    detail::bytes(59, 123, 153), detail::bytes(105, 105, 105), detail::bytes(55, 155, 125),
    detail::bytes(199, 178, 44), detail::bytes(163, 35, 35),
    { 1, 0, 0 }, { 1, 0.5, 0 }, { 0, 0, 1 }, { 0.1, 0.1, 0.1 },
} };

} // namespace tessaro
