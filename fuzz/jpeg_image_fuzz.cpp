// The emblem's JPEG decoder on arbitrary bytes: it must return, never abort or touch memory
// outside its buffers, and a picture it accepts must have the pixels its size promises.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "quillmark/ui/JpegImage.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const qm::ui::TJpegImage image =
        qm::ui::DecodeJpeg(std::string_view(reinterpret_cast<const char*>(data), size));
    const std::size_t expected =
        image.IsNull() ? 0 : static_cast<std::size_t>(image.width) * image.height * 3;
    if (image.rgb.size() != expected) std::abort();
    return 0;
}
