#pragma once
// A picture: a name, its encoded bytes (PNG, GIF or JPEG) and its size in points. Images
// named in the resources are read lazily, on the first question about their bytes or size;
// decoding the pixels is the painter's business, so this type stays a plain holder.
//
// Ownership: images are immutable and shared (std::shared_ptr<const Image>); named images
// are cached for the life of the process, as on the handset.

#include "platform/ui/Geometry.h"

#include <cstdint>
#include <filesystem>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

namespace ui {

class Image {
public:
    // The resource image of that name ("btn_menu_top.png"; ".png" is assumed when the name
    // has no extension). A file "name@2x.png" beside it is preferred and counts at scale 2.
    // Null when neither exists.
    static std::shared_ptr<const Image> named(const std::string& name);

    // An image from bytes received at run time (a downloaded banner). Null when the bytes
    // are not a PNG, GIF or JPEG whose size can be read.
    static std::shared_ptr<const Image> fromData(std::string name, std::vector<std::uint8_t> bytes,
                                                 double scale = 1.0);
    // The display's decoder, asked by fromData whether the pixels really decode: a header
    // can promise a picture whose body is damaged, and such bytes must count as no picture
    // (a person's damaged photo shows the default picture, not a blank). Null: headers only.
    using DecodingCheck = std::function<bool(const Image&)>;
    static void setDecodingCheck(DecodingCheck check);

    // Where named images are looked up; resources/images of the source tree by default.
    static std::filesystem::path resourceDirectory();
    static void setResourceDirectory(const std::filesystem::path& directory);

    const std::string& name() const { return m_name; }
    const std::vector<std::uint8_t>& bytes() const;
    // Points: pixels divided by the scale. Zero for a file that cannot be read.
    Size size() const;
    double scale() const { return m_scale; }
    // "png", "gif", "jpeg", or empty when unknown.
    std::string format() const;

    // Public for std::make_shared; use named() or fromData().
    Image(std::string name, std::filesystem::path file, double scale);
    Image(std::string name, std::vector<std::uint8_t> bytes, Size pixelSize, double scale);

private:
    void load() const;

    std::string m_name;
    std::filesystem::path m_file;
    double m_scale { 1 };
    mutable std::once_flag m_loaded;
    mutable std::vector<std::uint8_t> m_bytes;
    mutable Size m_pixelSize;
};

// The pixel size written in the header of a PNG, GIF or JPEG; empty size when unknown.
Size encodedImagePixelSize(const std::vector<std::uint8_t>& bytes);

} // namespace ui
