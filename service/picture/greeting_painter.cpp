#include "service/picture/greeting_painter.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <future>

#include <QFont>
#include <QFontMetricsF>
#include <QPainter>
#include <QPainterPath>
#include <QThread>
#include <QThreadPool>

#include "service/picture/greeting_design.h"
#include "service/picture/jpeg_encoder.h"
#include "service/picture/text_fit.h"

namespace {

constexpr int kJpegQuality = 90;
// More characters than this can never show: two lines at the smallest size hold
// far fewer.
constexpr qsizetype kMaxNameCharacters = 120;
constexpr qreal kLineHeight = 1.22;   // line pitch, in font pixels
constexpr qreal kBaseline = 0.96;     // from the top of a line to its baseline
const QString kSeparator = QStringLiteral("，");

QFont BaseFont(const GreetingDesign& design, QFont::Weight weight)
{
    QFont font;
    font.setFamilies(design.families);
    font.setWeight(weight);
    font.setHintingPreference(QFont::PreferNoHinting);
    font.setStyleStrategy(QFont::PreferAntialias);
    return font;
}

struct TextLine {
    QString text;
    QFont font;
    QColor colour;
};

void DrawLines(QPainter& painter, const GreetingDesign& design, const std::vector<TextLine>& lines, qreal gapBefore,
               std::size_t gapIndex)
{
    qreal height = 0;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        height += lines[i].font.pixelSize() * kLineHeight + (i == gapIndex ? gapBefore : 0);
    }
    qreal top = design.textBox.center().y() - height / 2;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const TextLine& line = lines[i];
        if (i == gapIndex) top += gapBefore;
        const qreal px = line.font.pixelSize();
        const QFontMetricsF metrics(line.font);
        qreal width = metrics.horizontalAdvance(line.text);
        // A full-width comma draws in the left half of its box; centring on the
        // ink instead of the box keeps the name in the middle.
        if (line.text.endsWith(kSeparator)) width -= metrics.horizontalAdvance(kSeparator) / 2;
        const QPointF baseline(design.textBox.center().x() - width / 2, top + px * kBaseline);
        // Text goes through outlines, not drawText: Qt draws a glyph from its
        // outline the first time and from a glyph cache later, which differ in
        // their edges, and the same request must always give the same bytes.
        QPainterPath outline;
        outline.addText(baseline, line.font, line.text);
        painter.fillPath(outline.translated(design.shadowOffset), design.shadowColor);
        painter.fillPath(outline, line.colour);
        top += px * kLineHeight;
    }
}

void DrawText(QPainter& painter, const GreetingDesign& design, const QString& name)
{
    QFont sentenceFont = BaseFont(design, QFont::Bold);
    if (name.isEmpty()) {
        sentenceFont.setPixelSize(design.soloSentencePx);
        DrawLines(painter, design, {TextLine{design.sentence, sentenceFont, design.nameColor}}, 0, 0);
        return;
    }

    FitLimits limits;
    limits.width = design.textBox.width();
    const TextFit fit = FitName(name, kSeparator, BaseFont(design, QFont::Bold), limits);
    // The sentence follows the name's size so that the name stays the larger.
    const int namePx = fit.font.pixelSize();
    sentenceFont.setPixelSize(std::clamp(static_cast<int>(std::lround(namePx * 0.62)), 30, design.sentencePx));

    std::vector<TextLine> lines;
    for (const QString& text : fit.lines) lines.push_back(TextLine{text, fit.font, design.nameColor});
    lines.push_back(TextLine{design.sentence, sentenceFont, design.sentenceColor});
    DrawLines(painter, design, lines, sentenceFont.pixelSize() * 0.25, lines.size() - 1);
}

// The backdrop of a design never changes, so each is painted once and shared.
const QImage& BackdropFor(int templateId)
{
    static const std::array<QImage, 4> backdrops = [] {
        std::array<QImage, 4> painted;
        for (int id = 1; id <= 4; ++id) {
            QImage image(kPictureWidth, kPictureHeight, QImage::Format_RGB32);
            image.fill(Qt::white);
            QPainter painter(&image);
            painter.setRenderHint(QPainter::Antialiasing);
            DesignFor(id).paintBackdrop(painter);
            painter.end();
            painted[static_cast<std::size_t>(id - 1)] = image;
        }
        return painted;
    }();
    const int index = templateId >= 1 && templateId <= 4 ? templateId - 1 : 0;
    return backdrops[static_cast<std::size_t>(index)];
}

}  // namespace

QString DrawableName(const std::string& utf8)
{
    const QString name = QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size()));
    QFont font;
    font.setFamilies(DesignFor(1).families);
    const QFontMetricsF metrics(font);
    QString drawable;
    qsizetype characters = 0;
    for (char32_t code : name.toUcs4()) {
        if (characters == kMaxNameCharacters) break;
        const QChar::Category category = QChar::category(code);
        // Joiners and variation selectors draw nothing by themselves but shape
        // their neighbours; every other character needs a glyph in some face.
        const bool shaping = category == QChar::Other_Format || category == QChar::Mark_NonSpacing;
        if (!shaping && !QChar::isSpace(code) && !metrics.inFontUcs4(code)) continue;
        drawable.append(QString::fromUcs4(&code, 1));
        ++characters;
    }
    return drawable.simplified();  // a left-out character leaves no double space behind
}

QImage PaintGreeting(const PictureRequest& request)
{
    const GreetingDesign& design = DesignFor(request.templateId);
    QImage image = BackdropFor(request.templateId);  // painting on it below makes it a copy
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::TextAntialiasing);
    DrawText(painter, design, DrawableName(request.name));
    painter.end();
    return image;
}

ByteSet DrawGreeting(const PictureRequest& request)
{
    static_assert(Q_BYTE_ORDER == Q_LITTLE_ENDIAN, "Format_RGB32 is B, G, R, X in memory only on little-endian machines");
    const auto paintAndEncode = [&request] {
        const QImage image = PaintGreeting(request);
        return EncodeJpegBgrx(image.constBits(), image.width(), image.height(),
                              static_cast<std::size_t>(image.bytesPerLine()), kJpegQuality);
    };
    // Qt's raster engine splits large fills over its global thread pool, except
    // when it already runs on one of that pool's threads. On a server whose
    // threads keep every core busy that splitting only adds waiting (it nearly
    // doubles the processor time of a picture), so the painting moves onto the
    // pool, as one task.
    QThreadPool* pool = QThreadPool::globalInstance();
    if (pool->contains(QThread::currentThread())) return paintAndEncode();
    std::packaged_task<ByteSet()> task(paintAndEncode);
    std::future<ByteSet> jpeg = task.get_future();
    pool->start([&task] { task(); });
    return jpeg.get();
}
