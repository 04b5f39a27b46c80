// Fitting a name of any length into a line width: first a smaller type size, then
// two lines, then an ellipsis at the end of the second line.
#pragma once

#include <QFont>
#include <QString>
#include <QStringList>

struct FitLimits {
    qreal width = 0;
    int largestPx = 96;        // one line starts at this size ...
    int smallestOneLinePx = 48;  // ... and shrinks down to this one
    int largestTwoLinePx = 60;   // then two lines, from this size ...
    int smallestPx = 36;         // ... down to this one, where the ellipsis comes in
};

struct TextFit {
    QFont font;         // the base font at the chosen pixel size
    QStringList lines;  // one or two lines; the last one ends in the separator
    bool elided = false;
};

// `separator` (such as "，") follows the name and always stays visible.
TextFit FitName(const QString& name, const QString& separator, const QFont& base, const FitLimits& limits);
