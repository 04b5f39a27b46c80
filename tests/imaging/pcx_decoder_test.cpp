#include <gtest/gtest.h>

#include <algorithm>

#include "fixtures.h"
#include "imaging/decode_picture.h"
#include "imaging/pcx_decoder.h"

using imaging::DecodePcx;
using namespace imaging_test;

namespace {

TEST(PcxDecoder, MatchesPillowOnFilesFromImageMagickAndPillow)
{
    // pil1.pcx is Pillow's 1-bit file with the version byte set to 3.
    for (const char* name : {"im8.pcx", "pil8.pcx", "pil1.pcx"}) {
        const auto picture = DecodePcx(Generated(name));
        ASSERT_TRUE(picture) << name;
        EXPECT_TRUE(MatchesReference(*picture, *LoadReference(std::string("gen/") + name))) << name;
    }
}

TEST(PcxDecoder, OneBitDrawsZeroBlackAndOneWhite)
{
    const auto picture = DecodePcx(Generated("pil1.pcx"));
    ASSERT_TRUE(picture);
    EXPECT_TRUE(std::all_of(picture->pixels.begin(), picture->pixels.end(), [](std::uint32_t p) {
        return p == imaging::kOpaqueBlack || p == imaging::kOpaqueWhite;
    }));
    // Pillow's own file says version 2: not a kind the box recognises.
    EXPECT_FALSE(imaging::DecodePicture(Generated("pil1_v2.pcx")));
    EXPECT_TRUE(imaging::DecodePicture(Generated("pil1.pcx")));
}

TEST(PcxDecoder, RowsBeyondTheDataStayBlack)
{
    const ByteSet whole = Generated("pil1.pcx");
    const auto full = DecodePcx(whole);
    const auto cut = DecodePcx(ByteSet(whole.begin(), whole.begin() + 128 + (whole.size() - 128) / 2));
    ASSERT_TRUE(full && cut);
    EXPECT_EQ(cut->width, full->width);
    EXPECT_TRUE(std::equal(full->pixels.begin(), full->pixels.begin() + 96 * 4, cut->pixels.begin()));
    EXPECT_EQ(cut->pixels.back(), imaging::kOpaqueBlack);
}

TEST(PcxDecoder, NothingForLayoutsItDoesNotRead)
{
    ByteSet noPalette = Generated("im8.pcx");
    noPalette.resize(noPalette.size() - 769);
    EXPECT_FALSE(DecodePcx(noPalette));
    ByteSet shortHeader = Generated("im8.pcx");
    shortHeader.resize(100);
    EXPECT_FALSE(DecodePcx(shortHeader));
    ByteSet huge = Generated("im8.pcx");  // 65536 x 65536
    huge[4] = huge[5] = huge[6] = huge[7] = 0;
    huge[8] = huge[9] = huge[10] = huge[11] = 0xFF;
    EXPECT_FALSE(DecodePcx(huge));
    ByteSet narrowRows = Generated("im8.pcx");  // 10 bytes a row for 96 pixels
    narrowRows[66] = 10, narrowRows[67] = 0;
    EXPECT_FALSE(DecodePcx(narrowRows));
}

TEST(PcxDecoder, CorpusFilesMatchTheirRenderings)
{
    REQUIRE_CORPORA();
    const auto root = *CorporaDir() / "pcx";
    // 8 bits per pixel on one plane with the palette at the end: shown as rendered.
    for (const char* name : {"kimageformats/read/indexed8.pcx", "kimageformats/read/ccbug_463951.pcx",
                             "kimageformats/write/Format_Indexed8.pcx",
                             "kimageformats/write/Format_Grayscale8.pcx", "pillow/odd_stride.pcx"}) {
        const auto picture = DecodePcx(ReadBytes(root / name));
        ASSERT_TRUE(picture) << name;
        EXPECT_TRUE(MatchesReference(*picture, *LoadReference(std::string("corpora/pcx/") + name))) << name;
    }
    // 1 bit per pixel, once the version byte is 3.
    for (const char* name : {"kimageformats/read/mono.pcx", "pillow/pil184.pcx"}) {
        ByteSet bytes = ReadBytes(root / name);
        EXPECT_FALSE(imaging::DecodePicture(bytes)) << name << " (version 5)";
        bytes[1] = 3;
        const auto picture = imaging::DecodePicture(bytes);
        ASSERT_TRUE(picture) << name;
        EXPECT_TRUE(MatchesReference(std::get<imaging::Picture>(*picture),
                                     *LoadReference(std::string("corpora/pcx/") + name)))
            << name;
    }
    // More planes (24-bit colour), no palette at the end, broken header.
    for (const char* name : {"kimageformats/read/rgb.pcx", "kimageformats/read/dice_rgba.pcx",
                             "pillow/01r_00.pcx", "pillow/ossfuzz-4836216264589312.pcx"}) {
        EXPECT_FALSE(DecodePcx(ReadBytes(root / name))) << name;
    }
}

}  // namespace
