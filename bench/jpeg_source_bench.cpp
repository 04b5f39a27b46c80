// How much the 4096-byte memory source costs: the same large photo-like JPEG decoded
// by DecodeJpeg with UseJpegMemorySource and with libjpeg-turbo's jpeg_mem_src, the
// rest of the decoding identical. "ratio" is jpeg_mem_src's time over ours: 1.0 means
// the same speed, above 1 ours is faster.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include <jpeglib.h>

#include "imaging/jpeg_decoder.h"
#include "imaging/jpeg_memory_source.h"

namespace {

constexpr int kWidth = 4000;
constexpr int kHeight = 3000;

// Smooth shading, edges and grain, so that the entropy-coded data is about as dense
// as a photograph's (a few bits per pixel at quality 85, 4:2:0).
std::vector<JSAMPLE> PhotoLikeRgb()
{
    std::vector<JSAMPLE> rgb(std::size_t{kWidth} * kHeight * 3);
    std::uint32_t noise = 12345;
    for (int y = 0; y < kHeight; ++y) {
        for (int x = 0; x < kWidth; ++x) {
            noise = noise * 1664525u + 1013904223u;
            const double grain = static_cast<double>(noise >> 24) / 255.0 * 24.0 - 12.0;
            const double sky = 120 + 80 * std::sin(x * 0.0021 + y * 0.0013);
            const double hills = 60 * std::sin(x * 0.011) * std::cos(y * 0.007) + 30 * std::sin(x * 0.057 + y * 0.031);
            const bool object = ((x / 150) + (y / 110)) % 7 == 0;
            const double base = sky + hills + (object ? 50 : 0);
            JSAMPLE* out = &rgb[(std::size_t(y) * kWidth + x) * 3];
            out[0] = static_cast<JSAMPLE>(std::clamp(base + grain + 20, 0.0, 255.0));
            out[1] = static_cast<JSAMPLE>(std::clamp(base * 0.9 + grain, 0.0, 255.0));
            out[2] = static_cast<JSAMPLE>(std::clamp(255 - base * 0.7 + grain, 0.0, 255.0));
        }
    }
    return rgb;
}

ByteSet CompressJpeg(const std::vector<JSAMPLE>& rgb)
{
    jpeg_compress_struct cinfo{};
    jpeg_error_mgr errors{};
    cinfo.err = jpeg_std_error(&errors);
    jpeg_create_compress(&cinfo);
    unsigned char* buffer = nullptr;
    unsigned long size = 0;
    jpeg_mem_dest(&cinfo, &buffer, &size);
    cinfo.image_width = kWidth;
    cinfo.image_height = kHeight;
    cinfo.input_components = 3;
    cinfo.in_color_space = JCS_RGB;
    jpeg_set_defaults(&cinfo);
    jpeg_set_quality(&cinfo, 85, TRUE);
    jpeg_start_compress(&cinfo, TRUE);
    while (cinfo.next_scanline < cinfo.image_height) {
        JSAMPROW row = const_cast<JSAMPROW>(&rgb[std::size_t(cinfo.next_scanline) * kWidth * 3]);
        jpeg_write_scanlines(&cinfo, &row, 1);
    }
    jpeg_finish_compress(&cinfo);
    ByteSet jpeg(buffer, buffer + size);
    jpeg_destroy_compress(&cinfo);
    std::free(buffer);
    return jpeg;
}

const ByteSet& Photo()
{
    static const ByteSet jpeg = CompressJpeg(PhotoLikeRgb());
    return jpeg;
}

void UseLibjpegMemorySource(jpeg_decompress_struct* cinfo, const std::uint8_t* data, std::size_t size)
{
    jpeg_mem_src(cinfo, data, static_cast<unsigned long>(size));
}

void Decode(benchmark::State& state, imaging::JpegSourceSetup setup)
{
    const ByteSet& jpeg = Photo();
    for (auto _ : state) {
        auto picture = imaging::DecodeJpegWithSource(jpeg, setup);
        if (!picture) state.SkipWithError("not decoded");
        benchmark::DoNotOptimize(picture);
    }
    state.counters["MB/s"] = benchmark::Counter(double(jpeg.size()) * state.iterations() / 1e6,
                                               benchmark::Counter::kIsRate);
}

void BM_DecodeOurMemorySource(benchmark::State& state)
{
    Decode(state, imaging::UseJpegMemorySource);
}

void BM_DecodeLibjpegMemSrc(benchmark::State& state)
{
    Decode(state, UseLibjpegMemorySource);
}

// Both sources in every iteration, back to back in alternating order, so that both
// see the same machine load. The ratio reported is the median of the iterations'
// ratios, which a busy neighbour on a shared machine disturbs least.
void BM_SourceSpeedRatio(benchmark::State& state)
{
    using Clock = std::chrono::steady_clock;
    using Ms = std::chrono::duration<double, std::milli>;
    const ByteSet& jpeg = Photo();
    std::vector<double> oursMs, theirsMs, ratios;
    bool oursFirst = true;
    for (auto _ : state) {
        double ms[2] = {};  // ours, theirs
        for (int turn = 0; turn < 2; ++turn) {
            const bool runOurs = (turn == 0) == oursFirst;
            const auto start = Clock::now();
            auto picture = imaging::DecodeJpegWithSource(
                jpeg, runOurs ? imaging::UseJpegMemorySource : UseLibjpegMemorySource);
            benchmark::DoNotOptimize(picture);
            ms[runOurs ? 0 : 1] = Ms(Clock::now() - start).count();
        }
        oursFirst = !oursFirst;
        oursMs.push_back(ms[0]);
        theirsMs.push_back(ms[1]);
        ratios.push_back(ms[1] / ms[0]);
    }
    const auto median = [](std::vector<double> values) {
        std::sort(values.begin(), values.end());
        const std::size_t mid = values.size() / 2;
        return values.size() % 2 ? values[mid] : (values[mid - 1] + values[mid]) / 2;
    };
    state.counters["ours_ms"] = median(oursMs);
    state.counters["mem_src_ms"] = median(theirsMs);
    state.counters["ratio"] = median(ratios);
    state.counters["jpeg_MB"] = double(jpeg.size()) / 1e6;
    std::printf("JPEG %dx%d, %.1f MB, %zu rounds (medians): our source %.1f ms, jpeg_mem_src %.1f ms, "
                "speed ratio %.3f\n",
                kWidth, kHeight, double(jpeg.size()) / 1e6, ratios.size(), median(oursMs),
                median(theirsMs), median(ratios));
}

BENCHMARK(BM_DecodeOurMemorySource)->Unit(benchmark::kMillisecond)->MinTime(2.0);
BENCHMARK(BM_DecodeLibjpegMemSrc)->Unit(benchmark::kMillisecond)->MinTime(2.0);
BENCHMARK(BM_SourceSpeedRatio)->Unit(benchmark::kMillisecond)->Iterations(31);

}  // namespace

BENCHMARK_MAIN();
