#pragma once
// Small generated portraits for the sample address book: a head-and-shoulders silhouette on
// a coloured background, encoded as PNG. Uncompressed deflate blocks keep the encoder a few
// lines long with no image library; at 64 pixels a picture is about 12 KB.

#include <cstdint>
#include <string>

namespace contactstore::demo {

class AvatarImage {
public:
    // A size × size picture (1 to 512) in the given background colour; the same arguments
    // always give the same bytes.
    static std::string png(int size, std::uint32_t backgroundRgb);
};

} // namespace contactstore::demo
