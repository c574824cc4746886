#include "quillmark/ui/JpegImage.h"

#include <csetjmp>
#include <cstdio>

#include <jpeglib.h>

namespace qm::ui {

namespace {

// libjpeg's error manager extended by the place to jump back to. libjpeg reports every failure
// through error_exit and expects it not to return; a C++ exception must not pass through its C
// frames, so the handler jumps back to DecodeUntilError as libjpeg documents. Only libjpeg's own
// frames are skipped by the jump.
struct TErrorManager {
    jpeg_error_mgr library;
    std::jmp_buf recovery;
};

[[noreturn]] void JumpToRecovery(j_common_ptr info) {
    std::longjmp(reinterpret_cast<TErrorManager*>(info->err)->recovery, 1);
}

// Warnings (level -1) mean corrupt data that libjpeg would paper over: treated as failures.
// Trace messages (levels 0 and up) are dropped, as is all output to stderr.
void EmitMessage(j_common_ptr info, int level) {
    if (level < 0) JumpToRecovery(info);
}

void OutputNothing(j_common_ptr) {}

// Decodes into image; false after any error. Everything that lives across the jump belongs to the
// caller (info, errors, image), so no object of this frame changes between setjmp and longjmp.
bool DecodeUntilError(jpeg_decompress_struct& info, TErrorManager& errors, std::string_view bytes,
                      TJpegImage& image) {
    if (setjmp(errors.recovery) != 0) return false;
    jpeg_create_decompress(&info);
    jpeg_mem_src(&info, reinterpret_cast<const unsigned char*>(bytes.data()),
                 static_cast<unsigned long>(bytes.size()));
    jpeg_read_header(&info, TRUE);
    info.out_color_space = JCS_RGB;
    jpeg_calc_output_dimensions(&info);
    const std::uint64_t pixels = std::uint64_t{info.output_width} * info.output_height;
    if (info.output_components != 3 || pixels == 0 || pixels > kJpegMaxPixels) return false;
    jpeg_start_decompress(&info);
    image.width = static_cast<int>(info.output_width);
    image.height = static_cast<int>(info.output_height);
    image.rgb.resize(pixels * 3);
    while (info.output_scanline < info.output_height) {
        JSAMPROW row = image.rgb.data() + std::size_t{info.output_scanline} * info.output_width * 3;
        jpeg_read_scanlines(&info, &row, 1);
    }
    jpeg_finish_decompress(&info);
    return true;
}

}  // namespace

TJpegImage DecodeJpeg(std::string_view bytes) {
    TErrorManager errors{};
    jpeg_decompress_struct info{};
    info.err = jpeg_std_error(&errors.library);
    errors.library.error_exit = JumpToRecovery;
    errors.library.emit_message = EmitMessage;
    errors.library.output_message = OutputNothing;
    TJpegImage image;
    const bool decoded = DecodeUntilError(info, errors, bytes, image);
    jpeg_destroy_decompress(&info);
    return decoded ? image : TJpegImage{};
}

}  // namespace qm::ui
