#pragma once
// What every list of persons shows the same way: the photo (or the "head.png" figure for a
// person without one, and for a bare number) scaled into a 38-point box in the middle of
// the row's 48-point square, the row's name (the phone numbers for a person without a
// name), and the grey line of organisation, job title and department. The group lists, the
// favourites and the keypad draw their rows from these.

#include "addressbook/Contact.h"
#include "platform/ui/Geometry.h"

#include <memory>
#include <string>

namespace ui {
class Image;
class ImageView;
} // namespace ui

namespace tessaro {

class PersonRowPieces {
public:
    PersonRowPieces() = delete;

    // The square at the left of a row, and the photo's box inside it.
    static constexpr double kSquare = 48;
    static constexpr double kPhotoBox = 38;

    // From system 7 on the rows' contents sit 10 points further right, clear of the flat
    // look's wider left inset.
    static double rowOffset();

    // The person's photo, or the figure that stands for one; the figure alone for none.
    static std::shared_ptr<const ui::Image> photoOf(const Contact* person);
    // The size of a picture of that size scaled into the photo box, keeping its aspect.
    static ui::Size photoSize(const ui::Size& imageSize);
    // The picture scaled into the photo box, centred in the square that starts at x.
    static std::shared_ptr<ui::ImageView> photoView(std::shared_ptr<const ui::Image> image, double x);

    // The row's name: the person's name, or the phone numbers for a person without one.
    static std::string displayName(const Contact& person);
    // Organisation, job title and department, each left empty when missing.
    static std::string jobLine(const Contact& person);
};

} // namespace tessaro
