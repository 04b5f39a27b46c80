#include "service/picture/text_fit.h"

#include <QFontMetricsF>
#include <QTextLayout>
#include <QTextOption>

namespace {

QFont Sized(const QFont& base, int px)
{
    QFont font = base;
    font.setPixelSize(px);
    return font;
}

// Breaks the text into lines no wider than `width`, ideographs anywhere, other
// scripts at word boundaries when they can.
QStringList BreakLines(const QString& text, const QFont& font, qreal width)
{
    QTextLayout layout(text, font);
    QTextOption option;
    option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    layout.setTextOption(option);
    layout.setCacheEnabled(false);
    QStringList lines;
    layout.beginLayout();
    for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine()) {
        line.setLineWidth(width);
        lines.append(text.mid(line.textStart(), line.textLength()).trimmed());
    }
    layout.endLayout();
    return lines;
}

// The narrowest width, down to half the given one, that still takes two lines:
// both lines then come out about equally long.
QStringList BalancedTwoLines(const QString& text, const QFont& font, qreal width)
{
    QStringList best = BreakLines(text, font, width);
    qreal low = width / 2;
    qreal high = width;
    for (int step = 0; step < 7; ++step) {
        const qreal middle = (low + high) / 2;
        QStringList lines = BreakLines(text, font, middle);
        if (lines.size() <= 2) {
            best = std::move(lines);
            high = middle;
        } else {
            low = middle;
        }
    }
    return best;
}

}  // namespace

TextFit FitName(const QString& name, const QString& separator, const QFont& base, const FitLimits& limits)
{
    const QString text = name + separator;
    for (int px = limits.largestPx; px >= limits.smallestOneLinePx; px -= 2) {
        const QFont font = Sized(base, px);
        if (QFontMetricsF(font).horizontalAdvance(text) <= limits.width) return TextFit{font, {text}, false};
    }
    for (int px = limits.largestTwoLinePx; px >= limits.smallestPx; px -= 2) {
        const QFont font = Sized(base, px);
        if (BreakLines(text, font, limits.width).size() <= 2) {
            return TextFit{font, BalancedTwoLines(text, font, limits.width), false};
        }
    }

    // Still too long: the first line as broken, the rest of the name cut short.
    const QFont font = Sized(base, limits.smallestPx);
    const QFontMetricsF metrics(font);
    const QString first = BreakLines(name, font, limits.width).value(0);
    // Names never start with a space, so the first line starts the name.
    const QString rest = name.mid(first.size()).trimmed();
    const qreal room = limits.width - metrics.horizontalAdvance(separator);
    const QString second = metrics.elidedText(rest, Qt::ElideRight, room);
    return TextFit{font, {first, second + separator}, second != rest};
}
