// Decodes JPEG bytes with libjpeg, the way the window does, for checking pictures.
#pragma once

#include <csetjmp>
#include <cstdio>
#include <vector>

#include <jpeglib.h>

#include "encoding/text.h"

struct DecodedJpeg {
    bool ok = false;
    int width = 0;
    int height = 0;
    int components = 0;
    bool progressive = false;
    std::vector<std::uint8_t> pixels;  // RGB rows
};

inline DecodedJpeg DecodeJpeg(const ByteSet& bytes)
{
    struct Errors {
        jpeg_error_mgr base;
        std::jmp_buf escape;
    };
    DecodedJpeg decoded;
    jpeg_decompress_struct info{};
    Errors errors{};
    info.err = jpeg_std_error(&errors.base);
    errors.base.error_exit = [](j_common_ptr common) { std::longjmp(reinterpret_cast<Errors*>(common->err)->escape, 1); };
    errors.base.output_message = [](j_common_ptr) {};
    if (setjmp(errors.escape) != 0) {
        jpeg_destroy_decompress(&info);
        return DecodedJpeg{};
    }
    jpeg_create_decompress(&info);
    jpeg_mem_src(&info, bytes.data(), static_cast<unsigned long>(bytes.size()));
    jpeg_read_header(&info, TRUE);
    info.out_color_space = JCS_RGB;
    jpeg_start_decompress(&info);
    decoded.width = static_cast<int>(info.output_width);
    decoded.height = static_cast<int>(info.output_height);
    decoded.components = info.num_components;
    decoded.progressive = info.progressive_mode != 0;
    decoded.pixels.resize(static_cast<std::size_t>(decoded.width) * decoded.height * 3);
    while (info.output_scanline < info.output_height) {
        JSAMPROW row = decoded.pixels.data() + static_cast<std::size_t>(info.output_scanline) * decoded.width * 3;
        jpeg_read_scanlines(&info, &row, 1);
    }
    jpeg_finish_decompress(&info);
    jpeg_destroy_decompress(&info);
    decoded.ok = true;
    return decoded;
}
