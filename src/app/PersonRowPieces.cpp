#include "app/PersonRowPieces.h"

#include "app/Utility.h"
#include "platform/ui/Image.h"
#include "platform/ui/ImageView.h"

#include <vector>

namespace tessaro {

double PersonRowPieces::rowOffset()
{
    return Utility::isIOS7() ? 10 : 0;
}

std::shared_ptr<const ui::Image> PersonRowPieces::photoOf(const Contact* person)
{
    if (person) {
        if (auto data = person->image()) {
            if (auto image = ui::Image::fromData("photo", std::vector<std::uint8_t>(data->begin(), data->end())))
                return image;
        }
    }
    return ui::Image::named("head.png");
}

ui::Size PersonRowPieces::photoSize(const ui::Size& imageSize)
{
    double width = imageSize.width;
    double height = imageSize.height;
    // A picture whose size cannot be read still gets the whole box rather than a division
    // by zero.
    if (width <= 0 || height <= 0)
        return { kPhotoBox, kPhotoBox };
    if (width > height)
        return { kPhotoBox, kPhotoBox * height / width };
    return { kPhotoBox * width / height, kPhotoBox };
}

std::shared_ptr<ui::ImageView> PersonRowPieces::photoView(std::shared_ptr<const ui::Image> image, double x)
{
    ui::Size size = photoSize(image ? image->size() : ui::Size {});
    auto photo = std::make_shared<ui::ImageView>(ui::Rect { x + (kSquare - size.width) / 2, (kSquare - size.height) / 2, size.width, size.height });
    photo->setImage(std::move(image));
    return photo;
}

std::string PersonRowPieces::displayName(const Contact& person)
{
    std::string name = person.contactName();
    return name.empty() ? person.phonenumbers() : name;
}

std::string PersonRowPieces::jobLine(const Contact& person)
{
    return person.organization().value_or(std::string()) + " " + person.jobtitle().value_or(std::string()) + " "
        + person.department().value_or(std::string());
}

} // namespace tessaro
