#include <gtest/gtest.h>

#include <atomic>
#include <thread>
#include <vector>

#include "service/core/picture_cache.h"
#include "service/core/picture_store.h"

namespace {

std::shared_ptr<const Picture> PictureOfSize(std::size_t bytes, std::uint8_t fill = 1)
{
    return MakePicture(ByteSet(bytes, fill));
}

PictureRequest Request(int id, std::string name)
{
    return PictureRequest{id, std::move(name)};
}

TEST(PictureCache, DropsTheLeastRecentlyUsedToStayWithinItsBound)
{
    PictureCache cache(3 * 1200);  // room for three pictures of 1000 bytes with their overhead
    cache.Insert(Request(1, "a"), PictureOfSize(1000));
    cache.Insert(Request(1, "b"), PictureOfSize(1000));
    cache.Insert(Request(1, "c"), PictureOfSize(1000));
    ASSERT_NE(cache.Find(Request(1, "a")), nullptr);  // "b" is now the oldest
    cache.Insert(Request(1, "d"), PictureOfSize(1000));

    EXPECT_EQ(cache.Find(Request(1, "b")), nullptr);
    EXPECT_NE(cache.Find(Request(1, "a")), nullptr);
    EXPECT_NE(cache.Find(Request(1, "c")), nullptr);
    EXPECT_NE(cache.Find(Request(1, "d")), nullptr);
    EXPECT_EQ(cache.Count(), 3u);
    EXPECT_LE(cache.Bytes(), 3u * 1200);
}

TEST(PictureCache, KeepsTemplatesApartAndReplacesEqualKeys)
{
    PictureCache cache(1 << 20);
    cache.Insert(Request(1, "x"), PictureOfSize(10, 1));
    cache.Insert(Request(2, "x"), PictureOfSize(10, 2));
    cache.Insert(Request(2, "x"), PictureOfSize(20, 3));
    EXPECT_EQ(cache.Find(Request(1, "x"))->jpeg[0], 1);
    EXPECT_EQ(cache.Find(Request(2, "x"))->jpeg.size(), 20u);
    EXPECT_EQ(cache.Count(), 2u);
}

TEST(PictureCache, KeepsNothingLargerThanItsWholeBound)
{
    PictureCache cache(500);
    cache.Insert(Request(1, "big"), PictureOfSize(1000));
    EXPECT_EQ(cache.Find(Request(1, "big")), nullptr);
    EXPECT_EQ(cache.Bytes(), 0u);
}

TEST(PictureCache, StaysWithinItsBoundUnderConcurrentUse)
{
    PictureCache cache(20 * 1200);
    std::vector<std::thread> threads;
    for (int t = 0; t < 4; ++t) {
        threads.emplace_back([&cache, t] {
            for (int i = 0; i < 2000; ++i) {
                const PictureRequest request = Request(1 + (i % 4), std::to_string((i * 7 + t) % 50));
                if (!cache.Find(request)) cache.Insert(request, PictureOfSize(1000));
            }
        });
    }
    for (auto& thread : threads) thread.join();
    EXPECT_LE(cache.Bytes(), 20u * 1200);
    EXPECT_GT(cache.Count(), 0u);
}

TEST(PictureStore, DrawsOncePerRequestAndTagsByContent)
{
    std::atomic<int> draws{0};
    PictureStore store(1 << 20, [&draws](const PictureRequest& request) {
        ++draws;
        return ToByteSet(std::to_string(request.templateId) + request.name);
    });
    const auto first = store.Get(Request(1, "a"));
    const auto again = store.Get(Request(1, "a"));
    const auto other = store.Get(Request(2, "a"));
    EXPECT_EQ(draws, 2);
    EXPECT_EQ(first, again);
    EXPECT_NE(first->entityTag, other->entityTag);
    EXPECT_EQ(first->entityTag, MakePicture(ToByteSet("1a"))->entityTag);  // the tag depends on the bytes alone
}

TEST(PictureStore, ReportsAFailedDrawingAsNoPictureAndDoesNotCacheIt)
{
    int draws = 0;
    PictureStore store(1 << 20, [&draws](const PictureRequest&) {
        ++draws;
        return ByteSet{};
    });
    EXPECT_EQ(store.Get(Request(1, "a")), nullptr);
    EXPECT_EQ(store.Get(Request(1, "a")), nullptr);
    EXPECT_EQ(draws, 2);
}

}  // namespace
