#include "service/picture/jpeg_encoder.h"

#include <csetjmp>
#include <cstdio>
#include <cstdlib>

#include <jpeglib.h>

namespace {

struct ErrorManager {
    jpeg_error_mgr base;
    std::jmp_buf escape;
};

[[noreturn]] void OnError(j_common_ptr info)
{
    std::longjmp(reinterpret_cast<ErrorManager*>(info->err)->escape, 1);
}

void OnMessage(j_common_ptr) {}

}  // namespace

ByteSet EncodeJpegBgrx(const std::uint8_t* pixels, int width, int height, std::size_t stride, int quality)
{
    jpeg_compress_struct info{};
    ErrorManager errors{};
    info.err = jpeg_std_error(&errors.base);
    errors.base.error_exit = OnError;
    errors.base.output_message = OnMessage;
    unsigned char* output = nullptr;
    unsigned long outputSize = 0;

    // Nothing below owns anything that a longjmp would skip: the only resources
    // are libjpeg's own, released in this branch.
    if (setjmp(errors.escape) != 0) {
        jpeg_destroy_compress(&info);
        std::free(output);
        return {};
    }
    jpeg_create_compress(&info);
    jpeg_mem_dest(&info, &output, &outputSize);
    info.image_width = static_cast<JDIMENSION>(width);
    info.image_height = static_cast<JDIMENSION>(height);
    info.input_components = 4;
    info.in_color_space = JCS_EXT_BGRX;
    jpeg_set_defaults(&info);
    jpeg_set_quality(&info, quality, TRUE);
    // Full-resolution colour: red and gold strokes on coloured ground keep clean
    // edges that 4:2:0 subsampling would blur.
    for (int component = 0; component < info.num_components; ++component) {
        info.comp_info[component].h_samp_factor = 1;
        info.comp_info[component].v_samp_factor = 1;
    }
    jpeg_start_compress(&info, TRUE);
    while (info.next_scanline < info.image_height) {
        JSAMPROW row = const_cast<JSAMPROW>(pixels + stride * info.next_scanline);
        jpeg_write_scanlines(&info, &row, 1);
    }
    jpeg_finish_compress(&info);
    ByteSet jpeg(output, output + outputSize);
    jpeg_destroy_compress(&info);
    std::free(output);
    return jpeg;
}
