#include <gtest/gtest.h>

#include <set>

#include "fixtures.h"
#include "imaging/bmp_decoder.h"

using imaging::DecodeBmp;
using namespace imaging_test;

namespace {

TEST(BmpDecoder, MatchesPillowOnFilesFromImageMagickAndPillow)
{
    for (const char* name : {"rgb24.bmp", "pal8.bmp", "pal4.bmp", "pal1.bmp", "rgba32.bmp"}) {
        const auto picture = DecodeBmp(Generated(name));
        ASSERT_TRUE(picture) << name;
        EXPECT_TRUE(MatchesReference(*picture, *LoadReference(std::string("gen/") + name))) << name;
        EXPECT_FALSE(picture->hasAlpha) << name;
    }
}

TEST(BmpDecoder, RunLengthCompressedShowsNothing)
{
    EXPECT_FALSE(DecodeBmp(Generated("rle8.bmp")));
}

TEST(BmpDecoder, NothingWhenSizesDoNotFitTheData)
{
    const ByteSet whole = Generated("pal8.bmp");
    // Cut in the pixels, in the colour table, in the header.
    for (std::size_t size : {whole.size() - 1, std::size_t{54 + 600}, std::size_t{30}}) {
        EXPECT_FALSE(DecodeBmp(ByteSet(whole.begin(), whole.begin() + size))) << size;
    }
    // 65535 x 65535 at 24 bits would be 12 GB; the bound refuses it before any allocation.
    ByteSet huge = Generated("rgb24.bmp");
    huge[18] = huge[19] = huge[22] = huge[23] = 0xFF;
    EXPECT_FALSE(DecodeBmp(huge));
    // Pixel offset far beyond the data.
    ByteSet offset = Generated("rgb24.bmp");
    offset[13] = 0x7F;
    EXPECT_FALSE(DecodeBmp(offset));
}

// bmpsuite's "good" files that use what this decoder leaves out: run-length and
// bit-field compression, 16 bits per pixel.
const std::set<std::string> kGoodButUnsupported = {
    "g/pal4rle.bmp", "g/pal8rle.bmp", "g/rgb16-565.bmp", "g/rgb16-565pal.bmp",
    "g/rgb16.bmp", "g/rgb16bfdef.bmp", "g/rgb32bf.bmp", "g/rgb32bfdef.bmp"};
// bmpsuite's "bad" files whose fault is in a field the pictures do not depend on,
// or an index past the colour table, which shows black.
const std::set<std::string> kBadButHarmless = {
    "b/badbitssize.bmp", "b/baddens1.bmp", "b/baddens2.bmp", "b/badfilesize.bmp", "b/pal8badindex.bmp"};

TEST(BmpDecoder, CorpusGoodFilesDecodeBadOnesDoNot)
{
    REQUIRE_CORPORA();
    const auto root = *CorporaDir() / "bmp";
    int checked = 0;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(root)) {
        if (entry.path().extension() != ".bmp") continue;
        const std::string name = std::filesystem::relative(entry.path(), root).string();
        const ByteSet bytes = ReadBytes(entry.path());
        const auto picture = DecodeBmp(bytes);
        const bool compressed = bytes.size() >= 34 && bytes[14] >= 40 &&  // an info header
                                (bytes[30] | bytes[31] | bytes[32] | bytes[33]) != 0;
        if (compressed || kGoodButUnsupported.count(name) ||
            (name.starts_with("b/") && !kBadButHarmless.count(name))) {
            EXPECT_FALSE(picture) << name;
            continue;
        }
        if (name.starts_with("g/") || kBadButHarmless.count(name)) {
            EXPECT_TRUE(picture) << name;
        }
        if (!picture) continue;
        // Whatever is shown is what Pillow shows, but for indexes past the colour table,
        // where Pillow makes up grey.
        if (name == "b/pal8badindex.bmp") {
            EXPECT_EQ(picture->pixels[8], imaging::kOpaqueBlack);
            continue;
        }
        const auto reference = LoadReference("corpora/bmp/" + name);
        if (reference) {
            EXPECT_TRUE(MatchesReference(*picture, *reference)) << name;
        }
        ++checked;
    }
    EXPECT_GT(checked, 30);
}

TEST(BmpDecoder, TopDownRowsComeOutTheRightWayUp)
{
    REQUIRE_CORPORA();
    const auto bottomUp = DecodeBmp(ReadBytes(*CorporaDir() / "bmp/g/pal8.bmp"));
    const auto topDown = DecodeBmp(ReadBytes(*CorporaDir() / "bmp/g/pal8topdown.bmp"));
    ASSERT_TRUE(bottomUp && topDown);
    EXPECT_EQ(bottomUp->pixels, topDown->pixels);
}

}  // namespace
