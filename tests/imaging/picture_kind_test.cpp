#include <gtest/gtest.h>

#include "imaging/decode_picture.h"
#include "imaging/picture_kind.h"

using imaging::PictureKind;
using imaging::RecognizePictureKind;

namespace {

struct KindCase {
    const char* what;
    ByteSet leading;
    std::optional<PictureKind> kind;
};

TEST(PictureKind, RecognisesTheLeadingBytesInTableOrder)
{
    const KindCase cases[] = {
        {"BMP", {'B', 'M', 0, 0, 0, 0}, PictureKind::Bmp},
        {"JPEG", {0xFF, 0xD8, 0xFF, 0xE0, 0, 0x10}, PictureKind::Jpeg},
        {"icon with one image", {0, 0, 1, 0, 1, 0}, PictureKind::Ico},
        {"icon with no image", {0, 0, 1, 0, 0, 0}, std::nullopt},
        {"cursor, count in the high byte", {0, 0, 2, 0, 0, 1}, PictureKind::Cur},
        {"cursor with no image", {0, 0, 2, 0, 0, 0}, std::nullopt},
        {"GIF87a", {'G', 'I', 'F', '8', '7', 'a'}, PictureKind::Gif},
        {"GIF89a", {'G', 'I', 'F', '8', '9', 'a'}, PictureKind::Gif},
        {"GIF88a", {'G', 'I', 'F', '8', '8', 'a'}, std::nullopt},
        {"GIF89b", {'G', 'I', 'F', '8', '9', 'b'}, std::nullopt},
        {"PCX 8 bits, version 5", {0x0A, 5, 1, 8, 0, 0}, PictureKind::Pcx8},
        {"PCX 8 bits, version 0", {0x0A, 0, 1, 8, 0, 0}, PictureKind::Pcx8},
        {"PCX 8 bits, version 6", {0x0A, 6, 1, 8, 0, 0}, std::nullopt},
        {"PCX 8 bits, not run-length", {0x0A, 5, 0, 8, 0, 0}, std::nullopt},
        {"PCX 1 bit, version 3", {0x0A, 3, 1, 1, 0, 0}, PictureKind::Pcx1},
        {"PCX 1 bit, version 5", {0x0A, 5, 1, 1, 0, 0}, std::nullopt},
        {"PCX 4 bits", {0x0A, 5, 1, 4, 0, 0}, std::nullopt},
        {"5 bytes of a JPEG", {0xFF, 0xD8, 0xFF, 0xE0, 0x00}, std::nullopt},
        {"nothing", {}, std::nullopt},
        {"HTML page", ToByteSet("<!DOCTYPE html><html><body>502 Bad Gateway</body></html>"), std::nullopt},
        {"PNG", {0x89, 'P', 'N', 'G', '\r', '\n'}, std::nullopt},
    };
    for (const KindCase& c : cases) {
        EXPECT_EQ(RecognizePictureKind(c.leading), c.kind) << c.what;
    }
}

TEST(PictureKind, BytesOfNoKindDecodeToNothing)
{
    EXPECT_FALSE(imaging::DecodePicture({0xFF, 0xD8, 0xFF, 0xE0, 0x00}));
    EXPECT_FALSE(imaging::DecodePicture(ToByteSet("<html><head><title>404 Not Found</title></head></html>")));
    // A known kind whose decoder fails also gives nothing.
    EXPECT_FALSE(imaging::DecodePicture({'B', 'M', 0, 0, 0, 0, 0, 0}));
}

}  // namespace
