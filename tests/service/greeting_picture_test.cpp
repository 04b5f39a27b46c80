#include <gtest/gtest.h>

#include <future>
#include <set>
#include <vector>

#include <QFontMetricsF>
#include <QGlyphRun>
#include <QRawFont>
#include <QTextLayout>

#include "jpeg_decode.h"
#include "service/picture/greeting_design.h"
#include "service/picture/greeting_painter.h"
#include "service/picture/text_fit.h"

namespace {

const std::string kLongName = "诸葛亮司马懿曹操刘备孙权周瑜关羽张飞赵云马超黄忠魏延姜维邓艾钟会郭嘉荀彧贾诩程昱";

TEST(DrawGreeting, GivesABaselineJpegOf752By288ForEveryTemplate)
{
    for (int id = 1; id <= 4; ++id) {
        for (const std::string& name : {std::string(), std::string("张三"), kLongName, std::string("Tom & Jerry")}) {
            SCOPED_TRACE(testing::Message() << "template " << id << " name " << name);
            const ByteSet jpeg = DrawGreeting(PictureRequest{id, name});
            ASSERT_GT(jpeg.size(), 1000u);
            EXPECT_EQ(jpeg[0], 0xFF);
            EXPECT_EQ(jpeg[1], 0xD8);
            const DecodedJpeg decoded = DecodeJpeg(jpeg);
            ASSERT_TRUE(decoded.ok);
            EXPECT_EQ(decoded.width, 752);
            EXPECT_EQ(decoded.height, 288);
            EXPECT_EQ(decoded.components, 3);
            EXPECT_FALSE(decoded.progressive);
            // Baseline DCT: a start-of-frame 0 marker and no other kind.
            const std::vector<std::uint8_t> sof0 = {0xFF, 0xC0};
            EXPECT_NE(std::search(jpeg.begin(), jpeg.end(), sof0.begin(), sof0.end()), jpeg.end());
        }
    }
}

TEST(DrawGreeting, DiffersBetweenTemplatesAndNames)
{
    std::set<ByteSet> pictures;
    int drawn = 0;
    for (int id = 1; id <= 4; ++id) {
        for (const char* name : {"", "张三", "李四", "张三三"}) {
            pictures.insert(DrawGreeting(PictureRequest{id, name}));
            ++drawn;
        }
    }
    EXPECT_EQ(pictures.size(), static_cast<std::size_t>(drawn));
}

TEST(DrawGreeting, GivesTheSameBytesForTheSameRequestOnEveryThread)
{
    const std::vector<PictureRequest> requests = {{1, "张三"}, {2, kLongName}, {3, ""}, {4, "Zoë 李"}};
    std::vector<ByteSet> expected;
    for (const auto& request : requests) expected.push_back(DrawGreeting(request));
    std::vector<std::future<std::vector<ByteSet>>> workers;
    for (int t = 0; t < 3; ++t) {
        workers.push_back(std::async(std::launch::async, [&requests] {
            std::vector<ByteSet> drawn;
            for (int round = 0; round < 2; ++round) {
                for (const auto& request : requests) drawn.push_back(DrawGreeting(request));
            }
            return drawn;
        }));
    }
    for (auto& worker : workers) {
        const std::vector<ByteSet> drawn = worker.get();
        for (std::size_t i = 0; i < drawn.size(); ++i) EXPECT_EQ(drawn[i], expected[i % requests.size()]) << i;
    }
}

TEST(DrawableName, LeavesOutWhatNoInstalledFaceCanDraw)
{
    // U+0378 is unassigned and U+10FFFD private: no face has them.
    EXPECT_EQ(DrawableName("张\xCD\xB8三 \xF4\x8F\xBF\xBD Tom"), QStringLiteral("张三 Tom"));
    EXPECT_EQ(DrawableName("a \xCD\xB8 b"), QStringLiteral("a b"));
    EXPECT_EQ(DrawableName("\xF4\x8F\xBF\xBD"), QString());
    EXPECT_EQ(DrawableName(std::string(500, 'x')).size(), 120);
}

TEST(DrawableName, KeepsCharactersThatOnlyAFallbackFaceHas)
{
    // Hebrew is not in the CJK face; another installed face draws it, with no
    // missing-glyph boxes (glyph 0) anywhere.
    const QString name = DrawableName("张三 אבג Ωμ");
    EXPECT_EQ(name, QStringLiteral("张三 אבג Ωμ"));
    QFont font;
    font.setFamilies(DesignFor(1).families);
    font.setPixelSize(60);
    QTextLayout layout(name, font);
    layout.beginLayout();
    layout.createLine();
    layout.endLayout();
    std::set<QString> faces;
    for (const QGlyphRun& run : layout.glyphRuns()) {
        faces.insert(run.rawFont().familyName());
        for (quint32 glyph : run.glyphIndexes()) EXPECT_NE(glyph, 0u) << run.rawFont().familyName().toStdString();
    }
    EXPECT_GE(faces.size(), 2u);
}

class FitNameTest : public testing::Test {
protected:
    FitNameTest()
    {
        font_.setFamilies(DesignFor(1).families);
        font_.setWeight(QFont::Bold);
        limits_.width = 500;
    }

