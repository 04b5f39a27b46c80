// The four picture designs: a backdrop with ornaments, and how the text sits on it.
#pragma once

#include <QColor>
#include <QPainter>
#include <QPointF>
#include <QRectF>
#include <QString>
#include <QStringList>

inline constexpr int kPictureWidth = 752;
inline constexpr int kPictureHeight = 288;

struct GreetingDesign {
    QString sentence;             // "嫁给我吧" and so on
    QStringList families;         // main face first; the others stand in for missing glyphs
    QColor nameColor;
    QColor sentenceColor;
    QColor shadowColor;           // drawn under the text at shadowOffset
    QPointF shadowOffset;
    QRectF textBox;               // where name and sentence go, centred
    int sentencePx = 54;          // sentence size under a name at full size
    int soloSentencePx = 100;     // sentence size when there is no name
    void (*paintBackdrop)(QPainter& painter) = nullptr;
};

// templateId from 1 to 4.
const GreetingDesign& DesignFor(int templateId);

// The backdrops, one per design, each in a file of its own.
void PaintRoseBackdrop(QPainter& painter);
void PaintRedWeddingBackdrop(QPainter& painter);
void PaintStarryNightBackdrop(QPainter& painter);
void PaintPastelBalloonsBackdrop(QPainter& painter);
