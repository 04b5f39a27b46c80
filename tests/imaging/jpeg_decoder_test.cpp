#include <gtest/gtest.h>

#include <algorithm>

#include "fixtures.h"
#include "imaging/jpeg_decoder.h"

using imaging::DecodeJpeg;
using namespace imaging_test;

namespace {

void ExpectMatchesReferenceOrNothing(const ByteSet& bytes, const std::string& key, int tolerance)
{
    const auto picture = DecodeJpeg(bytes);
    const auto reference = LoadReference(key);
    if (!reference) {
        EXPECT_FALSE(picture) << key << ": the reference decoder refused it";
        return;
    }
    ASSERT_TRUE(picture) << key;
    EXPECT_TRUE(MatchesReference(*picture, *reference, tolerance)) << key;
}

TEST(JpegDecoder, MatchesDjpegOnFilesFromCjpegAndImageMagick)
{
    for (const char* name : {"baseline.jpg", "grey.jpg", "progressive.jpg", "restart444.jpg",
                             "quadrants_752x144.jpg"}) {
        ExpectMatchesReferenceOrNothing(Generated(name), std::string("gen/") + name, 0);
    }
}

TEST(JpegDecoder, ShowsGreyscaleInGrey)
{
    const auto picture = DecodeJpeg(Generated("grey.jpg"));
    ASSERT_TRUE(picture);
    EXPECT_EQ(picture->width, 96);
    EXPECT_EQ(picture->height, 64);
    EXPECT_TRUE(std::all_of(picture->pixels.begin(), picture->pixels.end(), [](std::uint32_t p) {
        return Red(p) == Green(p) && Green(p) == Blue(p) && Alpha(p) == 0xFF;
    }));
}

TEST(JpegDecoder, ConvertsAdobeCmykToRgb)
{
    const auto picture = DecodeJpeg(Generated("cmyk.jpg"));
    ASSERT_TRUE(picture);
    EXPECT_TRUE(MatchesReference(*picture, *LoadReference("gen/cmyk.jpg.cmyk"), 1));
    // And it is close to the photo the CMYK file was made from.
    const auto original = LoadReference("gen/baseline.jpg");
    ASSERT_TRUE(original);
    EXPECT_TRUE(MatchesReference(*picture, *original, 64));
}

TEST(JpegDecoder, CutInsideTheImageDataShowsWhatWasDecoded)
{
    for (const char* name : {"cut_in_data.jpg", "cut_progressive.jpg"}) {
        const auto picture = DecodeJpeg(Generated(name));
        ASSERT_TRUE(picture) << name;
        EXPECT_TRUE(MatchesReference(*picture, *LoadReference(std::string("gen/") + name))) << name;
    }
    // The top rows are those of the whole file.
    const auto whole = DecodeJpeg(Generated("baseline.jpg"));
    const auto cut = DecodeJpeg(Generated("cut_in_data.jpg"));
    ASSERT_TRUE(whole && cut);
    EXPECT_TRUE(std::equal(whole->pixels.begin(), whole->pixels.begin() + 96 * 8, cut->pixels.begin()));
    EXPECT_NE(whole->pixels, cut->pixels);
}

TEST(JpegDecoder, NothingWhenTheDataEndsBeforeTheImageData)
{
    const ByteSet full = Generated("baseline.jpg");
    EXPECT_FALSE(DecodeJpeg(Generated("cut_before_scan.jpg")));
    for (std::size_t size : {std::size_t{0}, std::size_t{2}, std::size_t{5}, std::size_t{20}, std::size_t{200}}) {
        EXPECT_FALSE(DecodeJpeg(ByteSet(full.begin(), full.begin() + size))) << size;
    }
}

TEST(JpegDecoder, RefusesHugeDeclaredSizesBeforeAllocating)
{
    ByteSet bytes = Generated("baseline.jpg");
    const ByteSet sof0{0xFF, 0xC0};
    const auto at = std::search(bytes.begin(), bytes.end(), sof0.begin(), sof0.end());
    ASSERT_NE(at, bytes.end());
    // Frame header: marker, length (2), precision (1), height (2), width (2).
    at[5] = 0xFF, at[6] = 0xFF, at[7] = 0xFF, at[8] = 0xFF;
    EXPECT_FALSE(DecodeJpeg(bytes));
}

TEST(JpegDecoder, MatchesDjpegOnTheCorpus)
{
    REQUIRE_CORPORA();
    int decoded = 0, refused = 0;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(*CorporaDir() / "jpeg")) {
        if (entry.path().extension() != ".jpg") continue;
        const std::string key = "corpora/" + std::filesystem::relative(entry.path(), *CorporaDir()).string();
        const ByteSet bytes = ReadBytes(entry.path());
        const auto picture = DecodeJpeg(bytes);
        // Four-component references come from Pillow, which rounds its CMYK conversion
        // a little differently; djpeg's must match exactly.
        const bool fourComponents = LoadReference(key + ".cmyk").has_value();
        const auto reference = LoadReference(fourComponents ? key + ".cmyk" : key);
        if (!reference) {
            EXPECT_FALSE(picture) << key << ": djpeg refused it";
            ++refused;
            continue;
        }
        ASSERT_TRUE(picture) << key;
        EXPECT_TRUE(MatchesReference(*picture, *reference, fourComponents ? 1 : 0)) << key;
        ++decoded;
    }
    EXPECT_GT(decoded, 40);
    EXPECT_GE(refused, 1);  // the 12-bit file at least
}

}  // namespace
