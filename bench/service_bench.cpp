// Times one picture from scratch (drawing plus JPEG encoding), the encoding
// alone, and a request answered from the picture cache.
#include <benchmark/benchmark.h>

#include <string>
#include <vector>

#include <QGuiApplication>

#include "service/core/picture_store.h"
#include "service/core/request_handler.h"
#include "service/picture/greeting_painter.h"
#include "service/picture/jpeg_encoder.h"

namespace {

// Names of several lengths, so that every size step of the text layout shows.
const std::vector<std::string> kNames = {"张三", "欧阳娜娜", "李", "司马相如与卓文君", "Alexander Montgomery",
                                         "诸葛亮司马懿曹操刘备孙权周瑜关羽张飞赵云", ""};

PictureRequest RequestNumber(std::size_t i)
{
    return PictureRequest{static_cast<int>(1 + i % 4), kNames[(i / 4) % kNames.size()]};
}

void BM_DrawAndEncodePicture(benchmark::State& state)
{
    std::size_t i = 0;
    std::size_t bytes = 0;
    for (auto _ : state) {
        const ByteSet jpeg = DrawGreeting(RequestNumber(i++));
        bytes += jpeg.size();
        benchmark::DoNotOptimize(jpeg.data());
    }
    state.counters["jpeg_bytes"] = benchmark::Counter(static_cast<double>(bytes) / static_cast<double>(i));
}
// The drawing runs on Qt's thread pool (see DrawGreeting): wall time, and the
// processor time of the whole process.
BENCHMARK(BM_DrawAndEncodePicture)->Unit(benchmark::kMillisecond)->UseRealTime()->MeasureProcessCPUTime();

void BM_EncodeJpeg(benchmark::State& state)
{
    const QImage image = PaintGreeting(PictureRequest{2, "张三"});
    for (auto _ : state) {
        const ByteSet jpeg = EncodeJpegBgrx(image.constBits(), image.width(), image.height(),
                                            static_cast<std::size_t>(image.bytesPerLine()), 90);
        benchmark::DoNotOptimize(jpeg.data());
    }
}
BENCHMARK(BM_EncodeJpeg)->Unit(benchmark::kMillisecond);

void BM_AnswerFromCache(benchmark::State& state)
{
    PictureStore store(64u << 20, DrawGreeting);
    const PictureSource source = [&store](const PictureRequest& request) { return store.Get(request); };
    RequestHead request{http::verb::get, "/zb/hf/toutu.php?id=3&name=%E5%BC%A0%E4%B8%89", 10};
    AnswerRequest(request, source);  // drawn once, cached from then on
    for (auto _ : state) {
        const Reply reply = AnswerRequest(request, source);
        benchmark::DoNotOptimize(reply.message.body().data());
    }
}
BENCHMARK(BM_AnswerFromCache)->Unit(benchmark::kMicrosecond);

}  // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    int qtArgc = 1;
    QGuiApplication application(qtArgc, argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