    void ExpectLinesFit(const TextFit& fit)
    {
        const QFontMetricsF metrics(fit.font);
        for (const QString& line : fit.lines) EXPECT_LE(metrics.horizontalAdvance(line), limits_.width + 0.5) << line.toStdString();
        ASSERT_FALSE(fit.lines.isEmpty());
        EXPECT_TRUE(fit.lines.back().endsWith(QStringLiteral("，")));
    }

    QFont font_;
    FitLimits limits_;
};

TEST_F(FitNameTest, KeepsAShortNameLargeOnOneLine)
{
    const TextFit fit = FitName(QStringLiteral("张三"), QStringLiteral("，"), font_, limits_);
    EXPECT_EQ(fit.font.pixelSize(), limits_.largestPx);
    EXPECT_EQ(fit.lines, QStringList{QStringLiteral("张三，")});
    EXPECT_FALSE(fit.elided);
}

TEST_F(FitNameTest, ShrinksALongerNameBeforeWrappingIt)
{
    const TextFit fit = FitName(QStringLiteral("司马相如卓文君"), QStringLiteral("，"), font_, limits_);
    EXPECT_LT(fit.font.pixelSize(), limits_.largestPx);
    EXPECT_GE(fit.font.pixelSize(), limits_.smallestOneLinePx);
    EXPECT_EQ(fit.lines.size(), 1);
    ExpectLinesFit(fit);
}

TEST_F(FitNameTest, WrapsIntoTwoBalancedLinesWhenShrinkingIsNotEnough)
{
    const QString name = QStringLiteral("诸葛亮司马懿曹操刘备孙权周瑜关羽");
    const TextFit fit = FitName(name, QStringLiteral("，"), font_, limits_);
    ASSERT_EQ(fit.lines.size(), 2);
    EXPECT_FALSE(fit.elided);
    EXPECT_EQ(fit.lines.join(QString()), name + QStringLiteral("，"));
    EXPECT_LE(std::abs(fit.lines[0].size() - fit.lines[1].size()), 2);
    ExpectLinesFit(fit);
}

TEST_F(FitNameTest, EndsTheSecondLineInAnEllipsisWhenEvenTwoLinesAreTooFew)
{
    for (const QString& name : {QString::fromStdString(kLongName) + QString::fromStdString(kLongName),
                                QString(300, QLatin1Char('W')), QStringLiteral("Tom ") + QString(200, QLatin1Char('m'))}) {
        const TextFit fit = FitName(name, QStringLiteral("，"), font_, limits_);
        EXPECT_TRUE(fit.elided);
        EXPECT_EQ(fit.font.pixelSize(), limits_.smallestPx);
        ASSERT_EQ(fit.lines.size(), 2);
        EXPECT_TRUE(fit.lines[1].endsWith(QStringLiteral("…，")));
        EXPECT_TRUE(name.startsWith(fit.lines[0]));
        ExpectLinesFit(fit);
    }
}

}  // namespace
