#include <gtest/gtest.h>

#include <algorithm>

#include "fixtures.h"
#include "imaging/icon_decoder.h"

using imaging::DecodeIcon;
using namespace imaging_test;

namespace {

// pick32.* hold 16x16, 32x32 and 48x48 entries of 16 colours (4 bits, made by
// ImageMagick); their AND masks make the top-left quarter and the right-most column
// transparent. count0.ico is the same with colour-count fields of 0.
TEST(IconDecoder, ShowsTheFirst32WideEntryWithAtLeast16ColoursElseTheLast)
{
    struct Case {
        const char* file;
        int entry;
        int size;
    };
    for (const Case c : {Case{"pick32.ico", 1, 32}, Case{"pick32.cur", 1, 32}, Case{"count0.ico", 2, 48}}) {
        const auto picture = DecodeIcon(Generated(c.file));
        ASSERT_TRUE(picture) << c.file;
        EXPECT_EQ(picture->width, c.size) << c.file;
        EXPECT_EQ(picture->height, c.size) << c.file;
        const auto reference = LoadReference(std::string("gen/") + c.file + "." + std::to_string(c.entry));
        ASSERT_TRUE(reference) << c.file;
        EXPECT_TRUE(MatchesReference(*picture, *reference)) << c.file;
    }
}

TEST(IconDecoder, TheAndMaskMakesPixelsTransparent)
{
    const auto picture = DecodeIcon(Generated("pick32.ico"));
    ASSERT_TRUE(picture);
    EXPECT_TRUE(picture->hasAlpha);
    auto at = [&](int x, int y) { return picture->pixels[std::size_t(y) * 32 + x]; };
    EXPECT_EQ(Alpha(at(0, 0)), 0u);    // top-left quarter
    EXPECT_EQ(Alpha(at(15, 15)), 0u);
    EXPECT_EQ(Alpha(at(31, 20)), 0u);  // right-most column
    EXPECT_EQ(Alpha(at(16, 16)), 0xFFu);
    EXPECT_EQ(at(16, 16) & 0xFFFFFF, 0xFF0000u);  // inside the red circle
    EXPECT_EQ(at(10, 30), imaging::kOpaqueBlack);  // the black bar along the bottom
}

TEST(IconDecoder, NothingWhenTheDirectoryOrImageDoesNotFit)
{
    const ByteSet whole = Generated("pick32.ico");
    for (std::size_t size : {std::size_t{6}, std::size_t{30}, std::size_t{6 + 3 * 16 + 10}}) {
        EXPECT_FALSE(DecodeIcon(ByteSet(whole.begin(), whole.begin() + size))) << size;
    }
    ByteSet badOffset = whole;
    badOffset[6 + 16 + 15] = 0x7F;  // the chosen entry's offset, high byte
    EXPECT_FALSE(DecodeIcon(badOffset));
}

TEST(IconDecoder, CorpusFilesShowTheEntryTheRulePicks)
{
    REQUIRE_CORPORA();
    struct Case {
        const char* file;
        int entry;  // -1: nothing to show
    };
    const Case cases[] = {
        {"black_and_white.ico", 0}, {"decompression_bomb.ico", -1}, {"hopper.ico", 0},
        {"hopper_256x256.ico", 0},  {"hopper_draw.ico", 0},  // a PNG entry
        {"hopper_mask.ico", 0},     {"hopper_unexpected.ico", 0},
        {"pillow.ico", 4},          // five 32-bit entries, colour counts 0: the last
        {"python.ico", 2},          {"deerstalker.cur", 0},
        {"no_cursors.cur", -1},     {"medley/Medley.ico", 13},
    };
    for (const Case& c : cases) {
        const auto picture = DecodeIcon(ReadBytes(*CorporaDir() / "ico" / c.file));
        if (c.entry < 0) {
            EXPECT_FALSE(picture) << c.file;
            continue;
        }
        ASSERT_TRUE(picture) << c.file;
        const auto reference = LoadReference(std::string("corpora/ico/") + c.file + "." + std::to_string(c.entry));
        ASSERT_TRUE(reference) << c.file;
        EXPECT_TRUE(MatchesReference(*picture, *reference)) << c.file;
    }
}

// One pixel wide, four high; 1 and 8 bits. Their entries' byte counts are wrong (8),
// which throws Pillow off; the bitmap headers say where the mask is: the bottom two
// rows are masked out.
TEST(IconDecoder, CursorMaskFollowsTheBitmapNotTheEntrySize)
{
    REQUIRE_CORPORA();
    for (const char* file : {"mask_1.cur", "mask_L.cur"}) {
        const auto picture = DecodeIcon(ReadBytes(*CorporaDir() / "ico" / file));
        ASSERT_TRUE(picture) << file;
        ASSERT_EQ(picture->pixels.size(), 4u) << file;
        EXPECT_EQ(Alpha(picture->pixels[0]), 0xFFu) << file;
        EXPECT_EQ(Alpha(picture->pixels[1]), 0xFFu) << file;
        EXPECT_EQ(Alpha(picture->pixels[2]), 0u) << file;
        EXPECT_EQ(Alpha(picture->pixels[3]), 0u) << file;
    }
}

}  // namespace
