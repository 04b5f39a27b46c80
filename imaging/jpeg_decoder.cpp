#include "imaging/jpeg_decoder.h"

#include <bit>
#include <csetjmp>
#include <cstdio>
#include <new>

#include <jpeglib.h>

#include "imaging/jpeg_memory_source.h"

namespace imaging {
namespace {

// Progressive files may hold any number of scans, each a pass over the whole
// picture; a few bytes per scan could keep the decoder busy for minutes.
constexpr int kMaxScans = 1000;

// libjpeg-turbo writes 32-bit pixels straight into our rows when told the byte order
// that makes up 0xAARRGGBB in memory.
constexpr J_COLOR_SPACE kNativeArgb =
    std::endian::native == std::endian::little ? JCS_EXT_BGRA : JCS_EXT_ARGB;

// Plain C data only: the decoder jumps back here with longjmp, over libjpeg's frames.
struct Decoding {
    jpeg_decompress_struct cinfo;
    jpeg_error_mgr errors;
    jpeg_progress_mgr progress;
    std::jmp_buf exit;
    bool allRowsRead;
};

Decoding& DecodingOf(j_common_ptr cinfo)
{
    return *static_cast<Decoding*>(cinfo->client_data);
}

[[noreturn]] void ExitToDecoder(j_common_ptr cinfo)
{
    std::longjmp(DecodingOf(cinfo).exit, 1);
}

void IgnoreMessage(j_common_ptr, int) {}

void PrintNothing(j_common_ptr) {}

void LimitScans(j_common_ptr cinfo)
{
    if (cinfo->is_decompressor &&
        reinterpret_cast<j_decompress_ptr>(cinfo)->input_scan_number > kMaxScans)
        ExitToDecoder(cinfo);
}

// a * b / 255, rounded, for 8-bit a and b.
inline std::uint32_t MultiplyDiv255(std::uint32_t a, std::uint32_t b)
{
    const std::uint32_t product = a * b + 128;
    return (product + (product >> 8)) >> 8;
}

void CmykRowToArgb(const JSAMPLE* cmyk, std::uint32_t* out, JDIMENSION width, bool inverted)
{
    for (JDIMENSION x = 0; x < width; ++x, cmyk += 4) {
        // Ink amounts; Adobe's files store them inverted.
        std::uint32_t c = cmyk[0], m = cmyk[1], y = cmyk[2], k = cmyk[3];
        if (inverted) c = 255 - c, m = 255 - m, y = 255 - y, k = 255 - k;
        const std::uint32_t white = 255 - k;
        out[x] = OpaqueRgb(white - MultiplyDiv255(c, white), white - MultiplyDiv255(m, white),
                           white - MultiplyDiv255(y, white));
    }
}

// Runs the decoder; returns whether `picture` holds a picture. Every libjpeg error
// lands back at the setjmp below. Locals of this function are not relied upon after
// a jump: what must survive lives in `d` and `picture`.
bool Decode(Decoding& d, const ByteSet& bytes, JpegSourceSetup setup, Picture& picture)
{
    if (setjmp(d.exit)) return d.allRowsRead;

    jpeg_create_decompress(&d.cinfo);
    d.progress.progress_monitor = LimitScans;
    d.cinfo.progress = &d.progress;
    setup(&d.cinfo, bytes.data(), bytes.size());
    jpeg_read_header(&d.cinfo, TRUE);  // TRUE: tables without an image are an error

    const bool cmyk = d.cinfo.num_components == 4 &&
                      (d.cinfo.jpeg_color_space == JCS_CMYK || d.cinfo.jpeg_color_space == JCS_YCCK);
    if (cmyk) {
        d.cinfo.out_color_space = JCS_CMYK;
    } else if (d.cinfo.num_components == 1 || d.cinfo.num_components == 3) {
        d.cinfo.out_color_space = kNativeArgb;
    } else {
        return false;
    }
    if (!FitsPixelBound(d.cinfo.image_width, d.cinfo.image_height)) return false;

    jpeg_start_decompress(&d.cinfo);
    const JDIMENSION width = d.cinfo.output_width;
    const JDIMENSION height = d.cinfo.output_height;
    if (!FitsPixelBound(width, height)) return false;
    picture.width = static_cast<int>(width);
    picture.height = static_cast<int>(height);
    try {
        picture.pixels.assign(std::size_t{width} * height, kOpaqueBlack);
    } catch (const std::bad_alloc&) {
        return false;
    }

    JSAMPARRAY cmykRow = cmyk ? (*d.cinfo.mem->alloc_sarray)(reinterpret_cast<j_common_ptr>(&d.cinfo),
                                                             JPOOL_IMAGE, width * 4, 1)
                              : nullptr;
    const bool inverted = d.cinfo.saw_Adobe_marker;
    while (d.cinfo.output_scanline < height) {
        std::uint32_t* out = picture.pixels.data() + std::size_t{d.cinfo.output_scanline} * width;
        JSAMPROW row = cmyk ? cmykRow[0] : reinterpret_cast<JSAMPROW>(out);
        if (jpeg_read_scanlines(&d.cinfo, &row, 1) != 1) break;
        if (cmyk) CmykRowToArgb(cmykRow[0], out, width, inverted);
    }
    // Every row is there now; trouble while finishing up no longer matters.
    d.allRowsRead = true;
    jpeg_finish_decompress(&d.cinfo);
    return true;
}

}  // namespace

std::optional<Picture> DecodeJpegWithSource(const ByteSet& bytes, JpegSourceSetup setup)
{
    Decoding d{};
    d.cinfo.err = jpeg_std_error(&d.errors);
    d.errors.error_exit = ExitToDecoder;
    d.errors.emit_message = IgnoreMessage;
    d.errors.output_message = PrintNothing;
    d.cinfo.client_data = &d;

    Picture picture;
    const bool decoded = Decode(d, bytes, setup, picture);
    jpeg_destroy_decompress(&d.cinfo);  // also safe when creating it failed
    if (!decoded) return std::nullopt;
    return picture;
}

std::optional<Picture> DecodeJpeg(const ByteSet& bytes)
{
    return DecodeJpegWithSource(bytes, UseJpegMemorySource);
}

}  // namespace imaging
