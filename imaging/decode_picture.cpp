#include "imaging/decode_picture.h"

#include "imaging/bmp_decoder.h"
#include "imaging/icon_decoder.h"
#include "imaging/jpeg_decoder.h"
#include "imaging/pcx_decoder.h"
#include "imaging/picture_kind.h"

namespace imaging {
namespace {

template <typename Decoded>
std::optional<DecodedPicture> Wrap(std::optional<Decoded> decoded)
{
    if (!decoded) return std::nullopt;
    return DecodedPicture(std::move(*decoded));
}

}  // namespace

std::optional<DecodedPicture> DecodePicture(const ByteSet& bytes)
{
    const auto kind = RecognizePictureKind(bytes);
    if (!kind) return std::nullopt;
    switch (*kind) {
    case PictureKind::Bmp: return Wrap(DecodeBmp(bytes));
    case PictureKind::Jpeg: return Wrap(DecodeJpeg(bytes));
    case PictureKind::Ico:
    case PictureKind::Cur: return Wrap(DecodeIcon(bytes));
    case PictureKind::Gif: return Wrap(DecodeGif(bytes));
    case PictureKind::Pcx8:
    case PictureKind::Pcx1: return Wrap(DecodePcx(bytes));
    }
    return std::nullopt;
}

}  // namespace imaging
