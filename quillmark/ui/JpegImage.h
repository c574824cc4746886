#pragma once
// Decoding of JPEG data into 8-bit RGB pixels with libjpeg. No Qt here, so the fuzz target can
// build the decoder on its own. Data that libjpeg cannot read cleanly gives a null image: a fatal
// error, a corrupt-data warning, a colour space without RGB conversion or a picture too large.

#include <cstdint>
#include <string_view>
#include <vector>

namespace qm::ui {

struct TJpegImage {
    int width = 0;
    int height = 0;
    // Rows top to bottom, three bytes (red, green, blue) per pixel, no padding.
    std::vector<std::uint8_t> rgb;

    bool IsNull() const { return width == 0 || height == 0; }
};

// Pictures with more pixels than this are refused, so hostile headers cannot demand huge buffers.
inline constexpr std::uint64_t kJpegMaxPixels = 4096ull * 4096ull;

TJpegImage DecodeJpeg(std::string_view bytes);

}  // namespace qm::ui
