#pragma once
// Decodes the UI layer's images (encoded bytes) into Qt images once and keeps them, so
// that repainting a screen does not decode its icons again.
//
// Entries are keyed by the bytes themselves (a hash checked against the bytes), not by the
// image's address: an image made from downloaded data may go, and another take its place.
// Main thread only.

#include "platform/ui/Image.h"

#include <QImage>

#include <cstddef>
#include <list>
#include <unordered_map>
#include <vector>

namespace tessaro {

class DecodedImages {
public:
    static DecodedImages& shared();

    // The decoded pixels, or a null QImage when the bytes cannot be decoded.
    QImage imageFor(const ui::Image& image);

    // Makes ui::Image::fromData refuse bytes that do not decode (a damaged photo then
    // counts as none and the screens show their default picture). The pixels decoded for
    // the check are kept for the painter.
    static void installDecodingCheck();

    // How many decoded pixels are kept at most before the least recently used go.
    static constexpr std::size_t pixelBudget = 24u * 1024 * 1024;

private:
    struct Entry {
        std::size_t hash { 0 };
        std::vector<std::uint8_t> bytes;
        QImage decoded;
    };

    void trim();

    std::list<Entry> m_entries; // most recently used first
    std::unordered_multimap<std::size_t, std::list<Entry>::iterator> m_byHash;
    std::size_t m_pixels { 0 };
};

} // namespace tessaro
